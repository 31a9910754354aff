#pragma once

#include "report/BraceBalance.h"
#include "report/ExprNode.h"
#include "report/FormatFunction.h"

#include <QByteArray>

#include <memory>
#include <vector>

struct TemplateItem;
using TemplateBlock = std::vector<TemplateItem>;

// A value field, compiled. Fields written alike share one compiled field.
struct ValueField
{
    QByteArray source;          // a field left unchanged: as written
    QByteArray trailingCodes;
    FormatFunction format;
    ExprPtr expression;
    ExprPtr formatVariable;     // FDTM: the variable that holds the pattern
    QString formatPattern;      // FDTM: the pattern written as text
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
