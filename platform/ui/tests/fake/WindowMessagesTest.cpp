// Window messages the components send each other and the layer sends them: the redraw switch,
// the pointer's look, the wheel asked of the parent, design hit tests, scaling and a replaced
// window procedure.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Cursors.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

namespace {

class WindowMessagesTest : public ui::test::FormTest {};

// Counts its paint passes.
class Counted : public TCustomControl {
public:
    explicit Counted(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 100, 80); }
    int Paints = 0;

protected:
    void Paint() override { ++Paints; }
};

TEST_F(WindowMessagesTest, RedrawOffKeepsTheWindowAndItsChildrenUnpaintedWhileInvalidationsAccumulate) {
    auto* outer = Add<Counted>(0, 0);
    auto* inner = NewComponent<Counted>(form);
    inner->SetBounds(5, 5, 20, 20);
    inner->SetParent(outer);
    form->Show();
    ui::test::Pump();
    int outerPaints = outer->Paints, innerPaints = inner->Paints;

    SendMessage(outer->Handle(), WM_SETREDRAW, FALSE_, 0);
    SendMessage(outer->Handle(), WM_SETREDRAW, FALSE_, 0);  // not counted: one TRUE_ resumes
    TRect a(10, 10, 20, 20), b(50, 40, 60, 70);
    InvalidateRect(outer->Handle(), &a, TRUE_);
    InvalidateRect(outer->Handle(), &b, TRUE_);
    inner->Invalidate();
    ui::test::Pump();
    outer->Update();
    EXPECT_EQ(outer->Paints, outerPaints);
    EXPECT_EQ(inner->Paints, innerPaints);
    TRect pending;
    ASSERT_TRUE(GetUpdateRect(outer->Handle(), &pending, FALSE_));
    EXPECT_EQ(pending, TRect(10, 10, 60, 70));

    // TRUE_ invalidates nothing; the sender's Invalidate then paints once, the gathered part with it.
    SendMessage(outer->Handle(), WM_SETREDRAW, TRUE_, 0);
    outer->Invalidate();
    ui::test::Pump();
    EXPECT_EQ(outer->Paints, outerPaints + 1);
    EXPECT_EQ(inner->Paints, innerPaints + 1);
    EXPECT_FALSE(GetUpdateRect(outer->Handle(), &pending, FALSE_));
}

// A window that counts the WM_SETCURSOR it gets and lets a handler answer it first.
class Pointed : public TCustomControl {
public:
    explicit Pointed(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 100, 80); }
    int Asked = 0;
    std::function<bool(TMessage&)> OnSetCursor;  // true: the handler answered

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_SETCURSOR) {
            ++Asked;
            if (OnSetCursor && OnSetCursor(m)) return;
        }
        TCustomControl::Dispatch(m);
    }
};

// A borderless form whose bottom-right 10 x 10 pixels are a sizing corner.
class GripForm : public TForm {
public:
    explicit GripForm(TComponent* owner) : TForm(owner, 0) { SetBorderStyle(bsNone); }

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_NCHITTEST) {
            TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            m.Result = p.X >= Width() - 10 && p.Y >= Height() - 10 ? HTBOTTOMRIGHT : HTCLIENT;
            return;
        }
        TForm::Dispatch(m);
    }
};

TCursor ShapeOn(TWinControl* window) { return ui::fake::WindowOf(window)->Cursor.Shape; }

TCursor ShownShape() {
    ui::CursorInfo info;
    return ui::GetCursorInfo(GetCursor(), info) ? info.Shape : crNone;
}

struct CursorCase {
    const char* name;
    std::function<void(Pointed* parent, Pointed* child, TGraphicControl* graphic)> arrange;
    bool overGraphic;
    bool onParent;  // the parent's window shows the pointer (a graphic child), not the child's
    TCursor shown;
    int parentAsked;  // the child's default handling asks the parent
};

TEST_F(WindowMessagesTest, TheWindowUnderThePointerChoosesItsLookParentFirst) {
    auto crossAndTrue = [](TMessage& m) {
        ::SetCursor(LoadCursor(0, IDC_CROSS));
        m.Result = TRUE_;
        return true;
    };
    const CursorCase cases[] = {
        {"no handler: the control's Cursor", [](Pointed*, Pointed*, TGraphicControl*) {}, false, false, crSizeAll, 1},
        {"a handler showing the cross", [&](Pointed*, Pointed* c, TGraphicControl*) { c->OnSetCursor = crossAndTrue; },
         false, false, crCross, 0},
        {"the parent answering TRUE", [&](Pointed* p, Pointed*, TGraphicControl*) { p->OnSetCursor = crossAndTrue; },
         false, false, crCross, 1},
        {"a graphic child's cursor", [](Pointed*, Pointed*, TGraphicControl*) {}, true, true, crHandPoint, 1},
        {"Screen->Cursor wins", [](Pointed*, Pointed*, TGraphicControl*) { Screen->SetCursor(crHourGlass); }, false,
         false, crHourGlass, 1},
    };
    form->Show();
    for (const CursorCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* parent = Add<Pointed>(0, 0);
        parent->SetBounds(0, 0, 200, 150);
        parent->SetCursor(crIBeam);
        auto* child = NewComponent<Pointed>(form);
        child->SetBounds(10, 10, 60, 40);
        child->SetCursor(crSizeAll);
        child->SetParent(parent);
        auto* graphic = NewComponent<TShape>(form);
        graphic->SetBounds(100, 100, 20, 20);
        graphic->SetCursor(crHandPoint);
        graphic->SetParent(parent);
        c.arrange(parent, child, graphic);
        if (c.overGraphic) ui::test::MouseMove(graphic, 5, 5);
        else ui::test::MouseMove(child, 5, 5);
        EXPECT_EQ(ShownShape(), c.shown);
        EXPECT_EQ(ShapeOn(c.onParent ? parent : static_cast<TWinControl*>(child)), c.shown);
        // The window under the pointer is asked; its parent only through its default handling.
        EXPECT_EQ(child->Asked, c.overGraphic ? 0 : 1);
        EXPECT_EQ(parent->Asked, c.parentAsked);
        Screen->SetCursor(crDefault);
        parent->Free();
    }
}

TEST_F(WindowMessagesTest, ASizingBorderShowsTheSizeCursorAndTheClientAreaTheWindowsOwnAgain) {
    auto* grip = new GripForm(nullptr);
    grip->SetBounds(100, 100, 200, 150);
    grip->SetCursor(crUpArrow);
    grip->Show();
    ui::test::MouseMove(grip, 195, 145);
    EXPECT_EQ(ShapeOn(grip), crSizeNWSE);
    ui::test::MouseMove(grip, 50, 50);
    EXPECT_EQ(ShapeOn(grip), crUpArrow);
    grip->Free();
}

TEST_F(WindowMessagesTest, MovesUnderTheCaptureAskNoWindowForTheCursor) {
    auto* holder = Add<Pointed>(0, 0);
    auto* other = Add<Pointed>(150, 0);
    form->Show();
    holder->SetMouseCapture(true);
    ui::test::MouseMove(other, 5, 5);
    ui::test::MouseMove(holder, 5, 5);
    EXPECT_EQ(holder->Asked + other->Asked, 0);
    holder->SetMouseCapture(false);
    ui::test::MouseMove(other, 6, 6);
    EXPECT_EQ(other->Asked, 1);
}

TEST_F(WindowMessagesTest, SetCursorAnswersThePreviousOneAndShowsNoneForNilOrAStaleHandle) {
    auto* w = Add<Pointed>(0, 0);
    form->Show();
    ui::test::MouseMove(w, 5, 5);  // the pointer is over w
    HCURSOR cross = LoadCursor(0, IDC_CROSS), hand = LoadCursor(0, IDC_HAND);
    ::SetCursor(cross);
    EXPECT_EQ(::SetCursor(hand), cross);
    EXPECT_EQ(ShapeOn(w), crHandPoint);
    DestroyCursor(cross);
    EXPECT_EQ(::SetCursor(cross), hand);  // stale: nothing shows
    EXPECT_EQ(ShapeOn(w), crNone);
    EXPECT_EQ(GetCursor(), nullptr);
    ::SetCursor(hand);
    EXPECT_EQ(::SetCursor(nullptr), hand);
    EXPECT_EQ(ShapeOn(w), crNone);
    DestroyCursor(hand);
}

// Asks its parent with CM_MOUSEWHEEL before it handles a wheel itself.
class AsksParentFirst : public TCustomControl {
public:
    explicit AsksParentFirst(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 50, 50); }

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_MOUSEWHEEL && Parent()->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam) != 0) {
            m.Result = 1;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

TEST_F(WindowMessagesTest, AChildMayAskItsParentForTheWheelFirstAndAnUnhandledWheelGoesUpOnce) {
    auto* panel = Add<TPanel>(0, 0);
    auto* asking = NewComponent<AsksParentFirst>(form);
    asking->SetParent(panel);
    auto* plain = NewComponent<Counted>(form);
    plain->SetParent(panel);
    int panelWheels = 0, askingWheels = 0, plainWheels = 0;
    bool panelHandles = true;
    panel->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
        ++panelWheels;
        handled = panelHandles;
    };
    asking->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
        ++askingWheels;
        handled = true;
    };
    plain->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++plainWheels; };
    form->Show();
    WPARAM notch = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));

    EXPECT_EQ(panel->Perform(CM_MOUSEWHEEL, notch, 0), 1);
    EXPECT_EQ(asking->Perform(WM_MOUSEWHEEL, notch, 0), 1);
    EXPECT_EQ(panelWheels, 2);
    EXPECT_EQ(askingWheels, 0);  // the parent took it

    panelHandles = false;
    panelWheels = 0;
    EXPECT_EQ(plain->Perform(CM_MOUSEWHEEL, notch, 0), 0);  // answered, not passed on
    EXPECT_EQ(panelWheels, 0);
    plain->Perform(WM_MOUSEWHEEL, notch, 0);
    EXPECT_EQ(plainWheels, 2);
    EXPECT_EQ(panelWheels, 1);
}

// Notes the design hit tests it is asked and the presses it gets; answers Claim to the tests.
class Designed : public TCustomControl {
public:
    explicit Designed(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 60, 40); }
    std::vector<TPoint> Asked;
    int Presses = 0;
    LRESULT Claim = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_DESIGNHITTEST) {
            Asked.push_back(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            if (Claim) {
                m.Result = Claim;
                return;
            }
        }
        if (m.Msg == WM_LBUTTONDOWN) ++Presses;
        TCustomControl::Dispatch(m);
    }
};

TEST_F(WindowMessagesTest, InDesignStateTheDesignHitTestDecidesWhetherTheControlGetsTheMouse) {
    auto* designed = Add<Designed>(20, 20);
    form->Show();
    ui::test::Click(designed, 7, 9);
    EXPECT_TRUE(designed->Asked.empty());  // never at run time
    EXPECT_EQ(designed->Presses, 1);

    designed->SetDesigning(true);
    ui::test::Click(designed, 7, 9);  // the default answer 0: the designer's, and there is none
    EXPECT_EQ(designed->Presses, 1);
    ASSERT_FALSE(designed->Asked.empty());
    EXPECT_EQ(designed->Asked.back(), TPoint(7, 9));

    designed->Claim = 1;
    ui::test::Click(designed, 3, 4);
    EXPECT_EQ(designed->Presses, 2);
    EXPECT_EQ(designed->Asked.back(), TPoint(3, 4));
}

}  // namespace
