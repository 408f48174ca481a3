#pragma once
// Owner-drawn push buttons of the image-control set: TVrDemoButton, a command button with a
// tiled face, a font for hovering and one otherwise, 3D caption, outline and bevel; and
// TVrPowerButton, a toggle button with a small lamp beside its caption.
#include <memory>

#include "controls/instrument/VrControls.h"

class TVrDemoButton : public TVrCustomImageControl {
public:
    explicit TVrDemoButton(TComponent* AOwner);
    ~TVrDemoButton() override;
    const char* ClassName() const override { return "TVrDemoButton"; }

    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* value) { FBitmap->Assign(value); }
    TFont* FontEnter() const { return FFontEnter.get(); }
    void SetFontEnter(TFont* value) { FFontEnter->Assign(value); }
    TFont* FontLeave() const { return FFontLeave.get(); }
    void SetFontLeave(TFont* value) { FFontLeave->Assign(value); }
    TVrFont3D* Font3D() const { return FFont3D.get(); }
    void SetFont3D(TVrFont3D* value) { FFont3D->Assign(value); }

    TVrByteInt BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TVrByteInt value);
    int OutlineWidth() const { return FOutlineWidth; }
    void SetOutlineWidth(int value);
    TColor OutlineColor() const { return FOutlineColor; }
    void SetOutlineColor(TColor value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value);
    TVrTextAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TVrTextAlignment value);
    TColor DisabledTextColor() const { return FDisabledTextColor; }
    void SetDisabledTextColor(TColor value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);

    bool Down() const { return FDown; }
    bool Pressed() const { return FPressed; }
    bool HasMouse() const { return FHasMouse; }

    // The platform's own click detection never fires OnClick: the button does, itself.
    void Click() override {}

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;

private:
    void PressStart();

    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TFont> FFontEnter;
    std::unique_ptr<TFont> FFontLeave;
    TVrByteInt FBevelWidth = 2;
    int FOutlineWidth = 1;
    TColor FOutlineColor = clBlack;
    TColor FShadowColor = clBtnShadow;
    TColor FHighlightColor = clBtnHighlight;
    TColor FFocusColor = clBlue;
    TVrTextAlignment FTextAlignment = vtaCenter;
    TColor FDisabledTextColor = clInactiveCaption;
    std::unique_ptr<TVrFont3D> FFont3D;
    bool FFlat = false;
    bool FHasMouse = false;
    bool FFocused = false;
    bool FDown = false;
    bool FPressed = false;
};

class TVrPowerButton : public TVrCustomImageControl {
public:
    explicit TVrPowerButton(TComponent* AOwner);
    ~TVrPowerButton() override;
    const char* ClassName() const override { return "TVrPowerButton"; }

    bool Active() const { return FActive; }
    void SetActive(bool value);
    TVrMaxInt LedWidth() const { return FLedWidth; }
    void SetLedWidth(TVrMaxInt value);
    TVrMaxInt LedHeight() const { return FLedHeight; }
    void SetLedHeight(TVrMaxInt value);
    TVrPalette* Palette() const { return FPalette.get(); }
    void SetPalette(TVrPalette* value) { FPalette->Assign(value); }
    TVrByteInt BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TVrByteInt value);
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    TColor OutlineColor() const { return FOutlineColor; }
    void SetOutlineColor(TColor value);
    TVrByteInt OutlineWidth() const { return FOutlineWidth; }
    void SetOutlineWidth(TVrByteInt value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    TVrImageTextLayout Layout() const { return FLayout; }
    void SetLayout(TVrImageTextLayout value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value);

    // Caption and lamp rectangles of the last layout.
    const TRect& TextBounds() const { return FTextBounds; }
    const TRect& ImageRect() const { return FImageRect; }
    bool Down() const { return FDown; }
    bool Pressed() const { return FPressed; }

    void Click() override {}

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;

private:
    // Places lamp and caption (and repaints when asked).
    void CalcPaintParams(bool repaint);

    bool FActive = false;
    TVrMaxInt FLedWidth = 12;
    TVrMaxInt FLedHeight = 12;
    std::unique_ptr<TVrPalette> FPalette;
    TVrByteInt FBevelWidth = 2;
    TColor FHighlightColor = clBtnHighlight;
    TColor FShadowColor = clBtnShadow;
    TColor FOutlineColor = clBlack;
    TVrByteInt FOutlineWidth = 1;
    int FSpacing = 5;
    int FMargin = -1;
    TVrImageTextLayout FLayout = ImageLeft;
    bool FFocused = false;
    TColor FFocusColor = clBlue;
    bool FDown = false;
    bool FPressed = false;
    bool FSpacePressed = false;  // a Space key-down of this button waits for its key-up
    TRect FTextBounds;
    TRect FImageRect;
};
