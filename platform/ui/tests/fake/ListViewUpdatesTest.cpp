// List and combo boxes show their native view only what changed: an item added, inserted,
// deleted or changed goes over alone, and all the items only after an update bracket or a Clear.
// The fake backend's list views count what they are sent and keep what they were shown.
#include <gtest/gtest.h>

#include <functional>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

using ui::fake::FakeListView;

class ListViewUpdatesTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        ui::fake::Instance().ShowListViews = true;
        FormTest::SetUp();
    }
    void TearDown() override {
        FormTest::TearDown();
        ui::fake::Instance().ShowListViews = false;
    }
    template <class T>
    std::pair<T*, FakeListView*> Shown() {
        auto* c = Add<T>();
        form->Show();
        FakeListView* v = ui::fake::ListViewOf(c);
        EXPECT_NE(v, nullptr);
        return {c, v};
    }
    static std::vector<String> ItemsOf(TStrings* items) {
        std::vector<String> out;
        for (int i = 0; i < items->Count(); ++i) out.push_back(items->Get(i));
        return out;
    }
};

TEST_F(ListViewUpdatesTest, ItemsAddedOneByOneGoOverOnceEachAndABracketResendsOnce) {
    auto [list, view] = Shown<TListBox>();
    int whole = view->WholeLists;
    size_t sent = view->TextsSent;
    constexpr int kItems = 100000;
    for (int i = 0; i < kItems; ++i) list->Items()->Add(IntToStr(i));
    EXPECT_EQ(view->TextsSent - sent, static_cast<size_t>(kItems));
    EXPECT_EQ(view->WholeLists, whole);
    ASSERT_EQ(view->Items.size(), static_cast<size_t>(kItems));
    EXPECT_EQ(view->Items[54321], String("54321"));

    // A bracket: nothing until its end, then the whole list once.
    sent = view->TextsSent;
    list->Items()->BeginUpdate();
    for (int i = 0; i < 10; ++i) list->Items()->Add(String("more"));
    EXPECT_EQ(view->TextsSent, sent);
    list->Items()->EndUpdate();
    EXPECT_EQ(view->WholeLists, whole + 1);
    EXPECT_EQ(view->TextsSent - sent, static_cast<size_t>(kItems + 10));
    // Clear is one resend of nothing.
    list->Clear();
    EXPECT_EQ(view->WholeLists, whole + 2);
    EXPECT_TRUE(view->Items.empty());
}

TEST_F(ListViewUpdatesTest, EachChangeKeepsTheViewsItemsAndMarksWithTheControls) {
    auto [list, view] = Shown<TListBox>();
    list->SetMultiSelect(true);
    for (const char* s : {"a", "b", "c", "d", "e"}) list->Items()->Add(String(s));
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    list->SetItemIndex(3);
    struct Step {
        const char* name;
        std::function<void(TStrings*)> change;
        std::vector<int> selected;  // where the marks are afterwards
        int itemIndex;
    };
    std::vector<Step> steps = {
        {"insert before", [](TStrings* s) { s->Insert(0, String("z")); }, {2, 4}, 4},
        {"delete a marked one", [](TStrings* s) { s->Delete(2); }, {3}, 3},
        {"exchange", [](TStrings* s) { s->Exchange(0, 3); }, {0}, 0},
        {"move", [](TStrings* s) { s->Move(0, 2); }, {2}, 2},
        {"set its data", [](TStrings* s) { s->SetObjects(2, s); }, {2}, 2},
        {"rename it", [](TStrings* s) { s->SetStrings(2, String("renamed")); }, {}, -1},
        {"append", [](TStrings* s) { s->Add(String("f")); }, {}, -1},
    };
    for (const Step& step : steps) {
        size_t sent = view->TextsSent;
        int whole = view->WholeLists;
        step.change(list->Items());
        SCOPED_TRACE(step.name);
        EXPECT_EQ(view->WholeLists, whole);
        EXPECT_LE(view->TextsSent - sent, 2u);
        EXPECT_EQ(view->Items, ItemsOf(list->Items()));
        std::vector<int> marks, shown;
        for (int i = 0; i < list->Items()->Count(); ++i) {
            if (list->Selected(i)) marks.push_back(i);
            if (view->Selected[static_cast<size_t>(i)]) shown.push_back(i);
        }
        EXPECT_EQ(marks, step.selected);
        EXPECT_EQ(shown, step.selected);
        EXPECT_EQ(list->ItemIndex(), step.itemIndex);
        EXPECT_EQ(view->ItemIndex, step.itemIndex);
    }
}

TEST_F(ListViewUpdatesTest, ACheckListsMarksAndAComboBoxsChoiceFollowTheirItems) {
    auto [checks, view] = Shown<TCheckListBox>();
    for (const char* s : {"a", "b", "c"}) checks->Items()->Add(String(s));
    checks->SetChecked(1, true);
    checks->Items()->Insert(0, String("new"));
    checks->Items()->Exchange(2, 3);
    EXPECT_EQ(view->Items, (std::vector<String>{String("new"), String("a"), String("c"), String("b")}));
    EXPECT_TRUE(checks->Checked(3));
    EXPECT_EQ(view->Checks, (std::vector<TCheckBoxState>{cbUnchecked, cbUnchecked, cbUnchecked, cbChecked}));
    checks->Items()->SetStrings(3, String("B"));  // a renamed item keeps its mark
    EXPECT_EQ(view->Checks[3], cbChecked);

    auto* combo = Add<TComboBox>(10, 150);
    FakeListView* cv = ui::fake::ListViewOf(combo);
    ASSERT_NE(cv, nullptr);
    int whole = cv->WholeLists;
    for (const char* s : {"one", "two", "three"}) combo->Items()->Add(String(s));
    combo->SetItemIndex(1);
    combo->Items()->Insert(0, String("zero"));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(cv->ItemIndex, 2);
    combo->Items()->Delete(0);
    EXPECT_EQ(cv->ItemIndex, 1);
    EXPECT_EQ(cv->Items, ItemsOf(combo->Items()));
    EXPECT_EQ(cv->WholeLists, whole);
    combo->Items()->Clear();
    EXPECT_EQ(cv->WholeLists, whole + 1);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

}  // namespace
