// Disabled edits and combo boxes as the screen shows them: grey text on the button face, or on a
// colour of the control's own.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/qt/display/RealDisplay.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

using display::OnUi;
using display::User;

namespace {

int R(int32_t c) { return c & 0xFF; }
int G(int32_t c) { return (c >> 8) & 0xFF; }
int B(int32_t c) { return (c >> 16) & 0xFF; }
bool Near(int32_t c, TColor want, int tolerance) {
    int32_t w = ColorToRGB(want);
    return std::abs(R(c) - R(w)) <= tolerance && std::abs(G(c) - G(w)) <= tolerance && std::abs(B(c) - B(w)) <= tolerance;
}

// The colours of the text part of a control's client area (the combo box's button left out).
struct Look {
    int background = 0, grey = 0, dark = 0, total = 0;
};
Look LookOf(const ui::test::Picture& p, TColor background) {
    Look l;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) {
            int32_t c = p.At(x, y);
            ++l.total;
            if (Near(c, background, 2)) ++l.background;
            else if (std::max({R(c), G(c), B(c)}) < 0x50) ++l.dark;
            else if (Near(c, clGrayText, 40)) ++l.grey;
        }
    return l;
}

class DisabledLook : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(40, 40, 460, 220);
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Put(int top, bool enabled, TColor color = clWindow) {
        auto* c = new T(form);
        c->SetParent(form);
        c->SetBounds(20, top, 220, 24);
        c->SetColor(color);
        c->Font()->SetName(String(u"DejaVu Sans"));
        c->Font()->SetSize(12);
        c->SetEnabled(enabled);
        return c;
    }
    // What the screen shows of the text part of the control.
    ui::test::Picture TextPart(User& user, TWinControl* c, const char* name) {
        TRect r = OnUi([&] {
            TPoint o = c->ClientToScreen(Point(0, 0));
            return TRect(o.X, o.Y, o.X + c->ClientWidth() - 24, o.Y + c->ClientHeight());
        });
        ui::test::Picture p = user.Grab(r);
        display::SaveShot(p, name);
        return p;
    }
};

TEST_F(DisabledLook, DisabledEditsAndComboBoxesShowGreyTextOnTheButtonFace) {
    // The focus goes to a button, so no edit shows a selection.
    auto* focus = new TButton(form);
    focus->SetParent(form);
    focus->SetBounds(300, 20, 100, 28);
    auto* edit = Put<TEdit>(20, false);
    edit->SetText(String(u"WWWW disabled"));
    auto* combo = Put<TComboBox>(60, false);
    combo->Items()->Add(String(u"WWWW disabled"));
    combo->SetItemIndex(0);
    auto* list = Put<TComboBox>(100, false);
    list->SetStyle(csDropDownList);
    list->Items()->Add(String(u"WWWW disabled"));
    list->SetItemIndex(0);
    auto* enabled = Put<TEdit>(140, true);
    enabled->SetText(String(u"WWWW enabled"));
    auto* own = Put<TEdit>(180, false, clYellow);
    own->SetText(String(u"WWWW own colour"));
    form->SetClientHeight(220);
    form->Show();
    ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    display::RunAsUser([&](User& user) {
        display::Settle();
        display::SaveShot(user.Grab(display::ScreenRect(form)), "disabled_form");
        for (auto [c, name] : {std::pair<TWinControl*, const char*>{edit, "disabled_edit"}, {combo, "disabled_combo"},
                               {list, "disabled_drop_down_list"}}) {
            SCOPED_TRACE(name);
            Look l = LookOf(TextPart(user, c, name), clBtnFace);
            EXPECT_GT(l.background, l.total / 2) << "not on the button face";
            EXPECT_GT(l.grey, 20) << "no grey text";
            EXPECT_EQ(l.dark, 0) << "black text";
        }
        Look on = LookOf(TextPart(user, enabled, "enabled_edit"), clWindow);
        EXPECT_GT(on.background, on.total / 2);
        EXPECT_GT(on.dark, 20) << "the enabled edit's text is black";
        Look yellow = LookOf(TextPart(user, own, "disabled_edit_yellow"), clYellow);
        EXPECT_GT(yellow.background, yellow.total / 2) << "the edit's own colour is kept";
        EXPECT_GT(yellow.grey, 20);
        EXPECT_EQ(yellow.dark, 0);

        // Enabled again, the edit is black on white.
        OnUi([&] { edit->SetEnabled(true); });
        EXPECT_TRUE(display::WaitFor([&] { return true; }));
        display::Settle();
        Look back = LookOf(TextPart(user, edit, "edit_enabled_again"), clWindow);
        EXPECT_GT(back.background, back.total / 2);
        EXPECT_GT(back.dark, 20);
    });
}

}  // namespace
