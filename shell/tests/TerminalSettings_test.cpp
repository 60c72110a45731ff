#include "shell/TerminalSettings.h"

#include <gtest/gtest.h>

#include "base/Exception.h"

using namespace kes;

TEST(TerminalSettings, FreshStoreGivesTheDefaults) {
    TMemIniFile ini;
    TTerminalSettings s = ReadTerminalSettings(ini);
    EXPECT_EQ(s.BoardType(), TBoardType::Arduino);
    EXPECT_FALSE(s.Memo1ReadOnly);
    EXPECT_EQ(s.Window, (TWindowPlace{300, 300, 500, 1200}));
}

TEST(TerminalSettings, OddValuesReadAsDefaults) {
    for (const char* odd : {"", "abc", "1.5", "99999999999", "--3", "12abc", "true"}) {
        TMemIniFile ini;
        ini.WriteString("Window", "Top", odd);
        ini.WriteString("Window", "Width", odd);
        ini.WriteString("MCUtype", "Arduino", odd);
        ini.WriteString("Memo1ReadOnly", "Bool", odd);
        TTerminalSettings s = ReadTerminalSettings(ini);
        EXPECT_EQ(s.Window, TWindowPlace{}) << odd;
        EXPECT_EQ(s.BoardType(), TBoardType::Arduino) << odd;
        EXPECT_FALSE(s.Memo1ReadOnly) << odd;
    }
    TMemIniFile ini;
    ini.WriteString("Memo1ReadOnly", "Bool", "2");  // any integer but 0 is true
    EXPECT_TRUE(ReadTerminalSettings(ini).Memo1ReadOnly);
}

TEST(TerminalSettings, PlacesNoWindowCanHaveReadAsTheDefaultPlace) {
    const TWindowPlace def;
    for (TWindowPlace odd :
         {TWindowPlace{-32000, -32000, 28, 160}, TWindowPlace{10, 10, 0, 800}, TWindowPlace{10, 10, 600, -5}}) {
        TMemIniFile ini;
        TTerminalSettings s;
        s.Window = odd;
        WriteTerminalSettings(ini, s);
        EXPECT_EQ(ReadTerminalSettings(ini).Window, def);
    }
    TMemIniFile ini;
    TTerminalSettings s;
    s.Window = {-20, -1200, 300, 400};  // a second monitor left of the first
    WriteTerminalSettings(ini, s);
    EXPECT_EQ(ReadTerminalSettings(ini).Window, s.Window);
}

TEST(TerminalSettings, LastTrueBoardTypeWins) {
    TMemIniFile ini;
    ini.WriteString("MCUtype", "ESP32forth", "1");  // "Arduino" missing reads true
    TTerminalSettings s = ReadTerminalSettings(ini);
    EXPECT_EQ(s.BoardType(), TBoardType::ESP32);
    EXPECT_FALSE(s.Checked[0]);  // radio items: only one stays checked

    for (const auto& m : BoardModes()) ini.WriteString("MCUtype", m.RegistryValue, "0");
    s = ReadTerminalSettings(ini);
    EXPECT_EQ(s.BoardType(), std::nullopt);
    EXPECT_EQ(EffectiveBoardMode(s.BoardType()).Type, TBoardType::Arduino);
}

TEST(TerminalSettings, WrittenValuesReadBack) {
    TMemIniFile ini;
    TTerminalSettings s;
    s.SetBoardType(TBoardType::Scamp2andTirvane);
    s.Memo1ReadOnly = true;
    s.Window = {12, 34, 560, 780};
    WriteTerminalSettings(ini, s);
    EXPECT_EQ(ini.ReadString("MCUtype", "Arduino", "?"), "0");
    EXPECT_EQ(ini.ReadString("MCUtype", "Scamp2andTirvane", "?"), "1");
    EXPECT_EQ(ini.ReadString("Memo1ReadOnly", "Bool", "?"), "1");
    EXPECT_EQ(ini.ReadString("Window", "Top", "?"), "12");
    EXPECT_EQ(ini.ReadString("Window", "Width", "?"), "780");
    TTerminalSettings back = ReadTerminalSettings(ini);
    EXPECT_EQ(back.BoardType(), TBoardType::Scamp2andTirvane);
    EXPECT_TRUE(back.Memo1ReadOnly);
    EXPECT_EQ(back.Window, s.Window);
}

TEST(TerminalSettings, MinimisedWindowSavesItsNormalPlace) {
    const TWindowPlace icon{-32000, -32000, 28, 160};
    const TWindowPlace normal{100, 200, 480, 900};
    EXPECT_EQ(PlaceToSave(true, icon, normal), normal);
    EXPECT_EQ(PlaceToSave(false, normal, TWindowPlace{}), normal);
}

// Places on a desk of two monitors (work areas): a place that shows stays; one off every monitor (a monitor
// removed, a smaller screen) comes onto the nearest one, smaller where it does not fit.
TEST(TerminalSettings, PlacesOffEveryMonitorComeOntoTheNearest) {
    const std::vector<TWindowPlace> desk = {{0, 0, 1000, 1600}, {0, 1600, 1000, 1280}};
    const struct {
        TWindowPlace stored, shown;
    } cases[] = {
        {{300, 300, 500, 1200}, {300, 300, 500, 1200}},      // on the first
        {{100, 2000, 500, 800}, {100, 2000, 500, 800}},      // on the second
        {{-20, -1000, 400, 1100}, {-20, -1000, 400, 1100}},  // 100 pixels of it on the first
        {{300, -1500, 400, 600}, {300, 0, 400, 600}},        // left of every monitor
        {{5000, 6000, 500, 700}, {500, 2180, 500, 700}},     // a removed monitor, far right below
        {{2000, 100, 3000, 4000}, {0, 0, 1000, 1600}},       // below, and larger than the monitor
        {{980, 100, 500, 700}, {500, 100, 500, 700}},        // 20 pixels showing are not enough
    };
    for (const auto& c : cases) {
        const TWindowPlace got = PlaceOnMonitors(c.stored, desk);
        EXPECT_EQ(got, c.shown) << c.stored.Left << "," << c.stored.Top;
    }
    EXPECT_EQ(PlaceOnMonitors(TWindowPlace{9000, 9000, 10, 10}, {}), (TWindowPlace{9000, 9000, 10, 10}));
}

// A settings store that refuses some sections, as a registry key without write access does.
class RefusingIniFile : public TMemIniFile {
public:
    std::string refused;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override {
        if (section == refused) throw EIniFileException("no access to " + section);
        TMemIniFile::WriteString(section, ident, value);
    }
};

// One value that cannot be written keeps neither the others nor the window back: all are tried, the failed
// ones are named in one report.
TEST(TerminalSettings, ValuesThatCannotBeWrittenAreNamedAndTheRestWritten) {
    RefusingIniFile ini;
    ini.refused = "MCUtype";
    TTerminalSettings s;
    s.Window = {12, 34, 560, 780};
    const std::vector<std::string> failed = WriteTerminalSettings(ini, s);
    EXPECT_EQ(failed, (std::vector<std::string>{"MCUtype\\Arduino", "MCUtype\\Scamp2", "MCUtype\\Scamp2andTirvane",
                                                "MCUtype\\ESP32forth"}));
    EXPECT_EQ(ReadTerminalSettings(ini).Window, s.Window);
    EXPECT_EQ(ini.ReadString("Memo1ReadOnly", "Bool", "?"), "0");
    const std::string report = UnsavedSettingsText(failed);
    for (const std::string& name : failed) EXPECT_NE(report.find(name), std::string::npos);
    EXPECT_EQ(UnsavedSettingsText({}), "");
}
