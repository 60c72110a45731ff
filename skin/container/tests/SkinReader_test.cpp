#include "skin/container/SkinReader.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SkinWriter.h"
#include "skin/container/LZH.h"

using namespace kes;

namespace {

std::string Int32(std::int64_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF));
    return s;
}

// An archive put together by hand, so that it can say what the writer never would.
std::string RawArchive(std::int32_t format, std::int64_t nameLength, const std::string& names,
                       const std::vector<std::int64_t>& sizes, const std::string& data) {
    std::string a = Int32(format) + Int32(nameLength) + std::string(8, 'x');
    a += std::string(static_cast<std::size_t>(std::max(TSkinReader::SkippedBlockSize(format), 0)), 'b');
    a += names;
    for (std::int64_t s : sizes) a += Int32(s);
    return a + data;
}

const std::vector<SkinEntry> kEntries = {
    {"Border.bmp", "border bytes"},
    {"empty.bmp", ""},
    {"my.ini.bak", "not the description"},
    {"Skin.INI", "[Form]\r\ncaption=1\r\n"},
};

bool Load(TSkinReader& r, const std::string& archive) { return r.LoadFromStream(PackSkinArchive(archive)); }

}  // namespace

TEST(SkinReader, ReadsEveryFormatTheWriterWrites) {
    for (std::int32_t format : SkinFormats()) {
        SCOPED_TRACE(format);
        TSkinReader r;
        ASSERT_TRUE(r.LoadFromStream(WriteSkinContainer(format, kEntries))) << r.Error();
        EXPECT_EQ(r.FormatNumber(), format);
        EXPECT_EQ(r.Count(), 4);
        EXPECT_EQ(r.NameListLength(), 45);  // 37 name bytes and four CR LF
        EXPECT_EQ(r.Names()[0], "border.bmp");
        EXPECT_EQ(r.Names()[3], "skin.ini");
        std::string data;
        r.ExtractFile("border.bmp", data);
        EXPECT_EQ(data, "border bytes");
        r.ExtractFile("SKIN.ini", data);
        EXPECT_EQ(data, "[Form]\r\ncaption=1\r\n");
        r.ExtractFile("empty.BMP", data);
        EXPECT_EQ(data, "");
    }
}

TEST(SkinReader, LookupByNameAndByFragment) {
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(WriteSkinContainer(70000, kEntries)));
    std::string data = "stale", name = "unchanged";
    r.ExtractFile("missing.bmp", data);
    EXPECT_EQ(data.size(), 0u);
    r.ExtractFile("border", data);  // a part of a name is not a name
    EXPECT_EQ(data.size(), 0u);

    // The first name holding the fragment anywhere wins, even in the middle of a name.
    r.ExtractFirstMatch(".ini", data, name);
    EXPECT_EQ(name, "my.ini.bak");
    EXPECT_EQ(data, "not the description");
    r.ExtractFirstMatch("skin.", data, name);
    EXPECT_EQ(name, "skin.ini");

    name = "unchanged";
    r.ExtractFirstMatch(".gif", data, name);
    EXPECT_EQ(data.size(), 0u);
    EXPECT_EQ(name, "unchanged");
    r.ExtractFirstMatch(".INI", data, name);  // the fragment is compared as passed
    EXPECT_EQ(name, "unchanged");
}

TEST(SkinReader, Format20000HasItsNamesRightAfterTheHeader) {
    const std::string archive = BuildSkinArchive(20000, {{"a.bmp", "AAA"}, {"b.ini", "B"}});
    EXPECT_EQ(archive.substr(16, 14), "a.bmp\r\nb.ini\r\n");
    TSkinReader r;
    ASSERT_TRUE(Load(r, archive));
    std::string data;
    r.ExtractFile("b.ini", data);
    EXPECT_EQ(data, "B");
}

TEST(SkinReader, UnknownFormatShowsTheOldFileMessageAndLoadsNothing) {
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(WriteSkinContainer(70000, kEntries)));
    std::vector<std::string> shown;
    r.ShowMessage = [&](const std::string& text) { shown.push_back(text); };
    EXPECT_FALSE(Load(r, RawArchive(10000, 7, "a.bmp\r\n", {1}, "A")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(r.Count(), 0);
    std::string data;
    r.ExtractFile("border.bmp", data);
    EXPECT_TRUE(data.empty());
    EXPECT_THROW(BuildSkinArchive(10000, kEntries), std::invalid_argument);
}

TEST(SkinReader, MalformedArchivesFailWithoutReadingOutOfBounds) {
    std::vector<std::string> shown;
    auto bad = [&](const std::string& archive) {
        TSkinReader r;
        r.ShowMessage = [&](const std::string& text) { shown.push_back(text); };
        const bool ok = Load(r, archive);
        EXPECT_EQ(r.Count(), 0);
        return !ok && !r.Error().empty();
    };
    EXPECT_TRUE(bad(""));
    EXPECT_TRUE(bad(std::string(15, '\0')));
    EXPECT_TRUE(bad(RawArchive(70000, -1, "a.bmp\r\n", {1}, "A")));        // negative name list
    EXPECT_TRUE(bad(RawArchive(70000, 500, "a.bmp\r\n", {1}, "A")));       // name list past the end
    EXPECT_TRUE(bad(RawArchive(70000, 0x7FFFFFFF, "a.bmp\r\n", {}, "")));  // and far past it
    EXPECT_TRUE(bad(RawArchive(70000, 7, "a.bmp\r\n", {}, "")));           // size table missing
    EXPECT_TRUE(bad(RawArchive(70000, 7, "a.bmp\r\n", {-1}, "A")));        // negative size
    EXPECT_TRUE(bad(RawArchive(70000, 7, "a.bmp\r\n", {2}, "A")));         // entry past the data
    // Two sizes whose sum overflows 32 bits.
    EXPECT_TRUE(bad(RawArchive(70000, 14, "a.bmp\r\nb.bmp\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, "AB")));
    EXPECT_TRUE(shown.empty());

    std::string names;
    for (int i = 0; i < 1002; ++i) names += "x" + std::to_string(i) + "\r\n";
    EXPECT_TRUE(
        bad(RawArchive(70000, static_cast<std::int64_t>(names.size()), names, std::vector<std::int64_t>(1002, 0), "")));
}

TEST(SkinReader, ThousandAndOneEntriesFit) {
    std::vector<SkinEntry> entries;
    for (int i = 0; i < 1001; ++i) entries.push_back({"e" + std::to_string(i) + ".bmp", std::to_string(i)});
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(WriteSkinContainer(40000, entries))) << r.Error();
    EXPECT_EQ(r.Count(), 1001);
    std::string data;
    r.ExtractFile("e1000.bmp", data);
    EXPECT_EQ(data, "1000");
    entries.push_back({"one.more", ""});
    EXPECT_THROW(BuildSkinArchive(40000, entries), std::invalid_argument);
}

TEST(SkinReader, DataBeyondTheLastEntryAndEmptyNamesAreKept) {
    TSkinReader r;
    ASSERT_TRUE(Load(r, RawArchive(50000, 12, "a\r\n\r\nb.ini\r\n", {1, 2, 3}, "ABBCCC-trailing")));
    EXPECT_EQ(r.Count(), 3);
    std::string data;
    r.ExtractFile("b.ini", data);
    EXPECT_EQ(data, "CCC");
    // A name list without a final line break still ends its last name.
    ASSERT_TRUE(Load(r, RawArchive(60000, 5, "a\r\nbc", {1, 1}, "XY")));
    r.ExtractFile("bc", data);
    EXPECT_EQ(data, "Y");
}

TEST(SkinReader, BrokenContainersFail) {
    const std::string good = WriteSkinContainer(70000, kEntries);
    TSkinReader r;
    EXPECT_FALSE(r.LoadFromStream(""));
    EXPECT_FALSE(r.LoadFromStream(good.substr(0, 3)));
    EXPECT_FALSE(r.LoadFromStream(good.substr(0, good.size() / 2)));  // packed data ends early
    std::string negative = good;
    negative.replace(0, 4, Int32(-1));
    EXPECT_FALSE(r.LoadFromStream(negative));
    // A stated length no packed data of this size could produce is refused before decoding.
    std::string huge = good;
    huge.replace(0, 4, Int32(0x7FFFFFFF));
    EXPECT_FALSE(r.LoadFromStream(huge));
    EXPECT_NE(r.Error().find("does not fit"), std::string::npos);
    std::string archive;
    EXPECT_THROW(TSkinReader::Unpack(huge, archive), ElzhException);
    EXPECT_TRUE(r.LoadFromStream(good));
}

#ifndef _WIN32  // a child process with a limited address space: Linux only
// The address space of this (forked) process, limited to what it uses now plus `headroom` bytes.
void LimitAddressSpace(std::size_t headroom) {
    std::size_t pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%zu", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    const rlim_t limit = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + headroom;
    rlimit r{limit, limit};
    setrlimit(RLIMIT_AS, &r);
}

TEST(SkinReaderDeathTest, LengthFieldsClaimingMoreThanTheDataNeverExhaustMemory) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Packed bytes enough for the stated length to pass the decoder's own ratio check.
    const std::string claims2GiB = Int32(0x7FFFFFF0) + std::string(45u << 20, '\0');
    const std::string claims60MiB = Int32(60 << 20) + std::string(2u << 20, '\0');
    for (const std::string* container : {&claims2GiB, &claims60MiB}) {
        EXPECT_EXIT(
            {
                LimitAddressSpace(48u << 20);
                TSkinReader r;
                std::_Exit(r.LoadFromStream(*container) ? 1 : 0);
            },
            ::testing::ExitedWithCode(0), "")
            << "claims " << container->size() << "-byte container";
    }
    TSkinReader r;
    EXPECT_FALSE(r.LoadFromStream(claims2GiB));
    EXPECT_NE(r.Error().find("too large"), std::string::npos) << r.Error();
}
#endif

TEST(SkinWriter, RefusesNamesTheListCannotHold) {
    EXPECT_THROW(BuildSkinArchive(70000, {{"", "x"}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinArchive(70000, {{"a\r\nb", "x"}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinArchive(70000, {{"a\rb", "x"}}), std::invalid_argument);
}
