#pragma once
// Unit AdvWatch: the analogue clock TAdvWatch that the time-picker drop-down shows in its pop-up,
// with the two value objects that describe a clock, TWatchSettings (does it run by itself, with
// a second hand, at an offset) and TWatchAppearance (fonts, colours, sizes, ticks, face and
// AM/PM box), its twelve looks (TWatchStyle) and the colour scheme of each component style.
//
// The clock draws anti-aliased through the GDI+ wrappers. A full paint draws everything but the
// hands into a background cache and the hands over it; a time change, an animation step and
// the running clock's tick draw only the hands over a copy of the cache.
//
// Geometry is in client coordinates; integer division truncates and rounding is half to even.
// Times are TDateTime values; the clock keeps only the time of day it is given.
#include <cstdint>
#include <memory>

#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"
#include "render/AdvGDIP.h"

// The ordinals are stored by callers; the order is fixed.
enum TWatchShape : uint8_t { wsCircle, wsRect, wsRoundRect };
enum TPointerStyle : uint8_t { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame : uint8_t { apRect, apRoundRect };
enum TWatchGradient : uint8_t { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TTickMarks : uint8_t { tmAll, tmHours, tmQuartHours, tmNone };
enum THourMarkStyle : uint8_t { hmsLine, hmsQuartDblLine };
enum TWatchStyle : uint8_t {
    wsClassic,
    wsTower,
    wsFluorescent,
    wsEmerald,
    wsBlueStar,
    wsFuchsia,
    wsBlack,
    wsBlackWhite,
    wsGray,
    wsSuperNova,
    wsSports,
    wsSmooth
};

// Whether the clock runs by itself, with a second hand, and at what offset. Each setter fires
// OnChange (sender: the settings) when the value changes.
class TWatchSettings : public TPersistent {
public:
    TWatchSettings() = default;
    const char* ClassName() const override { return "TWatchSettings"; }
    // From another settings object: Second and TimeOffset silently, then Auto through its
    // setter, so OnChange fires only when Auto changes.
    void Assign(const TPersistent* Source) override;

    // The clock shows the current time plus TimeOffset, ticks every 100 ms and ignores clicks
    // and keys.
    bool Auto() const { return FAuto; }
    void SetAuto(bool Value);
    // A second hand, drawn only while Auto.
    bool Second() const { return FSeconds; }
    void SetSecond(bool Value);
    // Minutes added to the current time while Auto.
    int32_t TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int32_t Value);

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    bool FAuto = false;
    bool FSeconds = true;
    int32_t FTimeOffset = 0;
};

// How a clock looks. Colour, size and enumeration setters fire OnChange (sender: the
// appearance) when the value changes; the font and picture setters copy the object given and
// fire it every time; AMPMColor and AMPMBorderColor fire nothing (the next paint shows them).
// Changes made to the fonts themselves are not reported; changes of the picture's graphic are.
class TWatchAppearance : public TPersistent {
public:
    TWatchAppearance();
    ~TWatchAppearance() override;
    const char* ClassName() const override { return "TWatchAppearance"; }

    // Every property back to its default, the fonts and the picture included, without OnChange.
    void SetDefaults();
    // From another appearance, silently but for the last three properties (the centre point's
    // outer ring, the tick marks and the hour mark style), which go through their setters.
    void Assign(const TPersistent* Source) override;

    // Side of the square face; 0 or less: the smaller client side less 20.
    int Size() const { return FV.Size; }
    void SetSize(int Value) { Update(FV.Size, Value); }
    TColor HourPointer() const { return FV.HourPointer; }
    void SetHourPointer(TColor Value) { Update(FV.HourPointer, Value); }
    // Face colour, the gradient's start and the radial centre.
    TColor BackgroundColor() const { return FV.BackgroundColor; }
    void SetBackgroundColor(TColor Value) { Update(FV.BackgroundColor, Value); }
    // Drawn at alpha 80; clNone: no shadow.
    TColor MinutePointerShadow() const { return FV.MinutePointerShadow; }
    void SetMinutePointerShadow(TColor Value) { Update(FV.MinutePointerShadow, Value); }
    // The gradient's end or the radial surround; clNone: BackgroundColor.
    TColor BackgroundColorTo() const { return FV.BackgroundColorTo; }
    void SetBackgroundColorTo(TColor Value) { Update(FV.BackgroundColorTo, Value); }
    TColor HourPointerShadow() const { return FV.HourPointerShadow; }
    void SetHourPointerShadow(TColor Value) { Update(FV.HourPointerShadow, Value); }
    // Kept and copied; nothing draws it.
    TColor SecondPointerShadow() const { return FV.SecondPointerShadow; }
    TColor SecondPointer() const { return FV.SecondPointer; }
    void SetSecondPointer(TColor Value) { Update(FV.SecondPointer, Value); }
    TColor BorderColor() const { return FV.BorderColor; }
    void SetBorderColor(TColor Value) { Update(FV.BorderColor, Value); }
    TColor MinutePointer() const { return FV.MinutePointer; }
    void SetMinutePointer(TColor Value) { Update(FV.MinutePointer, Value); }
    TFont* HourFont() const { return FHourFont.get(); }
    void SetHourFont(const TFont* Value);
    // Also sizes the AM/PM box.
    TFont* AMPMFont() const { return FAMPMFont.get(); }
    void SetAMPMFont(const TFont* Value);
    // A non-empty graphic is drawn instead of the face fill.
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* Value);
    TAMPMFrame AMPMFrame() const { return FV.AMPMFrame; }
    void SetAMPMFrame(TAMPMFrame Value) { Update(FV.AMPMFrame, Value); }
    TWatchShape Shape() const { return FV.WatchShape; }
    void SetShape(TWatchShape Value) { Update(FV.WatchShape, Value); }
    TPointerStyle PointerStyle() const { return FV.PointerStyle; }
    void SetPointerStyle(TPointerStyle Value) { Update(FV.PointerStyle, Value); }
    uint8_t HourPointerSize() const { return FV.HourPointerSize; }
    void SetHourPointerSize(uint8_t Value) { Update(FV.HourPointerSize, Value); }
    uint8_t SecondPointerSize() const { return FV.SecondPointerSize; }
    void SetSecondPointerSize(uint8_t Value) { Update(FV.SecondPointerSize, Value); }
    uint8_t MinutePointerSize() const { return FV.MinutePointerSize; }
    void SetMinutePointerSize(uint8_t Value) { Update(FV.MinutePointerSize, Value); }
    // Tick mark colours.
    TColor HourColor() const { return FV.HourColor; }
    void SetHourColor(TColor Value) { Update(FV.HourColor, Value); }
    TColor MinuteColor() const { return FV.MinuteColor; }
    void SetMinuteColor(TColor Value) { Update(FV.MinuteColor, Value); }
    // Diameter; 0: no centre point.
    uint8_t CenterPointSize() const { return FV.CenterPointSize; }
    void SetCenterPointSize(uint8_t Value) { Update(FV.CenterPointSize, Value); }
    // clNone: no fill.
    TColor CenterPointColor() const { return FV.CenterPointColor; }
    void SetCenterPointColor(TColor Value) { Update(FV.CenterPointColor, Value); }
    // The inner ring.
    TColor CenterPointBorderColor() const { return FV.CenterPointBorderColor; }
    void SetCenterPointBorderColor(TColor Value) { Update(FV.CenterPointBorderColor, Value); }
    TWatchGradient BackgroundGradient() const { return FV.BackgroundGradient; }
    void SetBackgroundGradient(TWatchGradient Value) { Update(FV.BackgroundGradient, Value); }
    // 0: a tenth of the tick radius.
    uint8_t HourMarkLength() const { return FV.HourMarkLength; }
    void SetHourMarkLength(uint8_t Value) { Update(FV.HourMarkLength, Value); }
    uint8_t HourMarkWidth() const { return FV.HourMarkWidth; }
    void SetHourMarkWidth(uint8_t Value) { Update(FV.HourMarkWidth, Value); }
    // 0: a twentieth of the tick radius.
    uint8_t MinuteMarkLength() const { return FV.MinuteMarkLength; }
    void SetMinuteMarkLength(uint8_t Value) { Update(FV.MinuteMarkLength, Value); }
    uint8_t MinuteMarkWidth() const { return FV.MinuteMarkWidth; }
    void SetMinuteMarkWidth(uint8_t Value) { Update(FV.MinuteMarkWidth, Value); }
    // Below 1: no border.
    int BorderWidth() const { return FV.BorderWidth; }
    void SetBorderWidth(int Value) { Update(FV.BorderWidth, Value); }
    // clNone: a transparent box, and no scrolling when AM and PM change.
    TColor AMPMColor() const { return FV.AMPMColor; }
    void SetAMPMColor(TColor Value) { FV.AMPMColor = Value; }
    TColor AMPMBorderColor() const { return FV.AMPMBorderColor; }
    void SetAMPMBorderColor(TColor Value) { FV.AMPMBorderColor = Value; }
    TColor CenterPointOuterBorderColor() const { return FV.CenterPointOuterBorderColor; }
    void SetCenterPointOuterBorderColor(TColor Value) { Update(FV.CenterPointOuterBorderColor, Value); }
    TTickMarks TickMarks() const { return FV.TickMarks; }
    void SetTickMarks(TTickMarks Value) { Update(FV.TickMarks, Value); }
    // hmsQuartDblLine: the 12, 3, 6 and 9 o'clock ticks as two lines 4 pixels apart.
    THourMarkStyle HourMarkStyle() const { return FV.HourMarkStyle; }
    void SetHourMarkStyle(THourMarkStyle Value) { Update(FV.HourMarkStyle, Value); }

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    template <class T>
    void Update(T& field, T value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    // The picture's own change notices, off while the appearance changes the picture itself.
    void HookPicture(bool on);
    // Value (nullptr: none) into the picture, without the picture's own notice.
    void CopyPicture(const TPicture* Value);

    // Every value but the fonts and the picture, at its default.
    struct Values {
        int Size = 0;
        TColor HourPointer = clBlack;
        TColor BackgroundColor = clWhite;
        TColor MinutePointerShadow = clBtnShadow;
        TColor BackgroundColorTo = clNone;
        TColor HourPointerShadow = clBtnShadow;
        TColor SecondPointerShadow = clBtnShadow;
        TColor SecondPointer = clRed;
        TColor BorderColor = clBlack;
        TColor MinutePointer = clBlack;
        TAMPMFrame AMPMFrame = apRect;
        TWatchShape WatchShape = wsCircle;
        TPointerStyle PointerStyle = psLine;
        uint8_t HourPointerSize = 4;
        uint8_t SecondPointerSize = 1;
        uint8_t MinutePointerSize = 3;
        TColor HourColor = clBlack;
        TColor MinuteColor = clGray;
        uint8_t CenterPointSize = 4;
        TColor CenterPointColor = clBlack;
        TColor CenterPointBorderColor = clNone;
        TWatchGradient BackgroundGradient = wgVertical;
        uint8_t HourMarkLength = 0;
        uint8_t HourMarkWidth = 1;
        uint8_t MinuteMarkLength = 0;
        uint8_t MinuteMarkWidth = 1;
        int BorderWidth = 4;
        TColor AMPMColor = clWhite;
        TColor AMPMBorderColor = clBlack;
        TColor CenterPointOuterBorderColor = clNone;
        TTickMarks TickMarks = tmAll;
        THourMarkStyle HourMarkStyle = hmsLine;
    };
    Values FV;
    std::unique_ptr<TFont> FHourFont;
    std::unique_ptr<TFont> FAMPMFont;
    std::unique_ptr<TPicture> FPicture;
};

// The analogue clock. Its construction reaches no override of a descendant.
class TAdvWatch : public TCustomControl, public IQRBStyle {
public:
    // 180 x 180, animated (factor 10), AM/PM box and numbers shown, the default appearance
    // (Style wsClassic is stored without applying its look), time 0.
    explicit TAdvWatch(TComponent* AOwner);
    ~TAdvWatch() override;
    const char* ClassName() const override { return "TAdvWatch"; }

    // Hands walk to a new hour or minute, and the AM/PM box scrolls. Nothing is repainted.
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    // Each animation step covers about 1/AnimationFactor of the distance left; below 1 counts
    // as 1.
    int32_t AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int32_t Value) { FAnimationFactor = Value; }
    TWatchAppearance* Appearance() const { return FAppearance.get(); }
    // Copies Value; the clock shows it at once.
    void SetAppearance(const TWatchAppearance* Value);
    TWatchSettings* Settings() const { return FSettings.get(); }
    void SetSettings(const TWatchSettings* Value);
    // The time shown while Settings.Auto is false. The setter repaints the hands and fires no
    // OnChange.
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool Value);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool Value);
    // Setting another look resets the appearance to its defaults and applies the look's
    // values; setting the stored look changes nothing.
    TWatchStyle Style() const { return FStyle; }
    void SetStyle(TWatchStyle Value);
    // The AM/PM box shows "AM".
    bool AM() const { return FAM; }

    // A finished change of the time: the last step of an animation, an immediate set of the
    // hour or minute that was the last target, and every change the user makes by a click or
    // a key.
    TNotifyEvent OnChange;

    // The colour scheme of the style on Appearance.
    void SetComponentStyle(TQRBStyle AStyle) override;

    // The current time plus Settings.TimeOffset minutes while Settings.Auto, else Time.
    TDateTime GetCurrentTime() const;
    // Move the hour (minute) to Value: walking there when animated, else at once. An hour above
    // 23 raises EConvertError, a minute above 59 Exception "Invalid time"; nothing changes then.
    void SetHour(uint8_t Value);
    void SetMinute(uint8_t Value);
    // The time picker's keys: A and P the half of the day, Page Up and Down the hour, Home 12
    // o'clock, End the next full hour, Left and Right the minute. Nothing while Settings.Auto.
    void HandleNavigationKey(WORD Key);

    // The s x s face square centred in the client area.
    TRect GetFaceRect();
    TPoint GetCenter();
    double GetRadius();
    // The AM/PM box under the centre; (-1, -1, -1, -1) without ShowAMPM.
    TRect GetAMPMRect();
    // The minute (0..59) and the hour (0..23, by the AM flag) a point of the face stands for.
    int MinuteAtPoint(int X, int Y);
    int HourAtPoint(int X, int Y);

    // Everything: the face, ticks, numbers and AM/PM box into the background cache, onto the
    // control, then the hands.
    void PaintAll();
    // The hands alone over a copy of the cache; a clock not painted yet is invalidated instead.
    void RepaintHands();

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;

private:
    void SettingsChanged(TObject* Sender);
    void WatchTimerTick(TObject* Sender);
    void AnimationTimerTick(TObject* Sender);
    void WMSetCursor(TMessage& Message) override;
    void HandleMouseUp(int X, int Y);
    // Stores t and lets the AM flag follow it without scrolling.
    void StoreTime(TDateTime t);
    void SetAM(bool Value);
    // While Settings.Auto: the AM flag follows the running hour, without scrolling.
    void FollowRunningHour();
    void ScrollAMPM(bool toAM);
    void FireChange();
    // A change the user asked for: it fires OnChange when it is done, animated or not.
    void UserSetHour(uint8_t Value, bool immediate);
    void UserSetMinute(uint8_t Value);
    bool Animating() const;
    // Drawing, in client coordinates of the canvas or surface given.
    void DrawFace(TGPGraphics* g, const TRect& client);
    void DrawTickMarks(TGPGraphics* g);
    void DrawNumbers(TCanvas* canvas);
    void DrawAMPM(TCanvas* canvas);
    void DrawHands(TGPGraphics* g);
    // Above 0: the face has room to be drawn.
    int FaceSide();

    std::unique_ptr<TWatchAppearance> FAppearance;
    std::unique_ptr<TWatchSettings> FSettings;
    TDateTime FTime = 0;
    std::unique_ptr<TBitmap> FBKGCache;
    bool FCacheValid = false;
    std::unique_ptr<TTimer> FWatchTimer;
    bool FAnimation = true;
    int32_t FAnimationFactor = 10;
    std::unique_ptr<TTimer> FAnimationTimer;
    uint8_t FCurrentHourTo = 0;
    uint8_t FCurrentMinuteTo = 0;
    uint8_t FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
};

// The unit's own drawing routines, in a namespace of their own: the drop-down unit beside this
// one has drawing helpers too.
namespace advwatch {

// The component style's colours on an appearance: the clock and the time-picker drop-down
// share it. tsCustom, and any value outside the sixteen styles, blackens the outer centre ring
// and both font colours only.
void ApplyComponentStyle(TWatchAppearance* Appearance, TQRBStyle AStyle);

enum TTextAlign { taLeftText = 0, taRightText = 1, taCenterText = 2 };
enum TTextRendering { trPlatform = 0, trClearType = 1, trAntiAlias = 2 };
// Text in r, top-aligned, through GDI+ on g (or on a surface made on canvas), in the font's
// family ("Arial" when GDI+ has no such family or style), size and style, in the font's colour
// or clGray when not enabled; trPlatform with a canvas draws through the platform's DrawText
// (one line, centred vertically) instead. Draws only with draw set. Answers the text's bounds;
// an empty rectangle without a surface and a canvas, or for an empty text.
TRect DrawWatchText(TCanvas* canvas, TGPGraphics* g, TTextAlign align, const TRect& r, const String& text,
                    TFont* font, bool enabled, bool draw, TTextRendering rendering);
// The closed outline of four edges joined by quarter arcs of diameter 2 r.
std::unique_ptr<TGPGraphicsPath> CreateRoundRectPath(float X, float Y, float Width, float Height, float r);
std::unique_ptr<TGPGraphicsPath> CreateRectPath(float X, float Y, float Width, float Height);
void DrawRoundRectangle(TGPGraphics* g, const TGPPen* pen, float X, float Y, float Width, float Height, float r);
void FillRoundRectangle(TGPGraphics* g, const TGPBrush* brush, float X, float Y, float Width, float Height, float r);
// The graphic through GDI+ (on g, or a surface made on canvas). Transparent, and not a PNG: the
// colour of its top-left pixel is left out, and the picture is stretched into r or drawn at its
// own size at r's top-left. Otherwise it is drawn at its own size at r's top-left. Raises
// Exception "Could not allocate memory for image" when its bytes find no memory.
void DrawWatchPicture(TGPGraphics* g, TCanvas* canvas, const TRect& r, bool transparent, bool stretch,
                      TGraphic* graphic);
// The point lies in the ellipse inscribed in r.
bool IsPointInEllipse(const TPoint& p, const TRect& r);

}  // namespace advwatch
