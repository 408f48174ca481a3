// The grid's overridable hooks: fixed cells, editability, editor buttons, the cell-changing
// events, colours, hints, the texts a cell gives to exports, and the small ones.
#include "grid/tests/GridModelSupport.h"
#include "platform/ui/Forms.h"
#include "render/VarAvir.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class HooksTest : public GridModelTest {};

TEST_F(HooksTest, FixedCellsOfRowsColumnsFootersRightColumnsAndBlocks) {
    auto* g = MakeGrid(6, 10);
    g->SetFixedFooters(2);
    g->SetFixedRightCols(1);
    g->MergeCells(0, 4, 2, 2);  // base in the fixed column
    std::vector<TGridCoord> asked;
    g->OnIsFixedCell = [&](TObject* s, int r, int c, bool& fixed) {
        EXPECT_EQ(s, g);
        EXPECT_FALSE(fixed);
        asked.push_back({c, r});
    };
    struct Case {
        const char* name;
        int c, r;
        bool fixed;
    };
    const Case cases[] = {
        {"fixed row", 2, 0, true},       {"fixed column", 0, 3, true}, {"first footer row", 2, 8, true},
        {"last footer row", 2, 9, true}, {"right column", 5, 3, true}, {"covered cell of a fixed block", 1, 5, true},
        {"normal cell", 2, 3, false},    {"last normal row", 4, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        asked.clear();
        EXPECT_EQ(g->IsFixed(c.c, c.r), c.fixed);
        // The event is asked only about cells still not fixed.
        EXPECT_EQ(asked.size(), c.fixed ? 0u : 1u);
    }
    // Every row fixed: with FixedRowAlways and RowCount at the fixed-row minimum.
    g->SetFixedFooters(0);
    g->SetFixedRightCols(0);
    g->SetRowCount(3);
    g->SetFixedRowAlways(true, 3);
    asked.clear();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c) EXPECT_TRUE(g->IsFixed(c, r)) << c << "," << r;
    EXPECT_TRUE(asked.empty());
}

TEST_F(HooksTest, CanEditCell) {
    auto* g = MakeGrid(6, 8);
    int events = 0;
    bool answer = true;
    g->OnCanEditCell = [&](TObject*, int r, int c, bool& edit) {
        ++events;
        EXPECT_EQ(TGridCoord({c, r}), TGridCoord({2, 3}));
        edit = edit && answer;
    };
    ASSERT_FALSE(g->Options().Contains(goEditing));
    // Without properties: the value passed in, then the event.
    for (bool in : {true, false}) {
        bool edit = in;
        g->CanEditCell(2, 3, edit);
        EXPECT_EQ(edit, in);
    }
    answer = false;
    bool edit = true;
    g->CanEditCell(2, 3, edit);
    EXPECT_FALSE(edit);
    EXPECT_EQ(events, 3);
    answer = true;
    // With properties: nothing is editable while goEditing, the grid's own editing switch and
    // RangeSelectAndEdit are all off; any one of them lets the cell decide.
    g->GetCellProperties(2, 3);
    edit = true;
    g->CanEditCell(2, 3, edit);
    EXPECT_FALSE(edit);
    g->MouseActions()->SetRangeSelectAndEdit(true);
    edit = true;
    g->CanEditCell(2, 3, edit);
    EXPECT_TRUE(edit);
    g->MouseActions()->SetRangeSelectAndEdit(false);
    g->SetEditDisable(true);
    edit = true;
    g->CanEditCell(2, 3, edit);
    EXPECT_TRUE(edit);
    g->SetEditDisable(false);
    g->SetOptions(g->Options() << goEditing);
    g->SetReadOnly(2, 3, true);
    edit = true;
    g->CanEditCell(2, 3, edit);
    EXPECT_FALSE(edit);
    // A covered cell answers for its block.
    g->MergeCells(2, 3, 2, 1);
    edit = true;
    g->CanEditCell(3, 3, edit);
    EXPECT_FALSE(edit);
    // Beyond the grid's columns a cell is editable, without the event.
    events = 0;
    edit = false;
    g->CanEditCell(g->TotalColCount() + 1, 3, edit);
    EXPECT_TRUE(edit);
    EXPECT_EQ(events, 0);
}

TEST_F(HooksTest, SpinAndComboButtons) {
    auto* g = MakeGrid(6, 8);
    g->OnHasSpinEdit = [](TObject*, int, int, bool& has) { has = true; };
    EXPECT_FALSE(g->HasSpinEdit(0, 3));
    EXPECT_FALSE(g->HasSpinEdit(3, 0));
    EXPECT_TRUE(g->HasSpinEdit(3, 3));
    g->OnHasSpinEdit = nullptr;
    g->SetDefaultEditor(edSpinEdit);
    EXPECT_FALSE(g->HasSpinEdit(3, 3));
    g->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_TRUE(g->HasSpinEdit(3, 3));
    EXPECT_FALSE(g->HasSpinEdit(0, 3));
    g->OnGetEditorType = [](TObject*, int c, int, TEditorType& e) {
        if (c == 4) e = edDateSpinEdit;
        if (c == 5) e = edNormal;
    };
    EXPECT_TRUE(g->HasSpinEdit(4, 3));
    EXPECT_FALSE(g->HasSpinEdit(5, 3));
    g->OnGetEditorType = nullptr;

    bool answer = true;
    g->OnHasComboBox = [&](TObject*, int, int, bool& has) { has = answer; };
    EXPECT_TRUE(g->HasComboBox(2, 2));
    answer = false;
    EXPECT_FALSE(g->HasComboBox(2, 2));
    g->OnHasComboBox = nullptr;
    g->SetDefaultEditor(edComboList);
    EXPECT_FALSE(g->HasComboBox(2, 2));
    g->ControlLook()->SetDropDownAlwaysVisible(true);
    EXPECT_TRUE(g->HasComboBox(2, 2));
    g->SetDefaultEditor(edNormal);
    EXPECT_FALSE(g->HasComboBox(2, 2));
}

TEST_F(HooksTest, MovingTheCurrentCellAsksRowColumnAndCellInThatOrder) {
    auto* g = MakeGrid(6, 8);
    std::vector<std::string> log;
    std::string refuser;
    g->OnRowChanging = [&](TObject*, int from, int to, bool& allow) {
        log.push_back("row " + std::to_string(from) + "," + std::to_string(to));
        if (refuser == "row") allow = false;
    };
    g->OnColChanging = [&](TObject*, int from, int to, bool& allow) {
        log.push_back("col " + std::to_string(from) + "," + std::to_string(to));
        if (refuser == "col") allow = false;
    };
    g->OnCellChanging = [&](TObject*, int r, int c, int nr, int nc, bool& allow) {
        log.push_back("cell " + std::to_string(r) + "," + std::to_string(c) + "," + std::to_string(nr) + "," +
                      std::to_string(nc));
        if (refuser == "cell") allow = false;
    };
    ASSERT_EQ((TGridCoord{g->Col(), g->Row()}), (TGridCoord{1, 1}));
    for (const char* who : {"row", "col", "cell"}) {
        SCOPED_TRACE(who);
        refuser = who;
        log.clear();
        g->MoveColRow(2, 3, true, true);
        EXPECT_EQ(log, (std::vector<std::string>{"row 1,3", "col 1,2", "cell 1,1,3,2"}));
        EXPECT_EQ((TGridCoord{g->Col(), g->Row()}), (TGridCoord{1, 1}));
    }
    refuser.clear();
    g->MoveColRow(2, 3, true, true);
    EXPECT_EQ((TGridCoord{g->Col(), g->Row()}), (TGridCoord{2, 3}));
    // Only the row changes: no column event.
    log.clear();
    g->MoveColRow(2, 4, true, true);
    EXPECT_EQ(log, (std::vector<std::string>{"row 3,4", "cell 3,2,4,2"}));
}

TEST_F(HooksTest, CellColoursAndFonts) {
    auto* g = MakeGrid(6, 8);
    g->MoveColRow(3, 4, true, true);
    g->SetActiveCellShow(true);
    TBrush brush;
    TFont font;
    auto colourOf = [&](int c, int r) {
        brush.SetColor(clWhite);
        font.Assign(g->Font());
        g->DoGetCellColor(c, r, {}, &brush, &font);
        return brush.Color();
    };
    // The header cells of the current cell: the last fixed column of its row, the last fixed row
    // above its column.
    EXPECT_EQ(colourOf(0, 4), g->ActiveCellColor());
    EXPECT_TRUE(font.Style().Contains(fsBold));
    EXPECT_EQ(colourOf(3, 0), g->ActiveCellColor());
    EXPECT_EQ(colourOf(0, 3), clWhite);
    EXPECT_EQ(colourOf(2, 0), clWhite);
    EXPECT_FALSE(font.Style().Contains(fsBold));
    g->SetActiveCellShow(false);
    EXPECT_EQ(colourOf(0, 4), clWhite);

    // A cell's own colour and font, then the event, which sees them.
    TCellProperties* p = g->GetCellProperties(2, 2);
    p->SetBrushColor(clRed);
    p->SetFontColor(clBlue);
    p->SetFontStyle(TFontStyles() << fsUnderline);
    p->SetFontSize(21);
    p->SetFontName(u"Noto Serif");
    int events = 0;
    bool ownColour = true;
    g->OnGetCellColor = [&](TObject* s, int r, int c, TGridDrawState, TBrush* b, TFont* f) {
        ++events;
        EXPECT_EQ(s, g);
        if (c == 2 && r == 2 && ownColour) {
            EXPECT_EQ(b->Color(), clRed);
            EXPECT_EQ(f->Color(), clBlue);
            EXPECT_EQ(f->Size(), 21);
            EXPECT_EQ(f->Name(), u"Noto Serif");
            EXPECT_EQ(f->Style(), TFontStyles() << fsUnderline);
        }
    };
    EXPECT_EQ(colourOf(2, 2), clRed);
    EXPECT_EQ(events, 1);
    // A check box keeps its cell's colour to itself; its font still applies.
    auto* check = new TCellGraphic;
    check->CellType = ctCheckBox;
    g->SetGraphicObjectEx(2, 2, check);
    ownColour = false;
    EXPECT_EQ(colourOf(2, 2), clWhite);
    EXPECT_EQ(font.Color(), clBlue);
}

TEST_F(HooksTest, NewPropertiesCarryNoBackgroundWhereTheGridPaintsOne) {
    auto* g = MakeGrid(6, 8);
    g->MoveColRow(1, 1, true, true);  // (1, 1) is selected
    struct Case {
        const char* name;
        int c, r;
        bool bands;
        TColor brush;
    };
    const Case cases[] = {
        {"normal cell", 3, 3, false, g->Color()},  {"fixed cell", 0, 3, false, clNone},
        {"fixed row", 3, 0, false, clNone},        {"selected cell", 1, 1, false, clNone},
        {"any cell while bands", 3, 5, true, clNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->Bands()->SetActive(c.bands);
        TCellProperties* p = g->GetCellProperties(c.c, c.r);
        EXPECT_EQ(p->BrushColor(), c.brush);
        EXPECT_EQ(p->BrushColorTo(), clNone);
    }
}

TEST_F(HooksTest, GridHintFillsTheOfficeHint) {
    auto* g = MakeGrid(6, 8);
    g->OnGridHint = [](TObject*, int r, int c, String& h) { h = u"cell " + String(std::to_string(c) + "," + std::to_string(r)); };
    TAdvHintInfo* received = nullptr;
    g->OnOfficeHint = [&](TObject*, int, int, TAdvHintInfo* info) { received = info; };
    String wide, hint;
    g->DoGridHint(2, 3, wide, hint);
    EXPECT_EQ(hint, u"cell 2,3");
    ASSERT_EQ(g->OfficeHint()->Notes()->Count(), 1);
    EXPECT_EQ(g->OfficeHint()->Notes()->Strings(0), u"cell 2,3");
    EXPECT_EQ(received, g->OfficeHint());
    g->OnGridWideHint = [](TObject*, int, int, String& w) { w = u"日本"; };
    g->DoGridHint(2, 3, wide, hint);
    EXPECT_EQ(hint, EncodeUnicodeText(u"日本"));
    EXPECT_EQ(hint.substr(0, 2), u"|\\");
}

TEST_F(HooksTest, TheTextACellGivesToExportsAndTakesFromImports) {
    auto* g = MakeGrid(6, 8);
    g->SetNormalRowCount(8);
    g->OnGetDisplText = [](TObject*, int c, int, String& v) {
        if (c == 1) v = v + u" units";
    };
    g->SetGridCell(1, 1, u"5");
    std::vector<String> saved;
    g->OnSaveCell = [&](TObject*, int, int, String& v) {
        saved.push_back(v);
        v = v + u"|";
    };
    struct Case {
        const char* name;
        String cell;
        bool virt, html;
        String seen;
    };
    const Case cases[] = {
        {"formatted", u"5", true, true, u"5 units"},
        {"raw", u"5", false, true, u"5"},
        {"HTML kept", u"<B>x</B>", true, true, u"<B>x</B> units"},
        {"HTML reduced", u"<B>x</B>", false, false, u"x"},
        {"rich text", u"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par World\\'e9}", false, false, u"Hello\r\nWorld\u00e9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->SetGridCell(1, 1, c.cell);
        g->SetSaveVirtCells(c.virt);
        g->SetSaveWithHTML(c.html);
        saved.clear();
        String v;
        g->SaveCellText(1, 1, v);
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_EQ(saved[0], c.seen);
        EXPECT_EQ(v, c.seen + u"|");
    }
    // Loading: the event first, then the text as it stands, into the cell itself.
    g->MergeCells(3, 3, 2, 1);
    g->OnLoadCell = [](TObject*, int, int, String& v) { v = v + u"!"; };
    g->LoadCellText(4, 3, u"in");
    EXPECT_EQ(g->GetGridCell(4, 3), u"in!");
    EXPECT_EQ(g->GetGridCell(3, 3), String());
    // The check texts, then their events.
    String t, f;
    g->GetCheckTrue(1, 1, t);
    g->GetCheckFalse(1, 1, f);
    EXPECT_EQ(t, u"Y");
    EXPECT_EQ(f, u"N");
    g->OnGetCheckTrue = [](TObject*, int, int, String& v) { v = v + u"es"; };
    g->GetCheckTrue(1, 1, t);
    EXPECT_EQ(t, u"Yes");
}

TEST_F(HooksTest, SmallHooks) {
    auto* g = MakeGrid(6, 8);
    g->SetOptions(g->Options() << goEditing << goTabs);
    g->DisableEditing();
    EXPECT_FALSE(g->Options().Contains(goEditing));
    EXPECT_TRUE(g->Options().Contains(goTabs));
    g->AppendEmptyRow();
    EXPECT_EQ(g->RowCount(), 9);
    g->OnGetCellCursor = [](TObject*, int, int, TCursor& cursor) {
        EXPECT_EQ(cursor, crDefault);
        cursor = crHandPoint;
    };
    g->DoGetCellCursor(2, 2, 10, 10);
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(g->GetVersionNr(), 0x06000401u);
    EXPECT_EQ(g->GetVersionString(), u"6.0.4.1 Jan, 2012");
    EXPECT_EQ(g->GetCellText(2, 2), String());
    g->SetCellEx(2, 2, u"abc");
    g->MoveColRow(2, 2, true, true);
    EXPECT_EQ(g->CurrentCell(), u"abc");
    EXPECT_EQ(g->GetCurrentCellText(), u"abc");
    g->SetCurrentCell(u"def");
    EXPECT_EQ(g->GetGridCell(2, 2), u"def");
    g->RestoreCurrentCell();  // the text the cell held when it was entered
    EXPECT_EQ(g->GetGridCell(2, 2), u"abc");
    g->SetCellEx(4, 5, u"x");
    g->SetCellEx(3, 2, u"y");
    EXPECT_EQ(g->UsedCells(), (TGridRect{2, 2, 4, 5}));
}

}  // namespace
