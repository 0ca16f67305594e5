#include "xml/XMLWriter.h"

#include <cstring>
#include <string>
#include <vector>

#include "xml/XMLDocument.h"

namespace {

// Collects output and hands it to the stream in large pieces.
class Output {
public:
    explicit Output(std::FILE *stream) : m_stream(stream) { m_buffer.reserve(flushSize + 4096); }
    ~Output() { flush(); }

    void text(const char *text) { m_buffer.append(text); spill(); }
    void text(const char *text, std::size_t length) { m_buffer.append(text, length); spill(); }
    void spaces(std::size_t count) { m_buffer.append(count, ' '); spill(); }
    void escaped(const char *text);

private:
    static constexpr std::size_t flushSize = 1 << 16;

    void spill()
    {
        if (m_buffer.size() >= flushSize)
            flush();
    }
    void flush()
    {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream);
        m_buffer.clear();
    }

    std::FILE *m_stream;
    std::string m_buffer;
};

void Output::escaped(const char *text)
{
    static const char hexDigits[] = "0123456789abcdef";
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
        const unsigned char c = *p;
        switch (c) {
        case '"': m_buffer.append("&quot;"); break;
        case '&': m_buffer.append("&amp;"); break;
        case '<': m_buffer.append("&lt;"); break;
        case '>': m_buffer.append("&gt;"); break;
        default:
            if (c >= 0x20 && c <= 0x7E) {
                m_buffer.push_back(char(c));
            } else {
                m_buffer.append("&#x");
                if (c >= 16)
                    m_buffer.push_back(hexDigits[c >> 4]);
                m_buffer.push_back(hexDigits[c & 15]);
                m_buffer.push_back(';');
            }
        }
    }
    spill();
}

class TreeWriter {
public:
    TreeWriter(Output &out, int indent) : m_out(out), m_indent(indent) {}

    void write(const XMLNode *root);

private:
    void node(const XMLNode *node, std::size_t depth);
    void startTag(const XMLElement *element, bool empty);
    void endTag(const XMLElement *element, std::size_t depth);
    void newline()
    {
        if (m_indent)
            m_out.text("\n", 1);
    }

    Output &m_out;
    std::size_t m_indent;
    std::vector<const XMLElement *> m_open; // elements whose end tag is due
};

void TreeWriter::write(const XMLNode *root)
{
    const XMLNode *current = root;
    while (current) {
        node(current, m_open.size());
        const XMLElement *element = current->toElement();
        if (element && element->firstChild()) {
            m_open.push_back(element);
            current = element->firstChild();
            continue;
        }
        while (!m_open.empty() && !current->nextSibling()) {
            current = m_open.back();
            m_open.pop_back();
            endTag(current->toElement(), m_open.size());
        }
        // The root's own siblings are not part of the document.
        current = m_open.empty() ? nullptr : current->nextSibling();
    }
}

void TreeWriter::node(const XMLNode *node, std::size_t depth)
{
    m_out.spaces(depth * m_indent);
    switch (node->kind()) {
    case XMLNode::Element:
        startTag(node->toElement(), !node->firstChild());
        break;
    case XMLNode::Data:
        m_out.escaped(static_cast<const XMLTextNode *>(node)->text());
        break;
    case XMLNode::Comment:
        m_out.text("<!--");
        m_out.text(static_cast<const XMLTextNode *>(node)->text());
        m_out.text("-->");
        break;
    case XMLNode::CDATASection:
        m_out.text("<![CDATA[");
        m_out.text(static_cast<const XMLTextNode *>(node)->text());
        m_out.text("]]>");
        break;
    }
}

void TreeWriter::startTag(const XMLElement *element, bool empty)
{
    m_out.text("<");
    m_out.text(element->name());
    for (const XMLAttribute *attribute = element->attributes(); attribute; attribute = attribute->next) {
        m_out.text(" ");
        m_out.text(attribute->name);
        m_out.text("=\"");
        if (attribute->value)
            m_out.escaped(attribute->value);
        m_out.text("\"");
    }
    m_out.text(empty ? "/>" : ">");
    newline();
}

void TreeWriter::endTag(const XMLElement *element, std::size_t depth)
{
    m_out.spaces(depth * m_indent);
    m_out.text("</");
    m_out.text(element->name());
    m_out.text(">");
    newline();
}

} // namespace

void writeXMLDocument(const XMLDocument &document, std::FILE *stream)
{
    Output out(stream);
    if (document.version() || document.encoding()) {
        out.text("<?xml ");
        for (const auto &[name, value] : {std::pair{"version", document.version()},
                                          std::pair{"encoding", document.encoding()}}) {
            if (!value)
                continue;
            out.text(" ");
            out.text(name);
            out.text("=\"");
            out.text(value);
            out.text("\"");
        }
        out.text(" ?>\n");
    }
    if (document.doctype()) {
        out.text("<!DOCTYPE ");
        out.text(document.doctype());
        out.text(">\n");
    }
    if (document.root())
        TreeWriter(out, document.indent()).write(document.root());
}
