// Skin descriptions: the input is the description text, read against the images of the test skin (every
// section's bitmap present), so the walk sees arbitrary sections, keys, numbers, colour texts and image
// names. Nothing may crash; every frame count that comes out is at least 1.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/container/fuzz/FuzzSeeds.h"
#include "tools/skinart/SkinArt.h"
#include "skin/container/QuickIni.h"
#include "skin/data/SkinData.h"
#include "skin/container/SkinReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::vector<kes::SkinEntry> entries = kes::art::TestSkin("full");
    kes::fuzz::WriteSeeds([] {
        return std::vector<std::string>{kes::art::TestSkin("full").back().data,
                                        kes::art::TestSkin("sparse").back().data,
                                        "[Personality]\r\nTop=top.bmp\r\nTopFrame=-7\r\n"};
    });
    static kes::TSkinReader reader;
    static const bool loaded = [] {
        std::vector<kes::SkinEntry> images(entries.begin(), entries.end() - 1);
        images.push_back({"x.ini", "[x]"});
        return reader.LoadFromStream(kes::art::PackSkin(images));
    }();
    if (!loaded) std::abort();
    if (size > 8192) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    kes::TQuickIni ini;
    ini.LoadFromText(text);
    static std::unique_ptr<kes::SkinPlatform> platform = kes::MakeSkinPlatform();
    kes::TSkinObjects previous, out;
    kes::SetDefaultSkinColours(out);
    kes::ReadSkinDescription(ini, reader, *platform, previous, out);
    auto check = [](const kes::TDataSkinObject* o) {
        if (o && o->Frame < 1) std::abort();
    };
    check(&out.Left);
    check(&out.Top);
    check(out.ProgressChunk.get());
    check(out.Headerbar.get());
    check(out.HorzScrollThumb.get());
    check(out.Track.get());
    for (const auto& b : out.SysButtons) check(&b);
    if (out.Buttons.RadioButtonFrame < 1 || out.Buttons.CheckButtonFrame < 1) std::abort();
    return 0;
}
