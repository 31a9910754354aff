#pragma once

#include "report/BraceBalance.h"
#include "report/ExprNode.h"
#include "report/FormatFunction.h"

#include <QByteArray>

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
    QByteArray source;          // a field left unchanged: as written
    QByteArray trailingCodes;
    ValueFormat format;
    ExprPtr expression;
    std::unique_ptr<DateTimePattern> dateTimePattern;   // FDTM only
    bool copyUnchanged = false; // a name that is no variable: the field stays as written
    bool noResult = false;      // SET, NEXT, SUM …: run for the effect, nothing written
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

struct TemplateItem
{
    enum class Kind { Text, Value, Scan, Condition };

    Kind kind = Kind::Text;
    QByteArray text;                            // for a value: the text that follows it
    std::shared_ptr<const ValueField> value;
    std::unique_ptr<ScanBlock> scan;
    std::unique_ptr<ConditionBlock> condition;

    static TemplateItem makeText(const QByteArray &rtf)
    {
        TemplateItem t;
        t.text = rtf;
        return t;
    }
};

// The static brace balance of a block, every branch and part counted once.
BraceBalance balanceOf(const TemplateBlock &block);
