#pragma once
// Panels, bevels, images and shapes, drawn by the library in the classic 3D look.
#include "platform/ui/DrawnCtrls.h"

// The panel's bevels are the windowed control's (Controls.h), with the panel's own defaults.
using TPanelBevel = TBevelCut;

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomPanel"; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // The parent's colour shows through instead of Color.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value);

protected:
    void Paint() override;
    // Aligned children stay inside the bevels and the border.
    void AdjustClientRect(TRect& Rect) override;
    // The bevels are also painted inside the client area: realign and repaint.
    void BevelsChanged() override;

private:
    void FrameChanged();
    TAlignment FAlignment = taCenter;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    bool FParentBackground = false;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    const char* ClassName() const override { return "TPanel"; }
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    const char* ClassName() const override { return "TBevel"; }
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    const char* ClassName() const override { return "TImage"; }
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* value) { FPicture->Assign(value); }
    // The picture's bitmap to draw on; an empty image gets one of the control's size.
    TCanvas* Canvas();
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    // With Stretch: keep the picture's aspect; without: shrink only pictures that do not fit.
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Where the picture lands, in the control's coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
    bool FProportional = false;
    bool FTransparent = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    const char* ClassName() const override { return "TShape"; }
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType value);
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }

protected:
    void Paint() override;

private:
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TShapeType FShape = stRectangle;
};
