#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "expressions/SimpleExpressionParser.h"

namespace {

// The message an evaluation fails with, or "" when it succeeds.
QString failureOf(const char *text)
{
    SimpleExpressionParser parser;
    try {
        parser.evaluate(QString::fromLatin1(text));
    } catch (const ParserException &e) {
        return e.message();
    }
    return QString();
}

Value valueOf(const char *text)
{
    SimpleExpressionParser parser;
    return parser.evaluate(QString::fromLatin1(text));
}

} // namespace

TEST(Expression, unsignedResultsFollowPrecedenceAndLeftAssociativity)
{
    const struct {
        const char *text;
        quint64 expected;
    } cases[] = {
        {"0x2000 + 0x100 * 2", 0x2200},
        {"10 - 3 - 2", 5},
        {"100 / 10 / 5", 2},
        {"2 * 3 % 4", 2},
        {"1 << 4 + 1", 32},          // + binds tighter than <<
        {"6 & 3 ^ 1 | 8", 11},       // & then ^ then |
        {"-1", ~quint64(0)},
        {"7.9", 7},
        {"(1 + 2) * 3", 9},
        {"--4", 4},                  // two negations, not a decrement of a literal... see below
        {"010", 8},                  // a leading zero reads in octal
        {"09", 9},                   // whose digits are not checked
        {"0x", 0},
        {"0b101", 5},
        {"0x1F", 31},
        {"3 4", 3},                  // tokens after a complete expression are ignored
        {"+5", 5},
        {"~0 >> 60", ~quint64(0)},   // signed values keep their sign when shifted right
        {"1 << 65", 2},              // shift counts are taken modulo 64
        {"7 % -4", 3},
        {"-7 / 2", quint64(-3)},
    };
    for (const auto &c : cases) {
        SimpleExpressionParser parser;
        bool ok = false;
        const quint64 value = parser.evaluateUnsigned(QString::fromLatin1(c.text), ok);
        if (QByteArray(c.text) == "--4") {
            EXPECT_FALSE(ok) << "a prefix decrement needs a variable";
            continue;
        }
        EXPECT_TRUE(ok) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
    }
}

TEST(Expression, signedAndBooleanResults)
{
    SimpleExpressionParser parser;
    bool ok = false;
    EXPECT_EQ(parser.evaluateSigned("7 / 2", ok), 3);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parser.evaluateSigned("-2.9", ok), -2);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parser.evaluateSigned("0 - 0x8000000000000000 / -1", ok), qint64(0x8000000000000000));
    EXPECT_TRUE(ok);

    const struct {
        const char *text;
        bool ok;
        bool value;
    } cases[] = {
        {"4096 > 0x100", true, true},
        {"1 + 1", false, false},               // a number is not a boolean
        {"1 < 2 && 2 < 3", true, true},
        {"1 < 2 || X", false, false},          // both sides are always evaluated
        {"1 > 2 || 3 >= 3", true, true},
        {"\"abc\" == \"abc\"", true, true},
        {"\"abc\" < \"abd\"", true, true},
        {"\"abc\" == 3", true, false},         // a non-string compares as the empty text
        {"\"\" == 3", true, true},
        {"!0", true, true},
        {"!(1 == 1)", true, false},
        {"1.5 == 1.5", true, true},
        {"2 == 2.9", true, true},              // the right side takes the left side's kind
        {"(1 < 2) == (3 < 4)", true, true},
        {"(1 < 2) + (1 > 2)", true, true},     // boolean arithmetic stays boolean
        {"(1 < 2) * 0", true, false},
        {"", false, false},
        {"   ", false, false},
    };
    for (const auto &c : cases) {
        const bool value = parser.evaluateBool(QString::fromLatin1(c.text), ok);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(Expression, failuresCarryTheirMessages)
{
    const struct {
        const char *text;
        const char *message;
    } cases[] = {
        {"1 / 0", "divide by zero"},
        {"1 % 0", "divide by zero"},
        {"1.0 / 0.0", "divide by zero"},
        {"7 / 0.5", "divide by zero"},           // the divisor is truncated to 0
        {"(1 == 1) % 256", "divide by zero"},    // a boolean divides by a byte
        {"FOO + 1", "FOO symbol not found"},
        {"$(X) > 1", "X symbol not found"},  // "$" is a name, "(X)" its call
        {"a::b::c", "a::b::c symbol not found"},
        {"::g", "::g symbol not found"},
        {"this", "this symbol not found"},
        {"@r0", "unknown register"},
        {"(int)3", "cannot cast"},
        {"(unsigned long *)3", "cannot cast"},
        {"(struct s)3", "cannot cast"},
        {"*5", "cannot dereference"},
        {"5[1]", "cannot dereference"},
        {"&5", "addressof not implemented"},
        {"sizeof(1)", "sizeof not implemented"},
        {"sizeof 1", "'(' expected"},
        {"sizeof(1", "')' expected"},
        {"f(1, 2)", "f symbol not found"},
        {"(1)(2)", "function calling not implemented"},
        {"(1 + 2", "')' expected"},
        {"a[1", "expected ']'"},
        {"5[1", "expected ']'"},
        {"1 ? 2 : 3", "unrecognised token: ? 2 : 3"},
        {"1, 2", "operator not supported"},
        {"8 >>> 1", "operator not supported"},
        {"x >>>= 1", "operator not supported"},
        {"1 +", "expression expected"},
        {")", "expression expected"},
        {"1 = 2", "cannot dereference"},
        {"x += 1", "x symbol not found"},
        {"\"a\" + 1", "unsupported binary numeric operation"},
        {"1 + \"a\"", "unsupported binary numeric operation"},
        {"1.5 & 1", "unsupported binary numeric operation"},
        {"1 << 1.0", "integer shift value expected"},
        {"1.0 << 1", "can only shift numeric values"},
        {"(1 < 2) << 1", "can only shift numeric values"},
        {"1 < \"a\"", "unsupported comparison operation"},
        {"-\"a\"", "unsupported unary num operation"},
        {"~1.5", "unsupported unary num operation"},
        {"s.m", "s symbol not found"},
        {"1 .2", "member name expected"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(failureOf(c.text), QString::fromLatin1(c.message)) << c.text;
}

TEST(Expression, valuesCarryKindAndWidth)
{
    EXPECT_EQ(valueOf("1").typeName(), "long long");
    EXPECT_EQ(valueOf("1.5").typeName(), "double");
    EXPECT_EQ(valueOf("1 < 2").typeName(), "boolean");
    EXPECT_EQ(valueOf("\"x\"").typeName(), "string");
    EXPECT_EQ(valueOf("\"a b\"").text, "a b");
    EXPECT_EQ(valueOf("\"\\n\"").text, "\\n"); // no escape sequences
    EXPECT_EQ(Value().typeName(), "marker");

    // Narrow values keep their width through arithmetic and conversion.
    const Value narrow = Value::fromSigned(-1, 1);
    EXPECT_EQ(narrow.typeName(), "char");
    EXPECT_EQ(narrow.zeroExtended(), 0xFFu);
    EXPECT_EQ(narrow.signExtended(), -1);
    const Value sum = applyBinary(BinaryOperation::Plus, Value::fromSigned(127, 1), Value::fromSigned(1));
    EXPECT_EQ(sum.signExtended(), -128);
    EXPECT_EQ(sum.size, 1);
    const Value u = applyBinary(BinaryOperation::Minus, Value::fromUnsigned(0, 2), Value::fromSigned(1));
    EXPECT_EQ(u.typeName(), "unsigned short");
    EXPECT_EQ(u.zeroExtended(), 0xFFFFu);
    EXPECT_EQ(u.signExtended(), -1);
    const Value shifted = applyBinary(BinaryOperation::Rshift, Value::fromUnsigned(0x80, 1), Value::fromSigned(7));
    EXPECT_EQ(shifted.zeroExtended(), 1u);
    const Value mixed = applyBinary(BinaryOperation::Plus, Value::fromUnsigned(1, 4), Value::fromDouble(2.7));
    EXPECT_EQ(mixed.typeName(), "unsigned int");
    EXPECT_EQ(mixed.zeroExtended(), 3u);   // the floating operand truncates first
}

TEST(Expression, hostileTextsFailInsteadOfOverflowing)
{
    SimpleExpressionParser parser;
    bool ok = true;
    const QString nested = QString(100000, u'(') + u'1' + QString(100000, u')');
    parser.evaluateUnsigned(nested, ok);
    EXPECT_FALSE(ok);
    QString chain = QStringLiteral("1");
    for (int i = 0; i < 100000; ++i)
        chain += QStringLiteral("+1");
    parser.evaluateUnsigned(chain, ok);
    EXPECT_FALSE(ok);
    QString moderate = QStringLiteral("1");
    for (int i = 0; i < 500; ++i)
        moderate += QStringLiteral("+1");
    EXPECT_EQ(parser.evaluateUnsigned(moderate, ok), 501u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parser.evaluateUnsigned(QString(50, u'(') + u'7' + QString(50, u')'), ok), 7u);
    EXPECT_TRUE(ok);
}
