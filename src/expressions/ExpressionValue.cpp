#include "expressions/ExpressionValue.h"

#include <cmath>
#include <limits>

#include "expressions/ParserException.h"

namespace {

quint64 widthMask(int size)
{
    return size >= 8 ? ~quint64(0) : (quint64(1) << (size * 8)) - 1;
}

quint64 signExtend(quint64 bits, int size)
{
    if (size >= 8)
        return bits;
    const quint64 sign = quint64(1) << (size * 8 - 1);
    bits &= widthMask(size);
    return (bits ^ sign) - sign;
}

// Truncation toward zero that stays defined for values out of range.
qint64 truncated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<qint64>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return qint64(value);
}

const char *const signedNames[] = {"char", "short", "int", "long long"};
const char *const unsignedNames[] = {"unsigned char", "unsigned short", "unsigned int",
                                     "unsigned long long"};

int widthIndex(int size)
{
    switch (size) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    default: return -1;
    }
}

[[noreturn]] void unsupported()
{
    throw ParserException(QStringLiteral("unsupported binary numeric operation"));
}

} // namespace

Value Value::fromBool(bool value)
{
    Value v;
    v.kind = Boolean;
    v.size = 1;
    v.boolean = value;
    return v;
}

Value Value::fromSigned(qint64 value, int size)
{
    Value v;
    v.kind = Signed;
    v.size = size;
    v.bits = signExtend(quint64(value), size);
    return v;
}

Value Value::fromUnsigned(quint64 value, int size)
{
    Value v;
    v.kind = Unsigned;
    v.size = size;
    v.bits = value & widthMask(size);
    return v;
}

Value Value::fromDouble(double value)
{
    Value v;
    v.kind = Floating;
    v.size = 8;
    v.floating = value;
    return v;
}

Value Value::fromString(const QString &text)
{
    Value v;
    v.kind = String;
    v.text = text;
    return v;
}

quint64 Value::zeroExtended() const
{
    return bits & widthMask(size);
}

qint64 Value::signExtended() const
{
    return qint64(signExtend(bits, size));
}

qint64 Value::toSigned64() const
{
    switch (kind) {
    case Boolean: return boolean ? 1 : 0;
    case Signed: return signExtended();
    case Unsigned: return qint64(zeroExtended());
    case Floating: return truncated(floating);
    default: unsupported();
    }
}

quint64 Value::toUnsigned64() const
{
    return quint64(toSigned64());
}

double Value::toDouble() const
{
    switch (kind) {
    case Boolean: return boolean ? 1 : 0;
    case Signed: return double(signExtended());
    case Unsigned: return double(zeroExtended());
    case Floating: return floating;
    default: unsupported();
    }
}

bool Value::truth() const
{
    switch (kind) {
    case Boolean: return boolean;
    case Floating: return floating != 0;
    default: return toSigned64() != 0;
    }
}

QString Value::typeName() const
{
    const int index = widthIndex(size);
    switch (kind) {
    case Boolean: return QStringLiteral("boolean");
    case Signed: return index < 0 ? QStringLiteral("unknown") : QString::fromLatin1(signedNames[index]);
    case Unsigned: return index < 0 ? QStringLiteral("unknown") : QString::fromLatin1(unsignedNames[index]);
    case String: return QStringLiteral("string");
    case None: return QStringLiteral("marker");
    case Floating: return size == 4 ? QStringLiteral("float") : QStringLiteral("double");
    default: return QStringLiteral("unknown");
    }
}
