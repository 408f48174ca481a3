#pragma once
// Shared by the picture fuzz targets: every input is loaded into a graphic, and what loads is drawn
// at its own size and stretched onto a small bitmap, as a form would show it.
#include <cstdint>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Graphics.h"

namespace fuzzing {

inline TBitmap& Target() {
    static TBitmap* target = [] {
        qtb::EnsureApplication();
        return new TBitmap(64, 48, pf24bit);  // lives for the whole run
    }();
    return *target;
}

inline void DrawAll(TGraphic& g) {
    TCanvas* c = Target().Canvas();
    c->Draw(0, 0, &g);
    c->StretchDraw(Rect(2, 3, 60, 45), &g);
    c->StretchDraw(Rect(60, 45, 4, 2), &g);  // mirrored
}

// Loads the bytes into g and draws it; refusals of damaged data are the expected outcome.
inline void LoadAndDraw(TGraphic& g, const uint8_t* data, size_t size) {
    try {
        g.LoadFromBytes(std::vector<uint8_t>(data, data + size));
    } catch (const Exception&) {
        return;
    }
    try {
        DrawAll(g);
    } catch (const EInvalidGraphic&) {
        // Pixel data that only shows its damage when decoded.
    }
}

}  // namespace fuzzing
