// The styled edit's looks: its colours on focus, error, disablement, modification and as a
// link; alignment, the formatting rectangle, the flat look and the border; the paint overlays
// (flat line, drop caret, empty text, error marker); transparency; the link click, AutoFocus
// and character positions.
#include <algorithm>

#include "controls/styled/AdvEdit.h"
#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/ShellApi.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// Setters

String TAdvEdit::Version() {
    const auto v = static_cast<uint32_t>(GetVersionNr());
    return IntToStr(static_cast<int>(v >> 24)) + u"." + IntToStr(static_cast<int>((v >> 16) & 0xFF)) + u"." +
           IntToStr(static_cast<int>((v >> 8) & 0xFF)) + u"." + IntToStr(static_cast<int>(v & 0xFF));
}

void TAdvEdit::SetEditAlign(TEditAlign value) {
    if (FEditAlign == value) return;
    FEditAlign = value;
    if (HandleAllocated()) RecreateWnd();
}

void TAdvEdit::ApplyAlign(TEditAlign value) {
    FApplyingFocusAlign = true;
    try {
        SetEditAlign(value);
    } catch (...) {
        FApplyingFocusAlign = false;
        throw;
    }
    FApplyingFocusAlign = false;
}

void TAdvEdit::SetColor(TColor value) {
    FNormalColor = value;
    TControl::SetColor(value);
}

void TAdvEdit::SetFocusBorderColor(TColor value) {
    FFocusBorderColor = value;
    InvalidateFrame();
}

void TAdvEdit::SetBorderColor(TColor value) {
    FBorderColor = value;
    InvalidateFrame();
}

void TAdvEdit::SetSoftBorder(bool value) {
    FSoftBorder = value;
    Invalidate();
}

void TAdvEdit::SetBorder3D(bool value) {
    FBorder3D = value;
    InvalidateFrame();
}

void TAdvEdit::SetFlatLineColor(TColor value) {
    FFlatLineColor = value;
    Invalidate();
}

void TAdvEdit::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TAdvEdit::SetDisabledColor(TColor value) {
    FDisabledColor = value;
    if (!Enabled()) ShowColor(value);
}

void TAdvEdit::SetErrorMarkerPos(int value) {
    FErrorMarkerPos = value;
    Invalidate();
}

void TAdvEdit::SetErrorMarkerLen(int value) {
    FErrorMarkerLen = value;
    Invalidate();
}

void TAdvEdit::SetEmptyText(const String& value) {
    FEmptyText = value;
    Invalidate();
}

void TAdvEdit::SetEmptyTextFocused(bool value) {
    FEmptyTextFocused = value;
    Invalidate();
}

void TAdvEdit::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    if (ComponentState().Contains(csLoading)) return;
    if (value) {
        const TColor c = Color();
        if (FFlatParentColor && Parent()) {
            ShowColor(Parent()->Color());
            FFocusColor = Parent()->Color();
        } else {
            ShowColor(FNormalColor);
        }
        FNormalColor = c;
        SetBorderStyle(bsNone);
    } else {
        ShowColor(FNormalColor);
        SetBorderStyle(FBorderBeforeFlat);
    }
    SetFormatRect();
    Invalidate();
}

void TAdvEdit::SetIsError(bool value) {
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading) || FIsError == value) return;
    FIsError = value;
    if (!FShowError) return;
    if (value) {
        ShowColor(FErrorColor);
        Font()->SetColor(FErrorFontColor);
    } else if (Focused()) {
        ShowColor(FFocusColor != clNone ? FFocusColor : RestingColor());
        if (FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
    } else {
        ShowColor(RestingColor());
        Font()->SetColor(FFontColor);
    }
}

void TAdvEdit::SetEnabled(bool value) {
    const bool changes = value != Enabled();
    const bool quiet = ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
    // A flat edit on its parent's colour keeps the colour it had before it turned flat.
    if (changes && !quiet && !value && !FIsError && !(FFlat && FFlatParentColor)) FNormalColor = Color();
    TCustomEdit::SetEnabled(value);
    if (!changes || quiet) return;
    ShowColor(value ? RestingColor() : FDisabledColor);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(value);
    InvalidateFrame();
}

void TAdvEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ComponentState().Contains(csLoading)) FLoadedHeight = AHeight;
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    SetFormatRect();
    PlaceLabel();
}

void TAdvEdit::SetURLLook(bool value) {
    FURLLook = value;
    if (value) {
        FLabelFollowsFont = false;
        Font()->SetStyle(Font()->Style() << fsUnderline);
        Font()->SetColor(FURLColor);
        SetCursor(crHandPoint);
    } else {
        Font()->SetStyle(Font()->Style() >> fsUnderline);
        Font()->SetColor(FFontColor);
        SetCursor(crDefault);
    }
    Invalidate();
}

void TAdvEdit::Init() {
    FNormalColor = Color();
    FFontColor = Font()->Color();
    FBorderBeforeFlat = BorderStyle();
    if (FFlat) {
        FFlat = false;
        SetFlat(true);
    }
    PlaceLabel();
    if (!Enabled()) ShowColor(FDisabledColor);
}

bool TAdvEdit::Themed() const { return FIsComCtl6; }

// A flat edit on its parent's colour stays on it when a focus, error or disabled look ends; the
// remembered normal colour is the one it had before it turned flat.
TColor TAdvEdit::RestingColor() const {
    return FFlat && FFlatParentColor && Parent() ? Parent()->Color() : FNormalColor;
}

// ---------------------------------------------------------------------------------------------
// Focus

void TAdvEdit::FocusInLooks() {
    if (FFocusColor != clNone && ValidateValue(Text())) {
        ShowColor(FFocusColor);
        if (FIsWinXP) InvalidateFrame();
    }
    if (!ErrorShowing() && !FShowModified) {
        FFontColor = Font()->Color();
        if (!URLShowing() && FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
    }
    if (AutoSelect()) SelectAll();
    if (FFocusLabel && FLabel) FLabel->Font()->SetStyle(FLabel->Font()->Style() << fsBold);
    if (FFocusWidthInc > 0 && !FApplyingFocusAlign) SetBounds(Left(), Top(), Width() + FFocusWidthInc, Height());
    FAlignBeforeFocus = FEditAlign;
    if (FFocusAlign != eaDefault && FFocusAlign != FEditAlign) {
        ApplyAlign(FFocusAlign);
        if (AutoSelect()) SelectAll();
    }
    if ((!FEmptyText.empty() && Text().empty()) || FFocusBorder || FFocusBorderColor != clNone) {
        if (BorderStyle() == bsNone) SetFormatRect();
        Invalidate();
        InvalidateFrame();
    }
}

void TAdvEdit::FocusOutLooks() {
    if (!FIsError) {
        ShowColor(RestingColor());
        if (FIsWinXP) InvalidateFrame();
    }
    if (!ErrorShowing() && !FShowModified && !URLShowing()) Font()->SetColor(FFontColor);
    if (FFocusLabel && FLabel) FLabel->Font()->SetStyle(FLabel->Font()->Style() >> fsBold);
}

void TAdvEdit::FocusOutAfter() {
    if (FFocusBorder) InvalidateFrame();
    if (!FApplyingFocusAlign) {
        if (FFocusWidthInc > 0) SetBounds(Left(), Top(), Width() - FFocusWidthInc, Height());
        if (FFocusAlign != eaDefault) ApplyAlign(FAlignBeforeFocus);
    }
    if (!FEmptyText.empty() && Text().empty()) Invalidate();
    if (FFocusBorderColor != clNone || FBorderColor != clNone) InvalidateFrame();
    if (FErrorMarkerLen > 0) Invalidate();
}

// ---------------------------------------------------------------------------------------------
// The formatting rectangle and the border

void TAdvEdit::SetFormatRect() {
    if (!HandleAllocated()) return;
    const int s = Ctl3D() ? 0 : Font()->Size() / 3;
    const TRect client = ClientRect();
    TRect r = FFlat ? TRect(s + 4, 3, client.Width() - s - 4, client.Height() - 4)
                    : TRect(s, 0, client.Width() - s, client.Height());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAdvEdit::CMFontChanged(TMessage& Message) {
    TCustomEdit::CMFontChanged(Message);
    SetFormatRect();
    if (FLabel && FLabelFollowsFont &&
        (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) && ParentFont())
        FLabel->Font()->Assign(Font());
}

void TAdvEdit::CMParentFontChanged(TMessage& Message) {
    TCustomEdit::CMParentFontChanged(Message);
    if (FLabel && ParentFont()) {
        FLabel->Font()->Assign(Font());
        PlaceLabel();
    }
}

void TAdvEdit::WMNCPaint(TMessage& Message) {
    TCustomEdit::WMNCPaint(Message);
    DrawBorder();
}

void TAdvEdit::DrawBorder() {
    if (ComponentState().Contains(csDesigning) || !HandleAllocated()) return;
    const bool disabled = !Enabled();
    if (!(disabled || FFlat || FBorderColor != clNone || (FMouseInside && FFocusBorder) || FBorder3D ||
          FFocusBorderColor != clNone))
        return;
    TColor color = FBorderColor;
    if (disabled && Themed() && FDisabledBorder) color = static_cast<TColor>(0xC0C0C0);
    else if (Focused() && FFocusBorderColor != clNone) color = FFocusBorderColor;
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    TRect r(0, 0, Width(), Height());
    if (color != clNone) {
        HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
        FrameRect(dc, &r, b);
        DeleteObject(b);
    } else if (!disabled && !(FFocusBorder && Themed())) {
        bool hot = ComponentState().Contains(csDesigning) ? Enabled() : (FMouseInside || Screen->ActiveControl() == this);
        hot = (hot && FFocusBorder) || FBorder3D;
        const TColor frame = hot ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
        HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(frame)));
        if (hot) {
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            FrameRect(dc, &r, b);
        } else {
            FrameRect(dc, &r, b);
            InflateRect(r, -1, -1);
            FrameRect(dc, &r, b);
        }
        DeleteObject(b);
    }
    ReleaseDC(Handle(), dc);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TAdvEdit::WMEraseBkgnd(TMessage& Message) {
    TWinControl* parent = Parent();
    if (!FTransparent || !parent) {
        TCustomEdit::WMEraseBkgnd(Message);
        return;
    }
    // The parent paints itself into this DC, its origin moved to the edit's place.
    auto dc = reinterpret_cast<HDC>(Message.WParam);
    const int saved = SaveDC(dc);
    TPoint org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.X + Left(), org.Y + Top(), nullptr);
    parent->Perform(WM_ERASEBKGND, Message.WParam, 0);
    parent->Perform(WM_PAINT, Message.WParam, 0);
    if (!dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        TWinCtrl::PaintCtrls(parent, dc, nullptr);
    RestoreDC(dc, saved);
    Message.Result = 1;
}

void TAdvEdit::Paint() {
    TCustomEdit::Paint();
    TCanvas* canvas = Canvas();
    const TRect fr = FormatRect();
    if (FFlat) {
        if (FFocusBorder && Focused()) {
            DrawBorder();
        } else if (FFlatLineColor != clNone) {
            canvas->Pen()->SetStyle(psSolid);
            canvas->Pen()->SetWidth(1);
            canvas->Pen()->SetColor(Enabled() ? FFlatLineColor : static_cast<TColor>(0x808080));
            if (FSoftBorder) {
                canvas->Brush()->SetStyle(bsClear);
                canvas->Rectangle(fr.Left - 4, fr.Top - 3, Width(), Height());
                canvas->Brush()->SetStyle(bsSolid);
            } else {
                canvas->MoveTo(fr.Left - 2, Height() - 1);
                canvas->LineTo(Width(), Height() - 1);
            }
        }
    }
    if (FDropCaret.X >= 0) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Font()->Color());
        canvas->Font()->Assign(Font());
        canvas->FillRect(TRect(FDropCaret.X, FDropCaret.Y, FDropCaret.X + 1, FDropCaret.Y + canvas->TextHeight(u"gh")));
    }
    if (Text().empty() && !FEmptyText.empty() && (FEmptyTextFocused || !Focused())) {
        canvas->Font()->Assign(Font());
        canvas->Font()->SetColor(static_cast<TColor>(0x808080));
        if (IsWindowsVistaOrLater()) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(Color());
        } else {
            canvas->Brush()->SetStyle(bsClear);
        }
        canvas->TextOut(3, 2, FEmptyText);
        canvas->Brush()->SetStyle(bsSolid);
    }
    if (!Focused() && FErrorMarkerLen > 0) DrawZigzag(canvas);
}

void TAdvEdit::DrawZigzag(TCanvas* canvas) {
    const String whole = TCustomEdit::Text();
    if (whole.empty()) return;
    canvas->Font()->Assign(Font());
    const int t = canvas->TextHeight(u"gh");
    const int last = whole.Length() - 1;
    // 4 pixels right of the last character, where a position lies past the text.
    auto at = [&](int i) -> TPoint {
        if (i <= last) return PosFromChar(static_cast<WORD>(std::max(0, i)));
        TPoint p = PosFromChar(static_cast<WORD>(last));
        p.X += canvas->TextWidth(String(whole.substr(static_cast<size_t>(last), 1))) + 4;
        return p;
    };
    const TPoint from = at(FErrorMarkerPos);
    const TPoint to = at(FErrorMarkerPos + FErrorMarkerLen - 1);
    const int y = from.Y;
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(clRed);
    canvas->Pen()->SetWidth(2);
    int x = from.X;
    bool up = true;
    canvas->MoveTo(x, y + t + 2);
    while (x < to.X) {
        x = std::min(x + 3, to.X);
        canvas->LineTo(x, up ? y + t - 1 : y + t + 2);
        up = !up;
    }
    canvas->Pen()->SetWidth(1);
}

// ---------------------------------------------------------------------------------------------
// Mouse: AutoFocus, the hot border and the link click

void TAdvEdit::CMMouseEnter(TMessage& Message) {
    TCustomEdit::CMMouseEnter(Message);
    if (FAutoFocus && !ComponentState().Contains(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if ((!form || form->Active()) && CanFocus()) SetFocus();
    }
    if (Enabled()) {
        FMouseInside = true;
        if (FFocusBorder) InvalidateFrame();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TAdvEdit::CMMouseLeave(TMessage& Message) {
    TCustomEdit::CMMouseLeave(Message);
    if (Enabled()) {
        FMouseInside = false;
        if (FFocusBorder) InvalidateFrame();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

namespace {

// What the desktop may open: a web or mail address; "www." and a bare mail address get their
// scheme. Anything else (a file, a program, another scheme) is not handed on.
String OpenableLink(const String& value) {
    const String lower = AnsiLowerCase(value);
    String url = value;
    if (lower.starts_with(u"www.")) url = u"http://" + value;
    else if (Pos(u"://", value) == 0 && Pos(u"@", value) > 0 && !lower.starts_with(u"mailto:")) url = u"mailto:" + value;
    const String l = AnsiLowerCase(url);
    for (const char16_t* scheme : {u"http://", u"https://", u"ftp://", u"mailto:"})
        if (l.starts_with(scheme)) return url;
    return String();
}

}  // namespace

bool TAdvEdit::LinkClick() {
    if (!Focused() || !FURLLook || !FShowURL) return false;
    const String value = Text();
    bool show = true;
    if (OnURLClick) OnURLClick(this, value, show);
    if (!show) return true;
    // A link that does not open leaves the edit as it is, without a message.
    const String url = OpenableLink(value);
    if (!url.empty()) ShellExecute(Handle(), u"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Positions

int TAdvEdit::GetTextSize() {
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Font());
    return measure.Canvas()->TextWidth(Text());
}

bool TAdvEdit::LargeTextHint(String& HintStr, TPoint& HintPos) {
    if (!FHintShowLargeText || GetTextSize() <= Width()) return false;
    HintStr = Text();
    HintPos = ClientOrigin();
    return true;
}

int TAdvEdit::CharFromPos(const TPoint& pt) {
    LRESULT r = Perform(EM_CHARFROMPOS, 0, PointToLParam(pt.X, pt.Y));
    return r < 0 ? -1 : LOWORD(static_cast<DWORD>(r));
}

TPoint TAdvEdit::PosFromChar(WORD uChar) {
    const String whole = TCustomEdit::Text();
    if (whole.empty()) return TPoint(0, 0);
    auto native = [this](int i) {
        LRESULT r = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(i), 0);
        if (r == -1) return TPoint(0, 0);
        return TPoint(static_cast<int16_t>(LOWORD(static_cast<DWORD>(r))), static_cast<int16_t>(HIWORD(static_cast<DWORD>(r))));
    };
    if (uChar < whole.Length()) return native(uChar);
    // Past the last character: the last one's place and the width "w" takes after it.
    const int last = whole.Length() - 1;
    TPoint p = native(last);
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Font());
    const String ch(whole.substr(static_cast<size_t>(last), 1));
    p.X += measure.Canvas()->TextWidth(ch + u"w") - measure.Canvas()->TextWidth(ch);
    return p;
}
