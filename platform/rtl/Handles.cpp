#include "platform/rtl/Handles.h"

#include <condition_variable>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Clock.h"

namespace rtl {

namespace {

// Never destroyed: a free-on-terminate thread may still signal its end while the process exits.
struct WaitState {
    std::mutex mutex;
    std::condition_variable cv;
};
WaitState& Waits() {
    static WaitState* state = new WaitState;
    return *state;
}

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
    uintptr_t next = 0x100;
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // outlives every static that may close handles
    return *table;
}

thread_local DWORD tLastError = 0;

}  // namespace

std::mutex& WaitMutex() { return Waits().mutex; }

void NotifyWaiters() { Waits().cv.notify_all(); }

void Event::Set() {
    {
        std::lock_guard<std::mutex> g(Waits().mutex);
        FSignaled = true;
        for (auto* wake : FWakers) (*wake)();
    }
    NotifyWaiters();
}

void Event::AddWaker(const std::function<void()>* wake) {
    std::lock_guard<std::mutex> g(Waits().mutex);
    FWakers.push_back(wake);
}

void Event::RemoveWaker(const std::function<void()>* wake) {
    std::lock_guard<std::mutex> g(Waits().mutex);
    std::erase(FWakers, wake);
}

void Event::Reset() {
    std::lock_guard<std::mutex> g(Waits().mutex);
    FSignaled = false;
}

bool Event::IsSet() const {
    std::lock_guard<std::mutex> g(Waits().mutex);
    return FSignaled;
}

DWORD WaitForObjects(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, DWORD ms) {
    return WaitForObjectsUntil(objects, waitAll, ms == 0 ? 0 : DeadlineAfter(ms));
}

DWORD WaitForObjectsUntil(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, uint64_t deadline) {
    size_t count = objects.size();
    if (count == 0 || count > 64) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    for (auto& o : objects)
        if (!o) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
    // With the wait mutex held: takes the signal(s) and answers the result, or WAIT_TIMEOUT.
    auto take = [&]() -> DWORD {
        if (waitAll) {
            for (auto& o : objects)
                if (!o->IsSignaledLocked()) return WAIT_TIMEOUT;
            for (auto& o : objects) o->AcquireLocked();
            return WAIT_OBJECT_0;
        }
        for (size_t i = 0; i < count; ++i)
            if (objects[i]->IsSignaledLocked()) {
                objects[i]->AcquireLocked();
                return WAIT_OBJECT_0 + static_cast<DWORD>(i);
            }
        return WAIT_TIMEOUT;
    };
    std::unique_lock<std::mutex> lock(Waits().mutex);
    for (;;) {
        DWORD result = take();
        if (result != WAIT_TIMEOUT || deadline == 0) return result;
        // One last look after the deadline: the objects may have been signalled as it passed.
        if (!CurrentClock().WaitUntil(Waits().cv, lock, deadline)) return take();
    }
}

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
    auto& t = Table();
    std::lock_guard<std::mutex> g(t.mutex);
    uintptr_t value = t.next;
    t.next += 4;
    t.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE h) {
    auto& t = Table();
    std::lock_guard<std::mutex> g(t.mutex);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(h));
    return it == t.objects.end() ? nullptr : it->second;
}

}  // namespace rtl

DWORD GetLastError() { return rtl::tLastError; }
void SetLastError(DWORD code) { rtl::tLastError = code; }

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, const char16_t*) {
    return rtl::RegisterHandle(std::make_shared<rtl::Event>(manualReset != 0, initialState != 0));
}

BOOL SetEvent(HANDLE h) {
    auto e = rtl::LookupHandleAs<rtl::Event>(h);
    if (!e) { SetLastError(ERROR_INVALID_HANDLE); return 0; }
    e->Set();
    return 1;
}

BOOL ResetEvent(HANDLE h) {
    auto e = rtl::LookupHandleAs<rtl::Event>(h);
    if (!e) { SetLastError(ERROR_INVALID_HANDLE); return 0; }
    e->Reset();
    return 1;
}

BOOL CloseHandle(HANDLE h) {
    std::shared_ptr<rtl::KernelObject> object;
    {
        auto& t = rtl::Table();
        std::lock_guard<std::mutex> g(t.mutex);
        auto it = t.objects.find(reinterpret_cast<uintptr_t>(h));
        if (it == t.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        object = std::move(it->second);
        t.objects.erase(it);
    }
    object->OnClose();
    return 1;
}

DWORD WaitForSingleObject(HANDLE h, DWORD ms) { return WaitForMultipleObjects(1, &h, 0, ms); }

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms) {
    if (count == 0 || count > 64 || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<rtl::Waitable>> objects;
    for (DWORD i = 0; i < count; ++i) {
        auto w = rtl::LookupHandleAs<rtl::Waitable>(handles[i]);
        if (!w) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(w));
    }
    return rtl::WaitForObjects(objects, waitAll != 0, ms);
}
