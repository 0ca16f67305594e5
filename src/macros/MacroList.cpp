#include "macros/MacroList.h"

QStringList macroList(const QString &text, bool keepEmpty)
{
    QStringList items;
    QString current;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' && i + 1 < length) {
            current.append(text.at(++i));
        } else if (c == u';') {
            if (keepEmpty || !current.isEmpty())
                items.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (keepEmpty || !current.isEmpty())
        items.append(current);
    return items;
}

QString joinMacroList(const QStringList &items)
{
    QStringList escaped;
    escaped.reserve(items.size());
    for (QString item : items) {
        item.replace(u'\\', QLatin1String("\\\\"));
        item.replace(u';', QLatin1String("\\;"));
        escaped.append(item);
    }
    return escaped.join(u';');
}
