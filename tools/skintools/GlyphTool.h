#pragma once
// The whole of a tool that draws a control's glyph bitmaps: `<tool> <folder> <resource script>` writes each
// glyph as a 4-bit bitmap file <folder>/<Name>.bmp and the resource script that stores them in a program.
// Glyphs: a list of {Name, Image}; the script is made from the glyphs and the folder's absolute path.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "Bmp.h"

namespace kes {

template <typename Draw, typename Script>
int RunGlyphTool(int argc, char** argv, const char* tool, Draw draw, Script script) {
    const auto write = [](const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream f(path, std::ios::binary);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(f);
    };
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> <resource script>\n", tool);
        return 2;
    }
    try {
        const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
        std::filesystem::create_directories(folder);
        const auto glyphs = draw();
        for (const auto& g : glyphs)
            if (!write(folder / (g.Name + ".bmp"), WriteBmp(g.Image, 4))) {
                std::fprintf(stderr, "%s: cannot write %s.bmp\n", tool, g.Name.c_str());
                return 1;
            }
        if (!write(argv[2], script(glyphs, folder.generic_string()))) {
            std::fprintf(stderr, "%s: cannot write %s\n", tool, argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", tool, e.what());
        return 1;
    }
    return 0;
}

}  // namespace kes
