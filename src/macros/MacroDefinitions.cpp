#include "macros/MacroDefinitions.h"

MacroMap parseMacroDefinitions(const QStringList &items)
{
    MacroMap macros;
    for (const QString &item : items) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals < 0)
            macros.insert(item, QString(QLatin1String("")));
        else
            macros.insert(item.left(equals), item.mid(equals + 1));
    }
    return macros;
}

QStringList macroDefinitionsFromMap(const MacroMap &macros)
{
    QStringList items;
    items.reserve(macros.size());
    for (auto entry = macros.constBegin(); entry != macros.constEnd(); ++entry)
        items.append(entry.key().trimmed() + u'=' + entry.value());
    return items;
}

MacroMap overlayMacros(const MacroMap &base, const MacroMap &overlay)
{
    MacroMap result = base;
    for (auto entry = overlay.constBegin(); entry != overlay.constEnd(); ++entry)
        result.insert(entry.key(), entry.value());
    return result;
}
