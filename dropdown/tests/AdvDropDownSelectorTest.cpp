// The item selector: layout and sizes, selection and hot rules, type-ahead lookup, the item
// look and its styles, painting, scrolling into view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dropdown/tests/DropDownTestSupport.h"

namespace {

using dropdown_test::DropDownTest;

class SelectorTest : public DropDownTest {
protected:
    TAdvCustomItemSelector* s = nullptr;
    TCustomItemSelector* panel = nullptr;
    int selects = 0;
    void SetUp() override {
        DropDownTest::SetUp();
        s = Add<TAdvCustomItemSelector>(10, 10);
        s->SetBounds(10, 10, 200, 150);
        s->ItemAppearance()->Font()->SetName(String("DejaVu Sans"));
        s->ItemAppearance()->Font()->SetSize(8);
        s->OnItemSelect = [this](TObject* sender) { selects += sender == s; };
        panel = s->SelectorPanel();
        form->Show();
        ui::test::Pump();
    }
    void Fill(std::initializer_list<const char*> captions) {
        for (const char* c : captions) s->Items()->Add()->SetCaption(String(c));
        s->UpdateSelectorPanel();
    }
    void FixedSize(int w, int h) {
        s->OnItemSize = [w, h](TObject*, TSize& size) { size = TSize(w, h); };
    }
};

TEST_F(SelectorTest, EmptyAndGridLayout) {
    EXPECT_EQ(panel->Width(), 100);
    EXPECT_EQ(panel->Height(), 50);
    EXPECT_EQ(s->GetSelectorSize(), TSize(100, 50));
    EXPECT_EQ(s->GetVisibleItemCount(), 0);

    FixedSize(60, 22);
    s->SetColumns(2);
    Fill({"a", "b", "c", "d", "e"});
    const TPoint at[] = {Point(2, 2), Point(62, 2), Point(2, 24), Point(62, 24), Point(2, 46)};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(panel->GetItemRect(i), TRect(at[i].X, at[i].Y, at[i].X + 60, at[i].Y + 22)) << i;
    EXPECT_EQ(s->GetSelectorSize(), TSize(124, 70));
    EXPECT_EQ(panel->GetItemRect(5), TRect(-1, -1, -1, -1));
    s->SetColumns(0);
    s->SetColumns(-1);
    EXPECT_EQ(s->Columns(), 2);
    EXPECT_EQ(s->GetVisibleItemCount(), 150 / 22 * 2);

    EXPECT_EQ(panel->ItemAtPos(62, 2), 1) << "left and top edges inside";
    EXPECT_EQ(panel->ItemAtPos(61, 23), 0);
    EXPECT_EQ(panel->ItemAtPos(62, 24), 3);
    EXPECT_EQ(panel->ItemAtPos(122, 2), -1) << "right edge outside";
    EXPECT_EQ(panel->ItemAtPos(1, 1), -1);

    // A size handler that gives no height: no rows fit, and nothing divides by zero.
    FixedSize(60, 0);
    s->UpdateSelectorPanel();
    EXPECT_EQ(s->GetVisibleItemCount(), 0);
}

TEST_F(SelectorTest, ItemSizeFromImageAndCaption) {
    TImageList images(nullptr);
    s->SetImages(&images);
    Fill({"Item"});
    s->Items()->Items(0)->SetImageIndex(0);
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font()->Assign(s->ItemAppearance()->Font());
    const TSize t = DrawHtmlText(scratch.Canvas(), String("Item"), TRect(0, 0, 1000, 500), nullptr, false, nullptr);
    ASSERT_GT(t.cx, 0);
    const struct {
        TItemLayout layout;
        TSelectorType type;
        TSize size;
    } cases[] = {
        {ilCaptionRight, stImage, TSize(8 + 16 + 4 + t.cx + 4, std::max<int>(t.cy, 16) + 8)},
        {ilCaptionLeft, stImage, TSize(8 + 16 + 4 + t.cx + 4, std::max<int>(t.cy, 16) + 8)},
        {ilCaptionBottom, stImage, TSize(std::max<int>(t.cx + 4, 16) + 8, 8 + 16 + 4 + t.cy)},
        {ilCaptionTop, stImage, TSize(std::max<int>(t.cx + 4, 16) + 8, 8 + 16 + 4 + t.cy)},
        {ilCaptionRight, stColor, TSize(8 + 14 + 4 + t.cx + 4, std::max<int>(t.cy, 14) + 8)},
    };
    for (const auto& c : cases) {
        s->SetItemLayout(c.layout);
        s->SetSelectorType(c.type);
        s->UpdateSelectorPanel();
        EXPECT_EQ(panel->GetItemRect(0), TRect(2, 2, 2 + c.size.cx, 2 + c.size.cy)) << c.layout << " " << c.type;
    }
    s->SetImages(nullptr);
}

TEST_F(SelectorTest, SelectionRules) {
    FixedSize(60, 22);
    Fill({"a", "b", "c"});
    s->SetItemIndex(1);
    s->SetItemIndex(1);
    EXPECT_EQ(selects, 2) << "selecting again fires again";
    s->SetItemIndex(-1);
    EXPECT_EQ(s->ItemIndex(), -1);
    EXPECT_EQ(selects, 2) << "-1 fires nothing";
    s->SetItemIndex(3);
    EXPECT_EQ(s->ItemIndex(), -1) << "past the items: ignored";
    EXPECT_EQ(selects, 2);

    s->SelectNext();
    EXPECT_EQ(s->ItemIndex(), 0);
    s->SelectNext();
    s->SelectNext();
    s->SelectNext();
    EXPECT_EQ(s->ItemIndex(), 2) << "no wrap-around";
    s->SelectPrevious();
    EXPECT_EQ(s->ItemIndex(), 1);

    s->Items()->Items(0)->SetEnabled(false);
    s->SetItemIndex(0);
    EXPECT_EQ(s->ItemIndex(), 1) << "a disabled item is not selected";
    ui::test::MouseMove(panel, 10, 10);
    EXPECT_EQ(s->ItemHot(), -1) << "nor hot";
    ui::test::MouseDown(panel, 10, 10);
    ui::test::MouseUp(panel, 10, 10);
    EXPECT_EQ(s->ItemIndex(), 1);

    // A right-button press selects; moving onto an item makes it hot and takes its hint.
    s->Items()->Items(2)->SetHint(String("third"));
    ui::test::MouseDown(panel, 10, 50, mbRight);
    ui::test::MouseUp(panel, 10, 50, mbRight);
    EXPECT_EQ(s->ItemIndex(), 2);
    ui::test::MouseMove(panel, 10, 30);
    EXPECT_EQ(s->ItemHot(), 1);
    ui::test::MouseMove(panel, 10, 50);
    EXPECT_EQ(s->ItemHot(), 2);
    EXPECT_EQ(panel->Hint(), String("third"));
    ui::test::MouseMove(panel, 100, 100);
    EXPECT_EQ(s->ItemHot(), -1);
}

TEST_F(SelectorTest, LookupByCaptionStart) {
    Fill({"<B>Apple</B>", "Banana"});
    EXPECT_TRUE(s->LookupItem(String("AP")));
    EXPECT_EQ(s->ItemIndex(), 0);
    EXPECT_FALSE(s->LookupItem(String("ap"))) << "callers pass upper case";
    EXPECT_FALSE(s->LookupItem(String()));
    EXPECT_TRUE(s->LookupItem(String("BAN")));
    EXPECT_EQ(s->ItemIndex(), 1);
    s->Items()->Items(0)->SetEnabled(false);
    EXPECT_TRUE(s->LookupItem(String("A")));
    EXPECT_EQ(s->ItemIndex(), 1) << "a disabled match keeps the selection";
}

TEST(ItemAppearance, StylePresetsAndAssignOrder) {
    TItemAppearance a(nullptr);
    EXPECT_EQ(a.ColorStyle(), scOffice2007);
    EXPECT_EQ(a.ColorSelected, TColor(0xA6FFFB));
    EXPECT_EQ(a.ColorSelectedTo, TColor(0x04B9F4));
    EXPECT_EQ(a.ColorMirrorSelected, TColor(0x15C1FB));
    EXPECT_EQ(a.ColorMirrorSelectedTo, TColor(0x68E3F9));
    EXPECT_EQ(a.ColorHot, TColor(0xD7FFFD));
    EXPECT_EQ(a.BorderColorHot, clNone);
    EXPECT_EQ(a.ColorHotText, TColor(0));
    EXPECT_EQ(a.Font()->Name(), String("Tahoma"));

    // Assign from another style: that style's preset wins over the copied colours, then the
    // text and state border colours of the source.
    TItemAppearance b(nullptr);
    b.SetColorStyle(scWindows7);
    b.ColorHot = 0x010203;
    b.ColorSelectedText = 0x0000FF;
    b.BorderColorHot = 0x00FF00;
    a.Assign(&b);
    EXPECT_EQ(a.ColorStyle(), scWindows7);
    EXPECT_EQ(a.ColorHot, TColor(0xFCEBDC));
    EXPECT_EQ(a.ColorSelectedText, TColor(0x0000FF));
    EXPECT_EQ(a.BorderColorHot, TColor(0x00FF00));
    // The same style: the copied colours stay.
    TItemAppearance c(nullptr);
    c.SetColorStyle(scWindows7);
    c.Assign(&b);
    EXPECT_EQ(c.ColorHot, TColor(0x010203));
    // scCustom keeps the colours.
    c.SetColorStyle(scCustom);
    EXPECT_EQ(c.ColorHot, TColor(0x010203));
}

TEST_F(SelectorTest, HotItemWithItsOwnBorderIsAPlainFramedGradient) {
    FixedSize(60, 22);
    Fill({"", ""});
    TItemAppearance* a = s->ItemAppearance();
    ui::test::MouseMove(panel, 10, 10);
    ASSERT_EQ(s->ItemHot(), 0);
    // The styled face: its outer border in the style's colour.
    const TColor styled = WindowPixel(panel, 30, 2);
    EXPECT_NE(styled, TColor(0x0000FF));
    a->BorderColorHot = 0x0000FF;
    a->ColorHot = 0x00FF00;
    a->ColorHotTo = clNone;
    panel->Invalidate();
    EXPECT_EQ(WindowPixel(panel, 30, 2), TColor(0x0000FF)) << "1-pixel frame";
    EXPECT_EQ(WindowPixel(panel, 2, 12), TColor(0x0000FF));
    EXPECT_EQ(WindowPixel(panel, 30, 12), TColor(0x00FF00)) << "plain fill";
    EXPECT_EQ(WindowPixel(panel, 30, 30), ColorToRGB(s->Color())) << "the other item on the panel's colour";
}

TEST_F(SelectorTest, ScrollingIntoViewAndKeys) {
    FixedSize(60, 22);
    s->SetBounds(10, 10, 120, 150);
    s->ScrollItemInView(0);
    EXPECT_EQ(s->VertScrollBar()->Position(), 0);
    std::vector<const char*> many(40, "x");
    for (const char* c : many) s->Items()->Add()->SetCaption(String(c));
    s->UpdateSelectorPanel();
    ui::test::Pump();
    ASSERT_TRUE(s->VertScrollBar()->IsScrollBarVisible());
    s->VertScrollBar()->SetMargin(5);
    s->SetItemIndex(30);
    const TRect item = panel->GetItemRect(30);
    EXPECT_EQ(item.Bottom + 5 - s->VertScrollBar()->Position(), s->ClientHeight());
    // The panel's window covers the shown part only; the content scrolls inside it, so the
    // selected item is painted, and hit, where it shows.
    EXPECT_EQ(panel->Top(), 0);
    EXPECT_EQ(panel->Height(), s->ClientHeight());
    const int pos = s->VertScrollBar()->Position();
    EXPECT_NE(WindowPixel(panel, 30, item.Top - pos + 11), ColorToRGB(s->Color()));
    EXPECT_EQ(WindowPixel(panel, 30, item.Top - pos - 11), ColorToRGB(s->Color()));
    ui::test::MouseDown(panel, 10, item.Top - pos - 11);
    ui::test::MouseUp(panel, 10, item.Top - pos - 11);
    EXPECT_EQ(s->ItemIndex(), 29);
    // The last one as far as the bar goes: its margin would pass the end.
    s->SetItemIndex(39);
    EXPECT_EQ(s->VertScrollBar()->Position(), s->GetSelectorSize().cy - s->ClientHeight());
    s->SetItemIndex(0);
    EXPECT_EQ(s->VertScrollBar()->Position(), 0);

    EXPECT_EQ(s->Perform(WM_GETDLGCODE, 0, 0), 5);
    s->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100), 0);
    EXPECT_EQ(s->VertScrollBar()->Position(), 100) << "the content follows the thumb";
}

TEST_F(SelectorTest, APanelNeedsAWrapper) {
    try {
        NewComponent<TCustomItemSelector>(form);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), String("Invalid parent"));
    }
}

}  // namespace
