#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/TestSupport.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

class StdCtrlsListTest : public ui_test::FormTest {};

}  // namespace

TEST_F(StdCtrlsListTest, ListBoxSelectionByMouseKeysAndMessages) {
    auto* list = Add<TListBox>();
    list->SetBounds(10, 10, 120, 150);
    for (const char16_t* s : {u"red", u"green", u"blue", u"black"}) list->Items()->Add(String(s));
    int clicks = 0, dbl = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->OnDblClick = [&](TObject*) { ++dbl; };
    form->Show();
    ui::test::Pump();
    int h = list->ItemHeight();
    ASSERT_GT(h, 0);
    ui::test::Click(list, 10, h + h / 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list->Selected(1));
    ui::test::Key(list, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_FALSE(list->Selected(1));
    ui::test::TypeText(list, String(u"b"));  // the next item starting with b
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(clicks, 3);
    list->SetItemIndex(0);  // the program's choice: no OnClick
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(list->Perform(LB_GETCURSEL), 0);
    EXPECT_EQ(list->Perform(LB_GETCOUNT), 4);
    EXPECT_EQ(list->Perform(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"BLUE")), 2);
    char16_t buf[16] = {};
    EXPECT_EQ(list->Perform(LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buf)), 5);
    EXPECT_EQ(String(buf), String(u"green"));
    list->Items()->Delete(3);
    EXPECT_EQ(list->ItemIndex(), 0);
    list->SetItemIndex(2);
    list->Items()->Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_THROW(list->Selected(5), EListError);
}

TEST_F(StdCtrlsListTest, MultiSelectListKeepsSeveralSelected) {
    auto* list = Add<TListBox>();
    for (int i = 0; i < 5; ++i) list->Items()->Add(String(u"item") + IntToStr(i));
    list->SetItemHeight(16);
    list->SetMultiSelect(true);
    form->Show();
    ui::test::Click(list, 5, 8);
    ui::test::MouseDown(list, 5, 16 * 3 + 8);  // plain click: only this one
    ui::test::MouseUp(list, 5, 16 * 3 + 8);
    EXPECT_EQ(list->SelCount(), 1);
    list->SetSelected(1, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Selected(3));
    EXPECT_EQ(list->Perform(LB_GETSELCOUNT), 2);
    list->Perform(LB_SETSEL, 1, -1);
    EXPECT_EQ(list->SelCount(), 5);
    list->SetMultiSelect(false);
    EXPECT_EQ(list->SelCount(), -1);
}

TEST_F(StdCtrlsListTest, CheckListBoxTicksItemsAndKeepsMarksThroughEdits) {
    auto* list = Add<TCheckListBox>();
    list->SetItemHeight(16);
    for (const char16_t* s : {u"CH1", u"CH2", u"CH3"}) list->Items()->Add(String(s));
    int checks = 0, clicks = 0;
    list->OnClickCheck = [&](TObject*) { ++checks; };
    list->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ui::test::Click(list, 5, 16 + 8);  // on the box of item 1
    EXPECT_TRUE(list->Checked(1));
    EXPECT_EQ(checks, 1);
    ui::test::Click(list, 60, 16 * 2 + 8);  // on the text of item 2: selects only
    EXPECT_FALSE(list->Checked(2));
    EXPECT_EQ(list->ItemIndex(), 2);
    ui::test::Key(list, VK_SPACE);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(checks, 2);
    list->SetAllowGrayed(true);
    list->SetChecked(0, false);
    ui::test::Click(list, 5, 8);
    EXPECT_EQ(list->State(0), cbGrayed);
    list->SetState(0, cbUnchecked);  // the program's write: no event
    EXPECT_EQ(checks, 3);
    // Marks stay with their items when others come and go.
    list->Items()->Insert(0, String(u"CH0"));
    EXPECT_FALSE(list->Checked(0));
    EXPECT_TRUE(list->Checked(2));
    EXPECT_TRUE(list->Checked(3));
    list->Items()->Delete(2);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(list->Items()->Count(), 3);
    list->SetItemEnabled(2, false);
    list->SetItemIndex(2);
    ui::test::Key(list, VK_SPACE);
    EXPECT_TRUE(list->Checked(2));  // a disabled item keeps its mark
}

TEST_F(StdCtrlsListTest, LabeledEditPlacesItsLabelAndItsAcceleratorFocusesTheEdit) {
    auto* other = Add<TEdit>(10, 150);
    auto* edit = Add<TLabeledEdit>(40, 60);
    edit->EditLabel()->SetCaption(String(u"&Lines"));
    TBoundLabel* label = edit->EditLabel();
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(label->Left(), edit->Left());
    EXPECT_EQ(label->Top() + label->Height() + edit->LabelSpacing(), edit->Top());
    edit->SetLabelPosition(lpLeft);
    EXPECT_EQ(label->Left() + label->Width() + edit->LabelSpacing(), edit->Left());
    edit->SetLeft(100);
    EXPECT_EQ(label->Left() + label->Width() + edit->LabelSpacing(), 100);
    form->Show();
    other->SetFocus();
    ui::test::Key(other, 'L', String(u"l"), {ssAlt});
    EXPECT_TRUE(edit->Focused());
    edit->Hide();
    EXPECT_FALSE(label->Visible());
    edit->Free();  // takes its label with it
    EXPECT_EQ(form->ControlCount(), 1);
}

// Inside an update of the items the list has not yet heard of the new ones: selecting one, or
// asking for it by message, must not reach past the selection marks it keeps.
TEST_F(StdCtrlsListTest, MultiSelectListSelectsItemsAddedInsideAnUpdate) {
    auto* list = Add<TListBox>();
    list->SetMultiSelect(true);
    list->Items()->BeginUpdate();
    for (int i = 0; i < 40; ++i) list->Items()->Add(String(u"item") + IntToStr(i));
    list->SetItemIndex(30);
    EXPECT_EQ(list->Perform(LB_SETSEL, 1, 35), 0);
    EXPECT_EQ(list->Perform(LB_GETSEL, 35), 1);
    EXPECT_EQ(list->Perform(LB_DELETESTRING, 39), 39);
    list->Items()->EndUpdate();
    EXPECT_EQ(list->ItemIndex(), 30);
    EXPECT_TRUE(list->Selected(30));
    EXPECT_TRUE(list->Selected(35));
    EXPECT_EQ(list->SelCount(), 2);
}

// The anchor of a shift-click goes with the items it stood on.
TEST_F(StdCtrlsListTest, ShiftClickAfterTheAnchorItemWentSelectsOnlyTheClickedItem) {
    auto* list = Add<TListBox>();
    list->SetItemHeight(16);
    list->SetMultiSelect(true);
    for (int i = 0; i < 200; ++i) list->Items()->Add(String(u"item") + IntToStr(i));
    list->SetItemIndex(150);  // the anchor
    list->Items()->Clear();
    for (int i = 0; i < 3; ++i) list->Items()->Add(String(u"item") + IntToStr(i));
    form->Show();
    list->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, PointToLParam(5, 16 + 8));
    list->Perform(WM_LBUTTONUP, MK_SHIFT, PointToLParam(5, 16 + 8));
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(list->Selected(1));
}

TEST_F(StdCtrlsListTest, SelectionMovesWithItsItemWhenOthersAreInsertedDeletedOrReordered) {
    auto* list = Add<TListBox>();
    auto* combo = Add<TComboBox>();
    for (TStrings* items : {list->Items(), combo->Items()})
        for (const char16_t* s : {u"d", u"b", u"c", u"a"}) items->Add(String(s));
    struct Step { const char* what; std::function<void(TStrings*)> change; int index; };
    // Each step starts from "c" selected, at the index the previous step left it.
    const Step steps[] = {
        {"insert before", [](TStrings* s) { s->Insert(0, "x"); }, 3},
        {"insert after", [](TStrings* s) { s->Add("y"); }, 3},
        {"delete before", [](TStrings* s) { s->Delete(0); }, 2},
        {"exchange", [](TStrings* s) { s->Exchange(2, 0); }, 0},
        {"move", [](TStrings* s) { s->Move(0, 3); }, 3},
        {"sort", [](TStrings* s) { static_cast<TStringList*>(s)->Sort(); }, 2},
        {"batch", [](TStrings* s) {
             s->BeginUpdate();
             s->Insert(0, "p");
             s->Insert(0, "q");
             s->Delete(s->Count() - 1);
             s->EndUpdate();
         }, 4},
        {"delete it", [](TStrings* s) { s->Delete(4); }, -1},
    };
    list->SetItemIndex(2);
    combo->SetItemIndex(2);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(list->Items());
        step.change(combo->Items());
        EXPECT_EQ(list->ItemIndex(), step.index);
        EXPECT_EQ(combo->ItemIndex(), step.index);
        if (step.index >= 0) {
            EXPECT_EQ(list->Items()->Get(step.index), String("c"));
            EXPECT_TRUE(list->Selected(step.index));
        }
    }
    EXPECT_EQ(list->SelCount(), -1);
    for (int i = 0; i < list->Items()->Count(); ++i) EXPECT_FALSE(list->Selected(i)) << i;

    // Several marks of a multi-select list move together; messages take the same road.
    auto* multi = Add<TListBox>();
    multi->SetMultiSelect(true);
    for (const char16_t* s : {u"a", u"b", u"c", u"d"}) multi->Items()->Add(String(s));
    multi->SetSelected(1, true);
    multi->SetSelected(3, true);
    multi->Perform(LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"z"));
    multi->Perform(LB_DELETESTRING, 3);  // "c", unselected
    std::vector<bool> marks;
    for (int i = 0; i < multi->Items()->Count(); ++i) marks.push_back(multi->Selected(i));
    EXPECT_EQ(marks, (std::vector<bool>{false, false, true, true}));  // z a b d
    combo->Items()->Add("k");
    combo->SetItemIndex(combo->Items()->Count() - 1);
    combo->Perform(CB_DELETESTRING, 0);
    EXPECT_EQ(combo->Items()->Get(combo->ItemIndex()), String("k"));
}
