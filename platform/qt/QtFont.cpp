// TFont as a QFont, and the font faces that measure and draw a canvas's text.
#include "platform/qt/QtFont.h"

#include <QStringList>
#include <cmath>

#include "platform/qt/QtGraphics.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"

namespace qtb {

QFont QFontOf(const TFont& font, bool antialias) {
    EnsureApplication();
    QStringList families;
    for (const String& f : TFont::SubstituteFamilies(font.Name())) families << QString::fromStdU16String(f);
    QFont q;
    q.setFamilies(families);
    int h = font.Height();
    if (h < 0) {
        q.setPixelSize(-h);
    } else if (h > 0) {
        // A positive height is the cell height (ascent + descent): scale the character height to it.
        QFont probe = q;
        probe.setPixelSize(100);
        QFontMetrics m(probe);
        int cell = std::max(1, m.ascent() + m.descent());
        q.setPixelSize(std::max(1, static_cast<int>(std::lround(h * 100.0 / cell))));
    } else {
        q.setPixelSize(16);
    }
    TFontStyles st = font.Style();
    q.setBold(st.Contains(fsBold));
    q.setItalic(st.Contains(fsItalic));
    q.setUnderline(st.Contains(fsUnderline));
    q.setStrikeOut(st.Contains(fsStrikeOut));
    if (font.Pitch() == fpFixed) q.setFixedPitch(true);
    q.setKerning(false);
    q.setHintingPreference(QFont::PreferFullHinting);
    q.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    return q;
}

QtFontFace::QtFontFace(const TFont& font, bool antialias) : FFont(QFontOf(font, antialias)), FMetrics(FFont) {}

int QtFontFace::TextWidth(const String& text) const {
    return FMetrics.horizontalAdvance(QString::fromStdU16String(text));
}

const ui::FontMetrics& QtFontFace::Metrics() const {
    // The widths are looked up only when asked for: most faces only measure and draw text.
    if (!FMeasured) {
        FMeasured = true;
        FFontMetrics.ascent = FMetrics.ascent();
        FFontMetrics.descent = FMetrics.descent();
        FFontMetrics.pixelSize = FFont.pixelSize();
        FFontMetrics.leading = FMetrics.leading();
        FFontMetrics.averageWidth = FMetrics.averageCharWidth();
        FFontMetrics.maxWidth = FMetrics.maxWidth();
        FFontMetrics.bold = FFont.bold();
        FFontMetrics.italic = FFont.italic();
        FFontMetrics.underline = FFont.underline();
        FFontMetrics.strikeOut = FFont.strikeOut();
    }
    return FFontMetrics;
}

std::unique_ptr<ui::FontFace> CreateFontFace(const TFont& font, bool antialias) {
    return std::make_unique<QtFontFace>(font, antialias);
}

}  // namespace qtb
