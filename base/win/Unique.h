#pragma once
// Owned system handles: one move-only Unique<Traits>, where the traits name the handle type, the value that
// means "none" and how the handle is given back. A raw HANDLE/HDC/HWND parameter or member means borrowed.
//
//   UniqueHandle      events, threads, processes, duplicates (CloseHandle; none is null)
//   UniqueFile        files and ports from CreateFile (CloseHandle; none is INVALID_HANDLE_VALUE)
//   UniqueGdi<H>      pens, brushes, fonts, bitmaps, regions (DeleteObject; none is null)
//   UniqueDc          memory and printer DCs (DeleteDC; none is null)
//   UniqueRegKey      registry keys (RegCloseKey; none is null)
//   UniqueIcon        icons and cursors made by the program (DestroyIcon; none is null)
//
// DCs from GetDC/GetWindowDC are given back with ReleaseDC, which needs the window too: WindowDc does that, and
// SelectGuard puts back what a SelectObject replaced. Both are scoped, not movable.
#include <utility>

#include "base/win/Win.h"

namespace kes {

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() = default;
    explicit Unique(Handle h) noexcept : h_(h) {}
    Unique(Unique&& other) noexcept : h_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    // Gives back the handle held (if any) and holds `h` instead.
    void Reset(Handle h = Traits::Invalid()) noexcept {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }
    // Gives back the handle held and reports whether the system took it; holds none afterwards in any case.
    bool Close() noexcept {
        const bool ok = h_ == Traits::Invalid() || Traits::Close(h_);
        h_ = Traits::Invalid();
        return ok;
    }
    // Hands the handle over to the caller; holds none afterwards.
    [[nodiscard]] Handle Release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    Handle Get() const noexcept { return h_; }
    // For calls that return a handle through a pointer (DuplicateHandle, RegOpenKeyEx): gives back the one held.
    Handle* Put() noexcept {
        Reset();
        return &h_;
    }
    bool Valid() const noexcept { return h_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

private:
    Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return CloseHandle(h) != FALSE; }
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) noexcept { return CloseHandle(h) != FALSE; }
};

template <typename H>
struct GdiTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return DeleteObject(h) != FALSE; }
};

struct DcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return DeleteDC(h) != FALSE; }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return RegCloseKey(h) == ERROR_SUCCESS; }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return DestroyIcon(h) != FALSE; }
};

using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
template <typename H>
using UniqueGdi = Unique<GdiTraits<H>>;
using UniqueDc = Unique<DcTraits>;
using UniqueRegKey = Unique<RegKeyTraits>;
using UniqueIcon = Unique<IconTraits>;

// A new manual- or auto-reset event; none when the system refused.
inline UniqueHandle NewEvent(bool manualReset, bool signalled) {
    return UniqueHandle(CreateEventA(nullptr, manualReset, signalled, nullptr));
}

// A duplicate of `h` for this process with the same access; none when the system refused.
inline UniqueHandle DuplicateForThisProcess(HANDLE h) {
    UniqueHandle copy;
    const HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, h, process, copy.Put(), 0, FALSE, DUPLICATE_SAME_ACCESS)) copy.Reset();
    return copy;
}

// GetDC (client area) or GetWindowDC (whole window, for non-client painting), released at scope end.
// Null `hwnd` gives the screen's DC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the old one back at scope end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace kes
