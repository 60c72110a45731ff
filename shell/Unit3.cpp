#include "shell/Unit3.h"

#include <algorithm>
#include <optional>

#include "base/StringList.h"
#include "shell/FormParts.h"
#include "shell/HelpAddress.h"
#include "shell/HelpText.h"
#include "shell/TextSearch.h"

namespace kes {

namespace {
constexpr const char* kMyHelpFile = "MyHelp.txt";
constexpr const char* kTip =
    "( TIP: This is the default help text.  Make your own: Place a file \"MyHelp.txt\" in same DIR as "
    "Kestrup.exe  )";
}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    SetName("Form3");
    SetCaption("Help FlashForth GLOSSARY");
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 1060, 680);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(33);
    Panel1->SetCaption("");

    Edit1 = NewControl<TEdit>(this, Panel1, "Edit1");
    Edit1->SetBounds(8, 5, 180, 23);
    Edit1->OnKeyPress = [this](TObject* s, char& key) { Edit1KeyPress(s, key); };

    Label1 = NewControl<TLabel>(this, Panel1, "Label1");
    Label1->SetBounds(196, 9, 100, 15);
    Label1->SetCaption("< Text to search");

    Label2 = NewControl<TLabel>(this, Panel1, "Label2");
    Label2->SetBounds(310, 9, 740, 15);
    Label2->SetCaption(kTip);

    Memo1 = NewControl<TMemo>(this, this, "Memo1");
    Memo1->SetAlign(alClient);
    Memo1->SetColor(clSilver);
    Memo1->SetReadOnly(true);
    Memo1->SetScrollBars(ssVertical);
    Memo1->SetWordWrap(false);
    // A fixed-pitch font keeps the glossary's columns (stack effects, descriptions) aligned.
    Memo1->Font().SetName("Courier New");
    Memo1->Font().SetHeight(-15);
    Memo1->Lines().SetText(std::string(BuiltInHelpText()));
    Memo1->OnDblClick = [this](TObject* s) { Memo1DblClick(s); };

    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    File1 = NewMenuItem(this, MainMenu1->Items(), "File1", "File");
    Close1 = NewMenuItem(this, File1, "Close1", "Close");
    Close1->OnClick = [this](TObject* s) { Close1Click(s); };
    Search1 = NewMenuItem(this, MainMenu1->Items(), "Search1", "Search");
    Search1->OnClick = [this](TObject* s) { Search1Click(s); };
    SearhAgain1 = NewMenuItem(this, MainMenu1->Items(), "SearhAgain1", "Searh Again");
    SearhAgain1->OnClick = [this](TObject* s) { SearhAgain1Click(s); };
    Home1 = NewMenuItem(this, MainMenu1->Items(), "Home1", "Home");
    Home1->OnClick = [this](TObject* s) { Home1Click(s); };
    SetMenu(MainMenu1);

    OnShow = [this](TObject* s) { FormShow(s); };
    OnPaint = [this](TObject* s) { FormPaint(s); };
}

void TForm3::FormShow(TObject*) {
    // Looked for at every showing, so the user's file takes over without a restart. Without it the text that
    // is loaded stays (the user's, once it was read) and the tip shows.
    std::string text;
    if (!HelpFolder.empty() && ReadFileBytes(HelpFolder + kMyHelpFile, text)) {
        Memo1->Lines().SetText(text);
        Label2->SetVisible(false);
    } else {
        Label2->SetVisible(true);
    }
    BringToFront();
}

void TForm3::FormPaint(TObject*) { BringToFront(); }

void TForm3::Close1Click(TObject*) { Close(); }

void TForm3::Home1Click(TObject*) {
    Memo1->SetCaret(0);
    if (Memo1->CanFocus()) Memo1->SetFocus();
}

void TForm3::Search1Click(TObject* sender) { FindInMemo(*Memo1, Edit1->Text(), sender == SearhAgain1); }

void TForm3::SearhAgain1Click(TObject*) { Search1Click(SearhAgain1); }

void TForm3::Edit1KeyPress(TObject*, char& key) {
    if (key != '\r') return;
    key = 0;  // no beep of the one-line edit
    Search1Click(Edit1);
}

void TForm3::Memo1DblClick(TObject*) {
    // Only the address under the click, and only http or https: nothing else of the line reaches the shell.
    const std::string address = WebAddressAt(Memo1->Text(), static_cast<size_t>(std::max(0, Memo1->SelStart())));
    if (!address.empty() && OpenAddress) OpenAddress(address);
}

}  // namespace kes
