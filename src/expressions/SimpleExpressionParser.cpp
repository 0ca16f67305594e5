#include "expressions/SimpleExpressionParser.h"

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw ParserException(message);
}

[[noreturn]] void fail(const char *message)
{
    fail(QString::fromLatin1(message));
}

} // namespace

bool SimpleExpressionParser::evaluateNumber(const QString &text, Value &value)
{
    try {
        value = evaluate(text);
    } catch (const ParserException &) {
        return false;
    }
    return value.isNumeric();
}

quint64 SimpleExpressionParser::evaluateUnsigned(const QString &text, bool &ok)
{
    Value value;
    ok = evaluateNumber(text, value);
    if (!ok)
        return 0;
    return value.kind == Value::Floating ? value.toUnsigned64() : value.zeroExtended();
}

qint64 SimpleExpressionParser::evaluateSigned(const QString &text, bool &ok)
{
    Value value;
    ok = evaluateNumber(text, value);
    if (!ok)
        return 0;
    return value.kind == Value::Floating ? value.toSigned64() : value.signExtended();
}

bool SimpleExpressionParser::evaluateBool(const QString &text, bool &ok)
{
    ok = false;
    try {
        const Value value = evaluate(text);
        ok = value.kind == Value::Boolean;
        return ok && value.boolean;
    } catch (const ParserException &) {
        return false;
    }
}

Value SimpleExpressionParser::lookupSymbol(const QString &name)
{
    fail(name + QStringLiteral(" symbol not found"));
}

Value SimpleExpressionParser::lookupScopedSymbol(const QStringList &parts)
{
    fail(parts.join(QStringLiteral("::")) + QStringLiteral(" symbol not found"));
}

Value SimpleExpressionParser::lookupThis()
{
    fail("this symbol not found");
}

Value SimpleExpressionParser::lookupRegister(const QString &)
{
    fail("unknown register");
}

bool SimpleExpressionParser::isTypeName(const QString &)
{
    return false;
}

Value SimpleExpressionParser::cast(const QString &, const Value &)
{
    fail("cannot cast");
}

Value SimpleExpressionParser::dereference(const Value &)
{
    fail("cannot dereference");
}

Value SimpleExpressionParser::index(const Value &, const Value &)
{
    fail("cannot dereference");
}

Value SimpleExpressionParser::member(const Value &, const QString &, bool)
{
    fail("cannot dereference");
}

Value SimpleExpressionParser::addressOf(const Value &)
{
    fail("addressof not implemented");
}

Value SimpleExpressionParser::sizeOf(const Expression &)
{
    fail("sizeof not implemented");
}

Value SimpleExpressionParser::call(const Value &, const QList<Value> &)
{
    fail("function calling not implemented");
}

Value SimpleExpressionParser::assign(const Value &, const Value &)
{
    fail("cannot dereference");
}
