#include "Bmp.h"

#include <gtest/gtest.h>

#include <string>

using namespace kes;

namespace {

PixelBuffer Sample(int w, int h, int colours) {
    static const std::int32_t palette[] = {0x000000, 0xFFFFFF, 0xFF00FF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080,
                                           0x123456, 0x654321, 0x0F0F0F, 0xF0F0F0, 0x00FFFF, 0xFFFF00, 0x7F007F,
                                           0x3C3C3C, 0xABCDEF};
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
    EXPECT_THROW(WriteBmp(Sample(2, 2, 2), 16), std::invalid_argument);
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
    core += std::string("\x00\x00\xFF" "\xFF\x00\x00", 6);  // red, blue
    core += std::string("\x40\0\0\0", 4);                   // pixels 0, 1
    PixelBuffer p;
    std::string error;
    ASSERT_TRUE(ReadBmp(core, p, error)) << error;
    EXPECT_EQ(p.GetPixel(0, 0), 0x0000FF);
    EXPECT_EQ(p.GetPixel(1, 0), 0xFF0000);

    // 32 bits with the standard bit-field masks after a 40-byte header.
    std::string fields = WriteBmp(Sample(2, 2, 200), 32);
    Set32(fields, 30, 3);
    fields.insert(54, std::string("\0\0\xFF\0" "\0\xFF\0\0" "\xFF\0\0\0", 12));
    Set32(fields, 10, 54 + 12);
    ASSERT_TRUE(ReadBmp(fields, p, error)) << error;
    ExpectSame(p, Sample(2, 2, 200));
    Set32(fields, 54, 0xFF);  // other masks are not read
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
    EXPECT_TRUE(Refused(with(10, 0xFFFFFFF0)));      // pixels far past the end
    EXPECT_TRUE(Refused(with(14, 41)));              // unknown header size
    EXPECT_TRUE(Refused(with(14, 0xFFFFFFFF)));
    EXPECT_TRUE(Refused(with(18, 0)));               // no width
    EXPECT_TRUE(Refused(with(18, 0x80000000)));      // negative width
    EXPECT_TRUE(Refused(with(22, 0)));               // no height
    EXPECT_TRUE(Refused(with(22, 0x80000000)));      // the most negative height
    EXPECT_TRUE(Refused(with(18, 40000)));           // wider than a bitmap may be
    EXPECT_TRUE(Refused(with(26, 2, false)));        // planes
    EXPECT_TRUE(Refused(with(28, 16, false)));       // depth we do not read
    EXPECT_TRUE(Refused(with(28, 0, false)));
    EXPECT_TRUE(Refused(with(30, 2)));               // run-length compressed
    EXPECT_TRUE(Refused(with(46, 17)));              // more palette entries than 4 bits address
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
