#include "controls/styled/AdvGroupBox.h"

#include <algorithm>
#include <mutex>
#include <sstream>

#include "controls/styled/AOBXPVS.h"
#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/backend/WindowPeer.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"

namespace gb = AdvGroupBox;

namespace advgroupbox {

int ThemedCheckState(TCheckBoxState State, bool Enabled, bool Hot, bool Pressed) {
    int base = State == cbChecked ? CBS_CHECKEDNORMAL : State == cbGrayed ? CBS_MIXEDNORMAL : CBS_UNCHECKEDNORMAL;
    if (!Enabled) return base + 3;
    if (Pressed) return base + 2;
    if (Hot) return base + 1;
    return base;
}

String CheckBitmapName(TCheckBoxState State, bool Hot, bool Pressed) {
    String name = State == cbChecked ? u"QRBGRPC" : State == cbGrayed ? u"QRBGRPG" : u"QRBGRPU";
    if (Pressed) return name + u"D";
    if (Hot) return name + u"H";
    return name;
}

namespace {

// Our own drawing of the nine pictures: a square box, its frame darker when hot, its face grey
// when pressed, a tick when checked and a filled square when grayed. The corners take the
// transparent colour (the bottom-left pixel's).
std::vector<uint8_t> CheckPicture(TCheckBoxState state, bool hot, bool pressed) {
    constexpr TColor kTransparent = 0xFF00FF;
    TBitmap b(13, 13, pf24bit);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(pressed ? TColor(0xD8D8D8) : clWhite);
    c->Pen()->SetColor(hot || pressed ? TColor(0x9C6A3C) : TColor(0x707070));
    c->Rectangle(0, 0, 13, 13);
    for (TPoint p : {Point(0, 0), Point(12, 0), Point(0, 12), Point(12, 12)}) c->SetPixels(p.X, p.Y, kTransparent);
    const TColor mark = 0x202020;
    if (state == cbChecked) {
        // A tick two pixels thick.
        const TPoint tick[] = {Point(3, 6), Point(5, 8), Point(9, 4)};
        for (int i = 0; i < 2; ++i) {
            int x = tick[i].X, y = tick[i].Y;
            const TPoint to = tick[i + 1];
            while (x != to.X) {
                c->SetPixels(x, y, mark);
                c->SetPixels(x, y + 1, mark);
                x += to.X > x ? 1 : -1;
                y += to.Y > y ? 1 : (to.Y < y ? -1 : 0);
            }
        }
        c->SetPixels(9, 4, mark);
        c->SetPixels(9, 5, mark);
    } else if (state == cbGrayed) {
        c->Brush()->SetColor(0x808080);
        c->FillRect(Rect(3, 3, 10, 10));
    }
    std::ostringstream out;
    b.SaveToStream(out);
    std::string bytes = out.str();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

void RegisterCheckBitmaps() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed})
            for (int look = 0; look < 3; ++look) {
                bool hot = look == 1, pressed = look == 2;
                std::vector<uint8_t> data = CheckPicture(state, hot, pressed);
                win::RegisterResource(TResName(String(u"BITMAP")), CheckBitmapName(state, hot, pressed), 0, data.data(),
                                      data.size());
            }
    });
}

}  // namespace advgroupbox

// ---------------------------------------------------------------------------------------------

void TGroupBoxCheck::Assign(const TPersistent* Source) {
    if (auto* other = dynamic_cast<const TGroupBoxCheck*>(Source)) {
        FHint = other->FHint;
        SetState(other->FState);
        FThemed = other->FThemed;
        FAllowGrayed = other->FAllowGrayed;
        FAction = other->FAction;
        FPosition = other->FPosition;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TGroupBoxCheck::Changed() {
    if (OnChange) OnChange();
}

void TGroupBoxCheck::SetChecked(bool value) {
    if (value == Checked()) return;
    SetState(value ? cbChecked : cbUnchecked);
}

void TGroupBoxCheck::SetPosition(gb::TCheckBoxPos value) {
    if (FPosition == value) return;
    FPosition = value;
    Changed();
}

void TGroupBoxCheck::SetHint(const String& value) {
    if (FHint == value) return;
    FHint = value;
    Changed();
}

void TGroupBoxCheck::SetAllowGrayed(bool value) {
    if (FAllowGrayed == value) return;
    FAllowGrayed = value;
    Changed();
}

void TGroupBoxCheck::SetThemed(bool value) {
    if (FThemed == value) return;
    FThemed = value;
    Changed();
}

void TGroupBoxCheck::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    Changed();
}

void TGroupBoxCheck::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    if (!FGroupBox) return;
    FGroupBox->RedrawCheckBox();
    FGroupBox->ApplyCheckBoxAction();
    FGroupBox->DoCheckBoxClick();
}

// ---------------------------------------------------------------------------------------------

TAdvCustomGroupBox::TAdvCustomGroupBox(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FCheckBox(std::make_unique<TGroupBoxCheck>(this)) {
    FControlStyle >> csOpaque;
    FCheckBox->OnChange = [this] {
        Invalidate();
        AlignControls();
    };
    SetCtl3D(false);
    SetParentCtl3D(false);
}

TAdvCustomGroupBox::~TAdvCustomGroupBox() = default;

String TAdvCustomGroupBox::Version() const {
    int v = GetVersionNr();
    return Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

int TAdvCustomGroupBox::GetVersionNr() const {
    return (1 << 24) | (1 << 16) | 2;
}

void TAdvCustomGroupBox::SetBorderColor(TColor value) {
    if (FBorderColor == value) return;
    FBorderColor = value;
    Invalidate();
}

void TAdvCustomGroupBox::SetBorderStyle(gb::TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    Invalidate();
    AlignControls();
}

void TAdvCustomGroupBox::SetCaptionPosition(gb::TCaptionPosition value) {
    if (FCaptionPosition == value) return;
    FCaptionPosition = value;
    Invalidate();
    AlignControls();
}

void TAdvCustomGroupBox::SetImages(TCustomImageList* value) {
    if (FImages != value) {
        if (FImages) FImages->RemoveFreeNotification(this);
        FImages = value;
        if (value) value->FreeNotification(this);
        Invalidate();
        AlignControls();
    }
    if (!value) FImageIndex = -1;
}

void TAdvCustomGroupBox::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Invalidate();
    AlignControls();
}

void TAdvCustomGroupBox::SetRoundEdges(bool value) {
    if (FRoundEdges == value) return;
    FRoundEdges = value;
    Invalidate();
}

void TAdvCustomGroupBox::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Invalidate();
}

void TAdvCustomGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomGroupBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying)) SetImages(nullptr);
}

void TAdvCustomGroupBox::Loaded() {
    TCustomGroupBox::Loaded();
    if (FCheckBox->Visible() && FCheckBox->Action() != gb::caNone) ApplyCheckBoxAction();
}

void TAdvCustomGroupBox::CreateWnd() {
    TCustomGroupBox::CreateWnd();
    if (FCheckBox->Visible() && FCheckBox->Action() != gb::caNone) ApplyCheckBoxAction();
}

// ---------------------------------------------------------------------------------------------
// Layout

int TAdvCustomGroupBox::BorderWidth() const {
    switch (FBorderStyle) {
        case gb::bsNone: return 1;
        case gb::bsSingle: return Ctl3D() ? 2 : 1;
        case gb::bsDouble: return Ctl3D() ? 4 : 2;
    }
    return 1;
}

TSize TAdvCustomGroupBox::TextSize() const {
    if (Caption().empty()) return TSize(0, 0);
    ui::MeasureCanvas mc(Font());
    TRect r = Rect(0, 0, 0, 0);
    DrawText(mc->Handle(), Caption(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return TSize(r.Width(), r.Height());
}

TSize TAdvCustomGroupBox::ImageSize() const {
    if (FImages && FImageIndex >= 0) return TSize(FImages->Width(), FImages->Height());
    return TSize(0, 0);
}

void TAdvCustomGroupBox::CalcCaptionLayout(TRect& Area, TRect& CaptionRect, TRect& CheckRect) const {
    TSize text = TextSize(), image = ImageSize();
    int c = text.cx > 0 && image.cx > 0 ? 3 : 0;
    int e = 0, f = 0;
    if (FCheckBox->Visible()) {
        e = FCheckBox->Themed() ? 16 : 14;
        f = text.cx > 0 || image.cx > 0 ? 3 : 0;
    }
    int h = std::max({text.cy, image.cy, e}) + 2;
    int w = text.cx + e + f + image.cx + c;
    int wb = ClientWidth(), hb = ClientHeight();
    int left = 0;
    switch (FCaptionPosition) {
        case gb::cpTopLeft:
        case gb::cpBottomLeft: left = 8; break;
        case gb::cpTopRight:
        case gb::cpBottomRight: left = wb - w - 8; break;
        case gb::cpTopCenter:
        case gb::cpBottomCenter: left = (wb - w) / 2; break;
    }
    bool top = FCaptionPosition <= gb::cpTopCenter;
    Area = Rect(left, top ? 0 : hb - h, left + w, top ? h : hb);
    CaptionRect = Area;
    CheckRect = Rect(-1, -1, -1, -1);
    if (!FCheckBox->Visible()) return;
    int y = Area.Top + (h - e) / 2;
    if (FCheckBox->Position() == gb::cpLeft) {
        CheckRect = Rect(Area.Left, y, Area.Left + e, y + e);
        CaptionRect.Left = CheckRect.Right + f;
    } else {
        CheckRect = Rect(Area.Right - e, y, Area.Right, y + e);
        CaptionRect.Right = CheckRect.Left - f;
    }
}

int TAdvCustomGroupBox::CaptionHeight() const {
    TRect area, caption, check;
    CalcCaptionLayout(area, caption, check);
    return std::max(area.Height(), BorderWidth());
}

void TAdvCustomGroupBox::AdjustClientRect(TRect& Rect) {
    int hc = CaptionHeight(), bw = BorderWidth();
    Rect = ClientRect();
    if (FCaptionPosition <= gb::cpTopCenter) {
        Rect.Top += hc;
        Rect.Left += bw;
        Rect.Right -= bw;
        Rect.Bottom -= bw;
    } else {
        Rect.Bottom -= hc;
        Rect.Left += bw;
        Rect.Top += bw;
        Rect.Right -= bw;
    }
    InflateRect(Rect, -1, -1);
}

TRect TAdvCustomGroupBox::FrameRect() const {
    TRect r = ClientRect();
    int hc = CaptionHeight();
    if (FCaptionPosition <= gb::cpTopCenter)
        r.Top += hc / 2;
    else if (!Caption().empty() || ImageSize().cx > 0)
        r.Bottom -= hc / 2 - (FBorderStyle == gb::bsDouble ? 1 : 0);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Painting

void TAdvCustomGroupBox::DrawTransparentBackground() {
    if (!Parent()) return;
    HDC dc = Canvas()->Handle();
    int saved = SaveDC(dc);
    TPoint org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.X + Left(), org.Y + Top(), nullptr);
    Parent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Parent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

bool TAdvCustomGroupBox::CheckBoxThemed() const {
    auto isActive = AOBXPVS::ThemeApi.IsThemeActive;
    return IsWindowsVistaOrLater() && FCheckBox->Themed() && isActive && isActive() && IsComCtl6OrLater();
}

void TAdvCustomGroupBox::DrawCheckBox(TCanvas* c, const TRect& r) {
    if (!FCheckBox->Visible()) return;
    bool hot = FCheckBox->Hot(), pressed = FCheckBox->Pressed();
    if (CheckBoxThemed()) {
        const TThemeApiLoader& api = AOBXPVS::ThemeApi;
        if (HTHEME theme = api.OpenThemeData(Handle(), u"button")) {
            int state = advgroupbox::ThemedCheckState(FCheckBox->State(), Enabled(), hot, pressed);
            api.DrawThemeBackground(theme, c->Handle(), BP_CHECKBOX, state, &r, nullptr);
            api.CloseThemeData(theme);
            return;
        }
    }
    advgroupbox::RegisterCheckBitmaps();
    TBitmap picture;
    picture.LoadFromResourceName(HInstance, advgroupbox::CheckBitmapName(FCheckBox->State(), hot, pressed));
    picture.SetTransparent(true);
    c->Draw(r.Left, r.Top, &picture);
}

void TAdvCustomGroupBox::Paint() {
    TCanvas* c = Canvas();
    if (FTransparent) DrawTransparentBackground();
    TRect area, caption, check;
    CalcCaptionLayout(area, caption, check);
    c->SetFont(Font());

    DrawCheckBox(c, check);
    int textLeft = caption.Left;
    TSize image = ImageSize();
    if (image.cx > 0) {
        FImages->Draw(c, caption.Left, caption.Top, FImageIndex, Enabled());
        textLeft = caption.Left + image.cx + 3;
    }
    c->Brush()->SetStyle(bsClear);
    if (!Caption().empty()) {
        TRect text = Rect(textLeft, caption.Top, caption.Right, caption.Bottom);
        DrawText(c->Handle(), Caption(), -1, &text, DT_SINGLELINE | DT_VCENTER | DrawTextBiDiModeFlags(0));
    }
    // The caption as drawn, so the frame's lines can be taken back off it.
    const TRect saved = Rect(area.Left - 1, area.Top, area.Right + 1, area.Bottom);
    TBitmap keep(saved.Width(), saved.Height());
    keep.Canvas()->CopyRect(Rect(0, 0, saved.Width(), saved.Height()), c, saved);

    TRect r = FrameRect();
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetWidth(1);
    auto box = [&](const TRect& q) {
        if (FRoundEdges)
            c->RoundRect(q.Left, q.Top, q.Right, q.Bottom, 6, 6);
        else
            c->Rectangle(q);
    };
    auto etched = [&](const TRect& q) {
        c->Pen()->SetColor(clWhite);
        box(Rect(q.Left + 1, q.Top + 1, q.Right, q.Bottom));
        c->Pen()->SetColor(0x808080);
        box(Rect(q.Left, q.Top, q.Right - 1, q.Bottom - 1));
    };
    switch (FBorderStyle) {
        case gb::bsSingle:
            c->Pen()->SetColor(FBorderColor);
            box(r);
            break;
        case gb::bsDouble:
            if (Ctl3D()) {
                etched(r);
                InflateRect(r, -2, -2);
                etched(r);
            } else {
                c->Pen()->SetColor(FBorderColor);
                box(r);
                InflateRect(r, -2, -2);
                box(r);
            }
            break;
        case gb::bsNone: break;
    }
    if (!Caption().empty() || image.cx > 0)
        c->CopyRect(saved, keep.Canvas(), Rect(0, 0, saved.Width(), saved.Height()));
}

// ---------------------------------------------------------------------------------------------
// The check box

bool TAdvCustomGroupBox::Interactive() const {
    return !ComponentState().Contains(csDesigning) && Enabled() && FCheckBox->Visible();
}

bool TAdvCustomGroupBox::InHitArea(int X, int Y) const {
    TRect area, caption, check;
    CalcCaptionLayout(area, caption, check);
    return area.Contains(Point(X, Y));
}

void TAdvCustomGroupBox::RedrawCheckBox() {
    TRect area, caption, check;
    CalcCaptionLayout(area, caption, check);
    if (HandleAllocated() && check.Left >= 0) ::InvalidateRect(Handle(), &check, FALSE_);
}

void TAdvCustomGroupBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomGroupBox::MouseDown(Button, Shift, X, Y);
    if (!Interactive()) return;
    FCheckBox->FPressed = InHitArea(X, Y);
    if (FCheckBox->FPressed) SetMouseCapture(true);
    RedrawCheckBox();
}

void TAdvCustomGroupBox::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomGroupBox::MouseMove(Shift, X, Y);
    if (!Interactive()) return;
    bool hot = InHitArea(X, Y);
    bool pressed = MouseCapture() ? hot : FCheckBox->FPressed;
    if (hot == FCheckBox->FHot && pressed == FCheckBox->FPressed) return;
    FCheckBox->FHot = hot;
    FCheckBox->FPressed = pressed;
    RedrawCheckBox();
}

void TAdvCustomGroupBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomGroupBox::MouseUp(Button, Shift, X, Y);
    if (!Interactive() || !FCheckBox->FPressed) return;
    SetMouseCapture(false);
    FCheckBox->FPressed = false;
    RedrawCheckBox();
    if (!InHitArea(X, Y)) return;
    if (!FCheckBox->AllowGrayed()) {
        FCheckBox->SetChecked(!FCheckBox->Checked());
        return;
    }
    switch (FCheckBox->State()) {
        case cbUnchecked: FCheckBox->SetState(cbGrayed); break;
        case cbGrayed: FCheckBox->SetState(cbChecked); break;
        case cbChecked: FCheckBox->SetState(cbUnchecked); break;
    }
}

bool TAdvCustomGroupBox::CheckBoxHintAt(const TPoint& P, TRect& check) const {
    TRect area, caption;
    CalcCaptionLayout(area, caption, check);
    return check.Left >= 0 && check.Contains(P) && !FCheckBox->Hint().empty();
}

String TAdvCustomGroupBox::HintAt(int X, int Y) const {
    TRect check;
    return CheckBoxHintAt(Point(X, Y), check) ? FCheckBox->Hint() : Hint();
}

void TAdvCustomGroupBox::Dispatch(TMessage& Message) {
    TCustomGroupBox::Dispatch(Message);
    switch (Message.Msg) {
        case CM_HINTSHOW:
            // Over the check box the hint is the check box's, and it is asked for again on leaving it.
            if (auto* info = reinterpret_cast<THintInfo*>(Message.LParam)) {
                TRect check;
                if (CheckBoxHintAt(info->CursorPos, check)) {
                    info->HintStr = GetShortHint(FCheckBox->Hint());
                    info->CursorRect = check;
                }
            }
            break;
        case CM_MOUSELEAVE:
            if (Enabled() && FCheckBox->Visible() && (FCheckBox->FHot || FCheckBox->FPressed)) {
                FCheckBox->FHot = false;
                FCheckBox->FPressed = false;
                RedrawCheckBox();
            }
            break;
        case CM_ENABLEDCHANGED:
        case CM_TEXTCHANGED: Invalidate(); break;
        default: break;
    }
}

void TAdvCustomGroupBox::ApplyCheckBoxAction() {
    if (ComponentState().Contains(csDesigning) || !Enabled() || !FCheckBox->Visible()) return;
    if (FCheckBox->State() == cbGrayed || FCheckBox->Action() == gb::caNone) return;
    bool checked = FCheckBox->State() == cbChecked;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (FCheckBox->Action() == gb::caDisable) {
            child->SetEnabled(checked);
        } else if (auto* box = dynamic_cast<TCheckBox*>(child)) {
            box->SetChecked(checked);
        } else if (auto* windowed = dynamic_cast<TWinControl*>(child);
                   windowed && UpperCase(String(windowed->ClassName())) == u"REDERUVAVOZIDUDAVE") {
            SendMessage(windowed->Handle(), BM_SETCHECK, static_cast<WPARAM>(FCheckBox->State()), 0);
        }
    }
}

void TAdvCustomGroupBox::DoCheckBoxClick() {
    if (OnCheckBoxClick) OnCheckBoxClick(this);
}
