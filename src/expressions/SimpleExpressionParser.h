#pragma once

#include <QString>
#include <QtGlobal>

#include "expressions/ExpressionParser.h"

// The expression engine without a program behind it: only literals can be
// combined, so every symbol, register, memory, cast, sizeof and call fails.
// The evaluate operations never throw; ok tells whether the text gave a
// value of the wanted kind.
class SimpleExpressionParser : public ExpressionParser {
public:
    // A numeric result as an unsigned 64-bit number (integers zero-extended
    // from their width, floating values truncated toward zero).
    quint64 evaluateUnsigned(const QString &text, bool &ok);
    // The same, integers sign-extended from their width.
    qint64 evaluateSigned(const QString &text, bool &ok);
    // A boolean result; any other kind of result is a failure.
    bool evaluateBool(const QString &text, bool &ok);

    Value lookupSymbol(const QString &name) override;
    Value lookupScopedSymbol(const QStringList &parts) override;
    Value lookupThis() override;
    Value lookupRegister(const QString &name) override;
    bool isTypeName(const QString &name) override;
    Value cast(const QString &type, const Value &value) override;
    Value dereference(const Value &reference) override;
    Value index(const Value &value, const Value &index) override;
    Value member(const Value &value, const QString &name, bool throughPointer) override;
    Value addressOf(const Value &value) override;
    Value sizeOf(const Expression &expression) override;
    Value call(const Value &function, const QList<Value> &arguments) override;
    Value assign(const Value &target, const Value &value) override;

private:
    // The numeric value of text, or nothing.
    bool evaluateNumber(const QString &text, Value &value);
};
