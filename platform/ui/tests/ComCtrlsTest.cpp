#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

class PageControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 320, 240);
        pc = new TPageControl(form);
        pc->SetBounds(10, 10, 300, 200);
        pc->SetParent(form);
        for (const char* caption : {"First", "Second", "Third"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetCaption(String(caption));
            sheet->SetPageControl(pc);
            sheets.push_back(sheet);
        }
        pc->OnChanging = [this](TObject* s, bool& allow) {
            EXPECT_EQ(s, pc);
            log.push_back("changing " + std::to_string(pc->ActivePageIndex()));
            allow = allowChange;
        };
        pc->OnChange = [this](TObject* s) {
            EXPECT_EQ(s, pc);
            log.push_back("change " + std::to_string(pc->ActivePageIndex()));
        };
        form->Show();
        ui::test::Pump();
    }
    void TearDown() override { form->Free(); }

    void ClickTab(int page) {
        TRect r = pc->TabRect(page);
        ASSERT_FALSE(r.IsEmpty());
        ui::test::Click(pc, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    ui::test::AppScope scope;
    TForm* form = nullptr;
    TPageControl* pc = nullptr;
    std::vector<TTabSheet*> sheets;
    std::vector<std::string> log;
    bool allowChange = true;
};

TEST_F(PageControlTest, FirstSheetIsActiveAndOnlyItShows) {
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(sheets[2]->PageIndex(), 2);
    // Sheets sit below the tabs, inside the control.
    TRect d = pc->DisplayRect();
    EXPECT_EQ(sheets[1]->BoundsRect(), d);
    EXPECT_GE(d.Top, pc->TabRect(0).Bottom);
}

TEST_F(PageControlTest, TabClickFiresChangingThenChange) {
    ClickTab(1);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    EXPECT_TRUE(sheets[1]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"changing 0", "change 1"}));
    // A click on the active tab changes nothing.
    log.clear();
    ClickTab(1);
    EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, RefusedChangeKeepsThePage) {
    allowChange = false;
    ClickTab(2);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[2]->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"changing 0"}));
}

TEST_F(PageControlTest, ProgramChangeFiresNoEvents) {
    pc->SetActivePage(sheets[2]);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    pc->SetActivePageIndex(1);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, HiddenTabIsSkippedByClicksAndCtrlTab) {
    sheets[1]->SetTabVisible(false);
    EXPECT_TRUE(pc->TabRect(1).IsEmpty());
    EXPECT_EQ(sheets[1]->TabIndex(), -1);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    // Where the hidden tab was, the third tab now is.
    TRect third = pc->TabRect(2);
    EXPECT_EQ(third.Left, pc->TabRect(0).Right);
    EXPECT_EQ(pc->PageAt(Point(third.Left + 2, third.Top + 2)), sheets[2]);

    pc->SetFocus();
    ui::test::Key(form, VK_TAB, String(), {ssCtrl});
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    ui::test::Key(form, VK_TAB, String(), {ssCtrl});
    EXPECT_EQ(pc->ActivePage(), sheets[0]);  // wraps, skipping the hidden one
    ui::test::Key(form, VK_TAB, String(), {ssCtrl, ssShift});
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"changing 0", "change 2", "changing 2", "change 0", "changing 0",
                                             "change 2"}));
    // The arrow keys on the focused page control skip it as well.
    ui::test::Key(form, VK_LEFT);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    ui::test::Key(form, VK_RIGHT);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    // A click where no tab is changes nothing.
    log.clear();
    TRect last = pc->TabRect(2);
    ui::test::Click(pc, last.Right + 20, last.Top + 3);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, CtrlTabFromAControlOnAPageMovesOnAndRespectsRefusal) {
    auto* edit = new drawn_test::Focusable(form);
    edit->SetParent(sheets[0]);
    edit->SetFocus();
    ASSERT_EQ(form->ActiveControl(), edit);
    allowChange = false;
    ui::test::Key(form, VK_TAB, String(), {ssCtrl});
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    allowChange = true;
    ui::test::Key(form, VK_TAB, String(), {ssCtrl});
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    // The focus left the hidden page.
    EXPECT_NE(form->ActiveControl(), edit);
}

TEST_F(PageControlTest, ActiveTabJoinsThePageFrame) {
    ui::test::Picture pic = drawn_test::Snapshot(form, "tabs");
    ASSERT_GT(pic.Width, 0);
    const TColor face = ColorToRGB(clBtnFace);
    // The frame's outer light line is the face colour; its highlight line lies below it.
    int frameTop = pc->Top() + pc->DisplayRect().Top - 3;
    auto middle = [&](int page) { return pc->Left() + (pc->TabRect(page).Left + pc->TabRect(page).Right) / 2; };
    // No frame line under the active tab; one under the others.
    EXPECT_EQ(pic.At(middle(0), frameTop), face);
    EXPECT_NE(pic.At(middle(1), frameTop), face);
    ClickTab(1);
    pic = drawn_test::Snapshot(form, "tabs2");
    EXPECT_NE(pic.At(middle(0), frameTop), face);
    EXPECT_EQ(pic.At(middle(1), frameTop), face);
    // The captions are drawn inside their tabs.
    int dark = 0;
    TRect t = pc->TabRect(2);
    for (int y = t.Top; y < t.Bottom; ++y)
        for (int x = t.Left; x < t.Right; ++x)
            if (pic.At(pc->Left() + x, pc->Top() + y) == 0) ++dark;
    EXPECT_GT(dark, 10);
}

TEST_F(PageControlTest, MultiLineTabsWrapIntoRowsOfTheGivenHeight) {
    pc->SetTabHeight(20);
    pc->SetTabWidth(120);
    EXPECT_EQ(pc->TabRect(0).Height(), 20);
    EXPECT_EQ(pc->RowCount(), 1);  // single line: one row even when it overflows
    pc->SetMultiLine(true);
    EXPECT_EQ(pc->RowCount(), 2);
    EXPECT_EQ(pc->TabRect(0).Width(), 120);
    EXPECT_EQ(pc->DisplayRect().Top, 2 + 2 * 20 + 4);
    EXPECT_EQ(sheets[0]->Top(), pc->DisplayRect().Top);
}

TEST_F(PageControlTest, PagesMoveAndFreedPagesLeave) {
    sheets[2]->SetPageIndex(0);
    EXPECT_EQ(pc->Pages(0), sheets[2]);
    EXPECT_EQ(pc->Pages(1), sheets[0]);
    EXPECT_LT(pc->TabRect(0).Left, pc->TabRect(1).Left);
    EXPECT_EQ(sheets[0]->PageIndex(), 1);
    // Freeing the active page activates its neighbour, without events.
    pc->SetActivePage(sheets[0]);
    sheets[0]->Free();
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    EXPECT_TRUE(sheets[1]->Visible());
    EXPECT_TRUE(log.empty());
    // A sheet moved to another page control leaves this one.
    auto* other = new TPageControl(form);
    other->SetParent(form);
    sheets[1]->SetPageControl(other);
    EXPECT_EQ(pc->PageCount(), 1);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_EQ(other->ActivePage(), sheets[1]);
}

// ---------------------------------------------------------------------------------------------

class StatusBarTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
};

TEST_F(StatusBarTest, PanelsShowTheirTextsAtTheirWidths) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 700, 100);
    auto* sb = new TStatusBar(form);
    sb->SetParent(form);
    const int widths[] = {220, 110, 180};
    const char* texts[] = {"ttyUSB0 9600", "OK", "XYZ"};
    for (int i = 0; i < 3; ++i) {
        TStatusPanel* p = sb->Panels()->Add();
        p->SetWidth(widths[i]);
        p->SetText(String(texts[i]));
    }
    sb->Panels()->Items(2)->SetAlignment(taRightJustify);
    form->Show();
    EXPECT_EQ(sb->Align(), alBottom);
    EXPECT_EQ(sb->Width(), form->ClientWidth());
    EXPECT_EQ(sb->PanelRect(0), Rect(0, 2, 220, sb->Height()));
    EXPECT_EQ(sb->PanelRect(1).Left, 220);
    EXPECT_EQ(sb->PanelRect(1).Right, 330);
    // The last panel reaches the right edge.
    EXPECT_EQ(sb->PanelRect(2).Right, sb->Width());

    ui::test::Picture pic = drawn_test::Snapshot(form, "status");
    ASSERT_GT(pic.Width, 0);
    // Text pixels (black) in each panel: the first starts near its left edge, the right-aligned
    // last one ends near the bar's right edge.
    auto darkColumns = [&](int from, int to, int& first, int& last) {
        first = -1;
        last = -1;
        for (int x = from; x < to; ++x)
            for (int y = sb->Top(); y < sb->Top() + sb->Height(); ++y)
                if (pic.At(x, y) == 0) {
                    if (first < 0) first = x;
                    last = x;
                }
    };
    int first = 0, last = 0;
    darkColumns(0, 220, first, last);
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 8);
    TRect t0 = sb->PanelTextRect(0);
    EXPECT_LE(last, t0.Right + 1);
    darkColumns(220, 330, first, last);
    EXPECT_GE(first, 220);
    EXPECT_LE(first, 228);
    darkColumns(330, sb->Width(), first, last);
    EXPECT_GT(first, sb->Width() - 60);
    EXPECT_LE(last, sb->Width() - 3);

    // Simple text replaces the panels.
    sb->SetSimpleText(String("Busy"));
    sb->SetSimplePanel(true);
    pic = drawn_test::Snapshot(form, "status2");
    darkColumns(220, 330, first, last);
    EXPECT_EQ(first, -1);
    form->Free();
}

// ---------------------------------------------------------------------------------------------

class ToolBarTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
};

TEST_F(ToolBarTest, ButtonsInARowWithImagesAndCheckStyle) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 100);
    auto* images = new TImageList(form);
    TBitmap strip(32, 16);
    strip.Canvas()->Brush()->SetColor(clFuchsia);  // the transparent colour, bottom-left
    strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(4, 4, 12, 12));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(20, 4, 28, 12));
    EXPECT_EQ(images->Add(&strip), 0);
    EXPECT_EQ(images->Count(), 2);

    auto* tb = new TToolBar(form);
    tb->SetParent(form);
    tb->SetImages(images);
    auto* b1 = new TToolButton(form);
    b1->SetParent(tb);
    b1->SetImageIndex(0);
    auto* sep = new TToolButton(form);
    sep->SetParent(tb);
    sep->SetStyle(tbsSeparator);
    auto* b2 = new TToolButton(form);
    b2->SetParent(tb);
    b2->SetImageIndex(1);
    b2->SetStyle(tbsCheck);
    int clicks1 = 0, clicks2 = 0;
    b1->OnClick = [&](TObject*) { ++clicks1; };
    b2->OnClick = [&](TObject*) { ++clicks2; };
    form->Show();

    EXPECT_EQ(tb->ButtonCount(), 3);
    EXPECT_EQ(b1->Left(), 0);
    EXPECT_EQ(sep->Left(), 23);
    EXPECT_EQ(b2->Left(), 31);

    ui::test::Picture pic = drawn_test::Snapshot(form, "toolbar");
    ASSERT_GT(pic.Width, 0);
    int y = tb->Top() + b1->Top() + b1->Height() / 2;
    EXPECT_EQ(pic.At(b1->Left() + b1->Width() / 2, y), clRed);
    EXPECT_EQ(pic.At(b2->Left() + b2->Width() / 2, y), clBlue);
    // The image's transparent colour does not show.
    for (int x = 0; x < tb->Width(); ++x) ASSERT_NE(pic.At(x, tb->Top() + b1->Top() + 5), clFuchsia) << x;

    ui::test::Click(b1, 5, 5);
    EXPECT_EQ(clicks1, 1);
    EXPECT_FALSE(b1->Down());  // a plain button does not stay down
    ui::test::Click(b2, 5, 5);
    EXPECT_TRUE(b2->Down());
    ui::test::Click(b2, 5, 5);
    EXPECT_FALSE(b2->Down());
    EXPECT_EQ(clicks2, 2);
    // Released outside: no click.
    ui::test::MouseDown(b1, 5, 5);
    ui::test::MouseMove(b1, 100, 5, MK_LBUTTON);
    ui::test::MouseUp(b1, 100, 5);
    EXPECT_EQ(clicks1, 1);
    form->Free();
}

TEST_F(ToolBarTest, GroupedCheckButtonsKeepOneDown) {
    auto* form = new TForm(nullptr);
    auto* tb = new TToolBar(form);
    tb->SetParent(form);
    tb->SetShowCaptions(true);
    TToolButton* b[4];
    for (int i = 0; i < 4; ++i) {
        b[i] = new TToolButton(form);
        b[i]->SetParent(tb);
        b[i]->SetCaption(String(i == 2 ? "" : "Mode"));
        b[i]->SetStyle(i == 2 ? tbsSeparator : tbsCheck);
        b[i]->SetGrouped(true);
    }
    form->Show();
    // Without images the captions decide the width.
    EXPECT_GT(b[0]->Width(), 0);
    EXPECT_EQ(b[1]->Left(), b[0]->Width());
    ui::test::Click(b[0], 3, 3);
    ui::test::Click(b[1], 3, 3);
    EXPECT_FALSE(b[0]->Down());
    EXPECT_TRUE(b[1]->Down());
    // A grouped button stays down when clicked again, and the separator ends the group.
    ui::test::Click(b[1], 3, 3);
    EXPECT_TRUE(b[1]->Down());
    ui::test::Click(b[3], 3, 3);
    EXPECT_TRUE(b[3]->Down());
    EXPECT_TRUE(b[1]->Down());
    form->Free();
}

}  // namespace
