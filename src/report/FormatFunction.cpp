#include "report/FormatFunction.h"

#include "report/ExpressionCompiler.h"
#include "report/ReportError.h"

namespace {

struct Spec
{
    const char *name;
    FormatFunction::Kind kind;
    int minArgs, maxArgs;
};

const Spec kSpecs[] = {
    {"NOFORMAT", FormatFunction::Kind::NoFormat, 1, 1}, {"FEXP", FormatFunction::Kind::Exp, 1, 2},
    {"FFIX", FormatFunction::Kind::Fix, 1, 2},          {"FNUM", FormatFunction::Kind::Num, 1, 2},
    {"FCUR", FormatFunction::Kind::Cur, 1, 2},          {"FFIXR", FormatFunction::Kind::FixR, 1, 2},
    {"FNUMR", FormatFunction::Kind::NumR, 1, 2},        {"FIMG", FormatFunction::Kind::Img, 1, 2},
    {"FLNK", FormatFunction::Kind::Lnk, 1, 1},          {"FDTM", FormatFunction::Kind::Dtm, 2, 2},
    {"FBOOL", FormatFunction::Kind::Bool, 1, 1},        {"FRTF", FormatFunction::Kind::Rtf, 1, 1},
};

// Digits, blanks and at most one inner ":" → precision and digits.
bool readNumbers(const QString &text, int *precision, int *digits)
{
    QString t = text;
    t.remove(u' ');
    if (t.isEmpty())
        return false;
    const qsizetype colon = t.indexOf(u':');
    auto number = [](const QString &s, int *out) {
        if (s.isEmpty() || s.size() > 4)
            return false;
        for (QChar c : s)
            if (!c.isDigit() || c.unicode() > 127)
                return false;
        *out = s.toInt();
        return true;
    };
    if (colon < 0)
        return number(t, digits);
    return number(t.left(colon), precision) && number(t.mid(colon + 1), digits);
}

} // namespace

bool FormatFunction::isNumberFormat() const
{
    return kind == Kind::Exp || kind == Kind::Fix || kind == Kind::Num || kind == Kind::Cur || kind == Kind::FixR
           || kind == Kind::NumR;
}

FormatFunction FormatFunction::parse(const QString &content)
{
    FormatFunction f;
    const qsizetype open = content.indexOf(u'(');
    if (open <= 0)
        return f;
    const QString name = content.left(open).toUpper();
    const Spec *spec = nullptr;
    for (const Spec &s : kSpecs)
        if (name == QLatin1String(s.name))
            spec = &s;
    if (!spec)
        return f;
    const qsizetype close = ExpressionCompiler::matchingParen(content, open);
    if (close < 0)
        throw ReportError(QStringLiteral("Brackets balance violation in format function %1").arg(content));
    if (close != content.size() - 1)
        return f;  // FFIX(a)+1: an expression that uses a format function; the compiler refuses it

    f.kind = spec->kind;
    f.name = name;
    const QString inner = content.mid(open + 1, close - open - 1);
    const QStringList args = inner.isEmpty() ? QStringList() : ExpressionCompiler::splitTopLevel(inner);
    if (args.size() < spec->minArgs)
        throw ReportError(QStringLiteral("Illegal format function use: %1 - number of arguments is less than minimum required").arg(content));
    if (args.size() > spec->maxArgs)
        throw ReportError(QStringLiteral("Illegal format function use: %1 - number of arguments is more than maximum allowed").arg(content));
    f.valueText = args[0];
    if (args.size() == 2) {
        f.parameter = args[1];
        if (f.kind != Kind::Dtm && !readNumbers(f.parameter, &f.precision, &f.digits))
            throw ReportError(QStringLiteral("Illegal use of format function %1 - cannot understand argument %2").arg(content, f.parameter));
    }
    return f;
}
