#include "report/OperatorFunctions.h"

#include "report/EvalContext.h"
#include "report/ReportError.h"

#include <QHash>

#include <cmath>

namespace OperatorFunctions {

namespace {

using Type = ReportValue::Type;
using K = FunctionDef::Kind;

// Text values longer than this stop the run instead of exhausting memory.
constexpr qsizetype kMaxTextLength = 64 * 1024 * 1024;

ReportValue checkedText(const QString &text)
{
    if (text.size() > kMaxTextLength)
        throw ReportError(QStringLiteral("Der Text eines Ausdrucks wird zu lang (über %1 Zeichen).").arg(kMaxTextLength));
    return ReportValue::fromText(text);
}

// ---- operators ---------------------------------------------------------------------

QString operationName(const ExprNode &n)
{
    return QLatin1String(n.function->operation);
}

[[noreturn]] void operandError(const ExprNode &n, const ReportValue &a, const ReportValue *b)
{
    const bool unknown = a.type == Type::None || (b && b->type == Type::None);
    throw ReportError(QStringLiteral("%1. Operation %2, expression %3")
                          .arg(unknown ? QStringLiteral("Operand type unknown")
                                       : QStringLiteral("Operator/operand type mismatch"),
                               operationName(n), n.expressionText()));
}

struct Pair
{
    ReportValue a, b;
};

Pair both(EvalContext &c, const ExprNode &n)
{
    return {c.eval(*n.args[0]), c.eval(*n.args[1])};
}

ReportValue sysAnd(EvalContext &c, const ExprNode &n)
{
    const Pair p = both(c, n);
    if (p.a.type != Type::Boolean || p.b.type != Type::Boolean)
        operandError(n, p.a, &p.b);
    return ReportValue::fromBoolean(p.a.boolean && p.b.boolean);
}

ReportValue sysOr(EvalContext &c, const ExprNode &n)
{
    const Pair p = both(c, n);
    if (p.a.type != Type::Boolean || p.b.type != Type::Boolean)
        operandError(n, p.a, &p.b);
    return ReportValue::fromBoolean(p.a.boolean || p.b.boolean);
}

ReportValue sysNot(EvalContext &c, const ExprNode &n)
{
    const ReportValue a = c.eval(*n.args[0]);
    if (a.type != Type::Boolean)
        operandError(n, a, nullptr);
    return ReportValue::fromBoolean(!a.boolean);
}

ReportValue sysUMinus(EvalContext &c, const ExprNode &n)
{
    const ReportValue a = c.eval(*n.args[0]);
    if (a.type != Type::Number)
        operandError(n, a, nullptr);
    return ReportValue::fromNumber(-a.number);
}

ReportValue sysUPlus(EvalContext &c, const ExprNode &n)
{
    const ReportValue a = c.eval(*n.args[0]);
    if (a.type != Type::Number)
        operandError(n, a, nullptr);
    return ReportValue::fromNumber(a.number);
}

Pair numbers(EvalContext &c, const ExprNode &n)
{
    Pair p = both(c, n);
    if (p.a.type != Type::Number || p.b.type != Type::Number)
        operandError(n, p.a, &p.b);
    return p;
}

ReportValue sysMult(EvalContext &c, const ExprNode &n)
{
    const Pair p = numbers(c, n);
    return ReportValue::fromNumber(p.a.number * p.b.number);
}

[[noreturn]] void divisionByZero(const ExprNode &n)
{
    throw ReportError(QStringLiteral("Division by zero. Operation %1, expression %2").arg(operationName(n), n.expressionText()));
}

ReportValue sysDiv(EvalContext &c, const ExprNode &n)
{
    const Pair p = numbers(c, n);
    if (p.b.number == 0.0)
        divisionByZero(n);
    return ReportValue::fromNumber(p.a.number / p.b.number);
}

ReportValue sysPercent(EvalContext &c, const ExprNode &n)
{
    const Pair p = numbers(c, n);
    if (p.b.number == 0.0)
        divisionByZero(n);
    return ReportValue::fromNumber(p.a.number - std::trunc(p.a.number / p.b.number) * p.b.number);
}

ReportValue sysAdd(EvalContext &c, const ExprNode &n)
{
    const Pair p = both(c, n);
    if (p.a.type == Type::Text && p.b.type == Type::Text)
        return checkedText(p.a.text + p.b.text);
    if (p.a.type == Type::Number && p.b.type == Type::Number)
        return ReportValue::fromNumber(p.a.number + p.b.number);
    const bool dateOrNumberA = p.a.type == Type::DateTime || p.a.type == Type::Number;
    const bool dateOrNumberB = p.b.type == Type::DateTime || p.b.type == Type::Number;
    if (dateOrNumberA && dateOrNumberB)
        return ReportValue::fromDateTime(p.a.number + p.b.number);
    operandError(n, p.a, &p.b);
}

ReportValue sysSub(EvalContext &c, const ExprNode &n)
{
    const Pair p = both(c, n);
    if (p.a.type == Type::Number && p.b.type == Type::Number)
        return ReportValue::fromNumber(p.a.number - p.b.number);
    const bool dateOrNumberA = p.a.type == Type::DateTime || p.a.type == Type::Number;
    const bool dateOrNumberB = p.b.type == Type::DateTime || p.b.type == Type::Number;
    if (dateOrNumberA && dateOrNumberB)
        return ReportValue::fromDateTime(p.a.number - p.b.number);
    operandError(n, p.a, &p.b);
}

// -1, 0, 1 for two values of one type.
int compare(const ExprNode &n, const Pair &p)
{
    if (p.a.type != p.b.type || p.a.type == Type::None)
        operandError(n, p.a, &p.b);
    switch (p.a.type) {
    case Type::Text: {
        const int r = QString::compare(p.a.text, p.b.text, Qt::CaseSensitive);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case Type::Boolean: return static_cast<int>(p.a.boolean) - static_cast<int>(p.b.boolean);
    default: return p.a.number < p.b.number ? -1 : (p.a.number > p.b.number ? 1 : 0);
    }
}

ReportValue sysEq(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(compare(n, both(c, n)) == 0); }
ReportValue sysNotEq(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(compare(n, both(c, n)) != 0); }
ReportValue sysLt(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(compare(n, both(c, n)) < 0); }
ReportValue sysGt(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(compare(n, both(c, n)) > 0); }
ReportValue sysLtEq(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(compare(n, both(c, n)) <= 0); }
ReportValue sysGtEq(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(compare(n, both(c, n)) >= 0); }

ReportValue sysLet(EvalContext &c, const ExprNode &n)
{
    const ReportValue v = c.eval(*n.args[1]);
    c.setVariable(*n.args[0], v);
    return ReportValue::none();
}

const FunctionDef kOperators[] = {
    {"SYS_UMINUS", 1, 1, K::Value, sysUMinus, "unary \"-\""},
    {"SYS_UPLUS", 1, 1, K::Value, sysUPlus, "unary \"+\""},
    {"SYS_NOT", 1, 1, K::Value, sysNot, "not \"!\""},
    {"SYS_MULT", 2, 2, K::Value, sysMult, "\"*\""},
    {"SYS_DIV", 2, 2, K::Value, sysDiv, "\"/\""},
    {"SYS_PERCENT", 2, 2, K::Value, sysPercent, "\"%\""},
    {"SYS_ADD", 2, 2, K::Value, sysAdd, "\"+\""},
    {"SYS_SUB", 2, 2, K::Value, sysSub, "\"-\""},
    {"SYS_LT", 2, 2, K::Value, sysLt, "\"<\""},
    {"SYS_GT", 2, 2, K::Value, sysGt, "\">\""},
    {"SYS_LTEQ", 2, 2, K::Value, sysLtEq, "\"<=\""},
    {"SYS_GTEQ", 2, 2, K::Value, sysGtEq, "\">=\""},
    {"SYS_EQ", 2, 2, K::Value, sysEq, "\"=\""},
    {"SYS_NOTEQ", 2, 2, K::Value, sysNotEq, "not equal"},
    {"SYS_AND", 2, 2, K::Value, sysAnd, "\"&&\""},
    {"SYS_OR", 2, 2, K::Value, sysOr, "\"||\""},
    {"SYS_LET", 2, 2, K::NoResult, sysLet, "\":=\""},
};

const FunctionDef *op(const char *name)
{
    for (const FunctionDef &f : kOperators)
        if (qstrcmp(f.name, name) == 0)
            return &f;
    return nullptr;
}

} // namespace

const FunctionDef *find(const QString &o, bool unary)
{
    if (unary) {
        if (o == u"-")
            return op("SYS_UMINUS");
        if (o == u"+")
            return op("SYS_UPLUS");
        if (o == u"!")
            return op("SYS_NOT");
        return nullptr;
    }
    static const QHash<QString, const char *> names = {
        {QStringLiteral("*"), "SYS_MULT"},   {QStringLiteral("/"), "SYS_DIV"},   {QStringLiteral("%"), "SYS_PERCENT"},
        {QStringLiteral("+"), "SYS_ADD"},    {QStringLiteral("-"), "SYS_SUB"},   {QStringLiteral("<"), "SYS_LT"},
        {QStringLiteral(">"), "SYS_GT"},     {QStringLiteral("<="), "SYS_LTEQ"}, {QStringLiteral(">="), "SYS_GTEQ"},
        {QStringLiteral("=>"), "SYS_GTEQ"},  {QStringLiteral("="), "SYS_EQ"},    {QStringLiteral("<>"), "SYS_NOTEQ"},
        {QStringLiteral("!="), "SYS_NOTEQ"}, {QStringLiteral("&&"), "SYS_AND"},  {QStringLiteral("||"), "SYS_OR"},
        {QStringLiteral(":="), "SYS_LET"},
    };
    const char *name = names.value(o, nullptr);
    return name ? op(name) : nullptr;
}

} // namespace OperatorFunctions
