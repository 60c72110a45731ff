#pragma once
// The user's own hands for the Windows tests: pointer moves, button presses and key strokes put into the system's
// input stream with SendInput (hardware input, as a real mouse and keyboard give it: the system's move and size
// loops, menu loops and capture see it), not messages posted to a window. The pointer moves in small steps, as a
// hand moves it, with the target's messages served between the steps.
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "testsupport/Wait.h"

namespace kes::test {

// Set on a thread that only gives input (see WithOwnHands): it waits without serving messages.
inline thread_local bool t_handsOnly = false;

inline void Pause(DWORD ms) {
    if (t_handsOnly)
        Sleep(ms);
    else
        PumpFor(ms);
}

inline bool Until(const std::function<bool()>& done, DWORD ms) {
    return t_handsOnly ? PollUntil(done, ms) : PumpUntil(done, ms);
}

// The pointer to a screen point (absolute, over the primary screen); true when the system's cursor is there.
inline bool PointerTo(POINT p) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    for (int attempt = 0; attempt < 3; ++attempt) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        // The middle of the pixel in the 0..65535 range.
        in.mi.dx = static_cast<LONG>((static_cast<long long>(p.x) * 65536 + 32768) / cx);
        in.mi.dy = static_cast<LONG>((static_cast<long long>(p.y) * 65536 + 32768) / cy);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
        POINT now{};
        if (Until([&] { return GetCursorPos(&now) && now.x == p.x && now.y == p.y; }, 300)) return true;
    }
    return false;
}

inline void PointerButton(bool down, bool right = false) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                          : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof in);
}

// Moves the pointer from where it is to `to` in `steps` steps, `stepMs` apart.
inline void PointerGlide(POINT from, POINT to, int steps = 8, DWORD stepMs = 25) {
    for (int i = 1; i <= steps; ++i) {
        PointerTo({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Pause(stepMs);
    }
}

// Press at `from`, move to `to`, release there. (The pauses here are a hand's pace between the events, as the
// system's loops and the double-click time see a user's: nothing is waited for.)
inline void Drag(POINT from, POINT to, int steps = 8) {
    PointerTo(from);
    Pause(60);
    PointerButton(true);
    Pause(60);
    PointerGlide(from, to, steps);
    Pause(60);
    PointerButton(false);
    Pause(60);
}

inline void Click(POINT at) {
    PointerTo(at);
    Pause(60);
    PointerButton(true);
    Pause(40);
    PointerButton(false);
    Pause(40);
}

// Two clicks within the double-click time at one point.
inline void DoubleClick(POINT at) {
    PointerTo(at);
    Pause(60);
    for (int i = 0; i < 2; ++i) {
        PointerButton(true);
        Pause(20);
        PointerButton(false);
        Pause(20);
    }
}

inline void Key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &in, sizeof in);
}

// A key struck (down and up), with `modifier` held around it when given (VK_MENU for Alt+key).
inline void Stroke(WORD vk, WORD modifier = 0, DWORD afterMs = 120) {
    if (modifier) {
        Key(modifier, true);
        Pause(30);
    }
    Key(vk, true);
    Pause(30);
    Key(vk, false);
    if (modifier) {
        Pause(30);
        Key(modifier, false);
    }
    Pause(afterMs);
}

// Runs `hands` (calls of the functions above) on a thread of their own while this thread serves its messages:
// for input that a loop of this thread's own (the system's move and size loop of one of its windows) must see
// while it runs.
inline void WithOwnHands(const std::function<void()>& hands, DWORD timeoutMs = 30000) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        t_handsOnly = true;
        hands();
        done = true;
    });
    PumpUntil([&] { return done.load(); }, timeoutMs);
    t.join();
}

// Brings a window (of any program) to the front with the keyboard focus; true once it is the foreground window.
inline bool ToFront(HWND w) {
    return PumpUntil(
        [&] {
            if (GetForegroundWindow() == w) return true;
            SetForegroundWindow(w);
            return false;
        },
        3000);
}

}  // namespace kes::test
