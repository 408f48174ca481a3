#pragma once
// The tool button: a windowless push button drawn flat in a two-colour vertical gradient per
// state (normal, hot, down, checked) with optional rounded corners and borders, a glyph per
// state (a disabled one made from the glyph, a shadow under the hot one) or an image of an image
// list, radio-group and check behaviour, a drop-down arrow with a pop-up menu, and 17 colour
// presets chosen by number or by the family's visual style.
#include <memory>

#include "controls/styled/VizIrovaRE.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"

enum TAdvToolButtonStyle { tasButton, tasCheck };

class TAdvToolButton;

// The button follows its action's caption only while they are equal, and its checked state only
// in a group that may be all up, while its Down equals the action's Checked.
class TAdvToolButtonActionLink : public TControlActionLink {
public:
    explicit TAdvToolButtonActionLink(TObject* AClient) : TControlActionLink(AClient) {
        TAdvToolButtonActionLink::AssignClient(AClient);
    }
    const char* ClassName() const override { return "TAdvToolButtonActionLink"; }

protected:
    void AssignClient(TObject* AClient) override;
    bool IsCaptionLinked() override;
    bool IsCheckedLinked() override;
    bool IsGroupIndexLinked() override;
    void SetCaption(const String& Value) override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(int Value) override;
    TAdvToolButton* FClient = nullptr;
};

// Fills Rect with Steps bands from FromColor to ToColor (vertical bands: rows), then frames it in
// BorderColor unless that is clNone.
void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect,
                        int Steps, TColor BorderColor);

class TAdvToolButton : public TGraphicControl, public IQRBStyle {
public:
    explicit TAdvToolButton(TComponent* AOwner);
    ~TAdvToolButton() override;
    const char* ClassName() const override { return "TAdvToolButton"; }
    void Loaded() override;
    void PublishedProperties(TFiler* Filer) override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    // Follow the desktop's colour scheme (ThemeAdapt).
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor value);
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor value);
    // Color (the control's own) starts the normal gradient.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor value);
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor value);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor value);
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor value);
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor value);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* value);
    bool DropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // Copies of the bitmaps written; the bottom-left pixel is each one's transparent colour.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap* value);
    TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap* value);
    TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // -1 centres; values below -1 are refused.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool value);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TAdvToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TAdvToolButtonStyle value);
    // Reads the button's version; writes are ignored.
    String Version() const;
    void SetVersion(const String&) {}
    int GetVersionNr() const;

    // Colour preset 0 to 16; other numbers change nothing.
    int Look() const { return FLook; }
    void SetLook(int value);
    void SetComponentStyle(TQRBStyle AStyle) override;
    // Takes the preset of the desktop's colour scheme.
    void ThemeAdapt();

    TNotifyEvent OnDropDown;

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    // The shadow of the hot glyph.
    TBitmap* GlyphShade() const { return FGlyphShade.get(); }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TControlActionLinkClass GetActionLinkClass() const override;

    // Draws glyph and caption inside Client; State is the look they take.
    void DrawGlyphAndCaption(TCanvas* canvas, const TRect& Client, const TPoint& Offset, TButtonState State);
    // Where glyph and caption go in Client (for the tests: the layout rule on its own).
    void CalcLayout(TCanvas* canvas, const TRect& Client, const TPoint& Offset, TPoint& GlyphPos, TRect& TextBounds);

private:
    friend class TAdvToolButtonActionLink;
    void UpdateExclusive();
    void UpdateTracking();
    void CreateGlyphShade();
    void ButtonPressed(int Group, TAdvToolButton* Button);
    bool Hot() const;
    TBitmap* ChosenGlyph() const;
    TSize GlyphSize() const;
    bool InsideClient(int X, int Y) const;

    bool FAllowAllUp = false;
    bool FAutoThemeAdapt = false;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorDown = 0xD8D3D2;
    TColor FColorDownTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorChecked = 0x808080;
    TColor FColorCheckedTo = clNone;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FDropDownButton = false;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FDropDownSplit = true;
    bool FFlat = true;
    std::unique_ptr<TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FGlyphShade;
    int FImageIndex = -1;
    TCustomImageList* FImages = nullptr;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    bool FRounded = false;
    bool FShaded = true;
    bool FShowCaption = true;
    int FSpacing = 4;
    TAdvToolButtonStyle FStyle = tasButton;
    int FLook = 0;
    TButtonState FState = bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
    bool FDisabledMade = false;  // GlyphDisabled was made from Glyph, not given
};

namespace advtoolbtn {
// This unit's reading of the desktop's colour scheme: the colour name compared whole (1
// "NormalColor", 2 "HomeStead", 3 "Metallic"), without the common controls' version.
int CurrentXPColorScheme();
}  // namespace advtoolbtn
