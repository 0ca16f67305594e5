// Writes a deterministic corpus below the directory given as the first
// argument, shaped like a support package: nested folders of many small
// source-like texts, some large logs and a few incompressible blobs. Every
// 50 MB of it (the second argument gives the size in MB, 100 by default)
// is one group folder of about 960 files.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

void writeFile(const std::string &path, const std::string &contents)
{
    if (std::FILE *file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(contents.data(), 1, contents.size(), file);
        std::fclose(file);
    }
}

std::string textOf(std::mt19937 &random, const std::vector<std::string> &words, size_t size)
{
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += words[random() % words.size()];
        text += random() % 12 == 0 ? '\n' : ' ';
    }
    text.resize(size);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: bench_package_corpus DIRECTORY [MEGABYTES]\n");
        return 2;
    }
    const std::string root = argv[1];
    const int groups = std::max(1, (argc == 3 ? std::atoi(argv[2]) : 100) / 50);
    std::mt19937 random(20110111);
    std::vector<std::string> words;
    for (int i = 0; i < 4000; ++i) {
        std::string word;
        for (unsigned n = 2 + random() % 9; n > 0; --n)
            word += char('a' + random() % 26);
        words.push_back(word);
    }
    for (int group = 0; group < groups; ++group) {
        const std::string directory = root + "/group" + std::to_string(group);
        ::mkdir(directory.c_str(), 0777);
        for (int folder = 0; folder < 10; ++folder) { // many small sources
            const std::string sources = directory + "/src" + std::to_string(folder);
            ::mkdir(sources.c_str(), 0777);
            for (int i = 0; i < 95; ++i)
                writeFile(sources + "/file" + std::to_string(i) + ".c", textOf(random, words, 1000 + random() % 59000));
        }
        for (int i = 0; i < 8; ++i) // large logs
            writeFile(directory + "/log" + std::to_string(i) + ".txt", textOf(random, words, 2 << 20));
        std::string blob(5 << 20, '\0'); // incompressible data
        for (char &byte : blob)
            byte = char(random());
        writeFile(directory + "/image.bin", blob);
    }
    return 0;
}
