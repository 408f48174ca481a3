// The mouse capture on window handles, the pointer's place and the control under a point.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

struct Seen {
    UINT Msg;
    int X, Y;
    bool operator==(const Seen&) const = default;
};

// Keeps the mouse messages it gets, and how often it lost the capture.
template <class Base>
class Recorder : public Base {
public:
    explicit Recorder(TComponent* owner) : Base(owner) {}
    std::vector<Seen> Mouse;
    std::vector<HWND> CaptureDuringMoves;
    int CaptureLost = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONUP) {
            Mouse.push_back({m.Msg, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            if (m.Msg == WM_MOUSEMOVE) CaptureDuringMoves.push_back(GetCapture());
        }
        if (m.Msg == WM_CAPTURECHANGED) ++CaptureLost;
        Base::WndProc(m);
    }
};
using GraphicRecorder = Recorder<TGraphicControl>;
using WindowRecorder = Recorder<TCustomControl>;

class MouseCaptureTest : public ui::test::FormTest {
protected:
    TCustomControl* panel = nullptr;
    GraphicRecorder* graphic = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        panel = Add<TCustomControl>();
        panel->SetBounds(10, 10, 200, 150);
        graphic = new GraphicRecorder(form);
        graphic->SetParent(panel);
        graphic->SetBounds(20, 20, 40, 30);
        form->Show();
    }
};

}  // namespace

TEST_F(MouseCaptureTest, AGraphicControlThatCapturesOnPressKeepsTheMouseOutsideItsBounds) {
    ui::test::MouseDown(graphic, 5, 5);
    EXPECT_EQ(GetCapture(), panel->Handle());  // the parent's window holds a graphic control's capture
    EXPECT_EQ(Mouse->Capture(), panel->Handle());
    ui::test::MouseMove(graphic, 100, 90, MK_LBUTTON);  // beside it, on the panel
    ui::test::MouseMove(graphic, 250, -15, MK_LBUTTON);  // off the panel too
    ui::test::MouseUp(graphic, 250, -15);
    EXPECT_EQ(graphic->Mouse, (std::vector<Seen>{{WM_LBUTTONDOWN, 5, 5}, {WM_MOUSEMOVE, 100, 90}, {WM_MOUSEMOVE, 250, -15},
                                                 {WM_LBUTTONUP, 250, -15}}));
    EXPECT_EQ(graphic->CaptureDuringMoves, (std::vector<HWND>{panel->Handle(), panel->Handle()}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(graphic->CaptureLost, 1);
}

TEST_F(MouseCaptureTest, AWindowWithTheCaptureGetsTheMouseOverOtherWindows) {
    auto* a = Add<WindowRecorder>();
    auto* b = Add<WindowRecorder>();
    a->SetBounds(220, 10, 80, 60);
    b->SetBounds(220, 100, 80, 60);
    EXPECT_EQ(SetCapture(a->Handle()), nullptr);
    ui::test::MouseMove(b, 5, 6);  // no button down: only the capture sends it to a
    EXPECT_TRUE(b->Mouse.empty());
    EXPECT_EQ(a->Mouse, (std::vector<Seen>{{WM_MOUSEMOVE, 5, 96}}));

    EXPECT_EQ(SetCapture(b->Handle()), a->Handle());
    EXPECT_EQ(a->CaptureLost, 1);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(b->CaptureLost, 1);
    EXPECT_EQ(GetCapture(), nullptr);

    // A handle that is no window is refused and takes nothing from the holder.
    Mouse->SetCapture(a->Handle());
    int stranger = 0;
    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(&stranger)), nullptr);
    EXPECT_EQ(Mouse->Capture(), a->Handle());
    Mouse->SetCapture(nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    ui::test::MouseMove(b, 5, 6);
    EXPECT_EQ(b->Mouse.size(), 1u);
}

TEST_F(MouseCaptureTest, FindDragTargetAnswersTheControlUnderAScreenPoint) {
    auto* off = new GraphicRecorder(form);
    off->SetParent(panel);
    off->SetBounds(100, 20, 30, 30);
    off->SetEnabled(false);
    struct Case {
        const char* where;
        TPoint screen;
        bool allowDisabled;
        TControl* expected;
    };
    const Case cases[] = {
        {"a graphic control", graphic->ClientToScreen(Point(3, 3)), false, graphic},
        {"the panel beside it", panel->ClientToScreen(Point(180, 140)), false, panel},
        {"a disabled graphic control", off->ClientToScreen(Point(3, 3)), false, panel},
        {"a disabled one, allowed", off->ClientToScreen(Point(3, 3)), true, off},
        {"the form", form->ClientToScreen(Point(300, 200)), false, form},
        {"no window of the program", Point(5000, 5000), false, nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(FindDragTarget(c.screen, c.allowDisabled), c.expected) << c.where;
    panel->SetEnabled(false);  // a disabled window covers what lies under it
    EXPECT_EQ(FindDragTarget(graphic->ClientToScreen(Point(3, 3)), false), form);
    EXPECT_EQ(FindDragTarget(graphic->ClientToScreen(Point(3, 3)), true), graphic);
}

TEST_F(MouseCaptureTest, TheCursorPositionIsWhereTheLayerLastSawThePointer) {
    ui::test::MouseMove(graphic, 3, 4);
    TPoint p;
    EXPECT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p, graphic->ClientToScreen(Point(3, 4)));
    EXPECT_EQ(FindDragTarget(Mouse->CursorPos(), false), graphic);
    ui::test::SetCursorPos(Point(7, 8));
    EXPECT_EQ(Mouse->CursorPos(), Point(7, 8));
}
