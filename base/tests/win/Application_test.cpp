#include "base/win/Application.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/win/Timer.h"
#include "TestHelpers.h"

using namespace kes;

TEST(Application, OneAtATimeWithTitleAndHiddenWindow) {
    {
        TApplication app;
        EXPECT_EQ(Application, &app);
        EXPECT_THROW(TApplication second, Exception);
        EXPECT_EQ(app.Title(), "base_win_tests");  // the program's name until set
        // A title no other test program uses: the programs of the other tests may run at the same time.
        const std::string title = "KesTitleProbe" + std::to_string(GetCurrentProcessId());
        app.SetTitle(title);
        EXPECT_EQ(app.Title(), title);
        ASSERT_TRUE(IsWindow(app.Handle()));
        EXPECT_FALSE(IsWindowVisible(app.Handle()));
        char cls[64] = {};
        GetClassNameA(app.Handle(), cls, sizeof cls);
        EXPECT_STREQ(cls, "TApplication");
        EXPECT_EQ(FindWindowA(nullptr, title.c_str()), nullptr);  // a title search must find the main window only
    }
    EXPECT_EQ(Application, nullptr);
}

TEST(Application, RestoresAMinimisedMainWindow) {
    TApplication app;
    EXPECT_FALSE(app.Minimized());  // no main window yet
    app.Restore();
    app.MainFormHandle = CreateWindowExA(0, "STATIC", "KesMain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(app.MainFormHandle);
    ShowWindow(app.MainFormHandle, SW_MINIMIZE);
    EXPECT_TRUE(app.Minimized());
    app.Restore();
    EXPECT_FALSE(app.Minimized());
    EXPECT_TRUE(IsWindowVisible(app.MainFormHandle));
    DestroyWindow(app.MainFormHandle);
}

TEST(Application, ShowsExceptionsWithTitleAndFullStop) {
    TApplication app;
    app.SetTitle("KesShowTest");
    {
        kestest::BoxCloser closer("KesShowTest");
        app.HandleException(Exception("Unable to open com port"));
        closer.Join();
        EXPECT_EQ(closer.text, "Unable to open com port.");
    }
    {
        kestest::BoxCloser closer("KesShowTest");
        Guarded([] { throw EListError("Failed (Error: 5)"); });
        closer.Join();
        EXPECT_EQ(closer.text, "Failed (Error: 5)");
    }
    app.HandleException(EAbort());  // silent: no box (a box would block this test)
}

TEST(Application, MessageFiltersRunNewestFirstAndCanSwallow) {
    TApplication app;
    std::vector<std::string> log;
    int dispatched = 0;
    HWND wnd = AllocateHWnd([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_APP + 7) ++dispatched;
        return DefWindowProcA(w, m, wp, lp);
    });
    const int a = app.AddMessageFilter([&](MSG& m) {
        if (m.message == WM_APP + 7) log.push_back("a");
        return false;
    });
    const int b = app.AddMessageFilter([&](MSG& m) {
        if (m.message != WM_APP + 7) return false;
        log.push_back("b");
        return m.wParam == 1;  // swallows the first kind only
    });
    PostMessageA(wnd, WM_APP + 7, 1, 0);
    PostMessageA(wnd, WM_APP + 7, 2, 0);
    app.ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"b", "b", "a"}));
    EXPECT_EQ(dispatched, 1);
    app.RemoveMessageFilter(b);
    log.clear();
    PostMessageA(wnd, WM_APP + 7, 1, 0);
    app.ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
    EXPECT_EQ(dispatched, 2);
    app.RemoveMessageFilter(a);
    DeallocateHWnd(wnd);
}

TEST(Application, OnExceptionGetsTheExceptionItself) {
    TApplication app;
    std::string seen;
    app.OnException = [&](TObject*, const std::exception& e) {
        auto* list = dynamic_cast<const EListError*>(&e);
        seen = list ? std::string(list->ClassName()) + ": " + e.what() : std::string("other");
    };
    try {
        throw EListError("List index out of bounds (9)");
    } catch (const std::exception& e) {
        app.HandleException(e);
    }
    EXPECT_EQ(seen, "EListError: List index out of bounds (9)");
    Guarded([] { throw EListError("again"); });  // the boundary keeps the class too
    EXPECT_EQ(seen, "EListError: again");
}

TEST(Application, RunEndsOnTerminateAndShowsWhatLeavesTheLoop) {
    TApplication app;
    std::string shown;
    app.OnException = [&](TObject*, const std::exception& e) { shown = e.what(); };
    const int f = app.AddMessageFilter([&](MSG& m) {
        if (m.message == WM_APP + 9) throw Exception("filter fault");
        return false;
    });
    PostMessageA(app.Handle(), WM_APP + 9, 0, 0);
    TTimer stopper;
    stopper.SetInterval(20);
    stopper.OnTimer = [&](TObject*) { app.Terminate(); };
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(shown, "filter fault");
    app.RemoveMessageFilter(f);
}

TEST(Timer, FiresOnTheGuiThreadAndStopsWhenDisabled) {
    TApplication app;
    TTimer timer;
    int ticks = 0;
    DWORD tickThread = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
        tickThread = GetCurrentThreadId();
    };
    timer.SetInterval(1);
    EXPECT_TRUE(timer.Enabled());
    ASSERT_TRUE(kestest::PumpUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(tickThread, GetCurrentThreadId());
    timer.SetEnabled(false);
    kestest::PumpUntil([] { return false; }, 100);
    const int stopped = ticks;
    kestest::PumpUntil([] { return false; }, 150);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, ExceptionInOnTimerIsShownAndTheTimerGoesOn) {
    TApplication app;
    int shown = 0;
    app.OnException = [&](TObject*, const std::exception& e) {
        EXPECT_STREQ(e.what(), "tick fault");
        ++shown;
    };
    TComponent owner;
    auto* timer = new TTimer(&owner);  // owned: freed with the owner
    timer->SetInterval(5);
    timer->OnTimer = [](TObject*) { throw Exception("tick fault"); };
    ASSERT_TRUE(kestest::PumpUntil([&] { return shown >= 2; }));
}

TEST(Application, DestructionFreesOwnedComponentsFirstAndReleasesWaitingThreads) {
    static TApplication* seenWhileFreed = nullptr;
    struct Probe : TComponent {
        using TComponent::TComponent;
        ~Probe() override { seenWhileFreed = Application; }
    };
    auto app = std::make_unique<TApplication>();
    TApplication* raw = app.get();
    new Probe(raw);
    std::atomic<int> result{-1};
    kestest::LambdaThread worker([&](kestest::LambdaThread& self) { result = self.Synchronize([] {}) ? 1 : 0; });
    worker.Start();
    ASSERT_TRUE(kestest::PollUntil(kestest::SynchronizeWaiting));  // queued, and nothing served it
    app.reset();
    worker.WaitFor();
    EXPECT_EQ(seenWhileFreed, raw);
    EXPECT_EQ(result.load(), 0);
}

TEST(Timer, AHandlerMayFreeItsOwnTimer) {
    TApplication app;
    std::string shown;
    app.OnException = [&](TObject*, const std::exception& e) { shown = e.what(); };
    auto* timer = new TTimer;
    int ticks = 0;
    const std::string capture(40, 'c');  // a capture large enough to live outside the function object
    timer->SetInterval(1);
    timer->OnTimer = [&ticks, &timer, capture](TObject*) {
        delete timer;
        timer = nullptr;
        ticks += static_cast<int>(capture.size());  // still valid after the timer is gone
    };
    ASSERT_TRUE(kestest::PumpUntil([&] { return timer == nullptr; }));
    kestest::PumpUntil([] { return false; }, 50);
    EXPECT_EQ(ticks, 40);
    EXPECT_EQ(shown, "");
}

TEST(Guarded, ForeignExceptionsAndNoApplicationStillShowABox) {
    ASSERT_EQ(Application, nullptr);
    {
        kestest::BoxCloser closer("base_win_tests");  // no application: the program's name is the caption
        EXPECT_FALSE(Guarded([] { throw 42; }));
        closer.Join();
        EXPECT_EQ(closer.text, "Unknown exception.");
    }
    TApplication app;
    std::string shown;
    app.OnException = [&](TObject*, const std::exception& e) { shown = e.what(); };
    EXPECT_EQ(GuardedResult<LRESULT>(-1, []() -> LRESULT { throw "text"; }), -1);
    EXPECT_EQ(shown, "Unknown exception");
    EXPECT_EQ(GuardedResult<LRESULT>(-1, [] { return LRESULT(5); }), 5);
}
