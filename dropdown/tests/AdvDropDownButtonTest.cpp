// The drop button: its looks in custom colours, with a glyph, in the visual style and in the
// classic look; the arrow, the released look, the container's width and the release that opens.
#include <gtest/gtest.h>

#include "controls/styled/AdvXPVS.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/ui/SystemInfo.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::Probe;

// What the drop button asks of the visual styles while it paints.
struct ThemeCall {
    std::u16string theme;
    int part, state;
    TRect rect;
};
std::vector<ThemeCall> gThemeCalls;
std::u16string gOpened;

class ButtonTest : public DropDownTest {
protected:
    Probe* d = nullptr;
    TDropDownEditButton* container = nullptr;
    TAdvDropDownSpeedButton* button = nullptr;
    TThemeApiLoader saved = AdvXPVS::ThemeApi;

    void SetUp() override {
        DropDownTest::SetUp();
        TThemeApiLoader& api = AdvXPVS::ThemeApi;
        api.OpenThemeData = [](HWND hwnd, LPCWSTR classes) {
            gOpened = classes;
            return ::OpenThemeData(hwnd, classes);
        };
        api.DrawThemeBackground = [](HTHEME theme, HDC dc, int part, int state, const TRect* rect, const TRect* clip) {
            gThemeCalls.push_back({gOpened, part, state, *rect});
            return ::DrawThemeBackground(theme, dc, part, state, rect, clip);
        };
        gThemeCalls.clear();
        d = Make<Probe>(20, 20);
        container = d->Button();
        button = container->Button();
    }
    void TearDown() override {
        AdvXPVS::ThemeApi = saved;
        ui::sys::ResetAnswers();
        DropDownTest::TearDown();
    }
    TColor At(int x, int y) { return WindowPixel(container, x, y); }
    // The drop button painted anew; the visual style's last part.
    ThemeCall Painted() {
        gThemeCalls.clear();
        button->Invalidate();
        container->Update();
        return gThemeCalls.empty() ? ThemeCall{u"", 0, 0, TRect()} : gThemeCalls.back();
    }
    void Press(bool down) {
        button->SetGroupIndex(1);
        button->SetAllowAllUp(true);
        button->SetDown(down);
    }
    void Hover(bool hot) { button->Perform(hot ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0); }
};

TEST_F(ButtonTest, CustomColoursFaceBorderLineAndArrowDownWins) {
    container->SetButtonColor(0x0000C0);
    container->SetButtonColorHot(0x00C000);
    container->SetButtonColorDown(0xC00000);
    container->SetButtonTextColor(0x000040);
    container->SetButtonTextColorHot(0x004000);
    container->SetButtonTextColorDown(0x400000);
    d->SetBorderColor(0x808000);
    const struct {
        const char* name;
        bool hot, down, up;
        TColor face, arrow;
    } cases[] = {
        {"normal", false, false, false, 0x0000C0, 0x000040},
        {"hot", true, false, false, 0x00C000, 0x004000},
        {"down", false, true, false, 0xC00000, 0x400000},
        {"hot and down: down wins", true, true, false, 0xC00000, 0x400000},
        {"down but set up: released", false, true, true, 0x0000C0, 0x000040},
    };
    for (const auto& c : cases) {
        Hover(c.hot);
        Press(c.down);
        button->SetUp(c.up);
        Painted();
        EXPECT_EQ(At(14, 3), c.face) << c.name;
        EXPECT_EQ(At(0, 8), static_cast<TColor>(0x808000)) << c.name;
        EXPECT_EQ(At(8, 8), c.arrow) << c.name;
        EXPECT_EQ(At(8, 7), c.arrow) << c.name;
    }
}

TEST_F(ButtonTest, TheArrowStaysAtFiveToElevenOnWiderButtons) {
    container->SetButtonColor(0xFFFFFF);
    container->SetButtonTextColor(0x000000);
    for (int width : {17, 30}) {
        d->SetDropDownButtonWidth(width);
        Painted();
        ASSERT_EQ(container->Width(), width);
        ASSERT_EQ(button->Width(), width);
        for (int x = 5; x <= 11; ++x) EXPECT_EQ(At(x, 7), static_cast<TColor>(0)) << width << " x " << x;
        EXPECT_EQ(At(8, 10), static_cast<TColor>(0)) << width;
        EXPECT_EQ(At(4, 7), static_cast<TColor>(0xFFFFFF)) << width;
        EXPECT_EQ(At(12, 7), static_cast<TColor>(0xFFFFFF)) << width;
        EXPECT_EQ(At(8, 11), static_cast<TColor>(0xFFFFFF)) << width;
    }
}

TEST_F(ButtonTest, AGlyphOnButtonFaceInAGreyFrame) {
    TBitmap glyph(10, 10, pf24bit);
    glyph.Canvas()->Brush()->SetColor(0x0000FF);
    glyph.Canvas()->FillRect(TRect(0, 0, 10, 10));
    glyph.Canvas()->SetPixels(0, 9, 0x00FF00);  // the transparent colour
    d->SetDropDownButtonGlyph(&glyph);
    EXPECT_EQ(Painted().part, 0);
    const int w = container->Width(), h = container->Height();
    EXPECT_EQ(At(w - 1, h / 2), static_cast<TColor>(0x808080));
    EXPECT_EQ(At(w / 2, h - 1), static_cast<TColor>(0x808080));
    EXPECT_EQ(At(w - 3, h - 3), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(At(3, 3), static_cast<TColor>(0x0000FF));
    EXPECT_EQ(At(0, 9), static_cast<TColor>(0x808080));
}

TEST_F(ButtonTest, ThemedStatesAndRectangles) {
    const int w = container->Width(), h = container->Height();
    ThemeCall normal = Painted();
    EXPECT_EQ(normal.theme, u"combobox");
    EXPECT_EQ(normal.part, 1);
    EXPECT_EQ(normal.state, 1);
    EXPECT_EQ(normal.rect, TRect(1, 0, w, h));
    Hover(true);
    EXPECT_EQ(Painted().state, 2);
    Press(true);
    EXPECT_EQ(Painted().state, 3);
    Press(false);
    Hover(false);
    d->SetReadOnly(true);
    EXPECT_EQ(Painted().state, 4);
    EXPECT_FALSE(button->Enabled());
    d->SetReadOnly(false);
    d->SetEnabled(false);
    EXPECT_EQ(Painted().state, 4);
    d->SetEnabled(true);
    EXPECT_EQ(Painted().state, 1);

    // Before the visual styles' second version: inflated by 1, then Left + 2.
    ui::sys::Answers().MajorVersion = 5;
    EXPECT_EQ(Painted().rect, TRect(1, -1, w + 1, h + 1));
}

TEST_F(ButtonTest, ClassicFaceLightEdgesAndTheBlackArrow) {
    ui::sys::Answers().ThemeActive = false;
    EXPECT_EQ(Painted().part, 0);
    const int w = container->Width(), h = container->Height();
    const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(At(0, h / 2), face);
    EXPECT_EQ(At(w / 2, 0), face);
    EXPECT_EQ(At(1, h / 2), static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(At(w / 2, 1), static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(At(8, 8), static_cast<TColor>(0));
    EXPECT_EQ(At(5, 7), static_cast<TColor>(0));
    EXPECT_EQ(At(4, 7), face);
    d->SetEnabled(false);
    Painted();
    EXPECT_FALSE(button->Enabled());
}

TEST_F(ButtonTest, TheButtonStyleDrawsAPushButton) {
    button->SetButtonStyle(advdropdown::bsButton);
    container->SetButtonCaption(String("..."));
    const int w = container->Width(), h = container->Height();
    ThemeCall themed = Painted();
    EXPECT_EQ(themed.theme, u"button");
    EXPECT_EQ(themed.part, 1);
    EXPECT_EQ(themed.rect, TRect(0, 0, w + 1, h + 1));

    // Flat, classic: a raised edge round a button face, flat while down.
    ui::sys::Answers().ThemeActive = false;
    button->SetFlat(true);
    Painted();
    EXPECT_EQ(At(0, h / 2), static_cast<TColor>(ColorToRGB(cl3DLight)));
    EXPECT_EQ(At(w / 2, h / 2 - 5), static_cast<TColor>(ColorToRGB(clBtnFace)));
    Press(true);
    Painted();
    EXPECT_NE(At(0, h / 2), static_cast<TColor>(ColorToRGB(cl3DLight)));
}

TEST_F(ButtonTest, TheContainerIsAsWideAsItsButtonAndOnlyALeftReleaseClicks) {
    container->SetBounds(0, 0, 60, 18);
    EXPECT_EQ(container->Width(), 17);
    EXPECT_EQ(button->BoundsRect(), Bounds(0, 0, 17, 18));
    d->SetDropDownButtonWidth(24);
    EXPECT_EQ(container->Width(), 24);
    EXPECT_EQ(button->Width(), 24);

    int clicks = 0;
    container->OnClick = [&](TObject* sender) { clicks += sender == container; };
    ui::test::MouseDown(button, 5, 5, mbRight);
    ui::test::MouseUp(button, 5, 5, mbRight);
    EXPECT_EQ(clicks, 0);
    ui::test::MouseDown(button, 5, 5);
    ui::test::MouseUp(button, 5, 5);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
