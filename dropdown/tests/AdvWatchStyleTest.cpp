// The clock's settings and appearance objects, its twelve looks and the component styles'
// colour schemes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dropdown/tests/WatchTestSupport.h"

namespace {

using watch_test::WatchTest;

TEST(WatchSettings, SettersFireOnceOnAChange) {
    TWatchSettings s;
    int fired = 0;
    s.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &s);
        ++fired;
    };
    EXPECT_FALSE(s.Auto());
    EXPECT_TRUE(s.Second());
    EXPECT_EQ(s.TimeOffset(), 0);
    s.SetAuto(false);
    s.SetSecond(true);
    s.SetTimeOffset(0);
    EXPECT_EQ(fired, 0);
    s.SetAuto(true);
    s.SetSecond(false);
    s.SetTimeOffset(-90);
    EXPECT_EQ(fired, 3);
}

TEST(WatchSettings, AssignNotifiesOnlyThroughAuto) {
    TWatchSettings source, target;
    source.SetSecond(false);
    source.SetTimeOffset(120);
    int fired = 0;
    target.OnChange = [&](TObject*) { ++fired; };
    target.Assign(&source);
    EXPECT_EQ(fired, 0);  // Auto alike: Second and TimeOffset come silently
    EXPECT_FALSE(target.Second());
    EXPECT_EQ(target.TimeOffset(), 120);
    source.SetAuto(true);
    target.Assign(&source);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(target.Auto());
}

TEST(WatchAppearance, Defaults) {
    TWatchAppearance a;
    struct Colour {
        const char* name;
        TColor value, expected;
    };
    const Colour colours[] = {
        {"HourPointer", a.HourPointer(), 0},
        {"BackgroundColor", a.BackgroundColor(), 0xFFFFFF},
        {"MinutePointerShadow", a.MinutePointerShadow(), clBtnShadow},
        {"BackgroundColorTo", a.BackgroundColorTo(), clNone},
        {"HourPointerShadow", a.HourPointerShadow(), clBtnShadow},
        {"SecondPointerShadow", a.SecondPointerShadow(), clBtnShadow},
        {"SecondPointer", a.SecondPointer(), 0x0000FF},
        {"BorderColor", a.BorderColor(), 0},
        {"MinutePointer", a.MinutePointer(), 0},
        {"HourColor", a.HourColor(), 0},
        {"MinuteColor", a.MinuteColor(), 0x808080},
        {"CenterPointColor", a.CenterPointColor(), 0},
        {"CenterPointBorderColor", a.CenterPointBorderColor(), clNone},
        {"AMPMColor", a.AMPMColor(), 0xFFFFFF},
        {"AMPMBorderColor", a.AMPMBorderColor(), 0},
        {"CenterPointOuterBorderColor", a.CenterPointOuterBorderColor(), clNone},
        {"HourFont colour", a.HourFont()->Color(), clWindowText},
    };
    for (const Colour& c : colours) EXPECT_EQ(c.value, c.expected) << c.name;
    struct Number {
        const char* name;
        int value, expected;
    };
    const Number numbers[] = {
        {"Size", a.Size(), 0},
        {"HourPointerSize", a.HourPointerSize(), 4},
        {"SecondPointerSize", a.SecondPointerSize(), 1},
        {"MinutePointerSize", a.MinutePointerSize(), 3},
        {"CenterPointSize", a.CenterPointSize(), 4},
        {"HourMarkLength", a.HourMarkLength(), 0},
        {"HourMarkWidth", a.HourMarkWidth(), 1},
        {"MinuteMarkLength", a.MinuteMarkLength(), 0},
        {"MinuteMarkWidth", a.MinuteMarkWidth(), 1},
        {"BorderWidth", a.BorderWidth(), 4},
        {"HourFont size", a.HourFont()->Size(), 8},
        {"AMPMFont size", a.AMPMFont()->Size(), 10},
        {"AMPMFrame", a.AMPMFrame(), apRect},
        {"Shape", a.Shape(), wsCircle},
        {"PointerStyle", a.PointerStyle(), psLine},
        {"BackgroundGradient", a.BackgroundGradient(), wgVertical},
        {"TickMarks", a.TickMarks(), tmAll},
        {"HourMarkStyle", a.HourMarkStyle(), hmsLine},
    };
    for (const Number& n : numbers) EXPECT_EQ(n.value, n.expected) << n.name;
    EXPECT_EQ(a.HourFont()->Name(), String("Tahoma"));
    EXPECT_EQ(a.AMPMFont()->Name(), String("Tahoma"));
    EXPECT_EQ(a.Picture()->Graphic(), nullptr);
}

TEST(WatchAppearance, WhatNotifies) {
    TWatchAppearance a;
    int fired = 0;
    a.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &a);
        ++fired;
    };
    a.SetAMPMColor(0x123456);
    a.SetAMPMBorderColor(0x654321);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(a.AMPMColor(), TColor(0x123456));
    a.SetBorderWidth(4);  // unchanged
    a.SetTickMarks(tmAll);
    EXPECT_EQ(fired, 0);
    a.SetBorderWidth(2);
    a.SetTickMarks(tmNone);
    EXPECT_EQ(fired, 2);

    // The font and picture setters fire every time, once, whatever they are given.
    fired = 0;
    TFont same;
    same.Assign(a.HourFont());
    a.SetHourFont(&same);
    a.SetHourFont(&same);
    a.SetAMPMFont(a.AMPMFont());
    TPicture empty;
    a.SetPicture(&empty);
    EXPECT_EQ(fired, 4);
    // The picture's own changes are reported.
    fired = 0;
    TBitmap bmp(4, 4);
    a.Picture()->SetGraphic(&bmp);
    EXPECT_EQ(fired, 1);
    // Changes made to a font itself are not.
    a.HourFont()->SetSize(20);
    EXPECT_EQ(fired, 1);
    // SetDefaults brings everything back silently.
    a.SetDefaults();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(a.HourFont()->Size(), 8);
    EXPECT_EQ(a.Picture()->Graphic(), nullptr);
    EXPECT_EQ(a.BorderWidth(), 4);
    a.Picture()->SetGraphic(&bmp);
    EXPECT_EQ(fired, 2);  // the hook is back after SetDefaults
}

TEST(WatchAppearance, AssignCopiesAllAndNotifiesThroughTheLastThreeOnly) {
    TWatchAppearance source;
    source.SetSize(120);
    source.SetSecondPointer(0x010203);
    source.SetShape(wsRoundRect);
    source.SetHourMarkLength(9);
    source.SetBorderWidth(7);
    source.SetAMPMColor(clNone);
    source.HourFont()->SetName("Arial");
    source.AMPMFont()->SetSize(14);
    TBitmap bmp(3, 3);
    source.Picture()->SetGraphic(&bmp);

    TWatchAppearance target;
    std::vector<std::string> seen;
    target.OnChange = [&](TObject*) {
        // Every silent part is in place before the first notice.
        EXPECT_EQ(target.Size(), 120);
        EXPECT_EQ(target.BorderWidth(), 7);
        EXPECT_NE(target.Picture()->Graphic(), nullptr);
        seen.push_back("change");
    };
    target.Assign(&source);
    EXPECT_TRUE(seen.empty());  // the last three are alike
    EXPECT_EQ(target.SecondPointer(), TColor(0x010203));
    EXPECT_EQ(target.Shape(), wsRoundRect);
    EXPECT_EQ(target.HourMarkLength(), 9);
    EXPECT_EQ(target.AMPMColor(), clNone);
    EXPECT_EQ(target.HourFont()->Name(), String("Arial"));
    EXPECT_EQ(target.AMPMFont()->Size(), 14);
    ASSERT_NE(target.Picture()->Graphic(), nullptr);
    EXPECT_EQ(target.Picture()->Width(), 3);

    source.SetCenterPointOuterBorderColor(0x0000FF);
    source.SetTickMarks(tmQuartHours);
    source.SetHourMarkStyle(hmsQuartDblLine);
    target.Assign(&source);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(target.TickMarks(), tmQuartHours);
}

class WatchStyleTest : public WatchTest {};

TEST_F(WatchStyleTest, SettingTheStoredStyleKeepsTheAppearance) {
    EXPECT_EQ(watch->Style(), wsClassic);
    watch->Appearance()->SetBorderWidth(11);
    watch->SetStyle(wsClassic);  // a new clock: nothing happens
    EXPECT_EQ(watch->Appearance()->BorderWidth(), 11);
    EXPECT_EQ(watch->Appearance()->HourMarkLength(), 0);
    EXPECT_EQ(watch->Appearance()->HourFont()->Name(), String("Tahoma"));

    watch->SetStyle(wsTower);
    watch->Appearance()->SetBorderWidth(11);
    watch->SetStyle(wsTower);
    EXPECT_EQ(watch->Appearance()->BorderWidth(), 11);
    // Another style resets first.
    watch->SetStyle(wsClassic);
    EXPECT_EQ(watch->Appearance()->BorderWidth(), 4);
    EXPECT_EQ(watch->Appearance()->HourMarkLength(), 8);
    EXPECT_EQ(watch->Appearance()->HourFont()->Name(), String("Comic Sans MS"));
    EXPECT_TRUE(watch->Appearance()->HourFont()->Style().Contains(fsBold));
    EXPECT_EQ(watch->AnimationFactor(), 10);
}

TEST_F(WatchStyleTest, SizedLooksFollowTheClock) {
    watch->SetStyle(wsSuperNova);
    EXPECT_EQ(watch->Appearance()->HourMarkLength(), 40);
    EXPECT_EQ(watch->Appearance()->MinuteMarkLength(), 60);
    watch->SetStyle(wsSports);
    EXPECT_EQ(watch->Appearance()->CenterPointSize(), 50);
    // The smaller side counts, and the value keeps its low eight bits.
    watch->SetBounds(0, 0, 1000, 1200);
    watch->SetStyle(wsSuperNova);
    EXPECT_EQ(watch->Appearance()->HourMarkLength(), 222);
    EXPECT_EQ(watch->Appearance()->MinuteMarkLength(), 333 % 256);
}

TEST_F(WatchStyleTest, TowerEndsWithItsSecondGradientEnd) {
    watch->SetShowAMPM(true);
    watch->SetStyle(wsTower);
    TWatchAppearance* a = watch->Appearance();
    EXPECT_EQ(a->BackgroundColorTo(), TColor(0x5BCCE8));
    EXPECT_EQ(a->AMPMColor(), a->BackgroundColor());
    EXPECT_EQ(a->BackgroundColor(), TColor(0xB1F0FE));
    EXPECT_EQ(a->Shape(), wsRect);
    EXPECT_EQ(a->PointerStyle(), psPointer);
    EXPECT_EQ(a->TickMarks(), tmHours);
    EXPECT_EQ(a->HourFont()->Name(), String("Century"));
    EXPECT_FALSE(watch->ShowNumbers());
    EXPECT_TRUE(watch->ShowAMPM());  // left as it was
}

TEST_F(WatchStyleTest, AMPMFontOfEachLook) {
    for (int s = wsTower; s <= wsSmooth; ++s) {
        watch->SetStyle(static_cast<TWatchStyle>(s));
        const bool keeps = s == wsBlackWhite || s == wsSuperNova || s == wsSports || s == wsSmooth;
        EXPECT_EQ(watch->Appearance()->AMPMFont()->Name(), String(keeps ? "Tahoma" : "MS Sans Serif")) << s;
        EXPECT_TRUE(watch->Appearance()->AMPMFont()->Style().Empty()) << s;
    }
    watch->SetStyle(wsClassic);
    EXPECT_EQ(watch->Appearance()->AMPMFont()->Name(), String("MS Sans Serif"));
}

TEST_F(WatchStyleTest, LooksSetTheClockWhereTheyNameIt) {
    struct Case {
        TWatchStyle style;
        bool ampm, numbers;
    };
    const Case cases[] = {{wsFluorescent, false, false}, {wsBlueStar, true, true}, {wsBlack, false, true},
                          {wsGray, true, true},          {wsSmooth, false, true}};
    for (const Case& c : cases) {
        watch->SetStyle(c.style);
        EXPECT_EQ(watch->ShowAMPM(), c.ampm) << c.style;
        EXPECT_EQ(watch->ShowNumbers(), c.numbers) << c.style;
    }
    watch->SetStyle(wsEmerald);
    EXPECT_EQ(watch->Appearance()->HourColor(), TColor(0x3AE800));
    EXPECT_EQ(watch->Appearance()->HourFont()->Color(), TColor(0x3AE800));
    EXPECT_EQ(watch->Appearance()->AMPMColor(), clNone);
    watch->SetStyle(wsGray);
    EXPECT_EQ(watch->Appearance()->HourPointerShadow(), clNone);
    EXPECT_EQ(watch->Appearance()->BackgroundGradient(), wgRadial);
}

TEST(WatchComponentStyle, Table) {
    struct Row {
        TQRBStyle style;
        TColor border, ampm, bg, bgTo, frame, cpBorder, cp, hands, shadows, second;
    };
    const Row rows[] = {
        {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF},
        {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
        {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF, 0x723708},
        {tsWindowsXP, 0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
        {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0xFFFFFF, 0x74706F},
        {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF, 0xFEDF9A},
        {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
        {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0xFFFFFF, 0x6D6D6D},
    };
    for (const Row& r : rows) {
        TWatchAppearance a;
        advwatch::ApplyComponentStyle(&a, r.style);
        const TColor got[] = {a.AMPMBorderColor(), a.AMPMColor(), a.BackgroundColor(), a.BackgroundColorTo(),
                              a.BorderColor(), a.CenterPointBorderColor(), a.CenterPointColor(), a.HourColor(),
                              a.MinuteColor(), a.HourPointer(), a.MinutePointer(), a.HourPointerShadow(),
                              a.MinutePointerShadow(), a.SecondPointer(), a.CenterPointOuterBorderColor(),
                              a.HourFont()->Color(), a.AMPMFont()->Color()};
        const TColor want[] = {r.border, r.ampm, r.bg, r.bgTo, r.frame, r.cpBorder, r.cp, r.hands, r.hands,
                               r.hands, r.hands, r.shadows, r.shadows, r.second, clBlack, clBlack, clBlack};
        for (size_t i = 0; i < std::size(want); ++i) EXPECT_EQ(got[i], want[i]) << r.style << " column " << i;
    }
}

TEST(WatchComponentStyle, CustomOnlyBlackensTheRingAndFonts) {
    for (int style : {int(tsCustom), 16, 200}) {
        TWatchAppearance a, fresh;
        a.HourFont()->SetColor(clRed);
        a.AMPMFont()->SetColor(clRed);
        int fired = 0;
        a.OnChange = [&](TObject*) { ++fired; };
        advwatch::ApplyComponentStyle(&a, static_cast<TQRBStyle>(style));
        EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack);
        EXPECT_EQ(a.HourFont()->Color(), clBlack);
        EXPECT_EQ(a.AMPMFont()->Color(), clBlack);
        EXPECT_EQ(fired, 1);
        EXPECT_EQ(a.BackgroundColor(), fresh.BackgroundColor());
        EXPECT_EQ(a.AMPMColor(), fresh.AMPMColor());
        EXPECT_EQ(a.HourPointer(), fresh.HourPointer());
    }
}

TEST(WatchComponentStyle, ObsidianSetsItsFontColoursInOrder) {
    TWatchAppearance a;
    std::vector<std::pair<TColor, TColor>> fonts;  // hour, AM/PM at each notice
    a.OnChange = [&](TObject*) { fonts.push_back({a.HourFont()->Color(), a.AMPMFont()->Color()}); };
    advwatch::ApplyComponentStyle(&a, tsOffice2007Obsidian);
    ASSERT_GE(fonts.size(), 2u);
    // The ring's notice comes before the fonts are blackened; from the first setter after the
    // direct writes on, the AM/PM font is light and the hour font still black, to the very last
    // notice.
    EXPECT_EQ(fonts.front(), std::make_pair(clWindowText, clWindowText));
    for (size_t i = 1; i < fonts.size(); ++i) EXPECT_EQ(fonts[i], std::make_pair(clBlack, TColor(0xF2F1F0))) << i;
    EXPECT_EQ(a.HourFont()->Color(), TColor(0xF2F1F0));
}

TEST_F(WatchStyleTest, ClockAppliesTheComponentStyleToItsAppearance) {
    IQRBStyle* style = dynamic_cast<IQRBStyle*>(static_cast<TComponent*>(watch));
    ASSERT_NE(style, nullptr);
    style->SetComponentStyle(tsWindows7);
    EXPECT_EQ(watch->Appearance()->BackgroundColorTo(), TColor(0xFDF3EB));
    EXPECT_EQ(watch->Appearance()->SecondPointer(), TColor(0xFBD6B8));
}

}  // namespace
