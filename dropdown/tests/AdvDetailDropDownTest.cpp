// The detail drop-down: auto-complete of the typed text, the ItemIndex setter, Enter and Esc,
// the pop-up's list (size, choice, cancel, focus), measuring and drawing the items, the keys and
// the type-ahead, and the style operations.
#include <gtest/gtest.h>

#include "dropdown/AdvDetailDropDown.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Window.h"

namespace {

using dropdown_test::DropDownTest;

class Detail : public TAdvDetailDropDown {
public:
    using TAdvDetailDropDown::TAdvDetailDropDown;
    using TAdvDetailDropDown::DrawListItem;
    using TAdvDetailDropDown::MeasureListItem;
    using TAdvCustomDropDown::ApplyItemAppearanceStyle;
};

class DetailTest : public DropDownTest {
protected:
    rtl::ScopedManualClock clock;
    Detail* d = nullptr;
    int selects = 0;

    void SetUp() override {
        DropDownTest::SetUp();
        Add<TEdit>(10, 180);
        d = Make<Detail>(20, 20);
        d->OnSelect = [this](TObject*) { ++selects; };
        clock->Advance(1000);
    }
    void TearDown() override {
        win::ClearKeyState();
        DropDownTest::TearDown();
    }
    void Captions(std::initializer_list<const char16_t*> captions) {
        for (const char16_t* c : captions) d->Items()->Add()->SetCaption(c);
    }
    String Whole() const { return d->TCustomMaskEdit::Text(); }
    void Focus() {
        d->SetFocus();
        ui::test::Pump();
    }
    void Type(const char16_t* text) {
        for (const char16_t* c = text; *c; ++c) {
            const char16_t up = *c >= u'a' && *c <= u'z' ? static_cast<char16_t>(*c - 32) : *c;
            ui::test::Key(d, up, String(1, *c));
        }
    }
    void Open() {
        ui::test::Pump();  // the activation the last close gave back
        d->ShowDropDown();
        ui::test::Pump();
        ASSERT_TRUE(d->DroppedDown());
    }
};

TEST_F(DetailTest, TypingCompletesFromTheCaptions) {
    Captions({u"Apple", u"Abacus"});
    Focus();
    Type(u"ab");
    EXPECT_EQ(Whole(), String(u"abacus"));
    EXPECT_EQ(d->SelStart(), 2);
    EXPECT_EQ(d->SelLength(), 4);
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(selects, 0);
    EXPECT_TRUE(d->Modified());

    // With case: "A" completes, "a" does not.
    d->SetMatchCase(true);
    d->SetText(String());
    Type(u"A");
    EXPECT_EQ(Whole(), String(u"Apple"));
    d->SetText(String());
    Type(u"a");
    EXPECT_EQ(Whole(), String(u"a"));
}

TEST_F(DetailTest, NoMatchCutsAfterTheCaretAndDeletingKeysPauseCompletion) {
    Captions({u"Apple", u"Abacus"});
    Focus();
    d->SetText(u"xyz");
    d->SetSelStart(1);
    Type(u"q");
    EXPECT_EQ(Whole(), String(u"xq"));
    EXPECT_EQ(d->SelStart(), 2);

    // After Backspace the next change is not completed, after another key it is again.
    d->SetText(String());
    Type(u"ax");
    ui::test::Key(d, VK_BACK);
    EXPECT_EQ(Whole(), String(u"a"));
    Type(u"b");
    EXPECT_EQ(Whole(), String(u"abacus"));

    // An empty text is not modified (a cut after a typed key, which completes again).
    d->SelectAll();
    SendMessage(d->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(Whole(), String());
    EXPECT_FALSE(d->Modified());
}

TEST_F(DetailTest, ALongCaptionIsCompletedUpTo255Characters) {
    const String tail(300, u'z');
    d->Items()->Add()->SetCaption(String(u"q") + tail);
    Focus();
    Type(u"q");
    EXPECT_EQ(Whole().size(), 1u + 255u);
}

TEST_F(DetailTest, TheItemIndexSetter) {
    Captions({u"Apple", u"Abacus"});
    d->SetItemIndex(1);
    EXPECT_EQ(Whole(), String(u"Abacus"));
    EXPECT_EQ(d->SelStart(), 0);
    EXPECT_EQ(d->SelLength(), 6);
    EXPECT_EQ(selects, 1);
    d->SetItemIndex(1);
    EXPECT_EQ(selects, 1);
    for (int bad : {2, -2}) {
        d->SetItemIndex(bad);
        EXPECT_EQ(d->ItemIndex(), 1) << bad;
        EXPECT_EQ(Whole(), String(u"Abacus")) << bad;
    }
    d->SetItemIndex(-1);
    EXPECT_EQ(d->ItemIndex(), -1);
    EXPECT_EQ(Whole(), String());
    EXPECT_EQ(selects, 1);
    d->SelectNext();
    EXPECT_EQ(d->ItemIndex(), 0);
    d->SelectLast();
    d->SelectNext();  // no wrap-around
    EXPECT_EQ(d->ItemIndex(), 1);
}

TEST_F(DetailTest, EnterAndEscSelectTheItemOfTheText) {
    Captions({u"Apple", u"Abacus"});
    Focus();
    d->SetText(u"Abacus");
    ui::test::Key(d, VK_RETURN);
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    d->SetText(u"Apple");
    ui::test::Key(d, VK_ESCAPE);
    EXPECT_EQ(d->ItemIndex(), 0);
}

TEST_F(DetailTest, ThePopupListsTheItemsAndAChoiceClosesIt) {
    Captions({u"Apple", u"Abacus", u"Cherry"});
    Open();
    TAdvCustomItemSelector* list = d->ItemSelector();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Items(2)->Caption(), String(u"Cherry"));
    EXPECT_EQ(d->DropDownForm()->Height(), 2 + 22 + 22 + 100);
    EXPECT_EQ(d->DropDownForm()->Width(), d->Width());
    EXPECT_TRUE(list->Focused());
    list->SetItemIndex(2);  // as a click does
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(Whole(), String(u"Cherry"));
    EXPECT_EQ(selects, 1);

    // A cancelled close restores the index held at the opening.
    Open();
    ui::test::Key(list, VK_DOWN);
    ui::test::Key(list, VK_UP);
    ui::test::Key(list, VK_UP);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 0);
    ui::test::Key(list, VK_ESCAPE);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(Whole(), String(u"Cherry"));
}

TEST_F(DetailTest, ACancelFromNoSelectionRestoresNothing) {
    Captions({u"Apple", u"Abacus"});
    Open();
    ui::test::Key(d->ItemSelector(), VK_DOWN);
    EXPECT_EQ(d->ItemIndex(), 0);
    d->HideDropDown(true);
    EXPECT_EQ(d->ItemIndex(), 0);
}

TEST_F(DetailTest, KeysWhileOpenMoveThroughTheList) {
    for (int i = 0; i < 30; ++i) d->Items()->Add()->SetCaption(String(u"Item ") + IntToStr(i));
    d->Items()->Add()->SetCaption(u"Zebra");
    Open();
    TAdvCustomItemSelector* list = d->ItemSelector();
    const int n = list->GetVisibleItemCount();
    ASSERT_GT(n, 1);
    struct Step {
        WORD key;
        int expected;
    } steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_NEXT, 1 + n}, {VK_PRIOR, 1}, {VK_PRIOR, 0},
                 {VK_END, 30}, {VK_NEXT, 30}, {VK_HOME, 0}, {VK_UP, 0}};
    for (const Step& s : steps) {
        ui::test::Key(list, s.key);
        EXPECT_EQ(list->ItemIndex(), s.expected) << s.key;
        EXPECT_EQ(d->ItemIndex(), s.expected) << s.key;
        EXPECT_TRUE(d->DroppedDown()) << s.key;
    }
    // A letter searches the captions; 500 ms later the search starts afresh.
    ui::test::Key(list, 'Z', String(u"z"));
    EXPECT_EQ(d->ItemIndex(), 30);
    EXPECT_EQ(d->CurSearch(), String(u"Z"));
    ui::test::AdvanceClock(*clock, 600);
    EXPECT_EQ(d->CurSearch(), String());
    ui::test::Key(list, 'I', String(u"i"));
    EXPECT_EQ(d->ItemIndex(), 0);
    d->HideDropDown(false);
}

TEST_F(DetailTest, AltDownOpensNothingOnAReadOnlyOrDisabledControl) {
    Captions({u"Apple"});
    Focus();
    d->SetReadOnly(true);
    ui::test::Key(d, VK_DOWN, String(), TShiftState{ssAlt});
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_TRUE(d->Focused());
    d->SetReadOnly(false);
    d->SetEnabled(false);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    d->ShowDropDown();
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(DetailTest, MeasuringAnItem) {
    Captions({u"Apple"});
    Open();
    TSize size;
    d->MeasureListItem(nullptr, size);
    EXPECT_EQ(size.cy, 22);
    EXPECT_EQ(size.cx, d->DropDownForm()->Width() - 2 * GetSystemMetrics(SM_CXBORDER) - 4);
    d->HideDropDown(false);
    for (int i = 0; i < 20; ++i) Captions({u"more"});
    d->SetDropDownWidth(150);
    Open();
    ASSERT_TRUE(d->ItemSelector()->VertScrollBar()->IsScrollBarVisible());
    d->MeasureListItem(nullptr, size);
    EXPECT_EQ(size.cx, 150 - 17 - 2 - 4);
    d->HideDropDown(false);
}

// Items drawn on a white bitmap of 200 x 40, the item rectangle (10, 5, 190, 35).
class DetailDrawTest : public DetailTest {
protected:
    TBitmap bmp{200, 40, pf24bit};
    TImageList* images = nullptr;
    const TRect R{10, 5, 190, 35};

    void SetUp() override {
        DetailTest::SetUp();
        images = NewComponent<TImageList>(form);
        images->SetWidth(16);
        images->SetHeight(16);
        TBitmap red(16, 16, pf24bit);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(TRect(0, 0, 16, 16));
        images->AddMasked(&red, clFuchsia);
        d->SetImages(images);
    }
    void Draw(int index) {
        bmp.Canvas()->Brush()->SetStyle(bsSolid);
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(TRect(0, 0, 200, 40));
        d->DrawListItem(nullptr, bmp.Canvas(), R, index);
    }
    // Pixels of colour c in columns [x0, x1).
    int Count(TColor c, int x0, int x1) {
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = x0; x < x1; ++x) n += bmp.Canvas()->Pixels(x, y) == c;
        return n;
    }
};

TEST_F(DetailDrawTest, ImageCaptionAndNotes) {
    TDetailItem* item = d->Items()->Add();
    item->SetCaption(u"Caption");
    item->SetImageIndex(0);
    d->CaptionFont()->SetColor(clBlack);
    Draw(0);
    // The image at R.Left + 2, vertically centred.
    EXPECT_EQ(bmp.Canvas()->Pixels(12, 12), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(11, 12), clWhite);
    EXPECT_EQ(bmp.Canvas()->Pixels(27, 12), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(28, 12), clWhite);
    // The caption from R.Left + 16 + 8 on.
    EXPECT_EQ(Count(clBlack, 0, 34), 0);
    EXPECT_GT(Count(clBlack, 34, 190), 0);

    // Without a caption the image is centred.
    item->SetCaption(String());
    Draw(0);
    EXPECT_EQ(bmp.Canvas()->Pixels(10 + (180 - 16) / 2, 20), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(10 + (180 - 16) / 2 - 1, 20), clWhite);

    // The selected item in ColorSelectedText; notes one line lower in the notes font.
    item->SetCaption(u"Caption");
    item->SetNotes(u"<b>notes</b>");
    d->NotesFont()->SetColor(clBlue);
    d->SetItemIndex(0);
    d->ItemAppearance()->ColorSelectedText = clGreen;
    Draw(0);
    EXPECT_GT(Count(clGreen, 34, 190), 0);
    EXPECT_EQ(Count(clBlack, 34, 190), 0);
    EXPECT_EQ(Count(clBlue, 34, 190), 0);  // the notes take the selected colour too

    // The handler replaces the drawing.
    int calls = 0;
    d->OnDrawSelectedImage = [&](TObject* sender, TCanvas*, TRect r) {
        ++calls;
        EXPECT_EQ(sender, d);
        EXPECT_EQ(r, R);
    };
    Draw(0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Count(clRed, 0, 200), 0);
}

TEST_F(DetailDrawTest, NotesAreRenderedBelowTheCaption) {
    TDetailItem* item = d->Items()->Add();
    item->SetCaption(u"Caption");
    item->SetNotes(u"notes");
    d->CaptionFont()->SetColor(clBlack);
    d->NotesFont()->SetColor(clBlue);
    Draw(0);
    int top = 40;
    for (int y = 0; y < 40 && top == 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (bmp.Canvas()->Pixels(x, y) == clBlue) {
                top = y;
                break;
            }
    TBitmap m(1, 1);
    m.Canvas()->Font()->Assign(d->CaptionFont());
    EXPECT_GE(top, R.Top + 2 + m.Canvas()->TextHeight(u"gh") - 1);
    EXPECT_LT(top, 40);
}

TEST_F(DetailTest, StyleOperationsReachTheItemLook) {
    Open();
    d->HideDropDown(false);
    d->SetSelectionColorStyle(scWindows7);
    EXPECT_EQ(d->ItemSelector()->ItemAppearance()->ColorStyle(), scWindows7);
    for (TQRBStyle style : {tsWindows7, tsOffice2003Olive}) {
        d->ItemAppearance()->ColorHot = 0x123456;
        d->ItemAppearance()->ColorSelectedText = 0x654321;
        d->SetComponentStyle(style);
        TItemAppearance expected(nullptr);
        d->ApplyItemAppearanceStyle(&expected, style);
        EXPECT_EQ(d->ItemAppearance()->ColorHot, expected.ColorHot) << style;
        EXPECT_EQ(d->ItemAppearance()->ColorSelected, expected.ColorSelected) << style;
        EXPECT_EQ(d->ItemAppearance()->ColorSelectedText, expected.ColorSelectedText) << style;
        EXPECT_EQ(d->GetComponentStyle(), style);
    }
}

}  // namespace
