// The grid's settings objects (navigation, mouse actions, bands, the synchronised grid) and the
// grid's display and behaviour writers that do more than store.
#include "grid/tests/GridModelSupport.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

class SettingsTest : public GridModelTest {};

// A grid that counts the settings hooks it hears.
class HookGrid : public LogGrid {
public:
    using LogGrid::LogGrid;
    int NavigationChanges = 0;
    int MouseChanges = 0;
    bool Designing = false;

protected:
    void NavigationChanged(TObject* Sender) override {
        EXPECT_EQ(Sender, Navigation());
        ++NavigationChanges;
    }
    void MouseActionsChanged(TObject* Sender) override {
        EXPECT_EQ(Sender, MouseActions());
        ++MouseChanges;
    }
    void IsDesigning(TObject*, bool& IsDesigning) override { IsDesigning = Designing; }
};

template <class T>
struct BoolProperty {
    const char* name;
    bool (T::*get)() const;
    void (T::*set)(bool);
};

#define NAV(n) BoolProperty<TNavigation>{#n, &TNavigation::n, &TNavigation::Set##n}
const BoolProperty<TNavigation> kNavigationBools[] = {
    NAV(AdvanceOnEnterLoop),   NAV(AdvanceAutoEdit),      NAV(AllowCtrlEnter),
    NAV(AllowClipboardRowGrow), NAV(AllowClipboardColGrow), NAV(ComboGetUpDown),
    NAV(CopyHTMLTagsToClipboard), NAV(CursorWalkAlwaysEdit), NAV(EditSelectAll),
    NAV(LeftRightRowSelect),   NAV(SkipFixedCells),       NAV(SkipDisabledRows),
    // false by default from here on
    NAV(AllowInsertRow),       NAV(AllowDeleteRow),       NAV(AlwaysEdit),
    NAV(AdvanceOnEnter),       NAV(AdvanceInsert),        NAV(AdvanceAuto),
    NAV(AutoGotoWhenSorted),   NAV(AutoGotoIncremental),  NAV(AutoComboDropSize),
    NAV(AllowClipboardShortCuts), NAV(AllowSmartClipboard), NAV(AllowRTFClipboard),
    NAV(AllowFmtClipboard),    NAV(AllowClipboardAlways), NAV(AppendOnArrowDown),
    NAV(CursorWalkEditor),     NAV(MoveRowOnSort),        NAV(KeepScrollOnSort),
    NAV(MoveScrollOnly),       NAV(ImproveMaskSel),       NAV(KeepHorizScroll),
    NAV(LineFeedOnEnter),      NAV(TabToNextAtEnd),
};
#undef NAV
constexpr int kNavigationTrue = 12;

#define MOUSE(n) BoolProperty<TMouseActions>{#n, &TMouseActions::n, &TMouseActions::Set##n}
const BoolProperty<TMouseActions> kMouseBools[] = {
    MOUSE(AutoSizeColOnDblClick), MOUSE(PreciseNodeClick),
    // false by default from here on
    MOUSE(AllColumnSize), MOUSE(AllRowSize), MOUSE(AllSelect), MOUSE(CaretPositioning), MOUSE(CheckAllCheck),
    MOUSE(ColSelect), MOUSE(DirectComboClose), MOUSE(DirectComboDrop), MOUSE(DirectDateClose),
    MOUSE(DirectDateDrop), MOUSE(DirectEdit), MOUSE(DisjunctRowSelect), MOUSE(DisjunctRowSelectNoCtrl),
    MOUSE(DisjunctColSelect), MOUSE(DisjunctCellSelect), MOUSE(EditOnDblClickOnly), MOUSE(HotmailRowSelect),
    MOUSE(MoveRowOnNodeClick), MOUSE(NoAutoRangeScroll), MOUSE(NodeAllExpandContract),
    MOUSE(NoScrollOnPartialRow), MOUSE(PreciseCheckBoxCheck), MOUSE(RangeSelectAndEdit), MOUSE(RowSelect),
    MOUSE(RowSelectPersistent), MOUSE(SelectOnRightClick), MOUSE(SizeFixedCol), MOUSE(SizeFixedRow),
};
#undef MOUSE
constexpr int kMouseTrue = 2;

TEST(NavigationTest, DefaultsAndTheAssignList) {
    TNavigation n;
    int index = 0;
    for (const auto& p : kNavigationBools) EXPECT_EQ((n.*p.get)(), index++ < kNavigationTrue) << p.name;
    EXPECT_EQ(n.AdvanceDirection(), adLeftRight);
    EXPECT_EQ(n.TabAdvanceDirection(), adLeftRight);
    EXPECT_EQ(n.ClipboardPasteAction(), paReplace);
    EXPECT_EQ(n.CursorAdvance(), caDefault);
    EXPECT_EQ(n.InsertPosition(), pInsertBefore);
    EXPECT_EQ(n.HomeEndKey(), heFirstLastColumn);

    // Every property flipped in the source reaches the copy, except KeepScrollOnSort.
    TNavigation source;
    for (const auto& p : kNavigationBools) (source.*p.set)(!(source.*p.get)());
    source.SetAdvanceDirection(adTopBottom);
    source.SetTabAdvanceDirection(adTopBottom);
    source.SetClipboardPasteAction(paInsert);
    source.SetCursorAdvance(caLoop);
    source.SetInsertPosition(pInsertAfter);
    source.SetHomeEndKey(heFirstLastCell);
    int events = 0;
    n.OnChange = [&](TObject*) { ++events; };
    n.Assign(&source);
    EXPECT_EQ(events, 0);
    for (const auto& p : kNavigationBools) {
        bool keep = std::string(p.name) == "KeepScrollOnSort";
        EXPECT_EQ((n.*p.get)(), keep ? false : (source.*p.get)()) << p.name;
    }
    EXPECT_EQ(n.AdvanceDirection(), adTopBottom);
    EXPECT_EQ(n.TabAdvanceDirection(), adTopBottom);
    EXPECT_EQ(n.ClipboardPasteAction(), paInsert);
    EXPECT_EQ(n.CursorAdvance(), caLoop);
    EXPECT_EQ(n.InsertPosition(), pInsertAfter);
    EXPECT_EQ(n.HomeEndKey(), heFirstLastCell);
    // Another class is ignored.
    TBands bands;
    n.Assign(&bands);
    EXPECT_EQ(n.HomeEndKey(), heFirstLastCell);
}

TEST_F(SettingsTest, NavigationWritersWithSideEffects) {
    form->SetBounds(0, 0, 640, 480);
    auto* g = Add<HookGrid>(0, 0);
    TNavigation* n = g->Navigation();
    n->SetAdvanceAuto(true);
    EXPECT_TRUE(n->AdvanceOnEnter());
    n->SetAdvanceOnEnter(false);
    n->SetAdvanceAuto(false);
    EXPECT_FALSE(n->AdvanceOnEnter());
    EXPECT_EQ(g->NavigationChanges, 0);
    // AdvanceDirection and AdvanceInsert reach the grid's hook, on a change only.
    n->SetAdvanceDirection(adTopBottom);
    EXPECT_EQ(g->NavigationChanges, 1);
    n->SetAdvanceDirection(adTopBottom);
    EXPECT_EQ(g->NavigationChanges, 1);
    n->SetAdvanceInsert(true);
    EXPECT_EQ(g->NavigationChanges, 2);
    n->SetTabAdvanceDirection(adTopBottom);  // only stores
    EXPECT_EQ(g->NavigationChanges, 2);
}

TEST(MouseActionsTest, DefaultsAndTheAssignList) {
    TMouseActions m;
    int index = 0;
    for (const auto& p : kMouseBools) EXPECT_EQ((m.*p.get)(), index++ < kMouseTrue) << p.name;
    EXPECT_EQ(m.FixedRowsEditor(), fceEdit);
    EXPECT_EQ(m.FixedColsEditor(), fceEdit);
    EXPECT_EQ(m.FixedRowsEdit(), fceNone);
    EXPECT_EQ(m.FixedColsEdit(), fceNone);
    EXPECT_EQ(m.WheelAction(), waMoveSelection);
    EXPECT_EQ(m.WheelIncrement(), 0);
    EXPECT_EQ(m.FixedComboValues()->Count(), 0);

    TMouseActions source;
    for (const auto& p : kMouseBools) (source.*p.set)(!(source.*p.get)());
    source.SetFixedRowsEditor(fceComboList);
    source.SetFixedColsEditor(fceComboEdit);
    source.SetFixedRowsEdit(fceRightClick);
    source.SetFixedColsEdit(fceDblClick);
    source.SetWheelAction(waScroll);
    source.SetWheelIncrement(3);
    source.FixedComboValues()->Add(u"a");
    int events = 0;
    m.OnChange = m.OnInvalidate = m.OnDisableEdit = [&](TObject*) { ++events; };
    m.Assign(&source);
    EXPECT_EQ(events, 0);
    for (const auto& p : kMouseBools) {
        std::string name = p.name;
        bool left = name == "EditOnDblClickOnly" || name == "HotmailRowSelect" || name == "SizeFixedRow";
        EXPECT_EQ((m.*p.get)(), left ? false : (source.*p.get)()) << p.name;
    }
    EXPECT_EQ(m.FixedRowsEditor(), fceComboList);
    EXPECT_EQ(m.FixedColsEditor(), fceComboEdit);
    EXPECT_EQ(m.FixedRowsEdit(), fceRightClick);
    EXPECT_EQ(m.FixedColsEdit(), fceDblClick);
    EXPECT_EQ(m.WheelAction(), waScroll);
    EXPECT_EQ(m.WheelIncrement(), 3);
    EXPECT_EQ(m.FixedComboValues()->Count(), 0);
    // The list writer copies.
    m.SetFixedComboValues(source.FixedComboValues());
    ASSERT_EQ(m.FixedComboValues()->Count(), 1);
    EXPECT_EQ(m.FixedComboValues()->Strings(0), u"a");
    EXPECT_NE(m.FixedComboValues(), source.FixedComboValues());
}

TEST_F(SettingsTest, MouseActionWritersWithSideEffects) {
    form->SetBounds(0, 0, 640, 480);
    auto* g = Add<HookGrid>(0, 0);
    form->Show();
    ui::test::Pump();
    TMouseActions* m = g->MouseActions();
    g->Log.clear();
    m->SetHotmailRowSelect(true);
    EXPECT_TRUE(m->DisjunctRowSelect());
    EXPECT_TRUE(m->CheckAllCheck());
    EXPECT_EQ(g->GridRequests(), 1);  // OnInvalidate reaches MouseActionsInvalidate
    m->SetHotmailRowSelect(false);
    EXPECT_TRUE(m->DisjunctRowSelect());
    EXPECT_TRUE(m->CheckAllCheck());
    EXPECT_EQ(g->GridRequests(), 2);

    // At run time the disjunct modes combine; at design time one excludes the others.
    m->SetDisjunctRowSelect(false);
    m->SetDisjunctCellSelect(true);
    m->SetDisjunctRowSelect(true);
    EXPECT_TRUE(m->DisjunctRowSelect());
    EXPECT_TRUE(m->DisjunctCellSelect());
    g->Designing = true;
    struct Case {
        void (TMouseActions::*set)(bool);
        bool row, col, cell;
    };
    for (const Case& c : {Case{&TMouseActions::SetDisjunctColSelect, false, true, false},
                          Case{&TMouseActions::SetDisjunctCellSelect, false, false, true},
                          Case{&TMouseActions::SetDisjunctRowSelect, true, false, false}}) {
        (m->*c.set)(true);
        EXPECT_EQ(m->DisjunctRowSelect(), c.row);
        EXPECT_EQ(m->DisjunctColSelect(), c.col);
        EXPECT_EQ(m->DisjunctCellSelect(), c.cell);
    }
    // Switching one off touches nothing else.
    m->SetDisjunctColSelect(false);
    EXPECT_TRUE(m->DisjunctRowSelect());
    // The direct access has no side effects.
    m->SetDisjunctRowSelectDirect(false);
    m->SetDisjunctCellSelect(true);
    m->SetDisjunctRowSelectDirect(true);
    EXPECT_TRUE(m->DisjunctCellSelect());

    // WheelAction reaches MouseActionsChanged on a change only.
    m->SetWheelAction(waScroll);
    m->SetWheelAction(waScroll);
    EXPECT_EQ(g->MouseChanges, 1);
    // EditOnDblClickOnly fires OnDisableEdit when switched on.
    int disable = 0;
    m->OnDisableEdit = [&](TObject*) { ++disable; };
    m->SetEditOnDblClickOnly(true);
    m->SetEditOnDblClickOnly(false);
    EXPECT_EQ(disable, 1);
}

TEST(BandsTest, DefaultsEventsAndAssign) {
    TBands b;
    EXPECT_EQ(b.PrimaryColor(), clInfoBk);
    EXPECT_EQ(b.SecondaryColor(), clWindow);
    EXPECT_EQ(b.PrimaryLength(), 1);
    EXPECT_EQ(b.SecondaryLength(), 1);
    EXPECT_EQ(b.TotalLength(), 2);
    EXPECT_FALSE(b.Active());
    EXPECT_FALSE(b.Print());
    int events = 0;
    b.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &b);
        ++events;
    };
    b.SetPrimaryColor(0xFF);
    b.SetSecondaryColor(0xFF00);
    b.SetPrimaryLength(3);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(b.TotalLength(), 4);
    b.SetActive(true);
    EXPECT_EQ(events, 1);
    b.SetPrimaryColor(0xFF);  // unchanged
    EXPECT_EQ(events, 1);
    b.SetPrimaryColor(0xFF0000);
    b.SetSecondaryLength(4);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(b.TotalLength(), 7);

    TBands source;
    source.SetPrimaryLength(2);
    source.SetSecondaryLength(3);
    source.SetPrint(true);
    events = 0;
    b.Assign(&source);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(b.TotalLength(), 5);
    EXPECT_FALSE(b.Active());
    EXPECT_TRUE(b.Print());
    EXPECT_EQ(b.PrimaryColor(), clInfoBk);
}

TEST_F(SettingsTest, SyncGridNeverTheOwnerAndCopiedByTheGridsWriter) {
    form->SetBounds(0, 0, 640, 480);
    auto* g = Add<LogGrid>(0, 0);
    auto* other = Add<LogGrid>(0, 300);
    TSyncGrid* s = g->SyncGrid();
    s->SetGrid(g);
    EXPECT_EQ(s->Grid(), nullptr);
    s->SetGrid(other);
    s->SetGrid(g);
    EXPECT_EQ(s->Grid(), other);

    // The grid's writer copies: the owner's own grid is refused by the copy as well.
    TSyncGrid settings(other);
    settings.SetGrid(g);
    settings.SetScrollVertical(true);
    settings.SetMoveRow(true);
    g->SetSyncGrid(&settings);
    EXPECT_EQ(s->Grid(), other);
    EXPECT_TRUE(s->ScrollVertical());
    EXPECT_TRUE(s->MoveRow());
    EXPECT_FALSE(s->SelectionColumn());
    // The other grid going clears the reference.
    other->Free();
    EXPECT_EQ(s->Grid(), nullptr);
}

TEST_F(SettingsTest, SelectionWriters) {
    auto* g = MakeGrid(4, 4);
    struct Case {
        int written, read;
    };
    for (const Case& c : {Case{150, 100}, Case{-5, 0}, Case{30, 30}, Case{100, 100}, Case{0, 0}}) {
        g->SetSelectionColorMixerFactor(c.written);
        EXPECT_EQ(g->SelectionColorMixerFactor(), c.read) << c.written;
    }
    // Each selection writer invalidates on a change only.
    g->Log.clear();
    g->SetSelectionColorTo(0xFF);
    g->SetSelectionColorTo(0xFF);
    g->SetSelectionMirrorColor(0xFF);
    g->SetSelectionMirrorColorTo(0xFF);
    g->SetSelectionColorMixer(true);
    g->SetSelectionRectangle(true);
    g->SetSelectionResizer(true);
    EXPECT_EQ(g->GridRequests(), 6);
    EXPECT_EQ(g->SelectionMirrorColorTo(), TColor(0xFF));
    g->SetSelectionRectangle(false);
    g->SetSelectionResizer(false);

    // ShowSelection also sets the paint frame's flag.
    g->Log.clear();
    g->SetShowSelection(false);
    EXPECT_FALSE(g->ShowSelection());
    EXPECT_FALSE(g->SelectionShown());
    EXPECT_EQ(g->GridRequests(), 1);
    g->SetShowSelection(true);
}

TEST_F(SettingsTest, SpreadSheetSwitchesItsSettingsOnWhateverTheValue) {
    for (bool value : {false, true}) {
        SCOPED_TRACE(value);
        auto* g = MakeGrid(4, 4);
        g->SetOptions(g->Options() >> goRangeSelect >> goEditing);
        g->SetSpreadSheet(value);
        EXPECT_EQ(g->SpreadSheet(), value);
        EXPECT_TRUE(g->SelectionRectangle());
        EXPECT_TRUE(g->SelectionResizer());
        EXPECT_TRUE(g->Navigation()->AllowSmartClipboard());
        EXPECT_TRUE(g->Options().Contains(goRangeSelect));
        EXPECT_TRUE(g->Options().Contains(goEditing));
        EXPECT_TRUE(g->MouseActions()->RangeSelectAndEdit());
        g->Free();
    }
}

TEST_F(SettingsTest, VAlignmentStoresTheTextFlagAndInvalidatesOutsideABracket) {
    auto* g = MakeGrid(4, 4);
    struct Case {
        TVAlignment value;
        UINT flag;
    };
    for (const Case& c : {Case{vaCenter, 4}, Case{vaBottom, 8}, Case{vaTop, 0}}) {
        g->Log.clear();
        g->SetVAlignment(c.value);
        EXPECT_EQ(g->VAlignment(), c.value);
        EXPECT_EQ(g->VAlignFlag(), c.flag);
        EXPECT_EQ(g->GridRequests(), 1);
        g->BeginUpdate();
        g->Log.clear();
        g->SetVAlignment(c.value);
        EXPECT_TRUE(g->Log.empty());
        g->EndUpdate();
    }
    EXPECT_EQ(DT_VCENTER, 4u);
    EXPECT_EQ(DT_BOTTOM, 8u);
}

TEST_F(SettingsTest, QRBGradientColoursAreStoredAsRGB) {
    auto* g = MakeGrid(4, 4);
    g->Log.clear();
    g->SetQRBGradientFrom(clBtnFace);
    EXPECT_EQ(g->QRBGradientFrom(), TColor(ColorToRGB(clBtnFace)));
    EXPECT_NE(g->QRBGradientFrom(), clBtnFace);
    g->SetQRBGradientTo(clWindow);
    g->SetQRBGradientMirrorFrom(0x123456);
    g->SetQRBGradientMirrorTo(clHighlight);
    EXPECT_EQ(g->QRBGradientTo(), TColor(ColorToRGB(clWindow)));
    EXPECT_EQ(g->QRBGradientMirrorFrom(), TColor(0x123456));
    EXPECT_EQ(g->QRBGradientMirrorTo(), TColor(ColorToRGB(clHighlight)));
    EXPECT_EQ(g->GridRequests(), 4);
    // The hover and pressed colours are kept as given.
    g->QRBGradientHoverFrom = clBtnFace;
    EXPECT_EQ(g->QRBGradientHoverFrom, clBtnFace);
}

TEST_F(SettingsTest, EditLengthFlatAndCursor) {
    auto* g = MakeGrid(4, 4);
    g->SetMaxEditLength(5);  // no editor yet: only stored
    EXPECT_EQ(g->MaxEditLength(), 5);
    g->SetOptions(g->Options() << goEditing);
    g->MoveColRow(1, 1, true, true);
    g->ShowInplaceEdit();
    ASSERT_NE(g->NormalEdit(), nullptr);
    g->SetMaxEditLength(3);
    EXPECT_EQ(g->NormalEdit()->MaxLength(), 3);
    g->HideInplaceEdit();

    g->Log.clear();
    g->SetFlat(true);
    EXPECT_TRUE(g->Flat());
    EXPECT_EQ(g->GridRequests(), 1);

    g->SetCursor(crHandPoint);
    EXPECT_EQ(g->Cursor(), crHandPoint);
    EXPECT_EQ(g->NormalCursor(), crHandPoint);
}

TEST_F(SettingsTest, SettingsObjectWritersCopy) {
    auto* g = MakeGrid(4, 4);
    TSortSettings sort(nullptr);
    sort.Full = false;
    TDragScrollOptions drag;
    drag.SetActive(true);
    TFocusHelper focus;
    focus.Enabled = true;
    // Each writer keeps the owned object and copies into it.
    TSortSettings* ownedSort = g->SortSettings();
    g->SetSortSettings(&sort);
    g->SetDragScrollOptions(&drag);
    g->SetFocusHelper(&focus);
    EXPECT_EQ(g->SortSettings(), ownedSort);
    EXPECT_FALSE(g->SortSettings()->Full);
    EXPECT_TRUE(g->DragScrollOptions()->Active());
    EXPECT_TRUE(g->FocusHelper()->Enabled);
}

}  // namespace
