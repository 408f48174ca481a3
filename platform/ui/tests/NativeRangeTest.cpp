#include <gtest/gtest.h>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TestSupport.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

class NativeRangeTest : public ui_test::FormTest {
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
