// The calculator keypad: its default keys and their grid, the hot, pressed and click rules, the
// repainted area round a key, and the glossy face's halo on the hot and the pressed key only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>

#include "dropdown/AdvCalculatorDropdown.h"
#include "dropdown/tests/WatchTestSupport.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

using watch_test::Drawn;
using watch_test::RecordingEngine;

constexpr TColor kBackground = 0x00E000;

class KeypadTest : public ui::test::FormTest {
protected:
    TCustomButtonPanel* pad = nullptr;
    std::vector<int> clicks;

    // A standalone keypad of 228 x 150 at the form's top-left, loaded as a form loads it.
    void SetUp() override {
        FormTest::SetUp();
        pad = Add<TCustomButtonPanel>(0, 0);
        pad->SetBounds(0, 0, 228, 150);
        pad->SetColor(kBackground);
        pad->Loaded();
        pad->OnButtonClick = [this](TObject* Sender, int Index) {
            EXPECT_EQ(Sender, pad);
            clicks.push_back(Index);
        };
        form->Show();
        Paint();
    }
    void Paint() {
        ui::test::Pump();
        pad->Update();
    }
    TColor At(int x, int y) { return pad->BackingImage()->Canvas()->Pixels(x, y); }
    TRect Key(int i) { return pad->Buttons()->Items(i)->BoundsRect(); }
    TPoint Centre(int i) { return Point((Key(i).Left + Key(i).Right) / 2, (Key(i).Top + Key(i).Bottom) / 2); }
    void Move(int i) { ui::test::MouseMove(pad, Centre(i).X, Centre(i).Y); }
    // The update rectangle after one change from a valid window.
    TRect UpdatedBy(const std::function<void()>& change) {
        Paint();
        ValidateRect(pad->Handle(), nullptr);
        change();
        TRect r;
        GetUpdateRect(pad->Handle(), &r, FALSE_);
        return r;
    }
    static TRect Grown(TRect r) {
        InflateRect(r, 8, 8);
        return r;
    }
};

TEST_F(KeypadTest, TheDefaultKeysOnTheirGrid) {
    // Caption, name, tag, column (-1: the top row's thirds), row (for the thirds: which), special.
    struct Expected {
        const char16_t* caption;
        const char16_t* name;
        int tag, column, row;
        bool special;
    };
    const Expected keys[] = {
        {u"", u"BTN_ON", 30, 0, 0, false},     {u"Back", u"BTN_BACK", 31, -1, 0, true},
        {u"CE", u"BTN_CE", 32, -1, 1, true},   {u"C", u"BTN_C", 16, -1, 2, true},
        {u"MC", u"BTN_MC", 33, 0, 1, true},    {u"MR", u"BTN_MR", 34, 0, 2, true},
        {u"MS", u"BTN_MS", 35, 0, 3, true},    {u"M+", u"BTN_M+", 36, 0, 4, true},
        {u"0", u"BTN_0", 0, 1, 4, false},      {u"1", u"BTN_1", 1, 1, 3, false},
        {u"4", u"BTN_4", 4, 1, 2, false},      {u"7", u"BTN_7", 7, 1, 1, false},
        {u"8", u"BTN_8", 8, 2, 1, false},      {u"5", u"BTN_5", 5, 2, 2, false},
        {u"2", u"BTN_2", 2, 2, 3, false},      {u"+/-", u"BTN_+/-", 14, 2, 4, false},
        {u".", u"BTN_.", 15, 3, 4, false},     {u"3", u"BTN_3", 3, 3, 3, false},
        {u"6", u"BTN_6", 6, 3, 2, false},      {u"9", u"BTN_9", 9, 3, 1, false},
        {u"/", u"BTN_/", 13, 4, 1, true},      {u"*", u"BTN_*", 12, 4, 2, true},
        {u"-", u"BTN_-", 11, 4, 3, true},      {u"+", u"BTN_+", 10, 4, 4, true},
        {u"=", u"BTN_=", 17, 5, 4, true},      {u"1/x", u"BTN_1/x", 38, 5, 3, false},
        {u"%", u"BTN_%", 18, 5, 2, false},     {u"sqrt", u"BTN_sqrt", 37, 5, 1, true},
    };
    const int columns[] = {8, 46, 79, 112, 150, 183}, rows[] = {8, 38, 63, 88, 113};
    const int thirdsLeft[] = {46, 104, 162}, thirdsWidth[] = {54, 54, 55};
    ASSERT_EQ(pad->Buttons()->Count(), 28);
    for (int i = 0; i < 28; ++i) {
        SCOPED_TRACE(i);
        const Expected& e = keys[i];
        const TButtonItem* k = pad->Buttons()->Items(i);
        EXPECT_EQ(k->Caption(), String(e.caption));
        EXPECT_EQ(k->Name(), String(e.name));
        EXPECT_EQ(k->Tag(), e.tag);
        EXPECT_EQ(k->Special(), e.special);
        EXPECT_EQ(k->CaptionColor(), e.special ? static_cast<TColor>(128) : static_cast<TColor>(0xFFFFFF));
        EXPECT_TRUE(k->Enabled());
        EXPECT_EQ(k->Top(), e.column >= 0 ? rows[e.row] : rows[0]);
        EXPECT_EQ(k->Height(), 26);
        if (e.column >= 0) {
            EXPECT_EQ(k->Left(), columns[e.column]);
            EXPECT_EQ(k->Width(), 34);
        } else {
            EXPECT_EQ(k->Left(), thirdsLeft[e.row]);
            EXPECT_EQ(k->Width(), thirdsWidth[e.row]);
        }
    }
    TRect area;
    pad->GetButtonsArea(area);
    EXPECT_EQ(area, TRect(8, 8, 220, 142));
    // Loading again adds nothing; a new size lays the keys out again.
    pad->Loaded();
    EXPECT_EQ(pad->Buttons()->Count(), 28);
    pad->SetBounds(0, 0, 258, 150);
    EXPECT_EQ(pad->Buttons()->Items(27)->Width(), 39);

    // A custom keypad gets no keys and no layout; its own keys keep their places.
    auto* custom = Add<TCustomButtonPanel>(0, 160);
    custom->SetButtonPanelType(plCustom);
    custom->SetBounds(0, 160, 228, 150);
    custom->Loaded();
    EXPECT_EQ(custom->Buttons()->Count(), 0);
    TButtonItem* own = custom->Buttons()->Add();
    own->SetBounds(3, 4, 5, 6);
    custom->ArrangeButtons();
    custom->SetBounds(0, 160, 300, 150);
    EXPECT_EQ(own->BoundsRect(), TRect(3, 4, 8, 10));
    // Back to the calculator with too few keys: the collection's index error.
    EXPECT_THROW(custom->SetButtonPanelType(plCalculator), EListError);
}

TEST_F(KeypadTest, HotPressedAndClickRules) {
    TButtonItem* five = pad->Buttons()->Items(13);
    five->SetEnabled(false);
    Move(13);
    EXPECT_EQ(pad->ButtonHot(), -1);
    ui::test::MouseDown(pad, Centre(13).X, Centre(13).Y);
    EXPECT_EQ(pad->ButtonDown(), -1);
    ui::test::MouseUp(pad, Centre(13).X, Centre(13).Y);
    EXPECT_TRUE(clicks.empty());

    Move(12);
    EXPECT_EQ(pad->ButtonHot(), 12);
    Move(13);  // onto a disabled key: none is hot
    EXPECT_EQ(pad->ButtonHot(), -1);
    ui::test::MouseMove(pad, 2, 2);  // in the margin
    EXPECT_EQ(pad->ButtonHot(), -1);

    // Pressed on "8", released on "9": nothing; pressed and released on "9": key 19.
    ui::test::MouseDown(pad, Centre(12).X, Centre(12).Y);
    EXPECT_EQ(pad->ButtonDown(), 12);
    ui::test::MouseUp(pad, Centre(19).X, Centre(19).Y);
    EXPECT_EQ(pad->ButtonDown(), -1);
    EXPECT_TRUE(clicks.empty());
    ui::test::Click(pad, Centre(19).X, Centre(19).Y);
    EXPECT_EQ(clicks, std::vector<int>{19});
    // A right press presses too.
    ui::test::MouseDown(pad, Centre(8).X, Centre(8).Y, mbRight);
    ui::test::MouseUp(pad, Centre(8).X, Centre(8).Y, mbRight);
    EXPECT_EQ(clicks, (std::vector<int>{19, 8}));
    // The edges: left and top inside, right and bottom outside (the neighbour's, or none).
    EXPECT_EQ(pad->ButtonAtPos(Point(Key(4).Left, Key(4).Top)), 4);
    EXPECT_EQ(pad->ButtonAtPos(Point(Key(4).Right, Key(4).Top)), -1);
    EXPECT_EQ(pad->ButtonAtPos(Point(Key(4).Left, Key(7).Bottom)), -1);

    ui::test::MouseLeave(pad);
    EXPECT_EQ(pad->ButtonHot(), -1);
}

TEST_F(KeypadTest, AChangedKeyRepaintsItsHaloArea) {
    pad->SetButtonHot(12);
    EXPECT_EQ(UpdatedBy([&] { pad->SetButtonHot(19); }), Grown(Key(12)));
    EXPECT_EQ(UpdatedBy([&] { pad->SetButtonHot(-1); }), Grown(Key(19)));
    pad->SetButtonDown(8);
    EXPECT_EQ(UpdatedBy([&] { pad->SetButtonDown(-1); }), Grown(Key(8)));
    // The same key again, or a disabled one, changes nothing.
    pad->SetButtonHot(5);
    pad->Buttons()->Items(6)->SetEnabled(false);
    EXPECT_TRUE(UpdatedBy([&] {
                    pad->SetButtonHot(5);
                    pad->SetButtonHot(6);
                }).IsEmpty());
    EXPECT_EQ(pad->ButtonHot(), 5);
}

TEST_F(KeypadTest, OnlyTheHotAndThePressedKeyGlow) {
    // Below the bottom row is the margin: the halo of "0" (key 8) shows there, under "M+" (7)
    // nothing does.
    const int x0 = Centre(8).X, x7 = Centre(7).X, bottom = Key(8).Bottom;
    EXPECT_EQ(At(x0, bottom + 3), kBackground);
    EXPECT_EQ(At(0, 0), clBlack);  // the standalone keypad's frame
    EXPECT_EQ(At(227, 149), clBlack);

    pad->SetButtonHot(8);
    Paint();
    const TColor near = At(x0, bottom + 1), far = At(x0, bottom + 5);
    // The glow ($D5C244: blue D5, green C2, red 44) over green: blue rises, red stays low, and
    // less so further out; 8 pixels out the halo has ended.
    EXPECT_GT(GetBValue(near), GetBValue(far));
    EXPECT_GT(GetBValue(far), 0);
    EXPECT_EQ(At(x0, bottom + 8), kBackground);
    EXPECT_EQ(At(x7, bottom + 3), kBackground);

    pad->SetButtonDown(7);
    pad->SetButtonHot(-1);
    Paint();
    EXPECT_NE(At(x7, bottom + 3), kBackground);
    EXPECT_EQ(At(x0, bottom + 3), kBackground);

    // The pieces: the Part's eight rectangles, alpha 130 on the key's side, and the glow border.
    RecordingEngine engine;
    pad->Buttons()->Items(7)->SetEnabled(true);
    pad->SetButtonDown(-1);
    pad->SetButtonHot(12);
    engine.calls.clear();
    pad->Invalidate();
    Paint();
    const gdiplus::ARGB glow = ArgbFromColor(pad->ButtonAppearance()->GlowColorHot()) & 0x00FFFFFF;
    std::set<std::tuple<int, int, int, int, int>> pieces;
    int glowBorders = 0;
    for (const Drawn& d : engine.calls) {
        if ((d.color & 0x00FFFFFF) != glow) continue;
        if (d.kind == Drawn::Stroke) {
            glowBorders += d.color >> 24 == 100;
            continue;
        }
        double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
        for (const auto& p : d.points) {
            l = std::min(l, p.X), t = std::min(t, p.Y), r = std::max(r, p.X), b = std::max(b, p.Y);
        }
        pieces.emplace(int(l), int(t), int(r), int(b), int(d.color >> 24));
    }
    const TRect R = Key(12);
    // The first colour stop is the left, top, top-left or top-right end of each piece.
    const std::set<std::tuple<int, int, int, int, int>> expected = {
        {R.Left - 8, R.Top, R.Left, R.Bottom, 0},
        {R.Right - 1, R.Top, R.Right + 8, R.Bottom, 130},
        {R.Left, R.Top - 8, R.Right, R.Top, 0},
        {R.Left, R.Bottom - 1, R.Right, R.Bottom + 7, 130},
        {R.Left - 6, R.Bottom - 1, R.Left, R.Bottom + 5, 130},
        {R.Right, R.Bottom, R.Right + 5, R.Bottom + 5, 130},
        {R.Left - 6, R.Top - 6, R.Left, R.Top, 0},
        {R.Right, R.Top - 6, R.Right + 5, R.Top, 0},
    };
    EXPECT_EQ(pieces, expected);
    EXPECT_EQ(glowBorders, 1);
    // The hot key is drawn last: its glow border is the last stroke of the pass.
    auto last = std::find_if(engine.calls.rbegin(), engine.calls.rend(),
                             [](const Drawn& d) { return d.kind == Drawn::Stroke; });
    ASSERT_NE(last, engine.calls.rend());
    EXPECT_EQ(last->color, glow | 0x64000000u);
}

TEST_F(KeypadTest, AppearanceAndKeysCopy) {
    TButtonAppearance a;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetGlowColorHot(1);
    a.SetShineColor(2);
    a.SetGlowColorDown(3);
    EXPECT_EQ(changes, 0);
    a.SetColor(a.Color());
    EXPECT_EQ(changes, 0);
    a.SetColorHot(4);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.Font()->Size(), 10);
    EXPECT_TRUE(a.Font()->Style().Contains(fsBold));
    TButtonAppearance b;
    b.Assign(&a);
    EXPECT_EQ(b.ColorHot(), 4);
    EXPECT_EQ(b.GlowColorHot(), 1);
    EXPECT_EQ(b.GlowColorDown(), 3);
    EXPECT_EQ(b.ShineColor(), 2);

    TButtonItem* from = pad->Buttons()->Items(3);
    from->SetEnabled(false);
    TButtonItem* to = pad->Buttons()->Items(8);
    to->Assign(from);
    EXPECT_EQ(to->Caption(), String(u"C"));
    EXPECT_EQ(to->Name(), String(u"BTN_C"));
    EXPECT_EQ(to->Tag(), 16);
    EXPECT_EQ(to->CaptionColor(), 128);
    EXPECT_FALSE(to->Enabled());
    EXPECT_FALSE(to->Special());  // neither the flag nor the place
    EXPECT_EQ(to->Left(), 46);
}

}  // namespace
