// Pop-up windows on the real backend: the hint window's picture and text measure, an owned
// borderless pop-up shown at 0 x 0 and sized afterwards, and the drop shadow a pop-up asks for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/ui/HintWindow.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

const char* const kFont = "Noto Sans CJK JP";

ui::test::Picture Picture(TWinControl* w, const char* name) {
    std::string path = "/tmp/popup_" + std::string(name) + "_" + std::to_string(getpid()) + ".png";
    ui::test::Picture pic;
    EXPECT_TRUE(ui::test::SaveToPng(w, path));
    EXPECT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    return pic;
}

class PopupWindowsTest : public ui::test::FormTest {};

TEST_F(PopupWindowsTest, HintWindowMeasuresAndPaintsItsText) {
    auto* hint = new THintWindow(form);
    hint->Font()->SetName(String(kFont));
    hint->Font()->SetSize(9);
    TRect one = hint->CalcHintRect(300, String("Channel 12"), nullptr);
    TRect two = hint->CalcHintRect(300, String("Channel 12\nLevel -85 dBm"), nullptr);
    EXPECT_GT(one.Width(), 40);
    EXPECT_LE(one.Width(), 300);
    EXPECT_GT(two.Height(), one.Height() + 8);  // a second line
    // A long text wraps within the width it is given.
    String longText("A level chart readout that is far too long for one line of a small hint");
    TRect wrapped = hint->CalcHintRect(120, longText, nullptr);
    EXPECT_LE(wrapped.Width(), 120);
    EXPECT_GT(wrapped.Height(), 2 * one.Height() - 6);

    hint->ActivateHint(OffsetRectBy(one, 100, 100), String("Channel 12"));
    ui::test::Picture pic = Picture(hint, "hint");
    ASSERT_EQ(pic.Width, one.Width());
    ASSERT_EQ(pic.Height, one.Height());
    // The frame is a 1-pixel line; inside it the info colour, and the text in the text colour.
    EXPECT_NE(pic.At(0, pic.Height / 2), static_cast<int32_t>(ColorToRGB(clInfoBk)));
    EXPECT_EQ(pic.At(1, 1), static_cast<int32_t>(ColorToRGB(clInfoBk)));
    int ink = 0;
    for (int y = 1; y < pic.Height - 1; ++y)
        for (int x = 1; x < pic.Width - 1; ++x)
            if (pic.At(x, y) != static_cast<int32_t>(ColorToRGB(clInfoBk))) ++ink;
    EXPECT_GT(ink, 20);
    EXPECT_TRUE(hint->Peer()->Kind().StaysOnTop);
}

// A borderless pop-up owned by the form, as a drop-down opens it.
class OwnedPopup : public TForm {
public:
    OwnedPopup(TComponent* owner, TCustomForm* ownerForm) : TForm(owner, 0), FOwnerForm(ownerForm) { SetBorderStyle(bsNone); }

protected:
    void CreateParams(TCreateParams& Params) override {
        TForm::CreateParams(Params);
        Params.ExStyle |= WS_EX_TOPMOST;
        Params.WndParent = FOwnerForm->Handle();
    }

private:
    TCustomForm* FOwnerForm;
};

TEST_F(PopupWindowsTest, PopupShownAtZeroSizeShowsAtTheSizeSetAfterwards) {
    form->Show();
    auto* popup = new OwnedPopup(form, form);
    popup->SetColor(clLime);
    popup->SetBounds(40, 40, 0, 0);
    popup->Show();
    SetWindowPos(popup->Handle(), HWND_TOPMOST, 60, 70, 150, 90, 0);
    ui::test::Pump();
    ui::test::Picture pic = Picture(popup, "popup");
    EXPECT_EQ(pic.Width, 150);
    EXPECT_EQ(pic.Height, 90);
    EXPECT_EQ(pic.At(75, 45), static_cast<int32_t>(clLime));
    auto kind = popup->Peer()->Kind();
    EXPECT_TRUE(kind.Frameless);
    EXPECT_TRUE(kind.StaysOnTop);
    EXPECT_EQ(kind.Owner, form->Peer());
    EXPECT_EQ(GetActiveWindow(), popup->Handle());
    // No shadow unless the class asks for one; asked, the frameless window no longer refuses it.
    EXPECT_FALSE(kind.Shadow);
    SetClassLong(popup->Handle(), GCL_STYLE, static_cast<LONG>(GetClassLong(popup->Handle(), GCL_STYLE) | CS_DROPSHADOW));
    EXPECT_TRUE(popup->Peer()->Kind().Shadow);
    SetClassLong(popup->Handle(), GCL_STYLE, static_cast<LONG>(GetClassLong(popup->Handle(), GCL_STYLE) & ~CS_DROPSHADOW));
    popup->Free();
}

}  // namespace

namespace {

// A hint window class of the program's own: its own size and its own painting.
class LimeHint : public THintWindow {
public:
    explicit LimeHint(TComponent* owner) : THintWindow(owner) { Last = this; }
    ~LimeHint() override {
        if (Last == this) Last = nullptr;
    }
    TRect CalcHintRect(int, const String&, void*) override { return TRect(0, 0, 120, 30); }
    static inline LimeHint* Last = nullptr;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(ClientRect());
    }
};

TEST_F(PopupWindowsTest, ApplicationHintsShowInTheWindowClassItNames) {
    rtl::ScopedManualClock clock;
    auto* c = Add<ui::test::CharTaker>(10, 10);
    c->SetHint(String("readout"));
    c->SetShowHint(true);
    form->Show();
    Application->SetHintWindowClass(HintWindowClassOf<LimeHint>());
    ui::test::MouseMove(c, 5, 5);
    ui::test::AdvanceClock(*clock, Application->HintPause());
    ASSERT_NE(LimeHint::Last, nullptr);
    ui::test::Picture pic = Picture(LimeHint::Last, "limehint");
    EXPECT_EQ(pic.Width, 120);
    EXPECT_EQ(pic.Height, 30);
    EXPECT_EQ(pic.At(60, 15), static_cast<int32_t>(clLime));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), c->Handle());
    Application->CancelHint();
    ui::test::Pump();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), c->Handle());
    Application->SetHintWindowClass(nullptr);
}

}  // namespace

namespace {

TEST_F(PopupWindowsTest, BalloonTipPaintsItsFrameIconTitleAndText) {
    auto* edit = Add<TEdit>(10, 10);
    form->Show();
    edit->SetFocus();
    EDITBALLOONTIP tip;
    tip.pszTitle = u"Invalid entry";
    tip.pszText = u"Only digits are allowed in this cell.";
    tip.ttiIcon = TTI_ERROR;
    ASSERT_EQ(SendMessage(edit->Handle(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)), TRUE_);
    auto tips = ui::ShownTipWindows();
    ASSERT_EQ(tips.size(), 1u);
    TTipWindow* window = nullptr;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* t = dynamic_cast<TTipWindow*>(Application->Components(i)); t && t->Showing()) window = t;
    ASSERT_NE(window, nullptr);
    ui::test::Picture pic = Picture(window, "balloon");
    ASSERT_EQ(pic.Width, tips[0].Rect.Width());
    ASSERT_EQ(pic.Height, tips[0].Rect.Height());
    // The error icon's red disc sits at the top left of the body, under the stem.
    bool red = false;
    for (int y = 20; y < 40 && !red; ++y)
        for (int x = 9; x < 26 && !red; ++x) red = pic.At(x, y) == 0x2020D0;  // 0x00BBGGRR
    EXPECT_TRUE(red);
    EXPECT_EQ(GetFocus(), edit->Handle());
    ui::test::Key(edit, 'A', String("a"));
    EXPECT_TRUE(ui::ShownTipWindows().empty());
    ui::test::Pump();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
}

}  // namespace

namespace {

TEST_F(PopupWindowsTest, PlainToolTipShowsItsTextInASquareFrameUnderThePointer) {
    rtl::ScopedManualClock clock;
    auto* tool = Add<ui::test::CharTaker>(10, 10);
    form->Show();
    HWND tip = CreateWindowEx(0, String(TOOLTIPS_CLASS), String(), TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, tool->Handle(), nullptr, HInstance, nullptr);
    ASSERT_NE(tip, nullptr);
    String text("Level: -85 dBm");
    TOOLINFO info;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = tool->Handle();
    info.uId = 7;
    info.rect = TRect(0, 0, 40, 20);
    info.lpszText = text.data();
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info));
    ui::test::MouseMove(tool, 50, 5);  // outside the tool's rectangle
    ui::test::AdvanceClock(*clock, 500);
    EXPECT_TRUE(ui::ShownTipWindows().empty());
    ui::test::MouseMove(tool, 5, 5);
    ui::test::AdvanceClock(*clock, 500);
    auto tips = ui::ShownTipWindows();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Text, text);
    EXPECT_FALSE(tips[0].Balloon);
    TPoint pointer = tool->ClientToScreen(TPoint(5, 5));
    EXPECT_EQ(tips[0].Rect.Left, pointer.X);
    EXPECT_GT(tips[0].Rect.Top, pointer.Y);
    DestroyWindow(tip);
    EXPECT_TRUE(ui::ShownTipWindows().empty());
}

}  // namespace

namespace {

// A pop-up whose bottom-right 10 x 10 pixels are a sizing corner.
class CornerPopup : public TForm {
public:
    explicit CornerPopup(TComponent* owner) : TForm(owner, 0) { SetBorderStyle(bsNone); }
    int Sizings = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_NCHITTEST) {
            TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            m.Result = p.X >= Width() - 10 && p.Y >= Height() - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
            return;
        }
        if (m.Msg == WM_SIZING) ++Sizings;
        TForm::Dispatch(m);
    }
};

TEST_F(PopupWindowsTest, DragFromTheCornerSizesThePopupThroughTheRealInputRoad) {
    auto* popup = new CornerPopup(form);
    popup->SetBounds(100, 100, 200, 150);
    popup->Show();
    ui::test::Pump();
    ui::test::MouseMove(popup, 195, 145);
    ui::test::MouseDown(popup, 195, 145);
    ui::test::MouseMove(popup, 225, 165, MK_LBUTTON);
    ui::test::MouseUp(popup, 225, 165);
    ui::test::Pump();
    EXPECT_EQ(popup->BoundsRect(), Bounds(100, 100, 230, 170));
    EXPECT_GE(popup->Sizings, 1);
    ui::test::Picture pic = Picture(popup, "corner");
    EXPECT_EQ(pic.Width, 230);
    EXPECT_EQ(pic.Height, 170);
    popup->Free();
}

}  // namespace
