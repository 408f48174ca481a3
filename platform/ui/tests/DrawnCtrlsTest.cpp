#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

const TColor kHighlight = ColorToRGB(clBtnHighlight);
const TColor kShadow = ColorToRGB(clBtnShadow);
const TColor kFace = ColorToRGB(clBtnFace);

class DrawnCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override { form->Free(); }
    ui::test::AppScope scope;
    TForm* form = nullptr;
};

TEST_F(DrawnCtrlsTest, LabelAcceleratorFocusesItsFocusControl) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption(String("&File name"));
    auto* other = new drawn_test::Focusable(form);
    other->SetParent(form);
    auto* target = new drawn_test::Focusable(form);
    target->SetParent(form);
    target->SetTop(40);
    label->SetFocusControl(target);
    form->Show();
    other->SetFocus();
    ASSERT_EQ(form->ActiveControl(), other);
    ui::test::Key(form, 'F', String("f"), {ssAlt});
    EXPECT_EQ(form->ActiveControl(), target);
    // Without ShowAccelChar "&" is plain text and no accelerator.
    other->SetFocus();
    label->SetShowAccelChar(false);
    ui::test::Key(form, 'F', String("f"), {ssAlt});
    EXPECT_EQ(form->ActiveControl(), other);
    // A freed focus control is forgotten.
    label->SetShowAccelChar(true);
    target->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    ui::test::Key(form, 'F', String("f"), {ssAlt});
    EXPECT_EQ(form->ActiveControl(), other);
}

TEST_F(DrawnCtrlsTest, LabelAutoSizesToItsTextAndDrawsIt) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(10, 10, 5, 5);
    label->Font()->SetName(String("Noto Sans CJK JP"));
    label->SetCaption(String("Wide caption text"));
    EXPECT_GT(label->Width(), 60);
    EXPECT_GT(label->Height(), 8);
    int oneLine = label->Height();
    label->SetAutoSize(false);
    label->SetWidth(200);
    label->SetAutoSize(true);
    // Word wrap in a narrow label gives several lines.
    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetWidth(50);
    label->SetAutoSize(true);
    EXPECT_GT(label->Height(), oneLine);
    label->SetColor(clYellow);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "label");
    ASSERT_GT(pic.Width, 0);
    int dark = 0, yellow = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
            if (pic.At(x, y) == 0) ++dark;
            if (pic.At(x, y) == clYellow) ++yellow;
        }
    EXPECT_GT(dark, 20);
    EXPECT_GT(yellow, dark);
    // Transparent: the form shows through.
    label->SetTransparent(true);
    pic = drawn_test::Snapshot(form, "label2");
    EXPECT_EQ(pic.At(label->Left(), label->Top()), kFace);
}

// The bounding box of the black pixels inside r of a picture; empty when there are none.
TRect DarkBox(const ui::test::Picture& pic, const TRect& r) {
    TRect box(10000, 10000, -1, -1);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (pic.At(x, y) == 0) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.Right < 0 ? TRect() : box;
}

TEST_F(DrawnCtrlsTest, LabelAlignmentAndLayoutPlaceTheText) {
    struct Case {
        TAlignment alignment;
        TTextLayout layout;
        bool right, bottom;
    } cases[] = {{taLeftJustify, tlTop, false, false}, {taRightJustify, tlBottom, true, true},
                 {taCenter, tlCenter, false, false}};
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 200, 80);
    label->SetCaption(String("Ab"));
    form->Show();
    for (const Case& c : cases) {
        label->SetAlignment(c.alignment);
        label->SetLayout(c.layout);
        ui::test::Picture pic = drawn_test::Snapshot(form, "labelpos");
        ASSERT_GT(pic.Width, 0);
        TRect box = DarkBox(pic, label->BoundsRect());
        ASSERT_FALSE(box.IsEmpty());
        int cx = (box.Left + box.Right) / 2 - 10, cy = (box.Top + box.Bottom) / 2 - 10;
        SCOPED_TRACE(testing::Message() << c.alignment << "," << c.layout << " text at " << cx << "," << cy);
        if (c.alignment == taCenter) {
            EXPECT_NEAR(cx, 100, 4);
        } else {
            EXPECT_EQ(cx > 100, c.right);
        }
        if (c.layout == tlCenter) {
            EXPECT_NEAR(cy, 40, 4);
        } else {
            EXPECT_EQ(cy > 40, c.bottom);
        }
    }
}

TEST_F(DrawnCtrlsTest, StaticTextAcceleratorAndBorder) {
    auto* st = new TStaticText(form);
    st->SetParent(form);
    st->SetBounds(10, 10, 10, 10);
    st->SetBorderStyle(sbsSunken);
    st->SetCaption(String("&Port"));
    auto* other = new drawn_test::Focusable(form);
    other->SetParent(form);
    other->SetTop(100);
    auto* target = new drawn_test::Focusable(form);
    target->SetParent(form);
    target->SetTop(140);
    st->SetFocusControl(target);
    form->Show();
    EXPECT_GT(st->Width(), 20);  // sized to its caption and border
    ui::test::Picture pic = drawn_test::Snapshot(form, "static");
    ASSERT_GT(pic.Width, 0);
    EXPECT_EQ(pic.At(10, 15), kShadow);
    EXPECT_EQ(pic.At(10 + st->Width() - 1, 15), kHighlight);
    other->SetFocus();
    ui::test::Key(form, 'P', String("p"), {ssAlt});
    EXPECT_EQ(form->ActiveControl(), target);
}

TEST_F(DrawnCtrlsTest, PanelBevelsDrawHighlightAndShadowEdges) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 60);
    panel->SetBevelWidth(2);
    auto* lowered = new TPanel(form);
    lowered->SetParent(form);
    lowered->SetBounds(150, 10, 100, 60);
    lowered->SetBevelOuter(bvLowered);
    lowered->SetBevelInner(bvRaised);
    lowered->SetBorderWidth(3);
    lowered->SetColor(clAqua);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "panel");
    ASSERT_GT(pic.Width, 0);
    // Raised, two pixels wide: highlight left and top, shadow right and bottom, face inside.
    struct Case {
        int x, y;
        TColor color;
    } raised[] = {{10, 40, kHighlight}, {11, 40, kHighlight}, {50, 10, kHighlight}, {50, 11, kHighlight},
                  {109, 40, kShadow},   {108, 40, kShadow},   {50, 69, kShadow},    {50, 68, kShadow},
                  {12, 40, kFace},      {50, 40, kFace}};
    for (const Case& c : raised) EXPECT_EQ(pic.At(c.x, c.y), c.color) << c.x << "," << c.y;
    // Lowered outside, border of Color, raised inside.
    Case sunk[] = {{150, 40, kShadow},        {249, 40, kHighlight}, {151, 40, clAqua},   {153, 40, clAqua},
                   {154, 40, kHighlight},     {245, 40, kShadow},    {200, 14, kHighlight}, {200, 65, kShadow},
                   {200, 40, clAqua}};
    for (const Case& c : sunk) EXPECT_EQ(pic.At(c.x, c.y), c.color) << c.x << "," << c.y;
}

TEST_F(DrawnCtrlsTest, AlignedChildrenStayInsideFrames) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 120, 80);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* child = new TPanel(form);
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 113, 73));
    panel->SetBevelOuter(bvNone);
    EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 115, 75));

    auto* gb = new TGroupBox(form);
    gb->SetParent(form);
    gb->SetBounds(130, 0, 120, 80);
    auto* top = new TPanel(form);
    top->SetParent(gb);
    top->SetHeight(20);
    top->SetAlign(alTop);
    EXPECT_EQ(top->Left(), 2);
    EXPECT_GT(top->Top(), 8);
    EXPECT_EQ(top->Width(), 116);
}

TEST_F(DrawnCtrlsTest, BevelShapesAndStyles) {
    auto* box = new TBevel(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 40, 30);
    auto* line = new TBevel(form);
    line->SetParent(form);
    line->SetBounds(10, 60, 40, 10);
    line->SetShape(bsTopLine);
    line->SetStyle(bsRaised);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "bevel");
    EXPECT_EQ(pic.At(10, 20), kShadow);
    EXPECT_EQ(pic.At(49, 20), kHighlight);
    EXPECT_EQ(pic.At(30, 25), kFace);
    EXPECT_EQ(pic.At(30, 60), kHighlight);
    EXPECT_EQ(pic.At(30, 61), kShadow);
    EXPECT_EQ(pic.At(30, 62), kFace);
}

// A glyph strip of `n` images 10 x 10: image i filled with colours[i], with a one-pixel border of
// the transparent colour around each.
std::unique_ptr<TBitmap> Strip(int n, const TColor* colors, TColor transparent) {
    auto b = std::make_unique<TBitmap>(10 * n, 10);
    b->Canvas()->Brush()->SetColor(transparent);
    b->Canvas()->FillRect(Rect(0, 0, 10 * n, 10));
    for (int i = 0; i < n; ++i) {
        b->Canvas()->Brush()->SetColor(colors[i]);
        b->Canvas()->FillRect(Rect(10 * i + 1, 1, 10 * i + 9, 9));
    }
    return b;
}

TEST_F(DrawnCtrlsTest, SpeedButtonsOfAGroupActAsRadioButtons) {
    TSpeedButton* b[3];
    for (int i = 0; i < 3; ++i) {
        b[i] = new TSpeedButton(form);
        b[i]->SetParent(form);
        b[i]->SetBounds(10 + 30 * i, 10, 25, 25);
        b[i]->SetGroupIndex(1);
    }
    auto* alone = new TSpeedButton(form);
    alone->SetParent(form);
    alone->SetBounds(10, 50, 25, 25);
    int clicks = 0;
    b[1]->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ui::test::Click(b[1], 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b[1]->Down());
    ui::test::Click(b[2], 5, 5);
    EXPECT_TRUE(b[2]->Down());
    EXPECT_FALSE(b[1]->Down());
    // The down one stays down when clicked again (AllowAllUp is off)...
    ui::test::Click(b[2], 5, 5);
    EXPECT_TRUE(b[2]->Down());
    // ...and comes up with AllowAllUp, which the group shares.
    b[0]->SetAllowAllUp(true);
    EXPECT_TRUE(b[2]->AllowAllUp());
    ui::test::Click(b[2], 5, 5);
    EXPECT_FALSE(b[2]->Down());
    // Setting Down by program is exclusive too.
    b[0]->SetDown(true);
    b[1]->SetDown(true);
    EXPECT_FALSE(b[0]->Down());
    EXPECT_TRUE(b[1]->Down());
    // Without a group a button never stays down.
    alone->SetDown(true);
    EXPECT_FALSE(alone->Down());
    ui::test::MouseDown(alone, 5, 5);
    EXPECT_EQ(alone->State(), bsDown);
    ui::test::MouseUp(alone, 5, 5);
    EXPECT_EQ(alone->State(), bsUp);
}

TEST_F(DrawnCtrlsTest, SpeedButtonGlyphStatesAndTransparency) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 300, 200);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clTeal);
    auto* btn = new TSpeedButton(form);
    btn->SetParent(panel);
    btn->SetBounds(20, 20, 30, 30);
    btn->SetFlat(true);
    btn->SetGroupIndex(5);
    btn->SetAllowAllUp(true);
    const TColor colors[] = {clRed, clGray, clBlue, clGreen};
    auto strip = Strip(4, colors, clLime);
    btn->SetGlyph(strip.get());
    EXPECT_EQ(btn->NumGlyphs(), 4);
    form->Show();
    // Up, flat, not hovered: the parent shows around the glyph and through its transparent border.
    ui::test::Picture pic = drawn_test::Snapshot(form, "speed1");
    ASSERT_GT(pic.Width, 0);
    EXPECT_EQ(pic.At(35, 35), clRed);
    EXPECT_EQ(pic.At(21, 21), clTeal);
    int gx = 20 + (30 - 10) / 2, gy = 20 + (30 - 10) / 2;
    EXPECT_EQ(pic.At(gx, gy), clTeal);  // the glyph's own border pixel: transparent
    EXPECT_EQ(pic.At(gx + 9, gy + 9), clTeal);
    for (int y = 20; y < 50; ++y)
        for (int x = 20; x < 50; ++x) ASSERT_NE(pic.At(x, y), clLime) << x << "," << y;
    // Exclusive (down in its group): the fourth image, shifted by the press.
    btn->SetDown(true);
    pic = drawn_test::Snapshot(form, "speed2");
    EXPECT_EQ(pic.At(36, 36), clGreen);
    // Disabled: the second image.
    btn->SetDown(false);
    btn->SetEnabled(false);
    pic = drawn_test::Snapshot(form, "speed3");
    EXPECT_EQ(pic.At(35, 35), clGray);
    btn->SetEnabled(true);
    // Pressed with the mouse: the third image.
    ui::test::MouseDown(btn, 15, 15);
    pic = drawn_test::Snapshot(form, "speed4");
    EXPECT_EQ(pic.At(36, 36), clBlue);
    ui::test::MouseUp(btn, 15, 15);
    EXPECT_TRUE(btn->Down());
}

TEST_F(DrawnCtrlsTest, SpeedButtonLayoutMarginAndSpacingPlaceGlyphAndCaption) {
    const TColor red[] = {clRed};
    auto glyph = Strip(1, red, clLime);
    struct Case {
        TButtonLayout layout;
        int margin, spacing;
        TRect glyph;  // where the glyph's 10 x 10 lands in the 80 x 60 button
    } cases[] = {
        {blGlyphLeft, 4, 3, Rect(4, 25, 14, 35)},
        {blGlyphRight, 4, 3, Rect(66, 25, 76, 35)},
        {blGlyphTop, 2, 2, Rect(35, 2, 45, 12)},
        {blGlyphBottom, 2, 2, Rect(35, 48, 45, 58)},
    };
    auto* btn = new TSpeedButton(form);
    btn->SetParent(form);
    btn->SetBounds(0, 0, 80, 60);
    btn->SetGlyph(glyph.get());
    btn->SetCaption(String("Go"));
    form->Show();
    for (const Case& c : cases) {
        btn->SetLayout(c.layout);
        btn->SetMargin(c.margin);
        btn->SetSpacing(c.spacing);
        SCOPED_TRACE(testing::Message() << "layout " << c.layout);
        ui::test::Picture pic = drawn_test::Snapshot(form, "speedlayout");
        ASSERT_GT(pic.Width, 0);
        // The glyph's red middle, its transparent border excluded.
        EXPECT_EQ(pic.At(c.glyph.Left + 1, c.glyph.Top + 1), clRed);
        EXPECT_EQ(pic.At(c.glyph.Right - 2, c.glyph.Bottom - 2), clRed);
        EXPECT_NE(pic.At(c.glyph.Left - 1, c.glyph.Top + 5), clRed);
        // The caption sits on the far side of the glyph, `spacing` away.
        TRect text = DarkBox(pic, Rect(2, 2, 78, 58));
        ASSERT_FALSE(text.IsEmpty());
        switch (c.layout) {
            case blGlyphLeft: EXPECT_GE(text.Left, c.glyph.Right + c.spacing); break;
            case blGlyphRight: EXPECT_LE(text.Right, c.glyph.Left - c.spacing); break;
            case blGlyphTop: EXPECT_GE(text.Top, c.glyph.Bottom + c.spacing); break;
            case blGlyphBottom: EXPECT_LE(text.Bottom, c.glyph.Top - c.spacing); break;
        }
    }
}

TEST_F(DrawnCtrlsTest, FlatSpeedButtonShowsAFrameWhileHovered) {
    auto* btn = new TSpeedButton(form);
    btn->SetParent(form);
    btn->SetBounds(20, 20, 30, 30);
    btn->SetFlat(true);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "flat1");
    EXPECT_EQ(pic.At(20, 35), kFace);
    ui::test::MouseMove(btn, 10, 10);
    EXPECT_TRUE(btn->MouseInControl());
    pic = drawn_test::Snapshot(form, "flat2");
    EXPECT_EQ(pic.At(20, 35), kHighlight);
    EXPECT_EQ(pic.At(49, 35), kShadow);
    ui::test::MouseLeave(btn);
    EXPECT_FALSE(btn->MouseInControl());
}

TEST_F(DrawnCtrlsTest, ImagePlacesThePictureByCenterStretchAndProportional) {
    TBitmap red(20, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 20, 10));
    struct Case {
        bool center, stretch, proportional;
        TRect expected;
    } cases[] = {
        {false, false, false, Rect(0, 0, 20, 10)},
        {true, false, false, Rect(40, 45, 60, 55)},
        {false, true, false, Rect(0, 0, 100, 100)},
        {true, true, true, Rect(0, 25, 100, 75)},
        {false, true, true, Rect(0, 0, 100, 50)},
        {true, false, true, Rect(40, 45, 60, 55)},  // proportional alone never enlarges
    };
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(50, 50, 100, 100);
    image->Picture()->SetGraphic(&red);
    form->Show();
    for (const Case& c : cases) {
        image->SetCenter(c.center);
        image->SetStretch(c.stretch);
        image->SetProportional(c.proportional);
        SCOPED_TRACE(testing::Message() << c.center << c.stretch << c.proportional);
        EXPECT_EQ(image->DestRect(), c.expected);
        ui::test::Picture pic = drawn_test::Snapshot(form, "image");
        ASSERT_GT(pic.Width, 0);
        TRect e = OffsetRectBy(c.expected, 50, 50);
        EXPECT_EQ(pic.At(e.Left, e.Top), clRed);
        EXPECT_EQ(pic.At(e.Right - 1, e.Bottom - 1), clRed);
        if (e.Left > 50) {
            EXPECT_EQ(pic.At(e.Left - 1, e.Top), kFace);
        }
        if (e.Bottom < 150) {
            EXPECT_EQ(pic.At(e.Left, e.Bottom), kFace);
        }
        if (e.Right < 150) {
            EXPECT_EQ(pic.At(e.Right, e.Bottom - 1), kFace);
        }
    }
}

TEST_F(DrawnCtrlsTest, ImageTransparencyDrawingAndClicks) {
    TBitmap pic20(20, 20);
    pic20.Canvas()->Brush()->SetColor(clLime);  // bottom-left: the transparent colour
    pic20.Canvas()->FillRect(Rect(0, 0, 20, 20));
    pic20.Canvas()->Brush()->SetColor(clRed);
    pic20.Canvas()->FillRect(Rect(5, 5, 15, 15));
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 20, 20);
    image->Picture()->SetGraphic(&pic20);
    int clicks = 0;
    image->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, image);
        ++clicks;
    };
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "imgt1");
    ASSERT_GT(pic.Width, 0);
    EXPECT_EQ(pic.At(11, 11), clLime);
    image->SetTransparent(true);
    pic = drawn_test::Snapshot(form, "imgt2");
    EXPECT_EQ(pic.At(11, 11), kFace);
    EXPECT_EQ(pic.At(20, 20), clRed);
    ui::test::Click(image, 3, 3);
    EXPECT_EQ(clicks, 1);

    // Drawing on the image's canvas shows on the form.
    auto* blank = new TImage(form);
    blank->SetParent(form);
    blank->SetBounds(100, 10, 30, 30);
    blank->Canvas()->Brush()->SetColor(clBlue);
    blank->Canvas()->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(blank->Picture()->Width(), 30);
    pic = drawn_test::Snapshot(form, "imgt3");
    EXPECT_EQ(pic.At(105, 15), clBlue);
    EXPECT_EQ(pic.At(115, 25), clWhite);
}

TEST_F(DrawnCtrlsTest, ShapeCircleStaysInsideItsBounds) {
    auto* shape = new TShape(form);
    shape->SetParent(form);
    shape->SetBounds(20, 30, 80, 40);
    shape->SetShape(stCircle);
    shape->Brush()->SetColor(clRed);
    shape->Pen()->SetColor(clBlue);
    auto* rect = new TShape(form);
    rect->SetParent(form);
    rect->SetBounds(150, 30, 40, 20);
    rect->Brush()->SetColor(clYellow);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "shape");
    ASSERT_GT(pic.Width, 0);
    // A circle of diameter 40 centred across the 80 wide control: x 40..79.
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < pic.Height; ++y)
        for (int x = 0; x < 140; ++x) {
            TColor c = pic.At(x, y);
            if (c != clRed && c != clBlue) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    EXPECT_EQ(minX, 40);
    // Inside the bounds (the canvas's ellipse may stop a pixel short of the exclusive edge).
    EXPECT_GE(maxX, 78);
    EXPECT_LE(maxX, 79);
    EXPECT_EQ(minY, 30);
    EXPECT_GE(maxY, 68);
    EXPECT_LE(maxY, 69);
    EXPECT_EQ(pic.At(60, 50), clRed);
    EXPECT_EQ(pic.At(41, 31), kFace);  // the corner of its square is outside the circle
    // The rectangle fills its bounds with the pen on the edge.
    EXPECT_EQ(pic.At(150, 30), clBlack);
    EXPECT_EQ(pic.At(189, 49), clBlack);
    EXPECT_EQ(pic.At(170, 40), clYellow);
}

TEST_F(DrawnCtrlsTest, GroupBoxFramesItsChildrenUnderItsCaption) {
    auto* gb = new TGroupBox(form);
    gb->SetParent(form);
    gb->SetBounds(10, 10, 150, 100);
    gb->SetCaption(String("Options"));
    auto* inner = new TLabel(form);
    inner->SetParent(gb);
    inner->SetBounds(10, 30, 40, 15);
    form->Show();
    EXPECT_EQ(inner->Parent(), gb);
    ui::test::Picture pic = drawn_test::Snapshot(form, "groupbox");
    ASSERT_GT(pic.Width, 0);
    // The etched frame's left edge: shadow then highlight.
    EXPECT_EQ(pic.At(10, 60), kShadow);
    EXPECT_EQ(pic.At(11, 60), kHighlight);
    // The caption interrupts the top edge.
    int dark = 0;
    for (int x = 18; x < 60; ++x)
        for (int y = 10; y < 25; ++y)
            if (pic.At(x, y) == 0) ++dark;
    EXPECT_GT(dark, 10);
}

}  // namespace
