#pragma once
// The styled combo box: the platform's combo box with a frame and a drop-down button of its own
// (themed, classic or in custom colours), a flat look with an underline, focus colours, a
// hover-tracked button, a settable list width and a caption label that follows it.
#include <memory>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"

namespace AdvCombo {
// Where the caption label goes; the first thirteen positions of the attached-label rule
// (LabelPlacement.h), in its order. Here rather than global: the standard controls have a
// TLabelPosition of their own.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};
}  // namespace AdvCombo

class TAdvCustomCombo : public TCustomComboBox {
public:
    explicit TAdvCustomCombo(TComponent* AOwner);
    ~TAdvCustomCombo() override;
    const char* ClassName() const override { return "TAdvCustomCombo"; }
    void Loaded() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;
    void SetEnabled(bool value) override;
    // Also records the colour given while loading.
    void SetColor(TColor value);

    // Selects the first item equal to AString; nothing when there is none.
    void SelectItem(const String& AString);
    // Records the colour to come back to after the focus leaves.
    void Init();

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    // 14 to 32; other values are refused.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value);
    // 0 or less leaves the platform's width.
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }

    const String& LabelCaption() const { return FLabelCaption; }
    void SetLabelCaption(const String& value);
    AdvCombo::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AdvCombo::TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* value);
    // The label; nil until a caption is written.
    TLabel* ComboLabel() const { return FLabel; }

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor value);
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor value);
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor value);
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor value);
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor value);
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor value);
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor value);

    String Version() const;
    void SetVersion(const String&) {}
    virtual int GetVersionNr() const;

    TNotifyEvent OnDropUp;

    bool MouseInControl() const { return FMouseInControl; }
    bool ButtonHover() const { return FButtonHover; }
    bool HasFocus() const { return FHasFocus; }

    // The drop-down button's part state in the visual style: 4 disabled; 3 while a mouse button
    // is held and the list is down; 1 while a button is held, the button is not hot or the list
    // is down; else 2 (hot).
    static int ThemedButtonState(bool Enabled, bool Held, bool Hot, bool Dropped);
    // What the frame is drawn in: clNone for the plain frames (or nothing), else the one colour
    // of a single frame round the window; Draw tells whether anything is drawn at all.
    struct FrameChoice {
        bool Draw = false;
        bool Plain = false;  // the 3D or flat frames of the look, not one colour
        TColor Color = clNone;
    };
    FrameChoice ChooseFrame() const;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DropDown() override;
    void CloseUp() override;
    void WMPaint(TMessage& Message) override;
    void WMNCPaint(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;

    // Whether the visual style draws the button (common controls 6 and an active style, asked
    // through the loader's entry points).
    bool ThemeActive() const;
    void DrawBorders();
    void DrawDropButton(TCanvas* Canvas);
    // The edge round the drop button when visual styles do not draw it.
    virtual void DrawButtonEdge(TCanvas* Canvas);

private:
    bool OwnRoute() const;
    bool MouseButtonHeld() const;
    void DrawControlBorder(TCanvas* Canvas);
    void UpdateLabel();
    void SetLabelBold(bool bold);
    void FocusLook(bool focused);
    void InvalidateButton();
    TColor ParentBrushColor() const;

    bool FAutoFocus = false;
    TColor FBorderColor = clNone;
    int FButtonWidth;
    bool FDisabledBorder = true;
    int FDropWidth = 0;
    bool FEtched = false;
    bool FFlat = false;
    TColor FFlatLineColor = 0;
    bool FFlatParentColor = true;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = clNone;
    TColor FFocusColor = clNone;
    bool FFocusLabel = false;
    String FLabelCaption;
    AdvCombo::TLabelPosition FLabelPosition = AdvCombo::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    std::unique_ptr<TFont> FLabelFont;
    TLabel* FLabel = nullptr;
    TColor FButtonColor = clNone, FButtonColorHot = clNone, FButtonColorDown = clNone, FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone, FButtonTextColorHot = clNone, FButtonTextColorDown = clNone;

    bool FMouseInControl = false;
    bool FButtonHover = false;
    bool FHasFocus = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    TColor FLoadedColor = clWindow;
    TColor FNormalColor = clNone;
    TColor FSavedColor = clNone;
    bool FSavedParentColor = false;
    bool FColorSaved = false;
};

class VIzeVadarEdu : public TAdvCustomCombo {
public:
    using TAdvCustomCombo::TAdvCustomCombo;
    const char* ClassName() const override { return "VIzeVadarEdu"; }
};
