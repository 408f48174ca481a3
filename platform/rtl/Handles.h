#pragma once
// Kernel objects behind HANDLE values: a handle table (so a stale or forged handle is refused
// with ERROR_INVALID_HANDLE instead of being dereferenced), waitable objects, events and the
// wait functions, and the per-thread last-error value.
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/Types.h"

namespace rtl {

class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Called when the last handle to the object is closed.
    virtual void OnClose() {}
};

// An object that can be waited on. All waitable state is guarded by one process-wide mutex,
// so a wait on several objects sees a consistent picture.
class Waitable : public KernelObject {
public:
    // Both are called with WaitMutex() held.
    virtual bool IsSignaledLocked() const = 0;
    // A successful wait consumes the signal of an auto-reset object.
    virtual void AcquireLocked() {}
};

std::mutex& WaitMutex();
// Wakes every waiter so it re-checks its objects; call with WaitMutex() held or not.
void NotifyWaiters();

class Event final : public Waitable {
public:
    Event(bool manualReset, bool initialState) : FManualReset(manualReset), FSignaled(initialState) {}
    void Set();
    void Reset();
    bool IsSet() const;
    bool IsSignaledLocked() const override { return FSignaled; }
    void AcquireLocked() override {
        if (!FManualReset) FSignaled = false;
    }
    // A thread that sleeps outside the wait functions (a serial port's thread in poll) hears of
    // Set through a waker. Set calls it with the wait mutex held, so it must be quick and must
    // neither block nor take another lock. The caller keeps the function and removes it before
    // it goes.
    void AddWaker(const std::function<void()>* wake);
    void RemoveWaker(const std::function<void()>* wake);

private:
    bool FManualReset;
    bool FSignaled;
    std::vector<const std::function<void()>*> FWakers;
};

// The wait behind WaitForMultipleObjects, on objects the caller already holds: the layer uses it
// for objects it never hands out as handles. Answers WAIT_OBJECT_0 + index, WAIT_TIMEOUT or
// WAIT_FAILED (no objects, more than 64, or a null entry).
DWORD WaitForObjects(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, DWORD ms);
// The same wait up to a point of the rtl clock (MonotonicMs) rather than for a span from now: a
// waiter that computed its deadline earlier keeps it even when the clock moved meanwhile. A
// deadline already passed (or 0) just polls.
DWORD WaitForObjectsUntil(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, uint64_t deadlineMs);

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupHandle(HANDLE h);
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE h) {
    return std::dynamic_pointer_cast<T>(LookupHandle(h));
}

}  // namespace rtl

DWORD GetLastError();
void SetLastError(DWORD code);

HANDLE CreateEvent(void* attributes, BOOL manualReset, BOOL initialState, const char16_t* name);
BOOL SetEvent(HANDLE h);
BOOL ResetEvent(HANDLE h);
BOOL CloseHandle(HANDLE h);
DWORD WaitForSingleObject(HANDLE h, DWORD ms);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms);
