// The track-bar drop-down: its construction and pop-up, the track bar writing the number, the
// cancelled and the deactivated close, the keys, the mouse drag over the edit, the range
// setters and a text that is no integer.
#include <gtest/gtest.h>

#include <vector>

#include "dropdown/AdvTrackBarDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

class Probe : public TAdvTrackBarDropDown {
public:
    using TAdvTrackBarDropDown::TAdvTrackBarDropDown;
    using TAdvCustomDropDown::EditType;
    using TAdvCustomDropDown::ForceShadow;
    using TAdvCustomDropDown::OldText;
};

class TrackBarTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    Probe* d = nullptr;
    int trackChanges = 0, changes = 0;

    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<Probe>(20, 20);
        d->OnTrackChange = [this](TObject*) { ++trackChanges; };
        d->OnChange = [this](TObject*) { ++changes; };
        d->SetFocus();
        clock->Advance(1000);
        ui::test::Pump();
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    void KeyDown(WORD key) { SendMessage(d->Handle(), WM_KEYDOWN, key, 1); }
    void Mouse(UINT msg, int x) { SendMessage(d->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 5)); }
};

TEST_F(TrackBarTest, ConstructionAndThePopup) {
    EXPECT_EQ(d->Min(), 0);
    EXPECT_EQ(d->Max(), 10);
    EXPECT_EQ(d->Position(), 0);
    EXPECT_EQ(d->PageSize(), 2);
    EXPECT_EQ(d->Frequency(), 1);
    EXPECT_FALSE(d->EditorEnabled());
    EXPECT_TRUE(d->DropDownEnabled());
    EXPECT_EQ(d->EditType(), etNumeric);
    EXPECT_EQ(d->Text(), String(u"0"));
    EXPECT_FALSE(d->DropDownHeader()->Visible());
    EXPECT_FALSE(d->DropDownFooter()->Visible());
    EXPECT_TRUE(d->ForceShadow());
    ASSERT_NE(d->TrackBar(), nullptr);
    EXPECT_EQ(d->TrackBar()->Owner(), d);

    d->SetMin(2);
    d->SetMax(20);
    d->SetPosition(5);
    d->SetPageSize(4);
    d->SetFrequency(3);
    d->ShowDropDown();
    ASSERT_TRUE(d->DroppedDown());
    TDropDownForm* f = d->DropDownForm();
    EXPECT_EQ(f->Width(), d->Width());
    EXPECT_EQ(f->Height(), 42);
    EXPECT_FALSE(f->CancelOnDeActivate());
    TTrackBar* t = d->TrackBar();
    EXPECT_EQ(t->Parent(), f);
    EXPECT_EQ(t->Min(), 2);
    EXPECT_EQ(t->Max(), 20);
    EXPECT_EQ(t->Position(), 5);
    EXPECT_EQ(t->PageSize(), 4);
    EXPECT_EQ(t->Frequency(), 3);
    d->HideDropDown(false);

    // A wider border, a second opening: 40 + 2 x border, the edit's width again.
    d->SetDropDownBorderWidth(3);
    d->SetBounds(d->Left(), d->Top(), 150, d->Height());
    d->SetDropDownWidth(1);  // forgets the size the last close noted
    d->SetDropDownWidth(0);
    d->SetDropDownHeight(1);
    d->SetDropDownHeight(0);
    d->ShowDropDown();
    EXPECT_EQ(f->Width(), 150);
    EXPECT_EQ(f->Height(), 46);
    d->HideDropDown(false);

    // At design time there is no pop-up and no track bar; the range is kept as set.
    form->SetDesigning(true);
    auto* designed = NewComponent<Probe>(form);
    EXPECT_EQ(designed->TrackBar(), nullptr);
    designed->SetMax(50);
    designed->SetPosition(60);
    EXPECT_EQ(designed->Max(), 50);
    EXPECT_EQ(designed->Position(), 60);
    designed->Free();
    form->SetDesigning(false);
}

TEST_F(TrackBarTest, TheTrackWritesTheNumberEscRestoresAndDeactivationKeeps) {
    d->SetText(u"3");
    EXPECT_EQ(d->Position(), 3);
    d->ShowDropDown();
    trackChanges = 0;
    d->TrackBar()->SetPosition(7);
    EXPECT_EQ(d->Text(), String(u"7"));
    EXPECT_EQ(d->Position(), 7);
    EXPECT_EQ(trackChanges, 1);
    EXPECT_EQ(d->OldText(), String(u"3"));
    KeyDown(VK_ESCAPE);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), String(u"3"));
    EXPECT_EQ(d->Position(), 3);

    // A click elsewhere takes the activation: the dragged value stays.
    auto* other = new TForm(nullptr);
    other->SetBounds(500, 400, 200, 100);
    ui::ActivateWindow(form);
    d->ShowDropDown();
    d->TrackBar()->SetPosition(9);
    ui::ActivateWindow(other);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), String(u"9"));
    EXPECT_EQ(d->Position(), 9);
    other->Free();
}

TEST_F(TrackBarTest, UpAndDownStepWithinTheRange) {
    d->SetFrequency(3);
    KeyDown(VK_UP);  // at Min
    EXPECT_EQ(d->Position(), 0);
    KeyDown(VK_DOWN);
    EXPECT_EQ(d->Position(), 3);
    EXPECT_EQ(d->Text(), String(u"3"));
    KeyDown(VK_UP);
    EXPECT_EQ(d->Position(), 0);
    d->SetPosition(8);  // Max - Frequency + 1
    KeyDown(VK_DOWN);
    EXPECT_EQ(d->Position(), 8);
    d->SetPosition(7);
    KeyDown(VK_DOWN);
    EXPECT_EQ(d->Position(), 10);
    // Alt+Down opens the pop-up and steps nothing.
    win::SetKeyState(VK_MENU, true);
    d->SetPosition(4);
    KeyDown(VK_DOWN);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(d->Position(), 4);
    win::SetKeyState(VK_MENU, false);
    d->HideDropDown(false);
}

TEST_F(TrackBarTest, AMouseDragMovesByPageSizePixels) {
    d->SetPosition(5);
    Mouse(WM_LBUTTONDOWN, 10);
    Mouse(WM_MOUSEMOVE, 13);  // 3 pixels: one step, the last pixel lost
    EXPECT_EQ(d->Position(), 6);
    Mouse(WM_MOUSEMOVE, 14);
    EXPECT_EQ(d->Position(), 6);
    Mouse(WM_MOUSEMOVE, 9);  // -5 pixels: -2, toward zero
    EXPECT_EQ(d->Position(), 4);
    EXPECT_EQ(d->Text(), String(u"4"));
    Mouse(WM_LBUTTONUP, 9);
    Mouse(WM_MOUSEMOVE, 30);  // the drag has ended
    EXPECT_EQ(d->Position(), 4);
    d->HideDropDown(false);

    d->SetPageSize(0);
    clock->Advance(1000);
    Mouse(WM_LBUTTONDOWN, 10);
    Mouse(WM_MOUSEMOVE, 40);
    EXPECT_EQ(d->Position(), 4);
    Mouse(WM_LBUTTONUP, 40);
    d->HideDropDown(false);
}

TEST_F(TrackBarTest, TheRangeSettersKeepTheTrackBarsValues) {
    d->SetPosition(8);
    d->SetMax(5);
    EXPECT_EQ(d->Max(), 5);
    EXPECT_EQ(d->Position(), 5);
    EXPECT_EQ(d->Text(), String(u"5"));
    d->SetMin(7);  // above Max: the track bar raises Max with it
    EXPECT_EQ(d->Min(), 7);
    EXPECT_EQ(d->TrackBar()->Max(), 7);
    EXPECT_EQ(d->Position(), 7);
    d->SetPosition(100);
    EXPECT_EQ(d->Position(), 7);
}

TEST_F(TrackBarTest, ATextThatIsNoIntegerIsAConvertErrorAfterOnChange) {
    d->SetPosition(4);
    changes = 0;
    // The change notice reaches the edit through its parent's window, whose handling hands the
    // error to the application, as any error in a message handler.
    std::vector<String> errors;
    Application->OnException = [&](TObject*, Exception& e) {
        EXPECT_NE(dynamic_cast<EConvertError*>(&e), nullptr);
        errors.push_back(e.Message());
    };
    d->SetText(u"abc");
    Application->OnException = nullptr;
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d->Position(), 4);
    d->SetText(String());  // an empty number is "0"
    EXPECT_EQ(d->Position(), 0);
}

TEST_F(TrackBarTest, AGoneTrackBarIsForgotten) {
    d->TrackBar()->Free();
    EXPECT_EQ(d->TrackBar(), nullptr);
    d->SetMax(30);
    d->SetPosition(12);
    EXPECT_EQ(d->Position(), 12);
    d->ShowDropDown();
    d->HideDropDown(true);
}

}  // namespace
