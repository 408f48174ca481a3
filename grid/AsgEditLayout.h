#pragma once
// What the grid's one-line editors with a control at their right edge (the spin edit's arrows,
// the edit's embedded button) share: the text height they are held at and where that control
// goes.
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace asgedit {

// The font's height plus a quarter of the smaller of it and the system font's.
int FontHeightWithGap(TFont* Font);

// Puts Button at the right edge of Edit: with the 3D look k (1 without border, 5 with one)
// from the right, full height less k; else flush right, from y 1, 3 less than the height.
void PlaceRightButton(TWinControl* Edit, TControl* Button, TFormBorderStyle Border);

}  // namespace asgedit
