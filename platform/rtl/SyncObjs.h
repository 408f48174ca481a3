#pragma once
// Synchronisation objects: critical sections, events usable with the wait functions, and a
// many-readers/one-writer lock.
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

namespace rtl {
class Event;
}

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

class TSynchroObject {
public:
    virtual ~TSynchroObject() = default;
    virtual void Acquire() {}
    virtual void Release() {}
};

// Recursive, like the original: the owning thread may enter again and leaves as often.
class TCriticalSection : public TSynchroObject {
public:
    void Acquire() override { FMutex.lock(); }
    void Release() override { FMutex.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    bool TryEnter() { return FMutex.try_lock(); }

private:
    std::recursive_mutex FMutex;
};

// An object with a HANDLE that the wait functions accept. Closes the handle when destroyed.
class THandleObject : public TSynchroObject {
public:
    THandleObject() = default;
    ~THandleObject() override;
    THandleObject(const THandleObject&) = delete;
    THandleObject& operator=(const THandleObject&) = delete;

    HANDLE Handle() const { return FHandle; }
    // The error code of the last wait that answered wrError.
    int LastError() const { return FLastError; }

protected:
    HANDLE FHandle = nullptr;
    int FLastError = 0;
};

// An event over the kernel event of Handles.h: Handle() works with WaitForSingleObject and
// WaitForMultipleObjects, and SetEvent(Handle()) is the same as SetEvent(). Names have no meaning
// between processes on Linux and are ignored.
class TEvent : public THandleObject {
public:
    TEvent(void* eventAttributes, bool manualReset, bool initialState, const String& name,
           bool useComWait = false);
    TEvent(bool manualReset, bool initialState);
    // Manual reset, initially not signalled.
    explicit TEvent(bool useComWait = false);

    void SetEvent();
    void ResetEvent();
    // Acquire waits without limit; Release sets the event.
    void Acquire() override { WaitFor(INFINITE); }
    void Release() override { SetEvent(); }
    TWaitResult WaitFor(DWORD timeout = INFINITE);

private:
    std::shared_ptr<rtl::Event> FEvent;
};

// Manual reset, initially not signalled.
class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};

// Many readers or one writer. Reads nest, and the writer may read or write again inside its own
// write. A reader cannot become the writer (BeginWrite while holding a read lock waits forever):
// leave the read first. Readers are let in while a writer waits, so nested reads cannot deadlock
// against it.
class TMultiReadExclusiveWriteSynchronizer {
public:
    void BeginRead();
    void EndRead();
    // True when no other thread held the write lock between the call and getting it, so what
    // was read before is still current.
    bool BeginWrite();
    void EndWrite();

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    int FReaders = 0;
    DWORD FWriter = 0;     // thread id of the writer, 0 when none
    int FWriteDepth = 0;   // nested BeginWrite and BeginRead of the writer
    unsigned FWriteCount = 0;
};

using TMREWSync = TMultiReadExclusiveWriteSynchronizer;
