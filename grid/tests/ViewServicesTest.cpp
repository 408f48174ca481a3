// The grid's view and editing services as the model uses them: the update bracket, moved columns
// and rows, the settings of the view, cell controls, change notifiers, the in-place editor,
// measuring and rendering cells.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "grid/tests/GridModelSupport.h"
#include "platform/ui/ExtCtrls.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class ViewServicesTest : public GridModelTest {};

TEST_F(ViewServicesTest, NestedUpdateBracketsGiveOneRepaintAtTheLastEnd) {
    auto* g = MakeGrid(6, 8);
    g->MergeCells(1, 1, 2, 2);
    g->Log.clear();
    for (int i = 0; i < 3; ++i) g->BeginUpdate();
    g->SetCellEx(2, 2, u"a");
    g->RepaintCell(3, 3);
    g->RepaintRow(4);
    g->Invalidate();
    g->GetCellProperties(4, 4)->SetBrushColor(clRed);
    EXPECT_TRUE(g->Log.empty());
    g->EndUpdate();
    g->EndUpdate();
    EXPECT_TRUE(g->Log.empty());
    EXPECT_EQ(g->UpdateCount(), 1);
    g->EndUpdate();
    ASSERT_EQ(g->Log.size(), 1u);
    EXPECT_EQ(g->Log[0].Scope, TRepaintScope::Grid);
    // An end without a beginning changes nothing.
    g->EndUpdate();
    EXPECT_EQ(g->UpdateCount(), 0);
    EXPECT_EQ(g->Log.size(), 1u);
}

TEST_F(ViewServicesTest, AMovedColumnTakesItsCellsWidthAndTheCurrentColumn) {
    auto* g = MakeGrid(5, 4);
    auto* other = Add<LogGrid>(0, 260);
    other->SetColCount(5);
    for (int c = 0; c < 5; ++c) {
        g->SetCellEx(c, 1, String(std::to_string(c)));
        other->SetCellEx(c, 1, String(std::to_string(c)));
        g->SetColWidths(c, 40 + c);
    }
    g->SyncGrid()->SetGrid(other);
    g->SyncGrid()->SetMoveColumn(true);
    other->SyncGrid()->SetGrid(g);  // each follows the other: no move comes back
    other->SyncGrid()->SetMoveColumn(true);
    std::vector<std::pair<int, int>> moved;
    g->OnColumnMoved = [&](TObject*, int from, int to) { moved.push_back({from, to}); };
    g->MoveColRow(1, 2, true, true);
    ASSERT_TRUE(g->EnhRowColMove());
    g->MoveColumn(1, 3);
    const char16_t* cells[] = {u"0", u"2", u"3", u"1", u"4"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(g->GetCellEx(c, 1), cells[c]) << c;
        EXPECT_EQ(other->GetCellEx(c, 1), cells[c]) << c;
    }
    const int widths[] = {40, 42, 43, 41, 44};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(g->ColWidths(c), widths[c]) << c;
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 3}}));
    // Never synchronised with itself; a synchronised grid that goes leaves no link behind.
    g->SyncGrid()->SetGrid(g);
    EXPECT_EQ(g->SyncGrid()->Grid(), other);
    other->Free();
    EXPECT_EQ(g->SyncGrid()->Grid(), nullptr);
    g->MoveColumn(1, 2);
}

TEST_F(ViewServicesTest, AMovedRowTakesItsHeightAndFiresOnRowMovedOnce) {
    auto* g = MakeGrid(4, 6);
    for (int r = 0; r < 6; ++r) {
        g->SetCellEx(1, r, String(std::to_string(r)));
        g->SetRowHeights(r, 20 + r);
    }
    std::vector<std::pair<int, int>> moved;
    g->OnRowMoved = [&](TObject* s, int from, int to) {
        EXPECT_EQ(s, g);
        moved.push_back({from, to});
    };
    g->MoveRow(1, 3);
    const char16_t* cells[] = {u"0", u"2", u"3", u"1", u"4", u"5"};
    const int heights[] = {20, 22, 23, 21, 24, 25};
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(g->GetCellEx(1, r), cells[r]) << r;
        EXPECT_EQ(g->RowHeights(r), heights[r]) << r;
    }
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 3}}));
    // Rows inserted and removed by the grid are no moves.
    moved.clear();
    g->InsertRows(2, 2, false);
    EXPECT_EQ(g->RowCount(), 8);
    EXPECT_EQ(g->GetCellEx(1, 2), String());
    EXPECT_EQ(g->GetCellEx(1, 4), u"3");
    g->RemoveRows(2, 2);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->GetCellEx(1, 2), u"3");
    EXPECT_TRUE(moved.empty());
}

TEST_F(ViewServicesTest, SettingsOfTheViewStartWithTheirDefaults) {
    auto* g = MakeGrid(4, 4);
    TDragScrollOptions* d = g->DragScrollOptions();
    EXPECT_FALSE(d->Active());
    EXPECT_EQ(d->Delays()->InitialDelay, 1000);
    EXPECT_EQ(d->Delays()->RepeatDelay, 250);
    for (int m : {d->Margins()->TopMargin, d->Margins()->BottomMargin, d->Margins()->LeftMargin, d->Margins()->RightMargin})
        EXPECT_EQ(m, 50);
    TGrouping* gr = g->Grouping();
    for (TColor c : {gr->HeaderColor, gr->HeaderColorTo, gr->HeaderTextColor, gr->SummaryColor, gr->SummaryColorTo,
                     gr->SummaryTextColor})
        EXPECT_EQ(c, clNone);
    EXPECT_FALSE(gr->MergeHeader);
    EXPECT_FALSE(gr->MergeSummary);
    EXPECT_FALSE(gr->Summary);
    TControlLook* look = g->ControlLook();
    EXPECT_EQ(look->CheckSize(), 15);
    EXPECT_EQ(look->RadioSize(), 10);
    EXPECT_EQ(look->ControlStyle(), TControlLook::csTheme);
    EXPECT_EQ(look->CommentColor(), static_cast<TColor>(0x0000FF));
    EXPECT_FALSE(look->DropDownAlwaysVisible());
    EXPECT_FALSE(look->SpinButtonsAlwaysVisible());
    EXPECT_FALSE(look->CheckAlwaysActive());
    EXPECT_FALSE(look->RadioAlwaysActive());
    EXPECT_EQ(g->BackGround()->Display(), bdTile);
    EXPECT_TRUE(g->BackGround()->Bitmap()->Empty());
    EXPECT_FALSE(g->ShowModified()->Enabled());
    EXPECT_FALSE(g->Balloon()->Enable());
    EXPECT_FALSE(g->SizeWhileTyping()->Height);
    EXPECT_NE(g->ScrollHintWindow(), nullptr);
    // The change events the grid listens to.
    g->Log.clear();
    g->ProgressAppearance()->SetLevel1Perc(70);  // unchanged: nothing
    EXPECT_TRUE(g->Log.empty());
    g->ProgressAppearance()->SetLevel1Perc(60);
    EXPECT_EQ(g->GridRequests(), 1);
    g->Log.clear();
    g->ShowModified()->SetColor(clRed);
    ASSERT_EQ(g->Log.size(), 1u);
    EXPECT_EQ(g->Log[0].Scope, TRepaintScope::Col);
    EXPECT_EQ(g->Log[0].Cells.Left, 0);
    g->Balloon()->SetEnable(true);
    g->Balloon()->SetEnable(false);
    EXPECT_EQ(g->ViewServiceCalls().BalloonInit, 1);
    EXPECT_EQ(g->ViewServiceCalls().BalloonDone, 1);
    g->Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(g->ViewServiceCalls().GridTimer, 1);
}

TEST_F(ViewServicesTest, CellControlsFollowTheirCellsInAndOutOfView) {
    auto* g = MakeGrid(12, 30);
    auto* panel = NewComponent<TPanel>(form);
    g->SetCellControls(2, 3, panel);
    EXPECT_EQ(g->GetCellControls(2, 3), panel);
    EXPECT_EQ(panel->Parent(), g);
    EXPECT_EQ(g->NumCellControls(), 1);
    ASSERT_EQ(g->ControlList()->Count(), 1);
    TRect cell = g->CellRect(2, 3);
    EXPECT_EQ(panel->BoundsRect(), Rect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom));
    g->SetTopRow(10);
    g->CellControlsUpdate(false);
    EXPECT_FALSE(panel->Visible());
    g->SetTopRow(1);
    g->CellControlsUpdate(false);
    EXPECT_TRUE(panel->Visible());
    // Rebuilt from the cells.
    g->ControlList()->Clear();
    g->CellControlsUpdate(true);
    ASSERT_EQ(g->ControlList()->Count(), 1);
    EXPECT_EQ(g->ControlList()->GetControl(0)->X(), 2);
    EXPECT_EQ(g->ControlList()->GetControl(0)->Y(), 3);
    EXPECT_EQ(g->ControlList()->GetControl(0)->Control(), panel);
    g->SetCellControls(2, 3, nullptr);
    EXPECT_EQ(g->NumCellControls(), 0);
    EXPECT_EQ(g->ControlList()->Count(), 0);
    EXPECT_EQ(g->GetCellControls(2, 3), nullptr);
}

TEST_F(ViewServicesTest, ChangeNotifiersAreToldInOrder) {
    auto* g = MakeGrid(6, 8);
    struct Notifier : TGridChangeNotifier {
        using TGridChangeNotifier::TGridChangeNotifier;
        std::vector<std::string>* log = nullptr;
        std::string name;
        void CellsChanged(const TRect& R) override {
            log->push_back(name + " " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
                           std::to_string(R.Right) + "," + std::to_string(R.Bottom));
        }
    };
    std::vector<std::string> log;
    auto* a = NewComponent<Notifier>(form);
    auto* b = NewComponent<Notifier>(form);
    a->log = b->log = &log;
    a->name = "a";
    b->name = "b";
    g->OnCellsChanged = [&](TObject*, const TRect&) { log.push_back("event"); };
    g->RegisterNotifier(a);
    g->RegisterNotifier(b);
    g->RegisterNotifier(a);  // once only
    g->CellsChanged(Rect(1, 2, 3, 4));
    EXPECT_EQ(log, (std::vector<std::string>{"event", "a 1,2,3,4", "b 1,2,3,4"}));
    log.clear();
    g->UnRegisterNotifier(a);
    g->AllCellsChanged();
    EXPECT_EQ(log, (std::vector<std::string>{"event", "b 0,0,5,7"}));
    // A notifier that goes unregisters itself.
    b->Free();
    log.clear();
    g->AllCellsChanged();
    EXPECT_EQ(log, (std::vector<std::string>{"event"}));
}

TEST_F(ViewServicesTest, TheInPlaceEditorOpensAndClosesOnTheCurrentCell) {
    auto* g = MakeGrid(6, 8);
    g->SetOptions(g->Options() << goEditing);
    g->SetCellEx(2, 2, u"old");
    g->MoveColRow(2, 2, true, true);
    g->ShowInplaceEdit();
    ASSERT_TRUE(g->EditMode());
    ASSERT_NE(g->NormalEdit(), nullptr);
    EXPECT_EQ(g->NormalEdit()->Text(), u"old");
    g->NormalEdit()->SetText(u"new");
    g->HideInplaceEdit();
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->GetCellEx(2, 2), u"new");
    g->HideInplaceEdit();  // not editing: nothing
    // Not on a check box.
    auto* check = new TCellGraphic;
    check->CellType = ctCheckBox;
    g->SetGraphicObjectEx(3, 2, check);
    g->MoveColRow(3, 2, true, true);
    g->ShowInplaceEdit();
    EXPECT_FALSE(g->EditMode());
    // The old value is kept for the editor; validation accepts.
    g->StoreOldCellValue(2, 2);
    EXPECT_TRUE(g->ValidateCell(u"x"));
    EXPECT_TRUE(g->ValidateCellWide(u"x"));
}

TEST_F(ViewServicesTest, RichTextGivesItsPlainText) {
    struct Case {
        const char* name;
        String rtf;
        String text;
    };
    const Case cases[] = {
        {"not rich text", u"plain {x}", u"plain {x}"},
        {"paragraphs and tabs", u"{\\rtf1 a\\tab b\\par c\\line d\\par}", u"a\tb\r\nc\r\nd"},
        {"escapes", u"{\\rtf1 \\{x\\}\\\\y}", u"{x}\\y"},
        {"tables and ignorable groups", u"{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator w;}text}", u"text"},
        {"unicode with a stand-in", u"{\\rtf1 \\u26085?\\u26412?}", u"日本"},
        {"unicode without one", u"{\\rtf1\\uc0 \\u-3 x}", String(1, char16_t(65533)) + u"x"},
        {"code page characters", u"{\\rtf1 caf\\'e9}", u"café"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RichTextToPlainText(c.rtf), c.text);
    }
}

TEST_F(ViewServicesTest, TextSizeOfACellOnOneLineAndWrappedToItsWidth) {
    auto* g = MakeGrid(6, 8);
    g->Font()->SetName(u"Noto Sans");
    g->Font()->SetSize(10);
    g->SetCellEx(2, 2, u"one two three four five six");
    TSize line = g->GetCellTextSize(2, 2, false, false);
    TSize wrapped = g->GetCellTextSize(2, 2, true, false);
    EXPECT_GT(line.cx, 64);  // wider than the cell
    EXPECT_LE(wrapped.cx, 64 - 4 - 4);
    EXPECT_GE(wrapped.cy, 3 * line.cy);
    // Lines count only with MultilineCells.
    g->SetCellEx(3, 2, u"a\r\nb\r\nc");
    int one = g->GetCellTextSize(3, 2, false, false).cy;
    g->SetMultilineCells(true);
    EXPECT_EQ(g->GetCellTextSize(3, 2, false, false).cy, 3 * one);
    // A larger zoom gives a larger text.
    g->SetZoomFactor(6);
    EXPECT_GT(g->GetCellTextSize(2, 2, false, false).cx, line.cx);
}

// The picture: a block painted once as a whole over its cells, aligned text, the fixed colour.
TEST_F(ViewServicesTest, RendersBlocksBackgroundsAndAlignedText) {
    auto* g = MakeGrid(6, 8, 400, 200);
    g->Font()->SetName(u"Noto Sans");
    g->Font()->SetSize(9);
    g->SetCellEx(1, 0, u"Header");
    g->SetCellEx(2, 1, u"left");
    g->MergeCells(2, 2, 3, 2);
    g->SetCellEx(2, 2, u"centred block");
    g->GetCellProperties(2, 2)->SetBrushColor(0x00C0FF);
    g->GetCellProperties(2, 2)->SetAlignment(taCenter);
    g->GetCellProperties(2, 2)->SetVAlignment(vaCenter);
    g->MoveColRow(1, 5, true, true);
    std::string path = testing::TempDir() + "grid_render_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(g, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    TRect block = g->CellRect(2, 2);
    EXPECT_EQ(block, Rect(128, 48, 320, 96));
    // The block's colour over all its cells, corners included.
    for (TPoint p : {Point(130, 50), Point(317, 50), Point(130, 93), Point(317, 93), Point(200, 90)})
        EXPECT_EQ(pic.At(p.X, p.Y), 0x00C0FF) << p.X << "," << p.Y;
    // Its text is centred: ink in the middle, none near the sides.
    auto inkIn = [&](int x0, int x1, int y0, int y1, int32_t background) {
        int ink = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) ink += pic.At(x, y) != background;
        return ink;
    };
    EXPECT_GT(inkIn(190, 260, 60, 85, 0x00C0FF), 20);
    EXPECT_EQ(inkIn(130, 150, 50, 94, 0x00C0FF), 0);
    // Fixed cells in the fixed colour; the selected cell in the selection colour.
    EXPECT_EQ(pic.At(100, 20), static_cast<int32_t>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(pic.At(66, 5 * 24 + 2), static_cast<int32_t>(0xEACAB6));
    // The left-aligned text starts at the margin.
    EXPECT_GT(inkIn(130, 140, 24, 48, static_cast<int32_t>(ColorToRGB(clWindow))), 0);
}

}  // namespace
