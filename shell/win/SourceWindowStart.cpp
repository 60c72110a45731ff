#include "shell/win/SourceWindowStart.h"

#include "base/win/Timer.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"
#include "shell/Unit4.h"

namespace kes {

TCustomForm* CreateSourceWindow() {
    auto* window = CreateForm<TSourceFile>();
    TMainWindowAccess access;
    if (Kestrup) access.Port = Kestrup->ComPort1;
    // The main window outlives the source window; the log window is made after it, so it is looked up per line.
    access.LineFeedEnds = [] { return Kestrup && Kestrup->CurrentMode().UploadLineEnd == '\n'; };
    access.AddLogLine = [](const std::string& line) {
        if (LOGform) LOGform->AddLine(line, true);
    };
    access.RepaintTerminal = [] {
        if (Kestrup) Kestrup->Memo1->Repaint();
    };
    access.BringToFront = [] {
        if (!Kestrup) return;
        Kestrup->BringToFront();
        Kestrup->Repaint();
    };
    access.DrainReceived = [] {
        if (Kestrup) Kestrup->Timer1Timer(Kestrup->Timer1);
    };
    window->Connect(access);
    SetSourceWindowLink(window);
    return window;
}

}  // namespace kes
