// The Qt native views: a call a view's kind does not have raises an error naming the call and
// the kind instead of doing nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <string>

#include "platform/qt/QtWindow.h"

#include "platform/ui/CheckLst.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// A control whose view the test may call directly.
template <class C>
class Open : public C {
public:
    using C::C;
    using C::View;
    using C::SetMultiLine;
};

template <class C>
class OpenView : public C {
public:
    using C::C;
    using C::View;
};

class NativeViewsTest : public ui::test::FormTest {
protected:
    template <class C>
    C* Make() {
        auto* c = Add<C>();
        c->HandleNeeded();
        return c;
    }
};

}  // namespace

TEST_F(NativeViewsTest, ACallTheViewsKindDoesNotHaveRaisesAnErrorNamingIt) {
    struct Case {
        const char* call;
        const char* kind;
        std::function<void()> run;
    } cases[] = {
        {"TextView::SetWordWrap", "single-line text", [&] { Make<Open<TEdit>>()->View()->SetWordWrap(true); }},
        {"TextView::SetScrollBars", "single-line text", [&] { Make<Open<TEdit>>()->View()->SetScrollBars(ssBoth); }},
        {"TextView::SetPasswordChar", "multi-line text", [&] { Make<Open<TMemo>>()->View()->SetPasswordChar(u'*'); }},
        {"ListView::SetItemSelected", "combo box", [&] { Make<OpenView<TComboBox>>()->View()->SetItemSelected(0, true); }},
        {"ListView::SetItemChecked", "combo box", [&] { Make<OpenView<TComboBox>>()->View()->SetItemChecked(0, cbChecked); }},
        {"ListView::SetDroppedDown", "list box", [&] { Make<OpenView<TListBox>>()->View()->SetDroppedDown(true); }},
        {"ListView::SetItemChecked", "list box", [&] { Make<OpenView<TListBox>>()->View()->SetItemChecked(0, cbChecked); }},
        {"ListView::SetText", "check list box", [&] { Make<OpenView<TCheckListBox>>()->View()->SetText(String("x")); }},
        {"ButtonView::SetCheckState", "push button", [&] { Make<OpenView<TButton>>()->View()->SetCheckState(cbChecked); }},
        {"ButtonView::SetDefault", "check box", [&] { Make<OpenView<TCheckBox>>()->View()->SetDefault(true); }},
        {"ButtonView::SetGlyph", "radio button",
         [&] { Make<OpenView<TRadioButton>>()->View()->SetGlyph(nullptr, 0, 1, blGlyphLeft, 4, -1); }},
    };
    for (const auto& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.call << " on a " << c.kind << " raised nothing";
        } catch (const ui::ENativeViewUnsupported& e) {
            std::string what = e.what();
            EXPECT_NE(what.find(c.call), std::string::npos) << what;
            EXPECT_NE(what.find(c.kind), std::string::npos) << what;
        }
    }
}

TEST_F(NativeViewsTest, TheCallsOfAKindWorkAndAnEditMadeMultiLineLaterGetsTheMultiLineView) {
    auto* memo = Make<Open<TMemo>>();
    EXPECT_NO_THROW(memo->View()->SetWordWrap(false));
    EXPECT_NO_THROW(memo->View()->SetScrollBars(ssVertical));
    auto* checks = Make<OpenView<TCheckListBox>>();
    checks->Items()->Add(String("a"));
    EXPECT_NO_THROW(checks->View()->SetItemChecked(0, cbGrayed));
    EXPECT_NO_THROW(Make<OpenView<TButton>>()->View()->SetDefault(true));

    auto* edit = Make<Open<TEdit>>();
    edit->SetText(String(u"one"));
    edit->SetMultiLine(true);
    ASSERT_NE(edit->View(), nullptr);
    EXPECT_NO_THROW(edit->View()->SetWordWrap(true));
    EXPECT_EQ(edit->Text(), String(u"one"));
}

TEST_F(NativeViewsTest, OneChangedItemChangesOneRowOfTheWidgetAndLeavesTheChoiceToTheControl) {
    auto* combo = Make<TComboBox>();
    combo->SetText(String("typed"));
    auto* box = static_cast<qtb::WidgetPeer*>(combo->Peer())->Widget()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    for (const char* s : {"one", "two", "three"}) combo->Items()->Add(String(s));
    // Qt would choose the first item added and show it in the edit field.
    EXPECT_EQ(box->count(), 3);
    EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("typed"));
    combo->SetItemIndex(1);
    EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("two"));
    combo->Items()->Insert(0, String("zero"));
    combo->Items()->SetStrings(3, String("THREE"));
    EXPECT_EQ(box->currentIndex(), 2);
    EXPECT_EQ(box->itemText(0), QStringLiteral("zero"));
    EXPECT_EQ(box->itemText(3), QStringLiteral("THREE"));
    EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("two"));

    auto* list = Make<TListBox>();
    auto* rows = static_cast<qtb::WidgetPeer*>(list->Peer())->Widget()->findChild<QListWidget*>();
    ASSERT_NE(rows, nullptr);
    for (const char* s : {"a", "b", "c"}) list->Items()->Add(String(s));
    list->SetItemIndex(2);
    list->Items()->Insert(0, String("z"));
    list->Items()->Delete(1);
    list->Items()->Exchange(0, 2);
    ASSERT_EQ(rows->count(), 3);
    EXPECT_EQ(rows->item(0)->text(), QStringLiteral("c"));
    EXPECT_EQ(rows->item(2)->text(), QStringLiteral("z"));
    EXPECT_TRUE(rows->item(0)->isSelected());
    EXPECT_FALSE(rows->item(2)->isSelected());
    EXPECT_EQ(rows->currentRow(), 0);
}
