#include "platform/win/Window.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/Threads.h"
#include "platform/win/Hooks.h"

namespace {

struct ThreadQueue;

struct SentItem {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;                     // guarded by gMutex
    std::shared_ptr<ThreadQueue> sender;   // woken when done
};

struct TimerEntry {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct ThreadQueue {
    std::thread::id thread;
    DWORD threadId = 0;
    bool isMain = false;
    bool alive = true;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentItem>> sent;
    std::vector<TimerEntry> timers;
    std::function<void()> wake;
    bool quit = false;
    int quitCode = 0;
    std::condition_variable cv;
};

// One lock for every queue: the traffic is small and a single lock keeps cross-thread sends
// simple to reason about.
std::mutex gMutex;
std::unordered_map<std::thread::id, std::shared_ptr<ThreadQueue>> gQueues;
UINT_PTR gNextThreadTimerId = 0x7F00;

class WindowObject final : public rtl::KernelObject {
public:
    WindowObject(WNDPROC p, std::shared_ptr<ThreadQueue> q) : proc(std::make_shared<WNDPROC>(std::move(p))), queue(std::move(q)) {}
    std::shared_ptr<WNDPROC> proc;  // guarded by gMutex; copied out before a call
    std::shared_ptr<ThreadQueue> queue;
    bool destroyed = false;
};

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (!queue) return;
        std::vector<std::shared_ptr<SentItem>> orphans;
        {
            std::lock_guard<std::mutex> g(gMutex);
            queue->alive = false;
            orphans.assign(queue->sent.begin(), queue->sent.end());
            queue->sent.clear();
            for (auto& item : orphans) item->done = true;
            gQueues.erase(queue->thread);
        }
        for (auto& item : orphans) item->sender->cv.notify_all();
    }
};

thread_local QueueHolder tHolder;
thread_local std::vector<std::shared_ptr<SentItem>> tHandling;  // cross-thread sends being handled

// Requires gMutex.
std::shared_ptr<ThreadQueue> CurrentQueueLocked() {
    if (!tHolder.queue) {
        auto q = std::make_shared<ThreadQueue>();
        q->thread = std::this_thread::get_id();
        q->threadId = GetCurrentThreadId();
        q->isMain = IsMainThread();
        gQueues[q->thread] = q;
        tHolder.queue = q;
    }
    return tHolder.queue;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
    std::lock_guard<std::mutex> g(gMutex);
    return CurrentQueueLocked();
}

std::shared_ptr<WindowObject> LookupWindow(HWND hwnd) {
    auto w = rtl::LookupHandleAs<WindowObject>(hwnd);
    if (!w) return nullptr;
    std::lock_guard<std::mutex> g(gMutex);
    return w->destroyed ? nullptr : w;
}

void Wake(const std::shared_ptr<ThreadQueue>& q, std::unique_lock<std::mutex>& lock) {
    q->cv.notify_all();
    auto wake = q->wake;
    bool isMain = q->isMain;
    lock.unlock();
    if (wake) wake();
    // The main thread may be waiting in TThread::WaitFor or CheckSynchronize instead of its loop.
    if (isMain) WakeMainThreadNow();
}

// Messages sent to the main thread are also delivered by CheckSynchronize, so a main thread that
// waits for a thread (TThread::WaitFor) still answers the thread's SendMessage.
void EnsureSynchronizeHook() {
    static std::once_flag once;
    std::call_once(once, [] { AddSynchronizeHook([] { return win::ProcessSentMessages(); }); });
}

// Every delivery through a handle passes the thread's call-window hooks first.
LRESULT CallProc(const std::shared_ptr<WNDPROC>& proc, HWND hwnd, UINT msg, WPARAM w, LPARAM l,
                 bool sentByThisThread = false) {
    win::RunCallWndProcHooks(hwnd, msg, w, l, sentByThisThread);
    return (proc && *proc) ? (*proc)(hwnd, msg, w, l) : DefWindowProc(hwnd, msg, w, l);
}

void Finish(const std::shared_ptr<SentItem>& item, LRESULT result) {
    std::unique_lock<std::mutex> lock(gMutex);
    if (item->done) return;  // already replied
    item->result = result;
    item->done = true;
    item->sender->cv.notify_all();
}

// Handles one message sent by another thread. Requires gMutex held through `lock`; releases it
// while the procedure runs.
bool ServeOneSent(const std::shared_ptr<ThreadQueue>& q, std::unique_lock<std::mutex>& lock) {
    if (q->sent.empty()) return false;
    auto item = q->sent.front();
    q->sent.pop_front();
    auto w = rtl::LookupHandleAs<WindowObject>(item->hwnd);
    std::shared_ptr<WNDPROC> proc = (w && !w->destroyed) ? w->proc : nullptr;
    lock.unlock();
    LRESULT result = 0;
    tHandling.push_back(item);
    try {
        if (proc) result = CallProc(proc, item->hwnd, item->msg, item->wParam, item->lParam);
    } catch (...) {
        tHandling.pop_back();
        Finish(item, 0);
        lock.lock();
        throw;
    }
    tHandling.pop_back();
    Finish(item, result);
    lock.lock();
    return true;
}

bool Matches(const MSG& m, HWND hwnd, UINT lo, UINT hi) {
    if (hwnd && m.hwnd != hwnd) return false;
    if (lo == 0 && hi == 0) return true;
    return m.message >= lo && m.message <= hi;
}

// Requires gMutex. Picks a due timer matching the filter.
TimerEntry* DueTimerLocked(ThreadQueue& q, HWND hwnd, UINT lo, UINT hi) {
    if (q.timers.empty()) return nullptr;
    if (!(lo == 0 && hi == 0) && !(WM_TIMER >= lo && WM_TIMER <= hi)) return nullptr;
    uint64_t now = rtl::MonotonicMs();
    TimerEntry* best = nullptr;
    for (auto& t : q.timers) {
        if (hwnd && t.hwnd != hwnd) continue;
        if (t.due <= now && (!best || t.due < best->due)) best = &t;
    }
    return best;
}

bool PeekLocked(ThreadQueue& q, MSG* out, HWND hwnd, UINT lo, UINT hi, bool remove) {
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!Matches(*it, hwnd, lo, hi)) continue;
        if (out) *out = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (q.quit && !hwnd) {
        if (out) *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, GetTickCount(), {}};
        if (remove) q.quit = false;
        return true;
    }
    if (TimerEntry* t = DueTimerLocked(q, hwnd, lo, hi)) {
        if (out) *out = MSG{t->hwnd, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc), GetTickCount(), {}};
        if (remove) {
            // Missed periods collapse into this one message; the phase is kept.
            uint64_t now = rtl::MonotonicMs();
            // Skip every missed period at once: a long clock jump must not cost one step each.
            if (t->due <= now) t->due += ((now - t->due) / t->elapse + 1) * t->elapse;
        }
        return true;
    }
    return false;
}

std::array<std::atomic<uint8_t>, 256> gKeys{};
std::atomic<int> gBeepCount{0};
std::atomic<UINT> gLastBeep{0};
std::atomic<bool> gTimersExhausted{false};

std::mutex gAtomMutex;
// Made on first use: units register their messages and formats during static initialisation.
std::map<std::u16string, UINT>& Atoms() {
    static std::map<std::u16string, UINT> atoms;  // keys upper-cased: names are case-insensitive
    return atoms;
}
UINT gNextAtom = 0xC000;

}  // namespace

namespace win {

HWND CreateWindowHandle(WNDPROC proc) {
    return rtl::RegisterHandle(std::make_shared<WindowObject>(std::move(proc), CurrentQueue()));
}

void SetWindowProc(HWND hwnd, WNDPROC proc) {
    auto w = rtl::LookupHandleAs<WindowObject>(hwnd);
    if (!w) return;
    std::lock_guard<std::mutex> g(gMutex);
    w->proc = std::make_shared<WNDPROC>(std::move(proc));
}

void SetQueueWakeHook(std::function<void()> wake) {
    std::lock_guard<std::mutex> g(gMutex);
    CurrentQueueLocked()->wake = std::move(wake);
}

bool ProcessSentMessages() {
    std::unique_lock<std::mutex> lock(gMutex);
    auto q = CurrentQueueLocked();
    bool any = false;
    while (ServeOneSent(q, lock)) any = true;
    return any;
}

bool HasPendingMessages() {
    std::lock_guard<std::mutex> g(gMutex);
    auto q = CurrentQueueLocked();
    return !q->sent.empty() || PeekLocked(*q, nullptr, nullptr, 0, 0, false);
}

uint64_t NextTimerDue() {
    std::lock_guard<std::mutex> g(gMutex);
    auto q = CurrentQueueLocked();
    uint64_t due = rtl::NoDeadline;
    for (auto& t : q->timers) due = std::min(due, t.due);
    return due;
}

void SetTimersExhausted(bool exhausted) { gTimersExhausted.store(exhausted); }

namespace {

// A key goes down (its toggle bit flips when it was up) or up.
void StoreKey(int vk, bool down) {
    uint8_t old = gKeys[static_cast<size_t>(vk)].load();
    uint8_t v = down ? static_cast<uint8_t>(0x80 | ((old & 0x80) ? (old & 1) : ((old & 1) ^ 1))) : static_cast<uint8_t>(old & 1);
    gKeys[static_cast<size_t>(vk)].store(v);
}

bool KeyDown(int vk) { return (gKeys[static_cast<size_t>(vk)].load() & 0x80) != 0; }

}  // namespace

void SetKeyState(int vk, bool down) {
    if (vk < 0 || vk > 255) return;
    int generic = (vk == VK_LSHIFT || vk == VK_RSHIFT) ? VK_SHIFT : (vk == VK_LCONTROL || vk == VK_RCONTROL) ? VK_CONTROL : 0;
    if (generic) {
        StoreKey(vk, down);
        int left = generic == VK_SHIFT ? VK_LSHIFT : VK_LCONTROL;
        StoreKey(generic, KeyDown(left) || KeyDown(left + 1));
        return;
    }
    if (vk == VK_SHIFT || vk == VK_CONTROL) {
        int left = vk == VK_SHIFT ? VK_LSHIFT : VK_LCONTROL;
        if (!down || (!KeyDown(left) && !KeyDown(left + 1))) {
            StoreKey(left, down);
            StoreKey(left + 1, down);
        }
    }
    StoreKey(vk, down);
}

void ClearKeyState() {
    for (auto& k : gKeys) k.store(0);
}

int MessageBeepCount() { return gBeepCount.load(); }
UINT LastMessageBeepType() { return gLastBeep.load(); }
void ResetMessageBeeps() {
    gBeepCount.store(0);
    gLastBeep.store(0);
}

}  // namespace win

BOOL IsWindow(HWND hwnd) { return LookupWindow(hwnd) ? 1 : 0; }

BOOL DestroyWindow(HWND hwnd) {
    auto w = rtl::LookupHandleAs<WindowObject>(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    {
        std::lock_guard<std::mutex> g(gMutex);
        if (w->destroyed) return 0;
        w->destroyed = true;
        // Its posted messages and timers go with it.
        std::erase_if(w->queue->posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
        std::erase_if(w->queue->timers, [hwnd](const TimerEntry& t) { return t.hwnd == hwnd; });
    }
    CloseHandle(hwnd);
    return 1;
}

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (w->queue->isMain && !IsMainThread()) EnsureSynchronizeHook();
    std::unique_lock<std::mutex> lock(gMutex);
    auto self = CurrentQueueLocked();
    if (w->queue == self) {
        auto proc = w->proc;
        lock.unlock();
        return CallProc(proc, hwnd, msg, wParam, lParam, true);
    }
    if (!w->queue->alive) return 0;
    auto item = std::make_shared<SentItem>();
    item->hwnd = hwnd;
    item->msg = msg;
    item->wParam = wParam;
    item->lParam = lParam;
    item->sender = self;
    auto target = w->queue;
    target->sent.push_back(item);
    Wake(target, lock);
    lock.lock();
    while (!item->done) {
        if (ServeOneSent(self, lock)) continue;  // keep answering whoever sends to us
        self->cv.wait(lock);
    }
    return item->result;
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<ThreadQueue> target;
    if (hwnd) {
        auto w = LookupWindow(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        target = w->queue;
    }
    std::unique_lock<std::mutex> lock(gMutex);
    if (!target) target = CurrentQueueLocked();
    if (!target->alive) return 0;
    target->posted.push_back(MSG{hwnd, msg, wParam, lParam, GetTickCount(), {}});
    Wake(target, lock);
    return 1;
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::unique_lock<std::mutex> lock(gMutex);
    std::shared_ptr<ThreadQueue> target;
    for (auto& [id, q] : gQueues)
        if (q->threadId == threadId) target = q;
    if (!target) {
        // A thread that never took a message has no queue, as on the platform.
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    target->posted.push_back(MSG{nullptr, msg, wParam, lParam, GetTickCount(), {}});
    Wake(target, lock);
    return 1;
}

void PostQuitMessage(int exitCode) {
    std::unique_lock<std::mutex> lock(gMutex);
    auto q = CurrentQueueLocked();
    q->quit = true;
    q->quitCode = exitCode;
    Wake(q, lock);
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    std::unique_lock<std::mutex> lock(gMutex);
    auto q = CurrentQueueLocked();
    while (ServeOneSent(q, lock)) {
    }
    return PeekLocked(*q, msg, hwnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0) ? 1 : 0;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    std::unique_lock<std::mutex> lock(gMutex);
    auto q = CurrentQueueLocked();
    for (;;) {
        while (ServeOneSent(q, lock)) {
        }
        MSG m;
        if (PeekLocked(*q, &m, hwnd, filterMin, filterMax, true)) {
            if (msg) *msg = m;
            return m.message == WM_QUIT ? 0 : 1;
        }
        uint64_t due = rtl::NoDeadline;
        for (auto& t : q->timers) due = std::min(due, t.due);
        rtl::CurrentClock().WaitUntil(q->cv, lock, due);
    }
}

BOOL WaitMessage() {
    std::unique_lock<std::mutex> lock(gMutex);
    auto q = CurrentQueueLocked();
    for (;;) {
        if (!q->sent.empty() || PeekLocked(*q, nullptr, nullptr, 0, 0, false)) return 1;
        uint64_t due = rtl::NoDeadline;
        for (auto& t : q->timers) due = std::min(due, t.due);
        rtl::CurrentClock().WaitUntil(q->cv, lock, due);
    }
}

BOOL TranslateMessage(const MSG*) { return 0; }

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    auto w = LookupWindow(msg->hwnd);
    if (!w) return 0;
    std::shared_ptr<WNDPROC> proc;
    {
        std::lock_guard<std::mutex> g(gMutex);
        proc = w->proc;
    }
    return CallProc(proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL InSendMessage() { return tHandling.empty() ? 0 : 1; }

BOOL ReplyMessage(LRESULT result) {
    if (tHandling.empty()) return 0;
    Finish(tHandling.back(), result);
    return 1;
}

UINT RegisterWindowMessage(const String& name) {
    if (name.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string key = name;
    for (auto& c : key)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    std::lock_guard<std::mutex> g(gAtomMutex);
    auto it = Atoms().find(key);
    if (it != Atoms().end()) return it->second;
    if (gNextAtom > 0xFFFF) return 0;
    UINT id = gNextAtom++;
    Atoms().emplace(std::move(key), id);
    return id;
}

HWND AllocateHWnd(std::function<void(TMessage&)> method) {
    auto m = std::make_shared<std::function<void(TMessage&)>>(std::move(method));
    return win::CreateWindowHandle([m](HWND hwnd, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        TMessage message{msg, w, l, 0};
        if (*m) (*m)(message);
        return message.Result;
    });
}

void DeallocateHWnd(HWND hwnd) { DestroyWindow(hwnd); }

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    if (gTimersExhausted.load()) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return 0;
    }
    std::shared_ptr<ThreadQueue> q;
    if (hwnd) {
        auto w = LookupWindow(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        q = w->queue;
    }
    // The platform raises too short intervals to its minimum of 10 ms.
    UINT elapse = std::max<UINT>(elapseMs, 10);
    std::unique_lock<std::mutex> lock(gMutex);
    if (!q) q = CurrentQueueLocked();
    if (!hwnd) id = gNextThreadTimerId++;
    uint64_t due = rtl::MonotonicMs() + elapse;
    auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id; });
    if (it != q->timers.end())
        *it = TimerEntry{hwnd, id, elapse, due, proc};
    else
        q->timers.push_back(TimerEntry{hwnd, id, elapse, due, proc});
    Wake(q, lock);  // a waiting loop must recompute its deadline
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    std::lock_guard<std::mutex> g(gMutex);
    for (auto& [tid, q] : gQueues) {
        auto n = std::erase_if(q->timers, [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id; });
        if (n) {
            // A WM_TIMER already taken from the queue may still be dispatched; drop queued ones.
            return 1;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    uint8_t v = gKeys[static_cast<size_t>(vk)].load();
    return static_cast<SHORT>(((v & 0x80) ? 0x8000 : 0) | (v & 1));
}

SHORT GetAsyncKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    return (gKeys[static_cast<size_t>(vk)].load() & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL MessageBeep(UINT type) {
    gLastBeep.store(type);
    gBeepCount.fetch_add(1);
    return 1;
}
