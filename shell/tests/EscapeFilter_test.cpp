#include "shell/EscapeFilter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace kes;

namespace {

const std::string E = "\x1b";

std::string FilterOnce(const std::string& s) {
    TEscapeFilter f;
    return f.Filter(s).Text;
}

// Everything the filter tells the terminal over a run of batches, with clears as stream offsets.
struct TStream {
    std::string Text;
    int Beeps = 0;
    std::vector<size_t> Clears;
    bool HeldBack = false;
    std::string Pending;
    bool operator==(const TStream&) const = default;
};

TStream Run(const std::vector<std::string>& batches) {
    TEscapeFilter f;
    TStream s;
    for (const auto& b : batches) {
        TEscapeResult r = f.Filter(b);
        for (size_t at : r.ClearsAt) s.Clears.push_back(s.Text.size() + at);
        s.Text += r.Text;
        s.Beeps += r.Beeps;
        s.HeldBack = r.HeldBack;
    }
    s.Pending = f.Pending();
    return s;
}

// Every split into two chunks (and, for short batches, three) gives what the whole batch gives.
void ExpectSplitsAgree(const std::string& batch) {
    const TStream whole = Run({batch});
    for (size_t k = 0; k <= batch.size(); ++k)
        ASSERT_EQ(Run({batch.substr(0, k), batch.substr(k)}), whole) << "split at " << k << " of " << batch.size();
    if (batch.size() > 40) return;
    for (size_t k = 0; k <= batch.size(); ++k)
        for (size_t m = k; m <= batch.size(); ++m)
            ASSERT_EQ(Run({batch.substr(0, k), batch.substr(k, m - k), batch.substr(m)}), whole)
                << "splits at " << k << "," << m;
}

}  // namespace

TEST(EscapeFilter, BellsAreRemovedAndBeepOncePerBell) {
    TEscapeFilter f;
    TEscapeResult r = f.Filter(
        "ab\x07"
        "c");
    EXPECT_EQ(r.Text, "abc");
    EXPECT_EQ(r.Beeps, 1);
    EXPECT_EQ(f.Filter("\x07x\x07").Beeps, 2);
}

TEST(EscapeFilter, KnownSequencesAreRemoved) {
    EXPECT_EQ(FilterOnce(E + "[31mred"), "red");
    EXPECT_EQ(FilterOnce(E + "[1;33HX"), "X");
    for (const char* s : {"[4m", "[1m", "[0m", "[7m", "[5m", "[H", "[42m", "[?25h", "[?25l"})
        EXPECT_EQ(FilterOnce("a" + E + s + "b"), "ab") << s;
}

// The board's text after a sequence is never eaten: the sequence ends at its final byte.
TEST(EscapeFilter, TextAfterASequenceIsKept) {
    EXPECT_EQ(FilterOnce(E + "[1;32mHello"), "Hello");
    EXPECT_EQ(FilterOnce(E + "[3mab"), "ab");                         // italic: only three bytes after ESC
    EXPECT_EQ(FilterOnce(E + "[38;5;208mok"), "ok");                  // 256-colour form, longer than ESC [3xy
    EXPECT_EQ(FilterOnce(E + "[Kline" + E + "[2;5Hend"), "lineend");  // erase-line needs no ; or H
}

TEST(EscapeFilter, UnfinishedSequenceIsHeldBackThenFinished) {
    TEscapeFilter f;
    TEscapeResult r = f.Filter("ok " + E + "[");
    EXPECT_EQ(r.Text, "ok ");
    EXPECT_TRUE(r.HeldBack);
    EXPECT_EQ(f.Pending(), E + "[");
    r = f.Filter("31mok");
    EXPECT_EQ(r.Text, "ok");
    EXPECT_FALSE(r.HeldBack);
    EXPECT_FALSE(f.HoldsBack());
}

TEST(EscapeFilter, EscapeAtTheVeryEndWaitsForItsNextByte) {
    TEscapeFilter f;
    EXPECT_EQ(f.Filter("a" + E).Text, "a");
    EXPECT_TRUE(f.HoldsBack());
    EXPECT_EQ(f.Filter("x").Text, E + "x");  // not a sequence: shown as it came
    EXPECT_FALSE(f.HoldsBack());
}

TEST(EscapeFilter, BrokenSequencesAreShownNotSwallowed) {
    EXPECT_EQ(FilterOnce(E + "x"), E + "x");
    EXPECT_EQ(FilterOnce(E + "[12\r\nok"), E + "[12\r\nok");
    EXPECT_EQ(FilterOnce(E + "[1 2m"), E + "[1 2m");          // parameter after intermediate
    EXPECT_EQ(FilterOnce(E + "[1" + E + "[0mz"), E + "[1z");  // a new ESC ends the broken one
    EXPECT_EQ(FilterOnce(E + E + "[0m"), E);
}

TEST(EscapeFilter, HeldBackTextIsBounded) {
    const std::string params(TEscapeFilter::MaxSequence - 3, '1');  // ESC [ params m = exactly the bound
    EXPECT_EQ(FilterOnce(E + "[" + params + "m!"), "!");
    const std::string longer(TEscapeFilter::MaxSequence, '1');
    EXPECT_EQ(FilterOnce(E + "[" + longer + "m!"), E + "[" + longer + "m!");

    TEscapeFilter f;
    std::string shown;
    for (int i = 0; i < 100; ++i) {  // a sequence that never ends, arriving a byte at a time
        shown += f.Filter(i == 0 ? E : std::string(1, i == 1 ? '[' : '9')).Text;
        ASSERT_LT(f.Pending().size(), TEscapeFilter::MaxSequence);
    }
    EXPECT_EQ(shown.size() + f.Pending().size(), 100u);
    EXPECT_EQ(shown.substr(0, 2), E + "[");
}

TEST(EscapeFilter, ClearScreenIsReportedWhereItStood) {
    TEscapeFilter f;
    TEscapeResult r = f.Filter("before" + E + "[2Jafter" + E + "[2J");
    EXPECT_EQ(r.Text, "beforeafter");
    EXPECT_TRUE(r.ClearsScreen());
    EXPECT_EQ(r.ClearsAt, (std::vector<size_t>{6, 11}));
    EXPECT_FALSE(f.Filter(E + "[2K" + E + "[02J").ClearsScreen());
}

TEST(EscapeFilter, ReleaseAndResetEmptyTheHeldText) {
    TEscapeFilter f;
    f.Filter(E + "[3");
    EXPECT_EQ(f.Release(), E + "[3");
    EXPECT_FALSE(f.HoldsBack());
    f.Filter(E + "[");
    f.Reset();
    EXPECT_EQ(f.Filter("1mx").Text, "1mx");
}

TEST(EscapeFilter, EverySplitOfABatchShowsTheSameAsTheWholeBatch) {
    const std::string longSeq = E + "[" + std::string(70, '2') + "m";
    for (const std::string& batch : {
             "plain text\r\n ok\r\n" + E,
             E + "[31mred" + E +
                 "[0m \x07"
                 "done" +
                 E + "[1;32mHello" + E + "[",
             "a" + E + "[2Jb" + E + "[?25l" + E + "[?25h" + E + "x" + E + E + "[H\r\n",
             E + "[12\r\n" + E + "[1 2m" + E + "[38;5;1m" + E + "[K",
             "x" + longSeq + "y" + E + "[" + std::string(61, '3') + "mz",
             std::string("\x07\x07") + E +
                 "[\x07"
                 "31m" +
                 E + "\x07[0m",
         })
        ExpectSplitsAgree(batch);
}

TEST(EscapeFilter, RandomBatchesSplitAlike) {
    const std::string alphabet = std::string("\x1b\x1b\x1b[[[;;0123?mHJK !\r\n\x07") + "a";
    std::mt19937 rng(6800);
    for (int n = 0; n < 300; ++n) {
        std::string batch;
        const size_t len = rng() % 48;
        for (size_t i = 0; i < len; ++i) batch += alphabet[rng() % alphabet.size()];
        ExpectSplitsAgree(batch);
    }
}
