#include "expressions/ExpressionTree.h"

#include <algorithm>

#include "expressions/ExpressionParser.h"

Expression::Expression(std::initializer_list<const ExpressionPtr *> operands)
{
    for (const ExpressionPtr *operand : operands)
        m_depth = std::max(m_depth, (*operand)->depth() + 1);
}

Value Expression::resolved(const ExpressionPtr &operand, ExpressionParser &parser)
{
    const Value value = operand->evaluate(parser);
    return value.kind == Value::Reference ? parser.dereference(value) : value;
}

Value IdentifierExpression::evaluate(ExpressionParser &parser) const
{
    if (m_name == QLatin1String("this"))
        return parser.lookupThis();
    return parser.lookupSymbol(m_name);
}

Value ScopedIdentifierExpression::evaluate(ExpressionParser &parser) const
{
    return parser.lookupScopedSymbol(m_parts);
}

Value RegisterExpression::evaluate(ExpressionParser &parser) const
{
    return parser.lookupRegister(m_name);
}

Value SizeofExpression::evaluate(ExpressionParser &parser) const
{
    return parser.sizeOf(*m_operand);
}

Value AddressofExpression::evaluate(ExpressionParser &parser) const
{
    return parser.addressOf(m_operand->evaluate(parser));
}

Value CastExpression::evaluate(ExpressionParser &parser) const
{
    return parser.cast(m_type, resolved(m_operand, parser));
}

CallExpression::CallExpression(ExpressionPtr function, const QList<ExpressionPtr> &arguments)
    : Expression({&function}), m_function(function), m_arguments(arguments)
{
}

Value CallExpression::evaluate(ExpressionParser &parser) const
{
    QList<Value> values;
    for (const ExpressionPtr &argument : m_arguments)
        values << resolved(argument, parser);
    return parser.call(m_function->evaluate(parser), values);
}

Value DotExpression::evaluate(ExpressionParser &parser) const
{
    return parser.member(m_operand->evaluate(parser), m_member, m_throughPointer);
}

Value LeftSquareBracketExpression::evaluate(ExpressionParser &parser) const
{
    const Value index = resolved(m_index, parser);
    return parser.index(resolved(m_operand, parser), index);
}

Value AssignExpression::evaluate(ExpressionParser &parser) const
{
    const Value value = resolved(m_value, parser);
    return parser.assign(m_target->evaluate(parser), value);
}
