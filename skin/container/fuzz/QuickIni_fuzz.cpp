// Skin descriptions of any content: parse, then look up every section and the keys of its first lines.
#include <cstdint>
#include <string>

#include "FuzzSeeds.h"
#include "skin/container/QuickIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kes::fuzz::WriteSeeds([] {
        return std::vector<std::string>{
            "[Form]\r\nframecount=4\r\ncolor=0x00FF00\r\n; note\r\n[ Buttons ]\rtrans = 1\n",
            std::string("[A]\nx=$7FFFFFFF\0tail", 21)};
    });
    const std::string text(reinterpret_cast<const char*>(data), size);
    kes::TQuickIni ini;
    ini.LoadFromText(text);
    kes::TStringList sections;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count() && i < 64; ++i) {
        const int header = ini.FindSection(sections[i]);
        for (int k = header + 1; k < ini.Lines().Count() && k < header + 8; ++k) {
            const std::string& line = ini.Lines()[k];
            const std::string key = line.substr(0, line.find('='));
            ini.ReadString(sections[i], key, "d");
            ini.ReadInteger(sections[i], key, -1);
        }
    }
    return 0;
}
