// Compares the parse throughput of the XML reader with pugixml's on a
// generated solution file of about 24 MB, in the same run: from the file
// (read and parse) and from memory (parse only). Prints MB/s and the ratio.
// Both readers keep the memory they free within the process (the XML reader
// recycles its blocks by design; the C library is told not to hand freed
// memory back), so neither pays for fresh pages on every run.

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <string>
#include <unistd.h>

#include "xml/XMLDocument.h"

namespace {

std::string generatedSolution(std::size_t targetSize)
{
    std::string text = "<!DOCTYPE Lanternwick_Project_File>\n<solution Name=\"bench\" version=\"2\">\n";
    for (int project = 0; text.size() < targetSize; ++project) {
        const std::string name = "project" + std::to_string(project);
        text += "  <project Name=\"" + name + "\">\n";
        text += "    <configuration Name=\"Common\" arm_architecture=\"v4T\" arm_core_type=\"ARM7TDMI\""
                " c_preprocessor_definitions=\"DEBUG;BOARD=&quot;x&quot;\""
                " c_user_include_directories=\"$(ProjectDir)/include;$(StudioDir)/include\""
                " project_type=\"Executable\"/>\n";
        text += "    <!-- sources of " + name + " -->\n";
        for (int folder = 0; folder < 4; ++folder) {
            text += "    <folder Name=\"Source Files " + std::to_string(folder) +
                    "\" file_extension=\"c;cpp;cxx;cc;h;s;asm\">\n";
            for (int file = 0; file < 12; ++file) {
                text += "      <file file_name=\"src/dir" + std::to_string(folder) + "/module" +
                        std::to_string(file) + ".c\" Name=\"module" + std::to_string(file) +
                        ".c\">\n        <configuration Name=\"Debug\" build_exclude_from_build=\"No\""
                        " c_only_additional_options=\"-Wall -O0 &amp;&amp; -g\"/>\n      </file>\n";
            }
            text += "    </folder>\n";
        }
        text += "    <configuration Name=\"Debug\" gcc_optimization_level=\"None\" build_debug_information=\"Yes\"/>\n";
        text += "    <configuration Name=\"Release\" gcc_optimization_level=\"Level 1\"/>\n  </project>\n";
    }
    text += "</solution>\n";
    return text;
}

double seconds(const std::function<bool()> &parse)
{
    const auto start = std::chrono::steady_clock::now();
    if (!parse()) {
        std::fprintf(stderr, "parse failed\n");
        std::exit(1);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// The best time of each over several runs, the two taking turns.
std::pair<double, double> bestSeconds(int runs, const std::function<bool()> &ours,
                                      const std::function<bool()> &theirs)
{
    double bestOurs = 1e30, bestTheirs = 1e30;
    for (int i = 0; i < runs; ++i) {
        bestOurs = std::min(bestOurs, seconds(ours));
        bestTheirs = std::min(bestTheirs, seconds(theirs));
    }
    return {bestOurs, bestTheirs};
}

void report(const char *what, std::size_t bytes, double ours, double theirs)
{
    const double mb = double(bytes) / 1e6;
    std::printf("%-22s mkpkg %7.1f MB/s   pugixml %7.1f MB/s   ratio %.2f\n", what, mb / ours,
                mb / theirs, theirs / ours);
}

} // namespace

int main()
{
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const std::string text = generatedSolution(24u << 20);
    char path[] = "/tmp/bench_xml_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, text.data(), text.size()) != ssize_t(text.size())) {
        std::perror("bench_xml");
        return 1;
    }
    close(fd);
    std::printf("solution file: %.1f MB\n", double(text.size()) / 1e6);

    const int runs = 7;
    const auto [oursFile, theirsFile] = bestSeconds(
        runs,
        [&] {
            XMLDocument document;
            return document.loadFile(path) && document.root();
        },
        [&] {
            pugi::xml_document document;
            return bool(document.load_file(path));
        });
    const auto [oursMemory, theirsMemory] = bestSeconds(
        runs,
        [&] {
            XMLDocument document;
            return document.parseBytes(text.data(), text.size()) && document.root();
        },
        [&] {
            pugi::xml_document document;
            return bool(document.load_buffer(text.data(), text.size()));
        });
    report("read and parse file", text.size(), oursFile, theirsFile);
    report("parse from memory", text.size(), oursMemory, theirsMemory);
    unlink(path);
    return 0;
}
