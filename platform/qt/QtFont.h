#pragma once
// A font face of the Qt backend: the QFont of a TFont and its metrics. The raster canvas draws a
// front's text with the face the front measured it with.
//
// Faces of one description (name, height, style, pitch, anti-aliasing) share their QFont, its
// metrics and the advances measured so far: a font changed back and forth, as a grid does from
// cell to cell, costs a look-up, and a text measured again costs a look-up too. Qt keeps its font
// engines per thread, so each thread keeps its own faces.
#include <QFont>
#include <QFontMetrics>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Fonts.h"

namespace qtb {

struct FaceData {
    FaceData(const TFont& font, bool antialias);
    const uint64_t id;  // never the same twice
    QFont font;
    QFontMetrics metrics;
    ui::FontMetrics fontMetrics;
    // Advances by text, up to kMaxWidths of them (then begun again).
    static constexpr size_t kMaxWidths = 4096;
    static constexpr size_t kMaxWidthText = 256;
    std::unordered_map<std::u16string, int> widths;
};

class QtFontFace final : public ui::FontFace {
public:
    explicit QtFontFace(std::shared_ptr<FaceData> data) : FData(std::move(data)) {}
    int TextWidth(const String& text) const override;
    const ui::FontMetrics& Metrics() const override { return FData->fontMetrics; }
    const QFont& Font() const { return FData->font; }
    const QFontMetrics& QtMetrics() const { return FData->metrics; }
    // Tells the faces of one description from others (an open painter keeps the font it has).
    uint64_t Key() const { return FData->id; }

private:
    std::shared_ptr<FaceData> FData;
};

}  // namespace qtb
