#pragma once

#include "report/ReportValue.h"

#include <QString>

#include <memory>
#include <vector>

class EvalContext;
class TReportUdf;
struct ExprNode;

using ExprPtr = std::unique_ptr<ExprNode>;
using EvalFunction = ReportValue (*)(EvalContext &context, const ExprNode &node);

// A function templates can call, built in or standing for an operator (SYS_ADD …).
struct FunctionDef
{
    enum class Kind { Value, NoResult, Aggregate };

    const char *name;
    int minArgs;
    int maxArgs;
    Kind kind;
    EvalFunction eval;
    const char *operation = nullptr;   // how messages name an operator ("\"+\"", "not equal")
};

// A compiled expression: nested calls over literals, variables and columns.
struct ExprNode
{
    enum class Kind { Literal, Variable, Column, Call, Udf, Omitted, Name };

    Kind kind = Kind::Literal;
    std::unique_ptr<const ReportValue> literal;   // a literal's value; most nodes have none
    QString name;                       // variable, function or bare name
    QString text;                       // the source text, for messages
    std::shared_ptr<const QString> expression;   // the whole expression, for messages
    int dataSet = -1;
    int field = -1;
    const FunctionDef *function = nullptr;
    const TReportUdf *udf = nullptr;
    std::vector<ExprPtr> args;
    int depth = 1;
    bool noReset = false;
    mutable int variableIndex = -1;     // cached position in the variable list
    mutable quint64 resetScan = 0;      // aggregates: the scan in which they last reset

    const QString &expressionText() const { return expression ? *expression : text; }
    // After compiling: drops what only compile-time messages need (a template may hold
    // millions of nodes); run-time messages name the whole expression.
    void dropCompileTexts();
    bool isBareName() const { return kind == Kind::Name || kind == Kind::Variable; }
};
