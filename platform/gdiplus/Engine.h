#pragma once
// What GDI+ needs of the backend: anti-aliased filling and stroking of paths with any paint,
// images drawn through any transform, fonts (found, measured, drawn, outlined) and the decoders
// of formats the layer does not read itself. The flat API (GdiPlus.h) turns every shape into a
// path, every brush into a paint and every text into positioned runs, and keeps all the rules;
// the engine only paints. It is the backend object's (ui::Backend::GdiPlus), so a program draws
// with the backend it links.
//
// Everything here is plain data and abstract classes, defined in this header, so the backend
// needs no link to the GDI+ library.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/rtl/String.h"
#include "platform/ui/Gdi.h"

namespace gdiplus::engine {

struct PointD {
    double X = 0;
    double Y = 0;
};

// (x, y) maps to (m11 x + m21 y + dx, m12 x + m22 y + dy).
struct Affine {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

    PointD Map(double x, double y) const { return {m11 * x + m21 * y + dx, m12 * x + m22 * y + dy}; }
    PointD MapVector(double x, double y) const { return {m11 * x + m21 * y, m12 * x + m22 * y}; }
    // This one first, then next.
    Affine Then(const Affine& next) const {
        return {m11 * next.m11 + m12 * next.m21,    m11 * next.m12 + m12 * next.m22,
                m21 * next.m11 + m22 * next.m21,    m21 * next.m12 + m22 * next.m22,
                dx * next.m11 + dy * next.m21 + next.dx, dx * next.m12 + dy * next.m22 + next.dy};
    }
    double Determinant() const { return m11 * m22 - m12 * m21; }
    bool IsIdentity() const { return m11 == 1 && m12 == 0 && m21 == 0 && m22 == 1 && dx == 0 && dy == 0; }
    static Affine Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
};

// A path as GDI+ keeps it: points with their types (PathPointType), Bézier points in threes.
struct PathData {
    std::vector<GpPointF> points;
    std::vector<uint8_t> types;
    FillMode fillMode = FillModeAlternate;
};

// A region: a tree of rectangles and paths combined by the CombineModes. Nodes are never changed
// once made, so a tree can be shared and its address stands for its content.
struct RegionNode {
    enum Kind { Empty, Infinite, Rect, Path, Combine };
    Kind kind = Empty;
    GpRectF rect;
    PathData path;
    CombineMode op = CombineModeReplace;
    std::shared_ptr<const RegionNode> left, right;
};
using RegionTree = std::shared_ptr<const RegionNode>;

// Pixels, 32-bit ARGB (alpha not premultiplied), rows top down, width pixels a row.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct GradientStop {
    double position = 0;
    ARGB color = 0;
};

// What a fill or a stroke is painted with.
struct Paint {
    enum Kind { Solid, Texture, Linear };
    Kind kind = Solid;
    ARGB color = 0xFF000000;
    // Texture: the image, repeated by wrap (WrapModeClamp paints it once); a hatch is an 8 x 8
    // texture in device space.
    std::shared_ptr<const Raster> image;
    WrapMode wrap = WrapModeTile;
    // Linear: colours along the line from start to end, stops at 0..1, repeated by wrap.
    PointD start, end;
    std::vector<GradientStop> stops;
    // From the paint's own space to world coordinates, or to device coordinates when deviceSpace.
    Affine transform;
    bool deviceSpace = false;
};

struct StrokeSpec {
    Paint paint;
    double width = 1;
    // The path and width are in device pixels (drawn without the world transform).
    bool deviceSpace = false;
    // Dash lengths in widths (empty: solid).
    std::vector<double> dashes;
    double miterLimit = 10;
    // Shapes filled with the stroke (the end caps), in the same space as the path.
    PathData caps;
};

// The state a drawing call is made in.
struct DrawState {
    Affine world;
    // In device coordinates; nullptr: no clip.
    RegionTree clip;
    bool antialias = false;
    bool textAntialias = false;
};

// Where a graphics draws: the canvas behind a handle, or the pixels of an image.
struct Target {
    HDC dc = nullptr;
    Raster* raster = nullptr;
};

struct FontKey {
    // Installed families, the first that has a character draws it.
    std::vector<String> families;
    int style = FontStyleRegular;
    double em = 0;  // world units
};

struct FontMetricsD {
    double ascent = 0;
    double descent = 0;
    double lineSpacing = 0;
    double underlinePosition = 0;  // below the baseline
    double lineThickness = 0;
};

// A line of text with the left end of its baseline; rightToLeft orders its runs from the right.
struct TextRun {
    String text;
    PointD origin;
    bool rightToLeft = false;
};

class Engine {
public:
    virtual ~Engine() = default;

    // Drawing. Each call answers Ok, or WrongState when the target's canvas is gone.
    virtual Status Fill(const Target& target, const DrawState& state, const PathData& path, const Paint& paint) = 0;
    virtual Status Stroke(const Target& target, const DrawState& state, const PathData& path, const StrokeSpec& stroke) = 0;
    // The source rectangle of image (pixels) onto the parallelogram of its top-left, top-right
    // and bottom-left corners (world coordinates).
    virtual Status DrawImage(const Target& target, const DrawState& state, const Raster& image, const GpRectF& source,
                             const PointD destination[3]) = 0;
    virtual Status DrawText(const Target& target, const DrawState& state, const FontKey& font,
                            const std::vector<TextRun>& runs, const Paint& paint) = 0;
    // Replaces every pixel inside the clip with the colour.
    virtual Status Clear(const Target& target, const DrawState& state, ARGB color) = 0;

    // Fonts.
    virtual bool HasFamily(const String& name) = 0;
    virtual FontMetricsD Metrics(const FontKey& font) = 0;
    // The caret positions of a line of text: size() + 1 values, the first 0.
    virtual std::vector<double> CaretPositions(const FontKey& font, const String& text) = 0;
    virtual PathData Outline(const FontKey& font, const std::vector<TextRun>& runs) = 0;

    // Pictures the layer does not read itself (TIFF): false when the bytes are none it reads.
    virtual bool Decode(const uint8_t* data, size_t size, Raster& picture, bool& hasAlpha) = 0;
};

// The seam of tests that must see which drawing reaches the engine, where the pixels cannot
// tell: from now on every call of the flat API paints with engine (nullptr: the backend's
// again). Answers the replacement it takes the place of (nullptr: none). Set it while nothing
// draws on another thread.
Engine* ReplaceEngine(Engine* engine);
// The backend's own engine, for a replacement that passes the calls on to it.
Engine& BackendEngine();

}  // namespace gdiplus::engine
