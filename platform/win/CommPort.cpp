// The port object behind a comm HANDLE: receive queue, pending transfers, time-outs, the event
// history, software flow control, and the serving of the device: a thread that waits in the port
// (for its transfer or its event wait) moves the bytes itself; the port's I/O thread does it only
// for work nobody waits for.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/win/Comm.h"
#include "platform/win/CommDevice.h"

namespace win {

namespace {

constexpr ULONG_PTR kPending = ERROR_IO_PENDING;
constexpr DWORD kDefaultQueue = 4096;
constexpr DWORD kMaxQueue = 16 * 1024 * 1024;
// The bytes taken from the device in one go.
constexpr size_t kScratch = 64 * 1024;
// How long work may wait for the I/O thread when the thread that served it has left.
constexpr int kStandbyMs = 10;

// A fixed-capacity byte queue.
class ByteRing {
public:
    explicit ByteRing(size_t capacity) : FData(capacity) {}
    size_t Size() const { return FSize; }
    size_t Capacity() const { return FData.size(); }
    size_t Free() const { return FData.size() - FSize; }
    void Clear() { FHead = FSize = 0; }
    void Push(const uint8_t* p, size_t n) {
        size_t cap = FData.size();
        size_t tail = (FHead + FSize) % cap;
        size_t first = std::min(n, cap - tail);
        std::memcpy(FData.data() + tail, p, first);
        std::memcpy(FData.data(), p + first, n - first);
        FSize += n;
    }
    void Push(uint8_t c) { Push(&c, 1); }
    // The bytes at the head that lie in one piece.
    size_t Peek(const uint8_t** p) const {
        *p = FData.data() + FHead;
        return std::min(FSize, FData.size() - FHead);
    }
    void Drop(size_t n) {
        n = std::min(n, FSize);
        FHead = (FHead + n) % FData.size();
        FSize -= n;
        if (FSize == 0) FHead = 0;
    }
    size_t Pop(uint8_t* p, size_t n) {
        n = std::min(n, FSize);
        size_t cap = FData.size();
        size_t first = std::min(n, cap - FHead);
        std::memcpy(p, FData.data() + FHead, first);
        std::memcpy(p + first, FData.data(), n - first);
        FHead = (FHead + n) % cap;
        FSize -= n;
        if (FSize == 0) FHead = 0;
        return n;
    }
    // Keeps the content; never shrinks below it.
    void Resize(size_t capacity) {
        capacity = std::max({capacity, FSize, size_t(1)});
        std::vector<uint8_t> data(capacity);
        size_t n = FSize;
        Pop(data.data(), n);
        FData.swap(data);
        FHead = 0;
        FSize = n;
    }

private:
    std::vector<uint8_t> FData;
    size_t FHead = 0;
    size_t FSize = 0;
};

enum class ReadMode { Counted, Immediate, FirstByte };

struct Transfer {
    OVERLAPPED* ov = nullptr;
    std::shared_ptr<rtl::Event> event;
    uint8_t* data = nullptr;
    DWORD count = 0;
    DWORD done = 0;
    bool armed = false;
    ReadMode mode = ReadMode::Counted;
    uint64_t deadline = rtl::NoDeadline;
    DWORD interval = 0;  // 0: no interval time-out
    uint64_t intervalDeadline = rtl::NoDeadline;
};

struct EventWait {
    OVERLAPPED* ov = nullptr;
    std::shared_ptr<rtl::Event> event;
    DWORD* mask = nullptr;
};

uint64_t Now() { return rtl::MonotonicMs(); }

// Real time in ms, for choices of who serves (not time-outs, which run on the rtl clock).
uint64_t RealMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

void Poke(int fd) {
    uint64_t one = 1;
    ssize_t r = ::write(fd, &one, sizeof one);
    (void)r;
}

void Drain(int fd) {
    uint64_t v;
    ssize_t r = ::read(fd, &v, sizeof v);
    (void)r;
}

// The descriptor a thread sleeps on while it waits in a port, made on first use; -1 when none
// could be made (the thread then leaves the serving to the I/O thread).
struct ThreadWaker {
    int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    ~ThreadWaker() {
        if (fd >= 0) ::close(fd);
    }
};
thread_local ThreadWaker* tWaker = nullptr;

int ThreadWakeFd() {
    thread_local ThreadWaker waker;
    tWaker = &waker;
    return waker.fd;
}

// The calling thread's descriptor if it has one (never made here).
int CurrentWakeFd() { return tWaker ? tWaker->fd : -1; }

// A thread waiting in a port: its descriptor and what it waits for.
struct Waiter {
    int fd = -1;
    const OVERLAPPED* ov = nullptr;
};

// What a sleeping server watches: its deadline (0 while awake) and the device's readiness.
struct ServerSleep {
    uint64_t until = 0;
    bool in = false;
    bool out = false;
};

}  // namespace

class CommPort final : public rtl::KernelObject {
public:
    explicit CommPort(std::unique_ptr<CommDevice> device) : FDevice(std::move(device)), FRx(kDefaultQueue) {
        FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        std::memset(&FDcb, 0, sizeof FDcb);
        FDcb.DCBlength = sizeof(DCB);
        FDcb.BaudRate = CBR_9600;
        FDcb.fBinary = 1;
        FDcb.ByteSize = 8;
        FDcb.XonChar = 0x11;
        FDcb.XoffChar = 0x13;
        FDcb.XonLim = FDcb.XoffLim = kDefaultQueue / 4;
        FTimeouts = {};
        FModem = FDevice->ModemStatus();
        FScratch.resize(kScratch);
    }

    ~CommPort() override { Shutdown(); }

    bool Start() {
        if (FWakeFd < 0) return false;
        FThread = std::thread([this] { Run(); });
        return true;
    }

    void OnClose() override { Shutdown(); }

    // ---- transfers ----

    BOOL Read(void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        std::unique_lock<std::mutex> lock(FMutex);
        if (done) *done = 0;
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("ReadFile", count)) return Fail(e);
        if (!buffer && count) return Fail(ERROR_INVALID_PARAMETER);
        if (FGone && FRx.Size() == 0 && count) return Fail(ERROR_DEVICE_NOT_CONNECTED);
        OVERLAPPED local{};
        Transfer t = NewTransfer(ov ? ov : &local, static_cast<uint8_t*>(buffer), count);
        if (!t.ov) return FALSE_;
        FReads.push_back(std::move(t));
        // Bytes already in the kernel are taken on the caller's thread, sparing a hand-over; with
        // the receive queue empty they go straight into the caller's buffer.
        if (FReads.size() == 1 && FRx.Size() < count) ReceiveLocked(nullptr, &FReads.front());
        ServiceReadsLocked();
        DeliverEventsLocked();
        return Finish(lock, ov ? ov : &local, ov == nullptr, done);
    }

    BOOL Write(const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        std::unique_lock<std::mutex> lock(FMutex);
        if (done) *done = 0;
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("WriteFile", count)) return Fail(e);
        if (!buffer && count) return Fail(ERROR_INVALID_PARAMETER);
        if (FGone) return Fail(ERROR_DEVICE_NOT_CONNECTED);
        OVERLAPPED local{};
        // The caller keeps the bytes until the write completes; they are never modified.
        Transfer t = NewTransfer(ov ? ov : &local, const_cast<uint8_t*>(static_cast<const uint8_t*>(buffer)), count);
        if (!t.ov) return FALSE_;
        FWrites.push_back(std::move(t));
        // Writing from the caller's thread spares the hand-over to the I/O thread; a blocking
        // caller's bytes stay its own, so they go to the device without the lock.
        if (!ov) WriteOwnLocked(lock);
        ServiceWritesLocked();
        CheckTxEmptyLocked();
        DeliverEventsLocked();
        // The I/O thread drains the queue, or watches the last bytes leave the device when a
        // wait wants to hear of it.
        if (NeedsWakeLocked() || (FTxBusy && FWrites.empty() && (FMask & EV_TXEMPTY))) Wake();
        return Finish(lock, ov ? ov : &local, ov == nullptr, done);
    }

    BOOL Result(OVERLAPPED* ov, DWORD* transferred, BOOL wait) {
        if (!ov) return Fail(ERROR_INVALID_PARAMETER);
        std::unique_lock<std::mutex> lock(FMutex);
        if (wait) ServeUntilLocked(lock, [ov] { return ov->Internal != kPending; }, ov);
        if (ov->Internal == kPending) return Fail(ERROR_IO_INCOMPLETE);
        if (transferred) *transferred = static_cast<DWORD>(ov->InternalHigh);
        if (ov->Internal != 0) return Fail(static_cast<DWORD>(ov->Internal));
        return TRUE_;
    }

    // ---- settings ----

    BOOL Setup(DWORD in, DWORD out) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("SetupComm", in)) return Fail(e);
        // Queues are allocated in full: an absurd size is refused rather than taken from memory.
        if (in > kMaxQueue || out > kMaxQueue) return Fail(ERROR_INVALID_PARAMETER);
        if (in) FRx.Resize(in);
        if (out) FTx.Resize(out);
        return TRUE_;
    }

    BOOL GetState(DCB* dcb) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
        *dcb = FDcb;
        return TRUE_;
    }

    BOOL SetState(const DCB* dcb) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
        if (DWORD e = FDevice->Trace("SetCommState", dcb->BaudRate)) return Fail(e);
        const DCB& d = *dcb;
        bool valid = d.BaudRate != 0 && d.ByteSize >= 5 && d.ByteSize <= 8 && d.Parity <= SPACEPARITY &&
                     d.StopBits <= TWOSTOPBITS && !(d.StopBits == ONE5STOPBITS && d.ByteSize != 5) &&
                     !(d.StopBits == TWOSTOPBITS && d.ByteSize == 5) &&
                     !((d.fOutX || d.fInX) && d.XonChar == d.XoffChar);
        if (!valid) return Fail(ERROR_INVALID_PARAMETER);
        if (FGone) return Fail(ERROR_DEVICE_NOT_CONNECTED);
        if (DWORD e = FDevice->Configure(d)) return Fail(e);
        FDevice->SetDtr(d.fDtrControl != DTR_CONTROL_DISABLE);
        // Toggle mode raises RTS only while sending, which the layer does not drive: RTS rests low.
        FDevice->SetRts(d.fRtsControl == RTS_CONTROL_ENABLE || d.fRtsControl == RTS_CONTROL_HANDSHAKE);
        FDcb = d;
        FDcb.DCBlength = sizeof(DCB);
        if (!FDcb.fOutX) FXoffHold = false;
        if (!FDcb.fInX) FXoffSent = false;
        Wake();
        return TRUE_;
    }

    BOOL GetTimeouts(COMMTIMEOUTS* t) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (!t) return Fail(ERROR_INVALID_PARAMETER);
        *t = FTimeouts;
        return TRUE_;
    }

    BOOL SetTimeouts(const COMMTIMEOUTS* t) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (!t) return Fail(ERROR_INVALID_PARAMETER);
        if (DWORD e = FDevice->Trace("SetCommTimeouts", t->ReadIntervalTimeout)) return Fail(e);
        if (t->ReadIntervalTimeout == MAXDWORD && t->ReadTotalTimeoutMultiplier == MAXDWORD &&
            t->ReadTotalTimeoutConstant == MAXDWORD)
            return Fail(ERROR_INVALID_PARAMETER);
        FTimeouts = *t;
        return TRUE_;
    }

    // ---- events ----

    BOOL GetMask(DWORD* mask) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (!mask) return Fail(ERROR_INVALID_PARAMETER);
        *mask = FMask;
        return TRUE_;
    }

    BOOL SetMask(DWORD mask) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("SetCommMask", mask)) return Fail(e);
        // Bytes that left while the mask did not ask for it raise no transmit-empty event later.
        if (!(FMask & EV_TXEMPTY) && TxDrainedLocked()) FTxBusy = false;
        FMask = mask;
        FHistory = 0;
        if (FWait.ov) CompleteWaitLocked(0, 0);
        // Bytes still leaving are watched from now on.
        if (FTxBusy && (mask & EV_TXEMPTY)) Wake();
        return TRUE_;
    }

    BOOL WaitEvent(DWORD* mask, OVERLAPPED* ov) {
        std::unique_lock<std::mutex> lock(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("WaitCommEvent", FMask)) return Fail(e);
        if (!mask || FMask == 0 || FWait.ov) return Fail(ERROR_INVALID_PARAMETER);
        OVERLAPPED local{};
        OVERLAPPED* o = ov ? ov : &local;
        std::shared_ptr<rtl::Event> event;
        if (o->hEvent) {
            event = rtl::LookupHandleAs<rtl::Event>(o->hEvent);
            if (!event) return Fail(ERROR_INVALID_HANDLE);
            event->Reset();
        }
        o->Internal = kPending;
        o->InternalHigh = 0;
        FWait = {o, std::move(event), mask};
        DeliverEventsLocked();
        if (!ov) {
            ServeUntilLocked(lock, [&local] { return local.Internal != kPending; }, &local);
            if (local.Internal != 0) return Fail(static_cast<DWORD>(local.Internal));
            return TRUE_;
        }
        if (o->Internal == kPending) {
            // Whoever waits for it, the device is watched from now on.
            if (NeedsWakeLocked()) Wake();
            return Fail(ERROR_IO_PENDING);
        }
        if (o->Internal != 0) return Fail(static_cast<DWORD>(o->Internal));
        return TRUE_;
    }

    // WaitCommEvent on ov and the wait for its end, served by the calling thread; stop ends the
    // wait early (the event wait may stay pending).
    DWORD WaitEventOrStop(DWORD* mask, OVERLAPPED* ov, HANDLE stop) {
        std::shared_ptr<rtl::Event> stopEvent;
        if (stop) {
            stopEvent = rtl::LookupHandleAs<rtl::Event>(stop);
            if (!stopEvent) {
                SetLastError(ERROR_INVALID_HANDLE);
                return WAIT_FAILED;
            }
        }
        std::unique_lock<std::mutex> lock(FMutex);
        if (!CheckOpenLocked()) return WAIT_FAILED;
        if (DWORD e = FDevice->Trace("WaitCommEvent", FMask)) {
            SetLastError(e);
            return WAIT_FAILED;
        }
        if (!mask || !ov || FMask == 0 || FWait.ov) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
        std::shared_ptr<rtl::Event> event;
        if (ov->hEvent) {
            event = rtl::LookupHandleAs<rtl::Event>(ov->hEvent);
            if (!event) {
                SetLastError(ERROR_INVALID_HANDLE);
                return WAIT_FAILED;
            }
            event->Reset();
        }
        ov->Internal = kPending;
        ov->InternalHigh = 0;
        FWait = {ov, std::move(event), mask};
        DeliverEventsLocked();
        ServeUntilSetLocked(lock, stopEvent.get(), [ov] { return ov->Internal != kPending; }, ov);
        // A stop outranks the end of the wait, as the first of two handles does.
        if (stopEvent && stopEvent->IsSet()) return WAIT_OBJECT_0;
        return WAIT_OBJECT_0 + 1;
    }

    // Waits until the event is set, serving the port meanwhile.
    DWORD WaitServing(HANDLE handle) {
        auto event = rtl::LookupHandleAs<rtl::Event>(handle);
        if (!event) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        std::unique_lock<std::mutex> lock(FMutex);
        if (!CheckOpenLocked()) return WAIT_FAILED;
        ServeUntilSetLocked(lock, event.get(), [] { return false; }, nullptr);
        if (!event->IsSet()) {
            SetLastError(ERROR_INVALID_HANDLE);  // the port was closed meanwhile
            return WAIT_FAILED;
        }
        return WAIT_OBJECT_0;
    }

    // ---- line control and status ----

    BOOL Purge(DWORD flags) {
        std::unique_lock<std::mutex> lock(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("PurgeComm", flags)) return Fail(e);
        if (flags == 0 || (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)))
            return Fail(ERROR_INVALID_PARAMETER);
        // Bytes the I/O thread is reading without the lock were in the device when the purge
        // was asked for: wait for them to reach the queue, so that the clear takes them too.
        if (flags & PURGE_RXCLEAR) {
            while (FReading && !FClosed) rtl::CurrentClock().WaitUntil(FCv, lock, rtl::NoDeadline);
            if (!CheckOpenLocked()) return FALSE_;
        }
        // Likewise bytes a caller is writing without the lock are in the device before it is
        // cleared, and the write being aborted has ended its device call.
        if (flags & (PURGE_TXCLEAR | PURGE_TXABORT)) {
            while (FWriting && !FClosed) rtl::CurrentClock().WaitUntil(FCv, lock, rtl::NoDeadline);
            if (!CheckOpenLocked()) return FALSE_;
        }
        if (flags & PURGE_TXABORT) AbortAllLocked(FWrites, ERROR_OPERATION_ABORTED);
        if (flags & PURGE_RXABORT) AbortAllLocked(FReads, ERROR_OPERATION_ABORTED);
        if (flags & PURGE_TXCLEAR) {
            FDevice->Purge(PURGE_TXCLEAR);
            FTx.Clear();
            FTxChar = -1;
            if (FWrites.empty()) FTxBusy = false;
        }
        if (flags & PURGE_RXCLEAR) {
            FRx.Clear();
            FDevice->Purge(PURGE_RXCLEAR);
            FRx80 = false;
            UpdateInputFlowLocked();
        }
        Wake();
        return TRUE_;
    }

    BOOL ClearError(DWORD* errors, COMSTAT* stat) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("ClearCommError", 0)) return Fail(e);
        // Bytes that no server takes wait in the kernel: the count includes them. Not right after
        // a server left, though: it is usually back at once (an event thread running its batch)
        // and takes them then, while a read here can block on the terminal's pending input work,
        // with the lock held.
        if (FLeader.fd < 0 && !FIoSleep.in && RealMs() - FLeaderLeftAt >= kStandbyMs) ReceiveLocked(nullptr);
        // Errors the I/O thread has not sampled yet belong to this call.
        SampleLineLocked();
        CheckTxEmptyLocked();
        DeliverEventsLocked();
        if (errors) *errors = FErrors;
        FErrors = 0;
        if (stat) {
            std::memset(stat, 0, sizeof *stat);
            DWORD modem = FModem;
            stat->fCtsHold = FDcb.fOutxCtsFlow && !(modem & MS_CTS_ON);
            stat->fDsrHold = FDcb.fOutxDsrFlow && !(modem & MS_DSR_ON);
            stat->fXoffHold = FXoffHold;
            stat->fXoffSent = FXoffSent;
            stat->fTxim = FTxChar >= 0;
            stat->cbInQue = static_cast<DWORD>(FRx.Size());
            DWORD out = 0;
            for (auto& w : FWrites) out += w.count - w.done;
            out += static_cast<DWORD>(FTx.Size());
            if (!FGone) out += DeviceOutQueueLocked();
            stat->cbOutQue = out;
        }
        return TRUE_;
    }

    BOOL ModemStatus(DWORD* status) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("GetCommModemStatus", 0)) return Fail(e);
        if (!status) return Fail(ERROR_INVALID_PARAMETER);
        // A fresh reading; the event logic keeps its own last state so no change goes unreported.
        *status = FGone ? FModem : FDevice->ModemStatus();
        return TRUE_;
    }

    BOOL Escape(DWORD function) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("EscapeCommFunction", function)) return Fail(e);
        if (FGone) return Fail(ERROR_DEVICE_NOT_CONNECTED);
        bool ok = true;
        switch (function) {
        case SETXOFF: FXoffHold = true; break;
        case SETXON: FXoffHold = false; break;
        case SETRTS: ok = FDevice->SetRts(true); break;
        case CLRRTS: ok = FDevice->SetRts(false); break;
        case SETDTR: ok = FDevice->SetDtr(true); break;
        case CLRDTR: ok = FDevice->SetDtr(false); break;
        case SETBREAK: ok = FDevice->SetBreak(true); if (ok) FBreak = true; break;
        case CLRBREAK: ok = FDevice->SetBreak(false); if (ok) FBreak = false; break;
        default: return Fail(ERROR_INVALID_PARAMETER);
        }
        if (!ok) return Fail(ERROR_GEN_FAILURE);
        Wake();
        return TRUE_;
    }

    BOOL ControlLines(DWORD* lines) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (!lines) return Fail(ERROR_INVALID_PARAMETER);
        *lines = FDevice->ControlLines();
        return TRUE_;
    }

    BOOL TransmitChar(char c) {
        std::lock_guard<std::mutex> g(FMutex);
        if (!CheckOpenLocked()) return FALSE_;
        if (DWORD e = FDevice->Trace("TransmitCommChar", static_cast<uint8_t>(c))) return Fail(e);
        if (FGone) return Fail(ERROR_DEVICE_NOT_CONNECTED);
        if (FTxChar >= 0) return Fail(ERROR_GEN_FAILURE);  // the previous one is still waiting
        FTxChar = static_cast<uint8_t>(c);
        ServiceWritesLocked();
        CheckTxEmptyLocked();
        DeliverEventsLocked();
        Wake();
        return TRUE_;
    }

private:
    static BOOL Fail(DWORD code) {
        SetLastError(code);
        return FALSE_;
    }

    bool CheckOpenLocked() {
        if (FClosed) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        return true;
    }

    // Tells the thread serving the device (a waiting caller, or else the I/O thread) to look again.
    void Wake() { Poke(FLeader.fd >= 0 ? FLeader.fd : FWakeFd); }

    Transfer NewTransfer(OVERLAPPED* ov, uint8_t* data, DWORD count) {
        Transfer t;
        if (ov->hEvent) {
            t.event = rtl::LookupHandleAs<rtl::Event>(ov->hEvent);
            if (!t.event) {
                SetLastError(ERROR_INVALID_HANDLE);
                return t;
            }
            t.event->Reset();
        }
        ov->Internal = kPending;
        ov->InternalHigh = 0;
        t.ov = ov;
        t.data = data;
        t.count = count;
        return t;
    }

    // Ends a call that queued a transfer: waits for a blocking one, or reports the state of an
    // overlapped one.
    BOOL Finish(std::unique_lock<std::mutex>& lock, OVERLAPPED* o, bool blocking, DWORD* done) {
        if (blocking) ServeUntilLocked(lock, [o] { return o->Internal != kPending; }, o);
        if (o->Internal == kPending) {
            if (NeedsWakeLocked()) Wake();
            return Fail(ERROR_IO_PENDING);
        }
        if (done) *done = static_cast<DWORD>(o->InternalHigh);
        if (o->Internal != 0) return Fail(static_cast<DWORD>(o->Internal));
        return TRUE_;
    }

    void CompleteLocked(Transfer& t, DWORD code) {
        t.ov->InternalHigh = t.done;
        t.ov->Internal = code;
        if (t.event) SignalLocked(t.event);
        WakeWaiterLocked(t.ov);
        NotifyLocked();
    }

    // The I/O thread sets events and wakes waiters after it has let go of the lock, so that a
    // woken caller does not run straight into the held lock.
    void SignalLocked(const std::shared_ptr<rtl::Event>& event) {
        if (FDefer) FSignals.push_back(event);
        else event->Set();
    }
    // Wakes the waits on FCv (a purge waiting for a device call, the close, a thread without a
    // descriptor of its own).
    void NotifyLocked() {
        if (FDefer) FNotifyPending = true;
        else FCv.notify_all();
    }
    // Wakes the thread waiting in the port for the transfer or event wait of ov, if one is (and
    // it is not the calling thread). Descriptors are written with the lock held: a thread leaves
    // the port only under it, so none is stale.
    void WakeWaiterLocked(const OVERLAPPED* ov) {
        int me = CurrentWakeFd();
        if (FLeader.fd >= 0 && FLeader.ov == ov && FLeader.fd != me) Poke(FLeader.fd);
        for (const Waiter& w : FFollowers)
            if (w.ov == ov && w.fd != me) Poke(w.fd);
    }
    void WakeAllWaitersLocked() {
        if (FLeader.fd >= 0) Poke(FLeader.fd);
        for (const Waiter& w : FFollowers) Poke(w.fd);
        FCv.notify_all();
    }
    void UnlockAndSignal(std::unique_lock<std::mutex>& lock) {
        std::vector<std::shared_ptr<rtl::Event>> signals;
        signals.swap(FSignals);
        bool notify = FNotifyPending;
        FNotifyPending = false;
        FDefer = false;
        lock.unlock();
        for (auto& e : signals) e->Set();
        if (notify) FCv.notify_all();
    }
    // The same with the lock kept, for a server that goes on as a plain caller.
    void SignalNowLocked() {
        if (FNotifyPending) FCv.notify_all();
        FNotifyPending = false;
        FDefer = false;
        for (auto& e : FSignals) e->Set();
        FSignals.clear();
    }

    void AbortAllLocked(std::deque<Transfer>& list, DWORD code) {
        for (auto& t : list) CompleteLocked(t, code);
        list.clear();
    }

    void CompleteWaitLocked(DWORD mask, DWORD code) {
        *FWait.mask = mask;
        FWait.ov->InternalHigh = sizeof(DWORD);
        FWait.ov->Internal = code;
        if (FWait.event) SignalLocked(FWait.event);
        WakeWaiterLocked(FWait.ov);
        FWait = {};
        NotifyLocked();
    }

    void RaiseLocked(DWORD events) { FHistory |= events & FMask; }

    void DeliverEventsLocked() {
        if (FWait.ov && (FHistory & FMask)) {
            DWORD ev = FHistory & FMask;
            FHistory = 0;
            CompleteWaitLocked(ev, 0);
        }
    }

    // ---- receive ----

    void ArmReadLocked(Transfer& t, uint64_t now) {
        t.armed = true;
        const COMMTIMEOUTS& to = FTimeouts;
        if (to.ReadIntervalTimeout == MAXDWORD && to.ReadTotalTimeoutMultiplier == 0 &&
            to.ReadTotalTimeoutConstant == 0) {
            t.mode = ReadMode::Immediate;
        } else if (to.ReadIntervalTimeout == MAXDWORD && to.ReadTotalTimeoutMultiplier == MAXDWORD) {
            t.mode = to.ReadTotalTimeoutConstant == 0 ? ReadMode::Immediate : ReadMode::FirstByte;
            t.deadline = now + to.ReadTotalTimeoutConstant;
        } else {
            t.mode = ReadMode::Counted;
            uint64_t total = uint64_t(to.ReadTotalTimeoutMultiplier) * t.count + to.ReadTotalTimeoutConstant;
            t.deadline = total == 0 ? rtl::NoDeadline : now + total;
            t.interval = to.ReadIntervalTimeout == MAXDWORD ? 0 : to.ReadIntervalTimeout;
        }
    }

    // Fills and completes reads in order from the receive queue and ends timed-out ones.
    void ServiceReadsLocked() {
        uint64_t now = Now();
        while (!FReads.empty()) {
            Transfer& t = FReads.front();
            if (!t.armed) ArmReadLocked(t, now);
            if (t.done < t.count && FRx.Size() > 0) {
                // A full queue is not polled for input: room again needs the I/O thread.
                if (FRx.Free() == 0) Wake();
                t.done += static_cast<DWORD>(FRx.Pop(t.data + t.done, t.count - t.done));
                if (t.interval) t.intervalDeadline = now + t.interval;
                UpdateInputFlowLocked();
            }
            bool finished = t.done == t.count || t.mode == ReadMode::Immediate ||
                            (t.mode == ReadMode::FirstByte && t.done > 0) || now >= t.deadline ||
                            (t.done > 0 && now >= t.intervalDeadline);
            if (!finished && FGone) {
                // The device is gone: what arrived is delivered, an empty read fails.
                CompleteLocked(t, t.done > 0 ? 0 : ERROR_DEVICE_NOT_CONNECTED);
                FReads.pop_front();
                continue;
            }
            if (!finished) break;
            CompleteLocked(t, 0);
            FReads.pop_front();
        }
    }

    // Takes what the device has: into the read at the head (direct, when given) while the receive
    // queue is empty, else into the queue as far as it has room. The serving thread passes its
    // lock to read unlocked, so callers are not held up by the system call; meanwhile FReading
    // keeps every other reader off the device, which keeps the bytes in order. Only the reader
    // adds to the queue; SetupComm alone can take room from it meanwhile. An unlocked read goes
    // straight into a transfer's buffer only when the reading thread owns that transfer (it is
    // waiting for it), so the buffer outlives the read even if the transfer ends meanwhile.
    void ReceiveLocked(std::unique_lock<std::mutex>* unlockForRead, Transfer* direct = nullptr) {
        while (!FGone && !FReading) {
            bool toRead = direct && FRx.Size() == 0 && direct->done < direct->count;
            if (!toRead && FRx.Free() == 0) return;
            uint8_t* dst = toRead ? direct->data + direct->done : FScratch.data();
            size_t want = toRead ? direct->count - direct->done : std::min(FRx.Free(), FScratch.size());
            OVERLAPPED* target = toRead ? direct->ov : nullptr;
            long n;
            if (unlockForRead) {
                FReading = true;
                UnlockAndSignal(*unlockForRead);
                n = FDevice->Read(dst, want);
                unlockForRead->lock();
                FDefer = true;
                FReading = false;
                NotifyLocked();  // a purge may wait for this read
                if (FStop) return;
            } else {
                n = FDevice->Read(dst, want);
            }
            if (n < 0) {
                GoneLocked();
                return;
            }
            if (n == 0) return;
            DWORD events = 0;
            size_t kept = FilterLocked(dst, static_cast<size_t>(n), events);
            // The read may have ended while the device was read unlocked (a purge, a time-out):
            // what it would have taken waits in the queue instead.
            if (toRead && (FReads.empty() || FReads.front().ov != target)) {
                toRead = false;
                direct = nullptr;
            }
            if (toRead) {
                CreditReadLocked(*direct, kept);
            } else {
                // SetupComm may have shrunk the queue while the device was read unlocked: grow it
                // back rather than overrun it or drop bytes already taken from the device.
                if (kept > FRx.Free()) FRx.Resize(FRx.Size() + kept);
                FRx.Push(dst, kept);
            }
            bool full80 = FRx.Size() * 5 >= FRx.Capacity() * 4;
            if (full80 && !FRx80) events |= EV_RX80FULL;
            FRx80 = full80;
            RaiseLocked(events);
            UpdateInputFlowLocked();
            if (static_cast<size_t>(n) < want) return;
            // A read that is full now leaves the rest in the device for whoever asks next.
            if (toRead && direct->done == direct->count) return;
        }
    }

    // Takes the flow-control characters out of n received bytes (in place) and notes the events
    // they raise; returns the bytes kept.
    size_t FilterLocked(uint8_t* p, size_t n, DWORD& events) {
        bool scan = FDcb.fOutX || FDcb.fNull || (FMask & EV_RXFLAG);
        if (!scan) {
            events |= EV_RXCHAR;
            return n;
        }
        size_t kept = 0;
        for (size_t i = 0; i < n; ++i) {
            uint8_t c = p[i];
            // Output flow control is done here, not by the line discipline, so that the hold
            // state is known (COMSTAT) and a held write times out as on the platform.
            if (FDcb.fOutX && c == static_cast<uint8_t>(FDcb.XoffChar)) { FXoffHold = true; continue; }
            if (FDcb.fOutX && c == static_cast<uint8_t>(FDcb.XonChar)) { FXoffHold = false; continue; }
            if (FDcb.fNull && c == 0) continue;
            if (c == static_cast<uint8_t>(FDcb.EvtChar)) events |= EV_RXFLAG;
            p[kept++] = c;
        }
        if (kept > 0) events |= EV_RXCHAR;  // not when only flow characters or NULs came
        return kept;
    }

    // Bytes placed straight into a read count as they do when taken from the queue.
    void CreditReadLocked(Transfer& t, size_t n) {
        uint64_t now = Now();
        if (!t.armed) ArmReadLocked(t, now);
        t.done += static_cast<DWORD>(n);
        if (n > 0 && t.interval) t.intervalDeadline = now + t.interval;
    }

    // Input flow control: asks the peer to stop when the queue is nearly full, to resume when
    // it has drained.
    void UpdateInputFlowLocked() {
        if (FRx.Size() < FRx.Capacity() * 4 / 5) FRx80 = false;
        if (!FDcb.fInX) return;
        size_t free = FRx.Free();
        if (!FXoffSent && free <= FDcb.XoffLim) {
            FXoffSent = true;
            FFlowChar = static_cast<uint8_t>(FDcb.XoffChar);
        } else if (FXoffSent && FRx.Size() <= FDcb.XonLim) {
            FXoffSent = false;
            FFlowChar = static_cast<uint8_t>(FDcb.XonChar);
        } else {
            return;
        }
        // Sent at once by whichever thread decided it (a caller's read as well); what the device
        // does not take now, the serving thread sends.
        ServiceWritesLocked();
        if (FFlowChar >= 0) Wake();
    }

    void GoneLocked() {
        if (FGone) return;
        FGone = true;
        FErrors |= CE_IOE;
        RaiseLocked(EV_ERR);
        AbortAllLocked(FWrites, ERROR_DEVICE_NOT_CONNECTED);
        FTxBusy = false;
        FTx.Clear();
        FTxChar = FFlowChar = -1;
        Wake();
    }

    // ---- transmit ----

    bool HeldLocked() const {
        if (FBreak || FXoffHold) return true;
        if (FDcb.fOutxCtsFlow && !FDevice->HandlesCtsFlow() && !(FModem & MS_CTS_ON)) return true;
        if (FDcb.fOutxDsrFlow && !(FModem & MS_DSR_ON)) return true;
        return false;
    }

    bool WantsTransmitLocked() const {
        if (FGone) return false;
        if (FFlowChar >= 0) return !FBreak;
        return (FTxChar >= 0 || FTx.Size() > 0 || !FWrites.empty()) && !HeldLocked();
    }

    bool WriteByteLocked(int& c) {
        uint8_t b = static_cast<uint8_t>(c);
        long n = WriteDeviceLocked(&b, 1);
        if (n < 0) {
            GoneLocked();
            return false;
        }
        if (n == 1) {
            c = -1;
            FTxBusy = true;
        }
        return n == 1;
    }

    // Moves bytes out: the transmit queue first, then the pending writes, straight to the device
    // while the queue is empty and into the queue once the device is full. A write is done when
    // all its bytes are in the queue or the device; nothing is taken while the output is held,
    // so a held write runs into its time-out with what it had placed.
    void ServiceWritesLocked() {
        if (FGone || FWriting) return;
        ArmWriteLocked();
        // Flow-control characters go first and ignore the hold; a queued character goes next.
        if (FFlowChar >= 0 && !FBreak && !WriteByteLocked(FFlowChar)) return;
        if (HeldLocked()) return;
        if (FTxChar >= 0 && !WriteByteLocked(FTxChar)) return;
        bool deviceFull = FTx.Size() > 0 && !DrainQueueLocked();
        if (FGone) return;
        while (!FWrites.empty()) {
            Transfer& w = FWrites.front();
            if (!deviceFull && FTx.Size() == 0 && w.done < w.count) {
                long n = WriteDeviceLocked(w.data + w.done, w.count - w.done);
                if (n < 0) {
                    GoneLocked();
                    return;
                }
                if (n > 0) FTxBusy = true;
                w.done += static_cast<DWORD>(n);
                deviceFull = w.done < w.count;
            }
            if (w.done < w.count) {
                size_t k = std::min<size_t>(FTx.Free(), w.count - w.done);
                FTx.Push(w.data + w.done, k);
                w.done += static_cast<DWORD>(k);
                if (k > 0) FTxBusy = true;
            }
            if (w.done < w.count) return;  // queue and device are full
            CompleteLocked(w, 0);
            FWrites.pop_front();
            ArmWriteLocked();
        }
    }

    // The blocking caller's write at the head of an idle transmit path goes to the device without
    // the lock, so the system call holds up no other caller (nor the thread serving the port).
    // FWriting keeps every other writer off the device meanwhile, which keeps the bytes in order.
    void WriteOwnLocked(std::unique_lock<std::mutex>& lock) {
        if (FGone || FWriting || FWrites.size() != 1 || FTx.Size() > 0 || FTxChar >= 0 || FFlowChar >= 0 ||
            HeldLocked())
            return;
        ArmWriteLocked();
        Transfer& w = FWrites.front();
        if (w.done >= w.count) return;
        OVERLAPPED* target = w.ov;
        const uint8_t* data = w.data + w.done;
        size_t want = w.count - w.done;
        FWriting = true;
        lock.unlock();
        long n = FDevice->Write(data, want);
        lock.lock();
        FWriting = false;
        NotifyLocked();  // a purge may wait for this write
        if (n < 0) {
            GoneLocked();
            return;
        }
        if (n > 0) FTxBusy = true;
        if (n > 0) FDeviceDrained = false;
        // An abort ended the write meanwhile: its bytes went out all the same.
        if (!FWrites.empty() && FWrites.front().ov == target) FWrites.front().done += static_cast<DWORD>(n);
    }

    long WriteDeviceLocked(const uint8_t* p, size_t n) {
        long k = FDevice->Write(p, n);
        if (k > 0) FDeviceDrained = false;
        return k;
    }

    // TIOCOUTQ, asked only when bytes went to the device since it was last seen empty.
    DWORD DeviceOutQueueLocked() {
        if (FDeviceDrained) return 0;
        DWORD n = FDevice->OutQueue();
        FDeviceDrained = n == 0;
        return n;
    }

    // True when the queue is empty afterwards.
    bool DrainQueueLocked() {
        while (FTx.Size() > 0) {
            const uint8_t* p;
            size_t n = FTx.Peek(&p);
            long k = WriteDeviceLocked(p, n);
            if (k < 0) {
                GoneLocked();
                return false;
            }
            FTx.Drop(static_cast<size_t>(k));
            if (static_cast<size_t>(k) < n) return false;
        }
        return true;
    }

    // The time-out of a write runs from the moment it reaches the head of the list, held or not.
    void ArmWriteLocked() {
        if (FWrites.empty() || FWrites.front().armed) return;
        Transfer& w = FWrites.front();
        w.armed = true;
        uint64_t total = uint64_t(FTimeouts.WriteTotalTimeoutMultiplier) * w.count + FTimeouts.WriteTotalTimeoutConstant;
        w.deadline = total == 0 ? rtl::NoDeadline : Now() + total;
    }

    void ExpireWritesLocked() {
        if (FWrites.empty()) return;
        uint64_t now = Now();
        // Only the transfer at the head runs its timer; the next one starts when it becomes head.
        while (!FWrites.empty() && FWrites.front().armed && now >= FWrites.front().deadline) {
            // A timed-out write is a success with the bytes sent so far.
            CompleteLocked(FWrites.front(), 0);
            FWrites.pop_front();
            ArmWriteLocked();
            ServiceWritesLocked();
        }
    }

    // Looked at only while a wait would hear of it (the device is asked each time); until then
    // FTxBusy keeps the bytes in mind.
    void CheckTxEmptyLocked() {
        if (!(FMask & EV_TXEMPTY) || !TxDrainedLocked()) return;
        FTxBusy = false;
        RaiseLocked(EV_TXEMPTY);
    }

    bool TxDrainedLocked() {
        if (!FTxBusy || FGone || !FWrites.empty() || FTx.Size() > 0 || FTxChar >= 0 || FFlowChar >= 0) return false;
        return DeviceOutQueueLocked() == 0;
    }

    // ---- line state ----

    void SampleLineLocked() {
        if (FGone) return;
        DWORD modem = FDevice->ModemStatus();
        DWORD changed = modem ^ FModem;
        DWORD events = 0;
        if (changed & MS_CTS_ON) events |= EV_CTS;
        if (changed & MS_DSR_ON) events |= EV_DSR;
        if (changed & MS_RLSD_ON) events |= EV_RLSD;
        if ((changed & MS_RING_ON) && (modem & MS_RING_ON)) events |= EV_RING;
        FModem = modem;
        DWORD errors = FDevice->TakeLineErrors();
        if (errors) {
            FErrors |= errors;
            if (errors & CE_BREAK) events |= EV_BREAK;
            if (errors & (CE_FRAME | CE_OVERRUN | CE_RXPARITY | CE_RXOVER | CE_IOE)) events |= EV_ERR;
        }
        RaiseLocked(events);
    }

    // ---- deadlines ----

    int PollTimeoutLocked() {
        uint64_t deadline = rtl::NoDeadline;
        if (!FReads.empty() && FReads.front().armed)
            deadline = std::min({deadline, FReads.front().deadline, FReads.front().intervalDeadline});
        if (!FWrites.empty() && FWrites.front().armed) deadline = std::min(deadline, FWrites.front().deadline);
        int timeout = -1;
        if (deadline != rtl::NoDeadline) {
            if (rtl::CurrentClock().IsManual()) {
                timeout = 2;  // a manual clock moves without telling: look often
            } else {
                uint64_t now = Now();
                timeout = deadline <= now ? 0 : static_cast<int>(std::min<uint64_t>(deadline - now, 60000));
            }
        }
        auto cap = [&timeout](int ms) { timeout = timeout < 0 ? ms : std::min(timeout, ms); };
        if (int ms = FDevice->StatusPollMs(); ms > 0 && !FGone) cap(ms);
        // TIOCOUTQ has no wake-up: watch the last bytes leave, when that is an event to report.
        if (FTxBusy && (FMask & EV_TXEMPTY) && FWrites.empty() && FTx.Size() == 0 && !FGone &&
            DeviceOutQueueLocked() != 0)
            cap(1);
        return timeout;
    }

    // ---- serving the device ----

    // Work that needs the device watched whether or not anyone waits in the port: transfers and
    // event waits in progress, bytes still to send, a drain to report, software flow control.
    bool NeedsServerLocked() const {
        if (FStop) return false;
        return !FReads.empty() || !FWrites.empty() || FWait.ov || FTx.Size() > 0 || FTxChar >= 0 ||
               FFlowChar >= 0 || (FTxBusy && (FMask & EV_TXEMPTY)) || FDcb.fInX || FDcb.fOutX;
    }

    // Whether the device's input is watched now: always by a thread waiting in the port; by the
    // I/O thread when there is work, or when the device tells of line changes through its
    // descriptor. Otherwise bytes wait in the kernel until someone asks (a read, a queue count,
    // an event wait), which spares the I/O thread a wake-up per arrival.
    bool WatchWantedLocked() const {
        return FLeader.fd >= 0 || NeedsServerLocked() || FDevice->SignalsLineChanges();
    }

    short DeviceEventsLocked(bool input) const {
        short ev = 0;
        if (input && FRx.Free() > 0) ev |= POLLIN;
        if (FDevice->PollsForWrite() && WantsTransmitLocked()) ev |= POLLOUT;
        return ev;
    }

    static ServerSleep SleepFor(int timeout, short events) {
        ServerSleep s;
        if (timeout < 0) s.until = rtl::NoDeadline;
        else s.until = rtl::CurrentClock().IsManual() ? 0 : Now() + static_cast<uint64_t>(timeout);
        s.in = events & POLLIN;
        s.out = events & POLLOUT;
        return s;
    }

    // A server's sleep in poll: fds[0] is its own descriptor, fds[1] the device's; sleep records
    // what it watches meanwhile. The lock is let go while it sleeps.
    int SleepLocked(std::unique_lock<std::mutex>& lock, pollfd* fds, nfds_t nfds, int timeout, ServerSleep& sleep,
                    int* err) {
        sleep = SleepFor(timeout, fds[1].events);
        UnlockAndSignal(lock);
        int r = ::poll(fds, nfds, timeout);
        *err = errno;
        lock.lock();
        FDefer = true;
        sleep = {};
        if (fds[0].revents & POLLIN) Drain(fds[0].fd);
        return r;
    }

    // What a server does when its poll returns: takes the device's input (straight into direct,
    // a read of its own, when that is at the head) and notices a device that is gone.
    void AfterPollLocked(std::unique_lock<std::mutex>& lock, int r, int err, short revents, Transfer* direct) {
        if (r < 0 && err != EINTR) GoneLocked();  // a descriptor poll refuses is no device
        if (!revents) return;
        FDevice->Acknowledge();
        if (revents & (POLLIN | POLLHUP | POLLERR)) ReceiveLocked(&lock, direct);
        if (FStop) return;
        if ((revents & (POLLHUP | POLLERR | POLLNVAL)) && FRx.Free() == 0) GoneLocked();
    }

    // Serves the device on the calling thread until done() holds. The thread that waits in the
    // port does the I/O thread's work itself, so what it waits for reaches it without a hand-over;
    // a waiter that finds another one serving sleeps until it is woken (its transfer ended, or
    // the server left and hands the serving on to it). own is the caller's transfer: its bytes
    // are read straight into its buffer.
    template <class Done>
    void ServeUntilLocked(std::unique_lock<std::mutex>& lock, Done done, OVERLAPPED* own) {
        int me = ThreadWakeFd();
        if (me < 0) {
            // No descriptor to sleep on: the I/O thread serves, and this thread looks now and then
            // (an event it waits for cannot reach it otherwise).
            if (!done()) Poke(FWakeFd);
            while (!done() && !FClosed) FCv.wait_for(lock, std::chrono::milliseconds(kStandbyMs));
            return;
        }
        while (!done() && !FClosed) {
            if (FLeader.fd >= 0 && FLeader.fd != me) {
                FFollowers.push_back({me, own});
                lock.unlock();
                pollfd p{me, POLLIN, 0};
                ::poll(&p, 1, -1);
                Drain(me);
                lock.lock();
                std::erase_if(FFollowers, [me](const Waiter& w) { return w.fd == me; });
                if (FClosed) FCv.notify_all();
                continue;
            }
            FLeader = {me, own};
            FDefer = true;
            pollfd fds[2] = {{me, POLLIN, 0}, {-1, 0, 0}};
            nfds_t nfds = 1;
            if (!FGone) {
                fds[1] = {FDevice->PollFd(), DeviceEventsLocked(true), 0};
                nfds = 2;
            }
            int err = 0;
            int r = SleepLocked(lock, fds, nfds, PollTimeoutLocked(), FLeadSleep, &err);
            Transfer* direct = own && !FReads.empty() && FReads.front().ov == own ? &FReads.front() : nullptr;
            AfterPollLocked(lock, r, err, nfds == 2 ? fds[1].revents : 0, direct);
            if (FStop) break;
            ServicePassLocked();
        }
        if (FLeader.fd == me) {
            FLeader = {};
            FLeaderLeftAt = RealMs();
            // The next waiter takes over; without one, the I/O thread does what nobody waits for.
            if (!FFollowers.empty()) Poke(FFollowers.front().fd);
            else if (NeedsWakeLocked()) Poke(FWakeFd);
            if (FClosed) FCv.notify_all();
        }
        SignalNowLocked();
    }

    // The same until done() holds or the event (may be null) is set, which wakes the thread. The
    // waker leaves a flag, so the serving loop need not take the events' lock to look.
    template <class Done>
    void ServeUntilSetLocked(std::unique_lock<std::mutex>& lock, rtl::Event* event, Done done, OVERLAPPED* own) {
        int me = ThreadWakeFd();
        std::atomic<bool> set{false};
        std::function<void()> wake = [me, &set] {
            set = true;
            if (me >= 0) Poke(me);
        };
        if (event) {
            event->AddWaker(&wake);
            if (event->IsSet()) set = true;
        }
        ServeUntilLocked(lock, [&] { return done() || set.load(); }, own);
        if (event) event->RemoveWaker(&wake);
    }

    // The I/O thread: serves the device while no thread waits in the port, as far as there is
    // something to do (NeedsServerLocked), and otherwise sleeps.
    void Run() {
        std::unique_lock<std::mutex> lock(FMutex);
        FDefer = true;
        while (!FStop) {
            pollfd fds[2] = {{FWakeFd, POLLIN, 0}, {-1, 0, 0}};
            nfds_t nfds = 1;
            // Stands by while a waiting thread serves, or while only bytes on the move wait and
            // the thread that served them left a moment ago (it is usually back before long).
            // Then it looks again when bytes are on the move (or the status of a port with modem
            // lines is due), in case that thread stays away; other work wakes it.
            uint64_t left = RealMs() - FLeaderLeftAt;
            bool standby = FLeader.fd >= 0 || (!UrgentWorkLocked() && left < kStandbyMs);
            if (!FGone) {
                // With no events asked for, poll still reports a hang-up: one is seen at once
                // even while nobody serves.
                fds[1] = {FDevice->PollFd(), standby ? short(0) : DeviceEventsLocked(WatchWantedLocked()), 0};
                nfds = 2;
            }
            int timeout;
            if (standby) {
                timeout = !MovingWorkLocked()       ? -1
                          : FLeader.fd >= 0         ? kStandbyMs
                                                    : static_cast<int>(kStandbyMs - left);
                if (int ms = FDevice->StatusPollMs(); ms > 0 && !FGone) timeout = timeout < 0 ? ms : std::min(timeout, ms);
            } else {
                timeout = PollTimeoutLocked();
            }
            int err = 0;
            int r = SleepLocked(lock, fds, nfds, timeout, FIoSleep, &err);
            if (FStop) break;
            short revents = nfds == 2 ? fds[1].revents : 0;
            AfterPollLocked(lock, r, err, revents, nullptr);
            if (FStop) break;
            // What it took from the device (a change it acknowledged) is dealt with here, even
            // when a waiting thread has begun to serve meanwhile.
            if (!standby || revents) ServicePassLocked();
        }
        UnlockAndSignal(lock);
    }

    // Whether the serving thread (a waiting caller, else the I/O thread), as it sleeps now, would
    // miss a deadline or a descriptor it must watch. Without a waiting caller, work that only
    // moves bytes along (draining the transmit queue, watching it empty) can wait for the I/O
    // thread's next look, due within kStandbyMs: the caller that left (an event thread running
    // its batch) is usually back before then and serves it without waking anyone.
    bool NeedsWakeLocked() const {
        bool lead = FLeader.fd >= 0;
        const ServerSleep& s = lead ? FLeadSleep : FIoSleep;
        if (s.until == 0) return true;
        uint64_t d = rtl::NoDeadline;
        if (!FReads.empty() && FReads.front().armed)
            d = std::min({d, FReads.front().deadline, FReads.front().intervalDeadline});
        if (!FWrites.empty() && FWrites.front().armed) d = std::min(d, FWrites.front().deadline);
        if (d < s.until) return true;
        bool now = lead || UrgentWorkLocked() || s.until > Now() + kStandbyMs;
        if (!s.out && FDevice->PollsForWrite() && WantsTransmitLocked() && now) return true;
        if (!s.in && !FGone && FRx.Free() > 0 && WatchWantedLocked() && now) return true;
        return false;
    }

    // Work that only moves bytes along: it can wait for the I/O thread's next look.
    bool MovingWorkLocked() const {
        return FTx.Size() > 0 || FTxChar >= 0 || FFlowChar >= 0 || (FTxBusy && (FMask & EV_TXEMPTY));
    }

    // Work that cannot wait for the I/O thread's next look: transfers and event waits whose
    // owners wait elsewhere (on their events), flow control, a device that tells of line changes.
    bool UrgentWorkLocked() const {
        return !FReads.empty() || !FWrites.empty() || FWait.ov || FDcb.fInX || FDcb.fOutX ||
               FDevice->SignalsLineChanges();
    }

    void ServicePassLocked() {
        SampleLineLocked();
        ServiceReadsLocked();
        ServiceWritesLocked();
        ExpireWritesLocked();
        CheckTxEmptyLocked();
        DeliverEventsLocked();
    }

    void Shutdown() {
        {
            std::lock_guard<std::mutex> g(FMutex);
            if (FClosed) return;
            FClosed = true;
            FStop = true;
            AbortAllLocked(FReads, ERROR_OPERATION_ABORTED);
            AbortAllLocked(FWrites, ERROR_OPERATION_ABORTED);
            if (FWait.ov) CompleteWaitLocked(0, ERROR_OPERATION_ABORTED);
            WakeAllWaitersLocked();
            Poke(FWakeFd);
        }
        if (FThread.joinable()) FThread.join();
        std::unique_lock<std::mutex> lock(FMutex);
        // Threads still in the port leave it before the device goes.
        while (FLeader.fd >= 0 || !FFollowers.empty() || FReading || FWriting) FCv.wait(lock);
        FDevice.reset();
        if (FWakeFd >= 0) ::close(FWakeFd);
        FWakeFd = -1;
    }

    std::mutex FMutex;
    std::condition_variable FCv;
    std::unique_ptr<CommDevice> FDevice;
    std::thread FThread;
    int FWakeFd = -1;
    bool FStop = false;
    bool FClosed = false;
    bool FGone = false;
    bool FReading = false;
    bool FWriting = false;
    // While a serving thread holds the lock, completions queue their signals here.
    bool FDefer = false;
    std::vector<std::shared_ptr<rtl::Event>> FSignals;
    bool FNotifyPending = false;  // the serving thread reads the device without the lock
    // The descriptor of the thread that waits in the port and serves it (-1: none), and those of
    // the threads that wait while it serves.
    Waiter FLeader;
    std::vector<Waiter> FFollowers;
    // What the sleeping servers watch.
    ServerSleep FLeadSleep;
    ServerSleep FIoSleep;
    uint64_t FLeaderLeftAt = 0;  // real time, ms

    DCB FDcb;
    COMMTIMEOUTS FTimeouts;

    ByteRing FRx;
    ByteRing FTx{kDefaultQueue};
    std::vector<uint8_t> FScratch;
    bool FRx80 = false;
    std::deque<Transfer> FReads;
    std::deque<Transfer> FWrites;
    int FTxChar = -1;    // TransmitCommChar
    int FFlowChar = -1;  // XON or XOFF to send ahead of everything
    bool FTxBusy = false;  // bytes went out since the last EV_TXEMPTY
    bool FDeviceDrained = true;  // the device's transmit queue was seen empty since the last write
    bool FXoffHold = false;
    bool FXoffSent = false;
    bool FBreak = false;

    DWORD FMask = 0;
    DWORD FHistory = 0;
    EventWait FWait;
    DWORD FModem = 0;
    DWORD FErrors = 0;
};

namespace {

std::shared_ptr<CommPort> PortOf(HANDLE h) {
    auto port = rtl::LookupHandleAs<CommPort>(h);
    if (!port) SetLastError(ERROR_INVALID_HANDLE);
    return port;
}

// "\\.\ttyUSB0" and "ttyUSB0" name the same port.
String StripDevicePrefix(const String& name) {
    static const String prefix = u"\\\\.\\";
    if (name.compare(0, prefix.size(), prefix) == 0) return String(name.substr(prefix.size()));
    return name;
}

}  // namespace

HANDLE OpenCommPort(const String& rawName, DWORD disposition) {
    String name = StripDevicePrefix(rawName);
    if (name.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    DWORD error = 0;
    std::unique_ptr<CommDevice> device = OpenSimDevice(name, &error);
    if (!device && !error) {
        std::string path = name.ToUtf8();
        if (path.find('/') == std::string::npos) path = "/dev/" + path;
        device = OpenTermiosDevice(path, &error);
    }
    if (!device) {
        SetLastError(error ? error : ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto port = std::make_shared<CommPort>(std::move(device));
    if (!port->Start()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    return rtl::RegisterHandle(port);
}

}  // namespace win

HANDLE CreateFile(const String& name, DWORD, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
    return win::OpenCommPort(name, disposition);
}

HANDLE CreateFile(const char16_t* name, DWORD access, DWORD share, void* sa, DWORD disposition, DWORD flags,
                  HANDLE tmpl) {
    return CreateFile(String(name), access, share, sa, disposition, flags, tmpl);
}

HANDLE CreateFileW(const char16_t* name, DWORD access, DWORD share, void* sa, DWORD disposition, DWORD flags,
                   HANDLE tmpl) {
    return CreateFile(String(name), access, share, sa, disposition, flags, tmpl);
}

#define WITH_PORT(h, call)                   \
    do {                                     \
        auto port = win::PortOf(h);          \
        if (!port) return FALSE_;             \
        return port->call;                   \
    } while (0)

BOOL ReadFile(HANDLE h, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
    WITH_PORT(h, Read(buffer, count, done, ov));
}
BOOL WriteFile(HANDLE h, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
    WITH_PORT(h, Write(buffer, count, done, ov));
}
BOOL GetOverlappedResult(HANDLE h, OVERLAPPED* ov, DWORD* transferred, BOOL wait) {
    WITH_PORT(h, Result(ov, transferred, wait));
}
BOOL SetupComm(HANDLE h, DWORD in, DWORD out) { WITH_PORT(h, Setup(in, out)); }
BOOL GetCommState(HANDLE h, DCB* dcb) { WITH_PORT(h, GetState(dcb)); }
BOOL SetCommState(HANDLE h, const DCB* dcb) { WITH_PORT(h, SetState(dcb)); }
BOOL GetCommTimeouts(HANDLE h, COMMTIMEOUTS* t) { WITH_PORT(h, GetTimeouts(t)); }
BOOL SetCommTimeouts(HANDLE h, const COMMTIMEOUTS* t) { WITH_PORT(h, SetTimeouts(t)); }
BOOL GetCommMask(HANDLE h, DWORD* mask) { WITH_PORT(h, GetMask(mask)); }
BOOL SetCommMask(HANDLE h, DWORD mask) { WITH_PORT(h, SetMask(mask)); }
BOOL WaitCommEvent(HANDLE h, DWORD* mask, OVERLAPPED* ov) { WITH_PORT(h, WaitEvent(mask, ov)); }
DWORD WaitCommEventOrStop(HANDLE h, DWORD* mask, OVERLAPPED* ov, HANDLE stop) {
    auto port = win::PortOf(h);
    if (!port) return WAIT_FAILED;
    return port->WaitEventOrStop(mask, ov, stop);
}
DWORD WaitServingComm(HANDLE h, HANDLE event) {
    auto port = win::PortOf(h);
    if (!port) return WAIT_FAILED;
    return port->WaitServing(event);
}
BOOL PurgeComm(HANDLE h, DWORD flags) { WITH_PORT(h, Purge(flags)); }
BOOL ClearCommError(HANDLE h, DWORD* errors, COMSTAT* stat) { WITH_PORT(h, ClearError(errors, stat)); }
BOOL GetCommModemStatus(HANDLE h, DWORD* status) { WITH_PORT(h, ModemStatus(status)); }
BOOL EscapeCommFunction(HANDLE h, DWORD function) { WITH_PORT(h, Escape(function)); }
BOOL TransmitCommChar(HANDLE h, char c) { WITH_PORT(h, TransmitChar(c)); }
BOOL GetCommControlLines(HANDLE h, DWORD* lines) { WITH_PORT(h, ControlLines(lines)); }
