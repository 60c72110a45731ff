// The setup dialog without windows: its layout, and what OK and Cancel do to a port on the recording fake device
// (the modal run is driven by the test).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "serial/CPortSetup.h"
#include "serial/ComPlatform.h"
#include "serial/tests/PortFixture.h"

using namespace kes;
using kes::test::Lines;
using kes::test::PortTest;

namespace {

// Picks the item with the text in a list as the user would.
void Choose(TComComboBox* combo, const std::string& text) {
    const int i = combo->Items().IndexOf(text);
    ASSERT_GE(i, 0) << text;
    combo->SetItemIndex(i);
    combo->Change();
}

class SetupDialog : public PortTest {
protected:
    // Runs the dialog: `user` acts on it, then it ends with `result`.
    void Run(int result, const std::function<void(TComSetupFrm&)>& user = nullptr) {
        EditComPortSettings(*port, [&](TComSetupFrm& form) {
            shown.clear();
            for (int i = 0; i < TComSetupFrm::ComboCount; ++i) shown.push_back(form.Combos(i)->Text());
            if (user) user(form);
            return result;
        });
    }
    // The line settings written to the open device.
    Lines LineWrites() const { return dev->Calls({"SetupComm", "SetCommState", "SetCommTimeouts"}); }
    std::vector<std::string> shown;  // what the six lists showed when the dialog came up
};

}  // namespace

TEST(SetupForm, LaidOutAsTheDialogOfSixLists) {
    TComSetupFrm form(nullptr);
    EXPECT_EQ(form.Caption(), "Setup");
    EXPECT_EQ(form.BorderStyle(), bsDialog);
    EXPECT_EQ(form.Position(), poScreenCenter);
    EXPECT_EQ(form.ClientWidth(), 231);
    EXPECT_EQ(form.ClientHeight(), 216);
    EXPECT_EQ(form.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(form.Font().Height(), -11);
    EXPECT_EQ(form.GroupBox1->Caption(), " Settings ");
    EXPECT_EQ(form.GroupBox1->BoundsRect(), Bounds(8, 8, 217, 169));
    EXPECT_EQ(form.Button1->Caption(), "OK");
    EXPECT_EQ(form.Button1->BoundsRect(), Bounds(70, 184, 75, 25));
    EXPECT_TRUE(form.Button1->Default());
    EXPECT_EQ(form.Button1->ModalResult, mrOk);
    EXPECT_EQ(form.Button2->Caption(), "Cancel");
    EXPECT_EQ(form.Button2->BoundsRect(), Bounds(150, 184, 75, 25));
    EXPECT_EQ(form.Button2->ModalResult, mrCancel);
    EXPECT_EQ(form.DefaultButton(), form.Button1);
    EXPECT_EQ(form.CancelButton(), form.Button2);
    EXPECT_EQ(form.GroupBox1->TabOrder(), 0);
    EXPECT_EQ(form.Button1->TabOrder(), 1);
    EXPECT_EQ(form.Button2->TabOrder(), 2);

    const char* captions[] = {"Port", "Baud rate", "Data bits", "Stop bits", "Parity", "Flow control"};
    const TLabel* labels[] = {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5, form.Label6};
    const TComProperty kinds[] = {cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl};
    const char* texts[] = {"", "Custom", "5", "1", "None", "Hardware"};  // no devices here: the port list is empty
    for (int i = 0; i < TComSetupFrm::ComboCount; ++i) {
        SCOPED_TRACE(i);
        TComComboBox* c = form.Combos(i);
        EXPECT_EQ(labels[i]->Caption(), captions[i]);
        EXPECT_EQ(labels[i]->Left(), 8);
        EXPECT_EQ(labels[i]->Top(), 24 + 24 * i);
        EXPECT_EQ(labels[i]->Parent(), form.GroupBox1);
        EXPECT_EQ(c->BoundsRect(), Bounds(80, 16 + 24 * i, 129, 21));
        EXPECT_EQ(c->Parent(), form.GroupBox1);
        EXPECT_EQ(c->ComProperty(), kinds[i]);
        EXPECT_EQ(c->Style(), csDropDownList);
        EXPECT_FALSE(c->AutoApply());
        EXPECT_EQ(c->TabOrder(), i);
        EXPECT_EQ(c->Text(), texts[i]);
    }
    // The port list is the last component, made after the other lists.
    EXPECT_EQ(form.Components(form.ComponentCount() - 1), form.Combo1);
}

TEST_F(SetupDialog, ShowsThePortsValuesAndCancelLeavesThePortAsItWas) {
    port->SetBaudRate(brCustom);
    port->SetDataBits(dbSeven);
    port->Parity().SetBits(prEven);
    port->OpenPort();
    dev->log.clear();
    Run(mrCancel, [](TComSetupFrm& f) {
        Choose(f.Combo2, "110");
        Choose(f.Combo3, "5");
        Choose(f.Combo4, "2");
        Choose(f.Combo5, "Mark");
        Choose(f.Combo6, "Software");
    });
    // "COM1" is not among the (no) devices here, so the port list shows no choice.
    EXPECT_EQ(shown, (std::vector<std::string>{"", "Custom", "7", "1", "Even", "None"}));
    EXPECT_EQ(port->BaudRate(), brCustom);
    EXPECT_EQ(port->DataBits(), dbSeven);
    EXPECT_EQ(port->StopBits(), sbOneStopBit);
    EXPECT_EQ(port->Parity().Bits(), prEven);
    EXPECT_EQ(port->FlowControl().FlowControl(), fcNone);
    EXPECT_TRUE(dev->log.empty()) << dev->log.front();
}

TEST_F(SetupDialog, OkAppliesEveryChoiceOnceInOneBracket) {
    port->OpenPort();
    dev->log.clear();
    Run(mrOk, [](TComSetupFrm& f) {
        Choose(f.Combo2, "115200");
        Choose(f.Combo3, "7");
        Choose(f.Combo4, "2");
        Choose(f.Combo5, "Odd");
        Choose(f.Combo6, "Hardware");
    });
    EXPECT_EQ(port->BaudRate(), br115200);
    EXPECT_EQ(port->DataBits(), dbSeven);
    EXPECT_EQ(port->StopBits(), sbTwoStopBits);
    EXPECT_EQ(port->Parity().Bits(), prOdd);
    EXPECT_EQ(port->FlowControl().FlowControl(), fcHardware);
    EXPECT_EQ(LineWrites(), (Lines{"SetupComm 1024 1024", "SetCommState 115200", "SetCommTimeouts"}));
    EXPECT_TRUE(port->Connected());
}

TEST_F(SetupDialog, OkWithoutChangeReappliesThePortsOwnValuesOnce) {
    port->SetBaudRate(br38400);
    port->FlowControl().SetFlowControl(fcSoftware);
    port->OpenPort();
    dev->log.clear();
    Run(mrOk);
    EXPECT_EQ(port->BaudRate(), br38400);
    EXPECT_EQ(port->FlowControl().FlowControl(), fcSoftware);
    EXPECT_EQ(port->Port(), "COM1");  // no device list: the name is never emptied
    EXPECT_EQ(LineWrites(), (Lines{"SetupComm 1024 1024", "SetCommState 38400", "SetCommTimeouts"}));
}

TEST_F(SetupDialog, AChosenPortNameReopensThePort) {
    port->OpenPort();
    Run(mrOk, [](TComSetupFrm& f) {
        f.Combo1->Items().Add("COM7");  // as if the device were present
        Choose(f.Combo1, "COM7");
    });
    EXPECT_EQ(port->Port(), "COM7");
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(dev->lastFileName, "\\\\.\\COM7");
}

TEST_F(SetupDialog, FailureWhileApplyingReachesTheCallerWithTheBracketClosed) {
    port->OpenPort();
    dev->failures["SetCommState"] = 87;
    EXPECT_THROW(Run(mrOk, [](TComSetupFrm& f) { Choose(f.Combo2, "4800"); }), EComPort);
    EXPECT_EQ(port->BaudRate(), br4800);
    // Outside the bracket again: a setter applies at once.
    dev->failures.clear();
    dev->log.clear();
    port->SetBaudRate(br1200);
    EXPECT_EQ(dev->Calls({"SetCommState"}), (Lines{"SetCommState 1200"}));
}

TEST_F(SetupDialog, ThePortsRunTheInstalledDialog) {
    ASSERT_TRUE(static_cast<bool>(ComSetupDialog()));
    port->SetBaudRate(br600);
    port->RunSetupDialog();  // no windows here: the dialog ends as if cancelled
    EXPECT_EQ(port->BaudRate(), br600);
}
