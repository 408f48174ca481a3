#pragma once
// Unit AdvGDIP: one class per kind of GDI+ object over the flat API (platform/gdiplus), each
// owning one native handle and the last status, plus the small records and colour helpers. No
// method raises on a GDI+ failure: it answers the status and keeps a failing one in the status
// field (an Ok leaves the field as it is). Every pixel comes from a flat call; nothing here
// draws by itself.
//
// The flat API's types and numbering (Status, Unit, SmoothingMode, ...) stay in namespace
// gdiplus, so that Ok and its kin do not land in every includer's scope.
//
// Every wrapper lives in GDI+'s heap (GdipAlloc); creating one while GDI+ is not running starts
// it. Results of Clone, GetBrush, GetImage, GetThumbnailImage, FromImage, FromStream and
// MakeFont are new wrappers the caller owns. A wrapper argument may be nil: it passes a nil
// handle, which the flat API refuses.
#include <cstdint>
#include <memory>

#include "platform/gdiplus/GdiPlus.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/ui/Graphics.h"

using ARGB = gdiplus::ARGB;
using TGPPoint = gdiplus::GpPoint;
using TGPPointF = gdiplus::GpPointF;
using TGPRect = gdiplus::GpRect;
using TGPRectF = gdiplus::GpRectF;

enum TGPImageFormat { ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon };

// ---- Free helpers -----------------------------------------------------------------------------

// An opaque ARGB from a platform colour, system colours resolved to their present RGB first.
ARGB ArgbFromColor(TColor Color);
TGPPoint MakeGPPoint(int X, int Y);
TGPRectF MakeGPRectF(float X, float Y, float Width, float Height);
ARGB ArgbFromChannels(uint8_t a, uint8_t r, uint8_t g, uint8_t b);
ARGB ArgbFromRgb(uint8_t r, uint8_t g, uint8_t b);
uint8_t ArgbRed(ARGB color);
uint8_t ArgbGreen(ARGB color);
uint8_t ArgbBlue(ARGB color);

// ---- Start-up and shutdown --------------------------------------------------------------------

// GDI+ runs from the program's static initialisation to its exit: Startup and Shutdown run then
// by themselves, and are callable so that a program (a test) can run them again. Shutdown does
// nothing while the unit has not started GDI+.
namespace advgdip {
// Version 1, no debug callback, background thread suppressed, external codecs not suppressed.
extern gdiplus::GdiplusStartupInput StartupInput;
extern gdiplus::GdiplusStartupOutput StartupOutput;
// The start-up token, and the token of the notification hook (0 when the hook was not called).
extern gdiplus::ULONG_PTR GdiplusToken;
extern gdiplus::ULONG_PTR HookToken;
// Starts GDI+; on a system of major version 5 or lower also calls the notification hook.
void Startup();
// On a system of major version 5 or lower calls the unhook with the hook token; shuts GDI+ down.
void Shutdown();
}  // namespace advgdip

// ---- Base -------------------------------------------------------------------------------------

// Allocation in GDI+'s heap. Wrappers are neither copied nor moved: each owns its handle.
class TGdiplusBase {
public:
    virtual ~TGdiplusBase() = default;
    TGdiplusBase(const TGdiplusBase&) = delete;
    TGdiplusBase& operator=(const TGdiplusBase&) = delete;
    // GdipAlloc; when that gives nil (GDI+ not running), starts GDI+ with the unit's input,
    // output and token and asks once more. Raises std::bad_alloc when both fail.
    static void* operator new(size_t size);
    static void operator delete(void* block);

protected:
    TGdiplusBase() = default;
};

class TGPGraphicsPath;
class TGPImage;
class TGPBrush;

// Tests read the handles and statuses of the wrappers through this (defined by them only).
struct TGPInspect;

class TGPRegion : public TGdiplusBase {
public:
    explicit TGPRegion(const TGPRectF& rect);
    explicit TGPRegion(const TGPGraphicsPath* path);
    ~TGPRegion() override;
    gdiplus::Status Exclude(const TGPGraphicsPath* path);
    gdiplus::Status Union(const TGPRegion* region);

protected:
    friend class TGPGraphics;
    friend struct TGPInspect;
    gdiplus::GpRegion* nativeRegion = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

class TGPImageAttributes : public TGdiplusBase {
public:
    TGPImageAttributes();
    TGPImageAttributes(gdiplus::GpImageAttributes* imageAttr, gdiplus::Status status);
    ~TGPImageAttributes() override;
    std::unique_ptr<TGPImageAttributes> Clone();
    gdiplus::Status SetToIdentity(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status Reset(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetColorMatrix(const gdiplus::ColorMatrix& colorMatrix,
                                   gdiplus::ColorMatrixFlags mode = gdiplus::ColorMatrixFlagsDefault,
                                   gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearColorMatrix(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetColorMatrices(const gdiplus::ColorMatrix& colorMatrix, const gdiplus::ColorMatrix& grayMatrix,
                                     gdiplus::ColorMatrixFlags mode = gdiplus::ColorMatrixFlagsDefault,
                                     gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearColorMatrices(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetThreshold(float threshold, gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearThreshold(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetGamma(float gamma, gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearGamma(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetNoOp(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearNoOp(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    // Colours in the closed range from colorLow to colorHigh are drawn transparent.
    gdiplus::Status SetColorKey(ARGB colorLow, ARGB colorHigh, gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearColorKey(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetOutputChannel(gdiplus::ColorChannelFlags channelFlags,
                                     gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearOutputChannel(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetOutputChannelColorProfile(const String& colorProfileFilename,
                                                 gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearOutputChannelColorProfile(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetRemapTable(UINT mapSize, const gdiplus::ColorMap* map,
                                  gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status ClearRemapTable(gdiplus::ColorAdjustType type = gdiplus::ColorAdjustTypeDefault);
    gdiplus::Status SetBrushRemapTable(UINT mapSize, const gdiplus::ColorMap* map);
    gdiplus::Status ClearBrushRemapTable();
    gdiplus::Status SetWrapMode(gdiplus::WrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
    gdiplus::Status GetAdjustedPalette(gdiplus::ColorPalette* colorPalette, gdiplus::ColorAdjustType colorAdjustType);
    // The status field, which goes back to Ok.
    gdiplus::Status GetLastStatus();

protected:
    friend class TGPGraphics;
    friend class TGPTextureBrush;
    friend struct TGPInspect;
    gdiplus::GpImageAttributes* nativeImageAttr = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

// Only a nil-or-collection argument: the layer has no font collections of its own.
class TGPFontCollection : public TGdiplusBase {
public:
    TGPFontCollection() = default;

protected:
    friend class TGPFontFamily;
    friend class TGPFont;
    friend struct TGPInspect;
    gdiplus::GpFontCollection* nativeFontCollection = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
};

class TGPFontFamily : public TGdiplusBase {
public:
    explicit TGPFontFamily(const String& name, const TGPFontCollection* fontCollection = nullptr);
    TGPFontFamily(gdiplus::GpFontFamily* nativeOrig, gdiplus::Status status);
    ~TGPFontFamily() override;
    // One family object each for the process, made on first use; never free them.
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();

protected:
    friend class TGPFont;
    friend class TGPGraphics;
    friend class TGPGraphicsPath;
    friend struct TGPInspect;
    gdiplus::GpFontFamily* nativeFamily = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;

private:
    static TGPFontFamily* Generic(TGPFontFamily*& slot, gdiplus::Status (*get)(gdiplus::GpFontFamily**));
};

class TGPFont : public TGdiplusBase {
public:
    TGPFont(const TGPFontFamily* family, float emSize, int style = gdiplus::FontStyleRegular,
            gdiplus::Unit unit = gdiplus::UnitPoint);
    // The family by name; when the font cannot be made with it, the generic sans-serif family.
    TGPFont(const String& familyName, float emSize, TFontStyles style = TFontStyles(), gdiplus::Unit unit = gdiplus::UnitPoint,
            const TGPFontCollection* fontCollection = nullptr);
    TGPFont(gdiplus::GpFont* font, gdiplus::Status status);
    ~TGPFont() override;

protected:
    friend class TGPGraphics;
    friend struct TGPInspect;
    gdiplus::GpFont* nativeFont = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
};

// ---- Brushes ----------------------------------------------------------------------------------

class TGPBrush : public TGdiplusBase {
public:
    // No native brush; status NotImplemented.
    TGPBrush();
    TGPBrush(gdiplus::GpBrush* nativeBrush, gdiplus::Status status);
    ~TGPBrush() override;

protected:
    friend class TGPGraphics;
    friend class TGPPen;
    friend struct TGPInspect;
    gdiplus::GpBrush* nativeBrush = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

class TGPSolidBrush : public TGPBrush {
public:
    explicit TGPSolidBrush(ARGB color);
    // No native brush; status Ok.
    TGPSolidBrush();
};

class TGPTextureBrush : public TGPBrush {
public:
    explicit TGPTextureBrush(const TGPImage* image, gdiplus::WrapMode wrapMode = gdiplus::WrapModeTile);
    TGPTextureBrush(const TGPImage* image, gdiplus::WrapMode wrapMode, const TGPRectF& dstRect);
    TGPTextureBrush(const TGPImage* image, gdiplus::WrapMode wrapMode, float dstX, float dstY, float dstWidth, float dstHeight);
    TGPTextureBrush(const TGPImage* image, gdiplus::WrapMode wrapMode, const TGPRect& dstRect);
    TGPTextureBrush(const TGPImage* image, gdiplus::WrapMode wrapMode, int dstX, int dstY, int dstWidth, int dstHeight);
    TGPTextureBrush(const TGPImage* image, const TGPRectF& dstRect, const TGPImageAttributes* imageAttributes = nullptr);
    TGPTextureBrush(const TGPImage* image, const TGPRect& dstRect, const TGPImageAttributes* imageAttributes = nullptr);
    // No native brush; status Ok.
    TGPTextureBrush();
    gdiplus::Status ResetTransform();
    gdiplus::Status TranslateTransform(float dx, float dy, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status ScaleTransform(float sx, float sy, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status RotateTransform(float angle, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status SetWrapMode(gdiplus::WrapMode wrapMode);
    gdiplus::WrapMode GetWrapMode();
    // A copy of the brush's image, with the brush's status.
    std::unique_ptr<TGPImage> GetImage();

private:
    gdiplus::GpTexture* Texture() const;
};

class TGPLinearGradientBrush : public TGPBrush {
public:
    // The point and rectangle forms tile the gradient (wrap mode 0).
    TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, gdiplus::LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, gdiplus::LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle, bool isAngleScalable = false);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, float angle, bool isAngleScalable = false);
    // No native brush; status NotImplemented, as the base's.
    TGPLinearGradientBrush() = default;
    gdiplus::Status SetGammaCorrection(bool useGammaCorrection);
    // A count of 0 or less answers InvalidParameter without a call.
    gdiplus::Status SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count);

private:
    gdiplus::GpLineGradient* Gradient() const;
};

class TGPHatchBrush : public TGPBrush {
public:
    TGPHatchBrush(gdiplus::HatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);
    // No native brush; status Ok.
    TGPHatchBrush();
    gdiplus::HatchStyle GetHatchStyle();
    gdiplus::Status GetForegroundColor(ARGB& color);
    gdiplus::Status GetBackgroundColor(ARGB& color);

private:
    gdiplus::GpHatch* Hatch() const;
};

class TGPPathGradientBrush : public TGPBrush {
public:
    explicit TGPPathGradientBrush(const TGPGraphicsPath* path);
    // Both answer the status field after the call.
    gdiplus::Status GetCenterColor(ARGB& color);
    gdiplus::Status SetCenterColor(ARGB color);
    int GetPointCount();
    // nil colors: InvalidParameter. count smaller than the colours the brush has, or a brush
    // with none: InsufficientBuffer. On Ok count becomes the number delivered.
    gdiplus::Status GetSurroundColors(ARGB* colors, int& count);
    // nil colors, a count above the brush's point count or a brush of no points: InvalidParameter
    // without a call. On Ok count becomes the number GDI+ took.
    gdiplus::Status SetSurroundColors(const ARGB* colors, int& count);
    gdiplus::Status GetCenterPoint(TGPPointF& point);
    gdiplus::Status GetCenterPoint(TGPPoint& point);
    gdiplus::Status SetCenterPoint(const TGPPointF& point);
    gdiplus::Status SetCenterPoint(const TGPPoint& point);
    gdiplus::Status SetWrapMode(gdiplus::WrapMode wrapMode);
    gdiplus::Status SetGammaCorrection(bool useGammaCorrection);
    // A count of 0 or less, or nil colours, answers InvalidParameter without a call.
    gdiplus::Status SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count);

private:
    gdiplus::GpPathGradient* Gradient() const;
};

// ---- Pens, string formats, paths --------------------------------------------------------------

class TGPPen : public TGdiplusBase {
public:
    // Widths in world units.
    explicit TGPPen(ARGB color, float width = 1.0f);
    explicit TGPPen(const TGPBrush* brush, float width = 1.0f);
    ~TGPPen() override;
    gdiplus::Status SetBrush(const TGPBrush* brush);
    // A new wrapper of the kind the pen's fill type names, holding a copy of the pen's brush: a
    // solid, hatch or texture brush, a plain brush for a path gradient; the path-gradient and
    // linear-gradient wrappers carry the status NotImplemented. nil for any other type.
    std::unique_ptr<TGPBrush> GetBrush();
    gdiplus::DashStyle GetDashStyle();
    gdiplus::Status SetDashStyle(gdiplus::DashStyle dashStyle);
    gdiplus::Status SetEndCap(gdiplus::LineCap endCap);
    gdiplus::PenType GetPenType();

protected:
    friend class TGPGraphics;
    friend struct TGPInspect;
    gdiplus::GpPen* nativePen = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

class TGPStringFormat : public TGdiplusBase {
public:
    explicit TGPStringFormat(int formatFlags = 0, WORD language = 0);
    // A clone of format.
    explicit TGPStringFormat(const TGPStringFormat* format);
    TGPStringFormat(gdiplus::GpStringFormat* clonedStringFormat, gdiplus::Status status);
    ~TGPStringFormat() override;
    gdiplus::Status SetAlignment(gdiplus::StringAlignment align);
    gdiplus::StringAlignment GetAlignment();
    gdiplus::Status SetLineAlignment(gdiplus::StringAlignment align);
    gdiplus::StringAlignment GetLineAlignment();
    gdiplus::Status SetTrimming(gdiplus::StringTrimming trimming);
    gdiplus::StringTrimming GetTrimming();
    gdiplus::Status SetFormatFlags(int flags);
    int GetFormatFlags();
    gdiplus::Status SetHotkeyPrefix(gdiplus::HotkeyPrefix hotkeyPrefix);
    gdiplus::HotkeyPrefix GetHotkeyPrefix();

protected:
    friend class TGPGraphics;
    friend class TGPGraphicsPath;
    friend struct TGPInspect;
    gdiplus::GpStringFormat* nativeFormat = nullptr;
    gdiplus::Status lastError = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

class TGPGraphicsPath : public TGdiplusBase {
public:
    explicit TGPGraphicsPath(gdiplus::FillMode fillMode = gdiplus::FillModeAlternate);
    explicit TGPGraphicsPath(gdiplus::GpPath* nativePath);
    ~TGPGraphicsPath() override;
    gdiplus::Status CloseFigure();
    gdiplus::Status AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
    gdiplus::Status AddLine(float x1, float y1, float x2, float y2);
    gdiplus::Status AddLines(const TGPPoint* points, int count);
    gdiplus::Status AddRectangle(const TGPRectF& rect);
    gdiplus::Status AddRectangle(const TGPRect& rect);
    // Angles in degrees, clockwise from the positive x axis.
    gdiplus::Status AddArc(const TGPRectF& rect, float startAngle, float sweepAngle);
    gdiplus::Status AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    gdiplus::Status AddEllipse(const TGPRectF& rect);
    gdiplus::Status AddEllipse(float x, float y, float width, float height);
    gdiplus::Status Reset();
    gdiplus::Status AddPie(const TGPRectF& rect, float startAngle, float sweepAngle);
    gdiplus::Status AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle);
    gdiplus::Status AddPolygon(const TGPPointF* points, int count);
    gdiplus::Status AddPolygon(const TGPPoint* points, int count);
    gdiplus::Status AddCurve(const TGPPointF* points, int count);
    gdiplus::Status AddCurve(const TGPPoint* points, int count);
    gdiplus::Status AddCurve(const TGPPoint* points, int count, float tension);
    gdiplus::Status AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
    gdiplus::Status AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);
    gdiplus::Status AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    // length: the characters of text to take (a negative one, or one past the text, takes it all).
    gdiplus::Status AddString(const String& text, int length, const TGPFontFamily* family, int style, float emSize,
                              const TGPRectF& layoutRect, const TGPStringFormat* format);

protected:
    friend class TGPRegion;
    friend class TGPGraphics;
    friend class TGPPathGradientBrush;
    friend struct TGPInspect;
    gdiplus::GpPath* nativePath = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

// ---- Images -----------------------------------------------------------------------------------

class TGPImage : public TGdiplusBase {
public:
    explicit TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
    // The stream is read from its position; it is held for the call only.
    explicit TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
    TGPImage(gdiplus::GpImage* nativeImage, gdiplus::Status status);
    ~TGPImage() override;
    // A nil newImage answers InvalidParameter without a call.
    gdiplus::Status SaveAdd(const TGPImage* newImage, const gdiplus::EncoderParameters* encoderParams);
    gdiplus::Status Save(const String& filename, const CLSID& clsidEncoder,
                         const gdiplus::EncoderParameters* encoderParams = nullptr);
    gdiplus::Status Save(IStream* stream, const CLSID& clsidEncoder, const gdiplus::EncoderParameters* encoderParams = nullptr);
    // The file format the image came from; ifUndefined for any other (the query's status is not kept).
    TGPImageFormat GetFormat();
    gdiplus::PixelFormat GetPixelFormat();
    // Bits 8 to 15, bit 16 (0x10000) and bit 18 (0x40000) of the pixel format.
    UINT GetPixelDepth();
    bool HasPalette();
    bool HasAlphaChannel();
    std::unique_ptr<TGPImage> GetThumbnailImage(UINT thumbWidth, UINT thumbHeight,
                                                gdiplus::GetThumbnailImageAbort callback = nullptr, void* callbackData = nullptr);
    // 0 when the query fails.
    UINT GetWidth();
    UINT GetHeight();
    gdiplus::Status RotateFlip(gdiplus::RotateFlipType rotateFlipType);

protected:
    friend class TGPGraphics;
    friend class TGPTextureBrush;
    friend struct TGPInspect;
    gdiplus::GpImage* nativeImage = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    // Kept as the platform's wrapper keeps it; nothing reads or writes it.
    gdiplus::Status loadStatus = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

class TGPBitmap : public TGPImage {
public:
    explicit TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
    // A bitmap of its own pixels (stride 0, no pixel buffer of the caller).
    TGPBitmap(int width, int height, gdiplus::PixelFormat format = gdiplus::PixelFormat32bppARGB);
    explicit TGPBitmap(gdiplus::GpBitmap* nativeBitmap);
    static std::unique_ptr<TGPBitmap> FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
    gdiplus::Status GetPixel(int x, int y, ARGB& color);
    gdiplus::Status SetPixel(int x, int y, ARGB color);
    gdiplus::Status GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);

private:
    gdiplus::GpBitmap* Bitmap() const;
};

// ---- Matrices ---------------------------------------------------------------------------------

class TGPMatrix : public TGdiplusBase {
public:
    TGPMatrix();
    TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy);
    // Maps rect onto the parallelogram of the three points (top-left, top-right, bottom-left).
    TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg);
    TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg);
    explicit TGPMatrix(gdiplus::GpMatrix* nativeMatrix);
    ~TGPMatrix() override;
    // nil when the status field is not Ok afterwards (an earlier failure not yet read counts).
    std::unique_ptr<TGPMatrix> Clone();
    // m11, m12, m21, m22, dx, dy.
    gdiplus::Status GetElements(float (&m)[6]);
    gdiplus::Status SetElements(float m11, float m12, float m21, float m22, float dx, float dy);
    // 0 when the elements cannot be read.
    float OffsetX();
    float OffsetY();
    gdiplus::Status Reset();
    gdiplus::Status Multiply(const TGPMatrix* matrix, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status Translate(float offsetX, float offsetY, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status Scale(float scaleX, float scaleY, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status Rotate(float angle, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    // A rotation about center: three steps, each appended (append) or prepended (prepend), the
    // last step's status answered.
    gdiplus::Status RotateAt(float angle, const TGPPointF& center, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status Shear(float shearX, float shearY, gdiplus::MatrixOrder order = gdiplus::MatrixOrderPrepend);
    gdiplus::Status Invert();
    gdiplus::Status TransformPoints(TGPPointF* pts, int count = 1);
    gdiplus::Status TransformPoints(TGPPoint* pts, int count = 1);
    gdiplus::Status TransformVectors(TGPPointF* pts, int count = 1);
    gdiplus::Status TransformVectors(TGPPoint* pts, int count = 1);
    bool IsInvertible();
    bool IsIdentity();
    // The status field, which goes back to Ok.
    gdiplus::Status GetLastStatus();

protected:
    friend class TGPGraphics;
    friend struct TGPInspect;
    gdiplus::GpMatrix* nativeMatrix = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};

// ---- Graphics ---------------------------------------------------------------------------------

class TGPGraphics : public TGdiplusBase {
public:
    // On a canvas handle: drawing lands in the canvas's pixels, in call order with the canvas.
    explicit TGPGraphics(HDC hdc);
    // On an image; a nil image gives a nil handle and status Ok.
    explicit TGPGraphics(TGPImage* image);
    ~TGPGraphics() override;
    static std::unique_ptr<TGPGraphics> FromImage(TGPImage* image);

    // The status of the flush is not kept.
    void Flush(gdiplus::FlushIntention intention = gdiplus::FlushIntentionFlush);
    gdiplus::Status Clear(ARGB color);
    gdiplus::Status SetTransform(const TGPMatrix* matrix);
    gdiplus::Status ResetTransform();
    HDC GetHDC();
    gdiplus::Status ReleaseHDC(HDC hdc);
    gdiplus::Status SetCompositingQuality(gdiplus::CompositingQuality compositingQuality);
    gdiplus::CompositingQuality GetCompositingQuality();

    // A font for the platform font: its family ("Arial" when GDI+ does not know the name), its
    // size in points, bold, italic and underline (strike-out dropped). A nil font gives nil and
    // keeps InvalidParameter; the text helpers then answer 0 and draw nothing.
    std::unique_ptr<TGPFont> MakeFont(TFont* AFont);
    // The box of the whole text measured in (0, 0, 10000, 10000), rounded halves to even.
    int TextHeight(const String& text, TFont* font);
    int TextWidth(const String& text, TFont* font);
    // One line of platform-font text drawn at (rect.Left, rect.Top) in the font's colour; with
    // the measure-only flag 0x400, or a background colour other than clNone, first measured into
    // rect.Right and rect.Bottom (a trailing blank counted) and, with the colour, laid on a
    // background. Answers rect.Bottom - rect.Top. Other bits of style have no effect.
    int DrawText(const String& text, int len, TRect& rect, TFont* font, uint32_t style, TColor bkColor = clNone);

    gdiplus::Status SetTextRenderingHint(gdiplus::TextRenderingHint newMode);
    gdiplus::TextRenderingHint GetTextRenderingHint();
    // -1 when the query fails.
    gdiplus::SmoothingMode GetSmoothingMode();
    gdiplus::Status SetSmoothingMode(gdiplus::SmoothingMode smoothingMode);

    gdiplus::Status DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);
    gdiplus::Status FillRectangle(const TGPBrush* brush, const TGPRectF& rect);
    gdiplus::Status FillRectangle(const TGPBrush* brush, float x, float y, float width, float height);

    // The whole text is drawn: length is not used (the narrow and wide string forms are one, the
    // layer's String being UTF-16). Font, format and brush may be nil. The origin forms lay the
    // text out in (X, Y, 0, 0).
    gdiplus::Status DrawString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush);
    gdiplus::Status DrawString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                               const TGPBrush* brush);
    gdiplus::Status DrawString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush);
    // length characters of string are measured (a negative one, or one past the text, takes it all).
    gdiplus::Status MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                                  const TGPStringFormat* stringFormat, TGPRectF& boundingBox,
                                  int* codepointsFitted = nullptr, int* linesFilled = nullptr);
    gdiplus::Status MeasureString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                                  const TGPStringFormat* stringFormat, TGPRectF& boundingBox);
    gdiplus::Status MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                                  TGPRectF& boundingBox);
    // The status field, which goes back to Ok.
    gdiplus::Status GetLastStatus();

    gdiplus::Status DrawRectangle(const TGPPen* pen, const TGPRectF& rect);
    gdiplus::Status DrawRectangle(const TGPPen* pen, float x, float y, float width, float height);
    gdiplus::Status DrawLine(const TGPPen* pen, float x1, float y1, float x2, float y2);
    gdiplus::Status DrawArc(const TGPPen* pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
    gdiplus::Status DrawArc(const TGPPen* pen, const TGPRectF& rect, float startAngle, float sweepAngle);
    gdiplus::Status DrawEllipse(const TGPPen* pen, const TGPRectF& rect);
    gdiplus::Status DrawEllipse(const TGPPen* pen, float x, float y, float width, float height);
    gdiplus::Status DrawEllipse(const TGPPen* pen, const TGPRect& rect);
    gdiplus::Status DrawEllipse(const TGPPen* pen, int x, int y, int width, int height);
    // At the image's own size, its top-left corner at (x, y).
    gdiplus::Status DrawImage(const TGPImage* image, int x, int y);
    gdiplus::Status DrawImage(const TGPImage* image, const TGPRectF& rect);
    gdiplus::Status DrawImage(const TGPImage* image, float x, float y, float width, float height);
    gdiplus::Status DrawImageRect(const TGPImage* image, int x, int y, int w, int h);
    // The fields rounded to integers, then the integer form.
    gdiplus::Status DrawImageRect(const TGPImage* image, const TGPRectF& ARect);
    gdiplus::Status FillPolygon(const TGPBrush* brush, const TGPPointF* points, int count);
    gdiplus::Status FillPolygon(const TGPBrush* brush, const TGPPointF* points, int count, gdiplus::FillMode fillMode);
    gdiplus::Status FillPolygon(const TGPBrush* brush, const TGPPoint* points, int count);
    gdiplus::Status FillPolygon(const TGPBrush* brush, const TGPPoint* points, int count, gdiplus::FillMode fillMode);
    gdiplus::Status DrawImage(const TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                              float srcheight, gdiplus::Unit srcUnit, const TGPImageAttributes* imageAttributes = nullptr,
                              gdiplus::DrawImageAbort callback = nullptr, void* callbackData = nullptr);
    gdiplus::Status FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);
    gdiplus::Status FillEllipse(const TGPBrush* brush, const TGPRectF& rect);
    gdiplus::Status FillEllipse(const TGPBrush* brush, float x, float y, float width, float height);
    gdiplus::Status FillEllipse(const TGPBrush* brush, const TGPRect& rect);
    gdiplus::Status FillEllipse(const TGPBrush* brush, int x, int y, int width, int height);
    gdiplus::Status ExcludeClip(const TGPRectF& rect);
    gdiplus::Status ExcludeClip(const TGPRegion* region);
    gdiplus::Status SetClip(const TGPRegion* region, gdiplus::CombineMode combineMode = gdiplus::CombineModeReplace);
    gdiplus::Status SetClip(const TGPGraphicsPath* path, gdiplus::CombineMode combineMode = gdiplus::CombineModeReplace);
    gdiplus::Status ResetClip();

protected:
    friend struct TGPInspect;
    gdiplus::GpGraphics* nativeGraphics = nullptr;
    gdiplus::Status lastResult = gdiplus::Ok;
    gdiplus::Status SetStatus(gdiplus::Status status);
};
