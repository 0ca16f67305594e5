#pragma once

#include <cstddef>
#include <vector>

#include "xml/XMLDocument.h"

// Builds a document's tree from bytes in one pass. The open elements are
// kept on an explicit stack, so nesting depth is limited only by memory.
class XMLParser {
public:
    XMLParser(XMLDocument &document, const char *begin, const char *end);

    // Parses the whole input; sets the document's root (also on failure)
    // and, on a syntax error, its error message and line.
    bool run();

private:
    enum class Step { Text, Stop, Error };
    struct Open {
        XMLElement *element;
        XMLNode *lastChild;
    };

    Step markup();
    Step processingInstruction();
    Step declaration();
    Step comment(int line);
    Step cdataSection(int line);
    Step doctype();
    Step startTag(int line);
    Step endTag();
    void characterData();

    void append(XMLNode *node);
    void closeTop();
    Step fail(int status);

    bool at(const char *literal) const;
    void skipSpace();
    const char *readName();
    int lineAt(const char *position);
    char *decode(const char *from, const char *to, bool dropCarriageReturns);
    const char *nameString(const char *name, std::size_t length);

    struct CachedName {
        const char *text;
        std::size_t length;
    };

    XMLDocument &m_document;
    const char *const m_begin;
    const char *const m_end;
    const char *m_position;
    const char *m_lineCursor;   // the first byte not yet counted for lines
    int m_line = 0;
    std::vector<Open> m_open;
    XMLElement *m_result = nullptr;
    CachedName m_names[64] = {};
};
