// Storing and loading port settings in ini files and the registry.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Registry.h"
#include "serial/tests/PortTestUtil.h"

using namespace porttest;
namespace fs = std::filesystem;

namespace {

class PortStore : public PortTest {
protected:
    fs::path dir = fs::temp_directory_path() / ("portstore-" + std::to_string(::getpid()));
    String iniName = String((dir / "app.ini").string());

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        win::SetRegistryFolder(String((dir / "registry").string()));
        port->SetName(u"ComPort1");
    }
    void TearDown() override {
        win::SetRegistryFolder(String());
        fs::remove_all(dir);
        PortTest::TearDown();
    }

    void WriteIni(const std::string& text) { std::ofstream(dir / "app.ini") << "[ComPort1]\n" << text; }
    std::vector<std::string> Keys() {
        TMemIniFile ini(iniName);
        TStringList keys;
        ini.ReadSection(u"ComPort1", &keys);
        std::vector<std::string> out;
        for (int i = 0; i < keys.Count(); ++i) out.push_back(keys[i].ToUtf8());
        return out;
    }
    std::string Value(const char* key) { return TMemIniFile(iniName).ReadString(u"ComPort1", String(key), u"<none>").ToUtf8(); }

    static constexpr TStoredProps AllGroups{spBasic, spOthers, spParity, spBuffer, spTimeouts, spFlowControl};

    // Every setting away from its default.
    static void SetEverything(TCustomComPort& p) {
        p.SetPort(u"ttyUSB3");
        p.SetBaudRate(brCustom);
        p.SetCustomBaudRate(250000);
        p.SetStopBits(sbTwoStopBits);
        p.SetDataBits(dbSeven);
        p.Parity()->SetBits(prMark);
        p.SetEventChar(u'\r');
        p.SetDiscardNull(true);
        p.Parity()->SetCheck(true);
        p.Parity()->SetReplace(true);
        p.Parity()->SetReplaceChar(u'?');
        p.Buffer()->SetOutputSize(2048);
        p.Buffer()->SetInputSize(4096);
        p.Timeouts()->SetReadInterval(5);
        p.Timeouts()->SetReadTotalConstant(6);
        p.Timeouts()->SetReadTotalMultiplier(7);
        p.Timeouts()->SetWriteTotalConstant(8);
        p.Timeouts()->SetWriteTotalMultiplier(9);
        p.FlowControl()->SetControlRTS(rtsToggle);
        p.FlowControl()->SetControlDTR(dtrHandshake);
        p.FlowControl()->SetDSRSensitivity(true);
        p.FlowControl()->SetOutCTSFlow(true);
        p.FlowControl()->SetOutDSRFlow(true);
        p.FlowControl()->SetTxContinueOnXoff(true);
        p.FlowControl()->SetXonXoffIn(true);
        p.FlowControl()->SetXonXoffOut(true);
        p.FlowControl()->SetXoffChar(u'S');
        p.FlowControl()->SetXonChar(u'Q');
    }
    static void ExpectEverything(TCustomComPort& p) {
        EXPECT_EQ(p.Port().ToUtf8(), "ttyUSB3");
        EXPECT_EQ(p.BaudRate(), brCustom);
        EXPECT_EQ(p.CustomBaudRate(), 250000);
        EXPECT_EQ(p.StopBits(), sbTwoStopBits);
        EXPECT_EQ(p.DataBits(), dbSeven);
        EXPECT_EQ(p.Parity()->Bits(), prMark);
        EXPECT_EQ(p.EventChar(), u'\r');
        EXPECT_TRUE(p.DiscardNull());
        EXPECT_TRUE(p.Parity()->Check());
        EXPECT_TRUE(p.Parity()->Replace());
        EXPECT_EQ(p.Parity()->ReplaceChar(), u'?');
        EXPECT_EQ(p.Buffer()->OutputSize(), 2048);
        EXPECT_EQ(p.Buffer()->InputSize(), 4096);
        EXPECT_EQ(p.Timeouts()->ReadInterval(), 5);
        EXPECT_EQ(p.Timeouts()->ReadTotalConstant(), 6);
        EXPECT_EQ(p.Timeouts()->ReadTotalMultiplier(), 7);
        EXPECT_EQ(p.Timeouts()->WriteTotalConstant(), 8);
        EXPECT_EQ(p.Timeouts()->WriteTotalMultiplier(), 9);
        EXPECT_EQ(p.FlowControl()->ControlRTS(), rtsToggle);
        EXPECT_EQ(p.FlowControl()->ControlDTR(), dtrHandshake);
        EXPECT_TRUE(p.FlowControl()->DSRSensitivity());
        EXPECT_TRUE(p.FlowControl()->OutCTSFlow());
        EXPECT_TRUE(p.FlowControl()->OutDSRFlow());
        EXPECT_TRUE(p.FlowControl()->TxContinueOnXoff());
        EXPECT_TRUE(p.FlowControl()->XonXoffIn());
        EXPECT_TRUE(p.FlowControl()->XonXoffOut());
        EXPECT_EQ(p.FlowControl()->XoffChar(), u'S');
        EXPECT_EQ(p.FlowControl()->XonChar(), u'Q');
    }
};

TEST_F(PortStore, BasicGroupWritesItsSixKeys) {
    port->SetBaudRate(br19200);
    port->StoreSettings(stIniFile, iniName);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Port", "BaudRate", "StopBits", "DataBits", "Parity", "FlowControl"}));
    EXPECT_EQ(Value("Port"), name.ToUtf8());
    EXPECT_EQ(Value("BaudRate"), "19200");
    EXPECT_EQ(Value("StopBits"), "1");
    EXPECT_EQ(Value("DataBits"), "8");
    EXPECT_EQ(Value("Parity"), "None");
    EXPECT_EQ(Value("FlowControl"), "None");

    port->SetBaudRate(brCustom);
    port->SetCustomBaudRate(250000);
    port->FlowControl()->SetControlDTR(dtrEnable);  // not part of the shorthand
    port->FlowControl()->SetOutCTSFlow(true);       // no shorthand fits any more
    port->StoreSettings(stIniFile, iniName);
    EXPECT_EQ(Value("BaudRate"), "Custom");
    EXPECT_EQ(Value("CustomBaudRate"), "250000");
    EXPECT_EQ(Value("FlowControl"), "Custom");
}

TEST_F(PortStore, EveryGroupRoundTripsThroughBothStores) {
    port->SetStoredProps(AllGroups);
    SetEverything(*port);
    port->StoreSettings(stIniFile, iniName);
    port->StoreSettings(stRegistry, u"HKEY_CURRENT_USER\\Software\\Bench");
    for (TStoreType type : {stIniFile, stRegistry}) {
        SCOPED_TRACE(type == stIniFile ? "ini" : "registry");
        TComPort fresh(nullptr);
        fresh.SetName(u"ComPort1");
        fresh.SetStoredProps(AllGroups);
        fresh.LoadSettings(type, type == stIniFile ? iniName : String(u"HKEY_CURRENT_USER\\Software\\Bench"));
        ExpectEverything(fresh);
    }
}

TEST_F(PortStore, CharactersAreStoredReadably) {
    port->SetStoredProps({spOthers, spFlowControl});
    port->SetEventChar(u' ');
    port->FlowControl()->SetXoffChar(u'\u00e9');  // above 127
    port->StoreSettings(stIniFile, iniName);
    EXPECT_EQ(Value("EventChar"), "#32");
    EXPECT_EQ(Value("FlowControl.XonChar"), "#17");
    EXPECT_EQ(Value("FlowControl.XoffChar"), "#233");
    EXPECT_EQ(Value("DiscardNull"), "No");
}

// One key's text and what loading it gives.
struct LoadCase {
    const char* key;
    const char* text;
    std::function<bool(TCustomComPort&)> holds;
};

TEST_F(PortStore, LoadedTextsConvertAsDocumented) {
    const std::vector<LoadCase> cases = {
        {"BaudRate", "115200", [](TCustomComPort& p) { return p.BaudRate() == br115200; }},
        {"BaudRate", "115201", [](TCustomComPort& p) { return p.BaudRate() == br9600; }},
        {"BaudRate", "custom", [](TCustomComPort& p) { return p.BaudRate() == brCustom && p.CustomBaudRate() == 9600; }},
        {"Parity", "none", [](TCustomComPort& p) { return p.Parity()->Bits() == prNone; }},
        {"Parity", "EVEN", [](TCustomComPort& p) { return p.Parity()->Bits() == prEven; }},
        {"StopBits", "1.5", [](TCustomComPort& p) { return p.StopBits() == sbOne5StopBits; }},
        {"FlowControl", "hardware",
         [](TCustomComPort& p) { return p.FlowControl()->ControlRTS() == rtsHandshake && p.FlowControl()->OutCTSFlow(); }},
        {"DiscardNull", "yes", [](TCustomComPort& p) { return p.DiscardNull(); }},
        {"DiscardNull", "Y", [](TCustomComPort& p) { return !p.DiscardNull(); }},
        {"Parity.ReplaceChar", "#63", [](TCustomComPort& p) { return p.Parity()->ReplaceChar() == u'?'; }},
        {"Parity.ReplaceChar", "?", [](TCustomComPort& p) { return p.Parity()->ReplaceChar() == u'?'; }},
        {"Parity.ReplaceChar", "#300", [](TCustomComPort& p) { return p.Parity()->ReplaceChar() == 44; }},
        {"Parity.ReplaceChar", "#x", [](TCustomComPort& p) { return p.Parity()->ReplaceChar() == 0; }},
        {"Parity.ReplaceChar", "#", [](TCustomComPort& p) { return p.Parity()->ReplaceChar() == u'#'; }},
        {"Parity.ReplaceChar", "", [](TCustomComPort& p) { return p.Parity()->ReplaceChar() == 0; }},
        {"FlowControl.ControlDTR", "handshake", [](TCustomComPort& p) { return p.FlowControl()->ControlDTR() == dtrHandshake; }},
        {"FlowControl.ControlRTS", "bogus", [](TCustomComPort& p) { return p.FlowControl()->ControlRTS() == rtsDisable; }},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text);
        TComPort p(nullptr);
        p.SetName(u"ComPort1");
        p.SetStoredProps(AllGroups);
        p.SetBaudRate(br1200);
        p.Parity()->SetBits(prOdd);
        p.Parity()->SetReplaceChar(u'x');
        p.SetDiscardNull(true);
        p.FlowControl()->SetControlRTS(rtsEnable);
        WriteIni(std::string(c.key) + "=" + c.text + "\n");
        p.LoadSettings(stIniFile, iniName);
        EXPECT_TRUE(c.holds(p));
    }
}

TEST_F(PortStore, MissingKeysKeepTheCurrentValues) {
    port->SetStoredProps(AllGroups);
    SetEverything(*port);
    WriteIni("FlowControl.XonChar=A\n");
    port->LoadSettings(stIniFile, iniName);
    EXPECT_EQ(port->FlowControl()->XonChar(), u'A');
    EXPECT_EQ(port->CustomBaudRate(), 9600);  // a custom rate without its number falls back
    port->FlowControl()->SetXonChar(u'Q');
    port->SetCustomBaudRate(250000);
    ExpectEverything(*port);  // OutDSRFlow among them

    // The registry gives no defaults for text, but a missing number keeps its value.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Sparse\\ComPort1", true));
    reg.WriteString(u"Port", u"ttyS1");
    port->LoadSettings(stRegistry, u"HKEY_CURRENT_USER\\Software\\Sparse");
    EXPECT_EQ(port->Port().ToUtf8(), "ttyS1");
    EXPECT_EQ(port->BaudRate(), br9600);
    EXPECT_FALSE(port->FlowControl()->OutDSRFlow());
    EXPECT_EQ(port->Buffer()->InputSize(), 4096);
    EXPECT_EQ(port->Timeouts()->WriteTotalMultiplier(), 9);
}

TEST_F(PortStore, RegistryPathChoosesRootAndKey) {
    port->SetBaudRate(br57600);
    port->StoreSettings(stRegistry, u"HKEY_LOCAL_MACHINE\\Software\\Test");
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Test\\ComPort1", false));
    EXPECT_EQ(reg.ReadString(u"BaudRate").ToUtf8(), "57600");
    TRegistry user;
    EXPECT_FALSE(user.KeyExists(u"Software\\Test\\ComPort1"));

    // The first part is compared without case; another first part keeps the default root.
    port->StoreSettings(stRegistry, u"hkey_current_user\\Software\\Test\\");
    port->StoreSettings(stRegistry, u"Elsewhere\\Software\\Other");
    EXPECT_TRUE(user.KeyExists(u"Software\\Test\\ComPort1"));
    EXPECT_TRUE(user.KeyExists(u"Software\\Other\\ComPort1"));
    // Nothing after the root: the key Name right below it.
    port->StoreSettings(stRegistry, u"HKEY_CURRENT_USER\\");
    EXPECT_TRUE(user.KeyExists(u"ComPort1"));
}

TEST_F(PortStore, FailuresAreErrors16And17) {
    struct Case {
        const char* what;
        std::function<void()> run;
        int code;
    };
    std::ofstream(dir / "file") << "x";
    String blocked = String((dir / "file" / "app.ini").string());
    const std::vector<Case> cases = {
        {"ini in a folder that cannot exist", [&] { port->StoreSettings(stIniFile, blocked); }, 16},
        {"registry path opening no key", [&] { port->StoreSettings(stRegistry, u"NoBackslash"); }, 16},
        {"registry path opening no key", [&] { port->LoadSettings(stRegistry, u"NoBackslash"); }, 17},
        {"ini that cannot be read", [&] { port->LoadSettings(stIniFile, String(dir.string())); }, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Raised r = Catch(c.run);
        EXPECT_EQ(r.Code, c.code);
        EXPECT_EQ(r.WinCode, -1);
        EXPECT_EQ(r.Message, c.code == 16 ? "Failed to store settings" : "Failed to load settings");
    }
    // The registry that cannot be written.
    win::SetRegistryFolder(String((dir / "file" / "registry").string()));
    EXPECT_EQ(Catch([&] { port->StoreSettings(stRegistry, u"HKEY_CURRENT_USER\\Software\\X"); }).Code, 16);

    // OnException takes the error instead.
    int taken = 0;
    port->OnException = [&](TPersistent*, TComExceptions e, const String&, int64_t, const String&) {
        taken = static_cast<int>(e) + 1;
    };
    port->LoadSettings(stRegistry, u"NoBackslash");
    EXPECT_EQ(taken, 17);
}

TEST_F(PortStore, LoadingReachesAnOpenDeviceOnce) {
    port->SetStoredProps(AllGroups);
    port->Open();
    WriteIni("BaudRate=19200\nDataBits=7\nParity=Even\nStopBits=2\nFlowControl.OutCTSFlow=Yes\n");
    sim->ClearCalls();
    port->LoadSettings(stIniFile, iniName);
    EXPECT_EQ(sim->CallCount("SetCommState"), 1u);
    DCB d = sim->State();
    EXPECT_EQ(d.BaudRate, 19200u);
    EXPECT_EQ(d.ByteSize, 7);
    EXPECT_EQ(d.Parity, 2);
    EXPECT_EQ(d.StopBits, 2);
    port->Close();
}

// The device takes one byte per character: a wider character in a settings file is a load error,
// not a character cut to another one (or to NUL on its way back from a store).
TEST_F(PortStore, ACharacterBeyondOneByteIsALoadError) {
    fs::path fixture = DataFile("eventchar-above-byte.ini");
    ASSERT_FALSE(fixture.empty());
    fs::copy_file(fixture, dir / "app.ini", fs::copy_options::overwrite_existing);
    port->SetStoredProps(AllGroups);
    EXPECT_EQ(Catch([&] { port->LoadSettings(stIniFile, iniName); }).Code, CE_LoadFailed + 1);
    EXPECT_EQ(port->EventChar(), 0);

    for (const char16_t* key : {u"EventChar", u"Parity.ReplaceChar", u"FlowControl.XonChar", u"FlowControl.XoffChar"}) {
        SCOPED_TRACE(String(key).ToUtf8());
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Software\\Wide\\ComPort1", true));
        reg.WriteString(key, u"\u0100");
        TComPort p(nullptr);
        p.SetName(u"ComPort1");
        p.SetStoredProps(AllGroups);
        EXPECT_EQ(Catch([&] { p.LoadSettings(stRegistry, u"HKEY_CURRENT_USER\\Software\\Wide"); }).Code, CE_LoadFailed + 1);
        // The last character of one byte loads as itself.
        reg.WriteString(key, u"\u00FF");
        EXPECT_EQ(Catch([&] { p.LoadSettings(stRegistry, u"HKEY_CURRENT_USER\\Software\\Wide"); }).Code, 0);
        reg.DeleteValue(key);
    }
}

}  // namespace
