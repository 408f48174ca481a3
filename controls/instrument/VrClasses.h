#pragma once
// The small image-control set of the instrument library: settings objects that report their
// changes (palette, 3D text), the non-visual component base, and the drawing routines its buttons
// share (3D frame, tiled bitmap, button text, glyph-and-caption layout).
#include <cstdint>

#include "platform/rtl/Component.h"
#include "platform/rtl/Objects.h"
#include "platform/ui/Graphics.h"

using TVrByteInt = uint8_t;
using TVrMaxInt = int32_t;  // 0 .. MaxInt

enum TVrTextAlignment {
    vtaLeft, vtaCenter, vtaRight, vtaTopLeft, vtaTop, vtaTopRight, vtaBottomLeft, vtaBottom, vtaBottomRight
};
// The text-drawing flags of an alignment, always single-line.
UINT VrTextAlignmentFlags(TVrTextAlignment alignment);

enum TVrImageTextLayout { ImageLeft, ImageRight, ImageTop, ImageBottom };
enum TVrFont3DStyle { f3dNone, f3dRaised, f3dSunken, f3dShadow };

extern const char* const VrVersion;  // "1.4.5"

// A settings object that reports each change through OnChange, once per outermost update.
class TVrPersistent : public TPersistent {
public:
    const char* ClassName() const override { return "TVrPersistent"; }
    void BeginUpdate() { ++FUpdateCount; }
    // Ends an update and reports the change; at count 0 it still reports.
    void EndUpdate();
    TNotifyEvent OnChange;

protected:
    void Changed();
    int FUpdateCount = 0;
};

// Two colours: Low for index 0 and below, High above.
class TVrPalette : public TVrPersistent {
public:
    const char* ClassName() const override { return "TVrPalette"; }
    void Assign(const TPersistent* Source) override;
    virtual TColor GetColors(int Index) const;

    TColor Low() const { return FLow; }
    void SetLow(TColor value);
    TColor High() const { return FHigh; }
    void SetHigh(TColor value);

    // Recolours a two-colour picture in place: the pixels of exactly DarkColor become Low, those
    // of exactly LightColor become High, every other pixel stays.
    void ToBMP(TBitmap* Bitmap, TColor DarkColor, TColor LightColor) const;

private:
    TColor FLow = 0x008000;
    TColor FHigh = 0x00FF00;
};

// Text drawn raised, sunken or with a shadow.
class TVrFont3D : public TVrPersistent {
public:
    const char* ClassName() const override { return "TVrFont3D"; }
    void Assign(const TPersistent* Source) override;

    TVrFont3DStyle Style() const { return FStyle; }
    void SetStyle(TVrFont3DStyle value);
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    int HighlightDepth() const { return FHighlightDepth; }
    void SetHighlightDepth(int value);
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int value);

    // Draws Text in R with the text-drawing flags, the main text in the canvas's font colour,
    // which the canvas has again afterwards. The brush is left clear.
    void Paint(TCanvas* Canvas, const TRect& R, const String& Text, UINT Flags) const;

private:
    TVrFont3DStyle FStyle = f3dNone;
    TColor FHighlightColor = clBtnHighlight;
    TColor FShadowColor = clBtnShadow;
    int FHighlightDepth = 1;
    int FShadowDepth = 1;
};

class TVrComponent : public TComponent {
public:
    explicit TVrComponent(TComponent* AOwner);
    const char* ClassName() const override { return "TVrComponent"; }
    const String& Version() const { return FVersion; }
    void SetVersion(const String& value) { FVersion = value; }

private:
    String FVersion;
};

// The classic 3D frame: TopColor left and top, BottomColor right and bottom, Width rounds.
// Returns R shrunk by Width.
TRect DrawFrame3D(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor, int Width);
// Tiles Bitmap (not empty) across R from its top-left, the last row and column clipped.
void TileBitmap(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap);
// Enabled: Text centred on one line. Disabled: engraved at the rectangle's top-left, once in the
// highlight colour one pixel down and right, once in the shadow colour at the rectangle.
void DrawButtonText(TCanvas* Canvas, const String& Text, const TRect& R, bool Enabled);
// Places a glyph of GlyphSize and the caption in Client: Layout 1 glyph left, 2 right, 3 top,
// 4 bottom; Margin -1 centres, Spacing -1 spreads. TextBounds and GlyphPos come back in Client's
// coordinates.
void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, TRect& TextBounds, TPoint& GlyphPos, TPoint GlyphSize,
                      int Spacing, int Margin, int Layout, const String& Caption);
