// The flat combo: what it adds to the styled combo it is built on (the platform's painting with
// IsVista, the label positions that place nothing, Etched not drawn) and the behaviour the
// grid's editors rely on.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "controls/styled/LabelPlacement.h"
#include "grid/AsgCombo.h"
#include "platform/ui/NativeCtrls.h"
#include "grid/tests/EditorPictures.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class AsgComboTest : public ui::test::FormTest {
protected:
    void TearDown() override {
        ui::sys::ResetAnswers();
        FormTest::TearDown();
    }
    ui::test::Picture Render(const char* name) { return editor_test::Render(form, name); }
    int32_t At(const ui::test::Picture& pic, TWinControl* c, int x, int y) { return editor_test::WindowAt(form, pic, c, x, y); }
    // Pixels that differ between the windows a and b; any outside the drop button counts 1000.
    int Differences(const ui::test::Picture& pic, TWinControl* a, TWinControl* b) {
        int n = 0;
        for (int y = 0; y < a->Height(); ++y)
            for (int x = 0; x < a->Width(); ++x)
                if (At(pic, a, x, y) != At(pic, b, x, y)) n += x >= a->Width() - 19 - 2 ? 1 : 1000;
        return n;
    }
};

TEST_F(AsgComboTest, DefaultsWidthsAndSelection) {
    auto* c = Add<TAsgComboBox>(50, 40);
    EXPECT_EQ(c->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    for (int refused : {13, 33}) {
        c->SetButtonWidth(refused);
        EXPECT_EQ(c->ButtonWidth(), 19);
    }
    for (int taken : {14, 32}) {
        c->SetButtonWidth(taken);
        EXPECT_EQ(c->ButtonWidth(), taken);
    }
    EXPECT_EQ(c->FlatLineColor(), clNone);
    EXPECT_TRUE(c->DisabledBorder());

    c->Items()->Add(u"a");
    c->Items()->Add(u"b");
    c->SelectItem(u"b");
    c->SelectItem(u"zz");
    EXPECT_EQ(c->ItemIndex(), 1);

    c->SetDropWidth(150);
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH), 150);
    c->Perform(CB_SETDROPPEDWIDTH, 90);
    c->Loaded();
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH), 150);

    int ups = 0;
    c->OnDropUp = [&](TObject*) { ++ups; };
    form->Show();
    ui::test::Pump();
    c->SetDroppedDown(true);
    c->SetDroppedDown(false);
    EXPECT_EQ(ups, 1);
}

TEST_F(AsgComboTest, LabelPositions) {
    auto* c = Add<TAsgComboBox>(50, 40);
    c->SetBounds(50, 40, 100, 21);
    c->SetLabelCaption(u"Name");
    c->SetLabelMargin(4);
    TLabel* label = c->ComboLabel();
    ASSERT_NE(label, nullptr);
    for (int pos = AsgCombo::lpLeftTop; pos <= AsgCombo::lpRighBottom; ++pos) {
        c->SetLabelPosition(static_cast<AsgCombo::TLabelPosition>(pos));
        TPoint want = styled::AttachedLabelPos(pos, c->BoundsRect(), TSize(label->Width(), label->Height()),
                                               styled::AttachedLabelTextWidth(label->Caption(), label->Font()), 4);
        EXPECT_EQ(Point(label->Left(), label->Top()), want) << pos;
    }
    // The two right-hand positions place nothing.
    c->SetLabelPosition(AsgCombo::lpTopCenter);
    TPoint before(label->Left(), label->Top());
    for (auto pos : {AsgCombo::lpTopRight, AsgCombo::lpBottomRight}) {
        c->SetLabelPosition(pos);
        EXPECT_EQ(c->LabelPosition(), pos);
        EXPECT_EQ(Point(label->Left(), label->Top()), before);
        c->SetBounds(60, 45, 100, 21);
        EXPECT_EQ(Point(label->Left(), label->Top()), before);
        c->SetBounds(50, 40, 100, 21);
    }

    // FocusLabel: bold while focused.
    c->SetFocusLabel(true);
    auto* other = Add<TAsgComboBox>(50, 120);
    form->Show();
    c->SetFocus();
    ui::test::Pump();
    EXPECT_TRUE(label->Font()->Style().Contains(fsBold));
    other->SetFocus();
    ui::test::Pump();
    EXPECT_FALSE(label->Font()->Style().Contains(fsBold));
}

TEST_F(AsgComboTest, PaintingRoutes) {
    // All colours none, not flat, enabled: the platform combo's pixels.
    auto* plain = Add<TComboBox>(10, 10);
    plain->SetBounds(10, 10, 100, 22);
    auto* asg = Add<TAsgComboBox>(10, 50);
    asg->SetBounds(10, 50, 100, 22);
    // IsVista without a button colour: the platform paints even when flat...
    auto* plainFlat = Add<TComboBox>(150, 10);
    plainFlat->SetBounds(150, 10, 100, 22);
    plainFlat->SetCtl3D(false);
    auto* vista = Add<TAsgComboBox>(150, 50);
    vista->SetBounds(150, 50, 100, 22);
    vista->SetFlat(true);
    vista->SetColor(plainFlat->Color());
    vista->SetIsVista(true);
    auto* focus = Add<TComboBox>(10, 150);
    form->Show();
    focus->SetFocus();
    ui::test::Pump();
    auto pic = Render("routes");
    // The same picture, but for the anti-aliased corners of the native button, which the
    // owner-painted road blends over its own background: at most 2 a corner.
    EXPECT_LE(Differences(pic, asg, plain), 8);
    EXPECT_LE(Differences(pic, vista, plainFlat), 8);

    // ... and a border colour is the only frame it adds.
    vista->SetBorderColor(clRed);
    ui::test::Pump();
    pic = Render("vista_border");
    EXPECT_EQ(At(pic, vista, 0, 0), static_cast<int32_t>(clRed));
    EXPECT_EQ(At(pic, vista, vista->Width() - 1, vista->Height() / 2), static_cast<int32_t>(clRed));

    // Not IsVista, flat with a line colour: the underline under the text part.
    asg->SetFlat(true);
    asg->SetFlatLineColor(clBlue);
    ui::test::Pump();
    pic = Render("flatline");
    EXPECT_EQ(At(pic, asg, 10, asg->Height() - 1), static_cast<int32_t>(clBlue));

    // A coloured button with its arrow.
    asg->SetButtonColor(clYellow);
    asg->SetButtonTextColor(clBlack);
    asg->SetButtonBorderColor(clGreen);
    ui::test::Pump();
    pic = Render("button");
    int L = asg->ClientWidth() - asg->ButtonWidth() + 2 + 1 - 1;
    int T = 1 + 1;
    EXPECT_EQ(At(pic, asg, L + 7, T + 8), static_cast<int32_t>(clBlack));
    EXPECT_EQ(At(pic, asg, L + 2, T + 3), static_cast<int32_t>(clYellow));
}

TEST_F(AsgComboTest, FocusColourAndDisabledFrame) {
    auto* c = Add<TAsgComboBox>(10, 10);
    auto* other = Add<TAsgComboBox>(10, 60);
    c->SetColor(clWhite);
    c->Init();
    c->SetFocusColor(clAqua);
    form->Show();
    c->SetFocus();
    ui::test::Pump();
    EXPECT_EQ(c->Color(), clAqua);
    other->SetFocus();
    ui::test::Pump();
    EXPECT_EQ(c->Color(), clWhite);

    c->SetDisabledBorder(false);
    c->SetEnabled(false);
    ui::test::Pump();
    auto pic = Render("disabled");
    EXPECT_EQ(At(pic, c, 0, 0), 0xB99D7F);
}

}  // namespace
