// A windowed control's bevel is part of its frame: it takes its width from the client area on
// the edges it has, around the scroll bars, and the panel keeps its own defaults of the same
// properties.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

class BevelFrameTest : public ui::test::FormTest {
protected:
    TCustomControl* c = nullptr;
    void SetUp() override {
        FormTest::SetUp();
        c = Add<TCustomControl>(10, 10);
        c->SetBounds(10, 10, 100, 50);
        form->Show();
    }
    LRESULT HitAt(int x, int y) {
        TRect r;
        GetWindowRect(c->Handle(), &r);
        return c->Perform(WM_NCHITTEST, 0, PointToLParam(r.Left + x, r.Top + y));
    }
};

}  // namespace

TEST_F(BevelFrameTest, TheBevelTakesItsWidthFromTheEdgesItHas) {
    EXPECT_EQ(c->BevelInner(), bvRaised);
    EXPECT_EQ(c->BevelOuter(), bvLowered);
    EXPECT_EQ(c->BevelKind(), bkNone);
    EXPECT_EQ(c->BevelEdges(), (TBevelEdges() << beLeft << beTop << beRight << beBottom));
    EXPECT_EQ(c->BevelWidth(), 1);
    ASSERT_EQ(c->ClientRect(), Rect(0, 0, 100, 50));
    const TBevelEdges all = TBevelEdges() << beLeft << beTop << beRight << beBottom;
    struct Case {
        TBevelKind kind;
        TBevelCut inner, outer;
        TBevelEdges edges;
        int width;
        TRect client;  // in window coordinates
    } cases[] = {
        {bkTile, bvRaised, bvLowered, all, 1, Rect(2, 2, 98, 48)},
        {bkTile, bvRaised, bvLowered, TBevelEdges() << beLeft, 1, Rect(2, 0, 100, 50)},
        {bkNone, bvRaised, bvLowered, all, 1, Rect(0, 0, 100, 50)},
        {bkTile, bvRaised, bvNone, all, 1, Rect(1, 1, 99, 49)},
        {bkFlat, bvSpace, bvNone, all, 1, Rect(1, 1, 99, 49)},
        {bkSoft, bvNone, bvNone, all, 3, Rect(0, 0, 100, 50)},
        {bkSoft, bvLowered, bvSpace, TBevelEdges() << beTop << beBottom, 3, Rect(0, 6, 100, 44)},
        {bkTile, bvRaised, bvRaised, TBevelEdges() << beRight << beBottom, 2, Rect(0, 0, 96, 46)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << k.kind << " inner " << k.inner << " outer " << k.outer << " width "
                                        << k.width << " edges " << k.edges.Bits());
        c->SetBevelKind(k.kind);
        c->SetBevelInner(k.inner);
        c->SetBevelOuter(k.outer);
        c->SetBevelEdges(k.edges);
        c->SetBevelWidth(k.width);
        // Measured at once, as a frame change is.
        EXPECT_EQ(c->ClientArea(), k.client);
        EXPECT_EQ(c->ClientWidth(), k.client.Width());
        EXPECT_EQ(c->ClientHeight(), k.client.Height());
    }
}

TEST_F(BevelFrameTest, TheScrollBarsLieInsideTheBevelWhichIsBorder) {
    c->SetBevelKind(bkTile);
    SetWindowLong(c->Handle(), GWL_STYLE, GetWindowLong(c->Handle(), GWL_STYLE) | static_cast<LONG>(WS_VSCROLL));
    SetWindowPos(c->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    EXPECT_EQ(c->ClientArea(), Rect(2, 2, 100 - 2 - 17, 48));
    EXPECT_EQ(HitAt(1, 20), HTBORDER);
    EXPECT_EQ(HitAt(99, 20), HTBORDER);
    EXPECT_EQ(HitAt(97, 20), HTVSCROLL);
    EXPECT_EQ(HitAt(100 - 2 - 17, 20), HTVSCROLL);
    EXPECT_EQ(HitAt(100 - 2 - 18, 20), HTCLIENT);
}

TEST_F(BevelFrameTest, AWidthBelowOneIsRefusedAndTheOldOneKept) {
    c->SetBevelKind(bkTile);
    c->SetBevelWidth(2);
    for (int bad : {0, -3}) {
        try {
            c->SetBevelWidth(bad);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const EInvalidOperation& e) {
            EXPECT_NE(std::string(e.what()).find("width " + std::to_string(bad)), std::string::npos) << e.what();
        }
        EXPECT_EQ(c->BevelWidth(), 2);
        EXPECT_EQ(c->ClientArea(), Rect(4, 4, 96, 46));
    }
}

TEST_F(BevelFrameTest, ThePanelKeepsItsOwnDefaultsOfTheSameProperties) {
    auto* panel = Add<TPanel>(10, 70);
    EXPECT_EQ(panel->BevelInner(), bvNone);
    EXPECT_EQ(panel->BevelOuter(), bvRaised);
    EXPECT_EQ(panel->BevelKind(), bkNone);
    EXPECT_EQ(panel->BevelWidth(), 1);
    TWinControl* asWindow = panel;  // one set of properties, not a second one hiding the first
    asWindow->SetBevelInner(bvLowered);
    EXPECT_EQ(panel->BevelInner(), bvLowered);
    // The panel's own bevels stay in its client area; its frame has none.
    EXPECT_EQ(panel->ClientRect(), Rect(0, 0, panel->Width(), panel->Height()));
}
