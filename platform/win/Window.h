#pragma once
// Windows as message targets: handles in the kernel-object table, each with a window procedure
// and an owning thread; per-thread message queues; sent and posted messages; timers on the
// process clock; the keyboard state the UI backend feeds; registered message numbers.
//
// SendMessage to a window of the calling thread calls its procedure directly. To a window of
// another thread it queues the message to the owner and blocks until the owner has handled it;
// the owner handles such messages whenever it takes messages (PeekMessage, GetMessage) or calls
// win::ProcessSentMessages, and a sender keeps serving messages sent to itself while it waits,
// so two threads sending to each other do not deadlock.
#include <functional>
#include <string>

#include "platform/rtl/Handles.h"
#include "platform/rtl/String.h"
#include "platform/win/Messages.h"

using WNDPROC = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using UINT_PTR = uintptr_t;
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

namespace win {

// A window owned by the calling thread.
HWND CreateWindowHandle(WNDPROC proc);
void SetWindowProc(HWND hwnd, WNDPROC proc);

// Installs the calling thread's wake hook, called from any thread whenever a message is queued
// for this thread or a timer of it is set (the UI backend uses it to wake its event loop).
void SetQueueWakeHook(std::function<void()> wake);

// Handles the messages other threads have sent to the calling thread. True when any was handled.
bool ProcessSentMessages();
// True when the calling thread has posted or sent messages waiting, or a timer due.
bool HasPendingMessages();
// Monotonic time (rtl clock) at which the calling thread's next timer falls due; rtl::NoDeadline
// if it has none.
uint64_t NextTimerDue();

// Test switch: while set, SetTimer fails (answers 0, ERROR_NO_SYSTEM_RESOURCES) as the platform
// does when it has no timers left.
void SetTimersExhausted(bool exhausted);

// Keyboard state as the UI backend last saw it (virtual-key codes). A side of Shift or Ctrl
// (VK_LSHIFT...) sets the generic key to "either side down". The generic key reported alone (a
// keyboard that does not tell the side) moves both sides: down when neither is down yet, up.
void SetKeyState(int vk, bool down);
void ClearKeyState();

// MessageBeep records instead of sounding: tests read the count and the last type.
int MessageBeepCount();
UINT LastMessageBeepType();
void ResetMessageBeeps();

}  // namespace win

BOOL IsWindow(HWND hwnd);
BOOL DestroyWindow(HWND hwnd);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// To the queue of a thread (GetCurrentThreadId); fails for a thread that has no queue yet.
BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
// Blocks until a message arrives; returns 0 for WM_QUIT, -1 on error, otherwise non-zero.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Blocks until the calling thread has a message (posted, sent or timer).
BOOL WaitMessage();
// Characters already come from the UI backend as WM_CHAR: nothing to translate.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// True while the calling thread handles a message sent by another thread.
BOOL InSendMessage();
// Releases the sending thread with this result; the handler goes on running.
BOOL ReplyMessage(LRESULT result);

// Same name, same number, from 0xC000 up.
UINT RegisterWindowMessage(const String& name);

// Utility windows with a method as window procedure. Messages the method leaves alone keep
// Result 0 (the default window procedure's answer for the messages utility windows receive).
HWND AllocateHWnd(std::function<void(TMessage&)> method);
void DeallocateHWnd(HWND hwnd);

// Timers post WM_TIMER (WParam the id) to the window's queue when due on the process clock. A
// timer that falls due several times before its message is taken gives one message, as on the
// platform; it keeps its phase. A null window gives a thread timer with a new id.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// High bit: key down; low bit: toggled (caps lock and the like).
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
BOOL MessageBeep(UINT type);
