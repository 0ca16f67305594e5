// Runs a fuzz target over stored inputs without libFuzzer: every file named
// on the command line, and every file inside each directory named there, in
// name order (a directory that does not exist holds none). A fault ends the
// program the way it would end the fuzzer (the sanitizers abort); otherwise
// it reports how many inputs it ran.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const auto first = inputs.size();
        for (const fs::directory_entry &entry : fs::directory_iterator(argv[i], error)) {
            if (!entry.is_directory())
                inputs.push_back(entry.path());
        }
        if (!fs::is_directory(argv[i], error) && fs::exists(argv[i], error))
            inputs.push_back(argv[i]);
        std::sort(inputs.begin() + std::ptrdiff_t(first), inputs.end());
    }
    for (const fs::path &path : inputs) {
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
