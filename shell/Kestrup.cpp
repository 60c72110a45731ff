// Kestrup: the windowed terminal. Makes the application and the program's windows (main window first, log window
// last), runs the message loop until the main window closes, and frees the windows in reverse order.
#include <functional>
#include <vector>

#include "base/win/Application.h"
#include "gui/Forms.h"
#include "serial/CPortSetup.h"
#include "shell/Unit1.h"
#include "shell/Unit3.h"
#include "shell/Unit4.h"
#include "shell/win/SourceWindowStart.h"

namespace {

using namespace kes;

// The windows made between the main window and the log window, in this order: the source window (Unit2,
// TSourceFile) and the help window (Unit3, TForm3). Each module provides one function that makes its window with
// CreateForm and connects it (the source window calls SetSourceWindowLink, the help window sets
// Kestrup->HelpWindow) and returns the form.
using TFormFactory = std::function<TCustomForm*()>;
const std::vector<TFormFactory>& MiddleWindows() {
    static const std::vector<TFormFactory> factories = {CreateSourceWindow, CreateHelpWindow};
    return factories;
}

int RunProgram() {
    TApplication application;
    application.SetTitle("Kestrup");
    InstallComSetupDialog();
    std::vector<TCustomForm*> forms;
    forms.push_back(CreateForm<TKestrup>());
    for (const TFormFactory& make : MiddleWindows())
        if (TCustomForm* form = make()) forms.push_back(form);
    LOGform = CreateForm<TLOGform>();
    forms.push_back(LOGform);

    Kestrup->Show();
    application.Run();

    LOGform = nullptr;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) delete *it;
    Screen().MainForm = nullptr;
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int result = 1;
    Guarded([&] { result = RunProgram(); });
    return result;
}
