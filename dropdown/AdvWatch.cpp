// Unit AdvWatch: the settings and appearance objects, the clock's construction and properties,
// its twelve looks and the colour schemes of the component styles.
#include "dropdown/AdvWatch.h"

#include <algorithm>

#include "platform/rtl/Math.h"

// ---- Settings ---------------------------------------------------------------------------------

void TWatchSettings::Assign(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const TWatchSettings*>(Source)) {
        FSeconds = s->FSeconds;
        FTimeOffset = s->FTimeOffset;
        SetAuto(s->FAuto);
        return;
    }
    TPersistent::Assign(Source);
}

void TWatchSettings::SetAuto(bool Value) {
    if (FAuto == Value) return;
    FAuto = Value;
    Changed();
}

void TWatchSettings::SetSecond(bool Value) {
    if (FSeconds == Value) return;
    FSeconds = Value;
    Changed();
}

void TWatchSettings::SetTimeOffset(int32_t Value) {
    if (FTimeOffset == Value) return;
    FTimeOffset = Value;
    Changed();
}

void TWatchSettings::Changed() {
    if (OnChange) OnChange(this);
}

// ---- Appearance -------------------------------------------------------------------------------

TWatchAppearance::TWatchAppearance()
    : FHourFont(std::make_unique<TFont>()), FAMPMFont(std::make_unique<TFont>()), FPicture(std::make_unique<TPicture>()) {
    SetDefaults();
}

TWatchAppearance::~TWatchAppearance() = default;

void TWatchAppearance::HookPicture(bool on) {
    if (on)
        FPicture->OnChange = [this](TPersistent*) { Changed(); };
    else
        FPicture->OnChange = nullptr;
}

void TWatchAppearance::SetDefaults() {
    FV = Values();
    // The fonts and the picture are reset in place: a caller may hold them.
    TFont hour;
    hour.SetName("Tahoma");
    hour.SetSize(8);
    FHourFont->Assign(&hour);
    TFont ampm;
    ampm.SetName("Tahoma");
    ampm.SetSize(10);
    FAMPMFont->Assign(&ampm);
    CopyPicture(nullptr);
}

void TWatchAppearance::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TWatchAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    // Everything silently, the last three excepted, which go through their setters.
    Values last = FV;
    FV = s->FV;
    FV.CenterPointOuterBorderColor = last.CenterPointOuterBorderColor;
    FV.TickMarks = last.TickMarks;
    FV.HourMarkStyle = last.HourMarkStyle;
    FHourFont->Assign(s->FHourFont.get());
    FAMPMFont->Assign(s->FAMPMFont.get());
    CopyPicture(s->FPicture.get());
    SetCenterPointOuterBorderColor(s->FV.CenterPointOuterBorderColor);
    SetTickMarks(s->FV.TickMarks);
    SetHourMarkStyle(s->FV.HourMarkStyle);
}

void TWatchAppearance::SetHourFont(const TFont* Value) {
    FHourFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetAMPMFont(const TFont* Value) {
    FAMPMFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetPicture(const TPicture* Value) {
    // One notice for the call, not a second one from the picture's own.
    CopyPicture(Value);
    Changed();
}

void TWatchAppearance::CopyPicture(const TPicture* Value) {
    HookPicture(false);
    try {
        FPicture->Assign(Value);
    } catch (...) {
        HookPicture(true);
        throw;
    }
    HookPicture(true);
}

void TWatchAppearance::Changed() {
    if (OnChange) OnChange(this);
}

// ---- The clock: construction and properties ---------------------------------------------------

TAdvWatch::TAdvWatch(TComponent* AOwner)
    : TCustomControl(AOwner),
      FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()),
      FBKGCache(std::make_unique<TBitmap>()),
      FWatchTimer(std::make_unique<TTimer>(nullptr)),
      FAnimationTimer(std::make_unique<TTimer>(nullptr)) {
    FAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSettings->OnChange = [this](TObject* Sender) { SettingsChanged(Sender); };
    FWatchTimer->SetEnabled(FSettings->Auto());
    FWatchTimer->SetInterval(100);
    FWatchTimer->OnTimer = [this](TObject* Sender) { WatchTimerTick(Sender); };
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->SetInterval(1);
    FAnimationTimer->OnTimer = [this](TObject* Sender) { AnimationTimerTick(Sender); };
    SetBounds(Left(), Top(), 180, 180);
    FBKGCache->SetSize(Width(), Height());
}

TAdvWatch::~TAdvWatch() {
    // The timers go first: nothing may tick into a clock half gone.
    FAnimationTimer.reset();
    FWatchTimer.reset();
}

void TAdvWatch::SetAppearance(const TWatchAppearance* Value) {
    FAppearance->Assign(Value);
    // The copy notifies only through its last setters; the new look shows all the same.
    Invalidate();
}

void TAdvWatch::SetSettings(const TWatchSettings* Value) { FSettings->Assign(Value); }

void TAdvWatch::SetShowAMPM(bool Value) {
    if (FShowAMPM == Value) return;
    FShowAMPM = Value;
    Invalidate();
}

void TAdvWatch::SetShowNumbers(bool Value) {
    if (FShowNumbers == Value) return;
    FShowNumbers = Value;
    Invalidate();
}

void TAdvWatch::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_TIMER: DefaultHandler(Message); return;
        default: TCustomControl::Dispatch(Message);
    }
}

void TAdvWatch::WMGetDlgCode(TMessage& Message) { Message.Result = TabStop() ? DLGC_WANTARROWS | DLGC_WANTALLKEYS : 0; }

void TAdvWatch::WMSetCursor(TMessage& Message) {
    // The Cursor for the place first: the inherited handling shows it.
    if (!ComponentState().Contains(csDesigning)) {
        TPoint p = ScreenToClient(Mouse->CursorPos());
        SetCursor(GetAMPMRect().Contains(p) ? crHandPoint : crDefault);
    }
    TCustomControl::WMSetCursor(Message);
}

// ---- Looks ------------------------------------------------------------------------------------

namespace {

void SetFontLook(TFont* font, const char* name, int size, TFontStyles style) {
    if (name) font->SetName(name);
    if (size) font->SetSize(size);
    font->SetStyle(style);
}

}  // namespace

void TAdvWatch::SetStyle(TWatchStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    TWatchAppearance* a = FAppearance.get();
    a->SetDefaults();
    TFont* hf = a->HourFont();
    TFont* af = a->AMPMFont();
    const int side = std::min(Width(), Height());
    if (Value != wsBlackWhite && Value != wsSuperNova && Value != wsSports && Value != wsSmooth)
        SetFontLook(af, "MS Sans Serif", 0, {});
    switch (Value) {
        case wsClassic:
            SetFontLook(hf, "Comic Sans MS", 10, {fsBold});
            a->SetHourMarkLength(8);
            a->SetHourPointer(clBlack);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinuteMarkLength(4);
            FAnimation = true;
            FAnimationFactor = 10;
            SetShowAMPM(true);
            SetShowNumbers(true);
            break;
        case wsTower:
            a->SetAMPMFrame(apRect);
            a->SetBorderWidth(1);
            a->SetBackgroundColor(0xB1F0FE);
            a->SetBackgroundColorTo(0x54C9E7);
            a->SetBackgroundGradient(wgDiagonalForward);
            a->SetCenterPointColor(0x002BD5);
            a->SetCenterPointSize(6);
            hf->SetColor(clWindowText);
            SetFontLook(hf, "Century", 0, {fsBold});
            a->SetHourPointer(clBlack);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetSecondPointer(0x002BD5);
            a->SetShape(wsRect);
            a->SetPointerStyle(psPointer);
            a->SetBackgroundColorTo(0x5BCCE8);
            a->SetAMPMColor(a->BackgroundColor());
            SetShowNumbers(false);
            a->SetTickMarks(tmHours);
            break;
        case wsFluorescent:
            af->SetColor(clWindowText);
            af->SetSize(10);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(0xFF3E3E);
            a->SetBackgroundColor(clBlack);
            a->SetBackgroundColorTo(clBlack);
            a->SetCenterPointColor(0xFF3E3E);
            a->SetCenterPointBorderColor(clBlack);
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetCenterPointSize(20);
            hf->SetColor(clWindowText);
            SetFontLook(hf, "MS Sans Serif", 8, {});
            a->SetHourColor(0xFF3E3E);
            a->SetHourMarkLength(10);
            a->SetHourPointer(0xFF3E3E);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(0xFF3E3E);
            a->SetMinutePointer(0xFF3E3E);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinutePointerSize(2);
            a->SetShape(wsRoundRect);
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetHourMarkWidth(2);
            a->SetHourMarkStyle(hmsQuartDblLine);
            a->SetTickMarks(tmHours);
            SetShowAMPM(false);
            SetShowNumbers(false);
            break;
        case wsEmerald:
            af->SetColor(0xA00000);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(0x3AE800);
            a->SetBackgroundColor(0x3AE800);
            a->SetBackgroundColorTo(clBlack);
            a->SetBackgroundGradient(wgDiagonalForward);
            a->SetCenterPointBorderColor(0x40FF00);
            a->SetCenterPointColor(0x38E100);
            a->SetCenterPointSize(16);
            hf->SetColor(clWindowText);
            SetFontLook(hf, "MS Sans Serif", 0, {});
            a->SetHourPointer(0x40FF00);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointer(0x40FF00);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetShape(wsRect);
            a->SetPointerStyle(psPointer);
            a->SetAMPMColor(clNone);
            hf->SetColor(a->BackgroundColor());
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetHourMarkStyle(hmsQuartDblLine);
            a->SetHourColor(a->BackgroundColor());
            a->SetSecondPointer(0x00FFFF);
            a->SetTickMarks(tmHours);
            SetShowNumbers(false);
            SetShowAMPM(false);
            break;
        case wsBlueStar:
            af->SetColor(0xA00000);
            af->SetSize(10);
            a->SetAMPMBorderColor(clNone);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(0xFFD5D5);
            a->SetBackgroundColor(0xFFD5D5);
            a->SetBackgroundColorTo(0xA00000);
            a->SetBackgroundGradient(wgRadial);
            hf->SetColor(clWindowText);
            SetFontLook(hf, "MS Sans Serif", 8, {});
            a->SetHourPointer(0xA00000);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointer(0xA00000);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetShape(wsRoundRect);
            a->SetPointerStyle(psPointer);
            a->SetAMPMColor(clNone);
            hf->SetColor(a->BackgroundColor());
            SetShowAMPM(true);
            SetShowNumbers(true);
            break;
        case wsFuchsia:
            af->SetColor(clWindowText);
            af->SetSize(10);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(0xFFD0FF);
            a->SetBackgroundColor(clBlack);
            a->SetBackgroundColorTo(clBlack);
            a->SetCenterPointBorderColor(0xDD68DD);
            a->SetCenterPointSize(20);
            hf->SetColor(clWindowText);
            SetFontLook(hf, "MS Sans Serif", 8, {});
            a->SetHourColor(0xFFD0FF);
            a->SetHourMarkLength(10);
            a->SetHourPointer(0xFFD0FF);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(0xFFD0FF);
            a->SetMinutePointer(0xFFD0FF);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinutePointerSize(2);
            a->SetShape(wsRect);
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetHourMarkWidth(2);
            a->SetHourMarkStyle(hmsQuartDblLine);
            a->SetSecondPointer(0xDD68DD);
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(false);
            break;
        case wsBlack:
            a->SetBackgroundColor(0x202020);
            a->SetBackgroundColorTo(clNone);
            a->SetBorderColor(clBlack);
            a->SetCenterPointBorderColor(clWhite);
            a->SetCenterPointOuterBorderColor(clWhite);
            a->SetCenterPointColor(clWhite);
            a->SetHourColor(0x585858);
            hf->SetColor(clWhite);
            SetFontLook(hf, "Century Gothic", 11, hf->Style());
            a->SetHourPointer(clWhite);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinuteColor(0x585858);
            a->SetMinutePointer(clWhite);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinuteMarkLength(4);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
        case wsBlackWhite:
            a->SetBackgroundColor(clWhite);
            a->SetBackgroundColorTo(clNone);
            a->SetBorderColor(clBlack);
            a->SetBorderWidth(8);
            a->SetCenterPointBorderColor(clBlack);
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetCenterPointColor(clBlack);
            a->SetCenterPointSize(8);
            a->SetHourColor(0x585858);
            hf->SetColor(clBlack);
            SetFontLook(hf, "Century Gothic", 14, {fsBold});
            a->SetHourPointer(clBlack);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointer(clBlack);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinuteMarkLength(4);
            a->SetSecondPointer(0x000080);
            a->SetPointerStyle(psPointer);
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
        case wsGray:
            af->SetSize(10);
            a->SetBackgroundColor(0xD1D1D1);
            a->SetBackgroundColorTo(0x6C6C6C);
            a->SetBackgroundGradient(wgRadial);
            a->SetBorderColor(0x454545);
            a->SetCenterPointBorderColor(0x454545);
            a->SetCenterPointColor(clBlack);
            a->SetCenterPointOuterBorderColor(clNone);
            a->SetHourColor(clBlack);
            SetFontLook(hf, "Comic Sans MS", 8, {});
            a->SetHourPointer(0x4E4E4E);
            a->SetHourPointerShadow(clNone);
            a->SetHourPointerSize(1);
            a->SetMinuteColor(0x808080);
            a->SetMinutePointer(0x4E4E4E);
            a->SetMinutePointerShadow(clNone);
            a->SetMinutePointerSize(1);
            a->SetSecondPointer(clRed);
            SetShowAMPM(true);
            SetShowNumbers(true);
            break;
        case wsSuperNova:
            a->SetBackgroundColorTo(0xD1D3D3);
            a->SetBorderColor(clNone);
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetCenterPointSize(10);
            // Byte properties keep the low eight bits.
            a->SetHourMarkLength(static_cast<uint8_t>(static_cast<int>(Round(side / 4.5))));
            a->SetHourPointer(clBlack);
            a->SetHourPointerShadow(clBtnShadow);
            a->SetMinuteColor(0x808080);
            a->SetMinuteMarkLength(static_cast<uint8_t>(side / 3));
            a->SetMinutePointer(clBlack);
            SetShowAMPM(false);
            SetShowNumbers(false);
            break;
        case wsSports:
            a->SetBackgroundColor(clBlack);
            a->SetBackgroundColorTo(clNone);
            a->SetBorderColor(clBlack);
            a->SetBorderWidth(1);
            a->SetCenterPointBorderColor(0xFF0000);
            a->SetCenterPointOuterBorderColor(clBlack);
            a->SetCenterPointColor(0x191919);
            a->SetCenterPointSize(static_cast<uint8_t>(static_cast<int>(Round(side / 3.6))));
            a->SetHourColor(0xABB0B1);
            hf->SetColor(0x797979);
            SetFontLook(hf, "Times New Roman", 9, hf->Style());
            a->SetHourPointer(clRed);
            a->SetHourPointerShadow(clNone);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(0x808080);
            a->SetMinutePointer(0x00FFFF);
            a->SetMinutePointerSize(2);
            a->SetMinutePointerShadow(clNone);
            a->SetMinuteMarkLength(1);
            a->SetSecondPointer(0x188BFE);
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
        case wsSmooth:
            a->SetBackgroundColor(clWhite);
            a->SetBackgroundColorTo(0xABB0B1);
            a->SetBorderColor(0x585858);
            a->SetBorderWidth(1);
            a->SetCenterPointBorderColor(clBlack);
            a->SetCenterPointOuterBorderColor(0x4A4A4A);
            a->SetCenterPointColor(clWhite);
            a->SetCenterPointSize(6);
            a->SetHourColor(0xABB0B1);
            hf->SetColor(0x797979);
            SetFontLook(hf, "Times New Roman", 9, hf->Style());
            a->SetHourPointer(0x4A4A4A);
            a->SetHourPointerShadow(0xB2B2B2);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(0x808080);
            a->SetMinutePointer(0x4A4A4A);
            a->SetMinutePointerSize(2);
            a->SetMinutePointerShadow(0xB2B2B2);
            a->SetMinuteMarkLength(1);
            a->SetSecondPointer(0x4A4A4A);
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
    }
    // The defaults came back silently, and the fonts changed in place.
    Invalidate();
}

// ---- Component styles -------------------------------------------------------------------------

void TAdvWatch::SetComponentStyle(TQRBStyle AStyle) {
    advwatch::ApplyComponentStyle(FAppearance.get(), AStyle);
}

namespace advwatch {

namespace {

// One row of the scheme: Hands serves the tick and hand colours, Shadows both shadows.
struct StyleColors {
    TQRBStyle Style;
    TColor AMPMBorder, AMPM, Background, BackgroundTo, Border, CenterPointBorder, CenterPoint, Hands, Shadows,
        SecondPointer;
};

constexpr StyleColors kStyleColors[] = {
    {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Silver, 0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Olive, 0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
    {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF, 0x723708},
    {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xFFFFFF, 0xF2F1F0},
    {tsWindowsXP, 0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
    {tsWhidbey, 0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0xFFFFFF, 0x7E9898},
    {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0xFFFFFF, 0x74706F},
    {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF, 0xFEDF9A},
    {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFFFFFF, 0xFBD6B8},
    {tsTerminal, 0x808080, clBtnFace, clBtnFace, clBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
    {tsOffice2010Blue, 0xC7B29F, 0xF0DAC7, 0xFDF6EF, 0xFDF6EF, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xFFFFFF, 0xC7B29F},
    {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
    {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0xFFFFFF, 0x6D6D6D},
};

}  // namespace

void ApplyComponentStyle(TWatchAppearance* Appearance, TQRBStyle AStyle) {
    TWatchAppearance* a = Appearance;
    a->SetCenterPointOuterBorderColor(clBlack);
    a->HourFont()->SetColor(clBlack);
    a->AMPMFont()->SetColor(clBlack);
    const StyleColors* row = nullptr;
    for (const StyleColors& r : kStyleColors)
        if (r.Style == AStyle) row = &r;
    if (!row) return;  // tsCustom, or no style at all
    const bool obsidian = AStyle == tsOffice2007Obsidian;
    a->SetAMPMBorderColor(row->AMPMBorder);
    a->SetAMPMColor(row->AMPM);
    if (obsidian) a->AMPMFont()->SetColor(0xF2F1F0);
    a->SetBackgroundColor(row->Background);
    a->SetBackgroundColorTo(row->BackgroundTo);
    a->SetBorderColor(row->Border);
    a->SetCenterPointBorderColor(row->CenterPointBorder);
    a->SetCenterPointColor(row->CenterPoint);
    a->SetHourColor(row->Hands);
    a->SetMinuteColor(row->Hands);
    a->SetHourPointerShadow(row->Shadows);
    a->SetHourPointer(row->Hands);
    a->SetMinutePointerShadow(row->Shadows);
    a->SetMinutePointer(row->Hands);
    a->SetSecondPointer(row->SecondPointer);
    if (obsidian) a->HourFont()->SetColor(0xF2F1F0);
}

}  // namespace advwatch
