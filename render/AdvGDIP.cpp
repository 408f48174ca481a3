// Unit AdvGDIP: start-up and shutdown, allocation in GDI+'s heap, the colour helpers, and the
// wrappers of regions, font families, fonts, string formats, paths and matrices.
#include "render/AdvGDIP.h"

#include <new>

#include "platform/ui/SystemInfo.h"
#include "render/AdvGDIPImpl.h"

using namespace gdiplus;
using advgdip::detail::Keep;

// ---- Free helpers -----------------------------------------------------------------------------

ARGB ArgbFromColor(TColor Color) {
    uint32_t rgb = static_cast<uint32_t>(ColorToRGB(Color));
    return ArgbFromRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TGPPoint MakeGPPoint(int X, int Y) { return TGPPoint{X, Y}; }

TGPRectF MakeGPRectF(float X, float Y, float Width, float Height) { return TGPRectF{X, Y, Width, Height}; }

ARGB ArgbFromChannels(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<ARGB>(a) << 24 | static_cast<ARGB>(r) << 16 | static_cast<ARGB>(g) << 8 | b;
}

ARGB ArgbFromRgb(uint8_t r, uint8_t g, uint8_t b) { return ArgbFromChannels(0xFF, r, g, b); }

uint8_t ArgbRed(ARGB color) { return static_cast<uint8_t>(color >> 16); }
uint8_t ArgbGreen(ARGB color) { return static_cast<uint8_t>(color >> 8); }
uint8_t ArgbBlue(ARGB color) { return static_cast<uint8_t>(color); }

// ---- Start-up and shutdown --------------------------------------------------------------------

namespace advgdip {

GdiplusStartupInput StartupInput;
GdiplusStartupOutput StartupOutput;
ULONG_PTR GdiplusToken = 0;
ULONG_PTR HookToken = 0;

namespace {

// Whether the notification hook ran, so that the unhook answers it and nothing else.
bool Hooked = false;

// Systems up to major version 5 run the notification hook themselves, as GDI+'s background
// thread is suppressed.
bool RunsHook() {
    OSVERSIONINFO info;
    return GetVersionEx(&info) && info.dwMajorVersion <= 5;
}

}  // namespace

void Startup() {
    if (GdiplusToken) return;
    StartupInput = GdiplusStartupInput();
    StartupInput.GdiplusVersion = 1;
    StartupInput.DebugEventCallback = nullptr;
    StartupInput.SuppressBackgroundThread = 1;
    StartupInput.SuppressExternalCodecs = 0;
    StartupOutput.NotificationHook = nullptr;
    StartupOutput.NotificationUnhook = nullptr;
    GdiplusStartup(&GdiplusToken, &StartupInput, &StartupOutput);
    if (RunsHook() && StartupOutput.NotificationHook) Hooked = StartupOutput.NotificationHook(&HookToken) == Ok;
}

void Shutdown() {
    if (!GdiplusToken) return;
    if (Hooked && RunsHook() && StartupOutput.NotificationUnhook) StartupOutput.NotificationUnhook(HookToken);
    Hooked = false;
    HookToken = 0;
    GdiplusShutdown(GdiplusToken);
    GdiplusToken = 0;
}

namespace {

// GDI+ runs from the program's static initialisation to its exit.
struct UnitLife {
    UnitLife() { Startup(); }
    ~UnitLife() { Shutdown(); }
    UnitLife(const UnitLife&) = delete;
    UnitLife& operator=(const UnitLife&) = delete;
} unitLife;

}  // namespace

}  // namespace advgdip

// ---- Base -------------------------------------------------------------------------------------

void* TGdiplusBase::operator new(size_t size) {
    void* block = GdipAlloc(size);
    if (!block) {
        GdiplusStartup(&advgdip::GdiplusToken, &advgdip::StartupInput, &advgdip::StartupOutput);
        block = GdipAlloc(size);
    }
    if (!block) throw std::bad_alloc();
    return block;
}

void TGdiplusBase::operator delete(void* block) { GdipFree(block); }

// ---- Regions ----------------------------------------------------------------------------------

TGPRegion::TGPRegion(const TGPRectF& rect) { lastResult = GdipCreateRegionRect(&rect, &nativeRegion); }

TGPRegion::TGPRegion(const TGPGraphicsPath* path) {
    lastResult = GdipCreateRegionPath(path ? path->nativePath : nullptr, &nativeRegion);
}

TGPRegion::~TGPRegion() {
    if (nativeRegion) GdipDeleteRegion(nativeRegion);
}

Status TGPRegion::SetStatus(Status status) { return Keep(lastResult, status); }

Status TGPRegion::Exclude(const TGPGraphicsPath* path) {
    return SetStatus(GdipCombineRegionPath(nativeRegion, path ? path->nativePath : nullptr, CombineModeExclude));
}

Status TGPRegion::Union(const TGPRegion* region) {
    return SetStatus(GdipCombineRegionRegion(nativeRegion, region ? region->nativeRegion : nullptr, CombineModeUnion));
}

// ---- Font families and fonts ------------------------------------------------------------------

TGPFontFamily::TGPFontFamily(const String& name, const TGPFontCollection* fontCollection) {
    lastResult = GdipCreateFontFamilyFromName(name.c_str(), fontCollection ? fontCollection->nativeFontCollection : nullptr,
                                              &nativeFamily);
}

TGPFontFamily::TGPFontFamily(GpFontFamily* nativeOrig, Status status) : nativeFamily(nativeOrig), lastResult(status) {}

TGPFontFamily::~TGPFontFamily() {
    if (nativeFamily) GdipDeleteFontFamily(nativeFamily);
}

TGPFontFamily* TGPFontFamily::Generic(TGPFontFamily*& slot, Status (*get)(GpFontFamily**)) {
    if (!slot) {
        // Allocated before the flat call: that starts GDI+ if it is not running.
        slot = new TGPFontFamily(nullptr, Ok);
        slot->lastResult = get(&slot->nativeFamily);
    }
    return slot;
}

TGPFontFamily* TGPFontFamily::GenericSansSerif() {
    static TGPFontFamily* family = nullptr;
    return Generic(family, &GdipGetGenericFontFamilySansSerif);
}

TGPFontFamily* TGPFontFamily::GenericSerif() {
    static TGPFontFamily* family = nullptr;
    return Generic(family, &GdipGetGenericFontFamilySerif);
}

TGPFontFamily* TGPFontFamily::GenericMonospace() {
    static TGPFontFamily* family = nullptr;
    return Generic(family, &GdipGetGenericFontFamilyMonospace);
}

TGPFont::TGPFont(const TGPFontFamily* family, float emSize, int style, Unit unit) {
    lastResult = GdipCreateFont(family ? family->nativeFamily : nullptr, emSize, style, unit, &nativeFont);
}

TGPFont::TGPFont(const String& familyName, float emSize, TFontStyles style, Unit unit, const TGPFontCollection* fontCollection) {
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(familyName, fontCollection));
    int bits = static_cast<int>(style.Bits());  // bold 1, italic 2, underline 4, strike-out 8
    lastResult = GdipCreateFont(family->nativeFamily, emSize, bits, unit, &nativeFont);
    if (lastResult != Ok) lastResult = GdipCreateFont(TGPFontFamily::GenericSansSerif()->nativeFamily, emSize, bits, unit, &nativeFont);
}

TGPFont::TGPFont(GpFont* font, Status status) : nativeFont(font), lastResult(status) {}

TGPFont::~TGPFont() {
    if (nativeFont) GdipDeleteFont(nativeFont);
}

// ---- String formats ---------------------------------------------------------------------------

TGPStringFormat::TGPStringFormat(int formatFlags, WORD language) {
    lastError = GdipCreateStringFormat(formatFlags, language, &nativeFormat);
}

TGPStringFormat::TGPStringFormat(const TGPStringFormat* format) {
    lastError = GdipCloneStringFormat(format ? format->nativeFormat : nullptr, &nativeFormat);
}

TGPStringFormat::TGPStringFormat(GpStringFormat* clonedStringFormat, Status status)
    : nativeFormat(clonedStringFormat), lastError(status) {}

TGPStringFormat::~TGPStringFormat() {
    if (nativeFormat) GdipDeleteStringFormat(nativeFormat);
}

Status TGPStringFormat::SetStatus(Status status) { return Keep(lastError, status); }

Status TGPStringFormat::SetAlignment(StringAlignment align) { return SetStatus(GdipSetStringFormatAlign(nativeFormat, align)); }

StringAlignment TGPStringFormat::GetAlignment() {
    StringAlignment align = StringAlignmentNear;
    SetStatus(GdipGetStringFormatAlign(nativeFormat, &align));
    return align;
}

Status TGPStringFormat::SetLineAlignment(StringAlignment align) {
    return SetStatus(GdipSetStringFormatLineAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetLineAlignment() {
    StringAlignment align = StringAlignmentNear;
    SetStatus(GdipGetStringFormatLineAlign(nativeFormat, &align));
    return align;
}

Status TGPStringFormat::SetTrimming(StringTrimming trimming) {
    return SetStatus(GdipSetStringFormatTrimming(nativeFormat, trimming));
}

StringTrimming TGPStringFormat::GetTrimming() {
    StringTrimming trimming = StringTrimmingNone;
    SetStatus(GdipGetStringFormatTrimming(nativeFormat, &trimming));
    return trimming;
}

Status TGPStringFormat::SetFormatFlags(int flags) { return SetStatus(GdipSetStringFormatFlags(nativeFormat, flags)); }

int TGPStringFormat::GetFormatFlags() {
    INT flags = 0;
    SetStatus(GdipGetStringFormatFlags(nativeFormat, &flags));
    return flags;
}

Status TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix) {
    return SetStatus(GdipSetStringFormatHotkeyPrefix(nativeFormat, hotkeyPrefix));
}

HotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
    INT prefix = HotkeyPrefixNone;
    SetStatus(GdipGetStringFormatHotkeyPrefix(nativeFormat, &prefix));
    return static_cast<HotkeyPrefix>(prefix);
}

// ---- Paths ------------------------------------------------------------------------------------

TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode) { lastResult = GdipCreatePath(fillMode, &nativePath); }

TGPGraphicsPath::TGPGraphicsPath(GpPath* path) : nativePath(path) {}

TGPGraphicsPath::~TGPGraphicsPath() {
    if (nativePath) GdipDeletePath(nativePath);
}

Status TGPGraphicsPath::SetStatus(Status status) { return Keep(lastResult, status); }

Status TGPGraphicsPath::CloseFigure() { return SetStatus(GdipClosePathFigure(nativePath)); }

Status TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) { return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y); }

Status TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2) {
    return SetStatus(GdipAddPathLine(nativePath, x1, y1, x2, y2));
}

Status TGPGraphicsPath::AddLines(const TGPPoint* points, int count) {
    return SetStatus(GdipAddPathLine2I(nativePath, points, count));
}

Status TGPGraphicsPath::AddRectangle(const TGPRectF& rect) {
    return SetStatus(GdipAddPathRectangle(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status TGPGraphicsPath::AddRectangle(const TGPRect& rect) {
    return SetStatus(GdipAddPathRectangleI(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status TGPGraphicsPath::AddArc(const TGPRectF& rect, float startAngle, float sweepAngle) {
    return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return SetStatus(GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddEllipse(const TGPRectF& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }

Status TGPGraphicsPath::AddEllipse(float x, float y, float width, float height) {
    return SetStatus(GdipAddPathEllipse(nativePath, x, y, width, height));
}

Status TGPGraphicsPath::Reset() { return SetStatus(GdipResetPath(nativePath)); }

Status TGPGraphicsPath::AddPie(const TGPRectF& rect, float startAngle, float sweepAngle) {
    return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return SetStatus(GdipAddPathPie(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddPolygon(const TGPPointF* points, int count) {
    return SetStatus(GdipAddPathPolygon(nativePath, points, count));
}

Status TGPGraphicsPath::AddPolygon(const TGPPoint* points, int count) {
    return SetStatus(GdipAddPathPolygonI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPointF* points, int count) {
    return SetStatus(GdipAddPathCurve(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int count) {
    return SetStatus(GdipAddPathCurveI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int count, float tension) {
    return SetStatus(GdipAddPathCurve2I(nativePath, points, count, tension));
}

Status TGPGraphicsPath::AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4) {
    return AddBezier(static_cast<float>(pt1.X), static_cast<float>(pt1.Y), static_cast<float>(pt2.X), static_cast<float>(pt2.Y),
                     static_cast<float>(pt3.X), static_cast<float>(pt3.Y), static_cast<float>(pt4.X), static_cast<float>(pt4.Y));
}

Status TGPGraphicsPath::AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4) {
    return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphicsPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    return SetStatus(GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphicsPath::AddString(const String& text, int length, const TGPFontFamily* family, int style, float emSize,
                                  const TGPRectF& layoutRect, const TGPStringFormat* format) {
    // GDI+ would read length characters whatever the text holds.
    int n = advgdip::detail::ClampLength(length, text.Length());
    return SetStatus(GdipAddPathString(nativePath, text.c_str(), n, family ? family->nativeFamily : nullptr, style, emSize,
                                       &layoutRect, format ? format->nativeFormat : nullptr));
}

// ---- Matrices ---------------------------------------------------------------------------------

TGPMatrix::TGPMatrix() { lastResult = GdipCreateMatrix(&nativeMatrix); }

TGPMatrix::TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy) {
    lastResult = GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg) { lastResult = GdipCreateMatrix3(&rect, dstplg, &nativeMatrix); }

TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg) { lastResult = GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix); }

TGPMatrix::TGPMatrix(GpMatrix* matrix) : nativeMatrix(matrix) {}

TGPMatrix::~TGPMatrix() {
    if (nativeMatrix) GdipDeleteMatrix(nativeMatrix);
}

Status TGPMatrix::SetStatus(Status status) { return Keep(lastResult, status); }

std::unique_ptr<TGPMatrix> TGPMatrix::Clone() {
    GpMatrix* clone = nullptr;
    SetStatus(GdipCloneMatrix(nativeMatrix, &clone));
    if (lastResult != Ok) {
        // An earlier failure not yet read refuses the clone: the copy made must not be left behind.
        if (clone) GdipDeleteMatrix(clone);
        return nullptr;
    }
    return std::unique_ptr<TGPMatrix>(new TGPMatrix(clone));
}

Status TGPMatrix::GetElements(float (&m)[6]) { return SetStatus(GdipGetMatrixElements(nativeMatrix, m)); }

Status TGPMatrix::SetElements(float m11, float m12, float m21, float m22, float dx, float dy) {
    return SetStatus(GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}

float TGPMatrix::OffsetX() {
    float m[6] = {};
    return GetElements(m) == Ok ? m[4] : 0.0f;
}

float TGPMatrix::OffsetY() {
    float m[6] = {};
    return GetElements(m) == Ok ? m[5] : 0.0f;
}

Status TGPMatrix::Reset() { return SetElements(1, 0, 0, 1, 0, 0); }

Status TGPMatrix::Multiply(const TGPMatrix* matrix, MatrixOrder order) {
    return SetStatus(GdipMultiplyMatrix(nativeMatrix, matrix ? matrix->nativeMatrix : nullptr, order));
}

Status TGPMatrix::Translate(float offsetX, float offsetY, MatrixOrder order) {
    return SetStatus(GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
}

Status TGPMatrix::Scale(float scaleX, float scaleY, MatrixOrder order) {
    return SetStatus(GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
}

Status TGPMatrix::Rotate(float angle, MatrixOrder order) { return SetStatus(GdipRotateMatrix(nativeMatrix, angle, order)); }

Status TGPMatrix::RotateAt(float angle, const TGPPointF& center, MatrixOrder order) {
    if (order == MatrixOrderAppend) {
        Translate(-center.X, -center.Y, MatrixOrderAppend);
        Rotate(angle, MatrixOrderAppend);
        return Translate(center.X, center.Y, MatrixOrderAppend);
    }
    Translate(center.X, center.Y, MatrixOrderPrepend);
    Rotate(angle, MatrixOrderPrepend);
    return Translate(-center.X, -center.Y, MatrixOrderPrepend);
}

Status TGPMatrix::Shear(float shearX, float shearY, MatrixOrder order) {
    return SetStatus(GdipShearMatrix(nativeMatrix, shearX, shearY, order));
}

Status TGPMatrix::Invert() { return SetStatus(GdipInvertMatrix(nativeMatrix)); }

Status TGPMatrix::TransformPoints(TGPPointF* pts, int count) { return SetStatus(GdipTransformMatrixPoints(nativeMatrix, pts, count)); }

Status TGPMatrix::TransformPoints(TGPPoint* pts, int count) { return SetStatus(GdipTransformMatrixPointsI(nativeMatrix, pts, count)); }

Status TGPMatrix::TransformVectors(TGPPointF* pts, int count) {
    return SetStatus(GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPoint* pts, int count) {
    return SetStatus(GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
}

bool TGPMatrix::IsInvertible() {
    BOOL result = 0;
    SetStatus(GdipIsMatrixInvertible(nativeMatrix, &result));
    return result != 0;
}

bool TGPMatrix::IsIdentity() {
    BOOL result = 0;
    SetStatus(GdipIsMatrixIdentity(nativeMatrix, &result));
    return result != 0;
}

Status TGPMatrix::GetLastStatus() {
    Status status = lastResult;
    lastResult = Ok;
    return status;
}
