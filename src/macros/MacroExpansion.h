#pragma once

#include <QString>

#include "macros/MacroMap.h"

// Expands every $(Name), $(Name:default) and $(Name::default) reference in
// text against macros. The eight date and time names yield the current local
// date or time whenever the map holds them, whatever their stored value.
QString expandMacros(const QString &text, const MacroMap &macros);

// The computed value of a date or time macro name, or a null string when the
// name is not one of the eight.
QString dateTimeMacroValue(const QString &name);
