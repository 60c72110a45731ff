#include "base/win/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "base/Exception.h"
#include "base/win/Application.h"
#include "TestHelpers.h"

using namespace kes;
using kestest::LambdaThread;

TEST(Synchronize, RunsOnTheGuiThreadFromTheLoop) {
    TApplication app;
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> back{false};
    LambdaThread worker([&](LambdaThread& self) {
        EXPECT_TRUE(self.Synchronize([&] { ranOn = GetCurrentThreadId(); }));
        back = true;
    });
    worker.Start();
    ASSERT_TRUE(kestest::PumpUntil([&] { return back.load(); }));
    EXPECT_EQ(ranOn.load(), GetCurrentThreadId());
    EXPECT_EQ(MainThreadID(), GetCurrentThreadId());
}

TEST(Synchronize, IsServicedWhileAMessageBoxIsOpen) {
    TApplication app;
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> boxWasOpen{false}, synced{false};
    LambdaThread worker([&](LambdaThread& self) {
        kestest::PollUntil([] { return kestest::FindBox("KesSyncBox") != nullptr; });
        self.Synchronize([&] {
            ranOn = GetCurrentThreadId();
            boxWasOpen = kestest::FindBox("KesSyncBox") != nullptr;
        });
        synced = true;
    });
    kestest::BoxCloser closer("KesSyncBox", [&] { return synced.load(); });
    worker.Start();
    MessageBoxA(nullptr, "waiting for the worker", "KesSyncBox", MB_OK);
    closer.Join();
    worker.WaitFor();
    EXPECT_TRUE(closer.found);
    EXPECT_TRUE(boxWasOpen) << "the synchronous call did not run inside the box's loop";
    EXPECT_EQ(ranOn.load(), GetCurrentThreadId());
}

TEST(Synchronize, CarriesTheExceptionBackToTheCaller) {
    TApplication app;
    std::string caught;
    LambdaThread worker([&](LambdaThread& self) {
        try {
            self.Synchronize([] { throw EListError("List index out of bounds (3)"); });
        } catch (const Exception& e) {
            caught = std::string(e.ClassName()) + ": " + e.what();
        }
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(caught, "EListError: List index out of bounds (3)");
}

TEST(ThreadWaitFor, OnTheGuiThreadServicesPendingCallsAndSentMessages) {
    TApplication app;
    std::atomic<DWORD> syncRanOn{0};
    std::atomic<int> sentSeen{0};
    HWND wnd = AllocateHWnd([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_APP + 1) return ++sentSeen + 100;
        return DefWindowProcA(w, m, wp, lp);
    });
    LRESULT answer = 0;
    LambdaThread worker([&](LambdaThread& self) {
        self.Synchronize([&] { syncRanOn = GetCurrentThreadId(); });
        answer = SendMessageA(wnd, WM_APP + 1, 0, 0);
        self.Synchronize([] {});
        self.ReturnValue = 7;
    });
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 7);  // no message loop runs here: WaitFor itself must serve the worker
    EXPECT_EQ(syncRanOn.load(), GetCurrentThreadId());
    EXPECT_EQ(sentSeen.load(), 1);
    EXPECT_EQ(answer, 101);
    DeallocateHWnd(wnd);
}

TEST(ThreadWaitFor, DestroyingAThreadThatWaitsForTheGuiDoesNotHang) {
    TApplication app;
    std::atomic<bool> handlerRan{false}, asking{false};
    {
        LambdaThread worker([&](LambdaThread& self) {
            asking = true;
            self.Synchronize([&] { handlerRan = true; });
        });
        worker.Start();
        kestest::PollUntil([&] { return asking.load(); }, 10000, 1);
    }  // destructor: terminate, then wait while serving the pending call
    EXPECT_TRUE(handlerRan);
}

TEST(Synchronize, CancelledCallsReturnWithoutRunning) {
    TApplication app;
    std::atomic<bool> ran{false};
    std::atomic<int> result{-1};
    LambdaThread worker([&](LambdaThread& self) { result = self.Synchronize([&] { ran = true; }) ? 1 : 0; });
    worker.Start();
    ASSERT_TRUE(kestest::PollUntil(kestest::SynchronizeWaiting));  // queued; nothing on this thread serves it
    TThread::CancelSynchronize(&worker);
    worker.WaitFor();
    EXPECT_EQ(result.load(), 0);
    EXPECT_FALSE(ran);
}

TEST(ThreadLife, ExceptionInExecuteIsKeptAndOnTerminateRunsOnGuiThread) {
    TApplication app;
    std::atomic<DWORD> terminateOn{0};
    LambdaThread worker([](LambdaThread&) { throw Exception("Execute failed"); });
    worker.OnTerminate = [&](TObject* sender) {
        EXPECT_EQ(sender, &worker);
        terminateOn = GetCurrentThreadId();
    };
    worker.Start();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(ExceptionMessage(worker.FatalException()), "Execute failed");
    EXPECT_EQ(terminateOn.load(), GetCurrentThreadId());
}

TEST(ThreadLife, UnstartedThreadNeverRunsAndFreeOnTerminateFreesItself) {
    std::atomic<bool> ran{false};
    {
        LambdaThread idle([&](LambdaThread&) { ran = true; });
        EXPECT_THROW(idle.WaitFor(), EThread);
    }
    EXPECT_FALSE(ran);

    static std::atomic<bool> freed{false};
    struct SelfFreeing : TThread {
        ~SelfFreeing() override { freed = true; }
        void Execute() override { Sleep(20); }
    };
    auto* t = new SelfFreeing;
    t->FreeOnTerminate = true;
    t->SetPriority(TThreadPriority::tpHigher);
    EXPECT_EQ(t->Priority(), TThreadPriority::tpHigher);
    t->Start();
    EXPECT_TRUE(kestest::PollUntil([&] { return freed.load(); }, 5000, 5));
}

TEST(Guarded, WorkerExceptionIsShownOnTheGuiThread) {
    TApplication app;
    std::string shown;
    DWORD shownOn = 0;
    app.OnException = [&](TObject* sender, const std::exception& e) {
        EXPECT_EQ(sender, &app);
        shown = e.what();
        shownOn = GetCurrentThreadId();
    };
    LambdaThread worker([](LambdaThread&) {
        EXPECT_FALSE(Guarded([] { throw EFOpenError("Cannot open file \"x\""); }));
        EXPECT_TRUE(Guarded([] {}));
    });
    worker.Start();
    worker.WaitFor();
    ASSERT_TRUE(kestest::PumpUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown, "Cannot open file \"x\"");
    EXPECT_EQ(shownOn, GetCurrentThreadId());
}

TEST(Synchronize, IsServicedWhileAPopupMenuIsTracked) {
    TApplication app;
    HWND owner = CreateWindowExA(0, "STATIC", "KesMenuOwner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Item");
    auto openMenu = [] { return kestest::FindOwnWindow("#32768", nullptr); };
    std::atomic<bool> menuWasOpen{false}, synced{false};
    LambdaThread worker([&](LambdaThread& self) {
        kestest::PollUntil([&] { return openMenu() != nullptr; });
        self.Synchronize([&] {
            menuWasOpen = openMenu() != nullptr;
            EndMenu();
        });
        synced = true;
    });
    std::thread fallback([&] {  // ends the menu if the call never runs inside it
        kestest::PollUntil([&] { return synced.load(); }, 8000);
        if (!synced)
            if (HWND m = openMenu()) PostMessageA(m, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    worker.Start();
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
    worker.WaitFor();
    fallback.join();
    EXPECT_TRUE(menuWasOpen) << "the synchronous call did not run inside the menu's loop";
    DestroyMenu(menu);
    DestroyWindow(owner);
}
