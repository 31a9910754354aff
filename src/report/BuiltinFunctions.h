#pragma once

#include "report/ExprNode.h"

// The built-in functions of templates and the SYS_* functions operators compile into.
namespace BuiltinFunctions {

const FunctionDef *find(const QString &name);   // case ignored; nullptr when unknown

// Operators by their written form; unary ones by "u-", "u+" and "!".
const FunctionDef *forOperator(const QString &op, bool unary);

// The internal boolean tests of IF, ELSIF and while conditions.
const FunctionDef &conditionTest(const char *name);

bool isDataSetFunction(const FunctionDef *f);

} // namespace BuiltinFunctions
