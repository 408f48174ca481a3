// The styled edit's auto-complete list: when it shows, what it lists, where and how large its
// window is, the keys that move in it, the choice, hiding, and the history of left values.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/styled/tests/AdvEditTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/backend/Backend.h"

namespace {

using advedit_test::EditTest;

class AdvEditLookupTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        edit->Lookup()->SetEnabled(true);
        edit->SetAllowNumericNullValue(true);
        Set(etString, u"", 0);
    }
    void Entries(std::initializer_list<const char*> entries) {
        edit->Lookup()->DisplayList()->Clear();
        for (const char* e : entries) edit->Lookup()->DisplayList()->Add(String(e));
    }
    bool Shown() const { return edit->LookupWindow()->Visible(); }
    std::vector<String> Rows() const {
        std::vector<String> r;
        for (int i = 0; i < edit->LookupList()->Items()->Count(); ++i) r.push_back(edit->LookupList()->Items()->Strings(i));
        return r;
    }
    int Row() const { return edit->LookupList()->ItemIndex(); }
};

TEST_F(AdvEditLookupTest, OpensAfterNumCharsAndClosesBelowThem) {
    Entries({"Apple", "apricot", "Banana"});
    Char(u'a');
    EXPECT_FALSE(Shown());
    Char(u'p');
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Rows(), (std::vector<String>{u"Apple", u"apricot"}));
    Char(u'\b');
    EXPECT_FALSE(Shown());
    edit->Lookup()->SetNumChars(0);
    edit->Lookup()->SetNumChars(-1);
    EXPECT_EQ(edit->Lookup()->NumChars(), 2);
}

TEST_F(AdvEditLookupTest, MatchesByCaseAndAnywhere) {
    Entries({"Apple", "apricot", "Banana"});
    const struct {
        bool caseSensitive, fullText;
        const char* typed;
        std::vector<String> rows;
    } cases[] = {{false, false, "ap", {u"Apple", u"apricot"}},
                 {true, false, "ap", {u"apricot"}},
                 {false, true, "an", {u"Banana"}},
                 {false, false, "an", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        edit->Lookup()->SetCaseSensitive(c.caseSensitive);
        edit->SetFullTextSearch(c.fullText);
        Set(etString, u"", 0);
        Type(String(c.typed));
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(Shown(), !c.rows.empty());
    }
}

TEST_F(AdvEditLookupTest, WindowGeometryAndPaging) {
    Entries({"ab1", "ab2", "ab3", "ab4", "ab5", "ab-a-much-longer-entry-than-fifty-pixels"});
    edit->Lookup()->SetDisplayCount(4);
    Type(u"ab");
    ASSERT_TRUE(Shown());
    TListHintWindow* w = edit->LookupWindow();
    EXPECT_EQ(w->Height(), 4 * 12 + 4);
    TBitmap measure;
    measure.Canvas()->Font()->SetName(u"Arial");
    measure.Canvas()->Font()->SetSize(8);
    int widest = measure.Canvas()->TextWidth(u"ab-a-much-longer-entry-than-fifty-pixels");
    EXPECT_EQ(w->Width(), std::max(50, widest) + 8 + GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_EQ(GetSystemMetrics(SM_CXHSCROLL), 17);
    const TPoint origin = edit->ClientOrigin();
    const int x = static_cast<int16_t>(LOWORD(static_cast<DWORD>(edit->Perform(EM_POSFROMCHAR, 0, 0))));
    EXPECT_EQ(w->Left(), origin.X + x + 8);
    EXPECT_EQ(w->Top(), origin.Y + edit->Height() - 6);
    EXPECT_EQ(w->Caption(), String(u"  "));
    EXPECT_EQ(edit->LookupList()->ItemHeight(), 12);
    EXPECT_EQ(edit->LookupList()->Font()->Name(), String(u"Arial"));
    EXPECT_EQ(edit->LookupList()->Font()->Size(), 8);
    EXPECT_NE(GetWindowLong(w->Handle(), GWL_EXSTYLE) & static_cast<LONG>(WS_EX_TOPMOST), 0);

    EXPECT_EQ(Row(), 0);
    const struct {
        WORD key;
        int row;
    } steps[] = {{VK_NEXT, 4}, {VK_NEXT, 5}, {VK_PRIOR, 1}, {VK_PRIOR, 0}, {VK_END, 5},
                 {VK_HOME, 0}, {VK_DOWN, 1}, {VK_UP, 0},    {VK_UP, 0}};
    for (const auto& s : steps) {
        KeyDown(s.key);
        EXPECT_EQ(Row(), s.row) << s.key;
    }
    KeyDown(VK_DOWN);
    KeyDown(VK_RETURN);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(edit->Text(), Rows()[1]);
    EXPECT_EQ(edit->SelLength(), edit->Text().Length());
}

TEST_F(AdvEditLookupTest, UpAndDownNeverReachTheNativeEditWhileHidden) {
    Set(etString, u"abc", 1);
    std::vector<WORD> seen;
    edit->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { seen.push_back(k); };
    EXPECT_EQ(KeyDown(VK_DOWN), 1);
    EXPECT_EQ(KeyDown(VK_UP), 1);
    EXPECT_EQ(seen, (std::vector<WORD>{VK_DOWN, VK_UP}));
    EXPECT_EQ(edit->SelStart(), 1);
}

TEST_F(AdvEditLookupTest, TheChoiceTakesThePairedValueAndMayBeChanged) {
    Entries({"one", "onyx", "other"});
    edit->Lookup()->ValueList()->Add(u"1");  // "onyx" and "other" have none
    Type(u"on");
    KeyDown(VK_DOWN);
    KeyDown(VK_RETURN);
    EXPECT_EQ(edit->Text(), String(u"onyx"));

    std::vector<String> calls;
    edit->OnLookupSelect = [&](TObject*, String& v) {
        calls.push_back(u"select " + v);
        v = v + u"!";
    };
    edit->OnLookupIndexSelect = [&](TObject*, int k, String& v) {
        calls.push_back(u"index " + IntToStr(k) + u" " + v);
        v = v + u"?";
    };
    Set(etString, u"", 0);
    Type(u"on");
    KeyDown(VK_RETURN);
    EXPECT_EQ(calls, (std::vector<String>{u"select 1", u"index 0 1!"}));
    EXPECT_EQ(edit->Text(), String(u"1!?"));
}

TEST_F(AdvEditLookupTest, AClickInTheListTakesTheRow) {
    Entries({"alpha", "alps", "altitude"});
    Type(u"al");
    ASSERT_TRUE(Shown());
    TListBox* list = edit->LookupList();
    ui::test::MouseDown(list, 10, 12 + 6);  // the second row
    EXPECT_TRUE(Shown());                   // the focus went to the list: it stays
    ui::test::MouseUp(list, 10, 12 + 6);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(edit->Text(), String(u"alps"));
    EXPECT_TRUE(edit->Focused());
}

TEST_F(AdvEditLookupTest, MultiModeCompletesTheLastItem) {
    Entries({"green", "grey"});
    edit->Lookup()->SetMulti(true);
    edit->Lookup()->SetSeparator(u';');
    Set(etString, u"red;", 4);
    Type(u"gr");
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Rows().size(), 2u);
    KeyDown(VK_RETURN);
    EXPECT_EQ(edit->Text(), String(u"red;green;"));
    EXPECT_EQ(edit->SelStart(), 10);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(AdvEditLookupTest, HidesOnFocusLossAndCancelModeKeepingItsRows) {
    Entries({"alpha", "alps"});
    Type(u"al");
    ASSERT_TRUE(Shown());
    edit->Perform(WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(Rows().size(), 2u);

    Char(u'p');
    ASSERT_TRUE(Shown());
    other->SetFocus();
    EXPECT_FALSE(Shown());

    // Alt takes a choice only from a list the user sees.
    edit->SetFocus();
    Set(etString, u"mine");
    SendMessage(edit->Handle(), WM_SYSKEYDOWN, VK_MENU, 1);
    EXPECT_EQ(edit->Text(), String(u"mine"));
}

TEST_F(AdvEditLookupTest, TheListWindowTakesTheFocusWhenActivatedAndHidesWhenItLosesIt) {
    Entries({"alpha", "alps"});
    Type(u"al");
    ASSERT_TRUE(Shown());
    TListHintWindow* w = edit->LookupWindow();
    TListBox* list = edit->LookupList();
    // A hint window: bordered, topmost, shadowed by its class; the rows fill it inside a 1-pixel margin.
    EXPECT_NE(dynamic_cast<THintWindow*>(w), nullptr);
    EXPECT_NE(GetWindowLong(w->Handle(), GWL_STYLE) & static_cast<LONG>(WS_BORDER), 0);
    EXPECT_NE(GetClassLong(w->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    EXPECT_EQ(list->BoundsRect(), TRect(1, 1, w->ClientWidth() - 1, w->ClientHeight() - 1));
    EXPECT_EQ(list->Height(), 2 * 12);

    // Activated, it focuses its list; the edit losing the focus to it leaves it shown.
    SetActiveWindow(w->Handle());
    EXPECT_EQ(GetFocus(), list->Handle());
    EXPECT_TRUE(Shown());
    // The form taking the activation back hides it, and the focus returns to the edit.
    SetActiveWindow(form->Handle());
    EXPECT_FALSE(Shown());
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(Rows().size(), 2u);

    // The focus leaving the edit for anything but the list hides it: another control, or no
    // window of the program when another program takes the activation.
    Caret(2);
    Char(u'p');
    ASSERT_TRUE(Shown());
    ui::GetBackend().Windows().ApplicationActivated(false);
    EXPECT_FALSE(Shown());
    ui::GetBackend().Windows().ApplicationActivated(true);
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(AdvEditLookupTest, AnEditFreedWhileItsListIsActiveLeavesItsFormActive) {
    Entries({"alpha", "alps"});
    Type(u"al");
    ASSERT_TRUE(Shown());
    SetActiveWindow(edit->LookupWindow()->Handle());
    edit->Free();
    edit = nullptr;
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_TRUE(ui::ShownTipWindows().empty());
}

TEST_F(AdvEditLookupTest, TheBottomRightCornerSizesTheListWindow) {
    Entries({"alpha", "alps", "altitude"});
    Type(u"al");
    ASSERT_TRUE(Shown());
    TListHintWindow* w = edit->LookupWindow();
    const TPoint origin = w->ClientOrigin();
    const struct {
        int x, y;
        LRESULT hit;
    } points[] = {{w->ClientWidth() - 1, w->ClientHeight() - 1, HTBOTTOMRIGHT},
                  {w->ClientWidth() - 10, w->ClientHeight() - 10, HTBOTTOMRIGHT},
                  {w->ClientWidth() - 11, w->ClientHeight() - 1, HTNOWHERE},
                  {2, 2, HTNOWHERE}};
    for (const auto& p : points)
        EXPECT_EQ(w->Perform(WM_NCHITTEST, 0, PointToLParam(origin.X + p.x, origin.Y + p.y)), p.hit) << p.x << "," << p.y;

    // The user drags the corner (the margin round the list, in client coordinates): the window
    // grows and its list with it.
    const int width = w->Width(), height = w->Height(), x = w->ClientWidth() - 1, y = w->ClientHeight() - 1;
    ui::test::MouseMove(w, x, y);
    ui::test::MouseDown(w, x, y);
    ui::test::MouseMove(w, x + 30, y + 24, MK_LBUTTON);
    ui::test::MouseUp(w, x + 30, y + 24);
    ui::test::Pump();
    EXPECT_EQ(w->Width(), width + 30);
    EXPECT_EQ(w->Height(), height + 24);
    EXPECT_EQ(edit->LookupList()->Height(), w->ClientHeight() - 2);
    EXPECT_TRUE(Shown());
}

TEST_F(AdvEditLookupTest, HistoryKeepsLeftValuesOnce) {
    edit->Lookup()->SetHistory(true);
    Set(etString, u" Paris ");
    other->SetFocus();
    edit->SetFocus();
    edit->SetText(u"Paris");
    other->SetFocus();
    ASSERT_EQ(edit->Lookup()->DisplayList()->Count(), 1);
    EXPECT_EQ(edit->Lookup()->DisplayList()->Strings(0), String(u"Paris"));
}

TEST(AdvEditLookupSettingsTest, AssignCopiesSettingsAndListsFromItsOwnKindOnly) {
    TLookupSettings a, b;
    a.SetEnabled(true);
    a.SetNumChars(3);
    a.SetDisplayCount(7);
    a.SetColor(clYellow);
    a.SetCaseSensitive(true);
    a.SetHistory(true);
    a.SetMulti(true);
    a.SetSeparator(u',');
    a.DisplayList()->Add(u"x");
    a.ValueList()->Add(u"1");
    b.Assign(&a);
    a.DisplayList()->Add(u"y");  // by content: b keeps its own copy
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.NumChars(), 3);
    EXPECT_EQ(b.DisplayCount(), 7);
    EXPECT_EQ(b.Color(), clYellow);
    EXPECT_TRUE(b.CaseSensitive() && b.History() && b.Multi());
    EXPECT_EQ(b.Separator(), u',');
    EXPECT_EQ(b.DisplayList()->Count(), 1);
    EXPECT_EQ(b.ValueList()->Strings(0), String(u"1"));

    TPersistence other;
    TLookupSettings c;
    c.Assign(&other);
    EXPECT_FALSE(c.Enabled());
    EXPECT_EQ(c.NumChars(), 2);
}

}  // namespace

