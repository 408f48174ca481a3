#pragma once
// A call of HtmlRenderText with every argument named and a default for it, and a canvas that
// draws through the raster canvas and keeps the texts, lines and focus rectangles drawn.
#include <memory>
#include <vector>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "render/ZivAVEZE.h"
#include "render/tests/DrawTestSupport.h"

namespace render_test {

struct HtmlCall {
    TCanvas* canvas = nullptr;
    String text;
    TRect rect;
    TCustomImageList* images = nullptr;
    int x = -1, y = -1;
    int focusLink = -1, hoverLink = 0, shadowOffset = 1;
    bool hitTestOnly = false, measureOnly = false, printing = false, keepFontColor = false, blinkOn = true,
         hoverOnly = false, wordWrap = true, mouseDown = false;
    double resFactor = 1.0;
    TColor urlColor = clBlue, hoverColor = clNone, hoverFontColor = clNone, shadowColor = clGray;
    THTMLPictureCache* cache = nullptr;
    TPictureContainer* container = nullptr;
    THtmlBiDiMode bidi = THtmlBiDiMode::bdLeftToRight;

    String anchor, strip, focusAnchor, title;
    int xSize = -7, ySize = -7, links = -7, mouseLink = -7;
    TRect hoverRect, controlRect;
    String controlID, controlValue, controlType;
    bool result = false;

    bool Go() {
        result = HtmlRenderText(canvas, text, rect, images, x, y, focusLink, hoverLink, shadowOffset, hitTestOnly,
                                measureOnly, printing, keepFontColor, blinkOn, hoverOnly, wordWrap, mouseDown, resFactor,
                                urlColor, hoverColor, hoverFontColor, shadowColor, anchor, strip, focusAnchor, title, xSize,
                                ySize, links, mouseLink, hoverRect, controlRect, controlID, controlValue, controlType,
                                cache, container, nullptr, bidi);
        return result;
    }
};

struct DrawnText {
    TPoint at;
    String text;
    String face;
};

// Draws through the raster canvas and keeps what reaches it.
class Recording final : public ui::CanvasForwarder {
public:
    explicit Recording(TCanvas& front) : FFront(front), FRaster(ui::GetBackend().CreateRasterCanvas(front)) {}
    bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) override {
        texts.push_back({at, text, FFront.Font()->Name()});
        return CanvasForwarder::Text(at, text, width, clip, opaque);
    }
    bool LineTo(TPoint from, TPoint to) override {
        lines.push_back({from, to});
        return CanvasForwarder::LineTo(from, to);
    }
    bool FocusRect(const TRect& rect) override {
        focusRects.push_back(rect);
        return CanvasForwarder::FocusRect(rect);
    }
    ui::Transfer StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) override {
        transfers.push_back(TSize(sw, sh));
        return CanvasForwarder::StretchBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
    }
    std::vector<DrawnText> texts;
    // The source sizes of the transfers onto the canvas (a themed part comes as one).
    std::vector<TSize> transfers;
    std::vector<std::pair<TPoint, TPoint>> lines;
    std::vector<TRect> focusRects;

protected:
    CanvasImpl& Inner() override { return *FRaster; }

private:
    TCanvas& FFront;
    std::unique_ptr<CanvasImpl> FRaster;
};

// A picture of one colour, w x h.
inline void LoadPlain(THTMLPicture* p, int w, int h, TColor colour) {
    TBitmap b(w, h, pf24bit);
    b.Canvas()->Brush()->SetColor(colour);
    b.Canvas()->FillRect(TRect(0, 0, w, h));
    std::vector<uint8_t> bytes = b.SaveToBytes();
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    p->LoadFromStream(&s);
}

// A white sheet with a canvas of its own that records; the font is the tests' own.
class RecordingSheet {
public:
    RecordingSheet(int width, int height) : sheet(width, height), canvas(&sheet.bitmap) {
        auto rec = std::make_unique<Recording>(canvas);
        record = rec.get();
        canvas.SetImplementation(std::move(rec));
        sheet.Clear(clWhite);
        canvas.Brush()->SetColor(clWhite);
        canvas.Font()->SetName(u"Arial");
        canvas.Font()->SetSize(10);
        canvas.Font()->SetColor(clBlack);
    }
    TColor At(int x, int y) { return sheet.At(x, y); }
    // Every pixel that is not white.
    std::vector<TPoint> Ink() { return sheet.Where([](TColor c) { return c != clWhite; }); }
    Sheet sheet;
    TCanvas canvas;
    Recording* record = nullptr;
};

}  // namespace render_test
