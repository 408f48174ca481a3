#pragma once
// Forms, the application object with its message loop, and the screen; the scrolling controls
// of the unit are in ScrollBox.h.
#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/ScrollBox.h"
#include "platform/ui/backend/Enums.h"

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = rtl::SmallSet<TBorderIcon>;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    // A form without designed content (the form's own construction is always so here): for
    // descendants that build their content themselves, such as pop-up forms.
    TCustomForm(TComponent* AOwner, int Dummy) : TCustomForm(AOwner) { (void)Dummy; }
    ~TCustomForm() override;
    const char* ClassName() const override { return "TCustomForm"; }
    void BeforeDestruction() override;

    void Show();
    void Hide();
    // Shows the form modally and runs a nested message loop until ModalResult is set (or the
    // form is closed, which sets mrCancel); the other forms take no input meanwhile.
    virtual int ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool Modal() const { return FModal; }
    // Asks OnCloseQuery, then OnClose decides what closing means (hide by default, free for
    // caFree, nothing for caNone). Closing the main form ends the application.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages now queued have been handled.
    void Release();
    // Moves and resizes pass through the window: WM_WINDOWPOSCHANGING (its WINDOWPOS may be
    // changed) before, WM_WINDOWPOSCHANGED after.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool Active() const { return FActive; }
    // The state of the caption as WM_NCACTIVATE last gave it (the active form's is on; a pop-up
    // may keep its owner's on).
    bool CaptionActive() const { return FCaptionActive; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Moves the focus, sending CM_EXIT/WM_KILLFOCUS to the old control and WM_SETFOCUS/CM_ENTER
    // to the new one, then CM_FOCUSCHANGED to every control of the form.
    bool SetFocusedControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);

    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);
    // The window's icon; empty: the application's.
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* value) { FIcon->Assign(value); }

    // A translucent form: with AlphaBlend its window is layered (WS_EX_LAYERED) with
    // AlphaBlendValue (0..255, default 255) as its constant opacity, applied when the window
    // exists and again whenever it is made. Where the desktop shows no translucency the values
    // are kept and the form shows opaque. A value outside 0..255 raises EInvalidOperation
    // naming it and keeps the old one.
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(int value);

    // A key-down that may be a shortcut: OnShortCut, then the shortcut handler of the menus.
    virtual bool IsShortCut(TMessage& Message);

    // The menu bar is a part of the frame, outside the client area: ClientHeight is Height
    // less the bar.
    int MenuBarHeight() const { return FMenuBarHeight; }

    bool Showing() const override;
    bool CanFocus() const override;
    void SetFocus() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    // OnCreate, once the form is whole: forms made by NewComponent (NewForm) and by
    // Application->CreateForm run it; one made with plain new does not.
    void AfterConstruction() override;
    // Style and ExStyle follow BorderStyle, BorderIcons and FormStyle.
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    int FrameMenuHeight() const override { return FMenuBarHeight; }
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    void Dispatch(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    // WM_ACTIVATE: the form becomes active (OnActivate, its focus restored) or inactive
    // (OnDeactivate). WM_NCACTIVATE: the caption's state is kept; the answer is 1.
    virtual void WMActivate(TMessage& Message);
    virtual void WMNCActivate(TMessage& Message);

private:
    friend class TScreen;
    friend class TApplication;
    friend class TWinControl;
    friend struct UiInput;
    void Activate(bool active);
    // A menu bar appeared, went or changed height: the client area keeps its size and the
    // window grows or shrinks around it.
    void SetMenuBarHeight(int height);
    void PlaceOnScreen();
    void ApplyWindowStyle();
    // The window's layered style and opacity follow AlphaBlend (FormAlphaBlend.cpp).
    void ApplyAlphaBlend();

    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FReleaseAfterModal = false;  // released inside its own modal loop
    bool* FModalGone = nullptr;       // set by the destructor: the modal loop must not touch the form
    bool FActive = false;
    bool FCaptionActive = false;
    bool FDestroyed = false;
    bool FPlaced = false;
    TWinControl* FActiveControl = nullptr;
    bool FKeyPreview = false;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    int FMenuBarHeight = 0;
    std::unique_ptr<TIcon> FIcon;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 255;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
    TForm(TComponent* AOwner, int Dummy) : TCustomForm(AOwner, Dummy) {}
    const char* ClassName() const override { return "TForm"; }
};

// Builds a form and runs its OnCreate, as CreateForm does, without making it the main form.
template <class T>
T* NewForm(TComponent* owner) {
    return NewComponent<T>(owner);
}

namespace ui::test {
struct AppScope;
}

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TExceptionEvent = std::function<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    void Initialize();
    // Makes a form owned by the application; the first one becomes the main form.
    template <class T>
    // The reference and the main form are set before OnCreate runs; a form whose second phase
    // raises is freed (which clears the main form) and the reference set back to nullptr.
    void CreateForm(T*& Reference) {
        T* form = rtl::detail::ComponentFactory::Construct<T>(this);
        Reference = form;
        if (!FMainForm) FMainForm = form;
        try {
            rtl::detail::ComponentFactory::Complete(form);
        } catch (...) {
            Reference = nullptr;
            throw;
        }
    }
    // Shows the main form and runs the message loop until Terminate; then frees the forms and
    // other components the application owns (their OnDestroy runs), as the program ends.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every pending message and event, never the idle event.
    void ProcessMessages();
    // One pass of the loop: a message, or else the idle event and, when it says Done, a wait
    // for the next message.
    void HandleMessage();
    // One pass without the wait; false when the pass would have waited.
    bool HandleMessageNoWait();
    // Called by a loop not the application's own (a message box, a common dialog) as it is about
    // to wait: takes the Synchronize calls and the messages that wait, and answers when the next
    // is due (rtl::NoDeadline: none; 0: at once).
    uint64_t ServeForeignLoop();
    void HandleException(TObject* Sender);
    void ShowException(const Exception& E);
    int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);
    // Idle, mouse tracking, hints: called when the queue is empty.
    void Idle(bool& Done);

    TCustomForm* MainForm() const { return FMainForm; }
    // The icon of the windows that have none of their own.
    TIcon* Icon() const { return FIcon.get(); }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }
    String ExeName() const;
    HWND Handle();
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int v) { FHintPause = v; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int v) { FHintHidePause = v; }
    bool Active() const { return true; }

    TIdleEvent OnIdle;
    TExceptionEvent OnException;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Hints (Hints.cpp). The pointer resting on a control whose ShowHint is on shows its hint
    // after HintPause of the process clock (HintShortPause when a hint showed just before);
    // CM_HINTSHOW to the control and then OnShowHint may change the THintInfo or refuse; the
    // hint shows in a window of HintWindowClass (THintWindow unless set; process-wide) and
    // hides after the info's HideTimeout, when the pointer leaves its CursorRect or the control,
    // on a press or a key.
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor v) { FHintColor = v; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int v) { FHintShortPause = v; }
    THintWindowClass HintWindowClass() const;
    void SetHintWindowClass(THintWindowClass value);
    // Shows the hint of the control under the pointer now (CursorPos in screen coordinates).
    void ActivateHint(const TPoint& CursorPos);
    // Hides the hint; it shows again only when the pointer moves to a control.
    void CancelHint();
    // Hides the hint; the pointer moving on within the control shows it again.
    void HideHint();
    // Mouse input seen by the program's windows: the hint follows the pointer.
    void HintMouseMessage(TControl* Control, UINT Msg, const TPoint& ScreenPos);
    TShowHintEvent OnShowHint;

    // The control under the mouse: CM_MOUSELEAVE to the old one, CM_MOUSEENTER to the new one.
    void SetMouseControl(TControl* Control);
    TControl* MouseControl() const { return FMouseControl; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    friend struct ui::test::AppScope;  // forgets what one test leaves for the next
    bool ProcessMessage();
    void WaitForMessage();

    TCustomForm* FMainForm = nullptr;
    TControl* FMouseControl = nullptr;
    String FTitle;
    std::atomic<bool> FTerminated{false};  // read by worker threads that stop when the program ends
    bool FRunning = false;
    bool FInitialized = false;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    TColor FHintColor = clInfoBk;
    int FHandlingDepth = 0;
    HWND FHandle = nullptr;
    std::unique_ptr<TIcon> FIcon;
};

// One monitor of the screen layout (ui::Screens), read as the layout stands now.
class TMonitor {
public:
    HMONITOR Handle() const { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(FNum + 1)); }
    int MonitorNum() const { return FNum; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    bool Primary() const { return FNum == 0; }
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const { return BoundsRect().Width(); }
    int Height() const { return BoundsRect().Height(); }

private:
    friend class TScreen;
    explicit TMonitor(int num) : FNum(num) {}
    int FNum;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    const char* ClassName() const override { return "TScreen"; }

    // Cursor slots: built-in shapes at the negative crXxx numbers, the program's own at positive
    // numbers. An empty slot reads as the arrow.
    HANDLE Cursors(int index) const;
    void SetCursors(int index, HANDLE cursor);
    // Overrides every control's cursor while not crDefault (the hourglass during long work).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(static_cast<size_t>(index)); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const;
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }
    // The font hint windows take as they are made.
    TFont* HintFont() const { return FHintFont.get(); }
    void SetHintFont(TFont* value) { FHintFont->Assign(value); }
    // The monitors of the layout, the primary one first.
    int MonitorCount() const;
    TMonitor* Monitors(int index);

private:
    friend class TCustomForm;
    friend struct UiInput;
    void AddForm(TCustomForm* f);
    void RemoveForm(TCustomForm* f);
    // fromSystem: the desktop has activated the form's window already, so it is not asked to
    // again (two windows asking in turn would pass the activation back and forth forever).
    void SetActiveForm(TCustomForm* f, bool fromSystem = false);
    friend void ui::ActivateWindow(TWinControl* window, WPARAM how, bool fromSystem);

    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    std::map<int, HANDLE> FCursors;
    TCursor FCursor = crDefault;
    std::vector<std::unique_ptr<TMonitor>> FMonitors;
    std::unique_ptr<TFont> FHintFont = std::make_unique<TFont>();
};

// Application and Screen exist from their first use on; both live until the process ends.
struct TApplicationRef {
    TApplication* operator->() const;
    operator TApplication*() const;
};
struct TScreenRef {
    TScreen* operator->() const;
    operator TScreen*() const;
};
extern TApplicationRef Application;
extern TScreenRef Screen;

namespace ui {
// Start-up work of a unit (a library's process-wide state: cursors, tables), registered by a static
// object of the unit. Application->Initialize runs the registered starts once each, in the order of
// registration, before anything else; a start registered after that runs at once.
void AddUnitStart(std::function<void()> start);

// Message boxes: every call is recorded. A hook answers instead of a dialog (tests script the
// answers); without one, a real dialog runs, except on the headless platform, where the box
// answers with its first button.
struct MessageBoxCall {
    String Text;
    String Caption;
    UINT Flags = 0;
};
// Menus install this to fire the menu item whose shortcut matches a key-down of the form.
void SetShortCutHandler(std::function<bool(TCustomForm* form, TMessage& message)> handler);
// Menus install this to put a form's menu bar in its window: called once the window is made
// (created true) and before it goes (created false).
void SetFormWindowHandler(std::function<void(TCustomForm* form, bool created)> handler);
void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook);
const std::vector<MessageBoxCall>& MessageBoxLog();
void ClearMessageBoxLog();
// A menu opening, a modal form starting or the program losing the activation: the focused
// control gets WM_CANCELMODE, to end what the mouse or the keyboard had started there.
void SendCancelMode();
// A modal loop begins: WM_CANCELMODE to the focused control and to the control that holds the
// mouse, and the capture let go.
void CancelModesForModalLoop();
// While one lives, a loop of the backend's own runs (a message box, a common dialog): modes are
// cancelled as for a modal form, and the backend serves the application's messages, timers and
// Synchronize calls whenever its loop waits. A loop that carries on what the mouse began (a drag
// handed over to the desktop) keeps the modes: cancelModes false.
class ForeignLoop {
public:
    explicit ForeignLoop(bool cancelModes = true);
    ~ForeignLoop();
    ForeignLoop(const ForeignLoop&) = delete;
    ForeignLoop& operator=(const ForeignLoop&) = delete;
};
}  // namespace ui
