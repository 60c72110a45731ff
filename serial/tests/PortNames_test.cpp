#include "serial/PortNames.h"

#include <gtest/gtest.h>

#include "base/StringList.h"
#include "serial/ComError.h"

using namespace kes;

TEST(PortNames, EveryNameReadsBackToItsMember) {
    for (int i = 0; i < BaudRateCount; ++i) {
        auto v = static_cast<TBaudRate>(i);
        EXPECT_EQ(BaudRateFromName(BaudRateName(v)), v) << i;
        EXPECT_EQ(BaudRateFromName(LowerAZ(BaudRateName(v))), v) << i;
    }
    for (int i = 0; i < StopBitsCount; ++i) EXPECT_EQ(StopBitsFromName(StopBitsName(TStopBits(i))), TStopBits(i));
    for (int i = 0; i < DataBitsCount; ++i) EXPECT_EQ(DataBitsFromName(DataBitsName(TDataBits(i))), TDataBits(i));
    for (int i = 0; i < ParityCount; ++i) {
        EXPECT_EQ(ParityFromName(ParityName(TParityBits(i))), TParityBits(i));
        EXPECT_EQ(ParityFromName(UpperAZ(ParityName(TParityBits(i)))), TParityBits(i));
    }
    for (int i = 0; i < FlowControlCount; ++i)
        EXPECT_EQ(FlowControlFromName(FlowControlName(TFlowControl(i))), TFlowControl(i));
    for (int i = 0; i < DTRControlCount; ++i)
        EXPECT_EQ(DTRControlFromName(DTRControlName(TDTRFlowControl(i))), TDTRFlowControl(i));
    for (int i = 0; i < RTSControlCount; ++i)
        EXPECT_EQ(RTSControlFromName(RTSControlName(TRTSFlowControl(i))), TRTSFlowControl(i));
}

TEST(PortNames, TablesHoldTheStoredTexts) {
    const char* bauds[] = {"Custom", "110",   "300",   "600",   "1200",  "2400",   "4800",   "9600",
                           "14400",  "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
    for (int i = 0; i < BaudRateCount; ++i) EXPECT_EQ(BaudRateName(TBaudRate(i)), bauds[i]);
    for (int i = 1; i < BaudRateCount; ++i) EXPECT_EQ(std::to_string(BaudRateSpeed(TBaudRate(i))), bauds[i]);
    EXPECT_EQ(StopBitsName(sbOne5StopBits), "1.5");
    EXPECT_EQ(DataBitsName(dbFive), "5");
    EXPECT_EQ(ParityName(prSpace), "Space");
    EXPECT_EQ(FlowControlName(fcHardware), "Hardware");
    EXPECT_EQ(DTRControlName(dtrHandshake), "Handshake");
    EXPECT_EQ(RTSControlName(rtsToggle), "Toggle");
}

TEST(PortNames, UnknownNamesGiveEachTypesDefault) {
    EXPECT_EQ(BaudRateFromName("115200"), br115200);
    EXPECT_EQ(BaudRateFromName("cUsToM"), brCustom);
    EXPECT_EQ(BaudRateFromName("9601"), br9600);
    EXPECT_EQ(BaudRateFromName(""), br9600);
    EXPECT_EQ(StopBitsFromName("3"), sbOneStopBit);
    EXPECT_EQ(DataBitsFromName("9"), dbEight);
    EXPECT_EQ(ParityFromName("parity"), prNone);
    EXPECT_EQ(FlowControlFromName("xon"), fcCustom);
    EXPECT_EQ(DTRControlFromName(""), dtrDisable);
    EXPECT_EQ(RTSControlFromName("toggles"), rtsDisable);
}

TEST(PortNames, YesNoForm) {
    EXPECT_EQ(YesNoName(true), "Yes");
    EXPECT_EQ(YesNoName(false), "No");
    EXPECT_TRUE(YesNoFromName("YES"));
    EXPECT_TRUE(YesNoFromName("yes"));
    EXPECT_TRUE(YesNoFromName("yEs"));
    EXPECT_FALSE(YesNoFromName("No"));
    EXPECT_FALSE(YesNoFromName(""));
    EXPECT_FALSE(YesNoFromName("Y"));
    EXPECT_FALSE(YesNoFromName("YES "));
    EXPECT_FALSE(YesNoFromName("1"));
}

TEST(PortNames, CharacterFormOfAll256Codes) {
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        const std::string name = CharSettingName(c);
        if (code >= 33 && code <= 127)
            EXPECT_EQ(name, std::string(1, c)) << code;
        else
            EXPECT_EQ(name, "#" + std::to_string(code)) << code;
        EXPECT_EQ(static_cast<unsigned char>(CharFromSettingName(name)), code) << name;
    }
    EXPECT_EQ(CharSettingName(17), "#17");
    EXPECT_EQ(CharSettingName(' '), "#32");
    EXPECT_EQ(CharSettingName('#'), "#");      // 35 is written as itself...
    EXPECT_EQ(CharFromSettingName("#"), '#');  // ...and "#" alone reads back as itself
}

TEST(PortNames, CharacterFormReading) {
    EXPECT_EQ(CharFromSettingName(""), '\0');
    EXPECT_EQ(CharFromSettingName("#65"), 'A');
    EXPECT_EQ(CharFromSettingName("AB"), 'A');
    EXPECT_EQ(CharFromSettingName("#A"), '\0');
    EXPECT_EQ(CharFromSettingName("#321"), static_cast<char>(321 & 0xFF));
    EXPECT_EQ(CharFromSettingName("#-1"), static_cast<char>(0xFF));
    EXPECT_EQ(CharFromSettingName("#99999999999"), '\0');  // no 32-bit integer
    EXPECT_EQ(CharFromSettingName("#1 "), '\0');
    EXPECT_EQ(CharFromSettingName("x#1"), 'x');
}

TEST(PortNames, DecimalParsing) {
    int v = 7;
    EXPECT_TRUE(ParseDecimal("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_TRUE(ParseDecimal("+2147483647", v));
    EXPECT_EQ(v, INT32_MAX);
    EXPECT_FALSE(ParseDecimal("2147483648", v));
    EXPECT_FALSE(ParseDecimal("-", v));
    EXPECT_FALSE(ParseDecimal("", v));
    EXPECT_FALSE(ParseDecimal("12a", v));
    EXPECT_EQ(v, INT32_MAX);
}

TEST(PortNames, PortListSortsAsText) {
    std::vector<std::string> names = {"COM2", "COM10", "com3", "COM1"};
    SortPortNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "COM10", "COM2", "com3"}));
}

TEST(ComErrors, TwentyFourTextsAndTheirMessages) {
    EXPECT_EQ(ComErrorMessage(1), "Unable to open com port");
    EXPECT_EQ(ComErrorMessage(8), "SetCommTimeouts failed");
    EXPECT_EQ(ComErrorMessage(18), "Link (un)registration failed");
    EXPECT_EQ(ComErrorMessage(24), "Port Not Open");
    for (int code = 1; code <= 24; ++code) EXPECT_FALSE(ComErrorMessage(code).empty()) << code;
    EXPECT_EQ(ComErrorMessage(0), "");
    EXPECT_EQ(ComErrorMessage(25), "");

    EComPort withOs(1, 2);
    EXPECT_STREQ(withOs.what(), "Unable to open com port (Error: 2)");
    EXPECT_EQ(withOs.OsErrorCode, 2);
    EXPECT_EQ(withOs.ErrorCode, 1);
    EXPECT_STREQ(withOs.ClassName(), "EComPort");
    EComPort plain(24);
    EXPECT_STREQ(plain.what(), "Port Not Open");
    EXPECT_EQ(plain.OsErrorCode, -1);
}
