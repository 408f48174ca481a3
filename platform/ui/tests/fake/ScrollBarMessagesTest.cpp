// A scroll bar control tells its parent of the user's actions with WM_VSCROLL/WM_HSCROLL and its
// own handle; the parent's default handling gives the message back to the bar, which moves.
#include <gtest/gtest.h>

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
