// Button glyphs over look and state with visual styles on and off, the error underline and the
// layered-window calls.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/ui/FrameControls.h"
#include "platform/ui/Modules.h"
#include "platform/ui/NativePeers.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/ShownWindows.h"
#include "render/VarAvir.h"
#include "render/tests/DrawTestSupport.h"

namespace {

using render_test::kMarker;
using render_test::SamePixels;
using render_test::Sheet;

struct Glyphs : ::testing::Test {
    ui::test::AppScope scope;
    void TearDown() override { ui::sys::ResetAnswers(); }

    static TColorTones Tones() {
        TColorTones t;
        t.Background = {0x000011, 0x000012, 0x000013};
        t.Foreground = {0x000021, 0x000022, 0x000023};
        t.Selected = {0x000031, 0x000032, 0x000033};
        t.Hover = {0x000041, 0x000042, 0x000043};
        t.Disabled = {0x000051, 0x000052, 0x000053};
        return t;
    }
    static void Themed(TCanvas* c, const char16_t* cls, int part, int state, TRect r) {
        HTHEME theme = OpenThemeData(nullptr, cls);
        ASSERT_NE(theme, nullptr);
        DrawThemeBackground(theme, c->Handle(), part, state, &r, nullptr);
        CloseThemeData(theme);
    }
    static void Frame(TCanvas* c, UINT type, UINT state, TRect r) { DrawFrameControl(c->Handle(), &r, type, state); }
};

TEST_F(Glyphs, LooksZeroToTwoOverStatesAndVisualStyles) {
    // The rectangle (4, 4, 64, 26); the combo box's button is (45, 5, 62, 25), the spin box
    // (48, 3, 63, 25) split into (48, 3, 63, 14) and (48, 15, 63, 25).
    const TRect rect(4, 4, 64, 26), combo(45, 5, 62, 25), up(48, 3, 63, 14), down(48, 15, 63, 25);
    using Routine = void (*)(TCanvas*, HWND, const TRect&, const TColorTones&, int, int);
    const UINT pushFlags[4] = {0, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
    const int pushStates[4] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
    for (bool themes : {true, false}) {
        ui::sys::Answers().ThemeActive = themes;
        for (int style = 0; style < 3; ++style) {
            for (int state = 0; state < 4; ++state) {
                const bool disabled = state == 3, themed = style == 0 && themes;
                const UINT flat = style == 2 ? DFCS_FLAT : 0, inactive = disabled ? DFCS_INACTIVE : 0;
                const struct {
                    const char* name;
                    Routine routine;
                    std::function<void(TCanvas*)> expected;
                } cases[] = {
                    {"combo", DrawComboButton,
                     [&](TCanvas* c) {
                         if (themed)
                             Themed(c, u"combobox", CP_DROPDOWNBUTTON, disabled ? CBXS_DISABLED : CBXS_NORMAL, combo);
                         else
                             Frame(c, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | inactive | flat, combo);
                     }},
                    {"push", DrawPushButton,
                     [&](TCanvas* c) {
                         if (themed)
                             Themed(c, u"button", BP_PUSHBUTTON, pushStates[state], rect);
                         else
                             Frame(c, DFC_BUTTON, DFCS_BUTTONPUSH | pushFlags[state] | flat, rect);
                     }},
                    {"spin", DrawSpinButtons,
                     [&](TCanvas* c) {
                         if (themed) {
                             Themed(c, u"spin", SPNP_UP, disabled ? UPS_DISABLED : UPS_NORMAL, up);
                             Themed(c, u"spin", SPNP_DOWN, disabled ? DNS_DISABLED : DNS_NORMAL, down);
                         } else {
                             Frame(c, DFC_SCROLL, DFCS_SCROLLUP | inactive | flat, up);
                             Frame(c, DFC_SCROLL, DFCS_SCROLLDOWN | inactive | flat, down);
                         }
                     }},
                };
                for (const auto& c : cases) {
                    Sheet drawn(68, 30), expected(68, 30);
                    c.routine(drawn.Canvas(), nullptr, rect, Tones(), state, style);
                    c.expected(expected.Canvas());
                    EXPECT_TRUE(SamePixels(drawn, expected))
                        << c.name << " look " << style << " state " << state << (themes ? "" : " without styles");
                    EXPECT_FALSE(drawn.Where([](TColor p) { return p != kMarker; }).empty()) << c.name;
                }
            }
        }
    }
}

TEST_F(Glyphs, LookThreeTakesTheTones) {
    const TColorTones tones = Tones();
    const TColorTone* byState[4] = {&tones.Background, &tones.Hover, &tones.Selected, &tones.Disabled};
    for (int state = 0; state < 4; ++state) {
        SCOPED_TRACE(state);
        const TColorTone& tone = *byState[state];
        // Combo: the box (41, 1, 58, 19) of (0, 0, 60, 20), its left edge moved to 44.
        Sheet combo(62, 22);
        DrawComboButton(combo.Canvas(), nullptr, TRect(0, 0, 60, 20), tones, state, 3);
        EXPECT_EQ(combo.At(43, 10), kMarker);
        EXPECT_EQ(combo.At(44, 10), tone.BrushColor);
        EXPECT_EQ(combo.At(56, 3), tone.BrushColor);
        EXPECT_EQ(combo.At(57, 18), tone.BrushColor);
        EXPECT_EQ(combo.At(58, 10), kMarker);
        EXPECT_EQ(combo.At(45, 10), tones.Background.BorderColor);
        EXPECT_EQ(combo.At(45, 1), tones.Background.BorderColor);
        for (TPoint p : {TPoint(49, 9), TPoint(52, 9), TPoint(55, 9), TPoint(52, 11)})
            EXPECT_EQ(combo.At(p.X, p.Y), tones.Background.TextColor) << p.X << ", " << p.Y;

        Sheet push(42, 22);
        DrawPushButton(push.Canvas(), nullptr, TRect(0, 0, 40, 20), tones, state, 3);
        EXPECT_EQ(push.At(0, 0), tone.BorderColor);
        EXPECT_EQ(push.At(39, 19), tone.BorderColor);
        EXPECT_EQ(push.At(20, 10), tone.BrushColor);
        EXPECT_EQ(push.At(40, 10), kMarker);

        // Spin: the box (24, 1, 39, 23) of (0, 2, 40, 24), middle 12.
        Sheet spin(42, 26);
        DrawSpinButtons(spin.Canvas(), nullptr, TRect(0, 2, 40, 24), tones, state, 3);
        EXPECT_EQ(spin.At(24, 1), tone.BrushColor);
        EXPECT_EQ(spin.At(38, 11), tone.BrushColor);
        EXPECT_EQ(spin.At(26, 12), kMarker);
        EXPECT_EQ(spin.At(26, 13), tone.BrushColor);
        EXPECT_EQ(spin.At(38, 22), tone.BrushColor);
        EXPECT_EQ(spin.At(26, 0), kMarker);
        for (TPoint p : {TPoint(29, 6), TPoint(31, 4), TPoint(31, 5), TPoint(29, 14), TPoint(31, 16), TPoint(31, 15)})
            EXPECT_EQ(spin.At(p.X, p.Y), clBlack) << p.X << ", " << p.Y;
    }
}

struct ErrorUnderline : ui::test::FormTest {
    // The client position of a character in an edit shown at rect with text.
    TPoint ShownPosition(const TRect& rect, const String& text, int index) {
        auto* shown = Add<TEdit>(rect.Left, rect.Top);
        shown->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
        shown->SetText(text);
        form->Show();
        const LRESULT r = shown->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        shown->Free();
        return {static_cast<int16_t>(LOWORD(static_cast<DWORD>(r))), static_cast<int16_t>(HIWORD(static_cast<DWORD>(r)))};
    }
    // The zig-zag: from the start 3 pixels down, a vertex every 3 pixels alternately on and 3
    // below the end's line until the end's x, and one more.
    static std::vector<TPoint> ZigZag(const TRect& rect, int yOffset, TPoint from, TPoint to) {
        std::vector<TPoint> points{{rect.Left + from.X, rect.Top + from.Y + yOffset + 3}};
        bool down = false;
        int x = from.X;
        for (;; x += 3) {
            points.emplace_back(rect.Left + x + 3, rect.Top + to.Y + yOffset + (down ? 3 : 0));
            down = !down;
            if (x > to.X) break;
        }
        return points;
    }
};

TEST_F(ErrorUnderline, UnderTheCharactersAsAnEditLaysThemOut) {
    const TRect rect(10, 20, 210, 44);
    const String text = u"hello world";
    const TPoint start = ShownPosition(rect, text, 6), end = ShownPosition(rect, text, 10),
                 last = ShownPosition(rect, text, 10);
    ASSERT_LT(start.X, end.X);
    const int before = form->ComponentCount();
    const struct {
        int start, length;
        TPoint from, to;
    } cases[] = {
        {6, 5, start, end},
        {6, 50, start, TPoint(last.X + 4, start.Y)},  // past the text: 4 pixels after the last character
        {20, 3, TPoint(last.X + 4, last.Y), TPoint(last.X + 4, last.Y)},
    };
    for (const auto& c : cases) {
        Sheet drawn(240, 60), expected(240, 60);
        DrawErrorUnderline(form, drawn.Canvas(), text, rect, 2, c.start, c.length);
        expected.Canvas()->Pen()->SetColor(clRed);
        expected.Canvas()->Pen()->SetWidth(2);
        expected.Canvas()->Polyline(ZigZag(rect, 2, c.from, c.to));
        EXPECT_TRUE(SamePixels(drawn, expected)) << c.start << " + " << c.length;
        EXPECT_EQ(drawn.At(rect.Left + c.from.X, rect.Top + c.from.Y + 5), clRed);
    }
    EXPECT_EQ(form->ComponentCount(), before);  // the hidden edit is gone again

    Sheet nothing(240, 60);
    DrawErrorUnderline(form, nothing.Canvas(), text, rect, 2, 3, 0);
    DrawErrorUnderline(form, nothing.Canvas(), u"", rect, 2, 0, 3);
    EXPECT_TRUE(nothing.Where([](TColor p) { return p != kMarker; }).empty());
}

// The offscreen desktop shows translucency: the wrappers reach the layer's functions and answer
// what they answer. (Without translucency they find none: render/tests/fake.)
TEST(LayeredWindows, TheWrappersCallTheFunctionsWhereTheDesktopHasThem) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    HWND h = form->Handle();
    EXPECT_FALSE(DynSetLayeredWindowAttributes(h, 0, 200, LWA_ALPHA));  // not layered yet
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    EXPECT_TRUE(DynSetLayeredWindowAttributes(h, 0, 200, LWA_ALPHA));
    EXPECT_EQ(ui::test::ShownOpacity(h), 200);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    TPoint origin;
    TSize size(10, 10);
    EXPECT_FALSE(DynUpdateLayeredWindow(nullptr, nullptr, &origin, &size, nullptr, &origin, 0, &blend, ULW_ALPHA));
    form->Free();
}

}  // namespace
