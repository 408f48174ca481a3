// The spin edit: values held in the text, steps, the character filter, keys, layout, the
// auto-repeating arrows and their painting.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "grid/asgspin.h"
#include "grid/tests/EditorPictures.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

class SpinTest : public ui::test::FormTest {
protected:
    TFormatSettings saved = FormatSettings;
    void SetUp() override {
        FormTest::SetUp();
        // A pinned locale: month-first dates, comma thousands, point decimals.
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = u"m/d/yyyy";
        FormatSettings.LongTimeFormat = u"h:nn:ss";
        win::ResetMessageBeeps();
    }
    void TearDown() override {
        FormatSettings = saved;
        ui::sys::ResetAnswers();
        FormTest::TearDown();
    }
    TAsgSpinEdit* Spin(TAsgSpinType kind = sptNormal, const String& text = u"0") {
        auto* s = Add<TAsgSpinEdit>(20, 20);
        s->SetBounds(20, 20, 100, 24);
        s->SetSpinType(kind);
        s->SetText(text);
        return s;
    }
    // Types one character through the filter; answers whether it reached the text.
    static bool Type(TAsgSpinEdit* s, char16_t ch, LPARAM data = 0) {
        int beeps = win::MessageBeepCount();
        s->Perform(WM_CHAR, ch, data);
        return win::MessageBeepCount() == beeps;
    }
};

TEST_F(SpinTest, ValueEdgeCases) {
    struct Case {
        const char* name;
        std::function<void(TAsgSpinEdit*)> act;
        String text;
    };
    const Case cases[] = {
        {"equal bounds are no limit", [](TAsgSpinEdit* s) { s->SetMaxValue(0); s->SetValue(150); }, u"150"},
        {"stepped past the top stays", [](TAsgSpinEdit* s) { s->SetValue(100); s->SpinUp(false); }, u"100"},
        {"page up steps by Increment",
         [](TAsgSpinEdit* s) { s->SetIncrement(7); s->SetValue(10); s->Perform(WM_KEYDOWN, VK_PRIOR, 0); }, u"17"},
        {"float precision writes fixed",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptFloat); s->SetPrecision(2); s->SetFloatValue(3.14159); }, u"3.14"},
        {"float page step",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptFloat); s->SetFloatValue(2.5); s->SpinUp(true); }, u"3.5"},
        {"year under the caret",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptDate); s->SetText(u"3/15/2024"); s->SetSelStart(7); s->SpinUp(false); },
         u"3/15/2025"},
        {"month first: month before the first separator",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptDate); s->SetText(u"1/31/2024"); s->SetSelStart(0); s->SpinUp(false); },
         u"2/29/2024"},
        {"month first: day in the second part",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptDate); s->SetText(u"1/31/2024"); s->SetSelStart(3); s->SpinUp(false); },
         u"2/1/2024"},
        {"day first: day before the first separator",
         [](TAsgSpinEdit* s) {
             FormatSettings.ShortDateFormat = u"d/m/yyyy";
             s->SetSpinType(sptDate);
             s->SetText(u"31/1/2024");
             s->SetSelStart(0);
             s->SpinUp(false);
         },
         u"1/2/2024"},
        {"hours down through midnight",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptTime); s->SetText(u"0:00:00"); s->SetSelStart(0); s->SpinDown(false); },
         u"23:00:00"},
        {"minutes up past midnight",
         [](TAsgSpinEdit* s) {
             s->SetShowSeconds(false);
             s->SetSpinType(sptTime);
             s->SetText(u"23:30");
             s->SetSelStart(3);
             s->SetIncrementMinutes(60 - 1);
             s->SpinUp(false);
             s->SetSelStart(3);
             s->SetIncrementMinutes(1);
             s->SpinUp(false);
         },
         u"0:30"},
        {"seconds after the second separator",
         [](TAsgSpinEdit* s) { s->SetSpinType(sptTime); s->SetText(u"1:02:59"); s->SetSelStart(6); s->SpinUp(false); },
         u"1:03:00"},
    };
    for (const Case& c : cases) {
        auto* s = Spin();
        c.act(s);
        EXPECT_EQ(s->Text(), c.text) << c.name;
        s->Free();
    }
}

TEST_F(SpinTest, FailedStepsRaiseAndKeepTheValue) {
    auto* date = Spin(sptDate);
    date->SetText(u"2/29/2024");
    date->SetSelStart(8);
    EXPECT_THROW(date->SpinUp(false), EConvertError);
    EXPECT_EQ(date->Text(), String(u"2/29/2024"));

    auto* time = Spin(sptTime);
    time->SetText(u"1:02:03");
    time->SetSelStart(2);
    time->SetIncrementMinutes(60);
    EXPECT_THROW(time->SpinUp(false), EConvertError);
    EXPECT_EQ(time->Text(), String(u"1:02:03"));

    // A read-only edit beeps and keeps its value.
    auto* ro = Spin(sptNormal, u"5");
    ro->SetReadOnly(true);
    int beeps = win::MessageBeepCount();
    ro->SpinUp(false);
    EXPECT_EQ(ro->Text(), String(u"5"));
    EXPECT_EQ(win::MessageBeepCount(), beeps + 1);
}

TEST_F(SpinTest, UnparsableTextReadsAsTheFallbacks) {
    auto* s = Spin(sptNormal);
    s->SetMinValue(-7);
    s->SetMinFloatValue(-3.5);
    s->SetMinDateValue(45000);
    s->SetText(u"abc");
    EXPECT_EQ(s->Value(), -7);
    EXPECT_EQ(s->FloatValue(), -7.0);  // the integer lower limit
    EXPECT_EQ(s->DateValue(), 45000.0);
    EXPECT_EQ(s->TimeValue(), 0.0);
    s->SetText(u"  ");
    EXPECT_EQ(s->Value(), 0);

    rtl::ScopedManualClock clock;
    s->SetText(u"0");
    EXPECT_DOUBLE_EQ(s->DateValue(), Now());
}

TEST_F(SpinTest, CharacterFilter) {
    struct Case {
        const char* name;
        TAsgSpinType kind;
        String text;
        int selStart, selLength;
        char16_t key;
        bool accepted;
        std::function<void(TAsgSpinEdit*)> setup = nullptr;
    };
    const Case cases[] = {
        {"minus at the start", sptNormal, u"5", 0, 0, u'-', true},
        {"minus elsewhere", sptNormal, u"5", 1, 0, u'-', false},
        {"a second minus", sptNormal, u"-5", 0, 0, u'-', false},
        {"minus over a selected minus", sptNormal, u"-5", 0, 1, u'-', true},
        {"point in a whole number", sptNormal, u"5", 1, 0, u'.', false},
        {"copy character in a whole number", sptNormal, u"5", 1, 0, 3, false},
        {"letter", sptNormal, u"5", 1, 0, u'x', false},
        {"return in a real", sptFloat, u"5", 1, 0, 13, false},
        {"return in a date", sptDate, u"5", 1, 0, 13, false},
        {"control character in a real", sptFloat, u"5", 1, 0, 3, true},
        {"thousand separator in a real", sptFloat, u"5", 1, 0, u',', false},
        {"second decimal separator", sptFloat, u"1.5", 3, 0, u'.', false},
        {"separator over the selected one", sptFloat, u"1.23", 1, 1, u'.', true},
        {"a third decimal", sptFloat, u"1.23", 4, 0, u'4', false, [](TAsgSpinEdit* s) { s->SetPrecision(2); }},
        {"a digit before the point", sptFloat, u"1.23", 1, 0, u'4', true, [](TAsgSpinEdit* s) { s->SetPrecision(2); }},
        {"time separator in a time", sptTime, u"1:2", 3, 0, u':', true},
        {"a third time separator", sptTime, u"1:2:3", 5, 0, u':', false},
        {"time separator in a date", sptDate, u"1", 1, 0, u':', false},
        {"date separator in a date", sptDate, u"1", 1, 0, u'/', true},
        {"digit with the editor off", sptNormal, u"5", 1, 0, u'6', false,
         [](TAsgSpinEdit* s) { s->SetEditorEnabled(false); }},
        {"backspace with the editor off", sptNormal, u"5", 1, 0, 8, false,
         [](TAsgSpinEdit* s) { s->SetEditorEnabled(false); }},
        {"backspace in a whole number", sptNormal, u"5", 1, 0, 8, true},
    };
    for (const Case& c : cases) {
        auto* s = Spin();
        if (c.setup) c.setup(s);
        s->SetSpinType(c.kind);
        s->SetText(c.text);
        s->SetSelStart(c.selStart);
        s->SetSelLength(c.selLength);
        char16_t key = c.key;
        EXPECT_EQ(s->AcceptChar(key), c.accepted) << c.name;
        s->Free();
    }

    // Typed for real: a refusal beeps and leaves the text; an acceptance reaches it.
    auto* s = Spin(sptFloat, u"1.23");
    s->SetPrecision(2);
    s->SetText(u"1.23");
    s->SetSelStart(4);
    EXPECT_FALSE(Type(s, u'9'));
    EXPECT_EQ(s->Text(), String(u"1.23"));
    s->SetSelStart(1);
    s->SetSelLength(1);
    EXPECT_TRUE(Type(s, u'.'));
    EXPECT_EQ(s->Text(), String(u"1.23"));

    // The keypad's decimal key types the locale's separator.
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    s->SetExcelStyleDecimalSeparator(true);
    s->SetText(u"12");
    s->SetSelStart(2);
    EXPECT_TRUE(Type(s, u'.', 1 << 22));
    EXPECT_EQ(s->Text(), String(u"12,"));
}

TEST_F(SpinTest, KeysClipboardAndFocus) {
    auto* s = Spin(sptNormal, u"10");
    // Up, Down, PageUp and PageDown step and are consumed.
    int keyDowns = 0;
    s->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keyDowns; };
    for (WORD k : {VK_UP, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_UP}) s->Perform(WM_KEYDOWN, k, 0);
    EXPECT_EQ(s->Text(), String(u"12"));
    EXPECT_EQ(keyDowns, 0);

    // Return with ReturnIsTab becomes Tab and posts a Tab key-down to the edit.
    s->SetReturnIsTab(true);
    std::vector<WORD> seen;
    s->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { seen.push_back(Key); };
    form->Show();
    ui::test::Pump();
    s->Perform(WM_KEYDOWN, VK_RETURN, 0);
    ui::test::Pump();
    EXPECT_EQ(seen, (std::vector<WORD>{VK_TAB, VK_TAB}));

    // With the editor off: Delete swallowed, paste and cut ignored.
    s->SetEditorEnabled(false);
    s->SetText(u"12");
    s->SelectAll();
    s->Perform(WM_KEYDOWN, VK_DELETE, 0);
    s->Perform(WM_CUT, 0, 0);
    s->SetSelStart(2);
    s->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(s->Text(), String(u"12"));
    s->SetEditorEnabled(true);
    s->SelectAll();
    s->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(s->Text(), String());
    s->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(s->Text(), String(u"12"));

    // Leaving clamps: -1 typed becomes 0.
    auto* other = Spin();
    other->SetLeft(150);
    s->SetFocus();
    s->SetText(u"-1");
    other->SetFocus();
    ui::test::Pump();
    EXPECT_EQ(s->Text(), String(u"0"));

    // AutoSelect selects on entry from the keyboard.
    s->SetText(u"42");
    s->SetSelStart(1);
    s->SetFocus();
    ui::test::Pump();
    EXPECT_EQ(s->SelLength(), 2);

    // A left press brings the focus without selecting.
    other->SetFocus();
    ui::test::Pump();
    s->SetSelStart(0);
    ui::test::MouseDown(s, 5, 5);
    ui::test::MouseUp(s, 5, 5);
    ui::test::Pump();
    EXPECT_TRUE(s->Focused());
    EXPECT_EQ(s->SelLength(), 0);
}

TEST_F(SpinTest, Layout) {
    form->Show();
    for (TFormBorderStyle border : {bsNone, bsSingle}) {
        auto* s = Spin();
        s->SetBorderStyle(border);
        s->SetBounds(20, 20, 120, 30);
        ui::test::Pump();
        TAsgSpinButton* pair = s->Button();
        int inset = border == bsNone ? 3 : 0;
        TRect fr = s->FormatRect();
        EXPECT_EQ(fr.Left, inset);
        EXPECT_EQ(fr.Top, inset);
        EXPECT_EQ(fr.Right, s->ClientWidth() - pair->Width() - 2 - inset);
        int k = border == bsNone ? 1 : 5;
        EXPECT_EQ(pair->Left(), s->Width() - pair->Width() - k);
        EXPECT_EQ(pair->Height(), s->Height() - k);
        // The up arrow is the upper half; the down arrow starts a pixel above its end.
        EXPECT_EQ(pair->UpButton()->Height(), pair->Height() / 2);
        EXPECT_EQ(pair->DownButton()->Top(), pair->UpButton()->Height() - 1);
        EXPECT_EQ(pair->DownButton()->Height(), pair->Height() - pair->UpButton()->Height() + 1);

        // Below the minimum height the edit is raised to it.
        s->SetHeight(5);
        EXPECT_EQ(s->Height(), s->MinHeight());
        TBitmap scratch(1, 1);
        TEXTMETRIC sys{}, own{};
        HDC dc = scratch.Canvas()->Handle();
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        GetTextMetrics(dc, &sys);
        SelectObject(dc, s->Font()->Handle());
        GetTextMetrics(dc, &own);
        int expected = own.tmHeight + std::min(sys.tmHeight, own.tmHeight) / 4 + 2 +
                       (border == bsSingle ? 4 * GetSystemMetrics(SM_CYBORDER) : 0);
        EXPECT_EQ(s->MinHeight(), expected);
        s->Free();
    }
    auto* s = Spin();
    s->SetDirection(spHorizontal);
    EXPECT_EQ(s->Button()->Width(), 20);
    EXPECT_EQ(s->Button()->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(s->Button()->DownButton()->ButtonDirection(), bdLeft);
    EXPECT_EQ(s->Button()->UpButton()->Left(), 11);
}

TEST_F(SpinTest, HeldArrowRepeats) {
    rtl::ScopedManualClock clock;
    auto* s = Spin(sptNormal, u"0");
    s->SetBounds(20, 20, 100, 40);
    form->Show();
    ui::test::Pump();
    TAdvTimerSpeedButton* up = s->Button()->UpButton();
    ui::test::MouseDown(up, 3, 3);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    ui::test::AdvanceClock(*clock, 399);
    EXPECT_EQ(s->Value(), 0);
    ui::test::AdvanceClock(*clock, 1);
    EXPECT_EQ(s->Value(), 1);
    ui::test::AdvanceClock(*clock, 300);
    EXPECT_EQ(s->Value(), 4);
    ui::test::MouseUp(up, 3, 3);  // the release clicks once more
    EXPECT_EQ(s->Value(), 5);
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_EQ(s->Value(), 5);

    // A click that raises stops the timer and the error goes on.
    s->Button()->OnUpClick = [](TObject*) { throw EConvertError(u"bad step"); };
    ui::test::MouseDown(up, 3, 3);
    EXPECT_THROW(up->RepeatTimer()->OnTimer(up->RepeatTimer()), EConvertError);
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    s->Button()->OnUpClick = nullptr;
    ui::test::MouseUp(up, 3, 3);
}

class SpinPaintTest : public SpinTest {
protected:
    ui::test::Picture Render(const char* name) { return editor_test::Render(form, name); }
    TColor At(const ui::test::Picture& pic, TControl* c, int x, int y) { return editor_test::ClientAt(form, pic, c, x, y); }
};

TEST_F(SpinPaintTest, ArrowPaintingRules) {
    auto* s = Spin();
    s->SetBounds(20, 20, 100, 40);
    form->Show();
    ui::test::Pump();
    TAdvTimerSpeedButton* up = s->Button()->UpButton();
    TAdvTimerSpeedButton* down = s->Button()->DownButton();
    int R = up->Width();

    // High contrast: white triangles on black.
    ui::sys::Answers().HighContrast = true;
    up->Invalidate();
    down->Invalidate();
    auto pic = Render("highcontrast");
    EXPECT_EQ(At(pic, up, 1, 1), clBlack);
    EXPECT_EQ(At(pic, up, R - 7, 5), clWhite);
    EXPECT_EQ(At(pic, down, R - 7, 4), clWhite);
    ui::sys::Answers().HighContrast = false;

    // Button colours: the fill and a black triangle.
    s->Button()->SetButtonColor(clYellow);
    s->Button()->SetButtonColorHot(clLime);
    s->Button()->SetButtonColorDown(clRed);
    pic = Render("colours");
    EXPECT_EQ(At(pic, up, 1, 8), clYellow);
    EXPECT_EQ(At(pic, up, 6, 3), clBlack);
    ui::test::MouseDown(down, 3, 3);
    pic = Render("colours_down");
    EXPECT_EQ(At(pic, down, 1, 8), clRed);
    ui::test::MouseUp(down, 3, 3);
    s->Button()->SetButtonColor(clNone);

    // Styles off: the glyph (black triangle on the button face, olive transparent).
    pic = Render("glyph");
    bool black = false, olive = false;
    for (int y = 0; y < up->Height(); ++y)
        for (int x = 0; x < up->Width(); ++x) {
            TColor c = At(pic, up, x, y);
            black |= c == clBlack;
            olive |= c == RGB(128, 128, 0);
        }
    EXPECT_TRUE(black);
    EXPECT_FALSE(olive);
    // The up glyph points up: its tip row is above its widest row.
    int tip = -1, base = -1;
    for (int y = 0; y < up->Height(); ++y) {
        int n = 0;
        for (int x = 0; x < up->Width(); ++x) n += At(pic, up, x, y) == clBlack;
        if (n == 1 && tip < 0) tip = y;
        if (n == 7) base = y;
    }
    EXPECT_LT(tip, base);
    EXPECT_GE(tip, 0);

    // The style: themed parts differ from the glyph painting.
    s->SetIsWinXP(true);
    up->SetIsWinXP(true);
    auto themed = Render("themed");
    bool differs = false;
    for (int y = 0; y < up->Height(); ++y)
        for (int x = 0; x < up->Width(); ++x) differs |= At(themed, up, x, y) != At(pic, up, x, y);
    EXPECT_TRUE(differs);
}

// Side by side with styles off, the pair draws scroll arrows pointing away from each other.
TEST_F(SpinPaintTest, HorizontalArrowsPointLeftAndRight) {
    auto* s = Spin();
    s->SetBounds(20, 20, 100, 40);
    s->SetDirection(spHorizontal);
    form->Show();
    ui::test::Pump();
    auto pic = Render("horizontal");
    // The column of the arrow's tip (one pixel) against the column of its base (the most).
    auto tipAndBase = [&](TControl* b) {
        int tip = -1, base = -1, most = 0;
        for (int x = 0; x < b->Width(); ++x) {
            int n = 0;
            for (int y = 0; y < b->Height(); ++y) n += ColorToRGB(At(pic, b, x, y)) == ColorToRGB(clBtnText);
            if (n == 1 && tip < 0) tip = x;
            if (n > most) most = n, base = x;
        }
        return std::pair<int, int>(tip, base);
    };
    auto [rightTip, rightBase] = tipAndBase(s->Button()->UpButton());
    auto [leftTip, leftBase] = tipAndBase(s->Button()->DownButton());
    ASSERT_GE(rightBase, 0);
    ASSERT_GE(leftBase, 0);
    EXPECT_GT(rightTip, rightBase);  // scanning from the left, the first single pixel is past the base
    EXPECT_LT(leftTip, leftBase);
}

}  // namespace
