// Writes a deterministic corpus below the directory given as the first
// argument: nested folders of source-like text, logs and incompressible blobs,
// about 300 MB in all, so package and tar timings compare on the same files.
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
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_package_corpus DIRECTORY\n");
        return 2;
    }
    const std::string root = argv[1];
    std::mt19937 random(20110111);
    std::vector<std::string> words;
    for (int i = 0; i < 4000; ++i) {
        std::string word;
        for (unsigned n = 2 + random() % 9; n > 0; --n)
            word += char('a' + random() % 26);
        words.push_back(word);
    }
    for (int group = 0; group < 6; ++group) {
        const std::string directory = root + "/group" + std::to_string(group);
        ::mkdir(directory.c_str(), 0777);
        ::mkdir((directory + "/src").c_str(), 0777);
        for (int i = 0; i < 200; ++i) // many small sources
            writeFile(directory + "/src/file" + std::to_string(i) + ".c", textOf(random, words, 2000 + random() % 60000));
        for (int i = 0; i < 8; ++i) // large logs
            writeFile(directory + "/log" + std::to_string(i) + ".txt", textOf(random, words, 4 << 20));
        std::string blob(8 << 20, '\0'); // incompressible data
        for (char &byte : blob)
            byte = char(random());
        writeFile(directory + "/image.bin", blob);
    }
    return 0;
}
