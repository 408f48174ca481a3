#include <gtest/gtest.h>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

class NativeRangeTest : public ui::test::FormTest {
protected:
    void Focus(TWinControl* c) {
        form->Show();
        c->SetFocus();
    }
};

}  // namespace

TEST_F(NativeRangeTest, ScrollBarStepsOnKeysAndLetsOnScrollAdjust) {
    auto* bar = Add<TScrollBar>();
    bar->SetParams(0, 0, 50);
    bar->SetSmallChange(2);
    bar->SetLargeChange(10);
    std::vector<TScrollCode> codes;
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        codes.push_back(code);
        if (pos > 40) pos = 40;  // the handler may hold the thumb back
    };
    Focus(bar);
    ui::test::Key(bar, VK_RIGHT);
    EXPECT_EQ(bar->Position(), 2);
    ui::test::Key(bar, VK_NEXT);
    EXPECT_EQ(bar->Position(), 12);
    ui::test::Key(bar, VK_END);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(codes, (std::vector<TScrollCode>{scLineDown, scEndScroll, scPageDown, scEndScroll, scBottom, scEndScroll}));
    bar->SetPosition(500);  // kept in range
    EXPECT_EQ(bar->Position(), 50);
    bar->SetPageSize(11);  // the last page starts at Max - PageSize + 1
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
    bar->SetKind(sbVertical);
    EXPECT_GT(bar->Height(), bar->Width());
}

TEST_F(NativeRangeTest, ScrollBarTellsItsParentOfClicksAndDragsWithItsHandle) {
    auto* panel = Add<controls_test::ScrollParent>();
    auto* bar = new TScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetParent(panel);
    bar->SetParams(0, 0, 100);
    bar->SetPageSize(50);  // a thumb half the track long, easy to hit
    form->Show();
    auto from = reinterpret_cast<LPARAM>(bar->Handle());
    ui::test::Click(bar, bar->Width() / 2, bar->Height() - 3);  // the lower arrow
    EXPECT_EQ(panel->Log, (std::vector<controls_test::ScrollSeen>{{WM_VSCROLL, SB_LINEDOWN, from}, {WM_VSCROLL, SB_ENDSCROLL, from}}));
    EXPECT_EQ(bar->Position(), 1);

    panel->Log.clear();
    int x = bar->Width() / 2, y = bar->Height() / 3;
    ui::test::MouseDown(bar, x, y);
    ui::test::MouseMove(bar, x, y + 10, MK_LBUTTON);
    ui::test::MouseMove(bar, x, y + 20, MK_LBUTTON);
    ui::test::MouseUp(bar, x, y + 20);
    ASSERT_GE(panel->Log.size(), 3u);
    for (size_t i = 0; i + 2 < panel->Log.size(); ++i) EXPECT_EQ(panel->Log[i].Code, SB_THUMBTRACK);
    EXPECT_EQ(panel->Log[panel->Log.size() - 2], (controls_test::ScrollSeen{WM_VSCROLL, SB_THUMBPOSITION, from}));
    EXPECT_EQ(panel->Log.back(), (controls_test::ScrollSeen{WM_VSCROLL, SB_ENDSCROLL, from}));
    EXPECT_GT(bar->Position(), 1);

    // A parent that keeps the message keeps the bar where it was.
    panel->Keep = true;
    int before = bar->Position();
    ui::test::Click(bar, bar->Width() / 2, bar->Height() - 3);
    EXPECT_EQ(bar->Position(), before);
    // At the end of the range the arrow still speaks.
    panel->Keep = false;
    bar->SetPosition(100);
    panel->Log.clear();
    ui::test::Click(bar, bar->Width() / 2, bar->Height() - 3);
    EXPECT_EQ(panel->Log, (std::vector<controls_test::ScrollSeen>{{WM_VSCROLL, SB_LINEDOWN, from}, {WM_VSCROLL, SB_ENDSCROLL, from}}));
    EXPECT_EQ(bar->Position(), 51);  // the last page starts at Max - PageSize + 1
}

TEST_F(NativeRangeTest, TrackBarKeepsItsPositionInRange) {
    auto* track = Add<TTrackBar>();
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(track->Max(), 10);
    track->SetPosition(4);
    EXPECT_EQ(changes, 1);
    Focus(track);
    ui::test::Key(track, VK_RIGHT);
    ui::test::Key(track, VK_NEXT);
    EXPECT_EQ(track->Position(), 7);
    ui::test::Key(track, VK_END);
    ui::test::Key(track, VK_RIGHT);  // at the end already: nothing
    EXPECT_EQ(track->Position(), 10);
    EXPECT_EQ(changes, 4);
    track->SetMax(5);
    EXPECT_EQ(track->Position(), 5);
    track->SetOrientation(trVertical);
    EXPECT_GT(track->Height(), track->Width());
}

TEST_F(NativeRangeTest, UpDownStepsItsAssociateAndCanBeRefused) {
    auto* edit = Add<TEdit>(10, 10);
    auto* ud = Add<TUpDown>();
    ud->SetMin(0);
    ud->SetMax(1500);
    ud->SetIncrement(500);
    ud->SetAssociate(edit);
    EXPECT_EQ(ud->Left(), edit->Left() + edit->Width());
    EXPECT_EQ(edit->Text(), String(u"0"));
    std::vector<TUDBtnType> clicks;
    bool allow = true;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
    Focus(ud);
    ui::test::Key(ud, VK_UP);
    ui::test::Key(ud, VK_UP);
    ui::test::Key(ud, VK_UP);
    EXPECT_EQ(ud->Position(), 1500);
    EXPECT_EQ(edit->Text(), String(u"1,500"));
    ui::test::Key(ud, VK_UP);  // at Max without Wrap: stays
    EXPECT_EQ(ud->Position(), 1500);
    ud->SetWrap(true);
    ui::test::Key(ud, VK_UP);
    EXPECT_EQ(ud->Position(), 0);
    allow = false;
    ui::test::Key(ud, VK_DOWN);
    EXPECT_EQ(ud->Position(), 0);
    EXPECT_EQ(clicks.size(), 5u);
    edit->Free();
    EXPECT_EQ(ud->Associate(), nullptr);
    ud->SetPosition(7);  // no associate left to write to
    EXPECT_EQ(ud->Position(), 7);
}
