#include <gtest/gtest.h>

#include <cstring>

#include "shell/CopyDataLine.h"
#include "shell/LogLine.h"
#include "shell/StatusPanels.h"

using namespace kes;

TEST(LogLine, TimeThenMessage) {
    EXPECT_EQ(LogLine("09:05:07", " COM port DISconnected"), "09:05:07 COM port DISconnected");
}

TEST(StatusPanels, PortAndStateTexts) {
    TPortPanelTexts t = PortPanelTexts("COM4", "38400", "8", "None", "1");
    EXPECT_EQ(t.Device, "COM4");
    EXPECT_EQ(t.Speed, "38400 Baud");
    EXPECT_EQ(t.Bits, "8 Databits");
    EXPECT_EQ(t.Parity, "Parity None");
    EXPECT_EQ(t.StopBits, "1 Stopbit(s)");
    EXPECT_EQ(PortPanelTexts("", "9600", "8", "None", "1").Device, "");
    EXPECT_STREQ(PortStatePanelText(true), "COM Port Open");
    EXPECT_STREQ(PortStatePanelText(false), "COM Port CLOSED");
    EXPECT_STREQ(kVersionPanelText, "Version 4.5");
}

TEST(CopyDataLine, NeverReadsPastTheBlock) {
    const char line[] = "words\n";  // as the companion sends it: the line, LF, a zero byte
    EXPECT_EQ(CopyDataPortBytes(true, line, sizeof line), "words\n\r");
    // No zero byte inside the block: the text stops at its end (the bytes after it are not looked at).
    const char unterminated[8] = {'a', 'b', 'c', 'X', 'X', 'X', 'X', 'X'};
    EXPECT_EQ(CopyDataText(unterminated, 3), "abc");
    EXPECT_EQ(CopyDataText(line, 0), "");
    EXPECT_EQ(CopyDataText(nullptr, 10), std::nullopt);
    EXPECT_EQ(CopyDataPortBytes(true, nullptr, 10), std::nullopt);
    EXPECT_EQ(CopyDataPortBytes(false, line, sizeof line), std::nullopt);
    const std::string longest(kMaxCopyDataBytes, 'x');
    EXPECT_EQ(CopyDataPortBytes(true, longest.data(), longest.size())->size(), kMaxCopyDataBytes + 1);
    EXPECT_EQ(CopyDataPortBytes(true, longest.data(), longest.size() + 1), std::nullopt) << "refused, not cut";
}
