#include "controls/styled/AdvToolBtn.h"

#include <algorithm>

#include "controls/styled/GradientSteps.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Gdi.h"

namespace {

// The presets: Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked,
// ColorCheckedTo, BorderColor, BorderDownColor, BorderHotColor, Rounded.
struct Preset {
    TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked, ColorCheckedTo;
    TColor BorderColor, BorderDownColor, BorderHotColor;
    bool Rounded;
};

constexpr TColor N = clNone;
constexpr Preset kLooks[17] = {
    {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, N, N, 0xAF987A, 0xC3CECE, true},
    {clBtnFace, N, 0xEED2C1, N, 0xE2B598, N, 0xE8E6E1, N, N, 0xC56A31, 0xC56A31, false},
    {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, N, 0, 0, false},
    {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, N, 0, 0, false},
    {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, N, 0, 0, false},
    {clBtnFace, N, clBtnFace, N, 0xD8D3D2, N, 0xCAC7C7, N, N, N, N, false},
    {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, N, 0x808080, 0x808080, false},
    {0xEBEEEF, 0x7E9898, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7, 0x8ED3FF, 0x55ADFF, N, 0, 0, false},
    {0xEEDBC8, 0xF6DDC9, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xE0B99B, 0x45667B, 0x99CEDB, true},
    {0xDFDED6, 0xE4E2DB, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xC0BCB2, 0x45667B, 0x99CEDB, true},
    {0xF3F3F1, 0xEEEAE7, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xCCCAC9, 0x45667B, 0x99CEDB, true},
    {0xFDF8F1, 0xFCEFD5, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0xFDF0D7, 0xFBEDD3, 0xFAE9C6, 0xFDDE99, 0xFEDF9A, 0xFCF2DA, true},
    {0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xCEA27D, 0xCEA27D, 0xFBD6B8, true},
    {clBtnFace, clBtnFace, 0xC0C0C0, 0xC0C0C0, clHighlight, clHighlight, 0xFFFFFF, 0xFFFFFF, 0x808080, 0x808080,
     0x808080, false},
    {0xFDF6EF, 0xF0DAC7, 0x8AE3FD, 0xD9F9FD, 0x6CD0FF, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0xC7B29F, 0x308AC2, 0x58CAF1, true},
    {0xFFFFFF, 0xEDE5E0, 0x8AE3FD, 0xD9F9FD, 0x6CD0FF, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0xD2CDC8, 0x308AC2, 0x58CAF1, true},
    {0xBFBFBF, 0x919191, 0x8AE3FD, 0xD9F9FD, 0x6CD0FF, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x6D6D6D, 0x308AC2, 0x58CAF1, true},
};

constexpr int kArrowWidth = 12;
constexpr int kGradientSteps = 16;

const char* const kLayoutIdents[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
const char* const kStyleIdents[] = {"tasButton", "tasCheck"};

bool Pressed(TButtonState s) { return s == bsDown || s == bsExclusive; }

// A solid rectangle: framed in Pen, or in its own colour when Pen is clNone.
void FillBox(TCanvas* c, const TRect& r, TColor Brush, TColor Pen) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Brush);
    c->Pen()->SetColor(Pen == clNone ? Brush : Pen);
    c->Rectangle(r);
}

// A face in From, or a gradient from From to To, framed in Pen unless that is clNone.
void Face(TCanvas* c, const TRect& r, TColor From, TColor To, TColor Pen) {
    if (To == clNone)
        FillBox(c, r, From, Pen);
    else
        DrawButtonGradient(c, From, To, false, r, kGradientSteps, Pen);
}

}  // namespace

void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect,
                        int Steps, TColor BorderColor) {
    styled::DrawGradientBands(Canvas, FromColor, ToColor, Horizontal, Rect, Steps, styled::TBandReach::Rounded);
    if (BorderColor != clNone) {
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Rectangle(Rect);
    }
}

namespace advtoolbtn {

int CurrentXPColorScheme() {
    String name;
    if (!styled::ThemeColorName(name, false)) return 0;
    if (name == u"NormalColor") return 1;
    if (name == u"HomeStead") return 2;
    if (name == u"Metallic") return 3;
    return 0;
}

}  // namespace advtoolbtn

// ---------------------------------------------------------------------------------------------

void TAdvToolButtonActionLink::AssignClient(TObject* AClient) {
    FClient = dynamic_cast<TAdvToolButton*>(AClient);
}

bool TAdvToolButtonActionLink::IsCaptionLinked() {
    TCustomAction* a = CustomAction();
    return TControlActionLink::IsCaptionLinked() && a && FClient && FClient->Caption() == a->Caption();
}

bool TAdvToolButtonActionLink::IsCheckedLinked() {
    TCustomAction* a = CustomAction();
    return TControlActionLink::IsCheckedLinked() && a && FClient && FClient->GroupIndex() != 0 &&
           FClient->AllowAllUp() && FClient->Down() == a->Checked();
}

bool TAdvToolButtonActionLink::IsGroupIndexLinked() {
    TCustomAction* a = CustomAction();
    return TControlActionLink::IsGroupIndexLinked() && a && FClient && FClient->GroupIndex() == a->GroupIndex();
}

void TAdvToolButtonActionLink::SetCaption(const String& Value) {
    if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TAdvToolButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) FClient->SetDown(Value);
}

void TAdvToolButtonActionLink::SetGroupIndex(int Value) {
    if (IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}

// ---------------------------------------------------------------------------------------------

TAdvToolButton::TAdvToolButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>()) {
    FControlStyle = TControlStyle() << csCaptureMouse << csDoubleClicks;
    FGlyph->OnChange = [this](TPersistent*) { Invalidate(); };
    SetColor(clBtnFace);
    SetBounds(0, 0, 23, 22);
}

TAdvToolButton::~TAdvToolButton() = default;

void TAdvToolButton::Loaded() {
    TGraphicControl::Loaded();
    if (FShaded) CreateGlyphShade();
    if (FAutoThemeAdapt) ThemeAdapt();
}

String TAdvToolButton::Version() const {
    int v = GetVersionNr();
    return Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

int TAdvToolButton::GetVersionNr() const {
    return (1 << 24) | (6 << 16);
}

template <class T, class V>
static void Store(TAdvToolButton* b, T& field, V value) {
    if (field == value) return;
    field = value;
    b->Invalidate();
}

void TAdvToolButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value) return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TAdvToolButton::SetAutoThemeAdapt(bool value) {
    FAutoThemeAdapt = value;
    if (value && !ComponentState().Contains(csDesigning)) ThemeAdapt();
}

void TAdvToolButton::SetBorderColor(TColor value) { Store(this, FBorderColor, value); }
void TAdvToolButton::SetBorderDownColor(TColor value) { Store(this, FBorderDownColor, value); }
void TAdvToolButton::SetBorderHotColor(TColor value) { Store(this, FBorderHotColor, value); }
void TAdvToolButton::SetColorTo(TColor value) { Store(this, FColorTo, value); }
void TAdvToolButton::SetColorDown(TColor value) { Store(this, FColorDown, value); }
void TAdvToolButton::SetColorDownTo(TColor value) { Store(this, FColorDownTo, value); }
void TAdvToolButton::SetColorHot(TColor value) { Store(this, FColorHot, value); }
void TAdvToolButton::SetColorHotTo(TColor value) { Store(this, FColorHotTo, value); }
void TAdvToolButton::SetColorChecked(TColor value) { Store(this, FColorChecked, value); }
void TAdvToolButton::SetColorCheckedTo(TColor value) { Store(this, FColorCheckedTo, value); }
void TAdvToolButton::SetDropDownButton(bool value) { Store(this, FDropDownButton, value); }
void TAdvToolButton::SetDropDownSplit(bool value) { Store(this, FDropDownSplit, value); }
void TAdvToolButton::SetFlat(bool value) { Store(this, FFlat, value); }
void TAdvToolButton::SetImageIndex(int value) { Store(this, FImageIndex, value); }
void TAdvToolButton::SetLayout(TButtonLayout value) { Store(this, FLayout, value); }
void TAdvToolButton::SetRounded(bool value) { Store(this, FRounded, value); }
void TAdvToolButton::SetShowCaption(bool value) { Store(this, FShowCaption, value); }
void TAdvToolButton::SetSpacing(int value) { Store(this, FSpacing, value); }
void TAdvToolButton::SetStyle(TAdvToolButtonStyle value) { Store(this, FStyle, value); }

void TAdvToolButton::SetMargin(int value) {
    if (value < -1) return;
    Store(this, FMargin, value);
}

void TAdvToolButton::SetGroupIndex(int value) {
    if (FGroupIndex == value) return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TAdvToolButton::SetDropDownMenu(TPopupMenu* value) {
    if (FDropDownMenu == value) return;
    if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = value;
    if (value) value->FreeNotification(this);
}

void TAdvToolButton::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    // Watched, so a freed list is never drawn from.
    if (value) value->FreeNotification(this);
    Invalidate();
}

void TAdvToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

void TAdvToolButton::SetGlyph(TBitmap* value) {
    if (value)
        FGlyph->Assign(value);
    else
        FGlyph->SetSize(0, 0);
    // A disabled glyph made from an earlier glyph would show another picture: it is made again.
    // One the program gave stays.
    if (FGlyphDisabled->Empty() || FDisabledMade) {
        FGlyphDisabled->Assign(FGlyph.get());
        int w = FGlyphDisabled->Width(), h = FGlyphDisabled->Height();
        TCanvas* c = FGlyphDisabled->Canvas();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int32_t p = ColorToRGB(c->Pixels(x, y));
                int g = ((GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3) / 2 + 96;
                c->SetPixels(x, y, RGB(static_cast<BYTE>(g), static_cast<BYTE>(g), static_cast<BYTE>(g)));
            }
        FDisabledMade = !FGlyphDisabled->Empty();
    }
    // Likewise the shadow follows the glyph it belongs to.
    if (FShaded && !ComponentState().Contains(csLoading)) CreateGlyphShade();
    Invalidate();
}

void TAdvToolButton::SetGlyphHot(TBitmap* value) {
    if (value) FGlyphHot->Assign(value);
    else FGlyphHot->SetSize(0, 0);
}

void TAdvToolButton::SetGlyphDown(TBitmap* value) {
    if (value) FGlyphDown->Assign(value);
    else FGlyphDown->SetSize(0, 0);
}

void TAdvToolButton::SetGlyphDisabled(TBitmap* value) {
    if (value) FGlyphDisabled->Assign(value);
    else FGlyphDisabled->SetSize(0, 0);
    FDisabledMade = false;
}

void TAdvToolButton::SetShaded(bool value) {
    if (FShaded == value) return;
    FShaded = value;
    if (value && !ComponentState().Contains(csLoading)) CreateGlyphShade();
    Invalidate();
}

void TAdvToolButton::CreateGlyphShade() {
    int w = FGlyph->Width(), h = FGlyph->Height();
    FGlyphShade->SetSize(w, h);
    if (w <= 0 || h <= 0) return;
    TColor transparent = FGlyph->TransparentColor();
    TCanvas* src = FGlyph->Canvas();
    TCanvas* dst = FGlyphShade->Canvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            TColor p = src->Pixels(x, y);
            dst->SetPixels(x, y, p == transparent ? transparent : TColor(0x808080));
        }
}

void TAdvToolButton::SetLook(int value) {
    if (value < 0 || value > 16) return;
    const Preset& p = kLooks[value];
    FLook = value;
    SetColor(p.Color);
    FColorTo = p.ColorTo;
    FColorHot = p.ColorHot;
    FColorHotTo = p.ColorHotTo;
    FColorDown = p.ColorDown;
    FColorDownTo = p.ColorDownTo;
    FColorChecked = p.ColorChecked;
    FColorCheckedTo = p.ColorCheckedTo;
    FBorderColor = p.BorderColor;
    FBorderDownColor = p.BorderDownColor;
    FBorderHotColor = p.BorderHotColor;
    FRounded = p.Rounded;
    FFlat = true;
    Invalidate();
}

void TAdvToolButton::SetComponentStyle(TQRBStyle AStyle) {
    int look = -1;
    switch (AStyle) {
        case tsWindowsXP: look = 0; break;
        case tsOffice2003Classic: look = 1; break;
        case tsOffice2003Blue: look = 2; break;
        case tsOffice2003Olive: look = 3; break;
        case tsOffice2003Silver: look = 4; break;
        case tsWhidbey: look = 7; break;
        case tsOffice2007Luna: look = 8; break;
        case tsOffice2007Obsidian: look = 9; break;
        case tsOffice2007Silver: look = 10; break;
        case tsWindowsVista: look = 11; break;
        case tsWindows7: look = 12; break;
        case tsTerminal: look = 13; break;
        case tsOffice2010Blue: look = 14; break;
        case tsOffice2010Silver: look = 15; break;
        case tsOffice2010Black: look = 16; break;
        case tsCustom: return;
    }
    SetLook(look);
}

void TAdvToolButton::ThemeAdapt() {
    switch (advtoolbtn::CurrentXPColorScheme()) {
        case 1: SetLook(2); break;
        case 2: SetLook(3); break;
        case 3: SetLook(4); break;
        default: SetLook(1); break;
    }
}

// ---------------------------------------------------------------------------------------------

void TAdvToolButton::SetDown(bool value) {
    if (FGroupIndex == 0 && FStyle == tasButton) value = false;
    if (FStyle == tasCheck) {
        FDown = value;
        Invalidate();
        return;
    }
    if (value == FDown || (FDown && !FAllowAllUp)) return;
    FDown = value;
    if (value) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Invalidate();
    }
}

void TAdvToolButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(static_cast<TControl*>(this)), 0};
    Parent()->Broadcast(m);
}

void TAdvToolButton::ButtonPressed(int Group, TAdvToolButton* Button) {
    if (Group != FGroupIndex || !Button || Button == this) return;
    if (Button->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        if (auto* action = dynamic_cast<TCustomAction*>(Action())) action->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = Button->AllowAllUp();
}

bool TAdvToolButton::Hot() const {
    return FMouseInControl && Enabled() && !ComponentState().Contains(csDesigning);
}

bool TAdvToolButton::InsideClient(int X, int Y) const {
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TAdvToolButton::UpdateTracking() {
    if (!FFlat || !Enabled()) return;
    Perform(Application->MouseControl() == this ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TAdvToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    bool onArrow = FDropDownButton && X > ClientWidth() - kArrowWidth;
    if (onArrow || (FDropDownButton && !FDropDownSplit) || (!FDropDownButton && FDropDownMenu)) {
        FState = bsUp;
        FMouseInControl = false;
        Invalidate();
        if (OnDropDown) OnDropDown(this);
        if (FDropDownMenu) {
            TPoint p = ClientToScreen(Point(0, ClientHeight()));
            FDropDownMenu->Popup(p.X, p.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck) FState = bsDown;
    FDragging = true;
}

void TAdvToolButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TButtonState state = FDown ? bsExclusive : bsUp;
        if (InsideClient(X, Y)) state = FDown ? bsExclusive : bsDown;
        if (FStyle == tasCheck && FDown) state = bsDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TAdvToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    bool inside = InsideClient(X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (FStyle == tasCheck) {
            SetDown(!FDown);
            FState = bsUp;
        }
    } else if (inside) {
        SetDown(!FDown);
    } else if (FDown) {
        FState = bsExclusive;
    }
    Invalidate();
    if (inside) Click();
    UpdateTracking();
}

void TAdvToolButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_BUTTONPRESSED:
            ButtonPressed(static_cast<int>(Message.WParam),
                          dynamic_cast<TAdvToolButton*>(reinterpret_cast<TControl*>(Message.LParam)));
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && Enabled() && Visible() && Parent() &&
                Parent()->Showing()) {
                Click();
                Message.Result = 1;
                return;
            }
            break;
        case CM_ENABLEDCHANGED:
            TGraphicControl::Dispatch(Message);
            UpdateTracking();
            Invalidate();
            return;
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE:
            TGraphicControl::Dispatch(Message);
            Invalidate();
            return;
        case WM_THEMECHANGED:
        case CM_SYSFONTCHANGED:
            TGraphicControl::Dispatch(Message);
            if (FAutoThemeAdapt) ThemeAdapt();
            return;
        case CM_MOUSEENTER:
            if (FFlat && !FMouseInControl && Enabled() && DragMode() != dmAutomatic && !GetCaptureControl()) {
                FMouseInControl = true;
                Invalidate();
            }
            break;
        case CM_MOUSELEAVE:
            if (Enabled() && FMouseInControl) {
                FMouseInControl = false;
                Invalidate();
            }
            break;
        default:
            break;
    }
    TGraphicControl::Dispatch(Message);
}

TControlActionLinkClass TAdvToolButton::GetActionLinkClass() const {
    return ActionLinkClassOf<TAdvToolButtonActionLink>();
}

// ---------------------------------------------------------------------------------------------

TSize TAdvToolButton::GlyphSize() const {
    if (!FGlyph->Empty()) return TSize(FGlyph->Width(), FGlyph->Height());
    if (FImages && FImageIndex != -1) return TSize(FImages->Width(), FImages->Height());
    return TSize(0, 0);
}

void TAdvToolButton::CalcLayout(TCanvas* canvas, const TRect& Client, const TPoint& Offset, TPoint& GlyphPos,
                                TRect& TextBounds) {
    TButtonLayout layout = FLayout;
    if (UseRightToLeftReading()) {
        if (layout == blGlyphLeft) layout = blGlyphRight;
        else if (layout == blGlyphRight) layout = blGlyphLeft;
    }
    TSize client(Client.Width(), Client.Height());
    TSize glyph = GlyphSize();
    TSize text(0, 0);
    if (!Caption().empty()) {
        TRect calc = Rect(0, 0, client.cx, 0);
        DrawText(canvas->Handle(), Caption(), -1, &calc, DT_CALCRECT | DrawTextBiDiModeFlags(0));
        text = TSize(calc.Width(), calc.Height());
    }
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint g, t;
    // Across the layout axis both are centred.
    if (horizontal) {
        g.Y = (client.cy - glyph.cy + 1) / 2;
        t.Y = (client.cy - text.cy + 1) / 2;
    } else {
        g.X = (client.cx - glyph.cx + 1) / 2;
        t.X = (client.cx - text.cx + 1) / 2;
    }
    int spacing = FSpacing, margin = FMargin;
    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    int room = horizontal ? client.cx : client.cy;
    int glyphLen = horizontal ? glyph.cx : glyph.cy;
    int textLen = horizontal ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = spacing = (room - glyphLen - textLen) / 3;
        } else {
            margin = (room - glyphLen - spacing - textLen + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - margin - glyphLen - textLen) / 2;
    }
    int glyphAt = 0, textAt = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphAt = margin;
        textAt = margin + glyphLen + spacing;
    } else {
        glyphAt = room - margin - glyphLen;
        textAt = glyphAt - spacing - textLen;
    }
    if (horizontal) {
        g.X = glyphAt;
        t.X = textAt;
    } else {
        g.Y = glyphAt;
        t.Y = textAt;
    }
    GlyphPos = Point(g.X + Client.Left + Offset.X, g.Y + Client.Top + Offset.Y);
    TextBounds = Bounds(t.X + Client.Left + Offset.X, t.Y + Client.Top + Offset.Y, text.cx, text.cy);
}

TBitmap* TAdvToolButton::ChosenGlyph() const {
    bool hot = Hot();
    TBitmap* g = FGlyph.get();
    if (hot && (Pressed(FState) || FDown)) {
        if (!FGlyphDown->Empty()) g = FGlyphDown.get();
    } else if (hot) {
        if (!FGlyphHot->Empty() && !ComponentState().Contains(csDesigning)) g = FGlyphHot.get();
    } else if (FDown) {
        if (!FGlyphDown->Empty()) g = FGlyphDown.get();
    }
    if (!Enabled()) g = FGlyphDisabled->Empty() ? FGlyph.get() : FGlyphDisabled.get();
    return g;
}

void TAdvToolButton::DrawGlyphAndCaption(TCanvas* canvas, const TRect& Client, const TPoint& Offset,
                                         TButtonState State) {
    TPoint at;
    TRect text;
    CalcLayout(canvas, Client, Offset, at, text);
    bool designing = ComponentState().Contains(csDesigning);
    bool risen = Hot() && FShaded && FFlat && State != bsDown && !designing;

    TBitmap* g = ChosenGlyph();
    if (!g->Empty()) {
        if (Hot() && FShaded && State != bsDown && !FGlyphShade->Empty()) {
            if (!FGlyphShade->Transparent()) FGlyphShade->SetTransparent(true);
            canvas->Draw(at.X + 2, at.Y + 2, FGlyphShade.get());
        }
        if (!g->Transparent()) g->SetTransparent(true);
        canvas->Draw(at.X, at.Y, g);
    } else if (FImages && FImageIndex >= 0) {
        FImages->Draw(canvas, at.X, at.Y, FImageIndex, true);
    }

    if (!FShowCaption || Caption().empty()) return;
    if (risen) OffsetRect(text, 1, 1);  // only the glyph rises
    canvas->Brush()->SetStyle(bsClear);
    UINT format = DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER);
    if (!Enabled()) {
        TRect shifted = text;
        OffsetRect(shifted, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        DrawText(canvas->Handle(), Caption(), -1, &shifted, format);
        canvas->Font()->SetColor(clBtnShadow);
    }
    DrawText(canvas->Handle(), Caption(), -1, &text, format);
}

void TAdvToolButton::Paint() {
    TCanvas* c = Canvas();
    bool designing = ComponentState().Contains(csDesigning);
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;
    c->SetFont(Font());
    TRect r = ClientRect();
    bool hot = Hot();

    if (!FFlat) {
        UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (Pressed(FState) ? DFCS_PUSHED : 0);
        DrawFrameControl(c->Handle(), &r, DFC_BUTTON, state);
    } else {
        if (FBorderDownColor == clNone || FRounded) InflateRect(r, -1, -1);
        c->Pen()->SetWidth(1);
        if (!hot) {
            if (FStyle == tasCheck && FDown) {
                Face(c, r, FColorChecked, FColorCheckedTo, FBorderDownColor);
            } else {
                TColor pen = FDown ? FBorderDownColor : FBorderColor;
                if (FColorTo == clNone)
                    FillBox(c, r, Color(), clNone);
                else
                    DrawButtonGradient(c, Color(), FColorTo, false, r, kGradientSteps, FRounded ? clNone : pen);
                if (FBorderColor != clNone) {
                    c->Pen()->SetColor(FBorderColor);
                    c->Brush()->SetStyle(bsClear);
                    if (FRounded) {
                        InflateRect(r, 1, 1);
                        c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
                    } else {
                        c->Rectangle(r);
                    }
                }
            }
        } else {
            TColor from = FColorHot, to = FColorHotTo, pen = FBorderHotColor;
            if (FState == bsDown) from = FColorDown, to = FColorDownTo, pen = FBorderDownColor;
            if (FStyle == tasCheck && FDown && FState != bsDown)
                from = FColorChecked, to = FColorCheckedTo, pen = FBorderDownColor;
            Face(c, r, from, to, FRounded ? clNone : pen);
            TColor line = pen;
            if (FRounded) {
                InflateRect(r, 1, 1);
                line = FState == bsDown ? FBorderDownColor : FBorderHotColor;
                c->Pen()->SetColor(line);
                c->Brush()->SetStyle(bsClear);
                c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
            }
            if (FDropDownButton && FDropDownSplit && line != clNone) {
                c->Pen()->SetColor(line);
                c->MoveTo(r.Right - kArrowWidth, r.Top);
                c->LineTo(r.Right - kArrowWidth, r.Bottom);
            }
        }
        InflateRect(r, -1, -1);
    }

    TPoint offset(0, 0);
    if (Pressed(FState)) {
        if (FState == bsExclusive && (!FFlat || !hot)) {
            TRect checked = r;
            InflateRect(checked, 1, 1);
            Face(c, checked, FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor);
        }
        if (!FFlat && !designing) offset = Point(1, 1);
    } else if (FFlat && hot && Enabled() && FShaded && FState != bsDown && !designing) {
        offset = Point(-1, -1);
    }

    if (FDropDownButton) {
        TColor arrow = Font()->Color();
        c->Pen()->SetColor(arrow);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(arrow);
        int m = (r.Top + r.Bottom) / 2 - 1;
        const TPoint tri[] = {Point(r.Right - 8, m), Point(r.Right - 4, m), Point(r.Right - 6, m + 2)};
        c->Polygon(tri, 3);
        r.Right -= kArrowWidth;
    }

    DrawGlyphAndCaption(c, r, offset, FDown && FGroupIndex != 0 ? bsDown : FState);

    if (designing && FImageIndex < 0 && !(FShowCaption && !Caption().empty()) && FGlyph->Empty()) {
        c->Pen()->SetStyle(psDot);
        c->Pen()->SetColor(0xFF0000);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(ClientRect());
        c->Pen()->SetStyle(psSolid);
    }
}

// ---------------------------------------------------------------------------------------------

void TAdvToolButton::PublishedProperties(TFiler* Filer) {
    TGraphicControl::PublishedProperties(Filer);
    auto flag = [&](const char* name, bool (TAdvToolButton::*get)() const, void (TAdvToolButton::*set)(bool)) {
        bool v = (this->*get)();
        if (Filer->BooleanProperty(name, v) && !Filer->Writing()) (this->*set)(v);
    };
    auto number = [&](const char* name, int (TAdvToolButton::*get)() const, void (TAdvToolButton::*set)(int)) {
        int32_t v = (this->*get)();
        if (Filer->IntegerProperty(name, v) && !Filer->Writing()) (this->*set)(v);
    };
    auto colour = [&](const char* name, TColor (TAdvToolButton::*get)() const, void (TAdvToolButton::*set)(TColor)) {
        TColor v = (this->*get)();
        if (ColorProperty(Filer, name, v) && !Filer->Writing()) (this->*set)(v);
    };
    auto bitmap = [&](const char* name, TBitmap* field, void (TAdvToolButton::*set)(TBitmap*)) {
        if (Filer->Writing()) {
            if (!field->Empty()) Filer->ObjectProperty(name, field);
            return;
        }
        TBitmap read;
        Filer->ObjectProperty(name, &read);
        if (!read.Empty()) (this->*set)(&read);
    };
    String caption = Caption();
    if (Filer->StringProperty("Caption", caption) && !Filer->Writing()) SetCaption(caption);
    flag("AllowAllUp", &TAdvToolButton::AllowAllUp, &TAdvToolButton::SetAllowAllUp);
    flag("AutoThemeAdapt", &TAdvToolButton::AutoThemeAdapt, &TAdvToolButton::SetAutoThemeAdapt);
    colour("BorderColor", &TAdvToolButton::BorderColor, &TAdvToolButton::SetBorderColor);
    colour("BorderDownColor", &TAdvToolButton::BorderDownColor, &TAdvToolButton::SetBorderDownColor);
    colour("BorderHotColor", &TAdvToolButton::BorderHotColor, &TAdvToolButton::SetBorderHotColor);
    TColor color = Color();
    if (ColorProperty(Filer, "Color", color) && !Filer->Writing()) SetColor(color);
    colour("ColorTo", &TAdvToolButton::ColorTo, &TAdvToolButton::SetColorTo);
    colour("ColorDown", &TAdvToolButton::ColorDown, &TAdvToolButton::SetColorDown);
    colour("ColorDownTo", &TAdvToolButton::ColorDownTo, &TAdvToolButton::SetColorDownTo);
    colour("ColorHot", &TAdvToolButton::ColorHot, &TAdvToolButton::SetColorHot);
    colour("ColorHotTo", &TAdvToolButton::ColorHotTo, &TAdvToolButton::SetColorHotTo);
    colour("ColorChecked", &TAdvToolButton::ColorChecked, &TAdvToolButton::SetColorChecked);
    colour("ColorCheckedTo", &TAdvToolButton::ColorCheckedTo, &TAdvToolButton::SetColorCheckedTo);
    number("GroupIndex", &TAdvToolButton::GroupIndex, &TAdvToolButton::SetGroupIndex);
    flag("Down", &TAdvToolButton::Down, &TAdvToolButton::SetDown);
    flag("DropDownButton", &TAdvToolButton::DropDownButton, &TAdvToolButton::SetDropDownButton);
    TComponent* menu = FDropDownMenu;
    if (Filer->ComponentProperty("DropDownMenu", menu) && !Filer->Writing())
        SetDropDownMenu(dynamic_cast<TPopupMenu*>(menu));
    flag("DropDownSplit", &TAdvToolButton::DropDownSplit, &TAdvToolButton::SetDropDownSplit);
    flag("Flat", &TAdvToolButton::Flat, &TAdvToolButton::SetFlat);
    bitmap("Glyph", FGlyph.get(), &TAdvToolButton::SetGlyph);
    bitmap("GlyphHot", FGlyphHot.get(), &TAdvToolButton::SetGlyphHot);
    bitmap("GlyphDown", FGlyphDown.get(), &TAdvToolButton::SetGlyphDown);
    bitmap("GlyphDisabled", FGlyphDisabled.get(), &TAdvToolButton::SetGlyphDisabled);
    number("ImageIndex", &TAdvToolButton::ImageIndex, &TAdvToolButton::SetImageIndex);
    TComponent* images = FImages;
    if (Filer->ComponentProperty("Images", images) && !Filer->Writing())
        SetImages(dynamic_cast<TCustomImageList*>(images));
    TButtonLayout layout = FLayout;
    if (Filer->EnumProperty("Layout", layout, kLayoutIdents) && !Filer->Writing()) SetLayout(layout);
    number("Margin", &TAdvToolButton::Margin, &TAdvToolButton::SetMargin);
    flag("Rounded", &TAdvToolButton::Rounded, &TAdvToolButton::SetRounded);
    flag("Shaded", &TAdvToolButton::Shaded, &TAdvToolButton::SetShaded);
    flag("ShowCaption", &TAdvToolButton::ShowCaption, &TAdvToolButton::SetShowCaption);
    number("Spacing", &TAdvToolButton::Spacing, &TAdvToolButton::SetSpacing);
    TAdvToolButtonStyle style = FStyle;
    if (Filer->EnumProperty("Style", style, kStyleIdents) && !Filer->Writing()) SetStyle(style);
    String version = Version();
    Filer->StringProperty("Version", version);  // read and dropped: the version is the button's own
}
