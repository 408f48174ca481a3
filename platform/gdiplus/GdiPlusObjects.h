#pragma once
// The objects behind the flat API's handles and what the sources of this folder share: the table
// of live objects, the one lock every call takes, and the helpers that turn shapes into paths,
// brushes into paints and text into lines.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdiplus/Engine.h"
#include "platform/gdiplus/GdiPlus.h"

class TBitmap;
class TMetafile;

namespace gdiplus::detail {

using engine::Affine;
using engine::PathData;
using engine::PointD;
using engine::Raster;
using engine::RegionTree;

enum class Kind : uint8_t { Graphics, Path, Region, Matrix, Pen, Brush, FontFamily, Font, StringFormat, Image, ImageAttributes };

struct Object {
    virtual ~Object() = default;
};

// The table of live objects. A handle is a number never handed out twice; permanent objects
// (the generic font families) survive their delete calls and the shutdown.
uintptr_t Register(Kind kind, std::unique_ptr<Object> object, bool permanent = false);
Object* Lookup(const void* handle, Kind kind);
// False for an unknown handle; a permanent one stays.
bool Unregister(const void* handle, Kind kind);

template <class T>
T* Find(const void* handle) {
    return static_cast<T*>(Lookup(handle, T::kKind));
}

// Registers object and writes its handle; Ok.
template <class H, class T>
Status Hand(std::unique_ptr<T> object, H** out, bool permanent = false) {
    *out = reinterpret_cast<H*>(Register(T::kKind, std::move(object), permanent));
    return Ok;
}

// Runs one call of the flat API: under the API's lock, only while GDI+ is started, with
// exceptions turned into statuses (out of memory, NotImplemented for what the backend lacks,
// GenericError for the rest).
Status Call(const std::function<Status()>& body);
bool Started();

// Unit sizes in pixels at 96 per inch (world, display and pixel: 1).
double UnitToPixels(Unit unit);
bool ValidUnit(Unit unit);
bool ValidWrap(WrapMode wrap);
bool Finite(std::initializer_list<double> values);
engine::Engine& Engine();

// ----- Matrices
struct Matrix : Object {
    static constexpr Kind kKind = Kind::Matrix;
    Affine m;
};
// m changed by op in the order given (prepend: op first).
void Apply(Affine& m, const Affine& op, MatrixOrder order);
Affine RotationOf(double degrees);
bool ValidOrder(MatrixOrder order);

// ----- Paths
struct Path : Object {
    static constexpr Kind kKind = Kind::Path;
    PathData data;
    // The next points join the last figure (false after a close or a closed shape).
    bool open = false;
};
void AddLines(Path& path, const std::vector<PointD>& points);
void AddBeziers(Path& path, const std::vector<PointD>& points);  // 1 + 3n points
void AddClosedFigure(Path& path, const std::vector<PointD>& points, bool bezier);
void CloseFigure(Path& path);
// Bézier points (1 + 3n) of an arc of the ellipse in the box, angles in degrees measured on the
// ellipse itself, clockwise from +x.
std::vector<PointD> ArcBeziers(double x, double y, double w, double h, double start, double sweep);
std::vector<PointD> CurveBeziers(const std::vector<PointD>& points, double tension);
PathData RectanglePath(double x, double y, double w, double h);
PathData EllipsePath(double x, double y, double w, double h);
PathData Transformed(const PathData& path, const Affine& m);
// The path as polylines: each figure's points and whether it is closed; src gives, for every
// point, the index of the path point it lies on or after and how far towards the next one.
struct Polyline {
    std::vector<PointD> points;
    std::vector<double> src;
    bool closed = false;
};
std::vector<Polyline> Flatten(const PathData& path, double tolerance);

// ----- Regions
struct Region : Object {
    static constexpr Kind kKind = Kind::Region;
    RegionTree tree;
};
RegionTree RectNode(const GpRectF& rect);
RegionTree PathNode(const PathData& path);
RegionTree InfiniteNode();
RegionTree Combine(const RegionTree& a, const RegionTree& b, CombineMode mode);
RegionTree TransformedTree(const RegionTree& tree, const Affine& m);

// ----- Images
struct MultiFrameSave;
struct Image : Object {
    static constexpr Kind kKind = Kind::Image;
    Image();
    ~Image() override;
    bool IsBitmap() const { return pixels != nullptr; }
    int Width() const;
    int Height() const;
    // The pixels as the image's format holds them (opaque for formats without alpha, the
    // channels cut to the format's bits).
    uint32_t Canonical(uint32_t argb) const;
    // A bitmap's pixels; a metafile played at size w x h (transparent where it draws nothing).
    std::shared_ptr<Raster> Render(int w, int h) const;
    std::unique_ptr<Image> Clone() const;

    GUID rawFormat = ImageFormatMemoryBMP;
    PixelFormat format = PixelFormat32bppARGB;
    std::shared_ptr<Raster> pixels;
    std::vector<ARGB> palette;
    std::shared_ptr<TMetafile> metafile;
    std::unique_ptr<MultiFrameSave> saving;
};
std::unique_ptr<Image> NewBitmap(int width, int height, PixelFormat format);
bool ValidPixelFormat(PixelFormat format);
// The nearest colour of an indexed image's palette.
ARGB NearestInPalette(const std::vector<ARGB>& palette, ARGB color);
std::vector<ARGB> DefaultPalette(PixelFormat format);
Status LoadImage(const std::vector<uint8_t>& bytes, std::unique_ptr<Image>& image);
// The bytes of a file in one of the encoders' formats; InvalidParameter for an unknown encoder.
Status Encode(const Image& image, const CLSID& encoder, const EncoderParameters* params, std::vector<uint8_t>& out);
// TIFF and GIF writers of our own.
std::vector<uint8_t> EncodeTiff(const std::vector<const Image*>& pages);
std::vector<uint8_t> EncodeGif(const Image& image);

// ----- Image attributes
struct Adjustments {
    bool any = false;  // this kind has settings of its own
    bool noOp = false;
    bool matrix = false;
    ColorMatrix colorMatrix;
    ColorMatrix grayMatrix;
    ColorMatrixFlags matrixFlags = ColorMatrixFlagsDefault;
    std::optional<double> threshold;
    std::optional<double> gamma;
    std::optional<std::pair<ARGB, ARGB>> colorKey;
    std::optional<ColorChannelFlags> channel;
    std::vector<ColorMap> remap;
};
struct ImageAttributes : Object {
    static constexpr Kind kKind = Kind::ImageAttributes;
    std::array<Adjustments, ColorAdjustTypeCount> kinds;
    WrapMode wrap = WrapModeClamp;
    ARGB wrapColor = 0;
    // The adjustments a use of that kind takes.
    const Adjustments& For(ColorAdjustType type) const;
};
ARGB Adjust(const Adjustments& a, ARGB color);
void AdjustRaster(const Adjustments& a, Raster& raster);

// ----- Brushes and pens
struct Brush : Object {
    static constexpr Kind kKind = Kind::Brush;
    BrushType type = BrushTypeSolidColor;
    ARGB color = 0xFF000000;
    // Hatch
    HatchStyle hatch = HatchStyleHorizontal;
    ARGB fore = 0, back = 0;
    // Texture
    std::shared_ptr<const Raster> image;
    PixelFormat imageFormat = PixelFormat32bppARGB;
    WrapMode wrap = WrapModeTile;
    Affine transform;
    // Linear gradient: colours at start and end, blend.
    PointD start, end;
    ARGB colors[2] = {0, 0};
    GpRectF rect;
    bool gamma = false;
    std::vector<engine::GradientStop> preset;
    // Path gradient
    PathData path;
    ARGB centerColor = 0xFFFFFFFF;
    PointD center;
    std::vector<ARGB> surround;
};
struct Pen : Object {
    static constexpr Kind kKind = Kind::Pen;
    Brush brush;
    double width = 1;
    Unit unit = UnitWorld;
    DashStyle dash = DashStyleSolid;
    LineCap endCap = LineCapFlat;
};
PenType PenTypeOf(BrushType type);

// ----- Text
struct FontFamily : Object {
    static constexpr Kind kKind = Kind::FontFamily;
    String name;
    std::vector<String> families;
};
struct Font : Object {
    static constexpr Kind kKind = Kind::Font;
    FontFamily family;
    double size = 0;
    int style = 0;
    Unit unit = UnitPoint;
};
struct StringFormat : Object {
    static constexpr Kind kKind = Kind::StringFormat;
    int flags = 0;
    WORD language = 0;
    StringAlignment align = StringAlignmentNear;
    StringAlignment lineAlign = StringAlignmentNear;
    StringTrimming trimming = StringTrimmingCharacter;
    HotkeyPrefix hotkey = HotkeyPrefixNone;
};
// Lays text out in the rectangle (a side of 0 is unbounded) and gives its lines.
struct TextLayout {
    std::vector<engine::TextRun> runs;
    // Hotkey underlines: x from, x to, baseline.
    struct Mark {
        double x0, x1, baseline;
    };
    std::vector<Mark> marks;
    GpRectF box;
    int codepointsFitted = 0;
    int linesFilled = 0;
    engine::FontMetricsD metrics;
};
TextLayout LayOut(const std::u16string& text, const engine::FontKey& font, const GpRectF& rect, const StringFormat& format);
engine::FontKey KeyOf(const Font& font);

// ----- Graphics
struct Graphics : Object {
    static constexpr Kind kKind = Kind::Graphics;
    HDC dc = nullptr;
    std::shared_ptr<Raster> raster;  // the image's pixels
    Affine world;
    RegionTree clip;  // device coordinates; nullptr: none
    SmoothingMode smoothing = SmoothingModeNone;
    TextRenderingHint textHint = TextRenderingHintSystemDefault;
    CompositingQuality quality = CompositingQualityDefault;
    // Between GdipGetDC and GdipReleaseDC: the handle given out, and for an image the bitmap the
    // handle draws on.
    HDC lent = nullptr;
    std::unique_ptr<TBitmap> lentBitmap;
    engine::Target Target() { return {dc, raster.get()}; }
    engine::DrawState State() const;
};

// A brush as a paint for drawing with state's transform; path gradients are painted here.
engine::Paint PaintOf(const Brush& brush, const engine::DrawState& state, const PathData* area);

}  // namespace gdiplus::detail
