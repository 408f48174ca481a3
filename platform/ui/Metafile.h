#pragma once
// Metafiles: a recording canvas that writes enhanced metafile (EMF) records, the older Windows
// metafile (WMF, with the placeable header) on request, and playback of both onto a canvas.
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

namespace ui {
class MetafileRecorder;
}

// Whether data starts as an enhanced metafile; as any metafile (enhanced, or the older format with
// or without its placeable header).
bool IsEnhancedMetafile(const uint8_t* data, size_t size);
bool IsMetafile(const uint8_t* data, size_t size);

// One recorded drawing call; both file formats are written from and read into these.
struct TMetafileOp {
    enum Kind {
        MoveTo, LineTo, Polyline, Polygon, Rectangle, Ellipse, RoundRect, Arc, Chord, Pie,
        CreatePen, CreateBrush, CreateFont, Select, Delete,
        SetTextColor, SetBkColor, SetBkMode, SetRop2, Text, StretchDib, SetPixel, SetTextAlign,
        SelectClip,  // rects is the new clip region; style 0 removes the clip
        FloodFill    // from p1 with the selected brush: style 0 up to the colour, 1 over it
    };
    Kind kind = MoveTo;
    std::vector<TPoint> points;
    std::vector<TRect> rects;
    TRect rect;      // shape box, text clip/opaque rectangle, destination of a bitmap
    TPoint p1, p2;   // arc radials, round-rect corner (p1), text reference point (p1)
    uint32_t index = 0;   // object index (1-based, as in EMF)
    uint32_t style = 0;   // pen style, brush style, text options, background mode, ROP2, ROP3
    uint32_t color = 0;   // COLORREF
    int32_t width = 0;    // pen width, font height
    uint32_t hatch = 0;
    // Font
    int32_t weight = 400, orientation = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0, charset = 1, pitch = 0;
    String text;          // font face or text
    // Bitmap: a packed DIB (header, colours, bits) and its source rectangle
    std::vector<uint8_t> dib;
    TRect source;
};

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;
    const char* ClassName() const override { return "TMetafile"; }
    void Assign(const TPersistent* Source) override;

    // Size in pixels at 96 per inch; setting it before recording fixes the picture frame.
    int Width() const override;
    int Height() const override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    // Size in 0.01 mm.
    int MMWidth() const;
    int MMHeight() const;
    void SetMMWidth(int value);
    void SetMMHeight(int value);
    bool Empty() const override { return FOps.empty() && FWidth == 0; }
    // EMF (true, the default) or WMF when saving; SaveToFile decides by the extension .wmf.
    bool Enhanced() const { return FEnhanced; }
    void SetEnhanced(bool value) { FEnhanced = value; }
    // Units per inch of a WMF's placeable header.
    int Inch() const { return FInch; }
    void SetInch(int value) { FInch = value > 0 ? value : 96; }
    String Description() const { return FDescription; }
    void Clear();

    void LoadFromStream(std::istream& stream) override;
    void SaveToStream(std::ostream& stream) override;
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    void SaveToFile(const String& fileName) override;
    std::vector<uint8_t> EmfBytes() const;
    std::vector<uint8_t> WmfBytes() const;

    const std::vector<TMetafileOp>& Ops() const { return FOps; }
    // The area drawn, in pixels (inclusive-exclusive); empty when nothing was drawn.
    TRect Bounds() const { return FBounds; }

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    friend class TMetafileCanvas;
    void ParseEmf(const std::vector<uint8_t>& b);
    // The area that playback maps onto the target: the frame, or the bounds when the frame is
    // empty (or inverted); empty when both are.
    TRect ShownFrame() const;
    void ParseWmf(const std::vector<uint8_t>& b);
    std::vector<TMetafileOp> FOps;
    TRect FBounds;
    TRect FFrame;  // picture area in pixels
    int FWidth = 0, FHeight = 0;
    bool FEnhanced = true;
    int FInch = 96;
    String FDescription;
};

// Records what is drawn on it into the metafile, which receives the result when the canvas is
// freed. It is a canvas like any other, drawing through a recorder instead of onto pixels;
// measurements (TextWidth, DrawText layout) use the same fonts as a bitmap canvas.
class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile* metafile, HDC referenceDevice = nullptr);
    TMetafileCanvas(TMetafile* metafile, HDC referenceDevice, const String& creatorName,
                    const String& description);
    ~TMetafileCanvas() override;
    const char* ClassName() const override { return "TMetafileCanvas"; }

private:
    ui::MetafileRecorder* FRecorder;  // the canvas's implementation
    TMetafile* FMetafile;
};
