// The tool tip control and the edit balloon tip: text asked of the tool's window, timing on the
// manual clock, titles, icons, colours, wrapping, the notifications, and never the activation.
#include <gtest/gtest.h>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

using ui::test::CharTaker;

// A tool window that answers the tool tip's text requests and counts its notifications.
class ToolOwner : public CharTaker {
public:
    explicit ToolOwner(TComponent* owner) : CharTaker(owner) { SetBounds(10, 10, 100, 40); }
    String Answer = String("cell text");
    std::function<void(HWND tip)> OnNeedText;
    int NeedText = 0, Shown = 0, Popped = 0;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
            if (hdr->code == TTN_NEEDTEXTW) {
                ++NeedText;
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(m.LParam);
                FBuffer = Answer;
                info->lpszText = FBuffer.data();
                if (OnNeedText) OnNeedText(hdr->hwndFrom);
            } else if (hdr->code == TTN_SHOW) {
                ++Shown;
            } else if (hdr->code == TTN_POP) {
                ++Popped;
            }
            return;
        }
        CharTaker::Dispatch(m);
    }

private:
    String FBuffer;
};

class TooltipsTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        tool = Add<ToolOwner>(10, 10);
        form->SetBounds(100, 100, 320, 240);
        form->Show();
        tip = CreateWindowEx(0, String("Tooltips_Class32"), String(), TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, tool->Handle(), nullptr, HInstance,
                             nullptr);
        ASSERT_NE(tip, nullptr);
        TOOLINFO info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = tool->Handle();
        info.uId = reinterpret_cast<uintptr_t>(tool->Handle());
        info.rect = tool->ClientRect();
        info.lpszText = LPSTR_TEXTCALLBACK;
        info.cbSize = sizeof(TOOLINFO) - sizeof(void*);  // the older record, without lpReserved
        ASSERT_EQ(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)), TRUE_);
        SendMessage(tip, TTM_SETTITLE, TTI_ERROR, reinterpret_cast<LPARAM>(u"ToolTipText"));
    }
    void TearDown() override {
        if (tip) DestroyWindow(tip);
        FormTest::TearDown();
    }
    static std::vector<TTipWindowInfo> Tips() { return ui::ShownTipWindows(); }
    void Advance(uint64_t ms) { ui::test::AdvanceClock(*clock, ms); }

    rtl::ScopedManualClock clock;
    ToolOwner* tool = nullptr;
    HWND tip = nullptr;
};

TEST_F(TooltipsTest, RestingOnTheToolAsksItsTextOnceAndShowsItAfterTheInitialDelay) {
    SendMessage(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1000);
    ui::test::MouseMove(tool, 20, 20);
    Advance(999);
    EXPECT_TRUE(Tips().empty());
    EXPECT_EQ(tool->NeedText, 0);
    Advance(1);
    EXPECT_EQ(tool->NeedText, 1);
    auto tips = Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].ClassName, String("TTipWindow"));
    EXPECT_EQ(tips[0].Text, String("cell text"));
    EXPECT_EQ(tips[0].Title, String("ToolTipText"));
    EXPECT_EQ(tips[0].Icon, TTI_ERROR);
    EXPECT_TRUE(tips[0].Balloon);
    EXPECT_EQ(tool->Shown, 1);
    // The stem points at the pointer.
    TPoint pointer = tool->ClientToScreen(TPoint(20, 20));
    EXPECT_EQ(tips[0].Rect.Top, pointer.Y);
    EXPECT_LT(tips[0].Rect.Left, pointer.X);
    // Moving within the tool asks nothing more; TTM_POP hides it and tells the owner.
    ui::test::MouseMove(tool, 30, 25);
    EXPECT_EQ(tool->NeedText, 1);
    SendMessage(tip, TTM_POP, 0, 0);
    EXPECT_TRUE(Tips().empty());
    EXPECT_EQ(tool->Popped, 1);
    SendMessage(tip, TTM_POP, 0, 0);
    EXPECT_EQ(tool->Popped, 1);
    // Nothing of the activation or the focus moved.
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), tool->Handle());
}

TEST_F(TooltipsTest, TheOwnerSetsWidthColoursAndTitleWhileAsked) {
    tool->Answer = String("a long text of a cell that has to wrap within the width the owner gave the tool tip window");
    tool->OnNeedText = [](HWND t) {
        SendMessage(t, TTM_SETMAXTIPWIDTH, 0, 300);
        SendMessage(t, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(clNavy), 0);
        SendMessage(t, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(clYellow), 0);
        SendMessage(t, TTM_SETTITLE, TTI_INFO, reinterpret_cast<LPARAM>(u"Title"));
    };
    ui::test::MouseMove(tool, 20, 20);
    Advance(500);  // the default initial delay
    auto tips = Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_LE(tips[0].Rect.Width(), 300);
    EXPECT_GT(tips[0].Rect.Height(), 3 * 8);  // more than one line under the title
    EXPECT_EQ(tips[0].TextColor, clNavy);
    EXPECT_EQ(tips[0].Color, clYellow);
    EXPECT_EQ(tips[0].Title, String("Title"));
    EXPECT_EQ(tips[0].Icon, TTI_INFO);
    // The automatic pop after its delay, with TTN_POP.
    SendMessage(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 200);
    SendMessage(tip, TTM_POP, 0, 0);
    ui::test::MouseMove(tool, 90, 30);
    ui::test::MouseLeave(tool);
    ui::test::MouseMove(tool, 20, 20);
    Advance(500);
    ASSERT_EQ(Tips().size(), 1u);
    Advance(200);
    EXPECT_TRUE(Tips().empty());
    EXPECT_EQ(tool->Popped, 2);
}

TEST_F(TooltipsTest, DestroyingTheWindowTakesTheTipAndUnknownClassesFail) {
    ui::test::MouseMove(tool, 20, 20);
    Advance(500);
    ASSERT_EQ(Tips().size(), 1u);
    EXPECT_TRUE(DestroyWindow(tip));
    tip = nullptr;
    EXPECT_TRUE(Tips().empty());
    ui::test::MouseMove(tool, 30, 20);  // the tool's mouse reaches no tip any more
    EXPECT_EQ(CreateWindowEx(0, String("NoSuchClass"), String(), 0, 0, 0, 10, 10, nullptr, nullptr, HInstance, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    // A record of a size no version has is refused.
    HWND other = CreateWindowEx(0, String(TOOLTIPS_CLASS), String(), 0, 0, 0, 0, 0, nullptr, nullptr, HInstance, nullptr);
    TOOLINFO info;
    info.cbSize = 12;
    EXPECT_EQ(SendMessage(other, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)), FALSE_);
    DestroyWindow(other);
}

class BalloonTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        edit = Add<TEdit>(10, 10);
        combo = Add<TComboBox>(10, 60);
        other = Add<CharTaker>(10, 120);
        form->SetBounds(100, 100, 320, 240);
        form->Show();
        edit->SetFocus();
    }
    static LRESULT Show(HWND to) {
        EDITBALLOONTIP tip;
        tip.pszTitle = u"T";
        tip.pszText = u"X";
        tip.ttiIcon = TTI_WARNING;
        return SendMessage(to, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
    }
    TEdit* edit = nullptr;
    TComboBox* combo = nullptr;
    CharTaker* other = nullptr;
};

TEST_F(BalloonTest, BalloonPointsAtTheEditAndTheNextKeyHidesIt) {
    EXPECT_EQ(Show(edit->Handle()), TRUE_);
    auto tips = ui::ShownTipWindows();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Title, String("T"));
    EXPECT_EQ(tips[0].Text, String("X"));
    EXPECT_EQ(tips[0].Icon, TTI_WARNING);
    EXPECT_TRUE(tips[0].Balloon);
    TRect e;
    GetWindowRect(edit->Handle(), &e);
    EXPECT_TRUE(e.Contains(TPoint(tips[0].Rect.Left + 21, tips[0].Rect.Top)));  // the stem's point
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    ui::test::Key(edit, 'A', String("a"));
    EXPECT_TRUE(ui::ShownTipWindows().empty());
    // EM_HIDEBALLOONTIP, and a record of the wrong size.
    Show(edit->Handle());
    EXPECT_EQ(SendMessage(edit->Handle(), EM_HIDEBALLOONTIP, 0, 0), TRUE_);
    EXPECT_TRUE(ui::ShownTipWindows().empty());
    EDITBALLOONTIP bad;
    bad.cbStruct = 8;
    EXPECT_EQ(SendMessage(edit->Handle(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&bad)), FALSE_);
    EXPECT_EQ(SendMessage(other->Handle(), EM_SHOWBALLOONTIP, 0, 0), 0);
}

TEST_F(BalloonTest, ComboBoxEditFieldTakesTheBalloonAndAFocusChangeHidesIt) {
    COMBOBOXINFO info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    ASSERT_NE(info.hwndItem, nullptr);
    EXPECT_EQ(info.hwndCombo, combo->Handle());
    EXPECT_EQ(info.rcButton.Right, combo->ClientWidth());
    EXPECT_EQ(info.rcItem.Right, info.rcButton.Left);
    EXPECT_EQ(Show(info.hwndItem), TRUE_);
    auto tips = ui::ShownTipWindows();
    ASSERT_EQ(tips.size(), 1u);
    TRect c;
    GetWindowRect(combo->Handle(), &c);
    EXPECT_TRUE(c.Contains(TPoint(tips[0].Rect.Left + 21, tips[0].Rect.Top)));
    other->SetFocus();
    EXPECT_TRUE(ui::ShownTipWindows().empty());
    // A drop-down list has no edit field.
    combo->SetStyle(csDropDownList);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    EXPECT_EQ(info.hwndItem, nullptr);
    info.cbSize = 4;
    EXPECT_FALSE(GetComboBoxInfo(combo->Handle(), &info));
}

}  // namespace
