#pragma once
// Controls that follow a serial port: the drop-down list of one port setting (TComComboBox with its selection
// object TComSelect) and the status lamp (TComLed) that shows one line or state of a port.
//
// Threads: all of it runs on the GUI thread; the lamp's link handlers are called by the port's event dispatch,
// which the terminal runs on the GUI thread.
#include <memory>
#include <string>
#include <vector>

#include "base/Events.h"
#include "gui/Controls.h"
#include "gui/StdCtrls.h"
#include "serial/CPort.h"
#include "serial/ComLedPlatform.h"

namespace kes {

enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };
enum TLedKind { lkRedLight, lkGreenLight, lkBlueLight, lkYellowLight, lkPurpleLight, lkBulb, lkCustom };
enum TComLedSignal { lsConn, lsCTS, lsDSR, lsRLSD, lsRing, lsRx, lsTx };
enum TLedState { lsOff, lsOn };

extern const std::vector<std::string> kComPropertyNames;
extern const std::vector<std::string> kLedKindNames;
extern const std::vector<std::string> kComLedSignalNames;
extern const std::vector<std::string> kLedStateNames;

using TLedStateEvent = std::function<void(TObject* sender, TLedState state)>;

// The logic of a port-setting list: which values it offers, the value last chosen of each kind, and writing
// that value into the port.
class TComSelect : public TObject {
    KES_CLASS(TComSelect, TObject)
public:
    explicit TComSelect(TItemStrings& items) : items_(items) {}

    std::string Port;  // the last chosen port name
    TBaudRate BaudRate = br9600;
    TDataBits DataBits = dbEight;
    TStopBits StopBits = sbOneStopBit;
    TParityBits Parity = prNone;
    TFlowControl FlowControl = fcHardware;
    TCustomComPort* ComPort = nullptr;  // not owned
    bool AutoApply = false;

    TItemStrings& Items() { return items_; }
    TComProperty ComProperty() const { return comProperty_; }
    // Stores the kind and fills the list with its values (cpPort: the serial devices present now).
    void SetComProperty(TComProperty value);
    // Parses the text into the value of the current kind (unknown names give the kind's default), then
    // applies it when AutoApply is set.
    void SetValueFromText(const std::string& text);
    // Writes the stored value of the current kind into the port (nothing without a port, for cpNone, or for
    // cpPort while no port name was chosen).
    void ApplyToPort();
    // The list index of the port's current value, or -1 when it is not listed (or no port, or cpNone).
    // A listed value is also stored as the chosen value of its kind.
    int ReadFromPort();

private:
    TItemStrings& items_;
    TComProperty comProperty_ = cpNone;
};

// A drop-down list of one setting of a port; choosing an item stores its value and, with AutoApply, writes it
// into the port.
class TComComboBox : public TCustomComboBox {
    KES_CLASS(TComComboBox, TCustomComboBox)
    KES_PUBLISHED
public:
    explicit TComComboBox(TComponent* owner);
    ~TComComboBox() override;

    TCustomComPort* ComPort() const { return select_->ComPort; }
    // Follows the port: reads its current value into the selection.
    void SetComPort(TCustomComPort* port);
    TComProperty ComProperty() const { return select_->ComProperty(); }
    void SetComProperty(TComProperty value);
    bool AutoApply() const { return select_->AutoApply; }
    void SetAutoApply(bool value) { select_->AutoApply = value; }

    // Selects the item of the port's current value (none when it is not listed).
    void ReadFromPort();
    void ApplyToPort();
    TComSelect& Select() { return *select_; }

    void Change() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TComSelect> select_;
};

// The status lamp: shows one signal of a port (or a state set by the program) as an "on" or "off" glyph.
class TComLed : public TGraphicControl {
    KES_CLASS(TComLed, TGraphicControl)
    KES_PUBLISHED
public:
    explicit TComLed(TComponent* owner);
    ~TComLed() override;

    TCustomComPort* ComPort() const { return comPort_; }
    void SetComPort(TCustomComPort* port);
    TComLedSignal LedSignal() const { return ledSignal_; }
    void SetLedSignal(TComLedSignal value);
    TLedKind Kind() const { return kind_; }
    // Loads the kind's two glyphs (lkCustom keeps the glyphs there are).
    void SetKind(TLedKind value);
    TLedState State() const { return state_; }
    // EComPort code 19 while a port is set; otherwise stores the state and fires OnChange (even when unchanged).
    void SetState(TLedState value);
    int RingDuration() const;
    void SetRingDuration(int ms);

    TLedGlyph& GlyphOn() { return *glyphOn_; }
    TLedGlyph& GlyphOff() { return *glyphOff_; }
    // Taken only while Kind is lkCustom (the bitmap is made transparent, then copied); ignored otherwise.
    void SetGlyphOn(TPersistent& bitmap) { SetGlyph(lsOn, bitmap); }
    void SetGlyphOff(TPersistent& bitmap) { SetGlyph(lsOff, bitmap); }

    TLedStateEvent OnChange;

    // The link through which the lamp follows its port, and the ring timer.
    TComLink& Link() { return link_; }
    TLedTimer& RingTimer() { return *ringTimer_; }
    // Where the glyph of the current state goes in the client area.
    TPoint GlyphPlace() const;
    void Paint(TCanvas& canvas) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetGlyph(TLedState which, TPersistent& bitmap);
    void LoadKindGlyphs();
    void ChangeState(TLedState value);
    void SignalChanged(bool on) { ChangeState(on ? lsOn : lsOff); }
    void RingStart();
    void RingEnd();
    TLedState StateFromPort();
    void DetachFromPort();

    TCustomComPort* comPort_ = nullptr;  // not owned
    TComLedSignal ledSignal_ = lsConn;
    TLedKind kind_ = lkRedLight;
    TLedState state_ = lsOff;
    TLedGlyphPtr glyphOn_, glyphOff_;
    TComLink link_;
    std::unique_ptr<TLedTimer> ringTimer_;
};

// The names of the two glyph resources of a built-in kind ("LEDREDON", "LEDREDOFF" ...); empty for lkCustom.
std::string LedResourceName(TLedKind kind, TLedState state);

}  // namespace kes
