// TFont as a QFont, and the font faces that measure and draw a canvas's text.
#include "platform/qt/QtFont.h"

#include <QStringList>
#include <atomic>
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

namespace {
uint64_t NextFaceId() {
    static std::atomic<uint64_t> next{0};
    return ++next;
}
}  // namespace

FaceData::FaceData(const TFont& f, bool antialias) : id(NextFaceId()), font(QFontOf(f, antialias)), metrics(font) {
    fontMetrics.ascent = metrics.ascent();
    fontMetrics.descent = metrics.descent();
    fontMetrics.pixelSize = font.pixelSize();
    fontMetrics.leading = metrics.leading();
    fontMetrics.averageWidth = metrics.averageCharWidth();
    fontMetrics.maxWidth = metrics.maxWidth();
    fontMetrics.bold = font.bold();
    fontMetrics.italic = font.italic();
    fontMetrics.underline = font.underline();
    fontMetrics.strikeOut = font.strikeOut();
}

int QtFontFace::TextWidth(const String& text) const {
    auto measure = [&] {
        return FData->metrics.horizontalAdvance(QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())));
    };
    if (text.size() > FaceData::kMaxWidthText) return measure();
    auto& widths = FData->widths;
    if (auto it = widths.find(text); it != widths.end()) return it->second;
    if (widths.size() >= FaceData::kMaxWidths) widths.clear();
    int w = measure();
    widths.emplace(text, w);
    return w;
}

namespace {

// The whole description a face is made from.
struct FaceKey {
    std::u16string name;
    int height;
    int style;
    int pitch;
    bool antialias;
    bool operator==(const FaceKey&) const = default;
};

struct FaceKeyHash {
    size_t operator()(const FaceKey& k) const {
        size_t h = std::hash<std::u16string>()(k.name);
        for (int v : {k.height, k.style, k.pitch, k.antialias ? 1 : 0}) h = h * 1000003u ^ static_cast<size_t>(v);
        return h;
    }
};

int StyleBits(const TFontStyles& st) {
    return (st.Contains(fsBold) ? 1 : 0) | (st.Contains(fsItalic) ? 2 : 0) | (st.Contains(fsUnderline) ? 4 : 0) |
           (st.Contains(fsStrikeOut) ? 8 : 0);
}

}  // namespace

std::unique_ptr<ui::FontFace> CreateFontFace(const TFont& font, bool antialias) {
    // Bounded: a program that walks through many sizes starts again rather than growing.
    constexpr size_t kMaxFaces = 256;
    thread_local std::unordered_map<FaceKey, std::shared_ptr<FaceData>, FaceKeyHash> faces;
    FaceKey key{font.Name(), font.Height(), StyleBits(font.Style()), static_cast<int>(font.Pitch()), antialias};
    auto it = faces.find(key);
    if (it == faces.end()) {
        if (faces.size() >= kMaxFaces) faces.clear();
        it = faces.emplace(std::move(key), std::make_shared<FaceData>(font, antialias)).first;
    }
    return std::make_unique<QtFontFace>(it->second);
}

}  // namespace qtb
