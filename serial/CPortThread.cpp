// The event thread and the delivery of device events as component events.
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/win/Window.h"
#include "serial/CPort.h"

namespace {

constexpr UINT kComPortEvent = WM_USER + 1;
// The handler order within one batch.
constexpr DWORD kEventOrder[] = {EV_ERR, EV_RXCHAR, EV_TXEMPTY, EV_BREAK, EV_RING,
                                 EV_CTS, EV_DSR,    EV_RXFLAG,  EV_RLSD,  EV_RX80FULL};

}  // namespace

// ---- the thread ----

TComThread::TComThread(TCustomComPort* AComPort) : TThread(false), FComPort(AComPort) {
    FStopEvent = CreateEvent(nullptr, TRUE_, FALSE_, nullptr);
    FBatchDone = CreateEvent(nullptr, TRUE_, FALSE_, nullptr);
    SetPriority(AComPort->EventThreadPriority());
    // The port has set the device's event mask (CreateEventThread), where a failure can be
    // reported before the thread exists.
    Start();
}

TComThread::~TComThread() {
    SetEvent(FStopEvent);
    Sleep(0);
    // Not Terminate: a thread stopped before its body ran would skip the closing steps. On the
    // main thread the wait keeps serving Synchronize calls, so a batch that waits for the main
    // thread is delivered and the thread reaches its stop test.
    WaitFor();
    CloseHandle(FStopEvent);
    CloseHandle(FBatchDone);
}

void TComThread::Execute() {
    HANDLE port = FComPort->Handle();
    // The thread waits in the port, which has it serve the device meanwhile: received bytes reach
    // it without a hand-over, and the record needs no event of its own. Lives as long as the
    // mask: a wait still pending at the stop writes both when the mask is reset.
    OVERLAPPED ov{};
    DWORD mask = 0;
    for (;;) {
        DWORD woke = WaitCommEventOrStop(port, &mask, &ov, FStopEvent);
        // A wait that cannot start, or that ends in failure, would come back at once for ever:
        // the device is of no further use, so the thread only waits to be stopped.
        if (woke == WAIT_FAILED) {
            WaitForSingleObject(FStopEvent, INFINITE);
            break;
        }
        if (woke != WAIT_OBJECT_0 + 1) break;
        DWORD transferred = 0;
        if (!GetOverlappedResult(port, &ov, &transferred, FALSE_)) {
            WaitForSingleObject(FStopEvent, INFINITE);
            break;
        }
        FEvents = MaskToComEvents(mask);
        // Taken now: a step of an earlier batch still running on the main thread, or a receive
        // step of this one, would otherwise clear the word before the error step reads it.
        FErrors = (mask & EV_ERR) ? FComPort->TakeBatchErrors() : 0;
        DispatchComMsg();
    }
    // Also ends a wait still pending after the stop.
    SetCommMask(port, 0);
    PurgeComm(port, PURGE_TXCLEAR | PURGE_RXCLEAR);
}

void TComThread::DispatchComMsg() {
    TCustomComPort* port = FComPort;
    TComEvents events = FEvents;
    DWORD errors = FErrors;
    if (port->FFreePending) return;
    switch (port->SyncMethod()) {
    case smThreadSync: {
        // A synchronised call that the thread waits for in the port: the device is served
        // meanwhile, so bytes keep arriving (for the next batch) while the main thread runs
        // this one.
        HANDLE done = FBatchDone;
        ResetEvent(done);
        Queue([port, events, errors, done] {
            struct Done {
                HANDLE done;
                ~Done() { SetEvent(done); }
            } signal{done};
            port->FInThreadBatch = true;
            port->CallEvents(events, errors);
            port->FInThreadBatch = false;
        });
        if (WaitServingComm(port->Handle(), done) != WAIT_OBJECT_0) WaitForSingleObject(done, INFINITE);
        break;
    }
    case smWindowSync: {
        // One blocking send per event; the window replies before it runs the step. The error
        // step's word travels with its message.
        DWORD mask = ComEventsToMask(events);
        for (DWORD event : kEventOrder)
            if (mask & event)
                SendMessage(port->FWindow, kComPortEvent, event, event == EV_ERR ? static_cast<LPARAM>(errors) : 0);
        break;
    }
    case smNone:
        port->CallEvents(events, errors);
        break;
    }
}

// ---- the port's side ----

void TCustomComPort::CreateEventThread() {
    // A thread waiting on a device without an event mask would never report anything.
    if (!SetCommMask(FHandle, ComEventsToMask(FEvents))) {
        ReportComError(CE_WaitFailed, GetLastError());
        return;
    }
    FPendingErrors = 0;
    if (FSyncMethod == smWindowSync) FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    FEventThread = std::make_unique<TComThread>(this);
    FThreadCreated = true;
}

void TCustomComPort::DestroyEventThread() {
    // Taken out first: a handler run while the thread ends must not free it a second time.
    std::unique_ptr<TComThread> thread = std::move(FEventThread);
    // On the main thread the wait for the thread also takes the messages it sends.
    thread.reset();
    FThreadCreated = false;
    if (FWindow) {
        HWND window = FWindow;
        FWindow = nullptr;
        DeallocateHWnd(window);
    }
}

void TCustomComPort::WndProc(TMessage& Message) {
    if (Message.Msg != kComPortEvent) {
        Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    // Releases the event thread before any handler runs.
    if (InSendMessage()) ReplyMessage(0);
    if (!FConnected || FFreePending) return;
    FInWindowStep = true;
    Deliver([&] { CallEvent(static_cast<DWORD>(Message.WParam), static_cast<DWORD>(Message.LParam)); });
    FInWindowStep = false;
}

void TCustomComPort::Deliver(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        HandleComApplicationException(this, std::current_exception());
    }
}

void TCustomComPort::CallEvents(TComEvents Events, DWORD Errors) {
    DWORD mask = ComEventsToMask(Events);
    for (DWORD event : kEventOrder)
        if ((mask & event) && !FFreePending) Deliver([&] { CallEvent(event, Errors); });
}

void TCustomComPort::CallEvent(DWORD Event, DWORD Errors) {
    switch (Event) {
    case EV_ERR: {
        TComErrors errors = ErrorsFromWord(Errors);
        if (!errors.Empty()) DoError(errors);
        break;
    }
    case EV_RXCHAR: ReceiveStep(); break;
    case EV_TXEMPTY:
        ForEachLink([&](TComLink& l) { if (l.OnTx) l.OnTx(this, false); });
        ForEachLink([&](TComLink& l) { if (l.OnTxEmpty) l.OnTxEmpty(this); });
        DoTxEmpty();
        break;
    case EV_BREAK: DoBreak(); break;
    case EV_RING:
        ForEachLink([&](TComLink& l) { if (l.OnRing) l.OnRing(this); });
        DoRing();
        break;
    case EV_CTS: CallSignalEvents(csCTS, Signals().Contains(csCTS)); break;
    case EV_DSR: CallSignalEvents(csDSR, Signals().Contains(csDSR)); break;
    case EV_RXFLAG:
        ForEachLink([&](TComLink& l) { if (l.OnRxFlag) l.OnRxFlag(this); });
        DoRxFlag();
        break;
    case EV_RLSD: CallSignalEvents(csRLSD, Signals().Contains(csRLSD)); break;
    case EV_RX80FULL: DoRx80Full(); break;
    default: break;
    }
}

void TCustomComPort::ReceiveStep() {
    int count = QueueCount();
    if (count > 0) ForEachLink([&](TComLink& l) { if (l.OnRx) l.OnRx(this, true); });
    if (count > 0 && !TriggersOnRxChar()) {
        std::vector<uint8_t> buffer;
        int got = 0;
        bool read = false;
        auto readOnce = [&] {
            if (read) return;
            read = true;
            buffer.resize(static_cast<size_t>(count));
            // The handlers get what was read, which a read time-out may have cut short.
            got = Read(buffer.data(), count);
            DoRxBuf(buffer.data(), got);
        };
        ForEachLink([&](TComLink& l) {
            if (!l.OnRxBuf) return;
            readOnce();
            l.OnRxBuf(this, buffer.data(), got);
        });
        if (!read && !FTriggersOnRxChar) readOnce();
        if (read) count = 0;
    }
    if (count > 0) DoRxChar(count);
}
