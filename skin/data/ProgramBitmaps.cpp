#include "ProgramBitmaps.h"

#include "base/StringList.h"

namespace kes {

namespace {

constexpr std::int32_t kGrey = 0x808080, kSilver = 0xC0C0C0, kWhite = 0xFFFFFF, kBlack = 0;

// Rows of a picture from the top: 'g' grey, 's' silver, 'w' white.
PixelBuffer FromRows(std::initializer_list<const char*> rows) {
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(std::string(*rows.begin()).size());
    PixelBuffer image(w, h);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < w; ++x) image.SetPixel(x, y, row[x] == 'g' ? kGrey : row[x] == 's' ? kSilver : kWhite);
        ++y;
    }
    return image;
}

// A sunken groove, 16 wide and 4 high.
PixelBuffer Track() {
    return FromRows({"ssggggggggggggww", "sswwwwwwwwwwwwww", "gswwwwwwwwwwwwww", "sswwwwwwwwwwwwww"});
}

PixelBuffer TrackVert() {
    return FromRows({"ssgs", "ssss", "gwww", "gwww", "gwww", "gwww", "gwww", "gwww", "gwww", "gwww", "gwww", "gwww",
                     "gwww", "gwww", "wwww", "wwww"});
}

// Four 16 x 16 glyphs side by side, black on white: restore, maximize, minimize, close.
PixelBuffer MenuGlyphs() {
    PixelBuffer image(64, 16);
    image.FillRect({0, 0, 64, 16}, kWhite);
    auto outline = [&](int x0, int y0, int x1, int y1, int topThickness) {
        image.FillRect({x0, y0, x1, y0 + topThickness}, kBlack);
        image.FillRect({x0, y1 - 1, x1, y1}, kBlack);
        image.FillRect({x0, y0, x0 + 1, y1}, kBlack);
        image.FillRect({x1 - 1, y0, x1, y1}, kBlack);
    };
    // Restore: a back window peeking out above and right of a front window.
    image.FillRect({6, 3, 13, 5}, kBlack);
    image.FillRect({12, 3, 13, 10}, kBlack);
    image.FillRect({10, 9, 13, 10}, kBlack);
    image.FillRect({6, 3, 7, 6}, kBlack);
    image.FillRect({3, 6, 10, 13}, kWhite);
    outline(3, 6, 10, 13, 2);
    // Maximize: one window with a thick top edge.
    outline(16 + 3, 3, 16 + 13, 13, 2);
    // Minimize: a short bar near the bottom.
    image.FillRect({32 + 4, 10, 32 + 11, 12}, kBlack);
    // Close: a diagonal cross, two pixels thick.
    for (int i = 0; i < 8; ++i) {
        image.FillRect({48 + 4 + i, 4 + i, 48 + 6 + i, 5 + i}, kBlack);
        image.FillRect({48 + 10 - i, 4 + i, 48 + 12 - i, 5 + i}, kBlack);
    }
    return image;
}

}  // namespace

bool DrawProgramBitmap(const std::string& name, PixelBuffer& image) {
    const std::string n = UpperAZ(name);
    if (n == "TRACK") {
        image = Track();
    } else if (n == "TRACKVERT") {
        image = TrackVert();
    } else if (n == "GLASMEREMENU") {
        image = MenuGlyphs();
    } else {
        return false;
    }
    return true;
}

}  // namespace kes
