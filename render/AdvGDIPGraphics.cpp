// Unit AdvGDIP: the graphics surface, with the text helpers that measure and draw a line of
// platform-font text.
#include <utility>

#include "platform/rtl/Math.h"
#include "render/AdvGDIP.h"
#include "render/AdvGDIPImpl.h"

using namespace gdiplus;
using advgdip::detail::Keep;

namespace {

// The style flag of DrawText that measures without drawing.
constexpr uint32_t kMeasureOnly = 0x400;

}  // namespace

TGPGraphics::TGPGraphics(HDC hdc) { lastResult = GdipCreateFromHDC(hdc, &nativeGraphics); }

TGPGraphics::TGPGraphics(TGPImage* image) {
    if (image) lastResult = GdipGetImageGraphicsContext(image->nativeImage, &nativeGraphics);
}

TGPGraphics::~TGPGraphics() {
    if (nativeGraphics) GdipDeleteGraphics(nativeGraphics);
}

std::unique_ptr<TGPGraphics> TGPGraphics::FromImage(TGPImage* image) { return std::unique_ptr<TGPGraphics>(new TGPGraphics(image)); }

Status TGPGraphics::SetStatus(Status status) { return Keep(lastResult, status); }

void TGPGraphics::Flush(FlushIntention intention) { GdipFlush(nativeGraphics, intention); }

Status TGPGraphics::Clear(ARGB color) { return SetStatus(GdipGraphicsClear(nativeGraphics, color)); }

Status TGPGraphics::SetTransform(const TGPMatrix* matrix) {
    return SetStatus(GdipSetWorldTransform(nativeGraphics, matrix ? matrix->nativeMatrix : nullptr));
}

Status TGPGraphics::ResetTransform() { return SetStatus(GdipResetWorldTransform(nativeGraphics)); }

HDC TGPGraphics::GetHDC() {
    HDC hdc = nullptr;
    SetStatus(GdipGetDC(nativeGraphics, &hdc));
    return hdc;
}

Status TGPGraphics::ReleaseHDC(HDC hdc) { return SetStatus(GdipReleaseDC(nativeGraphics, hdc)); }

Status TGPGraphics::SetCompositingQuality(CompositingQuality compositingQuality) {
    return SetStatus(GdipSetCompositingQuality(nativeGraphics, compositingQuality));
}

CompositingQuality TGPGraphics::GetCompositingQuality() {
    CompositingQuality quality = CompositingQualityInvalid;
    SetStatus(GdipGetCompositingQuality(nativeGraphics, &quality));
    return quality;
}

// ---- Text helpers -----------------------------------------------------------------------------

std::unique_ptr<TGPFont> TGPGraphics::MakeFont(TFont* AFont) {
    if (!AFont) {
        SetStatus(InvalidParameter);
        return nullptr;
    }
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(AFont->Name()));
    if (family->lastResult == FontFamilyNotFound || family->lastResult == FontStyleNotFound)
        family.reset(new TGPFontFamily(String("Arial")));
    // Bold, italic and underline; strike-out is dropped.
    int style = static_cast<int>(AFont->Style().Bits() & (FontStyleBold | FontStyleItalic | FontStyleUnderline));
    return std::unique_ptr<TGPFont>(new TGPFont(family.get(), static_cast<float>(AFont->Size()), style, UnitPoint));
}

namespace {

// The box of the whole text in the platform font, laid out in (0, 0, 10000, 10000); empty when
// there is no font.
TGPRectF BoxOf(TGPGraphics& graphics, const String& text, TFont* font) {
    TGPRectF box;
    if (std::unique_ptr<TGPFont> gpFont = graphics.MakeFont(font))
        graphics.MeasureString(text, text.Length(), gpFont.get(), MakeGPRectF(0, 0, 10000, 10000), box);
    return box;
}

}  // namespace

int TGPGraphics::TextHeight(const String& text, TFont* font) { return static_cast<int>(Round(BoxOf(*this, text, font).Height)); }

int TGPGraphics::TextWidth(const String& text, TFont* font) { return static_cast<int>(Round(BoxOf(*this, text, font).Width)); }

int TGPGraphics::DrawText(const String& text, int len, TRect& rect, TFont* font, uint32_t style, TColor bkColor) {
    std::unique_ptr<TGPFont> gpFont = MakeFont(font);
    if (!gpFont) return 0;
    if ((style & kMeasureOnly) || bkColor != clNone) {
        // The margin the measured box leaves beyond the ink grows with the font.
        double margin = 2;
        if (font->Size() > 8) margin = static_cast<double>(Round((font->Size() - 8) / 1.5) + 2);
        // A trailing blank would not be measured: a narrow letter stands in for it.
        String measured = text;
        if (measured.size() > 1 && measured.back() == u' ') measured.back() = u'i';
        TGPRectF layout = MakeGPRectF(static_cast<float>(rect.Left), static_cast<float>(rect.Top),
                                      static_cast<float>(rect.Right - rect.Left + 1000), static_cast<float>(rect.Bottom - rect.Top));
        TGPRectF box;
        MeasureString(measured, len, gpFont.get(), layout, box);
        rect.Right = rect.Left + static_cast<int32_t>(Round(box.Width - margin));
        rect.Bottom = rect.Top + static_cast<int32_t>(Round(box.Height));
        if (bkColor != clNone) {
            TGPSolidBrush background(ArgbFromColor(bkColor));
            FillRectangle(&background, static_cast<float>(rect.Left + 1), static_cast<float>(rect.Top),
                          static_cast<float>(box.Width - margin + 1), box.Height);
        }
    }
    if (!(style & kMeasureOnly)) {
        TGPSolidBrush ink(ArgbFromColor(font->Color()));
        DrawString(text, len, gpFont.get(), TGPPointF{static_cast<float>(rect.Left), static_cast<float>(rect.Top)}, &ink);
    }
    return rect.Bottom - rect.Top;
}

Status TGPGraphics::SetTextRenderingHint(TextRenderingHint newMode) {
    return SetStatus(GdipSetTextRenderingHint(nativeGraphics, newMode));
}

TextRenderingHint TGPGraphics::GetTextRenderingHint() {
    TextRenderingHint hint = TextRenderingHintSystemDefault;
    SetStatus(GdipGetTextRenderingHint(nativeGraphics, &hint));
    return hint;
}

SmoothingMode TGPGraphics::GetSmoothingMode() {
    SmoothingMode mode = SmoothingModeInvalid;
    return SetStatus(GdipGetSmoothingMode(nativeGraphics, &mode)) == Ok ? mode : SmoothingModeInvalid;
}

Status TGPGraphics::SetSmoothingMode(SmoothingMode smoothingMode) {
    return SetStatus(GdipSetSmoothingMode(nativeGraphics, smoothingMode));
}

// ---- Drawing ----------------------------------------------------------------------------------

Status TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path) {
    return SetStatus(GdipDrawPath(nativeGraphics, pen ? pen->nativePen : nullptr, path ? path->nativePath : nullptr));
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, float x, float y, float width, float height) {
    return SetStatus(GdipFillRectangle(nativeGraphics, brush ? brush->nativeBrush : nullptr, x, y, width, height));
}

Status TGPGraphics::DrawString(const String& string, int, const TGPFont* font, const TGPRectF& layoutRect,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush) {
    return SetStatus(GdipDrawString(nativeGraphics, string.c_str(), string.Length(), font ? font->nativeFont : nullptr, &layoutRect,
                                    stringFormat ? stringFormat->nativeFormat : nullptr, brush ? brush->nativeBrush : nullptr));
}

Status TGPGraphics::DrawString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                               const TGPBrush* brush) {
    return DrawString(string, length, font, origin, nullptr, brush);
}

Status TGPGraphics::DrawString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush) {
    return DrawString(string, length, font, MakeGPRectF(origin.X, origin.Y, 0, 0), stringFormat, brush);
}

Status TGPGraphics::MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                                  const TGPStringFormat* stringFormat, TGPRectF& boundingBox, int* codepointsFitted,
                                  int* linesFilled) {
    // GDI+ would read length characters whatever the text holds.
    int n = advgdip::detail::ClampLength(length, string.Length());
    return SetStatus(GdipMeasureString(nativeGraphics, string.c_str(), n, font ? font->nativeFont : nullptr, &layoutRect,
                                       stringFormat ? stringFormat->nativeFormat : nullptr, &boundingBox, codepointsFitted,
                                       linesFilled));
}

Status TGPGraphics::MeasureString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                                  const TGPStringFormat* stringFormat, TGPRectF& boundingBox) {
    return MeasureString(string, length, font, MakeGPRectF(origin.X, origin.Y, 0, 0), stringFormat, boundingBox);
}

Status TGPGraphics::MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                                  TGPRectF& boundingBox) {
    return MeasureString(string, length, font, layoutRect, nullptr, boundingBox);
}

Status TGPGraphics::GetLastStatus() { return std::exchange(lastResult, Ok); }

Status TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& rect) {
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, float x, float y, float width, float height) {
    return SetStatus(GdipDrawRectangle(nativeGraphics, pen ? pen->nativePen : nullptr, x, y, width, height));
}

Status TGPGraphics::DrawLine(const TGPPen* pen, float x1, float y1, float x2, float y2) {
    return SetStatus(GdipDrawLine(nativeGraphics, pen ? pen->nativePen : nullptr, x1, y1, x2, y2));
}

Status TGPGraphics::DrawArc(const TGPPen* pen, float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return SetStatus(GdipDrawArc(nativeGraphics, pen ? pen->nativePen : nullptr, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphics::DrawArc(const TGPPen* pen, const TGPRectF& rect, float startAngle, float sweepAngle) {
    return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& rect) {
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, float x, float y, float width, float height) {
    return SetStatus(GdipDrawEllipse(nativeGraphics, pen ? pen->nativePen : nullptr, x, y, width, height));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRect& rect) {
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, int x, int y, int width, int height) {
    return SetStatus(GdipDrawEllipseI(nativeGraphics, pen ? pen->nativePen : nullptr, x, y, width, height));
}

Status TGPGraphics::DrawImage(const TGPImage* image, int x, int y) {
    return SetStatus(GdipDrawImageI(nativeGraphics, image ? image->nativeImage : nullptr, x, y));
}

Status TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& rect) {
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawImage(const TGPImage* image, float x, float y, float width, float height) {
    return SetStatus(GdipDrawImageRect(nativeGraphics, image ? image->nativeImage : nullptr, x, y, width, height));
}

Status TGPGraphics::DrawImageRect(const TGPImage* image, int x, int y, int w, int h) {
    return DrawImage(image, static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}

Status TGPGraphics::DrawImageRect(const TGPImage* image, const TGPRectF& ARect) {
    return DrawImageRect(image, static_cast<int>(Round(ARect.X)), static_cast<int>(Round(ARect.Y)), static_cast<int>(Round(ARect.Width)),
                         static_cast<int>(Round(ARect.Height)));
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, int count) {
    return FillPolygon(brush, points, count, FillModeAlternate);
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, int count, FillMode fillMode) {
    return SetStatus(GdipFillPolygon(nativeGraphics, brush ? brush->nativeBrush : nullptr, points, count, fillMode));
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPoint* points, int count) {
    return FillPolygon(brush, points, count, FillModeAlternate);
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPoint* points, int count, FillMode fillMode) {
    return SetStatus(GdipFillPolygonI(nativeGraphics, brush ? brush->nativeBrush : nullptr, points, count, fillMode));
}

Status TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                              float srcheight, Unit srcUnit, const TGPImageAttributes* imageAttributes, DrawImageAbort callback,
                              void* callbackData) {
    return SetStatus(GdipDrawImageRectRect(nativeGraphics, image ? image->nativeImage : nullptr, destRect.X, destRect.Y,
                                           destRect.Width, destRect.Height, srcx, srcy, srcwidth, srcheight, srcUnit,
                                           imageAttributes ? imageAttributes->nativeImageAttr : nullptr, callback, callbackData));
}

Status TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path) {
    return SetStatus(GdipFillPath(nativeGraphics, brush ? brush->nativeBrush : nullptr, path ? path->nativePath : nullptr));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& rect) {
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, float x, float y, float width, float height) {
    return SetStatus(GdipFillEllipse(nativeGraphics, brush ? brush->nativeBrush : nullptr, x, y, width, height));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRect& rect) {
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, int x, int y, int width, int height) {
    return SetStatus(GdipFillEllipseI(nativeGraphics, brush ? brush->nativeBrush : nullptr, x, y, width, height));
}

Status TGPGraphics::ExcludeClip(const TGPRectF& rect) {
    return SetStatus(GdipSetClipRect(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, CombineModeExclude));
}

Status TGPGraphics::ExcludeClip(const TGPRegion* region) {
    return SetStatus(GdipSetClipRegion(nativeGraphics, region ? region->nativeRegion : nullptr, CombineModeExclude));
}

Status TGPGraphics::SetClip(const TGPRegion* region, CombineMode combineMode) {
    return SetStatus(GdipSetClipRegion(nativeGraphics, region ? region->nativeRegion : nullptr, combineMode));
}

Status TGPGraphics::SetClip(const TGPGraphicsPath* path, CombineMode combineMode) {
    return SetStatus(GdipSetClipPath(nativeGraphics, path ? path->nativePath : nullptr, combineMode));
}

Status TGPGraphics::ResetClip() { return SetStatus(GdipResetClip(nativeGraphics)); }
