// Settings storage of the port: the groups of StoredProps, written to and read from the registry or an ini file.
#include <exception>

#include "base/StringList.h"
#include "serial/CPort.h"
#include "serial/ComPlatform.h"

namespace kes {

namespace {
constexpr int Code(TComExceptions kind) { return static_cast<int>(kind) + 1; }
}  // namespace

// Where the keys go: texts and integers by key name.
class TCustomComPort::SettingsTarget {
public:
    virtual ~SettingsTarget() = default;
    virtual void WriteText(const std::string& key, const std::string& value) = 0;
    virtual void WriteNumber(const std::string& key, int value) = 0;
    // A missing text keeps `current`.
    virtual std::string ReadText(const std::string& key, const std::string& current) = 0;
    virtual int ReadNumber(const std::string& key, int fallback) = 0;
};

// Registry: text as strings, integers as 32-bit values. A missing integer raises; a missing text keeps the
// current value (the port name is not blanked by a key that holds no "Port").
class TCustomComPort::RegistryTarget : public SettingsTarget {
public:
    explicit RegistryTarget(TComSettingsRegistry& registry) : reg_(registry) {}
    void WriteText(const std::string& key, const std::string& value) override { reg_.WriteString(key, value); }
    void WriteNumber(const std::string& key, int value) override { reg_.WriteInteger(key, value); }
    std::string ReadText(const std::string& key, const std::string& current) override {
        return reg_.ValueExists(key) ? reg_.ReadString(key) : current;
    }
    int ReadNumber(const std::string& key, int) override { return reg_.ReadInteger(key); }

private:
    TComSettingsRegistry& reg_;
};

// Ini file: everything as text in the section named after the component; a missing or non-integer value reads
// as its default.
class TCustomComPort::IniTarget : public SettingsTarget {
public:
    IniTarget(TCustomIniFile& ini, std::string section) : ini_(ini), section_(std::move(section)) {}
    void WriteText(const std::string& key, const std::string& value) override {
        ini_.WriteString(section_, key, value);
    }
    void WriteNumber(const std::string& key, int value) override { ini_.WriteInteger(section_, key, value); }
    std::string ReadText(const std::string& key, const std::string& current) override {
        return ini_.ReadString(section_, key, current);
    }
    int ReadNumber(const std::string& key, int fallback) override { return ini_.ReadInteger(section_, key, fallback); }

private:
    TCustomIniFile& ini_;
    std::string section_;
};

void TCustomComPort::StoreTo(SettingsTarget& t) {
    if (StoredProps.Contains(spBasic)) {
        t.WriteText("Port", port_);
        t.WriteText("BaudRate", BaudRateName(baudRate_));
        if (baudRate_ == brCustom) t.WriteNumber("CustomBaudRate", customBaudRate_);
        t.WriteText("StopBits", StopBitsName(stopBits_));
        t.WriteText("DataBits", DataBitsName(dataBits_));
        t.WriteText("Parity", ParityName(parity_->Bits()));
        t.WriteText("FlowControl", FlowControlName(flowControl_->FlowControl()));
    }
    if (StoredProps.Contains(spOthers)) {
        t.WriteText("EventChar", CharSettingName(eventChar_));
        t.WriteText("DiscardNull", YesNoName(discardNull_));
    }
    if (StoredProps.Contains(spParity)) {
        t.WriteText("Parity.Check", YesNoName(parity_->Check()));
        t.WriteText("Parity.Replace", YesNoName(parity_->Replace()));
        t.WriteText("Parity.ReplaceChar", CharSettingName(parity_->ReplaceChar()));
    }
    if (StoredProps.Contains(spBuffer)) {
        t.WriteNumber("Buffer.OutputSize", buffer_->OutputSize());
        t.WriteNumber("Buffer.InputSize", buffer_->InputSize());
    }
    if (StoredProps.Contains(spTimeouts)) {
        t.WriteNumber("Timeouts.ReadInterval", timeouts_->ReadInterval());
        t.WriteNumber("Timeouts.ReadTotalConstant", timeouts_->ReadTotalConstant());
        t.WriteNumber("Timeouts.ReadTotalMultiplier", timeouts_->ReadTotalMultiplier());
        t.WriteNumber("Timeouts.WriteTotalConstant", timeouts_->WriteTotalConstant());
        t.WriteNumber("Timeouts.WriteTotalMultiplier", timeouts_->WriteTotalMultiplier());
    }
    if (StoredProps.Contains(spFlowControl)) {
        const TComFlowControl& f = *flowControl_;
        t.WriteText("FlowControl.ControlRTS", RTSControlName(f.ControlRTS()));
        t.WriteText("FlowControl.ControlDTR", DTRControlName(f.ControlDTR()));
        t.WriteText("FlowControl.DSRSensitivity", YesNoName(f.DSRSensitivity()));
        t.WriteText("FlowControl.OutCTSFlow", YesNoName(f.OutCTSFlow()));
        t.WriteText("FlowControl.OutDSRFlow", YesNoName(f.OutDSRFlow()));
        t.WriteText("FlowControl.TxContinueOnXoff", YesNoName(f.TxContinueOnXoff()));
        t.WriteText("FlowControl.XonXoffIn", YesNoName(f.XonXoffIn()));
        t.WriteText("FlowControl.XonXoffOut", YesNoName(f.XonXoffOut()));
        t.WriteText("FlowControl.XoffChar", CharSettingName(f.XoffChar()));
        t.WriteText("FlowControl.XonChar", CharSettingName(f.XonChar()));
    }
}

// Every value goes through its setter, so that the closing of the settings bracket applies what changed.
void TCustomComPort::LoadFrom(SettingsTarget& t) {
    if (StoredProps.Contains(spBasic)) {
        SetPort(t.ReadText("Port", port_));
        SetBaudRate(BaudRateFromName(t.ReadText("BaudRate", BaudRateName(baudRate_))));
        if (baudRate_ == brCustom) SetCustomBaudRate(t.ReadNumber("CustomBaudRate", 9600));
        SetStopBits(StopBitsFromName(t.ReadText("StopBits", StopBitsName(stopBits_))));
        SetDataBits(DataBitsFromName(t.ReadText("DataBits", DataBitsName(dataBits_))));
        parity_->SetBits(ParityFromName(t.ReadText("Parity", ParityName(parity_->Bits()))));
        flowControl_->SetFlowControl(
            FlowControlFromName(t.ReadText("FlowControl", FlowControlName(flowControl_->FlowControl()))));
    }
    if (StoredProps.Contains(spOthers)) {
        SetEventChar(CharFromSettingName(t.ReadText("EventChar", CharSettingName(eventChar_))));
        SetDiscardNull(YesNoFromName(t.ReadText("DiscardNull", YesNoName(discardNull_))));
    }
    if (StoredProps.Contains(spParity)) {
        TComParity& p = *parity_;
        p.SetCheck(YesNoFromName(t.ReadText("Parity.Check", YesNoName(p.Check()))));
        p.SetReplace(YesNoFromName(t.ReadText("Parity.Replace", YesNoName(p.Replace()))));
        p.SetReplaceChar(CharFromSettingName(t.ReadText("Parity.ReplaceChar", CharSettingName(p.ReplaceChar()))));
    }
    if (StoredProps.Contains(spBuffer)) {
        buffer_->SetOutputSize(t.ReadNumber("Buffer.OutputSize", buffer_->OutputSize()));
        buffer_->SetInputSize(t.ReadNumber("Buffer.InputSize", buffer_->InputSize()));
    }
    if (StoredProps.Contains(spTimeouts)) {
        TComTimeouts& o = *timeouts_;
        o.SetReadInterval(t.ReadNumber("Timeouts.ReadInterval", o.ReadInterval()));
        o.SetReadTotalConstant(t.ReadNumber("Timeouts.ReadTotalConstant", o.ReadTotalConstant()));
        o.SetReadTotalMultiplier(t.ReadNumber("Timeouts.ReadTotalMultiplier", o.ReadTotalMultiplier()));
        o.SetWriteTotalConstant(t.ReadNumber("Timeouts.WriteTotalConstant", o.WriteTotalConstant()));
        o.SetWriteTotalMultiplier(t.ReadNumber("Timeouts.WriteTotalMultiplier", o.WriteTotalMultiplier()));
    }
    if (StoredProps.Contains(spFlowControl)) {
        TComFlowControl& f = *flowControl_;
        f.SetControlRTS(RTSControlFromName(t.ReadText("FlowControl.ControlRTS", RTSControlName(f.ControlRTS()))));
        f.SetControlDTR(DTRControlFromName(t.ReadText("FlowControl.ControlDTR", DTRControlName(f.ControlDTR()))));
        f.SetDSRSensitivity(YesNoFromName(t.ReadText("FlowControl.DSRSensitivity", YesNoName(f.DSRSensitivity()))));
        f.SetOutCTSFlow(YesNoFromName(t.ReadText("FlowControl.OutCTSFlow", YesNoName(f.OutCTSFlow()))));
        f.SetOutDSRFlow(YesNoFromName(t.ReadText("FlowControl.OutDSRFlow", YesNoName(f.OutDSRFlow()))));
        f.SetTxContinueOnXoff(
            YesNoFromName(t.ReadText("FlowControl.TxContinueOnXoff", YesNoName(f.TxContinueOnXoff()))));
        f.SetXonXoffIn(YesNoFromName(t.ReadText("FlowControl.XonXoffIn", YesNoName(f.XonXoffIn()))));
        f.SetXonXoffOut(YesNoFromName(t.ReadText("FlowControl.XonXoffOut", YesNoName(f.XonXoffOut()))));
        f.SetXoffChar(CharFromSettingName(t.ReadText("FlowControl.XoffChar", CharSettingName(f.XoffChar()))));
        f.SetXonChar(CharFromSettingName(t.ReadText("FlowControl.XonChar", CharSettingName(f.XonChar()))));
    }
}

void TCustomComPort::StoreToRegistry(TComSettingsRegistry& registry) {
    RegistryTarget target(registry);
    StoreTo(target);
}

void TCustomComPort::StoreToIniFile(TCustomIniFile& ini) {
    IniTarget target(ini, Name());
    StoreTo(target);
}

void TCustomComPort::LoadFromRegistry(TComSettingsRegistry& registry) {
    RegistryTarget target(registry);
    LoadFrom(target);
}

void TCustomComPort::LoadFromIniFile(TCustomIniFile& ini) {
    IniTarget target(ini, Name());
    LoadFrom(target);
}

void TCustomComPort::OpenSettingsKey(TComSettingsRegistry& registry, const std::string& path, const std::string& name) {
    ComSettingsKey key;
    if (!ParseSettingsPath(path, name, key)) return;  // no key: the reads and writes that follow fail
    registry.SetRootKey(key.root);
    registry.OpenKey(key.key, true);
}

std::unique_ptr<TComSettingsRegistry> TCustomComPort::NewSettingsRegistry() { return NewComSettingsRegistry(); }

std::unique_ptr<TCustomIniFile> TCustomComPort::NewSettingsIniFile(const std::string& path) {
    return NewComIniFile(path);
}

void TCustomComPort::StoreSettings(bool useIniFile, const std::string& path) {
    try {
        if (useIniFile) {
            std::unique_ptr<TCustomIniFile> ini = NewSettingsIniFile(path);
            StoreToIniFile(*ini);
            ini->UpdateFile();
        } else {
            std::unique_ptr<TComSettingsRegistry> registry = NewSettingsRegistry();
            OpenSettingsKey(*registry, path, Name());
            StoreToRegistry(*registry);
        }
    } catch (...) {
        RaisePortError(Code(CE_StoreFailed), 0);
    }
}

void TCustomComPort::LoadSettings(bool useIniFile, const std::string& path) {
    BeginSettingsUpdate();
    bool failed = false;
    try {
        if (useIniFile) {
            std::unique_ptr<TCustomIniFile> ini = NewSettingsIniFile(path);
            LoadFromIniFile(*ini);
        } else {
            std::unique_ptr<TComSettingsRegistry> registry = NewSettingsRegistry();
            OpenSettingsKey(*registry, path, Name());
            LoadFromRegistry(*registry);
        }
    } catch (...) {
        failed = true;
    }
    // The values read so far are applied even after a failure.
    try {
        EndSettingsUpdate();
    } catch (...) {
        failed = true;
    }
    if (failed) RaisePortError(Code(CE_LoadFailed), 0);
}

bool ParseSettingsPath(const std::string& path, const std::string& name, ComSettingsKey& out) {
    const size_t slash = path.find('\\');
    if (slash == std::string::npos) return false;
    const std::string rootWord = UpperAZ(path.substr(0, slash));
    out.root = rootWord == "HKEY_LOCAL_MACHINE" ? rrLocalMachine : rrCurrentUser;
    std::string key = path.substr(slash + 1);
    if (!key.empty() && key.back() != '\\') key += '\\';
    out.key = key + name;  // a bare root ("HKEY_CURRENT_USER\") keeps the name directly under the root
    return true;
}

}  // namespace kes
