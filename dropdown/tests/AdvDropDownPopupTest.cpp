// The pop-up of the drop-down edit: placement, opening and closing, sizes, activation and the
// reopen guard, hit test and keys, painting.
#include <gtest/gtest.h>

#include <set>

#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Monitors.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::PickerProbe;
using dropdown_test::Probe;

class PopupTest : public DropDownTest {
protected:
    // A 300-pixel pop-up for an edit whose top-left lands at screen point p.
    PickerProbe* At(const TPoint& p, TDropPosition position) {
        form->SetBounds(p.X - 10, p.Y - 10, 400, 240);
        auto* d = Make<PickerProbe>(10, 10);
        d->SetDropDownWidth(300);
        d->SetDropDownHeight(300);
        d->SetDropPosition(position);
        return d;
    }
};

TEST_F(PopupTest, PlacedBelowOrAboveAndKeptInsideTheWorkArea) {
    ui::test::ScreenLayoutScope screen({{Bounds(0, 0, 1920, 1080), Bounds(0, 0, 1920, 1040), true}});
    const struct {
        const char* name;
        TDropPosition position;
        TPoint edit;
        TPoint popup;
    } cases[] = {
        {"auto: no room below", dpAuto, Point(100, 830), Point(100, 530)},
        {"auto: room below", dpAuto, Point(100, 700), Point(100, 720)},
        {"down: below whatever", dpDown, Point(100, 830), Point(100, 850)},
        {"up: above whatever", dpUp, Point(100, 100), Point(100, -200)},
        {"80 past the right edge", dpDown, Point(1920 - 300 + 80, 100), Point(1920 - 300, 120)},
    };
    for (const auto& c : cases) {
        auto* d = At(c.edit, c.position);
        ASSERT_EQ(d->ClientToScreen(Point(0, 0)).Y - 2, c.edit.Y) << c.name;
        d->OpenPopup();
        ASSERT_TRUE(d->DroppedDown()) << c.name;
        EXPECT_EQ(Point(d->DropDownForm()->Left(), d->DropDownForm()->Top()), c.popup) << c.name;
        EXPECT_EQ(d->DropDownForm()->Width(), 300) << c.name;
        EXPECT_EQ(d->DropDownForm()->Height(), 300) << c.name;
        d->ClosePopup(false);
        d->Free();
    }
}

TEST_F(PopupTest, AMonitorLeftOfThePrimaryOneMovesNothing) {
    ui::test::ScreenLayoutScope screen({{Bounds(0, 0, 1920, 1080), Bounds(0, 0, 1920, 1040), true},
                                        {Bounds(-1280, 0, 1280, 1024), Bounds(-1280, 0, 1280, 1000), false}});
    auto* d = At(Point(-100, 100), dpDown);
    const int x = d->ClientToScreen(Point(0, 0)).X - 2;
    ASSERT_LT(x, 0);
    d->OpenPopup();
    EXPECT_EQ(d->DropDownForm()->Left(), x);
    EXPECT_GT(d->DropDownForm()->Left() + d->DropDownForm()->Width(), 0);
}

TEST_F(DropDownTest, AVetoKeepsThePopupClosedAfterItWasPrepared) {
    auto* d = Make<PickerProbe>();
    int before = 0;
    d->OnBeforeDropDown = [&](TObject*) { ++before; };
    d->OnDropDown = [](TObject*, bool& accept) { accept = false; };
    d->OpenPopup();
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(d->DropDownForm()->Visible());
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(DropDownTest, OpenedThenClosedByEscOrEnter) {
    auto* d = Make<PickerProbe>();
    std::vector<std::string> events;
    bool cancelled = false;
    d->OnBeforeDropDown = [&](TObject*) { events.push_back("before drop down"); };
    d->OnDropDown = [&](TObject*, bool&) { events.push_back("drop down"); };
    d->OnBeforeDropUp = [&](TObject*) {
        events.push_back(d->DropDownForm()->Visible() ? "before drop up, shown" : "before drop up, hidden");
    };
    d->OnDropUp = [&](TObject*, bool c) {
        events.push_back(d->DropDownForm()->Visible() ? "drop up, shown" : "drop up, hidden");
        cancelled = c;
    };
    d->SetText(String("429.1"));
    d->SetFocus();
    ui::test::Pump();

    ui::test::Click(d->Button()->Button(), 8, 8);
    ui::test::Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"before drop down", "drop down"}));
    EXPECT_TRUE(d->DropDownForm()->Visible());
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_TRUE(d->picker->Focused());

    // A choice made in the pop-up, then Esc: the value last set through Text comes back.
    d->SetPlainText(String("433.0"));
    ui::test::Key(d->picker, VK_ESCAPE);
    ui::test::Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"before drop down", "drop down", "before drop up, shown",
                                                "drop up, hidden"}));
    EXPECT_FALSE(d->DropDownForm()->Visible());
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_TRUE(d->Focused());
    EXPECT_EQ(d->Text(), String("429.1"));
    EXPECT_TRUE(cancelled);

    // Enter keeps the value.
    d->OpenPopup();
    d->SetPlainText(String("433.0"));
    ui::test::Key(d->picker, VK_RETURN);
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(d->Text(), String("433.0"));

    // F4 opens and closes.
    d->SetFocus();
    ui::test::Key(d, VK_F4);
    ui::test::Pump();
    EXPECT_TRUE(d->DroppedDown());
    ui::test::Key(d->picker, VK_F4);
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(cancelled);
}

TEST_F(DropDownTest, AReadOnlyOrDisabledEditNeverOpens) {
    auto* d = Make<PickerProbe>();
    d->SetReadOnly(true);
    d->ShowDropDown();
    EXPECT_FALSE(d->DroppedDown());
    d->SetReadOnly(false);
    d->SetEnabled(false);
    d->ShowDropDown();
    EXPECT_FALSE(d->DroppedDown());
    d->SetEnabled(true);
    d->ShowDropDown();
    EXPECT_TRUE(d->DroppedDown());
    d->HideDropDown(false);
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(DropDownTest, SizesFromTheBarsTheControlTheLeastAndTheUser) {
    auto* d = Make<PickerProbe>();
    d->OpenPopup();
    TDropDownForm* f = d->DropDownForm();
    EXPECT_EQ(f->Height(), 2 + 22 + 22 + 100);
    EXPECT_EQ(f->Width(), 120);
    ASSERT_NE(f->Header(), nullptr);
    ASSERT_NE(f->Footer(), nullptr);
    EXPECT_EQ(f->Header()->BoundsRect(), Bounds(1, 1, 118, 22));
    EXPECT_EQ(f->Footer()->BoundsRect(), Bounds(1, 123, 118, 22));
    EXPECT_EQ(d->picker->BoundsRect(), Bounds(1, 23, 118, 100));
    d->ClosePopup(false);

    d->DropDownHeader()->SetVisible(false);
    d->DropDownFooter()->SetVisible(false);
    d->SetDropDownWidth(140);  // forgets the width, the height stays the user's
    d->SetDropDownHeight(0);
    d->OpenPopup();
    EXPECT_EQ(f->Width(), 140);
    EXPECT_EQ(f->Height(), 146);
    d->ClosePopup(false);
    d->SetDropDownHeight(1);
    d->SetDropDownHeight(0);
    d->OpenPopup();
    EXPECT_EQ(f->Height(), 2 + 100);
    EXPECT_FALSE(f->Header()->Visible());
    EXPECT_EQ(d->picker->BoundsRect(), Bounds(1, 1, 138, 100));

    // The user drags it larger: the next opening takes that size.
    SetWindowPos(f->Handle(), nullptr, f->Left(), f->Top(), 260, 190, SWP_NOMOVE | SWP_NOZORDER);
    d->ClosePopup(false);
    d->OpenPopup();
    EXPECT_EQ(f->Width(), 260);
    EXPECT_EQ(f->Height(), 190);
    d->ClosePopup(false);

    auto* small = Make<Probe>(10, 150);
    small->DropDownHeader()->SetVisible(false);
    small->DropDownFooter()->SetVisible(false);
    small->SetDropDownWidth(10);
    small->OpenPopup();
    EXPECT_EQ(small->DropDownForm()->Width(), 80);
    EXPECT_EQ(small->DropDownForm()->Height(), 50);
}

TEST_F(DropDownTest, HeaderVisibilityFollowsAtOnceWhileOpen) {
    auto* d = Make<PickerProbe>();
    d->OpenPopup();
    TDropDownForm* f = d->DropDownForm();
    ASSERT_TRUE(f->Header()->Visible());
    d->DropDownHeader()->SetVisible(false);
    EXPECT_FALSE(f->Header()->Visible());
}

class ActivationTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    PickerProbe* d = nullptr;
    TForm* other = nullptr;
    bool cancelled = false;
    int closes = 0;

    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<PickerProbe>(20, 20);
        d->OnDropUp = [this](TObject*, bool c) {
            cancelled = c;
            ++closes;
        };
        other = new TForm(nullptr);
        other->SetBounds(500, 400, 200, 100);
        clock->Advance(1000);
    }
    void TearDown() override {
        other->Free();
        DropDownTest::TearDown();
    }
};

TEST_F(ActivationTest, AnotherFormClosesItCancelledAsConfigured) {
    d->OpenPopup();
    // The owning form's caption stays active while its pop-up has the activation.
    EXPECT_EQ(ui::ActiveWindow(), d->DropDownForm());
    EXPECT_TRUE(form->CaptionActive());
    other->Show();
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(d->DropDownForm()->DeActivateTime(), GetTickCount());

    d->DropDownForm()->SetCancelOnDeActivate(false);
    ui::ActivateWindow(form);
    d->OpenPopup();
    ui::ActivateWindow(other);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(cancelled);
}

// A window owned by the pop-up (one a picker opens) takes the activation: the pop-up stays.
class OwnedByPopup : public TForm {
public:
    OwnedByPopup(TComponent* owner, TCustomForm* popup) : TForm(owner, 0), FPopup(popup) { SetBorderStyle(bsNone); }

protected:
    void CreateParams(TCreateParams& Params) override {
        TForm::CreateParams(Params);
        Params.WndParent = FPopup->Handle();
    }

private:
    TCustomForm* FPopup;
};

TEST_F(ActivationTest, AWindowInsideThePopupOrBlockActivateLeavesItOpen) {
    d->OpenPopup();
    auto* owned = new OwnedByPopup(nullptr, d->DropDownForm());
    owned->SetBounds(50, 50, 40, 40);
    owned->Show();
    ui::test::Pump();
    EXPECT_EQ(ui::ActiveWindow(), owned);
    EXPECT_TRUE(d->DroppedDown());
    owned->Free();
    ui::test::Pump();

    // Blocked, losing the activation closes nothing and notes no time, and taking it leaves
    // the owner's caption as it is.
    ui::ActivateWindow(d->DropDownForm());
    const DWORD noted = d->DropDownForm()->DeActivateTime();
    clock->Advance(100);
    d->DropDownForm()->SetBlockActivate(true);
    ui::ActivateWindow(other);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(d->DropDownForm()->DeActivateTime(), noted);
    form->Perform(WM_NCACTIVATE, 0, 0);
    ui::ActivateWindow(d->DropDownForm());
    EXPECT_FALSE(form->CaptionActive());
    d->DropDownForm()->SetBlockActivate(false);
    ui::ActivateWindow(other);
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(ActivationTest, AClickWithinTheGuardAfterTheDeactivationDoesNotReopen) {
    d->SetEditorEnabled(false);
    for (TControl* target : {static_cast<TControl*>(d), static_cast<TControl*>(d->Button()->Button())}) {
        ui::ActivateWindow(form);
        ui::test::Click(target, 5, 5);
        ASSERT_TRUE(d->DroppedDown()) << target->ClassName();
        ui::ActivateWindow(other);
        ASSERT_FALSE(d->DroppedDown());
        clock->Advance(250);
        ui::test::Click(target, 5, 5);
        EXPECT_FALSE(d->DroppedDown()) << target->ClassName();
        clock->Advance(1);
        ui::test::Click(target, 5, 5);
        EXPECT_TRUE(d->DroppedDown()) << target->ClassName();
        d->ClosePopup(false);
        clock->Advance(1000);
    }
}

TEST_F(DropDownTest, HitTestDialogCodeKeysAndWheel) {
    auto* d = Make<PickerProbe>();
    d->OpenPopup();
    TDropDownForm* f = d->DropDownForm();
    const TPoint corner = f->ClientToScreen(Point(f->ClientWidth() - 5, f->ClientHeight() - 5));
    const TPoint inside = f->ClientToScreen(Point(f->ClientWidth() - 11, f->ClientHeight() - 5));
    auto hit = [&](const TPoint& p) { return f->Perform(WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y)); };
    EXPECT_EQ(hit(corner), 0);
    f->SetSizeable(true);
    EXPECT_EQ(hit(corner), 17);
    EXPECT_EQ(hit(inside), 0);
    EXPECT_EQ(f->Perform(WM_GETDLGCODE, 0, 0), 5);

    // The pop-up's and its control's keys reach the edit as they come, without key data.
    d->keys.clear();
    WORD key = 'A';
    char16_t ch = u'a';
    d->PopupKeyDown(f, key, {});
    d->PopupKeyPress(f, ch);
    d->PopupKeyUp(f, key, {});
    d->ControlKeyDown(d->picker, key, {});
    d->ControlKeyPress(d->picker, ch);
    d->ControlKeyUp(d->picker, key, {});
    ASSERT_EQ(d->keys.size(), 6u);
    const UINT expected[] = {WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d->keys[i].msg, expected[i]) << i;
        EXPECT_EQ(d->keys[i].key, d->keys[i].msg == WM_CHAR ? WPARAM(u'a') : WPARAM('A')) << i;
        EXPECT_EQ(d->keys[i].data, 0) << i;
    }
    // A key typed at the picker goes the same way.
    d->SetText(String());
    d->keys.clear();
    ui::test::Key(d->picker, 'B', String("b"));
    ASSERT_GE(d->keys.size(), 2u);
    EXPECT_EQ(d->keys[0].msg, WM_KEYDOWN);
    EXPECT_EQ(d->keys[0].key, WPARAM('B'));
    EXPECT_EQ(d->Text(), String("b"));

    // The wheel over the pop-up and over the edit.
    f->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    f->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    f->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(d->next, 1);
    EXPECT_EQ(d->previous, 2);
    d->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(d->next, 2);

    // The user's sizing reaches PopupSizing.
    TRect proposed = f->BoundsRect();
    f->Perform(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(d->Count("PopupSizing"), 1);
}

TEST_F(DropDownTest, TheBarsTakeTheDropDownsPaintingEvents) {
    auto* d = Make<PickerProbe>();
    int header = 0, footer = 0;
    d->OnDrawHeader = [&](TObject* sender, TCanvas*, TRect r) {
        header += sender == d->DropDownForm()->Header() && r.Height() == 22;
    };
    d->OnDrawFooter = [&](TObject*, TCanvas*, TRect) { ++footer; };
    d->OpenPopup();
    ui::test::Pump();
    d->DropDownForm()->Update();
    EXPECT_GT(header, 0);
    EXPECT_GT(footer, 0);
}

class PaintTest : public DropDownTest {
protected:
    Probe* d = nullptr;
    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<Probe>(20, 20);
        d->DropDownHeader()->SetVisible(false);
        d->DropDownFooter()->SetVisible(false);
        d->SetDropDownHeight(100);
    }
    TColor At(int x, int y) { return WindowPixel(d->DropDownForm(), x, y); }
};

TEST_F(PaintTest, BandsOrASolidFillAndTheFrame) {
    d->SetDropDownColor(0x000000);
    d->SetDropDownColorTo(0x0000F0);
    d->SetDropDownBorderColor(0xFF0000);
    d->OpenPopup();
    auto distinct = [&](bool alongRow) {
        std::set<TColor> seen;
        for (int i = 1; i < (alongRow ? 199 : 99); ++i) seen.insert(alongRow ? At(i, 50) : At(100, i));
        return seen.size();
    };
    EXPECT_EQ(distinct(true), 80u);
    EXPECT_EQ(distinct(false), 1u);
    EXPECT_EQ(At(0, 50), static_cast<TColor>(0xFF0000));
    EXPECT_EQ(At(199, 50), static_cast<TColor>(0xFF0000));
    EXPECT_EQ(At(100, 0), static_cast<TColor>(0xFF0000));
    d->ClosePopup(false);

    d->SetDropDownGradient(advdropdown::gdVertical);
    d->OpenPopup();
    EXPECT_EQ(distinct(true), 1u);
    EXPECT_EQ(distinct(false), 80u);
    d->ClosePopup(false);

    d->SetDropDownColorTo(clNone);
    d->SetDropDownColor(0x00FFFF);
    d->SetDropDownBorderWidth(3);
    d->OpenPopup();
    // A pen 3 wide round (1, 1, 200, 100): the frame covers 0 to 2 on the left and top.
    for (int x = 0; x < 3; ++x) EXPECT_EQ(At(x, 50), static_cast<TColor>(0xFF0000)) << x;
    for (int y = 0; y < 3; ++y) EXPECT_EQ(At(100, y), static_cast<TColor>(0xFF0000)) << y;
    EXPECT_EQ(At(3, 50), static_cast<TColor>(0x00FFFF));
    EXPECT_EQ(At(100, 50), static_cast<TColor>(0x00FFFF));
    EXPECT_EQ(At(199, 50), static_cast<TColor>(0xFF0000));
    d->ClosePopup(false);

    // A frame colour of none: no frame.
    d->SetDropDownBorderColor(clNone);
    d->SetDropDownBorderWidth(1);
    d->OpenPopup();
    EXPECT_NE(At(0, 50), static_cast<TColor>(0xFF0000));
    EXPECT_EQ(At(1, 50), static_cast<TColor>(0x00FFFF));
}

TEST_F(PaintTest, ForceShadowShowsTwiceThenSizesInOneCall) {
    d->SetForceShadow(true);
    TDropDownForm* f = d->DropDownForm();
    std::vector<std::string> seen;
    auto note = [&](const char* what) {
        seen.push_back(std::string(what) + " " + std::to_string(f->Left()) + "," + std::to_string(f->Top()) + " " +
                       std::to_string(f->Width()) + "x" + std::to_string(f->Height()));
    };
    f->OnShow = [&](TObject*) { note("shown"); };
    f->OnResize = [&](TObject*) {
        if (f->Visible()) note("sized");
    };
    d->calls.clear();
    d->OpenPopup();
    const TPoint p = d->ClientToScreen(Point(0, 0));
    const std::string place = std::to_string(p.X - 2) + "," + std::to_string(p.Y - 2 + 21 - 1);
    // Asked for 0 x 0 and 1 x 1, the form shows at its least size.
    EXPECT_EQ(seen, (std::vector<std::string>{"shown " + place + " 80x50", "shown " + place + " 80x50",
                                              "sized " + place + " 200x100"}));
    EXPECT_EQ(d->Count("PopupClosed"), 1);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_TRUE(f->Shadow());
    EXPECT_NE(GetClassLong(f->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    d->ClosePopup(false);

    // Without the shadow the class style goes, for every pop-up.
    d->SetDropDownShadow(false);
    seen.clear();
    d->OpenPopup();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(GetClassLong(f->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
}

}  // namespace
