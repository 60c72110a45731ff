#pragma once
// The port setup dialog: six drop-down lists (port, baud rate, data bits, stop bits, parity, flow control) bound
// to one port; the values reach the port only on OK, all together in one settings-update bracket.
#include <functional>

#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "serial/CPortCtl.h"

namespace kes {

class TComSetupFrm : public TForm {
    KES_CLASS(TComSetupFrm, TForm)
public:
    explicit TComSetupFrm(TComponent* owner);

    TButton* Button1;
    TButton* Button2;
    TGroupBox* GroupBox1;
    TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    TComComboBox *Combo2, *Combo3, *Combo4, *Combo5, *Combo6;
    TComComboBox* Combo1;

    // The six lists in the order they are read and applied: port name first, flow control last.
    TComComboBox* Combos(int index) const;
    static constexpr int ComboCount = 6;

private:
    TLabel* NewLabel(const char* name, const char* caption, int top);
    TComComboBox* NewCombo(const char* name, TComProperty property, const char* text, int top, int tabOrder);
};

// Runs the setup dialog for the port. OK writes every list that has a choice into the port; Cancel and the close
// box leave the port as it was. A failure while applying reaches the caller after the bracket was closed.
void EditComPortSettings(TCustomComPort& port);
// The same with the modal run given (tests drive the dialog through it); it returns the modal result.
void EditComPortSettings(TCustomComPort& port, const std::function<int(TComSetupFrm&)>& runModal);

// Makes TCustomComPort::RunSetupDialog run this dialog. A program that links this module has it done at start.
void InstallComSetupDialog();

}  // namespace kes
