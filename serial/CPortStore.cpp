// Storing and loading the port's settings, key by key, as readable text.
#include <memory>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Registry.h"
#include "serial/CPort.h"

namespace {

template <class E>
String NameText(void (*name)(E, String&), E value) {
    String s;
    name(value, s);
    return s;
}
String YesNo(bool value) {
    String s;
    YesNoText(value, s);
    return s;
}
String CharText(char16_t ch) {
    String s;
    CharSettingText(ch, s);
    return s;
}

// A character setting as loaded. The device takes one byte per character, so a text character
// beyond U+00FF is refused (the load fails) rather than cut to another character; "#n" keeps its
// cut to 8 bits.
char16_t LoadedChar(const String& text) {
    char16_t ch = CharSettingValue(text);
    if (ch > 0xFF) throw Exception(u"A port character setting lies outside 0..255");
    return ch;
}

// The two stores behind one face, so that both write and read the same keys in the same order.
class SettingsWriter {
public:
    virtual ~SettingsWriter() = default;
    virtual void Text(const String& key, const String& value) = 0;
    virtual void Integer(const String& key, int32_t value) = 0;
};

class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    // current is the setting's present value in its stored form: what a missing key gives.
    virtual String Text(const String& key, const String& current) = 0;
    virtual int32_t Integer(const String& key, int32_t current) = 0;
};

class IniWriter : public SettingsWriter {
public:
    IniWriter(TCustomIniFile& ini, const String& section) : FIni(ini), FSection(section) {}
    void Text(const String& key, const String& value) override { FIni.WriteString(FSection, key, value); }
    void Integer(const String& key, int32_t value) override { FIni.WriteInteger(FSection, key, value); }

private:
    TCustomIniFile& FIni;
    String FSection;
};

class IniReader : public SettingsReader {
public:
    IniReader(TCustomIniFile& ini, const String& section) : FIni(ini), FSection(section) {}
    String Text(const String& key, const String& current) override { return FIni.ReadString(FSection, key, current); }
    int32_t Integer(const String& key, int32_t current) override { return FIni.ReadInteger(FSection, key, current); }

private:
    TCustomIniFile& FIni;
    String FSection;
};

class RegistryWriter : public SettingsWriter {
public:
    explicit RegistryWriter(TRegistry& reg) : FReg(reg) {}
    void Text(const String& key, const String& value) override { FReg.WriteString(key, value); }
    void Integer(const String& key, int32_t value) override { FReg.WriteInteger(key, value); }

private:
    TRegistry& FReg;
};

class RegistryReader : public SettingsReader {
public:
    explicit RegistryReader(TRegistry& reg) : FReg(reg) {}
    // A missing text reads as empty, which the name conversions turn into their defaults.
    String Text(const String& key, const String&) override { return FReg.ReadString(key); }
    // A missing number keeps the present value: the registry's integer read has no default, and
    // a key written with fewer groups must not fail or zero the sizes and time-outs.
    int32_t Integer(const String& key, int32_t current) override {
        return FReg.ValueExists(key) ? FReg.ReadInteger(key) : current;
    }

private:
    TRegistry& FReg;
};

void Store(const TCustomComPort& port, SettingsWriter& w) {
    TStoredProps props = port.StoredProps();
    if (props.Contains(spBasic)) {
        w.Text(u"Port", port.Port());
        w.Text(u"BaudRate", NameText(BaudRateName, port.BaudRate()));
        if (port.BaudRate() == brCustom) w.Integer(u"CustomBaudRate", port.CustomBaudRate());
        w.Text(u"StopBits", NameText(StopBitsName, port.StopBits()));
        w.Text(u"DataBits", NameText(DataBitsName, port.DataBits()));
        w.Text(u"Parity", NameText(ParityName, port.Parity()->Bits()));
        w.Text(u"FlowControl", NameText(FlowControlName, port.FlowControl()->FlowControl()));
    }
    if (props.Contains(spOthers)) {
        w.Text(u"EventChar", CharText(port.EventChar()));
        w.Text(u"DiscardNull", YesNo(port.DiscardNull()));
    }
    if (props.Contains(spParity)) {
        TComParity* p = port.Parity();
        w.Text(u"Parity.Check", YesNo(p->Check()));
        w.Text(u"Parity.Replace", YesNo(p->Replace()));
        w.Text(u"Parity.ReplaceChar", CharText(p->ReplaceChar()));
    }
    if (props.Contains(spBuffer)) {
        w.Integer(u"Buffer.OutputSize", port.Buffer()->OutputSize());
        w.Integer(u"Buffer.InputSize", port.Buffer()->InputSize());
    }
    if (props.Contains(spTimeouts)) {
        TComTimeouts* t = port.Timeouts();
        w.Integer(u"Timeouts.ReadInterval", t->ReadInterval());
        w.Integer(u"Timeouts.ReadTotalConstant", t->ReadTotalConstant());
        w.Integer(u"Timeouts.ReadTotalMultiplier", t->ReadTotalMultiplier());
        w.Integer(u"Timeouts.WriteTotalConstant", t->WriteTotalConstant());
        w.Integer(u"Timeouts.WriteTotalMultiplier", t->WriteTotalMultiplier());
    }
    if (props.Contains(spFlowControl)) {
        TComFlowControl* f = port.FlowControl();
        w.Text(u"FlowControl.ControlRTS", NameText(RTSControlName, f->ControlRTS()));
        w.Text(u"FlowControl.ControlDTR", NameText(DTRControlName, f->ControlDTR()));
        w.Text(u"FlowControl.DSRSensitivity", YesNo(f->DSRSensitivity()));
        w.Text(u"FlowControl.OutCTSFlow", YesNo(f->OutCTSFlow()));
        w.Text(u"FlowControl.OutDSRFlow", YesNo(f->OutDSRFlow()));
        w.Text(u"FlowControl.TxContinueOnXoff", YesNo(f->TxContinueOnXoff()));
        w.Text(u"FlowControl.XonXoffIn", YesNo(f->XonXoffIn()));
        w.Text(u"FlowControl.XonXoffOut", YesNo(f->XonXoffOut()));
        w.Text(u"FlowControl.XoffChar", CharText(f->XoffChar()));
        w.Text(u"FlowControl.XonChar", CharText(f->XonChar()));
    }
}

// Every value goes through the port's own setters, in the order of the keys.
void Load(TCustomComPort& port, SettingsReader& r) {
    TStoredProps props = port.StoredProps();
    if (props.Contains(spBasic)) {
        port.SetPort(r.Text(u"Port", port.Port()));
        port.SetBaudRate(BaudRateFromName(r.Text(u"BaudRate", NameText(BaudRateName, port.BaudRate()))));
        if (port.BaudRate() == brCustom) port.SetCustomBaudRate(r.Integer(u"CustomBaudRate", 9600));
        port.SetStopBits(StopBitsFromName(r.Text(u"StopBits", NameText(StopBitsName, port.StopBits()))));
        port.SetDataBits(DataBitsFromName(r.Text(u"DataBits", NameText(DataBitsName, port.DataBits()))));
        port.Parity()->SetBits(ParityFromName(r.Text(u"Parity", NameText(ParityName, port.Parity()->Bits()))));
        port.FlowControl()->SetFlowControl(FlowControlFromName(
            r.Text(u"FlowControl", NameText(FlowControlName, port.FlowControl()->FlowControl()))));
    }
    if (props.Contains(spOthers)) {
        port.SetEventChar(LoadedChar(r.Text(u"EventChar", CharText(port.EventChar()))));
        port.SetDiscardNull(YesNoValue(r.Text(u"DiscardNull", YesNo(port.DiscardNull()))));
    }
    if (props.Contains(spParity)) {
        TComParity* p = port.Parity();
        p->SetCheck(YesNoValue(r.Text(u"Parity.Check", YesNo(p->Check()))));
        p->SetReplace(YesNoValue(r.Text(u"Parity.Replace", YesNo(p->Replace()))));
        p->SetReplaceChar(LoadedChar(r.Text(u"Parity.ReplaceChar", CharText(p->ReplaceChar()))));
    }
    if (props.Contains(spBuffer)) {
        TComBuffer* b = port.Buffer();
        b->SetOutputSize(r.Integer(u"Buffer.OutputSize", b->OutputSize()));
        b->SetInputSize(r.Integer(u"Buffer.InputSize", b->InputSize()));
    }
    if (props.Contains(spTimeouts)) {
        TComTimeouts* t = port.Timeouts();
        t->SetReadInterval(r.Integer(u"Timeouts.ReadInterval", t->ReadInterval()));
        t->SetReadTotalConstant(r.Integer(u"Timeouts.ReadTotalConstant", t->ReadTotalConstant()));
        t->SetReadTotalMultiplier(r.Integer(u"Timeouts.ReadTotalMultiplier", t->ReadTotalMultiplier()));
        t->SetWriteTotalConstant(r.Integer(u"Timeouts.WriteTotalConstant", t->WriteTotalConstant()));
        t->SetWriteTotalMultiplier(r.Integer(u"Timeouts.WriteTotalMultiplier", t->WriteTotalMultiplier()));
    }
    if (props.Contains(spFlowControl)) {
        TComFlowControl* f = port.FlowControl();
        f->SetControlRTS(RTSControlFromName(r.Text(u"FlowControl.ControlRTS", NameText(RTSControlName, f->ControlRTS()))));
        f->SetControlDTR(DTRControlFromName(r.Text(u"FlowControl.ControlDTR", NameText(DTRControlName, f->ControlDTR()))));
        f->SetDSRSensitivity(YesNoValue(r.Text(u"FlowControl.DSRSensitivity", YesNo(f->DSRSensitivity()))));
        f->SetOutCTSFlow(YesNoValue(r.Text(u"FlowControl.OutCTSFlow", YesNo(f->OutCTSFlow()))));
        f->SetOutDSRFlow(YesNoValue(r.Text(u"FlowControl.OutDSRFlow", YesNo(f->OutDSRFlow()))));
        f->SetTxContinueOnXoff(YesNoValue(r.Text(u"FlowControl.TxContinueOnXoff", YesNo(f->TxContinueOnXoff()))));
        f->SetXonXoffIn(YesNoValue(r.Text(u"FlowControl.XonXoffIn", YesNo(f->XonXoffIn()))));
        f->SetXonXoffOut(YesNoValue(r.Text(u"FlowControl.XonXoffOut", YesNo(f->XonXoffOut()))));
        f->SetXoffChar(LoadedChar(r.Text(u"FlowControl.XoffChar", CharText(f->XoffChar()))));
        f->SetXonChar(LoadedChar(r.Text(u"FlowControl.XonChar", CharText(f->XonChar()))));
    }
}

}  // namespace

void OpenSettingsKey(TRegistry& Registry, const String& Path, const String& Name) {
    size_t slash = Path.find(u'\\');
    if (slash == String::npos) return;
    String root = UpperCase(Path.substr(0, slash));
    if (root == u"HKEY_LOCAL_MACHINE")
        Registry.SetRootKey(HKEY_LOCAL_MACHINE);
    else if (root == u"HKEY_CURRENT_USER")
        Registry.SetRootKey(HKEY_CURRENT_USER);
    String key = Path.substr(slash + 1);
    if (key.empty() || key.back() != u'\\') key += u'\\';
    Registry.OpenKey(u"\\" + key + Name, true);
}

void TCustomComPort::StoreToRegistry(TRegistry& Reg) {
    RegistryWriter w(Reg);
    Store(*this, w);
}

void TCustomComPort::StoreToIniFile(TCustomIniFile& IniFile) {
    IniWriter w(IniFile, Name());
    Store(*this, w);
}

void TCustomComPort::LoadFromRegistry(TRegistry& Reg) {
    RegistryReader r(Reg);
    Load(*this, r);
}

void TCustomComPort::LoadFromIniFile(TCustomIniFile& IniFile) {
    IniReader r(IniFile, Name());
    Load(*this, r);
}

void TCustomComPort::StoreSettings(TStoreType StoreType, const String& StoreTo) {
    try {
        if (StoreType == stIniFile) {
            TIniFile ini(StoreTo);
            StoreToIniFile(ini);
        } else {
            TRegistry reg;
            OpenSettingsKey(reg, StoreTo, Name());
            StoreToRegistry(reg);
        }
    } catch (...) {
        // The cause is dropped: callers see the one error of a failed store.
        ReportComError(CE_StoreFailed, -1);
    }
}

void TCustomComPort::LoadSettings(TStoreType StoreType, const String& LoadFrom) {
    try {
        BeginUpdate();
        try {
            if (StoreType == stIniFile) {
                TIniFile ini(LoadFrom);
                LoadFromIniFile(ini);
            } else {
                TRegistry reg;
                OpenSettingsKey(reg, LoadFrom, Name());
                LoadFromRegistry(reg);
            }
        } catch (...) {
            // What was set before the failure still reaches the device.
            EndUpdate();
            throw;
        }
        EndUpdate();
    } catch (...) {
        ReportComError(CE_LoadFailed, -1);
    }
}
