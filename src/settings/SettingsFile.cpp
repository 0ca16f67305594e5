#include "settings/SettingsFile.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>
#include <QList>

#include <cctype>

namespace {

const QChar middleDot(0xb7);

struct Replacement {
    const char *text;
    QChar character;
};

const Replacement escapes[] = {
    {"&amp;", u'&'}, {"&gt;", u'>'}, {"&lt;", u'<'}, {"&quot;", u'"'}, {"&apos;", u'\''}, {"&middot;", middleDot},
};

const Replacement unescapes[] = {
    {"&amp;", u'&'},  {"&lt;", u'<'},   {"&gt;", u'>'},        {"&quot;", u'"'},
    {"&apos;", u'\''}, {"&nbsp;", u' '}, {"&middot;", middleDot},
};

// The XML reader knows only the five predefined entities; any other named
// reference ("&middot;" in particular) is handed through as text so that
// unescapeSettingValue can decode it and a file holding one stays readable.
QByteArray passUnknownEntitiesThrough(const QByteArray &contents)
{
    static const QList<QByteArray> predefined{"amp", "lt", "gt", "quot", "apos"};
    const auto isNameByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
               || c == '.';
    };
    QByteArray result;
    result.reserve(contents.size());
    for (qsizetype i = 0; i < contents.size(); ++i) {
        result.append(contents.at(i));
        if (contents.at(i) != '&')
            continue;
        qsizetype end = i + 1;
        while (end < contents.size() && isNameByte(contents.at(end)))
            ++end;
        if (end > i + 1 && end < contents.size() && contents.at(end) == ';'
            && !predefined.contains(contents.mid(i + 1, end - i - 1)))
            result.append("amp;");
    }
    return result;
}

// The XML reader drops character data that is only white space, which would
// turn a value of spaces into an empty one. Such a value of a "setting"
// element is handed over as a CDATA section instead, which the reader keeps.
QByteArray keepSpaceOnlyValues(const QByteArray &contents)
{
    static const QByteArray startTag = "<setting";
    QByteArray result;
    result.reserve(contents.size());
    qsizetype copied = 0;
    for (qsizetype tag = contents.indexOf(startTag); tag >= 0; tag = contents.indexOf(startTag, tag + 1)) {
        const qsizetype after = tag + startTag.size();
        if (after >= contents.size() || !(std::isspace(uchar(contents.at(after))) || contents.at(after) == '>'))
            continue;
        qsizetype end = after;
        for (char quote = 0; end < contents.size(); ++end) {
            const char c = contents.at(end);
            if (quote)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }
        if (end >= contents.size() || contents.at(end - 1) == '/')
            continue;
        const qsizetype textStart = end + 1;
        qsizetype textEnd = textStart;
        while (textEnd < contents.size() && std::isspace(uchar(contents.at(textEnd))))
            ++textEnd;
        if (textEnd == textStart || !contents.mid(textEnd, 2).startsWith("</"))
            continue;
        result.append(contents.mid(copied, textStart - copied));
        result.append("<![CDATA[").append(contents.mid(textStart, textEnd - textStart)).append("]]>");
        copied = textEnd;
    }
    result.append(contents.mid(copied));
    return result;
}


} // namespace

QString escapeSettingValue(const QString &value)
{
    QString text = value;
    for (const Replacement &replacement : escapes)
        text.replace(replacement.character, QLatin1String(replacement.text));
    return text;
}

QString unescapeSettingValue(const QString &text)
{
    QString value = text;
    for (const Replacement &replacement : unescapes)
        value.replace(QLatin1String(replacement.text), QString(replacement.character));
    return value;
}

QByteArray formatSettingsFile(const SettingsMap &settings)
{
    QString text = QStringLiteral("<!DOCTYPE Fernhollow_Settings_File>\n<settings>\n");
    for (auto entry = settings.constBegin(); entry != settings.constEnd(); ++entry) {
        text += QStringLiteral("  <setting name=\"") + entry.key() + QStringLiteral("\">")
                + escapeSettingValue(entry.value()) + QStringLiteral("</setting>\n");
    }
    text += QStringLiteral("</settings>\n");
    return text.toUtf8();
}

bool parseSettingsFile(const QByteArray &contents, SettingsMap &settings)
{
    QDomDocument document;
    if (!document.setContent(keepSpaceOnlyValues(passUnknownEntitiesThrough(contents))))
        return false;
    const QDomNodeList elements = document.elementsByTagName(QStringLiteral("setting"));
    for (int i = 0; i < elements.count(); ++i) {
        const QDomElement element = elements.at(i).toElement();
        const QString name = element.attribute(QStringLiteral("name"));
        if (name.isEmpty())
            continue;
        settings.insert(name, unescapeSettingValue(element.firstChild().nodeValue()));
    }
    return true;
}
