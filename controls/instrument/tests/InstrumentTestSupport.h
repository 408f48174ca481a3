#pragma once
// Shared by the control tests of this folder.
#include <algorithm>
#include <climits>

#include "controls/instrument/MvFlashT.h"
#include "platform/ui/TestSupport.h"

namespace instrument_test {

// The bounding box of the pixels of one colour inside r; empty when there are none.
inline TRect Find(const ui::test::Picture& p, int32_t color, TRect r) {
    TRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (p.At(x, y) == color) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.Left == INT32_MAX ? TRect() : box;
}

// Whether the control is among the flash timer's clients.
inline bool IsFlashClient(const TControl* c) {
    return std::any_of(FlashClients.begin(), FlashClients.end(), [c](const TFlashClient* f) { return f->Control == c; });
}

}  // namespace instrument_test
