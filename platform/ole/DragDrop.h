#pragma once
// Drag and drop: the drop source and drop target interfaces, the registration of a window's
// target, and DoDragDrop, the modal drag loop.
//
// Inside the process the layer runs the loop itself on the UI thread: it follows the mouse and
// the keys, asks the source whether to go on and for its feedback at every step, and calls the
// target registered for the window under the pointer (or the nearest window above it that has
// one). When the pointer leaves every window of the program, the desktop takes the drag over and
// the data goes to other programs as text/plain. Drops from other programs reach a registered
// target as a data object offering CF_UNICODETEXT and CF_TEXT for their text and CF_HDROP for
// their local files.
#include "platform/ole/DataObject.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

// Key and button state of the drag calls (grfKeyState): the MK_ flags of the mouse messages
// (MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL, MK_MBUTTON), and Alt.
constexpr DWORD MK_ALT = 0x20;

constexpr DWORD DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4,
                DROPEFFECT_SCROLL = 0x80000000u;

constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

// A point in screen coordinates.
using POINTL = TPoint;

struct IDropSource : IUnknown {
    static constexpr IID Iid{0x00000121, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = IUnknown;
    // S_OK to go on, DRAGDROP_S_DROP to drop, DRAGDROP_S_CANCEL to stop.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS lets the layer show the cursor for the effect.
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};
inline constexpr const IID& IID_IDropSource = IDropSource::Iid;

struct IDropTarget : IUnknown {
    static constexpr IID Iid{0x00000122, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = IUnknown;
    // effect comes in as the effects the source allows and goes out as the one the target takes.
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
};
inline constexpr const IID& IID_IDropTarget = IDropTarget::Iid;

// Counted, for the process's UI thread: S_OK the first time, S_FALSE when already initialised.
HRESULT OleInitialize(void* reserved);
void OleUninitialize();

// The layer holds a reference to the target until RevokeDragDrop, or until the window is
// destroyed. CO_E_NOTINITIALIZED before OleInitialize; DRAGDROP_E_INVALIDHWND for a handle that
// is not a window of a control; DRAGDROP_E_ALREADYREGISTERED for a second registration.
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
// DRAGDROP_E_NOTREGISTERED for a window without a target.
HRESULT RevokeDragDrop(HWND window);

// Runs the drag loop until the source drops or cancels: DRAGDROP_S_DROP with the effect the
// target took (DROPEFFECT_NONE when no target took it), or DRAGDROP_S_CANCEL with
// DROPEFFECT_NONE. The target's effects are limited to okEffects. E_INVALIDARG for a missing
// argument, CO_E_NOTINITIALIZED before OleInitialize, E_UNEXPECTED inside another drag.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect);
