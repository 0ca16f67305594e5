#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "expressions/ExpressionTokenizer.h"
#include "expressions/ExpressionTree.h"
#include "expressions/ExpressionValue.h"
#include "expressions/ParserException.h"

// The C expression engine: tokenizes a text, parses it by precedence
// climbing into an expression tree and evaluates the tree. What needs a
// program behind the expression (symbols, registers, memory, types, calls)
// is asked of the services below, which a derived parser provides. Every
// failure throws ParserException.
class ExpressionParser {
public:
    virtual ~ExpressionParser() = default;

    // The value of text; an empty text gives a value of kind None. Tokens
    // after a complete expression are ignored.
    Value evaluate(const QString &text);

    // Services.
    virtual Value lookupSymbol(const QString &name) = 0;
    virtual Value lookupScopedSymbol(const QStringList &parts) = 0;
    virtual Value lookupThis() = 0;
    virtual Value lookupRegister(const QString &name) = 0;
    // True when name names a type of the program (beyond C's own type words).
    virtual bool isTypeName(const QString &name) = 0;
    virtual Value cast(const QString &type, const Value &value) = 0;
    virtual Value dereference(const Value &reference) = 0;
    virtual Value index(const Value &value, const Value &index) = 0;
    virtual Value member(const Value &value, const QString &name, bool throughPointer) = 0;
    virtual Value addressOf(const Value &value) = 0;
    virtual Value sizeOf(const Expression &expression) = 0;
    virtual Value call(const Value &function, const QList<Value> &arguments) = 0;
    virtual Value assign(const Value &target, const Value &value) = 0;

private:
    ExpressionPtr parseBinary(int level);
    ExpressionPtr parseUnary();
    ExpressionPtr parsePrimary();
    ExpressionPtr parsePostfix(ExpressionPtr operand);
    ExpressionPtr parseIdentifier(QStringList parts);
    ExpressionPtr parseParenthesised();
    bool parseTypeName(QString &type);
    ExpressionPtr combine(int tokenType, const ExpressionPtr &left, const ExpressionPtr &right);
    void expect(int tokenType, const char *message);
    ExpressionPtr checked(ExpressionPtr node);

    ExpressionTokenizer m_tokenizer;
    int m_nesting = 0;
};
