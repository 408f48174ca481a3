#include "platform/rtl/SyncObjs.h"

#include "platform/rtl/Handles.h"
#include "platform/rtl/Threads.h"

THandleObject::~THandleObject() {
    if (FHandle) CloseHandle(FHandle);
}

TEvent::TEvent(void*, bool manualReset, bool initialState, const String&, bool)
    : FEvent(std::make_shared<rtl::Event>(manualReset, initialState)) {
    FHandle = rtl::RegisterHandle(FEvent);
}

TEvent::TEvent(bool manualReset, bool initialState) : TEvent(nullptr, manualReset, initialState, String()) {}

TEvent::TEvent(bool) : TEvent(nullptr, true, false, String()) {}

void TEvent::SetEvent() { FEvent->Set(); }

void TEvent::ResetEvent() { FEvent->Reset(); }

TWaitResult TEvent::WaitFor(DWORD timeout) {
    // On the object itself, so the event works even if someone closed its handle.
    switch (rtl::WaitForObjects({FEvent}, false, timeout)) {
    case WAIT_OBJECT_0:
        return wrSignaled;
    case WAIT_TIMEOUT:
        return wrTimeout;
    case WAIT_ABANDONED:
        return wrAbandoned;
    default:
        FLastError = static_cast<int>(GetLastError());
        return wrError;
    }
}

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
    DWORD me = GetCurrentThreadId();
    std::unique_lock<std::mutex> lock(FMutex);
    if (FWriter == me) {
        ++FWriteDepth;
        return;
    }
    FChanged.wait(lock, [this] { return FWriter == 0; });
    ++FReaders;
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
    DWORD me = GetCurrentThreadId();
    std::lock_guard<std::mutex> g(FMutex);
    if (FWriter == me) {
        if (FWriteDepth > 1) --FWriteDepth;  // a read nested in this thread's write
        return;
    }
    if (FReaders > 0 && --FReaders == 0) FChanged.notify_all();
}

bool TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
    DWORD me = GetCurrentThreadId();
    std::unique_lock<std::mutex> lock(FMutex);
    if (FWriter == me) {
        ++FWriteDepth;
        return true;
    }
    // A writer holding the lock now may still change the data before it lets go.
    bool unchanged = FWriter == 0;
    unsigned before = FWriteCount;
    FChanged.wait(lock, [this] { return FWriter == 0 && FReaders == 0; });
    unchanged = unchanged && FWriteCount == before;
    FWriter = me;
    FWriteDepth = 1;
    ++FWriteCount;
    return unchanged;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
    DWORD me = GetCurrentThreadId();
    std::lock_guard<std::mutex> g(FMutex);
    if (FWriter != me) return;  // not this thread's lock: nothing to release
    if (--FWriteDepth == 0) {
        FWriter = 0;
        FChanged.notify_all();
    }
}
