#include "xml/XMLDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "xml/XMLParser.h"
#include "xml/XMLWriter.h"

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for reading without waiting for a writer (a FIFO that has
// none reads as empty). A directory is a file that cannot be read: its size
// is no length of text.
File openForReading(const char *path)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat status;
    std::FILE *file = nullptr;
    if (::fstat(fd, &status) == 0 && !S_ISDIR(status.st_mode)
        && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
        file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return File(file);
}

} // namespace

XMLElement *XMLDocument::createElement(const char *name)
{
    return new XMLElement(name);
}

bool XMLDocument::loadFile(const char *path)
{
    File file = openForReading(path);
    char *buffer = nullptr;
    std::size_t size = 0;
    if (!file || !readInput(file.get(), buffer, size)) {
        setError("couldn't read %s", path, 0);
        return false;
    }
    file.reset();
    return parseInPlace(buffer, size);
}

bool XMLDocument::parseText(const char *text)
{
    return parseBytes(text, std::strlen(text));
}

bool XMLDocument::parseBytes(const char *bytes, std::size_t length)
{
    char *buffer = inputBuffer(length);
    std::memcpy(buffer, bytes, length);
    return parseInPlace(buffer, length);
}

bool XMLDocument::readInput(std::FILE *file, char *&buffer, std::size_t &size)
{
    std::size_t capacity = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end > 0)
            capacity = std::size_t(end);
        std::rewind(file);
    }
    capacity += 1;
    buffer = inputBuffer(capacity);
    size = 0;
    for (;;) {
        size += std::fread(buffer + size, 1, capacity - size, file);
        if (size < capacity || std::memchr(buffer, '\0', size))
            break; // the whole stream, or all of the text before a NUL
        // The stream is longer than it said (or cannot tell): grow.
        char *larger = inputBuffer(capacity * 2);
        std::memcpy(larger, buffer, size);
        buffer = larger;
        capacity *= 2;
    }
    return !std::ferror(file);
}

char *XMLDocument::inputBuffer(std::size_t length)
{
    char *buffer = static_cast<char *>(allocate(length + XMLParser::inputPadding));
    std::memset(buffer + length, 0, XMLParser::inputPadding);
    return buffer;
}

bool XMLDocument::parseInPlace(char *buffer, std::size_t length)
{
    void *nul = std::memchr(buffer, '\0', length);
    char *end = nul ? static_cast<char *>(nul) : buffer + length;
    *end = '\0';
    PoolScope scope(this);
    return XMLParser(*this, buffer, end).run();
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
