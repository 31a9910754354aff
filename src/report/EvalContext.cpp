#include "report/EvalContext.h"

#include "report/ReportDataSet.h"
#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/TReportUdf.h"

EvalContext::EvalContext(ReportVariableList &variables, const std::vector<ReportDataSet *> &dataSets)
    : m_variables(variables), m_dataSets(dataSets)
{
}

ReportValue EvalContext::eval(const ExprNode &node)
{
    switch (node.kind) {
    case ExprNode::Kind::Literal: return node.literal;
    case ExprNode::Kind::Variable:
    case ExprNode::Kind::Name: return m_variables.value(variableIndex(node, false));
    case ExprNode::Kind::Column: return columnValue(node.dataSet, node.field);
    case ExprNode::Kind::Call: return node.function->eval(*this, node);
    case ExprNode::Kind::Omitted: return ReportValue::none();
    case ExprNode::Kind::Udf: {
        std::vector<ReportValue> args;
        args.reserve(node.args.size());
        for (const auto &a : node.args)
            args.push_back(eval(*a));
        TReportUdf::Result result;
        if (node.udf->OnCalculate)
            node.udf->OnCalculate(*node.udf, args, static_cast<int>(args.size()), result);
        switch (node.udf->ResultType_) {
        case TReportUdf::udfrNil: return ReportValue::none();
        case TReportUdf::udfrTReportVariable: return result.value;
        case TReportUdf::udfrTPicture:
        case TReportUdf::udfrTMemoryStream: return ReportValue::fromPicture(result.picture);
        }
        return ReportValue::none();
    }
    }
    return ReportValue::none();
}

ReportValue EvalContext::columnValue(int dataSet, int field) const
{
    const ReportDataSet *set = m_dataSets[static_cast<size_t>(dataSet)];
    const QVariant v = set->fieldValue(field);
    const ReportDataSet::FieldKind kind = set->fieldKind(field);
    ReportValue out;
    const bool null = !v.isValid() || v.isNull();
    switch (kind) {
    case ReportDataSet::FieldKind::Text:
        out = ReportValue::fromText(null ? QString() : v.toString());
        break;
    case ReportDataSet::FieldKind::Number:
        out = ReportValue::fromNumber(null ? 0.0 : v.toDouble());
        break;
    case ReportDataSet::FieldKind::Boolean:
        out = ReportValue::fromBoolean(null ? false : v.toBool());
        break;
    case ReportDataSet::FieldKind::Date:
        out = ReportValue::fromDateTime(null ? 0.0 : ReportDateTime::fromDate(v.toDate()));
        break;
    case ReportDataSet::FieldKind::Time:
        out = ReportValue::fromDateTime(null ? 0.0 : ReportDateTime::fromTime(v.toTime()));
        break;
    case ReportDataSet::FieldKind::DateTime:
        out = ReportValue::fromDateTime(null ? 0.0 : ReportDateTime::fromDateTime(v.toDateTime()));
        break;
    case ReportDataSet::FieldKind::Picture:
        out = ReportValue::fromPicture(null ? QByteArray() : v.toByteArray());
        break;
    case ReportDataSet::FieldKind::Other:
        out.text = null ? QString() : v.toString();
        break;
    }
    out.isNull = null;
    return out;
}

int EvalContext::variableIndex(const ExprNode &node, bool forSetting)
{
    if (node.variableIndex >= 0 && node.variableIndex < m_variables.count())
        return node.variableIndex;
    const int index = m_variables.indexOf(node.name);
    if (index < 0)
        throw ReportError(QStringLiteral("%1: report variable not found: %2")
                              .arg(forSetting ? QStringLiteral("Set variable") : QStringLiteral("Get variable"),
                                   node.name));
    node.variableIndex = index;
    return index;
}

void EvalContext::setVariable(const ExprNode &node, const ReportValue &value)
{
    m_variables.setValue(variableIndex(node, true), value);
}

bool EvalContext::aggregateShouldReset(const ExprNode &node)
{
    if (node.noReset)
        return false;
    if (m_scans.empty())
        return true;
    ScanState &scan = m_scans.back();
    if (!scan.firstPass || node.resetScan == scan.serial)
        return false;
    node.resetScan = scan.serial;
    return true;
}

void EvalContext::pushScan()
{
    m_scans.push_back({++m_scanSerial, true});
}

void EvalContext::popScan()
{
    m_scans.pop_back();
}

void EvalContext::endFirstPass()
{
    if (!m_scans.empty())
        m_scans.back().firstPass = false;
}
