#include "shell/TerminalSettings.h"

#include <gtest/gtest.h>

using namespace kes;

namespace {

// A store whose writes fail for one section.
class TFailingStore : public TMemorySettingsStore {
public:
    bool WriteString(const std::string& section, const std::string& name, const std::string& value) override {
        if (section == "MCUtype") return false;
        return TMemorySettingsStore::WriteString(section, name, value);
    }
};

}  // namespace

TEST(TerminalSettings, FreshStoreGivesTheDefaults) {
    TMemorySettingsStore store;
    TTerminalSettings s = ReadTerminalSettings(store);
    EXPECT_EQ(s.BoardType(), TBoardType::Arduino);
    EXPECT_FALSE(s.Memo1ReadOnly);
    EXPECT_EQ(s.Window, (TWindowPlace{300, 300, 500, 1200}));
}

TEST(TerminalSettings, OddValuesReadAsDefaults) {
    TMemorySettingsStore store;
    for (const char* odd : {"", "abc", "1.5", "0x10", "99999999999", "--3", "12abc"}) {
        store.Values[{"Window", "Top"}] = odd;
        EXPECT_EQ(ReadSettingInt(store, "Window", "Top", 300), 300) << odd;
    }
    store.Values[{"Window", "Top"}] = " -7 ";
    EXPECT_EQ(ReadSettingInt(store, "Window", "Top", 300), -7);
    store.Values[{"Window", "Top"}] = "-2147483648";
    EXPECT_EQ(ReadSettingInt(store, "Window", "Top", 300), INT32_MIN);

    store.Values[{"Memo1ReadOnly", "Bool"}] = "2";  // any integer but 0 is true
    EXPECT_TRUE(ReadTerminalSettings(store).Memo1ReadOnly);
    store.Values[{"Memo1ReadOnly", "Bool"}] = "true";
    EXPECT_FALSE(ReadTerminalSettings(store).Memo1ReadOnly);
}

TEST(TerminalSettings, PlacesNoWindowCanHaveReadAsTheDefaultPlace) {
    const TWindowPlace def;
    for (TWindowPlace odd : {TWindowPlace{-32000, -32000, 28, 160}, TWindowPlace{10, 10, 0, 800},
                             TWindowPlace{10, 10, 600, -5}}) {
        TMemorySettingsStore store;
        TTerminalSettings s;
        s.Window = odd;
        WriteTerminalSettings(store, s);
        EXPECT_EQ(ReadTerminalSettings(store).Window, def);
    }
    TMemorySettingsStore store;
    TTerminalSettings s;
    s.Window = {-20, -1200, 300, 400};  // a second monitor left of the first
    WriteTerminalSettings(store, s);
    EXPECT_EQ(ReadTerminalSettings(store).Window, s.Window);
}

TEST(TerminalSettings, LastTrueBoardTypeWins) {
    TMemorySettingsStore store;
    store.Values[{"MCUtype", "ESP32forth"}] = "1";  // "Arduino" missing reads true
    TTerminalSettings s = ReadTerminalSettings(store);
    EXPECT_EQ(s.BoardType(), TBoardType::ESP32);
    EXPECT_FALSE(s.Checked[0]);  // radio items: only one stays checked

    for (const auto& m : BoardModes()) store.Values[{"MCUtype", m.RegistryValue}] = "0";
    s = ReadTerminalSettings(store);
    EXPECT_EQ(s.BoardType(), std::nullopt);
    EXPECT_EQ(EffectiveBoardMode(s.BoardType()).Type, TBoardType::Arduino);
}

TEST(TerminalSettings, WrittenValuesReadBack) {
    TMemorySettingsStore store;
    TTerminalSettings s;
    s.SetBoardType(TBoardType::Scamp2andTirvane);
    s.Memo1ReadOnly = true;
    s.Window = {12, 34, 560, 780};
    EXPECT_TRUE(WriteTerminalSettings(store, s));
    EXPECT_EQ(store.Values.at({"MCUtype", "Arduino"}), "0");
    EXPECT_EQ(store.Values.at({"MCUtype", "Scamp2andTirvane"}), "1");
    EXPECT_EQ(store.Values.at({"Memo1ReadOnly", "Bool"}), "1");
    EXPECT_EQ(store.Values.at({"Window", "Width"}), "780");
    TTerminalSettings back = ReadTerminalSettings(store);
    EXPECT_EQ(back.BoardType(), TBoardType::Scamp2andTirvane);
    EXPECT_TRUE(back.Memo1ReadOnly);
    EXPECT_EQ(back.Window, s.Window);

    TFailingStore failing;
    EXPECT_FALSE(WriteTerminalSettings(failing, s));
    EXPECT_EQ(failing.Values.at({"Window", "Top"}), "12");  // the rest is still written
}

TEST(TerminalSettings, MinimisedWindowSavesItsNormalPlace) {
    const TWindowPlace icon{-32000, -32000, 28, 160};
    const TWindowPlace normal{100, 200, 480, 900};
    EXPECT_EQ(PlaceToSave(true, icon, normal), normal);
    EXPECT_EQ(PlaceToSave(false, normal, TWindowPlace{}), normal);
}
