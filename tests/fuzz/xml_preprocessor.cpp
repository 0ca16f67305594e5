// The XML preprocessor on a document read from memory, as if it were the
// file "main.xml" of the scratch directory (relative includes look there).
// The first byte chooses whether attributes are expanded.

#include "FuzzSupport.h"
#include "preprocessor/XmlPP.h"

namespace {

class QuietDocument : public XMLPP2 {
public:
    void error(const QString &) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool expand = data[0] & 1;
    QuietDocument document;
    if (!document.parseBytes(reinterpret_cast<const char *>(data + 1), size - 1) || !document.root())
        return 0;
    const QString file = scratch().qpath() + QStringLiteral("/main.xml");
    XmlPP::processConditionals(document, document.root(), file, MacroMap{{"Target", "arm"}}, expand);
    return 0;
}
