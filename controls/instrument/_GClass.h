#pragma once
// What the instrument controls share: change-notifying settings objects (lamp look, bevels,
// gradients, margins, colour sectors, min/max), the graphic and windowed control bases with nested
// update counting, and the on/off model of the binary controls.
#include <cstdint>
#include <functional>
#include <memory>

#include "controls/instrument/_MvProc.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrlsDrawn.h"  // TBevelStyle

// A persistent object that reports its changes through OnChange; the owner points OnChange at
// its own change handler.
class TMvPersistent : public TPersistent {
public:
    const char* ClassName() const override { return "TMvPersistent"; }
    TNotifyEvent OnChange;
    virtual void Change();
    virtual void ChangeObject(TObject* Sender);

protected:
    // Stores a changed value and reports the change; an equal value does nothing.
    template <class T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Change();
    }
};

class TMvOffset : public TMvPersistent {
public:
    const char* ClassName() const override { return "TMvOffset"; }
    int32_t Top() const { return FTop; }
    int32_t Left() const { return FLeft; }
    int32_t Right() const { return FRight; }
    int32_t Bottom() const { return FBottom; }
    void SetTop(int32_t v) { Set(FTop, v); }
    void SetLeft(int32_t v) { Set(FLeft, v); }
    void SetRight(int32_t v) { Set(FRight, v); }
    void SetBottom(int32_t v) { Set(FBottom, v); }
    // All four at once, without a change report.
    void Write(int32_t oTop, int32_t oLeft, int32_t oRight, int32_t oBottom);
    TRect SetOffset(const TRect& r) const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    int32_t FTop = 0, FLeft = 0, FRight = 0, FBottom = 0;
};

class TLED : public TMvPersistent {
public:
    const char* ClassName() const override { return "TLED"; }
    TLEDShape Shape() const { return FShape; }
    void SetShape(TLEDShape v) { Set(FShape, v); }
    TColor ColorOn() const { return FColorOn; }
    void SetColorOn(TColor v) { Set(FColorOn, v); }
    TColor ColorOff() const { return FColorOff; }
    void SetColorOff(TColor v) { Set(FColorOff, v); }
    // Taken only above 3 and up to 80.
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t v);
    int32_t Height() const { return FHeight; }
    void SetHeight(int32_t v);

    // The lamp's place, set by the owning control before drawing.
    TRect Rect;
    void Draw(TCanvas* can, bool Checked);

private:
    TLEDShape FShape = sRound;
    TColor FColorOn = 0x00FF00;
    TColor FColorOff = clBtnFace;
    int32_t FWidth = 13, FHeight = 13;
};

// The rings of a bevel: Width one-pixel 3D frames around r, blending from the From to the To
// colours from the outside in; r ends up Width pixels inside. Filled first with Col when asked.
void PaintRingBevel(TCanvas* can, TRect& r, int Width, TColor HighlightFrom, TColor HighlightTo,
                    TColor ShadowFrom, TColor ShadowTo, bool up, bool filled, TColor Col);

class TMvBtnBevel : public TMvPersistent {
public:
    const char* ClassName() const override { return "TMvBtnBevel"; }
    TColor ShadowColFrom() const { return FShadowColFrom; }
    void SetShadowColFrom(TColor v) { Set(FShadowColFrom, v); }
    TColor ShadowColTo() const { return FShadowColTo; }
    void SetShadowColTo(TColor v) { Set(FShadowColTo, v); }
    TColor HighlightColFrom() const { return FHighlightColFrom; }
    void SetHighlightColFrom(TColor v) { Set(FHighlightColFrom, v); }
    TColor HighlightColTo() const { return FHighlightColTo; }
    void SetHighlightColTo(TColor v) { Set(FHighlightColTo, v); }
    // Taken only when 0 or more.
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t v);

    void PaintBevel(TCanvas* can, TRect& r, bool up, bool filled, TColor Col) const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    TColor FShadowColFrom = 0x000000;
    TColor FShadowColTo = clBtnShadow;
    TColor FHighlightColFrom = 0xD2D2D2;
    TColor FHighlightColTo = clBtnHighlight;
    int32_t FWidth = 2;
};

class TMvGradSettings : public TMvPersistent {
public:
    const char* ClassName() const override { return "TMvGradSettings"; }
    TColor ColorFrom() const { return FColorFrom; }
    void SetColorFrom(TColor v) { Set(FColorFrom, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Set(FColorTo, v); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { Set(FVisible, v); }
    TGradientStyle Style() const { return FStyle; }
    void SetStyle(TGradientStyle v) { Set(FStyle, v); }
    void Fill(TCanvas* can, const TRect& r) const { GradientFill(can, r, FColorFrom, FStyle, FColorTo); }

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    TColor FColorFrom = 0xE2E2E2;
    TColor FColorTo = 0x8F8F8F;
    bool FVisible = false;
    TGradientStyle FStyle = gsHorizontal1;
};

enum TBevelLine { blNone, blOuter, blInner, blBoth };

class TMvSBevel : public TMvPersistent {
public:
    TMvSBevel();
    ~TMvSBevel() override;
    const char* ClassName() const override { return "TMvSBevel"; }

    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle v) { Set(FStyle, v); }
    int32_t Spacing() const { return FSpacing; }
    void SetSpacing(int32_t v) { Set(FSpacing, v); }
    TBevelLine BevelLine() const { return FBevelLine; }
    void SetBevelLine(TBevelLine v) { Set(FBevelLine, v); }
    // Taken only when 0 or more.
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TMvOffset* Offset() const { return FOffset.get(); }
    TColor ColorShadowFrom() const { return FColorShadowFrom; }
    void SetColorShadowFrom(TColor v) { Set(FColorShadowFrom, v); }
    TColor ColorShadowTo() const { return FColorShadowTo; }
    void SetColorShadowTo(TColor v) { Set(FColorShadowTo, v); }
    TColor ColorHighLightFrom() const { return FColorHighLightFrom; }
    void SetColorHighLightFrom(TColor v) { Set(FColorHighLightFrom, v); }
    TColor ColorHighLightTo() const { return FColorHighLightTo; }
    void SetColorHighLightTo(TColor v) { Set(FColorHighLightTo, v); }
    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor v) { Set(FPenColor, v); }
    TMvGradSettings* SurfaceGrad() const { return FSurfaceGrad.get(); }
    TBitmap* RoundBmp() const { return FRoundBmp.get(); }
    bool RoundBmpCreated() const { return static_cast<bool>(FRoundBmp); }

    bool isRound = false;
    int32_t TotalWidth = 0;
    int32_t TotalHeight = 0;

    // Each leaves r as the content rectangle inside the frame.
    void PaintFilledBevel(TCanvas* can, TRect& r);
    void PaintBevel(TCanvas* can, TRect& r);
    // Left, Top: the control's position on the canvas's device, for the clip regions.
    void PaintRoundBevel(TCanvas* can, TRect& r, int Left, int Top);

    void Change() override;
    void ParamChange(TObject* Sender) { Change(); }

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    int LineWidth() const;
    void Rings(TCanvas* can, TRect& r, bool filled) const;
    void Lines(TCanvas* can, TRect& r, const TRect& outer) const;

    TBevelStyle FStyle = bsRaised;
    int32_t FSpacing = 5;
    TBevelLine FBevelLine = blNone;
    int32_t FWidth = 2;
    TColor FColor = clBtnFace;
    std::unique_ptr<TMvOffset> FOffset;
    TColor FColorShadowFrom = clBtnShadow, FColorShadowTo = clBtnShadow;
    TColor FColorHighLightFrom = clBtnHighlight, FColorHighLightTo = clBtnHighlight;
    TColor FPenColor = 0x000000;
    std::unique_ptr<TMvGradSettings> FSurfaceGrad;
    std::unique_ptr<TBitmap> FRoundBmp;
};

class TSectorSettings : public TMvPersistent {
public:
    const char* ClassName() const override { return "TSectorSettings"; }
#define MV_SECTOR(n, color, from, to)                                                          \
    TColor Sector##n##Color() const { return FSector##n##Color; }                              \
    void SetSector##n##Color(TColor v) { Set(FSector##n##Color, v); }                          \
    int32_t Sector##n##From() const { return FSector##n##From; }                               \
    void SetSector##n##From(int32_t v) { Set(FSector##n##From, v); }                           \
    int32_t Sector##n##To() const { return FSector##n##To; }                                   \
    void SetSector##n##To(int32_t v) { Set(FSector##n##To, v); }                               \
                                                                                               \
private:                                                                                       \
    TColor FSector##n##Color = color;                                                          \
    int32_t FSector##n##From = from, FSector##n##To = to;                                      \
                                                                                               \
public:
    MV_SECTOR(1, 0x00FFFF, 0, 333)
    MV_SECTOR(2, 0x008000, 334, 666)
    MV_SECTOR(3, 0x0000FF, 667, 1000)
#undef MV_SECTOR
    int32_t Offset() const { return FOffset; }
    void SetOffset(int32_t v) { Set(FOffset, v); }
    int32_t WidthOffset() const { return FWidthOffset; }
    void SetWidthOffset(int32_t v) { Set(FWidthOffset, v); }
    bool LogScale() const { return FLogScale; }
    void SetLogScale(bool v) { FLogScale = v; }

    // The colour of the first sector (1, 2, 3) holding PPT; false and Col untouched when none does.
    bool CheckSectorColor(int PPT, TColor& Col) const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    int32_t FOffset = 0, FWidthOffset = 0;
    bool FLogScale = false;
};

class TMinMax : public TMvPersistent {
public:
    TMinMax();
    const char* ClassName() const override { return "TMinMax"; }
    float Max() const { return FMax; }
    void SetMax(float v);
    TDateTime MaxDateTime() const { return FMaxDateTime; }
    float Min() const { return FMin; }
    void SetMin(float v);
    TDateTime MinDateTime() const { return FMinDateTime; }
    void SetMaxDateTime(TDateTime v) { FMaxDateTime = v; }
    void SetMinDateTime(TDateTime v) { FMinDateTime = v; }
    // Back to the initial extremes (9999999, -9999999), without new time stamps.
    void Restart() {
        FMin = 9999999.0f;
        FMax = -9999999.0f;
    }
    TColor MaxColor() const { return FMaxColor; }
    void SetMaxColor(TColor v) { Set(FMaxColor, v); }
    TColor MinColor() const { return FMinColor; }
    void SetMinColor(TColor v) { Set(FMinColor, v); }
    bool UseSectorCol() const { return FUseSectorCol; }
    void SetUseSectorCol(bool v) { Set(FUseSectorCol, v); }
    bool MinVisible() const { return FMinVisible; }
    void SetMinVisible(bool v) { Set(FMinVisible, v); }
    bool MaxVisible() const { return FMaxVisible; }
    void SetMaxVisible(bool v) { Set(FMaxVisible, v); }

private:
    float FMax = -9999999.0f;
    TDateTime FMaxDateTime;
    float FMin = 9999999.0f;
    TDateTime FMinDateTime;
    TColor FMaxColor = 0xFFFF00, FMinColor = 0xFFFF00;
    bool FUseSectorCol = true, FMinVisible = true, FMaxVisible = true;
};

// Graphic control base with nested updates: parameter changes are reported once the outermost
// update ends.
class TMvGraphicControl : public TGraphicControl {
public:
    explicit TMvGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {}
    const char* ClassName() const override { return "TMvGraphicControl"; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int32_t UpdateCount() const { return FUpdateCount; }
    virtual void DoParamChange();
    virtual void ParamChange(TObject* Sender) {}

protected:
    int32_t FUpdateCount = 0;
};

class TMvCustomControl : public TCustomControl {
public:
    explicit TMvCustomControl(TComponent* AOwner) : TCustomControl(AOwner) {}
    const char* ClassName() const override { return "TMvCustomControl"; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int32_t UpdateCount() const { return FUpdateCount; }
    virtual void ParamChange(TObject* Sender) {}
    virtual void DoParamChange();

protected:
    int32_t FUpdateCount = 0;
};

// ---------------------------------------------------------------------------------------------
// The analog value model: a value in engineering units mapped onto a digit scale and from there
// onto a per-mille position (PPT); the display and input bases built on it; the settings that
// draw bars and tick scales.

// Value and digit ranges and the factors between them.
class TSignalSettings : public TMvPersistent {
public:
    // The factors hold from the start, so a display whose settings never change still maps.
    TSignalSettings() { CalcSpans(); }
    const char* ClassName() const override { return "TSignalSettings"; }

    int32_t DigitalFrom() const { return FDigitalFrom; }
    void SetDigitalFrom(int32_t v) { Set(FDigitalFrom, v); }
    int32_t DigitalTo() const { return FDigitalTo; }
    void SetDigitalTo(int32_t v) { Set(FDigitalTo, v); }
    const String& Name1() const { return FName1; }
    void SetName1(const String& v) { Set(FName1, v); }
    const String& Name2() const { return FName2; }
    void SetName2(const String& v) { Set(FName2, v); }
    const String& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const String& v) { Set(FValueFormat, v); }
    // A bound equal to either current bound is ignored; ValueFrom stores 0 as 0.000001; with
    // LogScale a bound becomes its decade.
    float ValueFrom() const { return FValueFrom; }
    void SetValueFrom(float V);
    float ValueTo() const { return FValueTo; }
    void SetValueTo(float V);
    const String& ValueUnit() const { return FValueUnit; }
    void SetValueUnit(const String& v) { Set(FValueUnit, v); }

    bool LogScale = false;
    float TotalValue = 100;
    int32_t TotalDigit = 1000;
    float ValuePerDigit = 0;
    String ValueSizeStr = u"##0.0";
    float DigitPerValue = 0;
    float PPTPerValue = 0;

    void Change() override;
    // The spans and factors (the factors keep their values while a span is empty or negative).
    void CalcSpans();
    int32_t GetPPT(float Value) const;
    float GetValue(int32_t PPT) const;
    // The longer half of a format with a ";" section (the part after it on a tie).
    static String MvGetValueFormat(const String& FormatStr);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    int32_t FDigitalFrom = 0, FDigitalTo = 1000;
    String FName1 = u"SignalName1", FName2 = u"SignalName2";
    String FValueFormat = u"##0.0";
    float FValueFrom = 0, FValueTo = 100;
    String FValueUnit = u"%";
};

enum THintOption { hoAutoHint, hoValue, hoName1, hoName2, hoMin, hoMax, hoMinMaxDate, hoMinMaxTime };
using THintOptions = rtl::SmallSet<THintOption>;
using TLimitEvent = std::function<void(TObject* Sender, bool Lower, bool Upper)>;
using TOverflowEvent = std::function<void(TObject* Sender, int32_t PPT)>;
using TSectorChangeEvent = std::function<void(TObject* Sender, bool Sector1, bool Sector2, bool Sector3, bool Enter)>;

// The base of the analog displays: value and digit, PPT, three sectors, limits, overflow,
// minimum and maximum with time stamps, and an automatic hint. Its settings are hooked in Loaded.
class TMvAnalogGControl : public TMvGraphicControl {
public:
    explicit TMvAnalogGControl(TComponent* AOwner);
    ~TMvAnalogGControl() override;
    const char* ClassName() const override { return "TMvAnalogGControl"; }
    void Loaded() override;

    int32_t Digit() const { return FDigit; }
    void SetDigit(int32_t D);
    float Value() const { return FValue; }
    void SetValue(float V);
    THintOptions HintOptions() const { return FHintOptions; }
    void SetHintOptions(THintOptions V);
    TSectorSettings* SectorSettings() const { return FSectorSettings.get(); }
    TSignalSettings* SignalSettings() const { return FSignalSettings.get(); }
    TMinMax* MinMax() const { return FMinMax.get(); }
    float LimitUpper() const { return FLimitUpper; }
    void SetLimitUpper(float V);
    float LimitLower() const { return FLimitLower; }
    void SetLimitLower(float V);
    bool LogScale() const { return FLogScale; }
    void SetLogScale(bool V);

    void ResetMinMax();
    void SetMin(float V, TDateTime DT);
    void SetMax(float V, TDateTime DT);

    TNotifyEvent OnMinMaxChange;
    TNotifyEvent OnPosChanged;
    TLimitEvent OnLimit;
    TOverflowEvent OnOverflow;
    TNotifyEvent OnSettingsChange;
    TSectorChangeEvent OnSectorChange;
    TNotifyEvent OnValueChange;

    double LogFactor1 = 0, LogFactor2 = 0;
    TPoint pPosLeftTop;
    String ValueStr, DigitStr;
    bool UOverflow = false, LOverflow = false;
    bool ULimit = true, LLimit = true;
    int32_t ULimitPPT = 900, LLimitPPT = 100;
    int32_t PPT = 500;
    TColor cAlarm0 = 0x00FFFF, cAlarm1 = 0x0000FF;
    int32_t MaxPPT = 500, MinPPT = 500;
    bool InSector1 = false, InSector2 = false, InSector3 = false;
    TColor ActSectorCol = clNone;

    void ParamChange(TObject* Sender) override;
    virtual void ValueChanged();
    virtual void OverflowChanged(int32_t) {}
    virtual void LimitChanged() {}
    virtual void MinMaxChanged(TObject* Sender);
    virtual void ScaleChanged() { DoParamChange(); }

protected:
    void FontChanged() override;
    bool Designing() const { return ComponentState().Contains(csDesigning); }

private:
    // The digit of the current value, linear or logarithmic.
    int32_t DigitOfValue() const;
    // The digit changed: repaint at design time, report at run time.
    void DigitSet();
    void BuildHint();

    int32_t FDigit = 500;
    THintOptions FHintOptions{hoAutoHint, hoValue, hoName1, hoName2, hoMin, hoMax, hoMinMaxDate, hoMinMaxTime};
    std::unique_ptr<TSectorSettings> FSectorSettings;
    std::unique_ptr<TSignalSettings> FSignalSettings;
    std::unique_ptr<TMinMax> FMinMax;
    float FValue = 50;
    float FLimitUpper = 90, FLimitLower = 10;
    bool FLogScale = false;
    bool FFontHooked = false;
};

enum TEnabledKey { _VK_PRIOR, _VK_NEXT, _VK_END, _VK_HOME, _VK_LEFT, _VK_DOWN, _VK_UP, _VK_RIGHT };
using TEnabledKeys = rtl::SmallSet<TEnabledKey>;

// The base of the analog inputs: the value in digit steps by keys, wheel and mouse, a slide area
// set by the descendant, and a display that can mirror the value. The constructor leaves one
// update open, which Loaded ends.
class TMvAnalogCControl : public TMvCustomControl {
public:
    explicit TMvAnalogCControl(TComponent* AOwner);
    ~TMvAnalogCControl() override;
    const char* ClassName() const override { return "TMvAnalogCControl"; }
    void Loaded() override;
    void SetEnabled(bool value) override;

    int32_t ChangeLarge() const { return FChangeLarge; }
    void SetChangeLarge(int32_t v) { FChangeLarge = v; }
    int32_t ChangeSmall() const { return FChangeSmall; }
    void SetChangeSmall(int32_t v) { FChangeSmall = v; }
    int32_t Digit() const { return FDigit; }
    void SetDigit(int32_t D);
    float Value() const { return FValue; }
    void SetValue(float V);
    TSignalSettings* SignalSettings() const { return FSignalSettings.get(); }
    TCursor CursorSlide() const { return FCursorSlide; }
    void SetCursorSlide(TCursor v) { FCursorSlide = v; }
    bool EnableKeyboard() const { return FEnableKeyboard; }
    void SetEnableKeyboard(bool v) { FEnableKeyboard = v; }
    bool EnableMouseJump() const { return FEnableMouseJump; }
    void SetEnableMouseJump(bool v) { FEnableMouseJump = v; }
    TEnabledKeys EnabledKeys() const { return FEnabledKeys; }
    void SetEnabledKeys(TEnabledKeys v) { FEnabledKeys = v; }
    TColor ColorFocus() const { return FColorFocus; }
    void SetColorFocus(TColor v);
    TColor ColorNonFocus() const { return FColorNonFocus; }
    void SetColorNonFocus(TColor v);
    TMvAnalogGControl* ValueIndicator() const { return FValueIndicator; }
    void SetValueIndicator(TMvAnalogGControl* v);

    // Steps the digit up by up when it is above 0, otherwise down by down, within the scale.
    void DoChange(int32_t up, int32_t down);

    TNotifyEvent OnValueChange;
    TNotifyEvent OnValueChanged;

    String ValueStr, DigitStr;
    bool MDown = false;
    TPoint pMouseOld;
    TRect SlideRect;
    bool inSlideArea = false, isCircle = false;
    TCursor OldCursor = crDefault;
    int32_t MaxPosDeviation = 10;

    void ParamChange(TObject* Sender) override;
    virtual void MouseSlide(TShiftState Shift, int X, int Y, TPoint Previous);
    virtual void UpdateDisplay();

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    // The digit of the current value.
    int32_t DigitOfValue() const;
    // Focused, and not in the middle of losing the focus (the form still names the control as
    // its active one while WM_KILLFOCUS runs).
    bool HasFocus() const { return !FLosingFocus && Focused(); }

    bool VChange = false;
    bool Painting = false;

private:
    bool InSlideArea(int X, int Y) const;
    void EndOfInteraction();

    bool FLosingFocus = false;

    int32_t FChangeLarge = 10, FChangeSmall = 1;
    int32_t FDigit = 0;
    float FValue = 0;
    std::unique_ptr<TSignalSettings> FSignalSettings;
    TCursor FCursorSlide = 5;
    bool FEnableKeyboard = true;
    bool FEnableMouseJump = false;
    TEnabledKeys FEnabledKeys{_VK_PRIOR, _VK_NEXT, _VK_END, _VK_HOME, _VK_LEFT, _VK_DOWN, _VK_UP, _VK_RIGHT};
    TColor FColorFocus = 0x00FF00, FColorNonFocus = 0x008000;
    TMvAnalogGControl* FValueIndicator = nullptr;
};

enum TBarStyle { bsBar, bsLED_Bar, bsPoint, bsMultiColor };

// The look of a bar and its painting for a PPT: four styles, colour sectors, a dimmed
// background and a value text inverted against what lies under it.
class TBarSettings : public TMvPersistent {
public:
    // Nested: the slider has options of the same names.
    enum TBarOption { opValue, opUnit, opUseSectorCol, opBidir };
    using TBarOptions = rtl::SmallSet<TBarOption>;

    TBarSettings();
    ~TBarSettings() override;
    const char* ClassName() const override { return "TBarSettings"; }

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor v) { Set(FBkColor, v); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* F);
    TBarOptions Options() const { return FOptions; }
    void SetOptions(TBarOptions v) { Set(FOptions, v); }
    TBarStyle Style() const { return FStyle; }
    void SetStyle(TBarStyle v) { Set(FStyle, v); }
    TMvSBevel* Bevel() const { return FBevel.get(); }
    void SetBevel(TMvSBevel* B);
    // Taken only above 0; every accepted value reports a change.
    int32_t minWidth() const { return FminWidth; }
    void SetMinWidth(int32_t v);
    int32_t minHeight() const { return FminHeight; }
    void SetMinHeight(int32_t v);
    bool BkAuto() const { return FBkAuto; }
    void SetBkAuto(bool v) { Set(FBkAuto, v); }
    float BkBrightness() const { return FBkBrightness; }
    void SetBkBrightness(float v) { Set(FBkBrightness, v); }
    TSectorSettings* SectorSettings() const { return FSectorSettings.get(); }

    int32_t w = 0, h = 0;
    TRect ClientRect, BarRect;
    String ValueUnit, Value;
    TColor SectorCol = clNone;
    int32_t ppt0 = 0;

    // The bar for PPT in BarRect: horizontal when BarRect is wider than high.
    void PaintBar(TCanvas* can, int32_t PPT);
    // The dimmed background of the given sectors over BarRect.
    void Paint(TCanvas* can, int32_t PPT, TSectorSettings* sectors);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    // The sectors' background over R, dimmed to BkBrightness or in full colour.
    void PaintSectors(TCanvas* can, const TRect& R, const TSectorSettings& sectors, bool dimmed) const;
    void PaintValueText(TBitmap& bar, bool horizontal);

    // The bar, the full-colour sectors and the value text are composed on bitmaps kept between
    // paints: a bar repaints at every value, and fresh bitmaps each time cost more than the drawing.
    TBitmap FBarBmp, FSectorBmp, FTextBmp;
    TColor FColor = 0x00FF00;
    TColor FBkColor = 0x000000;
    std::unique_ptr<TFont> FFont;
    TBarOptions FOptions;
    TBarStyle FStyle = bsBar;
    std::unique_ptr<TMvSBevel> FBevel;
    int32_t FminWidth = 5, FminHeight = 5;
    bool FBkAuto = false;
    float FBkBrightness = 0;
    std::unique_ptr<TSectorSettings> FSectorSettings;
};

// A tick scale: its labels and sizes for a value range, drawn vertical, horizontal or circular.
class TScaleSettings : public TMvPersistent {
public:
    TScaleSettings();
    ~TScaleSettings() override;
    const char* ClassName() const override { return "TScaleSettings"; }

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor PointerColor() const { return FPointerColor; }
    void SetPointerColor(TColor v) { Set(FPointerColor, v); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* F);
    // 1 .. 20 and 1 .. 10; every accepted value reports a change, others are refused.
    int32_t Steps() const { return FSteps; }
    void SetSteps(int32_t v);
    int32_t SubSteps() const { return FSubSteps; }
    void SetSubSteps(int32_t v);
    bool DrawLine() const { return FDrawLine; }
    void SetDrawLine(bool v);
    const String& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const String& v) { Set(FValueFormat, v); }
    const String& ValueFormatLog() const { return FValueFormatLog; }
    void SetValueFormatLog(const String& v) { Set(FValueFormatLog, v); }
    bool PosLeftTop() const { return FPosLeftTop; }
    void SetPosLeftTop(bool v) { Set(FPosLeftTop, v); }

    bool LogScale = false;
    int32_t LogSteps = 1;
    int32_t sl1 = 14, sl2 = 7;
    TPoint cp;
    int32_t PenW1 = 2, PenW2 = 1;
    int32_t Spacing = 4;
    String Text;
    int32_t TextW = 0, TextH = 0;
    int32_t TotalWidth = 0, minHeight = 0;
    int32_t BarSpace = 0;
    int32_t pos0 = 0, pos100 = 0;
    TPoint LinePos[4];
    int32_t exp1 = 0, exp2 = 0;

    // Labels and sizes: vertical (labels from the top value down), horizontal and circular
    // (labels from the bottom value up).
    void CalcSize(TCanvas* can, float ValueFrom, float ValueTo);
    void CalcHSize(TCanvas* can, float ValueFrom, float ValueTo);
    void CalcRSize(TCanvas* can, float ValueFrom, float ValueTo);
    void VertiScala(TCanvas* can, const TRect& r);
    void HorizScala(TCanvas* can, const TRect& r);
    // Circular scales from AlphaFrom over Alpha degrees, clockwise from straight up; r becomes the
    // square inside the scale.
    void RoundScala(TCanvas* can, TRect& r, int AlphaFrom, int Alpha);
    void DialScala(TCanvas* can, TRect& r, int AlphaFrom, int Alpha);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    // N: the major divisions of the current mapping.
    int Divisions() const { return LogScale ? LogSteps : FSteps; }
    void Labels(TCanvas* can, float ValueFrom, float ValueTo, bool descending);
    void TickSizes();
    void Circle(TCanvas* can, TRect& r, int AlphaFrom, int Alpha, bool dial);

    TColor FColor = 0x000000;
    TColor FPointerColor = 0x00FF00;
    std::unique_ptr<TFont> FFont;
    int32_t FSteps = 5, FSubSteps = 2;
    bool FDrawLine = true;
    String FValueFormat = u"##0";
    String FValueFormatLog = u"0e-0";
    bool FPosLeftTop = false;
};

// Settings in ini files.
class TIniFile;

// Read true: the handler reads its keys from Ini; false: it writes them.
using THandleIniEvent = std::function<void(TIniFile* Ini, bool Read)>;

// Names an ini file and a section and hands the opened file to its owner's handler, which decides
// what is read or written. The file writes each value through at once.
class TIniSettings : public TPersistent {
public:
    const char* ClassName() const override { return "TIniSettings"; }

    const String& FileName() const { return FFileName; }
    void SetFileName(const String& V) { FFileName = V; }
    const String& Section() const { return FSection; }
    void SetSection(const String& V) { FSection = V; }
    // The file lies in the executable's folder: only the name part of FileName counts.
    bool UseAppDir() const { return FUseAppDir; }
    void SetUseAppDir(bool V) { FUseAppDir = V; }
    // The owner loads at its Loaded step and saves at its destruction.
    bool AutoLoadSave() const { return FAutoLoadSave; }
    void SetAutoLoadSave(bool V) { FAutoLoadSave = V; }
    THandleIniEvent OnHandleIniEvent;

    // Message of the last failed Handle, and whether it failed.
    String ErrString;
    bool Error = false;

    // Opens the file, calls OnHandleIniEvent and frees the file. An empty file name or section is
    // reported through Error and ErrString only; errors of the ini file reach the caller.
    void Handle(bool Read);
    // Handle(Read) when AutoLoadSave is set, otherwise nothing.
    void AutoHandle(bool Read);
    // The file being handled; none outside Handle.
    TIniFile* IniFile() const { return FIniFile; }

private:
    String Path() const;

    String FFileName;
    String FSection;
    bool FUseAppDir = true;
    bool FAutoLoadSave = false;
    TIniFile* FIniFile = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The on/off model of the binary controls.
enum TFlashFreq { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };
enum TMode { mButton, mSwitch, mIndicator, mRadioButton };

// Set while a status word is being copied to a group.
extern bool GroupUpdating;

class TMvBinGControl : public TGraphicControl {
public:
    explicit TMvBinGControl(TComponent* AOwner);
    ~TMvBinGControl() override;
    const char* ClassName() const override { return "TMvBinGControl"; }

    bool Checked() const { return FChecked; }
    void SetChecked(bool V);
    TFlashFreq Frequency() const { return FFrequency; }
    void SetFrequency(TFlashFreq V);
    bool Flashing() const { return FFlashing; }
    void SetFlashing(bool V);
    int32_t StatusInt() const { return FStatusInt; }
    void SetStatusInt(int32_t V);
    int32_t StatusBit() const { return FStatusBit; }
    void SetStatusBit(int32_t V);
    int32_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t V);
    TMode Mode() const { return FMode; }
    void SetMode(TMode V);

    TNotifyEvent OnStatusChanged;
    TNotifyEvent OnStatusIntChanged;

    // The left button went down on the control and has not been released.
    bool MouseIsDown = false;
    // The lowest set bit of the status word, 32 when it is 0.
    int32_t FirstCheckedBit = 32;

    virtual void ParamChange(TObject* Sender) {}
    virtual void StatusChanged() {}
    virtual void GroupIndexChanged() {}
    virtual void StatusIntChanged() {}
    virtual void Flash(bool status) {}

protected:
    void Dispatch(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void RegisterFlash();

private:
    bool FChecked = false;
    TFlashFreq FFrequency = ff1Hz;
    bool FFlashing = false;
    int32_t FStatusInt = 0;
    int32_t FStatusBit = 0;
    int32_t FGroupIndex = 0;
    TMode FMode = mIndicator;
};
