#include "controls/styled/LabelPlacement.h"

#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrlsDrawn.h"

namespace styled {

TPoint AttachedLabelPos(int Position, const TRect& Control, const TSize& Label, int TextWidth, int Margin) {
    const int L = Control.Left, T = Control.Top, W = Control.Width(), H = Control.Height();
    const int lw = Label.cx, lh = Label.cy, w = TextWidth, M = Margin;
    const int midTop = T + (H - lh) / 2, midLeft = L + (W - lw) / 2;
    const int above = T - lh - M, below = T + H + M, bottomAligned = T + H - lh;
    switch (Position) {
        case lpLeftTop: return Point(L - w - M, T);
        case lpLeftCenter: return Point(L - w - M, midTop);
        case lpLeftBottom: return Point(L - w - M, bottomAligned);
        case lpTopLeft: return Point(L, above);
        case lpBottomLeft: return Point(L, below);
        case lpLeftTopLeft: return Point(L - M, T);
        case lpLeftCenterLeft: return Point(L - M, midTop);
        case lpLeftBottomLeft: return Point(L - M, bottomAligned);
        case lpTopCenter: return Point(midLeft, above);
        case lpBottomCenter: return Point(midLeft, below);
        case lpRightTop: return Point(L + W + M, T);
        case lpRightCenter: return Point(L + W + M, midTop);
        case lpRighBottom: return Point(L + W + M, bottomAligned);
        case lpTopRight: return Point(L + W - lw, above);
        case lpBottomRight: return Point(L + W - lw, below);
        default: return Point(L, T);
    }
}

int AttachedLabelTextWidth(const String& Caption, TFont* Font) {
    ui::MeasureCanvas measure(Font);
    TRect r = Rect(0, 0, 1000, 255);
    DrawText(measure->Handle(), Caption, -1, &r, DT_CALCRECT | DT_HIDEPREFIX);
    return r.Width();
}

void PlaceAttachedLabel(TCustomLabel* Label, int Position, const TRect& Control, int Margin) {
    if (!Label) return;
    int w = AttachedLabelTextWidth(Label->Caption(), Label->Font());
    TPoint p = AttachedLabelPos(Position, Control, TSize(Label->Width(), Label->Height()), w, Margin);
    Label->SetBounds(p.X, p.Y, Label->Width(), Label->Height());
}

}  // namespace styled
