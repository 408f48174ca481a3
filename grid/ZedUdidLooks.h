#pragma once
// Part of unit ZedUdid (included by ZedUdid.h): the settings objects of the grid's view, owned
// by the grid and read by its painting, input and editing: ControlLook, Grouping,
// DragScrollOptions, BackGround, ProgressAppearance, SizeWhileTyping, Balloon and ShowModified;
// the grid's hint window class and the thin scroll bar control.
//
// Each holds its values with their defaults; setters store and, where the property says so,
// repaint the grid or fire the object's change event. Assign copies from the same class only
// (anything else is ignored) without events, unless said otherwise.
#include <functional>
#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/HintWindow.h"

class TVerAdevovEdav;

// Group header and summary rows: plain values, read when grouping runs and when painting.
class TGrouping : public TPersistent {
public:
    const char* ClassName() const override { return "TGrouping"; }
    // All but Summary and the two line pens.
    void Assign(const TPersistent* Source) override;

    bool MergeHeader = false;
    bool MergeSummary = false;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderTextColor = clNone;
    bool Summary = false;
    TColor SummaryColor = clNone;
    TColor SummaryColorTo = clNone;
    TColor SummaryTextColor = clNone;
    bool HeaderUnderline = false;
    TColor HeaderLineColor = clBlue;
    int HeaderLineWidth = 2;
    bool SummaryLine = false;
    TColor SummaryLineColor = clBlue;
    int SummaryLineWidth = 2;
    bool ShowGroupCount = false;
    String GroupCountFormat;
    bool AutoSelectGroup = false;
    bool AutoCheckGroup = false;
};

class TDragScrollDelays : public TPersistent {
public:
    const char* ClassName() const override { return "TDragScrollDelays"; }
    void Assign(const TPersistent* Source) override;
    // Milliseconds: the scroll timer's first and following intervals.
    int InitialDelay = 1000;
    int RepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent {
public:
    const char* ClassName() const override { return "TDragScrollMargins"; }
    void Assign(const TPersistent* Source) override;
    // Pixels from an edge of the grid within which a drag scrolls towards it.
    int TopMargin = 50;
    int BottomMargin = 50;
    int LeftMargin = 50;
    int RightMargin = 50;
};

// Scrolling while a platform drag object is dragged over the grid.
class TDragScrollOptions : public TPersistent {
public:
    TDragScrollOptions();
    const char* ClassName() const override { return "TDragScrollOptions"; }
    // The margins, the delays and Active.
    void Assign(const TPersistent* Source) override;
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    TDragScrollDelays* Delays() const { return FDelays.get(); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }

private:
    bool FActive = false;
    std::unique_ptr<TDragScrollDelays> FDelays;
    std::unique_ptr<TDragScrollMargins> FMargins;
};

enum TBackGroundDisplay : uint8_t { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells : uint8_t { bcNormal, bcFixed, bcAll };

// A picture or a gradient behind the cells. Every writer stores and invalidates the grid.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TVerAdevovEdav* AGrid);
    const char* ClassName() const override { return "TBackGround"; }
    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    // Owned; empty: no picture. The writer copies the given picture.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(const TBitmap* Value);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

private:
    void Changed();
    TVerAdevovEdav* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    std::unique_ptr<TBitmap> FBitmap;
    TBackGroundCells FCells = bcNormal;
    TColor FColor = clWindow;
    TColor FColorTo = clBtnFace;
};

enum TProgressStyle : uint8_t { psXP, psClassic };

// The look of multi-level progress cells. A setter that changes a value fires OnChange (the
// grid repaints); Assign copies everything and fires OnChange once.
class TGridProgressAppearance : public TPersistent {
public:
    const char* ClassName() const override { return "TGridProgressAppearance"; }
    void Assign(const TPersistent* Source) override;

    TColor CompleteColor() const { return FV.CompleteColor; }
    void SetCompleteColor(TColor Value) { Update(FV.CompleteColor, Value); }
    TColor CompleteFontColor() const { return FV.CompleteFontColor; }
    void SetCompleteFontColor(TColor Value) { Update(FV.CompleteFontColor, Value); }
    TColor UnCompleteColor() const { return FV.UnCompleteColor; }
    void SetUnCompleteColor(TColor Value) { Update(FV.UnCompleteColor, Value); }
    TColor UnCompleteFontColor() const { return FV.UnCompleteFontColor; }
    void SetUnCompleteFontColor(TColor Value) { Update(FV.UnCompleteFontColor, Value); }
    TColor Level0Color() const { return FV.Level0Color; }
    void SetLevel0Color(TColor Value) { Update(FV.Level0Color, Value); }
    TColor Level0ColorTo() const { return FV.Level0ColorTo; }
    void SetLevel0ColorTo(TColor Value) { Update(FV.Level0ColorTo, Value); }
    TColor Level1Color() const { return FV.Level1Color; }
    void SetLevel1Color(TColor Value) { Update(FV.Level1Color, Value); }
    TColor Level1ColorTo() const { return FV.Level1ColorTo; }
    void SetLevel1ColorTo(TColor Value) { Update(FV.Level1ColorTo, Value); }
    TColor Level2Color() const { return FV.Level2Color; }
    void SetLevel2Color(TColor Value) { Update(FV.Level2Color, Value); }
    TColor Level2ColorTo() const { return FV.Level2ColorTo; }
    void SetLevel2ColorTo(TColor Value) { Update(FV.Level2ColorTo, Value); }
    TColor Level3Color() const { return FV.Level3Color; }
    void SetLevel3Color(TColor Value) { Update(FV.Level3Color, Value); }
    TColor Level3ColorTo() const { return FV.Level3ColorTo; }
    void SetLevel3ColorTo(TColor Value) { Update(FV.Level3ColorTo, Value); }
    int Level1Perc() const { return FV.Level1Perc; }
    void SetLevel1Perc(int Value) { Update(FV.Level1Perc, Value); }
    int Level2Perc() const { return FV.Level2Perc; }
    void SetLevel2Perc(int Value) { Update(FV.Level2Perc, Value); }
    TColor BorderColor() const { return FV.BorderColor; }
    void SetBorderColor(TColor Value) { Update(FV.BorderColor, Value); }
    bool ShowBorder() const { return FV.ShowBorder; }
    void SetShowBorder(bool Value) { Update(FV.ShowBorder, Value); }
    bool Stacked() const { return FV.Stacked; }
    void SetStacked(bool Value) { Update(FV.Stacked, Value); }
    bool ShowPercentage() const { return FV.ShowPercentage; }
    void SetShowPercentage(bool Value) { Update(FV.ShowPercentage, Value); }
    bool CompletionSmooth() const { return FV.CompletionSmooth; }
    void SetCompletionSmooth(bool Value) { Update(FV.CompletionSmooth, Value); }
    bool ShowGradient() const { return FV.ShowGradient; }
    void SetShowGradient(bool Value) { Update(FV.ShowGradient, Value); }
    int Steps() const { return FV.Steps; }
    void SetSteps(int Value) { Update(FV.Steps, Value); }
    TProgressStyle Style() const { return FV.Style; }
    void SetStyle(TProgressStyle Value) { Update(FV.Style, Value); }

    TNotifyEvent OnChange;

private:
    template <class T>
    void Update(T& field, T value) {
        if (field == value) return;
        field = value;
        if (OnChange) OnChange(this);
    }
    struct Values {
        TColor CompleteColor = clRed;
        TColor CompleteFontColor = clBlue;
        TColor UnCompleteColor = clNone;
        TColor UnCompleteFontColor = clWindowText;
        TColor Level0Color = clLime;
        TColor Level0ColorTo = 0xE1FFE1;
        TColor Level1Color = clYellow;
        TColor Level1ColorTo = 0xCAFFFF;
        TColor Level2Color = 0x53A9FF;
        TColor Level2ColorTo = 0xA8D3FF;
        TColor Level3Color = clRed;
        TColor Level3ColorTo = 0xCACAFF;
        int Level1Perc = 70;
        int Level2Perc = 90;
        TColor BorderColor = clBlack;
        bool ShowBorder = false;
        bool Stacked = false;
        bool ShowPercentage = true;
        bool CompletionSmooth = true;
        bool ShowGradient = true;
        int Steps = 11;
        TProgressStyle Style = psXP;
    } FV;
};

// The look of the controls drawn in cells (check boxes, radio buttons, buttons, drop-down and
// spin buttons, progress bars) and of the fixed-cell gradients. Setters marked "repaints"
// invalidate the grid.
class TControlLook : public TPersistent {
public:
    // How check boxes and radio buttons are drawn. (Nested: the platform's TControlStyle is the
    // control-style set of every control.)
    enum TControlStyle : uint8_t { csClassic, csFlat, csWinXP, csTavrin, csQRB, csGlyph, csTheme };

    explicit TControlLook(TVerAdevovEdav* AGrid);
    ~TControlLook() override;
    const char* ClassName() const override { return "TControlLook"; }
    // Without setters or repaint: the sizes, the style, the glyphs, the margins, the colours,
    // the always-visible and always-active switches, DropDownCount. Not FlatButton, ProgressXP,
    // the two no-disabled-look switches or FixedDropDownButton.
    void Assign(const TPersistent* Source) override;
    // The colours back to their defaults.
    void Init();

    // Repaints.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Repaint(FColor, Value); }
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value) { Repaint(FCommentColor, Value); }
    // Owned; the writers copy the picture and repaint.
    TBitmap* CheckedGlyph() const { return FGlyphs[0].get(); }
    TBitmap* UnCheckedGlyph() const { return FGlyphs[1].get(); }
    TBitmap* RadioOnGlyph() const { return FGlyphs[2].get(); }
    TBitmap* RadioOffGlyph() const { return FGlyphs[3].get(); }
    void SetCheckedGlyph(const TBitmap* Value) { SetGlyph(0, Value); }
    void SetUnCheckedGlyph(const TBitmap* Value) { SetGlyph(1, Value); }
    void SetRadioOnGlyph(const TBitmap* Value) { SetGlyph(2, Value); }
    void SetRadioOffGlyph(const TBitmap* Value) { SetGlyph(3, Value); }
    // The fixed-cell gradient colours, by role: from, to, mirror from, mirror to; hover from,
    // to, mirror from, mirror to, border; down from, to, mirror from, mirror to, border.
    TColor FixedGradient(int Role) const { return FFixedGradient[Role]; }
    void SetFixedGradient(int Role, TColor Value) { FFixedGradient[Role] = Value; }
    bool FixedDropDownButton() const { return FFixedDropDownButton; }
    void SetFixedDropDownButton(bool Value) { FFixedDropDownButton = Value; }
    // Side of a cell check box; repaints.
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int Value) { Repaint(FCheckSize, Value); }
    bool CheckAlwaysActive() const { return FCheckAlwaysActive; }
    void SetCheckAlwaysActive(bool Value) { FCheckAlwaysActive = Value; }
    // Side of a cell radio button; repaints.
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int Value) { Repaint(FRadioSize, Value); }
    bool RadioAlwaysActive() const { return FRadioAlwaysActive; }
    void SetRadioAlwaysActive(bool Value) { FRadioAlwaysActive = Value; }
    // Repaints.
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { Repaint(FControlStyle, Value); }
    // The drop-down button in every cell of a combo or drop-down kind; repaints.
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool Value) { Repaint(FDropDownAlwaysVisible, Value); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    // The spin buttons in every cell of a spin kind; repaints.
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool Value) { Repaint(FSpinButtonsAlwaysVisible, Value); }
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool Value) { Repaint(FFlatButton, Value); }
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool Value) { Repaint(FNoDisabledCheckRadioLook, Value); }
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool Value) { Repaint(FNoDisabledButtonLook, Value); }
    TColor ProgressBorderColor() const { return FProgressBorderColor; }
    void SetProgressBorderColor(TColor Value) { FProgressBorderColor = Value; }
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int Value) { Repaint(FProgressMarginX, Value); }
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int Value) { Repaint(FProgressMarginY, Value); }
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool Value) { Repaint(FProgressXP, Value); }

private:
    template <class T>
    void Repaint(T& field, T value) {
        field = value;
        Changed();
    }
    void Changed();
    void SetGlyph(int Index, const TBitmap* Value);

    TVerAdevovEdav* FGrid;
    TColor FColor = clBlack;
    TColor FCommentColor = clRed;
    std::unique_ptr<TBitmap> FGlyphs[4];
    TColor FFixedGradient[14] = {};
    bool FFixedDropDownButton = false;
    int FCheckSize = 15;
    bool FCheckAlwaysActive = false;
    int FRadioSize = 10;
    bool FRadioAlwaysActive = false;
    TControlStyle FControlStyle = csTheme;
    bool FDropDownAlwaysVisible = false;
    int FDropDownCount = 8;
    bool FSpinButtonsAlwaysVisible = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    TColor FProgressBorderColor = clGray;
    int FProgressMarginX = 2;
    int FProgressMarginY = 2;
    bool FProgressXP = false;
};

// Rows (Height) and the column (Width) grow to fit the text while it is typed.
class TSizeWhileTyping : public TPersistent {
public:
    const char* ClassName() const override { return "TSizeWhileTyping"; }
    void Assign(const TPersistent* Source) override;
    bool Height = false;
    bool Width = false;
};

// Balloon tooltips of the cells. Setting Enable fires OnEnableChange; the rest are plain values.
class TBalloonSettings : public TPersistent {
public:
    const char* ClassName() const override { return "TBalloonSettings"; }
    // The colours, the delays and Enable (without OnEnableChange); not Transparency.
    void Assign(const TPersistent* Source) override;
    bool Enable() const { return FEnable; }
    void SetEnable(bool Value);
    TColor BackgroundColor = clNone;
    TColor TextColor = clNone;
    // Milliseconds; -1: the system's delay.
    int InitialDelay = -1;
    int ReshowDelay = -1;
    int AutoHideDelay = -1;
    uint8_t Transparency = 0;
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

// The marker of modified rows in column 0. Setting Color fires OnChange; Enabled only stores.
class TShowModified : public TPersistent {
public:
    const char* ClassName() const override { return "TShowModified"; }
    // Color and Enabled, without an event.
    void Assign(const TPersistent* Source) override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TNotifyEvent OnChange;

private:
    bool FEnabled = false;
    TColor FColor = clYellow;
};

// The grid's hint window class, over the platform hint window; the grid's hint handling shows
// its cell hints and scroll hints in it.
class THTMLHintWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
    const char* ClassName() const override { return "THTMLHintWindow"; }
};

enum TScrollDirection : uint8_t { sdVertical, sdHorizontal };

// The thin scroll bar of the grid's metro scroll type: a flat thumb in Color (clSilver),
// ScrollWidth pixels across, along Direction. Its painting and mouse handling come with the
// grid's scrolling.
class TScrollControl : public TCustomControl {
public:
    explicit TScrollControl(TComponent* AOwner);
    const char* ClassName() const override { return "TScrollControl"; }
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value) { FScrollWidth = Value; }
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection Value) { FDirection = Value; }

private:
    int FScrollWidth = 4;
    TScrollDirection FDirection = sdVertical;
};
