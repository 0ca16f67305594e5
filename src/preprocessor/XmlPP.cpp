#include "preprocessor/XmlPP.h"

#include "macros/MacroDefinitions.h"
#include "preprocessor/XmlPPPass.h"

bool XmlPP::preprocessFile(XMLPP2 &document, const QString &path, const QString &definitionsText,
                           bool expand)
{
    if (!document.loadFile(path))
        return false;
    PoolScope scope(&document);
    const MacroMap definitions =
        parseMacroDefinitions(definitionsText.split(u';', Qt::SkipEmptyParts));
    XMLNode *first = processConditionals(document, document.root(), path, definitions, expand);
    // A root directive may have been replaced by several elements or none:
    // the first element that remains becomes the root.
    XMLElement *root = nullptr;
    for (XMLNode *node = first; node && !root; node = node->nextSibling())
        root = node->toElement();
    document.setRoot(root);
    return true;
}

XMLNode *XmlPP::processConditionals(XMLPP2 &document, XMLNode *firstNode,
                                    const QString &currentFile, const MacroMap &definitions,
                                    bool expand)
{
    if (!firstNode)
        return nullptr;
    PoolScope scope(&document);
    // Directives replace themselves within their parent; a chain without
    // one (the document's root) gets a temporary parent for the pass.
    XMLNode *parent = firstNode->parent();
    XMLElement *holder = nullptr;
    XMLNode *before = nullptr;
    if (!parent) {
        holder = document.createElement(Pool::copyString(""));
        holder->setFirstChild(firstNode);
        for (XMLNode *node = firstNode; node; node = node->nextSibling())
            node->setParent(holder);
        parent = holder;
    } else {
        for (XMLNode *node = parent->firstChild(); node != firstNode; node = node->nextSibling())
            before = node;
    }
    XmlPPPass(document).run(firstNode, currentFile, definitions, expand);
    XMLNode *first = before ? before->nextSibling() : parent->firstChild();
    if (holder) {
        for (XMLNode *node = first; node; node = node->nextSibling())
            node->setParent(nullptr);
    }
    return first;
}
