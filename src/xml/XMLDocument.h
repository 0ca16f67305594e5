#pragma once

#include <cstdio>

#include "xml/Pool.h"
#include "xml/XMLNode.h"

// An XML document: its tree, the XML declaration and doctype, and the pool
// that holds every node and string of it. Loading reads the whole file with
// one read and builds the tree in one pass; only two syntax errors exist
// ("bad tagName" and "tagName mismatch"). Input that ends with elements still
// open loads successfully without a root, so callers test root().
class XMLDocument : public Pool {
public:
    // With keepText set, character data and comments become nodes; without
    // it the tree holds only elements, attributes and CDATA sections.
    explicit XMLDocument(bool keepText = false) : m_keepText(keepText) {}

    // Makes an element for the parser; derived documents may make their own.
    virtual XMLElement *createElement(const char *name);

    // Reads and parses a file. On failure errorMessage() says why and
    // errorLine() where (0 when the file cannot be read). A parse replaces
    // root (also when it fails) and, when the input declares them, the
    // version, encoding and doctype.
    bool loadFile(const char *path);
    // The same on a NUL-terminated text in memory.
    bool parseText(const char *text);
    // The same on length bytes; the text ends at the first NUL byte.
    bool parseBytes(const char *bytes, std::size_t length);

    // Writes the document with indent spaces per level (0: all on one line).
    bool saveFile(const char *path, int indent);
    void writeTo(std::FILE *stream, int indent);

    bool keepText() const { return m_keepText; }
    int indent() const { return m_indent; }

    XMLElement *root() const { return m_root; }
    void setRoot(XMLElement *root) { m_root = root; }
    const char *doctype() const { return m_doctype; }
    void setDoctype(const char *doctype) { m_doctype = doctype; }
    const char *version() const { return m_version; }
    void setVersion(const char *version) { m_version = version; }
    const char *encoding() const { return m_encoding; }
    void setEncoding(const char *encoding) { m_encoding = encoding; }

    const char *errorMessage() const { return m_errorMessage; }
    int errorLine() const { return m_errorLine; }

protected:
    void setError(const char *format, const char *argument, int line);

private:
    // Room in the pool for length bytes of input to parse in place, followed
    // by the zeroed padding that the parser's block scans read into. The
    // input stays in the pool: the tree's strings are made inside it.
    char *inputBuffer(std::size_t length);
    // Reads a whole stream into one input buffer; size is the byte count.
    bool readInput(std::FILE *file, char *&buffer, std::size_t &size);
    // Parses length bytes of an input buffer of this document; the text
    // ends at the first NUL byte.
    bool parseInPlace(char *buffer, std::size_t length);

    int m_indent = 0;
    bool m_keepText;
    const char *m_doctype = nullptr;
    const char *m_version = nullptr;
    const char *m_encoding = nullptr;
    XMLElement *m_root = nullptr;
    char m_errorMessage[1024] = {};
    int m_errorLine = 0;

    friend class XMLParser;
};
