// Replays every file of the corpus folders named on the command line through
// the fuzz target, for builds without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i], ec)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++count;
        }
    }
    // Also the empty input and a few fixed sizes around the file length.
    for (std::size_t size : {0u, 1u, 3215u, 3216u, 3300u}) {
        std::vector<std::uint8_t> zeros(size, 0), ones(size, 0xFF);
        LLVMFuzzerTestOneInput(zeros.data(), zeros.size());
        LLVMFuzzerTestOneInput(ones.data(), ones.size());
        count += 2;
    }
    std::printf("%zu inputs replayed\n", count);
    return 0;
}
