#pragma once

#include "report/ReportVariableAccessor.h"
#include "report/ReportVariableList.h"

#include <QStringList>

#include <vector>

class DocumentOpener;
class ReportDataSet;
class ReportProgress;
class TReportUdfList;

// What every report component shares: files, variables, the run with its error text and
// the detaching of data-set controls, and opening the result.
class TBaseReport
{
public:
    TBaseReport();
    virtual ~TBaseReport();
    TBaseReport(const TBaseReport &) = delete;
    TBaseReport &operator=(const TBaseReport &) = delete;

    QString InFile() const { return m_inFile; }
    virtual void setInFile(const QString &path);
    QString OutFile() const { return m_outFile; }
    void setOutFile(const QString &path) { m_outFile = path; }

    QStringList VarList() const { return m_variables.lines(); }
    void setVarList(const QStringList &lines) { m_variables.setLines(lines); }

    QString TrueValue() const { return m_trueValue; }
    QString FalseValue() const { return m_falseValue; }
    void setTrueValue(const QString &text);
    void setFalseValue(const QString &text);

    bool DisableControls() const { return m_disableControls; }
    void setDisableControls(bool on) { m_disableControls = on; }

    TReportUdfList *UDFList() const { return m_udfList; }
    // Throws when the list's interface version differs or a report is running.
    void setUDFList(TReportUdfList *list);

    DocumentOpener *documentOpener() const { return m_opener; }
    void setDocumentOpener(DocumentOpener *opener) { m_opener = opener; }

    // Where the run reports how far it has come; without one, ReportProgress::standard().
    void setProgress(ReportProgress *progress) { m_progress = progress; }
    // The progress of the run under way (nullptr outside a run or without one).
    ReportProgress *activeProgress() const { return m_running ? m_activeProgress : nullptr; }

    ReportVariableAccessor FindVariable(const QString &name) { return ReportVariableAccessor(*this, name); }
    // Throws "Can't add report variable … - variable already exists".
    void AddVariable(const QString &name, const QString &value = QString());

    void RunReport(const std::vector<ReportDataSet *> &dataSets);
    void RunReportAndOpen(const std::vector<ReportDataSet *> &dataSets, int showMode);

    QString LastError() const { return m_lastError; }
    bool isRunning() const { return m_running; }
    // "QRKONTAKTE=0" … as built for the last run.
    QStringList aliasTable() const { return m_aliases; }

    ReportVariableList &variables() { return m_variables; }

protected:
    // Reads, checks, compiles and writes the template to OutFile.
    virtual void execute(const std::vector<ReportDataSet *> &dataSets) = 0;

    ReportVariableList m_variables;

private:
    void run(const std::vector<ReportDataSet *> &dataSets, bool open, int showMode);

    QString m_inFile;
    QString m_outFile = QStringLiteral("outfile.doc");
    QString m_trueValue = QStringLiteral("True");
    QString m_falseValue = QStringLiteral("False");
    bool m_disableControls = true;
    TReportUdfList *m_udfList = nullptr;
    DocumentOpener *m_opener = nullptr;
    ReportProgress *m_progress = nullptr;
    ReportProgress *m_activeProgress = nullptr;
    QString m_lastError = QStringLiteral("No errors.");
    QStringList m_aliases;
    bool m_running = false;
};
