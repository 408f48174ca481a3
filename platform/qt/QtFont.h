#pragma once
// A font face of the Qt backend: the QFont of a TFont and its metrics. The raster canvas draws a
// front's text with the face the front measured it with.
#include <QFont>
#include <QFontMetrics>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Fonts.h"

namespace qtb {

class QtFontFace final : public ui::FontFace {
public:
    QtFontFace(const TFont& font, bool antialias);
    int TextWidth(const String& text) const override;
    const ui::FontMetrics& Metrics() const override;
    const QFont& Font() const { return FFont; }
    const QFontMetrics& QtMetrics() const { return FMetrics; }

private:
    QFont FFont;
    QFontMetrics FMetrics;
    mutable ui::FontMetrics FFontMetrics;
    mutable bool FMeasured = false;
};

}  // namespace qtb
