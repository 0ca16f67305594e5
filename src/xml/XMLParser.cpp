#include "xml/XMLParser.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "xml/XMLByteScans.h"

using namespace XMLBytes;

namespace {

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// True when the n bytes at name are word or a leading part of it.
bool isLeadingPart(const char *name, std::size_t n, const char *word)
{
    return n <= std::strlen(word) && std::memcmp(name, word, n) == 0;
}

struct Entity {
    const char *text;
    std::size_t length;
    char byte;
};

const Entity namedEntities[] = {
    {"&lt;", 4, '<'},
    {"&gt;", 4, '>'},
    {"&quot;", 6, '"'},
    {"&amp;", 5, '&'},
};

} // namespace

const char *XMLParser::nameString(const char *name, std::size_t length)
{
    // Element and attribute names repeat throughout a file: equal names
    // share one string instead of each taking a copy.
    // A name is looked up by its length and its first eight bytes (read as
    // one word, which the input's padding allows).
    std::uint64_t head;
    std::memcpy(&head, name, 8);
    if (length < 8)
        head = firstBytes(head, length);
    const std::size_t slot = ((head ^ length) * 0x9E3779B97F4A7C15u) >> 58; // 64 slots
    CachedName &cached = m_names[slot];
    if (cached.text && cached.head == head && cached.length == length
        && (length <= 8 || sameBytes(cached.text + 8, name + 8, length - 8)))
        return cached.text;
    cached = {m_document.copy(name, length), head, length};
    return cached.text;
}

XMLParser::XMLParser(XMLDocument &document, char *begin, char *end)
    : m_document(document), m_end(end), m_position(begin),
      m_lineCursor(begin + 1)
{
}

bool XMLParser::run()
{
    skipSpace();
    Step step = Step::Text;
    if (m_position == m_end || *m_position != '<')
        step = Step::Stop;
    while (step == Step::Text) {
        step = markup();
        if (step != Step::Text)
            break;
        characterData();
        if (m_position == m_end)
            step = Step::Stop;
    }
    m_document.m_root = m_result;
    return step != Step::Error;
}

XMLParser::Step XMLParser::markup()
{
    const char *open = m_position; // the '<', whose line the nodes made here get
    ++m_position;
    if (m_position == m_end)
        return startTag(lineAt(open));
    switch (*m_position) {
    case '?':
        ++m_position;
        return processingInstruction();
    case '!':
        if (at("!--"))
            return comment(lineAt(open));
        if (at("![CDATA["))
            return cdataSection(lineAt(open));
        ++m_position;
        return doctype();
    case '/':
        ++m_position;
        return endTag();
    default:
        return startTag(lineAt(open));
    }
}

XMLParser::Step XMLParser::processingInstruction()
{
    const char *name = readName();
    if (isLeadingPart(name, m_position - name, "xml"))
        return declaration();
    return Step::Text; // any other instruction reads as character data
}

XMLParser::Step XMLParser::declaration()
{
    for (;;) {
        skipSpace();
        if (m_position == m_end)
            return Step::Stop;
        if (*m_position == '?') {
            ++m_position;
            if (m_position != m_end && *m_position == '>')
                ++m_position;
            return Step::Text;
        }
        const char *name = readName();
        const std::size_t nameLength = m_position - name;
        skipSpace();
        if (m_position == m_end)
            return Step::Stop;
        if (*m_position != '=') {
            if (nameLength == 0)
                return fail(1); // a byte that belongs to no part of a declaration
            continue;
        }
        ++m_position;
        skipSpace();
        if (m_position == m_end)
            return Step::Stop;
        if (*m_position != '"') {
            m_result = nullptr;
            return Step::Stop;
        }
        char *text = ++m_position;
        char *quote = static_cast<char *>(std::memchr(text, '"', m_end - text));
        if (!quote) {
            m_position = m_end;
            return Step::Stop;
        }
        *quote = '\0';
        m_position = quote + 1;
        if (nameLength == 7 && std::memcmp(name, "version", 7) == 0)
            m_document.m_version = text;
        else if (nameLength == 8 && std::memcmp(name, "encoding", 8) == 0)
            m_document.m_encoding = text;
    }
}

XMLParser::Step XMLParser::comment(int line)
{
    m_position += 3; // "!--"
    const std::string_view rest(m_position, m_end - m_position);
    const std::size_t close = rest.find("-->");
    if (close == std::string_view::npos) {
        m_position = m_end;
        return Step::Stop;
    }
    if (m_document.m_keepText && !m_open.empty()) {
        m_position[close] = '\0';
        auto *node = new XMLComment(m_position);
        node->setLine(line);
        append(node);
    }
    m_position += close + 3;
    return Step::Text;
}

XMLParser::Step XMLParser::cdataSection(int line)
{
    m_position += 8; // "![CDATA["
    const std::string_view rest(m_position, m_end - m_position);
    const std::size_t close = rest.find("]]>");
    if (close == std::string_view::npos) {
        m_position = m_end;
        return Step::Stop;
    }
    if (!m_open.empty()) {
        m_position[close] = '\0';
        auto *node = new XMLCDATASection(m_position);
        node->setLine(line);
        append(node);
    }
    m_position += close + 3;
    return Step::Text;
}

XMLParser::Step XMLParser::doctype()
{
    const char *keyword = readName();
    const std::size_t keywordLength = m_position - keyword;
    if (keywordLength == 0 || !isLeadingPart(keyword, keywordLength, "DOCTYPE"))
        return Step::Text;
    skipSpace();
    const char *name = readName();
    const std::size_t nameLength = m_position - name;
    skipSpace();
    if (m_position != m_end && *m_position == '>') {
        m_document.m_doctype = m_document.copy(name, nameLength);
        ++m_position;
    }
    return Step::Text;
}

XMLParser::Step XMLParser::startTag(int line)
{
    const char *name = readName();
    XMLElement *element = m_document.createElement(nameString(name, m_position - name));
    element->setLine(line);
    m_open.push_back({element, nullptr});
    // The attribute loop works on a local position, stored back on leaving.
    char *p = m_position;
    for (;;) {
        p = spaceEnd(p);
        const char c = *p;
        if (c == '>' || c == '/' || p == m_end) {
            m_position = p + (p != m_end);
            return c == '/' ? endTag() : Step::Text;
        }
        if (!bytes.is(c, AttributeStart)) {
            m_position = p;
            return fail(1);
        }
        const char *attributeName = p;
        p = nameEnd(p);
        const std::size_t attributeNameLength = p - attributeName;
        p = spaceEnd(p);
        if (*p != '=')
            continue;
        p = spaceEnd(p + 1);
        if (*p != '"')
            continue;
        char *value = ++p;
        p = valueStop(value);
        if (*p == '&') { // decode from here up to the quote
            char *first = p;
            p = std::find(first, m_end, '"');
            decodeInPlace(first, p, false);
        } else {
            *p = '\0';
        }
        p += p != m_end;
        element->setAttribute(nameString(attributeName, attributeNameLength), value);
    }
}

XMLParser::Step XMLParser::endTag()
{
    if (m_position != m_end && *m_position == '>') {
        ++m_position;
        if (!m_open.empty())
            closeTop();
        return Step::Text;
    }
    const char *name = readName();
    const std::size_t nameLength = m_position - name;
    skipSpace();
    if (!m_open.empty()) {
        const char *openName = m_open.back().element->name();
        if (std::strncmp(openName, name, nameLength) != 0 || openName[nameLength] != '\0')
            return fail(2);
    }
    if (m_position != m_end && *m_position == '>') {
        ++m_position;
        if (!m_open.empty())
            closeTop();
    }
    return Step::Text;
}

void XMLParser::characterData()
{
    char *start = m_position;
    m_position = textEnd(start);
    if (m_open.empty() || !m_document.m_keepText)
        return;
    // The '<' gives way to the text's NUL; markup() steps over it unread.
    const int line = lineAt(start);
    auto *node = new XMLData(decodeInPlace(start, m_position, true));
    node->setLine(line);
    append(node);
}

void XMLParser::append(XMLNode *node)
{
    Open &top = m_open.back();
    node->setParent(top.element);
    if (top.lastChild)
        top.lastChild->setNextSibling(node);
    else
        top.element->setFirstChild(node);
    top.lastChild = node;
}

void XMLParser::closeTop()
{
    XMLElement *element = m_open.back().element;
    m_open.pop_back();
    if (m_open.empty())
        m_result = element;
    else
        append(element);
}

XMLParser::Step XMLParser::fail(int status)
{
    static const char *const messages[] = {"", "bad tagName", "tagName mismatch"};
    m_document.setError("%s", messages[status], lineAt(m_position));
    return Step::Error;
}

bool XMLParser::at(const char *literal) const
{
    const std::size_t length = std::strlen(literal);
    return std::size_t(m_end - m_position) >= length
           && std::memcmp(m_position, literal, length) == 0;
}

void XMLParser::skipSpace()
{
    m_position = spaceEnd(m_position);
}

char *XMLParser::readName()
{
    char *start = m_position;
    m_position = nameEnd(start);
    return start;
}

int XMLParser::lineAt(const char *position)
{
    // The counter goes up each time the position moves onto a newline, so
    // a newline as the very first byte is not counted.
    countLinesBefore(std::min<const char *>(position + 1, m_end));
    return m_line;
}

void XMLParser::countLinesBefore(const char *position)
{
    if (position > m_lineCursor) {
        m_line += countNewlines(m_lineCursor, position);
        m_lineCursor = position;
    }
}

char *XMLParser::decodeInPlace(char *from, char *to, bool dropCarriageReturns)
{
    char *out = std::find_if(from, to, [&](char c) { return c == '&' || (c == '\r' && dropCarriageReturns); });
    if (out != to)
        countLinesBefore(to); // the text is about to move: count its newlines first
    for (const char *p = out; p != to;) {
        if (*p == '\r' && dropCarriageReturns) {
            ++p;
            continue;
        }
        if (*p != '&') {
            *out++ = *p++;
            continue;
        }
        const std::size_t left = to - p;
        const Entity *named = std::find_if(std::begin(namedEntities), std::end(namedEntities),
            [&](const Entity &e) { return left >= e.length && std::memcmp(p, e.text, e.length) == 0; });
        if (named != std::end(namedEntities)) {
            *out++ = named->byte;
            p += named->length;
            continue;
        }
        if (left >= 2 && p[1] == '#') {
            const char *q = p + 2;
            const bool hex = q != to && *q == 'x';
            q += hex;
            unsigned value = 0;
            while (q != to && bytes.is(*q, hex ? HexDigit : Digit))
                value = value * (hex ? 16 : 10) + digitValue(*q++);
            if (q != to && *q == ';') {
                *out++ = char(value & 0xFF);
                p = q + 1;
                continue;
            }
        }
        *out++ = *p++; // not a reference: the '&' stays
    }
    *out = '\0';
    return from;
}
