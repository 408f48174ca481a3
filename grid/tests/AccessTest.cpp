// Typed and extended cell access: numbers and their errors, the text variants, single cell
// properties, row-wide colours, the version.
#include <cmath>

#include "grid/tests/GridModelSupport.h"
#include "platform/ui/ExtCtrls.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class AccessTest : public GridModelTest {};

TEST_F(AccessTest, NumbersReadWriteAndRefuse) {
    auto* g = MakeGrid(4, 4);
    struct Case {
        const char* text;
        bool isInt;
        int asInt;
        bool isFloat;
        double asFloat;
    };
    const Case cases[] = {
        {" 42 ", true, 42, true, 42},
        {"", true, 0, true, 0},
        {"-", true, 0, true, 0},
        {"-7", true, -7, true, -7},
        {"4.2", false, 0, true, 4.2},
        {"(1,234.50)", false, 0, true, -1234.5},
        {"$ 12.5", false, 0, true, 12.5},
        {"abc", false, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g->SetCellEx(1, 1, String(c.text));
        g->SetCellsEx(2, 2, String(c.text));
        auto refused = [](auto read, const char16_t* message) {
            try {
                read();
                ADD_FAILURE() << "no error";
            } catch (const EZedUdidError& e) {
                EXPECT_EQ(e.Message(), String(message));
            }
        };
        const char16_t* noInt = u"Cell does not contain integer value";
        const char16_t* noFloat = u"Cell does not contain a float value";
        if (c.isInt) {
            EXPECT_EQ(g->GetInts(1, 1), c.asInt);
            EXPECT_EQ(g->GetAllInts(2, 2), c.asInt);
        } else {
            refused([&] { g->GetInts(1, 1); }, noInt);
            refused([&] { g->GetAllInts(2, 2); }, noInt);
        }
        if (c.isFloat) {
            EXPECT_DOUBLE_EQ(g->GetFloats(1, 1), c.asFloat);
            EXPECT_DOUBLE_EQ(g->GetAllFloats(2, 2), c.asFloat);
        } else {
            refused([&] { g->GetFloats(1, 1); }, noFloat);
            refused([&] { g->GetAllFloats(2, 2); }, noFloat);
        }
        // Reading, also a refused one, leaves the cell.
        EXPECT_EQ(g->GetCellEx(1, 1), String(c.text));
    }
    g->SetFloats(1, 1, 3.14159);
    EXPECT_EQ(g->GetCellEx(1, 1), u"3.14");
    g->SetAllFloats(1, 2, -0.5);
    EXPECT_EQ(g->GetCellEx(1, 2), u"-0.50");
    g->SetFloatFormat(u"%.3f");
    g->SetFloats(1, 1, 2);
    EXPECT_EQ(g->GetCellEx(1, 1), u"2.000");
    g->SetInts(1, 3, -12);
    g->SetAllInts(2, 3, 7);
    EXPECT_EQ(g->GetCellEx(1, 3), u"-12");
    EXPECT_EQ(g->GetCellEx(2, 3), u"7");
}

TEST_F(AccessTest, TextVariants) {
    auto* g = MakeGrid(4, 4);
    g->MergeCells(1, 1, 2, 1);
    g->SetCellsEx(2, 1, u"merged");  // reaches the base cell, as SetCellEx
    EXPECT_EQ(g->GetGridCell(1, 1), u"merged");
    EXPECT_EQ(g->GetCellsEx(2, 1), u"merged");
    EXPECT_EQ(g->GetGridCellsEx(2, 1), u"");  // raw: no redirection
    g->SetGridCellsEx(2, 1, u"raw");
    EXPECT_EQ(g->GetGridCell(2, 1), u"raw");
    EXPECT_EQ(g->GetCellsEx(-1, 1), u"");
    EXPECT_EQ(g->GetCellsEx(1, -1), u"");
    g->SetWideCells(3, 3, u"w\u00e9");
    EXPECT_EQ(g->GetWideCellsEx(3, 3), u"w\u00e9");

    g->SetCellEx(0, 2, u"a\rb");
    EXPECT_EQ(g->GetLinesInCell(0, 2), 2);
    EXPECT_EQ(g->GetLinesInCell(0, 3), 1);
    g->SetCellEx(0, 3, u"<B>x</B>");
    EXPECT_EQ(g->GetStrippedCell(0, 3), u"x");

    const String form = u"<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\">";
    g->SetCellEx(3, 1, form);
    EXPECT_EQ(g->GetCtrlVal(3, 1, u"e1"), u"old");
    EXPECT_EQ(g->GetCtrlVal(3, 1, u"none"), u"");
    g->SetCtrlVal(3, 1, u"none", u"x");
    EXPECT_EQ(g->GetCellEx(3, 1), form);
    g->SetCtrlVal(3, 1, u"e1", u"new");
    EXPECT_EQ(g->GetCtrlVal(3, 1, u"e1"), u"new");

    // Without columns moved or rows sorted the original and unsorted cells are the cells.
    g->SetOriginalCells(2, 2, u"o");
    EXPECT_EQ(g->GetCellEx(2, 2), u"o");
    EXPECT_EQ(g->GetUnSortedCell(2, 2), u"o");
    EXPECT_EQ(g->SortedRowIndex(3), 3);
    EXPECT_EQ(g->UnSortedRowIndex(3), 3);

    auto* obj = new TObject;
    g->SetObjectsEx(1, 3, obj);
    EXPECT_EQ(g->GetObjectsEx(1, 3), obj);
    EXPECT_EQ(g->GetGridObjectEx(1, 3), g->GetCellProperties(1, 3));
    g->SetObjectsEx(1, 3, nullptr);
    delete obj;
}

TEST_F(AccessTest, SinglePropertiesCreateOnlyWhenWritten) {
    auto* g = MakeGrid(4, 4);
    EXPECT_EQ(g->GetColors(1, 1), clNone);
    EXPECT_EQ(g->GetColorsTo(1, 1), clNone);
    EXPECT_EQ(g->GetFontColors(1, 1), clNone);
    EXPECT_EQ(g->GetFontSizes(1, 1), 0);
    EXPECT_EQ(g->GetFontNames(1, 1), u"");
    EXPECT_EQ(g->GetFontStyles(1, 1), TFontStyles());
    EXPECT_EQ(g->GetAlignments(1, 1), taLeftJustify);
    EXPECT_EQ(g->GetGradientDir(1, 1), GradientVertical);
    EXPECT_FALSE(g->HasCellProperties(1, 1));
    EXPECT_FALSE(g->GetReadOnly(1, 1));
    EXPECT_TRUE(g->HasCellProperties(1, 1));
    EXPECT_TRUE(g->GetWordWraps(1, 2));
    EXPECT_TRUE(g->HasCellProperties(1, 2));

    // Each writer stores and repaints its cell.
    g->Log.clear();
    g->SetColors(2, 2, 0xFF);
    g->SetColorsTo(2, 2, 0xFF00);
    g->SetGradientDir(2, 2, GradientHorizontal);
    g->SetFontColors(2, 2, 0xFF0000);
    g->SetFontStyles(2, 2, TFontStyles() << fsBold);
    g->SetFontSizes(2, 2, 12);
    g->SetFontNames(2, 2, u"Serif");
    g->SetAlignments(2, 2, taCenter);
    g->SetWordWraps(2, 2, false);
    EXPECT_GE(g->CellRequests(2, 2), 9);
    EXPECT_EQ(g->GetColors(2, 2), TColor(0xFF));
    EXPECT_EQ(g->GetColorsTo(2, 2), TColor(0xFF00));
    EXPECT_EQ(g->GetGradientDir(2, 2), GradientHorizontal);
    EXPECT_EQ(g->GetFontColors(2, 2), TColor(0xFF0000));
    EXPECT_TRUE(g->GetFontStyles(2, 2).Contains(fsBold));
    EXPECT_EQ(g->GetFontSizes(2, 2), 12);
    EXPECT_EQ(g->GetFontNames(2, 2), u"Serif");
    EXPECT_EQ(g->GetAlignments(2, 2), taCenter);
    EXPECT_FALSE(g->GetWordWraps(2, 2));
}

TEST_F(AccessTest, CellFont) {
    auto* g = MakeGrid(4, 4);
    EXPECT_EQ(g->GetCellFont(1, 1), g->Font());
    EXPECT_FALSE(g->HasCellProperties(1, 1));

    TFont f;
    f.SetName(u"Mono");
    f.SetSize(14);
    f.SetStyle(TFontStyles() << fsItalic);
    f.SetColor(0x0000FF);
    g->Log.clear();
    g->SetCellFont(1, 1, &f);
    EXPECT_GE(g->CellRequests(1, 1), 1);
    TFont* cell = g->GetCellFont(1, 1);
    EXPECT_NE(cell, g->Font());
    EXPECT_EQ(cell->Name(), u"Mono");
    EXPECT_EQ(cell->Size(), 14);
    EXPECT_TRUE(cell->Style().Contains(fsItalic));
    EXPECT_EQ(cell->Color(), TColor(0x0000FF));
    // The scratch font is shared: the next call overwrites it.
    f.SetName(u"Sans");
    f.SetSize(9);
    g->SetCellFont(2, 2, &f);
    EXPECT_EQ(g->GetCellFont(2, 2), cell);
    EXPECT_EQ(cell->Name(), u"Sans");
    EXPECT_EQ(cell->Size(), 9);
    // No repaint inside an update bracket.
    g->BeginUpdate();
    g->Log.clear();
    g->SetCellFont(3, 3, &f);
    EXPECT_TRUE(g->Log.empty());
    g->EndUpdate();
    EXPECT_EQ(g->GetCellFont(3, 3)->Name(), u"Sans");
}

TEST_F(AccessTest, RowColoursSetAndReset) {
    auto* g = MakeGrid(6, 5);
    g->SetRowColor(2, 0xFF);
    for (int c = 0; c < g->AllColCount(); ++c) {
        SCOPED_TRACE(c);
        // The fixed column keeps its own colour.
        EXPECT_EQ(g->GetColors(c, 2), c < g->FixedCols() ? clNone : TColor(0xFF));
    }
    // Once the cells have properties: one repaint of the row, none per cell.
    g->Log.clear();
    g->SetRowColor(2, 0xFE);
    ASSERT_EQ(g->Log.size(), 1u);
    EXPECT_EQ(g->Log[0].Scope, TRepaintScope::Row);
    g->SetRowColorTo(2, 0xFF00);
    g->SetRowFontColor(2, 0xFF0000);
    EXPECT_EQ(g->GetColorsTo(5, 2), TColor(0xFF00));
    EXPECT_EQ(g->GetFontColors(5, 2), TColor(0xFF0000));

    // clNone: cells holding nothing else lose their properties; a cell with a graphic and a
    // merged cell keep theirs with the colour reset.
    auto* check = new TCellGraphic;
    check->CellType = ctCheckBox;
    g->SetGraphicObjectEx(3, 2, check);
    g->MergeCells(4, 2, 2, 2);
    g->SetColors(4, 2, 0xFF);
    g->SetRowColor(2, clNone);
    EXPECT_FALSE(g->HasCellProperties(1, 2));
    EXPECT_FALSE(g->HasCellProperties(2, 2));
    ASSERT_TRUE(g->HasCellProperties(3, 2));
    EXPECT_EQ(g->GetGraphicObjectEx(3, 2), check);
    EXPECT_EQ(g->GetColors(3, 2), clNone);
    EXPECT_EQ(g->GetColorsTo(3, 2), TColor(0xFF00));
    EXPECT_TRUE(g->IsMergedCell(5, 2));
    EXPECT_EQ(g->BaseCell(5, 3), TPoint(4, 2));
    EXPECT_EQ(g->GetColors(4, 2), clNone);

    // The font colour: only cells without a brush colour and graphic are freed (new properties
    // take the grid's Color as their brush colour).
    g->SetRowFontColor(3, 0xFF);
    g->SetColors(1, 3, clNone);
    g->SetColors(4, 3, clNone);
    g->SetRowFontColor(3, clNone);
    EXPECT_FALSE(g->HasCellProperties(1, 3));
    ASSERT_TRUE(g->HasCellProperties(2, 3));
    EXPECT_EQ(g->GetFontColors(2, 3), TColor(0xFF));  // left unchanged
    EXPECT_TRUE(g->IsMergedCell(4, 3));                // the block stands
    EXPECT_EQ(g->GetFontColors(4, 3), clNone);

    // The gradient end: the same as the brush colour.
    g->SetRowColorTo(2, clNone);
    EXPECT_EQ(g->GetColorsTo(3, 2), clNone);
    EXPECT_TRUE(g->IsMergedCell(4, 2));
}

TEST_F(AccessTest, VersionAndCellControls) {
    auto* g = MakeGrid(6, 8);
    EXPECT_EQ(g->GetVersionNr(), 0x06000401u);
    EXPECT_EQ(g->GetVersionString(), u"6.0.4.1 Jan, 2012");
    EXPECT_EQ(g->Version(), u"6.0.4.1");
    g->SetVersion(u"1.0.0.0");
    EXPECT_EQ(g->Version(), u"6.0.4.1");

    // Two cells with controls count two; replacing a cell's control does not count again.
    auto* a = NewComponent<TPanel>(form);
    auto* b = NewComponent<TPanel>(form);
    g->SetCellControls(1, 1, a);
    g->SetCellControls(2, 2, b);
    EXPECT_EQ(g->NumCellControls(), 2);
    g->SetCellControls(2, 2, a);
    EXPECT_EQ(g->NumCellControls(), 2);
    EXPECT_EQ(g->ControlList()->Count(), 2);
    TRect cell = g->CellRect(2, 2);
    EXPECT_EQ(a->BoundsRect(), Rect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom));
    g->SetCellControls(1, 1, nullptr);
    g->SetCellControls(1, 1, nullptr);  // never below 0
    EXPECT_EQ(g->NumCellControls(), 1);
}

}  // namespace
