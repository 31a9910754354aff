#include "report/TBaseReport.h"

#include "report/DocumentOpener.h"
#include "report/OpenFailureReason.h"
#include "report/ReportDataSet.h"
#include "report/ReportError.h"
#include "report/ReportProgress.h"
#include "report/TReportUdfList.h"

#include <new>

#include <functional>

namespace {

constexpr int kNoAssociation = 31;

} // namespace

TBaseReport::TBaseReport() = default;
TBaseReport::~TBaseReport() = default;

void TBaseReport::setInFile(const QString &path)
{
    m_inFile = path;
}

void TBaseReport::setTrueValue(const QString &text)
{
    m_trueValue = text;
    m_variables.setBooleanTexts(m_trueValue, m_falseValue);
}

void TBaseReport::setFalseValue(const QString &text)
{
    m_falseValue = text;
    m_variables.setBooleanTexts(m_trueValue, m_falseValue);
}

void TBaseReport::setUDFList(TReportUdfList *list)
{
    if (m_running)
        throw ReportError(QStringLiteral("Can't set UDFList while executing report"));
    if (list && list->version() != TReportUdfList::InterfaceVersion)
        throw ReportError(QStringLiteral("TRtfReport version %1 doesn't equal TReportUdfList version %2")
                              .arg(TReportUdfList::InterfaceVersion)
                              .arg(list->version()));
    m_udfList = list;
}

void TBaseReport::AddVariable(const QString &name, const QString &value)
{
    m_variables.add(name, value);
}

void TBaseReport::RunReport(const std::vector<ReportDataSet *> &dataSets)
{
    run(dataSets, false, 0);
}

void TBaseReport::RunReportAndOpen(const std::vector<ReportDataSet *> &dataSets, int showMode)
{
    run(dataSets, true, showMode);
}

void TBaseReport::run(const std::vector<ReportDataSet *> &dataSets, bool open, int showMode)
{
    if (m_running)
        throw ReportError(QStringLiteral("Der Bericht läuft bereits."));
    m_lastError = QStringLiteral("No errors.");

    std::vector<bool> wasDisabled;
    if (m_disableControls) {
        // A set its owner detached already stays as it is, so the owner's own count holds.
        for (ReportDataSet *set : dataSets) {
            wasDisabled.push_back(set->controlsDisabled());
            if (!wasDisabled.back())
                set->disableControls();
        }
    }
    auto restore = [&]() {
        if (!m_disableControls)
            return;
        for (size_t i = 0; i < dataSets.size() && i < wasDisabled.size(); ++i)
            if (!wasDisabled[i])
                dataSets[i]->enableControls();
    };

    // Whatever ends the run, the next one may start and the lists follow their sets again.
    m_activeProgress = m_progress ? m_progress : ReportProgress::standard();
    if (m_activeProgress) {
        qint64 total = 0;
        for (ReportDataSet *set : dataSets) {
            const qint64 n = set->recordCount();
            if (n < 0) {
                total = 0;
                break;
            }
            total += n;
        }
        m_activeProgress->start(total);
    }
    struct RunScope
    {
        bool &running;
        ReportProgress *&progress;
        std::function<void()> restore;
        ~RunScope()
        {
            running = false;
            if (progress)
                progress->finish();
            progress = nullptr;
            restore();
        }
    } scope{m_running, m_activeProgress, restore};
    m_running = true;
    try {
        m_aliases.clear();
        for (size_t i = 0; i < dataSets.size(); ++i)
            m_aliases << dataSets[i]->name().toUpper() + u'=' + QString::number(i);
        execute(dataSets);
        if (open) {
            DocumentOpener::Result result;
            if (m_opener)
                result = m_opener->open(m_outFile, showMode);
            else
                result = {false, kNoAssociation};
            if (!result.ok)
                throw ReportError(OpenFailureReason::openFailedMessage(m_outFile, result.errorNumber));
        }
    } catch (const AppError &e) {
        m_lastError = e.message();
        throw;
    } catch (const std::bad_alloc &) {
        m_lastError = QStringLiteral("Für den Bericht reicht der Arbeitsspeicher nicht aus.");
        throw ReportError(m_lastError);
    } catch (const std::exception &e) {
        m_lastError = QString::fromLocal8Bit(e.what());
        throw;
    }
}
