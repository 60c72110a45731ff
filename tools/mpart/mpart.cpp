// kestrup-mpart <folder> <resource script>: draws the media player's button glyphs as 4-bit bitmap files into
// the folder and writes the resource script that stores them in a program.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "Bmp.h"
#include "MpArt.h"

namespace {
bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrup-mpart <folder> <resource script>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
        std::filesystem::create_directories(folder);
        const auto glyphs = kes::mpart::DrawMediaGlyphs();
        for (const auto& g : glyphs)
            if (!WriteFile(folder / (g.Name + ".bmp"), kes::WriteBmp(g.Image, 4))) {
                std::fprintf(stderr, "kestrup-mpart: cannot write %s.bmp\n", g.Name.c_str());
                return 1;
            }
        if (!WriteFile(argv[2], kes::mpart::MediaResourceScript(glyphs, folder.generic_string()))) {
            std::fprintf(stderr, "kestrup-mpart: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrup-mpart: %s\n", e.what());
        return 1;
    }
    return 0;
}
