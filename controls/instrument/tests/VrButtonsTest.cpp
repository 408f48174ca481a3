// The image push buttons: when they click, toggle and how they look.
#include "controls/instrument/VrButtons.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/testing/Driver.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

void SpaceDown(TWinControl* c) { ui::test::GetDriver().SendKey(*c->Peer(), true, VK_SPACE, String(" "), {}, false); }
void SpaceUp(TWinControl* c) { ui::test::GetDriver().SendKey(*c->Peer(), false, VK_SPACE, String(), {}, false); }
void DoubleClick(TWinControl* c, int x, int y) {
    ui::test::GetDriver().SendMouse(*c->Peer(), WM_LBUTTONDBLCLK, x, y, MK_LBUTTON, false);
}

// The box around the pixels of the picture in `area` for which `match` holds; empty when none.
TRect BoxOf(TWinControl* c, const TRect& area, const std::function<bool(TColor)>& match) {
    c->Update();
    TCanvas* img = c->BackingImage()->Canvas();
    TRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    bool any = false;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (match(img->Pixels(x, y))) {
                any = true;
                box = Rect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1));
            }
    return any ? box : TRect();
}

int CountOf(TWinControl* c, const TRect& area, TColor color) {
    c->Update();
    TCanvas* img = c->BackingImage()->Canvas();
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) n += img->Pixels(x, y) == color;
    return n;
}

// A button of type T with the caption `caption` on a shown form, counting its clicks.
template <class T>
class ButtonTest : public ui::test::FormTest {
protected:
    T* btn = nullptr;
    int clicks = 0;
    void Place(const char* caption) {
        btn = Add<T>(10, 10);
        btn->SetCaption(String(caption));
        btn->SetTabStop(true);
        btn->OnClick = [this](TObject* s) {
            EXPECT_EQ(s, btn);
            ++clicks;
        };
        form->Show();
        ui::test::Pump();
    }
};

class VrDemoButtonTest : public ButtonTest<TVrDemoButton> {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Place("&Go");
    }
    // The area inside outline and bevel, where the caption is drawn.
    TRect Inside() const { return Rect(4, 4, btn->Width() - 4, btn->Height() - 4); }
};

TEST_F(VrDemoButtonTest, Defaults) {
    EXPECT_EQ(btn->Width(), 150);
    EXPECT_EQ(btn->Height(), 25);
    EXPECT_EQ(btn->Color(), clBtnFace);
    EXPECT_FALSE(btn->ParentColor());
    EXPECT_EQ(btn->FontEnter()->Color(), 0x0000FF);
    EXPECT_EQ(btn->FontLeave()->Color(), 0x000000);
    for (TFont* f : {btn->FontEnter(), btn->FontLeave()}) {
        EXPECT_EQ(f->Name(), String("Arial"));
        EXPECT_EQ(f->Size(), 12);
        EXPECT_TRUE(f->Style().Contains(fsBold));
    }
    EXPECT_EQ(btn->FocusColor(), 0xFF0000);
    EXPECT_EQ(btn->DisabledTextColor(), clInactiveCaption);
    EXPECT_EQ(btn->TextAlignment(), vtaCenter);
    EXPECT_EQ(btn->BevelWidth(), 2);
    EXPECT_EQ(btn->OutlineWidth(), 1);
    EXPECT_FALSE(btn->ControlStyle().Contains(csDoubleClicks));
    EXPECT_TRUE(btn->ControlStyle().Contains(csOpaque));
    auto* fresh = new TVrDemoButton(form);
    EXPECT_FALSE(fresh->TabStop());
    fresh->Free();
}

TEST_F(VrDemoButtonTest, InputSequencesAndTheirClicks) {
    struct Case {
        const char* name;
        std::function<void()> input;
        int clicks;
    };
    const std::vector<Case> cases = {
        {"press and release inside", [&] { ui::test::Click(btn, 20, 10); }, 1},
        {"drag off and release outside",
         [&] {
             ui::test::MouseDown(btn, 20, 10);
             ui::test::MouseMove(btn, 200, 10, MK_LBUTTON);
             ui::test::MouseUp(btn, 200, 10);
         },
         0},
        {"drag off and back",
         [&] {
             ui::test::MouseDown(btn, 20, 10);
             ui::test::MouseMove(btn, 200, 10, MK_LBUTTON);
             ui::test::MouseMove(btn, 30, 12, MK_LBUTTON);
             ui::test::MouseUp(btn, 30, 12);
         },
         1},
        {"double-click",
         [&] {
             ui::test::Click(btn, 20, 10);
             DoubleClick(btn, 20, 10);
             ui::test::MouseUp(btn, 20, 10);
         },
         2},
        {"space down and up",
         [&] {
             btn->SetFocus();
             SpaceDown(btn);
             EXPECT_TRUE(btn->Down());
             SpaceUp(btn);
         },
         1},
        {"accelerator", [&] { ui::test::Key(form, 'G', String("g"), {ssAlt}); }, 1},
        {"accelerator of a disabled button",
         [&] {
             btn->SetEnabled(false);
             ui::test::Key(form, 'G', String("g"), {ssAlt});
             btn->SetEnabled(true);
         },
         0},
    };
    for (const Case& c : cases) {
        clicks = 0;
        c.input();
        ui::test::Pump();
        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_FALSE(btn->Down()) << c.name;
        EXPECT_FALSE(btn->Pressed()) << c.name;
    }
}

TEST_F(VrDemoButtonTest, HoverFontOnlyOnAnEnabledButton) {
    const TColor hover = 0x0000FF;
    const TColor disabled = ColorToRGB(clInactiveCaption);
    EXPECT_EQ(CountOf(btn, Inside(), hover), 0);
    EXPECT_GT(CountOf(btn, Inside(), clBlack), 0);  // FontLeave

    ui::test::MouseMove(btn, 20, 10);
    EXPECT_TRUE(btn->HasMouse());
    EXPECT_GT(CountOf(btn, Inside(), hover), 0);
    EXPECT_EQ(CountOf(btn, Inside(), clBlack), 0);

    btn->SetEnabled(false);  // still under the pointer
    EXPECT_EQ(CountOf(btn, Inside(), hover), 0);
    EXPECT_GT(CountOf(btn, Inside(), disabled), 0);
    EXPECT_EQ(CountOf(btn, Inside(), clBlack), 0);

    btn->SetEnabled(true);
    ui::test::MouseLeave(btn);
    EXPECT_FALSE(btn->HasMouse());
    EXPECT_EQ(CountOf(btn, Inside(), hover), 0);
}

TEST_F(VrDemoButtonTest, OutlineShowsTheFocus) {
    auto* other = Add<TVrDemoButton>(10, 50);
    other->SetTabStop(true);
    TCanvas* img = btn->BackingImage()->Canvas();
    other->SetFocus();
    btn->Update();
    EXPECT_EQ(img->Pixels(0, 0), clBlack);
    btn->SetFocus();
    ASSERT_TRUE(btn->Focused());
    EXPECT_EQ(img->Pixels(0, 0), 0xFF0000);
    EXPECT_EQ(img->Pixels(btn->Width() - 1, btn->Height() - 1), 0xFF0000);
    EXPECT_EQ(img->Pixels(1, 1), ColorToRGB(clBtnHighlight));  // one pixel wide
    other->SetFocus();
    EXPECT_EQ(img->Pixels(0, 0), clBlack);
}

TEST_F(VrDemoButtonTest, FlatBevelShowsOnlyWhileHoveredOrPressed) {
    const TColor face = ColorToRGB(clBtnFace), light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    TCanvas* img = btn->BackingImage()->Canvas();
    btn->Update();
    EXPECT_EQ(img->Pixels(1, 1), light);  // raised while not flat
    btn->SetFlat(true);
    EXPECT_EQ(img->Pixels(1, 1), face);
    ui::test::MouseMove(btn, 20, 10);
    EXPECT_EQ(img->Pixels(1, 1), light);
    ui::test::MouseDown(btn, 20, 10);
    EXPECT_EQ(img->Pixels(1, 1), dark);  // sunken while down
    EXPECT_EQ(img->Pixels(btn->Width() - 2, btn->Height() - 2), light);
    ui::test::MouseUp(btn, 20, 10);
    ui::test::MouseLeave(btn);
    EXPECT_EQ(img->Pixels(1, 1), face);
}

TEST_F(VrDemoButtonTest, PressedContentMovesByOnePixel) {
    auto notFace = [face = ColorToRGB(clBtnFace)](TColor p) { return p != face; };
    // A face tile: its corner marks where the tiling starts.
    TBitmap tile(200, 40, pf24bit);
    tile.Canvas()->Brush()->SetColor(clBtnFace);
    tile.Canvas()->FillRect(Rect(0, 0, 200, 40));
    tile.Canvas()->SetPixels(0, 0, clLime);
    btn->SetBitmap(&tile);
    ui::test::MouseMove(btn, 20, 10);
    TRect up = BoxOf(btn, Inside(), notFace);
    EXPECT_EQ(CountOf(btn, btn->ClientRect(), clLime), 0);  // under the outline
    ui::test::MouseDown(btn, 20, 10);
    TRect down = BoxOf(btn, Inside(), notFace);
    ASSERT_FALSE(up.IsEmpty());
    EXPECT_EQ(down, Rect(up.Left + 1, up.Top + 1, up.Right + 1, up.Bottom + 1));
    ui::test::MouseUp(btn, 20, 10);
}

TEST_F(VrDemoButtonTest, CaptionFollowsTheAlignment) {
    btn->SetHeight(60);
    btn->FontLeave()->SetName(String("DejaVu Sans"));
    btn->FontLeave()->SetSize(9);
    const TRect inside = Inside();
    auto text = [&] { return BoxOf(btn, inside, [](TColor p) { return p == clBlack; }); };
    struct Case { TVrTextAlignment a; int h, v; };  // -1 start, 0 centre, 1 end
    const Case cases[] = {
        {vtaLeft, -1, 0}, {vtaCenter, 0, 0}, {vtaRight, 1, 0},
        {vtaTopLeft, -1, -1}, {vtaTop, 0, -1}, {vtaTopRight, 1, -1},
        {vtaBottomLeft, -1, 1}, {vtaBottom, 0, 1}, {vtaBottomRight, 1, 1},
    };
    for (const Case& c : cases) {
        btn->SetTextAlignment(c.a);
        TRect t = text();
        ASSERT_FALSE(t.IsEmpty()) << c.a;
        int left = t.Left - inside.Left, right = inside.Right - t.Right;
        int top = t.Top - inside.Top, bottom = inside.Bottom - t.Bottom;
        if (c.h < 0) { EXPECT_LT(left, 4) << c.a; }
        if (c.h > 0) { EXPECT_LT(right, 4) << c.a; }
        if (c.h == 0) { EXPECT_LE(std::abs(left - right), 3) << c.a; }
        if (c.v < 0) { EXPECT_LT(top, 6) << c.a; }
        if (c.v > 0) { EXPECT_LT(bottom, 6) << c.a; }
        if (c.v == 0) { EXPECT_LE(std::abs(top - bottom), 6) << c.a; }
    }
}

// Power button ----------------------------------------------------------------------------------

class VrPowerButtonTest : public ButtonTest<TVrPowerButton> {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Place("&DSR");
        btn->Font()->SetName(String("DejaVu Sans"));
        btn->Font()->SetSize(9);
    }
    TColor Lamp() {
        btn->Update();
        TRect r = btn->ImageRect();
        return btn->BackingImage()->Canvas()->Pixels((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

TEST_F(VrPowerButtonTest, Defaults) {
    auto* b = new TVrPowerButton(form);
    EXPECT_EQ(b->Width(), 125);
    EXPECT_EQ(b->Height(), 25);
    EXPECT_EQ(b->LedWidth(), 12);
    EXPECT_EQ(b->LedHeight(), 12);
    EXPECT_EQ(b->Palette()->Low(), 0x008000);
    EXPECT_EQ(b->Palette()->High(), 0x00FF00);
    EXPECT_EQ(b->Spacing(), 5);
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->Layout(), ImageLeft);
    EXPECT_FALSE(b->Active());
    EXPECT_FALSE(b->TabStop());
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_FALSE(b->ControlStyle().Contains(csDoubleClicks));
    b->Free();
}

TEST_F(VrPowerButtonTest, ClicksAndSpaceToggle) {
    struct Case {
        const char* name;
        std::function<void()> input;
        int clicks;
        bool toggles;
    };
    const std::vector<Case> cases = {
        {"click", [&] { ui::test::Click(btn, 20, 10); }, 1, true},
        {"drag off and release outside",
         [&] {
             ui::test::MouseDown(btn, 20, 10);
             ui::test::MouseMove(btn, 200, 10, MK_LBUTTON);
             ui::test::MouseUp(btn, 200, 10);
         },
         0, false},
        {"drag off and back",
         [&] {
             ui::test::MouseDown(btn, 20, 10);
             ui::test::MouseMove(btn, 200, 10, MK_LBUTTON);
             ui::test::MouseMove(btn, 30, 12, MK_LBUTTON);
             ui::test::MouseUp(btn, 30, 12);
         },
         1, true},
        {"space",
         [&] {
             btn->SetFocus();
             SpaceDown(btn);
             EXPECT_TRUE(btn->Pressed());
             SpaceUp(btn);
         },
         1, true},
        {"space released after the focus arrived",
         [&] {
             btn->SetFocus();
             SpaceUp(btn);
         },
         0, false},
        {"accelerator", [&] { ui::test::Key(form, 'D', String("d"), {ssAlt}); }, 1, false},
        {"accelerator of a disabled button",
         [&] {
             btn->SetEnabled(false);
             ui::test::Key(form, 'D', String("d"), {ssAlt});
             btn->SetEnabled(true);
         },
         0, false},
    };
    for (const Case& c : cases) {
        clicks = 0;
        bool before = btn->Active();
        c.input();
        ui::test::Pump();
        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_EQ(btn->Active(), c.toggles ? !before : before) << c.name;
        EXPECT_FALSE(btn->Pressed()) << c.name;
        EXPECT_EQ(Lamp(), btn->Active() ? 0x00FF00 : 0x008000) << c.name;
    }
}

TEST_F(VrPowerButtonTest, ActiveFromTheProgramRedrawsTheLampAndFiresNothing) {
    EXPECT_EQ(Lamp(), 0x008000);
    btn->SetActive(true);
    EXPECT_EQ(Lamp(), 0x00FF00);
    btn->Palette()->SetHigh(clRed);  // a palette change repaints too
    EXPECT_EQ(Lamp(), clRed);
    btn->SetActive(false);
    EXPECT_EQ(Lamp(), 0x008000);
    EXPECT_EQ(clicks, 0);
    btn->SetEnabled(false);
    EXPECT_EQ(Lamp(), ColorToRGB(clBtnFace));
    btn->SetColor(clYellow);
    EXPECT_EQ(Lamp(), clYellow);
}

TEST_F(VrPowerButtonTest, LampAndCaptionFollowTheLayout) {
    btn->SetBounds(10, 10, 125, 60);
    btn->SetLedWidth(14);
    btn->SetLedHeight(10);
    for (TVrImageTextLayout layout : {ImageLeft, ImageRight, ImageTop, ImageBottom}) {
        btn->SetLayout(layout);
        TBitmap measure(10, 10);
        measure.Canvas()->Font()->Assign(btn->Font());
        TRect text;
        TPoint glyph;
        CalcButtonLayout(measure.Canvas(), Rect(3, 3, 122, 57), text, glyph, Point(14, 10), 5, -1,
                         static_cast<int>(layout) + 1, btn->Caption());
        EXPECT_EQ(btn->ImageRect(), Bounds(glyph.X, glyph.Y, 14, 10)) << layout;
        EXPECT_EQ(btn->TextBounds(), text) << layout;
    }
    // The lamp really is drawn there: a black frame inside a one-pixel sunken frame.
    TRect r = btn->ImageRect();
    btn->Update();
    TCanvas* img = btn->BackingImage()->Canvas();
    EXPECT_EQ(img->Pixels(r.Left + 1, r.Top + 1), clBlack);
    EXPECT_EQ(img->Pixels(r.Left, r.Top), ColorToRGB(clBtnShadow));
    EXPECT_EQ(img->Pixels(r.Right - 1, r.Bottom - 1), ColorToRGB(clBtnHighlight));
}

TEST_F(VrPowerButtonTest, RendersToPng) {
    btn->SetActive(true);
    std::string path = "/tmp/vrpower-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(btn, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_EQ(pic.Width, 125);
    TRect r = btn->ImageRect();
    EXPECT_EQ(pic.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), 0x00FF00);
}

}  // namespace
