// An owner-painted native control paints again after its view changes, and only then.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/ui/NativePeers.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

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

class NativeViewTest : public ui::test::FormTest {};

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

#ifndef NDEBUG
TEST_F(NativeViewTest, TouchingAControlOffTheUiThreadStopsTheProgramInDebugBuilds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto* edit = Add<TEdit>();
    form->Show();
    auto offThread = [](std::function<void()> f) { std::thread(std::move(f)).join(); };
    EXPECT_DEATH(offThread([&] { edit->Perform(WM_SETTEXT, 0, 0); }), "Perform called off the UI thread");
    EXPECT_DEATH(offThread([&] { edit->Invalidate(); }), "Invalidate called off the UI thread");
    EXPECT_DEATH(offThread([&] { edit->Canvas(); }), "Canvas called off the UI thread");
    EXPECT_DEATH(offThread([&] {
                     auto* late = new TEdit(form);
                     late->SetParent(form);
                     late->HandleNeeded();
                 }),
                 "called off the UI thread");
    // The same calls on the UI thread are fine.
    edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"ok"));
    edit->Invalidate();
    EXPECT_NE(edit->Canvas(), nullptr);
    EXPECT_EQ(edit->Text(), String("ok"));
}
#endif
