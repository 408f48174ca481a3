// The GDI+ engine's text: families looked up among the installed fonts, metrics and caret
// positions measured at 96 dots per inch without hinting (so a measure holds at any size and
// transform), runs drawn with any paint, and their outlines.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTextLayout>

#include "platform/qt/QtGdiPlus.h"
#include "platform/qt/QtGraphicsApp.h"

namespace qtb::gdip {

using gdiplus::Status;

namespace {

// What text is measured on: an image of 96 dots per inch, as the layer's pixels are.
QPaintDevice& MeasureDevice() {
    static QImage* device = [] {
        auto* image = new QImage(1, 1, QImage::Format_ARGB32);
        image->setDotsPerMeterX(3780);
        image->setDotsPerMeterY(3780);
        return image;
    }();
    return *device;
}

// Glyph outlines are taken at this size and scaled, so they keep their shape at any em.
constexpr double kOutlineEm = 1024;

}  // namespace

QFont FontOf(const FontKey& key, double dpi) {
    EnsureApplication();
    QStringList families;
    for (const String& f : key.families) families << QString::fromStdU16String(f);
    QFont q;
    q.setFamilies(families);
    q.setPointSizeF(std::max(key.em, 1e-3) * 72.0 / dpi);
    q.setBold(key.style & gdiplus::FontStyleBold);
    q.setItalic(key.style & gdiplus::FontStyleItalic);
    q.setUnderline(key.style & gdiplus::FontStyleUnderline);
    q.setStrikeOut(key.style & gdiplus::FontStyleStrikeout);
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

bool QtGdiPlusEngine::HasFamily(const String& name) {
    EnsureApplication();
    QString n = QString::fromStdU16String(name);
    for (const QString& f : QFontDatabase::families())
        if (f.compare(n, Qt::CaseInsensitive) == 0) return true;
    return false;
}

FontMetricsD QtGdiPlusEngine::Metrics(const FontKey& key) {
    QFontMetricsF m(FontOf(key, MeasureDevice().logicalDpiY()), &MeasureDevice());
    FontMetricsD out;
    out.ascent = m.ascent();
    out.descent = m.descent();
    out.lineSpacing = m.lineSpacing();
    out.underlinePosition = m.underlinePos();
    out.lineThickness = m.lineWidth();
    return out;
}

std::vector<double> QtGdiPlusEngine::CaretPositions(const FontKey& key, const String& text) {
    QString s = QString::fromStdU16String(text);
    QTextLayout layout(s, FontOf(key, MeasureDevice().logicalDpiY()), &MeasureDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    std::vector<double> out(text.size() + 1, 0.0);
    if (!line.isValid()) return out;
    for (int i = 0; i <= s.size(); ++i) out[i] = line.cursorToX(i);
    // Carets of right-to-left text run backwards: keep them rising, as the layout measures
    // widths from them.
    for (size_t i = 1; i < out.size(); ++i) out[i] = std::max(out[i], out[i - 1]);
    return out;
}

PathData QtGdiPlusEngine::Outline(const FontKey& key, const std::vector<TextRun>& runs) {
    FontKey big = key;
    big.em = kOutlineEm;
    QFont font = FontOf(big, MeasureDevice().logicalDpiY());
    double k = key.em / kOutlineEm;
    QPainterPath all;
    all.setFillRule(Qt::WindingFill);
    for (const TextRun& run : runs) {
        QPainterPath glyphs;
        glyphs.addText(0, 0, font, QString::fromStdU16String(run.text));
        all.addPath(QTransform(k, 0, 0, k, run.origin.X, run.origin.Y).map(glyphs));
    }
    PathData out = PathDataOf(all);
    out.fillMode = gdiplus::FillModeWinding;
    return out;
}

Status QtGdiPlusEngine::DrawText(const Target& target, const DrawState& state, const FontKey& key, const std::vector<TextRun>& runs,
                                 const gdiplus::engine::Paint& paint) {
    return gdip::Paint(target, state, [&](QPainter& p, const QTransform& device) {
        QTransform world = QTransformOf(state.world) * device;
        QFont font = FontOf(key, p.device()->logicalDpiY());
        font.setStyleStrategy(state.textAntialias ? QFont::PreferAntialias : QFont::NoAntialias);
        p.setFont(font);
        p.setTransform(world);
        p.setPen(QPen(BrushOf(paint, world, device), 0));
        for (const TextRun& run : runs) {
            p.setLayoutDirection(run.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
            p.drawText(QPointF(run.origin.X, run.origin.Y), QString::fromStdU16String(run.text));
        }
    });
}

}  // namespace qtb::gdip
