// The styled combo box: its button, its frame, the flat look, hover and focus, the list and
// the caption label.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "controls/styled/AdvCombo.h"
#include "controls/styled/LabelPlacement.h"
#include "controls/styled/tests/StyledTestSupport.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

using styled_test::ScopedAnswers;

namespace {

// Counts its paints.
class CountingCombo : public VIzeVadarEdu {
public:
    using VIzeVadarEdu::VIzeVadarEdu;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        VIzeVadarEdu::Paint();
    }
};

class ComboTest : public ui::test::FormTest {
protected:
    ScopedAnswers answers;
    VIzeVadarEdu* Combo(int left = 100, int top = 50, int width = 120, int height = 22) {
        auto* c = Add<VIzeVadarEdu>(left, top);
        c->SetBounds(left, top, width, height);
        return c;
    }
    void Show() {
        form->Show();
        ui::test::Pump();
    }
    // The combo's window pixel (x, y), frame included, as the form's picture shows it.
    ui::test::Picture Picture() {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("rwb_styled_combo_" + std::to_string(::getpid()) + ".png"))
                               .string();
        EXPECT_TRUE(ui::test::SaveToPng(form, path));
        ui::test::Picture pic;
        EXPECT_TRUE(ui::test::LoadPng(path, pic));
        if (std::getenv("RWB_RENDER_LOOK"))
            std::filesystem::copy_file(path, path + "." + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png",
                                       std::filesystem::copy_options::overwrite_existing);
        std::remove(path.c_str());
        return pic;
    }
    // Where the combo's window starts in the form's picture.
    TPoint Origin(TWinControl* c) {
        TRect client = form->ClientArea();
        return Point(client.Left + c->Left(), client.Top + c->Top());
    }
};

TEST_F(ComboTest, ButtonWidthVersionAndSelection) {
    auto* c = Combo();
    EXPECT_EQ(c->ButtonWidth(), 19);  // the scroll bar's 17 + 2
    for (int refused : {13, 33}) {
        c->SetButtonWidth(refused);
        EXPECT_EQ(c->ButtonWidth(), 19);
    }
    for (int taken : {14, 32}) {
        c->SetButtonWidth(taken);
        EXPECT_EQ(c->ButtonWidth(), taken);
    }
    c->SetVersion(u"2.0.0.0");
    EXPECT_EQ(c->Version(), String(u"1.4.0.0"));

    c->Items()->Add(u"@CH");
    c->Items()->Add(u"@DT");
    c->SelectItem(u"@DT");
    EXPECT_EQ(c->ItemIndex(), 1);
    c->SelectItem(u"@XX");
    EXPECT_EQ(c->ItemIndex(), 1);
}

TEST_F(ComboTest, TheListWidthAndItsNotices) {
    auto* c = Combo();
    c->SetDropWidth(0);
    EXPECT_EQ(c->DroppedWidth(), c->Width());
    c->SetDropWidth(300);
    EXPECT_EQ(c->DroppedWidth(), 300);
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH), 300);
    // Applied again after loading, over whatever the combo had meanwhile.
    c->Perform(CB_SETDROPPEDWIDTH, 150);
    c->Loaded();
    EXPECT_EQ(c->DroppedWidth(), 300);

    int drops = 0, ups = 0;
    c->OnDropDown = [&](TObject*) { ++drops; };
    c->OnDropUp = [&](TObject*) { ++ups; };
    Show();
    c->SetDroppedDown(true);
    c->SetDroppedDown(false);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(ups, 1);

    // The button shows the list's state: it is painted again as the list opens and closes.
    auto* counted = new CountingCombo(form);
    counted->SetBounds(10, 100, 120, 22);
    counted->SetParent(form);
    ui::test::Pump();
    for (bool down : {true, false}) {
        int before = counted->Paints;
        counted->SetDroppedDown(down);
        ui::test::Pump();
        EXPECT_GT(counted->Paints, before) << down;
    }
}

TEST_F(ComboTest, TheThemedButtonStates) {
    struct Case {
        bool enabled, held, hot, dropped;
        int state;
    };
    const Case cases[] = {
        {true, true, true, true, 3},   {true, true, false, true, 3}, {true, true, true, false, 1},
        {true, false, false, false, 1}, {true, false, true, true, 1}, {true, false, true, false, 2},
        {false, false, true, false, 4}, {false, true, true, true, 4},
    };
    for (const Case& k : cases)
        EXPECT_EQ(TAdvCustomCombo::ThemedButtonState(k.enabled, k.held, k.hot, k.dropped), k.state)
            << k.enabled << k.held << k.hot << k.dropped;
}

TEST_F(ComboTest, TheFrameDecision) {
    struct Case {
        const char* name;
        bool enabled, flat;
        TColor border, focusBorder;
        bool focused, themed, disabledBorder;
        bool draw, plain;
        TColor color;
    };
    const TColor N = clNone;
    const Case cases[] = {
        {"nothing set: nothing drawn", true, false, N, N, false, true, true, false, false, N},
        {"flat without colours: the plain frames", true, true, N, N, false, true, true, true, true, N},
        {"border colour", true, false, clSilver, N, false, true, true, true, false, clSilver},
        {"focus colour only while focused", true, false, clSilver, clRed, true, true, true, true, false, clRed},
        {"border colour while not focused", true, false, clSilver, clRed, false, true, true, true, false, clSilver},
        {"only a focus colour, unfocused: none", true, false, N, clRed, false, true, true, false, false, N},
        {"only a focus colour, focused", true, false, N, clRed, true, true, true, true, false, clRed},
        {"disabled, styled, no disabled border", false, false, clSilver, N, false, true, false, true, false, 0xB99D7F},
        {"disabled, styled, disabled border", false, false, clSilver, N, false, true, true, true, false, clSilver},
        {"disabled, classic", false, false, clSilver, N, false, false, false, true, false, clSilver},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        answers->ThemeActive = k.themed;
        auto* c = Combo();
        c->SetEnabled(k.enabled);
        c->SetFlat(k.flat);
        c->SetBorderColor(k.border);
        c->SetFocusBorderColor(k.focusBorder);
        c->SetDisabledBorder(k.disabledBorder);
        if (k.focused) c->Perform(CM_ENTER);
        TAdvCustomCombo::FrameChoice f = c->ChooseFrame();
        EXPECT_EQ(f.Draw, k.draw);
        if (k.draw) {
            EXPECT_EQ(f.Plain, k.plain);
            if (!k.plain) {
                EXPECT_EQ(f.Color, k.color);
            }
        }
        c->Free();
    }
}

TEST_F(ComboTest, TheInputLineIsASimpleComboInASilverRing) {
    form->SetColor(clWhite);
    auto* c = Combo(20, 20, 200, 22);
    c->SetStyle(csSimple);
    c->SetBorderColor(clSilver);
    c->SetDisabledBorder(false);
    c->SetButtonWidth(18);
    c->SetButtonColor(0x00FF00);  // would show, were a button drawn
    c->SetText(u"@DT05PPPPP");
    Show();
    ui::test::Picture pic = Picture();
    TPoint o = Origin(c);
    for (int x = 0; x < 200; x += 13) {
        EXPECT_EQ(pic.At(o.X + x, o.Y), 0xC0C0C0) << x;
        EXPECT_EQ(pic.At(o.X + x, o.Y + 21), 0xC0C0C0) << x;
    }
    for (int y = 0; y < 22; y += 3) {
        EXPECT_EQ(pic.At(o.X, o.Y + y), 0xC0C0C0) << y;
        EXPECT_EQ(pic.At(o.X + 199, o.Y + y), 0xC0C0C0) << y;
    }
    // No drop-down button of its own.
    int green = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 200; ++x) green += pic.At(o.X + x, o.Y + y) == 0x00FF00;
    EXPECT_EQ(green, 0);
}

TEST_F(ComboTest, ButtonsInCustomColoursAndClassic) {
    auto* c = Combo(20, 20, 120, 22);
    c->SetStyle(csDropDownList);
    c->SetButtonColor(0x00FF00);
    c->SetButtonColorHot(0x00FFFF);
    c->SetButtonBorderColor(0x000080);
    c->SetButtonTextColor(0xFF0000);
    Show();
    TRect client = c->ClientArea();
    const int cw = c->ClientWidth(), bw = c->ButtonWidth();
    // B: from cw - bw + 2, shrunk by 1, then left - 1, top + 1, bottom - 1, right - 1.
    const int bl = cw - bw + 2 + 1 - 1, bt = 1 + 1;
    ui::test::Picture pic = Picture();
    TPoint o = Origin(c);
    auto at = [&](int x, int y) { return pic.At(o.X + client.Left + x, o.Y + client.Top + y); };
    EXPECT_EQ(at(bl, bt + 3), 0x000080);          // its left edge
    EXPECT_EQ(at(bl + 2, bt + 2), 0x00FF00);      // the face
    EXPECT_EQ(at(bl + 7, bt + 8), 0xFF0000);      // inside the triangle
    EXPECT_EQ(at(bl + 4, bt + 7), 0xFF0000);      // its corners
    EXPECT_EQ(at(bl + 10, bt + 7), 0xFF0000);

    // Classic: the frame control's scroll arrow, flat when enabled, inactive when disabled (on
    // the combo's own route, which a border colour takes).
    answers->ThemeActive = false;
    c->SetButtonColor(clNone);
    c->SetBorderColor(clSilver);
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        c->SetEnabled(enabled);
        c->Invalidate();
        ui::test::Pump();
        ui::test::Picture shown = Picture();
        TBitmap ref(c->Width(), c->Height());
        TRect b = Rect(cw - bw + 2, 0, c->Width(), c->Height());
        InflateRect(b, -1, -1);
        DrawFrameControl(ref.Canvas()->Handle(), &b, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (enabled ? DFCS_FLAT : DFCS_INACTIVE));
        // The arrow: what the frame control draws inside its frame, other than the face.
        TRect inner = b;
        InflateRect(inner, -2, -2);
        int same = 0, total = 0;
        // (The button's edge, drawn in the window's frame coordinates, reaches the client's
        // last two columns and rows: they are left out.)
        for (int y = inner.Top; y < std::min(inner.Bottom, c->ClientHeight() - 2); ++y)
            for (int x = inner.Left; x < std::min(inner.Right, cw - 2); ++x) {
                int32_t want = ColorToRGB(ref.Canvas()->Pixels(x, y));
                if (want == ColorToRGB(clBtnFace)) continue;
                ++total;
                same += shown.At(o.X + client.Left + x, o.Y + client.Top + y) == want;
            }
        EXPECT_GT(total, 10);
        EXPECT_EQ(same, total);
    }
}

TEST_F(ComboTest, TheFlatLook) {
    form->SetColor(0x00E0E0);
    auto* c = Combo(20, 20, 120, 22);
    c->SetColor(clWhite);
    c->SetFlatLineColor(0x0000FF);
    c->SetFlat(true);
    EXPECT_FALSE(c->Ctl3D());
    EXPECT_EQ(c->Color(), TColor(0x00E0E0));  // the parent's
    Show();
    ui::test::Picture pic = Picture();
    TPoint o = Origin(c);
    // The underline on the last row, from the left to before the button.
    const int right = (c->Width() - 2) - c->ButtonWidth() - 1;
    EXPECT_EQ(pic.At(o.X + 0, o.Y + 21), 0x0000FF);
    EXPECT_EQ(pic.At(o.X + right - 1, o.Y + 21), 0x0000FF);
    EXPECT_NE(pic.At(o.X + right + 3, o.Y + 21), 0x0000FF);

    // Disabling keeps the colour aside and shows the parent's; enabling brings it back.
    c->SetColor(0x123456);
    c->SetEnabled(false);
    EXPECT_TRUE(c->ParentColor());
    c->SetEnabled(true);
    EXPECT_EQ(c->Color(), TColor(0x123456));
    EXPECT_FALSE(c->ParentColor());
}

TEST_F(ComboTest, HoverAndFocus) {
    auto* c = Combo(20, 20, 120, 22);
    auto* other = Combo(20, 60, 120, 22);
    Show();
    const int w = c->Width(), bw = c->ButtonWidth();
    struct Move {
        int x;
        bool hover;
    };
    for (Move m : {Move{w - bw, false}, Move{w - bw + 1, true}, Move{w - 1, true}, Move{10, false}}) {
        c->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(m.x, 5));
        EXPECT_EQ(c->ButtonHover(), m.hover) << m.x;
    }
    c->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(w - 2, 5));
    c->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(c->MouseInControl());
    c->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(c->MouseInControl());
    EXPECT_FALSE(c->ButtonHover());

    // Focus colour and bold label while focused; the colour Init recorded comes back.
    c->SetColor(clWhite);
    c->Init();
    c->SetFocusColor(0xCCFFFF);
    c->SetFocusLabel(true);
    c->SetLabelCaption(u"ｺﾏﾝﾄﾞ");
    other->SetFocus();  // the form gave the first combo the focus as it showed
    ui::test::Pump();
    c->SetFocus();
    ui::test::Pump();
    EXPECT_TRUE(c->HasFocus());
    EXPECT_EQ(c->Color(), TColor(0xCCFFFF));
    EXPECT_TRUE(c->ComboLabel()->Font()->Style().Contains(fsBold));
    other->SetFocus();
    ui::test::Pump();
    EXPECT_FALSE(c->HasFocus());
    EXPECT_EQ(c->Color(), clWhite);
    EXPECT_FALSE(c->ComboLabel()->Font()->Style().Contains(fsBold));

    // AutoFocus takes the focus on entering only while the form is the active window.
    other->SetAutoFocus(true);
    c->SetFocus();
    auto* front = new TForm(nullptr);
    front->Show();
    ui::test::Pump();
    ASSERT_FALSE(form->Active());
    other->Perform(CM_MOUSEENTER);
    EXPECT_NE(form->ActiveControl(), other);
    other->Perform(CM_MOUSELEAVE);
    front->Free();
    form->SetFocus();
    ui::test::Pump();
    ASSERT_TRUE(form->Active());
    other->Perform(CM_MOUSEENTER);
    ui::test::Pump();
    EXPECT_TRUE(other->Focused());
}

TEST_F(ComboTest, TheCaptionLabel) {
    auto* c = Combo(100, 50, 120, 21);
    EXPECT_EQ(c->ComboLabel(), nullptr);
    c->LabelFont()->SetName(u"Arial");
    c->SetParentFont(false);
    c->LabelFont()->SetName(u"Arial");
    c->SetLabelCaption(u"Port");
    TLabel* label = c->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(label->FocusControl(), c);
    EXPECT_EQ(c->LabelPosition(), AdvCombo::lpLeftTop);
    EXPECT_EQ(c->LabelMargin(), 4);
    const int w = styled::AttachedLabelTextWidth(u"Port", label->Font());
    EXPECT_EQ(label->Top(), 50);
    EXPECT_EQ(label->Left(), 100 - w - 4);

    for (int p = 0; p < 13; ++p) {
        c->SetLabelPosition(static_cast<AdvCombo::TLabelPosition>(p));
        TPoint want = styled::AttachedLabelPos(p, c->BoundsRect(), TSize(label->Width(), label->Height()), w, 4);
        EXPECT_EQ(Point(label->Left(), label->Top()), want) << p;
    }
    c->SetLabelPosition(AdvCombo::lpTopLeft);
    c->SetBounds(30, 80, 120, 21);
    EXPECT_EQ(label->Left(), 30);
    EXPECT_EQ(label->Top(), 80 - label->Height() - 4);

    c->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    c->SetVisible(true);
    EXPECT_TRUE(label->Visible());
    c->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    c->SetEnabled(true);
    c->SetLabelAlwaysEnabled(true);
    c->SetEnabled(false);
    EXPECT_TRUE(label->Enabled());
}

TEST_F(ComboTest, TheInputLinesEventsStillFire) {
    auto* c = Combo(20, 20, 200, 22);
    c->SetStyle(csSimple);
    c->SetBorderColor(clSilver);
    Show();
    int changes = 0, enters = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    c->OnKeyPress = [&](TObject*, char16_t& key) {
        if (key == u'\r') ++enters;
    };
    c->SetFocus();
    ui::test::TypeText(c, u"@CH");
    ui::test::Key(c, VK_RETURN);
    ui::test::Pump();
    EXPECT_EQ(c->Text(), String(u"@CH"));
    EXPECT_GE(changes, 3);
    EXPECT_EQ(enters, 1);
}

}  // namespace
