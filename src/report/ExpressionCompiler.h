#pragma once

#include "report/ExprNode.h"

#include <QSet>
#include <QStringList>

#include <vector>

class ReportDataSet;
class ReportVariableList;
class TReportUdfList;

// Compiles the expressions of fields and commands into nested calls, checking every
// name, argument count and special argument before the report writes anything.
class ExpressionCompiler
{
public:
    static constexpr int MaxDepth = 200;

    struct Environment
    {
        const ReportVariableList *variables = nullptr;
        QSet<QString> declared;   // upper-cased names that VAR or aggregates create at run time
        std::vector<ReportDataSet *> dataSets;
        const TReportUdfList *udfs = nullptr;
        bool dotAsColon = true;
    };

    explicit ExpressionCompiler(Environment &environment) : m_env(environment) {}

    // A value: a bare name that is no variable is returned as a Name node for the caller.
    ExprPtr compile(const QString &expression);
    // Compiles and requires a value (a bare name must be a variable).
    ExprPtr compileValue(const QString &expression);
    // An element of a scan command: a call; aggregates have stricter first arguments.
    ExprPtr compileCommandCall(const QString &element, const QString &commandContent);

    // A bare name must be a variable; calls without a result cannot be values.
    ExprPtr requireValue(ExprPtr node, const QString &context);

    int findDataSet(const QString &alias) const;
    bool isVariable(const QString &name) const;

    static bool isFormatFunctionName(const QString &name);
    static bool isNameStart(QChar c);
    static bool isNameChar(QChar c);
    static bool isIdentifier(const QString &text);
    // Index of the ")" matching the "(" at `open`, respecting quote pairs; -1 when missing.
    static qsizetype matchingParen(const QString &text, qsizetype open);
    // Splits at commas outside brackets and quote pairs.
    static QStringList splitTopLevel(const QString &text);

private:
    ExprPtr parse(const QString &text, const std::shared_ptr<const QString> &root, int depth);
    ExprPtr readOperand(const QString &e, qsizetype &p, const std::shared_ptr<const QString> &root, int depth);
    ExprPtr makeCall(const QString &name, const QString &callText, const QString &inner,
                     const std::shared_ptr<const QString> &root, int depth);
    ExprPtr makeColumn(const QString &alias, const QString &column, bool byPosition, const QString &context,
                       const std::shared_ptr<const QString> &root);
    void finishNode(ExprNode &node) const;

    Environment &m_env;
    bool m_commandMode = false;
    QString m_commandContent;
};
