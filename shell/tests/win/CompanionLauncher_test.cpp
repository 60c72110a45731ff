#include "shell/win/CompanionLauncher.h"

#include "gui/win/Shell.h"
#include "testsupport/Wait.h"

#include "base/win/Win.h"

#include <gtest/gtest.h>

#include <string>

using namespace kes;

namespace {

// A fresh folder under the temp folder, removed with what the test put in it.
class TScratchFolder {
public:
    TScratchFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "kestrup-launch-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TScratchFolder() {
        for (const char* f : {"\\KestrupTirvane.exe", "\\started.mark"}) DeleteFileA((path_ + f).c_str());
        RemoveDirectoryA((path_ + "\\KestrupTirvane.exe").c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    std::string Mark() const { return path_ + "\\started.mark"; }
    // Puts the stand-in companion (built beside this test) into the folder under the companion's name.
    bool AddCompanion() const {
        return CopyFileA((ProgramFolder() + "terminal_fake_companion.exe").c_str(),
                         (path_ + "\\KestrupTirvane.exe").c_str(), FALSE) != 0;
    }
    bool WaitForMark(DWORD ms) const {
        return kes::test::PollUntil([this] { return FileExists(Mark()); }, ms, 50);
    }

private:
    std::string path_;
};

}  // namespace

TEST(CompanionLauncher, StartsTheCompanionBesideTheProgram) {
    TScratchFolder folder;
    ASSERT_TRUE(folder.AddCompanion());
    EXPECT_EQ(StartCompanion(folder.Path()), TCompanionStart::Started);
    EXPECT_TRUE(folder.WaitForMark(10000));
}

TEST(CompanionLauncher, MissingCompanionStartsNothing) {
    TScratchFolder folder;
    EXPECT_EQ(StartCompanion(folder.Path()), TCompanionStart::Missing);
    CreateDirectoryA((folder.Path() + "\\KestrupTirvane.exe").c_str(), nullptr);  // a folder of that name
    EXPECT_EQ(StartCompanion(folder.Path()), TCompanionStart::Missing);
}

TEST(CompanionLauncher, RunningCompanionIsNotStartedTwice) {
    TScratchFolder folder;
    ASSERT_TRUE(folder.AddCompanion());
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestrupLaunchTestConsole";
    RegisterClassA(&wc);
    HWND running = CreateWindowA(wc.lpszClassName, "KestrupTirvane", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(running);
    EXPECT_EQ(StartCompanion(folder.Path()), TCompanionStart::AlreadyRunning);
    DestroyWindow(running);
    EXPECT_FALSE(folder.WaitForMark(1000));
}
