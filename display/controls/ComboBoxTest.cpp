// Combo boxes under a real X server: the list chosen by the pointer, the keyboard's choice for
// comparison, and no mouse capture left behind however the list closes.
#include <gtest/gtest.h>

#include <ostream>

#include "controls/styled/AdvCombo.h"
#include "platform/qt/display/RealDisplay.h"
#include "platform/rtl/tests/ParamNames.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

using display::CentreOf;
using display::OnUi;
using display::ScreenPoint;
using display::User;
using display::WaitFor;

namespace {

struct Kind {
    const char* name;
    TComboBoxStyle style;
    bool styled;
};
void PrintTo(const Kind& k, std::ostream* os) { *os << k.name; }

// What the combo box told its handlers.
struct Heard {
    int changes = 0, clicks = 0, closeUps = 0;
    bool operator==(const Heard&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Heard& h) {
    return os << "{changes " << h.changes << ", clicks " << h.clicks << ", close-ups " << h.closeUps << "}";
}

class ComboOnScreen : public ::testing::TestWithParam<Kind> {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    TCustomComboBox* combo = nullptr;
    TEdit* edit = nullptr;
    TButton* button = nullptr;
    Heard heard;
    int buttonClicks = 0;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(60, 60, 420, 260);
        form->SetCaption(String(u"combo"));
        const Kind& k = GetParam();
        combo = k.styled ? static_cast<TCustomComboBox*>(new VIzeVadarEdu(form)) : new TComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(20, 20, 200, 22);
        combo->SetStyle(k.style);
        for (const char* s : {"alpha", "beta", "gamma", "delta"}) combo->Items()->Add(String(s));
        combo->OnChange = [this](TObject*) { ++heard.changes; };
        combo->OnClick = [this](TObject*) { ++heard.clicks; };
        combo->OnCloseUp = [this](TObject*) { ++heard.closeUps; };
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(250, 20, 140, 22);
        button = new TButton(form);
        button->SetParent(form);
        button->SetBounds(20, 200, 100, 28);
        button->SetCaption(String(u"after"));
        button->OnClick = [this](TObject*) { ++buttonClicks; };
        form->Show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    }
    void TearDown() override { form->Free(); }

    // Where the list opens: its button, or anywhere on a drop-down list.
    TPoint Opener() { return ScreenPoint(combo, OnUi([&] { return combo->ClientWidth(); }) - 6, 10); }
    void Open(User& user) {
        user.Click(Opener());
        ASSERT_TRUE(WaitFor([&] { return display::ListShown(combo); })) << "the list did not open";
        // The release of the press that opened it left it open.
        display::Settle();
        ASSERT_TRUE(OnUi([&] { return display::ListShown(combo) && combo->DroppedDown(); }));
    }
    TPoint Middle(const TRect& r) { return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
    TRect Entry(int i) { return OnUi([&] { return display::ListItemRect(combo, i); }); }
    // Nothing keeps the mouse, and the next click reaches the control under it.
    void NothingCaptured(User& user) {
        EXPECT_EQ(OnUi([] { return GetCaptureControl(); }), nullptr);
        EXPECT_EQ(OnUi([] { return reinterpret_cast<void*>(GetCapture()); }), nullptr);
        int before = OnUi([&] { return buttonClicks; });
        user.Click(CentreOf(button));
        EXPECT_TRUE(WaitFor([&] { return buttonClicks == before + 1; })) << "the click after the list did not reach the button";
    }
};

TEST_P(ComboOnScreen, AClickOnAnEntryChoosesItAsTheKeyboardDoes) {
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(Open(user));
        // The entry under the pointer is highlighted, and the highlight follows the pointer.
        TRect second = Entry(1), third = Entry(2);
        ASSERT_FALSE(third.IsEmpty());
        user.MoveTo(Middle(third));
        auto backgroundOf = [&](const TRect& r) { return user.Grab(Rect(r.Left + 1, r.Top + 1, r.Left + 2, r.Top + 2)).At(0, 0); };
        ASSERT_TRUE(WaitFor([&] { return backgroundOf(third) != backgroundOf(second); })) << "no highlight under the pointer";
        const int32_t lit = backgroundOf(third), plain = backgroundOf(second);
        display::SaveShot(user.Grab(Rect(second.Left - 4, second.Top - 30, third.Right + 4, third.Bottom + 40)),
                          std::string("combo_hover_") + GetParam().name);
        user.MoveTo(Middle(second));
        EXPECT_TRUE(WaitFor([&] { return backgroundOf(second) == lit && backgroundOf(third) == plain; }));
        user.MoveTo(Middle(third));

        user.Click(Middle(third));
        ASSERT_TRUE(WaitFor([&] { return combo->ItemIndex() == 2 && !display::ListShown(combo); })) << "the click chose nothing";
        const Heard byClick = OnUi([&] { return heard; });
        EXPECT_EQ(byClick, (Heard{1, 1, 1}));
        EXPECT_FALSE(OnUi([&] { return combo->DroppedDown(); }));
        EXPECT_EQ(OnUi([&] { return combo->Text(); }), String(u"gamma"));
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(combo) == String(u"gamma"); }))
            << "the box shows " << OnUi([&] { return display::ShownText(combo).ToUtf8(); });
        display::SaveShot(user.Grab(display::ScreenRect(combo)), std::string("combo_chosen_") + GetParam().name);

        // The keyboard's choice tells the same.
        OnUi([&] { heard = {}; });
        user.Key("Down");
        ASSERT_TRUE(WaitFor([&] { return combo->ItemIndex() == 3; }));
        EXPECT_EQ(OnUi([&] { return heard; }), (Heard{1, 1, 0}));
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(combo) == String(u"delta"); }));
        NothingCaptured(user);
    });
}

TEST_P(ComboOnScreen, EscapeClosesTheListAndLeavesNoCapture) {
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(Open(user));
        user.Key("Escape");
        ASSERT_TRUE(WaitFor([&] { return !display::ListShown(combo) && !combo->DroppedDown(); }));
        EXPECT_EQ(OnUi([&] { return combo->ItemIndex(); }), -1);
        EXPECT_EQ(OnUi([&] { return heard.closeUps; }), 1);
        NothingCaptured(user);
        // The list opens again at the next click.
        ASSERT_NO_FATAL_FAILURE(Open(user));
        user.Key("Escape");
        ASSERT_TRUE(WaitFor([&] { return !display::ListShown(combo); }));
    });
}

TEST_P(ComboOnScreen, AClickElsewhereClosesTheListAndTheNextClickReachesItsControl) {
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(Open(user));
        user.Click(CentreOf(edit));
        ASSERT_TRUE(WaitFor([&] { return !display::ListShown(combo) && !combo->DroppedDown(); }));
        EXPECT_EQ(OnUi([&] { return combo->ItemIndex(); }), -1);
        NothingCaptured(user);
        // A click on the edit now reaches it: it takes the focus.
        user.Click(CentreOf(edit));
        EXPECT_TRUE(WaitFor([&] { return edit->Focused(); }));
    });
}

const Kind kKinds[] = {
    {"DropDown", csDropDown, false},
    {"DropDownList", csDropDownList, false},
    {"StyledDropDown", csDropDown, true},
};
INSTANTIATE_TEST_SUITE_P(Kinds, ComboOnScreen, ::testing::ValuesIn(kKinds), rtl_test::PrintedName());

// The simple style has no list: its field shows the item the keyboard chooses, and a click in it
// leaves no capture.
TEST(SimpleComboOnScreen, TheFieldShowsTheChosenItemAndAClickLeavesNoCapture) {
    ui::test::AppScope scope;
    TForm* form = new TForm(nullptr);
    form->SetBounds(60, 60, 300, 200);
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(20, 20, 200, 60);
    combo->SetStyle(csSimple);
    for (const char* s : {"alpha", "beta"}) combo->Items()->Add(String(s));
    form->Show();
    ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    display::RunAsUser([&](User& user) {
        user.Click(ScreenPoint(combo, 30, 8));
        ASSERT_TRUE(WaitFor([&] { return combo->Focused(); }));
        EXPECT_EQ(OnUi([] { return GetCaptureControl(); }), nullptr);
        user.Key("Down");
        ASSERT_TRUE(WaitFor([&] { return combo->ItemIndex() == 0; }));
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(combo) == String(u"alpha"); }));
    });
    form->Free();
}

}  // namespace
