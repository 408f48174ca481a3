// Window messages the components send each other and the layer sends them: the redraw switch,
// the pointer's look, the wheel asked of the parent, design hit tests, scaling and a replaced
// window procedure.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Cursors.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"
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

TEST_F(WindowMessagesTest, ScaleByScalesTheControlItsFontAndItsChildren) {
    auto* panel = Add<TPanel>(10, 20);
    panel->SetBounds(10, 20, 100, 50);
    panel->Font()->SetHeight(-13);  // its own font: ParentFont ends
    auto* button = NewComponent<TButton>(form);
    button->SetBounds(4, 6, 40, 20);
    button->SetParent(panel);
    auto* filler = NewComponent<TPanel>(form);
    filler->SetParent(panel);
    filler->SetAlign(alBottom);
    filler->SetHeight(10);
    form->Show();

    panel->ScaleBy(3, 2);
    EXPECT_EQ(panel->BoundsRect(), Bounds(15, 30, 150, 75));
    EXPECT_EQ(button->BoundsRect(), Bounds(6, 9, 60, 30));
    EXPECT_EQ(panel->Font()->Height(), -20);   // -19.5, half away from zero
    EXPECT_EQ(button->Font()->Height(), -20);  // taken from the parent, not scaled twice
    // Aligned once in the scaled panel, inside its one-pixel bevel.
    EXPECT_EQ(filler->BoundsRect(), TRect(1, 59, 149, 74));

    EXPECT_THROW(panel->ScaleBy(3, 0), EInvalidOperation);
    EXPECT_EQ(panel->BoundsRect(), Bounds(15, 30, 150, 75));
    EXPECT_EQ(button->BoundsRect(), Bounds(6, 9, 60, 30));
}

class ScaledGrid : public TDrawGrid {
public:
    using TDrawGrid::TDrawGrid;
    int WidthChanges = 0, HeightChanges = 0;

protected:
    void ColWidthsChanged() override {
        ++WidthChanges;
        TDrawGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override {
        ++HeightChanges;
        TDrawGrid::RowHeightsChanged();
    }
};

TEST_F(WindowMessagesTest, AGridScalesItsDefaultSizesAndEveryColumnAndRow) {
    auto* grid = Add<ScaledGrid>(0, 0);
    grid->SetDefaultRowHeight(22);
    grid->SetColWidths(1, 40);
    grid->SetColWidths(2, -1);  // hidden
    grid->SetRowHeights(3, 30);
    grid->WidthChanges = grid->HeightChanges = 0;
    grid->ScaleBy(3, 2);
    EXPECT_EQ(grid->DefaultRowHeight(), 33);
    EXPECT_EQ(grid->DefaultColWidth(), 96);
    EXPECT_EQ(grid->ColWidths(0), 96);
    EXPECT_EQ(grid->ColWidths(1), 60);
    EXPECT_EQ(grid->ColWidths(2), -1);
    EXPECT_EQ(grid->RowHeights(0), 33);
    EXPECT_EQ(grid->RowHeights(3), 45);
    EXPECT_EQ(grid->WidthChanges, 1);
    EXPECT_EQ(grid->HeightChanges, 1);
}

}  // namespace

// Notes the keys its own WndProc gets.
class KeyLog : public TCustomControl {
public:
    explicit KeyLog(TComponent* owner) : TCustomControl(owner) {
        SetBounds(0, 0, 50, 20);
        SetTabStop(true);
    }
    std::vector<std::string>* Log = nullptr;

    void WndProc(TMessage& m) override {
        if (m.Msg == WM_KEYDOWN) Log->push_back("WndProc " + std::to_string(m.WParam));
        TCustomControl::WndProc(m);
    }
};

// A component that hooks another control's window procedure, swallowing one key.
struct KeyHook {
    KeyHook(std::string name, std::vector<std::string>* log, WORD swallowed = 0)
        : Name(std::move(name)), Log(log), Swallowed(swallowed) {}
    std::string Name;
    std::vector<std::string>* Log;
    WORD Swallowed;
    TControl* Hooked = nullptr;
    TWndMethod Kept;
    std::function<void()> During;  // run inside the hook, before chaining

    void Install(TControl* c) {
        Hooked = c;
        Kept = c->WindowProc();
        c->SetWindowProc([this](TMessage& m) { Handle(m); });
    }
    void Handle(TMessage& m) {
        if (m.Msg == WM_KEYDOWN) {
            Log->push_back(Name + " " + std::to_string(m.WParam));
            if (During) During();
            if (m.WParam == Swallowed) return;
        }
        Kept(m);
    }
    void Restore() { Hooked->SetWindowProc(Kept); }
};

TEST_F(WindowMessagesTest, AHookedWindowProcSeesKeysFirstSwallowsOneAndChainsTheRest) {
    std::vector<std::string> log;
    auto* control = Add<KeyLog>(0, 0);
    control->Log = &log;
    form->Show();
    control->SetFocus();

    KeyHook first("first", &log, 'A');
    first.Install(control);
    ui::test::Key(control, 'A');
    ui::test::Key(control, 'B');
    control->Perform(WM_KEYDOWN, 'C', 0);
    SendMessage(control->Handle(), WM_KEYDOWN, 'D', 0);
    EXPECT_EQ(log, (std::vector<std::string>{"first 65", "first 66", "WndProc 66", "first 67", "WndProc 67", "first 68",
                                             "WndProc 68"}));

    // A second hook chains to the first, the first to WndProc.
    log.clear();
    KeyHook second("second", &log, 'B');
    second.Install(control);
    ui::test::Key(control, 'B');
    ui::test::Key(control, 'E');
    EXPECT_EQ(log, (std::vector<std::string>{"second 66", "second 69", "first 69", "WndProc 69"}));

    // Restored in reverse order, nothing hooks any more.
    second.Restore();
    first.Restore();
    log.clear();
    ui::test::Key(control, 'A');
    EXPECT_EQ(log, (std::vector<std::string>{"WndProc 65"}));

    // nullptr brings WndProc back too.
    first.Install(control);
    control->SetWindowProc(nullptr);
    log.clear();
    ui::test::Key(control, 'A');
    EXPECT_EQ(log, (std::vector<std::string>{"WndProc 65"}));
}

TEST_F(WindowMessagesTest, AHookThatRestoresTheKeptOneFromInsideItsOwnCallFinishesSafely) {
    std::vector<std::string> log;
    auto* control = Add<KeyLog>(0, 0);
    control->Log = &log;
    auto hook = std::make_unique<KeyHook>("hook", &log);
    hook->Install(control);
    // Restoring replaces the running procedure; the hook still chains with what it holds.
    hook->During = [&] { hook->Restore(); };
    control->Perform(WM_KEYDOWN, 'A', 0);
    control->Perform(WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(log, (std::vector<std::string>{"hook 65", "WndProc 65", "WndProc 66"}));
}

TEST_F(WindowMessagesTest, ADestroyedControlDropsItsHookBeforeTheMessagesOfItsEnd) {
    int heard = 0;
    auto* control = Add<KeyLog>(0, 0);
    form->Show();
    control->SetFocus();
    TWndMethod kept = control->WindowProc();
    // The hook counts what it hears; once the control starts to go it must hear nothing.
    control->SetWindowProc([&](TMessage& m) {
        EXPECT_FALSE(control->ComponentState().Contains(csDestroying)) << "message " << m.Msg;
        ++heard;
        kept(m);
    });
    control->Perform(WM_NULL, 0, 0);
    EXPECT_EQ(heard, 1);
    control->Free();  // focus leaves and the window goes: no message reaches the hook
    EXPECT_EQ(heard, 1);
}
