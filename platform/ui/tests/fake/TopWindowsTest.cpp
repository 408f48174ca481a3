// Top-level windows: the activation and the focus across windows, owned borderless pop-ups, the
// owner chain, window classes, SetWindowPos and the user's sizing loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/InputGrab.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

using ui::test::CharTaker;

// What the windows of a test were told, in order: "A activate 0 P" is WM_ACTIVATE(WA_INACTIVE)
// to A with P as the other window.
std::vector<std::string> gLog;

std::string NameOf(HWND h);

// A window that logs its activation and focus messages under its name.
template <class Base>
class Logged : public Base {
public:
    template <class... A>
    explicit Logged(std::string name, A&&... args) : Base(std::forward<A>(args)...), Name(std::move(name)) {}
    std::string Name;

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case WM_ACTIVATE:
                gLog.push_back(Name + " activate " + std::to_string(m.WParam) + " " + NameOf(reinterpret_cast<HWND>(m.LParam)));
                break;
            case WM_NCACTIVATE: gLog.push_back(Name + " ncactivate " + std::to_string(m.WParam)); break;
            case WM_KILLFOCUS: gLog.push_back(Name + " killfocus " + NameOf(reinterpret_cast<HWND>(m.WParam))); break;
            case WM_SETFOCUS: gLog.push_back(Name + " setfocus " + NameOf(reinterpret_cast<HWND>(m.WParam))); break;
            default: break;
        }
        Base::WndProc(m);
    }
};

std::string NameOf(HWND h) {
    if (!h) return "0";
    TWinControl* w = FindControl(h);
    if (auto* f = dynamic_cast<Logged<TForm>*>(w)) return f->Name;
    if (auto* c = dynamic_cast<Logged<CharTaker>*>(w)) return c->Name;
    return "?";
}

// A borderless, topmost form owned by another form's window: what a drop-down opens.
class PopupForm : public Logged<TForm> {
public:
    PopupForm(std::string name, TCustomForm* owner) : Logged<TForm>(std::move(name), owner, 0), FOwnerForm(owner) {
        SetBorderStyle(bsNone);
    }

protected:
    void CreateParams(TCreateParams& Params) override {
        Logged<TForm>::CreateParams(Params);
        Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
        if (FOwnerForm) Params.WndParent = FOwnerForm->Handle();
    }

private:
    TCustomForm* FOwnerForm;
};

class TopWindowsTest : public ui::test::AppTest {
protected:
    void SetUp() override { gLog.clear(); }
    void TearDown() override {
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) (*it)->Free();
    }
    template <class F, class... A>
    F* Make(A&&... args) {
        auto* f = new F(std::forward<A>(args)...);
        f->SetBounds(100 * static_cast<int>(forms.size()), 0, 200, 150);
        forms.push_back(f);
        return f;
    }
    Logged<TForm>* MakeForm(const std::string& name) { return Make<Logged<TForm>>(name, nullptr); }
    Logged<CharTaker>* AddTo(TWinControl* parent, const std::string& name) {
        auto* c = new Logged<CharTaker>(name, parent);
        c->SetParent(parent);
        return c;
    }
    std::vector<TCustomForm*> forms;
};

TEST_F(TopWindowsTest, ActivationPassesWithTheOtherWindowNamed) {
    auto* a = MakeForm("A");
    auto* b = MakeForm("B");
    auto* button = AddTo(b, "b1");
    b->Show();
    a->Show();
    auto* p = Make<PopupForm>("P", a);
    gLog.clear();
    p->Show();
    EXPECT_EQ(gLog, (std::vector<std::string>{"A ncactivate 0", "A activate 0 P", "P ncactivate 1", "P activate 1 A",
                                               "A killfocus P", "P setfocus A"}));
    EXPECT_FALSE(a->Active());
    EXPECT_TRUE(p->Active());
    EXPECT_EQ(GetActiveWindow(), p->Handle());
    EXPECT_EQ(GetFocus(), p->Handle());

    // A press on a control of form B: the press activates B, WA_CLICKACTIVE.
    gLog.clear();
    ui::test::MouseDown(button, 5, 5);
    ui::test::MouseUp(button, 5, 5);
    ASSERT_GE(gLog.size(), 4u);
    EXPECT_EQ(gLog[0], "P ncactivate 0");
    EXPECT_EQ(gLog[1], "P activate 0 B");
    EXPECT_EQ(gLog[2], "B ncactivate 1");
    EXPECT_EQ(gLog[3], "B activate 2 P");
    EXPECT_EQ(Screen->ActiveForm(), b);
    EXPECT_EQ(GetFocus(), button->Handle());
    EXPECT_TRUE(button->Focused());

    // A window owned by P: the owner chain leads back to P and on to A.
    auto* w = Make<PopupForm>("W", p);
    w->Show();
    std::vector<HWND> chain;
    for (HWND h = GetParent(w->Handle()); h; h = GetParent(h)) chain.push_back(h);
    EXPECT_EQ(chain, (std::vector<HWND>{p->Handle(), a->Handle()}));
    EXPECT_EQ(GetWindow(w->Handle(), GW_OWNER), p->Handle());
    EXPECT_EQ(GetAncestor(w->Handle(), GA_ROOTOWNER), a->Handle());
    EXPECT_EQ(GetAncestor(button->Handle(), GA_ROOT), b->Handle());
    EXPECT_EQ(GetAncestor(button->Handle(), GA_PARENT), b->Handle());
    EXPECT_EQ(GetAncestor(w->Handle(), GA_PARENT), nullptr);
    EXPECT_EQ(GetWindow(button->Handle(), GW_OWNER), nullptr);
}

TEST_F(TopWindowsTest, FocusMovesBetweenWindowsNamingEachOther) {
    auto* a = MakeForm("A");
    auto* a1 = AddTo(a, "a1");
    auto* b = MakeForm("B");
    auto* b1 = AddTo(b, "b1");
    auto* b2 = AddTo(b, "b2");
    b->Show();
    a->Show();
    EXPECT_EQ(GetFocus(), a1->Handle());
    gLog.clear();
    b2->SetFocus();
    EXPECT_EQ(gLog, (std::vector<std::string>{"A ncactivate 0", "A activate 0 B", "B ncactivate 1", "B activate 1 A",
                                               "a1 killfocus b1", "b1 setfocus a1", "b1 killfocus b2", "b2 setfocus b1"}));
    EXPECT_EQ(GetFocus(), b2->Handle());
    EXPECT_TRUE(b2->Focused());
    EXPECT_FALSE(a1->Focused());
    // SetFocus by handle activates the other window and answers the one that had the focus.
    gLog.clear();
    EXPECT_EQ(SetFocus(a1->Handle()), b2->Handle());
    EXPECT_EQ(GetFocus(), a1->Handle());
    EXPECT_EQ(gLog.back(), "a1 setfocus b2");
    EXPECT_TRUE(a->Active());
    EXPECT_TRUE(a->CaptionActive());
    EXPECT_FALSE(b->CaptionActive());
    // Hidden windows take no focus.
    b->Hide();
    EXPECT_EQ(SetFocus(b1->Handle()), nullptr);
    EXPECT_EQ(GetFocus(), a1->Handle());
}

TEST_F(TopWindowsTest, SetActiveAndForegroundWindowActivateTheTopLevelWindow) {
    auto* a = MakeForm("A");
    auto* a1 = AddTo(a, "a1");
    auto* b = MakeForm("B");
    a->Show();
    b->Show();
    EXPECT_EQ(SetActiveWindow(a1->Handle()), b->Handle());  // a child stands for its window
    EXPECT_EQ(GetActiveWindow(), a->Handle());
    EXPECT_EQ(GetFocus(), a1->Handle());
    EXPECT_TRUE(SetForegroundWindow(b->Handle()));
    EXPECT_EQ(GetForegroundWindow(), b->Handle());
    EXPECT_FALSE(SetForegroundWindow(nullptr));
    EXPECT_EQ(SetActiveWindow(reinterpret_cast<HWND>(uintptr_t{0x1234})), nullptr);
    EXPECT_EQ(GetActiveWindow(), b->Handle());
}

TEST_F(TopWindowsTest, OwnedBorderlessPopupIsFramelessTopmostAndFollowsItsOwner) {
    auto* a = MakeForm("A");
    a->Show();
    auto* p = Make<PopupForm>("P", a);
    p->SetBounds(300, 200, 120, 80);
    p->Show();
    EXPECT_EQ(p->ClientRect(), TRect(0, 0, 120, 80));
    EXPECT_EQ(p->ClientOrigin(), TPoint(300, 200));
    auto kind = p->Peer()->Kind();
    EXPECT_TRUE(kind.TopLevel);
    EXPECT_TRUE(kind.Frameless);
    EXPECT_TRUE(kind.StaysOnTop);
    EXPECT_EQ(kind.Owner, a->Peer());
    EXPECT_NE(GetWindowLong(p->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLong(p->Handle(), GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_EQ(GetParent(p->Handle()), a->Handle());

    EXPECT_TRUE(IsWindowVisible(p->Handle()));
    a->Hide();
    EXPECT_FALSE(ui::fake::WindowOf(p)->Visible);
    EXPECT_TRUE(p->Visible());
    EXPECT_FALSE(IsWindowVisible(p->Handle()));  // hidden with its owner
    a->Show();
    EXPECT_TRUE(ui::fake::WindowOf(p)->Visible);
    EXPECT_TRUE(IsWindowVisible(p->Handle()));
    p->Hide();
    EXPECT_FALSE(IsWindowVisible(p->Handle()));
    p->Show();
    // The owner's window going takes the pop-up's with it; the pop-up makes it again, owned by
    // the owner's new window, when it is next needed.
    HWND old = p->Handle();
    a->RecreateWnd();
    EXPECT_FALSE(p->HandleAllocated());
    EXPECT_EQ(FindControl(old), nullptr);
    EXPECT_EQ(GetParent(p->Handle()), a->Handle());
    EXPECT_EQ(p->Peer()->Kind().Owner, a->Peer());
}

TEST_F(TopWindowsTest, AnotherProgramTakingTheActivationDeactivatesWithoutAWindow) {
    auto* a = MakeForm("A");
    auto* a1 = AddTo(a, "a1");
    a->Show();
    auto* p = Make<PopupForm>("P", a);
    p->Show();
    gLog.clear();
    ui::GetBackend().Windows().ApplicationActivated(false);
    EXPECT_EQ(gLog, (std::vector<std::string>{"P ncactivate 0", "P activate 0 0", "P killfocus 0"}));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    // Back: the pop-up again; had it gone meanwhile, its owner.
    ui::GetBackend().Windows().ApplicationActivated(true);
    EXPECT_EQ(GetActiveWindow(), p->Handle());
    ui::GetBackend().Windows().ApplicationActivated(false);
    p->Hide();
    ui::GetBackend().Windows().ApplicationActivated(true);
    EXPECT_EQ(GetActiveWindow(), a->Handle());
    EXPECT_EQ(GetFocus(), a1->Handle());
}

TEST_F(TopWindowsTest, HidingTheActivePopupHandsTheActivationToItsOwner) {
    auto* a = MakeForm("A");
    auto* b = MakeForm("B");
    a->Show();
    b->Show();
    auto* p = Make<PopupForm>("P", a);
    p->Show();
    gLog.clear();
    p->Hide();
    EXPECT_EQ(GetActiveWindow(), a->Handle());
    EXPECT_EQ(gLog[1], "P activate 0 A");
}

TEST_F(TopWindowsTest, SetWindowPosOrdersShowsSizesAndActivates) {
    auto* a = MakeForm("A");
    a->Show();
    auto* p = Make<PopupForm>("P", a);
    int shows = 0, hides = 0, closes = 0;
    p->OnShow = [&](TObject*) { ++shows; };
    p->OnHide = [&](TObject*) { ++hides; };
    p->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    p->SetBounds(50, 60, 0, 0);
    SetWindowPos(p->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(GetActiveWindow(), a->Handle());
    EXPECT_EQ(shows, 1);
    // No flags: move, size, the topmost layer and the activation in one call.
    SetWindowPos(p->Handle(), HWND_TOPMOST, 70, 80, 150, 90, 0);
    EXPECT_EQ(p->BoundsRect(), Bounds(70, 80, 150, 90));
    EXPECT_EQ(ui::fake::WindowOf(p)->Bounds, Bounds(70, 80, 150, 90));
    EXPECT_EQ(GetActiveWindow(), p->Handle());
    SetWindowPos(p->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindowLong(p->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(p->Peer()->Kind().StaysOnTop);
    SetWindowPos(p->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(p->Peer()->Kind().StaysOnTop);
    p->Close();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(hides, 1);
    EXPECT_FALSE(p->Visible());
}

TEST_F(TopWindowsTest, ShowWindowShowsHidesAndActivatesOnlyWhenAsked) {
    auto* a = MakeForm("A");
    auto* a1 = AddTo(a, "a1");
    auto* a2 = AddTo(a, "a2");
    a->Show();
    auto* p = Make<PopupForm>("P", a);
    p->HandleNeeded();
    ASSERT_EQ(GetFocus(), a1->Handle());
    struct Step {
        TWinControl* window;
        int cmd;
        BOOL answer;  // visible before
        bool visible;
        TWinControl* active;
        TWinControl* focus;
    };
    const Step steps[] = {
        {a2, SW_HIDE, TRUE_, false, a, a1},
        {a2, SW_HIDE, FALSE_, false, a, a1},
        {p, SW_SHOWNOACTIVATE, FALSE_, true, a, a1},
        {p, SW_SHOWNA, TRUE_, true, a, a1},
        {p, SW_SHOW, TRUE_, true, p, p},
        {p, SW_HIDE, TRUE_, false, a, a1},  // the owner takes the activation back
        {p, SW_SHOWNA, FALSE_, true, a, a1},
        {p, SW_SHOWNORMAL, TRUE_, true, p, p},
        {a2, SW_SHOWNA, FALSE_, true, p, p},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << NameOf(s.window->Handle()) << " command " << s.cmd);
        EXPECT_EQ(ShowWindow(s.window->Handle(), s.cmd), s.answer);
        EXPECT_EQ(s.window->Visible(), s.visible);
        EXPECT_EQ(IsWindowVisible(s.window->Handle()), s.visible ? TRUE_ : FALSE_);
        EXPECT_EQ(GetActiveWindow(), s.active->Handle());
        EXPECT_EQ(GetFocus(), s.focus->Handle());
        EXPECT_EQ(Screen->ActiveForm(), s.active);
    }

    // Another command, or no window: refused, and nothing changes.
    gLog.clear();
    for (int cmd : {-1, 2, 3, 6, 9, 11}) {
        SetLastError(0);
        EXPECT_EQ(ShowWindow(p->Handle(), cmd), FALSE_) << cmd;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << cmd;
        EXPECT_TRUE(p->Visible()) << cmd;
    }
    SetLastError(0);
    EXPECT_EQ(ShowWindow(reinterpret_cast<HWND>(uintptr_t{0x1234}), SW_HIDE), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    HWND gone = a2->Handle();
    a2->Free();
    SetLastError(0);
    EXPECT_EQ(ShowWindow(gone, SW_SHOW), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_TRUE(gLog.empty());
    EXPECT_EQ(GetActiveWindow(), p->Handle());
}

// A pop-up of its own window class whose class style the test reads and writes.
class ShadowPopup : public TForm {
public:
    explicit ShadowPopup(TComponent* owner) : TForm(owner, 0) { SetBorderStyle(bsNone); }

protected:
    void CreateParams(TCreateParams& Params) override {
        TForm::CreateParams(Params);
        Params.WinClassName = String("TestShadowPopup");
    }
};

TEST_F(TopWindowsTest, ClassStyleBelongsToTheClassAndReachesEveryWindowOfIt) {
    auto* one = Make<ShadowPopup>(nullptr);
    auto* two = Make<ShadowPopup>(nullptr);
    auto* other = MakeForm("O");
    one->HandleNeeded();
    two->HandleNeeded();
    other->HandleNeeded();
    DWORD style = GetClassLong(one->Handle(), GCL_STYLE);
    EXPECT_EQ(style & CS_DROPSHADOW, 0u);
    EXPECT_FALSE(one->Peer()->Kind().Shadow);
    EXPECT_EQ(SetClassLong(one->Handle(), GCL_STYLE, static_cast<LONG>(style | CS_DROPSHADOW)), style);
    EXPECT_EQ(GetClassLong(two->Handle(), GCL_STYLE), style | CS_DROPSHADOW);
    EXPECT_TRUE(one->Peer()->Kind().Shadow);
    EXPECT_TRUE(two->Peer()->Kind().Shadow);
    EXPECT_EQ(GetClassLong(other->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    EXPECT_FALSE(other->Peer()->Kind().Shadow);
    // A window of the class made later takes the class's style.
    auto* three = Make<ShadowPopup>(nullptr);
    three->HandleNeeded();
    EXPECT_TRUE(three->Peer()->Kind().Shadow);
    SetClassLong(three->Handle(), GCL_STYLE, static_cast<LONG>(style));
    EXPECT_FALSE(one->Peer()->Kind().Shadow);
    EXPECT_EQ(GetClassLong(one->Handle(), GWL_STYLE), 0u);
    EXPECT_EQ(GetClassLong(nullptr, GCL_STYLE), 0u);
}

// A form with a 10 x 10 sizing corner at the bottom right and no surface of its own elsewhere,
// as a pop-up with a size grip answers.
class GripForm : public TForm {
public:
    explicit GripForm(TComponent* owner) : TForm(owner, 0) { SetBorderStyle(bsNone); }
    std::vector<std::string> Log;
    std::function<void(TRect&)> OnSizingRect;

protected:
    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
            case WM_NCHITTEST: {
                TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
                m.Result = p.X >= Width() - 10 && p.Y >= Height() - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
                return;
            }
            case WM_SIZING: {
                auto* r = reinterpret_cast<TRect*>(m.LParam);
                Log.push_back("sizing " + std::to_string(m.WParam) + " " + std::to_string(r->Width()) + "x" +
                              std::to_string(r->Height()));
                if (OnSizingRect) OnSizingRect(*r);
                break;
            }
            case WM_SIZE: Log.push_back("size " + std::to_string(Width()) + "x" + std::to_string(Height())); break;
            case WM_LBUTTONDOWN: Log.push_back("press"); break;
            default: break;
        }
        TForm::Dispatch(m);
    }
};

// A child that starts the sizing loop of its form from its own press, as a footer's grip does.
class GripChild : public CharTaker {
public:
    explicit GripChild(TComponent* owner) : CharTaker(owner) {}
    int Presses = 0;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        ++Presses;
        ReleaseCapture();
        SendMessage(Parent()->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
    }
};

TEST_F(TopWindowsTest, DragFromTheSizingCornerResizesWithinConstraints) {
    auto* f = Make<GripForm>(nullptr);
    f->SetBounds(100, 100, 200, 150);
    f->Show();
    ui::test::MouseDown(f, 195, 145);
    f->Log.clear();
    ui::test::MouseMove(f, 215, 155, MK_LBUTTON);
    ui::test::MouseMove(f, 225, 165, MK_LBUTTON);
    ui::test::MouseUp(f, 225, 165);
    EXPECT_EQ(f->Width(), 230);
    EXPECT_EQ(f->Height(), 170);
    EXPECT_EQ(f->Left(), 100);
    ASSERT_GE(f->Log.size(), 4u);
    EXPECT_EQ(f->Log[0], "sizing 8 220x160");
    EXPECT_EQ(f->Log[1], "size 220x160");
    EXPECT_EQ(f->Log[2], "sizing 8 230x170");
    EXPECT_EQ(f->Log[3], "size 230x170");
    EXPECT_EQ(ui::CurrentInputGrab(), nullptr);

    // A WM_SIZING handler's rectangle wins; the constraints hold when dragging smaller.
    f->OnSizingRect = [](TRect& r) { r.Right = r.Left + 100 * ((r.Width() + 50) / 100); };
    ui::test::MouseDown(f, 225, 165);
    ui::test::MouseMove(f, 255, 165, MK_LBUTTON);
    ui::test::MouseUp(f, 255, 165);
    EXPECT_EQ(f->Width(), 300);
    f->OnSizingRect = nullptr;
    f->Constraints().MinWidth = 80;
    f->Constraints().MinHeight = 50;
    ui::test::MouseDown(f, 295, 165);
    ui::test::MouseMove(f, 0, 0, MK_LBUTTON);
    ui::test::MouseUp(f, 0, 0);
    EXPECT_EQ(f->Width(), 80);
    EXPECT_EQ(f->Height(), 50);
    EXPECT_EQ(f->Left(), 100);
}

TEST_F(TopWindowsTest, NowhereTakesNoPressAChildStillDoesAndCanStartTheLoop) {
    auto* f = Make<GripForm>(nullptr);
    f->SetBounds(100, 100, 200, 150);
    auto* child = new GripChild(f);
    child->SetParent(f);
    child->SetBounds(10, 10, 50, 20);
    f->Show();
    f->Log.clear();
    ui::test::MouseDown(f, 100, 100);
    ui::test::MouseUp(f, 100, 100);
    EXPECT_TRUE(f->Log.empty());
    // The child's press hands the drag to the form's sizing loop, at the pointer's place.
    ui::test::MouseDown(child, 5, 5);
    EXPECT_EQ(child->Presses, 1);
    ui::test::MouseMove(child, 35, 25, MK_LBUTTON);
    ui::test::MouseUp(child, 35, 25);
    EXPECT_EQ(f->Width(), 230);
    EXPECT_EQ(f->Height(), 170);
    EXPECT_EQ(f->Log.front(), "sizing 8 230x170");
}

TEST_F(TopWindowsTest, EscapeEndsTheLoopWithTheStartSize) {
    auto* f = Make<GripForm>(nullptr);
    f->SetBounds(100, 100, 200, 150);
    f->Show();
    ui::test::MouseDown(f, 195, 145);
    ui::test::MouseMove(f, 215, 155, MK_LBUTTON);
    EXPECT_EQ(f->Width(), 220);
    ui::test::Key(f, VK_ESCAPE);
    EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 200, 150));
    EXPECT_EQ(ui::CurrentInputGrab(), nullptr);
}

}  // namespace
