#pragma once

#include <QString>
#include <QStringList>

// The list codec: items separated by ';', with '\' taking the next character
// literally. Empty items are kept only when keepEmpty is true.
QStringList macroList(const QString &text, bool keepEmpty);

// Joins items with ';', putting '\' before every ';' and '\' in an item.
QString joinMacroList(const QStringList &items);
