#include "Bmp.h"

#include <gtest/gtest.h>

#include <string>

using namespace kes;

namespace {

PixelBuffer Sample(int w, int h, int colours) {
    static const std::int32_t palette[] = {0x000000, 0xFFFFFF, 0xFF00FF, 0x0000FF, 0x00FF00, 0xFF0000,
                                           0x808080, 0x123456, 0x654321, 0x0F0F0F, 0xF0F0F0, 0x00FFFF,
                                           0xFFFF00, 0x7F007F, 0x3C3C3C, 0xABCDEF};
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x * 7 + y * 3) % colours;
            p.SetPixel(x, y, i < 16 ? palette[i] : i * 0x010101);
        }
    return p;
}

void ExpectSame(const PixelBuffer& a, const PixelBuffer& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
}

void Set32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Set16(std::string& s, std::size_t at, std::uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

bool Refused(const std::string& bytes) {
    PixelBuffer p(1, 1);
    std::string error;
    const bool ok = ReadBmp(bytes, p, error);
    EXPECT_EQ(p.Width(), 1);  // left unchanged
    return !ok && !error.empty();
}

}  // namespace

TEST(Bmp, RoundTripsEveryDepthRowOrderAndNarrowWidth) {
    for (int bpp : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true})
            for (int w = 1; w <= 5; ++w)
                for (int h : {1, 2, 3}) {
                    SCOPED_TRACE(testing::Message() << bpp << " bpp " << w << "x" << h << (topDown ? " top-down" : ""));
                    const int colours = bpp == 1 ? 2 : bpp == 4 ? 16 : 200;
                    const PixelBuffer image = Sample(w, h, colours);
                    const std::string file = WriteBmp(image, bpp, topDown);
                    PixelBuffer back;
                    std::string error;
                    ASSERT_TRUE(ReadBmp(file, back, error)) << error;
                    EXPECT_EQ(back.BottomUp(), !topDown);
                    ExpectSame(back, image);
                }
}

TEST(Bmp, HeaderFieldsAsWritten) {
    const std::string file = WriteBmp(Sample(3, 2, 200), 24);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(file.size(), 14u + 40 + 12 * 2);  // 3 pixels = 9 bytes, padded to 12
    EXPECT_EQ(static_cast<unsigned char>(file[10]), 54);
    EXPECT_EQ(WriteBmp(Sample(3, 2, 2), 1).size(), 14u + 40 + 8 + 4 * 2);
}

TEST(Bmp, WriterRefusesWhatItCannotHold) {
    EXPECT_THROW(WriteBmp(Sample(8, 8, 200), 1), std::invalid_argument);
    EXPECT_THROW(WriteBmp(Sample(8, 8, 200), 4), std::invalid_argument);
    EXPECT_THROW(WriteBmp(Sample(2, 2, 2), 2), std::invalid_argument);
    EXPECT_THROW(WriteBmpRle(Sample(2, 2, 2), 24), std::invalid_argument);
    EXPECT_THROW(WriteBmpRle(Sample(8, 8, 20), 4), std::invalid_argument);
}

TEST(Bmp, ReadsOtherHeaderForms) {
    // A 2x1 picture with the old 12-byte header and a 3-byte palette.
    std::string core = "BM" + std::string(12, '\0');
    Set32(core, 10, 14 + 12 + 6);
    core += std::string(12, '\0');
    Set32(core, 14, 12);
    Set16(core, 18, 2);
    Set16(core, 20, 1);
    Set16(core, 22, 1);
    Set16(core, 24, 1);
    core += std::string(
        "\x00\x00\xFF"
        "\xFF\x00\x00",
        6);                                // red, blue
    core += std::string("\x40\0\0\0", 4);  // pixels 0, 1
    PixelBuffer p;
    std::string error;
    ASSERT_TRUE(ReadBmp(core, p, error)) << error;
    EXPECT_EQ(p.GetPixel(0, 0), 0x0000FF);
    EXPECT_EQ(p.GetPixel(1, 0), 0xFF0000);

    // 32 bits with the standard bit-field masks after a 40-byte header.
    std::string fields = WriteBmp(Sample(2, 2, 200), 32);
    Set32(fields, 30, 3);
    fields.insert(54, std::string("\0\0\xFF\0"
                                  "\0\xFF\0\0"
                                  "\xFF\0\0\0",
                                  12));
    Set32(fields, 10, 54 + 12);
    ASSERT_TRUE(ReadBmp(fields, p, error)) << error;
    ExpectSame(p, Sample(2, 2, 200));
    Set32(fields, 54, 0xFF);  // red on blue's bits: overlapping masks are refused
    EXPECT_TRUE(Refused(fields));
}

TEST(Bmp, RefusesEveryOutOfBoundsOrUnsupportedField) {
    const std::string good = WriteBmp(Sample(3, 3, 16), 4);
    PixelBuffer p;
    std::string error;
    ASSERT_TRUE(ReadBmp(good, p, error));

    EXPECT_TRUE(Refused(""));
    EXPECT_TRUE(Refused("BM"));
    EXPECT_TRUE(Refused("XY" + good.substr(2)));
    EXPECT_TRUE(Refused(good.substr(0, 30)));               // header cut
    EXPECT_TRUE(Refused(good.substr(0, good.size() - 1)));  // last row cut
    auto with = [&](std::size_t at, std::uint32_t v, bool wide = true) {
        std::string s = good;
        wide ? Set32(s, at, v) : Set16(s, at, v);
        return s;
    };
    EXPECT_TRUE(Refused(with(10, 0xFFFFFFF0)));  // pixels far past the end
    EXPECT_TRUE(Refused(with(14, 41)));          // unknown header size
    EXPECT_TRUE(Refused(with(14, 0xFFFFFFFF)));
    EXPECT_TRUE(Refused(with(18, 0)));           // no width
    EXPECT_TRUE(Refused(with(18, 0x80000000)));  // negative width
    EXPECT_TRUE(Refused(with(22, 0)));           // no height
    EXPECT_TRUE(Refused(with(22, 0x80000000)));  // the most negative height
    EXPECT_TRUE(Refused(with(18, 40000)));       // wider than a bitmap may be
    EXPECT_TRUE(Refused(with(26, 2, false)));    // planes
    EXPECT_TRUE(Refused(with(28, 2, false)));    // depth we do not read
    EXPECT_TRUE(Refused(with(28, 0, false)));
    EXPECT_TRUE(Refused(with(30, 4)));   // JPEG inside
    EXPECT_TRUE(Refused(with(30, 1)));   // RLE8 on a 4-bit bitmap
    EXPECT_TRUE(Refused(with(46, 17)));  // more palette entries than 4 bits address
    EXPECT_TRUE(Refused(with(46, 0x40000000)));
    // A palette of 2 entries with pixels that use index 5.
    std::string shortPalette = with(46, 2);
    EXPECT_TRUE(Refused(shortPalette));
}

TEST(Bmp, TopDownHeightIsReadAsRowsFromTheTop) {
    PixelBuffer image(1, 2);
    image.SetPixel(0, 0, 0x0000FF);
    image.SetPixel(0, 1, 0x00FF00);
    PixelBuffer p;
    std::string error;
    ASSERT_TRUE(ReadBmp(WriteBmp(image, 24, true), p, error));
    EXPECT_FALSE(p.BottomUp());
    EXPECT_EQ(p.GetPixel(0, 0), 0x0000FF);
    const std::string file = WriteBmp(image, 24, true);
    EXPECT_EQ(static_cast<unsigned char>(file[54 + 2]), 0xFF);  // first stored row is the top one
}

namespace {

// A 16-bit bitmap of one row: the compression, its masks (after the 40-byte header) and the pixel words.
std::string Bmp16(std::uint32_t compression, const std::vector<std::uint32_t>& masks,
                  const std::vector<std::uint16_t>& pixels) {
    const std::size_t stride = (pixels.size() * 2 + 3) & ~std::size_t{3};
    std::string s = "BM" + std::string(52, '\0');
    Set32(s, 10, static_cast<std::uint32_t>(54 + 4 * masks.size()));
    Set32(s, 14, 40);
    Set32(s, 18, static_cast<std::uint32_t>(pixels.size()));
    Set32(s, 22, 1);
    Set16(s, 26, 1);
    Set16(s, 28, 16);
    Set32(s, 30, compression);
    for (std::uint32_t m : masks) s += std::string(4, '\0'), Set32(s, s.size() - 4, m);
    std::string row(stride, '\0');
    for (std::size_t i = 0; i < pixels.size(); ++i) Set16(row, 2 * i, pixels[i]);
    return s + row;
}

// An 8- or 4-bit run-length bitmap: palette black, red, green, blue, then the stream as given.
std::string Rle(int bpp, int w, int h, const std::string& stream, bool topDown = false) {
    std::string s = "BM" + std::string(52, '\0');
    Set32(s, 10, 54 + 16);
    Set32(s, 14, 40);
    Set32(s, 18, static_cast<std::uint32_t>(w));
    Set32(s, 22, static_cast<std::uint32_t>(topDown ? -h : h));
    Set16(s, 26, 1);
    Set16(s, 28, static_cast<std::uint32_t>(bpp));
    Set32(s, 30, bpp == 8 ? 1 : 2);
    Set32(s, 46, 4);
    s += std::string(
        "\0\0\0\0"
        "\0\0\xFF\0"
        "\0\xFF\0\0"
        "\xFF\0\0\0",
        16);
    return s + stream;
}

std::vector<std::int32_t> RowOf(const PixelBuffer& p, int y) {
    std::vector<std::int32_t> row;
    for (int x = 0; x < p.Width(); ++x) row.push_back(p.GetPixel(x, y));
    return row;
}

}  // namespace

TEST(Bmp, SixteenBitFieldsAndRunLengthForms) {
    const std::int32_t K = 0, R = 0x0000FF, G = 0x00FF00, B = 0xFF0000;
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::vector<std::int32_t>> rows;  // from the top; empty = refused
    };
    const Case cases[] = {
        // Five bits widen by repeating their top bits: 16 gives 132, 1 gives 8; six bits likewise.
        {"16 bits without masks: 5-5-5", Bmp16(0, {}, {0x7C00, 0x03E0, 0x001F, 0x4210}), {{R, G, B, 0x848484}}},
        {"5-5-5 bit fields", Bmp16(3, {0x7C00, 0x03E0, 0x001F}, {0x7C00, 0x0421}), {{R, 0x080808}}},
        {"5-6-5 bit fields",
         Bmp16(3, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0, 0x001F, 0x0841}),
         {{R, G, B, 0x080808}}},
        {"overlapping masks", Bmp16(3, {0xF800, 0x0FE0, 0x001F}, {0}), {}},
        {"an empty mask", Bmp16(3, {0xF800, 0, 0x001F}, {0}), {}},
        {"a mask with a gap", Bmp16(3, {0xA800, 0x07E0, 0x001F}, {0}), {}},
        {"a mask past 16 bits", Bmp16(3, {0x1F0000, 0x07E0, 0x001F}, {0}), {}},
        // A run of 4, an end of line; 3 pixels as they stand (padded) and a run of 1; a move of one to the
        // right, a run of 2 and the end: skipped pixels stay black.
        {"RLE8 runs, pixels as they stand, a move",
         Rle(8, 4, 3,
             std::string("\4\1\0\0"
                         "\0\3\2\3\1\0"
                         "\1\2\0\0"
                         "\0\2\1\0"
                         "\2\3\0\1",
                         22)),
         {{K, B, B, K}, {G, B, R, G}, {R, R, R, R}}},
        {"RLE4 alternating runs and nibbles",
         Rle(4, 5, 2,
             std::string("\5\x12\0\0"
                         "\0\3\x31\x20\0\1",
                         10)),
         {{B, R, G, K, K}, {R, G, R, G, R}}},
        {"runs past the right edge and the top are cut",
         Rle(8, 2, 1, std::string("\x09\3\0\0\x09\1\0\1", 8)),
         {{B, B}}},
        {"a stream that ends early keeps what it gave",
         Rle(8, 3, 2, std::string("\2\1\0\0\0\3\2", 7)),
         {{K, K, K}, {R, R, K}}},
        {"a run-length index past the palette", Rle(8, 1, 1, std::string("\1\7\0\1", 4)), {}},
        {"run-length bitmaps are never top-down", Rle(8, 1, 1, std::string("\1\1\0\1", 4), true), {}},
    };
    for (const Case& c : cases) {
        PixelBuffer p;
        std::string error;
        const bool ok = ReadBmp(c.file, p, error);
        ASSERT_EQ(ok, !c.rows.empty()) << c.what << ": " << error;
        if (!ok) continue;
        ASSERT_EQ(p.Height(), static_cast<int>(c.rows.size())) << c.what;
        for (int y = 0; y < p.Height(); ++y)
            EXPECT_EQ(RowOf(p, y), c.rows[static_cast<std::size_t>(y)]) << c.what << " row " << y;
    }

    // What the writer packs reads back: runs and literal stretches, 8 and 4 bits; 16 bits to five and six.
    for (int bpp : {8, 4}) {
        PixelBuffer image = Sample(300, 3, 16);
        image.FillRect({20, 1, 290, 2}, 0x808080);  // a run longer than 255
        PixelBuffer back;
        std::string error;
        ASSERT_TRUE(ReadBmp(WriteBmpRle(image, bpp), back, error)) << bpp << ": " << error;
        ExpectSame(back, image);
    }
    PixelBuffer grey(1, 1), back;
    grey.SetPixel(0, 0, 0x8090A0);
    std::string error;
    ASSERT_TRUE(ReadBmp(WriteBmp(grey, 16), back, error)) << error;
    EXPECT_EQ(back.GetPixel(0, 0), 0x8492A5) << "each channel keeps its top five or six bits, widened again";
}
