#include "xml/XMLNode.h"

#include <cstring>

void XMLNode::appendChild(XMLNode *child)
{
    child->m_parent = this;
    child->m_nextSibling = nullptr;
    if (!m_firstChild) {
        m_firstChild = child;
        return;
    }
    XMLNode *last = m_firstChild;
    while (last->m_nextSibling)
        last = last->m_nextSibling;
    last->m_nextSibling = child;
}

void XMLNode::prependChild(XMLNode *child)
{
    child->m_parent = this;
    child->m_nextSibling = m_firstChild;
    m_firstChild = child;
}

void XMLNode::removeChild(XMLNode *child)
{
    for (XMLNode **link = &m_firstChild; *link; link = &(*link)->m_nextSibling) {
        if (*link == child) {
            *link = child->m_nextSibling;
            return;
        }
    }
}

void XMLNode::replaceChild(XMLNode *old, XMLNode *replacement)
{
    for (XMLNode **link = &m_firstChild; *link; link = &(*link)->m_nextSibling) {
        if (*link == old) {
            replacement->m_nextSibling = old->m_nextSibling;
            replacement->m_parent = old->m_parent;
            *link = replacement;
            return;
        }
    }
}

void XMLNode::insertAfter(XMLNode *ref, XMLNode *first)
{
    if (!first)
        return;
    XMLNode *last = first;
    for (XMLNode *node = first; node; node = node->m_nextSibling) {
        node->m_parent = this;
        last = node;
    }
    if (!m_firstChild || !ref) {
        last->m_nextSibling = m_firstChild;
        m_firstChild = first;
        return;
    }
    last->m_nextSibling = ref->m_nextSibling;
    ref->m_nextSibling = first;
}

XMLElement *XMLNode::toElement()
{
    return m_kind == Element ? static_cast<XMLElement *>(this) : nullptr;
}

const XMLElement *XMLNode::toElement() const
{
    return m_kind == Element ? static_cast<const XMLElement *>(this) : nullptr;
}

namespace {

XMLElement *elementFrom(XMLNode *node, const char *name)
{
    for (; node; node = node->nextSibling()) {
        XMLElement *element = node->toElement();
        if (element && (!name || element->hasName(name)))
            return element;
    }
    return nullptr;
}

bool sameName(const char *a, const char *b)
{
    // The parser shares equal names, so equal pointers settle most tests.
    return a == b || (a[0] == b[0] && std::strcmp(a, b) == 0);
}

} // namespace

XMLElement *XMLNode::firstChildElement(const char *name) const
{
    return elementFrom(m_firstChild, name);
}

XMLElement *XMLNode::nextSiblingElement(const char *name) const
{
    return elementFrom(m_nextSibling, name);
}

XMLAttribute *XMLElement::find(const char *name) const
{
    for (XMLAttribute *attribute = m_attributes; attribute; attribute = attribute->next) {
        if (sameName(attribute->name, name))
            return attribute;
    }
    return nullptr;
}

void XMLElement::setAttribute(const char *name, const char *value)
{
    // One walk finds an attribute of this name or the end of the list.
    XMLAttribute **link = &m_attributes;
    for (; *link; link = &(*link)->next) {
        if (sameName((*link)->name, name)) {
            (*link)->value = value;
            return;
        }
    }
    auto *attribute = static_cast<XMLAttribute *>(Pool::current()->allocate(sizeof(XMLAttribute)));
    *attribute = {name, value, nullptr};
    *link = attribute;
}

void XMLElement::removeAttribute(const char *name)
{
    XMLAttribute *previous = nullptr;
    for (XMLAttribute *attribute = m_attributes; attribute; attribute = attribute->next) {
        if (std::strcmp(attribute->name, name) == 0) {
            (previous ? previous->next : m_attributes) = attribute->next;
            return;
        }
        previous = attribute;
    }
}

bool XMLElement::hasAttribute(const char *name) const
{
    return find(name) != nullptr;
}

const char *XMLElement::attribute(const char *name) const
{
    const XMLAttribute *found = find(name);
    return found ? found->value : nullptr;
}

bool XMLElement::hasName(const char *name) const
{
    return m_name && std::strcmp(m_name, name) == 0;
}
