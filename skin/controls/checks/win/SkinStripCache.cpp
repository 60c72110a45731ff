#include "skin/controls/checks/win/SkinStripCache.h"

#include <cstring>
#include <map>
#include <memory>

#include "skin/data/SkinData.h"
#include "skin/draw/win/SkinDraw.h"

namespace kes {

namespace {

struct Entry {
    int Width = 0, Height = 0;
    uint64_t Sum = 0;
    std::unique_ptr<TBitmap> Bitmap;
};

// FNV-1a over the rows' pixels: a new skin whose image landed at the same address shows a different sum.
uint64_t Fingerprint(const PixelBuffer& image) {
    uint64_t h = 1469598103934665603ull;
    const size_t row = static_cast<size_t>(image.Width()) * 3;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* p = image.Row(y);
        for (size_t i = 0; i < row; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
    return h;
}

// Skins come and go rarely; a handful of images per skin are drawn through here.
constexpr size_t kMostEntries = 64;

}  // namespace

TBitmap* CachedSkinBitmap(const PixelBuffer& image) {
    static std::map<const PixelBuffer*, Entry> entries;
    // A new skin: the images of the old one are gone, and their bitmaps with them.
    static unsigned loads = SkinLoadCount();
    if (loads != SkinLoadCount()) {
        entries.clear();
        loads = SkinLoadCount();
    }
    if (image.Width() <= 0 || image.Height() <= 0) return nullptr;
    const uint64_t sum = Fingerprint(image);
    auto it = entries.find(&image);
    if (it != entries.end() && it->second.Width == image.Width() && it->second.Height == image.Height() &&
        it->second.Sum == sum && it->second.Bitmap)
        return it->second.Bitmap.get();
    if (it == entries.end() && entries.size() >= kMostEntries) entries.clear();
    Entry e{image.Width(), image.Height(), sum, BitmapFromPixels(image)};
    TBitmap* made = e.Bitmap.get();
    entries[&image] = std::move(e);
    return made;
}

}  // namespace kes
