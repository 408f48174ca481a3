#include "platform/ui/Forms.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <mutex>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/WindowLayers.h"
#include "platform/ui/backend/Backend.h"
#include "platform/win/Window.h"

namespace {

TApplication* gApplication = nullptr;
TScreen* gScreen = nullptr;
std::vector<TCustomForm*> gModalStack;
std::function<int(const ui::MessageBoxCall&)> gMessageBoxHook;
std::vector<ui::MessageBoxCall> gMessageBoxLog;
std::vector<TApplicationEvents*> gAppEvents;  // in creation order
std::function<bool(TCustomForm*, TMessage&)> gShortCutHandler;
std::function<void(TCustomForm*, bool)> gFormWindowHandler;

int FirstButtonAnswer(UINT flags) {
    switch (flags & 0x0F) {
        case MB_ABORTRETRYIGNORE: return IDABORT;
        case MB_YESNOCANCEL: case MB_YESNO: return IDYES;
        case MB_RETRYCANCEL: return IDRETRY;
        default: return IDOK;
    }
}

// A box closed without a button (Escape, the window's close button) is cancelled when it has a
// Cancel button, and otherwise answers its first button.
int ClosedAnswer(UINT flags) {
    switch (flags & 0x0F) {
        case MB_OKCANCEL: case MB_YESNOCANCEL: case MB_RETRYCANCEL: return IDCANCEL;
        default: return FirstButtonAnswer(flags);
    }
}

}  // namespace

TApplicationRef Application;
TScreenRef Screen;

TApplication* TApplicationRef::operator->() const {
    if (!gApplication) gApplication = new TApplication(nullptr);
    return gApplication;
}
TApplicationRef::operator TApplication*() const { return operator->(); }

TScreen* TScreenRef::operator->() const {
    if (!gScreen) gScreen = new TScreen(nullptr);
    return gScreen;
}
TScreenRef::operator TScreen*() const { return operator->(); }

namespace ui {

void SetShortCutHandler(std::function<bool(TCustomForm*, TMessage&)> handler) { gShortCutHandler = std::move(handler); }
void SetFormWindowHandler(std::function<void(TCustomForm*, bool)> handler) { gFormWindowHandler = std::move(handler); }
void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook) { gMessageBoxHook = std::move(hook); }
const std::vector<MessageBoxCall>& MessageBoxLog() { return gMessageBoxLog; }
void ClearMessageBoxLog() { gMessageBoxLog.clear(); }

void SendCancelMode() {
    if (TWinControl* focused = Screen->ActiveControl()) focused->Perform(WM_CANCELMODE, 0, 0);
}

void CancelModesForModalLoop() {
    SendCancelMode();
    // The window that holds the mouse is told too, and lets it go whatever it answers: the
    // release of its press goes to the modal loop's window, and a capture kept past the loop
    // would take the next press anywhere in the program.
    if (TControl* holder = GetCaptureControl()) holder->Perform(WM_CANCELMODE, 0, 0);
    if (GetCaptureControl()) SetCaptureControl(nullptr);
}

ForeignLoop::ForeignLoop(bool cancelModes) {
    if (cancelModes) CancelModesForModalLoop();
    Backend& backend = GetBackend();
    backend.BeginForeignLoop([] { return Application->ServeForeignLoop(); });
}

ForeignLoop::~ForeignLoop() { GetBackend().EndForeignLoop(); }

namespace detail {

void HintControlGone(TControl* control);
void BalloonGone(TControl* control);
void DragControlGone(TControl* control);

void ForgetControl(TControl* control) {
    if (gApplication && gApplication->MouseControl() == control) gApplication->SetMouseControl(nullptr);
    ControlGone(control);
    HintControlGone(control);
    BalloonGone(control);
    DragControlGone(control);
}

void RegisterApplicationEvents(TApplicationEvents* events, bool add) {
    if (add)
        gAppEvents.push_back(events);
    else
        std::erase(gAppEvents, events);
}

bool InputAllowed(TCustomForm* form) { return gModalStack.empty() || gModalStack.back() == form; }

}  // namespace detail
}  // namespace ui

// ---------------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FIcon(std::make_unique<TIcon>()) {
    FIcon->OnChange = [this](TPersistent*) {
        if (Peer()) Peer()->SetIcon(FIcon.get());
    };
    FVisible = false;  // forms appear when shown
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    // Nothing may activate or focus the form while it goes.
    ui::detail::ControlGone(this);
    // OnDestroy ran in BeforeDestruction (Free, or the owner freeing the form); a form deleted
    // directly skips it, as the handler would see a half-destroyed form.
    if (FModalGone) *FModalGone = true;
    // The window goes with the control below: what it holds goes first.
    if (gFormWindowHandler && Peer()) gFormWindowHandler(this, false);
    std::erase(gModalStack, this);
    if (gApplication && gApplication->FMainForm == this) gApplication->FMainForm = nullptr;
    if (gScreen) gScreen->RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    TWinControl::BeforeDestruction();
    if (!FDestroyed) DoDestroy();
}

void TCustomForm::DoCreate() {
    // As on the platform, an exception of OnCreate is reported and the form stands as far as
    // the handler got.
    try {
        if (OnCreate) OnCreate(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::DoDestroy() {
    FDestroyed = true;
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.TopLevel = true;
    Params.Visible = false;  // shown by Show
    DWORD style = 0, ex = 0;
    switch (FBorderStyle) {
        case bsNone: style = WS_POPUP; break;
        case bsSingle: style = WS_CAPTION; break;
        case bsSizeable: style = WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog: style = WS_CAPTION; ex = WS_EX_DLGMODALFRAME; break;
        case bsToolWindow: style = WS_CAPTION; ex = WS_EX_TOOLWINDOW; break;
        case bsSizeToolWin: style = WS_CAPTION | WS_THICKFRAME; ex = WS_EX_TOOLWINDOW; break;
    }
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        style |= WS_SYSMENU;
        // Dialog frames carry no minimise or maximise buttons, whatever the icons say.
        if (FBorderStyle != bsDialog && FBorderIcons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
        if (FBorderStyle != bsDialog && FBorderIcons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
    if (FFormStyle == fsStayOnTop) ex |= WS_EX_TOPMOST;
    Params.Style = (Params.Style & (WS_VISIBLE | WS_DISABLED)) | style;
    Params.ExStyle |= ex;
    if (FAlphaBlend) Params.ExStyle |= WS_EX_LAYERED;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    Peer()->SetCaption(Caption());
    if (FWindowState != wsNormal) Peer()->SetWindowState(FWindowState);
    if (!FIcon->Empty()) Peer()->SetIcon(FIcon.get());
    if (gFormWindowHandler) gFormWindowHandler(this, true);
    ApplyAlphaBlend();
}

void TCustomForm::DestroyWnd() {
    if (gFormWindowHandler && Peer()) gFormWindowHandler(this, false);
    TWinControl::DestroyWnd();
}

void TCustomForm::PlaceOnScreen() {
    if (FPlaced) return;
    FPlaced = true;
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter) {
        TRect s = Screen->WorkAreaRect();
        SetBounds(s.Left + (s.Width() - Width()) / 2, s.Top + (s.Height() - Height()) / 2, Width(), Height());
    } else if (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) {
        // Centred on the owning form; a form the application owns (as every form CreateForm
        // makes) centres on the main form, and without one on the screen.
        TCustomForm* ref = FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
        if (!ref) ref = Application->MainForm();
        if (ref && ref != this) {
            SetBounds(ref->Left() + (ref->Width() - Width()) / 2, ref->Top() + (ref->Height() - Height()) / 2, Width(), Height());
        } else {
            TRect s = Screen->WorkAreaRect();
            SetBounds(s.Left + (s.Width() - Width()) / 2, s.Top + (s.Height() - Height()) / 2, Width(), Height());
        }
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (Peer()) Peer()->Raise();
    Screen->SetActiveForm(this);
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::Showing() const { return Visible() && HandleAllocated(); }

bool TCustomForm::CanFocus() const { return Visible() && !ui::detail::WindowDisabled(this); }

void TCustomForm::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(String("Cannot focus a disabled or invisible window"));
    Screen->SetActiveForm(this);
}

void TCustomForm::CMVisibleChanged(TMessage& Message) {
    if (Visible()) {
        HandleNeeded();
        PlaceOnScreen();
        DoShow();
        if (Peer()) Peer()->SetVisible(true);
        ui::detail::TopWindowShown(this, true);
    } else {
        DoHide();
        if (Peer()) Peer()->SetVisible(false);
        // Owned windows hide with it; the activation goes to its owner or the topmost shown form.
        ui::detail::TopWindowShown(this, false);
        if (Screen->ActiveForm() == this && ui::ActiveWindow() != this) Screen->FActiveForm = nullptr;
    }
    UpdateShowing();
}

void TCustomForm::Activate(bool active) {
    if (FActive == active) return;
    FActive = active;
    if (active) {
        // The focus comes back to the control that had it in the form, without CM_ENTER: within
        // the form it never left.
        if (!FActiveControl) {
            TWinControl* first = FindNextControl(nullptr, true, true, false);
            if (first) SetFocusedControl(first);
            else ui::detail::MoveFocus(this);
        } else {
            ui::detail::MoveFocus(FActiveControl);
        }
        if (OnActivate) OnActivate(this);
    } else {
        if (OnDeactivate) OnDeactivate(this);
    }
}

void TCustomForm::WMActivate(TMessage& Message) { Activate(LOWORD(Message.WParam) != WA_INACTIVE); }

void TCustomForm::WMNCActivate(TMessage& Message) {
    FCaptionActive = Message.WParam != 0;
    Message.Result = 1;
}

int TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FModal) throw EInvalidOperation(String("Cannot make a visible window modal"));
    TCustomForm* previous = Screen->ActiveForm();
    ui::CancelModesForModalLoop();
    FModal = true;
    FModalResult = mrNone;
    gModalStack.push_back(this);
    // A handler may free the form, or the form it came from, while the loop runs.
    bool gone = false;
    FModalGone = &gone;
    auto finish = [&] {
        if (!gone) {
            FModalGone = nullptr;
            std::erase(gModalStack, this);
            FModal = false;
            if (Visible()) Hide();
        }
        bool previousAlive = false;
        for (int i = 0; i < Screen->FormCount(); ++i) previousAlive = previousAlive || Screen->Forms(i) == previous;
        if (previousAlive && previous != this && previous->Visible()) Screen->SetActiveForm(previous);
        if (!gone && FReleaseAfterModal) {
            FReleaseAfterModal = false;
            Release();
        }
    };
    try {
        Show();
        do {
            Application->HandleMessage();
            if (gone) break;
            if (Application->Terminated() || FReleaseAfterModal) {
                FModalResult = mrCancel;
            } else if (FModalResult != mrNone) {
                // Closing modally: OnCloseQuery may refuse, OnClose may keep the form open.
                TCloseAction action = caNone;
                if (CloseQuery()) {
                    if (gone) break;
                    action = caHide;
                    DoClose(action);
                    if (gone) break;
                }
                if (action == caNone) FModalResult = mrNone;
                else if (action == caFree) Release();
            }
        } while (FModalResult == mrNone);
    } catch (...) {
        finish();
        throw;
    }
    TModalResult result = gone ? mrCancel : FModalResult;
    finish();
    return result;
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
        case caHide: Hide(); break;
        case caMinimize: SetWindowState(wsMinimized); break;
        case caFree: Release(); break;
        default: break;
    }
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl) return;
    if (Control && (!ContainsControl(Control) || !Control->CanFocus()) && Visible())
        throw EInvalidOperation(String("Cannot focus a disabled or invisible window"));
    if (Visible() && Screen->ActiveForm() == this)
        SetFocusedControl(Control);
    else
        FActiveControl = Control;
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    if (Control == FActiveControl && (!Control || ui::FocusedWindow() == Control || !ui::detail::HoldsFocus(this)))
        return true;
    TWinControl* old = FActiveControl;
    if (old && old != Control) {
        old->Perform(CM_EXIT, 0, 0);
        if (FActiveControl != old) return false;  // OnExit moved the focus itself
    }
    bool entering = old != Control;
    auto handle = [](TWinControl* w) { return reinterpret_cast<WPARAM>(w && w->HandleAllocated() ? w->Handle() : nullptr); };
    FActiveControl = Control;
    if (ui::detail::HoldsFocus(this)) {
        // The program's focus moves, from wherever it was (another window of the program too).
        TWinControl* previous = ui::FocusedWindow();
        if (old && old != previous && old != Control) old->Perform(WM_KILLFOCUS, handle(Control), 0);
        ui::detail::MoveFocus(Control ? Control : this);
    } else {
        if (old && old != Control) old->Perform(WM_KILLFOCUS, handle(Control), 0);
        if (Control) Control->Perform(WM_SETFOCUS, handle(old), 0);
    }
    if (Control && entering) Control->Perform(CM_ENTER, 0, 0);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    return true;
}

void TCustomForm::FocusControl(TWinControl* Control) {
    // The control's own top-level window takes the activation: the form, or a pop-up in its tree.
    TWinControl* top = Control ? ui::TopLevelWindow(Control) : this;
    if (!top) top = this;
    if (ui::ActiveWindow() != top && top->Visible()) ui::ActivateWindow(top);
    SetFocusedControl(Control);
}

bool TCustomForm::IsShortCut(TMessage& Message) {
    bool handled = false;
    if (OnShortCut) OnShortCut(Message, handled);
    if (!handled && gShortCutHandler) handled = gShortCutHandler(this, Message);
    return handled;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    FBorderStyle = value;
    ApplyWindowStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    FBorderIcons = value;
    ApplyWindowStyle();
}

void TCustomForm::ApplyWindowStyle() {
    if (!HandleAllocated()) return;
    TCreateParams params;
    CreateParams(params);
    // The scroll bars are the window's own business, not the border's.
    DWORD bars = static_cast<DWORD>(GetWindowLong(Handle(), GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL);
    SetWindowLong(Handle(), GWL_EXSTYLE, static_cast<LONG>(params.ExStyle));
    SetWindowLong(Handle(), GWL_STYLE, static_cast<LONG>(params.Style | bars));
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    FFormStyle = value;
    ApplyWindowStyle();
}

void TCustomForm::SetMenuBarHeight(int height) {
    height = std::max(0, height);
    if (height == FMenuBarHeight) {
        // A bar built again at the same height still needs its place in the frame.
        FrameChanged();
        return;
    }
    int grow = height - FMenuBarHeight;
    FMenuBarHeight = height;
    SetBounds(Left(), Top(), Width(), std::max(0, Height() + grow));
    FrameChanged();
    Invalidate();  // the client area moved inside the window
}

void TCustomForm::SetWindowState(TWindowState value) {
    FWindowState = value;
    if (Peer()) Peer()->SetWindowState(value);
}

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CLOSE: Close(); break;
        case WM_ACTIVATE: WMActivate(Message); break;
        case WM_NCACTIVATE: WMNCActivate(Message); break;
        case WM_NEXTDLGCTL:
            if (LOWORD(static_cast<uintptr_t>(Message.LParam)) == 0) {
                SelectNext(FActiveControl, Message.WParam == 0, true);
            } else if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.WParam)); c && ContainsControl(c) && c->CanFocus()) {
                FocusControl(c);
            }
            break;
        case CM_RELEASE:
            // The modal loop still runs on this form: end it first, free the form after it.
            if (FModal) {
                FReleaseAfterModal = true;
                return;
            }
            Free();
            return;  // nothing of the form may be touched after this
        default: TWinControl::Dispatch(Message); break;
    }
}

void TCustomForm::CMDialogKey(TMessage& Message) {
    WORD key = static_cast<WORD>(Message.WParam);
    if (GetKeyState(VK_MENU) >= 0) {
        if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
            Message.Result = 1;
            return;
        }
        if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && FActiveControl) {
            if (TWinControl* p = FActiveControl->Parent())
                p->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
            Message.Result = 1;
            return;
        }
    }
    TWinControl::CMDialogKey(Message);
}

void TCustomForm::CMTextChanged(TMessage& Message) {
    if (Peer()) Peer()->SetCaption(Caption());
    TWinControl::CMTextChanged(Message);
}

// ---------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
    FIcon->OnChange = [this](TPersistent*) { ui::GetBackend().SetApplicationIcon(FIcon.get()); };
}

TApplication::~TApplication() {
    if (FHandle) DeallocateHWnd(FHandle);
}

namespace {
struct UnitStarts {
    std::mutex mutex;
    std::vector<std::function<void()>> pending;
    bool ran = false;
};
UnitStarts& Starts() {
    static UnitStarts* starts = new UnitStarts;  // registered during static initialisation
    return *starts;
}
void RunUnitStarts() {
    std::vector<std::function<void()>> list;
    {
        std::lock_guard<std::mutex> g(Starts().mutex);
        Starts().ran = true;
        list.swap(Starts().pending);
    }
    for (auto& start : list) start();
}
}  // namespace

void ui::AddUnitStart(std::function<void()> start) {
    {
        std::lock_guard<std::mutex> g(Starts().mutex);
        if (!Starts().ran) {
            Starts().pending.push_back(std::move(start));
            return;
        }
    }
    start();
}

void TApplication::Initialize() {
    if (FInitialized) return;
    FInitialized = true;
    RunUnitStarts();
    ui::GetBackend();
    Handle();
    win::SetQueueWakeHook([] { ui::GetBackend().Wake(); });
    // Synchronize and Queue calls of other threads wake the loop, which runs them.
    SetWakeMainThread([] { ui::GetBackend().Wake(); });
}

HWND TApplication::Handle() {
    if (!FHandle) FHandle = AllocateHWnd([](TMessage& m) { m.Result = DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam); });
    return FHandle;
}

String TApplication::ExeName() const {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? String(std::string(buf, static_cast<size_t>(n))) : String();
}

void TApplication::Run() {
    Initialize();
    FRunning = true;
    if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
    while (!FTerminated) HandleMessage();
    FRunning = false;
    // The program ends here: the forms go now, newest first, with their OnDestroy, while the
    // whole application still stands. Flash-timer style clients see the application as being
    // destroyed meanwhile.
    Destroying();
    DestroyComponents();
}

void TApplication::Terminate() {
    if (FTerminated) return;
    FTerminated = true;
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage() {
    Initialize();
    ui::Backend& backend = ui::GetBackend();
    bool any = false;
    // What was drawn on controls outside their paint passes is shown from here on.
    ui::EndOffPassDrawing();
    try {
        any = backend.ProcessEvents();
    } catch (...) {
        HandleException(this);
        any = true;
    }
    try {
        if (CheckSynchronize(0)) any = true;
    } catch (...) {
        HandleException(this);
        any = true;
    }
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        if (msg.message == WM_QUIT) {
            FTerminated = true;
        } else {
            try {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            } catch (...) {
                HandleException(this);
            }
        }
    }
    return any;
}

uint64_t TApplication::ServeForeignLoop() {
    // What the loop's own passes would take meanwhile: Synchronize calls, sent and posted
    // messages, timers falling due. A bounded batch: a handler that keeps posting must not keep
    // the other loop from its own input; what is left is due at once.
    try {
        CheckSynchronize(0);
    } catch (...) {
        HandleException(this);
    }
    for (int n = 0; n < 64; ++n) {
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            continue;
        }
        try {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        } catch (...) {
            HandleException(this);
        }
    }
    return win::HasPendingMessages() ? 0 : win::NextTimerDue();
}

void TApplication::ProcessMessages() {
    // Stops when nothing is left; a handler that keeps posting keeps it going, as on the platform.
    while (ProcessMessage()) {
    }
}

void TApplication::Idle(bool& Done) {
    Done = true;
    try {
        if (OnIdle) OnIdle(this, Done);
        std::vector<TApplicationEvents*> events = gAppEvents;
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (std::find(gAppEvents.begin(), gAppEvents.end(), *it) != gAppEvents.end() && (*it)->OnIdle) (*it)->OnIdle(*it, Done);
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::WaitForMessage() {
    // What OnIdle drew outside a paint pass shows before the loop sleeps.
    ui::EndOffPassDrawing();
    if (FTerminated || win::HasPendingMessages()) return;
    ui::GetBackend().WaitForEvents(win::NextTimerDue());
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) {
        bool done = true;
        Idle(done);
        if (done) WaitForMessage();
    }
}

bool TApplication::HandleMessageNoWait() {
    if (ProcessMessage()) return true;
    bool done = true;
    Idle(done);
    return !done;
}

void TApplication::HandleException(TObject* Sender) {
    auto report = [&](Exception& e) {
        bool handled = false;
        if (OnException) {
            OnException(Sender, e);
            handled = true;
        }
        std::vector<TApplicationEvents*> events = gAppEvents;
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (std::find(gAppEvents.begin(), gAppEvents.end(), *it) == gAppEvents.end() || !(*it)->OnException) continue;
            (*it)->OnException(Sender, e);
            handled = true;
        }
        if (!handled) ShowException(e);
    };
    try {
        try {
            throw;
        } catch (EAbort&) {
            // Silent by design.
        } catch (Exception& e) {
            report(e);
        } catch (std::exception& e) {
            Exception wrapped{String(e.what())};
            report(wrapped);
        }
    } catch (...) {
        // A failing exception handler must not take the loop down with it.
    }
}

void TApplication::ShowException(const Exception& E) {
    String msg = E.Message();
    if (!msg.empty() && msg.back() > u'.') msg += u'.';
    MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
    ui::MessageBoxCall call{Text, Caption, Flags};
    gMessageBoxLog.push_back(call);
    if (gMessageBoxHook) return gMessageBoxHook(call);
    ui::Backend& backend = ui::GetBackend();
    if (backend.Headless() || !backend.Supports(ui::Capability::MessageBoxes)) return FirstButtonAnswer(Flags);
    ui::ForeignLoop loop;
    int answer = backend.ShowMessageBox(Text, Caption, Flags);
    return answer ? answer : ClosedAnswer(Flags);
}

void TApplication::SetMouseControl(TControl* Control) {
    if (FMouseControl == Control) return;
    TControl* old = FMouseControl;
    FMouseControl = Control;
    if (old && !old->ComponentState().Contains(csDestroying)) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (Control && FMouseControl == Control) Control->Perform(CM_MOUSEENTER, 0, 0);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

HANDLE TScreen::Cursors(int index) const {
    auto it = FCursors.find(index);
    if (it != FCursors.end()) return it->second;
    auto arrow = FCursors.find(crArrow);
    return arrow != FCursors.end() ? arrow->second : nullptr;
}

void TScreen::SetCursors(int index, HANDLE cursor) {
    if (cursor)
        FCursors[index] = cursor;
    else
        FCursors.erase(index);
}

void TScreen::SetCursor(TCursor value) {
    if (FCursor == value) return;
    FCursor = value;
    ui::OverrideCursor(value);
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

int TScreen::Width() const { return ui::Screens().front().Bounds.Width(); }
int TScreen::Height() const { return ui::Screens().front().Bounds.Height(); }
TRect TScreen::WorkAreaRect() const { return ui::Screens().front().Work; }

int TScreen::MonitorCount() const { return static_cast<int>(ui::Screens().size()); }

TMonitor* TScreen::Monitors(int index) {
    if (index < 0 || index >= MonitorCount()) throw EListError(String("List index out of bounds"));
    while (FMonitors.size() <= static_cast<size_t>(index))
        FMonitors.push_back(std::unique_ptr<TMonitor>(new TMonitor(static_cast<int>(FMonitors.size()))));
    return FMonitors[static_cast<size_t>(index)].get();
}

TRect TMonitor::BoundsRect() const {
    auto screens = ui::Screens();
    return static_cast<size_t>(FNum) < screens.size() ? screens[static_cast<size_t>(FNum)].Bounds : TRect();
}

TRect TMonitor::WorkareaRect() const {
    auto screens = ui::Screens();
    return static_cast<size_t>(FNum) < screens.size() ? screens[static_cast<size_t>(FNum)].Work : TRect();
}

void TScreen::AddForm(TCustomForm* f) { FForms.push_back(f); }

void TScreen::RemoveForm(TCustomForm* f) {
    std::erase(FForms, f);
    if (FActiveForm == f) FActiveForm = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* f, bool fromSystem) {
    if (!f) FActiveForm = nullptr;
    ui::ActivateWindow(f, WA_ACTIVE, fromSystem);
}
