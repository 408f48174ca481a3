// The grid's life cycle: its defaults and owned objects, window creation, the end of loading,
// sizing, copying one grid into another, destruction and the unit's start-up and routines.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "controls/styled/VizIrovaRE.h"
#include "controls/styled/tests/StyledTestSupport.h"
#include "grid/tests/GridModelSupport.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

// Puts the layer's system answers back after each test.
class LifeCycleTest : public GridModelTest {
protected:
    void TearDown() override {
        GridModelTest::TearDown();
        ui::sys::ResetAnswers();
    }
    // A grid made at run time on the form, with its default size.
    TVerAdevovEdav* RunTimeGrid() {
        auto* g = NewComponent<TVerAdevovEdav>(form);
        g->SetParent(form);
        return g;
    }
};

TEST_F(LifeCycleTest, ARunTimeGridStartsWithItsDefaults) {
    TVerAdevovEdav* g = RunTimeGrid();
    struct Check {
        const char* Name;
        long long Actual, Expected;
    };
    const Check checks[] = {
        {"RowCount", g->RowCount(), 10},
        {"ColCount", g->ColCount(), 5},
        {"FixedRows", g->FixedRows(), 1},
        {"FixedCols", g->FixedCols(), 1},
        {"column width", g->ColWidths(2), 64},
        {"DefaultRowHeight", g->DefaultRowHeight(), 22},
        {"FixedRowHeight", g->FixedRowHeight(), 22},
        {"Width", g->Width(), 400},
        {"Height", g->Height(), 250},
        {"GridLineWidth", g->GridLineWidth(), 1},
        {"platform line width", g->TObjStringGrid::GridLineWidth(), 0},
        {"GridLineColor", g->GridLineColor(), 0xC0C0C0},
        {"GridFixedLineColor", g->GridFixedLineColor(), 0x808080},
        {"SelectionColor", g->SelectionColor(), 0xEACAB6},
        {"SelectionColorMixerFactor", g->SelectionColorMixerFactor(), 50},
        {"URLColor", g->URLColor(), 0xFF0000},
        {"ActiveCellColor", g->ActiveCellColor(), 0x808080},
        {"DisabledFontColor", g->DisabledFontColor(), 0xC0C0C0},
        {"HighlightColor", g->HighlightColor(), static_cast<TColor>(0xFF00000D)},
        {"BorderColor", g->BorderColor(), 0xB99D7F},  // the layer reports a version above 5.0
        {"XYOffset.X", g->XYOffset().X, 2},
        {"XYOffset.Y", g->XYOffset().Y, 2},
        {"GroupColumn", g->GroupColumn(), -1},
        {"ScrollWidth", g->ScrollWidth(), 17},
        {"FixedFont bold", g->FixedFont()->Style().Contains(fsBold), 1},
        {"header gradient from", g->HeaderColor(0), 0xFFFFFF},
        {"header gradient to", g->HeaderColor(1), ColorToRGB(clBtnFace)},
        {"header mirror", g->HeaderColor(2), clNone},
        {"WordWrap", g->WordWrap(), 1},
        {"SaveFixedCells", g->SaveFixedCells(), 1},
        {"MinColWidth", g->MinColWidth(), 0},
    };
    for (const Check& c : checks) EXPECT_EQ(c.Actual, c.Expected) << c.Name;
    EXPECT_EQ(g->FloatFormat(), u"%.2f");
    EXPECT_EQ(g->CheckTrue(), u"Y");
    EXPECT_EQ(g->CheckFalse(), u"N");
    EXPECT_EQ(g->PasswordChar(), u'*');
    EXPECT_EQ(g->XMLEncoding(), u"ISO-8859-1");
    EXPECT_EQ(g->FilterDropDownClear(), u"(All)");
    EXPECT_EQ(g->FixedFont()->Name(), u"Tahoma");
    EXPECT_EQ(g->FloatingFooter()->Height, 22);
    EXPECT_EQ(g->OrigColSizes()->Col(), -1);
    EXPECT_TRUE(g->FilterList()->Sorted());
}

TEST_F(LifeCycleTest, ARunTimeGridHasItsEditorsADesignedOneHasTheFooterTexts) {
    TVerAdevovEdav* g = RunTimeGrid();
    for (TControl* c : std::vector<TControl*>{g->FocusWindow(), g->ArrowWindow(arrUp), g->ArrowWindow(arrRight),
                                              g->EditCombo(), g->EditTrans(), g->ComboTrans(), g->EditCheck(),
                                              g->EditBtn(), g->UnitEditBtn(), g->GridButton(), g->HeaderDragButton(),
                                              g->EditControl(), g->ComboControl(), g->CellScrollBar(),
                                              g->CellScrollBarTwin()}) {
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Parent(), g) << c->ClassName();
        EXPECT_FALSE(c->Visible()) << c->ClassName();
    }
    for (TControl* c : std::vector<TControl*>{g->EditCombo(), g->EditCheck(), g->EditBtn(), g->UnitEditBtn(),
                                              g->GridButton(), g->HeaderDragButton()})
        EXPECT_FALSE(c->Enabled()) << c->ClassName();
    for (TControl* c : std::vector<TControl*>{g->EditTrans(), g->ComboTrans(), g->EditControl(), g->ComboControl()})
        EXPECT_TRUE(c->Enabled()) << c->ClassName();
    EXPECT_EQ(g->EditBtn()->ButtonCaption(), u"...");
    EXPECT_EQ(g->ArrowWindow(arrLeft)->Dir(), arrLeft);
    EXPECT_EQ(g->CellScrollBar()->Kind(), sbVertical);
    EXPECT_EQ(g->SearchFooter()->FindNextCaption(), u"");
    EXPECT_EQ(g->SearchFooter()->HintClose(), u"");

    // The unit edit's unit change reports the current cell.
    struct Seen {
        int Col, Row;
        String Unit;
    } seen{-1, -1, {}};
    g->OnUnitChanged = [&](TObject*, int c, int r, const String& u) { seen = {c, r, u}; };
    g->UnitEditBtn()->Units()->Add(u"mm");
    g->UnitEditBtn()->Units()->Add(u"cm");
    g->SetCol(2);
    g->SetRow(3);
    g->UnitEditBtn()->SelectUnit(2);
    EXPECT_EQ(seen.Col, 2);
    EXPECT_EQ(seen.Row, 3);
    EXPECT_EQ(seen.Unit, u"cm");

    auto* surface = new TForm(nullptr);
    surface->SetDesigning(true);
    auto* designed = NewComponent<TVerAdevovEdav>(surface);
    EXPECT_EQ(designed->FocusWindow(), nullptr);
    EXPECT_EQ(designed->EditCombo(), nullptr);
    EXPECT_EQ(designed->CellScrollBar(), nullptr);
    TSearchFooter* f = designed->SearchFooter();
    EXPECT_EQ(f->FindNextCaption(), u"Find &next");
    EXPECT_EQ(f->FindPrevCaption(), u"Find &previous");
    EXPECT_EQ(f->MatchCaseCaption(), u"Match case");
    EXPECT_EQ(f->HighLightCaption(), u"Highlight");
    EXPECT_EQ(f->HintFindNext(), u"Find next occurrence");
    EXPECT_EQ(f->HintFindPrev(), u"Find previous occurrence");
    EXPECT_EQ(f->HintHighlight(), u"Highlight occurrences");
    EXPECT_EQ(f->HintClose(), u"Close");
    surface->Free();
}

std::u16string StreamText(TMemoryStream& s) {
    std::u16string text(static_cast<size_t>(s.Size()) / 2, u'\0');
    s.SetPosition(0);
    s.Read(text.data(), static_cast<int32_t>(s.Size()));
    return text;
}

// Records where AssignCells finds the grid when it runs.
class AssignLogGrid : public TVerAdevovEdav {
public:
    using TVerAdevovEdav::TVerAdevovEdav;
    std::vector<std::string> Log;
    void AssignCells(const TPersistent* Source) override {
        Log.push_back("AssignCells at " + std::to_string(ColCount()) + "x" + std::to_string(RowCount()) + " width " +
                      std::to_string(ColWidths(1)));
        TVerAdevovEdav::AssignCells(Source);
    }
};

TEST_F(LifeCycleTest, AssignCopiesSettingsThenCountsAndSizesAndTheCellsLast) {
    TVerAdevovEdav* src = RunTimeGrid();
    auto* dst = NewComponent<AssignLogGrid>(form);
    dst->SetCells(1, 1, u"kept");
    TMemoryStream before;
    dst->SaveToStream(&before);
    TFont notAGrid;
    notAGrid.SetName(u"Courier New");
    dst->Assign(&notAGrid);
    EXPECT_TRUE(dst->Log.empty());
    TMemoryStream after;
    dst->SaveToStream(&after);
    EXPECT_EQ(StreamText(after), StreamText(before));
    EXPECT_NE(dst->Font()->Name(), u"Courier New");

    src->SetColCount(7);
    src->SetRowCount(12);
    src->SetFixedRows(2);
    src->SetColWidths(1, 91);
    src->SetRowHeights(4, 40);
    src->Bands()->SetActive(true);
    src->SearchFooter()->SetVisible(true);
    src->SortSettings()->Column = 3;
    src->SetCells(2, 1, u"a,b");
    src->SetCells(3, 5, u"one\r\ntwo");
    src->SetCells(6, 11, u"last");
    dst->SetMultilineCells(true);
    dst->Assign(src);

    ASSERT_EQ(dst->Log.size(), 1u);
    EXPECT_EQ(dst->Log[0], "AssignCells at 7x12 width 91");
    EXPECT_TRUE(dst->Bands()->Active());
    EXPECT_TRUE(dst->SearchFooter()->Visible());
    EXPECT_EQ(dst->SortSettings()->Column, 3);
    EXPECT_EQ(dst->TBaseGrid::FixedRows(), 2);
    EXPECT_EQ(dst->RowHeights(4), 40);
    EXPECT_EQ(dst->Cells(2, 1), u"a,b");
    EXPECT_EQ(dst->Cells(3, 5), u"one\r\ntwo");
    EXPECT_EQ(dst->Cells(6, 11), u"last");
    // The source is left as it was.
    EXPECT_EQ(src->Cells(2, 1), u"a,b");
}

TEST_F(LifeCycleTest, TheStreamFormWritesLinesAndStopsReadingAtAForeignLine) {
    TVerAdevovEdav* g = RunTimeGrid();
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetCells(2, 1, u"a,b");
    TMemoryStream s;
    g->SaveToStream(&s);
    EXPECT_EQ(StreamText(s), u"3,3\r\ncw 0,64\r\ncw 1,64\r\ncw 2,64\r\n2,1,a,b\r\n");

    int64_t gridEnd = s.Size();
    const std::u16string next = u"next\r\nmore\r\n";
    s.SetPosition(gridEnd);
    s.Write(next.data(), static_cast<int32_t>(next.size() * 2));
    s.SetPosition(0);
    TVerAdevovEdav* other = RunTimeGrid();
    other->SetColCount(8);
    other->LoadFromStream(&s);
    EXPECT_EQ(s.Position(), gridEnd);
    EXPECT_EQ(other->ColCount(), 3);
    EXPECT_EQ(other->RowCount(), 3);
    EXPECT_EQ(other->Cells(2, 1), u"a,b");

    // A width line for a column outside the grid ends the load with the grid's index error.
    const std::u16string bad = u"2,2\r\ncw 9,50\r\n";
    TMemoryStream b;
    b.Write(bad.data(), static_cast<int32_t>(bad.size() * 2));
    b.SetPosition(0);
    EXPECT_THROW(other->LoadFromStream(&b), EInvalidGridOperation);
}

TEST_F(LifeCycleTest, InvalidateIsSkippedOnceAfterAnEditorChange) {
    auto* g = MakeGrid(5, 10);
    g->SetEditChange(true);
    g->Invalidate();
    EXPECT_EQ(g->GridRequests(), 0);
    EXPECT_FALSE(g->EditChange());
    g->Invalidate();
    EXPECT_EQ(g->GridRequests(), 1);

    g->SetColWidths(2, 80);
    g->InitOrigColSizes();
    EXPECT_EQ(g->OrigColSizes()->StrValue(), u"64,64,80,64,64");
    EXPECT_EQ(g->OrigWidth(), 400);
}

TEST_F(LifeCycleTest, WindowCreationStartsTheTimerParentsThePanelsAndReadsTheWheel) {
    rtl::ScopedManualClock clock(1000);
    ui::sys::Answers().ThemeActive = false;
    ui::sys::Answers().WheelScrollLines = 3;
    TVerAdevovEdav* g = RunTimeGrid();
    g->SearchFooter()->SetVisible(true);
    form->Show();
    g->HandleNeeded();
    EXPECT_EQ(g->GridTimerID(), 111u);
    EXPECT_EQ(win::NextTimerDue(), 1500u);
    clock->Advance(500);
    ui::test::Pump();
    EXPECT_EQ(g->ViewServiceCalls().GridTimer, 1);
    EXPECT_EQ(g->FooterPanel()->Parent(), g);
    EXPECT_EQ(g->SearchPanel()->Parent(), g);
    EXPECT_EQ(g->SearchPanel()->Height(), 32);
    EXPECT_EQ(g->WheelScrollLines(), 3);
    EXPECT_EQ(g->WheelMessage(), 522u);
    EXPECT_FALSE(g->IsWinXP());  // themes not active

    // A recreated window starts the timer again.
    ui::sys::Answers().WheelScrollLines = -1;
    g->RecreateWnd();
    g->HandleNeeded();
    EXPECT_EQ(win::NextTimerDue(), clock->MonotonicMs() + 500);
    clock->Advance(500);
    ui::test::Pump();
    EXPECT_EQ(g->ViewServiceCalls().GridTimer, 2);
    EXPECT_EQ(g->WheelScrollLines(), g->VisibleRowCount());  // a page per notch

    TVerAdevovEdav* hiddenFooter = RunTimeGrid();
    hiddenFooter->HandleNeeded();
    EXPECT_EQ(hiddenFooter->SearchPanel()->Height(), 0);
    EXPECT_FALSE(hiddenFooter->SearchPanel()->Visible());

    auto* surface = new TForm(nullptr);
    surface->SetDesigning(true);
    auto* designed = NewComponent<TVerAdevovEdav>(surface);
    designed->SetParent(surface);
    designed->HandleNeeded();
    EXPECT_EQ(designed->Font()->Name(), u"Tahoma");
    surface->Free();
}

TEST_F(LifeCycleTest, LoadedWritesHeadersTakesMinimumsAndAdaptsTheLook) {
    ui::sys::Answers().MajorVersion = 5;  // not XP-styled
    ui::sys::Answers().MinorVersion = 0;
    TVerAdevovEdav* g = RunTimeGrid();
    g->BeginLoading();
    g->ColumnHeaders()->SetCommaText(u"Name,Size,Kind");
    g->RowHeaders()->SetCommaText(u",one,two");
    g->SetFixedRows(2);
    g->SetOptions(g->Options() << goAlwaysShowEditor << goEditing);
    g->SetAutoThemeAdapt(true);
    g->Loaded();
    EXPECT_EQ(g->Cells(1, 0), u"Size");
    EXPECT_EQ(g->Cells(2, 0), u"Kind");
    EXPECT_EQ(g->Cells(0, 2), u"two");
    EXPECT_TRUE(g->Navigation()->AlwaysEdit());
    EXPECT_FALSE(g->Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(g->MinRowHeight(), 22);
    EXPECT_EQ(g->MinColWidth(), 10);
    EXPECT_EQ(g->ControlLook()->ControlStyle(), TControlLook::csClassic);
    EXPECT_TRUE(g->SearchFooter()->AutoThemeAdapt());
    EXPECT_EQ(g->ViewServiceCalls().AdaptToOfficeTheme, 1);
    EXPECT_TRUE(g->IsLoaded());
    // The fixed-row minimum is what was loaded.
    g->SetFixedRowAlways(true);
    g->SetRowCount(2);
    g->SetRowCount(10);
    EXPECT_EQ(g->TBaseGrid::FixedRows(), 2);

    // Inside a library module the theme is left alone.
    rtl::test::LibraryModuleScope library;
    TVerAdevovEdav* inLibrary = RunTimeGrid();
    inLibrary->SetAutoThemeAdapt(true);
    inLibrary->BeginLoading();
    inLibrary->Loaded();
    EXPECT_EQ(inLibrary->ViewServiceCalls().AdaptToOfficeTheme, 0);
}

TEST_F(LifeCycleTest, AThemeAdaptingGridRegistersItsWindowWithTheThemeNotifier) {
    styled_test::ScopedRegistry registry;  // an office version installed: the notifier watches
    styled_test::ScopedRegistry::MakeKey(u"Software\\Microsoft\\Office\\14.0\\Common\\General");
    struct Case {
        const char* Name;
        bool AutoThemeAdapt, Library, Registered;
    };
    const Case cases[] = {
        {"adapting", true, false, true},
        {"not adapting", false, false, false},
        {"adapting inside a library", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::optional<rtl::test::LibraryModuleScope> library;
        if (c.Library) library.emplace();
        TVerAdevovEdav* g = RunTimeGrid();
        TThemeNotifier* notifier = ObtainThemeNotifier(g);  // made here, gone with the grid
        ASSERT_NE(notifier->Monitor(), nullptr);
        g->SetAutoThemeAdapt(c.AutoThemeAdapt);
        g->BeginLoading();
        g->Loaded();
        EXPECT_EQ(notifier->Monitor()->WinList().HasValue(g->Handle()), c.Registered);
        g->Free();
    }
}

TEST_F(LifeCycleTest, IntegralHeightTrimsToWholeRows) {
    TVerAdevovEdav* g = RunTimeGrid();
    g->SetBorderStyle(bsSingle);
    g->SetIntegralHeight(true);
    form->Show();
    g->SetBounds(0, 0, 400, 250);
    EXPECT_EQ(g->Height(), 246);  // 250 + 2 - (248 mod 22)
    g->SetColCount(20);  // columns no longer fit: the horizontal bar's 17 pixels
    g->SetBounds(0, 0, 400, 250);
    EXPECT_EQ(g->Height(), 241);  // 250 + 2 - ((250 - 17 - 2) mod 22)
}

struct BarState {
    bool Shown, Enabled;
};
BarState Bar(TWinControl* w, LONG id) {
    SCROLLBARINFO info;
    GetScrollBarInfo(w->Handle(), id, &info);
    return {!(info.rgstate[0] & STATE_SYSTEM_INVISIBLE), !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE)};
}

TEST_F(LifeCycleTest, AlwaysVisibleScrollBarsShowDisabledWhenEverythingFits) {
    TVerAdevovEdav* g = RunTimeGrid();
    form->SetBounds(0, 0, 640, 480);
    form->Show();
    g->SetRowCount(5);  // all rows fit
    g->SetScrollBarAlways(saVert);
    g->UpdateAlwaysScrollBars(false);
    BarState v = Bar(g, OBJID_VSCROLL);
    EXPECT_TRUE(v.Shown);
    EXPECT_FALSE(v.Enabled);

    g->SetColCount(20);  // columns do not fit
    g->SetScrollBarAlways(saBoth);
    g->UpdateAlwaysScrollBars(false);
    BarState h = Bar(g, OBJID_HSCROLL);
    EXPECT_TRUE(h.Shown);
    EXPECT_TRUE(h.Enabled);

    g->SetColCount(3);  // everything fits now: both bars stay, disabled
    g->UpdateAlwaysScrollBars(false);
    EXPECT_TRUE(Bar(g, OBJID_HSCROLL).Shown);
    EXPECT_FALSE(Bar(g, OBJID_HSCROLL).Enabled);

    g->SetScrollBarAlways(saNone);
    g->UpdateAlwaysScrollBars(false);  // without force: nothing
    EXPECT_TRUE(Bar(g, OBJID_VSCROLL).Shown);
    EXPECT_TRUE(Bar(g, OBJID_HSCROLL).Shown);
    g->UpdateAlwaysScrollBars(true);
    EXPECT_FALSE(Bar(g, OBJID_VSCROLL).Shown);
    EXPECT_FALSE(Bar(g, OBJID_HSCROLL).Shown);

    // Without ScrollBarAlways a bar that scrolls is left as it is.
    g->SetRowCount(40);
    EnableScrollBar(g->Handle(), SB_VERT, ESB_DISABLE_BOTH);
    g->UpdateAlwaysScrollBars(true);
    EXPECT_TRUE(Bar(g, OBJID_VSCROLL).Shown);
    EXPECT_FALSE(Bar(g, OBJID_VSCROLL).Enabled);
}

TEST_F(LifeCycleTest, AGridSizedWithItsFormGrowsAlongThenTheFormsHandlerRuns) {
    int formHandler = 0;
    form->OnResize = [&](TObject*) { ++formHandler; };
    TVerAdevovEdav* g = RunTimeGrid();
    g->SetSizeWithForm(true);
    form->Show();
    ui::test::Pump();
    formHandler = 0;
    int w = g->Width(), h = g->Height();
    form->SetBounds(form->Left(), form->Top(), form->Width() + 30, form->Height() + 20);
    ui::test::Pump();
    EXPECT_EQ(g->Width(), w + 30);
    EXPECT_EQ(g->Height(), h + 20);
    EXPECT_EQ(formHandler, 1);
}

TEST_F(LifeCycleTest, GridsChainedIntoAFormMayBeFreedInAnyOrder) {
    // Grids made 0, 1, 2 in this order, each order of freeing them.
    const std::vector<std::vector<int>> orders = {{0, 1, 2}, {1, 0, 2}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
    for (const auto& order : orders) {
        SCOPED_TRACE(::testing::PrintToString(order));
        int formHandler = 0;
        form->OnResize = [&](TObject*) { ++formHandler; };
        std::vector<TVerAdevovEdav*> grids;
        for (int i = 0; i < 3; ++i) {
            grids.push_back(RunTimeGrid());
            grids.back()->SetSizeWithForm(true);
        }
        form->Show();
        ui::test::Pump();
        for (int gone : order) {
            grids[gone]->Free();
            grids[gone] = nullptr;
            std::vector<int> widths;
            for (TVerAdevovEdav* g : grids) widths.push_back(g ? g->Width() : 0);
            formHandler = 0;
            form->SetBounds(form->Left(), form->Top(), form->Width() + 10, form->Height());
            ui::test::Pump();
            EXPECT_EQ(formHandler, 1);  // the form's own handler, once
            for (size_t i = 0; i < grids.size(); ++i) {
                if (grids[i]) {
                    EXPECT_EQ(grids[i]->Width(), widths[i] + 10) << "grid " << i;
                }
            }
        }
        form->OnResize = nullptr;
        form->SetBounds(form->Left(), form->Top(), form->Width() - 30, form->Height());
        ui::test::Pump();
    }
}

TEST_F(LifeCycleTest, TheUnitStartsOnceAndRegistersItsClassesAndMessages) {
    const TZedUdidUnitState& unit = ZedUdidUnitState();
    int before = unit.InitCount;
    ASSERT_GE(before, 1);  // the grids made so far started it
    uint16_t format = unit.CellsClipboardFormat;
    TVerAdevovEdav* shown = RunTimeGrid();
    SetFocusFrameGrid(shown);
    InitZedUdidUnit();  // a repeat: the focus-frame grid is not cleared, nothing registered again
    EXPECT_EQ(unit.InitCount, before + 2);
    EXPECT_EQ(FocusFrameGrid(), shown);
    EXPECT_EQ(unit.CellsClipboardFormat, format);
    SetFocusFrameGrid(nullptr);
    EXPECT_NE(FindClass(u"TVerAdevovEdav"), nullptr);
    EXPECT_NE(FindClass(u"TSearchPanel"), nullptr);
    EXPECT_EQ(unit.CellsClipboardFormat, RegisterClipboardFormat(u"TVerAdevovEdav Cells"));
    EXPECT_EQ(unit.GridEditDoneMessage, RegisterWindowMessage(u"GridEditDone"));
    EXPECT_EQ(unit.DTPShiftFocusMessage, RegisterWindowMessage(u"DTPShiftFocus"));
    EXPECT_GE(unit.GridEditDoneMessage, 0xC000);
    EXPECT_TRUE(unit.ComCtrlOk);
    EXPECT_EQ(GetDllFileVersion(u"comctl32.dll"), 0x0006000A);
    EXPECT_EQ(GetDllFileVersion(u"/no/version/data.txt"), -1);
    EXPECT_EQ(unit.HandCursor, crHandPoint);

    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ShortDateFormat = u"dd.mm.yyyy";
    EXPECT_EQ(GetDecimalSeparator(), u',');
    EXPECT_EQ(GetShortDateFormat(), u"dd.mm.yyyy");
    EXPECT_EQ(GetTimeSeparator(), FormatSettings.TimeSeparator);
    EXPECT_EQ(GetLongTimeFormat(), FormatSettings.LongTimeFormat);
    FormatSettings = TFormatSettings::Default();

    TVerAdevovEdav* g = RunTimeGrid();
    form->Show();
    LONG ex = GetWindowLong(g->Handle(), GWL_EXSTYLE);
    MakeWindowTransparent(g->Handle());
    EXPECT_EQ(GetWindowLong(g->Handle(), GWL_EXSTYLE), ex | 0x20);
}

TEST_F(LifeCycleTest, MovingTheFormMovesTheShownFocusFrame) {
    TVerAdevovEdav* g = RunTimeGrid();
    form->Show();
    ui::test::Pump();
    auto calls = [g] { return g->ViewServiceCalls().PositionFocusWindow; };
    int before = calls();
    form->SetBounds(form->Left() + 25, form->Top() + 5, form->Width(), form->Height());
    EXPECT_EQ(calls(), before);  // no grid shows its frame
    SetFocusFrameGrid(g);
    for (int move = 1; move <= 2; ++move) {
        form->SetBounds(form->Left() + 25, form->Top(), form->Width(), form->Height());
        EXPECT_EQ(calls(), before + 2 * move);  // one for the move's coming, one for its end
    }
    g->Free();  // a grid that goes takes its registration along
    EXPECT_EQ(FocusFrameGrid(), nullptr);
    form->SetBounds(form->Left() + 25, form->Top(), form->Width(), form->Height());
}

// Notes the order in which the grid's owned components go.
class FreeWatcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::string> Freed;
    void Watch(TComponent* c) {
        FNames[c] = c->ClassName();
        c->FreeNotification(this);
    }

protected:
    // Told from the component's own destructor: its class name is known from before.
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && FNames.count(AComponent)) Freed.push_back(FNames[AComponent]);
    }

private:
    std::map<TComponent*, std::string> FNames;
};

// A cell graphic that counts the ones alive.
class CountedGraphic : public TCellGraphic {
public:
    static inline int Alive = 0;
    CountedGraphic() { ++Alive; }
    ~CountedGraphic() override { --Alive; }
};

TEST_F(LifeCycleTest, DestructionFreesEveryCellsPropertiesHiddenRowsAndRowsBeyondTheCountToo) {
    // What a grid holds when it goes: the graphics (with their properties) left alive afterwards.
    struct Case {
        const char* Name;
        int HiddenRows;  // rows taken out of the grid into the hidden-row store
        int ShrinkTo;    // RowCount at the end (below the 20 rows given graphics)
    };
    const Case cases[] = {
        {"visible rows only", 0, 20},
        {"rows beyond the count", 0, 5},
        {"hidden rows", 3, 20},
        {"hidden rows and rows beyond the count", 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CountedGraphic::Alive = 0;
        TVerAdevovEdav* g = RunTimeGrid();
        g->SetRowCount(20);
        for (int r = 0; r < 20; ++r)
            for (int col : {1, 3}) delete g->SetGraphicObjectEx(col, r, new CountedGraphic());
        // Hidden rows keep their cells' objects with their items, out of the grid's store.
        for (int h = 0; h < c.HiddenRows; ++h) {
            auto* item = static_cast<TGridItem*>(g->GridItems()->Add());
            item->SetIdx(20 + h);
            for (int col = 0; col < g->ColCount(); ++col) {
                TObject* o = col == 1 || col == 3 ? g->Objects(col, 10 + h) : nullptr;
                g->SetObjects(col, 10 + h, nullptr);
                item->Items()->AddObject(g->Cells(col, 10 + h), o);
            }
        }
        g->SetRowCount(c.ShrinkTo);
        ASSERT_EQ(CountedGraphic::Alive, 40);
        g->Free();
        EXPECT_EQ(CountedGraphic::Alive, 0);
    }
}

TEST_F(LifeCycleTest, DestructionFreesOwnedObjectsInOrderAndEveryCellsProperties) {
    auto* watcher = new FreeWatcher(nullptr);
    TVerAdevovEdav* g = RunTimeGrid();
    for (TComponent* c : std::vector<TComponent*>{g->CellScrollBar(), g->EditCombo(), g->DropList(), g->FooterPanel(),
                                                  g->ArrowWindow(arrUp), g->FocusWindow(), g->SearchPanel(),
                                                  g->HeaderDragButton()})
        watcher->Watch(c);
    g->SetRowCount(100);
    for (int r = 0; r < 100; ++r) {
        g->GetCellProperties(1, r)->SetBrushColor(clRed);
        auto* graphic = new TCellGraphic();
        delete g->SetGraphicObjectEx(2, r, graphic);
    }
    g->SetRowCount(10);  // the properties below stay in the store
    g->Free();
    EXPECT_EQ(watcher->Freed, (std::vector<std::string>{"TFooterPanel", "TSearchPanel", "TDropList", "TArrowWindow",
                                                        "TGridFocusWindow", "TGridCombo", "THeaderDragButton",
                                                        "TScrollBar"}));
    delete watcher;
}

}  // namespace
