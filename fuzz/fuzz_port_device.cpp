// Port settings applied to an open device: the bytes are a script of setter calls, assignments of
// settings objects (nil among them), update brackets, refused device calls and reopenings on a
// simulated device. After every step the device calls made are those the setters' rules name (a
// changed value re-applies its one step, an assignment always does, nothing inside a bracket, all
// three at its end), and the device holds the control block and time-outs that a second
// computation, written from the field tables, makes from the port's values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/win/CommSim.h"
#include "serial/CPort.h"

namespace {

enum Step { None, Line, Timeouts, Buffer, All };

const char* CallOf(Step s) {
    switch (s) {
        case Line: return "SetCommState";
        case Timeouts: return "SetCommTimeouts";
        case Buffer: return "SetupComm";
        default: return nullptr;
    }
}

// The limits come from the input size as the last line apply saw it: a buffer setter re-applies
// the buffer step alone.
DCB Expected(const TComPort& p, int inputSize) {
    static const DWORD rates[] = {0,     110,   300,   600,   1200,   2400,   4800,   9600,
                                  14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    const TComParity& parity = *p.Parity();
    const TComFlowControl& fc = *p.FlowControl();
    const bool replace = parity.Check() && parity.Replace();
    DCB d{};
    d.DCBlength = 28;
    d.BaudRate = p.BaudRate() == brCustom ? static_cast<DWORD>(p.CustomBaudRate()) : rates[p.BaudRate()];
    d.fBinary = 1;
    d.fParity = parity.Check();
    d.fOutxCtsFlow = fc.OutCTSFlow();
    d.fOutxDsrFlow = fc.OutDSRFlow();
    d.fDtrControl = static_cast<DWORD>(fc.ControlDTR());
    d.fDsrSensitivity = fc.DSRSensitivity();
    d.fTXContinueOnXoff = fc.TxContinueOnXoff();
    d.fOutX = fc.XonXoffOut();
    d.fInX = fc.XonXoffIn();
    d.fErrorChar = replace;
    d.fNull = p.DiscardNull();
    d.fRtsControl = static_cast<DWORD>(fc.ControlRTS());
    d.XonLim = d.XoffLim = static_cast<WORD>(inputSize / 4);
    d.ByteSize = static_cast<BYTE>(5 + p.DataBits());
    d.Parity = static_cast<BYTE>(parity.Bits());
    d.StopBits = static_cast<BYTE>(p.StopBits());
    d.XonChar = static_cast<char>(fc.XonChar() & 0xFF);
    d.XoffChar = static_cast<char>(fc.XoffChar() & 0xFF);
    d.ErrorChar = replace ? static_cast<char>(parity.ReplaceChar() & 0xFF) : 0;
    d.EvtChar = static_cast<char>(p.EventChar() & 0xFF);
    return d;
}

bool SameBlock(const DCB& a, const DCB& b) {
    return a.DCBlength == b.DCBlength && a.BaudRate == b.BaudRate && a.Flags == b.Flags && a.XonLim == b.XonLim &&
           a.XoffLim == b.XoffLim && a.ByteSize == b.ByteSize && a.Parity == b.Parity && a.StopBits == b.StopBits &&
           a.XonChar == b.XonChar && a.XoffChar == b.XoffChar && a.ErrorChar == b.ErrorChar &&
           a.EofChar == b.EofChar && a.EvtChar == b.EvtChar;
}

struct Run {
    std::shared_ptr<win::SimDevice> sim;
    std::unique_ptr<TComPort> port;
    int brackets = 0;
    // The step whose last apply failed stays different on the device until it is applied again.
    bool stale[5] = {};
    DWORD lastSetup = 0;
    int lineInputSize = 0;  // Buffer.InputSize at the last line apply that succeeded

    bool Applies() const { return port->Connected() && brackets == 0; }

    // Inside a bracket the device keeps what it had; its end applies everything.
    void Check() {
        if (!port->Connected() || brackets > 0) return;
        if (!stale[Line] && !SameBlock(sim->State(), Expected(*port, lineInputSize))) std::abort();
        COMMTIMEOUTS t{};
        if (!GetCommTimeouts(port->Handle(), &t)) std::abort();
        const TComTimeouts& e = *port->Timeouts();
        if (!stale[Timeouts] &&
            (t.ReadIntervalTimeout != static_cast<DWORD>(e.ReadInterval()) ||
             t.ReadTotalTimeoutMultiplier != static_cast<DWORD>(e.ReadTotalMultiplier()) ||
             t.ReadTotalTimeoutConstant != static_cast<DWORD>(e.ReadTotalConstant()) ||
             t.WriteTotalTimeoutMultiplier != static_cast<DWORD>(e.WriteTotalMultiplier()) ||
             t.WriteTotalTimeoutConstant != static_cast<DWORD>(e.WriteTotalConstant())))
            std::abort();
        if (!stale[Buffer] && lastSetup != static_cast<DWORD>(port->Buffer()->InputSize())) std::abort();
    }

    // Runs one step of the script; step is the apply step it runs, applies whether the setters'
    // rules ask for it. Answers the code of the error it raised (0 when none).
    template <class F>
    int Do(Step step, bool applies, F&& f) {
        sim->ClearCalls();
        const DCB before = sim->State();
        int failed = 0;
        try {
            f();
        } catch (const EComPort& e) {
            // Only an apply step fails, with its own error, and the device keeps what it had.
            failed = e.Code();
            const int code = step == Line ? 7 : step == Timeouts ? 8 : step == Buffer ? 9 : 0;
            if (step == All ? (failed < 7 || failed > 9) : failed != code) std::abort();
            if (failed == 7 && !SameBlock(sim->State(), before)) std::abort();
        }
        if (step == All || step == None) {
            if (step == None && !sim->Calls().empty()) std::abort();
            return failed;
        }
        const bool called = applies && Applies();
        for (Step s : {Line, Timeouts, Buffer})
            if (sim->CallCount(CallOf(s)) != (called && s == step ? 1u : 0u)) std::abort();
        if (called) stale[step] = failed != 0;
        if (called && step == Line && !failed) lineInputSize = port->Buffer()->InputSize();
        for (const auto& c : sim->Calls())
            if (c.name == "SetupComm" && !failed) lastSetup = c.argument;
        return failed;
    }

    // After all three steps ran at once (the end of a bracket, an open): buffer, line, time-outs,
    // each once, the sequence stopping at the first that failed.
    void AppliedAll(bool applies, int failed) {
        if (!applies) {
            for (Step s : {Line, Timeouts, Buffer})
                if (sim->CallCount(CallOf(s)) != 0) std::abort();
            return;
        }
        bool stopped = false;
        for (Step s : {Buffer, Line, Timeouts}) {
            if (stopped) {
                // Never reached: the device keeps what it had.
                if (sim->CallCount(CallOf(s)) != 0) std::abort();
                stale[s] = true;
                continue;
            }
            if (sim->CallCount(CallOf(s)) != 1u) std::abort();
            const int code = s == Line ? 7 : s == Timeouts ? 8 : 9;
            stale[s] = failed == code;
            if (s == Line && !stale[s]) lineInputSize = port->Buffer()->InputSize();
            if (s == Buffer && !stale[s])
                for (const auto& c : sim->Calls())
                    if (c.name == "SetupComm") lastSetup = c.argument;
            stopped = failed == code;
        }
        if (failed && !stopped) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int serial = 0;
    const String name = String("FUZZPORT" + std::to_string(++serial));
    Run r;
    r.sim = win::SimDevice::Register(name);
    r.port = std::make_unique<TComPort>(nullptr);
    TComPort& p = *r.port;
    p.SetPort(name);
    p.SetEvents({});
    r.sim->ClearCalls();
    if (r.Do(All, false, [&] { p.Open(); }) || !p.Connected()) std::abort();
    r.AppliedAll(true, 0);
    r.Check();

    FuzzedDataProvider in(data, size);
    TComPort other(nullptr);  // the source of assignments
    while (in.remaining_bytes() > 0) {
        const int op = in.ConsumeIntegralInRange<int>(0, 39);
        const int value = in.ConsumeIntegral<int16_t>();
        const auto ch = static_cast<char16_t>(in.ConsumeIntegral<uint16_t>());
        TComParity& pa = *p.Parity();
        TComFlowControl& fc = *p.FlowControl();
        TComTimeouts& t = *p.Timeouts();
        switch (op) {
            case 0: {
                auto v = static_cast<TBaudRate>((value & 0x7FFF) % 16);
                r.Do(Line, v != p.BaudRate(), [&] { p.SetBaudRate(v); });
                break;
            }
            case 1: r.Do(Line, value != p.CustomBaudRate(), [&] { p.SetCustomBaudRate(value); }); break;
            case 2: {
                auto v = static_cast<TDataBits>(value & 3);
                r.Do(Line, v != p.DataBits(), [&] { p.SetDataBits(v); });
                break;
            }
            case 3: {
                auto v = static_cast<TStopBits>((value & 0x7FFF) % 3);
                r.Do(Line, v != p.StopBits(), [&] { p.SetStopBits(v); });
                break;
            }
            case 4: {
                auto v = static_cast<TParityBits>((value & 0x7FFF) % 5);
                r.Do(Line, v != pa.Bits(), [&] { pa.SetBits(v); });
                break;
            }
            case 5: r.Do(Line, (value & 1) != pa.Check(), [&] { pa.SetCheck(value & 1); }); break;
            case 6: r.Do(Line, (value & 1) != pa.Replace(), [&] { pa.SetReplace(value & 1); }); break;
            case 7: r.Do(Line, ch != pa.ReplaceChar(), [&] { pa.SetReplaceChar(ch); }); break;
            case 8: r.Do(Line, ch != p.EventChar(), [&] { p.SetEventChar(ch); }); break;
            case 9: r.Do(Line, (value & 1) != p.DiscardNull(), [&] { p.SetDiscardNull(value & 1); }); break;
            case 10: {
                // The shorthand always re-applies, fcCustom included.
                auto v = static_cast<TFlowControl>(value & 3);
                r.Do(Line, true, [&] { fc.SetFlowControl(v); });
                break;
            }
            case 11: {
                auto v = static_cast<TDTRFlowControl>((value & 0x7FFF) % 3);
                r.Do(Line, v != fc.ControlDTR(), [&] { fc.SetControlDTR(v); });
                break;
            }
            case 12: {
                auto v = static_cast<TRTSFlowControl>(value & 3);
                r.Do(Line, v != fc.ControlRTS(), [&] { fc.SetControlRTS(v); });
                break;
            }
            case 13: r.Do(Line, (value & 1) != fc.OutCTSFlow(), [&] { fc.SetOutCTSFlow(value & 1); }); break;
            case 14: r.Do(Line, (value & 1) != fc.OutDSRFlow(), [&] { fc.SetOutDSRFlow(value & 1); }); break;
            case 15: r.Do(Line, (value & 1) != fc.XonXoffIn(), [&] { fc.SetXonXoffIn(value & 1); }); break;
            case 16: r.Do(Line, (value & 1) != fc.XonXoffOut(), [&] { fc.SetXonXoffOut(value & 1); }); break;
            case 17: r.Do(Line, (value & 1) != fc.DSRSensitivity(), [&] { fc.SetDSRSensitivity(value & 1); }); break;
            case 18: r.Do(Line, (value & 1) != fc.TxContinueOnXoff(), [&] { fc.SetTxContinueOnXoff(value & 1); }); break;
            case 19: r.Do(Line, ch != fc.XonChar(), [&] { fc.SetXonChar(ch); }); break;
            case 20: r.Do(Line, ch != fc.XoffChar(), [&] { fc.SetXoffChar(ch); }); break;
            case 21:
            case 22: {
                // An odd positive size is stored one less.
                const int stored = value > 0 && value % 2 ? value - 1 : value;
                TComBuffer& b = *p.Buffer();
                if (op == 21) r.Do(Buffer, stored != b.InputSize(), [&] { b.SetInputSize(value); });
                else r.Do(Buffer, stored != b.OutputSize(), [&] { b.SetOutputSize(value); });
                if ((op == 21 ? b.InputSize() : b.OutputSize()) != stored) std::abort();
                break;
            }
            case 23: r.Do(Timeouts, value != t.ReadInterval(), [&] { t.SetReadInterval(value); }); break;
            case 24: r.Do(Timeouts, value != t.ReadTotalMultiplier(), [&] { t.SetReadTotalMultiplier(value); }); break;
            case 25: r.Do(Timeouts, value != t.ReadTotalConstant(), [&] { t.SetReadTotalConstant(value); }); break;
            case 26: r.Do(Timeouts, value != t.WriteTotalMultiplier(), [&] { t.SetWriteTotalMultiplier(value); }); break;
            case 27: r.Do(Timeouts, value != t.WriteTotalConstant(), [&] { t.SetWriteTotalConstant(value); }); break;
            case 28:
                p.BeginUpdate();
                ++r.brackets;
                break;
            case 29: {
                const bool last = r.brackets == 1;
                const int failed = r.Do(All, false, [&] { p.EndUpdate(); });
                if (r.brackets > 0) --r.brackets;
                r.AppliedAll(last && p.Connected(), failed);
                break;
            }
            // Assignments copy every field and always re-apply.
            case 30:
                other.Parity()->SetBits(static_cast<TParityBits>((value & 0x7FFF) % 5));
                other.Parity()->SetCheck(value & 8);
                other.Parity()->SetReplace(value & 16);
                other.Parity()->SetReplaceChar(ch);
                r.Do(Line, true, [&] { p.SetParity(other.Parity()); });
                break;
            case 31:
                other.FlowControl()->SetFlowControl(static_cast<TFlowControl>(value & 3));
                other.FlowControl()->SetControlDTR(static_cast<TDTRFlowControl>(((value >> 2) & 3) % 3));
                other.FlowControl()->SetOutDSRFlow(value & 16);
                other.FlowControl()->SetXonChar(ch);
                other.FlowControl()->SetXoffChar(static_cast<char16_t>(ch >> 1));
                r.Do(Line, true, [&] { p.SetFlowControl(other.FlowControl()); });
                break;
            case 32:
                other.Buffer()->SetInputSize(value);
                other.Buffer()->SetOutputSize(ch);
                r.Do(Buffer, true, [&] { p.SetBuffer(other.Buffer()); });
                break;
            case 33:
                other.Timeouts()->SetReadInterval(value);
                other.Timeouts()->SetWriteTotalConstant(ch);
                r.Do(Timeouts, true, [&] { p.SetTimeouts(other.Timeouts()); });
                break;
            case 34: {
                // nil is refused and changes nothing: no device call either.
                bool refused = false;
                r.Do(None, false, [&] {
                    try {
                        switch (value & 3) {
                            case 0: p.SetParity(nullptr); break;
                            case 1: p.SetFlowControl(nullptr); break;
                            case 2: p.SetBuffer(nullptr); break;
                            default: p.SetTimeouts(nullptr); break;
                        }
                    } catch (const EConvertError&) {
                        refused = true;
                    }
                });
                if (!refused) std::abort();
                break;
            }
            case 35:
            case 36:
            case 37: {
                // The device refuses the next call of one step.
                const Step s = op == 35 ? Line : op == 36 ? Timeouts : Buffer;
                r.sim->FailCall(CallOf(s), 31);
                break;
            }
            case 38:
                if (p.Connected()) {
                    p.Close();
                } else {
                    // A failed apply closes the device again; inside a bracket nothing is applied.
                    const int failed = r.Do(All, false, [&] { p.Open(); });
                    if (p.Connected() == (failed != 0)) std::abort();
                    r.AppliedAll(r.brackets == 0, failed);
                    if (r.brackets > 0) r.stale[Line] = r.stale[Timeouts] = r.stale[Buffer] = true;
                }
                break;
            default:
                // Withdraw the refusals still pending.
                for (Step s : {Line, Timeouts, Buffer}) r.sim->FailCall(CallOf(s), 0);
                break;
        }
        r.Check();
    }
    return 0;
}
