#include "report/ExpressionCompiler.h"

#include "report/BuiltinFunctions.h"
#include "report/FieldCleaner.h"
#include "report/ReportDataSet.h"
#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/ReportVariableList.h"
#include "report/TReportUdfList.h"

#include <QRegularExpression>

namespace {

const QString kDq = QStringLiteral("\"");

struct PendingOperator
{
    QString op;
    int level = 0;
    bool unary = false;
    bool paren = false;
};

int levelOf(const QString &op, bool unary)
{
    if (unary)
        return 8;
    if (op == u"*" || op == u"/" || op == u"%")
        return 7;
    if (op == u"+" || op == u"-")
        return 6;
    if (op == u"<" || op == u">" || op == u"<=" || op == u">=" || op == u"=>")
        return 5;
    if (op == u"=" || op == u"<>" || op == u"!=")
        return 4;
    if (op == u"&&" || op == u"||")
        return 3;
    return 2;  // :=
}

// The operator at p ("" when none).
QString operatorAt(const QString &e, qsizetype p)
{
    static const char *two[] = {":=", "&&", "||", "<=", ">=", "=>", "<>", "!="};
    if (p + 1 < e.size()) {
        const QString s = e.mid(p, 2);
        for (const char *t : two)
            if (s == QLatin1String(t))
                return s;
    }
    const QChar c = e[p];
    if (QStringLiteral("!%()*+-/<=>").contains(c))
        return QString(c);
    return {};
}

[[noreturn]] void notExpected(const QString &e, qsizetype p)
{
    QString token = operatorAt(e, p);
    if (token.isEmpty())
        token = e[p];
    throw ReportError(QStringLiteral("Cannot process an expression: %1%2 %3%4%3 not expected")
                          .arg(e, p == 0 ? QStringLiteral(" error at the beginning ") : QStringLiteral(" error after ") + e.left(p),
                               kDq, token));
}

} // namespace

bool ExpressionCompiler::isNameStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'_' || u >= 192;
}

bool ExpressionCompiler::isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    // A blank can only still be here when square brackets protected it.
    return isNameStart(c) || (u >= u'0' && u <= u'9') || u == u' ';
}

bool ExpressionCompiler::isIdentifier(const QString &text)
{
    if (text.isEmpty() || !isNameStart(text[0]))
        return false;
    for (QChar c : text)
        if (!isNameChar(c))
            return false;
    return true;
}

bool ExpressionCompiler::isFormatFunctionName(const QString &name)
{
    static const QSet<QString> names = {QStringLiteral("NOFORMAT"), QStringLiteral("FEXP"), QStringLiteral("FFIX"),
                                        QStringLiteral("FNUM"),     QStringLiteral("FCUR"), QStringLiteral("FFIXR"),
                                        QStringLiteral("FNUMR"),    QStringLiteral("FIMG"), QStringLiteral("FLNK"),
                                        QStringLiteral("FDTM"),     QStringLiteral("FBOOL"), QStringLiteral("FRTF")};
    return names.contains(name.toUpper());
}

qsizetype ExpressionCompiler::matchingParen(const QString &text, qsizetype open)
{
    int depth = 0;
    QString closing;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!closing.isEmpty()) {
            if (closing.contains(c))
                closing.clear();
            continue;
        }
        const QString closers = FieldCleaner::closingQuotes(c);
        if (!closers.isEmpty()) {
            closing = closers;
            continue;
        }
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth == 0)
                return i;
        }
    }
    return -1;
}

QStringList ExpressionCompiler::splitTopLevel(const QString &text)
{
    QStringList out;
    int depth = 0;
    QString closing;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!closing.isEmpty()) {
            if (closing.contains(c))
                closing.clear();
            continue;
        }
        const QString closers = FieldCleaner::closingQuotes(c);
        if (!closers.isEmpty()) {
            closing = closers;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            out << text.mid(start, i - start);
            start = i + 1;
        }
    }
    out << text.mid(start);
    return out;
}

int ExpressionCompiler::findDataSet(const QString &alias) const
{
    const auto &sets = m_env.dataSets;
    for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i]->name().compare(alias, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    if (alias.size() == 1) {
        const char16_t letter = alias[0].toUpper().unicode();
        if (letter >= u'A' && letter <= u'Z' && static_cast<size_t>(letter - u'A') < sets.size())
            return letter - u'A';
    }
    return -1;
}

bool ExpressionCompiler::isVariable(const QString &name) const
{
    return (m_env.variables && m_env.variables->contains(name)) || m_env.declared.contains(name.toUpper());
}

ExprPtr ExpressionCompiler::compile(const QString &expression)
{
    m_commandMode = false;
    return parse(expression, std::make_shared<const QString>(expression), 0);
}

ExprPtr ExpressionCompiler::compileValue(const QString &expression)
{
    m_commandMode = false;
    return requireValue(parse(expression, std::make_shared<const QString>(expression), 0), expression);
}

ExprPtr ExpressionCompiler::compileCommandCall(const QString &element, const QString &commandContent)
{
    m_commandMode = true;
    m_commandContent = commandContent;
    ExprPtr node;
    try {
        node = parse(element, std::make_shared<const QString>(element), 0);
    } catch (...) {
        m_commandMode = false;
        throw;
    }
    m_commandMode = false;
    return node;
}

void ExpressionCompiler::finishNode(ExprNode &node) const
{
    int depth = 0;
    for (const auto &a : node.args)
        depth = std::max(depth, a->depth);
    node.depth = depth + 1;
    if (node.depth > MaxDepth)
        throw ReportError(QStringLiteral("Der Ausdruck ist zu tief verschachtelt: %1").arg(node.expressionText()));
}

ExprPtr ExpressionCompiler::requireValue(ExprPtr node, const QString &context)
{
    if (node->kind == ExprNode::Kind::Name) {
        if (!isVariable(node->name))
            throw ReportError(QStringLiteral("Illegal function use: %1 - report variable %2 not found").arg(context, node->name));
        node->kind = ExprNode::Kind::Variable;
        return node;
    }
    if ((node->kind == ExprNode::Kind::Call && node->function->kind != FunctionDef::Kind::Value)
        || (node->kind == ExprNode::Kind::Udf && node->udf->ResultType_ == TReportUdf::udfrNil))
        throw ReportError(QStringLiteral("Cannot use %1 as argument for another expression").arg(node->text));
    return node;
}

ExprPtr ExpressionCompiler::parse(const QString &e, const std::shared_ptr<const QString> &root, int depth)
{
    if (depth > MaxDepth)
        throw ReportError(QStringLiteral("Der Ausdruck ist zu tief verschachtelt: %1").arg(*root));
    if (e.isEmpty())
        throw ReportError(QStringLiteral("Unexpected end of expression: %1").arg(e));

    std::vector<ExprPtr> operands;
    std::vector<PendingOperator> ops;

    auto requireOperand = [&](ExprPtr node) {
        if (node->kind == ExprNode::Kind::Udf && node->udf->ResultType_ != TReportUdf::udfrTReportVariable
            && node->udf->ResultType_ != TReportUdf::udfrNil)
            throw ReportError(QStringLiteral("Illegal brackets use in expression: %1 - result type udfrTReportVariable "
                                             "expected inside the brackets")
                                  .arg(e));
        return requireValue(std::move(node), e);
    };

    auto apply = [&](const PendingOperator &o) {
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Call;
        node->function = BuiltinFunctions::forOperator(o.op, o.unary);
        node->expression = root;
        node->text = e;
        const size_t need = o.unary ? 1 : 2;
        if (operands.size() < need)
            throw ReportError(QStringLiteral("Unexpected end of expression: %1").arg(e));
        std::vector<ExprPtr> args;
        for (size_t i = 0; i < need; ++i) {
            args.insert(args.begin(), std::move(operands.back()));
            operands.pop_back();
        }
        if (o.op == u":=" && !o.unary) {
            ExprNode &left = *args[0];
            if (!left.isBareName())
                throw ReportError(QStringLiteral("Illegal expression: %1 - variable identifier expected as a left argument "
                                                 "of operation %2:=%2")
                                      .arg(e, kDq));
            if (!isVariable(left.name))
                throw ReportError(
                    QStringLiteral("Illegal expression: %1 - variable expected as a left argument of operation %2:=%2").arg(e, kDq));
            left.kind = ExprNode::Kind::Variable;
            args[1] = requireOperand(std::move(args[1]));
        } else {
            for (auto &a : args)
                a = requireOperand(std::move(a));
        }
        node->args = std::move(args);
        finishNode(*node);
        operands.push_back(std::move(node));
    };

    bool expectOperand = true;
    qsizetype p = 0;
    const qsizetype n = e.size();
    while (p < n) {
        const QChar c = e[p];
        if (expectOperand) {
            if (c == u'(') {
                ops.push_back({QStringLiteral("("), 0, false, true});
                if (ops.size() > static_cast<size_t>(MaxDepth))
                    throw ReportError(QStringLiteral("Der Ausdruck ist zu tief verschachtelt: %1").arg(*root));
                ++p;
                continue;
            }
            const QString op = operatorAt(e, p);
            if (op == u"+" || op == u"-" || op == u"!") {
                ops.push_back({op, 8, true, false});
                if (ops.size() > static_cast<size_t>(MaxDepth))
                    throw ReportError(QStringLiteral("Der Ausdruck ist zu tief verschachtelt: %1").arg(*root));
                ++p;
                continue;
            }
            operands.push_back(readOperand(e, p, root, depth));
            expectOperand = false;
            continue;
        }
        if (c == u')') {
            bool found = false;
            while (!ops.empty()) {
                const PendingOperator o = ops.back();
                ops.pop_back();
                if (o.paren) {
                    found = true;
                    break;
                }
                apply(o);
            }
            if (!found)
                throw ReportError(QStringLiteral("Cannot process an expression: %1 - number of %2)%2 is more than number of "
                                                 "%2(%2 brackets")
                                      .arg(e, kDq));
            if (!operands.empty())
                operands.back() = requireOperand(std::move(operands.back()));
            ++p;
            continue;
        }
        const QString op = operatorAt(e, p);
        if (op.isEmpty() || op == u"(" || op == u"!") {
            if (op == u"(" || isNameStart(c) || c.isDigit() || c == u'{' || !FieldCleaner::closingQuotes(c).isEmpty())
                throw ReportError(QStringLiteral("Operation or function name missed in expression: %1, operand: %2")
                                      .arg(e, e.mid(p)));
            if (op == u"!")
                notExpected(e, p);
            throw ReportError(QStringLiteral("Cannot process an expression: %1 error after %2 operation expected").arg(e, e.left(p)));
        }
        const int level = levelOf(op, false);
        while (!ops.empty() && !ops.back().paren && ops.back().level >= level) {
            const PendingOperator o = ops.back();
            ops.pop_back();
            apply(o);
        }
        ops.push_back({op, level, false, false});
        p += op.size();
        expectOperand = true;
    }
    if (expectOperand)
        throw ReportError(QStringLiteral("Unexpected end of expression: %1").arg(e));
    while (!ops.empty()) {
        const PendingOperator o = ops.back();
        ops.pop_back();
        if (o.paren)
            throw ReportError(QStringLiteral("Cannot process an expression: %1 %2)%2 expected").arg(e, kDq));
        apply(o);
    }
    return std::move(operands.back());
}

ExprPtr ExpressionCompiler::readOperand(const QString &e, qsizetype &p, const std::shared_ptr<const QString> &root,
                                        int depth)
{
    const qsizetype n = e.size();
    const QChar c = e[p];
    auto literal = [&](ReportValue v, qsizetype end) {
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Literal;
        node->literal = std::make_unique<const ReportValue>(std::move(v));
        node->text = e.mid(p, end - p);
        node->expression = root;
        p = end;
        return node;
    };

    if (c == u'{') {
        static const QRegularExpression date(QStringLiteral(R"(^\{(\d{4})-(\d{2})-(\d{2})\}$)"));
        const auto m = date.match(e.mid(p, 12));
        if (m.hasMatch()) {
            const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
            if (d.isValid())
                return literal(ReportValue::fromDateTime(ReportDateTime::fromDate(d)), p + 12);
        }
        notExpected(e, p);
    }
    if (const QString closers = FieldCleaner::closingQuotes(c); !closers.isEmpty()) {
        qsizetype end = p + 1;
        while (end < n && !closers.contains(e[end]))
            ++end;
        if (end >= n)
            notExpected(e, p);
        return literal(ReportValue::fromText(e.mid(p + 1, end - p - 1)), end + 1);
    }
    if (c.isDigit() && c.unicode() < 128) {
        static const QRegularExpression number(QStringLiteral(R"(^\d+(?:\.\d+)?(?:[eE][+-]?\d+)?)"));
        const auto m = number.match(QStringView(e).mid(p));
        return literal(ReportValue::fromNumber(m.captured(0).toDouble()), p + m.capturedLength(0));
    }
    if (!isNameStart(c))
        notExpected(e, p);

    qsizetype end = p;
    while (end < n && isNameChar(e[end]))
        ++end;
    const QString name = e.mid(p, end - p);
    const qsizetype start = p;

    if (end < n && e[end] == u'(') {
        const qsizetype close = matchingParen(e, end);
        if (close < 0)
            throw ReportError(QStringLiteral("Brackets balance violation in function %1").arg(e.mid(start)));
        const QString callText = e.mid(start, close + 1 - start);
        p = close + 1;
        return makeCall(name, callText, e.mid(end + 1, close - end - 1), root, depth);
    }
    if (end + 1 < n && e[end] == u':' && e[end + 1] == u'=') {
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Name;
        node->name = name;
        node->text = name;
        node->expression = root;
        p = end;
        return node;
    }
    const bool colon = end < n && e[end] == u':';
    const bool dot = m_env.dotAsColon && end + 1 < n && e[end] == u'.' && isNameStart(e[end + 1]);
    if (colon || dot) {
        qsizetype q = end + 1;
        if (colon && q < n && e[q] == u'(') {
            const qsizetype close = e.indexOf(u')', q);
            if (close < 0)
                throw ReportError(QStringLiteral("Brackets balance violation in function %1").arg(e.mid(start)));
            const QString position = e.mid(q + 1, close - q - 1);
            p = close + 1;
            return makeColumn(name, position, true, *root, root);
        }
        while (q < n && isNameChar(e[q]))
            ++q;
        const QString column = e.mid(end + 1, q - end - 1);
        if (column.isEmpty())
            notExpected(e, end);
        p = q;
        return makeColumn(name, column, false, *root, root);
    }
    p = end;
    if (name.compare(u"TRUE", Qt::CaseInsensitive) == 0 || name.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
        p = start;
        return literal(ReportValue::fromBoolean(name.compare(u"TRUE", Qt::CaseInsensitive) == 0), end);
    }
    auto node = std::make_unique<ExprNode>();
    node->kind = ExprNode::Kind::Name;
    node->name = name;
    node->text = name;
    node->expression = root;
    return node;
}

ExprPtr ExpressionCompiler::makeColumn(const QString &alias, const QString &column, bool byPosition,
                                       const QString &context, const std::shared_ptr<const QString> &root)
{
    const int set = findDataSet(alias);
    if (set < 0)
        throw ReportError(QStringLiteral("Illegal function use: %1 - dataset alias not found: %2").arg(context, alias));
    const ReportDataSet *ds = m_env.dataSets[static_cast<size_t>(set)];
    int field = -1;
    if (byPosition) {
        bool ok = false;
        const int index = column.toInt(&ok);
        if (ok && index >= 0 && index < ds->fieldCount())
            field = index;
    } else {
        for (int i = 0; i < ds->fieldCount(); ++i)
            if (ds->fieldName(i).compare(column, Qt::CaseInsensitive) == 0) {
                field = i;
                break;
            }
    }
    if (field < 0)
        throw ReportError(QStringLiteral("Illegal function use: %1 - dataset field %2 not found")
                              .arg(context, byPosition ? u'(' + column + u')' : column));
    auto node = std::make_unique<ExprNode>();
    node->kind = ExprNode::Kind::Column;
    node->dataSet = set;
    node->field = field;
    node->name = column;
    node->text = alias + u':' + column;
    node->expression = root;
    return node;
}

ExprPtr ExpressionCompiler::makeCall(const QString &name, const QString &callText, const QString &inner,
                                     const std::shared_ptr<const QString> &root, int depth)
{
    if (depth >= MaxDepth)
        throw ReportError(QStringLiteral("Der Ausdruck ist zu tief verschachtelt: %1").arg(*root));
    auto node = std::make_unique<ExprNode>();
    node->name = name;
    node->text = callText;
    node->expression = root;

    const TReportUdf *udf = m_env.udfs ? m_env.udfs->find(name) : nullptr;
    const FunctionDef *f = udf ? nullptr : BuiltinFunctions::find(name);
    if (!udf && !f) {
        if (isFormatFunctionName(name))
            throw ReportError(QStringLiteral("Illegal function use: expression %1 has format function %2, which is not allowed "
                                             "within another expression")
                                  .arg(*root, name.toUpper()));
        throw ReportError(QStringLiteral("Function not found: %1").arg(name));
    }
    const QStringList argTexts = inner.isEmpty() ? QStringList() : splitTopLevel(inner);
    const int count = static_cast<int>(argTexts.size());
    const int minArgs = udf ? udf->ArgMinCount : f->minArgs;
    const int maxArgs = udf ? udf->ArgMaxCount : f->maxArgs;
    if (count < minArgs)
        throw ReportError(QStringLiteral("Illegal function use: %1 - number of arguments is less than minimum required").arg(callText));
    if (count > maxArgs)
        throw ReportError(QStringLiteral("Illegal function use: %1 - number of arguments is more than maximum allowed").arg(callText));

    const bool commandMode = m_commandMode;
    m_commandMode = false;  // only the element itself follows the stricter rules
    std::vector<ExprPtr> args;
    for (const QString &a : argTexts) {
        if (a.isEmpty()) {
            auto omitted = std::make_unique<ExprNode>();
            omitted->kind = ExprNode::Kind::Omitted;
            omitted->expression = root;
            args.push_back(std::move(omitted));
        } else {
            args.push_back(parse(a, root, depth + 1));
        }
    }

    if (udf) {
        node->kind = ExprNode::Kind::Udf;
        node->udf = udf;
        for (auto &a : args)
            if (a->kind != ExprNode::Kind::Omitted)
                a = requireValue(std::move(a), callText);
        node->args = std::move(args);
        finishNode(*node);
        return node;
    }

    node->kind = ExprNode::Kind::Call;
    node->function = f;
    const QString upper = name.toUpper();
    if (upper == u"VAR") {
        for (auto &a : args) {
            if (a->kind != ExprNode::Kind::Name)
                throw ReportError(commandMode ? QStringLiteral("Illegal function use: %1 - report variable expected as argument in expression %2")
                                                    .arg(callText, m_commandContent)
                                              : QStringLiteral("Illegal function use: %1 - VAR function may be used only with variable identifiers")
                                                    .arg(callText));
            m_env.declared.insert(a->name.toUpper());
        }
    } else if (upper == u"SET") {
        if (!args[0]->isBareName() || !isVariable(args[0]->name))
            throw ReportError(QStringLiteral("Illegal function use: %1 - variable expected as a first argument of function %2SET%2")
                                  .arg(callText, kDq));
        args[0]->kind = ExprNode::Kind::Variable;
        args[1] = requireValue(std::move(args[1]), callText);
    } else if (BuiltinFunctions::isDataSetFunction(f)) {
        if (args[0]->kind != ExprNode::Kind::Name)
            throw ReportError(QStringLiteral("Illegal function use: %1 - dataset identifier expected as argument of function %2%3%2")
                                  .arg(callText, kDq, upper));
        const int set = findDataSet(args[0]->name);
        if (set < 0)
            throw ReportError(QStringLiteral("Illegal function use: %1 - dataset alias not found: %2").arg(callText, args[0]->name));
        args[0]->dataSet = set;
    } else if (f->kind == FunctionDef::Kind::Aggregate) {
        const QString context = commandMode ? m_commandContent : *root;
        if (commandMode) {
            const ExprNode &first = *args[0];
            const bool allowed = first.kind == ExprNode::Kind::Column || first.kind == ExprNode::Kind::Udf
                                 || (first.isBareName() && isVariable(first.name));
            if (!allowed)
                throw ReportError(QStringLiteral("Illegal function use: %1 - datafield, variable or UDF expected as first "
                                                 "argument in expression %2")
                                      .arg(callText, context));
        }
        if (args[1]->kind != ExprNode::Kind::Name)
            throw ReportError(QStringLiteral("Illegal function use: %1 - report variable expected as second argument in expression %2")
                                  .arg(callText, context));
        if (args.size() == 3) {
            if (args[2]->kind != ExprNode::Kind::Name || args[2]->name.compare(u"NORESET", Qt::CaseInsensitive) != 0)
                throw ReportError(QStringLiteral("Illegal function use: %1 - symbol %2)%2 or keyword %2NORESET%2 expected as "
                                                 "third argument in expression %3")
                                      .arg(callText, kDq, context));
            node->noReset = true;
            args.pop_back();
        }
        m_env.declared.insert(args[1]->name.toUpper());
        args[0] = requireValue(std::move(args[0]), callText);
    } else {
        for (auto &a : args)
            if (a->kind != ExprNode::Kind::Omitted)
                a = requireValue(std::move(a), callText);
    }
    node->args = std::move(args);
    finishNode(*node);
    return node;
}

void ExprNode::dropCompileTexts()
{
    if (expression)
        text = QString();
    for (const ExprPtr &a : args)
        a->dropCompileTexts();
}
