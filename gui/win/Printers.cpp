#include "gui/win/Printers.h"

#include <commdlg.h>

#include "base/Exception.h"

namespace kes {

TPrinter& Printer() {
    static TPrinter printer;
    return printer;
}

TPrinter::~TPrinter() {
    canvas_.SetHandle(nullptr);
    dc_.Reset();
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

void TPrinter::TakeDialogResult(HGLOBAL devMode, HGLOBAL devNames, UniqueDc dc) {
    // The dialog frees the blocks it replaces itself; keep whatever it handed back.
    devMode_ = devMode;
    devNames_ = devNames;
    if (dc) {
        if (printing_) return;  // keep the device of the running document; the new DC goes
        canvas_.SetHandle(nullptr);
        dc_ = std::move(dc);
    }
}

HDC TPrinter::MakeDc() {
    if (dc_) return dc_.Get();
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    pd.hDevMode = devMode_;
    pd.hDevNames = devNames_;
    if (devNames_) {
        // The chosen printer: make its DC from the stored names.
        auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames_));
        auto* mode = devMode_ ? static_cast<DEVMODEA*>(GlobalLock(devMode_)) : nullptr;
        if (names) {
            const char* base = reinterpret_cast<const char*>(names);
            dc_.Reset(CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode));
        }
        if (mode) GlobalUnlock(devMode_);
        GlobalUnlock(devNames_);
        if (dc_) return dc_.Get();
    }
    pd.hDevMode = nullptr;
    pd.hDevNames = nullptr;
    if (PrintDlgA(&pd)) {
        TakeDialogResult(pd.hDevMode, pd.hDevNames, UniqueDc(pd.hDC));
    }
    return dc_.Get();
}

bool TPrinter::HasPrinter() { return MakeDc() != nullptr; }

void TPrinter::BeginDoc() {
    if (printing_) throw Exception("Printing in progress");
    HDC dc = MakeDc();
    if (!dc) throw Exception("There is no default printer currently selected");
    DOCINFOA di{};
    di.cbSize = sizeof di;
    di.lpszDocName = Title.empty() ? "Document" : Title.c_str();
    if (StartDocA(dc, &di) <= 0) throw Exception("Printer error (" + std::to_string(GetLastError()) + ")");
    if (StartPage(dc) <= 0) {
        AbortDoc(dc);
        throw Exception("Printer error (" + std::to_string(GetLastError()) + ")");
    }
    printing_ = true;
    page_ = 1;
    canvas_.SetHandle(dc);
}

void TPrinter::NewPage() {
    if (!printing_) throw Exception("Printer is not currently printing");
    canvas_.SetHandle(nullptr);  // objects are reset at a new page
    EndPage(dc_.Get());
    StartPage(dc_.Get());
    ++page_;
    canvas_.SetHandle(dc_.Get());
}

void TPrinter::EndDoc() {
    if (!printing_) throw Exception("Printer is not currently printing");
    canvas_.SetHandle(nullptr);
    EndPage(dc_.Get());
    ::EndDoc(dc_.Get());
    printing_ = false;
    page_ = 0;
}

void TPrinter::Abort() {
    if (!printing_) return;
    canvas_.SetHandle(nullptr);
    AbortDoc(dc_.Get());
    printing_ = false;
    page_ = 0;
}

int TPrinter::PageWidth() {
    HDC dc = MakeDc();
    return dc ? GetDeviceCaps(dc, HORZRES) : 0;
}

int TPrinter::PageHeight() {
    HDC dc = MakeDc();
    return dc ? GetDeviceCaps(dc, VERTRES) : 0;
}

}  // namespace kes
