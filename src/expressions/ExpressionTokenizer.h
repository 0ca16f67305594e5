#pragma once

#include <QRegularExpression>
#include <QString>

// Token types of the expression language (0 is the end of the input).
enum TokenType {
    EndToken = 0, WhitespaceToken = 2, DecimalToken = 3, HexToken = 4, BinaryToken = 5,
    FloatToken = 6, StringToken = 7, IdentifierToken = 8, RegisterToken = 9,
    SemicolonToken = 10, ColonToken = 11, ScopeToken = 12, LeftParenToken = 13,
    RightParenToken = 14, LeftBracketToken = 15, RightBracketToken = 16,
    LeftBraceToken = 17, RightBraceToken = 18, DotToken = 19, ArrowToken = 20,
    IncrementToken = 21, DecrementToken = 22, BitNotToken = 23, LogicalNotToken = 24,
    StarToken = 25, SlashToken = 26, PercentToken = 27, PlusToken = 28, MinusToken = 29,
    LshiftToken = 30, RshiftToken = 31, UnsignedRshiftToken = 32, LtToken = 33, LeToken = 34,
    GtToken = 35, GeToken = 36, EqToken = 37, NeToken = 38, AmpersandToken = 39,
    CaretToken = 40, BarToken = 41, LogicalAndToken = 42, LogicalOrToken = 43,
    AssignToken = 45, PlusAssignToken = 46, MinusAssignToken = 47, MultiplyAssignToken = 48,
    DivideAssignToken = 49, ModAssignToken = 50, RshiftAssignToken = 51,
    LshiftAssignToken = 52, UnsignedRshiftAssignToken = 53, AndAssignToken = 54,
    XorAssignToken = 55, OrAssignToken = 56, CommaToken = 57,
};

// The binding level of tokens that are not binary operators.
constexpr int noBinaryLevel = 10;

struct Token {
    int type = EndToken;
    int level = noBinaryLevel;
    QString text;
};

// Splits an expression into tokens by trying an ordered list of patterns at
// the current position; the first that matches there wins.
class ExpressionTokenizer {
public:
    // Starts over on a new text and reads its first token.
    void setText(const QString &text);
    // Reads the next token (whitespace is skipped); throws ParserException
    // for text that no rule matches.
    void advance();

    const Token &current() const { return m_current; }

    // The position to come back to when a guess about the tokens fails.
    struct Mark {
        qsizetype position;
        Token current;
    };
    Mark mark() const { return {m_position, m_current}; }
    void reset(const Mark &mark);

private:
    QString m_text;
    qsizetype m_position = 0;
    Token m_current;
    QRegularExpression::MatchOptions m_matchOptions;
};
