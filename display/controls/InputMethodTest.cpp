// An input method composing half-width katakana under a real X server, through the test driver's
// input-method hook (the event an input method hands the focus widget): the composition shows in
// an edit before it is typed, the commit types it once, and a control that draws its own text
// hears the composition messages in order with the string and shows it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/display/RealDisplay.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Imm.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

using display::OnUi;
using display::User;
using display::WaitFor;

namespace {

const String kKatakana(u"\uFF76\uFF80\uFF76\uFF85");  // half-width "katakana"

bool Dark(int32_t c) { return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60; }
int DarkPixels(const ui::test::Picture& p) {
    int n = 0;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) n += Dark(p.At(x, y)) ? 1 : 0;
    return n;
}

// A control that draws its own text: what was typed, then the composition underlined. It notes
// each composition message with the string it reads for it.
class Composer : public ui::test::CharTaker {
public:
    explicit Composer(TComponent* owner) : CharTaker(owner, 200) { SetColor(clWindow); }
    struct Seen {
        UINT msg;
        LPARAM flags;
        String text;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> Log;
    String Typed, Composing;

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case WM_IME_STARTCOMPOSITION:
            case WM_IME_ENDCOMPOSITION:
                Log.push_back({m.Msg, 0, String()});
                Composing.clear();
                Invalidate();
                break;
            case WM_IME_COMPOSITION: {
                DWORD index = (m.LParam & GCS_RESULTSTR) ? GCS_RESULTSTR : GCS_COMPSTR;
                HIMC context = ImmGetContext(Handle());
                String text = ui::CompositionString(context, index);
                ImmReleaseContext(Handle(), context);
                Log.push_back({m.Msg, m.LParam & (GCS_RESULTSTR | GCS_COMPSTR), text});
                if (index == GCS_COMPSTR) Composing = text;
                Invalidate();
                break;
            }
            case WM_CHAR:
                Typed += static_cast<char16_t>(m.WParam);
                Invalidate();
                break;
            default: break;
        }
        CharTaker::WndProc(m);
    }
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWindow);
        c->FillRect(ClientRect());
        c->Font()->SetColor(clWindowText);
        c->Font()->SetStyle(TFontStyles());
        c->TextOut(2, 2, Typed);
        int x = 2 + c->TextWidth(Typed);
        c->Font()->SetStyle(TFontStyles() << fsUnderline);
        c->TextOut(x, 2, Composing);
    }
};

class InputMethodOnScreen : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TEdit* typed = nullptr;  // the same text typed, for comparison
    Composer* composer = nullptr;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(60, 60, 300, 200);
        form->SetCaption(String(u"input method"));
        auto make = [&](int top) {
            auto* e = new TEdit(form);
            e->SetParent(form);
            e->SetBounds(20, top, 220, 26);
            e->Font()->SetHeight(-16);
            return e;
        };
        edit = make(20);
        typed = make(56);
        typed->SetTabStop(false);
        composer = new Composer(form);
        composer->SetParent(form);
        composer->SetBounds(20, 100, 220, 26);
        composer->Font()->SetHeight(-16);
        form->Show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    }
    void TearDown() override { form->Free(); }
    // The control's client area as the screen shows it.
    static ui::test::Picture Shown(User& user, TWinControl* c) {
        TRect r = OnUi([&] {
            TPoint o = c->ClientToScreen(Point(0, 0));
            return Bounds(o.X, o.Y, c->ClientWidth(), c->ClientHeight());
        });
        return user.Grab(r);
    }
};

TEST_F(InputMethodOnScreen, AnEditShowsTheCompositionBeforeItIsTypedAndTheCommitTypesItOnce) {
    display::RunAsUser([&](User& user) {
        user.Click(display::CentreOf(edit));
        ASSERT_TRUE(WaitFor([&] { return edit->Focused(); })) << "the click did not focus the edit";
        display::Settle();
        const int empty = DarkPixels(Shown(user, edit));  // the caret at most

        OnUi([&] { ui::test::Compose(edit, kKatakana, 4); });
        ASSERT_TRUE(WaitFor([&] { return DarkPixels(Shown(user, edit)) > empty + 40; })) << "the composition does not show";
        display::Settle();
        ui::test::Picture composing = Shown(user, edit);
        display::SaveShot(composing, "ime_edit_composing");
        // Shown, not typed: the control's text and the widget's own are still empty.
        EXPECT_EQ(OnUi([&] { return edit->Text(); }), String());
        EXPECT_EQ(OnUi([&] { return display::ShownText(edit); }), String());

        OnUi([&] { ui::test::Compose(edit, String(), 0, kKatakana); });
        EXPECT_TRUE(WaitFor([&] { return edit->Text() == kKatakana; })) << OnUi([&] { return edit->Text().ToUtf8(); });
        EXPECT_EQ(OnUi([&] { return display::ShownText(edit); }), kKatakana);
        EXPECT_EQ(OnUi([&] { return edit->SelStart(); }), 4);
        // Typed once: the edit looks as the same text set in the other edit, but for the caret.
        OnUi([&] { typed->SetText(kKatakana); });
        display::Settle();
        ui::test::Picture done = Shown(user, edit), reference = Shown(user, typed);
        display::SaveShot(done, "ime_edit_typed");
        display::SaveShot(reference, "ime_edit_reference");
        ASSERT_EQ(done.Width, reference.Width);
        int differ = 0;
        for (int y = 0; y < done.Height; ++y)
            for (int x = 0; x < done.Width; ++x) differ += done.At(x, y) != reference.At(x, y);
        EXPECT_LT(differ, 40);  // the caret's column at most
        // The composition was drawn as the input method styled it (underlined), the typed text is not.
        int composingDiffer = 0;
        for (int y = 0; y < done.Height; ++y)
            for (int x = 0; x < done.Width; ++x) composingDiffer += composing.At(x, y) != reference.At(x, y);
        EXPECT_GT(composingDiffer, differ);
    });
}

TEST_F(InputMethodOnScreen, AControlThatDrawsItsTextHearsTheCompositionInOrderAndShowsIt) {
    display::RunAsUser([&](User& user) {
        OnUi([&] { composer->SetFocus(); });
        ASSERT_TRUE(WaitFor([&] { return composer->Focused(); }));
        display::Settle();
        const int empty = DarkPixels(Shown(user, composer));

        OnUi([&] { ui::test::Compose(composer, String(u"\uFF76\uFF80"), 2); });
        OnUi([&] { ui::test::Compose(composer, kKatakana, 4); });
        ASSERT_TRUE(WaitFor([&] { return DarkPixels(Shown(user, composer)) > empty + 40; })) << "the composition does not show";
        display::SaveShot(Shown(user, composer), "ime_custom_composing");
        EXPECT_EQ(OnUi([&] { return composer->Typed; }), String());

        OnUi([&] { ui::test::Compose(composer, String(), 0, kKatakana); });
        using S = Composer::Seen;
        std::vector<S> expected = {
            {WM_IME_STARTCOMPOSITION, 0, String()},
            {WM_IME_COMPOSITION, GCS_COMPSTR, String(u"\uFF76\uFF80")},
            {WM_IME_COMPOSITION, GCS_COMPSTR, kKatakana},
            {WM_IME_COMPOSITION, GCS_RESULTSTR, kKatakana},
            {WM_IME_ENDCOMPOSITION, 0, String()},
        };
        EXPECT_EQ(OnUi([&] { return composer->Log; }), expected);
        // The default handling of the result typed it, once.
        EXPECT_EQ(OnUi([&] { return composer->Typed; }), kKatakana);
        display::Settle();
        display::SaveShot(Shown(user, composer), "ime_custom_typed");
    });
}

}  // namespace
