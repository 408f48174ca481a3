// The port's settings loader fed any ini file or registry file. A load either succeeds or raises
// the load error; what it loads stores and loads back to the same settings.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/IniFiles.h"
#include "platform/win/Registry.h"
#include "serial/CPort.h"

namespace {

std::string Folder() {
    static const std::string folder = [] {
        std::string made = fuzz::NewFolder("port-settings");
        win::SetRegistryFolder(String(made));
        return made;
    }();
    return folder;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

struct Snapshot {
    String port;
    int baud, custom, stop, data, parity, check, replace, replaceChar, eventChar, discard;
    int in, out, ri, rc, rm, wc, wm;
    int rts, dtr, dsrSens, cts, dsr, txCont, xin, xout, xon, xoff;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(TComPort& p) {
    const TComParity* pa = p.Parity();
    const TComTimeouts* t = p.Timeouts();
    const TComFlowControl* f = p.FlowControl();
    return {p.Port(), p.BaudRate(), p.CustomBaudRate(), p.StopBits(), p.DataBits(), pa->Bits(),
            pa->Check(), pa->Replace(), pa->ReplaceChar(), p.EventChar(), p.DiscardNull(),
            p.Buffer()->InputSize(), p.Buffer()->OutputSize(), t->ReadInterval(), t->ReadTotalConstant(),
            t->ReadTotalMultiplier(), t->WriteTotalConstant(), t->WriteTotalMultiplier(), f->ControlRTS(),
            f->ControlDTR(), f->DSRSensitivity(), f->OutCTSFlow(), f->OutDSRFlow(), f->TxContinueOnXoff(),
            f->XonXoffIn(), f->XonXoffOut(), f->XonChar(), f->XoffChar()};
}

// The store and load steps on an ini object in memory: a file store writes the file once per key.
struct Port : TComPort {
    using TComPort::TComPort;
    using TComPort::LoadFromIniFile;
    using TComPort::StoreToIniFile;
};

constexpr TStoredProps kAll{spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string folder = Folder();
    // The first byte picks the store; the rest is its file.
    bool registry = data[0] & 1;
    std::string ini = folder + "/settings.ini";
    String from = registry ? String(u"HKEY_CURRENT_USER\\Software\\Fuzz") : String(ini);
    WriteFile(registry ? folder + "/registry-HKEY_CURRENT_USER.ini" : ini, data + 1, size - 1);

    Port port(nullptr);
    port.SetName(u"ComPort1");
    port.SetStoredProps(kAll);
    try {
        port.LoadSettings(registry ? stRegistry : stIniFile, from);
    } catch (const EComPort& e) {
        if (e.Code() != ComErrorCode(CE_LoadFailed)) std::abort();
        return 0;
    }
    // What was loaded survives a store and a load.
    TMemIniFile back(String(folder + "/never-written.ini"));
    port.StoreToIniFile(back);
    Port again(nullptr);
    again.SetName(u"ComPort1");
    again.SetStoredProps(kAll);
    again.LoadFromIniFile(back);
    if (!(Take(port) == Take(again))) std::abort();
    return 0;
}
