#pragma once

#include "report/BraceBalance.h"
#include "report/ExprNode.h"
#include "report/FormatFunction.h"

#include <QByteArray>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

struct TemplateItem;
using TemplateBlock = std::vector<TemplateItem>;

// The format function of a value field, as far as the run needs it.
struct ValueFormat
{
    FormatFunction::Kind kind = FormatFunction::Kind::None;
    qint16 precision = -1;   // w of "w:d", -1 when not given
    qint16 digits = -1;      // p, or d of "w:d", -1 when not given

    bool isNumberFormat() const
    {
        using K = FormatFunction::Kind;
        return kind == K::Exp || kind == K::Fix || kind == K::Num || kind == K::Cur || kind == K::FixR || kind == K::NumR;
    }
};

// FDTM's pattern: written as text, or the variable that holds it.
struct DateTimePattern
{
    ExprPtr variable;
    QString text;
};

// A value field, compiled. Fields written alike share one compiled field; a template may
// hold millions of fields, so it keeps only what the run needs.
struct ValueField
{
    QByteArray trailingCodes;
    ValueFormat format;
    bool noResult = false;      // SET, NEXT, SUM …: run for the effect, nothing written
    ExprPtr expression;
    std::unique_ptr<DateTimePattern> dateTimePattern;   // FDTM only
};

struct ScanBlock
{
    QString content;
    int dataSet = -1;
    bool page = false;
    bool noEof = false;
    ExprPtr whileCondition;
    std::vector<ExprPtr> scanCalls, entryCalls, footerCalls, endCalls;
    bool hasEntry = false;
    bool hasFooter = false;
    QByteArray scanCodes, endCodes;
    TemplateBlock head, body, foot;
    BraceBalance bodyBalance;
    BraceBalance wholeBalance;   // head, body and foot: left out together with "noeof"
};

struct ConditionBranch
{
    QString content;
    ExprPtr condition;           // null for ELSE
    TemplateBlock items;
    BraceBalance balance;
};

struct ConditionBlock
{
    std::vector<ConditionBranch> branches;
    bool hasElse = false;
    QByteArray ifCodes, endCodes;
};

// One step of a block. A template may hold millions of them, so an item is small: what it
// stands for lives in the program's stores, a field kept as written is a stretch of the
// template itself.
struct TemplateItem
{
    enum class Kind : quint8 {
        Text,
        Value,       // a compiled field
        Unknown,     // not a name of this report: the field stays as written
        Deferred,    // checked, and compiled again when it runs (see TemplateProgram)
        Scan,
        Condition
    };

    Kind kind = Kind::Text;
    bool hasTrailingCodes = false;   // Unknown, Deferred: codes a word processor put inside
    quint32 sourceLength = 0;        // Unknown, Deferred
    QByteArray text;                 // for a field: the text that follows it
    union {
        const ValueField *value = nullptr;
        const ScanBlock *scan;
        const ConditionBlock *condition;
        const char *source;          // Unknown, Deferred: the field as written, in the template
    };

    static TemplateItem makeText(const QByteArray &rtf)
    {
        TemplateItem t;
        t.text = rtf;
        return t;
    }
    // Refers to the template's bytes, which outlive the program.
    QByteArray fieldSource() const { return QByteArray::fromRawData(source, sourceLength); }
};

// A compiled template and the stores its items point into.
struct TemplateProgram
{
    TemplateBlock root;
    std::deque<ValueField> values;
    std::deque<ScanBlock> scans;
    std::deque<ConditionBlock> conditions;
    // Compiles a Deferred field from its source. A field is deferred only after it compiled
    // once without error, and compiling it again gives the same field: a run only adds
    // names, and a field that compiled reads the same with more names known. Aggregates are
    // never deferred: they keep their reset state in the compiled field.
    std::function<ValueField(const QByteArray &source)> compileField;
};

// The static brace balance of a block, every branch and part counted once.
BraceBalance balanceOf(const TemplateBlock &block);
