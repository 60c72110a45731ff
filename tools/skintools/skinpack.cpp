// kestrup-skinpack: packs a folder of bitmaps and a skin description into a skin container.
//
//   kestrup-skinpack [options] FOLDER OUTPUT
//     -f, --format N       archive format number (default 70000)
//     -d, --description F  the skin description (default: the one .ini file in FOLDER)
//     --rc FILE            also write a resource include that stores OUTPUT in the program
//     --resource NAME      resource name in that include (default SKINDATA)
//     --unchecked          pack bitmaps the reader refuses (for broken test skins)
//
// The entries are the folder's .bmp files in name order, then the description; names are kept as written.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "Bmp.h"
#include "SkinWriter.h"
#include "base/StringList.h"

namespace fs = std::filesystem;
using namespace kes;

namespace {

int Usage() {
    std::fputs(
        "usage: kestrup-skinpack [-f FORMAT] [-d DESCRIPTION] [--rc FILE [--resource NAME]] [--unchecked] "
        "FOLDER OUTPUT\n",
        stderr);
    return 2;
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "kestrup-skinpack: %s\n", what.c_str());
    return 1;
}

bool HasExtension(const fs::path& p, const char* ext) { return LowerAZ(p.extension().string()) == ext; }

// Quotes a path for a resource script.
std::string RcString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    std::int32_t format = 70000;
    std::string description, rcFile, resource = "SKINDATA";
    bool unchecked = false;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (a == "-f" || a == "--format") {
            format = static_cast<std::int32_t>(std::atol(value().c_str()));
        } else if (a == "-d" || a == "--description") {
            description = value();
        } else if (a == "--rc") {
            rcFile = value();
        } else if (a == "--resource") {
            resource = value();
        } else if (a == "--unchecked") {
            unchecked = true;
        } else if (!a.empty() && a[0] == '-') {
            return Usage();
        } else {
            rest.push_back(a);
        }
    }
    if (rest.size() != 2 || resource.empty()) return Usage();
    const fs::path folder = rest[0], output = rest[1];

    try {
        std::vector<fs::path> bitmaps, descriptions;
        for (const auto& e : fs::directory_iterator(folder)) {
            if (!e.is_regular_file()) continue;
            if (HasExtension(e.path(), ".bmp")) bitmaps.push_back(e.path());
            if (HasExtension(e.path(), ".ini")) descriptions.push_back(e.path());
        }
        std::sort(bitmaps.begin(), bitmaps.end());
        fs::path ini = description;
        if (description.empty()) {
            if (descriptions.size() != 1) return Fail("expected exactly one .ini file in " + folder.string());
            ini = descriptions.front();
        }

        std::vector<SkinEntry> entries;
        for (const fs::path& p : bitmaps) {
            SkinEntry e{p.filename().string(), {}};
            if (!ReadFileBytes(p.string(), e.data)) return Fail("cannot read " + p.string());
            PixelBuffer image;
            std::string why;
            if (!unchecked && !ReadBmp(e.data, image, why)) return Fail(p.string() + ": " + why);
            entries.push_back(std::move(e));
        }
        SkinEntry desc{ini.filename().string(), {}};
        if (!ReadFileBytes(ini.string(), desc.data)) return Fail("cannot read " + ini.string());
        entries.push_back(std::move(desc));

        const std::string container = WriteSkinContainer(format, entries);
        if (!WriteFileBytes(output.string(), container)) return Fail("cannot write " + output.string());
        if (!rcFile.empty()) {
            const std::string rc = "// Written by kestrup-skinpack.\n" + resource + " RCDATA " +
                                   RcString(fs::absolute(output).generic_string()) + "\n";
            if (!WriteFileBytes(rcFile, rc)) return Fail("cannot write " + rcFile);
        }
        std::printf("%s: %zu entries, format %d, %zu bytes\n", output.string().c_str(), entries.size(),
                    static_cast<int>(format), container.size());
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return 0;
}
