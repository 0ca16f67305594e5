#include "expressions/ExpressionTokenizer.h"

#include <QRegularExpression>

#include <vector>

#include "expressions/ParserException.h"

namespace {

struct TokenRule {
    const char *pattern;
    int type;
    int level;
};

// Tried in this order: longer operators come before their prefixes.
const TokenRule tokenRules[] = {
    // pattern                   type                        level
    {R"([\s]+)",                 WhitespaceToken,            10},
    {R"("[^"]*")",               StringToken,                10},
    {R"(0x[0-9A-Fa-f]*)",        HexToken,                   10},
    {R"(0b[0-1]*)",              BinaryToken,                10},
    {R"(\d+\.\d+)",              FloatToken,                 10},
    {R"(\d+)",                   DecimalToken,               10},
    {R"([A-Za-z_$][A-Za-z_0-9$]*)", IdentifierToken,         10},
    {R"(@[A-Za-z_0-9]*)",        RegisterToken,              10},
    {R"(;)",                     SemicolonToken,             10},
    {R"(::)",                    ScopeToken,                 10},
    {R"(:)",                     ColonToken,                 10},
    {R"(\()",                    LeftParenToken,             10},
    {R"(\))",                    RightParenToken,            10},
    {R"(\[)",                    LeftBracketToken,           10},
    {R"(\])",                    RightBracketToken,          10},
    {R"(\{)",                    LeftBraceToken,             10},
    {R"(\})",                    RightBraceToken,            10},
    {R"(\.)",                    DotToken,                   10},
    {R"(->)",                    ArrowToken,                 10},
    {R"(\+\+)",                  IncrementToken,             10},
    {R"(\-\-)",                  DecrementToken,             10},
    {R"(!=)",                    NeToken,                    5},
    {R"(!)",                     LogicalNotToken,            10},
    {R"(~)",                     BitNotToken,                10},
    {R"(\*=)",                   MultiplyAssignToken,        -3},
    {R"(\*)",                    StarToken,                  9},
    {R"(/=)",                    DivideAssignToken,          -3},
    {R"(/)",                     SlashToken,                 9},
    {R"(%=)",                    ModAssignToken,             -3},
    {R"(%)",                     PercentToken,               9},
    {R"(\+=)",                   PlusAssignToken,            -3},
    {R"(\+)",                    PlusToken,                  8},
    {R"(\-=)",                   MinusAssignToken,           -3},
    {R"(-)",                     MinusToken,                 8},
    {R"(<<=)",                   LshiftAssignToken,          -3},
    {R"(<<)",                    LshiftToken,                7},
    {R"(>>>=)",                  UnsignedRshiftAssignToken,  -3},
    {R"(>>>)",                   UnsignedRshiftToken,        7},
    {R"(>>=)",                   RshiftAssignToken,          -3},
    {R"(>>)",                    RshiftToken,                7},
    {R"(<=)",                    LeToken,                    6},
    {R"(<)",                     LtToken,                    6},
    {R"(>=)",                    GeToken,                    6},
    {R"(>)",                     GtToken,                    6},
    {R"(==)",                    EqToken,                    5},
    {R"(\^=)",                   XorAssignToken,             -3},
    {R"(\^)",                    CaretToken,                 3},
    {R"(&=)",                    AndAssignToken,             -3},
    {R"(&&)",                    LogicalAndToken,            1},
    {R"(&)",                     AmpersandToken,             4},
    {R"(\|=)",                   OrAssignToken,              -3},
    {R"(\|\|)",                  LogicalOrToken,             0},
    {R"(\|)",                    BarToken,                   2},
    {R"(=)",                     AssignToken,                -2},
    {R"(,)",                     CommaToken,                 -4},
};

struct CompiledRule {
    QRegularExpression pattern;
    int type;
    int level;
};

const std::vector<CompiledRule> &compiledRules()
{
    static const std::vector<CompiledRule> rules = [] {
        std::vector<CompiledRule> list;
        for (const TokenRule &rule : tokenRules)
            list.push_back({QRegularExpression(QString::fromLatin1(rule.pattern)), rule.type, rule.level});
        return list;
    }();
    return rules;
}

} // namespace

void ExpressionTokenizer::setText(const QString &text)
{
    m_text = text;
    m_position = 0;
    // Checking the subject on every match would cost the whole rest of the
    // text per token; a text that is valid UTF-16 needs checking only once.
    m_matchOptions = QRegularExpression::AnchorAtOffsetMatchOption;
    if (text.isValidUtf16())
        m_matchOptions |= QRegularExpression::DontCheckSubjectStringMatchOption;
    advance();
}

void ExpressionTokenizer::advance()
{
    for (;;) {
        if (m_position >= m_text.size()) {
            m_current = Token();
            return;
        }
        const CompiledRule *found = nullptr;
        QRegularExpressionMatch match;
        for (const CompiledRule &rule : compiledRules()) {
            match = rule.pattern.match(m_text, m_position, QRegularExpression::NormalMatch,
                                       m_matchOptions);
            if (match.hasMatch()) {
                found = &rule;
                break;
            }
        }
        if (!found)
            throw ParserException(QStringLiteral("unrecognised token: ") + m_text.mid(m_position));
        m_position += match.capturedLength();
        if (found->type == WhitespaceToken)
            continue;
        m_current = {found->type, found->level, match.captured()};
        return;
    }
}

void ExpressionTokenizer::reset(const Mark &mark)
{
    m_position = mark.position;
    m_current = mark.current;
}
