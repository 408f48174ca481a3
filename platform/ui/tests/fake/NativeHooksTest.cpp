// What the library decides for the native edit and combo box on top of the window model: their
// frames, the notifications they send their component, and the focus and mode messages around
// them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"
#include "platform/win/Window.h"

namespace {

class NativeHooksTest : public ui::test::FormTest {};

struct FrameCase {
    const char* name;
    bool ctl3d;
    TFormBorderStyle border;
    int frame;  // pixels on each side
    DWORD style, exStyle;
};

TEST_F(NativeHooksTest, ABorderedEditTakesItsFrameFromTheWindowStyle) {
    const FrameCase cases[] = {
        {"sunken", true, bsSingle, 2, 0, WS_EX_CLIENTEDGE},
        {"flat", false, bsSingle, 1, WS_BORDER, 0},
        {"none", true, bsNone, 0, 0, 0},
        {"none, flat", false, bsNone, 0, 0, 0},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* edit = Add<TEdit>();
        edit->SetBounds(10, 10, 100, 25);
        edit->SetCtl3D(c.ctl3d);
        edit->SetBorderStyle(c.border);
        form->Show();
        EXPECT_EQ(edit->ClientWidth(), 100 - 2 * c.frame);
        EXPECT_EQ(edit->ClientHeight(), 25 - 2 * c.frame);
        EXPECT_EQ(edit->WindowStyle() & WS_BORDER, c.style);
        EXPECT_EQ(edit->WindowExStyle() & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), c.exStyle);
        edit->Free();
    }
}

TEST_F(NativeHooksTest, SwitchingCtl3DOrTheBorderMakesTheFrameAgainAndKeepsTheEdit) {
    auto* edit = Add<TEdit>();
    edit->SetBounds(10, 10, 100, 25);
    edit->SetText(String(u"Hello"));
    form->Show();
    edit->SetSelStart(1);
    edit->SetSelLength(3);
    HWND window = edit->Handle();
    EXPECT_EQ(edit->ClientWidth(), 96);

    edit->SetCtl3D(false);
    EXPECT_EQ(edit->ClientWidth(), 98);
    EXPECT_EQ(edit->ClientOrigin(), Point(form->ClientOrigin().X + 11, form->ClientOrigin().Y + 11));
    edit->SetCtl3D(true);
    EXPECT_EQ(edit->ClientWidth(), 96);
    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(edit->ClientWidth(), 100);
    edit->SetBorderStyle(bsSingle);
    EXPECT_EQ(edit->ClientWidth(), 96);

    // The window stays and so does what it holds.
    EXPECT_EQ(edit->Handle(), window);
    EXPECT_EQ(edit->Text(), String(u"Hello"));
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 3);
}

TEST_F(NativeHooksTest, ParentCtl3DFollowsTheParentUntilCtl3DIsSet) {
    auto* panel = Add<controls_test::Panel>();
    panel->SetBounds(0, 0, 200, 100);
    auto* following = new TEdit(form);
    following->SetParent(panel);
    auto* own = new TEdit(form);
    own->SetParent(panel);
    own->SetCtl3D(true);
    auto* combo = new TComboBox(form);
    combo->SetParent(panel);
    form->Show();
    EXPECT_FALSE(own->ParentCtl3D());

    panel->SetCtl3D(false);
    EXPECT_FALSE(following->Ctl3D());
    EXPECT_TRUE(following->ParentCtl3D());
    EXPECT_EQ(following->ClientWidth(), following->Width() - 2);
    EXPECT_EQ(combo->ClientWidth(), combo->Width() - 2);  // a combo box's frame follows it too
    EXPECT_TRUE(own->Ctl3D());

    // A control put on a parent takes its look.
    auto* late = new TEdit(form);
    late->SetParent(panel);
    EXPECT_FALSE(late->Ctl3D());
    own->SetParentCtl3D(true);
    EXPECT_FALSE(own->Ctl3D());
    panel->SetCtl3D(true);
    for (TEdit* e : {following, own, late}) EXPECT_EQ(e->ClientWidth(), e->Width() - 4);
}

// A one-line edit made with ES_PASSWORD, as a password box makes its window.
class PasswordEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& Params) override {
        TEdit::CreateParams(Params);
        Params.Style |= ES_PASSWORD;
    }
};

TEST_F(NativeHooksTest, AnEditMadeWithThePasswordStyleMasksItsTextUntilTheMarkIsTakenAway) {
    auto* edit = Add<PasswordEdit>();
    edit->SetText(String(u"secret"));
    form->Show();
    ui::SetNativeClipboardText(String(u"before"));
    EXPECT_EQ(edit->Perform(EM_GETPASSWORDCHAR, 0, 0), u'*');
    edit->SelectAll();
    edit->CopyToClipboard();
    EXPECT_EQ(ui::NativeClipboardText(), String(u"before"));  // a masked text is not copied

    edit->SetPasswordChar(0);
    EXPECT_EQ(edit->Perform(EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(edit->WindowStyle() & ES_PASSWORD, 0u);
    edit->CopyToClipboard();
    EXPECT_EQ(ui::NativeClipboardText(), String(u"secret"));
}

// Notes the notifications that reach it as CN_COMMAND, with the text at that moment, and drops
// them while Drop is set.
template <class Base>
class Notified : public Base {
public:
    using Base::Base;
    struct Note {
        WORD Code;
        String Text;
        bool Window;  // LParam names the control's window
    };
    std::vector<Note> Notes;
    bool Drop = false;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CN_COMMAND) {
            Notes.push_back({HIWORD(m.WParam), this->Text(), m.LParam == reinterpret_cast<LPARAM>(this->Handle())});
            if (Drop) return;
        }
        Base::Dispatch(m);
    }
};

TEST_F(NativeHooksTest, EnChangeReachesTheEditAfterTypingAndProgramWritesAndDroppedStopsOnChange) {
    auto* edit = Add<Notified<TEdit>>();
    std::vector<String> changes;
    edit->OnChange = [&](TObject*) { changes.push_back(edit->Text()); };
    form->Show();
    edit->SetFocus();
    ui::test::TypeText(edit, String(u"ab"));
    edit->SetText(String(u"xyz"));
    ASSERT_EQ(edit->Notes.size(), 3u);
    const char16_t* texts[] = {u"a", u"ab", u"xyz"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(edit->Notes[i].Code, EN_CHANGE);
        EXPECT_EQ(edit->Notes[i].Text, String(texts[i]));  // the text has changed already
        EXPECT_TRUE(edit->Notes[i].Window);
    }
    EXPECT_EQ(changes, (std::vector<String>{String(u"a"), String(u"ab"), String(u"xyz")}));

    edit->Drop = true;
    ui::test::TypeText(edit, String(u"!"));
    edit->SetText(String(u"dropped"));
    EXPECT_EQ(edit->Notes.size(), 5u);
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_EQ(edit->Text(), String(u"dropped"));
}

TEST_F(NativeHooksTest, TheComboBoxsDropDownAndCloseUpReachItsComponent) {
    auto* combo = Add<Notified<TComboBox>>();
    combo->Items()->Add(String(u"one"));
    std::vector<std::string> events;
    combo->OnDropDown = [&](TObject*) { events.push_back("drop down"); };
    combo->OnCloseUp = [&](TObject*) { events.push_back("close up"); };
    form->Show();
    combo->SetFocus();
    ui::test::Key(combo, VK_F4);
    ui::test::Key(combo, VK_F4);
    ASSERT_EQ(combo->Notes.size(), 2u);
    EXPECT_EQ(combo->Notes[0].Code, CBN_DROPDOWN);
    EXPECT_EQ(combo->Notes[1].Code, CBN_CLOSEUP);
    EXPECT_EQ(events, (std::vector<std::string>{"drop down", "close up"}));

    combo->Drop = true;
    combo->SetDroppedDown(true);
    combo->SetDroppedDown(false);
    EXPECT_EQ(combo->Notes.size(), 4u);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(NativeHooksTest, NextDlgCtlMovesTheFocusForwardAndBackInTabOrder) {
    auto* a = Add<TEdit>();
    auto* b = Add<TEdit>();
    auto* c = Add<TEdit>();
    b->SetTabOrder(0);  // b, a, c
    form->Show();
    a->SetFocus();
    SendMessage(form->Handle(), WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(form->ActiveControl(), c);
    SendMessage(form->Handle(), WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(form->ActiveControl(), b);  // round again
    SendMessage(form->Handle(), WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(form->ActiveControl(), c);
    SendMessage(form->Handle(), WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(form->ActiveControl(), a);
    // With LParam 1, WParam names the control; one of another form is refused.
    SendMessage(form->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(b->Handle()), 1);
    EXPECT_EQ(form->ActiveControl(), b);
    auto* other = new TForm(nullptr);
    auto* stranger = new TEdit(other);
    stranger->SetParent(other);
    other->Show();
    form->Show();
    SendMessage(form->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stranger->Handle()), 1);
    EXPECT_EQ(form->ActiveControl(), b);
    other->Free();
}

TEST_F(NativeHooksTest, GetActiveWindowAnswersTheActiveForm) {
    EXPECT_EQ(GetActiveWindow(), nullptr);
    form->Show();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    auto* other = new TForm(nullptr);
    other->Show();
    EXPECT_EQ(GetActiveWindow(), other->Handle());
    other->Free();
}

// Keeps a band of its own at the top free of aligned children, as the group box keeps its caption.
class Banded : public controls_test::Panel {
public:
    using Panel::Panel;
    int Band = 0;

protected:
    void AdjustClientRect(TRect& Rect) override { Rect.Top += Band; }
};

TEST_F(NativeHooksTest, RealignLaysTheAlignedChildrenOutAgain) {
    auto* box = Add<Banded>();
    box->SetBounds(0, 0, 200, 100);
    auto* top = new controls_test::Panel(form);
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetParent(box);
    EXPECT_EQ(top->Top(), 0);
    box->Band = 16;  // the band grew: the children learn of it when the box realigns
    EXPECT_EQ(top->Top(), 0);
    box->Realign();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 16, 200, 46));
}

// Counts the WM_CANCELMODE messages it gets.
class ModeEdit : public TEdit {
public:
    using TEdit::TEdit;
    int CancelModes = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_CANCELMODE) ++CancelModes;
        TEdit::Dispatch(m);
    }
};

TEST_F(NativeHooksTest, MenusModalFormsAndLosingTheActivationSendCancelModeToTheFocusedControl) {
    auto* focused = Add<ModeEdit>();
    auto* other = Add<ModeEdit>(10, 50);
    auto* popup = new TPopupMenu(form);
    popup->Items()->Add(NewItem(form, String("&Copy")));
    auto* menu = new TMainMenu(form);
    TMenuItem* file = NewSubMenu(form, String("&File"), {NewSubMenu(form, String("&Recent"), {NewItem(form, String("one"))})});
    menu->Items()->Add(file);
    form->Show();
    focused->SetFocus();
    focused->SetMouseCapture(true);

    // A pop-up menu opening: the focused edit hears it (before the choice), and lets the mouse go.
    int before = -1;
    ui::SetPopupMenuHook([&](TPopupMenu*, const TPoint&) -> TMenuItem* {
        before = focused->CancelModes;
        return nullptr;
    });
    popup->Popup(10, 10);
    ui::SetPopupMenuHook(nullptr);
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(focused->MouseCapture());
    // A menu of the bar opening; its sub-menus are part of the same mode.
    ui::fake::MenuBarOf(form)->Open(file);
    EXPECT_EQ(focused->CancelModes, 2);
    ui::fake::MenuBarOf(form)->Open(file->Items(0));
    EXPECT_EQ(focused->CancelModes, 2);
    // The program losing the activation; getting it back sends nothing.
    ui::GetBackend().Windows().ApplicationActivated(false);
    ui::GetBackend().Windows().ApplicationActivated(true);
    EXPECT_EQ(focused->CancelModes, 3);
    // A modal form starting.
    auto* dlg = NewForm<TForm>(nullptr);
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        dlg->SetModalResult(mrOk);
    };
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    Application->OnIdle = nullptr;
    dlg->Free();
    EXPECT_EQ(focused->CancelModes, 4);
    EXPECT_EQ(other->CancelModes, 0);
}

}  // namespace

namespace {

// Counts the WM_CANCELMODE messages it gets; a press captures the mouse.
class ModeShape : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int CancelModes = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_CANCELMODE) ++CancelModes;
        TGraphicControl::Dispatch(m);
    }
};

}  // namespace

// A press whose handler starts a modal loop: the control that holds the mouse is told and the
// capture goes, even when another control has the focus. The release goes to the loop's window,
// so a capture kept past the loop would take the next press anywhere in the program.
TEST_F(NativeHooksTest, AModalLoopTakesTheMouseFromTheControlThatHoldsIt) {
    auto* focused = Add<ModeEdit>();
    auto* shape = new ModeShape(form);
    shape->SetParent(form);
    shape->SetBounds(10, 60, 40, 40);
    form->Show();
    focused->SetFocus();
    auto* dlg = NewForm<TForm>(nullptr);
    int modalResult = 0;
    shape->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        EXPECT_EQ(GetCaptureControl(), shape);
        modalResult = dlg->ShowModal();
    };
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (dlg->Visible()) {
            EXPECT_EQ(GetCaptureControl(), nullptr);
            dlg->SetModalResult(mrOk);
        }
    };
    ui::test::MouseDown(shape, 5, 5);
    ui::test::MouseUp(shape, 5, 5);
    Application->OnIdle = nullptr;
    EXPECT_EQ(modalResult, mrOk);
    EXPECT_EQ(shape->CancelModes, 1);
    EXPECT_EQ(focused->CancelModes, 1);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    // A pop-up menu run from a press lets the mouse go the same way.
    auto* popup = new TPopupMenu(form);
    popup->Items()->Add(NewItem(form, String("&Copy")));
    shape->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { popup->Popup(10, 10); };
    ui::test::MouseDown(shape, 5, 5);
    ui::test::MouseUp(shape, 5, 5);
    EXPECT_EQ(shape->CancelModes, 2);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    // A loop that carries the press on (a drag handed over to the desktop) leaves the mouse where
    // it is and tells nobody.
    const int focusedBefore = focused->CancelModes;
    shape->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        ui::ForeignLoop loop(false);
        EXPECT_EQ(GetCaptureControl(), shape);
    };
    ui::test::MouseDown(shape, 5, 5);
    ui::test::MouseUp(shape, 5, 5);
    EXPECT_EQ(shape->CancelModes, 2);
    EXPECT_EQ(focused->CancelModes, focusedBefore);
    dlg->Free();
}

namespace {

// Counts WM_APP messages; while Repost is set, each one posts the next.
class Poster : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Got = 0;
    bool Repost = false;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg != WM_APP) return TCustomControl::Dispatch(m);
        ++Got;
        if (Repost) PostMessage(Handle(), WM_APP, 0, 0);
    }
};

}  // namespace

// What a loop of the backend's own (a message box, a common dialog) takes of the application's
// work each time it is about to wait: the Synchronize calls, the posted messages and the timers
// that fell due, a bounded batch at a time; it answers when it must be served again.
TEST_F(NativeHooksTest, AForeignLoopIsServedTheApplicationsMessagesTimersAndSynchronizeCalls) {
    rtl::ScopedManualClock clock(1000);
    auto* poster = Add<Poster>();
    form->Show();
    ui::test::Pump();
    int ticks = 0;
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    timer->SetEnabled(true);
    EXPECT_EQ(Application->ServeForeignLoop(), 1100u) << "nothing waits: the timer's due time";

    PostMessage(poster->Handle(), WM_APP, 0, 0);
    clock->Advance(100);
    EXPECT_EQ(Application->ServeForeignLoop(), 1200u);
    EXPECT_EQ(poster->Got, 1);
    EXPECT_EQ(ticks, 1);

    std::atomic<bool> ran{false};
    std::thread worker([&] { TThread::Synchronize(nullptr, [&] { ran = true; }); });
    EXPECT_TRUE(rtl::test::Eventually([&] {
        Application->ServeForeignLoop();
        return ran.load();
    }));
    worker.join();

    // A handler that keeps posting: a batch, and the next serving is due at once.
    poster->Got = 0;
    poster->Repost = true;
    PostMessage(poster->Handle(), WM_APP, 0, 0);
    EXPECT_EQ(Application->ServeForeignLoop(), 0u);
    EXPECT_GT(poster->Got, 1);
    EXPECT_LT(poster->Got, 1000);
    poster->Repost = false;
    EXPECT_EQ(Application->ServeForeignLoop(), 1200u);
    timer->SetEnabled(false);
}
