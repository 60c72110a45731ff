#pragma once
// The printer: the device chosen in the print dialogs (or the default one), a canvas on it, and the
// document and page brackets. Failures raise kes::Exception ("Printer is not currently printing", ...).
#include <memory>
#include <string>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes {

class TPrinter {
public:
    ~TPrinter();
    // Starts a document on the chosen printer; the canvas draws on its first page.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Ends the document without printing the rest.
    void Abort();
    bool Printing() const { return printing_; }
    int PageNumber() const { return page_; }
    TCanvas& Canvas() { return canvas_; }
    int PageWidth();
    int PageHeight();
    // The document's name in the print queue.
    std::string Title;
    // True when a printer is available (chosen or default).
    bool HasPrinter();

    // Internal: the dialogs share the chosen device.
    struct Settings {
        HGLOBAL DevMode = nullptr;
        HGLOBAL DevNames = nullptr;
    };
    Settings SettingsForDialog() const { return {devMode_, devNames_}; }
    void TakeDialogResult(HGLOBAL devMode, HGLOBAL devNames, UniqueDc dc);

private:
    HDC MakeDc();
    HGLOBAL devMode_ = nullptr, devNames_ = nullptr;
    UniqueDc dc_;
    TCanvas canvas_;
    bool printing_ = false;
    int page_ = 0;
};

TPrinter& Printer();

}  // namespace kes
