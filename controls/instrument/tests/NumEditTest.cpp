// The numeric edit: checking and committing entries in the four bases, the states and their
// colours, limits, the up/down steps and keys, and the numeric spin's button.
#include "controls/instrument/MvNumEdit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/tests/InstrumentTestSupport.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/tests/UiTestFixture.h"
#include "platform/win/Window.h"

namespace {

using instrument_test::IsFlashClient;

class NumEditTest : public ui_test::FormTest {
protected:
    TEdit* other = nullptr;  // takes the focus away
    std::vector<String> errors;
    int changes = 0;

    void SetUp() override {
        FormTest::SetUp();
        other = Add<TEdit>(200, 200);
        Application->OnException = [this](TObject*, Exception& e) { errors.push_back(e.Message()); };
        form->Show();
        ui::test::Pump();
        win::ResetMessageBeeps();
    }
    void TearDown() override {
        StopFlashTimer();
        FormTest::TearDown();
    }
    template <class T = TMvNumEdit>
    T* Place(int top = 10) {
        auto* e = Add<T>(10, top);
        e->Font()->SetName("Arial");
        e->OnChange = [this](TObject*) { ++changes; };
        e->SetFocus();
        return e;
    }
    // The user replaces the whole text by `text` in one stroke, as a paste does.
    static void Enter(TMvNumEdit* e, const String& text) {
        e->SelectAll();
        e->SetSelText(text);
    }
    static void Press(TMvNumEdit* e, WORD key) { ui::test::Key(e, key); }
};

TEST_F(NumEditTest, EntriesAreCheckedAndCommittedByBase) {
    enum Ending { ByEnter, ByLeaving };
    struct Row {
        TEditBase base;
        int digitsHex, digitsBool;
        const char* typed;
        Ending ending;
        double value;  // what is committed (7, the value before, when nothing is)
        const char* shown;
        TNumEditState state;
        int selStart, selLength;  // of an error
    };
    const Row rows[] = {
        {ebFloat, 0, 0, "1.5k", ByEnter, 1500, "1500", esNormal, 0, 0},
        {ebFloat, 0, 0, "k", ByEnter, 1000, "1000", esNormal, 0, 0},
        {ebFloat, 0, 0, "E", ByEnter, 1e18, "1E18", esNormal, 0, 0},  // FormatFloat goes to exponents from 1e18
        {ebFloat, 0, 0, "2T", ByEnter, 2e12, "2000000000000", esNormal, 0, 0},
        {ebFloat, 0, 0, "25m", ByEnter, 0.025, "0", esNormal, 0, 0},
        {ebFloat, 0, 0, "E3", ByEnter, 1000, "1000", esNormal, 0, 0},
        {ebFloat, 0, 0, "-2.5E-1", ByEnter, -0.25, "-0.3", esNormal, 0, 0},
        {ebFloat, 0, 0, "1,234.5", ByEnter, 1234.5, "1234.5", esNormal, 0, 0},
        {ebFloat, 0, 0, "-", ByEnter, 0, "0", esNormal, 0, 0},
        {ebFloat, 0, 0, "1.2.3", ByEnter, 7, "1.2.3", esError, 3, 1},
        {ebFloat, 0, 0, "1.2.3.4", ByEnter, 7, "1.2.3.4", esError, 3, 3},
        {ebFloat, 0, 0, "12x4", ByEnter, 7, "12x4", esError, 2, 1},
        {ebFloat, 0, 0, "$FF", ByEnter, 255, "255", esNormal, 0, 0},
        {ebFloat, 0, 0, "&101", ByEnter, 5, "5", esNormal, 0, 0},
        {ebFloat, 0, 0, "", ByLeaving, 0, "0", esNormal, 0, 0},
        {ebInt, 0, 0, "2k", ByEnter, 2000, "2000", esNormal, 0, 0},
        {ebInt, 0, 0, "2m", ByEnter, 7, "2m", esError, 1, 1},
        {ebInt, 0, 0, "-", ByEnter, 0, "0", esNormal, 0, 0},
        {ebInt, 0, 0, "1.5", ByEnter, 7, "1.5", esError, 1, 1},
        {ebInt, 0, 0, "!1.5", ByEnter, 1.5, "2", esNormal, 0, 0},
        {ebHex, 0, 0, "%255", ByEnter, 255, "FF", esNormal, 0, 0},
        {ebHex, 0, 0, "-1", ByEnter, 7, "-1", esError, 0, 1},
        {ebHex, 2, 0, "5", ByEnter, 5, "05", esNormal, 0, 0},
        {ebHex, 2, 0, "%-1", ByEnter, -1, "FFFFFFFF", esNormal, 0, 0},
        {ebBin, 0, 0, "%5", ByEnter, 5, "101", esNormal, 0, 0},
        {ebBin, 0, 0, "0", ByEnter, 0, "0", esNormal, 0, 0},
        {ebBin, 0, 4, "%5", ByEnter, 5, "00101", esNormal, 0, 0},
        {ebBin, 0, 0, "102", ByEnter, 7, "102", esError, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.typed) + " in base " + std::to_string(r.base));
        TMvNumEdit* e = Place();
        e->SetEditBase(r.base);
        e->SetDigitsHex(r.digitsHex);
        e->SetDigitsBool(r.digitsBool);
        e->SetValue(7);
        win::ResetMessageBeeps();
        Enter(e, String(r.typed));
        if (r.ending == ByEnter) Press(e, VK_RETURN);
        else other->SetFocus();
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(e->Value(), r.value);
        EXPECT_EQ(e->Text(), String(r.shown));
        EXPECT_EQ(e->State(), r.state);
        if (r.state == esError) {
            EXPECT_EQ(e->Color(), 0x0000FF);
            EXPECT_EQ(e->SelStart(), r.selStart);
            EXPECT_EQ(e->SelLength(), r.selLength);
            EXPECT_EQ(win::MessageBeepCount(), 1);  // entering the error; Enter stays in it
        } else {
            EXPECT_EQ(e->Color(), clWindow);
            EXPECT_EQ(win::MessageBeepCount(), 0);
        }
        e->Free();
    }
}

TEST_F(NumEditTest, TheStateShowsInColourAndTheValueChangeIsReportedOnlyAfterLoading) {
    TMvNumEdit* e = Place();
    int valueChanges = 0;
    e->OnValueChanged = [&](TObject* s) {
        EXPECT_EQ(s, e);
        ++valueChanges;
    };
    e->SetValue(5);
    EXPECT_EQ(valueChanges, 0);  // not loaded yet
    e->Loaded();

    e->SelectAll();
    ui::test::TypeText(e, String("12"));
    EXPECT_EQ(e->State(), esEditing);
    EXPECT_EQ(e->Color(), 0x00FF00);
    EXPECT_EQ(e->Value(), 5);  // typing only checks
    Press(e, VK_RETURN);
    EXPECT_EQ(e->State(), esNormal);
    EXPECT_EQ(e->Color(), clWindow);
    EXPECT_EQ(e->Value(), 12);
    EXPECT_EQ(valueChanges, 1);

    // The same text again commits without a report; so does a value written twice.
    Enter(e, String("12.0"));
    Press(e, VK_RETURN);
    e->SetValue(12);
    EXPECT_EQ(valueChanges, 1);

    // The error beeps once on entering it, not while it lasts; the bad letter is selected, so the
    // next one types over it.
    win::ResetMessageBeeps();
    Press(e, VK_END);
    ui::test::TypeText(e, String("x"));
    EXPECT_EQ(e->State(), esError);
    EXPECT_EQ(e->SelText(), String("x"));
    ui::test::TypeText(e, String("y"));
    EXPECT_EQ(e->Text(), String("12y"));
    EXPECT_EQ(e->State(), esError);
    EXPECT_EQ(win::MessageBeepCount(), 1);
    ui::test::Key(e, VK_BACK);
    EXPECT_EQ(e->State(), esNormal);  // back at the committed text
    EXPECT_EQ(e->Color(), clWindow);
}

TEST_F(NumEditTest, ColorDefaultFollowsTheParentAndShowsInTheNormalState) {
    TMvNumEdit* e = Place();
    e->SetParentColor(true);
    EXPECT_EQ(e->ColorDefault(), form->Color());
    form->SetColor(0x336699);
    EXPECT_EQ(e->ColorDefault(), 0x336699);
    EXPECT_EQ(e->Color(), 0x336699);

    // The state colours keep ParentColor: the edit still follows after an entry.
    Enter(e, String("3"));
    EXPECT_EQ(e->Color(), 0x00FF00);
    form->SetColor(0x224466);
    EXPECT_EQ(e->Color(), 0x00FF00);
    Press(e, VK_RETURN);
    EXPECT_TRUE(e->ParentColor());
    EXPECT_EQ(e->Color(), 0x224466);

    // A colour of its own ends following; it shows at once in the normal state.
    e->SetColorDefault(0x00FFFF);
    EXPECT_FALSE(e->ParentColor());
    EXPECT_EQ(e->Color(), 0x00FFFF);
    form->SetColor(0x112233);
    EXPECT_EQ(e->ColorDefault(), 0x00FFFF);
}

TEST_F(NumEditTest, LimitsHoldTheValueAndBlockTheStepTowardsThem) {
    TMvNumEdit* e = Place();
    int limits = 0;
    e->OnLimit = [&](TObject*) { ++limits; };
    e->SetMaxValue(254);
    e->SetMinValue(-10);
    e->SetOptions(TNumEditOptions{eoLimitMax, eoLimitMin});
    EXPECT_EQ(limits, 0);

    Enter(e, String("300"));
    Press(e, VK_RETURN);
    EXPECT_EQ(e->Value(), 254);
    EXPECT_EQ(e->Text(), String("254"));
    EXPECT_TRUE(e->LimitUp());
    EXPECT_EQ(limits, 1);

    changes = 0;
    win::ResetMessageBeeps();
    Press(e, VK_UP);
    EXPECT_EQ(e->Value(), 254);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(win::MessageBeepCount(), 0);
    e->UpClick(nullptr);
    EXPECT_EQ(win::MessageBeepCount(), 1);

    Press(e, VK_DOWN);
    EXPECT_EQ(e->Value(), 253);
    EXPECT_FALSE(e->LimitUp());
    EXPECT_EQ(limits, 2);

    Enter(e, String("-11"));
    Press(e, VK_RETURN);
    EXPECT_EQ(e->Value(), -10);
    EXPECT_TRUE(e->LimitLo());
    EXPECT_EQ(limits, 3);
    changes = 0;
    Press(e, VK_DOWN);
    EXPECT_EQ(e->Value(), -10);
    EXPECT_EQ(changes, 1);
    e->DownClick(nullptr);
    EXPECT_EQ(win::MessageBeepCount(), 2);

    // Integer writes are the program's own: only the base's range applies.
    e->SetValueAsInt(1000);
    EXPECT_EQ(e->Value(), 1000);
    EXPECT_TRUE(e->LimitLo());
    EXPECT_FALSE(e->LimitUp());
    e->SetValue(1000.5);
    EXPECT_EQ(e->Value(), 254);
    EXPECT_TRUE(e->LimitUp());
    EXPECT_FALSE(e->LimitLo());
}

TEST_F(NumEditTest, StepsAddOrMultiplyAndReportOneChange) {
    TMvNumEdit* e = Place();
    struct Row {
        bool multiply;
        double from;
        bool up;
        double to;
        const char* shown;
    };
    const Row rows[] = {{false, 2, true, 12, "12"},  {false, 2, false, -8, "-8"}, {true, 2, true, 20, "20"},
                        {true, 2, false, 0.2, "0.2"}, {true, 0, true, 10, "10"},  {true, 0, false, -10, "-10"}};
    e->SetIncrement(10);
    for (const Row& r : rows) {
        e->SetOptions(r.multiply ? TNumEditOptions{eoMultiply} : TNumEditOptions{});
        e->SetValue(r.from);
        changes = 0;
        Press(e, r.up ? VK_UP : VK_DOWN);
        EXPECT_DOUBLE_EQ(e->Value(), r.to) << r.from << (r.up ? " up" : " down");
        EXPECT_EQ(e->Text(), String(r.shown));
        EXPECT_EQ(changes, 1);
    }
    // Only the float base multiplies.
    e->SetEditBase(ebInt);
    e->SetValue(2);
    Press(e, VK_UP);
    EXPECT_EQ(e->Value(), 12);
    // A step is a commit: the next keystroke is checked again even when the text did not change.
    e->SetIncrement(0);
    Press(e, VK_UP);
    ui::test::TypeText(e, String("x"));
    EXPECT_EQ(e->State(), esError);
}

TEST_F(NumEditTest, EscapeRestoresOtherKeysReportAChangeAndTheEditorCanBeLocked) {
    TMvNumEdit* e = Place();
    e->SetValue(42);
    Enter(e, String("17"));
    changes = 0;
    Press(e, VK_ESCAPE);
    EXPECT_EQ(e->Text(), String("42"));
    EXPECT_EQ(e->State(), esNormal);
    EXPECT_GE(changes, 1);
    changes = 0;
    Press(e, VK_ESCAPE);
    EXPECT_EQ(e->Text(), String("42"));
    EXPECT_EQ(changes, 1);
    changes = 0;
    Press(e, VK_LEFT);
    Press(e, VK_SHIFT);
    EXPECT_EQ(changes, 2);

    e->SetEditorEnabled(false);
    win::ResetMessageBeeps();
    e->SelectAll();
    ui::test::TypeText(e, String("5"));
    Press(e, VK_RETURN);
    EXPECT_EQ(e->Text(), String("42"));
    EXPECT_EQ(win::MessageBeepCount(), 2);
}

TEST_F(NumEditTest, BasesAndDigitWritesShowTheCommittedValue) {
    TMvNumEdit* e = Place();
    e->SetValueAsHex(String("1F"));
    EXPECT_EQ(e->Value(), 31);
    EXPECT_EQ(e->Text(), String("31"));
    EXPECT_EQ(e->ValueAsHex(), String("1F"));
    EXPECT_EQ(e->ValueAsBool(), String("11111"));
    struct Shown {
        TEditBase base;
        const char* text;
    };
    for (Shown s : {Shown{ebHex, "1F"}, Shown{ebBin, "11111"}, Shown{ebInt, "31"}, Shown{ebFloat, "31"}}) {
        e->SetEditBase(s.base);
        EXPECT_EQ(e->Text(), String(s.text));
        EXPECT_EQ(e->State(), esNormal);
    }
    e->SetValueAsBool(String("101"));
    EXPECT_EQ(e->Value(), 5);
    e->SetValueAsSingle(2.5f);
    EXPECT_EQ(e->Value(), 2.5);
    EXPECT_EQ(e->ValueAsInt(), 2);  // halves to even
    e->SetFormatStr(String("0.00"));
    EXPECT_EQ(e->Text(), String("2.50"));
    e->SetEditBase(ebHex);
    e->SetDigitsHex(4);
    EXPECT_EQ(e->Text(), String("0002"));
    e->SetValue(-1);
    EXPECT_EQ(e->Text(), String("FFFFFFFF"));
    e->SetValue(1e12);  // beyond the integer range: held at its edge
    EXPECT_EQ(e->ValueAsInt(), 2147483647);
    EXPECT_EQ(e->Value(), 2147483647);
    EXPECT_THROW(e->SetValue(std::nan("")), EInvalidOp);
    EXPECT_EQ(e->Value(), 2147483647);
}

// Sound behaviour: a number on its way ("1e" before "1e3") is not converted while typing, so no
// conversion error interrupts the typing; a commit of a text that is no number still raises.
TEST_F(NumEditTest, OnlyACommitConvertsAndAFailedOneChangesNothing) {
    TMvNumEdit* e = Place();
    e->SetValue(8);
    e->SelectAll();
    ui::test::TypeText(e, String("1e3"));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(e->State(), esEditing);
    Press(e, VK_RETURN);
    EXPECT_EQ(e->Value(), 1000);

    for (const char* text : {"1e2.5", "1e", "$123456789"}) {
        SCOPED_TRACE(text);
        errors.clear();
        Enter(e, String(text));
        ASSERT_EQ(e->State(), esEditing);
        Press(e, VK_RETURN);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].ToUtf8().find(text), std::string::npos) << errors[0].ToUtf8();
        EXPECT_EQ(e->Value(), 1000);
        EXPECT_EQ(e->State(), esEditing);
        EXPECT_EQ(e->Text(), String(text));
    }
}

// The numeric spin ------------------------------------------------------------------------------

TEST_F(NumEditTest, SpinButtonSitsInTheRightEdgeAndTheTextStaysClearOfIt) {
    auto* s = Place<TMvNumSpin>();
    // The least height: the font's, a quarter of the smaller of it and the system font's, the
    // borders and 2.
    TBitmap scratch(1, 1);
    TEXTMETRIC sys{}, own{};
    SelectObject(scratch.Canvas()->Handle(), GetStockObject(SYSTEM_FONT));
    GetTextMetrics(scratch.Canvas()->Handle(), &sys);
    SelectObject(scratch.Canvas()->Handle(), s->Font()->Handle());
    GetTextMetrics(scratch.Canvas()->Handle(), &own);
    const int least = own.tmHeight + std::min(sys.tmHeight, own.tmHeight) / 4 + 4 * GetSystemMetrics(SM_CYBORDER) + 2;
    EXPECT_EQ(s->MinHeight(), least);
    s->SetHeight(least - 3);
    EXPECT_EQ(s->Height(), least);

    s->SetBounds(10, 10, 80, 26);
    EXPECT_EQ(s->Button()->BoundsRect(), Bounds(80 - 15 - 4, 0, 15, 22));
    EXPECT_EQ(s->Button()->FUpButton->Height(), 11);
    EXPECT_EQ(s->FormatRect(), Rect(0, 0, s->ClientWidth() - 15 - 2, s->ClientHeight() + 1));
    s->SetCtl3D(false);
    EXPECT_FALSE(s->Button()->Ctl3D());
    EXPECT_EQ(s->Button()->BoundsRect(), Bounds(80 - 15 + 1, 1, 15, 23));
    EXPECT_EQ(s->FormatRect(), Rect(0, 0, s->ClientWidth() - 15 - 2, s->ClientHeight() + 1));
}

TEST_F(NumEditTest, SpinArrowsFollowTheStateAndTheLimits) {
    auto* s = Place<TMvNumSpin>();
    TMvTimerSpeedBtn* up = s->Button()->FUpButton;
    TMvTimerSpeedBtn* down = s->Button()->FDownButton;
    s->SetMaxValue(3);
    s->SetOptions(TNumEditOptions{eoLimitMax});
    EXPECT_TRUE(up->Enabled());

    Enter(s, String("2"));
    EXPECT_FALSE(up->Enabled());
    EXPECT_FALSE(down->Enabled());
    Enter(s, String("2z"));
    EXPECT_FALSE(up->Enabled());
    Press(s, VK_ESCAPE);
    EXPECT_TRUE(up->Enabled());
    EXPECT_TRUE(down->Enabled());

    ui::test::Click(up, 5, 5);
    ui::test::Click(up, 5, 5);
    ui::test::Click(up, 5, 5);
    EXPECT_EQ(s->Value(), 3);
    EXPECT_TRUE(s->LimitUp());
    EXPECT_FALSE(up->Enabled());
    EXPECT_TRUE(down->Enabled());
    ui::test::Click(down, 5, 5);
    EXPECT_EQ(s->Value(), 2);
    EXPECT_TRUE(up->Enabled());

    s->SetEnabled(false);
    EXPECT_FALSE(s->Button()->Enabled());
    EXPECT_FALSE(up->Enabled());
    s->SetEnabled(true);
    EXPECT_TRUE(up->Enabled());

    s->SetInterval(300);
    s->SetStartDelay(800);
    EXPECT_EQ(up->Interval(), 300);
    EXPECT_EQ(down->StartDelay(), 800u);
    EXPECT_EQ(s->Interval(), 300);
    EXPECT_EQ(s->StartDelay(), 800u);
}

TEST_F(NumEditTest, LeavingTheSpinEndsARunningRepeat) {
    auto* s = Place<TMvNumSpin>();
    TMvTimerSpeedBtn* up = s->Button()->FUpButton;
    other->SetFocus();
    ui::test::MouseDown(up, 5, 5);
    EXPECT_TRUE(s->Focused());  // the press took the focus to the edit
    EXPECT_TRUE(IsFlashClient(up));
    other->SetFocus();
    EXPECT_FALSE(IsFlashClient(up));
    ui::test::MouseUp(up, 5, 5);
    EXPECT_EQ(s->Value(), 0);  // neither the ended repeat nor the late release clicked
    EXPECT_EQ(up->State(), bsUp);
}

}  // namespace
