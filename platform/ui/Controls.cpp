#include "platform/ui/Controls.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/Threads.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/Forms.h"
#include "platform/ui/CommNotify.h"
#include "platform/ui/Imm.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/WindowLayers.h"
#include "platform/win/Window.h"

namespace ui::detail {
// Forms.cpp: the application forgets a control that goes away (mouse tracking).
void ForgetControl(TControl* control);
// Forms.cpp: false while a modal form other than this one runs.
bool InputAllowed(TCustomForm* form);
// WinUser.cpp: the DCs still open on a window go with it.
void ReleaseWindowDcs(TWinControl* w);
}  // namespace ui::detail

#ifndef NDEBUG
void ui::CheckUiThread(const char* what) {
    if (IsMainThread()) return;
    std::fprintf(stderr, "%s called off the UI thread (thread %lu); use TThread::Synchronize, Queue or a posted message\n",
                 what, static_cast<unsigned long>(GetCurrentThreadId()));
    std::fflush(stderr);
    std::abort();
}
#endif

namespace {

TControl* gCaptureControl = nullptr;
ui::PopupMenuHandler gPopupHandler;
std::unordered_map<HWND, TWinControl*> gWindows;

TWinControl* WindowOf(TControl* c) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) return w;
    return c ? c->Parent() : nullptr;
}

void HandleUiException(TObject* sender) { Application->HandleException(sender); }

// A property the children may follow changed (CM_PARENTCOLORCHANGED...); the list is a copy,
// since a child may leave it meanwhile.
void TellChildren(std::vector<TControl*> children, UINT msg) {
    for (TControl* c : children) c->Perform(msg, 0, 0);
}

}  // namespace

void ui::SetPopupMenuHandler(PopupMenuHandler handler) { gPopupHandler = std::move(handler); }

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s << ssShift;
    if (keys & MK_CONTROL) s << ssCtrl;
    if (keys & MK_LBUTTON) s << ssLeft;
    if (keys & MK_RBUTTON) s << ssRight;
    if (keys & MK_MBUTTON) s << ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s << ssAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s << ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s << ssAlt;
    return s;
}

bool IsAccel(WORD Key, const String& Caption) {
    auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; };
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != u'&') continue;
        if (Caption[i + 1] == u'&') {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return upper(Caption[i + 1]) == upper(static_cast<char16_t>(Key));
    }
    return false;
}

String GetShortHint(const String& Hint) {
    size_t bar = Hint.find(u'|');
    return bar == String::npos ? Hint : String(Hint.substr(0, bar));
}

String GetLongHint(const String& Hint) {
    size_t bar = Hint.find(u'|');
    return bar == String::npos ? Hint : String(Hint.substr(bar + 1));
}

TWinControl* FindControl(HWND Handle) {
    auto it = gWindows.find(Handle);
    return it == gWindows.end() ? nullptr : it->second;
}

TCustomForm* GetParentForm(const TControl* Control) {
    const TControl* c = Control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TControl* GetCaptureControl() { return gCaptureControl; }

void SetCaptureControl(TControl* Control) {
    if (gCaptureControl == Control) return;
    TControl* old = gCaptureControl;
    gCaptureControl = Control;
    if (TWinControl* w = WindowOf(old); w && w->Peer()) w->Peer()->SetMouseCapture(false);
    if (TWinControl* w = WindowOf(Control); w && w->Peer()) w->Peer()->SetMouseCapture(true);
    if (old) old->Perform(WM_CAPTURECHANGED, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// TControlCanvas

void TControlCanvas::UpdateTarget(const TRect* paintClip, bool window) {
    auto* own = dynamic_cast<TWinControl*>(FControl);
    TWinControl* host = own ? own : FControl->Parent();
    SetBitmap(host ? host->BackingImage() : nullptr);
    if (FAttached) {
        // Back from a paint DC: its window origin and clip region are not ours.
        FAttached = false;
        SetWindowOrgEx(Handle(), 0, 0, nullptr);
        SelectClipRgn(Handle(), nullptr);
        SetLayout(Handle(), 0);
    }
    SetDeviceClipRegion(nullptr);
    if (!host) return;
    TRect area = host->ClientArea();
    // A right-to-left layout mirrors about the client area, or the whole window for its frame.
    if (window && own) SetLayoutArea(0, own->Width());
    else SetLayoutArea(area.Left, area.Width());
    TRect clip;
    TPoint origin;
    if (window && own) {
        clip = Rect(0, 0, own->Width(), own->Height());
    } else {
        // Client coordinates of the window, moved to where the client area lies in its image.
        TRect local = own ? own->ClientRect() : IntersectRects(FControl->BoundsRect(), host->ClientRect());
        if (paintClip) local = IntersectRects(local, *paintClip);
        TPoint at = own ? Point(0, 0) : FControl->BoundsRect().TopLeft();
        origin = Point(at.X + area.Left, at.Y + area.Top);
        clip = local.IsEmpty() ? TRect() : OffsetRectBy(local, area.Left, area.Top);
    }
    SetOrigin(origin.X, origin.Y);
    FDeviceClip = clip;
    SetDeviceClipRect(&FDeviceClip);
}

void TControlCanvas::AttachTo(HDC dc) {
    TCanvas* source = TCanvas::FromHandle(dc);
    if (!source) return;
    SetBitmap(source->Bitmap());
    FAttached = true;
    HDC self = Handle();
    TPoint viewport, windowOrg;
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &windowOrg);
    SetViewportOrgEx(self, viewport.X, viewport.Y, nullptr);
    SetWindowOrgEx(self, windowOrg.X, windowOrg.Y, nullptr);
    SetLayoutArea(source->Dc().layoutLeft, source->Dc().layoutWidth);
    SetLayout(self, GetLayout(dc));
    SetPixelsPerInch(source->PixelsPerInchX(), source->PixelsPerInchY());
    SetMapMode(self, GetMapMode(dc));
    // The visible box (device clip and region, in device pixels whatever the DC's mode and layout)
    // as device clip, and the DC's region, so parts a component excluded stay untouched.
    TRect box = source->Visible().Bounds();
    FDeviceClip = box.IsEmpty() ? TRect() : box;
    SetDeviceClipRect(&FDeviceClip);
    // The part of the window the pass repaints, as the paint DC has it.
    const TCanvasDc& from = source->Dc();
    SetDeviceClipRegion(from.hasDeviceRegion ? &from.deviceRegion : nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(dc, region) == 1) SelectClipRgn(self, region);
    else SelectClipRgn(self, nullptr);
    DeleteObject(region);
}

TPaintScope::TPaintScope(TControlCanvas& canvas, HDC dc) : FCanvas(canvas) {
    FCanvas.AttachTo(dc);
    ++FCanvas.FPaintDepth;
    FCanvas.Lock();
}

TPaintScope::~TPaintScope() {
    FCanvas.Unlock();
    --FCanvas.FPaintDepth;
}

namespace {
// The control canvases drawing outside a pass holds locked.
std::vector<TControlCanvas*>& Held() {
    static std::vector<TControlCanvas*> held;
    return held;
}
}  // namespace

TControlCanvas::~TControlCanvas() {
    // A DC released before the loop ran again still shows what it drew.
    EndHold();
}

void TControlCanvas::Changing() {
    TCanvas::Changing();
    // Outside any bracket the drawing opens one that lasts until the loop runs again.
    if (FHeld || FPaintDepth > 0 || LockCount() > 0 || !Bitmap()) return;
    Lock();
    FHeld = true;
    Held().push_back(this);
}

void TControlCanvas::Changed() {
    TCanvas::Changed();
    // Inside a paint pass the window shows the result when the pass ends.
    if (FPaintDepth > 0) return;
    // Drawn outside a paint pass: the window shows it at its next repaint, asked for once the
    // hold ends.
    if (FHeld) {
        if (!FDeviceClip.IsEmpty()) FPendingShow = FPendingShow.IsEmpty() ? FDeviceClip : UnionRects(FPendingShow, FDeviceClip);
        return;
    }
    auto* own = dynamic_cast<TWinControl*>(FControl);
    TWinControl* window = own ? own : FControl->Parent();
    if (window && window->Peer() && !FDeviceClip.IsEmpty()) window->Peer()->Update(FDeviceClip);
}

void TControlCanvas::EndHold() {
    if (!FHeld) return;
    FHeld = false;
    std::erase(Held(), this);
    Unlock();
    TRect shown = std::exchange(FPendingShow, TRect());
    auto* own = dynamic_cast<TWinControl*>(FControl);
    TWinControl* window = own ? own : FControl->Parent();
    if (window && window->Peer() && !shown.IsEmpty()) window->Peer()->Update(shown);
}

void ui::EndOffPassDrawing() {
    // Each canvas leaves the list as it ends its hold; an Update may not add one.
    while (!Held().empty()) Held().back()->EndHold();
}

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FFont->OnChange = [this](TPersistent*) { FontChanged(); };
}

TControl::~TControl() {
    Destroying();
    FWindowProc.reset();
    FActionLink.reset();
    if (gCaptureControl == this) gCaptureControl = nullptr;
    ui::detail::ForgetControl(this);
    if (FParent) FParent->RemoveControl(this);
}

void TControl::BeforeDestruction() {
    FWindowProc.reset();
    TComponent::BeforeDestruction();
}

void TControl::ApplyConstraints(int& w, int& h) const {
    if (FConstraints.MinWidth > 0) w = std::max(w, FConstraints.MinWidth);
    if (FConstraints.MaxWidth > 0) w = std::min(w, FConstraints.MaxWidth);
    if (FConstraints.MinHeight > 0) h = std::max(h, FConstraints.MinHeight);
    if (FConstraints.MaxHeight > 0) h = std::min(h, FConstraints.MaxHeight);
    w = std::max(w, 0);
    h = std::max(h, 0);
}

void TControl::SetConstraints(const TSizeConstraints& c) {
    FConstraints = c;
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    ApplyConstraints(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    TRect old = BoundsRect();
    bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged(old);
    if (resized && !dynamic_cast<TWinControl*>(this)) Resize();
}

void TControl::BoundsChanged(const TRect& oldBounds) {
    if (!FParent) return;
    if (FVisible) {
        FParent->InvalidateRect(oldBounds);
        FParent->InvalidateRect(BoundsRect());
    }
    if (FAlign != alNone) FParent->AlignControls();
    if (FParent) FParent->ChildLayoutChanged(this);
}

void TControl::SetClientWidth(int v) { SetWidth(v + (FWidth - ClientWidth())); }
void TControl::SetClientHeight(int v) { SetHeight(v + (FHeight - ClientHeight())); }

TPoint TControl::ClientOrigin() const {
    // A window's client area starts past its frame.
    TPoint frame;
    const auto* window = dynamic_cast<const TWinControl*>(this);
    if (window) frame = window->ClientArea().TopLeft();
    if (!FParent || (window && window->IsPopup())) return Point(FLeft + frame.X, FTop + frame.Y);
    TPoint p = FParent->ClientOrigin();
    return Point(p.X + FLeft + frame.X, p.Y + FTop + frame.Y);
}

TPoint TControl::ClientToScreen(const TPoint& p) const {
    TPoint o = ClientOrigin();
    return Point(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
    TPoint o = ClientOrigin();
    return Point(p.X - o.X, p.Y - o.Y);
}

void TControl::SetAlign(TAlign value) {
    if (FAlign == value) return;
    FAlign = value;
    if (FParent) FParent->AlignControls();
}

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent) return;
    if (AParent == this) throw EInvalidOperation(String("A control cannot have itself as its parent"));
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

void TControl::Show() {
    if (FParent) FParent->Show();
    SetVisible(true);
}

void TControl::Hide() { SetVisible(false); }

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        FParentColor = false;
        Perform(CM_COLORCHANGED, 0, 0);
    } else {
        FParentColor = false;
    }
}

void TControl::SetParentColor(bool value) {
    if (FParentColor == value) return;
    FParentColor = value;
    if (value && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
    if (FParentFont == value) return;
    FParentFont = value;
    if (value && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged() {
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::CMParentFontChanged(TMessage& Message) {
    if (!FParentFont || !FParent) return;
    const TFont* source = Message.WParam ? reinterpret_cast<const TFont*>(Message.LParam) : FParent->Font();
    FFont->Assign(source);
    FParentFont = true;  // taking the parent's font is no font of our own
}

void TControl::SetText(const String& value) {
    if (FText == value) return;
    FText = value;
    ++FTextVersion;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::ReplaceText(size_t start, size_t count, const String& inserted) {
    FText.replace(std::min(start, FText.size()), count, inserted);
    ++FTextVersion;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value) {
    FParentShowHint = false;
    if (FShowHint == value) return;
    FShowHint = value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value) {
    FParentShowHint = value;
    if (value && FParent) FShowHint = FParent->ShowHint();
}

void TControl::SetCursor(TCursor value) {
    if (FCursor == value) return;
    FCursor = value;
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->Peer()) w->Peer()->SetCursorShape(ui::ResolveCursor(value));
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::InvalidateRect(const TRect& r) {
    ui::CheckUiThread("Invalidate");
    if (FParent && FVisible) FParent->InvalidateRect(IntersectRects(OffsetRectBy(r, FLeft, FTop), BoundsRect()));
}

void TControl::Invalidate() { InvalidateRect(ClientRect()); }

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent) {
        if (auto* w = dynamic_cast<TWinControl*>(this); w && w->Peer()) w->Peer()->Raise();
        return;
    }
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->Peer()) w->Peer()->Raise();
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->Peer()) w->Peer()->Lower();
    Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    ui::CheckUiThread("Perform");
    TMessage m{Msg, WParam, LParam, 0};
    Deliver(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) {
    CheckAfterConstruction("a message");
    // In design state a mouse message is the form designer's unless the control claims it; the
    // project has no designer, so what it leaves is dropped.
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && ComponentState().Contains(csDesigning) &&
        !DesignHitTest(Message))
        return;
    // A control that does not take double-clicks sees the second click as another press.
    if (!FControlStyle.Contains(csDoubleClicks)) {
        if (Message.Msg == WM_LBUTTONDBLCLK) Message.Msg = WM_LBUTTONDOWN;
        else if (Message.Msg == WM_RBUTTONDBLCLK) Message.Msg = WM_RBUTTONDOWN;
        else if (Message.Msg == WM_MBUTTONDBLCLK) Message.Msg = WM_MBUTTONDOWN;
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
        case WM_LBUTTONUP: WMLButtonUp(Message); break;
        case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: WMRButtonDown(Message); break;
        case WM_RBUTTONUP: WMRButtonUp(Message); break;
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: WMMButtonDown(Message); break;
        case WM_MBUTTONUP: WMMButtonUp(Message); break;
        case WM_MOUSEMOVE: WMMouseMove(Message); break;
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
        case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
        case CM_TEXTCHANGED: CMTextChanged(Message); break;
        case CM_COLORCHANGED: CMColorChanged(Message); break;
        case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
        case CM_FONTCHANGED: CMFontChanged(Message); break;
        case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
        case CM_HITTEST: CMHitTest(Message); break;
        case WM_CONTEXTMENU: WMContextMenu(Message); break;
        case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); break;
        case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
        // The desktop's colours or style changed: what the control draws with may have.
        case CM_SYSCOLORCHANGE: case WM_THEMECHANGED: Invalidate(); break;
        default: DefaultHandler(Message); break;
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_IME_COMPOSITION:
            // What the input method typed arrives as characters, on the road typed ones take.
            if (Message.LParam & GCS_RESULTSTR) {
                auto* self = dynamic_cast<TWinControl*>(this);
                HIMC context = self && self->HandleAllocated() ? ImmGetContext(self->Handle()) : nullptr;
                if (!context) break;
                String typed = ui::CompositionString(context, GCS_RESULTSTR);
                HWND hwnd = self->Handle();
                ImmReleaseContext(hwnd, context);
                for (char16_t ch : typed) {
                    // A character's handler may free the control: the rest is not typed then.
                    if (FindControl(hwnd) != self) break;
                    if (Perform(CN_CHAR, ch, 0) == 0 && FindControl(hwnd) == self) Perform(WM_CHAR, ch, 0);
                }
            }
            break;
        case WM_GETTEXTLENGTH: Message.Result = FText.Length(); break;
        case WM_CANCELMODE:
            if (MouseCapture()) SetMouseCapture(false);
            break;
        case WM_SETTEXT:
            if (Message.LParam) SetText(String(reinterpret_cast<const char16_t*>(Message.LParam)));
            Message.Result = 1;
            break;
        case WM_GETTEXT: {
            auto* buf = reinterpret_cast<char16_t*>(Message.LParam);
            size_t cap = static_cast<size_t>(Message.WParam);
            if (!buf || cap == 0) break;
            size_t n = std::min(cap - 1, FText.size());
            std::copy_n(FText.data(), n, buf);
            buf[n] = 0;
            Message.Result = static_cast<LRESULT>(n);
            break;
        }
        default: break;
    }
}

bool TControl::MouseCapture() const { return gCaptureControl == this; }

void TControl::SetMouseCapture(bool value) {
    if (value)
        SetCaptureControl(this);
    else if (gCaptureControl == this)
        SetCaptureControl(nullptr);
}

void TControl::Click() {
    // The link is asked through its base, where TControl is a friend.
    if (FActionLink && static_cast<TBasicActionLink*>(FActionLink.get())->IsOnExecuteLinked() &&
        !ComponentState().Contains(csDesigning)) {
        FActionLink->Execute(this);
        return;
    }
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::DoMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState extra) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseDown(Button, KeysToShiftState(Message.WParam) + extra, GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseUp(Button, KeysToShiftState(Message.WParam), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TControl::WMLButtonDown(TMessage& Message) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) FControlState << csClicked;
    // A control that drags itself starts at the press; until the pointer moves on, the press
    // stays its own.
    if (FDragMode == dmAutomatic) BeginDrag(false);
    DoMouseDown(Message, mbLeft);
}

void TControl::WMLButtonDblClk(TMessage& Message) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) DblClick();
    DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState >> csClicked;
        if (ClientRect().Contains(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)))) Click();
    }
    DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message) { DoMouseDown(Message, mbRight); }
void TControl::WMRButtonUp(TMessage& Message) {
    DoMouseUp(Message, mbRight);
    if (ComponentState().Contains(csDestroying)) return;
    TPoint screen = ClientToScreen(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    Perform(WM_CONTEXTMENU, 0, PointToLParam(screen.X, screen.Y));
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
    if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
    if (Message.Result != 0) return;
    TPoint screen(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    bool fromKeyboard = screen.X == -1 && screen.Y == -1;
    TPoint local = fromKeyboard ? screen : ScreenToClient(screen);
    bool handled = false;
    DoContextPopup(local, handled);
    Message.Result = 1;
    if (handled) return;
    if (FPopupMenu && gPopupHandler) {
        TPoint at = fromKeyboard ? ClientToScreen(Point(0, 0)) : screen;
        if (gPopupHandler(FPopupMenu, this, at)) return;
    }
    if (FParent) {
        Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
        return;
    }
    Message.Result = 0;
}
void TControl::WMMButtonDown(TMessage& Message) { DoMouseDown(Message, mbMiddle); }
void TControl::WMMButtonUp(TMessage& Message) { DoMouseUp(Message, mbMiddle); }

void TControl::WMMouseMove(TMessage& Message) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseMove(KeysToShiftState(Message.WParam), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

// The hint of the control under the pointer is the application's business (Hints.cpp).
void TControl::CMMouseEnter(TMessage&) { DoMouseEnter(); }
void TControl::CMMouseLeave(TMessage&) { DoMouseLeave(); }
void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) {
    if (!FParent) return;
    FParent->InvalidateRect(BoundsRect());
    if (FAlign != alNone) FParent->AlignControls();
    if (FParent) FParent->ChildLayoutChanged(this);
}

void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage& Message) {
    if (!FParentColor || !FParent) return;
    TColor c = Message.WParam ? static_cast<TColor>(Message.LParam) : FParent->Color();
    if (c != FColor) {
        FColor = c;
        Perform(CM_COLORCHANGED, 0, 0);
    }
}

void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

// ---------------------------------------------------------------------------------------------
// TControl: the action, the reading order

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* value) {
    if (TBasicAction* old = Action(); old && old != value) old->RemoveFreeNotification(this);
    if (!value) {
        FActionLink.reset();
        FControlStyle >> csActionClient;
        return;
    }
    FControlStyle << csActionClient;
    if (!FActionLink) FActionLink.reset(GetActionLinkClass()(this));
    FActionLink->SetAction(value);
    ActionChange(value, value->ComponentState().Contains(csLoading));
    value->FreeNotification(this);
}

TControlActionLinkClass TControl::GetActionLinkClass() const { return ActionLinkClassOf<TControlActionLink>(); }

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || Caption().IsEmpty() || Caption() == Name()) SetCaption(action->Caption());
    if (!CheckDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!CheckDefaults || Hint().IsEmpty()) SetHint(action->Hint());
    if (!CheckDefaults || Visible()) SetVisible(action->Visible());
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    // A freed action has let go of its links before its owners and clients hear of it.
    if (Operation == opRemove && FActionLink && (!FActionLink->Action() || AComponent == FActionLink->Action()))
        SetAction(nullptr);
}

void TControlActionLink::AssignClient(TObject* AClient) { FClient = dynamic_cast<TControl*>(AClient); }

// Linked while the control still shows what the action gave it.
bool TControlActionLink::IsCaptionLinked() {
    return TActionLink::IsCaptionLinked() && FClient && FClient->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() {
    return TActionLink::IsEnabledLinked() && FClient && FClient->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() {
    return TActionLink::IsHintLinked() && FClient && FClient->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() {
    return TActionLink::IsVisibleLinked() && FClient && FClient->Visible() == CustomAction()->Visible();
}
// A control with an OnClick of its own runs that instead of the action.
bool TControlActionLink::IsOnExecuteLinked() { return TActionLink::IsOnExecuteLinked() && FClient && !FClient->OnClick; }

void TControlActionLink::SetCaption(const String& Value) {
    if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TControlActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TControlActionLink::SetHint(const String& Value) {
    if (IsHintLinked()) FClient->SetHint(Value);
}
void TControlActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TControl::SetBiDiMode(TBiDiMode value) {
    FParentBiDiMode = false;
    if (FBiDiMode == value) return;
    FBiDiMode = value;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool value) {
    if (FParentBiDiMode == value) return;
    FParentBiDiMode = value;
    if (value && FParent) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TControl::CMBiDiModeChanged(TMessage&) {
    if (SysLocale.MiddleEast) Invalidate();
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        std::vector<TControl*> children = w->FControls;
        for (TControl* c : children) c->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    }
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (!FParentBiDiMode || !FParent) return;
    SetBiDiMode(FParent->BiDiMode());
    FParentBiDiMode = true;  // taking the parent's mode is no mode of our own
}

bool TControl::UseRightToLeftReading() const { return SysLocale.MiddleEast && FBiDiMode != bdLeftToRight; }
bool TControl::UseRightToLeftAlignment() const { return SysLocale.MiddleEast && FBiDiMode == bdRightToLeft; }

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
    if (UseRightToLeftAlignment()) {
        if ((Flags & DT_RIGHT) == DT_RIGHT)
            Flags &= ~DT_RIGHT;
        else if ((Flags & DT_CENTER) != DT_CENTER)
            Flags |= DT_RIGHT;
    }
    return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    Destroying();
    // What the window still hears as it goes reaches no hook, whose owner may be gone.
    FWindowProc.reset();
    if (TCustomForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this)) {
        if (form->FActiveControl && (form->FActiveControl == this || ContainsControl(form->FActiveControl)))
            form->FActiveControl = nullptr;
        ui::detail::FocusLeft(this, form);
    }
    // Nothing may activate or focus the window while it goes.
    ui::detail::ControlGone(this);
    // Children go with their parent, whoever owns them.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        c->Free();
    }
    if (FParent) FParent->RemoveControl(this);
    DestroyHandleTree();
}

HWND TWinControl::Handle() {
    if (!FHandle) {
        if (FParent && !FParent->HandleAllocated()) {
            FParent->Handle();  // makes the windows of all its children, ours included
            if (FHandle) return FHandle;
        }
        CreateHandleTree();
    }
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params.Caption = Text();
    Params.Bounds = BoundsRect();
    Params.Style = FParent ? WS_CHILD | WS_CLIPSIBLINGS : WS_OVERLAPPEDWINDOW;
    if (Visible()) Params.Style |= WS_VISIBLE;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WinClassName = String(ClassName());
    Params.TopLevel = FParent == nullptr;
    Params.Visible = Visible() && FParent != nullptr;
    Params.Enabled = Enabled();
}

void TWinControl::CreateWnd() {
    ui::CheckUiThread("CreateWnd");
    TCreateParams params;
    CreateParams(params);
    // Scroll bars shown before a RecreateWnd stay shown.
    FStyle = params.Style | (FStyle & (WS_HSCROLL | WS_VSCROLL));
    FExStyle = params.ExStyle;
    FWinClassName = params.WinClassName.IsEmpty() ? String(ClassName()) : params.WinClassName;
    params.Style = FStyle;
    params.TopLevel = !FParent || IsPopup();
    if (IsPopup()) params.Visible = false;  // shown with the control, as a window of its own
    FHandle = win::CreateWindowHandle([this](HWND, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        TMessage m{msg, w, l, 0};
        try {
            Deliver(m);
        } catch (...) {
            HandleUiException(this);
        }
        return m.Result;
    });
    gWindows[FHandle] = this;
    FImage = std::make_unique<TBitmap>(std::max(Width(), 0), std::max(Height(), 0));
    FPeer = ui::GetBackend().CreateWidget(this, params);
    HWND owner = params.WndParent;
    if (IsPopup() && !owner) {
        // A pop-up is a window of its own, kept over the form it belongs to.
        TCustomForm* form = GetParentForm(this);
        if (form && form->FHandle) owner = form->FHandle;
    }
    if (params.TopLevel) {
        if (TWinControl* o = FindControl(owner); o && o != this && o->FPeer) FPeer->SetParent(o->FPeer.get());
    } else if (FParent && FParent->FPeer) {
        FPeer->SetParent(FParent->FPeer.get());
    }
    ui::detail::WindowCreated(this, params.TopLevel ? owner : nullptr, params.WindowClass.style);
    ui::detail::LayersWindowCreated(this);
    MeasureFrame();
    FPeer->SetBounds(PeerBounds());
    FPeer->SetEnabled(params.Enabled);
    FPeer->SetCursorShape(ui::ResolveCursor(Cursor()));
    if (FRedrawOff) FPeer->SetRedraw(false);
    FDirty.Clear();
    FDirty.Add(ClientRect());
    FErase = true;
    FFrameDirty = true;
    if (FInsets != TRect()) AlignControls();  // the frame narrowed the client area
    FPeer->SetVisible(params.Visible || (IsPopup() && Visible() && FParent && FParent->Showing()));
}

void TWinControl::DestroyWnd() {
    ui::detail::WindowDestroying(this);
    ui::detail::LayersWindowDestroyed(this);
    ui::detail::ReleaseWindowDcs(this);
    FPeer.reset();
    FImage.reset();  // detaches the canvases that drew on it
    if (FHandle) {
        gWindows.erase(FHandle);
        DestroyWindow(FHandle);
    }
    FHandle = nullptr;
    FDirty.Clear();
    FErase = false;
    FFrameDirty = false;
    FTrack = Tracking();
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    DestroyHandleTree();
    CreateHandleTree();
    // A top-level window is shown by Show, not by its creation.
    if (FPeer && Visible() && (!FParent || IsPopup())) FPeer->SetVisible(true);
    if (TCustomForm* form = GetParentForm(this); form && form->ActiveControl() && form->ActiveControl()->FPeer &&
                                                 (form->ActiveControl() == this || ContainsControl(form->ActiveControl())))
        form->ActiveControl()->FPeer->SetFocus();
}

void TWinControl::CreateHandleTree() {
    if (!FHandle) CreateWnd();
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->FHandle) w->CreateHandleTree();
}

void TWinControl::DestroyHandleTree() {
    // Children first: a widget takes its child widgets with it.
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandleTree();
    if (FHandle) DestroyWnd();
}

TRect TWinControl::PeerBounds() const {
    TRect b = BoundsRect();
    if (!FParent || IsPopup()) return b;
    TRect area = FParent->ClientArea();
    return OffsetRectBy(b, area.Left, area.Top);
}

void TWinControl::PlaceChildPeers() {
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FPeer) w->FPeer->SetBounds(w->PeerBounds());
}

void TWinControl::UpdatePeer() {
    if (!FPeer) return;
    FPeer->SetBounds(PeerBounds());
    FPeer->SetVisible(Visible() && (FParent != nullptr || Showing()));
}

bool TWinControl::ContainsControl(const TControl* c) const {
    for (const TControl* p = c ? c->Parent() : nullptr; p; p = p->Parent())
        if (p == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    AControl->FParent = this;
    FControls.push_back(AControl);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(w);
        if (w->FParentCtl3D) w->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        if (FHandle) w->CreateHandleTree();
    }
    if (AControl->FParentColor) AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (AControl->FParentFont) AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (AControl->FParentShowHint) AControl->FShowHint = ShowHint();
    if (AControl->FParentBiDiMode) AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (AControl->Align() != alNone) AlignControls();
    if (AControl->Visible()) InvalidateRect(AControl->BoundsRect());
    ChildLayoutChanged(AControl);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) w->UpdateShowing();
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (AControl->FParent != this) return;
    if (TCustomForm* form = GetParentForm(this)) {
        TWinControl* active = form->FActiveControl;
        if (active && (active == AControl || (dynamic_cast<TWinControl*>(AControl) &&
                                              static_cast<TWinControl*>(AControl)->ContainsControl(active))))
            form->FActiveControl = nullptr;
        if (auto* w = dynamic_cast<TWinControl*>(AControl)) ui::detail::FocusLeft(w, form);
    }
    if (gCaptureControl == AControl) gCaptureControl = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) w->DestroyHandleTree();
    std::erase_if(FTabList, [AControl](TWinControl* w) { return static_cast<TControl*>(w) == AControl; });
    std::erase(FControls, AControl);
    if (AControl->Visible()) InvalidateRect(AControl->BoundsRect());
    AControl->FParent = nullptr;
    if (AControl->Align() != alNone) AlignControls();
    ChildLayoutChanged(AControl);
    if (auto* w = dynamic_cast<TWinControl*>(AControl); w && !ComponentState().Contains(csDestroying)) w->UpdateShowing();
}

TControl* TWinControl::ControlAtPos(const TPoint& P, bool AllowDisabled, bool AllowWinControls) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
        if (!c->BoundsRect().Contains(P)) continue;
        TPoint local(P.X - c->Left(), P.Y - c->Top());
        if (c->Perform(CM_HITTEST, 0, PointToLParam(local.X, local.Y)) != 0) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
        c->Deliver(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::AlignControls() {
    if (FAligning) return;
    FAligning = true;
    TRect r = ClientRect();
    AdjustClientRect(r);
    auto place = [&](TAlign which) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == which && c->Visible()) list.push_back(c);
        // Nearer the edge first, as the controls were laid out.
        std::stable_sort(list.begin(), list.end(), [which](TControl* a, TControl* b) {
            switch (which) {
                case alTop: return a->Top() < b->Top();
                case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
                case alLeft: return a->Left() < b->Left();
                case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
                default: return false;
            }
        });
        for (TControl* c : list) {
            switch (which) {
                case alTop: c->SetBounds(r.Left, r.Top, r.Width(), c->Height()); r.Top += c->Height(); break;
                case alBottom: c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height()); r.Bottom -= c->Height(); break;
                case alLeft: c->SetBounds(r.Left, r.Top, c->Width(), r.Height()); r.Left += c->Width(); break;
                case alRight: c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height()); r.Right -= c->Width(); break;
                case alClient: c->SetBounds(r.Left, r.Top, r.Width(), r.Height()); break;
                default: break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
    FAligning = false;
}

void TWinControl::SetTabStop(bool value) {
    if (FTabStop == value) return;
    FTabStop = value;
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::TabOrder() const {
    if (!FParent) return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!FParent) return;
    auto& list = FParent->FTabList;
    std::erase(list, this);
    size_t pos = value < 0 ? list.size() : std::min(static_cast<size_t>(value), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* w : FTabList) {
        list.push_back(w);
        w->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    auto n = static_cast<std::ptrdiff_t>(list.size());
    auto it = std::find(list.begin(), list.end(), CurControl);
    std::ptrdiff_t start = it == list.end() ? (GoForward ? n - 1 : 0) : it - list.begin();
    std::ptrdiff_t i = start;
    for (std::ptrdiff_t step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == CurControl) break;
        if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (const TControl* c = this; c && c != static_cast<TControl*>(form); c = c->Parent())
        if (!c->Visible() || ui::detail::WindowDisabled(static_cast<const TWinControl*>(c))) return false;
    return form->CanFocus();
}

bool TWinControl::Focused() const { return ui::FocusedWindow() == this; }

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    if (!CanFocus()) throw EInvalidOperation(String("Cannot focus a disabled or invisible window"));
    form->FocusControl(this);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    AlignControls();
}

void TWinControl::BoundsChanged(const TRect& oldBounds) {
    bool resized = oldBounds.Width() != Width() || oldBounds.Height() != Height();
    if (FPeer) {
        if (resized) {
            FImage->SetSize(Width(), Height());
            if (MeasureFrame()) PlaceChildPeers();
            InvalidateFrame();
        }
        FPeer->SetBounds(PeerBounds());
    }
    if (FParent && Align() != alNone) FParent->AlignControls();
    if (FParent) FParent->ChildLayoutChanged(this);
    if (resized) {
        Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(Width()), static_cast<WORD>(Height())));
        Invalidate();
    }
}

void TWinControl::InvalidateRect(const TRect& r) { InvalidateClient(r, true); }

void TWinControl::InvalidateClient(const TRect& r, bool erase) {
    ui::CheckUiThread("Invalidate");
    if (!FPeer) return;
    TRect c = IntersectRects(r, ClientRect());
    if (c.IsEmpty()) return;
    FDirty.Add(c);
    if (erase) FErase = true;
    TRect area = ClientArea();
    FPeer->Update(OffsetRectBy(c, area.Left, area.Top));
}

void TWinControl::InvalidateFrame() {
    if (!FPeer) return;
    FFrameDirty = true;
    FPeer->Update(Rect(0, 0, Width(), Height()));
}

void TWinControl::Invalidate() { InvalidateRect(ClientRect()); }

void TWinControl::Update() {
    if (!FPeer || (FDirty.IsEmpty() && !FFrameDirty)) return;
    TRect area = ClientArea();
    std::vector<TRect> shown;
    if (FFrameDirty) shown.push_back(Rect(0, 0, Width(), Height()));
    else
        for (const TRect& r : FDirty.Rects()) shown.push_back(OffsetRectBy(r, area.Left, area.Top));
    PaintPending();
    if (FPeer)
        for (const TRect& r : shown) FPeer->Update(r);
}

bool TWinControl::Showing() const {
    return Visible() && FParent && FParent->Showing();
}

void TWinControl::SetEnabled(bool value) { TControl::SetEnabled(value); }

// The one place a paint pass begins and ends. The image's canvas is locked for the whole pass, so
// drawing in it may keep its painting state open until the pass ends.
void TWinControl::PaintPending() {
    if (!FPeer || FPainting || (!FFrameDirty && FDirty.IsEmpty()) || RedrawSuspended()) return;
    FPainting = true;
    TCanvas* imageCanvas = FImage->Canvas();
    imageCanvas->Lock();
    struct PassEnd {
        TWinControl* self;
        TCanvas* canvas;
        ~PassEnd() {
            // The control may have lost its window during the pass.
            if (self->FImage && canvas == self->FImage->Canvas()) canvas->Unlock();
            self->FPainting = false;
        }
    } end{this, imageCanvas};
    if (FFrameDirty) {
        FFrameDirty = false;
        Perform(WM_NCPAINT, 1, 0);
    }
    if (!FPeer || FDirty.IsEmpty()) return;
    ui::InvalidArea before = FDirty;
    Perform(WM_PAINT, 0, 0);
    // A handler that never called BeginPaint leaves the part valid all the same, so the pass
    // does not repeat forever.
    if (FDirty == before) {
        FDirty.Clear();
        FErase = false;
    }
    if (FPeer) PaintPassEnded();
}

void TWinControl::PaintHandler(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT ps;
    bool own = dc == nullptr;
    if (own) {
        dc = BeginPaint(Handle(), &ps);
        if (!dc) return;
    }
    struct End {
        HWND window;
        PAINTSTRUCT* ps;
        ~End() {
            if (ps) EndPaint(window, ps);
        }
    } end{FHandle, own ? &ps : nullptr};
    PaintWindow(dc);
    PaintControls(dc, nullptr);
}

void TWinControl::WMPaint(TMessage& Message) { PaintHandler(Message); }

void TWinControl::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
    if (FControlStyle.Contains(csOpaque)) return;
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c) return;
    TRect box;
    if (GetClipBox(dc, &box) == NULLREGION) return;
    c->FillSolid(box, Color());
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    std::vector<TControl*> children = FControls;
    bool started = First == nullptr;
    for (TControl* c : children) {
        if (!started) {
            if (c != First) continue;
            started = true;
        }
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible() || g->Parent() != this) continue;
        TRect box;
        if (GetClipBox(DC, &box) == NULLREGION) return;
        if (IntersectRects(box, g->BoundsRect()).IsEmpty()) continue;
        int saved = SaveDC(DC);
        TPoint org;
        GetWindowOrgEx(DC, &org);
        SetWindowOrgEx(DC, org.X - g->Left(), org.Y - g->Top(), nullptr);
        IntersectClipRect(DC, 0, 0, g->Width(), g->Height());
        struct Restore {
            HDC dc;
            int saved;
            ~Restore() { RestoreDC(dc, saved); }
        } restore{DC, saved};
        g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN: WMKeyDown(Message); break;
        case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(Message); break;
        case WM_CHAR: WMChar(Message); break;
        case WM_SYSKEYDOWN: WMSysKeyDown(Message); break;
        case WM_SYSCHAR: WMSysChar(Message); break;
        case CN_KEYDOWN: case CN_SYSKEYDOWN: CNKeyDown(Message); break;
        case CN_CHAR: CNChar(Message); break;
        case WM_GETDLGCODE: WMGetDlgCode(Message); break;
        case WM_SETFOCUS: WMSetFocus(Message); break;
        case EM_SHOWBALLOONTIP:
        case EM_HIDEBALLOONTIP:
            if (!ui::detail::EditBalloonMessage(this, Message)) DefaultHandler(Message);
            break;
        case WM_KILLFOCUS: WMKillFocus(Message); break;
        case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
        case CM_MOUSEWHEEL: CMMouseWheel(Message); break;
        case WM_SIZE: WMSize(Message); break;
        case CM_ENTER: CMEnter(Message); break;
        case CM_EXIT: CMExit(Message); break;
        case CM_DIALOGKEY: CMDialogKey(Message); break;
        case CM_DIALOGCHAR: CMDialogChar(Message); break;
        case CM_FOCUSCHANGED:
            CMFocusChanged(Message);
            Broadcast(Message);
            break;
        case WM_PAINT: WMPaint(Message); break;
        case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
        case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
        case WM_NCPAINT: WMNCPaint(Message); break;
        case WM_NCHITTEST: WMNCHitTest(Message); break;
        case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: WMNCLButtonDown(Message); break;
        case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
        case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(Message); break;
        case WM_HSCROLL: WMHScroll(Message); break;
        case WM_VSCROLL: WMVScroll(Message); break;
        case WM_NOTIFY: WMNotify(Message); break;
        case WM_COMMAND: WMCommand(Message); break;
        case WM_SETREDRAW: WMSetRedraw(Message); break;
        case WM_SETCURSOR: WMSetCursor(Message); break;
        default: TControl::Dispatch(Message); break;
    }
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char16_t& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

namespace {

// A key goes to the control's form first when the form previews keys, then to the control; a
// handler that sets it to 0 takes it.
template <class Key, class Handler>
bool DeliverKey(TWinControl* control, TMessage& message, Handler handle) {
    Key key = static_cast<Key>(message.WParam);
    TWinControl* form = GetParentForm(control);
    if (form && form != control && static_cast<TCustomForm*>(form)->KeyPreview()) {
        handle(form, key);
        if (key == 0) {
            message.WParam = 0;
            return true;
        }
    }
    handle(control, key);
    message.WParam = key;
    return key == 0;
}

}  // namespace

bool TWinControl::DoKeyDown(TMessage& Message) {
    TShiftState shift = KeyboardShiftState();
    return DeliverKey<WORD>(this, Message, [&](TWinControl* c, WORD& key) { c->KeyDown(key, shift); });
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    TShiftState shift = KeyboardShiftState();
    return DeliverKey<WORD>(this, Message, [&](TWinControl* c, WORD& key) { c->KeyUp(key, shift); });
}

bool TWinControl::DoKeyPress(TMessage& Message) {
    return DeliverKey<char16_t>(this, Message, [](TWinControl* c, char16_t& key) { c->KeyPress(key); });
}

void TWinControl::WMKeyDown(TMessage& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
    if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysChar(TMessage& Message) {
    // Alt+letter: the form's accelerators.
    if (TCustomForm* form = GetParentForm(this)) {
        if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) {
            Message.Result = 1;
            return;
        }
    }
    DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
    Message.Result = 1;
    WORD key = static_cast<WORD>(Message.WParam);
    if (TCustomForm* form = GetParentForm(this); form && form->IsShortCut(Message)) return;
    if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) return;
    LRESULT mask = 0;
    switch (key) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0) return;
    }
    Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
    Message.Result = 1;
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
    }
    Message.Result = 0;
}

void TWinControl::WMGetDlgCode(TMessage& Message) { Message.Result = 0; }

void TWinControl::WMSetFocus(TMessage&) {
    if (FPeer) FPeer->SetFocus();
}

void TWinControl::WMKillFocus(TMessage&) {}

bool TWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

void TWinControl::WMMouseWheel(TMessage& Message) {
    if (Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
        Message.Result = 1;
        return;
    }
    // Not handled here: the parent may scroll.
    if (FParent) Message.Result = FParent->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TWinControl::CMMouseWheel(TMessage& Message) {
    int delta = static_cast<int16_t>(Message.WParamHi());
    TPoint pos(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    Message.Result = DoMouseWheel(KeysToShiftState(Message.WParamLo()), delta, pos) ? 1 : 0;
}

namespace {
// A scroll bar control's message goes back to that control, which moves itself.
void ReflectScroll(TWinControl* self, UINT reflected, TMessage& Message) {
    if (!Message.LParam) return;
    TWinControl* bar = FindControl(reinterpret_cast<HWND>(Message.LParam));
    if (bar && bar != self) Message.Result = bar->Perform(reflected, Message.WParam, Message.LParam);
}
}  // namespace

void TWinControl::WMHScroll(TMessage& Message) { ReflectScroll(this, CN_HSCROLL, Message); }

void TWinControl::WMNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    TWinControl* child = header && header->hwndFrom ? FindControl(header->hwndFrom) : nullptr;
    if (child && child != this && child->Parent() == this && !child->IsPopup())
        Message.Result = child->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
    else
        DefaultHandler(Message);
}
void TWinControl::WMVScroll(TMessage& Message) { ReflectScroll(this, CN_VSCROLL, Message); }

void TWinControl::WMSize(TMessage&) {
    AlignControls();
    Resize();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMEnabledChanged(TMessage& Message) {
    // Enabling or disabling the control enables or disables its window, style bit included.
    if (FHandle) FStyle = Enabled() ? FStyle & ~WS_DISABLED : FStyle | WS_DISABLED;
    if (FPeer) FPeer->SetEnabled(Enabled());
    TControl::CMEnabledChanged(Message);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    if (Visible() && FParent && FParent->HandleAllocated() && !FHandle) CreateHandleTree();
    if (FPeer) FPeer->SetVisible(Visible());
    if (!Visible()) {
        if (TCustomForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this)) {
            TWinControl* active = form->FActiveControl;
            if (active && (active == this || ContainsControl(active))) form->FActiveControl = nullptr;
            ui::detail::FocusLeft(this, form);
        }
    }
    TControl::CMVisibleChanged(Message);
    UpdateShowing();
}

void TWinControl::UpdateShowing() {
    if (ComponentState().Contains(csDestroying)) return;
    bool showing = Showing();
    auto children = [this] {
        std::vector<TControl*> list = FControls;
        for (TControl* c : list)
            if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FParent == this) w->UpdateShowing();
    };
    // Shown: the children are told first; hidden: the control is.
    if (showing) children();
    if (showing != FShowingNotified) {
        FShowingNotified = showing;
        try {
            Perform(CM_SHOWINGCHANGED, 0, 0);
        } catch (...) {
            FShowingNotified = !showing;
            throw;
        }
    }
    if (!showing) children();
}

void TWinControl::CMColorChanged(TMessage& Message) {
    TControl::CMColorChanged(Message);
    TellChildren(FControls, CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::CMFontChanged(Message);
    TellChildren(FControls, CM_PARENTFONTCHANGED);
}

void TWinControl::SetCtl3D(bool value) {
    FParentCtl3D = false;
    if (FCtl3D == value) return;
    FCtl3D = value;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool value) {
    if (FParentCtl3D == value) return;
    FParentCtl3D = value;
    if (value && FParent) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    RecreateFrame();
    TellChildren(FControls, CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMParentCtl3DChanged(TMessage&) {
    if (!FParentCtl3D || !FParent || FCtl3D == FParent->FCtl3D) return;
    FCtl3D = FParent->FCtl3D;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl, TCustomControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
TGraphicControl::~TGraphicControl() = default;

TControlCanvas* ui::OwnCanvas(TControl* control, std::unique_ptr<TControlCanvas>& canvas) {
    CheckUiThread("Canvas");
    if (!canvas) canvas = std::make_unique<TControlCanvas>(control);
    if (!canvas->Painting()) {
        if (auto* w = dynamic_cast<TWinControl*>(control)) w->HandleNeeded();
        canvas->UpdateTarget();
    }
    return canvas.get();
}

TCanvas* TGraphicControl::Canvas() { return ui::OwnCanvas(this, FCanvas); }

void TGraphicControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINT) {
        WMPaint(Message);
        return;
    }
    TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    if (!dc) return;
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    TPaintScope scope(*FCanvas, dc);
    Paint();
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas() { return ui::OwnCanvas(this, FCanvas); }

void TCustomControl::PaintWindow(HDC DC) {
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    TPaintScope scope(*FCanvas, DC);
    Paint();
}
