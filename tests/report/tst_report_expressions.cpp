#include "ReportTestSupport.h"

#include "report/RtfText.h"

#include <QtTest>

using namespace ReportTestSupport;

namespace {

// The expression as it stands in RTF source between two field delimiters.
QByteArray field(const QString &expression)
{
    return "\\\\" + RtfText::escape(expression) + "\\\\";
}

// What a value field with `expression` writes, the "\lang0 " before it removed.
QByteArray valueOf(const QString &expression, const QStringList &variables, ReportDataSet *set)
{
    std::vector<ReportDataSet *> sets;
    if (set)
        sets.push_back(set);
    QByteArray out = render(document(field(expression)), variables, sets);
    const QByteArray head = "{\\rtf1\\ansi ";
    out = out.mid(head.size(), out.size() - head.size() - 1);
    if (out.startsWith("\\lang0 "))
        out = out.mid(7);
    return out;
}

const QStringList kVariables = {QStringLiteral("ekA=Haus"), QStringLiteral("ekB=halt"), QStringLiteral("v=")};

} // namespace

class TestReportExpressions : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void errors_data();
    void errors();
    void emptyDates_data();
    void emptyDates();
    void aggregatesResetPerScanUnlessNoReset();
    void aggregatesResetPerRunOfAFilteredScan();
    void assignmentsAndVariablesCreatedAtRunTime();
    void runTimeVariableErrors();
};

void TestReportExpressions::values_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QByteArray>("written");

    // Precedence, associativity and unary operators.
    QTest::newRow("mult before add") << "1 + 2 * 3" << QByteArray("7");
    QTest::newRow("brackets") << "(1 + 2) * 3" << QByteArray("9");
    QTest::newRow("left to right") << "10 - 4 - 3" << QByteArray("3");
    QTest::newRow("remainder") << "7 % 3" << QByteArray("1");
    QTest::newRow("negative remainder") << "-7 % 3" << QByteArray("-1");
    QTest::newRow("unary after operator") << "2 * -3" << QByteArray("-6");
    QTest::newRow("unary before bracket") << "-(2 + 3)" << QByteArray("-5");
    QTest::newRow("division decimal comma") << "1 / 4" << QByteArray("0,25");
    QTest::newRow("no binary noise") << "0.1 + 0.2" << QByteArray("0,3");
    QTest::newRow("exponent literal") << "1.5e3" << QByteArray("1500");
    QTest::newRow("texts joined") << "'ab' + \"cd\"" << QByteArray("abcd");
    QTest::newRow("variables joined") << "ekA + ekB" << QByteArray("Haushalt");
    QTest::newRow("blank in quotes kept") << "TRIM('  a b  ')" << QByteArray("a b");
    QTest::newRow("German quotes") << QStringLiteral("„a b“ + ‚c d‘ + ‚e'") << QByteArray("a bc de");
    QTest::newRow("German single quotes hold a comma") << QStringLiteral("POS(‚,‘, 'a,b')") << QByteArray("2");
    // Comparisons by type.
    QTest::newRow("text by codes") << "'B' < 'a'" << QByteArray("True");
    QTest::newRow("false before true") << "FALSE < TRUE" << QByteArray("True");
    QTest::newRow("=> is >=") << "2 => 3" << QByteArray("False");
    QTest::newRow("<>") << "1 <> 2" << QByteArray("True");
    QTest::newRow("!=") << "1 != 1" << QByteArray("False");
    QTest::newRow("not") << "!(1 = 1)" << QByteArray("False");
    QTest::newRow("and") << "1 < 2 && 2 < 1" << QByteArray("False");
    QTest::newRow("or") << "1 < 2 || 2 < 1" << QByteArray("True");
    QTest::newRow("dates compare") << "{2024-03-01} < {2024-03-02}" << QByteArray("True");
    // Text functions.
    QTest::newRow("MID rest") << "MID('abcdef', 3)" << QByteArray("cdef");
    QTest::newRow("MID outside") << "MID('abcdef', 9)" << QByteArray("");
    QTest::newRow("MID count") << "MID('abcdef', 2, 3)" << QByteArray("bcd");
    QTest::newRow("SUBSTR zero start") << "SUBSTR('abcdef', 0)" << QByteArray("");
    QTest::newRow("COPY long count") << "COPY('abc', 1, 10)" << QByteArray("abc");
    QTest::newRow("POS") << "POS('c', 'abc')" << QByteArray("3");
    QTest::newRow("POS absent") << "POS('x', 'abc')" << QByteArray("0");
    QTest::newRow("UPPER umlaut") << "UPPER('müller')" << QByteArray("M\\'DCLLER");
    QTest::newRow("LOWER") << "LOWER('ÄRGER')" << QByteArray("\\'E4rger");
    QTest::newRow("STR shortest") << "STR(3.5)" << QByteArray("3.5");
    QTest::newRow("STR fixed width") << "STR(3.14159, 8, 2)" << QByteArray("    3.14");
    QTest::newRow("STR no width") << "STR(2.5, 0, 1)" << QByteArray("2.5");
    QTest::newRow("STR scientific") << "STR(1234.5, 12)" << QByteArray("1.23450000000000E+0003");
    QTest::newRow("VAL comma") << "VAL('12,5')" << QByteArray("12,5");
    QTest::newRow("VAL point") << "VAL('1.5')" << QByteArray("1,5");
    QTest::newRow("VAL nonsense") << "VAL('abc')" << QByteArray("0");
    // Numbers.
    QTest::newRow("INT towards zero") << "INT(-3.7)" << QByteArray("-3");
    QTest::newRow("FRAC") << "FRAC(3.25)" << QByteArray("0,25");
    QTest::newRow("ROUND half up") << "ROUND(2.5)" << QByteArray("3");
    QTest::newRow("ROUND half away from zero") << "ROUND(-2.5)" << QByteArray("-3");
    QTest::newRow("ROUND on the double") << "ROUND(1.005, 2)" << QByteArray("1");
    QTest::newRow("ROUND digits") << "ROUND(1.2345, 2)" << QByteArray("1,23");
    QTest::newRow("POWER") << "POWER(2, 10)" << QByteArray("1024");
    QTest::newRow("INTPOWER") << "INTPOWER(2, 3)" << QByteArray("8");
    QTest::newRow("FORMATFLOAT grouped") << "FORMATFLOAT('#,##0.00', 1234.5)" << QByteArray("1.234,50");
    QTest::newRow("FORMATFLOAT sections") << "FORMATFLOAT('0.0;(0.0)', -2)" << QByteArray("(2,0)");
    QTest::newRow("FORMATFLOAT optional") << "FORMATFLOAT('0.##', 2.5)" << QByteArray("2,5");
    // Dates.
    QTest::newRow("date literal") << "{2024-03-01}" << QByteArray("01.03.2024");
    QTest::newRow("date minus days") << "DAY({2024-03-01} - 1)" << QByteArray("29");
    QTest::newRow("DTOS plus days") << "DTOS({2024-03-01} + 30)" << QByteArray("20240331");
    QTest::newRow("STOD leap day") << "DATETOSTR(STOD('20240229'))" << QByteArray("29.02.2024");
    QTest::newRow("STRTODATE German") << "DATETOSTR(STRTODATE('1.3.2024'))" << QByteArray("01.03.2024");
    QTest::newRow("STRTOTIME") << "TIMETOSTR(STRTOTIME('14:30'))" << QByteArray("14:30:00");
    QTest::newRow("STRTODATETIME") << "DATETIMETOSTR(STRTODATETIME('01.03.2024 08:05:09'))"
                                   << QByteArray("01.03.2024 08:05:09");
    QTest::newRow("YEAR") << "YEAR({2024-03-01})" << QByteArray("2024");
    QTest::newRow("MONTH") << "MONTH({2024-03-01})" << QByteArray("3");
    QTest::newRow("SMONTH") << "SMONTH({2024-03-01})" << QByteArray("03");
    QTest::newRow("SDAY") << "SDAY({2024-03-01})" << QByteArray("01");
    QTest::newRow("SYEAR") << "SYEAR({0987-03-01})" << QByteArray("0987");
    // Choice, columns, data sets.
    QTest::newRow("IIF") << "IIF(1 < 2, 'ja', 'nein')" << QByteArray("ja");
    QTest::newRow("IIF omitted") << "IIF(FALSE, 'ja', )" << QByteArray("");
    QTest::newRow("IIF other type") << "IIF(FALSE, 'ja', 5)" << QByteArray("5");
    QTest::newRow("column") << "qrPosten:betrag * 10" << QByteArray("10");
    QTest::newRow("column by position") << "qrPosten:(0)" << QByteArray("Miete");
    QTest::newRow("column with dot") << "qrPosten.betrag + 1" << QByteArray("2");
    QTest::newRow("letter alias") << "A:betrag" << QByteArray("1");
    QTest::newRow("EOF") << "EOF(qrPosten)" << QByteArray("False");
    QTest::newRow("BOF") << "BOF(A)" << QByteArray("True");
}

void TestReportExpressions::values()
{
    QFETCH(QString, expression);
    QFETCH(QByteArray, written);
    auto rows = sampleRows();
    QCOMPARE(valueOf(expression, kVariables, rows.get()), written);
}

void TestReportExpressions::errors_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("message");

    // Evaluation.
    QTest::newRow("text plus number") << "'a'+1" << "Operator/operand type mismatch. Operation \"+\", expression 'a'+1";
    QTest::newRow("division by zero") << "7/0" << "Division by zero. Operation \"/\", expression 7/0";
    QTest::newRow("remainder by zero") << "7%0" << "Division by zero. Operation \"%\", expression 7%0";
    QTest::newRow("unary minus text") << "-'a'" << "Operator/operand type mismatch. Operation unary \"-\", expression -'a'";
    QTest::newRow("unary plus text") << "+'a'" << "Operator/operand type mismatch. Operation unary \"+\", expression +'a'";
    QTest::newRow("not number") << "!1" << "Operator/operand type mismatch. Operation not \"!\", expression !1";
    QTest::newRow("not equal types") << "1<>'a'" << "Operator/operand type mismatch. Operation not equal, expression 1<>'a'";
    QTest::newRow("and numbers") << "1&&2" << "Operator/operand type mismatch. Operation \"&&\", expression 1&&2";
    QTest::newRow("text minus text") << "'a'-'b'" << "Operator/operand type mismatch. Operation \"-\", expression 'a'-'b'";
    QTest::newRow("no type") << "IIF(TRUE,,1)=1" << "Operand type unknown. Operation \"=\", expression IIF(TRUE,,1)=1";
    QTest::newRow("TRIM number") << "TRIM(1)" << "Operand of string type expected. Function \"TRIM\", expression TRIM(1)";
    QTest::newRow("STR text") << "STR('a')" << "First operand of numeric type expected in function \"STR\", expression STR('a')";
    QTest::newRow("MID count text") << "MID('a',1,'b')"
                                    << "Third operand of numeric type expected in function \"MID\", expression MID('a',1,'b')";
    QTest::newRow("YEAR number") << "YEAR(1)" << "Operand of date type expected. Function \"YEAR\", expression YEAR(1)";
    QTest::newRow("IIF condition") << "IIF(1,2,3)"
                                   << "First operand of boolean type expected in function \"IIF\", expression IIF(1,2,3)";
    QTest::newRow("STOD seven") << "STOD('2024011')"
                                << "Operand of string type YYYYMMDD expected. Function \"STOD\", expression STOD('2024011')";
    QTest::newRow("STOD no date") << "STOD('20241399')"
                                  << "Operand of string type YYYYMMDD expected. Function \"STOD\", expression STOD('20241399')";
    // A number that is not finite is no result to print.
    QTest::newRow("no real root") << "POWER(-8,1/3)"
                                  << "Das Ergebnis ist keine endliche Zahl. Funktion \"POWER\", Ausdruck POWER(-8,1/3)";
    QTest::newRow("overflow") << "1E308*10" << "Das Ergebnis ist keine endliche Zahl. Operation \"*\", Ausdruck 1E308*10";
    QTest::newRow("overflow in a call") << "TRIM(STR(INTPOWER(10,400)))"
                                        << "Das Ergebnis ist keine endliche Zahl. Funktion \"INTPOWER\", Ausdruck "
                                           "TRIM(STR(INTPOWER(10,400)))";
    QTest::newRow("STRTODATE bad") << "STRTODATE('32.1.2024')" << QStringLiteral("'32.1.2024' ist kein gültiges Datum");
    // Compilation.
    QTest::newRow("ends after operator") << "1+" << "Unexpected end of expression: 1+";
    QTest::newRow("open bracket") << "(1+2" << "Cannot process an expression: (1+2 \")\" expected";
    QTest::newRow("extra bracket") << "1+2)"
                                   << "Cannot process an expression: 1+2) - number of \")\" is more than number of \"(\" brackets";
    QTest::newRow("starts with operator") << "*3" << "Cannot process an expression: *3 error at the beginning  \"*\" not expected";
    QTest::newRow("two operators") << "1+*3" << "Cannot process an expression: 1+*3 error after 1+ \"*\" not expected";
    QTest::newRow("unknown character") << "1#" << "Cannot process an expression: 1# error after 1 operation expected";
    QTest::newRow("operand after operand") << "3x" << "Operation or function name missed in expression: 3x, operand: x";
    QTest::newRow("bracket after operand") << "3(4)" << "Operation or function name missed in expression: 3(4), operand: (4)";
    QTest::newRow("bad date literal") << "{2024-13-01}"
                                      << "Cannot process an expression: {2024-13-01} error at the beginning  \"{\" not expected";
    QTest::newRow("open quote") << "'abc" << "Cannot process an expression: 'abc error at the beginning  \"'\" not expected";
    QTest::newRow("unknown function") << "FOO(1)" << "Function not found: FOO";
    QTest::newRow("too few") << "MID('a')" << "Illegal function use: MID('a') - number of arguments is less than minimum required";
    QTest::newRow("too many") << "TRIM('a','b')"
                              << "Illegal function use: TRIM('a','b') - number of arguments is more than maximum allowed";
    QTest::newRow("open call") << "TRIM('a'" << "Brackets balance violation in function TRIM('a'";
    QTest::newRow("format inside") << "1+FFIX(2)"
                                   << "Illegal function use: expression 1+FFIX(2) has format function FFIX, which is not allowed "
                                      "within another expression";
    QTest::newRow("no result as operand") << "1+SET(ekA,1)" << "Cannot use SET(ekA,1) as argument for another expression";
    QTest::newRow("no result as argument") << "TRIM(NEXT(A))" << "Cannot use NEXT(A) as argument for another expression";
    QTest::newRow("assign to number") << "5:=1"
                                      << "Illegal expression: 5:=1 - variable identifier expected as a left argument of "
                                         "operation \":=\"";
    QTest::newRow("assign to unknown") << "nix:=1"
                                       << "Illegal expression: nix:=1 - variable expected as a left argument of operation \":=\"";
    QTest::newRow("VAR literal") << "VAR(1)" << "Illegal function use: VAR(1) - VAR function may be used only with variable identifiers";
    QTest::newRow("SET literal") << "SET(1,2)"
                                 << "Illegal function use: SET(1,2) - variable expected as a first argument of function \"SET\"";
    QTest::newRow("EOF literal") << "EOF(1)"
                                 << "Illegal function use: EOF(1) - dataset identifier expected as argument of function \"EOF\"";
    QTest::newRow("LAST literal") << "LAST('a')"
                                  << "Illegal function use: LAST('a') - dataset identifier expected as argument of function \"LAST\"";
    QTest::newRow("NEXT unknown alias") << "NEXT(qrNix)" << "Illegal function use: NEXT(qrNix) - dataset alias not found: qrNix";
    QTest::newRow("letter beyond the list") << "B:name" << "Illegal function use: B:name - dataset alias not found: B";
    QTest::newRow("unknown column") << "qrPosten:nix" << "Illegal function use: qrPosten:nix - dataset field nix not found";
    QTest::newRow("column position") << "A:(9)" << "Illegal function use: A:(9) - dataset field (9) not found";
    QTest::newRow("unknown variable in call") << "TRIM(nix)" << "Illegal function use: TRIM(nix) - report variable nix not found";
    QTest::newRow("unknown variable in sum") << "nix+1" << "Illegal function use: nix+1 - report variable nix not found";
    QTest::newRow("SUM second") << "SUM(1,2)"
                                << "Illegal function use: SUM(1,2) - report variable expected as second argument in expression SUM(1,2)";
    QTest::newRow("SUM third") << "SUM(1,s,X)"
                               << "Illegal function use: SUM(1,s,X) - symbol \")\" or keyword \"NORESET\" expected as third "
                                  "argument in expression SUM(1,s,X)";
}

void TestReportExpressions::errors()
{
    QFETCH(QString, expression);
    QFETCH(QString, message);
    auto rows = sampleRows();
    QCOMPARE(errorOf(document(field(expression)), kVariables, {rows.get()}), message);
}

void TestReportExpressions::emptyDates_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QByteArray>("written");
    // An empty date column is no date, not 30.12.1899: a template can test for it.
    QTest::newRow("plain field") << "A:datum" << QByteArray("");
    QTest::newRow("DTOS") << "DTOS(A:datum)" << QByteArray("");
    QTest::newRow("DATETOSTR") << "DATETOSTR(A:datum)" << QByteArray("");
    QTest::newRow("TIMETOSTR") << "TIMETOSTR(A:datum)" << QByteArray("");
    QTest::newRow("DATETIMETOSTR") << "DATETIMETOSTR(A:datum)" << QByteArray("");
    QTest::newRow("SYEAR") << "SYEAR(A:datum)" << QByteArray("");
    QTest::newRow("DAY") << "DAY(A:datum)" << QByteArray("0");
    QTest::newRow("MONTH") << "MONTH(A:datum)" << QByteArray("0");
    QTest::newRow("YEAR") << "YEAR(A:datum)" << QByteArray("0");
    QTest::newRow("EMPTY date") << "EMPTY(A:datum)" << QByteArray("True");
    QTest::newRow("test for a date") << "DTOS(A:datum)<>''" << QByteArray("False");
    QTest::newRow("EMPTY blank text") << "EMPTY(A:name)" << QByteArray("True");
    QTest::newRow("EMPTY number") << "EMPTY(A:betrag)" << QByteArray("False");
    QTest::newRow("a date still has its parts") << "DTOS(A:bis) + ' ' + STR(YEAR(A:bis))" << QByteArray("20240229 2024");
    QTest::newRow("EMPTY filled date") << "EMPTY(A:bis)" << QByteArray("False");
}

void TestReportExpressions::emptyDates()
{
    QFETCH(QString, expression);
    QFETCH(QByteArray, written);
    ReportMemoryDataSet set(QStringLiteral("qrTermine"));
    set.addField(QStringLiteral("datum"), ReportDataSet::FieldKind::Date);
    set.addField(QStringLiteral("bis"), ReportDataSet::FieldKind::Date);
    set.addField(QStringLiteral("name"), ReportDataSet::FieldKind::Text);
    set.addField(QStringLiteral("betrag"), ReportDataSet::FieldKind::Number);
    set.addRow({QVariant(), QDate(2024, 2, 29), QStringLiteral("  "), 0.0});
    QCOMPARE(valueOf(expression, {}, &set), written);
}

void TestReportExpressions::aggregatesResetPerScanUnlessNoReset()
{
    auto rows = sampleRows();
    // The same template twice in one component: SUM starts again, NORESET continues.
    TRtfReport report;
    const QByteArray tpl = document("\\\\SCAN(A),SUM(A:betrag,s),SUM(A:betrag,n,NORESET),CTS(A:name,t),CTN(A:aktiv,c)\\\\"
                                    "\\\\ENDSCAN\\\\[\\\\s\\\\|\\\\n\\\\|\\\\t\\\\]");
    QCOMPARE(render(tpl, {}, {rows.get()}, &report), QByteArray("{\\rtf1\\ansi [\\lang0 6|\\lang0 6|\\lang0 3]}"));
    QCOMPARE(render(tpl, {}, {rows.get()}, &report), QByteArray("{\\rtf1\\ansi [\\lang0 6|\\lang0 12|\\lang0 3]}"));
    // Outside any scan an aggregate starts from zero every time.
    QCOMPARE(render(document("\\\\SUM(2,x)\\\\\\\\SUM(3,x)\\\\\\\\x\\\\")), QByteArray("{\\rtf1\\ansi \\lang0 3}"));
    QCOMPARE(render(document("\\\\SUM(2,x,NORESET)\\\\\\\\SUM(3,x,NORESET)\\\\\\\\x\\\\")),
             QByteArray("{\\rtf1\\ansi \\lang0 5}"));
}

void TestReportExpressions::aggregatesResetPerRunOfAFilteredScan()
{
    // Bookings per month: the inner scan's first record belongs to month 1, so in month 2
    // the aggregates are first evaluated on a later record and must still start at 0.
    ReportMemoryDataSet months(QStringLiteral("M"));
    months.addField(QStringLiteral("Monat"), ReportDataSet::FieldKind::Number);
    months.addRow({1});
    months.addRow({2});
    ReportMemoryDataSet bookings(QStringLiteral("B"));
    bookings.addField(QStringLiteral("Monat"), ReportDataSet::FieldKind::Number);
    bookings.addField(QStringLiteral("Betrag"), ReportDataSet::FieldKind::Number);
    for (const auto &[month, amount] : {std::pair{1, 10}, {1, 20}, {2, 5}, {2, 7}})
        bookings.addRow({month, amount});
    QCOMPARE(render(document("\\\\SCAN(M)\\\\\\\\SCAN(B)\\\\\\\\IF(B:Monat=M:Monat)\\\\\\\\SUM(B:Betrag,s)\\\\\\\\CTN(B:Betrag,c)\\\\"
                             "\\\\ENDIF\\\\\\\\ENDSCAN\\\\[\\\\M:Monat\\\\:\\\\s\\\\(\\\\c\\\\)]\\\\ENDSCAN\\\\"),
                    {}, {&months, &bookings}),
             QByteArray("{\\rtf1\\ansi [\\lang0 1:\\lang0 30(\\lang0 2)][\\lang0 2:\\lang0 12(\\lang0 2)]}"));
    // A top-level scan run twice whose first record is filtered out.
    const QByteArray twice = "\\\\SCAN(B)\\\\\\\\IF(B:Monat=2)\\\\\\\\SUM(B:Betrag,s)\\\\\\\\ENDIF\\\\\\\\ENDSCAN\\\\\\\\s\\\\|";
    QCOMPARE(render(document(twice + twice), {}, {&bookings}), QByteArray("{\\rtf1\\ansi \\lang0 12|\\lang0 12|}"));
}

void TestReportExpressions::assignmentsAndVariablesCreatedAtRunTime()
{
    // := and SET write nothing; VAR creates variables with empty text, also for fields before it.
    QCOMPARE(render(document("\\\\v:=2*3\\\\<\\\\v\\\\>"), {QStringLiteral("v=")}),
             QByteArray("{\\rtf1\\ansi <\\lang0 6>}"));
    QCOMPARE(render(document("\\\\VAR(neu,alt)\\\\\\\\SET(neu,'x')\\\\[\\\\neu\\\\\\\\alt\\\\]")),
             QByteArray("{\\rtf1\\ansi [\\lang0 x\\lang0 ]}"));
    // A name that is no variable of the report stays as written.
    QCOMPARE(render(document("a \\\\unbekannt\\\\ b")), QByteArray("{\\rtf1\\ansi a \\\\unbekannt\\\\ b}"));
}

void TestReportExpressions::runTimeVariableErrors()
{
    // Declared by VAR further on, but VAR has not run yet when SET is reached.
    QCOMPARE(errorOf(document("\\\\SET(spaet,1)\\\\\\\\VAR(spaet)\\\\")),
             QStringLiteral("Set variable: report variable not found: spaet"));
    QCOMPARE(errorOf(document("\\\\spaet\\\\\\\\VAR(spaet)\\\\")), QStringLiteral("Get variable: report variable not found: spaet"));
}

QTEST_GUILESS_MAIN(TestReportExpressions)
#include "tst_report_expressions.moc"
