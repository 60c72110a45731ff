#pragma once
// What every test of Kestrup.exe on the simulated board starts from: the board reset, the terminal's settings
// fresh and the port preset to the virtual COM port. A fixture that adds to it calls SetUp first and returns when
// it skipped or failed.
#include <gtest/gtest.h>

#include <string>

#include "KestrupDriver.h"
#include "testsupport/BoardTest.h"

namespace kes::test {

class KestrupOnBoard : public ::testing::Test {
protected:
    void SetUp() override {
        com_ = BoardComPort();
        if (com_.empty()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
        ASSERT_TRUE(board_.Connect()) << "no board control";
        ASSERT_TRUE(board_.Reset());
        ResetTerminalSettings();
        PresetPortSettings(com_);
    }
    // False when the set-up above skipped the test or failed.
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }

    std::string com_;
    BoardControl board_;
};

}  // namespace kes::test
