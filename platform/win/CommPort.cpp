// The port object behind a comm HANDLE: receive queue, pending transfers, time-outs, the event
// history, software flow control, and the I/O thread that moves bytes between them and the device.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
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
        // Bytes already in the kernel are taken on the caller's thread, sparing a hand-over.
        if (FReads.empty() && FRx.Size() < count) ReceiveLocked(nullptr);
        FReads.push_back(std::move(t));
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
        // Writing from the caller's thread spares the hand-over to the I/O thread.
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
        if (wait) {
            while (ov->Internal == kPending) rtl::CurrentClock().WaitUntil(FCv, lock, rtl::NoDeadline);
        }
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
            while (local.Internal == kPending) rtl::CurrentClock().WaitUntil(FCv, lock, rtl::NoDeadline);
            if (local.Internal != 0) return Fail(static_cast<DWORD>(local.Internal));
            return TRUE_;
        }
        if (o->Internal == kPending) return Fail(ERROR_IO_PENDING);
        if (o->Internal != 0) return Fail(static_cast<DWORD>(o->Internal));
        return TRUE_;
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
            if (!FGone) out += FDevice->OutQueue();
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

    void Wake() {
        uint64_t one = 1;
        ssize_t r = ::write(FWakeFd, &one, sizeof one);
        (void)r;
    }

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
        if (blocking) {
            Wake();
            while (o->Internal == kPending) rtl::CurrentClock().WaitUntil(FCv, lock, rtl::NoDeadline);
        }
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
        NotifyLocked();
    }

    // The I/O thread sets events and wakes waiters after it has let go of the lock, so that a
    // woken caller does not run straight into the held lock.
    void SignalLocked(const std::shared_ptr<rtl::Event>& event) {
        if (FDefer) FSignals.push_back(event);
        else event->Set();
    }
    void NotifyLocked() {
        if (FDefer) FNotifyPending = true;
        else FCv.notify_all();
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

    void AbortAllLocked(std::deque<Transfer>& list, DWORD code) {
        for (auto& t : list) CompleteLocked(t, code);
        list.clear();
    }

    void CompleteWaitLocked(DWORD mask, DWORD code) {
        *FWait.mask = mask;
        FWait.ov->InternalHigh = sizeof(DWORD);
        FWait.ov->Internal = code;
        if (FWait.event) SignalLocked(FWait.event);
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

    // Takes what the device has, as far as the receive queue has room. The I/O thread passes its
    // lock to read unlocked, so callers are not held up by the system call; meanwhile FReading
    // keeps every other reader off the device, which keeps the bytes in order. Only the reader
    // adds to the queue; SetupComm alone can take room from it meanwhile.
    void ReceiveLocked(std::unique_lock<std::mutex>* unlockForRead) {
        while (!FGone && FRx.Free() > 0 && !FReading) {
            size_t want = std::min(FRx.Free(), FScratch.size());
            long n;
            if (unlockForRead) {
                FReading = true;
                UnlockAndSignal(*unlockForRead);
                n = FDevice->Read(FScratch.data(), want);
                unlockForRead->lock();
                FDefer = true;
                FReading = false;
                NotifyLocked();  // a purge may wait for this read
                if (FStop) return;
            } else {
                n = FDevice->Read(FScratch.data(), want);
            }
            if (n < 0) {
                GoneLocked();
                return;
            }
            if (n == 0) return;
            // SetupComm may have shrunk the queue while the device was read unlocked: grow it
            // back rather than overrun it or drop bytes already taken from the device.
            if (static_cast<size_t>(n) > FRx.Free()) FRx.Resize(FRx.Size() + static_cast<size_t>(n));
            DWORD events = 0;
            size_t before = FRx.Size();
            const uint8_t* p = FScratch.data();
            bool scan = FDcb.fOutX || FDcb.fNull || (FMask & EV_RXFLAG);
            if (!scan) {
                FRx.Push(p, static_cast<size_t>(n));
                events |= EV_RXCHAR;
            } else {
                for (long i = 0; i < n; ++i) {
                    uint8_t c = p[i];
                    // Output flow control is done here, not by the line discipline, so that the
                    // hold state is known (COMSTAT) and a held write times out as on the platform.
                    if (FDcb.fOutX && c == static_cast<uint8_t>(FDcb.XoffChar)) { FXoffHold = true; continue; }
                    if (FDcb.fOutX && c == static_cast<uint8_t>(FDcb.XonChar)) { FXoffHold = false; continue; }
                    if (FDcb.fNull && c == 0) continue;
                    if (c == static_cast<uint8_t>(FDcb.EvtChar)) events |= EV_RXFLAG;
                    FRx.Push(c);
                    events |= EV_RXCHAR;
                }
            }
            if (FRx.Size() == before) events &= ~EV_RXCHAR;  // only flow characters or NULs came
            bool full80 = FRx.Size() * 5 >= FRx.Capacity() * 4;
            if (full80 && !FRx80) events |= EV_RX80FULL;
            FRx80 = full80;
            RaiseLocked(events);
            UpdateInputFlowLocked();
            if (static_cast<size_t>(n) < want) return;
        }
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
            Wake();  // called from a reader's thread as well: the I/O thread sends it
        }
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
        long n = FDevice->Write(&b, 1);
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
        if (FGone) return;
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
                long n = FDevice->Write(w.data + w.done, w.count - w.done);
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

    // True when the queue is empty afterwards.
    bool DrainQueueLocked() {
        while (FTx.Size() > 0) {
            const uint8_t* p;
            size_t n = FTx.Peek(&p);
            long k = FDevice->Write(p, n);
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

    void CheckTxEmptyLocked() {
        if (!FTxBusy || FGone || !FWrites.empty() || FTx.Size() > 0 || FTxChar >= 0 || FFlowChar >= 0) return;
        if (FDevice->OutQueue() != 0) return;
        FTxBusy = false;
        RaiseLocked(EV_TXEMPTY);
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

    // ---- the I/O thread ----

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
            FDevice->OutQueue() != 0)
            cap(1);
        return timeout;
    }

    void Run() {
        std::unique_lock<std::mutex> lock(FMutex);
        FDefer = true;
        while (!FStop) {
            pollfd fds[2] = {{FWakeFd, POLLIN, 0}, {-1, 0, 0}};
            nfds_t nfds = 1;
            if (!FGone) {
                short ev = 0;
                if (FRx.Free() > 0) ev |= POLLIN;
                if (FDevice->PollsForWrite() && WantsTransmitLocked()) ev |= POLLOUT;
                fds[1] = {FDevice->PollFd(), ev, 0};
                nfds = 2;
            }
            int timeout = PollTimeoutLocked();
            FPollIn = fds[1].events & POLLIN;
            FPollOut = fds[1].events & POLLOUT;
            if (timeout < 0) FSleepUntil = rtl::NoDeadline;
            else FSleepUntil = rtl::CurrentClock().IsManual() ? 0 : Now() + static_cast<uint64_t>(timeout);
            UnlockAndSignal(lock);
            int r = ::poll(fds, nfds, timeout);
            lock.lock();
            FDefer = true;
            FSleepUntil = 0;
            FPollIn = FPollOut = false;
            if (FStop) break;
            if (r < 0 && errno != EINTR) GoneLocked();  // a descriptor poll refuses is no device
            if (fds[0].revents & POLLIN) {
                uint64_t v;
                ssize_t n = ::read(FWakeFd, &v, sizeof v);
                (void)n;
            }
            if (nfds == 2 && fds[1].revents) {
                FDevice->Acknowledge();
                if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) ReceiveLocked(&lock);
                if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) && FRx.Free() == 0) GoneLocked();
            }
            ServicePassLocked();
        }
        UnlockAndSignal(lock);
    }

    // Whether the I/O thread, as it sleeps now, would miss a deadline or a descriptor it must watch.
    bool NeedsWakeLocked() const {
        if (FSleepUntil == 0) return true;
        uint64_t d = rtl::NoDeadline;
        if (!FReads.empty() && FReads.front().armed)
            d = std::min({d, FReads.front().deadline, FReads.front().intervalDeadline});
        if (!FWrites.empty() && FWrites.front().armed) d = std::min(d, FWrites.front().deadline);
        if (d < FSleepUntil) return true;
        if (!FPollOut && FDevice->PollsForWrite() && WantsTransmitLocked()) return true;
        if (!FPollIn && !FGone && FRx.Free() > 0) return true;
        return false;
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
        }
        Wake();
        if (FThread.joinable()) FThread.join();
        std::lock_guard<std::mutex> g(FMutex);
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
    // While the I/O thread holds the lock, completions queue their signals here.
    bool FDefer = false;
    std::vector<std::shared_ptr<rtl::Event>> FSignals;
    bool FNotifyPending = false;  // the I/O thread reads the device without the lock
    // What the sleeping I/O thread watches: its deadline (0 while awake) and descriptor events.
    uint64_t FSleepUntil = 0;
    bool FPollIn = false;
    bool FPollOut = false;

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
BOOL PurgeComm(HANDLE h, DWORD flags) { WITH_PORT(h, Purge(flags)); }
BOOL ClearCommError(HANDLE h, DWORD* errors, COMSTAT* stat) { WITH_PORT(h, ClearError(errors, stat)); }
BOOL GetCommModemStatus(HANDLE h, DWORD* status) { WITH_PORT(h, ModemStatus(status)); }
BOOL EscapeCommFunction(HANDLE h, DWORD function) { WITH_PORT(h, Escape(function)); }
BOOL TransmitCommChar(HANDLE h, char c) { WITH_PORT(h, TransmitChar(c)); }
BOOL GetCommControlLines(HANDLE h, DWORD* lines) { WITH_PORT(h, ControlLines(lines)); }
