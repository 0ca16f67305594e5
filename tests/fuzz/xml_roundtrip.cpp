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
#include "XmlTestSupport.h"

namespace {

// Whether the node or one below it is an element without a name.
bool hasUnnamedElement(const XMLNode *node)
{
    if (const XMLElement *element = node->toElement(); element && !*element->name())
        return true;
    for (const XMLNode *child = node->firstChild(); child; child = child->nextSibling()) {
        if (hasUnnamedElement(child))
            return true;
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
    const QByteArray first = written(document, 2);
    if (document.root() && hasUnnamedElement(document.root()))
        return 0;
    XMLDocument again(keepText);
    if (!again.parseBytes(first.constData(), size_t(first.size())) || (document.root() && !again.root())) {
        std::fprintf(stderr, "the written document does not load again:\n%s\n", first.constData());
        std::abort();
    }
    written(again, 2);
    return 0;
}
