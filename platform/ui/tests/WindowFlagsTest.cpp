// Top-level and pop-up windows take their kind from the same styles as every other window.
#include <gtest/gtest.h>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

// A window of its own over the form, as a drop-down list is.
class DropDown : public TCustomControl {
public:
    explicit DropDown(TComponent* owner) : TCustomControl(owner) { SetColor(clWhite); }
    DWORD ExtraEx = 0;

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP | WS_BORDER;
        Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW | ExtraEx;
    }
};

class WindowFlagsTest : public ui::test::FormTest {};

TEST_F(WindowFlagsTest, APopupToolWindowStaysOverItsFormWithoutATaskBarEntry) {
    form->Show();
    auto* drop = new DropDown(form);
    drop->SetBounds(300, 200, 80, 60);  // screen coordinates: it is a window of its own
    drop->SetParent(form);
    ASSERT_TRUE(drop->HandleAllocated());
    ui::WidgetPeer::WindowKind kind = drop->Peer()->Kind();
    EXPECT_TRUE(kind.TopLevel);
    EXPECT_TRUE(kind.Tool);
    EXPECT_TRUE(kind.StaysOnTop);
    EXPECT_TRUE(kind.Frameless);  // its border is its own frame
    EXPECT_EQ(kind.Owner, form->Peer());
    EXPECT_TRUE(drop->IsPopup());
    TRect window;
    GetWindowRect(drop->Handle(), &window);
    EXPECT_EQ(window, Rect(300, 200, 380, 260));
    EXPECT_EQ(drop->ClientRect(), Rect(0, 0, 78, 58));
    EXPECT_EQ(drop->ClientOrigin(), Point(301, 201));
    drop->Update();
    EXPECT_EQ(drop->BackingImage()->Canvas()->Pixels(0, 30), static_cast<TColor>(ColorToRGB(clWindowFrame)));
    EXPECT_EQ(drop->BackingImage()->Canvas()->Pixels(1, 30), clWhite);

    // The form itself: a normal window, on top only when asked.
    ui::WidgetPeer::WindowKind formKind = form->Peer()->Kind();
    EXPECT_TRUE(formKind.TopLevel);
    EXPECT_FALSE(formKind.Tool);
    EXPECT_FALSE(formKind.StaysOnTop);
    EXPECT_FALSE(formKind.Frameless);
    EXPECT_FALSE(formKind.FixedSize);
    EXPECT_EQ(formKind.Owner, nullptr);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(form->Peer()->Kind().StaysOnTop);
    EXPECT_NE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & static_cast<LONG>(WS_EX_TOPMOST), 0);
    form->SetBorderStyle(bsDialog);
    EXPECT_TRUE(form->Peer()->Kind().FixedSize);
    form->SetBorderStyle(bsToolWindow);
    EXPECT_TRUE(form->Peer()->Kind().Tool);
    form->SetBorderStyle(bsNone);
    EXPECT_TRUE(form->Peer()->Kind().Frameless);
    EXPECT_EQ(form->ClientRect(), Rect(0, 0, form->Width(), form->Height()));
}

TEST_F(WindowFlagsTest, ABorderlessFormIsAFramelessWindowOfItsOwn) {
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    form->Show();
    ui::WidgetPeer::WindowKind kind = form->Peer()->Kind();
    EXPECT_TRUE(kind.TopLevel);
    EXPECT_TRUE(kind.Frameless);
    EXPECT_TRUE(kind.StaysOnTop);
    EXPECT_TRUE(kind.FixedSize);
    EXPECT_EQ(kind.Owner, nullptr);
    EXPECT_FALSE(form->IsPopup());
    EXPECT_EQ(form->ClientOrigin(), Point(form->Left(), form->Top()));
}

TEST_F(WindowFlagsTest, NoActivateAndRecreatingTheWindowKeepTheControlsState) {
    form->Show();
    auto* drop = new DropDown(form);
    drop->ExtraEx = WS_EX_NOACTIVATE;
    drop->SetBounds(10, 10, 50, 50);
    drop->SetParent(form);
    EXPECT_TRUE(drop->Peer()->Kind().NoActivate);

    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetText(String("kept"));
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    HWND before = edit->Handle();
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 50;
    si.nPage = 5;
    si.nPos = 7;
    SetScrollInfo(before, SB_HORZ, &si, TRUE_);
    edit->RecreateWnd();
    EXPECT_NE(edit->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(edit->Text(), String("kept"));
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 2);
    EXPECT_EQ(GetScrollPos(edit->Handle(), SB_HORZ), 7);
    EXPECT_NE(GetWindowLong(edit->Handle(), GWL_STYLE) & static_cast<LONG>(WS_HSCROLL), 0);
    EXPECT_EQ(FindControl(edit->Handle()), edit);
    EXPECT_EQ(FindControl(before), nullptr);
    EXPECT_EQ(GetClassName(edit->Handle()), String(edit->ClassName()));
}

}  // namespace
