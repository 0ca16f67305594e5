// The condition expression evaluator on a text in every result kind.

#include "FuzzSupport.h"
#include "expressions/SimpleExpressionParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    SimpleExpressionParser parser;
    bool ok = false;
    parser.evaluateUnsigned(text, ok);
    parser.evaluateSigned(text, ok);
    parser.evaluateBool(text, ok);
    return 0;
}
