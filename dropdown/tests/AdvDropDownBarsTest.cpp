// The pop-up's header and footer: appearances and button items, the buttons' layout and clicks,
// the footer's size grip, painting.
#include <gtest/gtest.h>

#include "dropdown/tests/DropDownTestSupport.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::PickerProbe;
using dropdown_test::Probe;
using namespace advdropdown;

TEST(BarAppearance, DefaultsAndNotifications) {
    THeaderAppearance h(nullptr);
    TFooterAppearance f(nullptr);
    for (TBarAppearance* a : {static_cast<TBarAppearance*>(&h), static_cast<TBarAppearance*>(&f)}) {
        EXPECT_EQ(a->Color(), TColor(0xC0C0C0));
        EXPECT_EQ(a->ColorTo(), TColor(0xFFFFFF));
        EXPECT_EQ(a->GradientDirection(), gdVertical);
        EXPECT_TRUE(a->Visible());
        EXPECT_EQ(a->Height(), 22);
        EXPECT_EQ(a->BorderColor(), TColor(0));
        EXPECT_EQ(a->BorderWidth(), 1);
        EXPECT_EQ(a->ImageIndex(), -1);
        EXPECT_EQ(a->ButtonAlignment(), baRight);
        EXPECT_TRUE(a->Caption().empty());
    }
    EXPECT_EQ(h.Font()->Name(), String("Tahoma"));
    EXPECT_EQ(f.Font()->Name(), TFont().Name());
    EXPECT_TRUE(f.SizeGrip());

    int changes = 0, buttons = 0;
    h.OnChange = [&](TObject*) { ++changes; };
    h.OnButtonsChanged = [&](TObject*) { ++buttons; };
    h.SetColor(0x123456);
    h.SetHeight(30);
    h.SetBorderWidth(2);
    h.SetCaption(String("x"));
    EXPECT_EQ(changes, 0);
    h.SetVisible(false);
    h.SetVisible(false);
    EXPECT_EQ(changes, 1);

    THeaderButton* item = h.Buttons()->Add();
    buttons = 0;
    item->SetHeight(40);
    item->SetImageIndex(3);
    EXPECT_EQ(buttons, 0) << "height and image change silently";
    item->SetCaption(String("Go"));
    item->SetEnabled(false);
    item->SetWidth(50);
    item->SetWidth(50);
    EXPECT_EQ(buttons, 3);

    // Assign: the header takes nothing from a footer and raises nothing; a button item refuses
    // another class.
    THeaderAppearance copy(nullptr);
    copy.Assign(&f);
    EXPECT_EQ(copy.Color(), TColor(0xC0C0C0));
    copy.Assign(&h);
    EXPECT_EQ(copy.Color(), TColor(0x123456));
    EXPECT_EQ(copy.Height(), 30);
    EXPECT_FALSE(copy.Visible());
    ASSERT_EQ(copy.Buttons()->Count(), 1);
    EXPECT_EQ(copy.Buttons()->Items(0)->Width(), 50);
    EXPECT_THROW(item->Assign(&f), EConvertError);
    TFooterButton fb(nullptr);
    fb.SetModalResult(mrOk);
    TFooterButton fb2(nullptr);
    fb2.Assign(&fb);
    EXPECT_EQ(fb2.ModalResult(), mrOk);
}

class BarsTest : public DropDownTest {
protected:
    // A drop-down with three header and three footer items, and bars of 200 x 22 on the form
    // linked to it.
    Probe* d = nullptr;
    TAdvHeader* header = nullptr;
    TAdvFooter* footer = nullptr;
    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<Probe>(10, 200);
        for (const char* c : {"A", "Bb", "Ccc"}) {
            d->DropDownHeader()->Buttons()->Add()->SetCaption(String(c));
            d->DropDownFooter()->Buttons()->Add()->SetCaption(String(c));
        }
        d->DropDownHeader()->SetCaption(String("Header"));
        header = Bar<TAdvHeader>(10, 10);
        footer = Bar<TAdvFooter>(10, 60);
    }
    template <class T>
    T* Bar(int left, int top) {
        auto* bar = Add<T>(left, top);
        bar->SetBounds(left, top, 200, 22);
        bar->SetAdvDropDown(d);
        bar->RebuildButtons();
        ui::test::Pump();
        return bar;
    }
    template <class T>
    static TAdvButton* Button(T* bar, int i) {
        return static_cast<TAdvButton*>(bar->ButtonList()->GetItemsEx(i));
    }
};

TEST_F(BarsTest, ButtonsPlacedFromEitherSide) {
    ASSERT_EQ(header->ButtonList()->Count(), 3);
    EXPECT_EQ(Button(header, 0)->Left() + Button(header, 0)->Width(), 198);
    for (int i = 1; i < 3; ++i) EXPECT_EQ(Button(header, i)->Left() + Button(header, i)->Width(), Button(header, i - 1)->Left());
    EXPECT_EQ(header->CaptionLimit().Right, Button(header, 2)->Left() - 2);
    for (int i = 0; i < 3; ++i) {
        TAdvButton* b = Button(header, i);
        EXPECT_EQ(b->Tag(), i);
        EXPECT_EQ(b->Appearance(), d->ButtonAppearance());
        EXPECT_EQ(b->Top(), std::max(2, (19 - b->Height()) / 2));
    }

    d->DropDownHeader()->SetButtonAlignment(baLeft);
    header->SetAdvDropDown(d);
    header->ArrangeButtons();
    EXPECT_EQ(Button(header, 0)->Left(), 2);
    EXPECT_EQ(Button(header, 1)->Left(), 2 + Button(header, 0)->Width());
    EXPECT_EQ(header->CaptionLimit().Right, Button(header, 2)->Left() - 2);

    // Too tall an item is cut to the area: client height - 5 (header), - 4 (footer).
    d->DropDownHeader()->Buttons()->Items(1)->SetHeight(40);
    d->DropDownFooter()->Buttons()->Items(1)->SetHeight(40);
    d->DropDownFooter()->Buttons()->Items(2)->SetWidth(60);
    header->RebuildButtons();
    footer->RebuildButtons();
    EXPECT_EQ(Button(header, 1)->Height(), 17);
    EXPECT_EQ(Button(footer, 1)->Height(), 18);
    EXPECT_EQ(Button(footer, 2)->Width(), 60);
}

TEST_F(BarsTest, AClickReachesTheDropDownsItemEvent) {
    std::vector<std::pair<TObject*, int>> header_clicks, footer_clicks;
    d->OnDropDownHeaderButtonClick = [&](TObject* s, int i) { header_clicks.push_back({s, i}); };
    d->OnDropDownFooterButtonClick = [&](TObject* s, int i) { footer_clicks.push_back({s, i}); };
    ui::test::Click(Button(header, 1), 3, 3);
    ui::test::Click(Button(footer, 2), 3, 3);
    EXPECT_EQ(header_clicks, (std::vector<std::pair<TObject*, int>>{{d, 1}}));
    EXPECT_EQ(footer_clicks, (std::vector<std::pair<TObject*, int>>{{d, 2}}));
}

TEST_F(BarsTest, TheFootersGripDotsZoneAndCursor) {
    const TColor border = 0x0000C0;
    d->DropDownFooter()->SetBorderColor(border);
    d->DropDownFooter()->SetColorTo(clNone);
    d->DropDownFooter()->SetColor(0x808080);
    d->DropDownFooter()->Buttons()->Clear();
    footer->SetAdvDropDown(d);
    footer->RebuildButtons();
    ASSERT_TRUE(footer->SizeGripActive());
    EXPECT_EQ(footer->ButtonArea().Right, 200 - 14);
    // G = (200 - 1 - 16, 1, 199, 22): white dots from (L + 5, B - 4), border ones up-left of them.
    const int L = 183, B = 22;
    footer->Invalidate();
    for (const TPoint p : {Point(L + 5, B - 4), Point(L + 13, B - 12), Point(L + 9, B - 8)}) {
        EXPECT_EQ(WindowPixel(footer, p.X + 1, p.Y + 1), clWhite) << p.X << "," << p.Y;
        EXPECT_EQ(WindowPixel(footer, p.X - 1, p.Y - 1), border) << p.X << "," << p.Y;
    }

    // The cursor in the zone, and back outside it.
    Screen->SetCursor(crDefault);
    ui::test::MouseMove(footer, 100, 10);
    ui::test::MouseMove(footer, 195, 18);
    EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
    ui::test::MouseMove(footer, 100, 10);
    EXPECT_EQ(Screen->Cursor(), crDefault);

    d->SetDropDownSizeable(false);
    EXPECT_FALSE(footer->SizeGripActive());
    EXPECT_EQ(footer->ButtonArea().Right, 198);
    ui::test::MouseMove(footer, 195, 18);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    footer->Invalidate();
    EXPECT_EQ(WindowPixel(footer, L + 6, B - 3), TColor(0x808080));
}

TEST_F(DropDownTest, AGripPressSizesThePopup) {
    auto* d = Make<PickerProbe>(20, 20);
    d->OpenPopup();
    TDropDownForm* f = d->DropDownForm();
    TAdvFooter* footer = f->Footer();
    ASSERT_TRUE(footer && footer->SizeGripActive());
    const int w = f->Width(), h = f->Height();
    const int x = footer->Width() - 5, y = footer->Height() - 5;
    // The pop-up's top-left stays, so its coordinates hold through the drag.
    const TPoint p = f->ScreenToClient(footer->ClientToScreen(Point(x, y)));
    ui::test::MouseDown(footer, x, y);
    ui::test::MouseMove(f, p.X + 30, p.Y + 20, MK_LBUTTON);
    ui::test::MouseUp(f, p.X + 30, p.Y + 20);
    EXPECT_EQ(f->Width(), w + 30);
    EXPECT_EQ(f->Height(), h + 20);
}

TEST_F(BarsTest, PaintingByTheLookTable) {
    THeaderAppearance* a = d->DropDownHeader();
    auto paint = [&] {
        header->SetAdvDropDown(d);
        header->Invalidate();
    };
    a->SetCaption(String());
    d->DropDownHeader()->Buttons()->Clear();
    header->RebuildButtons();
    a->SetBorderColor(clNone);
    a->SetColor(0x00A000);
    a->SetColorTo(clNone);
    paint();
    EXPECT_EQ(WindowPixel(header, 100, 10), TColor(0x00A000)) << "solid";
    a->SetColor(0x000000);
    a->SetColorTo(0xFF0000);
    paint();
    EXPECT_LT(GetBValue(WindowPixel(header, 100, 0)), 0x10) << "gradient starts at the top";
    EXPECT_GT(GetBValue(WindowPixel(header, 100, 21)), 0xE0) << "and ends at the bottom";

    // The frame: the bottom line, the light rectangle inside; the outer lines only without the
    // pop-up's own frame.
    a->SetColor(0x00A000);
    a->SetColorTo(clNone);
    a->SetBorderColor(0x0000FF);
    a->SetBorderWidth(1);
    paint();
    EXPECT_EQ(WindowPixel(header, 100, 21), TColor(0x0000FF));
    EXPECT_EQ(WindowPixel(header, 100, 0), BlendColor(0x0000FF, clWhite, 20));
    EXPECT_EQ(WindowPixel(header, 100, 10), TColor(0x00A000));
    a->SetBorderWidth(3);
    d->SetDropDownBorderColor(clBlack);
    paint();
    const TColor framed = WindowPixel(header, 1, 10);
    d->SetDropDownBorderColor(clNone);
    paint();
    EXPECT_NE(framed, TColor(0x0000FF)) << "no outer lines under the pop-up's frame";
    EXPECT_EQ(WindowPixel(header, 1, 10), TColor(0x0000FF)) << "outer lines without it";

    // The handler paints alone; the caption comes through OnGetText.
    int texts = 0;
    a->SetCaption(String("Hello"));
    header->OnGetText = [&](TObject* s, String& t) {
        texts += s == header && t == String("Hello");
        t = String("Bye");
    };
    paint();
    header->Update();
    EXPECT_GE(texts, 1);
    header->OnDrawBackGround = [](TObject*, TCanvas* c, TRect r) {
        c->Brush()->SetColor(0x00FFFF);
        c->FillRect(r);
    };
    texts = 0;
    paint();
    EXPECT_EQ(WindowPixel(header, 100, 21), TColor(0x00FFFF));
    EXPECT_EQ(WindowPixel(header, 0, 10), TColor(0x00FFFF));
    EXPECT_EQ(texts, 0);
}

TEST_F(DropDownTest, ButtonChangesWhileOpenReLayAtOnce) {
    auto* d = Make<PickerProbe>();
    d->DropDownFooter()->Buttons()->Add()->SetCaption(String("OK"));
    d->OpenPopup();
    TAdvFooter* footer = d->DropDownForm()->Footer();
    ASSERT_EQ(footer->ButtonList()->Count(), 1);
    d->DropDownFooter()->Buttons()->Add()->SetCaption(String("Cancel"));
    EXPECT_EQ(footer->ButtonList()->Count(), 2);
    d->DropDownFooter()->Buttons()->Items(0)->SetCaption(String("Accept"));
    EXPECT_EQ(static_cast<TAdvButton*>(footer->ButtonList()->GetItemsEx(0))->Caption(), String("Accept"));
    d->DropDownFooter()->SetVisible(false);
    EXPECT_FALSE(footer->Visible());
}

}  // namespace
