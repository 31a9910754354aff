#pragma once

#include "report/ExpressionCompiler.h"
#include "report/TemplatePiece.h"
#include "report/TemplateProgram.h"
#include "report/UnknownField.h"

#include <QHash>
#include <QSet>

// Turns the pieces of a template into blocks of text, values, scans and conditions,
// enforcing every nesting rule before anything is written.
class TemplateCompiler
{
public:
    static constexpr int MaxNesting = 200;

    explicit TemplateCompiler(ExpressionCompiler::Environment &environment);

    // Pieces arrive one by one: first every piece to declare(), then every piece again to
    // add(), then finish().
    void declare(const TemplatePiece &piece);
    void add(const TemplatePiece &piece);
    // The program refers to the template's bytes and, for deferred fields, to this compiler:
    // both must outlive it.
    TemplateProgram finish();

    // Each unknown field once, in the order of the template.
    const std::vector<UnknownField> &unknownFields() const { return m_unknown; }

private:
    struct Open
    {
        ScanBlock *scan = nullptr;
        ConditionBlock *condition = nullptr;
        TemplateBlock *block = nullptr;
    };

    TemplateItem valueItem(const TemplatePiece &piece);
    // False when the field is no name of this report and stays as written.
    bool compileValue(const TemplatePiece &piece, ValueField &field);
    ValueField compileDeferred(const QByteArray &source);
    void openScan(const TemplatePiece &piece);
    void scanEntry(const TemplatePiece &piece);
    void scanFooter(const TemplatePiece &piece);
    void endScan(const TemplatePiece &piece);
    void openIf(const TemplatePiece &piece);
    void elsIf(const TemplatePiece &piece);
    void elseBranch(const TemplatePiece &piece);
    void endIf(const TemplatePiece &piece);
    std::vector<ExprPtr> attachedCalls(const QString &content, int keywordLength);
    ExprPtr conditionOf(const QString &inner, const char *test);
    TemplateBlock &current();

    ExpressionCompiler::Environment &m_env;
    ExpressionCompiler m_compiler;
    TemplateProgram m_program;
    std::vector<Open> m_open;
    std::vector<UnknownField> m_unknown;
    QSet<QString> m_unknownNames;
    QHash<QByteArray, const ValueField *> m_compiledFields;
    int m_line = 1;
};
