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
