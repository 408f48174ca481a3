// Visual-style parts through the widget style, the classic frame controls, and right-to-left
// text, checked pixel by pixel on bitmaps.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/FrameControls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/Themes.h"

namespace {

constexpr TColor kMarker = static_cast<TColor>(0x00FF00FF);  // magenta, in no part

class ThemePartsTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    void TearDown() override { ui::sys::ResetAnswers(); }

    static void Clear(TBitmap& bmp, TColor color) {
        bmp.Canvas()->Brush()->SetColor(color);
        bmp.Canvas()->FillRect(TRect(0, 0, bmp.Width(), bmp.Height()));
    }
    static std::vector<TColor> Pixels(TBitmap& bmp, const TRect& r) {
        std::vector<TColor> out;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) out.push_back(bmp.Canvas()->Pixels(x, y));
        return out;
    }
    // Every pixel outside r still has the marker colour.
    static ::testing::AssertionResult OnlyInside(TBitmap& bmp, const TRect& r) {
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x) {
                if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) continue;
                if (bmp.Canvas()->Pixels(x, y) != kMarker)
                    return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") changed";
            }
        return ::testing::AssertionSuccess();
    }
    static void SavePicture(TBitmap& bmp, const std::string& name) {
        TPngImage png;
        png.Assign(&bmp);
        png.SaveToFile(String((testing::TempDir() + name + "-" + std::to_string(::getpid()) + ".png").c_str()));
    }
};

TEST_F(ThemePartsTest, ThemeHandlesExistForTheDrawnClassesOnly) {
    for (const char16_t* cls : {u"button", u"BUTTON", u"combobox", u"spin", u"nonsense;spin", u"Progress", u"header"}) {
        HTHEME t = OpenThemeData(nullptr, cls);
        EXPECT_NE(t, nullptr) << String(cls).ToUtf8();
        EXPECT_EQ(CloseThemeData(t), S_OK);
    }
    EXPECT_EQ(OpenThemeData(nullptr, u"nonsense"), nullptr);
    EXPECT_EQ(OpenThemeData(nullptr, u""), nullptr);
    HTHEME t = OpenThemeData(nullptr, u"button");
    EXPECT_EQ(CloseThemeData(t), S_OK);
    EXPECT_EQ(CloseThemeData(t), E_HANDLE);
    TBitmap bmp(20, 20);
    TRect r(0, 0, 20, 20);
    EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas()->Handle(), 1, 1, &r, nullptr), E_HANDLE);
}

TEST_F(ThemePartsTest, EveryPinnedPartPaintsOnlyInsideItsRectangle) {
    struct Part {
        const char16_t* cls;
        int part;
        int states;
        int width;
        int height;
    } parts[] = {{u"button", BP_PUSHBUTTON, 5, 40, 22},  {u"button", BP_RADIOBUTTON, 12, 13, 13},
                 {u"button", BP_CHECKBOX, 12, 13, 13},   {u"combobox", CP_DROPDOWNBUTTON, 4, 17, 19},
                 {u"spin", SPNP_UP, 4, 16, 10},          {u"spin", SPNP_DOWN, 4, 16, 10},
                 {u"Progress", PP_BAR, 1, 60, 16},        {u"Progress", PP_CHUNK, 1, 30, 12},
                 {u"header", HP_HEADERITEM, 3, 60, 20},   {u"header", HP_HEADERITEMRIGHT, 1, 30, 20}};
    for (const Part& p : parts) {
        HTHEME t = OpenThemeData(nullptr, p.cls);
        ASSERT_NE(t, nullptr);
        for (int state = 1; state <= p.states; ++state) {
            TBitmap bmp(p.width + 16, p.height + 16);
            Clear(bmp, kMarker);
            TRect r(8, 8, 8 + p.width, 8 + p.height);
            ASSERT_EQ(DrawThemeBackground(t, bmp.Canvas()->Handle(), p.part, state, &r, nullptr), S_OK);
            EXPECT_TRUE(OnlyInside(bmp, r)) << String(p.cls).ToUtf8() << " part " << p.part << " state " << state;
            auto inside = Pixels(bmp, r);
            EXPECT_TRUE(std::any_of(inside.begin(), inside.end(), [](TColor c) { return c != kMarker; }))
                << String(p.cls).ToUtf8() << " part " << p.part << " state " << state << " drew nothing";
        }
        TBitmap bmp(40, 40);
        TRect r(0, 0, 20, 20);
        EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas()->Handle(), p.part, p.states + 1, &r, nullptr), E_INVALIDARG);
        CloseThemeData(t);
    }
    // Parts the two later classes do not have.
    TBitmap bmp(40, 40);
    TRect r(0, 0, 20, 20);
    for (auto [cls, part] : {std::pair{u"Progress", 2}, {u"Progress", 4}, {u"header", 2}, {u"header", 0}}) {
        HTHEME t = OpenThemeData(nullptr, cls);
        EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas()->Handle(), part, 1, &r, nullptr), E_INVALIDARG)
            << String(cls).ToUtf8() << " part " << part;
        CloseThemeData(t);
    }
}

TEST_F(ThemePartsTest, StatesLookDifferent) {
    auto render = [this](const char16_t* cls, int part, int state, int w, int h) {
        HTHEME t = OpenThemeData(nullptr, cls);
        TBitmap bmp(w, h);
        Clear(bmp, clBtnFace);
        TRect r(0, 0, w, h);
        DrawThemeBackground(t, bmp.Canvas()->Handle(), part, state, &r, nullptr);
        CloseThemeData(t);
        return Pixels(bmp, r);
    };
    EXPECT_NE(render(u"button", BP_PUSHBUTTON, PBS_NORMAL, 40, 22), render(u"button", BP_PUSHBUTTON, PBS_PRESSED, 40, 22));
    EXPECT_NE(render(u"button", BP_PUSHBUTTON, PBS_NORMAL, 40, 22), render(u"button", BP_PUSHBUTTON, PBS_DISABLED, 40, 22));
    EXPECT_NE(render(u"button", BP_CHECKBOX, CBS_UNCHECKEDNORMAL, 13, 13), render(u"button", BP_CHECKBOX, CBS_CHECKEDNORMAL, 13, 13));
    EXPECT_NE(render(u"button", BP_CHECKBOX, CBS_CHECKEDNORMAL, 13, 13), render(u"button", BP_CHECKBOX, CBS_MIXEDNORMAL, 13, 13));
    EXPECT_NE(render(u"button", BP_CHECKBOX, CBS_UNCHECKEDNORMAL, 13, 13), render(u"button", BP_CHECKBOX, CBS_UNCHECKEDPRESSED, 13, 13));
    EXPECT_NE(render(u"button", BP_CHECKBOX, CBS_CHECKEDNORMAL, 13, 13), render(u"button", BP_CHECKBOX, CBS_CHECKEDDISABLED, 13, 13));
    EXPECT_NE(render(u"button", BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, 13, 13), render(u"button", BP_RADIOBUTTON, RBS_CHECKEDNORMAL, 13, 13));
    EXPECT_NE(render(u"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, 17, 19), render(u"combobox", CP_DROPDOWNBUTTON, CBXS_PRESSED, 17, 19));
    EXPECT_NE(render(u"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, 17, 19), render(u"combobox", CP_DROPDOWNBUTTON, CBXS_DISABLED, 17, 19));
    EXPECT_NE(render(u"spin", SPNP_UP, UPS_NORMAL, 16, 10), render(u"spin", SPNP_DOWN, DNS_NORMAL, 16, 10));
    EXPECT_NE(render(u"Progress", PP_BAR, 1, 60, 16), render(u"Progress", PP_CHUNK, 1, 60, 16));
    EXPECT_NE(render(u"header", HP_HEADERITEM, HIS_NORMAL, 60, 20), render(u"header", HP_HEADERITEM, HIS_PRESSED, 60, 20));
    EXPECT_NE(render(u"header", HP_HEADERITEM, HIS_NORMAL, 60, 20), render(u"header", HP_HEADERITEM, HIS_HOT, 60, 20));
}

TEST_F(ThemePartsTest, ClipRectangleLimitsThePaint) {
    HTHEME t = OpenThemeData(nullptr, u"button");
    TBitmap bmp(60, 40);
    Clear(bmp, kMarker);
    TRect r(5, 5, 55, 35);
    TRect clip(5, 5, 30, 35);
    ASSERT_EQ(DrawThemeBackground(t, bmp.Canvas()->Handle(), BP_PUSHBUTTON, PBS_NORMAL, &r, &clip), S_OK);
    EXPECT_TRUE(OnlyInside(bmp, clip));
    CloseThemeData(t);
}

TEST_F(ThemePartsTest, PartsRenderToAPicture) {
    // A sheet of every part and state, for looking at.
    TBitmap sheet(14 * 48, 10 * 30);
    Clear(sheet, clBtnFace);
    struct Row {
        const char16_t* cls;
        int part;
        int states;
        int w;
        int h;
    } rows[] = {{u"button", 1, 5, 40, 22}, {u"button", 2, 12, 13, 13}, {u"button", 3, 12, 13, 13},
                {u"combobox", 1, 4, 17, 20}, {u"spin", 1, 4, 16, 10}, {u"spin", 2, 4, 16, 10},
                {u"Progress", 1, 1, 44, 14}, {u"Progress", 3, 1, 44, 14}, {u"header", 1, 3, 44, 20},
                {u"header", 3, 1, 44, 20}};
    for (int row = 0; row < 10; ++row) {
        HTHEME t = OpenThemeData(nullptr, rows[row].cls);
        for (int s = 1; s <= rows[row].states; ++s) {
            TRect r(4 + (s - 1) * 48, 4 + row * 30, 4 + (s - 1) * 48 + rows[row].w, 4 + row * 30 + rows[row].h);
            ASSERT_EQ(DrawThemeBackground(t, sheet.Canvas()->Handle(), rows[row].part, s, &r, nullptr), S_OK);
        }
        CloseThemeData(t);
    }
    SavePicture(sheet, "theme-parts");
    ui::test::Picture back;
    ASSERT_TRUE(ui::test::LoadPng(testing::TempDir() + "theme-parts-" + std::to_string(::getpid()) + ".png", back));
    EXPECT_EQ(back.Width, sheet.Width());
}

// Frame controls in the classic look.

TEST_F(ThemePartsTest, PushFrameAdjustsByItsTwoPixelEdge) {
    TBitmap bmp(40, 30);
    Clear(bmp, kMarker);
    TRect r(5, 5, 35, 25);
    ASSERT_EQ(DrawFrameControl(bmp.Canvas()->Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT), TRUE_);
    EXPECT_EQ(r, TRect(7, 7, 33, 23));
    EXPECT_TRUE(OnlyInside(bmp, TRect(5, 5, 35, 25)));
    // Raised: light top-left, dark bottom-right, face in between.
    EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(5, 10)), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(34, 10)), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(20, 15)), ColorToRGB(clBtnFace));

    TRect flat(5, 5, 35, 25);
    DrawFrameControl(bmp.Canvas()->Handle(), &flat, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT | DFCS_ADJUSTRECT);
    EXPECT_EQ(flat, TRect(6, 6, 34, 24));
}

TEST_F(ThemePartsTest, PushedButtonDarkensTheTopLeftEdge) {
    TBitmap up(40, 30), down(40, 30);
    TRect r1(0, 0, 40, 30), r2(0, 0, 40, 30);
    DrawFrameControl(up.Canvas()->Handle(), &r1, DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawFrameControl(down.Canvas()->Handle(), &r2, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    auto luma = [](TColor c) {
        int32_t rgb = ColorToRGB(c);
        return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF);
    };
    // Top-left: light when up, dark when pushed; bottom-right the other way round.
    EXPECT_GT(luma(up.Canvas()->Pixels(0, 15)), luma(down.Canvas()->Pixels(0, 15)));
    EXPECT_GT(luma(up.Canvas()->Pixels(20, 0)), luma(down.Canvas()->Pixels(20, 0)));
    EXPECT_LT(luma(up.Canvas()->Pixels(39, 15)), luma(down.Canvas()->Pixels(39, 15)));
    EXPECT_LT(luma(up.Canvas()->Pixels(20, 29)), luma(down.Canvas()->Pixels(20, 29)));
}

// Rows of a centred arrow: the count of arrow-coloured pixels per row.
std::vector<int> ArrowRows(TBitmap& bmp, const TRect& r, TColor color, int& left, int& right) {
    std::vector<int> rows;
    left = r.Right;
    right = r.Left;
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y) {
        int n = 0;
        for (int x = r.Left + 2; x < r.Right - 2; ++x)
            if (ColorToRGB(bmp.Canvas()->Pixels(x, y)) == ColorToRGB(color)) {
                ++n;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        if (n) rows.push_back(n);
    }
    return rows;
}

TEST_F(ThemePartsTest, ComboButtonDrawsACentredDownArrowGreyedWhenInactive) {
    TBitmap bmp(17, 21);
    TRect r(0, 0, 17, 21);
    TRect work = r;
    ASSERT_EQ(DrawFrameControl(bmp.Canvas()->Handle(), &work, DFC_SCROLL, DFCS_SCROLLCOMBOBOX), TRUE_);
    int left = 0, right = 0;
    auto rows = ArrowRows(bmp, r, clBtnText, left, right);
    ASSERT_GE(rows.size(), 3u);
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i], rows[i - 1]) << "rows narrow downwards";
    EXPECT_EQ(rows.back(), 1);
    EXPECT_EQ(left + right, 16) << "centred";

    TBitmap grey(17, 21);
    work = r;
    DrawFrameControl(grey.Canvas()->Handle(), &work, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE);
    EXPECT_TRUE(ArrowRows(grey, r, clBtnText, left, right).empty());
    auto shadow = ArrowRows(grey, r, clBtnShadow, left, right);
    EXPECT_EQ(shadow, rows);
    SavePicture(grey, "combo-inactive");

    TBitmap up(17, 21);
    work = r;
    DrawFrameControl(up.Canvas()->Handle(), &work, DFC_SCROLL, DFCS_SCROLLUP);
    auto upRows = ArrowRows(up, r, clBtnText, left, right);
    ASSERT_GE(upRows.size(), 3u);
    EXPECT_EQ(upRows.front(), 1);
}

// The left and right arrows are the up arrow turned: a square button gives the same triangle
// read by columns, its point on the side the kind names.
TEST_F(ThemePartsTest, SideArrowsAreTheUpArrowTurned) {
    const TRect r(0, 0, 17, 17);
    auto pixels = [&](UINT kind) {
        TBitmap bmp(17, 17);
        TRect work = r;
        EXPECT_EQ(DrawFrameControl(bmp.Canvas()->Handle(), &work, DFC_SCROLL, kind), TRUE_);
        std::vector<std::vector<bool>> on(17, std::vector<bool>(17));
        for (int y = 2; y < 15; ++y)
            for (int x = 2; x < 15; ++x) on[y][x] = ColorToRGB(bmp.Canvas()->Pixels(x, y)) == ColorToRGB(clBtnText);
        return on;
    };
    const auto up = pixels(DFCS_SCROLLUP), left = pixels(DFCS_SCROLLLEFT), right = pixels(DFCS_SCROLLRIGHT);
    int shown = 0, first = 17, last = -1;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            shown += up[y][x];
            EXPECT_EQ(left[x][y], up[y][x]) << x << "," << y;  // turned about the diagonal
            if (left[y][x]) first = std::min(first, x), last = std::max(last, x);
        }
    EXPECT_GE(shown, 9);
    // The right arrow is the left one mirrored within the columns it covers.
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            const int mirrored = first + last - x;
            EXPECT_EQ(right[y][x], mirrored >= 0 && mirrored < 17 && left[y][mirrored]) << x << "," << y;
        }
}

TEST_F(ThemePartsTest, CheckAndRadioFramesShowTheirState) {
    auto draw = [](UINT type, UINT state) {
        auto bmp = std::make_unique<TBitmap>(13, 13);
        TRect r(0, 0, 13, 13);
        DrawFrameControl(bmp->Canvas()->Handle(), &r, type, state);
        std::vector<int32_t> px;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) px.push_back(ColorToRGB(bmp->Canvas()->Pixels(x, y)));
        return px;
    };
    auto unchecked = draw(DFC_BUTTON, DFCS_BUTTONCHECK);
    auto checked = draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    auto inactive = draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    auto mixed = draw(DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
    EXPECT_NE(unchecked, checked);
    EXPECT_NE(checked, inactive);
    EXPECT_NE(checked, mixed);
    // The tick is in the text colour when active, in the shadow colour when not.
    EXPECT_NE(std::count(checked.begin(), checked.end(), ColorToRGB(clWindowText)), 0);
    EXPECT_EQ(std::count(inactive.begin(), inactive.end(), ColorToRGB(clWindowText)), 0);
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONRADIO), draw(DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));

    TBitmap sheet(6 * 20, 20);
    Clear(sheet, clBtnFace);
    UINT states[] = {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE,
                     DFCS_BUTTON3STATE | DFCS_CHECKED, DFCS_BUTTONRADIO, DFCS_BUTTONRADIO | DFCS_CHECKED};
    for (int i = 0; i < 6; ++i) {
        TRect r(3 + i * 20, 3, 16 + i * 20, 16);
        DrawFrameControl(sheet.Canvas()->Handle(), &r, DFC_BUTTON, states[i]);
    }
    SavePicture(sheet, "frame-checks");
    TRect bad(0, 0, 10, 10);
    EXPECT_EQ(DrawFrameControl(sheet.Canvas()->Handle(), &bad, DFC_CAPTION, 0), FALSE_);
}

TEST_F(ThemePartsTest, RightToLeftReadingPutsTheTrailingMarkOnTheLeft) {
    TBitmap ltr(120, 30), rtl(120, 30);
    for (TBitmap* b : {&ltr, &rtl}) {
        Clear(*b, clWhite);
        b->Canvas()->Font()->SetName(u"DejaVu Sans");
        b->Canvas()->Font()->SetSize(14);
        b->Canvas()->Font()->SetColor(clBlack);
        b->Canvas()->Brush()->SetStyle(bsClear);
    }
    TRect r1(0, 0, 120, 30), r2(0, 0, 120, 30);
    DrawText(ltr.Canvas()->Handle(), u"abc!", -1, &r1, DT_LEFT | DT_SINGLELINE);
    DrawText(rtl.Canvas()->Handle(), u"abc!", -1, &r2, DT_LEFT | DT_SINGLELINE | DT_RTLREADING);
    int bang = ltr.Canvas()->TextWidth(u"!");
    int abc = ltr.Canvas()->TextWidth(u"abc");
    // The columns of the "!" hold ink in a narrow upright stroke; "abc" fills a wider band.
    auto inkIn = [](TBitmap& b, int x0, int x1) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = x0; x < x1; ++x)
                if (ColorToRGB(b.Canvas()->Pixels(x, y)) != 0xFFFFFF) ++n;
        return n;
    };
    // Left to right: "abc" then "!"; right to left: "!" then "abc", the same total width.
    EXPECT_GT(inkIn(ltr, abc, abc + bang), 0);
    EXPECT_EQ(inkIn(rtl, bang + abc, 120), 0);
    EXPECT_GT(inkIn(rtl, 0, bang), 0);
    // What the right-to-left picture shows at its left is the "!" the left-to-right one shows last.
    std::vector<int32_t> a, b;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < bang; ++x) {
            a.push_back(ColorToRGB(ltr.Canvas()->Pixels(abc + x, y)));
            b.push_back(ColorToRGB(rtl.Canvas()->Pixels(x, y)));
        }
    EXPECT_EQ(a, b);
    SavePicture(rtl, "rtl-text");
}

}  // namespace
