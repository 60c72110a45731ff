// Skin containers. Input starting with 'R' is loaded as it is (a packed container); anything else is taken
// as an unpacked archive, packed as plain literals and loaded, so the archive checks see arbitrary headers,
// name lists and size tables. The entries of an accepted archive must lie inside it.
#include <cstdint>
#include <string>

#include "skin/container/fuzz/FuzzSeeds.h"
#include "LzhEncoder.h"
#include "SkinWriter.h"
#include "skin/container/SkinReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kes::fuzz::WriteSeeds([] {
        return std::vector<std::string>{
            kes::BuildSkinArchive(70000, {{"a.bmp", "BM.."}, {"Skin.ini", "[Form]\r\n"}}),
            kes::BuildSkinArchive(20000, {{"x", ""}, {"y.ini", "k=v"}}),
            "R" + kes::WriteSkinContainer(30000, {{"one.bmp", "1"}}),
        };
    });
    if (size == 0) return 0;
    // Headers and tables need few bytes; long inputs only slow the search (the decoder has its own target).
    if (size > (data[0] == 'R' ? 1024u : 4096u)) return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string container;
    if (input[0] == 'R') {
        container = input.substr(1);
    } else {
        kes::LzhSymbolWriter writer;
        for (char c : input) writer.Literal(static_cast<std::uint8_t>(c));
        const auto n = static_cast<std::uint32_t>(size);
        container = {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                     static_cast<char>(n >> 24)};
        container += writer.Finish();
    }
    kes::TSkinReader reader;
    reader.ShowMessage = [](const std::string&) {};
    if (!reader.LoadFromStream(container)) return 0;
    // Sizes read from the table must add up inside the archive; every entry comes out whole.
    std::int64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) total += reader.EntrySize(i);
    if (input[0] != 'R' && total > static_cast<std::int64_t>(size)) __builtin_trap();
    std::string entry, name;
    for (int i = 0; i < reader.Count(); ++i) {
        reader.ExtractFile(reader.Names()[i], entry);
        if (static_cast<std::int64_t>(entry.size()) > total) __builtin_trap();
    }
    reader.ExtractFirstMatch(".ini", entry, name);
    return 0;
}
