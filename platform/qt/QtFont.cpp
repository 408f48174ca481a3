// TFont to QFont, and the text measurements of a canvas.
#include <QFontMetrics>
#include <QStringList>
#include <cmath>

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

static void EnsureFont(TCanvas* c) {
    TCanvasDc& dc = c->Dc();
    if (dc.qfontValid && dc.qfontAntialias == c->AntiAlias()) return;
    dc.qfont = QFontOf(*c->Font(), c->AntiAlias());
    dc.metrics = std::make_unique<QFontMetrics>(dc.qfont);
    dc.qfontAntialias = c->AntiAlias();
    dc.qfontValid = true;
}

const QFont& CanvasFont(TCanvas* c) {
    EnsureFont(c);
    return c->Dc().qfont;
}

const QFontMetrics& CanvasMetrics(TCanvas* c) {
    EnsureFont(c);
    return *c->Dc().metrics;
}

}  // namespace qtb

using namespace qtb;

TSize TCanvas::TextExtent(const String& text) {
    const QFontMetrics& m = CanvasMetrics(this);
    return TSize(m.horizontalAdvance(QString::fromStdU16String(text)), m.ascent() + m.descent());
}

int TCanvas::TextWidth(const String& text) { return TextExtent(text).cx; }
int TCanvas::TextHeight(const String& text) { return TextExtent(text).cy; }

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !tm) return FALSE_;
    const QFont& f = CanvasFont(c);
    const QFontMetrics& m = CanvasMetrics(c);
    *tm = TEXTMETRIC();
    tm->tmAscent = m.ascent();
    tm->tmDescent = m.descent();
    tm->tmHeight = m.ascent() + m.descent();
    tm->tmInternalLeading = std::max(0, tm->tmHeight - f.pixelSize());
    tm->tmExternalLeading = std::max(0, m.leading());
    tm->tmAveCharWidth = m.averageCharWidth();
    tm->tmMaxCharWidth = m.maxWidth();
    tm->tmWeight = f.bold() ? 700 : 400;
    tm->tmItalic = f.italic() ? 1 : 0;
    tm->tmUnderlined = f.underline() ? 1 : 0;
    tm->tmStruckOut = f.strikeOut() ? 1 : 0;
    tm->tmCharSet = c->Font()->Charset();
    tm->tmPitchAndFamily = c->Font()->Pitch() == fpFixed ? 0 : 1;  // the platform's bit means variable
    return TRUE_;
}

BOOL GetTextExtentPoint32(HDC dc, const String& text, int count, TSize* size) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !size || count < 0) return FALSE_;
    *size = c->TextExtent(text.substr(0, static_cast<size_t>(count)));
    return TRUE_;
}
