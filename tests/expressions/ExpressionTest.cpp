#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "expressions/SimpleExpressionParser.h"

namespace {

// The kind of value a text evaluates to and its text, if any, or the
// message the evaluation fails with.
QString outcomeOf(const char *text)
{
    SimpleExpressionParser parser;
    try {
        const Value value = parser.evaluate(QString::fromLatin1(text));
        return value.text.isEmpty() ? value.typeName() : value.typeName() + u' ' + value.text;
    } catch (const ParserException &e) {
        return e.message();
    }
}

} // namespace

TEST(Expression, unsignedResultsFollowPrecedenceAndLeftAssociativity)
{
    const struct { QString text; bool ok; quint64 expected; } cases[] = {
        {"0x2000 + 0x100 * 2", true, 0x2200},
        {"10 - 3 - 2", true, 5},
        {"2 * 3 % 4", true, 2},
        {"1 << 4 + 1", true, 32},          // + binds tighter than <<
        {"6 & 3 ^ 1 | 8", true, 11},       // & then ^ then |
        {"7.9", true, 7},
        {"(1 + 2) * 3", true, 9},
        {"--4", false, 0},                 // a prefix decrement needs a variable
        {"010", true, 8},                  // a leading zero reads in octal
        {"09", true, 9},                   // whose digits are not checked
        {"0x", true, 0},
        {"0b101", true, 5},
        {"3 4", true, 3},                  // tokens after a complete expression are ignored
        {"+5", true, 5},
        {"~0 >> 60", true, ~quint64(0)},   // signed values keep their sign when shifted right
        {"1 << 65", true, 2},              // shift counts are taken modulo 64
        {"1 << 40", true, quint64(1) << 40},
        {"7 % -4", true, 3},
        {"-7 / 2", true, quint64(-3)},
        // Hostile texts fail instead of overflowing the stack.
        {QString(100000, u'(') + u'1' + QString(100000, u')'), false, 0},
        {u'1' + QStringLiteral("+1").repeated(100000), false, 0},
        {u'1' + QStringLiteral("+1").repeated(500), true, 501},
        {QString(50, u'(') + u'7' + QString(50, u')'), true, 7},
    };
    for (const auto &c : cases) {
        SimpleExpressionParser parser;
        bool ok = !c.ok;
        const quint64 value = parser.evaluateUnsigned(c.text, ok);
        EXPECT_EQ(ok, c.ok) << c.text.left(40).toStdString();
        EXPECT_EQ(value, c.expected) << c.text.left(40).toStdString(); // 0 on failure
    }
}

TEST(Expression, signedAndBooleanResults)
{
    SimpleExpressionParser parser;
    const struct { const char *text; qint64 value; } signedCases[] = {
        {"7 / 2", 3}, {"-2.9", -2}, {"0 - 0x8000000000000000 / -1", qint64(0x8000000000000000)}};
    for (const auto &c : signedCases) {
        bool ok = false;
        EXPECT_EQ(parser.evaluateSigned(QString::fromLatin1(c.text), ok), c.value) << c.text;
        EXPECT_TRUE(ok) << c.text;
    }

    const struct { const char *text; bool ok; bool value; } cases[] = {
        {"1 + 1", false, false},               // a number is not a boolean
        {"1 < 2 && 2 < 3", true, true},
        {"1 < 2 || X", false, false},          // both sides are always evaluated
        {"1 > 2 || 3 >= 3", true, true},
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
    };
    for (const auto &c : cases) {
        bool ok = !c.ok;
        const bool value = parser.evaluateBool(QString::fromLatin1(c.text), ok);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(Expression, valuesCarryTheirKindAndFailuresTheirMessage)
{
    const struct { const char *text; const char *outcome; } cases[] = {
        {"1", "long long"},
        {"1.5", "double"},
        {"1 < 2", "boolean"},
        {"\"a b\"", "string a b"},
        {"\"\\n\"", "string \\n"},            // no escape sequences
        {"1 / 0", "divide by zero"},
        {"1.0 / 0.0", "divide by zero"},
        {"7 / 0.5", "divide by zero"},           // the divisor is truncated to 0
        {"(1 == 1) % 256", "divide by zero"},    // a boolean divides by a byte
        {"FOO + 1", "FOO symbol not found"},
        {"$(X) > 1", "X symbol not found"},  // "$" is a name, "(X)" its call
        {"a::b::c", "a::b::c symbol not found"},
        {"::g", "::g symbol not found"},
        {"this", "this symbol not found"},
        {"@r0", "unknown register"},
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
        {"1 ? 2 : 3", "unrecognised token: ? 2 : 3"},
        {"1, 2", "operator not supported"},
        {"8 >>> 1", "operator not supported"},
        {"1 +", "expression expected"},
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
        EXPECT_EQ(outcomeOf(c.text), QString::fromLatin1(c.outcome)) << c.text;
    EXPECT_EQ(Value().typeName(), "marker");
}
