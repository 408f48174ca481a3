// Handlers that run the message loop while the mouse is theirs: a wait that pumps messages or a
// modal dialog, started by a press or by the click of a release, on a window or on a graphic
// control. Whatever the user does meanwhile, the press after it reaches the control under the
// pointer and nothing keeps the mouse.
#include <gtest/gtest.h>

#include <ostream>

#include "platform/qt/display/RealDisplay.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/ParamNames.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

using display::CentreOf;
using display::OnUi;
using display::User;
using display::WaitFor;

namespace {

enum class Loop { Wait, Modal, Message };
enum class Where { Press, Click };

struct Case {
    const char* name;
    Loop loop;
    Where where;
    bool graphic;  // the handler's control has no window of its own
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class LoopInPress : public ::testing::TestWithParam<Case> {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    TForm* dialog = nullptr;
    TControl* starter = nullptr;
    TButton* after = nullptr;
    TButton* ok = nullptr;
    bool running = false;
    int runs = 0, afterClicks = 0;
    uint64_t waitMs = 500;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(60, 60, 420, 260);
        form->SetCaption(String(u"loop in press"));
        const Case& c = GetParam();
        if (c.graphic) {
            auto* shape = new TShape(form);
            shape->SetParent(form);
            starter = shape;
        } else {
            auto* panel = new TPanel(form);
            panel->SetParent(form);
            starter = panel;
        }
        starter->SetBounds(20, 20, 160, 80);
        auto run = [this] { RunLoop(); };
        if (c.where == Where::Press) starter->OnMouseDown = [run](TObject*, TMouseButton, TShiftState, int, int) { run(); };
        else starter->OnClick = [run](TObject*) { run(); };
        after = new TButton(form);
        after->SetParent(form);
        after->SetBounds(240, 40, 120, 30);
        after->SetCaption(String(u"after"));
        after->OnClick = [this](TObject*) { ++afterClicks; };

        dialog = new TForm(nullptr);
        dialog->SetBounds(500, 80, 220, 140);
        dialog->SetCaption(String(u"dialog"));
        ok = new TButton(dialog);
        ok->SetParent(dialog);
        ok->SetBounds(60, 50, 100, 30);
        ok->SetCaption(String(u"OK"));
        ok->SetModalResult(mrOk);

        form->Show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    }
    void TearDown() override {
        dialog->Free();
        form->Free();
    }

    void RunLoop() {
        running = true;
        ++runs;
        switch (GetParam().loop) {
            case Loop::Wait: {
                const uint64_t end = GetTickCount64() + waitMs;
                while (GetTickCount64() < end) {
                    Application->ProcessMessages();
                    Sleep(10);
                }
                break;
            }
            case Loop::Modal: dialog->ShowModal(); break;
            case Loop::Message: ShowMessage(String(u"message")); break;
        }
        running = false;
    }
};

TEST_P(LoopInPress, TheNextPressReachesTheControlUnderThePointer) {
    const Case& c = GetParam();
    display::RunAsUser([&](User& user) {
        user.MoveTo(CentreOf(starter));
        user.Press();
        if (c.where == Where::Press) {
            ASSERT_TRUE(WaitFor([&] { return running; })) << "the press ran nothing";
        }
        // The button comes up while the loop runs (or, for the click, starts it).
        user.Release();
        ASSERT_TRUE(WaitFor([&] { return runs == 1; })) << "the click ran nothing";
        switch (c.loop) {
            case Loop::Wait: break;
            case Loop::Modal:
                ASSERT_TRUE(WaitFor([&] { return dialog->Showing(); }));
                display::Settle();
                user.Click(CentreOf(ok));
                break;
            case Loop::Message:
                ASSERT_TRUE(WaitFor([] { return ui::MessageBoxLog().size() == 1 && display::ModalBoxShown(); }));
                display::Settle();
                user.Key("Return");
                break;
        }
        ASSERT_TRUE(WaitFor([&] { return !running; }, 10000)) << "the loop did not end";
        EXPECT_EQ(OnUi([] { return GetCaptureControl(); }), nullptr) << "the mouse is still captured";
        user.Click(CentreOf(after));
        EXPECT_TRUE(WaitFor([&] { return afterClicks == 1; })) << "the press after the loop did not reach the button";
        EXPECT_EQ(OnUi([&] { return runs; }), 1);
    });
}

// A click while the wait still runs reaches the control under the pointer then and there, as
// the platform's loops dispatch it; the holder of the first press does not take it.
class ClickDuringWait : public LoopInPress {};

TEST_P(ClickDuringWait, ReachesTheControlUnderThePointer) {
    const Case& c = GetParam();
    waitMs = 1500;  // room for the click on a loaded machine
    display::RunAsUser([&](User& user) {
        user.MoveTo(CentreOf(starter));
        user.Press();
        if (c.where == Where::Press) {
            ASSERT_TRUE(WaitFor([&] { return running; })) << "the press ran nothing";
        }
        user.Release();
        ASSERT_TRUE(WaitFor([&] { return running; })) << "the click ran nothing";
        user.Click(CentreOf(after));
        EXPECT_TRUE(WaitFor([&] { return afterClicks == 1; })) << "the click during the wait did not reach the button";
        EXPECT_TRUE(OnUi([&] { return running; })) << "the wait ended before the click came";
        ASSERT_TRUE(WaitFor([&] { return !running; }, 10000)) << "the loop did not end";
        EXPECT_EQ(OnUi([] { return GetCaptureControl(); }), nullptr) << "the mouse is still captured";
        user.Click(CentreOf(after));
        EXPECT_TRUE(WaitFor([&] { return afterClicks == 2; })) << "the press after the loop did not reach the button";
        EXPECT_EQ(OnUi([&] { return runs; }), 1);
    });
}

const Case kCases[] = {
    {"WaitInPress", Loop::Wait, Where::Press, false},
    {"WaitInPressOnGraphic", Loop::Wait, Where::Press, true},
    {"ModalInPress", Loop::Modal, Where::Press, false},
    {"ModalInPressOnGraphic", Loop::Modal, Where::Press, true},
    {"MessageInPress", Loop::Message, Where::Press, false},
    {"WaitInClick", Loop::Wait, Where::Click, false},
    {"WaitInClickOnGraphic", Loop::Wait, Where::Click, true},
    {"ModalInClick", Loop::Modal, Where::Click, false},
    {"MessageInClick", Loop::Message, Where::Click, true},
};
INSTANTIATE_TEST_SUITE_P(Loops, LoopInPress, ::testing::ValuesIn(kCases), rtl_test::PrintedName());

const Case kWaits[] = {
    {"WaitInPress", Loop::Wait, Where::Press, false},
    {"WaitInClick", Loop::Wait, Where::Click, false},
    {"WaitInClickOnGraphic", Loop::Wait, Where::Click, true},
};
INSTANTIATE_TEST_SUITE_P(Waits, ClickDuringWait, ::testing::ValuesIn(kWaits), rtl_test::PrintedName());

}  // namespace
