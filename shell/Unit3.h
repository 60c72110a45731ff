#pragma once
// The help window: the built-in help text or the user's own "MyHelp.txt" from the program's folder, a search
// through it, and web addresses in it opened by a double click.
#include <functional>
#include <string>

#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"

namespace kes {

class TForm3 : public TForm {
    KES_CLASS(TForm3, TForm)
public:
    explicit TForm3(TComponent* owner);

    // The folder "MyHelp.txt" is looked for in, ending with a separator (the program's folder).
    std::string HelpFolder;
    // Hands a web address (always http or https) to the browser.
    std::function<void(const std::string& address)> OpenAddress;

    TMemo* Memo1;
    TPanel* Panel1;
    TLabel *Label1, *Label2;
    TEdit* Edit1;
    TMainMenu* MainMenu1;
    TMenuItem *File1, *Close1, *Search1, *SearhAgain1, *Home1;

    void FormShow(TObject* sender);
    void FormPaint(TObject* sender);
    void Close1Click(TObject* sender);
    void Home1Click(TObject* sender);
    // From the start of the text, or (sender SearhAgain1) after the selection; selects the hit.
    void Search1Click(TObject* sender);
    void SearhAgain1Click(TObject* sender);
    void Edit1KeyPress(TObject* sender, char& key);
    void Memo1DblClick(TObject* sender);

private:
};

// Windows: "MyHelp.txt" is read from the program's folder and addresses go to the shell's "open".
void ConnectHelpWindow(TForm3& window);
// Windows: makes the help window at program start (connected as above) and sets the main window's
// HelpWindow, so that "Help" shows it.
TCustomForm* CreateHelpWindow();

}  // namespace kes
