// Kestrup.exe together with the real console companion KestrupTirvane.exe on the virtual null modem with the
// simulated board: the board's text reaches the companion's output, a line typed into the companion reaches the
// board, "*EXIT" ends the companion and sends nothing, a second companion fails to bind while the first goes on
// serving the terminal, and the menu "Win10-ANSI-Console" starts the companion that lies beside Kestrup.exe once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "KestrupDriver.h"
#include "base/CompanionLink.h"
#include "base/win/Unique.h"
#include "KestrupOnBoard.h"
#include "testsupport/BoardTest.h"
#include "testsupport/CompanionProcess.h"

using namespace kes::test;
using tirvane_test::CompanionProcess;
using tirvane_test::ConsoleCompanion;
using tirvane_test::CountWindowsTitled;
using tirvane_test::kBanner;
using tirvane_test::kBindFailureLine;

namespace {

constexpr const char* kCompanionTitle = kes::link::kCompanionTitle;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The full path of a process's program, "" when it cannot be asked.
std::string ImageOf(DWORD pid) {
    const kes::UniqueHandle p(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!p) return {};
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    const bool ok = QueryFullProcessImageNameA(p.Get(), 0, path, &size) != FALSE;
    return ok ? std::string(path, size) : std::string();
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

// The companion processes found by their window: KestrupTirvane.exe processes that own a top-level window titled
// "KestrupTirvane" (its console window, when it has one, belongs to the console host instead).
std::set<DWORD> CompanionsByWindow() {
    std::set<DWORD> pids;
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, kCompanionTitle); w;
         w = FindWindowExA(nullptr, w, nullptr, kCompanionTitle)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        const std::string image = Lower(ImageOf(pid));
        const std::string name = "kestruptirvane.exe";
        if (image.size() >= name.size() && image.compare(image.size() - name.size(), name.size(), name) == 0)
            pids.insert(pid);
    }
    return pids;
}

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

class KestrupCompanion : public KestrupOnBoard {
protected:
    void SetUp() override {
        KestrupOnBoard::SetUp();
        if (!Ready()) return;
        // The board type made for the companion: the terminal filters the escape sequences, the companion shows them.
        for (const char* v : {"Arduino", "Scamp2", "Scamp2andTirvane", "ESP32forth"})
            WriteSetting("MCUtype", v, std::string(v) == "Scamp2andTirvane" ? "1" : "0");
        // The port is machine-wide: a companion of another test run may still hold it for a while.
        ASSERT_TRUE(tirvane_test::WaitPortFree(60000)) << "127.0.0.1:6800 stays taken";
    }

    void TearDown() override {
        // A companion the terminal started through the shell is no child of this test: end it here, so that
        // port 6800 is free for the next test.
        for (DWORD pid : CompanionsByWindow()) {
            if (companion_ && pid == companionPid_) continue;
            ConsoleCompanion leftover(pid);
            if (leftover.Attached()) {
                leftover.Keys("*exit\r");
                leftover.Deliver();
                leftover.WaitExit(5000);
            }
        }  // ~ConsoleCompanion terminates what did not end
        companion_.reset();
        k_.reset();
    }

    // Starts Kestrup.exe, connects it and waits until the answers to its two carriage returns are shown.
    void StartConnectedTerminal() {
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
        ASSERT_TRUE(k_->Menu("Connect1"));
        ASSERT_TRUE(WaitUntil([&] { return board_.Received() == "\r\r"; })) << board_.Received();
        ASSERT_TRUE(WaitUntil([&] { return Count(k_->MemoText(), " ok\r\n") == 2; })) << k_->MemoText();
    }

    // Starts a companion with piped input and output and waits until it serves (its window comes after the server).
    void StartCompanion() {
        companion_ = std::make_unique<CompanionProcess>();
        ASSERT_TRUE(companion_->Started());
        ASSERT_TRUE(WaitUntil([&] { return CountWindowsTitled(kCompanionTitle) == 1; }, 15000)) << companion_->Output();
        const std::set<DWORD> pids = CompanionsByWindow();
        companionPid_ = pids.empty() ? 0 : *pids.begin();
    }

    bool BoardReceived(const std::string& bytes, DWORD ms = 10000) {
        return WaitUntil([&] { return board_.Received() == bytes; }, ms);
    }

    std::unique_ptr<KestrupProcess> k_;
    std::unique_ptr<CompanionProcess> companion_;
    DWORD companionPid_ = 0;
};

}  // namespace

TEST_F(KestrupCompanion, BoardTextReachesTheCompanionAndATypedLineReachesTheBoard) {
    StartConnectedTerminal();
    StartCompanion();

    // The board's text goes to the companion unfiltered; it prints it with CR turned into LF.
    ASSERT_TRUE(board_.Ok("text \\e[31mhi\\r\\n"));
    ASSERT_TRUE(companion_->WaitOutput("hi\n\n")) << companion_->Output();
    EXPECT_EQ(companion_->Output(), kBanner + "\x1b[31mhi\n\n");
    // The terminal itself shows the text without the sequence.
    ASSERT_TRUE(WaitUntil([&] { return k_->MemoText() == " ok\r\n ok\r\nhi\r\n"; })) << k_->MemoText();

    // A typed line leaves the companion with LF and reaches the board followed by the terminal's CR; a minimised
    // terminal comes back for it.
    ShowWindow(k_->Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(k_->Main()) != FALSE; }));
    companion_->Type("1 2 + .\r\n");
    ASSERT_TRUE(BoardReceived("\r\r1 2 + .\n\r")) << board_.Received();
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(k_->Main()) == FALSE; }));
    const std::vector<BoardLine> lines = board_.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines.back().text, "1 2 + .");
    // The board's echo and answer come back through the terminal to the companion.
    ASSERT_TRUE(companion_->WaitOutput("1 2 + . ok\n\n")) << companion_->Output();
    EXPECT_EQ(companion_->Output(), kBanner + "\x1b[31mhi\n\n1 2 + . ok\n\n");
    EXPECT_EQ(k_->FindBox("Warning"), nullptr);

    companion_->Type("*exit\r\n");
    EXPECT_EQ(companion_->WaitExit(), 0);
}

TEST_F(KestrupCompanion, ExitTypedInCapitalsEndsTheCompanionAndSendsNothing) {
    StartConnectedTerminal();
    StartCompanion();
    const std::string memo = k_->MemoText();

    companion_->Type("*EXIT\r\nnever sent\r\n");
    EXPECT_EQ(companion_->WaitExit(), 0);
    EXPECT_EQ(CountWindowsTitled(kCompanionTitle), 0);
    EXPECT_EQ(companion_->Output(), kBanner);

    // A line sent the same way after it is the next thing the board gets: nothing came before it.
    const char marker[] = "marker\n";
    k_->SendCopyData(marker, sizeof marker);
    ASSERT_TRUE(BoardReceived("\r\rmarker\n\r")) << board_.Received();
    ASSERT_TRUE(WaitUntil([&] { return k_->MemoText() == memo + "marker ok\r\n"; })) << k_->MemoText();
}

TEST_F(KestrupCompanion, SecondCompanionFailsToBindAndTheFirstKeepsServingTheTerminal) {
    StartConnectedTerminal();
    StartCompanion();

    CompanionProcess second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitExit(15000), 1);
    EXPECT_EQ(second.Output(), kBanner + kBindFailureLine);
    EXPECT_EQ(CountWindowsTitled(kCompanionTitle), 1);

    // The terminal forwards to the first one, and the first one's lines still reach the board.
    ASSERT_TRUE(board_.Ok("text after the second\\r\\n"));
    ASSERT_TRUE(companion_->WaitOutput("after the second\n\n")) << companion_->Output();
    companion_->Type("still here\n");
    ASSERT_TRUE(BoardReceived("\r\rstill here\n\r")) << board_.Received();
    ASSERT_TRUE(companion_->WaitOutput("still here ok\n\n")) << companion_->Output();
    EXPECT_EQ(companion_->Output(), kBanner + "after the second\n\nstill here ok\n\n");
    EXPECT_EQ(k_->FindBox("Warning"), nullptr);

    companion_->Type("*Exit\n");
    EXPECT_EQ(companion_->WaitExit(), 0);
}

TEST_F(KestrupCompanion, MenuStartsTheCompanionBesideTheTerminalOnce) {
    StartConnectedTerminal();
    ASSERT_EQ(CountWindowsTitled(kCompanionTitle), 0);

    ASSERT_TRUE(k_->Menu("W10Tirvane1"));
    std::set<DWORD> started;
    ASSERT_TRUE(WaitUntil([&] { return !(started = CompanionsByWindow()).empty(); }, 20000))
        << "no window \"KestrupTirvane\" appeared";
    ASSERT_EQ(started.size(), 1u);
    const DWORD pid = *started.begin();
    EXPECT_EQ(Lower(FolderOf(ImageOf(pid))), Lower(OwnFolder())) << ImageOf(pid);
    EXPECT_EQ(k_->FindBox("Warning"), nullptr);

    // A second click starts nothing and says so.
    ASSERT_TRUE(k_->Menu("W10Tirvane1"));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = k_->FindBox("Info")) != nullptr; }));
    EXPECT_EQ(k_->BoxText(box), "KestrupTirvane already up and running :-)");
    k_->Answer(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return k_->FindBox("Info") == nullptr; }));
    EXPECT_EQ(CompanionsByWindow(), started);

    // The started companion serves the terminal: the board's text shows in its console.
    ConsoleCompanion console(pid);
    ASSERT_TRUE(console.Attached());
    ASSERT_TRUE(board_.Ok("text via the menu\\r\\n"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (int row = 0; row < 25; ++row)
                if (console.Row(row) == "via the menu") return true;
            return false;
        },
        10000));

    // Ended as a user would end it: "*exit" typed into its console.
    console.Keys("*exit\r");
    console.Deliver();
    EXPECT_EQ(console.WaitExit(), 0);
    EXPECT_TRUE(CompanionsByWindow().empty());
    EXPECT_TRUE(tirvane_test::WaitPortFree(10000));
}
