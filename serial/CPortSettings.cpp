// The settings objects and the three steps that copy the settings into the open device.
#include "serial/CPort.h"

// The platform hands nil to the target's own AssignTo, which for these classes copies the object
// onto itself: a nil setting would pass as accepted. Each refuses it as the platform refuses nil.
void TComTimeouts::Assign(const TPersistent* Source) {
    if (!Source) TPersistent::AssignTo(this);
    TPersistent::Assign(Source);
}
void TComFlowControl::Assign(const TPersistent* Source) {
    if (!Source) TPersistent::AssignTo(this);
    TPersistent::Assign(Source);
}
void TComParity::Assign(const TPersistent* Source) {
    if (!Source) TPersistent::AssignTo(this);
    TPersistent::Assign(Source);
}
void TComBuffer::Assign(const TPersistent* Source) {
    if (!Source) TPersistent::AssignTo(this);
    TPersistent::Assign(Source);
}

// ---- TComTimeouts ----

void TComTimeouts::Set(int& field, int value) {
    if (field == value) return;
    field = value;
    if (FComPort) FComPort->ApplyTimeoutSettings();
}

void TComTimeouts::SetReadInterval(int value) { Set(FReadInterval, value); }
void TComTimeouts::SetReadTotalMultiplier(int value) { Set(FReadTotalM, value); }
void TComTimeouts::SetReadTotalConstant(int value) { Set(FReadTotalC, value); }
void TComTimeouts::SetWriteTotalMultiplier(int value) { Set(FWriteTotalM, value); }
void TComTimeouts::SetWriteTotalConstant(int value) { Set(FWriteTotalC, value); }

void TComTimeouts::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TComTimeouts*>(Dest);
    if (!d) return TPersistent::AssignTo(Dest);
    d->FReadInterval = FReadInterval;
    d->FReadTotalM = FReadTotalM;
    d->FReadTotalC = FReadTotalC;
    d->FWriteTotalM = FWriteTotalM;
    d->FWriteTotalC = FWriteTotalC;
}

// ---- TComFlowControl ----

template <class T>
void TComFlowControl::Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TComFlowControl::Changed() {
    if (FComPort) FComPort->ApplyLineSettings();
}

void TComFlowControl::SetOutCTSFlow(bool value) { Set(FOutCTSFlow, value); }
void TComFlowControl::SetOutDSRFlow(bool value) { Set(FOutDSRFlow, value); }
void TComFlowControl::SetControlDTR(TDTRFlowControl value) { Set(FControlDTR, value); }
void TComFlowControl::SetControlRTS(TRTSFlowControl value) { Set(FControlRTS, value); }
void TComFlowControl::SetXonXoffOut(bool value) { Set(FXonXoffOut, value); }
void TComFlowControl::SetXonXoffIn(bool value) { Set(FXonXoffIn, value); }
void TComFlowControl::SetDSRSensitivity(bool value) { Set(FDSRSensitivity, value); }
void TComFlowControl::SetTxContinueOnXoff(bool value) { Set(FTxContinueOnXoff, value); }
void TComFlowControl::SetXonChar(char16_t value) { Set(FXonChar, value); }
void TComFlowControl::SetXoffChar(char16_t value) { Set(FXoffChar, value); }

TFlowControl TComFlowControl::FlowControl() const {
    if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcHardware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut) return fcSoftware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value) {
    if (value != fcCustom) {
        FControlRTS = rtsDisable;
        FOutCTSFlow = false;
        FXonXoffIn = false;
        FXonXoffOut = false;
        if (value == fcHardware) {
            FControlRTS = rtsHandshake;
            FOutCTSFlow = true;
        } else if (value == fcSoftware) {
            FXonXoffIn = true;
            FXonXoffOut = true;
        }
    }
    Changed();
}

void TComFlowControl::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TComFlowControl*>(Dest);
    if (!d) return TPersistent::AssignTo(Dest);
    d->FOutCTSFlow = FOutCTSFlow;
    d->FOutDSRFlow = FOutDSRFlow;
    d->FControlDTR = FControlDTR;
    d->FControlRTS = FControlRTS;
    d->FXonXoffOut = FXonXoffOut;
    d->FXonXoffIn = FXonXoffIn;
    d->FDSRSensitivity = FDSRSensitivity;
    d->FTxContinueOnXoff = FTxContinueOnXoff;
    d->FXonChar = FXonChar;
    d->FXoffChar = FXoffChar;
}

// ---- TComParity ----

template <class T>
void TComParity::Set(T& field, T value) {
    if (field == value) return;
    field = value;
    if (FComPort) FComPort->ApplyLineSettings();
}

void TComParity::SetBits(TParityBits value) { Set(FBits, value); }
void TComParity::SetCheck(bool value) { Set(FCheck, value); }
void TComParity::SetReplace(bool value) { Set(FReplace, value); }
void TComParity::SetReplaceChar(char16_t value) { Set(FReplaceChar, value); }

void TComParity::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TComParity*>(Dest);
    if (!d) return TPersistent::AssignTo(Dest);
    d->FBits = FBits;
    d->FCheck = FCheck;
    d->FReplace = FReplace;
    d->FReplaceChar = FReplaceChar;
}

// ---- TComBuffer ----

void TComBuffer::Set(int& field, int value) {
    if (value > 0 && value % 2 != 0) --value;
    if (field == value) return;
    field = value;
    if (FComPort) FComPort->ApplyBufferSettings();
}

void TComBuffer::SetInputSize(int value) { Set(FInputSize, value); }
void TComBuffer::SetOutputSize(int value) { Set(FOutputSize, value); }

void TComBuffer::AssignTo(TPersistent* Dest) const {
    auto* d = dynamic_cast<TComBuffer*>(Dest);
    if (!d) return TPersistent::AssignTo(Dest);
    d->FInputSize = FInputSize;
    d->FOutputSize = FOutputSize;
}

// ---- apply steps ----

namespace {

constexpr DWORD kBaudRates[] = {0,         CBR_110,   CBR_300,   CBR_600,    CBR_1200,   CBR_2400,
                                CBR_4800,  CBR_9600,  CBR_14400, CBR_19200,  CBR_38400,  CBR_56000,
                                CBR_57600, CBR_115200, CBR_128000, CBR_256000};
constexpr BYTE kDataBits[] = {5, 6, 7, 8};
constexpr BYTE kParity[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
constexpr BYTE kStopBits[] = {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS};
constexpr DWORD kDtrFlags[] = {0x0000, 0x0010, 0x0020};
constexpr DWORD kRtsFlags[] = {0x0000, 0x1000, 0x2000, 0x3000};

constexpr DWORD kBinary = 0x0001;
constexpr DWORD kParityCheck = 0x0002;
constexpr DWORD kOutxCtsFlow = 0x0004;
constexpr DWORD kOutxDsrFlow = 0x0008;
constexpr DWORD kDsrSensitivity = 0x0040;
constexpr DWORD kTxContinueOnXoff = 0x0080;
constexpr DWORD kOutX = 0x0100;
constexpr DWORD kInX = 0x0200;
constexpr DWORD kErrorChar = 0x0400;
constexpr DWORD kNull = 0x0800;

}  // namespace

bool TCustomComPort::CanApply() const { return FConnected && FUpdateCount == 0 && !Designing() && !Loading(); }

void TCustomComPort::ApplyBufferSettings() {
    if (!CanApply()) return;
    if (!SetupComm(FHandle, static_cast<DWORD>(FBuffer->InputSize()), static_cast<DWORD>(FBuffer->OutputSize())))
        ReportComError(CE_SetupComFailed, GetLastError());
}

void TCustomComPort::ApplyLineSettings() {
    if (!CanApply()) return;
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = FBaudRate == brCustom ? static_cast<DWORD>(FCustomBaudRate) : kBaudRates[FBaudRate];
    const TComFlowControl& fc = *FFlowControl;
    const TComParity& parity = *FParity;
    bool replace = parity.Check() && parity.Replace();
    DWORD flags = kBinary;
    if (parity.Check()) flags |= kParityCheck;
    if (fc.OutCTSFlow()) flags |= kOutxCtsFlow;
    if (fc.OutDSRFlow()) flags |= kOutxDsrFlow;
    flags |= kDtrFlags[fc.ControlDTR()];
    if (fc.DSRSensitivity()) flags |= kDsrSensitivity;
    if (fc.TxContinueOnXoff()) flags |= kTxContinueOnXoff;
    if (fc.XonXoffOut()) flags |= kOutX;
    if (fc.XonXoffIn()) flags |= kInX;
    if (replace) flags |= kErrorChar;
    if (FDiscardNull) flags |= kNull;
    flags |= kRtsFlags[fc.ControlRTS()];
    dcb.Flags = flags;
    dcb.XonLim = static_cast<WORD>(FBuffer->InputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.ByteSize = kDataBits[FDataBits];
    dcb.Parity = kParity[parity.Bits()];
    dcb.StopBits = kStopBits[FStopBits];
    dcb.XonChar = static_cast<char>(fc.XonChar() & 0xFF);
    dcb.XoffChar = static_cast<char>(fc.XoffChar() & 0xFF);
    dcb.ErrorChar = replace ? static_cast<char>(parity.ReplaceChar() & 0xFF) : 0;
    dcb.EvtChar = static_cast<char>(FEventChar & 0xFF);
    if (!SetCommState(FHandle, &dcb)) ReportComError(CE_SetStateFailed, GetLastError());
}

void TCustomComPort::ApplyTimeoutSettings() {
    if (!CanApply()) return;
    COMMTIMEOUTS t{};
    // Negative values pass as their 32-bit pattern: ReadInterval -1 is MAXDWORD.
    t.ReadIntervalTimeout = static_cast<DWORD>(FTimeouts->ReadInterval());
    t.ReadTotalTimeoutMultiplier = static_cast<DWORD>(FTimeouts->ReadTotalMultiplier());
    t.ReadTotalTimeoutConstant = static_cast<DWORD>(FTimeouts->ReadTotalConstant());
    t.WriteTotalTimeoutMultiplier = static_cast<DWORD>(FTimeouts->WriteTotalMultiplier());
    t.WriteTotalTimeoutConstant = static_cast<DWORD>(FTimeouts->WriteTotalConstant());
    if (!SetCommTimeouts(FHandle, &t)) ReportComError(CE_TimeoutsFailed, GetLastError());
}

void TCustomComPort::ApplyPortSettings() {
    ApplyBufferSettings();
    ApplyLineSettings();
    ApplyTimeoutSettings();
}
