// The port component: construction, opening and closing, the update bracket and the setters.
#include "serial/CPort.h"

#include <algorithm>

TCustomComPort::TCustomComPort(TComponent* AOwner) : TComponent(AOwner) {
    FParity->FComPort = this;
    FFlowControl->FComPort = this;
    FTimeouts->FComPort = this;
    FBuffer->FComPort = this;
}

TCustomComPort::~TCustomComPort() {
    *FAlive = false;
    // A destructor cannot pass an exception on: a failing close handler still lets the port
    // close, and the error goes to the application.
    try {
        Close();
    } catch (...) {
        AbandonOpen();
        HandleComApplicationException(this, std::current_exception());
    }
}

// ---- open and close ----

void TCustomComPort::OpenPortHandle() {
    String name = String(u"\\\\.\\") + FPort;
    FHandle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) ReportComError(CE_OpenFailed, GetLastError());
}

void TCustomComPort::ClosePortHandle() {
    if (FHandle != INVALID_HANDLE_VALUE && CloseHandle(FHandle)) FHandle = INVALID_HANDLE_VALUE;
}

void TCustomComPort::AbandonOpen() {
    DestroyEventThread();
    ClosePortHandle();
    FConnected = false;
}

void TCustomComPort::CallSignalEvents(TComSignal Signal, bool OnOff) {
    switch (Signal) {
    case csCTS:
        ForEachLink([&](TComLink& l) { if (l.OnCTSChange) l.OnCTSChange(this, OnOff); });
        DoCTSChange(OnOff);
        break;
    case csDSR:
        ForEachLink([&](TComLink& l) { if (l.OnDSRChange) l.OnDSRChange(this, OnOff); });
        DoDSRChange(OnOff);
        break;
    case csRLSD:
        ForEachLink([&](TComLink& l) { if (l.OnRLSDChange) l.OnRLSDChange(this, OnOff); });
        DoRLSDChange(OnOff);
        break;
    case csRing:
        break;
    }
}

void TCustomComPort::Open() {
    if (FConnected || Designing()) return;
    DoBeforeOpen();
    OpenPortHandle();
    // A report that OnException took returns here; nothing may be done with an invalid handle.
    if (FHandle == INVALID_HANDLE_VALUE) return;
    FConnected = true;
    // Set once the links were told the port is open: a failure after that tells them, and
    // OnAfterClose, that it closed again.
    bool told = false;
    // Whatever fails from here on leaves the port closed: the caller is never told that Open
    // failed while the device stays open behind its back.
    try {
        ApplyPortSettings();
        if (!FEvents.Empty()) CreateEventThread();
        ForEachLink([&](TComLink& l) { if (l.OnConn) l.OnConn(this, true); });
        told = true;
        // A handler may close the port; then there is nothing left to report.
        if (!FConnected) return;
        DoAfterOpen();
        for (TComSignal signal : {csCTS, csDSR, csRLSD}) {
            if (!FConnected) return;
            CallSignalEvents(signal, Signals().Contains(signal));
        }
    } catch (...) {
        bool wasOpen = FConnected;
        AbandonOpen();
        // A handler's Close has told everyone already.
        if (told && wasOpen) {
            // The open's own error is the one raised; a failing notification goes to the
            // application.
            try {
                ForEachLink([&](TComLink& l) { if (l.OnConn) l.OnConn(this, false); });
                DoAfterClose();
            } catch (...) {
                HandleComApplicationException(this, std::current_exception());
            }
        }
        throw;
    }
}

void TCustomComPort::Free() {
    if (!InOwnBatch()) {
        TComponent::Free();
        return;
    }
    if (FFreePending.exchange(true)) return;
    // Queued for the main thread, which runs it in a later pass than the batch's own.
    std::shared_ptr<std::atomic<bool>> alive = FAlive;
    TThread::Queue(nullptr, [this, alive] {
        if (*alive) TComponent::Free();
    });
}

bool TCustomComPort::OnOwnEventThread() const {
    // Asked of the running thread itself, not of FEventThread, which the main thread clears
    // while the event thread may still be asking.
    auto* thread = dynamic_cast<TComThread*>(TThread::CurrentThread());
    return thread && thread->FComPort == this;
}

bool TCustomComPort::InOwnBatch() const {
    return OnOwnEventThread() || (IsMainThread() && (FInThreadBatch || FInWindowStep));
}

void TCustomComPort::Close() {
    // A handler that runs while the event thread ends may call Close again: that call is over.
    if (!FConnected || Designing() || FClosing) return;
    // Close waits for the event thread to end, which that thread itself cannot do.
    // So can a handler of a batch the thread hands to the main thread: the thread waits for it.
    if (OnOwnEventThread() || (FEventThread && FInThreadBatch))
        throw EInvalidOperation(u"The port cannot be closed from its own event thread");
    FClosing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FClosing};
    ForEachLink([&](TComLink& l) { if (l.OnCTSChange) l.OnCTSChange(this, false); });
    ForEachLink([&](TComLink& l) { if (l.OnDSRChange) l.OnDSRChange(this, false); });
    ForEachLink([&](TComLink& l) { if (l.OnRLSDChange) l.OnRLSDChange(this, false); });
    DoCTSChange(false);
    DoDSRChange(false);
    DoRLSDChange(false);
    DoBeforeClose();
    AbortAllAsync();
    DestroyEventThread();
    ClosePortHandle();
    FConnected = false;
    ForEachLink([&](TComLink& l) { if (l.OnConn) l.OnConn(this, false); });
    DoAfterClose();
}

void TCustomComPort::Loaded() {
    TComponent::Loaded();
    if (FConnected && !Designing()) {
        FConnected = false;
        try {
            Open();
        } catch (...) {
            HandleComApplicationException(this, std::current_exception());
        }
    }
}

void TCustomComPort::BeginUpdate() { ++FUpdateCount; }

void TCustomComPort::EndUpdate() {
    if (FUpdateCount < 1) return;
    if (--FUpdateCount == 0) ApplyPortSettings();
}

// ---- setters ----

void TCustomComPort::SetConnected(bool value) {
    if (Designing() || Loading()) {
        FConnected = value;
        return;
    }
    if (value == FConnected) return;
    if (value)
        Open();
    else
        Close();
}

void TCustomComPort::SetBaudRate(TBaudRate value) {
    if (value == FBaudRate) return;
    FBaudRate = value;
    ApplyLineSettings();
}

void TCustomComPort::SetCustomBaudRate(int value) {
    if (value == FCustomBaudRate) return;
    FCustomBaudRate = value;
    ApplyLineSettings();
}

void TCustomComPort::SetPort(const String& value) {
    if (value == FPort) return;
    FPort = value;
    if (FConnected && !Designing() && !Loading()) {
        Close();
        Open();
    }
}

void TCustomComPort::SetParity(const TComParity* value) {
    FParity->Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetStopBits(TStopBits value) {
    if (value == FStopBits) return;
    FStopBits = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDataBits(TDataBits value) {
    if (value == FDataBits) return;
    FDataBits = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDiscardNull(bool value) {
    if (value == FDiscardNull) return;
    FDiscardNull = value;
    ApplyLineSettings();
}

void TCustomComPort::SetEventChar(char16_t value) {
    if (value == FEventChar) return;
    FEventChar = value;
    ApplyLineSettings();
}

void TCustomComPort::SetBuffer(const TComBuffer* value) {
    FBuffer->Assign(value);
    ApplyBufferSettings();
}

void TCustomComPort::SetFlowControl(const TComFlowControl* value) {
    FFlowControl->Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts* value) {
    FTimeouts->Assign(value);
    ApplyTimeoutSettings();
}

void TCustomComPort::SetSyncMethod(TSyncMethod value) {
    if (value == FSyncMethod) return;
    if (FConnected && !Designing() && !Loading()) {
        ReportComError(CE_ConnChangeProp, 0);
        return;
    }
    FSyncMethod = value;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority value) {
    if (value == FEventThreadPriority) return;
    if (FConnected && !Designing() && !Loading()) {
        ReportComError(CE_ConnChangeProp, 0);
        return;
    }
    FEventThreadPriority = value;
}

// ---- events ----

void TCustomComPort::DoRxChar(int Count) { if (OnRxChar) OnRxChar(this, Count); }
void TCustomComPort::DoRxBuf(const void* Buffer, int Count) { if (OnRxBuf) OnRxBuf(this, Buffer, Count); }
void TCustomComPort::DoTxEmpty() { if (OnTxEmpty) OnTxEmpty(this); }
void TCustomComPort::DoBreak() { if (OnBreak) OnBreak(this); }
void TCustomComPort::DoRing() { if (OnRing) OnRing(this); }
void TCustomComPort::DoCTSChange(bool OnOff) { if (OnCTSChange) OnCTSChange(this, OnOff); }
void TCustomComPort::DoDSRChange(bool OnOff) { if (OnDSRChange) OnDSRChange(this, OnOff); }
void TCustomComPort::DoRLSDChange(bool OnOff) { if (OnRLSDChange) OnRLSDChange(this, OnOff); }
void TCustomComPort::DoError(TComErrors Errors) { if (OnError) OnError(this, Errors); }
void TCustomComPort::DoRxFlag() { if (OnRxFlag) OnRxFlag(this); }
void TCustomComPort::DoAfterOpen() { if (OnAfterOpen) OnAfterOpen(this); }
void TCustomComPort::DoAfterClose() { if (OnAfterClose) OnAfterClose(this); }
void TCustomComPort::DoBeforeOpen() { if (OnBeforeOpen) OnBeforeOpen(this); }
void TCustomComPort::DoBeforeClose() { if (OnBeforeClose) OnBeforeClose(this); }
void TCustomComPort::DoRx80Full() { if (OnRx80Full) OnRx80Full(this); }

// ---- links ----

void TCustomComPort::RegisterLink(TComLink* AComLink) {
    if (std::find(FLinks.begin(), FLinks.end(), AComLink) != FLinks.end())
        ReportComError(CE_RegFailed, 0);
    else
        FLinks.push_back(AComLink);
    FHasLink = std::any_of(FLinks.begin(), FLinks.end(), [](TComLink* l) { return bool(l->OnRxBuf); });
}

void TCustomComPort::UnRegisterLink(TComLink* AComLink) {
    auto it = std::find(FLinks.begin(), FLinks.end(), AComLink);
    if (it == FLinks.end())
        ReportComError(CE_RegFailed, 0);
    else
        FLinks.erase(it);
    FHasLink = std::any_of(FLinks.begin(), FLinks.end(), [](TComLink* l) { return bool(l->OnRxBuf); });
}

void TCustomComPort::SetTriggersOnRxChar(bool value) {
    if (FHasLink) {
        ReportComError(CE_HasLink, 0);
        return;
    }
    FTriggersOnRxChar = value;
}
