#include <gtest/gtest.h>

#include "platform/ui/AppEvnts.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

// A control taking the focus, with a caption whose accelerator clicks it, as a button does.
class AccelButton : public TCustomControl {
public:
    AccelButton(TComponent* owner, const char* caption, LRESULT dlgCode = 0) : TCustomControl(owner), FDlgCode(dlgCode) {
        SetCaption(String(caption));
        SetTabStop(true);
        SetBounds(0, 0, 60, 20);
    }
    std::vector<WORD> Keys;
    std::vector<TControl*> FocusNews;

protected:
    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
            case CM_DIALOGCHAR:
                if (Enabled() && IsAccel(static_cast<WORD>(m.WParam), Caption())) {
                    Click();
                    m.Result = 1;
                }
                return;
            case WM_GETDLGCODE:
                m.Result = FDlgCode;
                return;
            case CM_FOCUSCHANGED:
                FocusNews.push_back(reinterpret_cast<TControl*>(m.LParam));
                break;
            default:
                break;
        }
        TCustomControl::Dispatch(m);
    }
    void KeyDown(WORD& key, TShiftState shift) override {
        Keys.push_back(key);
        TCustomControl::KeyDown(key, shift);
    }

private:
    LRESULT FDlgCode;
};

using InputTest = ui::test::AppTest;

}  // namespace

TEST_F(InputTest, AcceleratorCharactersClickTheMarkedControl) {
    auto* form = new TForm(nullptr);
    auto* save = new AccelButton(form, "&Save");
    auto* quit = new AccelButton(form, "&Quit");
    save->SetParent(form);
    quit->SetParent(form);
    int saves = 0, quits = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    quit->OnClick = [&](TObject*) { ++quits; };
    form->Show();
    // A control that does not want characters lets them act as accelerators...
    ui::test::Key(form, 'Q', String("q"));
    EXPECT_EQ(quits, 1);
    // ...and Alt+letter works from anywhere.
    ui::test::Key(form, 'S', String("s"), {ssAlt});
    EXPECT_EQ(saves, 1);
    quit->SetEnabled(false);
    ui::test::Key(form, 'Q', String("q"));
    EXPECT_EQ(quits, 1);
    form->Free();
}

TEST_F(InputTest, ArrowsMoveTheFocusUnlessTheControlWantsThem) {
    auto* form = new TForm(nullptr);
    auto* a = new AccelButton(form, "a");
    auto* b = new AccelButton(form, "b", DLGC_WANTARROWS);
    auto* c = new AccelButton(form, "c");
    for (auto* x : {a, b, c}) x->SetParent(form);
    form->Show();
    ASSERT_EQ(form->ActiveControl(), a);
    ui::test::Key(form, VK_DOWN);
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_TRUE(a->Keys.empty());  // the dialog took the arrow
    ui::test::Key(form, VK_DOWN);
    EXPECT_EQ(form->ActiveControl(), b);  // b keeps its arrows
    EXPECT_EQ(b->Keys, std::vector<WORD>{VK_DOWN});
    // Every control hears of each focus change, with the new focus.
    EXPECT_EQ(c->FocusNews, (std::vector<TControl*>{a, b}));
    form->Free();
}

TEST_F(InputTest, ContextPopupGoesToTheControlThenItsParent) {
    auto* form = new TForm(nullptr);
    auto* panel = new AccelButton(form, "p");
    panel->SetBounds(10, 10, 100, 60);
    panel->SetParent(form);
    auto* g = new TGraphicControl(form);
    g->SetBounds(20, 20, 30, 20);
    g->SetParent(panel);
    form->Show();
    std::vector<TPoint> onG, onPanel;
    bool handleOnG = false;
    g->OnContextPopup = [&](TObject*, TPoint p, bool& handled) {
        onG.push_back(p);
        handled = handleOnG;
    };
    panel->OnContextPopup = [&](TObject*, TPoint p, bool&) { onPanel.push_back(p); };
    ui::test::MouseDown(g, 5, 6, mbRight);
    ui::test::MouseUp(g, 5, 6, mbRight);
    EXPECT_EQ(onG, std::vector<TPoint>{Point(5, 6)});
    EXPECT_EQ(onPanel, std::vector<TPoint>{Point(25, 26)});  // unhandled: the parent's turn
    handleOnG = true;
    ui::test::MouseUp(g, 1, 1, mbRight);
    EXPECT_EQ(onPanel.size(), 1u);
    form->Free();
}

TEST_F(InputTest, MouseWheelGoesToTheFocusedControlThenUp) {
    auto* form = new TForm(nullptr);
    auto* a = new AccelButton(form, "a");
    a->SetParent(form);
    form->Show();
    std::vector<int> deltas;
    form->OnMouseWheel = [&](TObject* s, TShiftState, int delta, TPoint, bool& handled) {
        EXPECT_EQ(s, form);
        deltas.push_back(delta);
        handled = true;
    };
    EXPECT_EQ(a->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0), 1);
    EXPECT_EQ(deltas, std::vector<int>{-120});
    form->Free();
}

TEST_F(InputTest, ApplicationEventsComponentsShareTheIdleAndExceptionEvents) {
    auto* form = new TForm(nullptr);
    auto* events = new TApplicationEvents(form);
    int idles = 0;
    std::vector<String> errors;
    events->OnIdle = [&](TObject* s, bool& Done) {
        EXPECT_EQ(s, events);
        Done = ++idles >= 2;
    };
    events->OnException = [&](TObject*, Exception& e) { errors.push_back(e.Message()); };
    Application->ProcessMessages();
    ui::test::Pump(10);
    EXPECT_EQ(idles, 2);
    HWND h = AllocateHWnd([](TMessage& m) {
        if (m.Msg == WM_USER) throw ERangeError(String("Range check error"));
    });
    PostMessage(h, WM_USER, 0, 0);
    ui::test::Pump(10);
    EXPECT_EQ(errors, std::vector<String>{String("Range check error")});
    EXPECT_TRUE(ui::MessageBoxLog().empty());  // handled: no box
    DeallocateHWnd(h);
    int idlesBefore = idles;
    form->Free();  // the events component goes with its owner and hears nothing more
    PostMessage(Application->Handle(), WM_NULL, 0, 0);
    ui::test::Pump(10);
    EXPECT_EQ(idles, idlesBefore);
}

TEST_F(InputTest, FormPlacementAndConstraints) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(poScreenCenter);
    TRect work = Screen->WorkAreaRect();
    form->Show();
    EXPECT_EQ(form->Left(), work.Left + (work.Width() - 200) / 2);
    EXPECT_EQ(form->Top(), work.Top + (work.Height() - 100) / 2);
    form->SetConstraints({150, 0, 250, 0});
    form->SetWidth(1000);
    EXPECT_EQ(form->Width(), 250);
    form->SetWidth(10);
    EXPECT_EQ(form->Width(), 150);
    form->SetClientHeight(80);
    EXPECT_EQ(form->ClientHeight(), 80);
    form->Free();
}

TEST_F(InputTest, ScreenKeepsCustomCursorSlotsAndForms) {
    int before = Screen->FormCount();
    auto* f = new TForm(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 1);
    EXPECT_EQ(Screen->Forms(before), f);
    HANDLE custom = reinterpret_cast<HANDLE>(0x1234);
    Screen->SetCursors(99, custom);
    EXPECT_EQ(Screen->Cursors(99), custom);
    Screen->SetCursors(99, nullptr);
    EXPECT_NE(Screen->Cursors(99), custom);
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_GT(Screen->Width(), 0);
    f->Free();
    EXPECT_EQ(Screen->FormCount(), before);
}

namespace {

// Keeps every character it is given, as a memo would, and lets the dialog have Enter.
class CharLog : public ui::test::CharTaker {
public:
    explicit CharLog(TComponent* owner) : CharTaker(owner, 50) {}
    String Chars;

protected:
    void KeyPress(char16_t& key) override {
        Chars += key;
        CharTaker::KeyPress(key);
    }
};

// Takes Enter when the dialog offers it, as a default button does.
class DefaultTaker : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Taken = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_DIALOGKEY && m.WParam == VK_RETURN) {
            ++Taken;
            m.Result = 1;
            return;
        }
        TGraphicControl::Dispatch(m);
    }
};

}  // namespace

TEST_F(InputTest, KeysTakenByTheDialogOrAShortcutTypeNoCharacter) {
    auto* form = new TForm(nullptr);
    auto* log = new CharLog(form);
    log->SetParent(form);
    auto* def = new DefaultTaker(form);
    def->SetParent(form);
    int quits = 0;
    form->OnShortCut = [&](TMessage& m, bool& handled) {
        if (m.WParam == 'Q' && GetKeyState(VK_CONTROL) < 0) {
            ++quits;
            handled = true;
        }
    };
    form->Show();
    ui::test::Key(form, VK_RETURN);
    EXPECT_EQ(def->Taken, 1);
    ui::test::Key(form, 'Q', String(u"\x11"), {ssCtrl});
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(log->Chars, String());  // neither the Enter nor the Ctrl+Q reached it as a character
    ui::test::Key(form, VK_BACK);
    ui::test::Key(form, 'Q', String("q"));
    EXPECT_EQ(log->Chars, String(u"\bq"));
    EXPECT_EQ(quits, 1);
    form->Free();
}

namespace {

// Logs the enter and leave notifications it gets.
class EnterLeaveLog : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> Log;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) Log.push_back(m.Msg);
        TCustomControl::Dispatch(m);
    }
};

bool gEarlyStartRan = false;
[[maybe_unused]] const bool gEarlyStart = (ui::AddUnitStart([] { gEarlyStartRan = true; }), true);

}  // namespace

TEST_F(InputTest, ACapturedControlIsLeftWhenThePointerMovesOff) {
    TForm* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 100);
    auto* c = new EnterLeaveLog(form);
    c->SetBounds(10, 10, 50, 30);
    c->SetParent(form);
    form->Show();
    ui::test::Pump();
    ui::test::MouseMove(c, 5, 5);
    ui::test::MouseDown(c, 5, 5);  // captures
    ui::test::MouseMove(c, 120, 5, MK_LBUTTON);
    ui::test::MouseMove(c, 10, 5, MK_LBUTTON);
    ui::test::MouseUp(c, 120, 5);
    EXPECT_EQ(c->Log, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE, CM_MOUSEENTER, CM_MOUSELEAVE}));
    EXPECT_EQ(Application->MouseControl(), nullptr);
    form->Free();
}

TEST_F(InputTest, UnitStartsRunOnceAtInitialize) {
    EXPECT_TRUE(gEarlyStartRan);  // registered during static initialisation, run by the scope's Initialize
    int runs = 0;
    ui::AddUnitStart([&] { ++runs; });  // after start-up: at once
    EXPECT_EQ(runs, 1);
    Application->Initialize();
    EXPECT_EQ(runs, 1);
}
