#include "grid/AsgEditLayout.h"

#include <algorithm>

#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"

namespace asgedit {

int FontHeightWithGap(TFont* Font) {
    TBitmap scratch(1, 1);
    HDC dc = scratch.Canvas()->Handle();
    TEXTMETRIC system{}, own{};
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetrics(dc, &system);
    SelectObject(dc, Font->Handle());
    GetTextMetrics(dc, &own);
    return own.tmHeight + std::min(system.tmHeight, own.tmHeight) / 4;
}

void PlaceRightButton(TWinControl* Edit, TControl* Button, TFormBorderStyle Border) {
    int w = Button->Width();
    if (NewStyleControls && Edit->Ctl3D()) {
        int k = Border == bsSingle ? 5 : 1;
        Button->SetBounds(Edit->Width() - w - k, 0, w, Edit->Height() - k);
    } else {
        Button->SetBounds(Edit->Width() - w, 1, w, Edit->Height() - 3);
    }
}

}  // namespace asgedit
