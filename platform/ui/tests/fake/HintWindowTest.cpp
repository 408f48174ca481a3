// The hint window: shown without the activation, activated on request with a control inside it
// that takes the focus, owned by its parent's form, sized from its corner.
#include <gtest/gtest.h>

#include "platform/ui/HintWindow.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

using ui::test::CharTaker;

// Records the focus messages it gets, with the other window of each.
class FocusLog : public CharTaker {
public:
    explicit FocusLog(TComponent* owner) : CharTaker(owner) {}
    std::vector<std::pair<UINT, HWND>> Log;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_KILLFOCUS || m.Msg == WM_SETFOCUS) Log.emplace_back(m.Msg, reinterpret_cast<HWND>(m.WParam));
        CharTaker::WndProc(m);
    }
};

// A list shown in a hint window, as an edit's lookup list is: activated, it gives the focus to
// its list; deactivated, it hides; its bottom-right 10 x 10 pixels are a sizing corner.
class ListHint : public THintWindow {
public:
    explicit ListHint(TComponent* owner) : THintWindow(owner), List(new FocusLog(this)) {
        List->SetParent(this);
        List->SetAlign(alClient);
    }
    FocusLog* List;
    std::vector<std::pair<WPARAM, HWND>> Activations;

protected:
    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
            case WM_ACTIVATE:
                THintWindow::Dispatch(m);
                Activations.emplace_back(m.WParam, reinterpret_cast<HWND>(m.LParam));
                if (m.WParam != WA_INACTIVE) {
                    if (List->CanFocus()) List->SetFocus();
                } else {
                    Hide();
                }
                return;
            case WM_NCHITTEST: {
                TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
                m.Result = p.X >= ClientWidth() - 10 && p.Y >= ClientHeight() - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
                return;
            }
            default: THintWindow::Dispatch(m); return;
        }
    }
};

class HintWindowTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        edit = Add<FocusLog>(10, 10);
        form->Show();
        ASSERT_EQ(GetFocus(), edit->Handle());
    }
    FocusLog* edit = nullptr;
};

TEST_F(HintWindowTest, ActivateHintShowsTopmostWithoutTakingActivationOrFocus) {
    auto* hint = new THintWindow(form);
    hint->ActivateHint(Bounds(400, 300, 120, 20), String("abc"));
    EXPECT_TRUE(hint->Visible());
    EXPECT_TRUE(hint->Showing());
    EXPECT_EQ(hint->Caption(), String("abc"));
    TRect r;
    GetWindowRect(hint->Handle(), &r);
    EXPECT_EQ(r, Bounds(400, 300, 120, 20));
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_TRUE(form->Active());
    auto kind = hint->Peer()->Kind();
    EXPECT_TRUE(kind.TopLevel);
    EXPECT_TRUE(kind.StaysOnTop);
    EXPECT_TRUE(kind.Frameless);
    EXPECT_TRUE(kind.Tool);
    EXPECT_TRUE(kind.Shadow);
    EXPECT_NE(GetClassLong(hint->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    // The 1-pixel border is the window's own frame.
    EXPECT_EQ(hint->ClientRect(), TRect(0, 0, 118, 18));
    // A press on it activates nothing.
    ui::test::MouseDown(hint, 5, 5);
    ui::test::MouseUp(hint, 5, 5);
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    // Kept on the screen.
    hint->ActivateHint(Bounds(1000, 760, 120, 20), String("abc"));
    EXPECT_EQ(hint->BoundsRect(), Bounds(1024 - 120, 768 - 20, 120, 20));
    hint->ReleaseHandle();
    EXPECT_FALSE(hint->HandleAllocated());
    EXPECT_FALSE(hint->Visible());
}

TEST_F(HintWindowTest, ActivatedListTakesTheFocusAndAClickOnTheFormHidesIt) {
    auto* hint = new ListHint(form);
    hint->SetParent(edit);
    hint->SetBounds(50, 60, 100, 80);
    hint->Show();
    EXPECT_EQ(GetParent(hint->Handle()), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    edit->Log.clear();

    EXPECT_TRUE(SetForegroundWindow(hint->Handle()));
    EXPECT_EQ(GetActiveWindow(), hint->Handle());
    EXPECT_EQ(GetFocus(), hint->List->Handle());
    ASSERT_EQ(edit->Log.size(), 1u);
    EXPECT_EQ(edit->Log[0], std::make_pair(WM_KILLFOCUS, hint->List->Handle()));
    EXPECT_EQ(hint->List->Log.back(), std::make_pair(WM_SETFOCUS, edit->Handle()));
    EXPECT_FALSE(form->Active());
    ASSERT_EQ(hint->Activations.size(), 1u);
    EXPECT_EQ(hint->Activations[0], std::make_pair(WA_ACTIVE, form->Handle()));
    // Keys go to the list while it has the focus.
    ui::test::Key(hint->List, 'X', String("x"));
    EXPECT_TRUE(hint->List->Focused());

    // A click on the edit's form takes the activation back; the hint sees WA_INACTIVE and hides.
    ui::test::MouseDown(form, 200, 200);
    ui::test::MouseUp(form, 200, 200);
    ASSERT_EQ(hint->Activations.size(), 2u);
    EXPECT_EQ(hint->Activations[1], std::make_pair(WA_INACTIVE, form->Handle()));
    EXPECT_FALSE(hint->Visible());
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(HintWindowTest, CornerDragResizesTheList) {
    auto* hint = new ListHint(form);
    hint->SetParent(edit);
    hint->SetBounds(50, 60, 100, 80);
    hint->List->SetAlign(alNone);
    hint->List->SetBounds(0, 0, 60, 40);
    hint->Show();
    ui::test::MouseDown(hint, 95, 75);
    ui::test::MouseMove(hint, 125, 95, MK_LBUTTON);
    ui::test::MouseUp(hint, 125, 95);
    EXPECT_EQ(hint->BoundsRect(), Bounds(50, 60, 130, 100));
    // Elsewhere its surface takes no press and activates nothing.
    ui::test::MouseDown(hint, 80, 10);
    ui::test::MouseUp(hint, 80, 10);
    EXPECT_EQ(hint->BoundsRect(), Bounds(50, 60, 130, 100));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(HintWindowTest, ParentChangesMakeTheWindowAgainForItsOwner) {
    auto* hint = new THintWindow(form);
    hint->ActivateHint(Bounds(10, 10, 50, 20), String("x"));
    EXPECT_EQ(GetParent(hint->Handle()), nullptr);
    hint->SetParent(edit);
    EXPECT_TRUE(hint->Showing());
    EXPECT_EQ(GetParent(hint->Handle()), form->Handle());
    EXPECT_EQ(hint->Peer()->Kind().Owner, form->Peer());
    // Hidden with its owner.
    form->Hide();
    EXPECT_FALSE(hint->Showing());
    hint->SetParent(nullptr);
    EXPECT_FALSE(hint->HandleAllocated() && GetParent(hint->Handle()) != nullptr);
}

}  // namespace
