// Replays fuzz corpus files through a fuzz target with the normal compiler:
// each argument is a file or a folder of files. A target that crashes or
// aborts on any input fails the run.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> archivos;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const auto& e : fs::recursive_directory_iterator(p))
                if (e.is_regular_file())
                    archivos.push_back(e.path());
        } else {
            archivos.push_back(p);
        }
    }
    if (archivos.empty()) {
        std::fprintf(stderr, "no corpus files given\n");
        return 1;
    }
    for (const fs::path& p : archivos) {
        std::ifstream in(p, std::ios::binary);
        const std::vector<uint8_t> datos{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(datos.data(), datos.size());
    }
    std::printf("%zu inputs replayed\n", archivos.size());
    return 0;
}
