// Kestrup.exe end to end under Wine, on the virtual null modem with the simulated board: settings at start and
// close, Connect, the typed terminal line, the ESP32 keys and command line with history, the SCAMP2 escape filter,
// the board's redefinition warning and the companion's typed lines. The program runs as its own process; the
// test finds its windows and sends them messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "KestrupDriver.h"
#include "KestrupOnBoard.h"
#include "testsupport/BoardTest.h"

using namespace kes::test;

namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

class KestrupTerminal : public KestrupOnBoard {
protected:
    void TearDown() override { k_.reset(); }

    void Start() {
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
    }
    void BoardType(const char* registryValue) {
        for (const char* v : {"Arduino", "Scamp2", "Scamp2andTirvane", "ESP32forth"})
            WriteSetting("MCUtype", v, std::string(v) == registryValue ? "1" : "0");
    }
    std::vector<std::string> BoardLines() {
        std::vector<std::string> texts;
        for (const BoardLine& l : board_.Lines()) texts.push_back(l.text);
        return texts;
    }
    bool WaitBoardLines(size_t n, DWORD ms = 5000) {
        return WaitUntil([&] { return BoardLines().size() >= n; }, ms);
    }
    bool MemoShows(const std::string& text, DWORD ms = 5000) {
        return WaitUntil([&] { return k_->MemoText().find(text) != std::string::npos; }, ms);
    }
    bool LogHas(const std::string& text) {
        for (const std::string& line : k_->LogLines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    // Connects and waits for the board's answers to the carriage returns of Connect.
    void Connect(size_t expectedLines) {
        ASSERT_TRUE(k_->Menu("Connect1"));
        ASSERT_TRUE(WaitBoardLines(expectedLines));
        ASSERT_TRUE(WaitUntil([&] { return Count(k_->MemoText(), " ok") >= expectedLines; }));
    }

    std::unique_ptr<KestrupProcess> k_;
};

}  // namespace

TEST_F(KestrupTerminal, FreshSettingsReadAsDefaultsAndClosingStoresTheBoardType) {
    Start();
    RECT r{};
    GetWindowRect(k_->Main(), &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 300);
    EXPECT_EQ(r.right - r.left, 1200);
    EXPECT_EQ(r.bottom - r.top, 500);
    EXPECT_FALSE(SettingKeyExists("MCUtype")) << "nothing is written before the window closes";
    ASSERT_TRUE(k_->Menu("ESP32"));
    ASSERT_TRUE(k_->Close());
    EXPECT_EQ(ReadSetting("MCUtype", "Arduino"), "0");
    EXPECT_EQ(ReadSetting("MCUtype", "Scamp2"), "0");
    EXPECT_EQ(ReadSetting("MCUtype", "Scamp2andTirvane"), "0");
    EXPECT_EQ(ReadSetting("MCUtype", "ESP32forth"), "1");
    EXPECT_EQ(ReadSetting("Memo1ReadOnly", "Bool"), "0");
    EXPECT_EQ(ReadSetting("Window", "Top"), "300");
    EXPECT_EQ(ReadSetting("Window", "Left"), "300");
    EXPECT_EQ(ReadSetting("Window", "Height"), "500");
    EXPECT_EQ(ReadSetting("Window", "Width"), "1200");

    // The next start is in ESP32 mode: a key goes to the board at once and Enter ends the line with LF.
    ASSERT_TRUE(board_.Ok("mode esp32"));
    Start();
    Connect(0);
    k_->TypeChars(k_->Memo(), "x");
    ASSERT_TRUE(MemoShows("x"));
    k_->TypeChars(k_->Memo(), "\r");
    ASSERT_TRUE(WaitUntil([&] {
        auto lines = BoardLines();
        return std::find(lines.begin(), lines.end(), "x") != lines.end();
    }));
}

static void PresetPlace(const char* top, const char* left, const char* height, const char* width) {
    WriteSetting("Window", "Top", top);
    WriteSetting("Window", "Left", left);
    WriteSetting("Window", "Height", height);
    WriteSetting("Window", "Width", width);
}

TEST_F(KestrupTerminal, AMinimisedWindowStoresItsNormalPlace) {
    PresetPlace("120", "140", "400", "900");
    Start();
    ShowWindow(k_->Main(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(k_->Main()) != FALSE; }));
    ASSERT_TRUE(k_->Close());
    EXPECT_EQ(ReadSetting("Window", "Top"), "120");
    EXPECT_EQ(ReadSetting("Window", "Left"), "140");
    EXPECT_EQ(ReadSetting("Window", "Height"), "400");
    EXPECT_EQ(ReadSetting("Window", "Width"), "900");
}

// A place stored on a monitor that is gone opens the terminal on the screen there is, not off it.
TEST_F(KestrupTerminal, APlaceOffEveryMonitorOpensOnTheScreen) {
    PresetPlace("4000", "-5000", "400", "900");
    Start();
    RECT shown{}, screen{};
    GetWindowRect(k_->Main(), &shown);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_EQ(shown.left, screen.left);
    EXPECT_EQ(shown.bottom, screen.bottom);
    EXPECT_EQ(shown.right - shown.left, 900);
}

// The program gives its menu command ids to no other process (the message it once answered for the tests
// stays unanswered); the tests read the menus from inside the program.
TEST_F(KestrupTerminal, MenusAreReadFromInsideOnly) {
    Start();
    const ATOM atom = GlobalAddAtomA("Connect1");
    DWORD_PTR answer = 1;
    SendMessageTimeoutA(k_->Main(), WM_APP + 0x2A1, atom, 0, SMTO_NORMAL, 5000, &answer);
    GlobalDeleteAtom(atom);
    EXPECT_EQ(answer, 0u);
    EXPECT_NE(MenuCommandOf(k_->Main(), "Connect1"), 0u);
    EXPECT_EQ(MenuCommandOf(k_->Main(), "NoSuchItem1"), 0u);
}

TEST_F(KestrupTerminal, ExitEndsTheProgramWithoutWritingSettings) {
    Start();
    ASSERT_TRUE(k_->Menu("ESP32"));
    k_->Menu("Exit1");
    ASSERT_TRUE(k_->WaitForExit());
    EXPECT_FALSE(SettingKeyExists("MCUtype"));
    EXPECT_FALSE(SettingKeyExists("Window"));
    EXPECT_FALSE(SettingKeyExists("Memo1ReadOnly"));
}

TEST_F(KestrupTerminal, ConnectSendsTwoReturnsAndATypedLineGoesOutAndComesBackAnswered) {
    Start();
    Connect(2);
    Wait(200);  // that nothing more comes: no event to wait for
    EXPECT_EQ(BoardLines(), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(LogHas("COM port Connected at "));

    k_->TypeChars(k_->Memo(), "2 3 + .");
    ASSERT_TRUE(MemoShows("2 3 + ."));
    k_->TypeChars(k_->Memo(), "\r");
    ASSERT_TRUE(WaitBoardLines(3));
    EXPECT_EQ(BoardLines().back(), "2 3 + .");
    ASSERT_TRUE(WaitUntil([&] { return EndsWith(k_->MemoText(), "2 3 + . ok\r\n"); })) << k_->MemoText();
    EXPECT_EQ(Count(k_->MemoText(), "2 3 + ."), 1u) << "the typed line is replaced by the board's echo";

    // Enter on an empty line writes a lone CR.
    const size_t answers = Count(k_->MemoText(), " ok");
    k_->TypeChars(k_->Memo(), "\r");
    ASSERT_TRUE(WaitBoardLines(4));
    EXPECT_EQ(BoardLines().back(), "");
    ASSERT_TRUE(WaitUntil([&] { return Count(k_->MemoText(), " ok") > answers; }));

    // With the port closed, typed keys vanish.
    ASSERT_TRUE(k_->Menu("Disconnect1"));
    const std::string before = k_->MemoText();
    k_->TypeChars(k_->Memo(), "lost");
    Wait(200);  // that nothing more comes: no event to wait for
    EXPECT_EQ(k_->MemoText(), before);
    EXPECT_TRUE(LogHas(" COM port DISconnected"));
}

TEST_F(KestrupTerminal, Scamp2ConnectsWithOneReturnAndFiltersTheBoardsSequences) {
    BoardType("Scamp2");
    Start();
    Connect(1);
    Wait(300);  // that nothing more comes: no event to wait for
    EXPECT_EQ(BoardLines().size(), 1u) << "SCAMP2 connects with a single CR";

    // Colours and BEL go; the text stays.
    ASSERT_TRUE(board_.Ok("text \\e[1;33mYellow\\e[0m \\aBell\\r\\n"));
    ASSERT_TRUE(MemoShows("Yellow Bell\r\n"));
    EXPECT_EQ(k_->MemoText().find('\x1b'), std::string::npos);
    EXPECT_EQ(k_->MemoText().find('\a'), std::string::npos);

    // A sequence split across a pause is held back, then removed.
    ASSERT_TRUE(board_.Ok("text A\\e[3"));
    ASSERT_TRUE(board_.Ok("pause 500"));
    ASSERT_TRUE(board_.Ok("text 1mB\\r\\n"));
    ASSERT_TRUE(MemoShows("AB\r\n"));
    EXPECT_EQ(k_->MemoText().find("[3"), std::string::npos);

    // ESC [2J empties the terminal; the batch around it stays.
    ASSERT_TRUE(board_.Ok("text before\\e[2Jafter\\r\\n"));
    ASSERT_TRUE(WaitUntil([&] { return k_->MemoText() == "beforeafter\r\n"; })) << k_->MemoText();

    // Esc in the terminal goes to the board in this mode, and is logged.
    k_->PressKey(k_->Memo(), VK_ESCAPE);
    k_->TypeChars(k_->Memo(), "\r");
    ASSERT_TRUE(WaitUntil([&] {
        auto lines = BoardLines();
        return !lines.empty() && lines.back().find('\x1b') != std::string::npos;
    }));
    EXPECT_TRUE(LogHas(" ESC (#27) send to COMport "));
}

TEST_F(KestrupTerminal, Esp32SendsKeysAtOnceAndTheCommandLineKeepsAHistory) {
    BoardType("ESP32forth");
    ASSERT_TRUE(board_.Ok("mode esp32"));
    Start();
    Connect(0);
    EXPECT_TRUE(IsWindowVisible(k_->CommandLine()));

    k_->TypeChars(k_->Memo(), "ab");
    ASSERT_TRUE(MemoShows("ab"));
    Wait(200);  // that nothing more comes: no event to wait for
    EXPECT_EQ(Count(k_->MemoText(), "ab"), 1u) << "the key itself doesn't reach the memo; the echo does";
    k_->TypeChars(k_->Memo(), "\r");
    ASSERT_TRUE(WaitUntil([&] { return !BoardLines().empty() && BoardLines().back() == "ab"; }));

    for (const char* command : {"1 2", "3 4"}) {
        const size_t before = BoardLines().size();
        k_->SetCommandLineText(command);
        k_->TypeChars(k_->CommandLine(), "\r");
        ASSERT_TRUE(WaitBoardLines(before + 1));
        EXPECT_EQ(BoardLines().back(), command);
        EXPECT_EQ(k_->CommandLineText(), "");
    }
    ASSERT_TRUE(MemoShows("3 4 ok"));

    k_->PressKey(k_->CommandLine(), VK_UP);
    EXPECT_EQ(k_->CommandLineText(), "3 4") << "Up after a send recalls that command";
    k_->PressKey(k_->CommandLine(), VK_UP);
    EXPECT_EQ(k_->CommandLineText(), "1 2");
    k_->PressKey(k_->CommandLine(), VK_UP);
    EXPECT_EQ(k_->CommandLineText(), "1 2");
    k_->PressKey(k_->CommandLine(), VK_DOWN);
    EXPECT_EQ(k_->CommandLineText(), "3 4");
    k_->PressKey(k_->CommandLine(), VK_DOWN);
    EXPECT_EQ(k_->CommandLineText(), "");
    k_->PressKey(k_->CommandLine(), VK_UP);
    EXPECT_EQ(k_->CommandLineText(), "3 4");
}

TEST_F(KestrupTerminal, TheBoardsRedefinitionWarningAsksAndIsLogged) {
    Start();
    Connect(2);
    // The same words in small letters ask nothing.
    ASSERT_TRUE(board_.Ok("text  already defined\\r\\n"));
    ASSERT_TRUE(MemoShows(" already defined"));
    Wait(300);  // that nothing more comes: no event to wait for
    EXPECT_EQ(k_->FindBox("Warning: ", true), nullptr);

    k_->TypeChars(k_->Memo(), ": sq dup * ;\r");
    ASSERT_TRUE(MemoShows(": sq dup * ; ok"));
    k_->TypeChars(k_->Memo(), ": sq dup * ;\r");
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = k_->FindBox("Warning: ", true)) != nullptr; }));
    const std::string caption = WindowText(box);
    EXPECT_NE(caption.find(" ALREADY DEFINED"), std::string::npos) << caption;
    EXPECT_EQ(k_->BoxText(box), "Continue? - \"YES\" might hang up your system!");
    k_->Answer(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return k_->FindBox("Warning: ", true) == nullptr; }));
    EXPECT_TRUE(LogHas(" Warning: " + caption.substr(std::string("Warning: ").size())));
    // The terminal goes on.
    k_->TypeChars(k_->Memo(), "1\r");
    ASSERT_TRUE(MemoShows("1 ok"));
}

TEST_F(KestrupTerminal, NulBytesFromTheBoardHideNothingAfterThem) {
    Start();
    Connect(2);
    ASSERT_TRUE(board_.Ok("text noise\\0\\0 after nul\\r\\nnext\\0 line\\r\\n"));  // one write
    ASSERT_TRUE(MemoShows("noise after nul\r\nnext line\r\n")) << k_->MemoText();
    // The warning check reads what the memo shows.
    ASSERT_TRUE(board_.Ok("text \\0 kn ALREADY\\0 DEFINED\\r\\n"));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = k_->FindBox("Warning: ", true)) != nullptr; }));
    EXPECT_EQ(WindowText(box), "Warning:  kn ALREADY DEFINED");
    k_->Answer(box, IDNO);
}

TEST_F(KestrupTerminal, TheCompanionsTypedLineReachesTheBoardOnlyWhileThePortIsOpen) {
    Start();
    const char closed[] = "closed\n";
    EXPECT_EQ(k_->SendCopyData(closed, sizeof closed), 0) << "not taken";
    Wait(300);  // that nothing more comes: no event to wait for
    EXPECT_TRUE(BoardLines().empty());

    Connect(2);
    const char hello[] = "hello\n";
    EXPECT_EQ(k_->SendCopyData(hello, sizeof hello), 1) << "taken";
    ASSERT_TRUE(WaitBoardLines(3));
    EXPECT_EQ(BoardLines().back(), "hello");
    // Never more than the block's size, even without a zero byte in it.
    const char unterminated[] = {'a', 'b', 'c', 'd', 'e', 'f'};
    k_->SendCopyData(unterminated, 3);
    ASSERT_TRUE(WaitBoardLines(4));
    EXPECT_EQ(BoardLines().back(), "abc");
    // A block without data is ignored.
    k_->SendCopyData(nullptr, 5);
    Wait(300);  // that nothing more comes: no event to wait for
    EXPECT_EQ(BoardLines().size(), 4u);

    // A megabyte (a long line piped into the companion, or any other process) is refused at once, even on a
    // slow line where writing it would take hours; nothing of it reaches the board.
    ASSERT_TRUE(board_.Ok("speed 960"));
    std::string megabyte(1 << 20, 'm');
    megabyte.back() = '\0';
    DWORD_PTR answer = 99;
    const DWORD start = GetTickCount();
    COPYDATASTRUCT cds{0, static_cast<DWORD>(megabyte.size()), megabyte.data()};
    ASSERT_TRUE(
        SendMessageTimeoutA(k_->Main(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 3000, &answer))
        << "the terminal is still writing";
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(answer, 0u);
    Wait(300);  // that nothing more comes: no event to wait for
    EXPECT_EQ(board_.Received().find('m'), std::string::npos);
    EXPECT_EQ(BoardLines().size(), 4u);

    ASSERT_TRUE(k_->Menu("Disconnect1"));
    const char after[] = "after\n";
    EXPECT_EQ(k_->SendCopyData(after, sizeof after), 0);
    Wait(300);  // that nothing more comes: no event to wait for
    EXPECT_EQ(BoardLines().size(), 4u);
}

// A long, fast receive (half a MiB in the board's largest writes) ends with the memo holding every byte in order
// and showing its end: the last line lies in the memo's view.
TEST_F(KestrupTerminal, ALargeReceiveShowsEveryByteInOrderAndItsEnd) {
    Start();
    Connect(2);
    ASSERT_TRUE(k_->Menu("SureClearscreen1"));
    ASSERT_TRUE(WaitUntil([&] { return k_->MemoText().empty(); }));
    std::string want;
    for (int line = 0; want.size() < 512 * 1024; ++line)
        want += std::to_string(line) + std::string(40 + line % 23, static_cast<char>('a' + line % 26)) + "\r\n";
    want += "the last line";
    // The board takes control lines below 64 KiB: CR LF goes as \r\n, 4 characters on the line.
    const std::string escaped = [&] {
        std::string s;
        for (char c : want) s += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
        return s;
    }();
    for (size_t at = 0; at < escaped.size();) {
        size_t end = std::min(escaped.size(), at + 40000);
        if (escaped[end - 1] == '\\') ++end;  // keep an escape whole
        ASSERT_TRUE(board_.Ok("text " + escaped.substr(at, end - at)));
        at = end;
    }
    const auto length = [&] { return static_cast<size_t>(SendMessageA(k_->Memo(), WM_GETTEXTLENGTH, 0, 0)); };
    ASSERT_TRUE(WaitUntil([&] { return length() >= want.size(); }, 60000)) << length() << " of " << want.size();
    k_->Sync();
    const std::string got = k_->MemoText();
    ASSERT_EQ(got.size(), want.size());
    const auto differs = std::mismatch(got.begin(), got.end(), want.begin()).first;
    EXPECT_TRUE(differs == got.end()) << "first difference at " << (differs - got.begin());
    // The end of the last line is in view.
    RECT client;
    GetClientRect(k_->Memo(), &client);
    const LRESULT at = SendMessageA(k_->Memo(), EM_POSFROMCHAR, want.size() - 1, 0);
    ASSERT_NE(at, -1) << "the last character is not in view";
    const int y = static_cast<short>(HIWORD(at));
    EXPECT_GE(y, client.top);
    EXPECT_LT(y, client.bottom);
}
