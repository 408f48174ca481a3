// Embedded controls of HTML-formatted text, with visual styles on and off: where each type draws
// its parts, the line heights and layout sizes they take, and what a hit on one reports.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/FrameControls.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "render/tests/HtmlRenderSupport.h"

namespace {

using render_test::HtmlCall;
using render_test::RecordingSheet;

struct ThemeScope {
    explicit ThemeScope(bool on) {
        ui::sys::Answers().ThemeActive = on;
        DetectWinXP();
    }
    ~ThemeScope() { ui::sys::ResetAnswers(); }
};

// A part as the renderer should draw it: themed when styles are on, else the classic frame control.
void Part(TCanvas* c, bool themed, const char16_t* cls, int part, int state, TRect r, UINT type, UINT classic) {
    if (themed) {
        HTHEME theme = OpenThemeData(nullptr, cls);
        DrawThemeBackground(theme, c->Handle(), part, state, &r, nullptr);
        CloseThemeData(theme);
    } else {
        DrawFrameControl(c->Handle(), &r, type, classic);
    }
}

void Box(TCanvas* c, bool themed, int x, int b, int s, int w) {
    c->Pen()->SetColor(themed ? TColor(0xB99D7F) : TColor(0x808080));
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(clWhite);
    c->Rectangle(x, b - s + 4, x + w, b + 2);
}

struct ControlCase {
    const char16_t* tag;
    int lineHeight;  // before the line takes the larger of it, the text and the layout height
    int layoutW, layoutH;  // -1: the WIDTH and the text height + 10
    // Draws what the renderer should, at x with text bottom b (mouse over the control when hot).
    void (*expected)(TCanvas* c, bool themed, int x, int b, bool hot, bool down);
};

const ControlCase kCases[] = {
    {u"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\">", 16, 16, 16,
     [](TCanvas* c, bool themed, int x, int b, bool, bool) {
         Part(c, themed, u"button", BP_CHECKBOX, CBS_CHECKEDNORMAL, TRect(x + 2, b - 15, x + 15, b), DFC_BUTTON,
              DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED);
     }},
    {u"<CONTROL TYPE=\"check\" ID=\"c1\" VALUE=\"no\">", 16, 16, 16,
     [](TCanvas* c, bool themed, int x, int b, bool, bool) {
         Part(c, themed, u"button", BP_CHECKBOX, CBS_UNCHECKEDNORMAL, TRect(x + 2, b - 15, x + 15, b), DFC_BUTTON,
              DFCS_BUTTONCHECK | DFCS_FLAT);
     }},
    {u"<CONTROL TYPE=\"RADIO\" ID=\"c1\" VALUE=\"TRUE\">", 16, 16, 16,
     [](TCanvas* c, bool themed, int x, int b, bool, bool) {
         Part(c, themed, u"button", BP_RADIOBUTTON, RBS_CHECKEDNORMAL, TRect(x + 2, b - 14, x + 14, b), DFC_BUTTON,
              DFCS_BUTTONRADIO | DFCS_FLAT | DFCS_CHECKED);
     }},
    {u"<CONTROL TYPE=\"EDIT\" ID=\"c1\" WIDTH=\"50\">", 23, -1, -1,
     [](TCanvas* c, bool themed, int x, int b, bool, bool) { Box(c, themed, x, b, 23, 50); }},
    {u"<CONTROL TYPE=\"COMBO\" ID=\"c1\" WIDTH=\"60\">", 23, 60, 25,
     [](TCanvas* c, bool themed, int x, int b, bool hot, bool) {
         Box(c, themed, x, b, 23, 60);
         Part(c, themed, u"combobox", CP_DROPDOWNBUTTON, hot ? CBXS_HOT : CBXS_NORMAL,
              TRect(x + 60 - 18, b - 23 + 5, x + 60 - 1, b + 1), DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
     }},
    {u"<CONTROL TYPE=\"BUTTON\" ID=\"c1\" WIDTH=\"60\">", 23, 60, 25,
     [](TCanvas* c, bool themed, int x, int b, bool hot, bool down) {
         Part(c, themed, u"button", BP_PUSHBUTTON, hot && down ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL,
              TRect(x + 2, b - 25, x + 58, b), DFC_BUTTON, DFCS_BUTTONPUSH | (hot && down ? DFCS_PUSHED : 0));
     }},
    {u"<CONTROL TYPE=\"BUTTON\" ID=\"c1\" WIDTH=\"60\" HEIGHT=\"40\">", 38, 60, 25,
     [](TCanvas* c, bool themed, int x, int b, bool hot, bool down) {
         Part(c, themed, u"button", BP_PUSHBUTTON, hot && down ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL,
              TRect(x + 2, b - 40, x + 58, b), DFC_BUTTON, DFCS_BUTTONPUSH | (hot && down ? DFCS_PUSHED : 0));
     }},
    // A HEIGHT that does not read is 25.
    {u"<CONTROL TYPE=\"BUTTON\" ID=\"c1\" WIDTH=\"60\" HEIGHT=\"tall\">", 23, 60, 25,
     [](TCanvas* c, bool themed, int x, int b, bool hot, bool down) {
         Part(c, themed, u"button", BP_PUSHBUTTON, hot && down ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL,
              TRect(x + 2, b - 25, x + 58, b), DFC_BUTTON, DFCS_BUTTONPUSH | (hot && down ? DFCS_PUSHED : 0));
     }},
};

TEST(HtmlControls, EachTypeDrawsItsPartsWhereItSaysAndTakesItsRoom) {
    for (bool themed : {false, true}) {
        ThemeScope scope(themed);
        for (const ControlCase& c : kCases) {
            for (int variant = 0; variant < 3; ++variant) {  // at rest, hot, hot and pressed
                SCOPED_TRACE(String(c.tag).ToUtf8() + (themed ? " themed" : " classic") + " variant " +
                             std::to_string(variant));
                RecordingSheet drawn(200, 80);
                drawn.canvas.Font()->SetSize(8);
                const int gh = drawn.canvas.TextHeight(u"gh");
                const int layoutW = c.layoutW < 0 ? 50 : c.layoutW;
                const int layoutH = c.layoutH < 0 ? gh + 10 : c.layoutH;
                const int line = std::max({gh, c.lineHeight, layoutH});
                HtmlCall call;
                call.canvas = &drawn.canvas;
                call.text = c.tag;
                call.rect = TRect(0, 0, 200, 80);
                if (variant > 0) {  // inside the layout box and the part's hot zone
                    call.x = 1 + layoutW / 2;
                    call.y = std::min(layoutH, line) - 4;
                }
                call.mouseDown = variant == 2;
                call.Go();
                EXPECT_EQ(call.ySize, line);
                EXPECT_EQ(call.xSize, layoutW);
                EXPECT_EQ(call.result, variant > 0);

                RecordingSheet expected(200, 80);
                c.expected(&expected.canvas, themed, 1, line, variant > 0, variant == 2);
                EXPECT_TRUE(render_test::SamePixels(drawn.sheet, expected.sheet));
            }
        }
    }
}

TEST(HtmlControls, AHitReportsTheControlAndHitTestingFindsOneByItsId) {
    RecordingSheet s(300, 80);
    const int gh = s.canvas.TextHeight(u"gh");
    const String form = u"ab<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"x&amp;y &quot;q&quot;\" WIDTH=\"50\">"
                        u"<CONTROL TYPE=\"CHECK\" ID=\"c2\" VALUE=\"TRUE\">";
    const int left = 1 + s.canvas.TextWidth(u"ab");
    HtmlCall call;
    call.canvas = &s.canvas;
    call.text = form;
    call.rect = TRect(0, 0, 300, 80);
    call.hitTestOnly = true;
    call.x = left + 10;
    call.y = 5;
    EXPECT_TRUE(call.Go());
    EXPECT_EQ(call.anchor, u"ctrl");
    EXPECT_EQ(call.controlRect, TRect(left, 0, left + 50, gh + 10));
    EXPECT_EQ(call.controlID, u"e1");
    EXPECT_EQ(call.controlValue, u"x&y \"q\"");  // encoded values reach the control whole
    EXPECT_EQ(call.controlType, u"EDIT");

    // Hit-testing reports the control whose ID comes in, wherever the point is.
    call.x = call.y = -1;
    call.controlID = u"c2";
    EXPECT_TRUE(call.Go());
    EXPECT_EQ(call.controlID, u"c2");
    EXPECT_EQ(call.controlType, u"CHECK");
    EXPECT_EQ(call.controlRect, TRect(left + 50, 0, left + 66, 16));
    // An empty ID names no control, even one without an ID.
    call.text = u"<CONTROL TYPE=\"CHECK\">";
    call.controlID = u"";
    EXPECT_FALSE(call.Go());

    // Painting with the point elsewhere reports nothing and clears the ID.
    call.hitTestOnly = false;
    call.controlID = u"c2";
    call.text = form;
    EXPECT_FALSE(call.Go());
    EXPECT_EQ(call.controlID, u"");
    EXPECT_EQ(call.controlRect, TRect(0, 0, 0, 0));
}

TEST(HtmlControls, AControlWithoutAReadableWidthTakesThePreviousBoxOrNothing) {
    RecordingSheet s(300, 80);
    HtmlCall call;
    call.canvas = &s.canvas;
    call.rect = TRect(0, 0, 300, 80);
    call.measureOnly = true;
    call.text = u"<CONTROL TYPE=\"EDIT\" ID=\"a\">";
    call.Go();
    EXPECT_EQ(call.xSize, 0);
    call.text = u"<CONTROL TYPE=\"EDIT\" ID=\"a\" WIDTH=\"40\"><CONTROL TYPE=\"EDIT\" ID=\"b\" WIDTH=\"wide\">";
    call.Go();
    EXPECT_EQ(call.xSize, 80);
    call.text = u"<CONTROL TYPE=\"CHECK\" ID=\"a\"><CONTROL TYPE=\"EDIT\" ID=\"b\">";
    call.Go();
    EXPECT_EQ(call.xSize, 32);
}

}  // namespace
