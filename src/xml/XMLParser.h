#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "xml/XMLDocument.h"

// Builds a document's tree from bytes in one pass. The open elements are
// kept on an explicit stack, so nesting depth is limited only by memory.
//
// The input is parsed in place: it must live in the document's pool, hold a
// NUL byte at end and stay readable for inputPadding bytes from end on (see
// XMLDocument::inputBuffer). Attribute values, character data, comments and
// CDATA sections become strings inside it: each is ended with a NUL written
// over the delimiter that closed it, and decoded where it stands.
class XMLParser {
public:
    static constexpr std::size_t inputPadding = 16;

    XMLParser(XMLDocument &document, char *begin, char *end);

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
    char *readName();
    int lineAt(const char *position);
    void countLinesBefore(const char *position);
    char *decodeInPlace(char *from, char *to, bool dropCarriageReturns);
    const char *nameString(const char *name, std::size_t length);

    struct CachedName {
        const char *text;
        std::uint64_t head;  // the first eight bytes, zero beyond the name
        std::size_t length;
    };

    XMLDocument &m_document;
    char *const m_end;
    char *m_position;
    const char *m_lineCursor;   // the first byte not yet counted for lines
    int m_line = 0;
    std::vector<Open> m_open;
    XMLElement *m_result = nullptr;
    CachedName m_names[64] = {};
};
