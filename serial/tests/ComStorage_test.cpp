#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/IniFile.h"
#include "serial/ComMemoryRegistry.h"
#include "serial/tests/PortFixture.h"

using namespace kes;
using namespace kes::test;

namespace {

// A port whose storage goes to a given memory registry and to in-memory ini objects kept by path.
class StoragePort : public TComPort {
public:
    StoragePort(std::unique_ptr<TComDevice> device, std::shared_ptr<TComMemoryRegistry::Store> store)
        : TComPort(nullptr, std::move(device)), store_(std::move(store)) {}
    std::map<std::string, std::string> iniFiles;  // path -> text
    bool failIni = false;

protected:
    std::unique_ptr<TComSettingsRegistry> NewSettingsRegistry() override {
        return std::make_unique<TComMemoryRegistry>(store_);
    }
    std::unique_ptr<TCustomIniFile> NewSettingsIniFile(const std::string& path) override {
        class Ini : public TMemIniFile {
        public:
            Ini(StoragePort& owner, std::string path) : owner_(owner), path_(std::move(path)) {
                SetText(owner_.iniFiles[path_]);
            }
            void UpdateFile() override {
                if (owner_.failIni) throw EIniFileException("Unable to write");
                owner_.iniFiles[path_] = Text();
            }

        private:
            StoragePort& owner_;
            std::string path_;
        };
        return std::make_unique<Ini>(*this, path);
    }

private:
    std::shared_ptr<TComMemoryRegistry::Store> store_;
};

class Storage : public ::testing::Test {
protected:
    Storage() : dev(std::make_shared<FakeDeviceState>()), store(std::make_shared<TComMemoryRegistry::Store>()) {
        port = NewPort();
    }
    std::unique_ptr<StoragePort> NewPort() {
        auto p = std::make_unique<StoragePort>(std::make_unique<FakeComDevice>(dev), store);
        p->SetName("ComPort1");
        return p;
    }
    const std::map<std::string, TComMemoryRegistry::Value>& Key(const std::string& full) { return store->keys[full]; }
    static std::string Text(const TComMemoryRegistry::Value& v) { return std::get<std::string>(v); }

    // Every setting away from its default.
    static void SetNonDefaults(TCustomComPort& p) {
        p.SetPort("COM7");
        p.SetBaudRate(brCustom);
        p.SetCustomBaudRate(250000);
        p.SetStopBits(sbTwoStopBits);
        p.SetDataBits(dbSeven);
        p.SetEventChar('\xFF');
        p.SetDiscardNull(true);
        p.Parity().SetBits(prEven);
        p.Parity().SetCheck(true);
        p.Parity().SetReplace(true);
        p.Parity().SetReplaceChar(' ');
        p.Buffer().SetInputSize(4096);
        p.Buffer().SetOutputSize(512);
        p.Timeouts().SetReadInterval(10);
        p.Timeouts().SetReadTotalConstant(20);
        p.Timeouts().SetReadTotalMultiplier(30);
        p.Timeouts().SetWriteTotalConstant(40);
        p.Timeouts().SetWriteTotalMultiplier(-1);
        p.FlowControl().SetControlRTS(rtsToggle);
        p.FlowControl().SetControlDTR(dtrHandshake);
        p.FlowControl().SetDSRSensitivity(true);
        p.FlowControl().SetOutCTSFlow(true);
        p.FlowControl().SetOutDSRFlow(true);
        p.FlowControl().SetTxContinueOnXoff(true);
        p.FlowControl().SetXonXoffIn(true);
        p.FlowControl().SetXonXoffOut(false);
        p.FlowControl().SetXonChar('A');
        p.FlowControl().SetXoffChar('#');
        p.StoredProps = {spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};
    }
    static void ExpectNonDefaults(TCustomComPort& p) {
        EXPECT_EQ(p.Port(), "COM7");
        EXPECT_EQ(p.BaudRate(), brCustom);
        EXPECT_EQ(p.CustomBaudRate(), 250000);
        EXPECT_EQ(p.StopBits(), sbTwoStopBits);
        EXPECT_EQ(p.DataBits(), dbSeven);
        EXPECT_EQ(p.EventChar(), '\xFF');
        EXPECT_TRUE(p.DiscardNull());
        EXPECT_EQ(p.Parity().Bits(), prEven);
        EXPECT_TRUE(p.Parity().Check());
        EXPECT_TRUE(p.Parity().Replace());
        EXPECT_EQ(p.Parity().ReplaceChar(), ' ');
        EXPECT_EQ(p.Buffer().InputSize(), 4096);
        EXPECT_EQ(p.Buffer().OutputSize(), 512);
        EXPECT_EQ(p.Timeouts().ReadInterval(), 10);
        EXPECT_EQ(p.Timeouts().ReadTotalConstant(), 20);
        EXPECT_EQ(p.Timeouts().ReadTotalMultiplier(), 30);
        EXPECT_EQ(p.Timeouts().WriteTotalConstant(), 40);
        EXPECT_EQ(p.Timeouts().WriteTotalMultiplier(), -1);
        const TComFlowControl& f = p.FlowControl();
        EXPECT_EQ(f.ControlRTS(), rtsToggle);
        EXPECT_EQ(f.ControlDTR(), dtrHandshake);
        EXPECT_TRUE(f.DSRSensitivity());
        EXPECT_TRUE(f.OutCTSFlow());
        EXPECT_TRUE(f.OutDSRFlow());
        EXPECT_TRUE(f.TxContinueOnXoff());
        EXPECT_TRUE(f.XonXoffIn());
        EXPECT_FALSE(f.XonXoffOut());
        EXPECT_EQ(f.XonChar(), 'A');
        EXPECT_EQ(f.XoffChar(), '#');
    }

    std::shared_ptr<FakeDeviceState> dev;
    std::shared_ptr<TComMemoryRegistry::Store> store;
    std::unique_ptr<StoragePort> port;
};

const char* kTerminalPath = "\\HKEY_LOCAL_MACHINE\\Software\\Kestrup";
const char* kTerminalKey = "HKEY_CURRENT_USER\\HKEY_LOCAL_MACHINE\\SOFTWARE\\KESTRUP\\COMPORT1";

}  // namespace

TEST(SettingsPath, RootAndKey) {
    ComSettingsKey k;
    ASSERT_TRUE(ParseSettingsPath("\\HKEY_LOCAL_MACHINE\\Software\\Kestrup", "ComPort1", k));
    EXPECT_EQ(k.root, rrCurrentUser);  // the empty root word
    EXPECT_EQ(k.key, "HKEY_LOCAL_MACHINE\\Software\\Kestrup\\ComPort1");
    ASSERT_TRUE(ParseSettingsPath("hkey_local_machine\\Software\\X\\", "P", k));
    EXPECT_EQ(k.root, rrLocalMachine);
    EXPECT_EQ(k.key, "Software\\X\\P");
    ASSERT_TRUE(ParseSettingsPath("HKEY_CURRENT_USER\\Software", "P", k));
    EXPECT_EQ(k.root, rrCurrentUser);
    EXPECT_EQ(k.key, "Software\\P");
    ASSERT_TRUE(ParseSettingsPath("HKEY_CLASSES_ROOT\\A", "P", k));
    EXPECT_EQ(k.root, rrCurrentUser);
    ASSERT_TRUE(ParseSettingsPath("HKEY_CURRENT_USER\\", "P", k));
    EXPECT_EQ(k.key, "P");  // a bare root keeps the name directly below it
    EXPECT_FALSE(ParseSettingsPath("Software", "P", k));
}

TEST_F(Storage, BasicGroupWritesItsKeysOnly) {
    port->SetBaudRate(br38400);
    port->StoreSettings(false, kTerminalPath);
    const auto& values = Key(kTerminalKey);
    EXPECT_EQ(values.size(), 6u);
    EXPECT_EQ(Text(values.at("PORT")), "COM1");
    EXPECT_EQ(Text(values.at("BAUDRATE")), "38400");
    EXPECT_EQ(Text(values.at("STOPBITS")), "1");
    EXPECT_EQ(Text(values.at("DATABITS")), "8");
    EXPECT_EQ(Text(values.at("PARITY")), "None");
    EXPECT_EQ(Text(values.at("FLOWCONTROL")), "None");
    EXPECT_EQ(values.count("CUSTOMBAUDRATE"), 0u);
}

TEST_F(Storage, RegistryRoundTripOfEveryGroup) {
    SetNonDefaults(*port);
    port->StoreSettings(false, "HKEY_LOCAL_MACHINE\\Software\\Test");
    const auto& values = Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\TEST\\COMPORT1");
    EXPECT_EQ(values.size(), 29u);
    EXPECT_EQ(std::get<int>(values.at("CUSTOMBAUDRATE")), 250000);
    EXPECT_EQ(std::get<int>(values.at("TIMEOUTS.WRITETOTALMULTIPLIER")), -1);
    EXPECT_EQ(Text(values.at("EVENTCHAR")), "#255");
    EXPECT_EQ(Text(values.at("PARITY.REPLACECHAR")), "#32");
    EXPECT_EQ(Text(values.at("FLOWCONTROL")), "Custom");
    EXPECT_EQ(Text(values.at("FLOWCONTROL.XOFFCHAR")), "#");
    EXPECT_EQ(Text(values.at("DISCARDNULL")), "Yes");

    auto fresh = NewPort();
    fresh->StoredProps = port->StoredProps;
    fresh->LoadSettings(false, "HKEY_LOCAL_MACHINE\\Software\\Test");
    ExpectNonDefaults(*fresh);
}

TEST_F(Storage, IniRoundTripOfEveryGroup) {
    SetNonDefaults(*port);
    port->StoreSettings(true, "port.ini");
    const std::string& text = port->iniFiles["port.ini"];
    EXPECT_NE(text.find("[ComPort1]"), std::string::npos);
    EXPECT_NE(text.find("Buffer.InputSize=4096"), std::string::npos);
    EXPECT_NE(text.find("CustomBaudRate=250000"), std::string::npos);

    auto fresh = NewPort();
    fresh->iniFiles = port->iniFiles;
    fresh->StoredProps = port->StoredProps;
    fresh->LoadSettings(true, "port.ini");
    ExpectNonDefaults(*fresh);
}

TEST_F(Storage, IniLoadKeepsValuesThatAreMissingOrUnreadable) {
    port->SetBaudRate(br57600);
    port->Buffer().SetInputSize(2048);
    port->StoredProps = {spBasic, spBuffer};
    port->iniFiles["a.ini"] = "[ComPort1]\r\nPort=COM9\r\nBuffer.InputSize=lots\r\n";
    port->LoadSettings(true, "a.ini");
    EXPECT_EQ(port->Port(), "COM9");
    EXPECT_EQ(port->BaudRate(), br57600);
    EXPECT_EQ(port->Buffer().InputSize(), 2048);
    EXPECT_EQ(port->Buffer().OutputSize(), 1024);
}

TEST_F(Storage, IniCustomSpeedDefaultsTo9600) {
    port->SetCustomBaudRate(1234);
    port->iniFiles["a.ini"] = "[ComPort1]\r\nBaudRate=Custom\r\n";
    port->LoadSettings(true, "a.ini");
    EXPECT_EQ(port->BaudRate(), brCustom);
    EXPECT_EQ(port->CustomBaudRate(), 9600);
}

TEST_F(Storage, FlowControlFlagsOverrideTheSummary) {
    port->iniFiles["a.ini"] = "[ComPort1]\r\nFlowControl=Hardware\r\nFlowControl.OutCTSFlow=No\r\n";
    port->StoredProps = {spBasic, spFlowControl};
    port->LoadSettings(true, "a.ini");
    EXPECT_EQ(port->FlowControl().ControlRTS(), rtsHandshake);
    EXPECT_FALSE(port->FlowControl().OutCTSFlow());
    EXPECT_EQ(port->FlowControl().FlowControl(), fcCustom);
}

TEST_F(Storage, RegistryLoadKeepsTheCurrentTextWhereAValueIsMissing) {
    port->SetPort("COM4");
    port->SetBaudRate(br115200);
    port->LoadSettings(false, kTerminalPath);  // first start: no stored key
    EXPECT_EQ(port->Port(), "COM4");
    EXPECT_EQ(port->BaudRate(), br115200);
    EXPECT_EQ(store->keys.count(kTerminalKey), 1u);  // the empty key was created
}

TEST_F(Storage, RegistryLoadFailsOnAMissingIntegerAfterSettingTheEarlierKeys) {
    store->keys[kTerminalKey] = {{"PORT", std::string("COM3")}, {"BAUDRATE", std::string("Custom")}};
    try {
        port->LoadSettings(false, kTerminalPath);
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 17);
        EXPECT_STREQ(e.what(), "Failed to load settings");
    }
    EXPECT_EQ(port->Port(), "COM3");
    EXPECT_EQ(port->BaudRate(), brCustom);
}

TEST_F(Storage, LoadOnAnOpenPortAppliesOnceWhenItEnds) {
    port->OpenPort();
    dev->log.clear();
    store->keys[kTerminalKey] = {
        {"BAUDRATE", std::string("19200")}, {"PARITY", std::string("Odd")}, {"DATABITS", std::string("7")}};
    port->LoadSettings(false, kTerminalPath);
    EXPECT_EQ(dev->log, (Lines{"SetupComm 1024 1024", "SetCommState 19200", "SetCommTimeouts"}));
    EXPECT_EQ(dev->lastDcb.ByteSize, 7);
    EXPECT_EQ(dev->lastDcb.Parity, 1);

    dev->log.clear();
    port->StoredProps = {};
    port->LoadSettings(false, kTerminalPath);  // nothing read, still applied
    EXPECT_EQ(dev->log.size(), 3u);
}

TEST_F(Storage, LoadOfANewPortNameReopensAtOnce) {
    port->OpenPort();
    dev->log.clear();
    store->keys[kTerminalKey] = {{"PORT", std::string("COM5")}};
    port->LoadSettings(false, kTerminalPath);
    EXPECT_EQ(dev->Calls({"Open", "Close"}), (Lines{"Close", "Open \\\\.\\COM5"}));
    EXPECT_TRUE(port->Connected());
}

TEST_F(Storage, StoreFailuresBecomeCode16) {
    try {
        port->StoreSettings(false, "NoBackslash");
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 16);
        EXPECT_STREQ(e.what(), "Failed to store settings");
    }
    store->failWrites = true;
    EXPECT_THROW(port->StoreSettings(false, kTerminalPath), EComPort);
    port->failIni = true;
    EXPECT_THROW(port->StoreSettings(true, "x.ini"), EComPort);
    std::vector<int> codes;
    port->OnException = [&](TObject*, TComExceptions k, const std::string&, int64_t, const std::string&) {
        codes.push_back(k + 1);
    };
    port->StoreSettings(true, "x.ini");
    EXPECT_EQ(codes, std::vector<int>{16});
}

TEST_F(Storage, PathWithoutKeyLoadsNothing) {
    port->SetPort("COM8");
    port->LoadSettings(false, "NoBackslash");
    EXPECT_EQ(port->Port(), "COM8");
    port->StoredProps = {spBuffer};
    EXPECT_THROW(port->LoadSettings(false, "NoBackslash"), EComPort);
}

TEST(NativeStorage, IniFileOnDiskRoundTrip) {
    const std::string path = (std::filesystem::temp_directory_path() / "kestrup_serial_test.ini").string();
    std::remove(path.c_str());
    TComPort a(nullptr, std::make_unique<FakeComDevice>(std::make_shared<FakeDeviceState>()));
    a.SetName("ComPort1");
    a.SetBaudRate(br2400);
    a.Parity().SetBits(prMark);
    a.StoreSettings(true, path);
    TComPort b(nullptr, std::make_unique<FakeComDevice>(std::make_shared<FakeDeviceState>()));
    b.SetName("ComPort1");
    b.LoadSettings(true, path);
    EXPECT_EQ(b.BaudRate(), br2400);
    EXPECT_EQ(b.Parity().Bits(), prMark);
    std::remove(path.c_str());
}
