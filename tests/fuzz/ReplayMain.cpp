// Runs a fuzz target over stored inputs without libFuzzer: every file named
// on the command line, and every file inside each directory named there, in
// name order (a directory that does not exist holds none). A fault ends the program the way it would end the fuzzer (the
// sanitizers abort); otherwise it reports how many inputs it ran.

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

bool isDirectory(const std::string &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool exists(const std::string &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

std::vector<std::string> filesIn(const std::string &directory)
{
    std::vector<std::string> files;
    if (DIR *dir = ::opendir(directory.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != ".." && !isDirectory(directory + '/' + name))
                files.push_back(directory + '/' + name);
        }
        ::closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        if (isDirectory(argv[i])) {
            const auto files = filesIn(argv[i]);
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (exists(argv[i])) {
            inputs.push_back(argv[i]);
        }
    }
    for (const std::string &path : inputs) {
        std::ifstream stream(path, std::ios::binary);
        if (!stream) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "running %s (%zu bytes)\n", path.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs ran\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
