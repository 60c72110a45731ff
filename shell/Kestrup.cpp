// Kestrup: the windowed terminal. Makes the application and the program's windows (main window first, log window
// last), connects them, runs the message loop until the main window closes, and frees the windows in reverse
// order. This is the one place where the windows learn of each other: the main window's terminal takes the log
// window as its log and the source window's upload as its listener; the upload writes to the main window's port.
#include "base/win/Application.h"
#include "gui/Forms.h"
#include "serial/CPortSetup.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"
#include "shell/Unit3.h"
#include "shell/Unit4.h"
#include "shell/win/LocalTimeText.h"
#include "shell/win/SourceUpload.h"
#include "shell/win/SourceWindowStart.h"

namespace {

using namespace kes;

struct TProgramWindows {
    TKestrup* Main = nullptr;
    TSourceFile* Source = nullptr;
    TCustomForm* Help = nullptr;
    TLOGform* Log = nullptr;
};

void ConnectWindows(const TProgramWindows& w) {
    TTerminal& terminal = w.Main->Terminal();
    TLOGform* log = w.Log;
    terminal.SetLogSink(
        TLogSink{LocalTimeText, [log](const std::string& line, bool scroll) { log->AddLine(line, scroll); }});
    w.Source->Connect(w.Main->ComPort1, &terminal);
    terminal.SetUpload(&w.Source->Upload());
    w.Main->SourceWindow = w.Source;
    w.Main->HelpWindow = w.Help;
    w.Main->LogWindow = w.Log;
}

void DisconnectWindows(const TProgramWindows& w) {
    TTerminal& terminal = w.Main->Terminal();
    terminal.SetUpload(nullptr);
    terminal.SetLogSink({});
    w.Source->Connect(nullptr, nullptr);
    w.Main->SourceWindow = w.Main->HelpWindow = w.Main->LogWindow = nullptr;
}

int RunProgram() {
    TApplication application;
    application.SetTitle("Kestrup");
    InstallComSetupDialog();
    TProgramWindows w;
    w.Main = CreateForm<TKestrup>();
    w.Source = static_cast<TSourceFile*>(CreateSourceWindow());
    w.Help = CreateHelpWindow();
    w.Log = CreateForm<TLOGform>();
    ConnectWindows(w);

    w.Main->Show();
    application.Run();

    DisconnectWindows(w);
    delete w.Log;
    delete w.Help;
    delete w.Source;
    delete w.Main;
    Screen().MainForm = nullptr;
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int result = 1;
    Guarded([&] { result = RunProgram(); });
    return result;
}
