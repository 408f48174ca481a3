// The gradient push button of the pop-up's bars: its shared look, the face by state, modal
// results, groups and the check style, the mouse and the un-hot timer, sizing, the button list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Clock.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::PickerProbe;
using namespace advdropdown;

TEST(AdvButtonAppearance, DefaultsNotificationAndAssign) {
    TAdvButtonAppearance a;
    EXPECT_EQ(a.ColorHot(), TColor(0xF5F0E1));
    EXPECT_EQ(a.ColorHotTo(), TColor(0xF9D2B2));
    EXPECT_EQ(a.ColorDown(), TColor(0xF5D8CA));
    EXPECT_EQ(a.ColorDownTo(), TColor(0xF9BDA0));
    EXPECT_EQ(a.ColorDisabled(), TColor(0xF2F2F2));
    EXPECT_EQ(a.ColorDisabledTo(), clNone);
    EXPECT_EQ(a.BorderColorHot(), TColor(0x808080));
    EXPECT_EQ(a.BorderColorDown(), TColor(0x800000));
    EXPECT_EQ(a.BorderColorDisabled(), TColor(0x808080));
    EXPECT_EQ(a.Color(), clNone);
    EXPECT_EQ(a.ColorTo(), clNone);
    EXPECT_EQ(a.BorderColor(), clNone);
    EXPECT_EQ(a.Gradient(), gdVertical);
    EXPECT_EQ(a.Font()->Name(), String("Tahoma"));
    EXPECT_EQ(a.ColorChecked(), TColor(0xF5D8CA));
    EXPECT_EQ(a.ColorCheckedTo(), TColor(0xF9BDA0));
    EXPECT_EQ(a.BorderColorChecked(), TColor(0xFF0000));

    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetColorHot(0x123456);
    a.SetColorHot(0x123456);
    a.SetGradient(gdHorizontal);
    a.SetBorderColorChecked(0x0000FF);
    TFont f;
    f.SetName(String("DejaVu Serif"));
    a.SetFont(&f);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(a.Font()->Name(), String("DejaVu Serif"));

    TAdvButtonAppearance b;
    b.Assign(&a);
    EXPECT_EQ(b.ColorHot(), TColor(0x123456));
    EXPECT_EQ(b.BorderColorChecked(), TColor(0x0000FF));
    EXPECT_EQ(b.Gradient(), gdHorizontal);
    EXPECT_EQ(b.Font()->Name(), String("Tahoma"));
    TFont notAnAppearance;
    EXPECT_THROW(b.Assign(&notAnAppearance), EConvertError);
}

class GradientButtonTest : public DropDownTest {
protected:
    TAdvButtonAppearance look;
    TAdvButton* Button(int left = 40, int top = 40) {
        auto* b = Add<TAdvButton>(left, top);
        form->Show();
        ui::test::Pump();
        return b;
    }
    // The solid looks of every state, so a pixel tells which one painted.
    void SolidLooks() {
        look.SetColor(0x0000C0);
        look.SetColorTo(clNone);
        look.SetBorderColor(0x000040);
        look.SetColorHot(0x00C000);
        look.SetBorderColorHot(0x004000);
        look.SetColorDown(0xC00000);
        look.SetBorderColorDown(0x400000);
        look.SetColorChecked(0xC0C000);
        look.SetBorderColorChecked(0x404000);
        look.SetColorDisabled(0x808080);
        look.SetBorderColorDisabled(0x202020);
    }
};

TEST_F(GradientButtonTest, FaceByStatePriority) {
    SolidLooks();
    auto* b = Button();
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 22);
    b->SetAppearance(&look);
    b->SetGroupIndex(1);
    auto face = [&] { return std::make_pair(WindowPixel(b, 5, 5), WindowPixel(b, 0, 0)); };
    using P = std::pair<TColor, TColor>;
    EXPECT_EQ(face(), P(0x0000C0, 0x000040)) << "normal";
    ui::test::MouseMove(b, 5, 5);
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(face(), P(0x00C000, 0x004000)) << "hot";
    b->SetDown(true);
    EXPECT_EQ(face(), P(0xC0C000, 0x404000)) << "down over hot";
    ui::test::MouseDown(b, 5, 5);
    EXPECT_EQ(face(), P(0xC00000, 0x400000)) << "pressed over down";
    b->SetEnabled(false);
    EXPECT_EQ(face(), P(0x808080, 0x202020)) << "disabled over all";
}

TEST_F(GradientButtonTest, WithoutAppearanceOnlyTheParentShows) {
    auto* b = Button(40, 40);
    // A form pixel where the button will stand, then the button's own picture there.
    for (const TPoint p : {Point(1, 1), Point(11, 10), Point(22, 21)}) {
        const TColor parent = WindowPixel(form, 40 + p.X, 40 + p.Y);
        EXPECT_EQ(WindowPixel(b, p.X, p.Y), parent);
    }
    EXPECT_EQ(WindowPixel(b, 11, 10), TColor(0x00C000));
}

TEST_F(GradientButtonTest, ModalResultsCloseThePopupAsTheyMean) {
    auto* d = Make<PickerProbe>(20, 20);
    enum Close { Accepted, Cancelled, Open };
    const struct {
        TModalResult result;
        Close close;
    } cases[] = {{1, Accepted},  {6, Accepted},  {12, Accepted}, {14, Accepted}, {2, Cancelled}, {3, Cancelled},
                 {5, Cancelled}, {7, Cancelled}, {13, Cancelled}, {4, Open},     {8, Open},      {9, Open},
                 {10, Open},     {11, Open}};
    auto* b = Add<TAdvButton>(200, 100);
    b->SetAdvDropDown(d);
    std::vector<std::string> order;
    bool cancelled = false;
    d->OnDropUp = [&](TObject*, bool c) {
        cancelled = c;
        order.push_back("closed");
    };
    b->OnClick = [&](TObject*) { order.push_back("click"); };
    for (const auto& c : cases) {
        order.clear();
        form->SetModalResult(mrNone);
        d->OpenPopup();
        ASSERT_TRUE(d->DroppedDown());
        b->SetModalResult(c.result);
        b->Click();
        EXPECT_EQ(form->ModalResult(), c.result);
        if (c.close == Open) {
            EXPECT_TRUE(d->DroppedDown()) << c.result;
            EXPECT_EQ(order, std::vector<std::string>{"click"}) << c.result;
            d->ClosePopup(false);
        } else {
            EXPECT_FALSE(d->DroppedDown()) << c.result;
            EXPECT_EQ(cancelled, c.close == Cancelled) << c.result;
            EXPECT_EQ(order, (std::vector<std::string>{"closed", "click"})) << c.result;
        }
    }
}

TEST_F(GradientButtonTest, KeysAndAcceleratorsClick) {
    auto* d = Make<PickerProbe>(20, 20);
    auto* b = Add<TAdvButton>(200, 100);
    b->SetAdvDropDown(d);
    b->SetModalResult(mrOk);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    for (WORD key : {WORD(VK_RETURN), WORD(VK_SPACE)}) {
        d->OpenPopup();
        b->Perform(WM_KEYDOWN, key, 0);
        EXPECT_FALSE(d->DroppedDown());
        EXPECT_EQ(clicks, 0);
    }
    b->SetCaption(String("&Ok"));
    b->SetAdvDropDown(nullptr);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'o', 0), 1);
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'o', 0), 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(GradientButtonTest, GroupsAndTheCheckStyle) {
    auto* first = Button(20, 20);
    auto* second = Add<TAdvButton>(60, 20);
    ui::test::Pump();
    first->SetGroupIndex(3);
    second->SetGroupIndex(3);
    first->SetDown(true);
    ui::test::Click(second, 5, 5);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    // Down stays down without AllowAllUp; with it (taken over by the group) a press raises it.
    ui::test::Click(second, 5, 5);
    EXPECT_TRUE(second->Down());
    second->SetAllowAllUp(true);
    ui::test::Click(second, 5, 5);
    EXPECT_FALSE(second->Down());

    auto* check = Add<TAdvButton>(100, 20);
    ui::test::Pump();
    check->SetStyle(tasCheck);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    ui::test::MouseDown(check, 5, 5);
    EXPECT_FALSE(check->Down());
    ui::test::MouseUp(check, 5, 5);
    EXPECT_TRUE(check->Down());
    ui::test::Click(check, 5, 5);
    EXPECT_FALSE(check->Down());
    EXPECT_EQ(clicks, 2);

    // A plain press dragged out and let go outside clicks nothing.
    auto* plain = Add<TAdvButton>(140, 20);
    ui::test::Pump();
    int plainClicks = 0;
    plain->OnClick = [&](TObject*) { ++plainClicks; };
    ui::test::MouseDown(plain, 5, 5);
    EXPECT_EQ(plain->State(), absDown);
    ui::test::MouseMove(plain, 40, 5, MK_LBUTTON);
    EXPECT_EQ(plain->State(), absUp);
    ui::test::MouseUp(plain, 40, 5);
    EXPECT_EQ(plainClicks, 0);
    EXPECT_FALSE(plain->Down());
}

TEST_F(GradientButtonTest, TheUnhotTimerCatchesAMissedLeave) {
    rtl::ScopedManualClock clock;
    auto* b = Button();
    b->SetAppearance(&look);
    ui::test::MouseMove(b, 5, 5);
    ASSERT_TRUE(b->MouseInControl());
    // The pointer goes elsewhere without a leave notice.
    ui::test::SetCursorPos(form->ClientToScreen(Point(200, 200)));
    // The platform raises the 1 ms interval to its least, 10 ms.
    ui::test::AdvanceClock(*clock, 9);
    EXPECT_TRUE(b->MouseInControl());
    ui::test::AdvanceClock(*clock, 1);
    EXPECT_FALSE(b->MouseInControl());
}

TEST_F(GradientButtonTest, SizedToContent) {
    auto* b = Button();
    b->SetCaption(String("OK"));
    b->SizeToContent();
    EXPECT_EQ(b->Width(), 23) << "no appearance: no change";
    b->SetAppearance(&look);
    TImageList images(nullptr);
    b->SetImages(&images);
    b->SetImageIndex(0);
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font()->Assign(look.Font());
    const TSize text = MeasureText(scratch.Canvas(), String("OK"));
    ASSERT_GT(text.cx, 0);
    b->SizeToContent();
    EXPECT_EQ(b->Width(), std::max(text.cx, 16) + 8);
    EXPECT_EQ(b->Height(), std::max(text.cy, 16) + 4);
    b->SetImages(nullptr);
    b->SetCaption(String());
    b->SizeToContent();
    EXPECT_EQ(b->Width(), 8);
    EXPECT_EQ(b->Height(), 4);
}

TEST(DbgList, BoundsErrorsNameTheAccess) {
    TDbgList list;
    int a = 1, b = 2;
    list.Add(&a);
    EXPECT_EQ(list.GetItemsEx(0), &a);
    list.SetItemsEx(0, &b);
    EXPECT_EQ(list.GetItemsEx(0), &b);
    try {
        list.GetItemsEx(1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), String("Index out of bounds in list read access"));
    }
    try {
        list.SetItemsEx(1, &a);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), String("Index out of bounds in list write access"));
    }
    EXPECT_THROW(list.GetItemsEx(-1), EListError);
    TDbgList copy;
    copy.Add(&a);
    copy.AssignList(list);
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.GetItemsEx(0), &b);
}

}  // namespace
