#include "serial/CPortSetup.h"

#include <memory>

#include "serial/ComPlatform.h"

namespace kes {

TComSetupFrm::TComSetupFrm(TComponent* owner) : TForm(owner) {
    SetName("ComSetupFrm");
    SetBorderStyle(bsDialog);
    SetCaption("Setup");
    SetPosition(poScreenCenter);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    SetClientSize(231, 216);

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetBounds(70, 184, 75, 25);
    Button1->SetCaption("OK");
    Button1->SetDefault(true);
    Button1->ModalResult = mrOk;
    Button2 = new TButton(this);
    Button2->SetName("Button2");
    Button2->SetParent(this);
    Button2->SetBounds(150, 184, 75, 25);
    Button2->SetCaption("Cancel");
    Button2->Cancel = true;
    Button2->ModalResult = mrCancel;

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetParent(this);
    GroupBox1->SetBounds(8, 8, 217, 169);
    GroupBox1->SetCaption(" Settings ");

    Label1 = NewLabel("Label1", "Port", 24);
    Label2 = NewLabel("Label2", "Baud rate", 48);
    Label3 = NewLabel("Label3", "Data bits", 72);
    Label4 = NewLabel("Label4", "Stop bits", 96);
    Label5 = NewLabel("Label5", "Parity", 120);
    Label6 = NewLabel("Label6", "Flow control", 144);

    Combo2 = NewCombo("Combo2", cpBaudRate, "Custom", 40, 1);
    Combo3 = NewCombo("Combo3", cpDataBits, "5", 64, 2);
    Combo4 = NewCombo("Combo4", cpStopBits, "1", 88, 3);
    Combo5 = NewCombo("Combo5", cpParity, "None", 112, 4);
    Combo6 = NewCombo("Combo6", cpFlowControl, "Hardware", 136, 5);
    // Last, so that the device list is taken after the other lists were made.
    Combo1 = NewCombo("Combo1", cpPort, "COM1", 16, 0);

    // Tab order: the group first, then OK and Cancel; inside the group the lists from top to bottom.
    GroupBox1->SetTabOrder(0);
    Button1->SetTabOrder(1);
    Button2->SetTabOrder(2);
    for (int i = 0; i < ComboCount; ++i) Combos(i)->SetTabOrder(i);
}

TLabel* TComSetupFrm::NewLabel(const char* name, const char* caption, int top) {
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(GroupBox1);
    label->SetLeft(8);
    label->SetTop(top);
    label->SetCaption(caption);
    return label;
}

TComComboBox* TComSetupFrm::NewCombo(const char* name, TComProperty property, const char* text, int top, int tabOrder) {
    auto* combo = new TComComboBox(this);
    combo->SetName(name);
    combo->SetParent(GroupBox1);
    combo->SetBounds(80, top, 129, 21);
    combo->SetStyle(csDropDownList);
    combo->SetComProperty(property);
    combo->SetItemIndex(0);
    combo->SetText(text);
    combo->SetTabOrder(tabOrder);
    return combo;
}

TComComboBox* TComSetupFrm::Combos(int index) const {
    TComComboBox* const all[ComboCount] = {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6};
    return index >= 0 && index < ComboCount ? all[index] : nullptr;
}

void EditComPortSettings(TCustomComPort& port, const std::function<int(TComSetupFrm&)>& runModal) {
    auto form = std::make_unique<TComSetupFrm>(nullptr);
    for (int i = 0; i < TComSetupFrm::ComboCount; ++i) form->Combos(i)->SetComPort(&port);
    for (int i = 0; i < TComSetupFrm::ComboCount; ++i) form->Combos(i)->ReadFromPort();
    if (runModal(*form) != mrOk) return;

    port.BeginSettingsUpdate();
    try {
        // A list without a choice (the port's name is not among the devices present) leaves its setting alone.
        for (int i = 0; i < TComSetupFrm::ComboCount; ++i)
            if (TComComboBox* combo = form->Combos(i); combo->ItemIndex() >= 0) combo->ApplyToPort();
    } catch (...) {
        try {
            port.EndSettingsUpdate();
        } catch (...) {
            // The first failure is the one the caller hears of.
        }
        throw;
    }
    port.EndSettingsUpdate();
}

void EditComPortSettings(TCustomComPort& port) {
    EditComPortSettings(port, [](TComSetupFrm& form) { return form.ShowModal(); });
}

void InstallComSetupDialog() {
    SetComSetupDialog([](TCustomComPort& port) { EditComPortSettings(port); });
}

namespace {
// Linking the dialog module is enough to make the ports run it.
const bool kInstalled = (InstallComSetupDialog(), true);
}  // namespace

}  // namespace kes
