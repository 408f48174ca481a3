#pragma once
// Call-window hooks: a procedure of the calling thread sees every message the layer delivers to
// a window of that thread through its handle (SendMessage, messages sent from other threads,
// DispatchMessage), before the window procedure runs.
#include <functional>

#include "platform/rtl/Types.h"
#include "platform/win/WinTypes.h"

using HINSTANCE = uintptr_t;
struct HHOOK__;
using HHOOK = HHOOK__*;
using HOOKPROC = std::function<LRESULT(int nCode, WPARAM wParam, LPARAM lParam)>;

constexpr int WH_CALLWNDPROC = 4;
constexpr int HC_ACTION = 0;
constexpr DWORD ERROR_INVALID_HOOK_HANDLE = 1404;
constexpr DWORD ERROR_HOOK_NEEDS_HMOD = 1428;
constexpr DWORD ERROR_INVALID_HOOK_FILTER = 1426;

// The record a WH_CALLWNDPROC procedure gets in lParam; wParam is non-zero when the current
// thread sent the message.
struct CWPSTRUCT {
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    UINT message = 0;
    HWND hwnd = nullptr;
};

// Only WH_CALLWNDPROC on the calling thread (threadId its GetCurrentThreadId); a hook for every
// thread (threadId 0) needs a module and fails with ERROR_HOOK_NEEDS_HMOD, another type with
// ERROR_INVALID_HOOK_FILTER. The newest hook is called first.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD threadId);
// Calls the hook installed before hhk on the same thread; 0 when there is none.
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
BOOL UnhookWindowsHookEx(HHOOK hhk);

namespace win {
// Runs the calling thread's call-window hooks for a message about to be delivered.
void RunCallWndProcHooks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool sentByThisThread);
}  // namespace win
