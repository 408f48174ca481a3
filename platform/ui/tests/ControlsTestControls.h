#pragma once
// Controls the tests of controls share: a coloured panel, and a graphic control that paints far
// beyond its own bounds and counts what happens to it.
#include "platform/ui/Controls.h"

namespace controls_test {

constexpr int32_t kPanelColor = 0x00C08040;
constexpr int32_t kBoxColor = 0x000000FF;

class Panel : public TCustomControl {
public:
    explicit Panel(TComponent* owner) : TCustomControl(owner) { SetColor(kPanelColor); }
};

// Paints far beyond its own bounds: the clipping decides what shows.
class Box : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Enters = 0, Leaves = 0, Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(kBoxColor);
        Canvas()->FillRect(Rect(-50, -50, Width() + 50, Height() + 50));
    }
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER) ++Enters;
        if (m.Msg == CM_MOUSELEAVE) ++Leaves;
        TGraphicControl::Dispatch(m);
    }
};

}  // namespace controls_test
