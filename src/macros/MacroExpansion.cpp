#include "macros/MacroExpansion.h"

#include <QDateTime>

namespace {

// Expansion repeats while a pass met a '$' inside a reference. A text can
// keep asking for another pass forever (a macro whose value refers to
// itself); after this many passes the text is returned as it stands.
constexpr int maximumPasses = 64;
// Each such pass may also insert the values again, so a value that refers
// to itself twice doubles the text every pass. A pass whose result would
// grow beyond the text given by more than this many characters is
// abandoned, and the text is returned as the pass before left it.
constexpr qsizetype maximumGrowth = 1 << 20;

struct Pass {
    QString result;
    bool again = false;
    bool tooLong = false;
};

// One left-to-right pass over text.
Pass expandOnce(const QString &text, const MacroMap &macros, qsizetype maximumLength)
{
    Pass pass;
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        const QChar c = text.at(i);
        if (c != u'$' || i + 1 >= length || text.at(i + 1) != u'(') {
            pass.result.append(c);
            ++i;
            continue;
        }
        QString inner;
        int depth = 1;
        qsizetype j = i + 2;
        bool closed = false;
        for (; j < length; ++j) {
            const QChar d = text.at(j);
            if (d == u')' && --depth == 0) {
                closed = true;
                break;
            }
            if (d == u'(')
                ++depth;
            else if (d == u'$')
                pass.again = true;
            inner.append(d);
        }
        if (!closed) {
            // An unterminated reference drops its '$'; the rest is copied.
            ++i;
            continue;
        }
        QString name = inner;
        QString fallback = QStringLiteral("$(") + inner + u')';
        const qsizetype colon = inner.indexOf(u':');
        if (colon >= 0) {
            name = inner.left(colon);
            if (colon + 1 < inner.size() && inner.at(colon + 1) == u':') {
                fallback = inner.mid(colon + 2);
                pass.again = false;
            } else {
                fallback = inner.mid(colon + 1);
            }
        }
        const auto found = macros.constFind(name);
        if (found == macros.constEnd()) {
            pass.result.append(fallback);
        } else {
            const QString computed = dateTimeMacroValue(name);
            pass.result.append(computed.isNull() ? found.value() : computed);
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
