#pragma once
// The gradient label: a caption over a colour gradient, filling the label or drawing a line at
// its bottom, centre or top (with a gap for the text if asked), with indent, ellipsis, vertical
// alignment and text rotated by 90 degrees.
#include "platform/ui/StdCtrlsDrawn.h"

enum TEllipsType { etNone, etEndEllips, etPathEllips };
enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };
enum TGradientDirection { gdLeftToRight, gdRightToLeft };
enum TGradientOrientation { goHorizontal, goVertical };
enum TVAlignment { vaTop, vaCenter, vaBottom };

// Fills Rect with Steps bands from FromColor to ToColor: band i from Left + Round(i * d) to
// min(Right, that + Trunc(d) + 1), d the width over Steps (rows when not Horizontal). No frame.
void DrawLabelGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect,
                       int Steps);

class TGradientLabel : public TLabel {
public:
    explicit TGradientLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TGradientLabel"; }

    // clNone fills the label plainly with Color.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TEllipsType value);
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType value);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(int value);
    TGradientOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TGradientOrientation value);
    bool TransparentText() const { return FTransparentText; }
    void SetTransparentText(bool value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    String Version() const;
    void SetVersion(const String&) {}
    int GetVersionNr() const;

    // The number of bands a full gradient is painted in: max(32, extent div 4).
    int Steps() const;
    // DrawText format of the caption, and the rectangle of the line types.
    UINT TextFormat() const;
    TRect LineRect() const;

protected:
    void Paint() override;

private:
    TColor StartColor() const;
    TColor EndColor() const;
    TColor FColorTo = 0xFFFFFF;
    TEllipsType FEllipsType = etNone;
    TGradientType FGradientType = gtFullHorizontal;
    TGradientDirection FGradientDirection = gdLeftToRight;
    int FIndent = 0;
    int FLineWidth = 2;
    TGradientOrientation FOrientation = goHorizontal;
    bool FTransparentText = false;
    TVAlignment FVAlignment = vaTop;
};
