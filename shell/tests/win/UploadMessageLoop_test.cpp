#include "shell/win/UploadMessageLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "base/win/Application.h"
#include "base/win/Win.h"
#include "shell/UploadEngine.h"

using namespace kes;

namespace {

// CPU time of the calling thread in ms.
double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return ((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace

TEST(UploadMessageLoop, SleepsUntilAMessageArrives) {
    DrainQueue();
    TUploadMessageLoop loop;
    const DWORD thread = GetCurrentThreadId();
    std::thread poster([thread] {
        Sleep(300);  // the time the loop is to sleep through is what is judged
        PostThreadMessageA(thread, WM_USER + 1, 0, 0);
    });
    const auto start = loop.NowMs();
    const double cpu = ThreadCpuMs();
    EXPECT_TRUE(loop.ProcessMessages(3000));
    const auto took = loop.NowMs() - start;
    const double spent = ThreadCpuMs() - cpu;
    poster.join();
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 2000u);
    EXPECT_LT(spent, 100.0) << "the wait spins";
}

// The handshake wakes the upload from the thread that writes the kept lines: the sleep ends then, with no message,
// and a wake that came before the sleep ends the next one at once.
TEST(UploadMessageLoop, AWakeFromAnotherThreadEndsTheSleep) {
    DrainQueue();
    TUploadMessageLoop loop;
    std::thread waker([&loop] {
        Sleep(300);
        loop.Wake();
    });
    auto start = loop.NowMs();
    EXPECT_TRUE(loop.ProcessMessages(10000));
    auto took = loop.NowMs() - start;
    waker.join();
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 5000u);
    loop.Wake();
    start = loop.NowMs();
    EXPECT_TRUE(loop.ProcessMessages(10000));
    EXPECT_LT(loop.NowMs() - start, 5000u);
}

TEST(UploadMessageLoop, SleepEndsAfterItsTimeAndZeroNeverSleeps) {
    DrainQueue();
    TUploadMessageLoop loop;
    auto start = loop.NowMs();
    EXPECT_TRUE(loop.ProcessMessages(200));
    EXPECT_GE(loop.NowMs() - start, 150u);
    start = loop.NowMs();
    EXPECT_TRUE(loop.ProcessMessages(0));
    EXPECT_LT(loop.NowMs() - start, 100u);
}

TEST(UploadMessageLoop, QuitRequestEndsTheWaitAndIsPostedAgain) {
    DrainQueue();
    TUploadMessageLoop loop;
    PostQuitMessage(7);
    EXPECT_FALSE(loop.ProcessMessages(1000));
    EXPECT_TRUE(loop.QuitTaken());
    EXPECT_FALSE(loop.ProcessMessages(0));
    loop.RepostQuit();
    EXPECT_FALSE(loop.QuitTaken());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

namespace {

// A board on a timer of the GUI thread: answers each line after a few milliseconds, or stays silent. With a line
// speed, it answers instead from a thread of its own once the answer (30 bytes) would have crossed the line, as the
// port's receive watch hears an answer on the thread that takes the bytes in; the next line is then written there.
struct TimerBoard : UploadPort, UploadFiles, UploadLog, UploadView {
    explicit TimerBoard(int lineBaud = 0) : baud(lineBaud) {
        self = this;
        if (baud > 0) answerer = std::thread([this] { AnswerAtLineSpeed(); });
    }
    ~TimerBoard() {
        {
            std::lock_guard<std::mutex> lock(dueLock);
            stop = true;
        }
        dueChanged.notify_all();
        if (answerer.joinable()) answerer.join();
    }
    void AnswerAtLineSpeed() {
        std::unique_lock<std::mutex> lock(dueLock);
        for (;;) {
            dueChanged.wait(lock, [this] { return stop || !due.empty(); });
            if (stop) return;
            const auto at = due.front();
            due.pop_front();
            lock.unlock();
            std::this_thread::sleep_until(at);
            --pendingAnswers;
            engine.LineEnded();
            lock.lock();
        }
    }

    TUploadMessageLoop loop;
    UploadEngine engine{*this, loop, *this, *this, *this};
    std::vector<std::string> written;
    std::vector<std::string> log;
    int silentFrom = 1000;
    std::atomic<int> pendingAnswers{0};
    int violations = 0;
    static TimerBoard* self;
    const int baud;
    std::thread answerer;
    std::mutex dueLock;
    std::condition_variable dueChanged;
    std::deque<std::chrono::steady_clock::time_point> due;
    bool stop = false;

    static void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        --self->pendingAnswers;
        self->engine.LineEnded();
    }

    bool Connected() override { return true; }
    std::string LineEnd() override { return "\r"; }
    bool Write(const std::string& bytes, std::string&) override {
        if (pendingAnswers) ++violations;
        written.push_back(bytes);
        if (static_cast<int>(written.size()) < silentFrom) {
            ++pendingAnswers;
            if (baud == 0) {
                SetTimer(nullptr, 0, 5, Answer);
            } else {
                std::lock_guard<std::mutex> lock(dueLock);
                due.push_back(std::chrono::steady_clock::now() + std::chrono::microseconds(30 * 10 * 1000000LL / baud));
                dueChanged.notify_all();
            }
        }
        return true;
    }
    IncludeRead ReadLines(const std::string&, std::vector<std::string>&) override { return IncludeRead::NotFound; }
    void AddLogLine(const std::string& text) override { log.push_back(text); }
    void ShowIncludeLevel(int) override {}
    void OpenIncludeLevel(int, const std::string&, const std::vector<std::string>&) override {}
    void CloseIncludeLevel(int) override {}
    void SetProgressRange(int) override {}
    void SetProgress(int) override {}
    void SetStatusText(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    void RepaintTerminal() override {}
    void UploadFinished() override {}
};
TimerBoard* TimerBoard::self = nullptr;

UploadText Text(int lines) {
    UploadText t;
    for (int i = 0; i < lines; ++i) t.lines.push_back(": w" + std::to_string(i) + " ;");
    t.sourceLineCount = lines;
    return t;
}

}  // namespace

TEST(UploadMessageLoop, UploadPacedByTimerMessages) {
    DrainQueue();
    TimerBoard board;
    TimerBoard::self = &board;
    auto r = board.engine.SendTextToMCU(Text(20));
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(board.written.size(), 20u);
    EXPECT_EQ(board.violations, 0);
}

// The same at the line speeds of the boards, 115200 and 921600 baud, and with the timer board.
class UploadMessageLoopAtLineSpeed : public ::testing::TestWithParam<int> {};

TEST_P(UploadMessageLoopAtLineSpeed, UploadPacedByAnswersFromTheReceivingThread) {
    DrainQueue();
    TimerBoard board(GetParam());
    auto r = board.engine.SendTextToMCU(Text(200));
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(board.written.size(), 200u);
    EXPECT_EQ(board.violations, 0);
}

TEST_P(UploadMessageLoopAtLineSpeed, SilentBoardTimesOutAfterFiveSeconds) {
    DrainQueue();
    TimerBoard board(GetParam());
    board.silentFrom = 3;
    const double cpu = ThreadCpuMs();
    const auto start = board.loop.NowMs();
    auto r = board.engine.SendTextToMCU(Text(6));
    const auto took = board.loop.NowMs() - start;
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(board.written.size(), 3u);
    EXPECT_GE(took, 4900u);
    EXPECT_LT(took, 7000u);
    EXPECT_LT(ThreadCpuMs() - cpu, 500.0) << "the wait spins";
    EXPECT_EQ(board.log.back(), "Sourcefile parsing CANCELED!");
}

// 0: the board on timer messages of the GUI thread.
INSTANTIATE_TEST_SUITE_P(LineSpeeds, UploadMessageLoopAtLineSpeed, ::testing::Values(0, 115200, 921600),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 0 ? std::string("TimerMessages") : "Baud" + std::to_string(info.param);
                         });

TEST(UploadMessageLoop, ApplicationTerminateEndsTheUpload) {
    DrainQueue();
    {
        TApplication app;
        TimerBoard board;
        TimerBoard::self = &board;
        board.silentFrom = 2;
        SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            Application->Terminate();
        });
        auto r = board.engine.SendTextToMCU(Text(4));
        EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
        EXPECT_TRUE(r.quitRequested);
        EXPECT_EQ(board.written.size(), 2u);
        EXPECT_TRUE(app.Terminated());
        board.loop.RepostQuit();
    }
    DrainQueue();
}
