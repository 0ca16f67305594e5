#include "driver/Banner.h"

namespace {

const char *const ToolTitle = "Package Maintainer";

const char *const UsageLines[] = {
    "",
    "Usage:",
    "  mkpkg [options] package file...",
    "  mkpkg -x package output_directory",
    "  mkpkg -hzr project.hzp [output.hzr]",
    "",
    "Options:",
    "  -c          create new package from files",
    "  -d          remove files from package",
    "  -r          replace file in package",
    "  -t          list contents of package",
    "  -v          verbose",
    "  -V          show version",
    "  -x          extract files from package",
};

} // namespace

void printBanner(std::FILE *stream)
{
    std::fprintf(stream, "Fernhollow for ARM %s - Release 2.0.9.2011011101.9458\n", ToolTitle);
    std::fflush(stream);
}

void printUsage(std::FILE *stream)
{
    printBanner(stream);
    for (const char *line : UsageLines)
        std::fprintf(stream, "%s\n", line);
    std::fflush(stream);
}
