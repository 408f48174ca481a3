// An owner-painted native control paints again after its view changes, and only then.
#include <gtest/gtest.h>

#include "platform/ui/NativePeers.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace {

class CountingEdit : public TEdit {
public:
    explicit CountingEdit(TComponent* owner) : TEdit(owner) { SetOwnerPainted(true); }
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TEdit::Paint();
    }
};

class NativeViewTest : public ui_test::FormTest {};

}  // namespace

TEST_F(NativeViewTest, OwnerPaintedControlRepaintsAfterViewChangesNotAfterQuestions) {
    auto* edit = Add<CountingEdit>();
    edit->SetWidth(150);
    form->Show();
    edit->Update();
    ui::test::Pump();
    int paints = edit->Paints;
    EXPECT_GT(paints, 0);

    // Asking the view where characters are changes nothing on screen.
    edit->SetText(String("some text"));
    edit->Update();
    paints = edit->Paints;
    edit->Perform(EM_POSFROMCHAR, 3, 0);
    edit->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(20, 5));
    edit->Update();
    EXPECT_EQ(edit->Paints, paints);

    // A selection shown on the view is painted.
    edit->Perform(EM_SETSEL, 1, 4);
    edit->Update();
    EXPECT_EQ(edit->Paints, paints + 1);
    ui::test::TypeText(edit, String("x"));
    edit->Update();
    EXPECT_EQ(edit->Paints, paints + 2);
    EXPECT_EQ(edit->Text(), String("sx text"));
}
