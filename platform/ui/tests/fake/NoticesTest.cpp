// The notices controls get from the layer: the desktop's setting changes, showing changes, and
// the reading order with its DrawText flags.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// Counts the notices it gets, by message number.
template <class Base>
class Listener : public Base {
public:
    explicit Listener(TComponent* owner) : Base(owner) { this->SetBounds(0, 0, 30, 20); }
    std::map<UINT, int> Got;
    std::vector<bool> ShowingSeen;  // Showing() at each CM_SHOWINGCHANGED

protected:
    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
            case CM_SYSCOLORCHANGE: case CM_SYSFONTCHANGED: case WM_THEMECHANGED: ++Got[m.Msg]; break;
            case CM_SHOWINGCHANGED: ++Got[m.Msg], ShowingSeen.push_back(this->Showing()); break;
            default: break;
        }
        Base::Dispatch(m);
    }
};
using WindowedListener = Listener<TCustomControl>;
using GraphicListener = Listener<TGraphicControl>;

class NoticesTest : public ui::test::FormTest {
protected:
    void TearDown() override {
        ui::sys::ResetAnswers();
        FormTest::TearDown();
    }
};

TEST_F(NoticesTest, DesktopChangesReachEveryControlOfEveryForm) {
    auto* panel = Add<TPanel>();
    auto* control = new WindowedListener(form);
    control->SetParent(panel);
    auto* graphic = new GraphicListener(form);
    graphic->SetParent(panel);
    auto* other = new TForm(nullptr);
    auto* elsewhere = new WindowedListener(other);
    elsewhere->SetParent(other);
    form->Show();

    ui::test::ChangeDesktop(ui::DesktopChange::Fonts);
    EXPECT_EQ(control->Got[CM_SYSFONTCHANGED], 1);
    EXPECT_EQ(graphic->Got[CM_SYSFONTCHANGED], 1);
    EXPECT_EQ(elsewhere->Got[CM_SYSFONTCHANGED], 1);  // a form not shown hears of it too
    ui::test::ChangeDesktop(ui::DesktopChange::Colors);
    ui::test::ChangeDesktop(ui::DesktopChange::Style);
    for (auto* got : {&control->Got, &graphic->Got, &elsewhere->Got}) {
        EXPECT_EQ((*got)[CM_SYSCOLORCHANGE], 1);
        EXPECT_EQ((*got)[WM_THEMECHANGED], 1);
        EXPECT_EQ((*got)[CM_SYSFONTCHANGED], 1);
    }
    other->Free();
}

TEST_F(NoticesTest, ShowingChangesReachTheWindowedControlsThatShowOrHide) {
    auto* panel = Add<TPanel>();
    auto* control = new WindowedListener(form);
    control->SetParent(panel);
    auto* graphic = new GraphicListener(form);
    graphic->SetParent(panel);
    EXPECT_EQ(control->Got[CM_SHOWINGCHANGED], 0);  // nothing shows yet
    form->Show();
    EXPECT_EQ(control->ShowingSeen, std::vector<bool>{true});

    panel->Hide();
    EXPECT_EQ(control->ShowingSeen, (std::vector<bool>{true, false}));
    control->Hide();  // hidden inside a hidden panel: its showing does not change
    panel->Show();
    EXPECT_EQ(control->Got[CM_SHOWINGCHANGED], 2);
    control->Show();
    EXPECT_EQ(control->ShowingSeen, (std::vector<bool>{true, false, true}));

    // Moved onto a form that is not shown, and back.
    auto* hidden = new TForm(nullptr);
    control->SetParent(hidden);
    control->SetParent(panel);
    EXPECT_EQ(control->ShowingSeen, (std::vector<bool>{true, false, true, false, true}));
    form->Hide();
    EXPECT_EQ(control->ShowingSeen.back(), false);
    EXPECT_EQ(graphic->Got[CM_SHOWINGCHANGED], 0);  // windowed controls only
    hidden->Free();
}

TEST_F(NoticesTest, DrawTextFlagsFollowTheReadingOrder) {
    auto* control = Add<GraphicListener>();
    struct Case {
        bool middleEast;
        TBiDiMode mode;
        UINT in;
        UINT out;
    };
    const Case cases[] = {
        {false, bdRightToLeft, DT_LEFT, DT_LEFT},
        {false, bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT},
        {true, bdLeftToRight, DT_LEFT, DT_LEFT},
        {true, bdRightToLeft, DT_LEFT, DT_RIGHT | DT_RTLREADING},
        {true, bdRightToLeft, DT_RIGHT | DT_VCENTER, DT_LEFT | DT_VCENTER | DT_RTLREADING},
        {true, bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
        {true, bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
        {true, bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
    };
    for (const Case& c : cases) {
        SysLocale.MiddleEast = c.middleEast;
        control->SetBiDiMode(c.mode);
        EXPECT_EQ(control->DrawTextBiDiModeFlags(c.in), c.out) << c.middleEast << " " << c.mode << " " << c.in;
        EXPECT_EQ(control->UseRightToLeftReading(), c.middleEast && c.mode != bdLeftToRight);
        EXPECT_EQ(control->UseRightToLeftAlignment(), c.middleEast && c.mode == bdRightToLeft);
    }
    ui::sys::ResetAnswers();
    EXPECT_FALSE(SysLocale.MiddleEast);
}

TEST_F(NoticesTest, ParentBiDiModeFollowsTheParent) {
    auto* panel = Add<TPanel>();
    auto* child = new GraphicListener(form);
    child->SetParent(panel);
    EXPECT_TRUE(child->ParentBiDiMode());
    panel->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(child->ParentBiDiMode());
    auto* late = new GraphicListener(form);
    late->SetParent(panel);  // takes the mode as it joins
    EXPECT_EQ(late->BiDiMode(), bdRightToLeft);

    child->SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_FALSE(child->ParentBiDiMode());
    panel->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_EQ(late->BiDiMode(), bdLeftToRight);
    child->SetParentBiDiMode(true);
    EXPECT_EQ(child->BiDiMode(), bdLeftToRight);

    EXPECT_EQ(child->DragMode(), dmManual);
    child->SetDragMode(dmAutomatic);
    EXPECT_EQ(child->DragMode(), dmAutomatic);
}

}  // namespace
