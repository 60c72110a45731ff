#include "serial/CPortCtl.h"

#include <algorithm>

#include "base/StringList.h"
#include "serial/ComError.h"

namespace kes {

const std::vector<std::string> kComPropertyNames{"cpNone",     "cpPort",   "cpBaudRate",   "cpDataBits",
                                                 "cpStopBits", "cpParity", "cpFlowControl"};
const std::vector<std::string> kLedKindNames{"lkRedLight",    "lkGreenLight", "lkBlueLight", "lkYellowLight",
                                             "lkPurpleLight", "lkBulb",       "lkCustom"};
const std::vector<std::string> kComLedSignalNames{"lsConn", "lsCTS", "lsDSR", "lsRLSD", "lsRing", "lsRx", "lsTx"};
const std::vector<std::string> kLedStateNames{"lsOff", "lsOn"};

// ---- the selection object ----

void TComSelect::SetComProperty(TComProperty value) {
    comProperty_ = value;
    items_.Clear();
    switch (value) {
    case cpNone: break;
    case cpPort: {
        TStringList ports;
        ListSerialPorts(ports);
        items_.Assign(ports);
        break;
    }
    case cpBaudRate:
        for (int i = 0; i < BaudRateCount; ++i) items_.Add(BaudRateName(static_cast<TBaudRate>(i)));
        break;
    case cpDataBits:
        for (int i = 0; i < DataBitsCount; ++i) items_.Add(DataBitsName(static_cast<TDataBits>(i)));
        break;
    case cpStopBits:
        for (int i = 0; i < StopBitsCount; ++i) items_.Add(StopBitsName(static_cast<TStopBits>(i)));
        break;
    case cpParity:
        for (int i = 0; i < ParityCount; ++i) items_.Add(ParityName(static_cast<TParityBits>(i)));
        break;
    case cpFlowControl:
        for (int i = 0; i < FlowControlCount; ++i) items_.Add(FlowControlName(static_cast<TFlowControl>(i)));
        break;
    }
}

void TComSelect::SetValueFromText(const std::string& text) {
    switch (comProperty_) {
    case cpNone: break;
    case cpPort: Port = text; break;
    case cpBaudRate: BaudRate = BaudRateFromName(text); break;
    case cpDataBits: DataBits = DataBitsFromName(text); break;
    case cpStopBits: StopBits = StopBitsFromName(text); break;
    case cpParity: Parity = ParityFromName(text); break;
    case cpFlowControl: FlowControl = FlowControlFromName(text); break;
    }
    if (AutoApply) ApplyToPort();
}

void TComSelect::ApplyToPort() {
    if (!ComPort) return;
    switch (comProperty_) {
    case cpNone: break;
    case cpPort:
        // No port chosen (no devices present, or the port's name is not among them): the name stays.
        if (!Port.empty()) ComPort->SetPort(Port);
        break;
    case cpBaudRate: ComPort->SetBaudRate(BaudRate); break;
    case cpDataBits: ComPort->SetDataBits(DataBits); break;
    case cpStopBits: ComPort->SetStopBits(StopBits); break;
    case cpParity: ComPort->Parity().SetBits(Parity); break;
    case cpFlowControl: ComPort->FlowControl().SetFlowControl(FlowControl); break;
    }
}

int TComSelect::ReadFromPort() {
    if (!ComPort || comProperty_ == cpNone) return -1;
    std::string text;
    switch (comProperty_) {
    case cpNone: break;
    case cpPort: text = ComPort->Port(); break;
    case cpBaudRate: text = BaudRateName(ComPort->BaudRate()); break;
    case cpDataBits: text = DataBitsName(ComPort->DataBits()); break;
    case cpStopBits: text = StopBitsName(ComPort->StopBits()); break;
    case cpParity: text = ParityName(ComPort->Parity().Bits()); break;
    case cpFlowControl: text = FlowControlName(ComPort->FlowControl().FlowControl()); break;
    }
    const int index = items_.IndexOf(text);
    if (index >= 0) {
        const bool autoApply = AutoApply;
        AutoApply = false;  // reading back never writes
        SetValueFromText(items_[index]);
        AutoApply = autoApply;
    }
    return index;
}

// ---- the drop-down list ----

const TPropTable& TComComboBox::ClassProps() {
    static const TPropTable t(
        &TCustomComboBox::ClassProps(),
        {
            ObjProp<TComComboBox>("ComPort", [](const TComComboBox& c) { return c.ComPort(); }),
            EnumProp<TComComboBox>(
                "ComProperty", kComPropertyNames, [](const TComComboBox& c) { return c.ComProperty(); },
                [](TComComboBox& c, int64_t v) { c.SetComProperty(static_cast<TComProperty>(v)); }),
            BoolProp<TComComboBox>(
                "AutoApply", [](const TComComboBox& c) { return c.AutoApply(); },
                [](TComComboBox& c, bool v) { c.SetAutoApply(v); }),
            StrProp<TComComboBox>(
                "Text", [](const TComComboBox& c) { return c.Text(); },
                [](TComComboBox& c, const std::string& v) { c.SetText(v); }),
        });
    return t;
}

TComComboBox::TComComboBox(TComponent* owner) : TCustomComboBox(owner), select_(std::make_unique<TComSelect>(Items())) {
    SetStyle(csDropDownList);
}

TComComboBox::~TComComboBox() {
    BeginDestroy();
    if (select_->ComPort) RemoveFreeNotification(select_->ComPort);
}

void TComComboBox::SetComProperty(TComProperty value) {
    select_->SetComProperty(value);
    if (Items().Count() == 0) return;
    SetItemIndex(select_->ComPort ? select_->ReadFromPort() : 0);
}

void TComComboBox::SetComPort(TCustomComPort* port) {
    if (port == select_->ComPort) return;
    if (select_->ComPort) RemoveFreeNotification(select_->ComPort);
    select_->ComPort = port;
    if (port) {
        FreeNotification(port);
        ReadFromPort();
    }
}

void TComComboBox::ReadFromPort() { SetItemIndex(select_->ReadFromPort()); }

void TComComboBox::ApplyToPort() { select_->ApplyToPort(); }

void TComComboBox::Change() {
    select_->SetValueFromText(Text());
    TCustomComboBox::Change();
}

void TComComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation != TOperation::opRemove || !component || component != select_->ComPort) return;
    select_->ComPort = nullptr;
    if (Items().Count() > 0) SetItemIndex(0);
}

// ---- the lamp ----

std::string LedResourceName(TLedKind kind, TLedState state) {
    static const char* const kColours[] = {"RED", "GREEN", "BLUE", "YELLOW", "PURPLE", "BULB"};
    if (kind < lkRedLight || kind >= lkCustom) return std::string();
    return std::string("LED") + kColours[kind] + (state == lsOn ? "ON" : "OFF");
}

const TPropTable& TComLed::ClassProps() {
    static const TPropTable t(
        &TControl::ClassProps(),
        {
            ObjProp<TComLed>("ComPort", [](const TComLed& c) { return c.ComPort(); }),
            EnumProp<TComLed>(
                "LedSignal", kComLedSignalNames, [](const TComLed& c) { return c.LedSignal(); },
                [](TComLed& c, int64_t v) { c.SetLedSignal(static_cast<TComLedSignal>(v)); }),
            EnumProp<TComLed>(
                "Kind", kLedKindNames, [](const TComLed& c) { return c.Kind(); },
                [](TComLed& c, int64_t v) { c.SetKind(static_cast<TLedKind>(v)); }),
            ObjProp<TComLed>("GlyphOn", [](const TComLed& c) { return LedGlyphObject(c.glyphOn_.get()); }),
            ObjProp<TComLed>("GlyphOff", [](const TComLed& c) { return LedGlyphObject(c.glyphOff_.get()); }),
            EnumProp<TComLed>(
                "State", kLedStateNames, [](const TComLed& c) { return c.State(); },
                [](TComLed& c, int64_t v) { c.SetState(static_cast<TLedState>(v)); }),
            IntProp<TComLed>(
                "RingDuration", [](const TComLed& c) { return c.RingDuration(); },
                [](TComLed& c, int v) { c.SetRingDuration(v); }),
        });
    return t;
}

TComLed::TComLed(TComponent* owner)
    : TGraphicControl(owner), glyphOn_(NewLedGlyph()), glyphOff_(NewLedGlyph()), ringTimer_(NewLedTimer()) {
    SetBounds(left_, top_, 25, 25);
    link_.OnConnChange = [this](TObject*, bool on) { SignalChanged(on); };
    ringTimer_->SetEnabled(false);
    ringTimer_->OnTick = [this] { RingEnd(); };
}

TComLed::~TComLed() {
    // From here on the lamp neither fires OnChange nor paints.
    BeginDestroy();
    ringTimer_->OnTick = nullptr;
    ringTimer_->SetEnabled(false);
    try {
        SetComPort(nullptr);
    } catch (...) {
        // The port refuses only a link it does not hold, so nothing of the lamp stays with it.
    }
}

void TComLed::DetachFromPort() {
    if (!comPort_) return;
    TCustomComPort* old = comPort_;
    comPort_ = nullptr;
    RemoveFreeNotification(old);
    old->DetachLink(&link_);
}

void TComLed::SetComPort(TCustomComPort* port) {
    if (port == comPort_) return;
    DetachFromPort();
    comPort_ = port;
    if (port) {
        FreeNotification(port);
        port->AttachLink(&link_);
    }
    if (!comPort_)
        ChangeState(lsOff);
    else if (comPort_->Connected() && !Designing() && !Loading())
        ChangeState(StateFromPort());
}

TLedState TComLed::StateFromPort() {
    bool on = false;
    switch (ledSignal_) {
    case lsConn: on = comPort_->Connected(); break;
    case lsCTS: on = comPort_->ModemLines().Contains(mlCTS); break;
    case lsDSR: on = comPort_->ModemLines().Contains(mlDSR); break;
    case lsRLSD: on = comPort_->ModemLines().Contains(mlRLSD); break;
    case lsRing:
    case lsRx:
    case lsTx: on = false; break;
    }
    return on ? lsOn : lsOff;
}

void TComLed::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    // The followed port is going away: forget it; the state stays as it is.
    if (operation == TOperation::opRemove && component && component == comPort_) DetachFromPort();
}

void TComLed::SetLedSignal(TComLedSignal value) {
    if (value == ledSignal_) return;
    ledSignal_ = value;
    link_.OnConnChange = nullptr;
    link_.OnCTSChange = nullptr;
    link_.OnDSRChange = nullptr;
    link_.OnRLSDChange = nullptr;
    link_.OnRing = nullptr;
    link_.OnTxActivity = nullptr;
    link_.OnRxActivity = nullptr;
    auto signal = [this](TObject*, bool on) { SignalChanged(on); };
    switch (value) {
    case lsConn: link_.OnConnChange = signal; break;
    case lsCTS: link_.OnCTSChange = signal; break;
    case lsDSR: link_.OnDSRChange = signal; break;
    case lsRLSD: link_.OnRLSDChange = signal; break;
    case lsRing: link_.OnRing = [this](TObject*) { RingStart(); }; break;
    case lsRx: link_.OnRxActivity = signal; break;
    case lsTx: link_.OnTxActivity = signal; break;
    }
    if (comPort_) comPort_->LinksChanged();
}

void TComLed::SetKind(TLedKind value) {
    if (value == kind_) return;
    kind_ = value;
    LoadKindGlyphs();
    if (!Destroying()) Repaint();
}

void TComLed::LoadKindGlyphs() {
    if (kind_ == lkCustom) return;
    LoadLedGlyph(*glyphOn_, LedResourceName(kind_, lsOn));
    LoadLedGlyph(*glyphOff_, LedResourceName(kind_, lsOff));
}

void TComLed::SetGlyph(TLedState which, TPersistent& bitmap) {
    if (kind_ != lkCustom) return;
    AssignLedGlyph(which == lsOn ? *glyphOn_ : *glyphOff_, bitmap);
    if (!Destroying()) Repaint();
}

void TComLed::SetState(TLedState value) {
    if (comPort_) throw EComPort(static_cast<int>(CE_LedStateFailed) + 1);
    ChangeState(value);
}

int TComLed::RingDuration() const { return static_cast<int>(ringTimer_->Interval()); }
void TComLed::SetRingDuration(int ms) { ringTimer_->SetInterval(static_cast<unsigned>(std::max(0, ms))); }

void TComLed::ChangeState(TLedState value) {
    state_ = value;
    // A lamp that is going away tells nobody and draws nothing; its glyphs may be gone already.
    if (Destroying()) return;
    if (!Loading() && OnChange) OnChange(this, value);
    // Shown at once by painting now; the lamp never runs the message loop here, so no other input is handled
    // in the middle of the port's state change.
    if (!Destroying()) Repaint();
}

void TComLed::RingStart() {
    ringTimer_->SetEnabled(true);
    ChangeState(lsOn);
}

void TComLed::RingEnd() {
    ringTimer_->SetEnabled(false);
    ChangeState(lsOff);
}

TPoint TComLed::GlyphPlace() const {
    const TLedGlyph& g = state_ == lsOn ? *glyphOn_ : *glyphOff_;
    const TRect client = ClientRect();
    return {client.Left + std::max(0, (client.Width() - LedGlyphWidth(g)) / 2),
            client.Top + std::max(0, (client.Height() - LedGlyphHeight(g)) / 2)};
}

void TComLed::Paint(TCanvas& canvas) {
    if (Destroying()) return;
    if (LedGlyphEmpty(*glyphOn_) || LedGlyphEmpty(*glyphOff_)) LoadKindGlyphs();
    const TPoint at = GlyphPlace();
    DrawLedGlyph(canvas, at.X, at.Y, Enabled() && state_ == lsOn ? *glyphOn_ : *glyphOff_);
}

}  // namespace kes
