// A text written by an edit's change handler while it reports a typed change (an auto-complete
// completing the typed letters) is shown, as a user sees it.
#include <gtest/gtest.h>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

class EditChangeRewriteTest : public ui::test::FormTest {};

// The last column with ink inside the client area of an edit on the form; -1 for none.
int LastInk(const ui::test::Picture& pic, TWinControl* edit) {
    const TRect area = drawn_test::ClientInForm(edit);
    int last = -1;
    for (int x = 0; x < area.Width(); ++x)
        for (int y = 0; y < area.Height(); ++y)
            if (drawn_test::Dark(pic.At(area.Left + x, area.Top + y))) {
                last = x;
                break;
            }
    return last;
}

TEST_F(EditChangeRewriteTest, TheRewrittenTextReachesTheView) {
    auto* typed = Add<TEdit>(10, 10);
    auto* written = Add<TEdit>(10, 50);
    for (TEdit* e : {typed, written}) {
        e->SetWidth(200);
        e->SetAutoSelect(false);
    }
    const String whole(u"abcdefghij");
    typed->OnChange = [&](TObject*) {
        if (typed->Text() == String(u"ab")) {
            typed->SetText(whole);
            typed->SetSelStart(static_cast<int>(whole.size()));
        }
    };
    written->SetText(whole);
    form->Show();
    ui::test::Pump();
    typed->SetFocus();
    ui::test::Pump();
    ui::test::Key(typed, 'A', String(u"a"));
    ui::test::Key(typed, 'B', String(u"b"));
    ui::test::Pump();
    EXPECT_EQ(typed->Text(), whole);
    EXPECT_EQ(typed->SelStart(), static_cast<int>(whole.size()));
    written->SetFocus();  // no caret in either
    ui::test::Pump();
    ui::test::Picture pic = drawn_test::Snapshot(form, "edit_change_rewrite");
    ASSERT_GT(pic.Width, 0);
    const int inkTyped = LastInk(pic, typed), inkWritten = LastInk(pic, written);
    ASSERT_GT(inkWritten, 0);
    EXPECT_NEAR(inkTyped, inkWritten, 1);
}

}  // namespace
