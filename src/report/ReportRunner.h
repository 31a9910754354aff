#pragma once

#include "report/EvalContext.h"
#include "report/TemplateProgram.h"

#include <QByteArray>

class QIODevice;
class ReportProgress;

// Writes a compiled template: text as it is, values in RTF form, scans repeated per
// record and conditions resolved.
class ReportRunner
{
public:
    struct Settings
    {
        int lang = 0;
        bool graphicsBinary = false;
        bool clearZero = false;
        bool clearMissed = false;                   // unknown fields write nothing
        QString templateDirectory;                  // pictures named relative to it
        quint64 maxScanPasses = 5'000'000;          // all scans of one run together
        qsizetype maxOutputBytes = 512LL * 1024 * 1024;
        qint64 maxPictureBytes = 20LL * 1024 * 1024;
        ReportProgress *progress = nullptr;         // told after every record
    };

    // Writes into `out`; with a sink, `out` is only a buffer that goes to the sink whenever
    // it fills, so a long printout is never held whole in memory.
    ReportRunner(EvalContext &context, const Settings &settings, QByteArray &out, QIODevice *sink = nullptr);

    void run(const TemplateProgram &program);

private:
    void runItems(const TemplateBlock &block);
    void runScan(const ScanBlock &scan);
    void runCondition(const ConditionBlock &condition);
    void runCalls(const std::vector<ExprPtr> &calls);
    bool test(const ExprNode &condition);
    void writeValue(const ValueField &field);
    void writeField(const TemplateItem &item);
    QString formatted(const ValueField &field, const ReportValue &value, bool *raw);
    QByteArray picture(const ReportValue &value, bool *loaded);
    QByteArray readPictureFile(const QString &path) const;
    void checkOutputSize();
    void flushIfFull();
    void flush();

    EvalContext &m_context;
    const Settings &m_settings;
    QByteArray &m_out;
    QIODevice *m_sink = nullptr;
    const TemplateProgram *m_program = nullptr;
    qint64 m_flushed = 0;
    QByteArray m_langPrefix;
    quint64 m_passes = 0;
};
