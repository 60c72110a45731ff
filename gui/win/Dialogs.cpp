// Common dialogs and message boxes.
#include "gui/Dialogs.h"

#include "gui/win/Win.h"

#include <commdlg.h>

#include <vector>

#include "gui/Forms.h"
#include "gui/win/Dialogs.h"
#include "gui/win/Printers.h"

namespace kes {

static HWND OwnerWindow() {
    if (TCustomForm* f = Screen().ActiveForm()) return static_cast<HWND>(f->WindowHandle());
    return GetActiveWindow();
}

int MsgBox(const std::string& text, const std::string& caption, unsigned flags, TWinControl* owner) {
    HWND h = owner ? static_cast<HWND>(owner->Handle()) : OwnerWindow();
    return MessageBoxA(h, text.c_str(), caption.c_str(), flags);
}

void ShowMessage(const std::string& text) {
    const std::string title = Screen().MainForm ? Screen().MainForm->Caption() : std::string();
    MsgBox(text, title, MB_OK);
}

bool TOpenDialog::Execute() {
    Fire(OnShow, this);
    std::vector<char> file(32768, '\0');
    FileName.copy(file.data(), file.size() - 1);
    const std::string filter = PlatformFilter(Filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = OwnerWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    if (Options & ofReadOnly) ofn.Flags |= OFN_READONLY;
    if (Options & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (Options & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (Options & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
    if (Options & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (Options & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (Options & ofCreatePrompt) ofn.Flags |= OFN_CREATEPROMPT;
    const BOOL ok = IsSave() ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (ok) {
        FileName = file.data();
        FilterIndex = static_cast<int>(ofn.nFilterIndex);
    }
    Fire(OnClose, this);
    return ok != FALSE;
}

static bool RunPrintDlg(DWORD flags, int* copies, int* from, int* to, int minPage, int maxPage) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = OwnerWindow();
    pd.Flags = flags | PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = static_cast<WORD>(copies ? *copies : 1);
    pd.nFromPage = static_cast<WORD>(from ? *from : 0);
    pd.nToPage = static_cast<WORD>(to ? *to : 0);
    pd.nMinPage = static_cast<WORD>(minPage);
    pd.nMaxPage = static_cast<WORD>(maxPage);
    const TPrinter::Settings settings = Printer().SettingsForDialog();
    pd.hDevMode = settings.DevMode;
    pd.hDevNames = settings.DevNames;
    const BOOL ok = PrintDlgA(&pd);
    if (ok) {
        if (copies) *copies = pd.nCopies;
        if (from) *from = pd.nFromPage;
        if (to) *to = pd.nToPage;
    }
    UniqueDc dc(pd.hDC);  // a cancelled dialog's DC goes at once
    Printer().TakeDialogResult(pd.hDevMode, pd.hDevNames, ok ? std::move(dc) : UniqueDc());
    return ok != FALSE;
}

bool TPrintDialog::Execute() {
    Fire(OnShow, this);
    const bool ok =
        RunPrintDlg(MaxPage > 0 ? PD_PAGENUMS : PD_NOPAGENUMS, &Copies, &FromPage, &ToPage, MinPage, MaxPage);
    Fire(OnClose, this);
    return ok;
}

bool TPrinterSetupDialog::Execute() {
    Fire(OnShow, this);
    const bool ok = RunPrintDlg(PD_PRINTSETUP, nullptr, nullptr, nullptr, 0, 0);
    Fire(OnClose, this);
    return ok;
}

}  // namespace kes
