#pragma once
// The Buttons unit: the speed button, a graphic control with a glyph and a caption, pressed alone
// or as one of a group of which at most one is down; and the bit button (BitBtn.h).
#include "platform/ui/BitBtn.h"
#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/backend/Enums.h"

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    const char* ClassName() const override { return "TSpeedButton"; }

    // The glyph bitmap holds NumGlyphs images side by side: up, disabled, down, exclusive (down
    // in a group). Pixels of the colour of its bottom-left pixel are transparent.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs value);
    // Buttons of one parent with the same non-zero GroupIndex: at most one is down.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    // In a group: a click on the down button raises it.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    // No frame until the pointer is over the button.
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // Pixels between the edge and the glyph; -1 centres glyph and caption.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    // Pixels between glyph and caption; -1 centres the caption in the room left.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    // Flat buttons let the parent show through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void UpdateExclusive();
    void DrawGlyph(TCanvas* canvas, int x, int y, TButtonState state);
    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FTransparent = true;
    TButtonState FState = bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
};
