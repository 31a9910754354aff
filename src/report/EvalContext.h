#pragma once

#include "report/ExprNode.h"
#include "report/ReportVariableList.h"

#include <vector>

class ReportDataSet;

// What a running report evaluates against: variables, data sets and the open scans.
class EvalContext
{
public:
    EvalContext(ReportVariableList &variables, const std::vector<ReportDataSet *> &dataSets);

    ReportValue eval(const ExprNode &node);
    ReportValue columnValue(int dataSet, int field) const;

    int variableIndex(const ExprNode &node, bool forSetting);
    void setVariable(const ExprNode &node, const ReportValue &value);

    ReportVariableList &variables() { return m_variables; }
    ReportDataSet *dataSet(int index) const { return m_dataSets[static_cast<size_t>(index)]; }

    // Aggregates reset on their first evaluation within each run of the innermost scan,
    // whichever record that is: a filtered scan may never evaluate them on its first record.
    bool aggregateShouldReset(const ExprNode &node);
    void pushScan();
    void popScan();

    QString trueValue = QStringLiteral("True");
    QString falseValue = QStringLiteral("False");

private:
    ReportVariableList &m_variables;
    const std::vector<ReportDataSet *> &m_dataSets;
    std::vector<quint64> m_scans;   // the serial of each open scan run
    quint64 m_scanSerial = 0;
};
