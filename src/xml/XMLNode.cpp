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
        if (attribute->name == name)
            return attribute; // the parser shares equal names
        if (attribute->name[0] == name[0] && std::strcmp(attribute->name, name) == 0)
            return attribute;
    }
    return nullptr;
}

void XMLElement::setAttribute(const char *name, const char *value)
{
    if (XMLAttribute *existing = find(name)) {
        existing->value = value;
        return;
    }
    auto *attribute = static_cast<XMLAttribute *>(Pool::current()->allocate(sizeof(XMLAttribute)));
    *attribute = {name, value, nullptr};
    if (m_lastAttribute)
        m_lastAttribute->next = attribute;
    else
        m_attributes = attribute;
    m_lastAttribute = attribute;
}

void XMLElement::removeAttribute(const char *name)
{
    XMLAttribute *previous = nullptr;
    for (XMLAttribute *attribute = m_attributes; attribute; attribute = attribute->next) {
        if (std::strcmp(attribute->name, name) == 0) {
            (previous ? previous->next : m_attributes) = attribute->next;
            if (m_lastAttribute == attribute)
                m_lastAttribute = previous;
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
