// The multi-column drop-down and its grid: the values after construction, Assign, fitting the
// columns, the ItemIndex setter, opening, confirming and cancelling, the edit's keys and
// auto-complete, the grid's type-ahead and keys, loading and auto-sizing the grid, drawing the
// cells, the mouse, and the style table.
#include <gtest/gtest.h>

#include "dropdown/AdvMultiColumnDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace {

using advmulticolumndropdown::TAdvColGrid;
using advmulticolumndropdown::TDropDownColumn;
using dropdown_test::DropDownTest;

class Multi : public TAdvMultiColumnDropDown {
public:
    using TAdvMultiColumnDropDown::TAdvMultiColumnDropDown;
    using TAdvMultiColumnDropDown::ClosePopup;
};

class MultiTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    Multi* d = nullptr;
    int selects = 0;

    void SetUp() override {
        DropDownTest::SetUp();
        form->SetBounds(0, 0, 400, 400);
        Add<TEdit>(10, 360);
        d = Make<Multi>(20, 20);
        d->OnSelect = [this](TObject*) { ++selects; };
        clock->Advance(1000);
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    void Columns(int n, int width = 80) {
        for (int i = 0; i < n; ++i) {
            TDropDownColumn* c = d->Columns()->Add();
            c->Width = width;
            c->Header = String(u"H") + IntToStr(i);
        }
    }
    // Rows of texts, then EndUpdate.
    void Rows(std::initializer_list<std::initializer_list<const char16_t*>> rows) {
        d->BeginUpdate();
        for (const auto& r : rows) {
            auto* item = d->Items()->Add();
            for (const char16_t* t : r) item->Text()->Add(t);
        }
        d->EndUpdate();
    }
    void Numbered(int n) {
        d->BeginUpdate();
        for (int i = 0; i < n; ++i) {
            auto* item = d->Items()->Add();
            item->Text()->Add(String(u"Row ") + IntToStr(i));
            item->Text()->Add(u"x");
        }
        d->EndUpdate();
    }
    String Whole() const { return d->TCustomMaskEdit::Text(); }
    void Open() {
        ui::test::Pump();
        d->ShowDropDown();
        ui::test::Pump();
        ASSERT_TRUE(d->DroppedDown());
    }
    void Type(const char16_t* text, TControl* to = nullptr) {
        for (const char16_t* c = text; *c; ++c) {
            const char16_t up = *c >= u'a' && *c <= u'z' ? static_cast<char16_t>(*c - 32) : *c;
            ui::test::Key(to ? to : d, up, String(1, *c));
        }
    }
};

TEST_F(MultiTest, ValuesAfterConstructionAndAssign) {
    EXPECT_EQ(d->LineColor(), TColor(0xF1EDEB));
    EXPECT_EQ(d->FixedLineColor(), TColor(0xD1BBA4));
    EXPECT_EQ(d->HeaderColor(), clWhite);
    EXPECT_EQ(d->HeaderColorTo(), TColor(0x808080));
    EXPECT_EQ(d->HeaderHeight(), 25);
    EXPECT_EQ(d->DropDownHeight(), 200);
    EXPECT_EQ(d->DropDownRowHeight(), 22);
    EXPECT_EQ(d->HeaderFont()->Color(), TColor(0x723708));
    EXPECT_EQ(d->SelectionColor(), TColor(0xD7FFFD));
    EXPECT_EQ(d->SelectionColorTo(), TColor(0x58D4FC));
    EXPECT_EQ(d->SelectionTextColor(), TColor(0));
    EXPECT_EQ(d->ItemIndex(), -1);
    EXPECT_TRUE(d->DropDownAutoWidth());
    EXPECT_TRUE(d->ColumnSizeWithDropDown());

    auto* other = Make<Multi>(20, 100);
    other->HeaderFont()->SetColor(0x0000AA);
    other->HeaderFont()->SetSize(13);
    other->SetLookupColumn(2);
    other->SetHeaderHeight(31);
    other->Columns()->Add()->Width = 50;
    d->Assign(other);
    EXPECT_EQ(d->HeaderFont()->Color(), TColor(0x0000AA));
    EXPECT_EQ(d->HeaderFont()->Size(), 13);
    EXPECT_EQ(d->LookupColumn(), 2);
    EXPECT_EQ(d->HeaderHeight(), 31);
    ASSERT_EQ(d->Columns()->Count(), 1);
    EXPECT_EQ(d->Columns()->Items(0)->Width, 50);
}

TEST_F(MultiTest, TheItemIndexSetter) {
    Columns(2);
    Rows({{u"Alpha", u"1"}, {u"Beta", u"2"}, {u"Gamma"}});
    d->SetLookupColumn(1);
    d->SetItemIndex(3);  // Items.Count: ignored
    EXPECT_EQ(d->ItemIndex(), -1);
    d->SetItemIndex(1);
    EXPECT_EQ(Whole(), String(u"2"));
    EXPECT_EQ(d->ItemIndex(), 1);
    d->SetItemIndex(2);  // no text at the lookup column
    EXPECT_EQ(Whole(), String());
    EXPECT_EQ(d->ItemIndex(), 2);
    d->SetItemIndex(1);
    d->SetItemIndex(-2);
    EXPECT_EQ(d->ItemIndex(), -2);
    EXPECT_EQ(Whole(), String());
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(d->GetItemIndex(u"2"), 1);
    EXPECT_EQ(d->Items()->IndexInColumn(0, u"Gamma"), 2);
    EXPECT_EQ(d->Items()->IndexInColumn(1, u"Gamma"), -1);
}

TEST_F(MultiTest, FittingTheColumnsToThePopup) {
    Columns(3);
    Numbered(3);
    d->SetDropDownAutoWidth(false);
    d->SetDropDownWidth(200);
    Open();
    TAdvColGrid* g = d->Grid();
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(d->DropDownForm()->Width(), 200);
    EXPECT_EQ(g->ColWidths(0), 66);
    EXPECT_EQ(g->ColWidths(1), 66);
    EXPECT_EQ(g->ColWidths(2), 67);
    d->HideDropDown(false);

    // With the vertical bar the room is less its width: 183 / 241 of each, 60.75 rounded.
    Numbered(40);
    Open();
    ASSERT_LT(d->Grid()->VisibleRowCount(), d->Grid()->RowCount() - 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g->ColWidths(i), 61) << i;
    d->HideDropDown(false);
}

TEST_F(MultiTest, OpeningConfirmingAndCancelling) {
    Columns(2);
    Numbered(30);
    Open();
    TAdvColGrid* g = d->Grid();
    EXPECT_EQ(g->Row(), 1);  // ItemIndex -1: the first data row
    EXPECT_EQ(d->ItemIndex(), -1);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->RowCount(), 31);
    EXPECT_TRUE(g->Focused());
    d->HideDropDown(false);
    EXPECT_EQ(d->ItemIndex(), -1);

    // A row below the visible part is scrolled in.
    d->SetItemIndex(25);
    Open();
    EXPECT_EQ(g->Row(), 26);
    EXPECT_LE(g->TopRow(), 26);
    EXPECT_GE(g->TopRow() + g->VisibleRowCount(), 26);
    // The wheel moves the row but not the choice.
    g->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    ui::test::Pump();
    EXPECT_EQ(g->Row(), 27);
    EXPECT_EQ(d->ItemIndex(), 25);
    d->HideDropDown(false);
    EXPECT_EQ(d->ItemIndex(), 25);

    // A key confirms; a cancel restores the index of the opening.
    Open();
    ui::test::Key(g, VK_DOWN);
    EXPECT_EQ(d->ItemIndex(), 26);
    EXPECT_EQ(Whole(), String(u"Row 26"));
    ui::test::Key(g, VK_ESCAPE);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 25);
    EXPECT_EQ(Whole(), String(u"Row 25"));

    Open();
    ui::test::Key(g, VK_UP);
    ui::test::Key(g, VK_RETURN);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 24);
    EXPECT_EQ(selects, 1);

    // An index left past the items opens on the first row and stays.
    while (d->Items()->Count() > 20) d->Items()->Delete(d->Items()->Count() - 1);
    Open();
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(d->ItemIndex(), 24);
    d->HideDropDown(true);
}

TEST_F(MultiTest, EditKeysAndAutoComplete) {
    Columns(1);
    Rows({{u"Apple"}, {u"Abacus"}, {u"Cherry"}});
    d->SetFocus();
    ui::test::Pump();
    Type(u"ab");
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(Whole(), String(u"Abacus"));  // the key-up writes the entry's spelling
    EXPECT_EQ(d->SelStart(), 2);
    EXPECT_EQ(d->SelLength(), 4);

    d->SetMatchCase(true);
    d->SetText(String());
    Type(u"a");
    EXPECT_EQ(Whole(), String(u"a"));
    d->SetMatchCase(false);

    // Esc with a text that is no entry empties it.
    d->SetText(u"zzz");
    ui::test::Key(d, VK_ESCAPE);
    EXPECT_EQ(Whole(), String());
    EXPECT_EQ(d->ItemIndex(), -1);

    // Enter takes the entry's spelling; with ReturnIsTab a Tab follows.
    d->SetText(u"cherry");
    d->SetReturnIsTab(true);
    MSG m;
    while (PeekMessage(&m, d->Handle(), WM_KEYDOWN, WM_KEYUP, PM_REMOVE)) {}
    SendMessage(d->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(Whole(), String(u"Cherry"));
    EXPECT_EQ(d->ItemIndex(), 2);
    ASSERT_TRUE(PeekMessage(&m, d->Handle(), WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_TAB));
    d->SetReturnIsTab(false);

    // Items added without EndUpdate are not found.
    d->Items()->Add()->Text()->Add(u"Quince");
    d->SetFocus();
    ui::test::Pump();
    d->SetText(String());
    Type(u"q");
    EXPECT_EQ(Whole(), String(u"q"));
}

TEST_F(MultiTest, PageKeysInTheEditMoveByTen) {
    Columns(1);
    Numbered(25);
    d->SetFocus();
    ui::test::Pump();
    struct Step {
        WORD key;
        int expected;
    } steps[] = {{VK_NEXT, 0}, {VK_NEXT, 10}, {VK_NEXT, 20}, {VK_NEXT, 24}, {VK_PRIOR, 14},
                 {VK_PRIOR, 4}, {VK_PRIOR, 0}, {VK_UP, 0}, {VK_DOWN, 1}};
    for (const Step& s : steps) {
        ui::test::Key(d, s.key);
        EXPECT_EQ(d->ItemIndex(), s.expected) << s.key;
    }
}

TEST_F(MultiTest, GridTypeAhead) {
    Columns(1);
    Rows({{u"Yak"}, {u"xa"}, {u"XYZ"}, {u"xyb"}});
    Open();
    TAdvColGrid* g = d->Grid();
    Type(u"x", g);
    EXPECT_EQ(d->LookupEntry(), String(u"x"));
    EXPECT_EQ(g->Row(), 2);
    Type(u"y", g);
    EXPECT_EQ(d->LookupEntry(), String(u"xy"));
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(d->ItemIndex(), 2);
    // Backspace takes the selected tail off the text, then shortens the entry.
    EXPECT_EQ(Whole(), String(u"XYZ"));
    ui::test::Key(g, VK_BACK);
    EXPECT_EQ(Whole(), String(u"XY"));
    EXPECT_EQ(d->LookupEntry(), String(u"xy"));
    ui::test::Key(g, VK_BACK);
    EXPECT_EQ(d->LookupEntry(), String(u"x"));
    EXPECT_EQ(Whole(), String(u"x"));
    // "xq" matches nothing: the search restarts from "q", which matches nothing either.
    Type(u"q", g);
    EXPECT_EQ(d->LookupEntry(), String());
    // "xy" then "y": "xyy" fails, "y" finds Yak.
    Type(u"xyy", g);
    EXPECT_EQ(d->LookupEntry(), String(u"y"));
    EXPECT_EQ(g->Row(), 1);
    ui::test::Key(g, VK_RETURN);  // Enter clears the entry (and chooses)
    EXPECT_EQ(d->LookupEntry(), String());
    EXPECT_FALSE(d->DroppedDown());

    // With CaseSensitive "xy" finds "xyb".
    d->SetCaseSensitive(true);
    Open();
    Type(u"xy", g);
    EXPECT_EQ(g->Row(), 4);
    // Tab does nothing; the grid wants arrows and Tab.
    const int row = g->Row();
    ui::test::Key(g, VK_TAB);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(g->Row(), row);
    EXPECT_EQ(g->Perform(WM_GETDLGCODE, 0, 0), 3);
    // Alt+Up closes the pop-up through the edit.
    ui::test::Key(g, VK_UP, String(), TShiftState{ssAlt});
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(MultiTest, LoadingAndAutoSizingTheGrid) {
    Columns(3, 40);
    d->Columns()->Items(0)->AutoSize = true;
    d->Columns()->Items(0)->Width = 0;
    d->Columns()->Items(1)->AutoSize = true;
    d->Columns()->Items(1)->ColumnType = advmulticolumndropdown::ctImage;
    d->Columns()->Items(1)->Width = 0;
    d->SetColumnSizeWithDropDown(false);
    auto* images = NewComponent<TImageList>(form);
    images->SetWidth(16);
    images->SetHeight(16);
    d->SetImages(images);
    Rows({{u"short", u"", u"a"}, {u"a much longer text", u"", u"b"}});
    d->Items()->Items(0)->SetImageIndex(0);
    Open();
    TAdvColGrid* g = d->Grid();
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->RowHeights(0), 25);
    EXPECT_EQ(g->RowHeights(1), 22);
    EXPECT_EQ(g->GridLineWidth(), 0);
    EXPECT_FALSE(g->Options().Contains(goColSizing));
    TBitmap m(1, 1);
    m.Canvas()->Font()->Assign(d->Columns()->Items(0)->Font());
    TRect r(0, 0, 1000, 500);
    DrawText(m.Canvas()->Handle(), String(u"a much longer text"), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(g->ColWidths(0), r.Right + 6);
    EXPECT_EQ(g->ColWidths(1), 16 + 4);  // only images
    EXPECT_EQ(g->ColWidths(2), 40);
    d->HideDropDown(false);

    // Column sizing follows ColumnSizing; a wrapping column sets every row to at least 24.
    d->SetColumnSizing(true);
    d->Columns()->Items(2)->Wordwrap = true;
    d->Items()->Items(1)->Text()->SetStrings(2, u"one two three four five six seven eight nine ten eleven");
    Open();
    EXPECT_TRUE(g->Options().Contains(goColSizing));
    EXPECT_EQ(g->RowHeights(1), 24);
    EXPECT_GT(g->RowHeights(2), 24);
    m.Canvas()->Font()->Assign(d->Columns()->Items(2)->Font());
    r = TRect(0, 0, 40, 500);
    DrawText(m.Canvas()->Handle(), d->Items()->Items(1)->Text()->Strings(2), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(g->RowHeights(2), r.Bottom + 6);
    d->HideDropDown(false);
}

TEST_F(MultiTest, DrawingTheCells) {
    Columns(3, 60);
    d->SetColumnSizeWithDropDown(false);
    d->SetSelectionColorStyle(scCustom);
    d->SetSelectionColor(0x00FFFF);
    d->SetSelectionTextColor(clRed);
    d->SetHeaderColor(0x00FF00);
    d->SetHeaderColorTo(clNone);
    Rows({{u"aaaa", u"bbbb", u"cccc"}, {u"dddd", u"eeee", u"ffff"}});
    d->SetItemIndex(0);
    Open();
    TAdvColGrid* g = d->Grid();
    auto pixel = [&](int x, int y) { return WindowPixel(g, x, y); };
    // The header solid in HeaderColor.
    const TRect h = g->CellRect(1, 0);
    EXPECT_EQ(pixel(h.Left + 3, h.Top + 2), TColor(0x00FF00));
    EXPECT_EQ(pixel(h.Left + 3, h.Bottom - 4), TColor(0x00FF00));
    // The selected row in the selection colour, its text in SelectionTextColor.
    const TRect s = g->CellRect(1, 1);
    EXPECT_EQ(pixel(s.Right - 4, s.Top + 3), TColor(0x00FFFF));
    int red = 0;
    for (int y = s.Top; y < s.Bottom; ++y)
        for (int x = s.Left; x < s.Right; ++x) red += pixel(x, y) == clRed;
    EXPECT_GT(red, 0);

    // A text event changes the text; a draw event replaces the cell.
    std::vector<std::pair<int, int>> drawn;
    d->OnDropDownGetItemText = [](TObject*, int col, int row, String& text) {
        if (col == 0 && row == 2) text = u"changed";
    };
    d->OnDropDownDrawItem = [&](TObject* sender, int col, int row, TCanvas* canvas, TRect rect) {
        EXPECT_EQ(sender, d);
        drawn.emplace_back(col, row);
        canvas->Brush()->SetColor(clBlue);
        canvas->FillRect(rect);
    };
    g->Invalidate();
    EXPECT_EQ(pixel(s.Left + 3, s.Top + 3), clBlue);
    EXPECT_FALSE(drawn.empty());
    d->HideDropDown(false);
}

TEST_F(MultiTest, HeaderGradientAndSelectionEdges) {
    // The header as 80 bands from HeaderColor to HeaderColorTo top to bottom; the selection's edge
    // style by column.
    struct Call {
        TRect r;
        int edge;
    };
    class Recording : public Multi {
    public:
        using Multi::Multi;
        std::vector<Call> calls;
        int gradients = 0;
        void DrawSelectionBackground(TCanvas* c, const TRect& r, TColor b, int e) override {
            calls.push_back({r, e});
            Multi::DrawSelectionBackground(c, r, b, e);
        }
        void DrawGradientFill(TCanvas* c, TColor f, TColor t, int steps, const TRect& r, bool v) override {
            EXPECT_EQ(steps, 80);
            EXPECT_TRUE(v);
            ++gradients;
            Multi::DrawGradientFill(c, f, t, steps, r, v);
        }
    };
    auto* r = Make<Recording>(20, 150);
    for (int n : {3, 1}) {
        r->Columns()->Clear();
        for (int i = 0; i < n; ++i) r->Columns()->Add()->Width = 50;
        r->BeginUpdate();
        r->Items()->Clear();
        r->Items()->Add()->Text()->Add(u"x");
        r->EndUpdate();
        r->calls.clear();
        ui::test::Pump();
        r->ShowDropDown();
        ui::test::Pump();
        r->Grid()->Update();
        std::vector<int> edges;
        for (const Call& c : r->calls) edges.push_back(c.edge);
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        EXPECT_EQ(edges, n == 3 ? std::vector<int>({1, 2, 3}) : std::vector<int>({0})) << n;
        EXPECT_GT(r->gradients, 0);
        r->HideDropDown(false);
    }
}

TEST_F(MultiTest, TheMouseConfirmsOnADataRowOnly) {
    Columns(2);
    Numbered(5);
    Open();
    TAdvColGrid* g = d->Grid();
    const TRect header = g->CellRect(0, 0);
    ui::test::Click(g, header.Left + 5, header.Top + 5);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(selects, 0);
    const TRect row = g->CellRect(0, 3);
    ui::test::Click(g, row.Left + 5, row.Top + 5);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(Whole(), String(u"Row 2"));
    EXPECT_EQ(selects, 1);
}

TEST_F(MultiTest, TheStyleTable) {
    struct Row {
        TQRBStyle style;
        TColor header, headerTo, font, lines, fixedLines;
        TSelectionColorStyle selection;
        TColor selectionColor, selectionText;
    };
    const TColor keep = clNone;  // the header font's colour left as it was
    const Row rows[] = {
        {tsOffice2003Blue, 0xD68759, 0x933803, 0xFFFFFF, 0x962D00, 0x962D00, scOffice2007, 0xD7FFFD, 0},
        {tsOffice2003Silver, 0xBDA4A5, 0x957475, keep, 0x947C7C, 0x947C7C, scOffice2007, 0xD7FFFD, 0},
        {tsOffice2003Olive, 0x82C0AF, 0x447A63, keep, 0x588060, 0x588060, scOffice2007, 0xD7FFFD, 0},
        {tsOffice2003Classic, 0x808080, 0x808080, keep, 0x808080, 0x808080, scOffice2007, 0xD7FFFD, 0},
        {tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF, scOffice2007, 0xD7FFFD, 0},
        {tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C, scOffice2007, 0xD7FFFD, 0},
        {tsWindowsXP, clBtnFace, clBtnFace, 0, 0xC0C0C0, 0, scCustom, clHighlight, clHighlightText},
        {tsWhidbey, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00, scOffice2007, 0xD7FFFD, 0},
        {tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F, scOffice2007, 0xD7FFFD, 0},
        {tsTerminal, clBtnFace, clBtnFace, 0, 0x808080, 0x808080, scCustom, clHighlight, clHighlightText},
        {tsOffice2010Blue, 0xEDDBCD, clNone, 0x5B391E, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0},
        {tsOffice2010Silver, 0xEDE9E5, clNone, 0x5B391E, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0},
        {tsOffice2010Black, 0x828282, clNone, 0xD7D7D6, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0},
        {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0, 0xFCF2DA, 0xFCF2DA, scWindowsVista, clNone, 0},
        {tsWindows7, 0xFDFBFA, 0xFDF3EB, 0, 0xFBD6B8, 0xFBD6B8, scWindows7, clNone, 0},
    };
    for (const Row& r : rows) {
        d->HeaderFont()->SetColor(0x010203);
        d->SetSelectionTextColor(0x111111);
        d->SetComponentStyle(r.style);
        EXPECT_EQ(d->HeaderColor(), r.header) << r.style;
        EXPECT_EQ(d->HeaderColorTo(), r.headerTo) << r.style;
        EXPECT_EQ(d->HeaderFont()->Color(), r.font == keep ? TColor(0x010203) : r.font) << r.style;
        // The line colours of the rows with a selection style replace the style's own.
        EXPECT_EQ(d->LineColor(), r.lines) << r.style;
        EXPECT_EQ(d->FixedLineColor(), r.fixedLines) << r.style;
        EXPECT_EQ(d->SelectionColorStyle(), r.selection) << r.style;
        if (r.selectionColor != clNone) {
            EXPECT_EQ(d->SelectionColor(), r.selectionColor) << r.style;
        }
        EXPECT_EQ(d->SelectionTextColor(), r.selectionText) << r.style;
    }
    // tsCustom changes nothing.
    d->SetHeaderColor(0x222222);
    d->SetComponentStyle(tsCustom);
    EXPECT_EQ(d->HeaderColor(), TColor(0x222222));
}

}  // namespace
