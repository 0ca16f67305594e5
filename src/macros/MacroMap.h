#pragma once

#include <QMap>
#include <QString>

// An ordered map from macro name to value. Names compare exactly; an absent
// name and a name with an empty value are different things.
using MacroMap = QMap<QString, QString>;
