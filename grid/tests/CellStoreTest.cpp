// The cell store: properties made on demand and only then, text through merge redirection and
// the display hooks, the repaint of the property writers, and who frees what.
#include <functional>

#include "grid/tests/GridModelSupport.h"
#include "platform/ui/ExtCtrls.h"
#include "render/VarAvir.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

// A graphic that counts how often a graphic of its kind was freed.
struct CountedGraphic : TCellGraphic {
    static inline int Freed = 0;
    ~CountedGraphic() override { ++Freed; }
};

class CellStoreTest : public GridModelTest {};

// Every query on a cell that never had a property leaves it without one.
TEST_F(CellStoreTest, QueriesOnUntouchedCellsCreateNoProperties) {
    auto* g = MakeGrid(6, 8);
    struct Case {
        const char* name;
        std::function<void(LogGrid*)> check;
    };
    const Case cases[] = {
        {"object readers", [](LogGrid* g) {
             EXPECT_EQ(g->GetObjectEx(2, 3), nullptr);
             EXPECT_EQ(g->GetGraphicObjectEx(2, 3), nullptr);
             EXPECT_EQ(g->GetCellControls(2, 3), nullptr);
         }},
        {"merge queries", [](LogGrid* g) {
             EXPECT_EQ(g->BaseCell(2, 3), Point(2, 3));
             int bc = -1, br = -1;
             EXPECT_TRUE(g->FindBaseCell(2, 3, bc, br));
             EXPECT_EQ(Point(bc, br), Point(2, 3));
             EXPECT_TRUE(g->IsBaseCell(2, 3));
             EXPECT_FALSE(g->IsMergedCell(2, 3));
             EXPECT_FALSE(g->IsMergedNonBaseCell(2, 3));
             EXPECT_FALSE(g->IsXMergedCell(2, 3));
             EXPECT_FALSE(g->IsYMergedCell(2, 3));
             EXPECT_EQ(g->CellSpan(2, 3), Point(0, 0));
             EXPECT_EQ(g->CellExt(2, 3), Point(0, 0));
             EXPECT_EQ(g->FullCell(2, 3), Rect(2, 3, 2, 3));
             EXPECT_EQ(g->MinRowSpan(3), g->RowCount());
             EXPECT_EQ(g->MaxRowSpan(3), 0);
             EXPECT_FALSE(g->RowSpanIdentical(3, 4));
             EXPECT_FALSE(g->ColSpanIdentical(2, 3));
         }},
        {"geometry and text", [](LogGrid* g) {
             EXPECT_FALSE(g->VirtualCellRect(2, 3).IsEmpty());
             EXPECT_FALSE(g->CellRect(2, 3).IsEmpty());
             EXPECT_EQ(g->CellSize(2, 3), Point(64, 24));
             EXPECT_EQ(g->GetCellEx(2, 3), String());
             g->RepaintCell(2, 3);
         }},
        {"hooks that look at the cell", [](LogGrid* g) {
             bool edit = true;
             g->CanEditCell(2, 3, edit);
             g->IsFixed(2, 3);
             g->GetCellType(2, 3);
             String v;
             g->SaveCellText(2, 3, v);
             TAlignment ha;
             TVAlignment va;
             g->GetCellAlignment(2, 3, ha, va);
             TBrush b;
             TFont f;
             g->DoGetCellColor(2, 3, {}, &b, &f);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(g);
        EXPECT_EQ(g->GetGridObject(2, 3), nullptr);
        EXPECT_FALSE(g->HasCellProperties(2, 3));
        EXPECT_FALSE(g->HasCellProps());
    }
}

// New properties: the constructor's defaults, then what the grid's defaults give a cell.
TEST_F(CellStoreTest, PropertiesOfANewCellHaveTheirDefaults) {
    auto* g = MakeGrid(6, 8);
    TCellProperties fresh(g, 3, 2);
    EXPECT_EQ(fresh.CellSpanX(), -1);
    EXPECT_EQ(fresh.CellSpanY(), -1);
    EXPECT_TRUE(fresh.IsBaseCell());
    EXPECT_EQ(fresh.BrushColor(), clNone);
    EXPECT_EQ(fresh.BrushColorTo(), clNone);
    EXPECT_EQ(fresh.FontColor(), clNone);
    EXPECT_EQ(clNone, static_cast<TColor>(0x1FFFFFFF));
    EXPECT_EQ(fresh.OwnerCol(), 2);
    EXPECT_EQ(fresh.OwnerRow(), 3);
    EXPECT_TRUE(g->HasCellProps());

    TCellProperties* p = g->GetCellProperties(2, 3);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(g->GetGridObject(2, 3), p);
    EXPECT_TRUE(g->HasCellProperties(2, 3));
    EXPECT_EQ(g->GetCellProperties(2, 3), p);  // made once
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_TRUE(p->WordWrap());
    EXPECT_EQ(p->NodeLevel(), 0);
    EXPECT_EQ(p->CalcType(), acNONE);
    EXPECT_EQ(p->BrushColorTo(), clNone);
    // An ordinary cell takes the grid's colour and font as its own.
    EXPECT_EQ(p->BrushColor(), g->Color());
    EXPECT_EQ(p->FontColor(), g->Font()->Color());
    EXPECT_EQ(p->FontName(), g->Font()->Name());
}

// Outside the columns or rows a cell has no properties for the grid, whatever its slot holds,
// and its text is read and written as it stands.
TEST_F(CellStoreTest, CellsOutsideTheGridFallBackToTheRawCell) {
    auto* g = MakeGrid(6, 8);
    g->MergeCells(3, 1, 3, 1);  // (3, 1) .. (5, 1)
    g->SetCellEx(5, 1, u"base");
    EXPECT_EQ(g->GetGridCell(3, 1), u"base");
    g->SetColCount(5);  // (5, 1) now lies outside
    EXPECT_NE(g->GetGridObject(5, 1), nullptr);
    EXPECT_FALSE(g->HasCellProperties(5, 1));
    EXPECT_FALSE(g->HasCellProperties(-1, 1));
    EXPECT_FALSE(g->HasCellProperties(1, 8));
    EXPECT_EQ(g->GetCellEx(5, 1), String());
    g->SetCellEx(5, 1, u"raw");
    EXPECT_EQ(g->GetGridCell(5, 1), u"raw");
    EXPECT_EQ(g->GetGridCell(3, 1), u"base");
}

TEST_F(CellStoreTest, FreeCellPropertiesLeavesObjectsOfAGridWithoutPropertiesAlone) {
    auto* g = MakeGrid(6, 8);
    TStringList users;  // not the grid's: it must survive
    g->SetGridObject(1, 1, &users);
    g->FreeCellProperties(0, 0, 5, 7);
    EXPECT_EQ(g->GetGridObject(1, 1), &users);
    EXPECT_FALSE(g->HasCellProperties(1, 1));
    g->SetGridObject(1, 1, nullptr);
}

TEST_F(CellStoreTest, AssignCopiesTheListedFieldsWithoutRepaintingAndKeepsTheRest) {
    auto* g = MakeGrid(6, 8);
    TCellProperties* src = g->GetCellProperties(1, 2);
    TCellProperties* dst = g->GetCellProperties(3, 4);
    TStringList user, calc;
    auto* control = NewComponent<TPanel>(form);
    src->SetIsBaseCell(false);
    src->SetCellSpanX(2);
    src->SetCellSpanY(3);
    src->SetCellObject(&user);
    src->SetAlignment(taCenter);
    src->SetBorderColor(clRed);
    src->SetBorderWidth(4);
    src->SetBrushColor(clLime);
    src->SetBrushStyle(bsCross);
    src->SetFontColor(clBlue);
    src->SetFontStyle(TFontStyles() << fsItalic);
    src->SetFontName(u"Noto Sans");
    src->SetFontSize(17);
    src->SetReadOnly(true);
    src->SetEditor(edSpinEdit);
    src->SetVAlignment(vaBottom);
    src->SetWordWrap(false);
    src->SetNodeLevel(5);
    src->SetControl(control);
    src->SetBrushColorTo(clYellow);
    src->SetGradientDirection(GradientHorizontal);
    src->SetCalcType(acSUM);
    src->SetCalcObject(&calc);
    src->SetPaintID(77);
    auto* graphic = new TCellGraphic;
    g->SetGraphicObjectEx(3, 4, graphic);
    dst->SetBrushColorTo(clPurple);
    dst->SetCalcType(acMAX);
    dst->SetPaintID(5);
    g->Log.clear();

    dst->Assign(src);
    EXPECT_TRUE(g->Log.empty());
    EXPECT_FALSE(dst->IsBaseCell());
    EXPECT_EQ(dst->CellSpanX(), 2);
    EXPECT_EQ(dst->CellSpanY(), 3);
    EXPECT_EQ(dst->OwnerRow(), 2);
    EXPECT_EQ(dst->OwnerCol(), 1);
    EXPECT_EQ(dst->CellObject(), &user);
    EXPECT_EQ(dst->Alignment(), taCenter);
    EXPECT_EQ(dst->BorderColor(), clRed);
    EXPECT_EQ(dst->BorderWidth(), 4);
    EXPECT_EQ(dst->BrushColor(), clLime);
    EXPECT_EQ(dst->BrushStyle(), bsCross);
    EXPECT_EQ(dst->FontColor(), clBlue);
    EXPECT_EQ(dst->FontStyle(), TFontStyles() << fsItalic);
    EXPECT_EQ(dst->FontName(), u"Noto Sans");
    EXPECT_EQ(dst->FontSize(), 17);
    EXPECT_TRUE(dst->ReadOnly());
    EXPECT_EQ(dst->Editor(), edSpinEdit);
    EXPECT_EQ(dst->VAlignment(), vaBottom);
    EXPECT_FALSE(dst->WordWrap());
    EXPECT_EQ(dst->NodeLevel(), 5);
    EXPECT_EQ(dst->Control(), control);
    // Kept: the graphic, the gradient end and direction, the calculation and the paint pass.
    EXPECT_EQ(dst->GraphicObject(), graphic);
    EXPECT_EQ(dst->BrushColorTo(), clPurple);
    EXPECT_EQ(dst->GradientDirection(), GradientVertical);
    EXPECT_EQ(dst->CalcType(), acMAX);
    EXPECT_EQ(dst->CalcObject(), nullptr);
    EXPECT_EQ(dst->PaintID(), 5);
    // From anything else: nothing.
    dst->Assign(&user);
    EXPECT_EQ(dst->FontSize(), 17);
    dst->SetControl(nullptr);
    src->SetControl(nullptr);
}

TEST_F(CellStoreTest, SetObjectExOnAnEmptyCellKeepsTheTextEmptyAndThePropertiesInPlace) {
    auto* g = MakeGrid(6, 8);
    TStringList user;
    g->SetObjectEx(2, 2, &user);
    EXPECT_EQ(g->GetCellEx(2, 2), String());
    EXPECT_EQ(g->GetGridCell(2, 2), String());
    ASSERT_TRUE(g->HasCellProperties(2, 2));
    EXPECT_EQ(g->GetObjectEx(2, 2), &user);
    // A cell with text keeps it.
    g->SetCellEx(3, 2, u"kept");
    g->SetObjectEx(3, 2, &user);
    EXPECT_EQ(g->GetCellEx(3, 2), u"kept");
}

TEST_F(CellStoreTest, DisplayHooksRunOnlyBelowTheNormalRowCount) {
    auto* g = MakeGrid(4, 8);
    std::vector<int> asked;
    g->OnGetDisplText = [&](TObject* s, int c, int r, String& v) {
        EXPECT_EQ(s, g);
        asked.push_back(r);
        v = v + u"!";
    };
    for (int r = 0; r < 8; ++r) g->SetGridCell(1, r, u"t");
    // Without a normal row count (rows at or beyond it are scratch rows): raw everywhere.
    g->SetNormalRowCount(0);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(g->GetCellEx(1, r), u"t");
    EXPECT_TRUE(asked.empty());
    g->SetNormalRowCount(5);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(g->GetCellEx(1, r), r < 5 ? String(u"t!") : String(u"t")) << r;
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4}));
    // The wide hook sees the decoded text and its answer comes back pair-encoded.
    g->OnGetDisplText = nullptr;
    String seen;
    g->OnGetDisplWideText = [&](TObject*, int, int, String& v) {
        seen = v;
        v = u"日本";
    };
    g->SetGridCell(2, 1, EncodeUnicodeText(u"ab"));
    String text = g->GetCellEx(2, 1);
    EXPECT_EQ(seen, u"ab");
    EXPECT_EQ(text, String(u"|\\") + String(1, char16_t(0x65)) + String(1, char16_t(0xE5)) + String(1, char16_t(0x67)) +
                        String(1, char16_t(0x2C)));
    EXPECT_EQ(DecodeUnicodeText(text), u"日本");
}

TEST_F(CellStoreTest, SetCellExOnACoveredCellWritesTheBaseAndRepaintsTheAddressedCell) {
    auto* g = MakeGrid(6, 8);
    g->MergeCells(1, 1, 3, 2);
    g->Log.clear();
    g->Calls.clear();
    g->SetCellEx(3, 2, u"merged");
    EXPECT_EQ(g->GetGridCell(1, 1), u"merged");
    EXPECT_EQ(g->GetGridCell(3, 2), String());
    EXPECT_EQ(g->GetCellEx(2, 1), u"merged");
    EXPECT_EQ(g->Calls, (std::vector<std::string>{"CellTextChanged 1,1"}));
    EXPECT_EQ(g->CellRequests(3, 2), 1);
    EXPECT_EQ(g->Log.back().Area, g->CellRect(1, 1));  // the whole block
    // The last row under the floating footer tells the grid.
    g->Calls.clear();
    g->SetCellEx(2, 6, u"x");
    EXPECT_TRUE(g->Calls.empty());
    g->SetHideLastRow(true);
    g->SetCellEx(2, 7, u"x");
    EXPECT_EQ(g->Calls, (std::vector<std::string>{"LastRowChanged"}));
}

TEST_F(CellStoreTest, ColourAlignmentAndWrapWritersRepaintTheirCellAlignmentDoesNot) {
    auto* g = MakeGrid(6, 8);
    TCellProperties* p = g->GetCellProperties(2, 3);
    struct Case {
        const char* name;
        std::function<void()> write;
        int repaints;
    };
    const Case cases[] = {
        {"BrushColor", [p] { p->SetBrushColor(clRed); }, 1},
        {"BrushColorTo", [p] { p->SetBrushColorTo(clRed); }, 1},
        {"VAlignment", [p] { p->SetVAlignment(vaCenter); }, 1},
        {"WordWrap", [p] { p->SetWordWrap(false); }, 1},
        {"Alignment", [p] { p->SetAlignment(taRightJustify); }, 0},
        {"FontColor", [p] { p->SetFontColor(clRed); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->Log.clear();
        c.write();
        EXPECT_EQ(g->Log.size(), static_cast<size_t>(c.repaints));
        EXPECT_EQ(g->CellRequests(2, 3), c.repaints);
    }
}

// Properties own their graphic, whatever its class: every way properties end frees it.
TEST_F(CellStoreTest, AGraphicGoesWithItsPropertiesWhateverItsClass) {
    auto* g = MakeGrid(6, 8);
    CountedGraphic::Freed = 0;
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(g->SetGraphicObjectEx(c, 1, new CountedGraphic), nullptr);
        EXPECT_EQ(g->GetGridCell(c, 1), String());
    }
    g->FreeCellPropertiesAt(1, 1);
    EXPECT_EQ(CountedGraphic::Freed, 1);
    g->SetCellProperties(2, 1, nullptr);
    EXPECT_EQ(CountedGraphic::Freed, 2);
    g->FreeCellProperties(3, 1, 3, 1);
    EXPECT_EQ(CountedGraphic::Freed, 3);
    // Replacing a graphic hands the old one back.
    TObject* old = g->SetGraphicObjectEx(4, 1, new CountedGraphic);
    ASSERT_NE(old, nullptr);
    delete old;
    EXPECT_EQ(CountedGraphic::Freed, 4);
    // The rest goes with the grid, beyond a shrunk row count too.
    g->SetGraphicObjectEx(2, 7, new CountedGraphic);
    g->SetRowCount(3);
    g->Free();
    EXPECT_EQ(CountedGraphic::Freed, 6);
}

TEST_F(CellStoreTest, ResetOperationsClearSlotsWithoutFreeingAndEmptyTheText) {
    auto* g = MakeGrid(6, 8);
    g->MergeCells(1, 1, 2, 1);
    g->SetCellEx(1, 1, u"block");
    TCellProperties* base = g->GetCellProperties(1, 1);
    TCellProperties* covered = g->GetCellProperties(2, 1);
    // A covered cell reset empties its base cell's text, then lets go of its properties.
    g->ResetCell(2, 1);
    EXPECT_EQ(g->GetGridCell(1, 1), String());
    EXPECT_EQ(g->GetGridObject(2, 1), nullptr);
    g->SetCellProperties(2, 1, covered);  // handed back, still alive
    g->ResetRowCells(1);
    EXPECT_EQ(g->GetGridObject(1, 1), nullptr);
    EXPECT_EQ(g->GetGridObject(2, 1), nullptr);
    delete base;
    delete covered;
    g->SetGridCell(3, 5, u"x");
    g->ResetColCells(3);
    EXPECT_EQ(g->GetGridCell(3, 5), String());
}

}  // namespace
