// Unit AdvGDIP: the wrappers of brushes, pens, image attributes, images and bitmaps.
#include <utility>

#include "render/AdvGDIP.h"
#include "render/AdvGDIPImpl.h"

using namespace gdiplus;
using advgdip::detail::Keep;

// ---- Brushes ----------------------------------------------------------------------------------

TGPBrush::TGPBrush() : lastResult(NotImplemented) {}

TGPBrush::TGPBrush(GpBrush* brush, Status status) : nativeBrush(brush), lastResult(status) {}

TGPBrush::~TGPBrush() {
    if (nativeBrush) GdipDeleteBrush(nativeBrush);
}

Status TGPBrush::SetStatus(Status status) { return Keep(lastResult, status); }

namespace {

// A brush of kind H made by one of the creating calls: its handle to the wrapper's field, the
// call's status to its status field.
template <class H, class Make>
void MakeBrush(GpBrush*& nativeBrush, Status& lastResult, Make make) {
    H* brush = nullptr;
    lastResult = make(&brush);
    nativeBrush = brush;
}

}  // namespace

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(nullptr, Ok) {
    MakeBrush<GpSolidFill>(nativeBrush, lastResult, [&](GpSolidFill** b) { return GdipCreateSolidFill(color, b); });
}

TGPSolidBrush::TGPSolidBrush() : TGPBrush(nullptr, Ok) {}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode) : TGPBrush(nullptr, Ok) {
    GpImage* img = image ? image->nativeImage : nullptr;
    MakeBrush<GpTexture>(nativeBrush, lastResult, [&](GpTexture** t) { return GdipCreateTexture(img, wrapMode, t); });
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode, float dstX, float dstY, float dstWidth, float dstHeight)
    : TGPBrush(nullptr, Ok) {
    GpImage* img = image ? image->nativeImage : nullptr;
    MakeBrush<GpTexture>(nativeBrush, lastResult,
                [&](GpTexture** t) { return GdipCreateTexture2(img, wrapMode, dstX, dstY, dstWidth, dstHeight, t); });
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode, int dstX, int dstY, int dstWidth, int dstHeight)
    : TGPBrush(nullptr, Ok) {
    GpImage* img = image ? image->nativeImage : nullptr;
    MakeBrush<GpTexture>(nativeBrush, lastResult,
                [&](GpTexture** t) { return GdipCreateTexture2I(img, wrapMode, dstX, dstY, dstWidth, dstHeight, t); });
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, const TGPRectF& dstRect, const TGPImageAttributes* imageAttributes)
    : TGPBrush(nullptr, Ok) {
    GpImage* img = image ? image->nativeImage : nullptr;
    GpImageAttributes* attr = imageAttributes ? imageAttributes->nativeImageAttr : nullptr;
    MakeBrush<GpTexture>(nativeBrush, lastResult, [&](GpTexture** t) {
        return GdipCreateTextureIA(img, attr, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height, t);
    });
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, const TGPRect& dstRect, const TGPImageAttributes* imageAttributes)
    : TGPBrush(nullptr, Ok) {
    GpImage* img = image ? image->nativeImage : nullptr;
    GpImageAttributes* attr = imageAttributes ? imageAttributes->nativeImageAttr : nullptr;
    MakeBrush<GpTexture>(nativeBrush, lastResult, [&](GpTexture** t) {
        return GdipCreateTextureIAI(img, attr, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height, t);
    });
}

TGPTextureBrush::TGPTextureBrush() : TGPBrush(nullptr, Ok) {}

GpTexture* TGPTextureBrush::Texture() const { return static_cast<GpTexture*>(nativeBrush); }

Status TGPTextureBrush::ResetTransform() { return SetStatus(GdipResetTextureTransform(Texture())); }

Status TGPTextureBrush::TranslateTransform(float dx, float dy, MatrixOrder order) {
    return SetStatus(GdipTranslateTextureTransform(Texture(), dx, dy, order));
}

Status TGPTextureBrush::ScaleTransform(float sx, float sy, MatrixOrder order) {
    return SetStatus(GdipScaleTextureTransform(Texture(), sx, sy, order));
}

Status TGPTextureBrush::RotateTransform(float angle, MatrixOrder order) {
    return SetStatus(GdipRotateTextureTransform(Texture(), angle, order));
}

Status TGPTextureBrush::SetWrapMode(WrapMode wrapMode) { return SetStatus(GdipSetTextureWrapMode(Texture(), wrapMode)); }

WrapMode TGPTextureBrush::GetWrapMode() {
    WrapMode wrapMode = WrapModeTile;
    SetStatus(GdipGetTextureWrapMode(Texture(), &wrapMode));
    return wrapMode;
}

std::unique_ptr<TGPImage> TGPTextureBrush::GetImage() {
    GpImage* image = nullptr;
    SetStatus(GdipGetTextureImage(Texture(), &image));
    return std::unique_ptr<TGPImage>(new TGPImage(image, lastResult));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2) {
    MakeBrush<GpLineGradient>(nativeBrush, lastResult,
                 [&](GpLineGradient** b) { return GdipCreateLineBrush(&point1, &point2, color1, color2, WrapModeTile, b); });
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2) {
    MakeBrush<GpLineGradient>(nativeBrush, lastResult,
                 [&](GpLineGradient** b) { return GdipCreateLineBrushI(&point1, &point2, color1, color2, WrapModeTile, b); });
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode) {
    MakeBrush<GpLineGradient>(nativeBrush, lastResult,
                 [&](GpLineGradient** b) { return GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, b); });
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode) {
    MakeBrush<GpLineGradient>(nativeBrush, lastResult,
                 [&](GpLineGradient** b) { return GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, b); });
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle, bool isAngleScalable) {
    MakeBrush<GpLineGradient>(nativeBrush, lastResult, [&](GpLineGradient** b) {
        return GdipCreateLineBrushFromRectWithAngle(&rect, color1, color2, angle, isAngleScalable, WrapModeTile, b);
    });
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, float angle, bool isAngleScalable) {
    MakeBrush<GpLineGradient>(nativeBrush, lastResult, [&](GpLineGradient** b) {
        return GdipCreateLineBrushFromRectWithAngleI(&rect, color1, color2, angle, isAngleScalable, WrapModeTile, b);
    });
}

GpLineGradient* TGPLinearGradientBrush::Gradient() const { return static_cast<GpLineGradient*>(nativeBrush); }

Status TGPLinearGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
    return SetStatus(GdipSetLineGammaCorrection(Gradient(), useGammaCorrection));
}

Status TGPLinearGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count) {
    if (count <= 0) return SetStatus(InvalidParameter);
    return SetStatus(GdipSetLinePresetBlend(Gradient(), presetColors, blendPositions, count));
}

TGPHatchBrush::TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor) : TGPBrush(nullptr, Ok) {
    MakeBrush<GpHatch>(nativeBrush, lastResult, [&](GpHatch** b) { return GdipCreateHatchBrush(hatchStyle, foreColor, backColor, b); });
}

TGPHatchBrush::TGPHatchBrush() : TGPBrush(nullptr, Ok) {}

GpHatch* TGPHatchBrush::Hatch() const { return static_cast<GpHatch*>(nativeBrush); }

HatchStyle TGPHatchBrush::GetHatchStyle() {
    HatchStyle style = HatchStyleHorizontal;
    SetStatus(GdipGetHatchStyle(Hatch(), &style));
    return style;
}

Status TGPHatchBrush::GetForegroundColor(ARGB& color) { return SetStatus(GdipGetHatchForegroundColor(Hatch(), &color)); }

Status TGPHatchBrush::GetBackgroundColor(ARGB& color) { return SetStatus(GdipGetHatchBackgroundColor(Hatch(), &color)); }

TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath* path) : TGPBrush(nullptr, Ok) {
    GpPath* p = path ? path->nativePath : nullptr;
    MakeBrush<GpPathGradient>(nativeBrush, lastResult, [&](GpPathGradient** b) { return GdipCreatePathGradientFromPath(p, b); });
}

GpPathGradient* TGPPathGradientBrush::Gradient() const { return static_cast<GpPathGradient*>(nativeBrush); }

Status TGPPathGradientBrush::GetCenterColor(ARGB& color) {
    SetStatus(GdipGetPathGradientCenterColor(Gradient(), &color));
    return lastResult;
}

Status TGPPathGradientBrush::SetCenterColor(ARGB color) {
    SetStatus(GdipSetPathGradientCenterColor(Gradient(), color));
    return lastResult;
}

int TGPPathGradientBrush::GetPointCount() {
    INT count = 0;
    SetStatus(GdipGetPathGradientPointCount(Gradient(), &count));
    return count;
}

Status TGPPathGradientBrush::GetSurroundColors(ARGB* colors, int& count) {
    if (!colors) return SetStatus(InvalidParameter);
    INT available = 0;
    Status status = SetStatus(GdipGetPathGradientSurroundColorCount(Gradient(), &available));
    if (status != Ok) return status;
    if (count < available || available <= 0) return SetStatus(InsufficientBuffer);
    INT delivered = available;
    status = SetStatus(GdipGetPathGradientSurroundColorsWithCount(Gradient(), colors, &delivered));
    if (status == Ok) count = delivered;
    return status;
}

Status TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int& count) {
    if (!colors) return SetStatus(InvalidParameter);
    int points = GetPointCount();
    if (count > points || points <= 0) return SetStatus(InvalidParameter);
    INT taken = count;
    Status status = SetStatus(GdipSetPathGradientSurroundColorsWithCount(Gradient(), colors, &taken));
    if (status == Ok) count = taken;
    return status;
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPointF& point) { return SetStatus(GdipGetPathGradientCenterPoint(Gradient(), &point)); }

Status TGPPathGradientBrush::GetCenterPoint(TGPPoint& point) { return SetStatus(GdipGetPathGradientCenterPointI(Gradient(), &point)); }

Status TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
    return SetStatus(GdipSetPathGradientCenterPoint(Gradient(), &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point) {
    return SetStatus(GdipSetPathGradientCenterPointI(Gradient(), &point));
}

Status TGPPathGradientBrush::SetWrapMode(WrapMode wrapMode) { return SetStatus(GdipSetPathGradientWrapMode(Gradient(), wrapMode)); }

Status TGPPathGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
    return SetStatus(GdipSetPathGradientGammaCorrection(Gradient(), useGammaCorrection));
}

Status TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count) {
    if (count <= 0 || !presetColors) return SetStatus(InvalidParameter);
    return SetStatus(GdipSetPathGradientPresetBlend(Gradient(), presetColors, blendPositions, count));
}

// ---- Pens -------------------------------------------------------------------------------------

TGPPen::TGPPen(ARGB color, float width) { lastResult = GdipCreatePen1(color, width, UnitWorld, &nativePen); }

TGPPen::TGPPen(const TGPBrush* brush, float width) {
    lastResult = GdipCreatePen2(brush ? brush->nativeBrush : nullptr, width, UnitWorld, &nativePen);
}

TGPPen::~TGPPen() {
    if (nativePen) GdipDeletePen(nativePen);
}

Status TGPPen::SetStatus(Status status) { return Keep(lastResult, status); }

Status TGPPen::SetBrush(const TGPBrush* brush) {
    return SetStatus(GdipSetPenBrushFill(nativePen, brush ? brush->nativeBrush : nullptr));
}

std::unique_ptr<TGPBrush> TGPPen::GetBrush() {
    std::unique_ptr<TGPBrush> brush;
    switch (GetPenType()) {
        case PenTypeSolidColor: brush.reset(new TGPSolidBrush()); break;
        case PenTypeHatchFill: brush.reset(new TGPHatchBrush()); break;
        case PenTypeTextureFill: brush.reset(new TGPTextureBrush()); break;
        case PenTypePathGradient: brush.reset(new TGPBrush()); break;
        case PenTypeLinearGradient: brush.reset(new TGPLinearGradientBrush()); break;
        default: return nullptr;
    }
    GpBrush* native = nullptr;
    SetStatus(GdipGetPenBrushFill(nativePen, &native));
    brush->nativeBrush = native;
    return brush;
}

DashStyle TGPPen::GetDashStyle() {
    DashStyle style = DashStyleSolid;
    SetStatus(GdipGetPenDashStyle(nativePen, &style));
    return style;
}

Status TGPPen::SetDashStyle(DashStyle dashStyle) { return SetStatus(GdipSetPenDashStyle(nativePen, dashStyle)); }

Status TGPPen::SetEndCap(LineCap endCap) { return SetStatus(GdipSetPenEndCap(nativePen, endCap)); }

PenType TGPPen::GetPenType() {
    PenType type = PenTypeUnknown;
    SetStatus(GdipGetPenFillType(nativePen, &type));
    return type;
}

// ---- Image attributes -------------------------------------------------------------------------

TGPImageAttributes::TGPImageAttributes() { lastResult = GdipCreateImageAttributes(&nativeImageAttr); }

TGPImageAttributes::TGPImageAttributes(GpImageAttributes* imageAttr, Status status)
    : nativeImageAttr(imageAttr), lastResult(status) {}

TGPImageAttributes::~TGPImageAttributes() {
    if (nativeImageAttr) GdipDisposeImageAttributes(nativeImageAttr);
}

Status TGPImageAttributes::SetStatus(Status status) { return Keep(lastResult, status); }

std::unique_ptr<TGPImageAttributes> TGPImageAttributes::Clone() {
    GpImageAttributes* clone = nullptr;
    Status status = SetStatus(GdipCloneImageAttributes(nativeImageAttr, &clone));
    return std::unique_ptr<TGPImageAttributes>(new TGPImageAttributes(clone, status));
}

Status TGPImageAttributes::SetToIdentity(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesToIdentity(nativeImageAttr, type));
}

Status TGPImageAttributes::Reset(ColorAdjustType type) { return SetStatus(GdipResetImageAttributes(nativeImageAttr, type)); }

Status TGPImageAttributes::SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 1, &colorMatrix, nullptr, mode));
}

Status TGPImageAttributes::ClearColorMatrix(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 0, nullptr, nullptr, ColorMatrixFlagsDefault));
}

Status TGPImageAttributes::SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix, ColorMatrixFlags mode,
                                            ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 1, &colorMatrix, &grayMatrix, mode));
}

Status TGPImageAttributes::ClearColorMatrices(ColorAdjustType type) { return ClearColorMatrix(type); }

Status TGPImageAttributes::SetThreshold(float threshold, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesThreshold(nativeImageAttr, type, 1, threshold));
}

Status TGPImageAttributes::ClearThreshold(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesThreshold(nativeImageAttr, type, 0, 0.0f));
}

Status TGPImageAttributes::SetGamma(float gamma, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesGamma(nativeImageAttr, type, 1, gamma));
}

Status TGPImageAttributes::ClearGamma(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesGamma(nativeImageAttr, type, 0, 0.0f));
}

Status TGPImageAttributes::SetNoOp(ColorAdjustType type) { return SetStatus(GdipSetImageAttributesNoOp(nativeImageAttr, type, 1)); }

Status TGPImageAttributes::ClearNoOp(ColorAdjustType type) { return SetStatus(GdipSetImageAttributesNoOp(nativeImageAttr, type, 0)); }

Status TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, type, 1, colorLow, colorHigh));
}

Status TGPImageAttributes::ClearColorKey(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, type, 0, 0, 0));
}

Status TGPImageAttributes::SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, type, 1, channelFlags));
}

Status TGPImageAttributes::ClearOutputChannel(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, type, 0, ColorChannelFlagsLast));
}

Status TGPImageAttributes::SetOutputChannelColorProfile(const String& colorProfileFilename, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, 1, colorProfileFilename.c_str()));
}

Status TGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, 0, nullptr));
}

Status TGPImageAttributes::SetRemapTable(UINT mapSize, const ColorMap* map, ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, type, 1, mapSize, map));
}

Status TGPImageAttributes::ClearRemapTable(ColorAdjustType type) {
    return SetStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, type, 0, 0, nullptr));
}

Status TGPImageAttributes::SetBrushRemapTable(UINT mapSize, const ColorMap* map) {
    return SetRemapTable(mapSize, map, ColorAdjustTypeBrush);
}

Status TGPImageAttributes::ClearBrushRemapTable() { return ClearRemapTable(ColorAdjustTypeBrush); }

Status TGPImageAttributes::SetWrapMode(WrapMode wrap, ARGB color, bool clamp) {
    return SetStatus(GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp));
}

Status TGPImageAttributes::GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType) {
    return SetStatus(GdipGetImageAttributesAdjustedPalette(nativeImageAttr, colorPalette, colorAdjustType));
}

Status TGPImageAttributes::GetLastStatus() { return std::exchange(lastResult, Ok); }

// ---- Images -----------------------------------------------------------------------------------

TGPImage::TGPImage(const String& filename, bool useEmbeddedColorManagement) {
    lastResult = useEmbeddedColorManagement ? GdipLoadImageFromFileICM(filename.c_str(), &nativeImage)
                                            : GdipLoadImageFromFile(filename.c_str(), &nativeImage);
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
    lastResult = useEmbeddedColorManagement ? GdipLoadImageFromStreamICM(stream, &nativeImage)
                                            : GdipLoadImageFromStream(stream, &nativeImage);
}

TGPImage::TGPImage(GpImage* image, Status status) : nativeImage(image), lastResult(status) {}

TGPImage::~TGPImage() {
    if (nativeImage) GdipDisposeImage(nativeImage);
}

Status TGPImage::SetStatus(Status status) { return Keep(lastResult, status); }

Status TGPImage::SaveAdd(const TGPImage* newImage, const EncoderParameters* encoderParams) {
    if (!newImage) return SetStatus(InvalidParameter);
    return SetStatus(GdipSaveAddImage(nativeImage, newImage->nativeImage, encoderParams));
}

Status TGPImage::Save(const String& filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams) {
    return SetStatus(GdipSaveImageToFile(nativeImage, filename.c_str(), &clsidEncoder, encoderParams));
}

Status TGPImage::Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams) {
    return SetStatus(GdipSaveImageToStream(nativeImage, stream, &clsidEncoder, encoderParams));
}

TGPImageFormat TGPImage::GetFormat() {
    static const std::pair<GUID, TGPImageFormat> kFormats[] = {
        {ImageFormatMemoryBMP, ifMemoryBMP}, {ImageFormatBMP, ifBMP}, {ImageFormatEMF, ifEMF}, {ImageFormatWMF, ifWMF},
        {ImageFormatJPEG, ifJPEG},           {ImageFormatPNG, ifPNG}, {ImageFormatGIF, ifGIF}, {ImageFormatTIFF, ifTIFF},
        {ImageFormatEXIF, ifEXIF},           {ImageFormatIcon, ifIcon}};
    GUID format = ImageFormatUndefined;
    GdipGetImageRawFormat(nativeImage, &format);
    for (const auto& [id, value] : kFormats)
        if (id == format) return value;
    return ifUndefined;
}

PixelFormat TGPImage::GetPixelFormat() {
    PixelFormat format = PixelFormatUndefined;
    SetStatus(GdipGetImagePixelFormat(nativeImage, &format));
    return format;
}

UINT TGPImage::GetPixelDepth() { return static_cast<UINT>(GetPixelFormat() >> 8) & 0xFF; }

bool TGPImage::HasPalette() { return (GetPixelFormat() & PixelFormatIndexed) != 0; }

bool TGPImage::HasAlphaChannel() { return (GetPixelFormat() & PixelFormatAlpha) != 0; }

std::unique_ptr<TGPImage> TGPImage::GetThumbnailImage(UINT thumbWidth, UINT thumbHeight, GetThumbnailImageAbort callback,
                                                      void* callbackData) {
    GpImage* thumb = nullptr;
    SetStatus(GdipGetImageThumbnail(nativeImage, thumbWidth, thumbHeight, &thumb, callback, callbackData));
    return std::unique_ptr<TGPImage>(new TGPImage(thumb, lastResult));
}

UINT TGPImage::GetWidth() {
    UINT width = 0;
    return SetStatus(GdipGetImageWidth(nativeImage, &width)) == Ok ? width : 0;
}

UINT TGPImage::GetHeight() {
    UINT height = 0;
    return SetStatus(GdipGetImageHeight(nativeImage, &height)) == Ok ? height : 0;
}

Status TGPImage::RotateFlip(RotateFlipType rotateFlipType) { return SetStatus(GdipImageRotateFlip(nativeImage, rotateFlipType)); }

TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement) : TGPImage(nullptr, Ok) {
    GpBitmap* bitmap = nullptr;
    lastResult = useEmbeddedColorManagement ? GdipCreateBitmapFromStreamICM(stream, &bitmap) : GdipCreateBitmapFromStream(stream, &bitmap);
    nativeImage = bitmap;
}

TGPBitmap::TGPBitmap(int width, int height, PixelFormat format) : TGPImage(nullptr, Ok) {
    GpBitmap* bitmap = nullptr;
    lastResult = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap);
    nativeImage = bitmap;
}

TGPBitmap::TGPBitmap(GpBitmap* nativeBitmap) : TGPImage(nativeBitmap, Ok) {}

std::unique_ptr<TGPBitmap> TGPBitmap::FromStream(IStream* stream, bool useEmbeddedColorManagement) {
    return std::unique_ptr<TGPBitmap>(new TGPBitmap(stream, useEmbeddedColorManagement));
}

GpBitmap* TGPBitmap::Bitmap() const { return static_cast<GpBitmap*>(nativeImage); }

Status TGPBitmap::GetPixel(int x, int y, ARGB& color) { return SetStatus(GdipBitmapGetPixel(Bitmap(), x, y, &color)); }

Status TGPBitmap::SetPixel(int x, int y, ARGB color) { return SetStatus(GdipBitmapSetPixel(Bitmap(), x, y, color)); }

Status TGPBitmap::GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn) {
    return SetStatus(GdipCreateHBITMAPFromBitmap(Bitmap(), &hbmReturn, colorBackground));
}
