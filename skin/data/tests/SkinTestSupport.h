#pragma once
// Shared by the skin data tests: loading the test skins, and a platform that records what it was asked.
#include <string>
#include <vector>

#include "SkinArt.h"
#include "skin/container/ImgUtil.h"
#include "skin/data/ProgramBitmaps.h"
#include "skin/data/SkinData.h"

namespace kes::test {

inline std::string Stream(const std::string& container) { return art::SkinStreamOf(container); }
inline std::string FullSkin() { return Stream(art::PackSkin(art::TestSkin("full"))); }
inline std::string SparseSkin() { return Stream(art::PackSkin(art::TestSkin("sparse"))); }
inline std::string Broken(const std::string& kind) { return Stream(art::BrokenSkin(kind)); }
inline std::int32_t Colour(const std::string& image, int frame) { return art::TestColour(image, frame); }

class RecordingHint : public SkinHintWindow {
public:
    std::vector<std::pair<TRect, std::string>> shown;
    int hides = 0;
    TRect CalcHintRect(int, const std::string&) override { return {0, 0, 50, 20}; }
    void ActivateHint(const TRect& r, const std::string& text) override { shown.emplace_back(r, text); }
    void Hide() override { ++hides; }
};

class FakePlatform : public SkinPlatform {
public:
    bool scrollBarInfo = true;
    bool throwOnProgramBitmap = false;
    std::vector<TColor> faceBrushes;
    int menuImageLoads = 0;

    bool LoadProgramBitmap(const std::string& name, PixelBuffer& image) override {
        if (throwOnProgramBitmap) throw std::runtime_error("resource failure");
        return DrawProgramBitmap(name, image);
    }
    int Metric(SkinMetric m) override {
        switch (m) {
        case SkinMetric::HScrollArrowWidth: return 17;
        case SkinMetric::MaximizedWidth: return 1300;
        case SkinMetric::MaximizedHeight: return 900;
        default: return 16;
        }
    }
    bool HasScrollBarInfo() override { return scrollBarInfo; }
    bool LoadCaptionFont(TFont& font) override {
        font.SetName("Caption Sans");
        font.SetStyle(fsBold);
        return true;
    }
    void MakeFaceBrush(TColor c) override { faceBrushes.push_back(c); }
    bool DrawAppIcon(PixelBuffer& image) override {
        image.SetPixel(3, 3, 0x123456);
        return true;
    }
    bool LoadMenuImages() override { return ++menuImageLoads > 0; }
    SkinHintWindow& HintWindow() override { return hint; }
    RecordingHint hint;
};

}  // namespace kes::test
