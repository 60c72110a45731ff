// The port on the virtual null modem under Wine, against the simulated board: bytes both ways, receive events on
// the GUI thread, open/close cycles, closing with a pending hand-over, errors, settings storage, the port list.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "base/win/Application.h"
#include "base/win/Thread.h"
#include "serial/CPort.h"
#include "serial/win/ComDeviceWin.h"
#include "testsupport/BoardTest.h"
#include "testsupport/Wait.h"

using namespace kes;
using kes::test::BoardControl;

namespace {

using kes::test::PumpFor;
using kes::test::PumpUntil;

// Wine 8 answers GetProcessHandleCount with 0. There a leak shows in the handle table instead: a new handle takes
// the lowest free slot, so the value of a fresh handle grows when handles are lost.
DWORD HandleMeasure() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    HANDLE probe;
    {
        const UniqueHandle event = NewEvent(true, false);
        probe = event.Get();
    }
    return static_cast<DWORD>(reinterpret_cast<uintptr_t>(probe) / 4);
}

std::string Burst(size_t n) {
    std::string s(n, '0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('0' + i % 10);
    return s;
}

class ComPortWine : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        comName_ = kes::test::BoardComPort();
        if (comName_.empty()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
        ASSERT_TRUE(board_.Connect()) << "no board control";
        ASSERT_TRUE(board_.Reset());
        port_ = std::make_unique<TComPort>();
        port_->SetName("ComPort1");
        port_->SetPort(comName_);
        port_->SetBaudRate(br115200);
    }
    void TearDown() override {
        port_.reset();
        app_.reset();
    }

    // Opens the port with OnRxChar collecting everything into `received_` on the GUI thread.
    void OpenCollecting() {
        port_->OnRxChar = [this](TObject*, int count) {
            if (GetCurrentThreadId() != MainThreadID()) offThread_ = true;
            std::string chunk;
            port_->ReceiveText(chunk, count);
            received_ += chunk;
            ++rxEvents_;
        };
        port_->OpenPort();
        port_->AbortPendingIo();
        Purge();
    }
    // Drops bytes a pty kept from earlier runs, on both sides.
    void Purge() {
        std::string junk;
        port_->ReceiveText(junk, 65536);
        board_.Ok("purge");
        Sleep(50);  // bytes already on the line come in their own time
        port_->ReceiveText(junk, 65536);
        received_.clear();
    }

    std::unique_ptr<TApplication> app_;
    std::string comName_;
    BoardControl board_;
    std::unique_ptr<TComPort> port_;
    std::string received_;
    int rxEvents_ = 0;
    bool offThread_ = false;
};

}  // namespace

TEST_F(ComPortWine, ExactBytesBothWays) {
    OpenCollecting();
    const std::string line("A\0\xFF\x01z", 5);
    EXPECT_EQ(port_->SendText(line + "\r"), 6);
    // The board echoes every byte but the line end, then answers.
    ASSERT_TRUE(PumpUntil([&] { return received_.find(" ok\r\n") != std::string::npos; })) << received_;
    EXPECT_EQ(received_, line + " ok\r\n");
    auto lines = board_.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, line);

    received_.clear();
    ASSERT_TRUE(board_.Ok("send 00 ff 00 80 7f 0d 0a 1b"));
    const std::string expected("\0\xFF\0\x80\x7F\r\n\x1B", 8);
    ASSERT_TRUE(PumpUntil([&] { return received_.size() >= expected.size(); })) << received_.size();
    EXPECT_EQ(received_, expected);
    EXPECT_FALSE(offThread_);
}

TEST_F(ComPortWine, ReadTakesWhatIsQueuedAndReturnsAtOnce) {
    port_->Events = {};  // no event thread: the test reads itself
    port_->OpenPort();
    Purge();
    ASSERT_TRUE(board_.Ok("send 61 62 63"));
    const ULONGLONG end = GetTickCount64() + 5000;
    while (port_->PendingInputCount() < 3 && GetTickCount64() < end) Sleep(5);
    std::string got;
    EXPECT_EQ(port_->ReceiveText(got, 5), 3);
    EXPECT_EQ(got, "abc");
    EXPECT_EQ(port_->ReceiveText(got, 5), 0);  // an empty queue: at once, no bytes
    EXPECT_EQ(got, "");
}

TEST_F(ComPortWine, BurstArrivesCompleteAndInOrderOnTheGuiThread) {
    OpenCollecting();
    const size_t n = 64 * 1024;
    ASSERT_TRUE(board_.Ok("burst " + std::to_string(n)));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] { return received_.size() >= n; }, 60000)) << received_.size();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(received_.size(), n);
    EXPECT_TRUE(received_ == Burst(n)) << "the bytes differ from the board's burst";
    EXPECT_FALSE(offThread_);
    std::printf("64 KB burst: %.0f ms, %d OnRxChar events\n", ms, rxEvents_);
}

TEST_F(ComPortWine, EveryHandOverDeliversOnTheGuiThread) {
    for (TSyncMethod method : {smWindowSync, smNone}) {
        port_->SetSyncMethod(method);
        std::string got;
        DWORD thread = 0;
        port_->OnRxChar = [&](TObject*, int count) {
            std::string chunk;
            port_->ReceiveText(chunk, count);
            got += chunk;
            thread = GetCurrentThreadId();
        };
        port_->OpenPort();
        Purge();
        got.clear();
        ASSERT_TRUE(board_.Ok("text hello\\r\\n"));
        if (method == smNone) {
            // Handlers run on the event thread; the test only waits.
            const ULONGLONG end = GetTickCount64() + 10000;
            while (got.find("hello\r\n") == std::string::npos && GetTickCount64() < end) Sleep(10);
            EXPECT_NE(thread, MainThreadID());
        } else {
            ASSERT_TRUE(PumpUntil([&] { return got.find("hello\r\n") != std::string::npos; }));
            EXPECT_EQ(thread, MainThreadID());
        }
        EXPECT_NE(got.find("hello\r\n"), std::string::npos) << int(method);
        port_->ClosePort();
    }
}

// The event thread may take a byte ahead of the port's reads to learn of it at once: counts, reads from inside and
// outside the handler and a handler that leaves bytes unread must still see every byte once, in order.
TEST_F(ComPortWine, BytesTakenAheadAreCountedAndHandedOutFirst) {
    int events = 0, lastCount = 0;
    port_->OnRxChar = [&](TObject*, int count) {
        ++events;
        lastCount = count;
    };
    port_->OpenPort();
    Purge();
    events = 0;
    ASSERT_TRUE(board_.Ok("text x"));
    ASSERT_TRUE(PumpUntil([&] { return events > 0; }));
    EXPECT_EQ(lastCount, 1);
    EXPECT_EQ(port_->PendingInputCount(), 1);
    // Nothing was read: new bytes are still reported, counted with the one left.
    ASSERT_TRUE(board_.Ok("text yz"));
    ASSERT_TRUE(PumpUntil([&] { return lastCount == 3; })) << lastCount;
    std::string got;
    EXPECT_EQ(port_->ReceiveText(got, 2), 2);
    EXPECT_EQ(got, "xy");
    EXPECT_EQ(port_->ReceiveText(got, 5), 1);
    EXPECT_EQ(got, "z");
    EXPECT_EQ(port_->PendingInputCount(), 0);
}

TEST_F(ComPortWine, ReadsInsideAndOutsideTheHandlerKeepTheOrder) {
    std::string got;
    port_->OnRxChar = [&](TObject*, int count) {
        std::string chunk;
        port_->ReceiveText(chunk, (count + 1) / 2);  // leaves some for the reads below
        got += chunk;
    };
    port_->OpenPort();
    Purge();
    got.clear();
    const size_t n = 12000;
    ASSERT_TRUE(board_.Ok("speed 20000"));  // arrives in many small slices
    ASSERT_TRUE(board_.Ok("burst " + std::to_string(n)));
    const ULONGLONG end = GetTickCount64() + 30000;
    while (got.size() < n && GetTickCount64() < end) {
        std::string chunk;
        port_->ReceiveText(chunk, 7);
        got += chunk;
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    EXPECT_EQ(got.size(), n);
    EXPECT_TRUE(got == Burst(n)) << "the bytes differ from the board's burst";
}

TEST_F(ComPortWine, EventsGoOnWhenReadsAreSetToWait) {
    OpenCollecting();
    ASSERT_TRUE(board_.Ok("text one\\r\\n"));
    ASSERT_TRUE(PumpUntil([&] { return received_.find("one\r\n") != std::string::npos; })) << received_;
    // Reads that wait up to 100 ms: the thread waits for EV_RXCHAR instead of reading ahead.
    port_->Timeouts().SetReadTotalConstant(100);
    ASSERT_TRUE(board_.Ok("text two\\r\\n"));
    ASSERT_TRUE(PumpUntil([&] { return received_.find("two\r\n") != std::string::npos; })) << received_;
    port_->Timeouts().SetReadTotalConstant(0);
    ASSERT_TRUE(board_.Ok("text three\\r\\n"));
    ASSERT_TRUE(PumpUntil([&] { return received_.find("three\r\n") != std::string::npos; })) << received_;
    EXPECT_EQ(received_, "one\r\ntwo\r\nthree\r\n");
}

// One byte arrives while the event thread is busy, and the read-ahead takes it just as the reads are set to
// wait (which switches the read-ahead off). Nothing else comes: the byte must still be reported.
TEST_F(ComPortWine, AByteTakenAsTheReadAheadGoesOffIsReported) {
    int rxCount = 0;
    bool switched = false;
    port_->OnRxChar = [&](TObject*, int count) { rxCount = count; };
    port_->OnTxEmpty = [&](TObject*) {
        if (switched) return;
        switched = true;
        // The event thread waits for this pass while its one-byte read is pending.
        ASSERT_TRUE(board_.Ok("send 62"));
        const ULONGLONG end = GetTickCount64() + 5000;
        while (port_->PendingInputCount() < 1 && GetTickCount64() < end) Sleep(2);
        port_->Timeouts().SetReadTotalConstant(100);
    };
    port_->OpenPort();
    Purge();
    ASSERT_TRUE(board_.Ok("silent-after 0"));  // the board neither echoes nor answers what the port sends
    rxCount = 0;
    ASSERT_EQ(port_->SendText("x"), 1);
    ASSERT_TRUE(PumpUntil([&] { return switched; }));
    EXPECT_TRUE(PumpUntil([&] { return rxCount == 1; }, 3000)) << "the byte was not reported";
    std::string got;
    EXPECT_EQ(port_->ReceiveText(got, 1), 1);
    EXPECT_EQ(got, "b");
}

TEST_F(ComPortWine, HandleCountStaysStableOver50OpenCloseCycles) {
    port_->OpenPort();
    port_->ClosePort();
    const DWORD before = HandleMeasure();
    for (int i = 0; i < 50; ++i) {
        port_->OpenPort();
        ASSERT_TRUE(port_->Connected());
        if (i % 10 == 0) port_->SendText("\r");
        port_->ClosePort();
        Application->ProcessMessages();
    }
    const DWORD after = HandleMeasure();
    std::printf("handles: %lu before, %lu after 50 cycles\n", static_cast<unsigned long>(before),
                static_cast<unsigned long>(after));
    EXPECT_LE(after, before + 2);
}

TEST_F(ComPortWine, ClosingWhileAHandOverIsPendingDoesNotHang) {
    int passes = 0;
    port_->OnTxEmpty = [&](TObject*) { ++passes; };
    // Under Wine the purge at close also drops queued input, which would leave a receive pass with nothing to
    // report; the end of a write makes the pass visible instead.
    port_->Events = {evTxEmpty};
    port_->OpenPort();
    Purge();
    PumpFor(200);  // the event thread is idle again
    passes = 0;
    ASSERT_EQ(port_->SendText("\r"), 1);
    // The event thread now waits for the GUI thread, which does not pump.
    ASSERT_TRUE(kes::test::PollUntil(kes::test::SynchronizeWaiting, 5000));
    const auto start = std::chrono::steady_clock::now();
    port_->ClosePort();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(port_->Connected());
    EXPECT_LT(ms, 3000.0);
    EXPECT_GE(passes, 1);  // the waiting pass still ran
    std::printf("close with a pending hand-over: %.0f ms\n", ms);
}

TEST_F(ComPortWine, ClosingWaitsForAPassOnTheEventThread) {
    port_->SetSyncMethod(smNone);
    std::atomic<bool> started{false}, finished{false};
    port_->OnRxChar = [&](TObject*, int count) {
        started = true;
        Sleep(300);  // a slow handler, on purpose
        std::string chunk;
        port_->ReceiveText(chunk, count);
        finished = true;
    };
    port_->OpenPort();
    Purge();
    ASSERT_TRUE(board_.Ok("text slow\\r\\n"));
    const ULONGLONG end = GetTickCount64() + 5000;
    while (!started && GetTickCount64() < end) Sleep(5);
    ASSERT_TRUE(started);
    port_->ClosePort();  // from the GUI thread: the pass on the event thread ends first
    EXPECT_TRUE(finished);
    EXPECT_FALSE(port_->Connected());
}

TEST_F(ComPortWine, HandlerMayCloseThePortFromInsideItsPass) {
    port_->OnRxChar = [&](TObject*, int) { port_->ClosePort(); };
    port_->OpenPort();
    Purge();
    ASSERT_TRUE(board_.Ok("text x"));
    ASSERT_TRUE(PumpUntil([&] { return !port_->Connected(); }));
    port_->OnRxChar = nullptr;
    port_->OpenPort();  // frees the stopped thread, opens again
    EXPECT_TRUE(port_->Connected());
    port_->ClosePort();
}

TEST_F(ComPortWine, FailingHandlerIsShownAndEventsGoOn) {
    std::vector<std::string> shown;
    app_->OnException = [&](TObject*, const std::exception& e) { shown.push_back(e.what()); };
    std::string got;
    bool failOnce = true;
    port_->OnRxChar = [&](TObject*, int count) {
        std::string chunk;
        port_->ReceiveText(chunk, count);
        got += chunk;
        if (failOnce) {
            failOnce = false;
            throw Exception("handler failed");
        }
    };
    port_->OpenPort();
    Purge();
    got.clear();
    ASSERT_TRUE(board_.Ok("text first\\r\\n"));
    ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown, std::vector<std::string>{"handler failed"});
    ASSERT_TRUE(board_.Ok("text second\\r\\n"));
    ASSERT_TRUE(PumpUntil([&] { return got.find("second\r\n") != std::string::npos; })) << got;
}

TEST_F(ComPortWine, MissingPortGivesTheOpenErrorWithTheSystemsCode) {
    HANDLE h = CreateFileA("\\\\.\\COM63", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    const DWORD systemCode = GetLastError();
    ASSERT_EQ(h, INVALID_HANDLE_VALUE);
    port_->SetPort("COM63");
    try {
        port_->OpenPort();
        FAIL() << "opened a missing port";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 1);
        EXPECT_EQ(e.OsErrorCode, static_cast<int>(systemCode));
        EXPECT_EQ(std::string(e.what()), "Unable to open com port (Error: " + std::to_string(systemCode) + ")");
    }
    EXPECT_FALSE(port_->Connected());
    std::vector<std::string> reports;
    port_->OnException = [&](TObject*, TComExceptions kind, const std::string& msg, int64_t win,
                             const std::string& winMsg) {
        reports.push_back(std::to_string(kind) + "|" + msg + "|" + std::to_string(win) + "|" +
                          (winMsg.empty() ? "" : "text"));
    };
    port_->OpenPort();
    EXPECT_EQ(reports, std::vector<std::string>{"0|Unable to open com port|" + std::to_string(systemCode) + "|text"});
}

TEST_F(ComPortWine, OpenFailureAfterLoadingIsShownByTheApplication) {
    std::vector<std::string> shown;
    app_->OnException = [&](TObject*, const std::exception& e) {
        shown.push_back(std::string(dynamic_cast<const EComPort*>(&e) ? "EComPort: " : "") + e.what());
    };
    port_->SetPort("COM63");
    port_->BeginLoading();
    port_->SetConnected(true);
    EXPECT_NO_THROW(port_->EndLoading());
    EXPECT_FALSE(port_->Connected());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("EComPort: Unable to open com port (Error: ", 0), 0u) << shown[0];

    port_->SetPort(comName_);  // and a port that exists opens in Loaded
    port_->BeginLoading();
    port_->SetConnected(true);
    port_->EndLoading();
    EXPECT_TRUE(port_->Connected());
}

namespace {

void SetNonDefaults(TCustomComPort& p) {
    p.SetPort("COM9");
    p.SetBaudRate(brCustom);
    p.SetCustomBaudRate(250000);
    p.SetStopBits(sbTwoStopBits);
    p.SetDataBits(dbSeven);
    p.SetEventChar('\x0A');
    p.SetDiscardNull(true);
    p.Parity().SetBits(prOdd);
    p.Parity().SetCheck(true);
    p.Parity().SetReplaceChar('?');
    p.Buffer().SetInputSize(8192);
    p.Timeouts().SetReadInterval(20);
    p.Timeouts().SetWriteTotalConstant(-1);
    p.FlowControl().SetFlowControl(fcSoftware);
    p.FlowControl().SetXonChar(' ');
    p.StoredProps = {spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};
}

void ExpectNonDefaults(TCustomComPort& p) {
    EXPECT_EQ(p.Port(), "COM9");
    EXPECT_EQ(p.BaudRate(), brCustom);
    EXPECT_EQ(p.CustomBaudRate(), 250000);
    EXPECT_EQ(p.StopBits(), sbTwoStopBits);
    EXPECT_EQ(p.DataBits(), dbSeven);
    EXPECT_EQ(p.EventChar(), '\x0A');
    EXPECT_TRUE(p.DiscardNull());
    EXPECT_EQ(p.Parity().Bits(), prOdd);
    EXPECT_TRUE(p.Parity().Check());
    EXPECT_EQ(p.Parity().ReplaceChar(), '?');
    EXPECT_EQ(p.Buffer().InputSize(), 8192);
    EXPECT_EQ(p.Timeouts().ReadInterval(), 20);
    EXPECT_EQ(p.Timeouts().WriteTotalConstant(), -1);
    EXPECT_EQ(p.FlowControl().FlowControl(), fcSoftware);
    EXPECT_EQ(p.FlowControl().XonChar(), ' ');
}

}  // namespace

TEST(ComPortStorage, RegistryRoundTripOfNonDefaultSettings) {
    const char* path = "\\HKEY_LOCAL_MACHINE\\Software\\KestrupSerialTest";
    TComPort a;
    a.SetName("ComPort1");
    SetNonDefaults(a);
    a.StoreSettings(false, path);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "HKEY_LOCAL_MACHINE\\Software\\KestrupSerialTest\\ComPort1", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    char text[64];
    DWORD type = 0, size = sizeof(text);
    ASSERT_EQ(RegQueryValueExA(key, "BaudRate", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(text, "Custom");
    DWORD number = 0;
    size = sizeof(number);
    ASSERT_EQ(RegQueryValueExA(key, "CustomBaudRate", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number, 250000u);
    size = sizeof(text);
    ASSERT_EQ(RegQueryValueExA(key, "FlowControl.XonChar", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, "#32");
    RegCloseKey(key);

    TComPort b;
    b.SetName("ComPort1");
    b.StoredProps = a.StoredProps;
    b.LoadSettings(false, path);
    ExpectNonDefaults(b);
    RegDeleteTreeA(HKEY_CURRENT_USER, "HKEY_LOCAL_MACHINE\\Software\\KestrupSerialTest");
}

TEST(ComPortStorage, IniRoundTripOfNonDefaultSettings) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "kestrup_serial_test.ini";
    DeleteFileA(path.c_str());
    {
        TComPort a;
        a.SetName("ComPort1");
        SetNonDefaults(a);
        a.StoreSettings(true, path);
    }
    char value[64];
    GetPrivateProfileStringA("ComPort1", "Timeouts.WriteTotalConstant", "", value, sizeof(value), path.c_str());
    EXPECT_STREQ(value, "-1");
    GetPrivateProfileStringA("ComPort1", "Parity", "", value, sizeof(value), path.c_str());
    EXPECT_STREQ(value, "Odd");
    TComPort b;
    b.SetName("ComPort1");
    b.StoredProps = {spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};
    b.LoadSettings(true, path);
    ExpectNonDefaults(b);
    DeleteFileA(path.c_str());
}

TEST(ComPortList, ListsTheVirtualPort) {
    const std::string com = kes::test::BoardComPort();
    if (com.empty()) GTEST_SKIP() << "KESTRUP_COM is not set";
    TStringList list;
    list.Add("stale");
    ListSerialPorts(list);
    EXPECT_GE(list.IndexOf(com), 0) << list.Text();
    EXPECT_LT(list.IndexOf("stale"), 0);
    for (int i = 1; i < list.Count(); ++i) EXPECT_LE(CompareTextAZ(list[i - 1], list[i]), 0);
}

namespace {

// A watch as the upload uses one: it records what it sees and hears, and answers each line end it sees by writing
// the next line from the thread it runs on, a few times.
struct AnsweringWatch : TComReceiveWatch {
    TCustomComPort* port = nullptr;
    std::mutex lock;
    std::string seen;
    size_t taken = 0;
    bool waitingRight = true;  // every `waiting` matched the bytes seen and not taken
    int written = 0;
    std::string writeError;

    void BytesArrived(std::string_view bytes, size_t waiting) override {
        std::lock_guard<std::mutex> l(lock);
        waitingRight = waitingRight && waiting == seen.size() - taken;
        seen += bytes;
        for (char c : bytes)
            if (c == '\r' && written < 3) {
                std::string error;
                if (!port->WriteFromAnyThread("w" + std::to_string(++written) + "\r", error)) writeError = error;
            }
    }
    void BytesTaken(size_t count) override {
        std::lock_guard<std::mutex> l(lock);
        taken += count;
    }
};

}  // namespace

// At 115200 and at 921600 baud (the board's line limited to a tenth of it in bytes a second).
class ComPortWineAtLineSpeed : public ComPortWine, public ::testing::WithParamInterface<int> {};

// Every received byte reaches the watch once, in order and before the port's handler reads it; the handler's reads
// are counted as taken; and the lines the watch writes at the board's line ends reach the board.
TEST_P(ComPortWineAtLineSpeed, AReceiveWatchSeesEveryByteFirstAndAnswersFromItsThread) {
    AnsweringWatch watch;
    watch.port = port_.get();
    bool watching = false;
    bool readBeforeSeen = false;
    port_->OnRxChar = [&](TObject*, int count) {
        std::string chunk;
        port_->ReceiveText(chunk, count);
        received_ += chunk;
        std::lock_guard<std::mutex> l(watch.lock);
        if (watching) readBeforeSeen = readBeforeSeen || watch.seen.compare(0, received_.size(), received_) != 0;
    };
    port_->OpenPort();
    Purge();
    ASSERT_TRUE(board_.Ok("speed " + std::to_string(GetParam() / 10)));
    ASSERT_TRUE(board_.Ok("chunk 3 7"));  // the answers come in small pieces
    port_->SetReceiveWatch(&watch);
    watching = true;
    ASSERT_EQ(port_->SendText("first\r"), 6);
    ASSERT_TRUE(PumpUntil([&] { return received_.find("w3 ok\r\n") != std::string::npos; }, 5000)) << received_;
    port_->SetReceiveWatch(nullptr);
    watching = false;
    ASSERT_TRUE(board_.Ok("send 61 0d"));  // no longer watched
    ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 2 && received_.compare(received_.size() - 2, 2, "a\r") == 0; },
                          3000))
        << received_;
    std::lock_guard<std::mutex> l(watch.lock);
    EXPECT_EQ(watch.writeError, "");
    EXPECT_EQ(received_, "first ok\r\nw1 ok\r\nw2 ok\r\nw3 ok\r\na\r");
    EXPECT_EQ(watch.seen, "first ok\r\nw1 ok\r\nw2 ok\r\nw3 ok\r\n");
    EXPECT_EQ(watch.taken, watch.seen.size());
    EXPECT_TRUE(watch.waitingRight);
    EXPECT_FALSE(readBeforeSeen);
    auto lines = board_.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].text, "w3");
}

INSTANTIATE_TEST_SUITE_P(LineSpeeds, ComPortWineAtLineSpeed, ::testing::Values(115200, 921600),
                         [](const ::testing::TestParamInfo<int>& info) { return "Baud" + std::to_string(info.param); });
