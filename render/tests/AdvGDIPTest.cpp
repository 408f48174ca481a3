// The GDI+ wrapper classes: the colour helpers, the common rules of every wrapper, the queries
// with a fallback answer, the colour checks of the path brush, image formats, matrices, the pen's
// brush, and GDI+'s start-up and shutdown in the program's life.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <typeinfo>

#include "platform/ui/SystemInfo.h"
#include "render/tests/GdipTestSupport.h"

namespace {

using namespace gdip_test;
using gdiplus::Status;
using I = TGPInspect;

TEST(AdvGDIPHelpers, ColourHelpersPackAndUnpackARGB) {
    struct Row {
        const char* what;
        ARGB got;
        ARGB want;
    } rows[] = {
        {"ArgbFromColor(0x000080FF)", ArgbFromColor(0x000080FF), 0xFFFF8000},
        {"ArgbFromColor(clBtnFace)", ArgbFromColor(clBtnFace), 0xFFD4D0C8},
        {"ArgbFromRgb(1, 2, 3)", ArgbFromRgb(1, 2, 3), 0xFF010203},
        {"ArgbFromChannels(0x80, 1, 2, 3)", ArgbFromChannels(0x80, 1, 2, 3), 0x80010203},
        {"ArgbRed(0x80112233)", ArgbRed(0x80112233), 0x11},
        {"ArgbGreen(0x80112233)", ArgbGreen(0x80112233), 0x22},
        {"ArgbBlue(0x80112233)", ArgbBlue(0x80112233), 0x33},
    };
    for (const Row& r : rows) EXPECT_EQ(r.got, r.want) << r.what;
    TGPPoint p = MakeGPPoint(-3, 7);
    EXPECT_EQ(p.X, -3);
    EXPECT_EQ(p.Y, 7);
    TGPRectF r = MakeGPRectF(1.5f, -2.25f, 10, 0.5f);
    EXPECT_EQ(r.X, 1.5f);
    EXPECT_EQ(r.Y, -2.25f);
    EXPECT_EQ(r.Width, 10.0f);
    EXPECT_EQ(r.Height, 0.5f);
}

// ---- The common rules ---------------------------------------------------------------------------

// A constructor keeps what GDI+ answered, raises nothing, and a failed one holds a nil handle.
TEST(AdvGDIPRules, AConstructorStoresTheStatusAndNeverRaises) {
    struct Row {
        const char* what;
        std::function<std::pair<Status, const void*>()> make;
        Status want;
    };
    auto held = [](const auto& w) { return std::pair<Status, const void*>(I::Last(w), I::Handle(w)); };
    Row rows[] = {
        {"family of an unknown name", [&] { return held(TGPFontFamily(String("No Such Family Anywhere"))); }, gdiplus::FontFamilyNotFound},
        {"image of a missing file", [&] { return held(TGPImage(String("/no/such/picture.png"))); }, gdiplus::FileNotFound},
        {"image of undecodable data", [&] { return held(*ImageOf(Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'})); },
         gdiplus::UnknownImageFormat},
        {"graphics on a nil canvas handle", [&] { return held(TGPGraphics(static_cast<HDC>(nullptr))); }, gdiplus::InvalidParameter},
        {"region of a nil path", [&] { return held(TGPRegion(static_cast<const TGPGraphicsPath*>(nullptr))); }, gdiplus::InvalidParameter},
        {"clone of a nil string format", [&] { return held(TGPStringFormat(static_cast<const TGPStringFormat*>(nullptr))); },
         gdiplus::InvalidParameter},
        {"pen of a nil brush", [&] { return held(TGPPen(static_cast<const TGPBrush*>(nullptr))); }, gdiplus::InvalidParameter},
        {"texture of a nil image", [&] { return held(TGPTextureBrush(static_cast<const TGPImage*>(nullptr))); }, gdiplus::InvalidParameter},
        {"bitmap of no pixels", [&] { return held(TGPBitmap(0, 0)); }, gdiplus::InvalidParameter},
        {"matrix onto no parallelogram", [&] { return held(TGPMatrix(MakeGPRectF(0, 0, 1, 1), nullptr)); }, gdiplus::InvalidParameter},
    };
    for (const Row& r : rows) {
        std::pair<Status, const void*> got;
        EXPECT_NO_THROW(got = r.make()) << r.what;
        EXPECT_EQ(got.first, r.want) << r.what;
        EXPECT_EQ(got.second, nullptr) << r.what;
    }
    TGPSolidBrush made(0xFF00FF00);
    EXPECT_EQ(I::Last(made), gdiplus::Ok);
    EXPECT_NE(I::Handle(made), nullptr);
}

// A failing call answers its status and keeps it; a later call that succeeds answers Ok and
// leaves the kept failure in place.
TEST(AdvGDIPRules, AFailureIsKeptAndALaterOkLeavesIt) {
    struct Row {
        const char* what;
        // The failing call's answer, the later call's answer and the status field afterwards.
        std::function<std::tuple<Status, Status, Status>()> run;
        Status want;
    };
    Row rows[] = {
        {"pen: a custom dash, then a plain one",
         [] {
             TGPPen pen(0xFF000000);
             Status failed = pen.SetDashStyle(gdiplus::DashStyleCustom);
             Status ok = pen.SetDashStyle(gdiplus::DashStyleDash);
             return std::tuple(failed, ok, I::Last(pen));
         },
         gdiplus::NotImplemented},
        {"matrix: inverting a singular one, then a translation",
         [] {
             TGPMatrix m(1, 2, 2, 4, 0, 0);
             Status failed = m.Invert();
             Status ok = m.Translate(1, 1);
             return std::tuple(failed, ok, I::Last(m));
         },
         gdiplus::InvalidParameter},
        {"attributes: an output colour profile, then a gamma",
         [] {
             TGPImageAttributes a;
             Status failed = a.SetOutputChannelColorProfile(String("profile.icc"));
             Status ok = a.SetGamma(2.2f);
             return std::tuple(failed, ok, I::Last(a));
         },
         gdiplus::NotImplemented},
        {"string format: an alignment out of range, then centred",
         [] {
             TGPStringFormat f;
             Status failed = f.SetAlignment(static_cast<gdiplus::StringAlignment>(7));
             Status ok = f.SetAlignment(gdiplus::StringAlignmentCenter);
             return std::tuple(failed, ok, I::Last(f));
         },
         gdiplus::InvalidParameter},
        {"graphics: a string without a font, then a clear",
         [] {
             TGPBitmap b(8, 8);
             TGPGraphics g(&b);
             TGPSolidBrush ink(0xFF000000);
             Status failed = g.DrawString(String("x"), 1, nullptr, TGPPointF{0, 0}, &ink);
             Status ok = g.Clear(0xFFFFFFFF);
             return std::tuple(failed, ok, I::Last(g));
         },
         gdiplus::InvalidParameter},
        {"path: a polygon of one point, then a line",
         [] {
             TGPGraphicsPath p;
             TGPPoint one{1, 1};
             Status failed = p.AddPolygon(&one, 1);
             Status ok = p.AddLine(0, 0, 5, 5);
             return std::tuple(failed, ok, I::Last(p));
         },
         gdiplus::InvalidParameter},
    };
    for (const Row& r : rows) {
        auto [failed, ok, field] = r.run();
        EXPECT_EQ(failed, r.want) << r.what;
        EXPECT_EQ(ok, gdiplus::Ok) << r.what;
        EXPECT_EQ(field, r.want) << r.what;
    }
}

// The three classes with GetLastStatus answer the kept status once, then Ok.
TEST(AdvGDIPRules, GetLastStatusAnswersTheKeptStatusAndResetsIt) {
    TGPMatrix m(0, 0, 0, 0, 0, 0);
    m.Invert();
    TGPImageAttributes a;
    a.SetOutputChannelColorProfile(String("profile.icc"));
    TGPGraphics g(static_cast<HDC>(nullptr));
    struct Row {
        const char* what;
        std::function<Status()> read;
        Status want;
    } rows[] = {
        {"matrix", [&] { return m.GetLastStatus(); }, gdiplus::InvalidParameter},
        {"image attributes", [&] { return a.GetLastStatus(); }, gdiplus::NotImplemented},
        {"graphics", [&] { return g.GetLastStatus(); }, gdiplus::InvalidParameter},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.read(), r.want) << r.what;
        EXPECT_EQ(r.read(), gdiplus::Ok) << r.what;
    }
}

// A nil wrapper argument goes to GDI+ as a nil handle, which it refuses; nothing faults.
TEST(AdvGDIPRules, ANilWrapperArgumentPassesANilHandle) {
    TGPBitmap b(8, 8);
    TGPGraphics g(&b);
    TGPMatrix m;
    TGPRegion region(MakeGPRectF(0, 0, 4, 4));
    TGPGraphicsPath path;
    TGPPen pen(0xFF000000);
    struct Row {
        const char* what;
        std::function<Status()> call;
    } rows[] = {
        {"FillRectangle", [&] { return g.FillRectangle(nullptr, 0, 0, 4, 4); }},
        {"DrawPath", [&] { return g.DrawPath(nullptr, &path); }},
        {"FillPath", [&] { return g.FillPath(nullptr, nullptr); }},
        {"DrawImage", [&] { return g.DrawImage(nullptr, 0, 0); }},
        {"SetClip", [&] { return g.SetClip(static_cast<const TGPRegion*>(nullptr)); }},
        {"Multiply", [&] { return m.Multiply(nullptr); }},
        {"Union", [&] { return region.Union(nullptr); }},
        {"Exclude", [&] { return region.Exclude(nullptr); }},
        {"SetBrush", [&] { return pen.SetBrush(nullptr); }},
        {"AddString", [&] { return path.AddString(String("a"), 1, nullptr, 0, 10, MakeGPRectF(0, 0, 50, 50), nullptr); }},
    };
    for (const Row& r : rows) EXPECT_EQ(r.call(), gdiplus::InvalidParameter) << r.what;
    TGPFont font(static_cast<const TGPFontFamily*>(nullptr), 10);
    EXPECT_EQ(I::Last(font), gdiplus::InvalidParameter);
}

// The record forms of a call give what its number form gives.
TEST(AdvGDIPRules, ARecordOverloadGivesWhatTheNumberFormGives) {
    auto image = ImageOf(PngFile(6, 4));
    TGPSolidBrush red(0xFFFF0000);
    TGPPen blue(0xFF0000FF, 2);
    using Draw = std::function<Status(TGPGraphics&)>;
    struct Row {
        const char* what;
        Draw record, numbers;
    } rows[] = {
        {"FillEllipse (float)", [&](TGPGraphics& g) { return g.FillEllipse(&red, MakeGPRectF(3.5f, 4, 20, 13.25f)); },
         [&](TGPGraphics& g) { return g.FillEllipse(&red, 3.5f, 4.0f, 20.0f, 13.25f); }},
        {"FillEllipse (int)", [&](TGPGraphics& g) { return g.FillEllipse(&red, TGPRect{3, 4, 20, 13}); },
         [&](TGPGraphics& g) { return g.FillEllipse(&red, 3, 4, 20, 13); }},
        {"FillRectangle", [&](TGPGraphics& g) { return g.FillRectangle(&red, MakeGPRectF(2.5f, 3, 11, 7)); },
         [&](TGPGraphics& g) { return g.FillRectangle(&red, 2.5f, 3, 11, 7); }},
        {"DrawRectangle", [&](TGPGraphics& g) { return g.DrawRectangle(&blue, MakeGPRectF(2, 3, 20, 10)); },
         [&](TGPGraphics& g) { return g.DrawRectangle(&blue, 2, 3, 20, 10); }},
        {"DrawArc", [&](TGPGraphics& g) { return g.DrawArc(&blue, MakeGPRectF(2, 3, 20, 14), 30, 200); },
         [&](TGPGraphics& g) { return g.DrawArc(&blue, 2, 3, 20, 14, 30, 200); }},
        {"DrawEllipse (int)", [&](TGPGraphics& g) { return g.DrawEllipse(&blue, TGPRect{2, 3, 20, 14}); },
         [&](TGPGraphics& g) { return g.DrawEllipse(&blue, 2, 3, 20, 14); }},
        {"DrawImage into a rectangle", [&](TGPGraphics& g) { return g.DrawImage(image.get(), MakeGPRectF(1, 2, 18, 12)); },
         [&](TGPGraphics& g) { return g.DrawImage(image.get(), 1.0f, 2.0f, 18.0f, 12.0f); }},
        // The floating rectangle is rounded to whole pixels first.
        {"DrawImageRect", [&](TGPGraphics& g) { return g.DrawImageRect(image.get(), MakeGPRectF(1.4f, 2.6f, 17.5f, 12.5f)); },
         [&](TGPGraphics& g) { return g.DrawImageRect(image.get(), 1, 3, 18, 12); }},
    };
    for (const Row& r : rows) {
        TGPBitmap a(30, 20), b(30, 20);
        TGPGraphics ga(&a), gb(&b);
        ga.Clear(0xFFFFFFFF);
        gb.Clear(0xFFFFFFFF);
        ga.SetSmoothingMode(gdiplus::SmoothingModeAntiAlias);
        gb.SetSmoothingMode(gdiplus::SmoothingModeAntiAlias);
        ASSERT_EQ(r.record(ga), gdiplus::Ok) << r.what;
        ASSERT_EQ(r.numbers(gb), gdiplus::Ok) << r.what;
        int differ = 0, ink = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                ARGB pa = 0, pb = 0;
                a.GetPixel(x, y, pa);
                b.GetPixel(x, y, pb);
                differ += pa != pb;
                ink += pa != 0xFFFFFFFF;
            }
        EXPECT_EQ(differ, 0) << r.what;
        EXPECT_GT(ink, 10) << r.what;
    }
}

// Freeing a wrapper deletes its handle (GDI+ no longer counts it) and returns its block to
// GDI+'s heap (the sanitizer build would report a block left behind).
TEST(AdvGDIPRules, FreeingEveryWrapperReleasesItsHandle) {
    auto image = ImageOf(PngFile(4, 4));
    TGPGraphicsPath path;
    path.AddEllipse(0, 0, 10, 10);
    TGPSolidBrush solid(0xFF000000);
    struct Row {
        const char* what;
        std::function<TGdiplusBase*()> make;
        size_t handles;
    } rows[] = {
        {"TGPRegion", [] { return new TGPRegion(MakeGPRectF(0, 0, 5, 5)); }, 1},
        {"TGPImageAttributes", [] { return new TGPImageAttributes(); }, 1},
        {"TGPFontFamily", [] { return new TGPFontFamily(String("Arial")); }, 1},
        {"TGPFontCollection", [] { return new TGPFontCollection(); }, 0},
        {"TGPFont", [] { return new TGPFont(String("Arial"), 10); }, 1},
        {"TGPPen", [] { return new TGPPen(0xFF000000, 2); }, 1},
        {"TGPStringFormat", [] { return new TGPStringFormat(); }, 1},
        {"TGPGraphicsPath", [] { return new TGPGraphicsPath(); }, 1},
        {"TGPMatrix", [] { return new TGPMatrix(); }, 1},
        {"TGPGraphics", [&] { return new TGPGraphics(image.get()); }, 1},
        {"TGPSolidBrush", [] { return new TGPSolidBrush(0xFF00FF00); }, 1},
        {"TGPTextureBrush", [&] { return new TGPTextureBrush(image.get()); }, 1},
        {"TGPLinearGradientBrush", [] { return new TGPLinearGradientBrush(TGPPoint{0, 0}, TGPPoint{5, 5}, 0xFF000000, 0xFFFFFFFF); }, 1},
        {"TGPHatchBrush", [] { return new TGPHatchBrush(gdiplus::HatchStyleCross, 0xFF000000); }, 1},
        {"TGPPathGradientBrush", [&] { return new TGPPathGradientBrush(&path); }, 1},
        {"TGPImage", [] { return ImageOf(BmpFile(3, 3)).release(); }, 1},
        {"TGPBitmap", [] { return new TGPBitmap(3, 3); }, 1},
        {"TGPBrush", [&] { return new TGPBrush(); }, 0},
        {"a pen's brush", [&] { return TGPPen(&solid).GetBrush().release(); }, 1},
        {"a matrix's clone", [] { return TGPMatrix(1, 0, 0, 1, 2, 3).Clone().release(); }, 1},
    };
    for (const Row& r : rows) {
        size_t before = gdiplus::GdipLiveObjects();
        TGdiplusBase* w = r.make();
        EXPECT_EQ(gdiplus::GdipLiveObjects(), before + r.handles) << r.what;
        delete w;
        EXPECT_EQ(gdiplus::GdipLiveObjects(), before) << r.what;
    }
}

// ---- Queries with a fallback answer ---------------------------------------------------------------

TEST(AdvGDIPGraphics, ANilImageGivesANilHandleWithStatusOk) {
    TGPGraphics g(static_cast<TGPImage*>(nullptr));
    EXPECT_EQ(I::Handle(g), nullptr);
    EXPECT_EQ(I::Last(g), gdiplus::Ok);
    std::unique_ptr<TGPGraphics> from = TGPGraphics::FromImage(nullptr);
    EXPECT_EQ(I::Handle(*from), nullptr);
    EXPECT_EQ(I::Last(*from), gdiplus::Ok);
}

TEST(AdvGDIPGraphics, FlushKeepsNoStatusAndFailedQueriesAnswerTheirFallbacks) {
    TGPGraphics g(static_cast<TGPImage*>(nullptr));
    g.Flush();
    EXPECT_EQ(I::Last(g), gdiplus::Ok);
    EXPECT_EQ(g.GetSmoothingMode(), -1);
    EXPECT_EQ(g.GetLastStatus(), gdiplus::InvalidParameter);

    TGPImage missing(String("/no/such/picture.png"));
    EXPECT_EQ(missing.GetWidth(), 0u);
    EXPECT_EQ(missing.GetHeight(), 0u);
    EXPECT_EQ(missing.SaveAdd(nullptr, nullptr), gdiplus::InvalidParameter);

    TGPBitmap b(5, 3);
    TGPGraphics on(&b);
    EXPECT_EQ(on.SetSmoothingMode(gdiplus::SmoothingModeAntiAlias), gdiplus::Ok);
    EXPECT_EQ(on.GetSmoothingMode(), gdiplus::SmoothingModeAntiAlias);
    EXPECT_EQ(b.GetWidth(), 5u);
    EXPECT_EQ(b.GetHeight(), 3u);
}

// ---- Path brush and gradient colours ------------------------------------------------------------

TEST(AdvGDIPBrushes, SurroundAndInterpolationColoursAreCheckedBeforeGDIPlus) {
    TGPGraphicsPath path;
    TGPPoint corners[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}};
    ASSERT_EQ(path.AddPolygon(corners, 4), gdiplus::Ok);
    TGPPathGradientBrush brush(&path);
    ASSERT_EQ(brush.GetPointCount(), 4);

    ARGB colours[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000, 0xFFFFFFFF};
    int count = 5;
    EXPECT_EQ(brush.SetSurroundColors(colours, count), gdiplus::InvalidParameter);
    EXPECT_EQ(count, 5);
    count = 2;
    EXPECT_EQ(brush.SetSurroundColors(nullptr, count), gdiplus::InvalidParameter);
    EXPECT_EQ(brush.SetSurroundColors(colours, count), gdiplus::Ok);
    EXPECT_EQ(count, 2);

    ARGB got[4] = {};
    count = 3;
    EXPECT_EQ(brush.GetSurroundColors(got, count), gdiplus::InsufficientBuffer);
    EXPECT_EQ(brush.GetSurroundColors(nullptr, count), gdiplus::InvalidParameter);
    count = 4;
    EXPECT_EQ(brush.GetSurroundColors(got, count), gdiplus::Ok);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(got[0], 0xFFFF0000u);
    EXPECT_EQ(got[3], 0xFF00FF00u);  // the last colour given stands for the points after it

    float positions[] = {0, 1};
    EXPECT_EQ(brush.SetInterpolationColors(colours, positions, 0), gdiplus::InvalidParameter);
    EXPECT_EQ(brush.SetInterpolationColors(nullptr, positions, 2), gdiplus::InvalidParameter);
    EXPECT_EQ(brush.SetInterpolationColors(colours, positions, 2), gdiplus::Ok);
    TGPLinearGradientBrush line(MakeGPRectF(0, 0, 10, 10), 0xFF000000, 0xFFFFFFFF, gdiplus::LinearGradientModeVertical);
    EXPECT_EQ(line.SetInterpolationColors(colours, positions, 0), gdiplus::InvalidParameter);
    EXPECT_EQ(line.SetInterpolationColors(colours, positions, 2), gdiplus::Ok);

    // A brush of a path without points has no surround to set.
    TGPGraphicsPath empty;
    TGPPathGradientBrush none(&empty);
    count = 1;
    EXPECT_EQ(none.SetSurroundColors(colours, count), gdiplus::InvalidParameter);
}

TEST(AdvGDIPBrushes, APensBrushIsAWrapperOfItsFillType) {
    TGPGraphicsPath path;
    path.AddEllipse(0, 0, 10, 10);
    auto image = ImageOf(PngFile(4, 4));
    TGPSolidBrush solid(0xFF123456);
    TGPHatchBrush hatch(gdiplus::HatchStyleCross, 0xFF000000);
    TGPTextureBrush texture(image.get());
    TGPPathGradientBrush gradient(&path);
    TGPLinearGradientBrush line(TGPPoint{0, 0}, TGPPoint{10, 0}, 0xFF000000, 0xFFFFFFFF);
    struct Row {
        const char* what;
        const TGPBrush* brush;
        const std::type_info& type;
        Status status;
    } rows[] = {
        {"solid", &solid, typeid(TGPSolidBrush), gdiplus::Ok},
        {"hatch", &hatch, typeid(TGPHatchBrush), gdiplus::Ok},
        {"texture", &texture, typeid(TGPTextureBrush), gdiplus::Ok},
        {"path gradient", &gradient, typeid(TGPBrush), gdiplus::NotImplemented},
        {"linear gradient", &line, typeid(TGPLinearGradientBrush), gdiplus::NotImplemented},
    };
    for (const Row& r : rows) {
        TGPPen pen(r.brush, 3);
        std::unique_ptr<TGPBrush> got = pen.GetBrush();
        ASSERT_TRUE(got) << r.what;
        EXPECT_EQ(typeid(*got), r.type) << r.what;
        EXPECT_EQ(I::Last(*got), r.status) << r.what;
        ASSERT_NE(I::Handle(*got), nullptr) << r.what;
        gdiplus::BrushType type{};
        EXPECT_EQ(gdiplus::GdipGetBrushType(const_cast<gdiplus::GpBrush*>(static_cast<const gdiplus::GpBrush*>(I::Handle(*got))), &type),
                  gdiplus::Ok);
        EXPECT_EQ(static_cast<int>(type), static_cast<int>(pen.GetPenType())) << r.what;
    }
    // The solid brush holds the pen's colour.
    ARGB colour = 0;
    std::unique_ptr<TGPBrush> got = TGPPen(0xFF123456).GetBrush();
    auto* handle = const_cast<gdiplus::GpSolidFill*>(static_cast<const gdiplus::GpSolidFill*>(I::Handle(*got)));
    EXPECT_EQ(gdiplus::GdipGetSolidFillColor(handle, &colour), gdiplus::Ok);
    EXPECT_EQ(colour, 0xFF123456u);
    // A pen whose type cannot be had has no brush.
    EXPECT_EQ(TGPPen(static_cast<const TGPBrush*>(nullptr)).GetBrush(), nullptr);
}

// ---- Images -------------------------------------------------------------------------------------

TEST(AdvGDIPImages, TheFormatIsTheFileFormatTheImageCameFrom) {
    struct Row {
        const char* what;
        Bytes data;
        TGPImageFormat want;
    } rows[] = {
        {"PNG", PngFile(5, 3), ifPNG},
        {"BMP", BmpFile(5, 3), ifBMP},
        {"JPEG", JpegFile(16, 8), ifJPEG},
        {"not an image", Bytes(40, 'x'), ifUndefined},
    };
    for (const Row& r : rows) EXPECT_EQ(ImageOf(r.data)->GetFormat(), r.want) << r.what;
    EXPECT_EQ(TGPBitmap(2, 2).GetFormat(), ifMemoryBMP);
}

TEST(AdvGDIPImages, PixelDepthPaletteAndAlphaAreBitsOfThePixelFormat) {
    struct Row {
        gdiplus::PixelFormat format;
        UINT depth;
        bool palette, alpha;
    } rows[] = {
        {gdiplus::PixelFormat32bppARGB, 32, false, true},
        {gdiplus::PixelFormat24bppRGB, 24, false, false},
        {gdiplus::PixelFormat8bppIndexed, 8, true, false},
        {gdiplus::PixelFormat16bppARGB1555, 16, false, true},
        {gdiplus::PixelFormat1bppIndexed, 1, true, false},
    };
    for (const Row& r : rows) {
        TGPBitmap b(4, 4, r.format);
        ASSERT_EQ(b.GetPixelFormat(), r.format);
        EXPECT_EQ(b.GetPixelDepth(), r.depth) << std::hex << r.format;
        EXPECT_EQ(b.HasPalette(), r.palette) << std::hex << r.format;
        EXPECT_EQ(b.HasAlphaChannel(), r.alpha) << std::hex << r.format;
    }
}

TEST(AdvGDIPImages, ABitmapFromAStreamKeepsItsPixelsAndSavesThroughAnEncoder) {
    IStream* in = StreamOn(PngFile(6, 4));
    std::unique_ptr<TGPBitmap> b = TGPBitmap::FromStream(in);
    in->Release();
    ASSERT_EQ(I::Last(*b), gdiplus::Ok);
    ARGB c = 0;
    EXPECT_EQ(b->GetPixel(0, 2, c), gdiplus::Ok);
    EXPECT_EQ(c, 0xFFFF0000u);
    EXPECT_EQ(b->GetPixel(5, 2, c), gdiplus::Ok);
    EXPECT_EQ(c, 0xFF0000FFu);
    EXPECT_EQ(b->SetPixel(5, 2, 0xFF00FF00), gdiplus::Ok);
    IStream* out = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, 1, &out), S_OK);
    EXPECT_EQ(b->Save(out, gdiplus::EncoderClsidBMP), gdiplus::Ok);
    out->Seek(0, STREAM_SEEK_SET, nullptr);
    TGPBitmap again(out);
    out->Release();
    EXPECT_EQ(again.GetFormat(), ifBMP);
    EXPECT_EQ(again.GetPixel(5, 2, c), gdiplus::Ok);
    EXPECT_EQ(c, 0xFF00FF00u);
    std::unique_ptr<TGPImage> thumb = again.GetThumbnailImage(3, 2);
    EXPECT_EQ(thumb->GetWidth(), 3u);
    EXPECT_EQ(thumb->GetHeight(), 2u);
}

// ---- Matrices -----------------------------------------------------------------------------------

void ExpectElements(TGPMatrix& m, std::initializer_list<float> want, const char* what) {
    float e[6] = {};
    ASSERT_EQ(m.GetElements(e), gdiplus::Ok) << what;
    int i = 0;
    for (float w : want) EXPECT_NEAR(e[i++], w, 1e-4) << what << " element " << i - 1;
}

// A rotation of 90 degrees about (10, 20) on a scale of (2, 3): appended, the scale comes first;
// prepended, the rotation does.
TEST(AdvGDIPMatrix, RotateAtTranslatesRotatesAndTranslatesBackInTheOrderGiven) {
    TGPMatrix appended(2, 0, 0, 3, 0, 0);
    EXPECT_EQ(appended.RotateAt(90, TGPPointF{10, 20}, gdiplus::MatrixOrderAppend), gdiplus::Ok);
    ExpectElements(appended, {0, 2, -3, 0, 30, 10}, "append");
    TGPPointF p{11, 20};
    appended.TransformPoints(&p);
    EXPECT_NEAR(p.X, -30, 1e-3);
    EXPECT_NEAR(p.Y, 32, 1e-3);

    TGPMatrix prepended(2, 0, 0, 3, 0, 0);
    EXPECT_EQ(prepended.RotateAt(90, TGPPointF{10, 20}, gdiplus::MatrixOrderPrepend), gdiplus::Ok);
    ExpectElements(prepended, {0, 3, -2, 0, 60, 30}, "prepend");
    TGPPoint q{11, 20};
    prepended.TransformPoints(&q);
    EXPECT_EQ(q.X, 20);
    EXPECT_EQ(q.Y, 63);
}

TEST(AdvGDIPMatrix, CloneIsNilAfterAnUnreadFailureAndResetIsTheIdentity) {
    TGPMatrix m(2, 0, 0, 0, 5, 6);
    EXPECT_EQ(m.Invert(), gdiplus::InvalidParameter);
    size_t before = gdiplus::GdipLiveObjects();
    EXPECT_EQ(m.Clone(), nullptr);
    EXPECT_EQ(gdiplus::GdipLiveObjects(), before);  // the copy made is not left behind
    EXPECT_EQ(m.GetLastStatus(), gdiplus::InvalidParameter);
    std::unique_ptr<TGPMatrix> clone = m.Clone();
    ASSERT_TRUE(clone);
    ExpectElements(*clone, {2, 0, 0, 0, 5, 6}, "clone");
    EXPECT_EQ(clone->OffsetX(), 5.0f);
    EXPECT_EQ(clone->OffsetY(), 6.0f);
    EXPECT_FALSE(m.IsIdentity());
    EXPECT_EQ(m.Reset(), gdiplus::Ok);
    EXPECT_TRUE(m.IsIdentity());
    ExpectElements(m, {1, 0, 0, 1, 0, 0}, "reset");
}

// ---- Start-up and shutdown ----------------------------------------------------------------------

struct UnhookRecord {
    static inline int calls = 0;
    static inline gdiplus::ULONG_PTR token = 0;
    static void Record(gdiplus::ULONG_PTR t) {
        ++calls;
        token = t;
    }
};

// The program's start-up ran before the test, with the default version answer (6.1).
TEST(AdvGDIPStartup, TheProgramStartsGDIPlusVersion1WithoutItsBackgroundThreadOrTheHook) {
    EXPECT_EQ(advgdip::StartupInput.GdiplusVersion, 1u);
    EXPECT_EQ(advgdip::StartupInput.DebugEventCallback, nullptr);
    EXPECT_NE(advgdip::StartupInput.SuppressBackgroundThread, 0);
    EXPECT_EQ(advgdip::StartupInput.SuppressExternalCodecs, 0);
    EXPECT_NE(advgdip::GdiplusToken, 0u);
    EXPECT_EQ(advgdip::HookToken, 0u);
    void* block = gdiplus::GdipAlloc(8);
    EXPECT_NE(block, nullptr);
    gdiplus::GdipFree(block);
}

TEST(AdvGDIPStartup, OnVersion51TheHookRunsAtStartAndTheUnhookAtTheEnd) {
    advgdip::Shutdown();
    EXPECT_EQ(gdiplus::GdipAlloc(8), nullptr);
    ui::sys::Answers().MajorVersion = 5;
    ui::sys::Answers().MinorVersion = 1;
    advgdip::Startup();
    EXPECT_NE(advgdip::HookToken, 0u);
    gdiplus::ULONG_PTR hook = advgdip::HookToken;
    advgdip::StartupOutput.NotificationUnhook = &UnhookRecord::Record;
    advgdip::Shutdown();
    EXPECT_EQ(UnhookRecord::calls, 1);
    EXPECT_EQ(UnhookRecord::token, hook);
    EXPECT_EQ(gdiplus::GdipAlloc(8), nullptr);
    advgdip::Shutdown();  // nothing left to end
    EXPECT_EQ(UnhookRecord::calls, 1);
    ui::sys::ResetAnswers();
    advgdip::Startup();
    EXPECT_EQ(advgdip::HookToken, 0u);
}

void PrintUnhook(gdiplus::ULONG_PTR token) { std::fprintf(stderr, "unhook %lu\n", static_cast<unsigned long>(token)); }

// The program's end runs the unit's end: on 5.1 its unhook shows it.
TEST(AdvGDIPStartupDeathTest, TheUnitEndRunsAtTheProgramsExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            advgdip::Shutdown();
            ui::sys::Answers().MajorVersion = 5;
            ui::sys::Answers().MinorVersion = 1;
            advgdip::Startup();
            advgdip::StartupOutput.NotificationUnhook = &PrintUnhook;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "unhook [1-9]");
}

TEST(AdvGDIPStartup, AWrapperMadeWhileGDIPlusIsNotRunningStartsIt) {
    advgdip::Shutdown();
    ASSERT_EQ(gdiplus::GdipAlloc(8), nullptr);
    auto m = std::make_unique<TGPMatrix>(1, 0, 0, 1, 4, 5);
    EXPECT_NE(advgdip::GdiplusToken, 0u);
    EXPECT_EQ(I::Last(*m), gdiplus::Ok);
    EXPECT_EQ(m->OffsetY(), 5.0f);
}

TEST(AdvGDIPStartup, TheGenericFamiliesAreMadeOnceAndOutliveAShutdown) {
    TGPFontFamily* sans = TGPFontFamily::GenericSansSerif();
    EXPECT_EQ(TGPFontFamily::GenericSansSerif(), sans);
    EXPECT_NE(TGPFontFamily::GenericSerif(), sans);
    EXPECT_EQ(TGPFontFamily::GenericSerif(), TGPFontFamily::GenericSerif());
    EXPECT_EQ(TGPFontFamily::GenericMonospace(), TGPFontFamily::GenericMonospace());
    for (TGPFontFamily* f : {sans, TGPFontFamily::GenericSerif(), TGPFontFamily::GenericMonospace()}) {
        EXPECT_EQ(I::Last(*f), gdiplus::Ok);
        EXPECT_NE(I::Handle(*f), nullptr);
    }
    advgdip::Shutdown();
    advgdip::Startup();
    char16_t name[32] = {};
    EXPECT_EQ(gdiplus::GdipGetFamilyName(static_cast<const gdiplus::GpFontFamily*>(I::Handle(*sans)), name, 0), gdiplus::Ok);
    EXPECT_NE(name[0], 0);
}

}  // namespace
