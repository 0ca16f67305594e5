#pragma once

#include "expressions/ExpressionValue.h"

// The operators of the expression engine on resolved values. The result
// follows the left operand's kind (and width); failures throw
// ParserException with the engine's messages.
enum class BinaryOperation {
    Multiply, Divide, Mod, Plus, Minus,
    Lshift, Rshift,
    Lt, Le, Gt, Ge, Eq, Ne,
    BitAnd, BitXor, BitOr,
    LogicalAnd, LogicalOr,
};

enum class UnaryOperation { Negate, BitNot, LogicalNot };

Value applyBinary(BinaryOperation operation, const Value &left, const Value &right);
Value applyUnary(UnaryOperation operation, const Value &operand);
