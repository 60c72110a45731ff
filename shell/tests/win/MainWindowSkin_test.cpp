// The main window reads the program's stored skin into SkinData1 when it is made.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "SkinWriter.h"
#include "base/StringList.h"
#include "base/win/Application.h"
#include "shell/Unit1.h"
#include "skin/container/SkinReader.h"
#include "testsupport/Wait.h"

using namespace kes;

TEST(MainWindowSkin, SkinData1HoldsTheStoredDefaultSkin) {
    auto app = std::make_unique<TApplication>();
    auto* main = new TKestrup(nullptr);
    ASSERT_NE(main->SkinData1, nullptr);
    EXPECT_EQ(main->SkinData1->Name(), "SkinData1");
    EXPECT_FALSE(main->SkinData1->NoSkin());
    EXPECT_EQ(main->SkinData1->SkinName, "Kestrup Graphite");
    EXPECT_EQ(main->SkinData1->ObjectCount(), 47);
    EXPECT_EQ(main->FindComponent("SkinData1"), main->SkinData1);
    delete main;
    app.reset();
}

// A skin file of a format this program does not know: the user is told in a message box, and the skin in
// force can no longer be switched on.
TEST(MainWindowSkin, AnOldSkinFileIsToldInAMessageBox) {
    auto app = std::make_unique<TApplication>();
    auto* main = new TKestrup(nullptr);
    const std::string archive = std::string("\x10\x27\0\0", 4) + std::string(12, '\0');  // format 10000
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "kestrup_old_format.skn";
    ASSERT_TRUE(WriteFileBytes(path, PackSkinArchive(archive)));

    const DWORD guiThread = GetCurrentThreadId();
    std::atomic<bool> loaded{false};
    std::string shown;
    std::thread watcher([&] {
        for (int i = 0; i < 200 && !loaded; ++i, Sleep(25)) {
            const HWND box = kes::test::FindThreadDialog(guiThread);
            if (!box) continue;
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            shown = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return;
        }
    });
    main->SkinData1->SetSkinFile(path);
    loaded = true;
    watcher.join();
    EXPECT_EQ(shown, TSkinReader::kOlderSkinMessage);
    EXPECT_TRUE(main->SkinData1->NoSkin());
    EXPECT_EQ(main->SkinData1->SkinName, "Kestrup Graphite") << "the objects of the stored skin stay";
    std::remove(path.c_str());
    delete main;
    app.reset();
}
