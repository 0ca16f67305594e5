#include "xml/XMLTreeCopy.h"

#include <vector>

namespace {

using ValueOf = std::function<const char *(const char *)>;

XMLElement *copyElement(XMLDocument &document, const XMLElement *source, const ValueOf *valueOf)
{
    XMLElement *copy = document.createElement(source->name());
    for (const XMLAttribute *a = source->attributes(); a; a = a->next)
        copy->setAttribute(a->name, valueOf && a->value ? (*valueOf)(a->value) : a->value);
    return copy;
}

XMLNode *copyText(const XMLNode *source)
{
    const char *text = static_cast<const XMLTextNode *>(source)->text();
    switch (source->kind()) {
    case XMLNode::Data: return new XMLData(text);
    case XMLNode::Comment: return new XMLComment(text);
    default: return new XMLCDATASection(text);
    }
}

XMLElement *copySubtree(XMLDocument &document, const XMLElement *source, const ValueOf *valueOf)
{
    const bool elementsOnly = valueOf != nullptr;
    XMLElement *root = copyElement(document, source, valueOf);
    struct Level {
        const XMLNode *next;  // the next source child to copy
        XMLElement *target;   // the copy that receives it
        XMLNode *last;        // the target's last child so far
    };
    std::vector<Level> levels{{source->firstChild(), root, nullptr}};
    while (!levels.empty()) {
        Level &level = levels.back();
        const XMLNode *node = level.next;
        if (!node) {
            levels.pop_back();
            continue;
        }
        level.next = node->nextSibling();
        const XMLElement *element = node->toElement();
        if (elementsOnly && !element)
            continue;
        XMLNode *copy = element ? copyElement(document, element, valueOf) : copyText(node);
        copy->setParent(level.target);
        if (level.last)
            level.last->setNextSibling(copy);
        else
            level.target->setFirstChild(copy);
        level.last = copy;
        if (element && element->firstChild())
            levels.push_back({element->firstChild(), copy->toElement(), nullptr});
    }
    return root;
}

} // namespace

XMLElement *copyTree(XMLDocument &document, const XMLElement *source)
{
    return copySubtree(document, source, nullptr);
}

XMLElement *copyElements(XMLDocument &document, const XMLElement *source, const ValueOf &valueOf)
{
    return copySubtree(document, source, &valueOf);
}
