#include "shell/Unit4.h"

#include "shell/FormParts.h"

namespace kes {

TLOGform::TLOGform(TComponent* owner) : TForm(owner) {
    SetName("LOGform");
    SetCaption("LOG");
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 700, 450);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(33);
    Panel1->SetCaption("");
    Button1 = NewControl<TButton>(this, Panel1, "Button1");
    Button1->SetBounds(8, 4, 75, 25);
    Button1->SetCaption("Button1");
    Button1->SetVisible(false);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    ListBox1 = NewControl<TListBox>(this, this, "ListBox1");
    ListBox1->SetAlign(alClient);

    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    File1 = NewMenuItem(this, MainMenu1->Items(), "File1", "File");
    Exit2 = NewMenuItem(this, File1, "Exit2", "Exit");
    Exit2->OnClick = [this](TObject* s) { Exit2Click(s); };
    SaveLoginfile1 = NewMenuItem(this, File1, "SaveLoginfile1", "Save Log in file");
    SaveLoginfile1->OnClick = [this](TObject* s) { SaveLoginfile1Click(s); };
    ClearLogWindow1 = NewMenuItem(this, MainMenu1->Items(), "ClearLogWindow1", "Clear-Log-Window");
    ClearLogWindow1->OnClick = [this](TObject* s) { ClearLogWindow1Click(s); };
    SetMenu(MainMenu1);

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
}

void TLOGform::AddLine(const std::string& line, bool scroll) {
    ListBox1->Items().Add(line);
    if (scroll) Button1Click(Button1);
}

void TLOGform::Exit2Click(TObject*) { Close(); }

void TLOGform::SaveLoginfile1Click(TObject*) {
    if (ListBox1->Items().Count() == 0) return;
    if (!SaveDialog1->Execute()) return;
    // A failure raises; the message loop shows it and the lines stay.
    ListBox1->Items().SaveToFile(SaveDialog1->FileName);
}

void TLOGform::ClearLogWindow1Click(TObject*) { ListBox1->Items().Clear(); }

void TLOGform::Button1Click(TObject*) {
    const int n = ListBox1->Items().Count();
    if (n > 0) ListBox1->SetTopIndex(n - 1);
}

}  // namespace kes
