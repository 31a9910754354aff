#pragma once

#include "report/ExprNode.h"

// The SYS_* functions that operators compile into, with the type rules of operands.
namespace OperatorFunctions {

// By the written form; unary ones as "-", "+" and "!" with `unary` set.
const FunctionDef *find(const QString &op, bool unary);

} // namespace OperatorFunctions
