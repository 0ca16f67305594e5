// Macro expansion. The lines before the first empty line are definitions
// ("name=value", values may refer to each other and to themselves); the rest
// is the text to expand, against those definitions alone and laid over the
// system macros.

#include <QStringList>

#include "FuzzSupport.h"
#include "macros/MacroDefinitions.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QStringLiteral("\n\n"));
    const QString definitions = split < 0 ? QString() : input.left(split);
    const QString text = split < 0 ? input : input.mid(split + 2);
    const MacroMap macros = parseMacroDefinitions(definitions.split(u'\n', Qt::SkipEmptyParts));
    expandMacros(text, macros);
    expandMacros(text, overlayMacros(MacroTable::instance().macros(), macros));
    return 0;
}
