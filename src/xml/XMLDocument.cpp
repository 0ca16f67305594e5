#include "xml/XMLDocument.h"

#include <cstring>
#include <memory>

#include "xml/XMLParser.h"
#include "xml/XMLWriter.h"

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads a whole stream into one NUL-terminated buffer; size is the byte
// count without the NUL.
bool readAll(std::FILE *file, std::unique_ptr<char[]> &buffer, std::size_t &size)
{
    std::size_t capacity = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end > 0)
            capacity = std::size_t(end);
        std::rewind(file);
    }
    capacity += 1;
    buffer.reset(new char[capacity + 1]);
    size = 0;
    for (;;) {
        size += std::fread(buffer.get() + size, 1, capacity - size, file);
        if (size < capacity)
            break;
        // The stream is longer than it said (or cannot tell): grow.
        std::unique_ptr<char[]> larger(new char[capacity * 2 + 1]);
        std::memcpy(larger.get(), buffer.get(), size);
        buffer = std::move(larger);
        capacity *= 2;
    }
    buffer[size] = '\0';
    return !std::ferror(file);
}

} // namespace

XMLElement *XMLDocument::createElement(const char *name)
{
    return new XMLElement(name);
}

bool XMLDocument::loadFile(const char *path)
{
    File file(std::fopen(path, "rb"));
    std::unique_ptr<char[]> buffer;
    std::size_t size = 0;
    if (!file || !readAll(file.get(), buffer, size)) {
        setError("couldn't read %s", path, 0);
        return false;
    }
    file.reset();
    return parseBytes(buffer.get(), size);
}

bool XMLDocument::parseText(const char *text)
{
    return parseBytes(text, std::strlen(text));
}

bool XMLDocument::parseBytes(const char *bytes, std::size_t length)
{
    const void *nul = std::memchr(bytes, '\0', length);
    const char *end = nul ? static_cast<const char *>(nul) : bytes + length;
    PoolScope scope(this);
    return XMLParser(*this, bytes, end).run();
}

bool XMLDocument::saveFile(const char *path, int indent)
{
    File file(std::fopen(path, "wb"));
    if (file) {
        writeTo(file.get(), indent);
        const bool written = !std::ferror(file.get());
        if (std::fclose(file.release()) == 0 && written)
            return true;
    }
    setError("couldn't write %s", path, 0);
    return false;
}

void XMLDocument::writeTo(std::FILE *stream, int indent)
{
    m_indent = indent;
    writeXMLDocument(*this, stream);
}

void XMLDocument::setError(const char *format, const char *argument, int line)
{
    std::snprintf(m_errorMessage, sizeof m_errorMessage, format, argument);
    m_errorLine = line;
}
