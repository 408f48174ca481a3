// A control drag through the road real input takes: the press, moves and release arrive at the
// widgets Qt gives them to, and the desktop's drag distance decides when the drag begins.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

class DragControlsRoadTest : public ui::test::FormTest {};

TEST_F(DragControlsRoadTest, APressDraggedOntoAnotherControlDropsThere) {
    auto* source = Add<controls_test::Panel>(10, 20);
    auto* target = Add<controls_test::Panel>(120, 20);
    source->SetBounds(10, 20, 60, 40);
    target->SetBounds(120, 20, 60, 40);
    source->SetDragMode(dmAutomatic);
    std::vector<std::string> log;
    source->OnClick = [&](TObject*) { log.push_back("click"); };
    target->OnDragOver = [&](TObject*, TObject* s, int x, int y, TDragState state, bool&) {
        log.push_back("over " + std::to_string(state) + " " + std::to_string(x) + "," + std::to_string(y) +
                      (s == source ? "" : " (another source)"));
    };
    target->OnDragDrop = [&](TObject*, TObject*, int x, int y) { log.push_back("drop " + std::to_string(x) + "," + std::to_string(y)); };
    source->OnEndDrag = [&](TObject*, TObject* t, int, int) { log.push_back(t == target ? "end on target" : "end"); };
    form->Show();
    int distance = ui::GetBackend().DragDistance();
    ASSERT_GT(distance, 2);  // Qt always has one

    // Less than the desktop's distance: no drag, the click is the control's.
    ui::test::MouseDown(source, 5, 5);
    ui::test::MouseMove(source, 5 + distance - 2, 5, MK_LBUTTON);
    ui::test::MouseUp(source, 5 + distance - 2, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"click"}));

    log.clear();
    ui::test::MouseDown(source, 5, 5);
    ui::test::MouseMove(target, 4, 6, MK_LBUTTON);
    ui::test::MouseMove(target, 8, 9, MK_LBUTTON);
    ui::test::MouseUp(target, 8, 9);
    EXPECT_EQ(log, (std::vector<std::string>{"over 0 4,6", "over 2 8,9", "drop 8,9", "end on target"}));
    EXPECT_FALSE(source->Dragging());
}

}  // namespace
