#include "macros/MacroExpansion.h"

#include <QDateTime>

#include <vector>

namespace {

// Expansion repeats while a pass met a '$' inside a reference. A text can
// keep asking for another pass forever (a macro whose value refers to
// itself); after this many passes the text is returned as it stands.
constexpr int maximumPasses = 64;
// Each such pass may also insert the values again, so a value that refers
// to itself twice doubles the text every pass. A pass whose result would
// grow beyond the text given by more than this many characters is
// abandoned, and the text is returned as the pass before left it. Texts are
// expanded again wherever they are used, so the bound is kept far below
// what memory allows: no path or option list comes near it.
constexpr qsizetype maximumGrowth = 1 << 16;

struct Pass {
    QString result;
    bool again = false;
    bool tooLong = false;
};

// Where each "(" of text is closed: the first ")" after it at which the
// parentheses between balance, or -1 when none does.
std::vector<qsizetype> closingParentheses(const QString &text)
{
    std::vector<qsizetype> closing(size_t(text.size()), -1);
    std::vector<qsizetype> open;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'(') {
            open.push_back(i);
        } else if (text.at(i) == u')' && !open.empty()) {
            closing[size_t(open.back())] = i;
            open.pop_back();
        }
    }
    return closing;
}

// One left-to-right pass over text. Where every reference ends is found
// beforehand, in one scan, so that references left open (each of which
// would otherwise be followed to the end of the text) keep the pass linear.
Pass expandOnce(const QString &text, const MacroMap &macros, qsizetype maximumLength)
{
    Pass pass;
    const qsizetype length = text.size();
    const std::vector<qsizetype> closing = closingParentheses(text);
    // The position of the first '$', and of the first ':', at or after each
    // position: a reference left open finds both without a scan to the end
    // of the text.
    std::vector<qsizetype> nextDollar(size_t(length) + 1, length), nextColon(size_t(length) + 1, length);
    for (qsizetype i = length - 1; i >= 0; --i) {
        nextDollar[size_t(i)] = text.at(i) == u'$' ? i : nextDollar[size_t(i) + 1];
        nextColon[size_t(i)] = text.at(i) == u':' ? i : nextColon[size_t(i) + 1];
    }
    qsizetype i = 0;
    while (i < length) {
        const qsizetype dollar = nextDollar[size_t(i)];
        pass.result.append(QStringView(text).mid(i, dollar - i));
        i = dollar;
        if (i >= length)
            break;
        if (i + 1 >= length || text.at(i + 1) != u'(') {
            pass.result.append(u'$');
            ++i;
            continue;
        }
        // A '$' inside the reference asks for another pass. The inner text
        // of a reference left open runs to the end of the text.
        const qsizetype j = closing[size_t(i) + 1];
        const qsizetype end = j < 0 ? length : j;
        if (nextDollar[size_t(i) + 2] < end)
            pass.again = true;
        const QStringView inner = QStringView(text).mid(i + 2, end - i - 2);
        const qsizetype colon = nextColon[size_t(i) + 2] < end ? nextColon[size_t(i) + 2] - i - 2 : -1;
        // $(Name::default) asks for no further pass, whether or not the name
        // is defined, and even when the reference is left open.
        const bool finalForm = colon >= 0 && colon + 1 < inner.size() && inner.at(colon + 1) == u':';
        if (finalForm)
            pass.again = false;
        if (j < 0) {
            // An unterminated reference drops its '$'; the rest is copied.
            ++i;
            continue;
        }
        const QString name = (colon < 0 ? inner : inner.left(colon)).toString();
        const auto found = macros.constFind(name);
        if (found != macros.constEnd()) {
            const QString computed = dateTimeMacroValue(name);
            pass.result.append(computed.isNull() ? found.value() : computed);
        } else if (colon < 0) {
            pass.result.append(QStringView(text).mid(i, j + 1 - i)); // the reference itself
        } else {
            pass.result.append(inner.mid(colon + (finalForm ? 2 : 1)));
        }
        if (pass.result.size() > maximumLength) {
            pass.tooLong = true;
            return pass;
        }
        i = j + 1;
    }
    return pass;
}

} // namespace

QString dateTimeMacroValue(const QString &name)
{
    static const struct {
        const char *name;
        const char *pattern;
        bool isDate;
    } names[] = {
        {"Date", "d MMMM yyyy", true}, {"DateYear", "yyyy", true},
        {"DateMonth", "MM", true},     {"DateDay", "dd", true},
        {"Time", "hh:mm:ss", false},   {"TimeHour", "hh", false},
        {"TimeMinute", "mm", false},   {"TimeSecond", "ss", false},
    };
    for (const auto &entry : names) {
        if (name != QLatin1String(entry.name))
            continue;
        const QString pattern = QString::fromLatin1(entry.pattern);
        return entry.isDate ? QDate::currentDate().toString(pattern)
                            : QTime::currentTime().toString(pattern);
    }
    return QString();
}

QString expandMacros(const QString &text, const MacroMap &macros)
{
    const qsizetype maximumLength = text.size() + maximumGrowth;
    QString current = text;
    for (int passes = 0; passes < maximumPasses; ++passes) {
        if (current.isEmpty())
            return QString(QLatin1String(""));
        Pass pass = expandOnce(current, macros, maximumLength);
        if (pass.tooLong)
            return current;
        if (!pass.again)
            return pass.result;
        current = pass.result;
    }
    return current;
}
