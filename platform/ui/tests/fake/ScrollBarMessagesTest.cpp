// A scroll bar control tells its parent of the user's actions with WM_VSCROLL/WM_HSCROLL and its
// own handle; the parent's default handling gives the message back to the bar, which moves. A
// window's own bar repeats a held arrow or page area as a held key repeats.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/Clock.h"
#include "platform/win/Window.h"

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

using controls_test::ScrollParent;
using controls_test::ScrollSeen;

class ScrollBarMessagesTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->Show();
    }
};

}  // namespace

TEST_F(ScrollBarMessagesTest, AScrollBarControlTellsItsParentAndMovesUnlessTheParentKeepsIt) {
    auto* parent = Add<ScrollParent>();
    auto* bar = new TScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetParent(parent);
    bar->SetParams(0, 0, 50);
    bar->SetFocus();
    auto from = reinterpret_cast<LPARAM>(bar->Handle());
    ui::test::Key(bar, VK_DOWN);
    EXPECT_EQ(parent->Log, (std::vector<ScrollSeen>{{WM_VSCROLL, SB_LINEDOWN, from}, {WM_VSCROLL, SB_ENDSCROLL, from}}));
    EXPECT_EQ(bar->Position(), 1);
    parent->Keep = true;
    ui::test::Key(bar, VK_NEXT);
    EXPECT_EQ(parent->Log.size(), 4u);
    EXPECT_EQ(bar->Position(), 1);
    parent->Keep = false;
    parent->Log.clear();
    bar->SetKind(sbHorizontal);
    ui::test::Key(bar, VK_END);
    EXPECT_EQ(parent->Log, (std::vector<ScrollSeen>{{WM_HSCROLL, SB_BOTTOM, from}, {WM_HSCROLL, SB_ENDSCROLL, from}}));
    EXPECT_EQ(bar->Position(), 50);
}

namespace {

// A window whose own vertical bar scrolls it: lines by one, pages by the page; it logs the codes.
class Lines : public TCustomControl {
public:
    explicit Lines(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 120, 200); }
    std::vector<int> Codes;
    void Range(int max, int page) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMax = max;
        si.nPage = static_cast<UINT>(page);
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE_);
    }
    // The bar lies right of the client area; points along it in client coordinates.
    int BarX() const { return ClientWidth() + ui::kWindowScrollBarSize / 2; }

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_VSCROLL) {
            int code = static_cast<int>(m.WParamLo());
            Codes.push_back(code);
            int pos = GetScrollPos(Handle(), SB_VERT);
            if (code == SB_LINEDOWN) SetScrollPos(Handle(), SB_VERT, pos + 1, TRUE_);
            if (code == SB_PAGEDOWN) SetScrollPos(Handle(), SB_VERT, pos + 10, TRUE_);
        }
        TCustomControl::WndProc(m);
    }
};

class ScrollRepeatTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        lines = Add<Lines>();
        form->Show();
        lines->Range(999, 10);
    }
    void TearDown() override {
        ui::sys::ResetAnswers();
        FormTest::TearDown();
    }
    int Count(int code) const { return static_cast<int>(std::count(lines->Codes.begin(), lines->Codes.end(), code)); }
    rtl::ScopedManualClock clock;
    Lines* lines = nullptr;
};

TEST_F(ScrollRepeatTest, AHeldArrowRepeatsAfterTheDelayAtTheRateUntilReleased) {
    // The platform's defaults: half a second, then thirty a second.
    ASSERT_EQ(ui::sys::KeyRepeatDelayMs(), 500u);
    ASSERT_EQ(ui::sys::KeyRepeatIntervalMs(), 33u);
    int x = lines->BarX(), y = lines->ClientHeight() - 3;  // the lower arrow
    ui::test::MouseDown(lines, x, y);
    EXPECT_EQ(lines->Codes, (std::vector<int>{SB_LINEDOWN}));
    ui::test::AdvanceClock(*clock, 499);
    EXPECT_EQ(Count(SB_LINEDOWN), 1);
    ui::test::AdvanceClock(*clock, 1200 - 499);
    // One at the press, one at 500 ms, then one every 33 ms up to 1.2 s.
    EXPECT_EQ(Count(SB_LINEDOWN), 1 + 1 + (1200 - 500) / 33);
    ui::test::MouseUp(lines, x, y);
    EXPECT_EQ(lines->Codes.back(), SB_ENDSCROLL);
    size_t logged = lines->Codes.size();
    ui::test::AdvanceClock(*clock, 1000);
    EXPECT_EQ(lines->Codes.size(), logged);

    // Another delay and rate; moving off the arrow pauses it.
    lines->Codes.clear();
    ui::sys::Answers().KeyboardDelay = 0;
    ui::sys::Answers().KeyboardSpeed = 0;
    ui::test::MouseDown(lines, x, y);
    ui::test::AdvanceClock(*clock, 250 + 400);
    EXPECT_EQ(Count(SB_LINEDOWN), 1 + 1 + 1);
    ui::test::MouseMove(lines, 10, 10, MK_LBUTTON);
    ui::test::AdvanceClock(*clock, 2000);
    EXPECT_EQ(Count(SB_LINEDOWN), 3);
    ui::test::MouseUp(lines, 10, 10);
}

TEST_F(ScrollRepeatTest, AHeldArrowWhoseReleaseWentElsewhereStopsAtTheNextTick) {
    int x = lines->BarX(), y = lines->ClientHeight() - 3;
    ui::test::MouseDown(lines, x, y);
    ui::test::AdvanceClock(*clock, 600);
    int repeated = Count(SB_LINEDOWN);
    EXPECT_GE(repeated, 3);
    // The button came up over a window that appeared meanwhile: the bar never hears of it.
    win::SetKeyState(VK_LBUTTON, false);
    ui::test::AdvanceClock(*clock, 1000);
    EXPECT_EQ(Count(SB_LINEDOWN), repeated);
    EXPECT_EQ(lines->Codes.back(), SB_ENDSCROLL);
    EXPECT_EQ(Count(SB_ENDSCROLL), 1);
}

TEST_F(ScrollRepeatTest, AHeldPageAreaStopsWhenTheThumbReachesThePointer) {
    int x = lines->BarX(), y = lines->ClientHeight() / 2;
    ui::test::MouseDown(lines, x, y);
    ui::test::AdvanceClock(*clock, 5000);
    int pages = Count(SB_PAGEDOWN);
    // Half way down the bar: about half of a thousand lines, ten a page.
    EXPECT_GT(pages, 10);
    EXPECT_LT(pages, 99);
    int pos = GetScrollPos(lines->Handle(), SB_VERT);
    EXPECT_EQ(pos, 10 * pages);
    // The thumb now lies under the pointer: held longer, nothing more comes.
    ui::test::AdvanceClock(*clock, 1000);
    EXPECT_EQ(Count(SB_PAGEDOWN), pages);
    ui::test::MouseUp(lines, x, y);
    EXPECT_EQ(lines->Codes.back(), SB_ENDSCROLL);
    EXPECT_NEAR(pos, 450, 60);
}

}  // namespace
