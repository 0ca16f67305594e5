// The XML reader, then the writer on the tree it read. What the writer makes
// of a document that loaded must load again, with a root when the first had
// one. The first byte chooses whether text and comments are kept.
//
// The reader takes "<>" as an element without a name, which the writer can
// only write as "</>", an end tag; documents holding one are written but not
// read back.

#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "xml/XMLDocument.h"

namespace {

QByteArray written(XMLDocument &document)
{
    char *text = nullptr;
    size_t length = 0;
    std::FILE *stream = ::open_memstream(&text, &length);
    document.writeTo(stream, 2);
    std::fclose(stream);
    QByteArray bytes(text, qsizetype(length));
    std::free(text);
    return bytes;
}

bool hasUnnamedElement(const XMLNode *root)
{
    const XMLNode *node = root;
    while (node) {
        if (const XMLElement *element = node->toElement(); element && !*element->name())
            return true;
        if (node->firstChild()) {
            node = node->firstChild();
            continue;
        }
        while (node && node != root && !node->nextSibling())
            node = node->parent();
        node = node && node != root ? node->nextSibling() : nullptr;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool keepText = data[0] & 1;
    XMLDocument document(keepText);
    if (!document.parseBytes(reinterpret_cast<const char *>(data + 1), size - 1))
        return 0;
    const QByteArray first = written(document);
    if (hasUnnamedElement(document.root()))
        return 0;
    XMLDocument again(keepText);
    if (!again.parseBytes(first.constData(), size_t(first.size())) || (document.root() && !again.root())) {
        std::fprintf(stderr, "the written document does not load again:\n%s\n", first.constData());
        std::abort();
    }
    written(again);
    return 0;
}
