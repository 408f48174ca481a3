#pragma once
// Painting a window control's graphic children into a DC of one's own: the styled edit's
// transparent erase and the drop-down editors' buffers use it.
#include "platform/ui/Controls.h"

class TWinCtrl : public TWinControl {
public:
    using TWinControl::TWinControl;
    void PaintCtrls(HDC DC, TControl* First) { PaintControls(DC, First); }
    // The same for any window control.
    static void PaintCtrls(TWinControl* Control, HDC DC, TControl* First) {
        void (TWinControl::*paint)(HDC, TControl*) = &TWinCtrl::PaintControls;
        (Control->*paint)(DC, First);
    }
};
