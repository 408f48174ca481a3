// The track-bar and memo drop-downs under a real X server: opened by the pointer, the track bar
// dragged, Esc restoring and a click elsewhere keeping, the drag over the edit; the memo typed
// into, accepted with F4 and dropped with Esc.
#include <gtest/gtest.h>

#include "dropdown/AdvMemoDropDown.h"
#include "dropdown/AdvTrackBarDropDown.h"
#include "platform/qt/display/RealDisplay.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

using display::CentreOf;
using display::OnUi;
using display::ScreenPoint;
using display::User;
using display::WaitFor;

namespace {

class PickersOnScreen : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    TAdvTrackBarDropDown* track = nullptr;
    TAdvMemoDropDown* memo = nullptr;
    TEdit* edit = nullptr;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(60, 60, 420, 300);
        form->SetCaption(String(u"pickers"));
        track = NewComponent<TAdvTrackBarDropDown>(form);
        track->SetParent(form);
        track->SetBounds(20, 20, 200, 21);
        memo = NewComponent<TAdvMemoDropDown>(form);
        memo->SetParent(form);
        memo->SetBounds(20, 60, 200, 21);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(250, 20, 140, 22);
        form->Show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    }
    void TearDown() override { form->Free(); }

    // Past the pop-up's guard against reopening by the click that closed it.
    static void PastTheGuard() { Sleep(TAdvCustomDropDown::ReopenGuardMs + 50); }
    void OpenTrack(User& user) {
        user.Click(ScreenPoint(track, 40, 10));
        ASSERT_TRUE(WaitFor([&] { return track->DroppedDown() && track->TrackBar()->Showing(); })) << "no pop-up";
        display::Settle();
    }
    // Drags the track bar's thumb from its left end by dx pixels.
    void DragThumb(User& user, int dx) {
        const TPoint from = OnUi([&] {
            TTrackBar* t = track->TrackBar();
            return t->ClientToScreen(Point(8 + (t->ClientWidth() - 16) * (t->Position() - t->Min()) / (t->Max() - t->Min()),
                                           t->ClientHeight() / 2 - 6));
        });
        user.MoveTo(from);
        user.Press();
        for (int i = 1; i <= 4; ++i) user.MoveTo(Point(from.X + dx * i / 4, from.Y));
        user.Release();
        display::Settle();
    }
};

TEST_F(PickersOnScreen, TheTrackBarWritesItsNumberEscRestoresAClickElsewhereKeeps) {
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(OpenTrack(user));
        DragThumb(user, 120);
        ASSERT_TRUE(WaitFor([&] { return track->Position() > 3; })) << "the drag moved nothing";
        const int dragged = OnUi([&] { return track->Position(); });
        EXPECT_EQ(OnUi([&] { return track->Text(); }), IntToStr(dragged));
        display::SaveShot(user.Grab(display::ScreenRect(form)), "trackbar_dragged");
        user.Key("Escape");
        ASSERT_TRUE(WaitFor([&] { return !track->DroppedDown(); })) << "Esc left it open";
        EXPECT_EQ(OnUi([&] { return track->Text(); }), String(u"0"));
        EXPECT_EQ(OnUi([&] { return track->Position(); }), 0);

        PastTheGuard();
        ASSERT_NO_FATAL_FAILURE(OpenTrack(user));
        DragThumb(user, 60);
        ASSERT_TRUE(WaitFor([&] { return track->Position() > 0; }));
        const int kept = OnUi([&] { return track->Position(); });
        user.Click(CentreOf(edit));
        ASSERT_TRUE(WaitFor([&] { return !track->DroppedDown(); })) << "the click elsewhere left it open";
        EXPECT_EQ(OnUi([&] { return track->Text(); }), IntToStr(kept));
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(track) == IntToStr(kept); }));
    });
}

TEST_F(PickersOnScreen, ADragOverTheEditMovesByPageSize) {
    display::RunAsUser([&](User& user) {
        const TPoint from = ScreenPoint(track, 40, 10);
        user.MoveTo(from);
        user.Press();
        for (int i = 1; i <= 5; ++i) user.MoveTo(Point(from.X + 4 * i, from.Y));
        user.Release();
        ASSERT_TRUE(WaitFor([&] { return track->Position() == 10; })) << "at " << OnUi([&] { return track->Position(); });
        EXPECT_EQ(OnUi([&] { return track->Text(); }), String(u"10"));
        OnUi([&] { track->HideDropDown(false); });
    });
}

TEST_F(PickersOnScreen, TheMemoTakesLinesF4AcceptsEscDrops) {
    display::RunAsUser([&](User& user) {
        user.Click(ScreenPoint(memo, OnUi([&] { return memo->ClientWidth(); }) - 8, 10));
        ASSERT_TRUE(WaitFor([&] { return memo->DroppedDown() && memo->Memo()->Focused(); })) << "no memo to type in";
        for (const char* k : {"a", "b", "c", "Return", "d", "e", "f"}) user.Key(k);
        ASSERT_TRUE(WaitFor([&] { return memo->Memo()->Lines()->Count() == 2; }));
        EXPECT_TRUE(OnUi([&] { return memo->DroppedDown(); })) << "Enter closed the pop-up";
        display::SaveShot(user.Grab(display::ScreenRect(form)), "memo_typed");
        user.Key("F4");
        ASSERT_TRUE(WaitFor([&] { return !memo->DroppedDown(); }));
        EXPECT_EQ(OnUi([&] { return memo->MemoText()->Text(); }), String(u"abc\r\ndef\r\n"));
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(memo) == String(u"abc..."); }));

        PastTheGuard();
        user.Click(ScreenPoint(memo, OnUi([&] { return memo->ClientWidth(); }) - 8, 10));
        ASSERT_TRUE(WaitFor([&] { return memo->DroppedDown() && memo->Memo()->Focused(); }));
        for (const char* k : {"Return", "x"}) user.Key(k);
        ASSERT_TRUE(WaitFor([&] { return memo->Memo()->Lines()->Count() == 3; }));
        user.Key("Escape");
        ASSERT_TRUE(WaitFor([&] { return !memo->DroppedDown(); }));
        EXPECT_EQ(OnUi([&] { return memo->MemoText()->Text(); }), String(u"abc\r\ndef\r\n"));
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(memo) == String(u"abc..."); }));
    });
}

}  // namespace
