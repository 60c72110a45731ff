// kestrup-skinart: draws our skins and the program's own skin bitmaps.
//
//   kestrup-skinart default DIR        the default skin's bitmaps and description, ready for kestrup-skinpack
//   kestrup-skinart program DIR        TRACK.bmp, TRACKVERT.bmp, GLASMEREMENU.bmp (the program's resources)
//                                      and Kestrup.ico (the program's icon)
//   kestrup-skinart tests DIR          the test skins as packed containers (full, sparse, broken variants)
//   kestrup-skinart stream IN OUT      the stored-skin form of a container: its length, then its bytes
//   kestrup-skinart rc DIR OUT         a resource script storing DIR/Kestrup.skinstream, DIR/program/*.bmp and
//                                      the icon DIR/program/Kestrup.ico as MAINICON
//   kestrup-skinart preview STREAM OUT.bmp TEXTS
//                                      a picture of the skin, and the texts to put on it (one per line:
//                                      x y #rrggbb bold mono size text)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "Bmp.h"
#include "SkinArt.h"
#include "SkinPreview.h"
#include "base/StringList.h"
#include "skin/data/ProgramBitmaps.h"
#include "skin/data/SkinData.h"

namespace fs = std::filesystem;
using namespace kes;

namespace {

int Fail(const std::string& what) {
    std::fprintf(stderr, "kestrup-skinart: %s\n", what.c_str());
    return 1;
}

void Write(const fs::path& path, const std::string& bytes) {
    if (!WriteFileBytes(path.string(), bytes)) throw std::runtime_error("cannot write " + path.string());
}

void WriteEntries(const fs::path& dir, const std::vector<SkinEntry>& entries) {
    fs::create_directories(dir);
    for (const auto& e : fs::directory_iterator(dir)) fs::remove(e.path());
    for (const SkinEntry& e : entries) Write(dir / e.name, e.data);
}

std::string RcPath(const fs::path& p) {
    std::string out = "\"";
    for (char c : fs::absolute(p).generic_string()) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

int Run(int argc, char** argv) {
    if (argc < 3) return Fail("usage: kestrup-skinart default|program|tests|stream|rc|preview ...");
    const std::string cmd = argv[1];
    if (cmd == "default") {
        WriteEntries(argv[2], art::DefaultSkin());
    } else if (cmd == "program") {
        fs::create_directories(argv[2]);
        for (const char* name : kProgramBitmapNames) {
            PixelBuffer image;
            DrawProgramBitmap(name, image);
            // The grooves are 16-colour bitmaps, the menu glyphs monochrome.
            const int bits = std::string(name) == "GLASMEREMENU" ? 1 : 4;
            Write(fs::path(argv[2]) / (std::string(name) + ".bmp"), WriteBmp(image, bits));
        }
        Write(fs::path(argv[2]) / "Kestrup.ico", art::ProgramIcon());
    } else if (cmd == "tests") {
        fs::create_directories(argv[2]);
        for (const char* kind : {"full", "sparse", "other"})
            Write(fs::path(argv[2]) / (std::string(kind) + ".skn"), art::PackSkin(art::TestSkin(kind)));
        for (const std::string& kind : art::BrokenSkinKinds())
            Write(fs::path(argv[2]) / (kind + ".skn"), art::BrokenSkin(kind));
    } else if (cmd == "stream" && argc == 4) {
        std::string container;
        if (!ReadFileBytes(argv[2], container)) return Fail(std::string("cannot read ") + argv[2]);
        Write(argv[3], art::SkinStreamOf(container));
    } else if (cmd == "rc" && argc == 4) {
        const fs::path dir = argv[2];
        std::string rc = "// Written by kestrup-skinart: the stored skin and the program's own skin bitmaps.\n";
        rc += "SKINSTREAM RCDATA " + RcPath(dir / "Kestrup.skinstream") + "\n";
        for (const char* name : kProgramBitmapNames)
            rc += std::string(name) + " BITMAP " + RcPath(dir / "program" / (std::string(name) + ".bmp")) + "\n";
        rc += "MAINICON ICON " + RcPath(dir / "program" / "Kestrup.ico") + "\n";
        Write(argv[3], rc);
    } else if (cmd == "preview" && argc == 5) {
        std::string stream;
        if (!ReadFileBytes(argv[2], stream)) return Fail(std::string("cannot read ") + argv[2]);
        TSkinData skin;
        if (!skin.ReadSkinStream(stream)) return Fail("no usable skin in " + std::string(argv[2]));
        std::vector<PreviewText> texts;
        Write(argv[3], WriteBmp(RenderSkinPreview(skin, texts)));
        std::string lines;
        for (const PreviewText& t : texts) {
            char head[96];
            std::snprintf(head, sizeof head, "%d %d #%02X%02X%02X %d %d %d ", t.X, t.Y, t.Colour & 255,
                          (t.Colour >> 8) & 255, (t.Colour >> 16) & 255, t.Bold ? 1 : 0, t.Mono ? 1 : 0, t.Size);
            lines += head + t.Text + "\n";
        }
        Write(argv[4], lines);
    } else {
        return Fail("unknown command " + cmd);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}
