#include "skin/container/LZH.h"

#include <gtest/gtest.h>

#include <string>

using namespace kes;

namespace {

std::string Bytes(std::initializer_list<int> v) {
    std::string s;
    for (int b : v) s.push_back(static_cast<char>(b));
    return s;
}

std::string Decode(const std::string& packed, std::int32_t count) {
    std::string out;
    TLZH lzh;
    lzh.SetInput(reinterpret_cast<const std::uint8_t*>(packed.data()), packed.size());
    lzh.SetOutput(&out);
    lzh.DecodeStreams(count);
    return out;
}

}  // namespace

// Vectors worked out by hand from the starting tree: symbol i sits at node i, node j >= 314 has the children
// 2 (j - 314) and 2 (j - 314) + 1, and a node's code bit is its position's lowest bit. 'A' (65) climbs
// 65 -> 346 -> 487 -> 557 -> 592 -> 610 -> 619 -> 623 -> 625 -> root: code 111001101.
TEST(LzhDecode, GoldenVectorsFromTheStartingTree) {
    EXPECT_EQ(Decode(Bytes({0xE6, 0x80}), 1), "A");
    // Then length-3 match (symbol 256, code 10001100 after the update), offset 000 + 6 bits.
    EXPECT_EQ(Decode(Bytes({0xE6, 0xC6, 0x00, 0xC0}), 4), "A   ");  // distance 4: three blanks
    EXPECT_EQ(Decode(Bytes({0xE6, 0xC6, 0x00, 0x80}), 4), "A  A");  // distance 3 reaches the 'A'
}

TEST(LzhDecode, RingBytesNeverWrittenReadAsZero) {
    // A 60-byte match at distance 4096 as the first symbol reads the ring's last 60 bytes.
    EXPECT_EQ(Decode(Bytes({0xC5, 0xFF, 0xFC}), 60), std::string(60, '\0'));
}

TEST(LzhDecode, NeverDeliversMoreThanTheStatedLength) {
    EXPECT_EQ(Decode(Bytes({0xE6, 0xC6, 0x00, 0xC0}), 2), "A ");
    EXPECT_EQ(Decode(Bytes({0xC5, 0xFF, 0xFC}), 7).size(), 7u);
}

TEST(LzhDecode, CountOfZeroOrLessReadsNothing) {
    int reads = 0;
    TLZH lzh;
    std::string out;
    const TLZH::ReadMethod read = [&](std::uint8_t*, std::uint16_t, std::uint16_t& a) { ++reads, a = 0; };
    const TLZH::WriteMethod write = [&](const std::uint8_t* b, std::uint16_t s, std::uint16_t& a) {
        out.append(reinterpret_cast<const char*>(b), s), a = s;
    };
    lzh.Decode(0, write, read);
    lzh.Decode(-5, write, read);
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(out.empty());
}

TEST(LzhDecode, TruncatedInputStopsWithAnError) {
    EXPECT_THROW(Decode("", 1000), ElzhException);
    EXPECT_THROW(Decode(Bytes({0xE6, 0x80}), 1000000), ElzhException);
    EXPECT_THROW(Decode(Bytes({0xE6}), 4), ElzhException);
    try {
        Decode("", 100);
        FAIL();
    } catch (const ElzhException& e) {
        EXPECT_STREQ(e.ClassName(), "ElzhException");
    }
}

TEST(LzhDecode, OutputRefusedByTheWriterIsAnErrorNotAHang) {
    const std::string packed = Bytes({0xE6, 0x80});
    TLZH lzh;
    lzh.SetInput(reinterpret_cast<const std::uint8_t*>(packed.data()), packed.size());
    const TLZH::ReadMethod read = [&](std::uint8_t* b, std::uint16_t s, std::uint16_t& a) { lzh.ReadInput(b, s, a); };
    const TLZH::WriteMethod refuse = [](const std::uint8_t*, std::uint16_t, std::uint16_t& a) { a = 0; };
    EXPECT_THROW(lzh.Decode(1, refuse, read), ElzhException);
}

TEST(LzhDecode, ReadAndWriteMethodsMayMoveOneByteAtATime) {
    const std::string packed = Bytes({0xE6, 0xC6, 0x00, 0xC0});
    std::size_t pos = 0;
    std::string out;
    TLZH lzh;
    lzh.Decode(
        4, [&](const std::uint8_t* b, std::uint16_t, std::uint16_t& a) { out.push_back(static_cast<char>(*b)), a = 1; },
        [&](std::uint8_t* b, std::uint16_t, std::uint16_t& a) {
            a = pos < packed.size() ? 1 : 0;
            if (a) *b = static_cast<std::uint8_t>(packed[pos++]);
        });
    EXPECT_EQ(out, "A   ");
}

TEST(LzhDecode, LengthThePackedDataCannotProduceIsRefusedUpFront) {
    EXPECT_EQ(TLZH::MaxUnpackedSize(0), 2 * 48);
    EXPECT_EQ(TLZH::MaxUnpackedSize(1000), 1002 * 48);
    EXPECT_EQ(TLZH::MaxUnpackedSize(-3), 2 * 48);
    // Three bytes (one 60-byte match) could never give more than 240: 241 is refused before decoding,
    // so nothing at all is written.
    std::string out = "untouched";
    TLZH lzh;
    const std::string packed = Bytes({0xC5, 0xFF, 0xFC});
    lzh.SetInput(reinterpret_cast<const std::uint8_t*>(packed.data()), packed.size());
    lzh.SetOutput(&out);
    EXPECT_THROW(lzh.DecodeStreams(241), ElzhException);
    EXPECT_EQ(out, "untouched");
    EXPECT_THROW(Decode("", 0x7FFFFFFF), ElzhException);
}
