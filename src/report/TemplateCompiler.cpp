#include "report/TemplateCompiler.h"

#include "report/BuiltinFunctions.h"
#include "report/FieldCleaner.h"
#include "report/ReportError.h"
#include "report/RtfFieldFinder.h"
#include "report/TReportUdf.h"

#include <QRegularExpression>

namespace {

const QString kDq = QStringLiteral("\"");

enum class FieldClass { Scan, ScanEntry, ScanFooter, EndScan, If, EndIf, Else, ElsIf, Value };

bool startsWith(const QString &s, const char *prefix)
{
    return s.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

FieldClass classify(const QString &content)
{
    if (startsWith(content, "SCAN("))
        return FieldClass::Scan;
    if (startsWith(content, "SCANENTRY"))
        return FieldClass::ScanEntry;
    if (startsWith(content, "SCANFOOTER"))
        return FieldClass::ScanFooter;
    if (startsWith(content, "ENDSCAN"))
        return FieldClass::EndScan;
    if (startsWith(content, "IF("))
        return FieldClass::If;
    if (startsWith(content, "ENDIF"))
        return FieldClass::EndIf;
    if (startsWith(content, "ELSE"))
        return FieldClass::Else;
    if (startsWith(content, "ELSIF("))
        return FieldClass::ElsIf;
    return FieldClass::Value;
}

// A call "name(...)" that spans the whole text.
bool isCall(const QString &text)
{
    const qsizetype open = text.indexOf(u'(');
    if (open <= 0 || !ExpressionCompiler::isIdentifier(text.left(open)))
        return false;
    return ExpressionCompiler::matchingParen(text, open) == text.size() - 1;
}

} // namespace

TemplateCompiler::TemplateCompiler(ExpressionCompiler::Environment &environment)
    : m_env(environment), m_compiler(environment)
{
}

TemplateBlock &TemplateCompiler::current()
{
    return m_open.empty() ? m_program.root : *m_open.back().block;
}

void TemplateCompiler::add(const TemplatePiece &piece)
{
    const int line = m_line;
    m_line += static_cast<int>(piece.rtf.count('\n'));
    if (piece.kind == TemplatePiece::Kind::Text) {
        // The text after a value rides with it: one item less per field.
        TemplateBlock &block = current();
        if (!block.empty() && block.back().text.isEmpty()
            && (block.back().kind == TemplateItem::Kind::Value || block.back().kind == TemplateItem::Kind::Unknown
                || block.back().kind == TemplateItem::Kind::Deferred))
            block.back().text = piece.rtf;
        else
            block.push_back(TemplateItem::makeText(piece.rtf));
        return;
    }
    switch (classify(piece.content)) {
    case FieldClass::Scan: openScan(piece); break;
    case FieldClass::ScanEntry: scanEntry(piece); break;
    case FieldClass::ScanFooter: scanFooter(piece); break;
    case FieldClass::EndScan: endScan(piece); break;
    case FieldClass::If: openIf(piece); break;
    case FieldClass::ElsIf: elsIf(piece); break;
    case FieldClass::Else: elseBranch(piece); break;
    case FieldClass::EndIf: endIf(piece); break;
    case FieldClass::Value: {
        TemplateItem item = valueItem(piece);
        // A list for the author to read: the first thousand names are plenty.
        if (item.kind == TemplateItem::Kind::Unknown && m_unknown.size() < 1000
            && !m_unknownNames.contains(piece.content.toUpper())) {
            m_unknownNames.insert(piece.content.toUpper());
            m_unknown.push_back({piece.content, line});
        }
        current().push_back(std::move(item));
        break;
    }
    }
}

TemplateProgram TemplateCompiler::finish()
{
    m_compiledFields.clear();
    if (!m_open.empty()) {
        if (m_open.back().scan)
            throw ReportError(QStringLiteral("Nesting error - endscan expected, but end of document found"));
        throw ReportError(QStringLiteral("Endif expected, but end of document found"));
    }
    m_program.compileField = [this](const QByteArray &source) { return compileDeferred(source); };
    return std::move(m_program);
}

// Variables that VAR and the aggregates create while the report runs are known to every
// field, wherever in the template they are created.
void TemplateCompiler::declare(const TemplatePiece &piece)
{
    static const QRegularExpression call(QStringLiteral(R"((?<![A-Za-z0-9_])(VAR|SUM|CTN|CTS)\()"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (piece.kind != TemplatePiece::Kind::Field)
        return;
    if (!piece.content.contains(u'('))
        return;
    auto it = call.globalMatch(piece.content);
    while (it.hasNext()) {
        const auto m = it.next();
        const qsizetype open = m.capturedEnd(0) - 1;
        const qsizetype close = ExpressionCompiler::matchingParen(piece.content, open);
        if (close < 0)
            continue;
        const QStringList args = ExpressionCompiler::splitTopLevel(piece.content.mid(open + 1, close - open - 1));
        const bool isVar = m.captured(1).compare(u"VAR", Qt::CaseInsensitive) == 0;
        for (qsizetype i = 0; i < args.size(); ++i)
            if ((isVar || i == 1) && ExpressionCompiler::isIdentifier(args[i]))
                m_env.declared.insert(args[i].toUpper());
    }
}

namespace {

bool holdsAggregate(const ExprNode *node)
{
    if (!node)
        return false;
    if (node->kind == ExprNode::Kind::Call && node->function->kind == FunctionDef::Kind::Aggregate)
        return true;
    for (const ExprPtr &a : node->args)
        if (holdsAggregate(a.get()))
            return true;
    return false;
}

// Enough to share the fields a template repeats without the table growing with a
// template of nothing but different fields.
constexpr qsizetype kMaxSharedFields = 10000;

} // namespace

// A field written exactly alike elsewhere is compiled once. Aggregates keep their own
// compiled field: each place resets on its own first evaluation. Once the shared fields are
// many, every further field is only checked here and compiled again each time it runs: a
// compiled field costs several hundred bytes, and a template may hold millions of fields.
// A field that is no name of this report needs nothing but its place in the template.
TemplateItem TemplateCompiler::valueItem(const TemplatePiece &piece)
{
    TemplateItem item;
    item.kind = TemplateItem::Kind::Value;
    if (const auto it = m_compiledFields.constFind(piece.rtf); it != m_compiledFields.cend()) {
        item.value = it.value();
        return item;
    }
    ValueField compiled;
    const bool known = compileValue(piece, compiled);
    const bool aggregate = known && holdsAggregate(compiled.expression.get());
    if (!known || (m_compiledFields.size() >= kMaxSharedFields && !aggregate)) {
        item.kind = known ? TemplateItem::Kind::Deferred : TemplateItem::Kind::Unknown;
        item.source = piece.rtf.constData();
        item.sourceLength = static_cast<quint32>(piece.rtf.size());
        item.hasTrailingCodes = !piece.trailingCodes.isEmpty();
        return item;
    }
    if (compiled.expression)
        compiled.expression->dropCompileTexts();
    if (compiled.dateTimePattern && compiled.dateTimePattern->variable)
        compiled.dateTimePattern->variable->dropCompileTexts();
    const ValueField *field = &m_program.values.emplace_back(std::move(compiled));
    if (!aggregate)
        m_compiledFields.insert(piece.rtf, field);
    item.value = field;
    return item;
}

ValueField TemplateCompiler::compileDeferred(const QByteArray &source)
{
    ValueField field;
    compileValue(RtfFieldFinder::fieldPiece(source), field);
    return field;
}

bool TemplateCompiler::compileValue(const TemplatePiece &piece, ValueField &field)
{
    field.trailingCodes = piece.trailingCodes;
    const FormatFunction format = FormatFunction::parse(piece.content);
    // Only what the run needs is kept: a template may hold millions of fields.
    field.format.kind = format.kind;
    field.format.precision = static_cast<qint16>(std::clamp(format.precision, -1, 1000));
    field.format.digits = static_cast<qint16>(std::clamp(format.digits, -1, 1000));
    const bool formatted = format.kind != FormatFunction::Kind::None;
    const QString valueText = formatted ? format.valueText : piece.content;

    ExprPtr node = m_compiler.compile(valueText);
    if (node->kind == ExprNode::Kind::Name && !m_compiler.isVariable(node->name) && !formatted) {
        // Not a name of this report: the text between the backslashes stays as written.
        return false;
    }
    const bool noResult = (node->kind == ExprNode::Kind::Call && node->function->kind != FunctionDef::Kind::Value)
                          || (node->kind == ExprNode::Kind::Udf && node->udf->ResultType_ == TReportUdf::udfrNil);
    if (noResult && !formatted) {
        field.noResult = true;
        field.expression = std::move(node);
        return true;
    }
    field.expression = m_compiler.requireValue(std::move(node), piece.content);

    if (format.kind == FormatFunction::Kind::Dtm) {
        const QString &param = format.parameter;
        const QString closers = param.isEmpty() ? QString() : FieldCleaner::closingQuotes(param[0]);
        if (!closers.isEmpty() && param.size() >= 2 && closers.contains(param.back())) {
            field.dateTimePattern = std::make_unique<DateTimePattern>();
            field.dateTimePattern->text = param.mid(1, param.size() - 2);
        } else if (ExpressionCompiler::isIdentifier(param) && m_compiler.isVariable(param)) {
            field.dateTimePattern = std::make_unique<DateTimePattern>();
            field.dateTimePattern->variable = m_compiler.compileValue(param);
        } else {
            throw ReportError(QStringLiteral("Illegal use of format function %1 - cannot understand argument %2")
                                  .arg(piece.content, param));
        }
    }
    return true;
}

ExprPtr TemplateCompiler::conditionOf(const QString &inner, const char *test)
{
    auto node = std::make_unique<ExprNode>();
    node->kind = ExprNode::Kind::Call;
    node->function = &BuiltinFunctions::conditionTest(test);
    node->args.push_back(m_compiler.compileValue(inner));
    node->expression = node->args[0]->expression;
    node->text = inner;
    return node;
}

std::vector<ExprPtr> TemplateCompiler::attachedCalls(const QString &content, int keywordLength)
{
    std::vector<ExprPtr> calls;
    const QString rest = content.mid(keywordLength);
    if (rest.isEmpty())
        return calls;
    if (!rest.startsWith(u','))
        throw ReportError(QStringLiteral("Cannot process expression %1 in scan command %2").arg(rest, content));
    for (const QString &element : ExpressionCompiler::splitTopLevel(rest.mid(1))) {
        const qsizetype open = element.indexOf(u'(');
        if (open > 0 && ExpressionCompiler::isFormatFunctionName(element.left(open)))
            throw ReportError(QStringLiteral("Format function %1 not allowed in scan command %2").arg(element, content));
        if (!isCall(element))
            throw ReportError(QStringLiteral("Cannot process expression %1 in scan command %2").arg(element, content));
        calls.push_back(m_compiler.compileCommandCall(element, content));
    }
    return calls;
}

void TemplateCompiler::openScan(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    if (m_open.size() >= static_cast<size_t>(MaxNesting))
        throw ReportError(QStringLiteral("Die Vorlage ist zu tief verschachtelt: %1").arg(content));
    const QStringList elements = ExpressionCompiler::splitTopLevel(content);
    const QString &first = elements[0];
    const qsizetype close = ExpressionCompiler::matchingParen(first, 4);
    if (close < 0 || close != first.size() - 1)
        throw ReportError(QStringLiteral("Illegal using of %1scan%1 keyword: %2").arg(kDq, content));

    auto scan = std::make_unique<ScanBlock>();
    scan->content = content;
    scan->scanCodes = piece.trailingCodes;
    const QString alias = first.mid(5, close - 5);
    for (qsizetype i = 1; i < elements.size(); ++i) {
        const QString &element = elements[i];
        if (element.compare(u"page", Qt::CaseInsensitive) == 0) {
            scan->page = true;
        } else if (element.compare(u"noeof", Qt::CaseInsensitive) == 0) {
            scan->noEof = true;
        } else if (startsWith(element, "while(") && ExpressionCompiler::matchingParen(element, 5) == element.size() - 1) {
            if (scan->whileCondition)
                throw ReportError(QStringLiteral("More than one %1while%1 function is not allowed in command %2").arg(kDq, content));
            scan->whileCondition = conditionOf(element.mid(6, element.size() - 7), "WHILE");
        } else {
            const qsizetype open = element.indexOf(u'(');
            if (open > 0 && ExpressionCompiler::isFormatFunctionName(element.left(open)))
                throw ReportError(QStringLiteral("Format function %1 not allowed in scan command %2").arg(element, content));
            if (!isCall(element))
                throw ReportError(QStringLiteral("Cannot process expression %1 in scan command %2").arg(element, content));
            scan->scanCalls.push_back(m_compiler.compileCommandCall(element, content));
        }
    }
    if (alias.isEmpty()) {
        if (!scan->whileCondition)
            throw ReportError(
                QStringLiteral("Either %1scan%1 with DataSet or %1while%1 function must be present in command %2").arg(kDq, content));
    } else {
        scan->dataSet = m_compiler.findDataSet(alias);
        if (scan->dataSet < 0)
            throw ReportError(QStringLiteral("Scan Alias not found: %1").arg(alias));
    }

    ScanBlock *block = &m_program.scans.emplace_back(std::move(*scan));
    TemplateItem item;
    item.kind = TemplateItem::Kind::Scan;
    item.scan = block;
    current().push_back(std::move(item));
    m_open.push_back({block, nullptr, &block->head});
}

void TemplateCompiler::scanEntry(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    ScanBlock *scan = nullptr;
    for (auto it = m_open.rbegin(); it != m_open.rend() && !scan; ++it)
        scan = it->scan;
    if (!scan)
        throw ReportError(QStringLiteral("Error: Scanentry must be after scan: %1").arg(content));
    if (!m_open.back().scan)
        throw ReportError(QStringLiteral("Error: Scanentry is not expected: %1").arg(content));
    if (scan->hasFooter)
        throw ReportError(QStringLiteral("Error: Scanentry not allowed after scanfooter: %1").arg(content));
    if (scan->hasEntry)
        throw ReportError(QStringLiteral("Error: Scanentry already exists for scan block: %1").arg(content));
    scan->entryCalls = attachedCalls(content, 9);
    scan->hasEntry = true;
    scan->body.push_back(TemplateItem::makeText(piece.trailingCodes));
    m_open.back().block = &scan->body;
}

void TemplateCompiler::scanFooter(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    ScanBlock *scan = nullptr;
    for (auto it = m_open.rbegin(); it != m_open.rend() && !scan; ++it)
        scan = it->scan;
    if (!scan)
        throw ReportError(QStringLiteral("Error: Scanfooter must be after Scan: %1").arg(content));
    if (!m_open.back().scan)
        throw ReportError(QStringLiteral("Error: Scanfooter is not expected: %1").arg(content));
    if (scan->hasFooter)
        throw ReportError(QStringLiteral("Error: Scanfooter already exists for scan block: %1").arg(content));
    scan->footerCalls = attachedCalls(content, 10);
    scan->hasFooter = true;
    if (!scan->hasEntry) {
        // Without SCANENTRY there is no head: everything after SCAN repeats.
        scan->body = std::move(scan->head);
        scan->head = TemplateBlock();
    }
    scan->foot.push_back(TemplateItem::makeText(piece.trailingCodes));
    m_open.back().block = &scan->foot;
}

void TemplateCompiler::endScan(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    bool anyScan = false;
    for (const Open &o : m_open)
        anyScan = anyScan || o.scan;
    if (!anyScan)
        throw ReportError(QStringLiteral("Error: Endscan must be after scan: %1").arg(content));
    if (!m_open.back().scan)
        throw ReportError(QStringLiteral("Error: Endscan is not expected: %1").arg(content));
    ScanBlock *scan = m_open.back().scan;
    scan->endCalls = attachedCalls(content, 7);
    if (!scan->hasEntry && !scan->hasFooter) {
        scan->body = std::move(scan->head);
        scan->head = TemplateBlock();
    }
    scan->endCodes = piece.trailingCodes;
    scan->bodyBalance = balanceOf(scan->body);
    scan->wholeBalance = BraceBalance::of(scan->scanCodes).then(balanceOf(scan->head)).then(scan->bodyBalance).then(balanceOf(scan->foot));
    m_open.pop_back();
}

void TemplateCompiler::openIf(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    if (m_open.size() >= static_cast<size_t>(MaxNesting))
        throw ReportError(QStringLiteral("Die Vorlage ist zu tief verschachtelt: %1").arg(content));
    const qsizetype close = ExpressionCompiler::matchingParen(content, 2);
    if (close < 0 || close == 3)
        throw ReportError(QStringLiteral("Illegal using of %1if%1 keyword: %2").arg(kDq, content));
    if (close != content.size() - 1)
        throw ReportError(QStringLiteral("Illegal using of %1if%1 command: %2").arg(kDq, content));
    auto condition = std::make_unique<ConditionBlock>();
    condition->ifCodes = piece.trailingCodes;
    ConditionBranch branch;
    branch.content = content;
    branch.condition = conditionOf(content.mid(3, close - 3), "IF");
    condition->branches.push_back(std::move(branch));

    ConditionBlock *block = &m_program.conditions.emplace_back(std::move(*condition));
    TemplateItem item;
    item.kind = TemplateItem::Kind::Condition;
    item.condition = block;
    current().push_back(std::move(item));
    m_open.push_back({nullptr, block, &block->branches.back().items});
}

void TemplateCompiler::elsIf(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    const qsizetype close = ExpressionCompiler::matchingParen(content, 5);
    if (close < 0 || close == 6)
        throw ReportError(QStringLiteral("Illegal using of %1elsif%1 keyword: %2").arg(kDq, content));
    if (close != content.size() - 1)
        throw ReportError(QStringLiteral("Illegal using of %1elsif%1 command: %2").arg(kDq, content));
    bool anyIf = false;
    for (const Open &o : m_open)
        anyIf = anyIf || o.condition;
    if (!anyIf)
        throw ReportError(QStringLiteral("Error: %1elseif%1 must be after %1if%1: %2").arg(kDq, content));
    ConditionBlock *condition = m_open.back().condition;
    if (!condition || condition->hasElse)
        throw ReportError(QStringLiteral("Error: %1elseif%1 is not expected: %2").arg(kDq, content));
    ConditionBranch branch;
    branch.content = content;
    branch.condition = conditionOf(content.mid(6, close - 6), "ELSIF");
    branch.items.push_back(TemplateItem::makeText(piece.trailingCodes));
    condition->branches.push_back(std::move(branch));
    m_open.back().block = &condition->branches.back().items;
}

void TemplateCompiler::elseBranch(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    if (content.size() != 4)
        throw ReportError(QStringLiteral("Illegal using of %1Else%1 command: %2").arg(kDq, content));
    bool anyIf = false;
    for (const Open &o : m_open)
        anyIf = anyIf || o.condition;
    if (!anyIf)
        throw ReportError(QStringLiteral("Error: %1else%1 must be after %1if%1: %2").arg(kDq, content));
    ConditionBlock *condition = m_open.back().condition;
    if (!condition || condition->hasElse)
        throw ReportError(QStringLiteral("Error: %1else%1 is not expected: %2").arg(kDq, content));
    condition->hasElse = true;
    ConditionBranch branch;
    branch.content = content;
    branch.items.push_back(TemplateItem::makeText(piece.trailingCodes));
    condition->branches.push_back(std::move(branch));
    m_open.back().block = &condition->branches.back().items;
}

void TemplateCompiler::endIf(const TemplatePiece &piece)
{
    const QString &content = piece.content;
    if (content.size() != 5)
        throw ReportError(QStringLiteral("Illegal using of %1endif%1 command: %2").arg(kDq, content));
    bool anyIf = false;
    for (const Open &o : m_open)
        anyIf = anyIf || o.condition;
    if (!anyIf)
        throw ReportError(QStringLiteral("Error: %1endif%1 must be after %1if%1: %2").arg(kDq, content));
    ConditionBlock *condition = m_open.back().condition;
    if (!condition)
        throw ReportError(QStringLiteral("Error: %1endif%1 is not expected: %2").arg(kDq, content));
    condition->endCodes = piece.trailingCodes;
    for (ConditionBranch &b : condition->branches)
        b.balance = balanceOf(b.items);
    m_open.pop_back();
}

BraceBalance balanceOf(const TemplateBlock &block)
{
    BraceBalance total;
    for (const TemplateItem &item : block) {
        switch (item.kind) {
        case TemplateItem::Kind::Text: total = total.then(BraceBalance::of(item.text)); break;
        case TemplateItem::Kind::Value:
            total = total.then(BraceBalance::of(item.value->trailingCodes)).then(BraceBalance::of(item.text));
            break;
        case TemplateItem::Kind::Unknown:
            total = total.then(BraceBalance::of(item.fieldSource())).then(BraceBalance::of(item.text));
            break;
        case TemplateItem::Kind::Deferred:
            if (item.hasTrailingCodes)
                total = total.then(BraceBalance::of(RtfFieldFinder::fieldPiece(item.fieldSource()).trailingCodes));
            total = total.then(BraceBalance::of(item.text));
            break;
        case TemplateItem::Kind::Scan:
            total = total.then(item.scan->wholeBalance).then(BraceBalance::of(item.scan->endCodes));
            break;
        case TemplateItem::Kind::Condition: {
            total = total.then(BraceBalance::of(item.condition->ifCodes));
            for (const ConditionBranch &b : item.condition->branches)
                total = total.then(b.balance);
            total = total.then(BraceBalance::of(item.condition->endCodes));
            break;
        }
        }
    }
    return total;
}
