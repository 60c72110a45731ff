#include "LzhEncoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/container/LZH.h"

using namespace kes;

namespace {

std::string Decode(const std::string& packed, std::int32_t count) {
    std::string out;
    TLZH lzh;
    lzh.SetInput(reinterpret_cast<const std::uint8_t*>(packed.data()), packed.size());
    lzh.SetOutput(&out);
    lzh.DecodeStreams(count);
    return out;
}

std::uint64_t Fnv(const std::string& s) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (unsigned char c : s) h = (h ^ c) * 0x100000001b3ULL;
    return h;
}

std::string Hex(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        out += "0123456789abcdef"[c >> 4];
        out += "0123456789abcdef"[c & 15];
    }
    return out;
}

// A fixed mix of symbols: mostly four frequent bytes, some other bytes, one match in five.
struct SymbolMix {
    std::string packed;
    std::int32_t produced = 0;
    int longest = 0;
    int rebuilds = 0;
};
SymbolMix WriteMix(int symbols, std::uint64_t x) {
    LzhSymbolWriter w;
    SymbolMix m;
    for (int i = 0; i < symbols; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::uint64_t v = x >> 33;
        if (v % 10 < 8) {
            w.Literal(static_cast<std::uint8_t>((v >> 8) % 4 ? (v >> 4) % 4 : (v >> 12) % 256));
            ++m.produced;
        } else {
            const int length = 3 + static_cast<int>((v >> 4) % 58);
            w.Match(length, 1 + static_cast<int>((v >> 12) % 4096));
            m.produced += length;
        }
    }
    m.longest = w.LongestCode();
    m.rebuilds = w.TreeRebuilds();
    m.packed = w.Finish();
    return m;
}

std::string Text(std::size_t n) {
    static const char* words[] = {"Button", "Caption", "[Colours]", "frame=3", "scroll", "\r\n", " ", "trans=1"};
    std::string s;
    std::mt19937 rng(7);
    while (s.size() < n) s += words[rng() % 8];
    return s.substr(0, n);
}
std::string Runs(std::size_t n) {
    std::string s;
    std::mt19937 rng(11);
    while (s.size() < n) s.append(1 + rng() % 300, static_cast<char>(rng() % 4 ? 0xFF : rng()));
    return s.substr(0, n);
}
std::string Random(std::size_t n, unsigned seed = 3) {
    std::string s(n, '\0');
    std::mt19937 rng(seed);
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

}  // namespace

TEST(LzhEncode, MatchesTheHandWorkedVectors) {
    EXPECT_EQ(Hex(LzhEncode("A")), "e680");
    EXPECT_EQ(Hex(LzhEncode("A   ")), "e6c600c0");
    EXPECT_EQ(Hex(LzhEncode("")), "");
}

// The digests below come from a separate model of the same tree (lzh_model.py beside this file, written
// apart from the C++ code), fed the same symbols: equal bytes mean both gave every symbol the same code.
TEST(LzhEncode, TreeAgreesWithAnIndependentModelAcrossRebuilds) {
    const SymbolMix small = WriteMix(3000, 777);
    EXPECT_EQ(small.packed.size(), 3011u);
    EXPECT_EQ(Fnv(small.packed), 0x9fbeb5bc84dcd8eaULL);
    EXPECT_EQ(small.produced, 21086);
    EXPECT_EQ(Fnv(Decode(small.packed, small.produced)), 0x83bdfa0df51fbed7ULL);

    // 100000 symbols: the root reaches 0x8000 five times.
    const SymbolMix big = WriteMix(100000, 12345);
    EXPECT_EQ(big.rebuilds, 5);
    EXPECT_EQ(big.packed.size(), 98728u);
    EXPECT_EQ(Fnv(big.packed), 0x6d58528688818bdaULL);
    EXPECT_EQ(big.produced, 709996);
    EXPECT_EQ(Fnv(Decode(big.packed, big.produced)), 0xd5064b8f38bce491ULL);
}

TEST(LzhEncode, CodesLongerThanSixteenBits) {
    // Frequencies in Fibonacci steps give a deep, one-sided tree; a byte not seen before sits at its bottom.
    static const int fib[] = {1, 1, 2, 3, 5, 8, 13, 21, 34};
    LzhSymbolWriter w;
    std::string expected;
    for (int k = 0; k < 9; ++k)
        for (int i = 0; i < 320 * fib[k]; ++i) {
            w.Literal(static_cast<std::uint8_t>(k + 1));
            expected.push_back(static_cast<char>(k + 1));
        }
    w.Literal(200);
    expected.push_back(static_cast<char>(200));
    EXPECT_EQ(w.LongestCode(), 18);
    const std::string packed = w.Finish();
    EXPECT_EQ(packed.size(), 9193u);
    EXPECT_EQ(Fnv(packed), 0x997c6dd32fcaa41eULL);
    EXPECT_EQ(Decode(packed, static_cast<std::int32_t>(expected.size())), expected);
}

TEST(LzhEncode, RoundTripsEverySizeAndKind) {
    const std::size_t sizes[] = {0, 1, 2, 59, 60, 61, 4095, 4096, 4097, 64 * 1024, 150 * 1024};
    for (std::size_t n : sizes) {
        for (const std::string& data : {Text(n), Runs(n), Random(n)}) {
            const std::string packed = LzhEncode(data);
            EXPECT_EQ(Decode(packed, static_cast<std::int32_t>(data.size())), data) << "size " << n;
        }
    }
}

TEST(LzhEncode, RoundTripsDataSkewedEnoughToRebuildTheTreeOften) {
    // Bytes from a steep distribution in short random runs: many symbols, few long matches.
    std::string data(400 * 1024, '\0');
    std::mt19937 rng(5);
    std::geometric_distribution<int> steep(0.3);
    for (char& c : data) c = static_cast<char>(std::min(steep(rng), 255));
    int rebuilds = 0;
    const std::string packed = LzhEncode(data, &rebuilds);
    EXPECT_GE(rebuilds, 3);
    EXPECT_EQ(Decode(packed, static_cast<std::int32_t>(data.size())), data);
}

TEST(LzhEncode, CompressesTextAndRuns) {
    const std::string text = Text(64 * 1024), runs = Runs(64 * 1024);
    EXPECT_LT(LzhEncode(text).size(), text.size() / 3);
    EXPECT_LT(LzhEncode(runs).size(), runs.size() / 20);
}

TEST(LzhEncode, MatchesAtTheLimits) {
    // Distance 4096 reaches the byte written 4096 places back; lengths 3 and 60 are the shortest and longest.
    const std::string head = Random(4096, 9);
    LzhSymbolWriter w;
    for (char c : head) w.Literal(static_cast<std::uint8_t>(c));
    w.Match(60, 4096);
    w.Match(3, 4096);
    w.Match(3, 1);
    const std::string expected = head + head.substr(0, 60) + head.substr(60, 3) + std::string(3, head[62]);
    EXPECT_EQ(Decode(w.Finish(), static_cast<std::int32_t>(expected.size())), expected);

    // The encoder itself finds the far match.
    const std::string data = head + head.substr(0, 60);
    const std::string packed = LzhEncode(data);
    EXPECT_EQ(Decode(packed, static_cast<std::int32_t>(data.size())), data);
    EXPECT_LT(packed.size(), LzhEncode(head).size() + 6);
}

TEST(LzhEncode, LeadingBlanksComeFromTheRing) {
    const std::string data = std::string(200, ' ') + "[Form]";
    const std::string packed = LzhEncode(data);
    EXPECT_LT(packed.size(), 20u);
    EXPECT_EQ(Decode(packed, static_cast<std::int32_t>(data.size())), data);
}

TEST(LzhEncode, RefusesMatchesOutOfRange) {
    LzhSymbolWriter w;
    EXPECT_THROW(w.Match(2, 1), std::invalid_argument);
    EXPECT_THROW(w.Match(61, 1), std::invalid_argument);
    EXPECT_THROW(w.Match(3, 0), std::invalid_argument);
    EXPECT_THROW(w.Match(3, 4097), std::invalid_argument);
}
