#pragma once
// What the clock's tests share: a GDI+ engine that notes every drawing before the backend's
// engine paints it, and a form with a shown 180 x 180 clock on it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dropdown/AdvWatch.h"
#include "platform/gdiplus/Engine.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace watch_test {

namespace eng = gdiplus::engine;

// One drawing that reached the engine: its points in device pixels (the path's, or the image's
// corners), the colour of a solid paint (a gradient's first stop), a stroke's width, a text.
struct Drawn {
    enum Kind { Fill, Stroke, Text, Image, Clear };
    Kind kind = Fill;
    std::vector<eng::PointD> points;
    gdiplus::ARGB color = 0;
    double width = 0;
    String text;

    // Distances of the first and last point from (cx, cy).
    double FromDistance(double cx, double cy) const { return std::hypot(points.front().X - cx, points.front().Y - cy); }
    double ToDistance(double cx, double cy) const { return std::hypot(points.back().X - cx, points.back().Y - cy); }
};

// While it lives every GDI+ drawing is noted, then painted by the backend's engine.
class RecordingEngine : public eng::Engine {
public:
    RecordingEngine() : FInner(eng::BackendEngine()) { FPrevious = eng::ReplaceEngine(this); }
    ~RecordingEngine() override { eng::ReplaceEngine(FPrevious); }
    RecordingEngine(const RecordingEngine&) = delete;
    RecordingEngine& operator=(const RecordingEngine&) = delete;

    std::vector<Drawn> calls;

    // The calls of a kind in one colour (alpha included).
    std::vector<Drawn> Of(Drawn::Kind kind, gdiplus::ARGB color) const {
        std::vector<Drawn> out;
        for (const Drawn& d : calls)
            if (d.kind == kind && d.color == color) out.push_back(d);
        return out;
    }
    int Count(Drawn::Kind kind) const {
        int n = 0;
        for (const Drawn& d : calls) n += d.kind == kind;
        return n;
    }

    gdiplus::Status Fill(const eng::Target& target, const eng::DrawState& state, const eng::PathData& path,
                         const eng::Paint& paint) override {
        Note(Drawn::Fill, state, path, paint, 0);
        return FInner.Fill(target, state, path, paint);
    }
    gdiplus::Status Stroke(const eng::Target& target, const eng::DrawState& state, const eng::PathData& path,
                           const eng::StrokeSpec& stroke) override {
        Note(Drawn::Stroke, state, path, stroke.paint, stroke.width);
        return FInner.Stroke(target, state, path, stroke);
    }
    gdiplus::Status DrawImage(const eng::Target& target, const eng::DrawState& state, const eng::Raster& image,
                              const gdiplus::GpRectF& source, const eng::PointD destination[3]) override {
        Drawn d;
        d.kind = Drawn::Image;
        for (int i = 0; i < 3; ++i) d.points.push_back(state.world.Map(destination[i].X, destination[i].Y));
        calls.push_back(d);
        return FInner.DrawImage(target, state, image, source, destination);
    }
    gdiplus::Status DrawText(const eng::Target& target, const eng::DrawState& state, const eng::FontKey& font,
                             const std::vector<eng::TextRun>& runs, const eng::Paint& paint) override {
        Drawn d;
        d.kind = Drawn::Text;
        d.color = paint.color;
        for (const eng::TextRun& r : runs) d.text += r.text;
        calls.push_back(d);
        return FInner.DrawText(target, state, font, runs, paint);
    }
    gdiplus::Status Clear(const eng::Target& target, const eng::DrawState& state, gdiplus::ARGB color) override {
        Drawn d;
        d.kind = Drawn::Clear;
        d.color = color;
        calls.push_back(d);
        return FInner.Clear(target, state, color);
    }
    bool HasFamily(const String& name) override { return FInner.HasFamily(name); }
    eng::FontMetricsD Metrics(const eng::FontKey& font) override { return FInner.Metrics(font); }
    std::vector<double> CaretPositions(const eng::FontKey& font, const String& text) override {
        return FInner.CaretPositions(font, text);
    }
    eng::PathData Outline(const eng::FontKey& font, const std::vector<eng::TextRun>& runs) override {
        return FInner.Outline(font, runs);
    }
    bool Decode(const uint8_t* data, size_t size, eng::Raster& picture, bool& hasAlpha) override {
        return FInner.Decode(data, size, picture, hasAlpha);
    }

private:
    void Note(Drawn::Kind kind, const eng::DrawState& state, const eng::PathData& path, const eng::Paint& paint,
              double width) {
        Drawn d;
        d.kind = kind;
        d.width = width;
        d.color = paint.kind == eng::Paint::Linear && !paint.stops.empty() ? paint.stops.front().color : paint.color;
        for (const gdiplus::GpPointF& p : path.points) d.points.push_back(state.world.Map(p.X, p.Y));
        calls.push_back(d);
    }

    eng::Engine& FInner;
    eng::Engine* FPrevious = nullptr;
};

// The opaque ARGB of a colour, as the clock paints it.
inline gdiplus::ARGB Argb(TColor c) { return ArgbFromColor(c); }
inline gdiplus::ARGB ShadowArgb(TColor c) { return (ArgbFromColor(c) & 0x00FFFFFF) | 0x50000000; }

// A shown form with a 180 x 180 clock at its top-left, face centre (90, 90), radius 80.
class WatchTest : public ui::test::FormTest {
protected:
    TAdvWatch* watch = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        form->SetColor(0x00E000);
        watch = Add<TAdvWatch>(0, 0);
        form->Show();
        Paint();
    }
    // Runs what is pending, the clock's paint pass included.
    void Paint() {
        ui::test::Pump();
        watch->Update();
    }
    // The clock's pixel (x, y) as it shows it.
    TColor At(int x, int y) { return watch->BackingImage()->Canvas()->Pixels(x, y); }
    // Pixels in the square of half side `half` round (x, y) that differ from the colour.
    int Unlike(int x, int y, int half, TColor colour) {
        int n = 0;
        for (int j = y - half; j <= y + half; ++j)
            for (int i = x - half; i <= x + half; ++i) n += At(i, j) != colour;
        return n;
    }
    // The clock painted whole again, every drawing of the pass noted.
    void Repaint(RecordingEngine& engine) {
        engine.calls.clear();
        watch->Invalidate();
        Paint();
    }
};

}  // namespace watch_test
