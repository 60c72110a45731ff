// The skin platform of the native build: no windows, the program bitmaps drawn in memory, the metrics of a
// usual desktop.
#include "skin/data/ProgramBitmaps.h"
#include "skin/data/SkinPlatform.h"

namespace kes {

namespace {

class HeadlessHint : public SkinHintWindow {
public:
    TRect CalcHintRect(int maxWidth, const std::string& text) override {
        const int w = static_cast<int>(text.size()) * 7 + 8;
        return {0, 0, w < maxWidth ? w : maxWidth, 19};
    }
    void ActivateHint(const TRect&, const std::string&) override {}
    void Hide() override {}
};

class HeadlessPlatform : public SkinPlatform {
public:
    bool LoadProgramBitmap(const std::string& name, PixelBuffer& image) override {
        return DrawProgramBitmap(name, image);
    }
    int Metric(SkinMetric metric) override {
        switch (metric) {
        case SkinMetric::HScrollArrowWidth: return 17;
        case SkinMetric::MaximizedWidth: return 1296;
        case SkinMetric::MaximizedHeight: return 1010;
        case SkinMetric::SmallIconWidth:
        case SkinMetric::SmallIconHeight: return 16;
        }
        return 0;
    }
    bool HasScrollBarInfo() override { return true; }
    bool LoadCaptionFont(TFont&) override { return false; }
    void MakeFaceBrush(TColor) override {}
    bool DrawAppIcon(PixelBuffer&) override { return false; }
    bool LoadMenuImages() override { return true; }
    SkinHintWindow& HintWindow() override { return hint_; }

private:
    HeadlessHint hint_;
};

}  // namespace

std::unique_ptr<SkinPlatform> MakeSkinPlatform() { return std::make_unique<HeadlessPlatform>(); }

}  // namespace kes
