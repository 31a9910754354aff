#include "report/BuiltinFunctions.h"

#include "core/GermanFormat.h"
#include "report/EvalContext.h"
#include "report/OperatorFunctions.h"
#include "report/ReportDataSet.h"
#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/ReportNumberText.h"

#include <QHash>

#include <cmath>

namespace BuiltinFunctions {

namespace {

using Type = ReportValue::Type;

const char *typeWord(Type t)
{
    switch (t) {
    case Type::Text: return "string";
    case Type::Number: return "numeric";
    case Type::Boolean: return "boolean";
    case Type::DateTime: return "date";
    case Type::None: break;
    }
    return "unknown";
}

[[noreturn]] void argumentTypeError(const ExprNode &n, int index, Type wanted)
{
    static const char *ordinals[] = {"First", "Second", "Third", "Fourth", "Fifth"};
    if (n.function->maxArgs == 1)
        throw ReportError(QStringLiteral("Operand of %1 type expected. Function \"%2\", expression %3")
                              .arg(QLatin1String(typeWord(wanted)), QLatin1String(n.function->name), n.expressionText()));
    throw ReportError(QStringLiteral("%1 operand of %2 type expected in function \"%3\", expression %4")
                          .arg(QLatin1String(ordinals[std::min(index, 4)]), QLatin1String(typeWord(wanted)),
                               QLatin1String(n.function->name), n.expressionText()));
}

ReportValue arg(EvalContext &c, const ExprNode &n, int index, Type wanted)
{
    if (static_cast<size_t>(index) >= n.args.size())
        argumentTypeError(n, index, wanted);
    ReportValue v = c.eval(*n.args[static_cast<size_t>(index)]);
    if (v.type != wanted)
        argumentTypeError(n, index, wanted);
    return v;
}

QString textArg(EvalContext &c, const ExprNode &n, int i) { return arg(c, n, i, Type::Text).text; }
double numberArg(EvalContext &c, const ExprNode &n, int i) { return arg(c, n, i, Type::Number).number; }
bool hasArg(const ExprNode &n, int i) { return static_cast<size_t>(i) < n.args.size() && n.args[static_cast<size_t>(i)]->kind != ExprNode::Kind::Omitted; }

int clampInt(double v, int lo, int hi)
{
    if (!std::isfinite(v))
        return lo;
    return static_cast<int>(std::clamp(std::trunc(v), static_cast<double>(lo), static_cast<double>(hi)));
}


// ---- text --------------------------------------------------------------------------

QString trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

ReportValue fTrim(EvalContext &c, const ExprNode &n) { return ReportValue::fromText(trimBlanks(textArg(c, n, 0))); }

ReportValue fMid(EvalContext &c, const ExprNode &n)
{
    const QString s = textArg(c, n, 0);
    const double start = numberArg(c, n, 1);
    const int from = clampInt(start, -1, static_cast<int>(std::min<qsizetype>(s.size(), 1 << 30)) + 1);
    if (from < 1 || from > s.size())
        return ReportValue::fromText(QString());
    if (hasArg(n, 2)) {
        const int count = clampInt(numberArg(c, n, 2), 0, 1 << 30);
        return ReportValue::fromText(s.mid(from - 1, count));
    }
    return ReportValue::fromText(s.mid(from - 1));
}

ReportValue fUpper(EvalContext &c, const ExprNode &n) { return ReportValue::fromText(textArg(c, n, 0).toUpper()); }
ReportValue fLower(EvalContext &c, const ExprNode &n) { return ReportValue::fromText(textArg(c, n, 0).toLower()); }

ReportValue fStr(EvalContext &c, const ExprNode &n)
{
    const double v = numberArg(c, n, 0);
    if (!hasArg(n, 1))
        return ReportValue::fromText(ReportNumberText::general(v, u'.'));
    const int width = clampInt(numberArg(c, n, 1), -1000, 1000);
    if (!hasArg(n, 2))
        return ReportValue::fromText(ReportNumberText::scientific(v, 15, 4, u'.').rightJustified(width, u' '));
    const int decimals = clampInt(numberArg(c, n, 2), 0, 100);
    QString fixed = GermanFormat::fixed(v, decimals);
    fixed.replace(GermanFormat::DecimalSeparator, u'.');
    if (width < 1)
        return ReportValue::fromText(fixed);
    return ReportValue::fromText(fixed.rightJustified(width, u' '));
}

ReportValue fVal(EvalContext &c, const ExprNode &n)
{
    QString s = trimBlanks(textArg(c, n, 0));
    s.replace(u',', u'.');
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ReportValue::fromNumber(ok && std::isfinite(v) ? v : 0.0);
}

ReportValue fPos(EvalContext &c, const ExprNode &n)
{
    const QString sub = textArg(c, n, 0);
    const QString s = textArg(c, n, 1);
    if (sub.isEmpty())
        return ReportValue::fromNumber(0);
    return ReportValue::fromNumber(static_cast<double>(s.indexOf(sub) + 1));
}

// ---- numbers -----------------------------------------------------------------------

ReportValue fInt(EvalContext &c, const ExprNode &n) { return ReportValue::fromNumber(std::trunc(numberArg(c, n, 0))); }

ReportValue fFrac(EvalContext &c, const ExprNode &n)
{
    const double v = numberArg(c, n, 0);
    return ReportValue::fromNumber(v - std::trunc(v));
}

ReportValue fRound(EvalContext &c, const ExprNode &n)
{
    const double v = numberArg(c, n, 0);
    const int k = hasArg(n, 1) ? clampInt(numberArg(c, n, 1), -300, 300) : 0;
    const double s = v < 0 ? -1.0 : 1.0;
    const double scale = std::pow(10.0, k);
    const double m = std::fabs(v) * scale;
    const double f = std::trunc(m);
    const double r = (m - f >= 0.5) ? (f + 1) / scale : f / scale;
    return ReportValue::fromNumber(s * r);
}

ReportValue fPower(EvalContext &c, const ExprNode &n)
{
    const double x = numberArg(c, n, 0);
    const double y = numberArg(c, n, 1);
    return ReportValue::fromNumber(std::pow(x, y));
}

ReportValue fIntPower(EvalContext &c, const ExprNode &n)
{
    const double x = numberArg(c, n, 0);
    const double k = std::trunc(numberArg(c, n, 1));
    return ReportValue::fromNumber(std::pow(x, k));
}

ReportValue fFormatFloat(EvalContext &c, const ExprNode &n)
{
    const QString picture = textArg(c, n, 0);
    const double v = numberArg(c, n, 1);
    return ReportValue::fromText(trimBlanks(ReportNumberText::picture(picture, v)));
}

// ---- dates -------------------------------------------------------------------------

ReportValue fNow(EvalContext &, const ExprNode &) { return ReportValue::fromDateTime(ReportDateTime::now()); }
ReportValue fDate(EvalContext &, const ExprNode &) { return ReportValue::fromDateTime(std::floor(ReportDateTime::now())); }

ReportValue fTime(EvalContext &, const ExprNode &)
{
    const double now = ReportDateTime::now();
    return ReportValue::fromDateTime(now - std::floor(now));
}

// An empty date column stands for no date: its texts are empty and its parts 0, so a
// template can test for it (the day count 0 would read 30.12.1899).
bool emptyDateArg(EvalContext &c, const ExprNode &n, double *dayCount)
{
    const ReportValue v = arg(c, n, 0, Type::DateTime);
    *dayCount = v.number;
    return v.isNull;
}

template<QString (*text)(double)>
ReportValue dateTextOf(EvalContext &c, const ExprNode &n)
{
    double d = 0;
    return ReportValue::fromText(emptyDateArg(c, n, &d) ? QString() : text(d));
}

ReportValue fDateToStr(EvalContext &c, const ExprNode &n) { return dateTextOf<ReportDateTime::dateText>(c, n); }
ReportValue fDateTimeToStr(EvalContext &c, const ExprNode &n) { return dateTextOf<ReportDateTime::dateTimeText>(c, n); }
ReportValue fTimeToStr(EvalContext &c, const ExprNode &n) { return dateTextOf<ReportDateTime::timeText>(c, n); }

ReportValue fStrToDate(EvalContext &c, const ExprNode &n)
{
    return ReportValue::fromDateTime(ReportDateTime::fromDate(GermanFormat::parseDate(textArg(c, n, 0))));
}

ReportValue fStrToDateTime(EvalContext &c, const ExprNode &n)
{
    const QString s = trimBlanks(textArg(c, n, 0));
    const qsizetype blank = s.indexOf(u' ');
    if (blank < 0)
        return ReportValue::fromDateTime(ReportDateTime::fromDate(GermanFormat::parseDate(s)));
    return ReportValue::fromDateTime(ReportDateTime::fromDate(GermanFormat::parseDate(s.left(blank)))
                                     + ReportDateTime::fromTime(GermanFormat::parseTime(s.mid(blank + 1))));
}

ReportValue fStrToTime(EvalContext &c, const ExprNode &n)
{
    return ReportValue::fromDateTime(ReportDateTime::fromTime(GermanFormat::parseTime(textArg(c, n, 0))));
}

enum class DatePart { Year, Month, Day };

int partOf(const QDate &d, DatePart part)
{
    switch (part) {
    case DatePart::Year: return d.year();
    case DatePart::Month: return d.month();
    case DatePart::Day: return d.day();
    }
    return 0;
}

template<DatePart part>
ReportValue datePart(EvalContext &c, const ExprNode &n)
{
    double d = 0;
    return ReportValue::fromNumber(emptyDateArg(c, n, &d) ? 0 : partOf(ReportDateTime::toDate(d), part));
}

template<DatePart part, int width>
ReportValue datePartText(EvalContext &c, const ExprNode &n)
{
    double d = 0;
    if (emptyDateArg(c, n, &d))
        return ReportValue::fromText(QString());
    return ReportValue::fromText(QStringLiteral("%1").arg(partOf(ReportDateTime::toDate(d), part), width, 10, QChar(u'0')));
}

ReportValue fDtos(EvalContext &c, const ExprNode &n)
{
    double v = 0;
    if (emptyDateArg(c, n, &v))
        return ReportValue::fromText(QString());
    const QDate d = ReportDateTime::toDate(v);
    return ReportValue::fromText(QStringLiteral("%1%2%3")
                                     .arg(d.year(), 4, 10, QChar(u'0'))
                                     .arg(d.month(), 2, 10, QChar(u'0'))
                                     .arg(d.day(), 2, 10, QChar(u'0')));
}

// True for what a printout shows as nothing: an empty column, blank text, no value.
ReportValue fEmpty(EvalContext &c, const ExprNode &n)
{
    const ReportValue v = c.eval(*n.args[0]);
    bool empty = v.isNull || v.type == Type::None;
    if (!empty && v.type == Type::Text)
        empty = trimBlanks(v.text).isEmpty();
    return ReportValue::fromBoolean(empty);
}

ReportValue fStod(EvalContext &c, const ExprNode &n)
{
    const ReportValue v = c.eval(*n.args[0]);
    QDate d;
    if (v.type == Type::Text && v.text.size() == 8) {
        bool digits = true;
        for (QChar ch : v.text)
            digits = digits && ch >= u'0' && ch <= u'9';
        if (digits)
            d = QDate(v.text.left(4).toInt(), v.text.mid(4, 2).toInt(), v.text.mid(6, 2).toInt());
    }
    if (!d.isValid())
        throw ReportError(QStringLiteral("Operand of string type YYYYMMDD expected. Function \"STOD\", expression %1")
                              .arg(n.expressionText()));
    return ReportValue::fromDateTime(ReportDateTime::fromDate(d));
}

// ---- logic, data sets, variables ---------------------------------------------------

ReportValue fIif(EvalContext &c, const ExprNode &n)
{
    const bool b = arg(c, n, 0, Type::Boolean).boolean;
    const size_t chosen = b ? 1 : 2;
    if (chosen >= n.args.size())
        return ReportValue::none();
    return c.eval(*n.args[chosen]);
}

ReportDataSet *dataSetArg(EvalContext &c, const ExprNode &n) { return c.dataSet(n.args[0]->dataSet); }

ReportValue fEof(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(dataSetArg(c, n)->eof()); }
ReportValue fBof(EvalContext &c, const ExprNode &n) { return ReportValue::fromBoolean(dataSetArg(c, n)->bof()); }

ReportValue fNext(EvalContext &c, const ExprNode &n)
{
    dataSetArg(c, n)->next();
    return ReportValue::none();
}

ReportValue fPrior(EvalContext &c, const ExprNode &n)
{
    dataSetArg(c, n)->prior();
    return ReportValue::none();
}

ReportValue fFirst(EvalContext &c, const ExprNode &n)
{
    dataSetArg(c, n)->first();
    return ReportValue::none();
}

ReportValue fLast(EvalContext &c, const ExprNode &n)
{
    dataSetArg(c, n)->last();
    return ReportValue::none();
}

ReportValue fSet(EvalContext &c, const ExprNode &n)
{
    const ReportValue v = c.eval(*n.args[1]);
    c.setVariable(*n.args[0], v);
    return ReportValue::none();
}

ReportValue fVar(EvalContext &c, const ExprNode &n)
{
    for (const auto &a : n.args)
        if (!c.variables().contains(a->name))
            c.variables().add(a->name);
    return ReportValue::none();
}

// The aggregate's variable, created as number 0 when missing and reset when due.
int aggregateTarget(EvalContext &c, const ExprNode &n)
{
    const ExprNode &target = *n.args[1];
    int index = target.variableIndex;
    if (index < 0 || index >= c.variables().count()) {
        index = c.variables().indexOf(target.name);
        if (index < 0) {
            index = c.variables().add(target.name);
            c.variables().setValue(index, ReportValue::fromNumber(0));
        }
        target.variableIndex = index;
    }
    if (c.aggregateShouldReset(n))
        c.variables().setValue(index, ReportValue::fromNumber(0));
    return index;
}

double currentNumber(EvalContext &c, int index)
{
    const ReportValue &v = c.variables().value(index);
    return v.type == Type::Number ? v.number : 0.0;
}

ReportValue fSum(EvalContext &c, const ExprNode &n)
{
    const ReportValue x = c.eval(*n.args[0]);
    const int index = aggregateTarget(c, n);
    if (x.type != Type::Number)
        argumentTypeError(n, 0, Type::Number);
    c.variables().setValue(index, ReportValue::fromNumber(currentNumber(c, index) + x.number));
    return ReportValue::none();
}

ReportValue fCtn(EvalContext &c, const ExprNode &n)
{
    const ReportValue x = c.eval(*n.args[0]);
    const int index = aggregateTarget(c, n);
    const bool counts = x.type == Type::Number && !x.isNull && x.number != 0.0;
    c.variables().setValue(index, ReportValue::fromNumber(currentNumber(c, index) + (counts ? 1 : 0)));
    return ReportValue::none();
}

ReportValue fCts(EvalContext &c, const ExprNode &n)
{
    const ReportValue x = c.eval(*n.args[0]);
    const int index = aggregateTarget(c, n);
    const bool counts = x.type == Type::Text && !trimBlanks(x.text).isEmpty();
    c.variables().setValue(index, ReportValue::fromNumber(currentNumber(c, index) + (counts ? 1 : 0)));
    return ReportValue::none();
}

ReportValue conditionValue(EvalContext &c, const ExprNode &n)
{
    const ReportValue v = c.eval(*n.args[0]);
    if (v.type != Type::Boolean)
        argumentTypeError(n, 0, Type::Boolean);
    return v;
}

using K = FunctionDef::Kind;

const FunctionDef kFunctions[] = {
    {"TRIM", 1, 1, K::Value, fTrim},
    {"MID", 2, 3, K::Value, fMid},
    {"SUBSTR", 2, 3, K::Value, fMid},
    {"COPY", 2, 3, K::Value, fMid},
    {"UPPER", 1, 1, K::Value, fUpper},
    {"LOWER", 1, 1, K::Value, fLower},
    {"STR", 1, 3, K::Value, fStr},
    {"VAL", 1, 1, K::Value, fVal},
    {"POS", 2, 2, K::Value, fPos},
    {"INT", 1, 1, K::Value, fInt},
    {"FRAC", 1, 1, K::Value, fFrac},
    {"ROUND", 1, 2, K::Value, fRound},
    {"POWER", 2, 2, K::Value, fPower},
    {"INTPOWER", 2, 2, K::Value, fIntPower},
    {"FORMATFLOAT", 2, 2, K::Value, fFormatFloat},
    {"NOW", 0, 0, K::Value, fNow},
    {"DATE", 0, 0, K::Value, fDate},
    {"TIME", 0, 0, K::Value, fTime},
    {"DATETOSTR", 1, 1, K::Value, fDateToStr},
    {"DATETIMETOSTR", 1, 1, K::Value, fDateTimeToStr},
    {"TIMETOSTR", 1, 1, K::Value, fTimeToStr},
    {"STRTODATE", 1, 1, K::Value, fStrToDate},
    {"STRTODATETIME", 1, 1, K::Value, fStrToDateTime},
    {"STRTOTIME", 1, 1, K::Value, fStrToTime},
    {"YEAR", 1, 1, K::Value, datePart<DatePart::Year>},
    {"MONTH", 1, 1, K::Value, datePart<DatePart::Month>},
    {"DAY", 1, 1, K::Value, datePart<DatePart::Day>},
    {"SYEAR", 1, 1, K::Value, datePartText<DatePart::Year, 4>},
    {"SMONTH", 1, 1, K::Value, datePartText<DatePart::Month, 2>},
    {"SDAY", 1, 1, K::Value, datePartText<DatePart::Day, 2>},
    {"DTOS", 1, 1, K::Value, fDtos},
    {"EMPTY", 1, 1, K::Value, fEmpty},
    {"STOD", 1, 1, K::Value, fStod},
    {"IIF", 3, 3, K::Value, fIif},
    {"EOF", 1, 1, K::Value, fEof},
    {"BOF", 1, 1, K::Value, fBof},
    {"NEXT", 1, 1, K::NoResult, fNext},
    {"PRIOR", 1, 1, K::NoResult, fPrior},
    {"FIRST", 1, 1, K::NoResult, fFirst},
    {"LAST", 1, 1, K::NoResult, fLast},
    {"SET", 2, 2, K::NoResult, fSet},
    {"VAR", 1, 10000, K::NoResult, fVar},
    {"SUM", 2, 3, K::Aggregate, fSum},
    {"CTN", 2, 3, K::Aggregate, fCtn},
    {"CTS", 2, 3, K::Aggregate, fCts},
};


const FunctionDef kConditions[] = {
    {"IF", 1, 1, K::Value, conditionValue},
    {"ELSIF", 1, 1, K::Value, conditionValue},
    {"WHILE", 1, 1, K::Value, conditionValue},
};

} // namespace

const FunctionDef *find(const QString &name)
{
    static const QHash<QString, const FunctionDef *> index = [] {
        QHash<QString, const FunctionDef *> h;
        for (const FunctionDef &f : kFunctions)
            h.insert(QString::fromLatin1(f.name), &f);
        return h;
    }();
    return index.value(name.toUpper(), nullptr);
}

const FunctionDef *forOperator(const QString &op, bool unary)
{
    return OperatorFunctions::find(op, unary);
}

const FunctionDef &conditionTest(const char *name)
{
    for (const FunctionDef &f : kConditions)
        if (qstrcmp(f.name, name) == 0)
            return f;
    return kConditions[0];
}

bool isDataSetFunction(const FunctionDef *f)
{
    return f && (f->eval == fEof || f->eval == fBof || f->eval == fNext || f->eval == fPrior || f->eval == fFirst
                 || f->eval == fLast);
}

} // namespace BuiltinFunctions
