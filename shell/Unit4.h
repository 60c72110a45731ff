#pragma once
// The log window: the time-stamped lines of the terminal, the source upload and the port, kept while the
// window is closed; the user saves them to a text file or clears them.
#include <string>

#include "gui/Dialogs.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"

namespace kes {

class TLOGform : public TForm {
    KES_CLASS(TLOGform, TForm)
public:
    explicit TLOGform(TComponent* owner);

    // Adds one line (already holding its time); `scroll` also brings the list's end into view.
    void AddLine(const std::string& line, bool scroll = false);

    TPanel* Panel1;
    TButton* Button1;
    TListBox* ListBox1;
    TMainMenu* MainMenu1;
    TMenuItem *File1, *Exit2, *SaveLoginfile1, *ClearLogWindow1;
    TSaveDialog* SaveDialog1;

    void Exit2Click(TObject* sender);
    void SaveLoginfile1Click(TObject* sender);
    void ClearLogWindow1Click(TObject* sender);
    void Button1Click(TObject* sender);

private:
};

// The log window, made at start after the main window; nullptr before that and after the end.
extern TLOGform* LOGform;

}  // namespace kes
