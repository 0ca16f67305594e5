#pragma once

#include <QString>

#include "macros/MacroMap.h"
#include "preprocessor/XMLPP2.h"

// The XML preprocessor: rewrites a loaded tree in place so that every
// directive element (if, ifnot, ifex, ifdef, ifndef, switch, include,
// define, for, xmldef, xmlput) is replaced by what it stands for. Problems
// are reported through the document's error() and never stop the pass.
class XmlPP {
public:
    // Loads path into document and preprocesses it, starting from the
    // definitions in definitionsText ("name=value" items separated by ';').
    // False only when the file cannot be loaded (the document's error
    // message and line tell why).
    static bool preprocessFile(XMLPP2 &document, const QString &path,
                               const QString &definitionsText, bool expand);

    // Processes firstNode and its following siblings; relative include
    // names are taken from currentFile's directory. Returns the first node
    // of the processed chain (directives at its front may have gone).
    static XMLNode *processConditionals(XMLPP2 &document, XMLNode *firstNode,
                                        const QString &currentFile,
                                        const MacroMap &definitions, bool expand);
};
