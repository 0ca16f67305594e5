// The indirect option file reader: the input is the file "in" in the
// scratch directory, read as "@in" is. It may name itself or other files
// there; names that lead out of the scratch directory or to its FIFO are
// taken by options registered for that purpose, as an indirect file that is
// a FIFO or a terminal is read as it comes (as "@/dev/stdin" should be).

#include <cstdio>

#include "FuzzSupport.h"
#include "driver/ArgParse.h"
#include "platform/Diagnostics.h"

namespace {

// The arguments read are dropped: only the reading is under test.
class DiscardingParser : public ArgParse {
public:
    using ArgParse::ArgParse;
    void handleArgument(const QByteArray &) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeScratchFile("in", data, size);
    static std::FILE *nowhere = std::fopen("/dev/null", "w");
    Diagnostics diagnostics("mkpkg", nowhere);
    DiscardingParser parser(diagnostics);
    bool flag = false;
    QByteArray argument;
    const auto ignore = [](const QByteArray &, const QByteArray *) {};
    for (const char *option : {"-a", "-c", "-d", "-r", "-t", "-x", "-V"})
        parser.addOption(option, {ArgParse::NoArgument, true, ignore, nullptr, nullptr, 1});
    parser.addOption("-hzr", {ArgParse::NoArgument, false, {}, nullptr, &flag, 1});
    parser.addOption("-v", {ArgParse::NoArgument, false, {}, nullptr, &flag, 1});
    parser.addOption("-o", {ArgParse::NextArgument, false, {}, &argument, nullptr, 1});
    parser.addOption("-I", {ArgParse::AttachedArgument, false, {}, &argument, nullptr, 1});
    for (const char *outside : {"@/", "@.", "@fifo", "@dir"})
        parser.addOption(outside, {ArgParse::AttachedArgument, true, ignore, nullptr, nullptr, 1});
    InScratchDirectory scope;
    parser.parse({"@in"}, 1);
    if (parser.indirectDepth() != 0)
        __builtin_trap();
    return 0;
}
