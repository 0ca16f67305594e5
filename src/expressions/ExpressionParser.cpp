#include "expressions/ExpressionParser.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// Parentheses and prefix operators nested deeper than this, or a tree
// deeper than the second limit, are refused rather than risking the stack.
constexpr int maximumNesting = 200;
constexpr int maximumDepth = 2000;

// C's own words that begin a type name in a cast.
const char *const typeWords[] = {"void", "char", "short", "int", "long", "float", "double",
                                 "signed", "unsigned", "struct", "register"};

bool isTypeWord(const QString &word)
{
    return std::find_if(std::begin(typeWords), std::end(typeWords),
                        [&](const char *t) { return word == QLatin1String(t); })
           != std::end(typeWords);
}

// How a binary operator token builds its node. A compound assignment
// "a op= b" becomes Assign(a, a op b).
struct OperatorRule {
    int token;
    ExpressionPtr (*make)(const ExpressionPtr &, const ExpressionPtr &);
    bool compound;
};

template <typename Node>
ExpressionPtr make(const ExpressionPtr &left, const ExpressionPtr &right)
{
    return std::make_shared<Node>(left, right);
}

const OperatorRule operatorRules[] = {
    {StarToken, make<MultiplyExpression>, false},
    {SlashToken, make<DivideExpression>, false},
    {PercentToken, make<ModExpression>, false},
    {PlusToken, make<PlusExpression>, false},
    {MinusToken, make<MinusExpression>, false},
    {LshiftToken, make<LshiftExpression>, false},
    {RshiftToken, make<RshiftExpression>, false},
    {LtToken, make<LtExpression>, false},
    {LeToken, make<LeExpression>, false},
    {GtToken, make<GtExpression>, false},
    {GeToken, make<GeExpression>, false},
    {EqToken, make<EqExpression>, false},
    {NeToken, make<NeExpression>, false},
    {AmpersandToken, make<BitAndExpression>, false},
    {CaretToken, make<BitXorExpression>, false},
    {BarToken, make<BitOrExpression>, false},
    {LogicalAndToken, make<LogicalAndExpression>, false},
    {LogicalOrToken, make<LogicalOrExpression>, false},
    {AssignToken, make<AssignExpression>, false},
    {MultiplyAssignToken, make<MultiplyExpression>, true},
    {DivideAssignToken, make<DivideExpression>, true},
    {ModAssignToken, make<ModExpression>, true},
    {PlusAssignToken, make<PlusExpression>, true},
    {MinusAssignToken, make<MinusExpression>, true},
    {LshiftAssignToken, make<LshiftExpression>, true},
    {RshiftAssignToken, make<RshiftExpression>, true},
    {AndAssignToken, make<BitAndExpression>, true},
    {XorAssignToken, make<BitXorExpression>, true},
    {OrAssignToken, make<BitOrExpression>, true},
};

// The value of an integer literal: "0x" hexadecimal, "0b" binary, a leading
// 0 octal. Digits are not checked against the base; letters count from 10.
qint64 integerLiteral(const Token &token)
{
    QStringView digits = token.text;
    unsigned base = 10;
    if (token.type == HexToken || token.type == BinaryToken) {
        base = token.type == HexToken ? 16 : 2;
        digits = digits.mid(2);
    } else if (digits.startsWith(u'0')) {
        base = 8;
    }
    quint64 value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const unsigned digit = u <= '9' ? u - '0' : (u | 0x20) - 'a' + 10;
        value = value * base + digit;
    }
    return qint64(value);
}

[[noreturn]] void fail(const char *message)
{
    throw ParserException(QString::fromLatin1(message));
}

struct NestingGuard {
    explicit NestingGuard(int &nesting) : m_nesting(nesting)
    {
        if (++m_nesting > maximumNesting)
            fail("expression nested too deeply");
    }
    ~NestingGuard() { --m_nesting; }
    int &m_nesting;
};

} // namespace

Value ExpressionParser::evaluate(const QString &text)
{
    if (text.isEmpty())
        return Value();
    m_nesting = 0;
    m_tokenizer.setText(text);
    const ExpressionPtr tree = parseBinary(-4);
    const Value value = tree->evaluate(*this);
    return value.kind == Value::Reference ? dereference(value) : value;
}

ExpressionPtr ExpressionParser::parseBinary(int level)
{
    auto operand = [&] { return level == 9 ? parseUnary() : parseBinary(level + 1); };
    ExpressionPtr left = operand();
    while (m_tokenizer.current().level == level) {
        const int type = m_tokenizer.current().type;
        m_tokenizer.advance();
        const ExpressionPtr right = operand();
        left = combine(type, left, right);
    }
    return left;
}

ExpressionPtr ExpressionParser::combine(int tokenType, const ExpressionPtr &left,
                                        const ExpressionPtr &right)
{
    for (const OperatorRule &rule : operatorRules) {
        if (rule.token != tokenType)
            continue;
        if (!rule.compound)
            return checked(rule.make(left, right));
        return checked(std::make_shared<AssignExpression>(left, checked(rule.make(left, right))));
    }
    fail("operator not supported");
}

ExpressionPtr ExpressionParser::parseUnary()
{
    NestingGuard guard(m_nesting);
    const int type = m_tokenizer.current().type;
    auto next = [&] {
        m_tokenizer.advance();
        return parseUnary();
    };
    switch (type) {
    case IncrementToken:
    case DecrementToken: {
        const ExpressionPtr target = next();
        return combine(type == IncrementToken ? PlusAssignToken : MinusAssignToken, target,
                       std::make_shared<IntegerConstantExpression>(1));
    }
    case BitNotToken: return checked(std::make_shared<BitNotExpression>(next()));
    case LogicalNotToken: return checked(std::make_shared<LogicalNotExpression>(next()));
    case MinusToken: return checked(std::make_shared<NegateExpression>(next()));
    case PlusToken: return next();
    case StarToken:
        return checked(std::make_shared<LeftSquareBracketExpression>(
            next(), std::make_shared<ConstantExpression>(Value::fromUnsigned(0))));
    case AmpersandToken: return checked(std::make_shared<AddressofExpression>(next()));
    default: return parsePostfix(parsePrimary());
    }
}

ExpressionPtr ExpressionParser::parsePrimary()
{
    const Token token = m_tokenizer.current();
    switch (token.type) {
    case DecimalToken:
    case HexToken:
    case BinaryToken:
        m_tokenizer.advance();
        return std::make_shared<IntegerConstantExpression>(integerLiteral(token));
    case FloatToken:
        m_tokenizer.advance();
        return std::make_shared<FloatConstantExpression>(token.text.toDouble());
    case StringToken:
        m_tokenizer.advance();
        return std::make_shared<StringConstantExpression>(token.text.mid(1, token.text.size() - 2));
    case RegisterToken:
        m_tokenizer.advance();
        return std::make_shared<RegisterExpression>(token.text.mid(1));
    case IdentifierToken:
        m_tokenizer.advance();
        if (token.text == QLatin1String("sizeof")) {
            expect(LeftParenToken, "'(' expected");
            const ExpressionPtr operand = parseBinary(-4);
            expect(RightParenToken, "')' expected");
            return checked(std::make_shared<SizeofExpression>(operand));
        }
        return parseIdentifier({token.text});
    case ScopeToken:
        return parseIdentifier({QString()}); // a global name
    case LeftParenToken:
        m_tokenizer.advance();
        return parseParenthesised();
    default:
        fail("expression expected");
    }
}

ExpressionPtr ExpressionParser::parseIdentifier(QStringList parts)
{
    while (m_tokenizer.current().type == ScopeToken) {
        m_tokenizer.advance();
        if (m_tokenizer.current().type != IdentifierToken)
            fail("identifier expected");
        parts << m_tokenizer.current().text;
        m_tokenizer.advance();
    }
    if (parts.size() == 1)
        return std::make_shared<IdentifierExpression>(parts.first());
    return std::make_shared<ScopedIdentifierExpression>(parts);
}

ExpressionPtr ExpressionParser::parseParenthesised()
{
    const ExpressionTokenizer::Mark start = m_tokenizer.mark();
    QString type;
    if (parseTypeName(type) && m_tokenizer.current().type == RightParenToken) {
        m_tokenizer.advance();
        return checked(std::make_shared<CastExpression>(type, parseUnary()));
    }
    m_tokenizer.reset(start);
    const ExpressionPtr inner = parseBinary(-4);
    expect(RightParenToken, "')' expected");
    return inner;
}

bool ExpressionParser::parseTypeName(QString &type)
{
    QStringList words;
    while (m_tokenizer.current().type == IdentifierToken) {
        const QString word = m_tokenizer.current().text;
        const bool afterStruct = !words.isEmpty() && words.last() == QLatin1String("struct");
        if (!afterStruct && !isTypeWord(word) && !(words.isEmpty() && isTypeName(word)))
            break;
        words << word;
        m_tokenizer.advance();
    }
    if (words.isEmpty() || words.last() == QLatin1String("struct"))
        return false;
    while (m_tokenizer.current().type == StarToken) {
        words << QStringLiteral("*");
        m_tokenizer.advance();
    }
    type = words.join(u' ');
    return true;
}

ExpressionPtr ExpressionParser::parsePostfix(ExpressionPtr operand)
{
    for (;;) {
        switch (m_tokenizer.current().type) {
        case LeftBracketToken: {
            m_tokenizer.advance();
            const ExpressionPtr index = parseBinary(-4);
            expect(RightBracketToken, "expected ']'");
            operand = checked(std::make_shared<LeftSquareBracketExpression>(operand, index));
            break;
        }
        case DotToken:
        case ArrowToken: {
            const bool throughPointer = m_tokenizer.current().type == ArrowToken;
            m_tokenizer.advance();
            if (m_tokenizer.current().type != IdentifierToken)
                fail("member name expected");
            operand = checked(std::make_shared<DotExpression>(operand, m_tokenizer.current().text,
                                                              throughPointer));
            m_tokenizer.advance();
            break;
        }
        case IncrementToken:
        case DecrementToken: {
            const int type = m_tokenizer.current().type;
            m_tokenizer.advance();
            operand = combine(type == IncrementToken ? PlusAssignToken : MinusAssignToken, operand,
                              std::make_shared<IntegerConstantExpression>(1));
            break;
        }
        case LeftParenToken: {
            m_tokenizer.advance();
            QList<ExpressionPtr> arguments;
            while (m_tokenizer.current().type != RightParenToken) {
                arguments << parseBinary(-3);
                if (m_tokenizer.current().type != CommaToken)
                    break;
                m_tokenizer.advance();
            }
            expect(RightParenToken, "')' expected");
            operand = checked(std::make_shared<CallExpression>(operand, arguments));
            break;
        }
        default:
            return operand;
        }
    }
}

void ExpressionParser::expect(int tokenType, const char *message)
{
    if (m_tokenizer.current().type != tokenType)
        fail(message);
    m_tokenizer.advance();
}

ExpressionPtr ExpressionParser::checked(ExpressionPtr node)
{
    if (node->depth() > maximumDepth)
        fail("expression too complex");
    return node;
}
