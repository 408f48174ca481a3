// Dragging a control onto others, driven by scripted input: what the controls under the pointer
// are asked, where the drop lands, what the source hears at the end and what the pointer shows.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/InputGrab.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"

namespace {

std::vector<std::string> gLog;
class DragControlsTest;
DragControlsTest* gTest = nullptr;

std::string NameOf(TObject* o);

// A target that answers by its override instead of OnDragOver.
class OwnTarget : public controls_test::Panel {
public:
    using Panel::Panel;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override {
        gLog.push_back("T own " + std::to_string(State) + " " + std::to_string(X) + "," + std::to_string(Y));
        Accept = true;
    }
};

class DragControlsTest : public ui::test::FormTest {
public:
    controls_test::Panel* S = nullptr;  // the source, dragging itself
    controls_test::Panel* A = nullptr;  // accepts
    controls_test::Panel* B = nullptr;  // refuses
    OwnTarget* T = nullptr;             // accepts by its override

protected:

    void SetUp() override {
        FormTest::SetUp();
        gTest = this;
        gLog.clear();
        S = Make<controls_test::Panel>("S", 10);
        A = Make<controls_test::Panel>("A", 80);
        B = Make<controls_test::Panel>("B", 150);
        T = Make<OwnTarget>("T", 220);
        S->SetDragMode(dmAutomatic);
        S->OnClick = [](TObject*) { gLog.push_back("S click"); };
        S->OnEndDrag = [](TObject* sender, TObject* target, int x, int y) {
            gLog.push_back(NameOf(sender) + " end " + NameOf(target) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        for (TControl* c : {static_cast<TControl*>(A), static_cast<TControl*>(B), static_cast<TControl*>(T)})
            c->OnDragDrop = [](TObject* sender, TObject* source, int x, int y) {
                gLog.push_back(NameOf(sender) + " drop " + NameOf(source) + " " + std::to_string(x) + "," + std::to_string(y));
            };
        A->OnDragOver = [](TObject*, TObject*, int x, int y, TDragState state, bool& accept) {
            EXPECT_TRUE(accept);  // assigned: accepted unless the handler says otherwise
            gLog.push_back("A " + std::string(StateName(state)) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        B->OnDragOver = [](TObject*, TObject*, int x, int y, TDragState state, bool& accept) {
            accept = false;
            gLog.push_back("B " + std::string(StateName(state)) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        form->Show();
    }

    template <class C>
    C* Make(const char* name, int left) {
        auto* c = Add<C>(left, 20);
        c->SetBounds(left, 20, 50, 40);
        c->SetName(name);
        return c;
    }

    static const char* StateName(TDragState s) { return s == dsDragEnter ? "enter" : s == dsDragMove ? "move" : "leave"; }

    enum Op { Down, Move, Up, Esc, Cursor };
    struct Step {
        Op op;
        TControl* at = nullptr;
        int x = 0, y = 0;
    };
    // Runs the steps; Cursor logs what the pointer shows.
    void Run(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            switch (s.op) {
                case Down: ui::test::MouseDown(s.at, s.x, s.y); break;
                case Move: ui::test::MouseMove(s.at, s.x, s.y, MK_LBUTTON); break;
                case Up: ui::test::MouseUp(s.at, s.x, s.y); break;
                case Esc: ui::test::Key(form, VK_ESCAPE); break;
                case Cursor: {
                    TCursor shape = ui::fake::Instance().OverrideCursor.Shape;
                    gLog.push_back(shape == crDrag ? "cursor drag" : shape == crNoDrop ? "cursor no-drop" : "cursor own");
                    break;
                }
            }
        }
    }
};

std::string NameOf(TObject* o) {
    if (!o) return "nil";
    auto* c = dynamic_cast<TComponent*>(o);
    return c ? c->Name().ToUtf8() : "?";
}

}  // namespace

TEST_F(DragControlsTest, ScriptedDragsOverTwoTargets) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> log;
    } cases[] = {
        {"an accepted drop",
         {{Down, S, 5, 5}, {Move, S, 20, 20}, {Cursor}, {Move, A, 5, 6}, {Cursor}, {Move, A, 7, 8}, {Up, A, 7, 8}, {Cursor}},
         {"cursor no-drop", "A enter 5,6", "cursor drag", "A move 7,8", "A drop S 7,8", "S end A 7,8", "cursor own"}},
        {"a refused target",
         {{Down, S, 5, 5}, {Move, A, 5, 6}, {Move, B, 3, 4}, {Cursor}, {Up, B, 3, 4}, {Cursor}},
         {"A enter 5,6", "A leave 73,4", "B enter 3,4", "cursor no-drop", "B leave 3,4", "S end nil 0,0", "cursor own"}},
        {"escape",
         {{Down, S, 5, 5}, {Move, A, 5, 6}, {Esc}, {Move, A, 9, 9}, {Up, A, 9, 9}, {Cursor}},
         {"A enter 5,6", "A leave 5,6", "S end nil 0,0", "cursor own"}},
        {"a release over no control that accepts",
         {{Down, S, 5, 5}, {Move, A, 5, 6}, {Up, A, -10, 6}},
         {"A enter 5,6", "A leave -10,6", "S end nil 0,0"}},
        {"a press that stays below the threshold",
         {{Down, S, 5, 5}, {Move, S, 8, 9}, {Up, S, 8, 9}, {Cursor}},
         {"S click", "cursor own"}},
        {"a descendant's own DragOver",
         {{Down, S, 5, 5}, {Move, T, 4, 4}, {Move, T, 6, 4}, {Cursor}, {Up, T, 6, 4}},
         {"T own 0 4,4", "T own 2 6,4", "cursor drag", "T drop S 6,4", "S end T 6,4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gLog.clear();
        Run(c.steps);
        EXPECT_EQ(gLog, c.log);
        EXPECT_FALSE(S->Dragging());
        EXPECT_EQ(ui::CurrentInputGrab(), nullptr);
    }
}

TEST_F(DragControlsTest, TheDragBeginsWhereThePointerPassesTheThreshold) {
    S->SetDragMode(dmManual);
    S->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { S->BeginDrag(false, 10); };
    Run({{Down, S, 5, 5}});
    EXPECT_TRUE(S->Dragging());
    Run({{Move, S, 14, 14}, {Cursor}});  // 9 pixels: still the control's own
    EXPECT_EQ(gLog, (std::vector<std::string>{"cursor own"}));
    Run({{Move, A, 5, 6}, {Up, A, 5, 6}});
    EXPECT_EQ(gLog, (std::vector<std::string>{"cursor own", "A enter 5,6", "A drop S 5,6", "S end A 5,6"}));

    // Immediate: the control under the pointer is asked at once; EndDrag drops there.
    gLog.clear();
    ui::test::SetCursorPos(A->ClientToScreen(Point(2, 3)));
    A->BeginDrag(true);
    EXPECT_TRUE(A->Dragging());
    A->OnEndDrag = S->OnEndDrag;
    A->EndDrag(true);
    EXPECT_EQ(gLog, (std::vector<std::string>{"A enter 2,3", "A drop A 2,3", "A end A 2,3"}));
    EXPECT_FALSE(A->Dragging());
}

TEST_F(DragControlsTest, AControlFreedDuringTheDragEndsIt) {
    // The target goes in its own handler: no leave reaches it, the source hears of no target.
    // The handler frees its own closure with B: it reads nothing of it afterwards.
    B->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {
        gLog.push_back("B goes");
        TControl* b = std::exchange(gTest->B, nullptr);
        b->Free();
    };
    Run({{Down, S, 5, 5}, {Move, S, 150 - 10 + 3, 4}, {Cursor}, {Up, S, 150 - 10 + 3, 4}});
    EXPECT_EQ(gLog, (std::vector<std::string>{"B goes", "S end nil 0,0", "cursor own"}));
    EXPECT_EQ(ui::CurrentInputGrab(), nullptr);

    // The source goes: nothing more is asked of anyone, and the input is the controls' again.
    gLog.clear();
    A->OnDragOver = [this](TObject*, TObject*, int, int, TDragState state, bool&) {
        gLog.push_back(std::string("A ") + StateName(state));
        if (S) {
            S->Free();
            S = nullptr;
        }
    };
    Run({{Down, S, 5, 5}, {Move, A, 5, 6}, {Move, A, 8, 6}, {Up, A, 8, 6}, {Cursor}});
    EXPECT_EQ(gLog, (std::vector<std::string>{"A enter", "cursor own"}));
    EXPECT_EQ(ui::CurrentInputGrab(), nullptr);
}
