// The creation styles a component gives the native one-line edit, as a user sees them.
#include <gtest/gtest.h>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

// A one-line edit made with extra styles, as the styled and numeric edits make theirs.
class StyledEdit : public TEdit {
public:
    StyledEdit(TComponent* owner, DWORD styles) : TEdit(owner), FStyles(styles) {}
    using TCustomEdit::MultiLine;

protected:
    void CreateParams(TCreateParams& Params) override {
        TEdit::CreateParams(Params);
        Params.Style |= FStyles;
    }

private:
    DWORD FStyles;
};

// The first and last columns with text on them inside the client area of an edit on the form,
// in client coordinates; (-1, -1) when there is none.
std::pair<int, int> InkColumns(const ui::test::Picture& pic, TWinControl* edit) {
    TRect area = drawn_test::ClientInForm(edit);
    int first = -1, last = -1;
    for (int x = 0; x < area.Width(); ++x)
        for (int y = 0; y < area.Height(); ++y)
            if (drawn_test::Dark(pic.At(area.Left + x, area.Top + y))) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

class NativeEditStylesTest : public ui::test::FormTest {};

TEST_F(NativeEditStylesTest, RightAndCentreAlignTheTextOfAOneLineEdit) {
    auto* left = new StyledEdit(form, ES_LEFT);
    auto* right = new StyledEdit(form, ES_RIGHT);
    auto* centre = new StyledEdit(form, ES_CENTER | ES_MULTILINE);
    int top = 10;
    for (StyledEdit* e : {left, right, centre}) {
        e->SetParent(form);
        e->SetBounds(10, top, 150, 24);
        e->SetText(String(u"WW"));
        e->SetTabStop(false);
        top += 40;
    }
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "edit_align");
    ASSERT_GT(pic.Width, 0);
    auto [l0, l1] = InkColumns(pic, left);
    auto [r0, r1] = InkColumns(pic, right);
    auto [c0, c1] = InkColumns(pic, centre);
    int width = left->ClientWidth();
    ASSERT_GE(l0, 0);
    ASSERT_GE(r0, 0);
    ASSERT_GE(c0, 0);
    EXPECT_LT(l0, 6);
    EXPECT_GT(r1, width - 8);  // at the right edge
    EXPECT_EQ(r1 - r0, l1 - l0);
    EXPECT_NEAR((c0 + c1) / 2, width / 2, 3);
    EXPECT_FALSE(centre->MultiLine());  // a one-line edit still
}

TEST_F(NativeEditStylesTest, AMultiLineStyleLetsTheFormattingRectangleKeepTheTextOutOfItsRightPart) {
    auto* edit = new StyledEdit(form, ES_MULTILINE | WS_CLIPCHILDREN);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 200, 24);
    edit->SetText(String(u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    edit->SetTabStop(false);
    form->Show();
    TRect rect(0, 0, 80, edit->ClientHeight());
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
    ui::test::Picture pic = drawn_test::Snapshot(form, "edit_rect");
    ASSERT_GT(pic.Width, 0);
    auto [first, last] = InkColumns(pic, edit);
    ASSERT_GE(first, 0);
    EXPECT_LT(last, 80);
    EXPECT_GT(last, 60);  // the text fills the rectangle...
    // ...which stays where it was set when the edit grows.
    edit->SetWidth(260);
    pic = drawn_test::Snapshot(form, "edit_rect_wider");
    ASSERT_GT(pic.Width, 0);
    EXPECT_LT(InkColumns(pic, edit).second, 80);
}

}  // namespace
