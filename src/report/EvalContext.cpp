#include "report/EvalContext.h"

#include "report/ReportDataSet.h"
#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/TReportUdf.h"

#include <cmath>

EvalContext::EvalContext(ReportVariableList &variables, const std::vector<ReportDataSet *> &dataSets)
    : m_variables(variables), m_dataSets(dataSets)
{
}

namespace {

// A number that is not finite would be printed as "nan" or "inf": a wrong printout that
// looks like a result.
[[noreturn]] void notFinite(const ExprNode &node)
{
    const QString what = node.function->operation
                             ? QStringLiteral("Operation %1").arg(QLatin1String(node.function->operation))
                             : QStringLiteral("Funktion \"%1\"").arg(QLatin1String(node.function->name));
    throw ReportError(QStringLiteral("Das Ergebnis ist keine endliche Zahl. %1, Ausdruck %2").arg(what, node.expressionText()));
}

} // namespace

ReportValue EvalContext::eval(const ExprNode &node)
{
    switch (node.kind) {
    case ExprNode::Kind::Literal: return *node.literal;
    case ExprNode::Kind::Variable:
    case ExprNode::Kind::Name: return m_variables.value(variableIndex(node, false));
    case ExprNode::Kind::Column: return columnValue(node.dataSet, node.field);
    case ExprNode::Kind::Call: {
        ReportValue v = node.function->eval(*this, node);
        if (v.type == ReportValue::Type::Number && !std::isfinite(v.number)) [[unlikely]]
            notFinite(node);
        return v;
    }
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
    const quint64 run = m_scans.back();
    if (node.resetScan == run)
        return false;
    node.resetScan = run;
    return true;
}

void EvalContext::pushScan()
{
    m_scans.push_back(++m_scanSerial);
}

void EvalContext::popScan()
{
    m_scans.pop_back();
}

