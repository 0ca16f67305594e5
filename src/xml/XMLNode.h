#pragma once

#include "xml/Pool.h"

// The nodes of an XML tree. All text is 8-bit and NUL-terminated; nodes and
// their strings live in the pool that was current when they were made (a
// document's own pool while it parses) and are never freed one by one.
// Setters do not copy: pass strings that live in the same pool, for example
// from Pool::copyString.

class XMLElement;

class XMLNode : public PoolObject {
public:
    enum Kind : unsigned char { Element, Data, Comment, CDATASection };

    virtual ~XMLNode() = default;

    // Links child after the last child and makes this node its parent.
    virtual void appendChild(XMLNode *child);
    // Makes child the first child; its old next sibling link is overwritten.
    virtual void prependChild(XMLNode *child);
    // Unlinks child from the child list (nothing when it is not a child);
    // the child's own fields are left as they are.
    virtual void removeChild(XMLNode *child);
    // Puts replacement where old was; it takes old's next sibling and parent.
    virtual void replaceChild(XMLNode *old, XMLNode *replacement);
    // Inserts the chain that starts at first (linked by nextSibling) after
    // ref (at the front when ref is null); every node of the chain gets this
    // node as parent. Without any children the chain becomes the child list.
    virtual void insertAfter(XMLNode *ref, XMLNode *first);

    Kind kind() const { return m_kind; }
    bool isElement() const { return m_kind == Element; }
    // This node as an element, or null when it is of another kind.
    XMLElement *toElement();
    const XMLElement *toElement() const;

    XMLNode *parent() const { return m_parent; }
    XMLNode *nextSibling() const { return m_nextSibling; }
    XMLNode *firstChild() const { return m_firstChild; }
    void setParent(XMLNode *parent) { m_parent = parent; }
    void setNextSibling(XMLNode *next) { m_nextSibling = next; }
    void setFirstChild(XMLNode *child) { m_firstChild = child; }

    // The first child element, optionally with the given name, and the next
    // sibling element likewise; null when there is none.
    XMLElement *firstChildElement(const char *name = nullptr) const;
    XMLElement *nextSiblingElement(const char *name = nullptr) const;

    // The parser's line counter where the node began (0 for made nodes).
    int line() const { return m_line; }
    void setLine(int line) { m_line = line; }

protected:
    explicit XMLNode(Kind kind) : m_kind(kind) {}

private:
    XMLNode *m_parent = nullptr;
    XMLNode *m_nextSibling = nullptr;
    XMLNode *m_firstChild = nullptr;
    int m_line = 0;
    Kind m_kind;
};

// One attribute of an element: a name and a value (the value may be null
// for an attribute set without one).
struct XMLAttribute {
    const char *name;
    const char *value;
    XMLAttribute *next;
};

class XMLElement : public XMLNode {
public:
    explicit XMLElement(const char *name) : XMLNode(Element), m_name(name) {}

    virtual void setName(const char *name) { m_name = name; }
    virtual const char *name() const { return m_name; }

    // Replaces the value of the attribute with this name (exact byte
    // comparison) in place, or appends a new attribute at the end.
    virtual void setAttribute(const char *name, const char *value);
    // Removes the first attribute with this name, if any.
    virtual void removeAttribute(const char *name);
    virtual bool hasAttribute(const char *name) const;
    // The value of the first attribute with this name, or null.
    virtual const char *attribute(const char *name) const;
    // The attributes in the order they were first set, for iteration.
    virtual const XMLAttribute *attributes() const { return m_attributes; }

    // True when the element's name is exactly name.
    bool hasName(const char *name) const;

private:
    XMLAttribute *find(const char *name) const;

    const char *m_name;
    XMLAttribute *m_attributes = nullptr;
};

// Character data, a comment or a CDATA section: a node with one text.
class XMLTextNode : public XMLNode {
public:
    virtual void setText(const char *text) { m_text = text; }
    virtual const char *text() const { return m_text; }

protected:
    XMLTextNode(Kind kind, const char *text) : XMLNode(kind), m_text(text) {}

private:
    const char *m_text;
};

class XMLData : public XMLTextNode {
public:
    explicit XMLData(const char *text) : XMLTextNode(Data, text) {}
};

class XMLComment : public XMLTextNode {
public:
    explicit XMLComment(const char *text) : XMLTextNode(Comment, text) {}
};

class XMLCDATASection : public XMLTextNode {
public:
    explicit XMLCDATASection(const char *text) : XMLTextNode(CDATASection, text) {}
};
