#pragma once

#include <QString>

#include "macros/MacroMap.h"

// The user's global macros: the "Environment/Macros/Global Macros" setting
// of the current settings object, a list of name=value definitions. None
// when no settings object is current.

// The global macros over a copy of the system table (includeSystem) or an
// empty map; global macros replace system macros of the same name.
MacroMap globalMacros(bool includeSystem);
// The value of name among globalMacros(true); empty when absent.
QString globalMacro(const QString &name);
// Stores value under name in the setting, or removes name when value is
// empty.
void setGlobalMacro(const QString &name, const QString &value);
