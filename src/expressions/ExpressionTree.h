#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

#include "expressions/ExpressionOperations.h"
#include "expressions/ExpressionValue.h"

class ExpressionParser;
class Expression;
// Operands are shared: x++ evaluates as Assign(x, x + 1) with x used twice.
using ExpressionPtr = std::shared_ptr<const Expression>;

// A node of a parsed expression. Evaluation asks the parser for anything
// that needs a program behind the expression (symbols, registers, memory).
class Expression {
public:
    virtual ~Expression() = default;
    virtual Value evaluate(ExpressionParser &parser) const = 0;

    // Levels of nodes from here down, which bounds evaluation recursion.
    int depth() const { return m_depth; }

protected:
    explicit Expression(std::initializer_list<const ExpressionPtr *> operands = {});
    // The operand's value with references resolved.
    static Value resolved(const ExpressionPtr &operand, ExpressionParser &parser);

private:
    int m_depth = 1;
};

class ConstantExpression : public Expression {
public:
    explicit ConstantExpression(const Value &value) : m_value(value) {}
    Value evaluate(ExpressionParser &) const override { return m_value; }

private:
    Value m_value;
};

class IntegerConstantExpression : public ConstantExpression {
public:
    explicit IntegerConstantExpression(qint64 value) : ConstantExpression(Value::fromSigned(value)) {}
};

class FloatConstantExpression : public ConstantExpression {
public:
    explicit FloatConstantExpression(double value) : ConstantExpression(Value::fromDouble(value)) {}
};

class StringConstantExpression : public ConstantExpression {
public:
    explicit StringConstantExpression(const QString &text) : ConstantExpression(Value::fromString(text)) {}
};

class IdentifierExpression : public Expression {
public:
    explicit IdentifierExpression(const QString &name) : m_name(name) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    QString m_name;
};

// A name qualified with "::"; a global name has an empty first part.
class ScopedIdentifierExpression : public Expression {
public:
    explicit ScopedIdentifierExpression(const QStringList &parts) : m_parts(parts) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    QStringList m_parts;
};

class RegisterExpression : public Expression {
public:
    explicit RegisterExpression(const QString &name) : m_name(name) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    QString m_name;
};

class SizeofExpression : public Expression {
public:
    explicit SizeofExpression(ExpressionPtr operand) : Expression({&operand}), m_operand(operand) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    ExpressionPtr m_operand;
};

class AddressofExpression : public Expression {
public:
    explicit AddressofExpression(ExpressionPtr operand) : Expression({&operand}), m_operand(operand) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    ExpressionPtr m_operand;
};

class CastExpression : public Expression {
public:
    CastExpression(const QString &type, ExpressionPtr operand)
        : Expression({&operand}), m_type(type), m_operand(operand) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    QString m_type;
    ExpressionPtr m_operand;
};

class CallExpression : public Expression {
public:
    CallExpression(ExpressionPtr function, const QList<ExpressionPtr> &arguments);
    Value evaluate(ExpressionParser &parser) const override;

private:
    ExpressionPtr m_function;
    QList<ExpressionPtr> m_arguments;
};

// Member access: operand.member, or operand->member when throughPointer.
class DotExpression : public Expression {
public:
    DotExpression(ExpressionPtr operand, const QString &member, bool throughPointer)
        : Expression({&operand}), m_operand(operand), m_member(member), m_throughPointer(throughPointer) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    ExpressionPtr m_operand;
    QString m_member;
    bool m_throughPointer;
};

// Indexing: operand[index] (and *operand as operand[0]).
class LeftSquareBracketExpression : public Expression {
public:
    LeftSquareBracketExpression(ExpressionPtr operand, ExpressionPtr index)
        : Expression({&operand, &index}), m_operand(operand), m_index(index) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    ExpressionPtr m_operand;
    ExpressionPtr m_index;
};

class AssignExpression : public Expression {
public:
    AssignExpression(ExpressionPtr target, ExpressionPtr value)
        : Expression({&target, &value}), m_target(target), m_value(value) {}
    Value evaluate(ExpressionParser &parser) const override;

private:
    ExpressionPtr m_target;
    ExpressionPtr m_value;
};

template <UnaryOperation operation>
class UnaryExpression : public Expression {
public:
    explicit UnaryExpression(ExpressionPtr operand) : Expression({&operand}), m_operand(operand) {}
    Value evaluate(ExpressionParser &parser) const override
    {
        return applyUnary(operation, resolved(m_operand, parser));
    }

private:
    ExpressionPtr m_operand;
};

using NegateExpression = UnaryExpression<UnaryOperation::Negate>;
using BitNotExpression = UnaryExpression<UnaryOperation::BitNot>;
using LogicalNotExpression = UnaryExpression<UnaryOperation::LogicalNot>;

// A binary operator: the right operand is evaluated first, then the left
// one; both always are (there is no short circuit).
template <BinaryOperation operation>
class BinaryExpression : public Expression {
public:
    BinaryExpression(ExpressionPtr left, ExpressionPtr right)
        : Expression({&left, &right}), m_left(left), m_right(right) {}
    Value evaluate(ExpressionParser &parser) const override
    {
        const Value right = resolved(m_right, parser);
        const Value left = resolved(m_left, parser);
        return applyBinary(operation, left, right);
    }

private:
    ExpressionPtr m_left;
    ExpressionPtr m_right;
};

using MultiplyExpression = BinaryExpression<BinaryOperation::Multiply>;
using DivideExpression = BinaryExpression<BinaryOperation::Divide>;
using ModExpression = BinaryExpression<BinaryOperation::Mod>;
using PlusExpression = BinaryExpression<BinaryOperation::Plus>;
using MinusExpression = BinaryExpression<BinaryOperation::Minus>;
using LshiftExpression = BinaryExpression<BinaryOperation::Lshift>;
using RshiftExpression = BinaryExpression<BinaryOperation::Rshift>;
using LtExpression = BinaryExpression<BinaryOperation::Lt>;
using LeExpression = BinaryExpression<BinaryOperation::Le>;
using GtExpression = BinaryExpression<BinaryOperation::Gt>;
using GeExpression = BinaryExpression<BinaryOperation::Ge>;
using EqExpression = BinaryExpression<BinaryOperation::Eq>;
using NeExpression = BinaryExpression<BinaryOperation::Ne>;
using BitAndExpression = BinaryExpression<BinaryOperation::BitAnd>;
using BitXorExpression = BinaryExpression<BinaryOperation::BitXor>;
using BitOrExpression = BinaryExpression<BinaryOperation::BitOr>;
using LogicalAndExpression = BinaryExpression<BinaryOperation::LogicalAnd>;
using LogicalOrExpression = BinaryExpression<BinaryOperation::LogicalOr>;
