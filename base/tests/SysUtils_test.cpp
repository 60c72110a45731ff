#include "base/SysUtils.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/Exception.h"
#include "base/SyncObjs.h"

using namespace kes;

TEST(SysUtils, IntegerTextForms) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"0", true, 0},
        {"  17", true, 17},
        {"+5", true, 5},
        {"-2147483648", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$7FFFFFFF", true, INT32_MAX},
        {"$FFFFFFFF", true, -1},
        {"0x10", true, 16},
        {"-$10", true, -16},
        {"$100000000", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"12 ", false, 0},
        {"1e3", false, 0},
        {"0x", false, 0},
        {"\t9", true, 9},
    };
    for (const Case& c : cases) {
        int v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : 12345) << c.text;
        EXPECT_EQ(StrToIntDef(c.text, -7), c.ok ? c.value : -7) << c.text;
    }
}

TEST(ExceptionText, FullStopAddedOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ExceptionDisplayText("Unable to open com port"), "Unable to open com port.");
    EXPECT_EQ(ExceptionDisplayText("Failed (Error: 5)"), "Failed (Error: 5)");  // ")" sorts before "."
    EXPECT_EQ(ExceptionDisplayText("Done."), "Done.");
    EXPECT_EQ(ExceptionDisplayText("Really!"), "Really!");
    EXPECT_EQ(ExceptionDisplayText("Why?"), "Why?.");
    EXPECT_EQ(ExceptionDisplayText("Code 5"), "Code 5.");
    EXPECT_EQ(ExceptionDisplayText("path/"), "path/.");
    EXPECT_EQ(ExceptionDisplayText("caf\xE9"), "caf\xE9.");  // bytes above 127 sort after it
    EXPECT_EQ(ExceptionDisplayText(""), "");
    EXPECT_STREQ(ERegistryException("x").ClassName(), "ERegistryException");
    EXPECT_STREQ(EAbort().ClassName(), "EAbort");
}

TEST(SyncObjs, CriticalSectionIsReentrantAndExcludesOthers) {
    TCriticalSection cs;
    {
        TScopedLock outer(cs);
        TScopedLock inner(cs);  // the holder may enter again
        bool otherGotIt = true;
        std::thread([&] {
            otherGotIt = cs.TryEnter();
            if (otherGotIt) cs.Leave();
        }).join();
        EXPECT_FALSE(otherGotIt);
    }
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                TScopedLock lock(cs);
                ++counter;
            }
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(counter, 80000);
}
