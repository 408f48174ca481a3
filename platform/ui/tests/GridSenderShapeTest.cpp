// The shape the binary code sender uses: 256 columns by 3 rows, two fixed rows and one fixed
// column, the bytes typed into row 2.
#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/tests/GridTestSupport.h"

namespace {

class GridSenderShapeTest : public grid_test::GridTest {
protected:
    grid_test::RecordingGrid* MakeSender() {
        auto* g = MakeGrid(256, 3, 420, 90);
        g->SetFixedRows(2);
        g->SetCells(0, 1, String(u"文字"));
        g->SetCells(0, 2, String(u"HEX"));
        for (int c = 1; c < 256; ++c) g->SetCells(c, 0, IntToStr(c));
        g->SetCells(6, 2, String(u"21"));
        return g;
    }
};

TEST_F(GridSenderShapeTest, TheCurrentCellStartsInTheEditableRow) {
    auto* g = MakeSender();
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
}

TEST_F(GridSenderShapeTest, SettingColBringsTheColumnIntoViewAndFiresTopLeftChanged) {
    auto* g = MakeSender();
    int changes = 0;
    g->OnTopLeftChanged = [&](TObject*) { ++changes; };
    g->Calls.clear();
    g->SetCol(255);
    EXPECT_EQ(g->Col(), 255);
    TRect r = g->CellRect(255, 2);
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_LE(r.Right, g->ClientWidth());
    EXPECT_EQ(g->LeftCol() + g->VisibleColCount() - 1, 255);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g->Count("TopLeftChanged"), 1);
}

TEST_F(GridSenderShapeTest, AClickAsksOnSelectCellBeforeColChanges) {
    auto* g = MakeSender();
    std::vector<std::string> seen;
    g->OnSelectCell = [&](TObject* s, int c, int r, bool&) {
        auto* grid = static_cast<TStringGrid*>(s);
        seen.push_back(std::to_string(c) + "," + std::to_string(r) + " while Col " + std::to_string(grid->Col()));
    };
    TRect cell = g->CellRect(6, 2);
    ui::test::Click(g, cell.Left + 5, cell.Top + 5);
    EXPECT_EQ(seen, (std::vector<std::string>{"6,2 while Col 1"}));
    EXPECT_EQ(g->Col(), 6);
    EXPECT_EQ(g->Row(), 2);
}

TEST_F(GridSenderShapeTest, TypingIntoTheCurrentCellWritesEachChangeAndEscRestores) {
    auto* g = MakeSender();
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    g->SetCol(6);
    std::vector<String> cell;
    g->OnSetEditText = [&](TObject*, int c, int r, const String&) { cell.push_back(static_cast<TStringGrid*>(g)->Cells(c, r)); };
    ui::test::TypeText(g, String(u"1F"));
    ASSERT_NE(g->InplaceEditor(), nullptr);
    EXPECT_TRUE(g->InplaceEditor()->Visible());
    EXPECT_EQ(cell, (std::vector<String>{String(u"1"), String(u"1F")}));
    EXPECT_EQ(g->Cells(6, 2), String(u"1F"));
    ui::test::Key(g->InplaceEditor(), VK_ESCAPE);
    EXPECT_EQ(g->Cells(6, 2), String(u"21"));
}

}  // namespace
