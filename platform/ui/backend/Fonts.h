#pragma once
// A TFont as the backend measures and draws it.
#include "platform/rtl/String.h"

namespace ui {

struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int pixelSize = 0;  // the character height
    int leading = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class FontFace {
public:
    virtual ~FontFace() = default;
    // The advance of the text on a line.
    virtual int TextWidth(const String& text) const = 0;
    virtual const FontMetrics& Metrics() const = 0;
};

}  // namespace ui
