#pragma once
// The Qt backend's GDI+ engine (platform/gdiplus/Engine.h): QPainter paints paths, paints,
// images and text on a canvas's bitmap or an image's pixels; fonts are Qt's. QtGdiPlus.cpp
// draws, QtGdiPlusText.cpp measures, draws and outlines text.
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <functional>

#include "platform/gdiplus/Engine.h"

namespace qtb {

gdiplus::engine::Engine& GdiPlusEngine();

namespace gdip {

using namespace gdiplus::engine;

inline QTransform QTransformOf(const Affine& m) { return QTransform(m.m11, m.m12, m.m21, m.m22, m.dx, m.dy); }
QPainterPath QPathOf(const PathData& path);
PathData PathDataOf(const QPainterPath& path);

// Runs paint with a painter on the target, clipped to the canvas's visible part and the state's
// clip, with the device transform (GDI+ device coordinates to the surface's pixels) it must
// compose its own transforms with. WrongState when the target's canvas is gone.
gdiplus::Status Paint(const Target& target, const DrawState& state, const std::function<void(QPainter&, const QTransform&)>& paint);
// The paint as a brush for a painter whose transform is painter, device being the device
// transform.
QBrush BrushOf(const gdiplus::engine::Paint& paint, const QTransform& painter, const QTransform& device);

// Fonts: the QFont of a key for a device of dpi dots per inch.
QFont FontOf(const FontKey& key, double dpi);

class QtGdiPlusEngine final : public Engine {
public:
    gdiplus::Status Fill(const Target& target, const DrawState& state, const PathData& path, const gdiplus::engine::Paint& paint) override;
    gdiplus::Status Stroke(const Target& target, const DrawState& state, const PathData& path, const StrokeSpec& stroke) override;
    gdiplus::Status DrawImage(const Target& target, const DrawState& state, const Raster& image, const gdiplus::GpRectF& source,
                              const PointD destination[3]) override;
    gdiplus::Status DrawText(const Target& target, const DrawState& state, const FontKey& font, const std::vector<TextRun>& runs,
                             const gdiplus::engine::Paint& paint) override;
    gdiplus::Status Clear(const Target& target, const DrawState& state, gdiplus::ARGB color) override;
    bool HasFamily(const String& name) override;
    FontMetricsD Metrics(const FontKey& font) override;
    std::vector<double> CaretPositions(const FontKey& font, const String& text) override;
    PathData Outline(const FontKey& font, const std::vector<TextRun>& runs) override;
    bool Decode(const uint8_t* data, size_t size, Raster& picture, bool& hasAlpha) override;
};

}  // namespace gdip

}  // namespace qtb
