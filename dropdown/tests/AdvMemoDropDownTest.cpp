// The memo drop-down: the summary of MemoText in the edit, the memo in the pop-up and what it is
// given, the closes that keep or drop the edits, the memo's keys, typing in the edit and
// AutoDrop.
#include <gtest/gtest.h>

#include "dropdown/AdvMemoDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Menus.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

class Probe : public TAdvMemoDropDown {
public:
    using TAdvMemoDropDown::TAdvMemoDropDown;
    using TAdvCustomDropDown::FocusControl;
};

class MemoTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    Probe* d = nullptr;
    TEdit* other = nullptr;
    bool cancelled = false;

    void SetUp() override {
        DropDownTest::SetUp();
        other = Add<TEdit>(10, 150);
        d = Make<Probe>(20, 20);
        d->OnDropUp = [this](TObject*, bool c) { cancelled = c; };
        clock->Advance(1000);
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    void Lines(std::initializer_list<const char16_t*> lines) {
        TStringList l;
        for (const char16_t* s : lines) l.Add(s);
        d->SetMemoText(&l);
    }
    String Whole() const { return d->TCustomMaskEdit::Text(); }
    // The edit's font on a canvas, as the summary measures.
    int Measure(const String& s) {
        TBitmap b(1, 1);
        b.Canvas()->Font()->Assign(d->Font());
        return MeasureText(b.Canvas(), s).cx;
    }
    void Open() {
        d->ShowDropDown();
        ui::test::Pump();
        ASSERT_TRUE(d->DroppedDown());
    }
};

TEST_F(MemoTest, TheSummaryOfTheLines) {
    Lines({u"first", u"second"});
    EXPECT_EQ(Whole(), String(u"first..."));
    EXPECT_EQ(d->Text(), String(u"first..."));
    Lines({u"only"});
    EXPECT_EQ(Whole(), String(u"only"));
    Lines({});
    EXPECT_EQ(Whole(), String());

    // A first line too wide is cut until it and "..." are narrower than the formatting rectangle.
    const String wide(u"The quick brown fox jumps over the lazy dog and keeps running far away");
    Lines({wide.c_str()});
    const int available = d->FormatRect().Width();
    ASSERT_GT(Measure(wide), available);
    const String shown = Whole();
    ASSERT_TRUE(shown.ends_with(u"..."));
    const String kept(shown.substr(0, shown.size() - 3));
    EXPECT_TRUE(wide.starts_with(kept));
    EXPECT_LT(Measure(shown), available);
    EXPECT_GE(Measure(String(wide.substr(0, kept.size() + 1)) + u"..."), available);
}

TEST_F(MemoTest, ThePopupHoldsTheMemoWithTheLinesAndSettings) {
    Lines({u"one", u"two"});
    TPopupMenu* menu = NewComponent<TPopupMenu>(form);
    d->SetMemoPopup(menu);
    d->SetMaxLength(40);
    d->SetMemoScrollBars(ssVertical);
    d->SetMemoReadOnly(true);
    Open();
    TMemo* m = d->Memo();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Parent(), d->DropDownForm());
    EXPECT_EQ(m->BorderStyle(), bsNone);
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Strings(1), String(u"two"));
    EXPECT_EQ(m->PopupMenu(), menu);
    EXPECT_EQ(m->MaxLength(), 40);
    EXPECT_EQ(m->ScrollBars(), ssVertical);
    EXPECT_TRUE(m->ReadOnly());
    EXPECT_EQ(m->Height(), 100);
    EXPECT_EQ(d->DropDownForm()->Width(), d->Width());
    EXPECT_EQ(d->DropDownForm()->Height(), 2 + 22 + 100 + 22);  // the header and the footer stay
    EXPECT_FALSE(d->DropDownForm()->CancelOnDeActivate());
    EXPECT_TRUE(m->Focused());
    d->SetMemoReadOnly(false);  // at once while open
    EXPECT_FALSE(m->ReadOnly());
    d->HideDropDown(false);
}

TEST_F(MemoTest, AGoneMemoIsForgotten) {
    Lines({u"one", u"two"});
    d->Memo()->Free();
    EXPECT_EQ(d->Memo(), nullptr);
    d->ShowDropDown();
    d->HideDropDown(false);
    EXPECT_EQ(d->MemoText()->Count(), 2);
}

TEST_F(MemoTest, AcceptingClosesCopyTheLinesEscKeepsMemoText) {
    Lines({u"one", u"two"});
    int memoChanges = 0;
    d->OnMemoChange = [&](TObject*) { ++memoChanges; };
    Open();
    d->Memo()->Lines()->SetText(u"changed\r\nlines\r\nthree");
    EXPECT_GT(memoChanges, 0);
    ui::test::Key(d->Memo(), VK_F4);
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(d->MemoText()->Count(), 3);
    EXPECT_EQ(Whole(), String(u"changed..."));

    // A deactivation accepts too.
    auto* elsewhere = new TForm(nullptr);
    elsewhere->SetBounds(500, 400, 200, 100);
    ui::ActivateWindow(form);
    Open();
    d->Memo()->Lines()->SetText(u"kept");
    ui::ActivateWindow(elsewhere);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->MemoText()->Text(), String(u"kept\r\n"));
    elsewhere->Free();

    // Esc drops the memo's edits: MemoText stays and the edit shows its summary.
    Lines({u"before", u"esc"});
    ui::ActivateWindow(form);
    ui::test::Pump();
    Open();
    d->Memo()->Lines()->SetText(u"dropped");
    ui::test::Key(d->Memo(), VK_ESCAPE);
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(d->MemoText()->Text(), String(u"before\r\nesc\r\n"));
    EXPECT_EQ(Whole(), String(u"before..."));
    EXPECT_EQ(d->Memo()->Lines()->Text(), String(u"before\r\nesc\r\n"));
}

TEST_F(MemoTest, EnterAndArrowsStayInTheMemo) {
    Lines({u"ab"});
    Open();
    TMemo* m = d->Memo();
    m->SetSelStart(2);
    ui::test::Key(m, VK_RETURN);
    ui::test::Key(m, VK_UP);
    ui::test::Key(m, VK_DOWN);
    ui::test::TypeText(m, u"cd");
    ui::test::Pump();
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Strings(1), String(u"cd"));
    // Ctrl+A selects all of it.
    ui::test::Key(m, u'A', String(), TShiftState{ssCtrl});
    ui::test::Pump();
    EXPECT_EQ(m->SelStart(), 0);
    EXPECT_EQ(m->SelLength(), m->Text().Length());
    // Alt+Up closes and accepts.
    ui::test::Key(m, VK_UP, String(), TShiftState{ssAlt});
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(d->MemoText()->Count(), 2);
}

TEST_F(MemoTest, TypingInTheEditMakesTheOneLine) {
    Lines({u"one", u"two"});
    d->SetFocus();
    ui::test::Pump();
    d->SelectAll();
    int changes = 0;
    d->OnChange = [&](TObject*) { ++changes; };
    ui::test::TypeText(d, u"new");
    ui::test::Pump();
    EXPECT_EQ(Whole(), String(u"new"));
    EXPECT_EQ(d->MemoText()->Count(), 1);
    EXPECT_EQ(d->MemoText()->Strings(0), String(u"new"));
    EXPECT_GT(changes, 0);
}

TEST_F(MemoTest, AutoDropOpensOnEnteringAndTheReturningFocusDoesNotReopen) {
    Lines({u"auto"});
    d->SetAutoDrop(true);
    other->SetFocus();
    ui::test::Pump();
    d->SetFocus();
    ui::test::Pump();
    ASSERT_TRUE(d->DroppedDown());
    d->HideDropDown(false);
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_TRUE(d->Focused());
    EXPECT_TRUE(d->AutoDrop());
    d->ShowDropDown();
    ui::test::Pump();
    ui::test::Key(d->Memo(), VK_ESCAPE);
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_TRUE(d->AutoDrop());
}

}  // namespace
