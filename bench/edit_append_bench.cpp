// What appending to a visible multi-line EDIT control costs under Wine, and what the cost depends on. A window of
// the terminal's size holds an EDIT in the terminal memo's styles and font (Courier New bold 24 px, vertical scroll
// bar, word wrap) unless the variant says otherwise; numbered 64-byte lines are appended piece by piece, the
// messages pumped after each piece (the control paints), and the time a MiB took is printed for the first and the
// last MiB of each variant. Every variant checks that the control ends with every byte in order.
//   edit_append_bench [MIB [ROUNDS [PIECE_KIB]]]   (default 4 MiB a variant, 3 rounds; medians)
// With PIECE_KIB, only the terminal's own styles in pieces of that size, every MiB's time printed: how the cost of
// an append grows with the text the control holds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/TerminalLines.h"

namespace {

constexpr size_t kMiB = 1u << 20;


enum class Scroll { Caret, LineScroll, None };

struct Variant {
    const char* name;
    size_t piece = 64 * 1024;
    bool wrap = true;
    bool visible = true;
    bool redrawOff = false;  // WM_SETREDRAW FALSE around the append, then invalidate
    Scroll scroll = Scroll::Caret;
    bool wide = false;  // EM_REPLACESEL with the wide message (text converted first)
    bool noSetSel = false;  // the caret is kept at the end by the append itself
    bool systemFont = false;  // the control keeps the system font
};

double Now() {
    static LARGE_INTEGER f{};
    if (!f.QuadPart) QueryPerformanceFrequency(&f);
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

struct Result {
    double first = 0, last = 0, inMessages = 0;
    std::vector<double> each;  // every MiB
    bool intact = false;
};

Result Run(const Variant& v, const std::string& text, HFONT font) {
    HWND top = CreateWindowExA(0, "STATIC", "edit append", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 354, 313, 1192, 494,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT rc;
    GetClientRect(top, &rc);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
    if (!v.wrap) style |= ES_AUTOHSCROLL;
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", style, 0, 41, rc.right, rc.bottom - 82, top, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!v.systemFont) SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    if (v.visible) {
        ShowWindow(top, SW_SHOW);
        UpdateWindow(top);
    }
    Pump();
    Result r;
    std::vector<wchar_t> wide;
    const double t0 = Now();
    double mibStart = t0;
    size_t nextMiB = kMiB;
    for (size_t at = 0; at < text.size(); at += v.piece) {
        const std::string piece = text.substr(at, v.piece);
        const double m0 = Now();
        if (v.redrawOff) SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
        const int lines =
            v.scroll == Scroll::LineScroll ? static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0)) : 0;
        if (!v.noSetSel) {
            const LRESULT end = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
            SendMessageA(edit, EM_SETSEL, end, end);
        }
        if (v.wide) {
            wide.resize(piece.size() + 1);
            const int n = MultiByteToWideChar(CP_ACP, 0, piece.data(), static_cast<int>(piece.size()), wide.data(),
                                              static_cast<int>(piece.size()));
            wide[n] = 0;
            SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(wide.data()));
        } else {
            SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(piece.c_str()));
        }
        if (v.scroll == Scroll::Caret) {
            SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        } else if (v.scroll == Scroll::LineScroll) {
            const int now = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
            SendMessageA(edit, EM_LINESCROLL, 0, now - lines);
        }
        if (v.redrawOff) {
            SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(edit, nullptr, TRUE);
        }
        r.inMessages += Now() - m0;
        Pump();  // paints
        const size_t done = at + piece.size();
        while (done >= nextMiB) {
            const double t = Now();
            if (nextMiB == kMiB) r.first = t - mibStart;
            r.last = t - mibStart;
            r.each.push_back(t - mibStart);
            mibStart = t;
            nextMiB += kMiB;
        }
    }
    const double all = Now() - t0;
    r.inMessages = r.inMessages / all;  // share of the time in the messages (the rest: painting, our loop)
    const int n = GetWindowTextLengthA(edit);
    std::string got(static_cast<size_t>(n) + 1, '\0');
    got.resize(static_cast<size_t>(GetWindowTextA(edit, got.data(), n + 1)));
    r.intact = got == text;
    DestroyWindow(top);
    Pump();
    return r;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 4;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string text = kes::bench::TerminalLines(mib * kMiB);
    HFONT font = CreateFontA(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
    if (argc > 3) {
        Variant v{.name = "the terminal's styles"};
        v.piece = std::strtoul(argv[3], nullptr, 10) * 1024;
        const Result r = Run(v, text, font);
        std::printf("%zu KiB pieces, seconds for each MiB:", v.piece / 1024);
        for (double s : r.each) std::printf(" %.2f", s);
        std::printf("%s\n", r.intact ? "" : "  TEXT NOT INTACT");
        DeleteObject(font);
        return 0;
    }
    const std::vector<Variant> variants{
        {.name = "64 KiB pieces, wrap, shown, EM_SCROLLCARET"},
        {.name = "4 KiB pieces", .piece = 4096},
        {.name = "16 KiB pieces", .piece = 16384},
        {.name = "256 KiB pieces", .piece = 256 * 1024},
        {.name = "no word wrap", .wrap = false},
        {.name = "hidden window", .visible = false},
        {.name = "WM_SETREDRAW off around it", .redrawOff = true},
        {.name = "EM_LINESCROLL for EM_SCROLLCARET", .scroll = Scroll::LineScroll},
        {.name = "no scroll message", .scroll = Scroll::None},
        {.name = "wide EM_REPLACESEL", .wide = true},
        {.name = "no EM_SETSEL (caret stays at the end)", .noSetSel = true},
        {.name = "system font", .systemFont = true},
        {.name = "hidden window, system font", .visible = false, .systemFont = true},
    };
    std::printf("%zu MiB a variant, median of %d rounds; seconds for the first and the last MiB, the share of the "
                "time inside the append's messages\n",
                mib, rounds);
    for (const Variant& v : variants) {
        std::vector<double> first, last, share;
        bool intact = true;
        for (int r = 0; r < rounds; ++r) {
            const Result res = Run(v, text, font);
            first.push_back(res.first);
            last.push_back(res.last);
            share.push_back(res.inMessages);
            intact = intact && res.intact;
        }
        std::printf("%-45s first MiB %.3f s, last MiB %.3f s, in the messages %3.0f %%%s\n", v.name, Median(first),
                    Median(last), Median(share) * 100, intact ? "" : "  TEXT NOT INTACT");
        std::fflush(stdout);
    }
    DeleteObject(font);
    return 0;
}
