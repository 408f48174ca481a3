#pragma once
// Controls the tests of controls share: a coloured panel, a graphic control that paints far
// beyond its own bounds and counts what happens to it, and a parent that keeps the scroll
// messages of its bars.
#include <vector>

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

struct ScrollSeen {
    UINT Msg;
    int Code;
    LPARAM From;
    bool operator==(const ScrollSeen&) const = default;
};

// Keeps the scroll messages it gets; with Keep it does not hand them back to the bar that sent
// them.
class ScrollParent : public TCustomControl {
public:
    explicit ScrollParent(TComponent* owner) : TCustomControl(owner) { SetBounds(10, 10, 200, 150); }
    std::vector<ScrollSeen> Log;
    bool Keep = false;

protected:
    void WMVScroll(TMessage& m) override { Seen(m, [&] { TCustomControl::WMVScroll(m); }); }
    void WMHScroll(TMessage& m) override { Seen(m, [&] { TCustomControl::WMHScroll(m); }); }

private:
    template <class Inherited>
    void Seen(TMessage& m, Inherited inherited) {
        Log.push_back({m.Msg, m.WParamLo(), m.LParam});
        if (!Keep) inherited();
    }
};

}  // namespace controls_test
