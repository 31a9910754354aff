#pragma once

#include "report/EvalContext.h"
#include "report/TemplateProgram.h"

#include <QByteArray>

// Writes a compiled template: text as it is, values in RTF form, scans repeated per
// record and conditions resolved.
class ReportRunner
{
public:
    struct Settings
    {
        int lang = 0;
        bool graphicsBinary = true;
        bool clearZero = false;
        bool clearMissed = false;                   // unknown fields write nothing
        QString templateDirectory;                  // pictures named relative to it
        quint64 maxScanPasses = 5'000'000;          // all scans of one run together
        qsizetype maxOutputBytes = 512LL * 1024 * 1024;
    };

    ReportRunner(EvalContext &context, const Settings &settings, QByteArray &out);

    void run(const TemplateBlock &block);

private:
    void runItems(const TemplateBlock &block);
    void runScan(const ScanBlock &scan);
    void runCondition(const ConditionBlock &condition);
    void runCalls(const std::vector<ExprPtr> &calls);
    bool test(const ExprNode &condition);
    void writeValue(const ValueField &field);
    QString formatted(const ValueField &field, const ReportValue &value, bool *raw);
    QByteArray picture(const ReportValue &value, bool *loaded);
    void checkOutputSize();

    EvalContext &m_context;
    const Settings &m_settings;
    QByteArray &m_out;
    QByteArray m_langPrefix;
    quint64 m_passes = 0;
};
