#include "platform/win/Hooks.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/rtl/Handles.h"
#include "platform/rtl/Threads.h"

struct HHOOK__ {
    HOOKPROC proc;
    DWORD thread;
};

namespace {

// Each thread's chain, newest first. Hooks are installed, called and removed on their own
// thread only, so the chain needs no lock.
thread_local std::vector<std::shared_ptr<HHOOK__>> tChain;

}  // namespace

HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD threadId) {
    if (idHook != WH_CALLWNDPROC) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (threadId == 0) {
        SetLastError(ERROR_HOOK_NEEDS_HMOD);
        return nullptr;
    }
    if (threadId != GetCurrentThreadId() || !lpfn) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto hook = std::make_shared<HHOOK__>(HHOOK__{std::move(lpfn), threadId});
    tChain.insert(tChain.begin(), hook);
    return hook.get();
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
    auto it = std::find_if(tChain.begin(), tChain.end(), [hhk](const auto& h) { return h.get() == hhk; });
    if (it == tChain.end() || ++it == tChain.end()) return 0;
    std::shared_ptr<HHOOK__> next = *it;  // kept alive while it runs, even if it unhooks itself
    return next->proc(nCode, wParam, lParam);
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
    auto it = std::find_if(tChain.begin(), tChain.end(), [hhk](const auto& h) { return h.get() == hhk; });
    if (it == tChain.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE_;
    }
    tChain.erase(it);
    return TRUE_;
}

namespace win {

void RunCallWndProcHooks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool sentByThisThread) {
    if (tChain.empty()) return;
    std::shared_ptr<HHOOK__> first = tChain.front();
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    first->proc(HC_ACTION, sentByThisThread ? 1 : 0, reinterpret_cast<LPARAM>(&cwp));
}

}  // namespace win
