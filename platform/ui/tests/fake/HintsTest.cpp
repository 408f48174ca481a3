// The application's hints on the manual clock: when they show and hide, what CM_HINTSHOW and
// OnShowHint change, and the hint window class.
#include <gtest/gtest.h>

#include "platform/ui/testing/Fixtures.h"

namespace {

using ui::test::CharTaker;

// A control whose CM_HINTSHOW handler the test writes.
class HintTaker : public CharTaker {
public:
    explicit HintTaker(TComponent* owner) : CharTaker(owner) {}
    std::function<LRESULT(THintInfo&)> OnHintShow;
    int Asked = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_HINTSHOW) {
            ++Asked;
            m.Result = OnHintShow ? OnHintShow(*reinterpret_cast<THintInfo*>(m.LParam)) : 0;
            return;
        }
        CharTaker::Dispatch(m);
    }
};

class BigHint : public THintWindow {
public:
    explicit BigHint(TComponent* owner) : THintWindow(owner) {}
    const char* ClassName() const override { return "BigHint"; }
    TRect CalcHintRect(int, const String&, void*) override { return TRect(0, 0, 120, 30); }
};

class HintsTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        a = Add<HintTaker>(10, 10);
        b = Add<HintTaker>(100, 10);
        a->SetHint(String("abc|the long hint"));
        b->SetHint(String("bee"));
        a->SetShowHint(true);
        b->SetShowHint(true);
        form->SetBounds(200, 100, 320, 240);
        form->Show();
        Application->CancelHint();
    }
    void TearDown() override {
        Application->CancelHint();
        Application->SetHintWindowClass(nullptr);
        Application->OnShowHint = nullptr;
        FormTest::TearDown();
    }
    static std::vector<TTipWindowInfo> Tips() { return ui::ShownTipWindows(); }
    void Advance(uint64_t ms) { ui::test::AdvanceClock(*clock, ms); }

    rtl::ScopedManualClock clock;
    HintTaker* a = nullptr;
    HintTaker* b = nullptr;
};

TEST_F(HintsTest, ShortHintShowsAfterThePauseAndHidesAfterTheHidePause) {
    ui::test::MouseMove(a, 5, 5);
    Advance(Application->HintPause() - 1);
    EXPECT_TRUE(Tips().empty());
    Advance(1);
    auto tips = Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Text, String("abc"));
    EXPECT_EQ(tips[0].ClassName, String("THintWindow"));
    EXPECT_EQ(tips[0].Color, clInfoBk);
    // Below the pointer, at its left.
    TPoint pointer = a->ClientToScreen(TPoint(5, 5));
    EXPECT_EQ(tips[0].Rect.Left, pointer.X);
    EXPECT_GT(tips[0].Rect.Top, pointer.Y);
    // Nothing of the activation or the focus moved.
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_TRUE(a->Focused());
    // The pointer passing over the hint window itself leaves it as it is.
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* w = dynamic_cast<THintWindow*>(Application->Components(i)); w && w->Showing()) ui::test::MouseMove(w, 2, 2);
    EXPECT_EQ(Tips().size(), 1u);
    Advance(Application->HintHidePause() - 1);
    EXPECT_EQ(Tips().size(), 1u);
    Advance(1);
    EXPECT_TRUE(Tips().empty());
    // Resting on, it stays hidden; a neighbour shows its own after the short pause.
    Advance(2 * Application->HintPause());
    EXPECT_TRUE(Tips().empty());
}

TEST_F(HintsTest, NeighbourAfterAShownHintTakesTheShortPauseAndCancelHintHidesAtOnce) {
    ui::test::MouseMove(a, 5, 5);
    Advance(Application->HintPause());
    ASSERT_EQ(Tips().size(), 1u);
    ui::test::MouseMove(b, 5, 5);
    EXPECT_TRUE(Tips().empty());
    Advance(Application->HintShortPause());
    ASSERT_EQ(Tips().size(), 1u);
    EXPECT_EQ(Tips()[0].Text, String("bee"));
    Application->CancelHint();
    EXPECT_TRUE(Tips().empty());
    Advance(Application->HintPause());
    EXPECT_TRUE(Tips().empty());
    // A press hides it too.
    ui::test::MouseMove(a, 6, 6);
    Advance(Application->HintPause());
    ASSERT_EQ(Tips().size(), 1u);
    ui::test::MouseDown(a, 6, 6);
    EXPECT_TRUE(Tips().empty());
    ui::test::MouseUp(a, 6, 6);
}

TEST_F(HintsTest, HintShowHandlerDecidesTextPlaceColourAndClass) {
    a->OnHintShow = [](THintInfo& info) {
        EXPECT_EQ(info.HintStr, String("abc"));
        EXPECT_EQ(info.CursorPos, TPoint(5, 5));
        EXPECT_EQ(info.CursorRect, TRect(0, 0, 80, 20));
        info.HintStr = String("changed");
        info.HintPos = TPoint(50, 60);
        info.HintColor = clYellow;
        info.HintWindowClass = HintWindowClassOf<BigHint>();
        return LRESULT{0};
    };
    ui::test::MouseMove(a, 5, 5);
    Advance(Application->HintPause());
    auto tips = Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Text, String("changed"));
    EXPECT_EQ(tips[0].ClassName, String("BigHint"));
    EXPECT_EQ(tips[0].Rect, Bounds(50, 60, 120, 30));
    EXPECT_EQ(tips[0].Color, clYellow);

    // A handler answering non-zero shows none.
    Application->CancelHint();
    b->OnHintShow = [](THintInfo&) { return LRESULT{1}; };
    ui::test::MouseMove(b, 5, 5);
    Advance(Application->HintPause());
    EXPECT_EQ(b->Asked, 1);
    EXPECT_TRUE(Tips().empty());
}

TEST_F(HintsTest, ApplicationClassAndOnShowHintTakePartAndTimeoutsAreHonoured) {
    Application->SetHintWindowClass(HintWindowClassOf<BigHint>());
    Application->OnShowHint = [](String& text, bool& canShow, THintInfo& info) {
        text = text + String("!");
        info.HideTimeout = 100;
    };
    int reshown = 0;
    a->OnHintShow = [&](THintInfo& info) {
        if (++reshown == 1) info.ReshowTimeout = 40;
        info.HintData = &reshown;
        return LRESULT{0};
    };
    ui::test::MouseMove(a, 5, 5);
    Advance(Application->HintPause());
    auto tips = Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].ClassName, String("BigHint"));
    EXPECT_EQ(tips[0].Text, String("abc!"));
    EXPECT_EQ(tips[0].Rect.Width(), 120);
    Advance(40);
    EXPECT_EQ(reshown, 2);  // asked again after the reshow timeout, which starts the hide anew
    Advance(99);
    EXPECT_EQ(Tips().size(), 1u);
    Advance(1);
    EXPECT_TRUE(Tips().empty());
    // Hints off for the application: none.
    Application->CancelHint();
    Application->SetShowHint(false);
    ui::test::MouseMove(b, 5, 5);
    Advance(Application->HintPause());
    Application->SetShowHint(true);
    EXPECT_TRUE(Tips().empty());
}

TEST_F(HintsTest, AControlFreedWhileItsHintWaitsTakesTheHintWithIt) {
    ui::test::MouseMove(a, 5, 5);
    a->Free();
    Advance(Application->HintPause());
    EXPECT_TRUE(Tips().empty());
}

}  // namespace
