#include "expressions/ExpressionOperations.h"

#include <cmath>
#include <limits>

#include "expressions/ParserException.h"

namespace {

using Op = BinaryOperation;

[[noreturn]] void fail(const char *message)
{
    throw ParserException(QString::fromLatin1(message));
}

bool isZero(const Value &value)
{
    switch (value.kind) {
    case Value::Boolean: return !value.boolean;
    case Value::Signed:
    case Value::Unsigned: return value.zeroExtended() == 0;
    case Value::Floating: return value.floating == 0;
    default: return false;
    }
}

// Integer arithmetic on 64-bit patterns; the caller cuts the result to
// width. Signed division is the only place where the patterns' sign
// matters (and where the one overflowing case is defined here).
quint64 integerArithmetic(Op operation, quint64 a, quint64 b, bool isSigned)
{
    switch (operation) {
    case Op::Multiply: return a * b;
    case Op::Plus: return a + b;
    case Op::Minus: return a - b;
    case Op::BitAnd: return a & b;
    case Op::BitXor: return a ^ b;
    case Op::BitOr: return a | b;
    case Op::Divide:
    case Op::Mod:
        // A divisor that is not zero as written may still convert to zero
        // (0.5 truncated, or 256 cut to a byte for a boolean left operand).
        if (b == 0)
            fail("divide by zero");
        if (isSigned) {
            const qint64 x = qint64(a), y = qint64(b);
            if (x == std::numeric_limits<qint64>::min() && y == -1)
                return operation == Op::Divide ? a : 0;
            return quint64(operation == Op::Divide ? x / y : x % y);
        }
        return operation == Op::Divide ? a / b : a % b;
    default:
        fail("unsupported binary numeric operation");
    }
}

double floatingArithmetic(Op operation, double a, double b)
{
    switch (operation) {
    case Op::Multiply: return a * b;
    case Op::Divide: return a / b;
    case Op::Mod: return std::fmod(a, b);
    case Op::Plus: return a + b;
    case Op::Minus: return a - b;
    default: fail("unsupported binary numeric operation");
    }
}

Value arithmetic(Op operation, const Value &left, const Value &right)
{
    if ((operation == Op::Divide || operation == Op::Mod) && isZero(right))
        fail("divide by zero");
    switch (left.kind) {
    case Value::Boolean: {
        const quint64 a = left.boolean ? 1 : 0;
        const quint64 b = right.kind == Value::Boolean ? (right.boolean ? 1 : 0)
                                                       : right.toUnsigned64() & 0xFF;
        return Value::fromBool(integerArithmetic(operation, a, b, false) != 0);
    }
    case Value::Signed:
        return Value::fromSigned(
            qint64(integerArithmetic(operation, left.bits, right.toUnsigned64(), true)), left.size);
    case Value::Unsigned:
        return Value::fromUnsigned(
            integerArithmetic(operation, left.zeroExtended(), right.toUnsigned64(), false),
            left.size);
    case Value::Floating:
        return Value::fromDouble(floatingArithmetic(operation, left.floating, right.toDouble()));
    default:
        fail("unsupported binary numeric operation");
    }
}

Value shift(Op operation, const Value &left, const Value &right)
{
    if (right.kind != Value::Signed)
        fail("integer shift value expected");
    if (!left.isInteger())
        fail("can only shift numeric values");
    const unsigned count = unsigned(right.bits & 63);
    if (operation == Op::Lshift) {
        const quint64 shifted = left.bits << count;
        return left.kind == Value::Signed ? Value::fromSigned(qint64(shifted), left.size)
                                          : Value::fromUnsigned(shifted, left.size);
    }
    if (left.kind == Value::Signed)
        return Value::fromSigned(left.signExtended() >> count, left.size);
    return Value::fromUnsigned(left.zeroExtended() >> count, left.size);
}

template <typename T>
bool ordered(Op operation, const T &a, const T &b)
{
    switch (operation) {
    case Op::Lt: return a < b;
    case Op::Le: return a <= b;
    case Op::Gt: return a > b;
    case Op::Ge: return a >= b;
    case Op::Eq: return a == b;
    default: return a != b;
    }
}

Value compare(Op operation, const Value &left, const Value &right)
{
    if (left.kind == Value::String) {
        const QString other = right.kind == Value::String ? right.text : QString();
        return Value::fromBool(ordered(operation, left.text.compare(other), 0));
    }
    if (!left.isScalar() || !right.isScalar())
        fail("unsupported comparison operation");
    switch (left.kind) {
    case Value::Boolean: return Value::fromBool(ordered(operation, left.boolean, right.truth()));
    case Value::Signed: return Value::fromBool(ordered(operation, left.signExtended(), right.toSigned64()));
    case Value::Unsigned: return Value::fromBool(ordered(operation, left.zeroExtended(), right.toUnsigned64()));
    default: return Value::fromBool(ordered(operation, left.floating, right.toDouble()));
    }
}

} // namespace

Value applyBinary(BinaryOperation operation, const Value &left, const Value &right)
{
    switch (operation) {
    case Op::Lshift:
    case Op::Rshift:
        return shift(operation, left, right);
    case Op::Lt:
    case Op::Le:
    case Op::Gt:
    case Op::Ge:
    case Op::Eq:
    case Op::Ne:
        return compare(operation, left, right);
    case Op::LogicalAnd:
        return Value::fromBool(left.truth() && right.truth());
    case Op::LogicalOr:
        return Value::fromBool(left.truth() || right.truth());
    default:
        return arithmetic(operation, left, right);
    }
}

Value applyUnary(UnaryOperation operation, const Value &operand)
{
    const Value::Kind kind = operand.kind;
    switch (operation) {
    case UnaryOperation::Negate:
        if (kind == Value::Signed)
            return Value::fromSigned(qint64(0 - operand.bits), operand.size);
        if (kind == Value::Unsigned)
            return Value::fromUnsigned(0 - operand.bits, operand.size);
        if (kind == Value::Floating)
            return Value::fromDouble(-operand.floating);
        break;
    case UnaryOperation::BitNot:
        if (kind == Value::Signed)
            return Value::fromSigned(qint64(~operand.bits), operand.size);
        if (kind == Value::Unsigned)
            return Value::fromUnsigned(~operand.bits, operand.size);
        break;
    case UnaryOperation::LogicalNot:
        if (operand.isScalar())
            return Value::fromBool(!operand.truth());
        break;
    }
    fail("unsupported unary num operation");
}
