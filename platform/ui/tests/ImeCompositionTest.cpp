// An input method's composition: shown in a native edit or combo box at its caret before it is
// typed, typed once when the input method commits it, and told to a control that draws its own
// text through WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION and WM_IME_ENDCOMPOSITION with the
// composition string.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Imm.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

const String kKatakana(u"\uFF76\uFF80\uFF76\uFF85");  // half-width "katakana"

// Notes each composition message with the string it reads for it, and the characters typed.
class Composer : public ui::test::CharTaker {
public:
    using CharTaker::CharTaker;
    struct Seen {
        UINT msg;
        LPARAM flags;
        String text;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> Log;

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case WM_IME_STARTCOMPOSITION:
            case WM_IME_ENDCOMPOSITION: Log.push_back({m.Msg, 0, String()}); break;
            case WM_IME_COMPOSITION: {
                DWORD index = (m.LParam & GCS_RESULTSTR) ? GCS_RESULTSTR : GCS_COMPSTR;
                HIMC context = ImmGetContext(Handle());
                char16_t buffer[32] = {};
                LONG bytes = ImmGetCompositionString(context, index, buffer, sizeof(buffer));
                ImmReleaseContext(Handle(), context);
                Log.push_back({m.Msg, m.LParam & (GCS_RESULTSTR | GCS_COMPSTR), String(buffer, bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0)});
                break;
            }
            case WM_CHAR: Log.push_back({m.Msg, 0, String(1, static_cast<char16_t>(m.WParam))}); break;
            default: break;
        }
        CharTaker::WndProc(m);
    }
};

class ImeCompositionTest : public ui::test::FormTest {};

}  // namespace

TEST_F(ImeCompositionTest, ACustomControlHearsTheCompositionInOrderWithItsString) {
    auto* c = Add<Composer>();
    form->Show();
    c->SetFocus();
    ui::test::Compose(c, String(u"\uFF76\uFF80"), 2);
    ui::test::Compose(c, kKatakana, 4);
    ui::test::Compose(c, String(), 0, kKatakana);
    using S = Composer::Seen;
    std::vector<S> expected = {
        {WM_IME_STARTCOMPOSITION, 0, String()},
        {WM_IME_COMPOSITION, GCS_COMPSTR, String(u"\uFF76\uFF80")},
        {WM_IME_COMPOSITION, GCS_COMPSTR, kKatakana},
        {WM_IME_COMPOSITION, GCS_RESULTSTR, kKatakana},
    };
    // The default handling of the result types it.
    for (char16_t ch : kKatakana) expected.push_back({WM_CHAR, 0, String(1, ch)});
    expected.push_back({WM_IME_ENDCOMPOSITION, 0, String()});
    EXPECT_EQ(c->Log, expected);
    // Outside a composition there is nothing to read.
    HIMC context = ImmGetContext(c->Handle());
    EXPECT_EQ(ImmGetCompositionString(context, GCS_COMPSTR, nullptr, 0), IMM_ERROR_NODATA);
    ImmReleaseContext(c->Handle(), context);
}

TEST_F(ImeCompositionTest, AnEditShowsTheCompositionBeforeItIsTypedAndTypesItOnce) {
    form->SetBounds(0, 0, 240, 120);
    auto* edit = Add<TEdit>(10, 10);
    edit->SetBounds(10, 10, 200, 28);
    auto* typed = Add<TEdit>(10, 60);  // the same text typed, for comparison
    typed->SetBounds(10, 60, 200, 28);
    typed->SetTabStop(false);
    form->Show();
    edit->SetFocus();
    TRect area = drawn_test::ClientInForm(edit);
    // Empty but for the caret.
    int caret = drawn_test::DarkPixels(drawn_test::Snapshot(form, "ime_before"), area);
    EXPECT_LT(caret, 30);

    ui::test::Compose(edit, kKatakana, 4);
    EXPECT_EQ(edit->Text(), String());  // composed, not typed
    ui::test::Picture composing = drawn_test::Snapshot(form, "ime_composing");
    EXPECT_GT(drawn_test::DarkPixels(composing, area), caret + 40);

    ui::test::Compose(edit, String(), 0, kKatakana);
    EXPECT_EQ(edit->Text(), kKatakana);
    EXPECT_EQ(edit->SelStart(), 4);
    // Once: the edit looks as the same text typed (the caret aside).
    typed->SetText(kKatakana);
    ui::test::Picture done = drawn_test::Snapshot(form, "ime_typed");
    TRect other = drawn_test::ClientInForm(typed);
    int differ = 0;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x) differ += done.At(area.Left + x, area.Top + y) != done.At(other.Left + x, other.Top + y);
    EXPECT_LT(differ, 40);  // the caret's column at most
    EXPECT_GT(drawn_test::DarkPixels(done, area), 20);
}

TEST_F(ImeCompositionTest, AComboBoxShowsTheCompositionInItsEditFieldAndTypesItOnce) {
    auto* combo = Add<TComboBox>(10, 10);
    combo->SetBounds(10, 10, 200, 24);
    form->Show();
    combo->SetFocus();
    TRect area = drawn_test::ClientInForm(combo);
    TRect field(area.Left, area.Top, area.Left + 120, area.Bottom);  // the edit field, short of the button
    int caret = drawn_test::DarkPixels(drawn_test::Snapshot(form, "ime_combo_before"), field);
    EXPECT_LT(caret, 30);
    ui::test::Compose(combo, kKatakana, 4);
    EXPECT_GT(drawn_test::DarkPixels(drawn_test::Snapshot(form, "ime_combo_composing"), field), caret + 40);
    EXPECT_EQ(combo->Text(), String());
    ui::test::Compose(combo, String(), 0, kKatakana);
    EXPECT_EQ(combo->Text(), kKatakana);
}
