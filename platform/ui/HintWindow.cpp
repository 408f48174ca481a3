#include "platform/ui/HintWindow.h"

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/backend/Backend.h"

namespace {

// The margins CalcHintRect adds to the text: the 1-pixel frame and the text's distance from it.
constexpr int kMarginX = 2, kMarginY = 1;

// The whole desktop: every screen of the layout.
TRect DesktopRect() {
    TRect all;
    for (const ui::ScreenArea& s : ui::Screens()) all = all.IsEmpty() ? s.Bounds : UnionRects(all, s.Bounds);
    return all;
}

std::vector<THintWindow*> gHintWindows;  // every hint window alive, oldest first

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);  // shown by ActivateHint
    SetColor(clInfoBk);
    Font()->Assign(Screen->HintFont());
    gHintWindows.push_back(this);
}

THintWindow::~THintWindow() { std::erase(gHintWindows, this); }

void THintWindow::Describe(TTipWindowInfo& Info) const {
    Info.ClassName = String(ClassName());
    Info.Text = Caption();
    Info.Color = Color();
    Info.TextColor = Font()->Color();
    TRect r;
    if (HandleAllocated() && GetWindowRect(const_cast<THintWindow*>(this)->Handle(), &r)) Info.Rect = r;
}

std::vector<TTipWindowInfo> ui::ShownTipWindows() {
    std::vector<TTipWindowInfo> shown;
    for (THintWindow* w : gHintWindows) {
        if (!w->Showing()) continue;
        TTipWindowInfo info;
        w->Describe(info);
        shown.push_back(info);
    }
    return shown;
}

void THintWindow::ActivateHintData(const TRect& Rect, const String& AHint, void* AData) {
    (void)AData;
    ActivateHint(Rect, AHint);
}

void THintWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.TopLevel = true;
    Params.WindowClass.style |= CS_SAVEBITS;
    const auto& sys = ui::sys::Answers();
    if (sys.MajorVersion > 5 || (sys.MajorVersion == 5 && sys.MinorVersion >= 1)) Params.WindowClass.style |= CS_DROPSHADOW;
}

bool THintWindow::Showing() const {
    if (Parent()) return TCustomControl::Showing();
    TWinControl* owner = ui::WindowOwner(this);
    return Visible() && HandleAllocated() && (!owner || owner->Showing());
}

void THintWindow::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    // The window is made again for its new owner.
    bool shown = Visible();
    if (HandleAllocated() && !Parent()) ui::detail::DestroyWindowOf(this);
    TCustomControl::SetParent(AParent);
    if (shown && (!AParent || AParent->HandleAllocated())) {
        HandleNeeded();
        if (Peer()) Peer()->SetVisible(Showing());
    }
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void* AData) {
    (void)AData;
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(Font());
    TRect r(0, 0, std::max(0, MaxWidth - 2 * (kMarginX + 1)), 0);
    DrawText(canvas->Handle(), AHint, -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return TRect(0, 0, r.Width() + 2 * (kMarginX + 1), r.Height() + 2 * (kMarginY + 1));
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
    SetCaption(AHint);
    TRect r = Rect;
    TRect desktop = DesktopRect();
    int w = r.Width(), h = r.Height();
    // Kept on the desktop: moved back from its right and bottom edges, then from the left and top.
    if (r.Left + w > desktop.Right) r.Left = desktop.Right - w;
    if (r.Top + h > desktop.Bottom) r.Top = desktop.Bottom - h;
    r.Left = std::max(r.Left, desktop.Left);
    r.Top = std::max(r.Top, desktop.Top);
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
    Update();
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
    if (HandleAllocated()) ui::detail::DestroyWindowOf(this);
}

void THintWindow::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    r = TRect(r.Left + kMarginX, r.Top + kMarginY, r.Right - kMarginX, r.Bottom - kMarginY);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    DrawText(canvas->Handle(), Caption(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
}

void THintWindow::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        // A press does not activate a hint: only a caller's call does.
        case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
        default: TCustomControl::Dispatch(Message); return;
    }
}

void THintWindow::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void THintWindow::CMVisibleChanged(TMessage& Message) {
    // Without a parent the window is its own: it is made as it is shown.
    if (Visible() && !Parent()) HandleNeeded();
    TCustomControl::CMVisibleChanged(Message);
    if (HandleAllocated() && !Parent() && Peer()) Peer()->SetVisible(Showing());
    ui::detail::TopWindowShown(this, Visible());
}
