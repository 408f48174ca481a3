#pragma once
// Where the attached caption label of a styled control goes. One rule serves every control that
// carries such a label: the styled edit's fifteen positions, and the first thirteen of them for
// the combo box. Each control keeps its own position type (declared in its unit) and passes its
// ordinal here.
#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"

class TFont;
class TCustomLabel;

namespace styled {

// The positions, in the order of the controls' position types: the first part names the side
// of the control the label is on, the second where along that side it sits.
enum TLabelPlace : int {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};

// The label's top-left in the parent: Control is the control's bounds, Label the label's size,
// TextWidth its caption's width (AttachedLabelTextWidth), Margin the gap between the two.
// Centring divides toward zero. A position outside the fifteen leaves the label at
// (Control.Left, Control.Top).
TPoint AttachedLabelPos(int Position, const TRect& Control, const TSize& Label, int TextWidth, int Margin);

// The caption's width as the rule measures it: a calculate-only DrawText in a 1000 x 255
// rectangle, prefix characters hidden, in Font.
int AttachedLabelTextWidth(const String& Caption, TFont* Font);

// Measures the label's caption in its font and moves the label to its place.
void PlaceAttachedLabel(TCustomLabel* Label, int Position, const TRect& Control, int Margin);

}  // namespace styled
