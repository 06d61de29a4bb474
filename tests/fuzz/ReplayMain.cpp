// Runs a fuzz target's body over checked-in inputs in the sanitizer test
// tree, so every input that once broke a target keeps being replayed without
// clang or libFuzzer. Arguments are input files or folders of them; each file
// is fed once, in name order, from a buffer of its exact size so that reads
// past the input are reported. The target's own checks and the sanitizers
// end the process on a fault; an empty input set is a failure too, so a
// missing folder cannot pass unnoticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

bool collect(const fs::path& arg, std::vector<fs::path>& inputs) {
    std::error_code error;
    if (fs::is_regular_file(arg, error)) {
        inputs.push_back(arg);
        return true;
    }
    if (!fs::is_directory(arg, error)) {
        std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", arg.c_str());
        return false;
    }
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(arg, error)) {
        if (entry.is_regular_file(error)) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    inputs.insert(inputs.end(), found.begin(), found.end());
    return !error;
}

bool replay(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", path.c_str(), bytes.size());
    const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
    if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
    LLVMFuzzerTestOneInput(exact.get(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!collect(argv[i], inputs)) return 1;
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 1;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    for (const fs::path& path : inputs) {
        if (!replay(path)) return 1;
    }
    std::fprintf(stderr, "replay: %zu inputs, no fault\n", inputs.size());
    return 0;
}
