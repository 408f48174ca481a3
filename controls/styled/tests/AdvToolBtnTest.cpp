// The tool button: defaults, presets and styles, the gradient, layout, glyphs, mouse scripts,
// notices, the action link and a look at the pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/styled/AdvToolBtn.h"
#include "controls/styled/tests/StyledTestSupport.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

using styled_test::ScopedAnswers;

namespace {

// Opens nowhere: records where it was asked to open.
class RecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override {
        ++Count;
        At = Point(X, Y);
    }
    int Count = 0;
    TPoint At;
};

// Exposes the layout rule.
class TestButton : public TAdvToolButton {
public:
    using TAdvToolButton::TAdvToolButton;
    using TAdvToolButton::CalcLayout;
};

// A 16 x 16 glyph: a red square on a white (transparent) ground, with a black pixel.
std::unique_ptr<TBitmap> MakeGlyph() {
    auto b = std::make_unique<TBitmap>(16, 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 16, 16));
    c->Brush()->SetColor(0x0000FF);
    c->FillRect(Rect(4, 4, 12, 12));
    c->SetPixels(5, 5, clBlack);
    return b;
}

class ToolButtonTest : public ui::test::FormTest {
protected:
    // The form's pixel at (x, y) of its client area, after painting what is pending.
    TColor At(int x, int y) {
        form->Update();
        TRect client = form->ClientArea();
        return form->BackingImage()->Canvas()->Pixels(client.Left + x, client.Top + y);
    }
    TestButton* Button(int left = 10, int top = 10, int width = 60, int height = 22) {
        auto* b = Add<TestButton>(left, top);
        b->SetBounds(left, top, width, height);
        b->Font()->SetName(u"Arial");
        return b;
    }
    void Show() {
        form->Show();
        ui::test::Pump();
    }
};

TEST_F(ToolButtonTest, Defaults) {
    auto* b = new TAdvToolButton(form);
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 22);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->ColorDown(), TColor(0xD8D3D2));
    EXPECT_EQ(b->ColorHot(), TColor(0xCAC7C7));
    EXPECT_EQ(b->ColorChecked(), TColor(0x808080));
    for (TColor c : {b->ColorTo(), b->ColorDownTo(), b->ColorHotTo(), b->ColorCheckedTo(), b->BorderColor(),
                     b->BorderDownColor(), b->BorderHotColor()})
        EXPECT_EQ(c, clNone);
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_TRUE(b->Shaded());
    EXPECT_TRUE(b->ShowCaption());
    EXPECT_EQ(b->ImageIndex(), -1);
    EXPECT_TRUE(b->DropDownSplit());
    EXPECT_EQ(b->Style(), tasButton);
    b->SetVersion(u"9.9.9.9");
    EXPECT_EQ(b->Version(), String(u"1.6.0.0"));
    EXPECT_EQ(b->GetVersionNr(), 0x01060000);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
}

TEST_F(ToolButtonTest, AFormFileKeepsItsPropertiesButNotAnotherVersion) {
    auto* b = new TAdvToolButton(nullptr);
    b->SetName(u"Send");
    b->SetColorTo(0x123456);
    b->SetRounded(true);
    b->SetLayout(blGlyphTop);
    b->SetCaption(u"送信1");
    TMemoryStream stream;
    {
        TWriter w(&stream);
        w.WriteRootComponent(b);
    }
    b->Free();
    // The same record with another version in it.
    std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    size_t at = bytes.find("1.6.0.0");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 7, "2.0.0.0");
    TMemoryStream edited;
    edited.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    edited.SetPosition(0);
    auto* read = new TAdvToolButton(nullptr);
    TReader r(&edited);
    r.ReadRootComponent(read);
    EXPECT_EQ(read->ColorTo(), TColor(0x123456));
    EXPECT_TRUE(read->Rounded());
    EXPECT_EQ(read->Layout(), blGlyphTop);
    EXPECT_EQ(read->Caption(), String(u"送信1"));
    EXPECT_EQ(read->Version(), String(u"1.6.0.0"));
    read->Free();
}

TEST_F(ToolButtonTest, EveryLookSetsItsElevenColoursRoundedAndFlat) {
    struct Row {
        TColor c[11];
        bool rounded;
    };
    constexpr TColor N = clNone;
    const Row looks[17] = {
        {{0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, N, N, 0xAF987A, 0xC3CECE}, true},
        {{clBtnFace, N, 0xEED2C1, N, 0xE2B598, N, 0xE8E6E1, N, N, 0xC56A31, 0xC56A31}, false},
        {{0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, N, 0, 0}, false},
        {{0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, N, 0, 0}, false},
        {{0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, N, 0, 0}, false},
        {{clBtnFace, N, clBtnFace, N, 0xD8D3D2, N, 0xCAC7C7, N, N, N, N}, false},
        {{0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, N, 0x808080, 0x808080}, false},
        {{0xEBEEEF, 0x7E9898, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7, 0x8ED3FF, 0x55ADFF, N, 0, 0}, false},
        {{0xEEDBC8, 0xF6DDC9, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xE0B99B, 0x45667B, 0x99CEDB}, true},
        {{0xDFDED6, 0xE4E2DB, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xC0BCB2, 0x45667B, 0x99CEDB}, true},
        {{0xF3F3F1, 0xEEEAE7, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xCCCAC9, 0x45667B, 0x99CEDB}, true},
        {{0xFDF8F1, 0xFCEFD5, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0xFDF0D7, 0xFBEDD3, 0xFAE9C6, 0xFDDE99, 0xFEDF9A, 0xFCF2DA}, true},
        {{0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xCEA27D, 0xCEA27D, 0xFBD6B8}, true},
        {{clBtnFace, clBtnFace, 0xC0C0C0, 0xC0C0C0, clHighlight, clHighlight, 0xFFFFFF, 0xFFFFFF, 0x808080, 0x808080, 0x808080}, false},
        {{0xFDF6EF, 0xF0DAC7, 0x8AE3FD, 0xD9F9FD, 0x6CD0FF, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0xC7B29F, 0x308AC2, 0x58CAF1}, true},
        {{0xFFFFFF, 0xEDE5E0, 0x8AE3FD, 0xD9F9FD, 0x6CD0FF, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0xD2CDC8, 0x308AC2, 0x58CAF1}, true},
        {{0xBFBFBF, 0x919191, 0x8AE3FD, 0xD9F9FD, 0x6CD0FF, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x6D6D6D, 0x308AC2, 0x58CAF1}, true},
    };
    auto* b = new TAdvToolButton(form);
    for (int look = 0; look < 17; ++look) {
        SCOPED_TRACE(look);
        b->SetFlat(false);
        b->SetLook(look);
        const TColor got[11] = {b->Color(),        b->ColorTo(),        b->ColorHot(),    b->ColorHotTo(),
                                b->ColorDown(),    b->ColorDownTo(),    b->ColorChecked(), b->ColorCheckedTo(),
                                b->BorderColor(),  b->BorderDownColor(), b->BorderHotColor()};
        for (int i = 0; i < 11; ++i) EXPECT_EQ(got[i], looks[look].c[i]) << "colour " << i;
        EXPECT_EQ(b->Rounded(), looks[look].rounded);
        EXPECT_TRUE(b->Flat());
        EXPECT_EQ(b->Look(), look);
    }
    // Other numbers change nothing.
    b->SetLook(2);
    for (int bad : {17, -1}) {
        b->SetLook(bad);
        EXPECT_EQ(b->Look(), 2);
        EXPECT_EQ(b->Color(), TColor(0xFDEADA));
    }
}

TEST_F(ToolButtonTest, StylesPickTheirLook) {
    auto* b = new TAdvToolButton(form);
    const std::pair<TQRBStyle, int> table[] = {
        {tsWindowsXP, 0},      {tsOffice2003Classic, 1},  {tsOffice2003Blue, 2},    {tsOffice2003Olive, 3},
        {tsOffice2003Silver, 4}, {tsWhidbey, 7},           {tsOffice2007Luna, 8},    {tsOffice2007Obsidian, 9},
        {tsOffice2007Silver, 10}, {tsWindowsVista, 11},    {tsWindows7, 12},         {tsTerminal, 13},
        {tsOffice2010Blue, 14}, {tsOffice2010Silver, 15}, {tsOffice2010Black, 16}};
    for (auto [style, look] : table) {
        static_cast<IQRBStyle*>(b)->SetComponentStyle(style);
        EXPECT_EQ(b->Look(), look) << int(style);
    }
    b->SetColorHot(0x010203);
    b->SetComponentStyle(tsCustom);
    EXPECT_EQ(b->Look(), 16);
    EXPECT_EQ(b->ColorHot(), TColor(0x010203));
}

TEST_F(ToolButtonTest, ThemeAdaptComparesTheWholeColourName) {
    ScopedAnswers answers;
    auto* b = new TAdvToolButton(form);
    const std::pair<const char16_t*, int> table[] = {
        {u"NormalColor", 2}, {u"HomeStead", 3}, {u"Metallic", 4}, {u"NormalColorX", 1}, {u"", 1}};
    for (auto [name, look] : table) {
        answers->ThemeColorName = name;
        b->SetLook(0);
        b->SetAutoThemeAdapt(true);
        EXPECT_EQ(b->Look(), look) << String(name).ToUtf8();
    }
    answers->ThemeColorName = u"Metallic";
    answers->ThemeLibrary = false;
    b->ThemeAdapt();
    EXPECT_EQ(b->Look(), 1);
}

TEST(ToolButtonGradient, SixteenBandsOnATwentyTwoPixelFace) {
    TBitmap bmp(10, 22);
    const TColor from = 0x102030, to = 0xF0A080;
    DrawButtonGradient(bmp.Canvas(), from, to, false, Rect(0, 0, 10, 22), 16, clNone);
    // Each band starts at Round(i * d) and reaches Round(d) + 1 rows; a later band paints over
    // the overlap. Row y shows the last band that covers it.
    const double d = 22.0 / 16;
    auto channel = [](int a, int b, int i) { return a + static_cast<int>(Round(i * (b - a) / 16.0)); };
    for (int y = 0; y < 22; ++y) {
        int band = -1;
        for (int i = 0; i < 16; ++i) {
            int start = static_cast<int>(Round(i * d));
            if (y >= start && y < start + Round(d) + 1) band = i;
        }
        ASSERT_GE(band, 0);
        TColor want = RGB(channel(0x30, 0x80, band), channel(0x20, 0xA0, band), channel(0x10, 0xF0, band));
        EXPECT_EQ(bmp.Canvas()->Pixels(5, y), want) << "row " << y;
    }
    // A border frames the whole rectangle.
    DrawButtonGradient(bmp.Canvas(), from, to, false, Rect(0, 0, 10, 22), 16, 0x0000FF);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 10), TColor(0x0000FF));
    EXPECT_EQ(bmp.Canvas()->Pixels(9, 21), TColor(0x0000FF));
}

TEST_F(ToolButtonTest, LayoutPlacesGlyphAndCaption) {
    TestButton* b = Button(10, 10, 100, 30);
    auto glyph = MakeGlyph();
    b->SetGlyph(glyph.get());
    b->SetCaption(u"Send");
    Show();
    TCanvas* c = b->Canvas();
    c->SetFont(b->Font());
    TRect calc = Rect(0, 0, 100, 0);
    DrawText(c->Handle(), b->Caption(), -1, &calc, DT_CALCRECT);
    const int w = calc.Width(), h = calc.Height();
    const TRect client = Rect(0, 0, 100, 30);
    TPoint g;
    TRect t;

    struct Case {
        TButtonLayout layout;
        int margin, spacing;
        TPoint glyph;
        int textLeft, textTop;
    };
    const int m3 = (100 - 16 - w) / 3;
    const int m2 = (100 - 16 - 4 - w + 1) / 2;
    const int s2 = (100 - 5 - 16 - w) / 2;
    const int gy = (30 - 16 + 1) / 2, ty = (30 - h + 1) / 2;
    const int vm = (30 - 16 - 4 - h + 1) / 2;
    const Case cases[] = {
        {blGlyphLeft, -1, -1, Point(m3, gy), m3 + 16 + m3, ty},
        {blGlyphLeft, -1, 4, Point(m2, gy), m2 + 16 + 4, ty},
        {blGlyphLeft, 5, -1, Point(5, gy), 5 + 16 + s2, ty},
        {blGlyphRight, 5, 4, Point(100 - 5 - 16, gy), 100 - 5 - 16 - 4 - w, ty},
        {blGlyphTop, -1, 4, Point((100 - 16 + 1) / 2, vm), (100 - w + 1) / 2, vm + 16 + 4},
        {blGlyphBottom, 2, 4, Point((100 - 16 + 1) / 2, 30 - 2 - 16), (100 - w + 1) / 2, 30 - 2 - 16 - 4 - h},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.layout) * 100 + k.margin * 10 + k.spacing);
        b->SetLayout(k.layout);
        b->SetMargin(k.margin);
        b->SetSpacing(k.spacing);
        b->CalcLayout(c, client, Point(0, 0), g, t);
        EXPECT_EQ(g, k.glyph);
        EXPECT_EQ(t.Left, k.textLeft);
        EXPECT_EQ(t.Top, k.textTop);
    }
    // The offset and the client's origin move both.
    b->SetLayout(blGlyphLeft);
    b->SetMargin(5);
    b->SetSpacing(4);
    b->CalcLayout(c, Rect(3, 2, 103, 32), Point(-1, -1), g, t);
    EXPECT_EQ(g, Point(5 + 3 - 1, gy + 2 - 1));

    // Right-to-left reading swaps the sides.
    SysLocale.MiddleEast = true;
    b->SetBiDiMode(bdRightToLeft);
    b->CalcLayout(c, client, Point(0, 0), g, t);
    EXPECT_EQ(g.X, 100 - 5 - 16);
    ui::sys::ResetAnswers();
}

TEST_F(ToolButtonTest, MarginAndSpacingShareTheRoomEvenly) {
    // 100 - 16 - 30 leaves 54 for the three gaps: 18 each.
    TestButton* b = Button(10, 10, 100, 30);
    auto glyph = MakeGlyph();
    b->SetGlyph(glyph.get());
    b->SetSpacing(-1);
    Show();
    // A caption measured as 30 pixels wide in the button's font.
    String caption;
    TCanvas* c = b->Canvas();
    c->SetFont(b->Font());
    for (String s = u"i"; s.Length() < 40; s += u"i") {
        TRect calc = Rect(0, 0, 100, 0);
        DrawText(c->Handle(), s, -1, &calc, DT_CALCRECT);
        if (calc.Width() == 30) caption = s;
    }
    if (caption.empty()) GTEST_SKIP() << "no run of i is 30 pixels wide in this font";
    b->SetCaption(caption);
    TPoint g;
    TRect t;
    b->CalcLayout(c, Rect(0, 0, 100, 30), Point(0, 0), g, t);
    EXPECT_EQ(g.X, 18);
    EXPECT_EQ(t.Left, 18 + 16 + 18);
}

TEST_F(ToolButtonTest, DisabledGlyphAndShadow) {
    auto* b = Button();
    TBitmap three(3, 1);
    three.Canvas()->SetPixels(0, 0, 0x0000FF);  // red
    three.Canvas()->SetPixels(1, 0, clWhite);
    three.Canvas()->SetPixels(2, 0, clBlack);
    b->SetGlyph(&three);
    TCanvas* d = b->GlyphDisabled()->Canvas();
    EXPECT_EQ(d->Pixels(0, 0), RGB(138, 138, 138));
    EXPECT_EQ(d->Pixels(1, 0), RGB(223, 223, 223));
    EXPECT_EQ(d->Pixels(2, 0), RGB(96, 96, 96));

    // One the program gives stays when the glyph changes afterwards.
    TBitmap given(2, 2);
    given.Canvas()->Brush()->SetColor(0x00FF00);
    given.Canvas()->FillRect(Rect(0, 0, 2, 2));
    b->SetGlyphDisabled(&given);
    auto glyph = MakeGlyph();
    b->SetGlyph(glyph.get());
    EXPECT_EQ(b->GlyphDisabled()->Width(), 2);
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(0, 0), TColor(0x00FF00));

    // A made one follows the glyph: a new glyph is not shown disabled as the old picture.
    auto* c = Button(100, 10);
    c->SetGlyph(&three);
    c->SetGlyph(glyph.get());
    EXPECT_EQ(c->GlyphDisabled()->Width(), 16);
    EXPECT_EQ(c->GlyphDisabled()->Canvas()->Pixels(8, 8), RGB(138, 138, 138));
    // The shadow is the glyph's silhouette in grey on its transparent colour, and follows it.
    EXPECT_EQ(c->GlyphShade()->Canvas()->Pixels(8, 8), TColor(0x808080));
    EXPECT_EQ(c->GlyphShade()->Canvas()->Pixels(0, 15), clWhite);
}

TEST_F(ToolButtonTest, AHotShadedGlyphRisesOverItsShadow) {
    auto* b = Button(10, 10, 40, 30);
    b->SetColor(clWhite);
    auto glyph = MakeGlyph();
    b->SetGlyph(glyph.get());
    Show();
    // The face is the client less one pixel (no down border), and the layout's room one more
    // inside: a 16-pixel glyph centred in 36 x 26. Its red square covers glyph pixels 4 to 11.
    const int rx = 10 + 2 + (36 - 16 + 1) / 2, ry = 10 + 2 + (26 - 16 + 1) / 2;
    EXPECT_EQ(At(rx + 4, ry + 4), TColor(0x0000FF));
    EXPECT_EQ(At(rx + 3, ry + 3), clWhite);

    ui::test::MouseMove(b, 5, 5);
    ui::test::Pump();
    ASSERT_TRUE(b->MouseInControl());
    // Drawn at rest + (-1, -1); its shadow 2 pixels right of and below the drawn glyph, on the
    // hot face.
    EXPECT_EQ(At(rx + 3, ry + 3), TColor(0x0000FF));
    EXPECT_EQ(At(rx + 11, ry + 5), TColor(0x808080));
    EXPECT_EQ(At(rx + 12, ry + 12), TColor(0x808080));
    EXPECT_EQ(At(rx + 13, ry + 13), TColor(0xCAC7C7));
}

struct Script {
    const char* name;
    int group;
    bool allowAllUp;
    TAdvToolButtonStyle style;
    bool downBefore;
    bool releaseInside;
    bool downAfter;
    int clicks;
};

TEST_F(ToolButtonTest, MouseScripts) {
    const Script scripts[] = {
        {"plain click", 0, false, tasButton, false, true, false, 1},
        {"released outside", 0, false, tasButton, false, false, false, 0},
        {"check toggles", 0, false, tasCheck, false, true, true, 1},
        {"check toggles outside too", 0, false, tasCheck, true, false, false, 0},
        {"group: goes down", 1, false, tasButton, false, true, true, 1},
        {"group: stays down without all-up", 1, false, tasButton, true, true, true, 1},
        {"group: comes up with all-up", 1, true, tasButton, true, true, false, 1},
        {"group: released outside keeps it", 1, false, tasButton, false, false, false, 0},
    };
    for (const Script& s : scripts) {
        SCOPED_TRACE(s.name);
        auto* b = Button();
        Show();
        int clicks = 0;
        b->OnClick = [&](TObject*) { ++clicks; };
        b->SetStyle(s.style);
        b->SetGroupIndex(s.group);
        b->SetAllowAllUp(s.allowAllUp);
        b->SetDown(s.downBefore);
        ASSERT_EQ(b->Down(), s.downBefore);
        ui::test::MouseDown(b, 10, 10);
        int x = s.releaseInside ? 12 : 200;
        ui::test::MouseMove(b, x, 10, MK_LBUTTON);
        ui::test::MouseUp(b, x, 10);
        ui::test::Pump();
        EXPECT_EQ(b->Down(), s.downAfter);
        EXPECT_EQ(clicks, s.clicks);
        if (s.style == tasButton && s.group == 0) {
            EXPECT_EQ(b->State(), bsUp);
        }
        b->Free();
    }
    // A lone push button never stays down.
    auto* lone = Button();
    lone->SetDown(true);
    EXPECT_FALSE(lone->Down());
}

TEST_F(ToolButtonTest, PressingAnotherButtonOfTheGroupRaisesTheFirst) {
    auto* a = Button(10, 10);
    auto* b = Button(80, 10);
    auto* other = Button(150, 10);
    for (auto* x : {a, b}) x->SetGroupIndex(3);
    other->SetGroupIndex(4);
    other->SetDown(true);
    a->SetDown(true);
    Show();
    ui::test::Click(b, 5, 5);
    ui::test::Pump();
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), bsUp);
    EXPECT_TRUE(other->Down());  // another group
    // AllowAllUp is shared in the group.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
}

TEST_F(ToolButtonTest, DropDown) {
    auto* menu = new RecordingMenu(form);
    auto* b = Button(20, 30, 60, 22);
    b->SetDropDownButton(true);
    b->SetDropDownMenu(menu);
    Show();
    int clicks = 0, drops = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDropDown = [&](TObject*) { ++drops; };
    // With the split: the arrow part drops down, the rest clicks.
    ui::test::Click(b, 55, 10);
    ui::test::Click(b, 10, 10);
    ui::test::Pump();
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu->Count, 1);
    EXPECT_EQ(menu->At, b->ClientToScreen(Point(0, 22)));
    // Without it every press drops down and none clicks.
    b->SetDropDownSplit(false);
    ui::test::Click(b, 10, 10);
    ui::test::Click(b, 30, 10);
    ui::test::Pump();
    EXPECT_EQ(drops, 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu->Count, 3);
    // The menu's removal clears the reference.
    menu->Free();
    EXPECT_EQ(b->DropDownMenu(), nullptr);
    ui::test::Click(b, 10, 10);
    EXPECT_EQ(drops, 4);
}

TEST_F(ToolButtonTest, AcceleratorHotTrackingAndImages) {
    auto* b = Button();
    b->SetCaption(u"&Send");
    Show();
    int clicks = 0, enters = 0, leaves = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseLeave = [&](TObject*) { ++leaves; };
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'S'), 1);
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    b->Perform(CM_DIALOGCHAR, 'S');
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(true);  // asks where the pointer is: not here, so a leave
    EXPECT_EQ(leaves, 1);

    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->MouseInControl());
    b->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(b->MouseInControl());
    // While a control holds the capture the button does not light up, but hears of it.
    auto* holder = Button(100, 10);
    SetCaptureControl(holder);
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->MouseInControl());
    SetCaptureControl(nullptr);
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 2);

    // A freed image list is dropped, and the button still paints.
    auto* images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    auto glyph = MakeGlyph();
    images->Add(glyph.get());
    b->SetImages(images);
    b->SetImageIndex(0);
    b->SetCaption(u"");
    form->Update();
    images->Free();
    EXPECT_EQ(b->Images(), nullptr);
    b->Invalidate();
    form->Update();
}

TEST_F(ToolButtonTest, TheActionLinkFollowsCheckedOnlyInAnAllUpGroup) {
    auto* action = new TAction(form);
    action->SetCaption(u"Go");
    auto* b = Button();
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), String(u"Go"));
    action->SetCaption(u"Run");
    EXPECT_EQ(b->Caption(), String(u"Run"));
    b->SetCaption(u"Mine");
    action->SetCaption(u"Again");
    EXPECT_EQ(b->Caption(), String(u"Mine"));  // no longer equal: not linked

    action->SetChecked(true);
    EXPECT_FALSE(b->Down());  // no group
    action->SetChecked(false);
    b->SetGroupIndex(2);
    b->SetAllowAllUp(true);
    action->SetChecked(true);
    EXPECT_TRUE(b->Down());
    action->SetChecked(false);
    EXPECT_FALSE(b->Down());

    action->SetGroupIndex(2);  // equal: linked, stays
    EXPECT_EQ(b->GroupIndex(), 2);
    action->SetGroupIndex(5);
    EXPECT_EQ(b->GroupIndex(), 5);
    action->SetGroupIndex(7);  // 5 no longer equals the action's... it does: linked
    EXPECT_EQ(b->GroupIndex(), 7);
    b->SetGroupIndex(1);
    action->SetGroupIndex(9);
    EXPECT_EQ(b->GroupIndex(), 1);
}

TEST_F(ToolButtonTest, TheWorkbenchSendButtonsLook) {
    form->SetColor(clWhite);
    auto glyph = MakeGlyph();
    TestButton* buttons[2];
    for (int i = 0; i < 2; ++i) {
        auto* b = Button(10 + 80 * i, 10, 70, 24);
        b->SetCaption(i == 0 ? u"送信1" : u"消去(F7)");
        b->SetColor(0xF0E0D0);
        b->SetColorTo(0xC09070);
        b->SetBorderColor(0x804020);
        b->SetGlyph(glyph.get());
        buttons[i] = b;
    }
    buttons[1]->SetEnabled(false);
    Show();
    // The enabled one: its border and its gradient, top lighter than bottom.
    EXPECT_EQ(At(10 + 1, 10 + 12), TColor(0x804020));
    TColor top = At(10 + 3, 10 + 3), bottom = At(10 + 3, 10 + 20);
    EXPECT_GT(GetRValue(top), GetRValue(bottom));
    // The glyph in colour on the enabled one, grey on the disabled one.
    bool red = false, grey = false;
    for (int y = 10; y < 34; ++y)
        for (int x = 10; x < 80; ++x) red |= At(x, y) == TColor(0x0000FF);
    for (int y = 10; y < 34; ++y)
        for (int x = 90; x < 160; ++x) grey |= At(x, y) == RGB(138, 138, 138);
    EXPECT_TRUE(red);
    EXPECT_TRUE(grey);
    if (std::getenv("RWB_RENDER_LOOK"))
        ui::test::SaveToPng(form, (std::filesystem::temp_directory_path() / "rwb_toolbuttons.png").string());

    int clicks = 0;
    buttons[0]->OnClick = [&](TObject*) { ++clicks; };
    ui::test::Click(buttons[0], 20, 12);
    ui::test::Click(buttons[1], 20, 12);
    ui::test::Pump();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
