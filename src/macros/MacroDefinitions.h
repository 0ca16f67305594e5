#pragma once

#include <QStringList>

#include "macros/MacroMap.h"

// Macro definition lists: items "name=value". The name is the text before
// the first '=', the value everything after it; an item without '=' defines
// its whole text with an empty value. Later items replace earlier ones.
MacroMap parseMacroDefinitions(const QStringList &items);

// One "name=value" item per entry in name order, the name trimmed.
QStringList macroDefinitionsFromMap(const MacroMap &macros);

// A copy of base with every entry of overlay written into it.
MacroMap overlayMacros(const MacroMap &base, const MacroMap &overlay);
