// The editor mechanism: when the in-place editor shows, what it holds, where it stands and what
// goes back into the cell.
#include <gtest/gtest.h>

#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridEditorTest : public grid_test::GridTest {
protected:
    grid_test::RecordingGrid* MakeEditable() {
        auto* g = MakeGrid(6, 30);
        g->SetOptions(g->Options() + TGridOptions{goEditing});
        g->SetCells(1, 1, String(u"one"));
        g->SetCells(2, 1, String(u"two"));
        g->OnSetEditText = [this](TObject*, int c, int r, const String& v) { written.push_back({c, r, v}); };
        return g;
    }
    bool EditorShown(TCustomGrid* g) { return g->InplaceEditor() && g->InplaceEditor()->Visible(); }
    struct Write {
        int Col, Row;
        String Value;
        bool operator==(const Write&) const = default;
    };
    std::vector<Write> written;
};

TEST_F(GridEditorTest, F2ShowsTheEditorOverTheCellAndEnterHidesIt) {
    auto* g = MakeEditable();
    ui::test::Key(g, VK_F2);
    ASSERT_TRUE(EditorShown(g));
    TInplaceEdit* e = g->InplaceEditor();
    EXPECT_TRUE(g->EditorMode());
    EXPECT_EQ(e->Text(), String(u"one"));
    EXPECT_EQ(e->BoundsRect(), g->CellRect(1, 1));
    EXPECT_TRUE(e->Focused());
    ui::test::TypeText(e, String(u"!"));
    EXPECT_EQ(g->Cells(1, 1), String(u"one!"));
    ui::test::Key(e, VK_RETURN);
    EXPECT_FALSE(EditorShown(g));
    EXPECT_FALSE(g->EditorMode());
    EXPECT_TRUE(g->Focused());
    EXPECT_EQ(g->Cells(1, 1), String(u"one!"));
    ui::test::Key(g, VK_RETURN);
    EXPECT_TRUE(EditorShown(g));
}

TEST_F(GridEditorTest, ATypedCharacterOpensTheEditorHoldingItAndEveryChangeIsWrittenBack) {
    auto* g = MakeEditable();
    ui::test::TypeText(g, String(u"ab"));
    ASSERT_TRUE(EditorShown(g));
    EXPECT_EQ(g->InplaceEditor()->Text(), String(u"ab"));
    EXPECT_EQ(written, (std::vector<Write>{{1, 1, String(u"a")}, {1, 1, String(u"ab")}}));
    EXPECT_EQ(g->Cells(1, 1), String(u"ab"));
}

TEST_F(GridEditorTest, EscPutsBackTheTextTheEditorStartedWith) {
    auto* g = MakeEditable();
    ui::test::TypeText(g, String(u"xyz"));
    ui::test::Key(g->InplaceEditor(), VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 1), String(u"one"));
    EXPECT_FALSE(EditorShown(g));
    EXPECT_TRUE(g->Focused());
}

TEST_F(GridEditorTest, KeysThatLeaveTheCellGoToTheGrid) {
    auto* g = MakeEditable();
    ui::test::TypeText(g, String(u"q"));
    TInplaceEdit* e = g->InplaceEditor();
    // Left inside the text moves the caret; at its start it leaves the cell.
    ui::test::Key(e, VK_LEFT);
    EXPECT_TRUE(EditorShown(g));
    ui::test::Key(e, VK_LEFT);
    EXPECT_EQ(g->Col(), 1);  // nothing left of column 1 but the fixed column
    ui::test::Key(e, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_FALSE(EditorShown(g));
    EXPECT_EQ(g->Cells(1, 1), String(u"q"));
    ui::test::Key(g, VK_F2);
    ui::test::Key(g->InplaceEditor(), VK_RIGHT);  // the text is empty: at its end
    EXPECT_EQ(g->Col(), 2);
}

TEST_F(GridEditorTest, TheEditorMovesWithScrollingAndHidesWhenItsCellLeavesTheView) {
    auto* g = MakeEditable();
    g->SetOptions(g->Options() + TGridOptions{goAlwaysShowEditor});
    g->MoveColRow(1, 3, true, true);
    ASSERT_TRUE(EditorShown(g));
    g->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(g->InplaceEditor()->BoundsRect(), g->CellRect(1, 3));
    g->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 127), 0);
    EXPECT_FALSE(EditorShown(g));
    EXPECT_TRUE(g->EditorMode());
    g->Perform(WM_VSCROLL, SB_TOP, 0);
    EXPECT_TRUE(EditorShown(g));
}

// A program writing the edited cell is not overwritten later by the editor's older text.
TEST_F(GridEditorTest, AProgramWriteToTheEditedCellReloadsTheEditor) {
    auto* g = MakeEditable();
    ui::test::TypeText(g, String(u"typed"));
    g->SetCells(1, 1, String(u"program"));
    EXPECT_EQ(g->InplaceEditor()->Text(), String(u"program"));
    g->SetCol(2);
    EXPECT_EQ(g->Cells(1, 1), String(u"program"));
}

TEST_F(GridEditorTest, FocusLeavingTheGridEndsTheEditWithoutAnExitForTheEditor) {
    auto* g = MakeEditable();
    auto* other = Add<TEdit>(400, 10);
    int exits = 0, enters = 0;
    g->OnExit = [&](TObject*) { ++exits; };
    g->OnEnter = [&](TObject*) { ++enters; };
    ui::test::TypeText(g, String(u"z"));
    ASSERT_TRUE(EditorShown(g));
    EXPECT_EQ(exits, 0);  // the editor is part of the grid
    other->SetFocus();
    EXPECT_FALSE(EditorShown(g));
    EXPECT_EQ(g->Cells(1, 1), String(u"z"));
    // The editor mode stays: the editor comes back with the focus.
    g->SetFocus();
    EXPECT_TRUE(EditorShown(g));
    EXPECT_EQ(g->InplaceEditor()->Text(), String(u"z"));
    EXPECT_EQ(enters, 1);
}

TEST_F(GridEditorTest, RowSelectOrAGridWithoutGoEditingShowsNoEditor) {
    auto* g = MakeGrid(6, 30);
    ui::test::Key(g, VK_F2);
    ui::test::TypeText(g, String(u"a"));
    EXPECT_EQ(g->InplaceEditor(), nullptr);
    g->SetOptions(g->Options() + TGridOptions{goEditing, goRowSelect});
    ui::test::Key(g, VK_F2);
    EXPECT_EQ(g->InplaceEditor(), nullptr);
}

TEST_F(GridEditorTest, TheEditorTakesItsMaskTextAndLimitFromTheGrid) {
    auto* g = MakeEditable();
    g->OnGetEditMask = [](TObject*, int, int, String& mask) { mask = String(u"00;1;_"); };
    g->OnGetEditText = [](TObject*, int, int, String& text) { text = String(u"42"); };
    ui::test::Key(g, VK_F2);
    TInplaceEdit* e = g->InplaceEditor();
    EXPECT_EQ(e->EditMask(), String(u"00;1;_"));
    EXPECT_EQ(e->Text(), String(u"42"));
    TRect format;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format, TRect(2, 2, e->Width() - 2, e->Height()));
}

}  // namespace
