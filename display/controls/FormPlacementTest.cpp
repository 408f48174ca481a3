// Where forms first show, as the X server places them: centred on the screen, the main form or
// their owner, or where they were designed; with and without a window manager (the suite runs
// these cases once more under one).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ostream>
#include <thread>

#include "platform/qt/display/RealDisplay.h"
#include "platform/rtl/tests/ParamNames.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/testing/Fixtures.h"

using display::OnUi;
using display::User;

namespace {

enum class Reference { Screen, MainForm, OwnerForm, Designed };

struct Placement {
    const char* name;
    TPosition position;
    bool ownedByForm;  // else the application owns it, as CreateForm makes forms
    Reference centredOn;
};
void PrintTo(const Placement& p, std::ostream* os) { *os << p.name; }

TPoint Centre(const TRect& r) { return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

// A window shown and left where it is: the same rectangle twice, a little apart.
TRect Placed(User& user, TWinControl* form) {
    TRect last;
    for (int i = 0; i < 200; ++i) {
        TRect now = user.ShownRect(form);
        if (!now.IsEmpty() && now == last) return now;
        last = now;
        display::Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return last;
}

class FormPlacement : public ::testing::TestWithParam<Placement> {
protected:
    ui::test::AppScope scope;
    TForm* main = nullptr;
    TForm* owner = nullptr;
    TForm* placed = nullptr;

    void SetUp() override {
        if (std::getenv("RWB_DISPLAY_WM")) {
            ASSERT_TRUE(display::WaitForWindowManager()) << "no window manager came up";
        }
        Application->CreateForm(main);
        main->SetCaption(String(u"main"));
        main->SetBounds(100, 80, 640, 420);
        owner = new TForm(nullptr);
        owner->SetCaption(String(u"owner"));
        owner->SetBounds(760, 420, 420, 360);
    }
    void TearDown() override {
        if (placed) placed->Free();
        if (owner) owner->Free();
    }
};

TEST_P(FormPlacement, TheFormFirstShowsWhereItsPositionSays) {
    const Placement& p = GetParam();
    main->Show();
    owner->Show();
    display::RunAsUser([&](User& user) {
        const TRect mainRect = Placed(user, main), ownerRect = Placed(user, owner);
        ASSERT_FALSE(mainRect.IsEmpty());
        ASSERT_FALSE(ownerRect.IsEmpty());
        OnUi([&] {
            placed = new TForm(p.ownedByForm ? static_cast<TComponent*>(owner) : Application);
            placed->SetCaption(String(u"placed"));
            placed->SetBounds(30, 640, 300, 200);
            placed->SetPosition(p.position);
            placed->Show();
        });
        const TRect shown = Placed(user, placed);
        ASSERT_FALSE(shown.IsEmpty());
        display::SaveShot(user.Grab(user.ScreenSize()), std::string("placement_") + p.name + (display::WindowManagerRunning() ? "_wm" : ""));
        EXPECT_EQ(shown.Width(), 300);
        EXPECT_EQ(shown.Height(), 200);
        TPoint want;
        switch (p.centredOn) {
            case Reference::Screen: want = Centre(OnUi([] { return Screen->WorkAreaRect(); })); break;
            case Reference::MainForm: want = Centre(mainRect); break;
            case Reference::OwnerForm: want = Centre(ownerRect); break;
            case Reference::Designed: want = Centre(TRect(30, 640, 330, 840)); break;
        }
        const TPoint got = Centre(shown);
        EXPECT_NEAR(got.X, want.X, 2) << "shown at " << shown.Left << "," << shown.Top;
        EXPECT_NEAR(got.Y, want.Y, 2) << "shown at " << shown.Left << "," << shown.Top;
        // The form knows where it is.
        EXPECT_EQ(OnUi([&] { return Point(placed->Left(), placed->Top()); }), Point(shown.Left, shown.Top));
    });
}

const Placement kPlacements[] = {
    {"ScreenCenter", poScreenCenter, false, Reference::Screen},
    {"MainFormCenter", poMainFormCenter, true, Reference::MainForm},
    {"OwnerFormCenter", poOwnerFormCenter, true, Reference::OwnerForm},
    {"OwnerFormCenterOwnedByTheApplication", poOwnerFormCenter, false, Reference::MainForm},
    {"Designed", poDesigned, false, Reference::Designed},
};
INSTANTIATE_TEST_SUITE_P(Positions, FormPlacement, ::testing::ValuesIn(kPlacements), rtl_test::PrintedName());

}  // namespace
