// Transfers on the open device, and its queries and line commands.
#include <algorithm>
#include <functional>
#include <memory>

#include "serial/CPort.h"

// ---- records ----

TAsync::TAsync() : Overlapped{} { Overlapped.hEvent = CreateEvent(nullptr, TRUE_, TRUE_, nullptr); }

TAsync::~TAsync() { CloseHandle(Overlapped.hEvent); }

// The caller holds the record between the two calls, as a plain pointer.
void AllocAsync(PAsync& AsyncPtr) { AsyncPtr = std::make_unique<TAsync>().release(); }

void ReleaseAsync(PAsync& AsyncPtr) {
    std::unique_ptr<TAsync> record(AsyncPtr);
    AsyncPtr = nullptr;
}

void FillAsyncRecord(TOperationKind Kind, const void* Buffer, int Count, PAsync AsyncPtr) {
    AsyncPtr->Kind = Kind;
    const auto* from = static_cast<const uint8_t*>(Buffer);
    size_t n = Count > 0 ? static_cast<size_t>(Count) : 0;
    std::vector<uint8_t>& held = AsyncPtr->Bytes;
    // Bytes the record holds already (its last write sent again) stay where they are: the
    // transfer reads them from there, so they must outlive this call.
    std::less<const uint8_t*> below;
    bool own = n > 0 && !held.empty() && !below(from, held.data()) && !below(held.data() + held.size(), from + n);
    if (own) {
        AsyncPtr->Data = const_cast<uint8_t*>(from);
    } else {
        held.assign(from, from + n);
        AsyncPtr->Data = n > 0 ? held.data() : nullptr;
    }
    AsyncPtr->Size = static_cast<int>(n);
}

namespace {

// The record of a synchronous call, released however the call ends. A transfer that started
// before a link handler failed still refers to the record: the release waits for its end (the
// event is set when no transfer runs).
struct AsyncGuard {
    TAsync record;
    PAsync a = &record;
    ~AsyncGuard() { WaitForSingleObject(record.Overlapped.hEvent, INFINITE); }
};

DWORD ToCount(int Count) { return Count > 0 ? static_cast<DWORD>(Count) : 0; }

// Narrows Str to one byte per character in its own storage, front to back (byte i lands in code
// unit i/2, which is already read); returns the bytes.
uint8_t* NarrowInPlace(String& Str) {
    auto* bytes = reinterpret_cast<uint8_t*>(Str.data());
    size_t n = Str.size();
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(Str[i] & 0xFF);
    return bytes;
}

}  // namespace

// ---- synchronous transfers ----

bool TCustomComPort::LinksListen(TOperationKind Kind) const {
    return std::any_of(FLinks.begin(), FLinks.end(), [Kind](TComLink* l) {
        return Kind == okWrite ? bool(l->OnTx) || bool(l->OnTxBuf) : bool(l->OnRx);
    });
}

// A synchronous transfer that no link listens to needs no record: it is one blocking call, in
// which the calling thread serves the port while it waits (no event, no hand-over). Errors are
// those of the record's way: 24 on a closed port, 2 or 3 when the transfer fails.
int TCustomComPort::TransferNow(TOperationKind Kind, void* Buffer, int Count) {
    if (FHandle == INVALID_HANDLE_VALUE) {
        ReportComError(CEPortNotOpen, -ComErrorCode(CEPortNotOpen));
        return 0;
    }
    DWORD done = 0;
    BOOL ok = Kind == okWrite ? WriteFile(FHandle, Buffer, ToCount(Count), &done, nullptr)
                              : ReadFile(FHandle, Buffer, ToCount(Count), &done, nullptr);
    if (!ok) {
        ReportComError(Kind == okWrite ? CE_WriteFailed : CE_ReadFailed, GetLastError());
        return 0;
    }
    return static_cast<int>(done);
}

// ---- writes ----

int TCustomComPort::WriteAsync(const void* Buffer, int Count, PAsync& AsyncPtr) {
    if (!AsyncPtr) {
        ReportComError(CE_InvalidAsync, 0);
        return 0;
    }
    // The closed port's platform code is its own code negated: none, yet OnException sees it.
    if (FHandle == INVALID_HANDLE_VALUE) {
        ReportComError(CEPortNotOpen, -ComErrorCode(CEPortNotOpen));
        return 0;
    }
    FillAsyncRecord(okWrite, Buffer, Count, AsyncPtr);
    DWORD done = 0;
    if (!WriteFile(FHandle, Buffer, ToCount(Count), &done, &AsyncPtr->Overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        ReportComError(CE_WriteFailed, GetLastError());
    ForEachLink([&](TComLink& l) { if (l.OnTx) l.OnTx(this, true); });
    return static_cast<int>(done);
}

// After a report that OnException took, a synchronous call on a closed port ends there, with
// nothing transferred, rather than waiting on the invalid handle.
int TCustomComPort::Write(const void* Buffer, int Count) {
    if (!LinksListen(okWrite)) return TransferNow(okWrite, const_cast<void*>(Buffer), Count);
    AsyncGuard g;
    WriteAsync(Buffer, Count, g.a);
    if (FHandle == INVALID_HANDLE_VALUE) return 0;
    return WaitForAsync(g.a);
}

int TCustomComPort::WriteStrAsync(String& Str, PAsync& AsyncPtr) {
    if (Str.empty()) return 0;
    int n = static_cast<int>(Str.size());
    return WriteAsync(NarrowInPlace(Str), n, AsyncPtr);
}

int TCustomComPort::WriteStr(String Str) {
    if (Str.empty()) return 0;
    if (!LinksListen(okWrite)) return TransferNow(okWrite, NarrowInPlace(Str), static_cast<int>(Str.size()));
    AsyncGuard g;
    WriteStrAsync(Str, g.a);
    if (FHandle == INVALID_HANDLE_VALUE) return 0;
    return WaitForAsync(g.a);
}

namespace {

AnsiString Encode(const String& s, uint32_t codePage) {
    switch (codePage) {
    case 0:
    case 65001: return s.ToUtf8();
    case 932: return Utf16ToCp932(s);
    default: throw EInvalidArgument(String("Code page not supported: ") + String(std::to_string(codePage)));
    }
}

String Decode(std::string_view bytes, uint32_t codePage) {
    switch (codePage) {
    case 0:
    case 65001: return Utf8ToUtf16(bytes);
    case 932: return Cp932ToUtf16(bytes);
    default: throw EInvalidArgument(String("Code page not supported: ") + String(std::to_string(codePage)));
    }
}

}  // namespace

int TCustomComPort::WriteUnicodeString(const String& Str) {
    AnsiString bytes = Encode(Str, FCodePage);
    return Write(bytes.data(), static_cast<int>(bytes.size()));
}

// ---- reads ----

int TCustomComPort::ReadAsync(void* Buffer, int Count, PAsync& AsyncPtr) {
    if (!AsyncPtr) {
        ReportComError(CE_InvalidAsync, 0);
        return 0;
    }
    AsyncPtr->Kind = okRead;
    if (FHandle == INVALID_HANDLE_VALUE) {
        ReportComError(CEPortNotOpen, -ComErrorCode(CEPortNotOpen));
        return 0;
    }
    DWORD done = 0;
    if (!ReadFile(FHandle, Buffer, ToCount(Count), &done, &AsyncPtr->Overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        ReportComError(CE_ReadFailed, GetLastError());
    return static_cast<int>(done);
}

int TCustomComPort::Read(void* Buffer, int Count) {
    if (!LinksListen(okRead)) return TransferNow(okRead, Buffer, Count);
    AsyncGuard g;
    ReadAsync(Buffer, Count, g.a);
    if (FHandle == INVALID_HANDLE_VALUE) return 0;
    return WaitForAsync(g.a);
}

int TCustomComPort::ReadStrAsync(AnsiString& Str, int Count, PAsync& AsyncPtr) {
    Str.assign(ToCount(Count), '\0');
    if (Count < 1) return 0;
    return ReadAsync(Str.data(), Count, AsyncPtr);
}

int TCustomComPort::ReadStr(String& Str, int Count) {
    Str.clear();
    if (Count < 1) return 0;
    if (!LinksListen(okRead)) {
        // The bytes land in the back half of Str's own storage and are widened front to back:
        // character i (bytes 2i, 2i+1) never reaches byte Count + i + 1, which is still to come.
        Str.resize(static_cast<size_t>(Count));
        auto* bytes = reinterpret_cast<uint8_t*>(Str.data()) + Count;
        int n = std::clamp(TransferNow(okRead, bytes, Count), 0, Count);
        for (int i = 0; i < n; ++i) Str[static_cast<size_t>(i)] = bytes[i];
        Str.resize(static_cast<size_t>(n));
        return n;
    }
    AnsiString bytes;
    int n;
    {
        AsyncGuard g;
        ReadStrAsync(bytes, Count, g.a);
        n = FHandle == INVALID_HANDLE_VALUE ? 0 : WaitForAsync(g.a);
    }
    n = std::clamp(n, 0, Count);
    Str.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) Str[static_cast<size_t>(i)] = static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
    return n;
}

int TCustomComPort::ReadUnicodeString(String& Str, int Count) {
    AnsiString bytes(ToCount(Count), '\0');
    int n = Count > 0 ? Read(bytes.data(), Count) : 0;
    Str = Decode(std::string_view(bytes.data(), static_cast<size_t>(std::clamp(n, 0, Count))), FCodePage);
    return Str.Length();
}

// ---- completion ----

int TCustomComPort::WaitForAsync(PAsync& AsyncPtr) {
    if (!AsyncPtr) {
        ReportComError(CE_InvalidAsync, 0);
        return 0;
    }
    DWORD transferred = 0;
    // The waiting form: the calling thread serves the port meanwhile, sparing a hand-over.
    bool ok = GetOverlappedResult(FHandle, &AsyncPtr->Overlapped, &transferred, TRUE_);
    if (!ok) {
        ReportComError(AsyncPtr->Kind == okWrite ? CE_WriteFailed : CE_ReadFailed, GetLastError());
        return 0;
    }
    if (AsyncPtr->Kind == okRead) {
        // Asking for the queue count also clears the device's line errors, which the event
        // thread has yet to report: only ask when a link wants the answer.
        bool wanted = std::any_of(FLinks.begin(), FLinks.end(), [](TComLink* l) { return bool(l->OnRx); });
        if (wanted && QueueCount() == 0) {
            ForEachLink([&](TComLink& l) { if (l.OnRx) l.OnRx(this, false); });
            return static_cast<int>(transferred);
        }
    }
    if (AsyncPtr->Kind == okWrite && AsyncPtr->Data) {
        uint8_t* data = AsyncPtr->Data;
        int size = AsyncPtr->Size;
        ForEachLink([&](TComLink& l) { if (l.OnTxBuf) l.OnTxBuf(this, data, size); });
    }
    return static_cast<int>(transferred);
}

bool TCustomComPort::IsAsyncCompleted(PAsync AsyncPtr) {
    if (!AsyncPtr) {
        ReportComError(CE_InvalidAsync, 0);
        return false;
    }
    DWORD transferred = 0;
    if (GetOverlappedResult(FHandle, &AsyncPtr->Overlapped, &transferred, FALSE_)) return true;
    DWORD e = GetLastError();
    if (e == ERROR_IO_PENDING || e == ERROR_IO_INCOMPLETE) return false;
    ReportComError(CE_AsyncCheck, e);
    return false;
}

void TCustomComPort::AbortAllAsync() {
    // Nothing to abort on a closed port, and a failure here helps no caller.
    PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT);
}

// ---- queries ----

bool TCustomComPort::ClearError(DWORD* errors, COMSTAT* stat) {
    if (ClearCommError(FHandle, errors, stat)) return true;
    ReportComError(CE_ClearComFailed, GetLastError());
    return false;
}

// The caller's own queries clear the device's errors, those the library's steps kept included.
int TCustomComPort::InputCount() {
    COMSTAT stat{};
    DWORD errors = 0;
    if (!ClearError(&errors, &stat)) return 0;
    FPendingErrors = 0;
    return static_cast<int>(stat.cbInQue);
}

int TCustomComPort::QueueCount() {
    COMSTAT stat{};
    DWORD errors = 0;
    if (!ClearError(&errors, &stat)) return 0;
    if (errors) FPendingErrors |= errors;
    return static_cast<int>(stat.cbInQue);
}

DWORD TCustomComPort::TakeBatchErrors() {
    DWORD errors = 0;
    // A failure here is the device going away, which its own error word reports next time.
    if (!ClearCommError(FHandle, &errors, nullptr)) errors = 0;
    return errors | FPendingErrors.exchange(0);
}

int TCustomComPort::OutputCount() {
    COMSTAT stat{};
    DWORD errors = 0;
    if (!ClearError(&errors, &stat)) return 0;
    FPendingErrors = 0;
    return static_cast<int>(stat.cbOutQue);
}

TComStateFlags TCustomComPort::StateFlags() {
    COMSTAT stat{};
    DWORD errors = 0;
    TComStateFlags flags;
    if (!ClearError(&errors, &stat)) return flags;
    FPendingErrors = 0;
    for (int bit = fCtlHold; bit <= fTxim; ++bit)
        if (stat.Flags & (1u << bit)) flags << static_cast<TComStateFlag>(bit);
    return flags;
}

TComErrors TCustomComPort::ErrorsFromWord(DWORD errors) const {
    TComErrors result;
    if (errors & CE_FRAME) result << ceFrame;
    if ((errors & CE_RXPARITY) && FParity->Check()) result << ceRxParity;
    if (errors & CE_OVERRUN) result << ceOverrun;
    if (errors & CE_BREAK) result << ceBreak;
    if (errors & CE_IOE) result << ceIO;
    if (errors & CE_MODE) result << ceMode;
    if (errors & CE_RXOVER) result << ceRxOver;
    if (errors & CE_TXFULL) result << ceTxFull;
    return result;
}

TComErrors TCustomComPort::LastErrors() {
    COMSTAT stat{};
    DWORD errors = 0;
    if (!ClearError(&errors, &stat)) return {};
    return ErrorsFromWord(errors | FPendingErrors.exchange(0));
}

TComSignals TCustomComPort::Signals() {
    DWORD status = 0;
    TComSignals result;
    if (!GetCommModemStatus(FHandle, &status)) {
        ReportComError(CE_ModemStatFailed, GetLastError());
        return result;
    }
    for (int bit = csCTS; bit <= csRLSD; ++bit)
        if ((status >> 4) & (1u << bit)) result << static_cast<TComSignal>(bit);
    return result;
}

// ---- commands ----

void TCustomComPort::Escape(DWORD function) {
    if (!EscapeCommFunction(FHandle, function)) ReportComError(CE_EscapeComFailed, GetLastError());
}

void TCustomComPort::SetDTR(bool OnOff) { Escape(OnOff ? SETDTR : CLRDTR); }
void TCustomComPort::SetRTS(bool OnOff) { Escape(OnOff ? SETRTS : CLRRTS); }
void TCustomComPort::SetXonXoff(bool OnOff) { Escape(OnOff ? SETXON : SETXOFF); }
void TCustomComPort::SetBreak(bool OnOff) { Escape(OnOff ? SETBREAK : CLRBREAK); }

void TCustomComPort::ClearBuffer(bool Input, bool Output) {
    DWORD flags = (Input ? PURGE_RXCLEAR : 0) | (Output ? PURGE_TXCLEAR : 0);
    // Nothing asked for: the device is left alone (it would refuse an empty purge).
    if (flags == 0) return;
    if (!PurgeComm(FHandle, flags)) ReportComError(CE_PurgeFailed, GetLastError());
}

void TCustomComPort::TransmitChar(char16_t Ch) {
    if (!TransmitCommChar(FHandle, static_cast<char>(Ch & 0xFF))) ReportComError(CE_TransmitFailed, GetLastError());
}

// ---- event masks and the one-shot wait ----

namespace {

constexpr DWORD kEventMask[] = {EV_RXCHAR, EV_TXEMPTY, EV_RXFLAG, EV_RING, EV_BREAK,
                                EV_CTS,    EV_DSR,     EV_ERR,    EV_RLSD, EV_RX80FULL};

}  // namespace

DWORD ComEventsToMask(TComEvents Events) {
    DWORD mask = 0;
    for (int e = evRxChar; e <= evRx80Full; ++e)
        if (Events.Contains(static_cast<TComEvent>(e))) mask |= kEventMask[e];
    return mask;
}

TComEvents MaskToComEvents(DWORD Mask) {
    TComEvents events;
    for (int e = evRxChar; e <= evRx80Full; ++e)
        if (Mask & kEventMask[e]) events << static_cast<TComEvent>(e);
    return events;
}

void TCustomComPort::WaitForEvent(TComEvents& Events, HANDLE StopEvent, int Timeout) {
    if (FThreadCreated) {
        ReportComError(CE_ThreadCreated, 0);
        return;
    }
    OVERLAPPED ov{};
    ov.hEvent = CreateEvent(nullptr, TRUE_, FALSE_, nullptr);
    DWORD mask = 0;
    bool failed = false;
    DWORD error = 0;
    SetCommMask(FHandle, ComEventsToMask(Events));
    if (WaitCommEvent(FHandle, &mask, &ov) || GetLastError() == ERROR_IO_PENDING) {
        HANDLE handles[2] = {ov.hEvent, StopEvent};
        DWORD count = StopEvent ? 2 : 1;
        DWORD r = WaitForMultipleObjects(count, handles, FALSE_, static_cast<DWORD>(Timeout));
        if (r != WAIT_OBJECT_0 && r != WAIT_OBJECT_0 + 1 && r != WAIT_TIMEOUT) {
            failed = true;
            error = GetLastError();
        }
        // Ends a wait still pending, so the device no longer refers to mask and ov.
        SetCommMask(FHandle, 0);
    } else {
        failed = true;
        error = GetLastError();
    }
    CloseHandle(ov.hEvent);
    if (failed) ReportComError(CE_WaitFailed, error);
    Events = MaskToComEvents(mask);
}
