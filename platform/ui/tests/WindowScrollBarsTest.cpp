// A window's own scroll bars: set by SetScrollInfo, drawn in the frame, reporting clicks and drags
// as WM_VSCROLL/WM_HSCROLL; ScrollWindow moves the image and invalidates what it uncovers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/ui/testing/Fixtures.h"

namespace {

TColor PixelOf(TWinControl* w, int x, int y) { return w->BackingImage()->Canvas()->Pixels(x, y); }

LRESULT HitAt(TWinControl* w, int x, int y) {
    TRect r;
    GetWindowRect(w->Handle(), &r);
    return w->Perform(WM_NCHITTEST, 0, PointToLParam(r.Left + x, r.Top + y));
}


struct Scroll {
    UINT msg;
    int code;
    int pos;
    int trackPos;  // GetScrollInfo's SIF_TRACKPOS while the message is handled
};

// Records its scroll messages; paints one colour per row so a scrolled image can be told apart.
class Scroller : public TCustomControl {
public:
    explicit Scroller(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 120, 100); }
    std::vector<Scroll> Log;
    static TColor RowColor(int y) { return static_cast<TColor>(RGB(y * 2 & 0xFF, 0x40, 0xFF - (y & 0xFF))); }

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void Paint() override {
        for (int y = 0; y < ClientHeight(); ++y) Canvas()->FillSolid(TRect(0, y, ClientWidth(), y + 1), RowColor(y));
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) {
            SCROLLINFO si;
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(Handle(), m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si);
            Log.push_back({m.Msg, static_cast<int>(m.WParamLo()), static_cast<int>(m.WParamHi()), si.nTrackPos});
        }
        TCustomControl::WndProc(m);
    }
};

class WindowScrollBarsTest : public ui::test::FormTest {
protected:
    Scroller* MakeScroller() {
        auto* s = Add<Scroller>(10, 10);
        form->Show();
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = 99;
        si.nPage = 10;
        si.nPos = 0;
        SetScrollInfo(s->Handle(), SB_VERT, &si, TRUE_);
        s->Update();
        return s;
    }
};

TEST_F(WindowScrollBarsTest, SetScrollInfoShowsABarInTheFrame) {
    auto* s = Add<Scroller>(10, 10);
    form->Show();
    EXPECT_EQ(s->ClientWidth(), 116);
    EXPECT_EQ(GetWindowLong(s->Handle(), GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    SetScrollInfo(s->Handle(), SB_VERT, &si, TRUE_);
    EXPECT_NE(GetWindowLong(s->Handle(), GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
    EXPECT_EQ(s->ClientWidth(), 99);
    EXPECT_EQ(s->ClientHeight(), 96);
    s->Update();
    // Classic look: raised arrow buttons in the face colour, the thumb below the upper arrow.
    TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelOf(s, 2 + 99 + 8, 2 + 5), face);
    EXPECT_EQ(PixelOf(s, 2 + 99 + 8, 2 + 96 - 5), face);
    EXPECT_EQ(PixelOf(s, 2 + 99 + 8, 2 + 17 + 3), face);  // thumb
    EXPECT_EQ(HitAt(s, 2 + 99 + 8, 50), HTVSCROLL);
    EXPECT_EQ(PixelOf(s, 2, 2), Scroller::RowColor(0));
    std::string path = "/tmp/window_scroller_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_EQ(pic.At(10 + 110, 10 + 2 + 5), ColorToRGB(clBtnFace));  // the window shows the bar

    // A range that fits the page needs no bar; SIF_DISABLENOSCROLL keeps it, disabled.
    si.nPage = 100;
    SetScrollInfo(s->Handle(), SB_VERT, &si, TRUE_);
    EXPECT_EQ(s->ClientWidth(), 116);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    SetScrollInfo(s->Handle(), SB_VERT, &si, TRUE_);
    EXPECT_EQ(s->ClientWidth(), 99);
    s->Log.clear();
    ui::test::Click(s, 99 + 8, 96 - 5);
    EXPECT_TRUE(s->Log.empty());
}

TEST_F(WindowScrollBarsTest, TheArrowButtonsAreSeventeenPixelsSquare) {
    Scroller* s = MakeScroller();
    ShowScrollBar(s->Handle(), SB_BOTH, TRUE_);
    SetScrollPos(s->Handle(), SB_VERT, 45, TRUE_);  // the thumb away from both arrows
    ASSERT_EQ(s->ClientRect(), Rect(0, 0, 99, 79));
    std::string path = "/tmp/window_scroll_arrows_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    // Form coordinates of the vertical bar: right of the client area, inside the sunken edge,
    // from the top of the client area down to the corner.
    const int left = 10 + 2 + 99, top = 10 + 2, bottom = 10 + 2 + 79;
    const int32_t face = ColorToRGB(clBtnFace), white = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow),
                  dark = ColorToRGB(cl3DDkShadow);
    auto isTrack = [&](int x, int y) { return pic.At(x, y) == face || pic.At(x, y) == white; };
    // The raised frame of each button: light ring at its left and top, dark ring at its right
    // and bottom, 17 pixels apart either way.
    EXPECT_EQ(pic.At(left - 1, top + 8), Scroller::RowColor(8));
    EXPECT_EQ(pic.At(left + 1, top + 8), white);
    EXPECT_EQ(pic.At(left + 15, top + 8), shadow);
    EXPECT_EQ(pic.At(left + 16, top + 8), dark);
    EXPECT_EQ(pic.At(left + 8, top + 1), white);
    EXPECT_EQ(pic.At(left + 8, top + 15), shadow);
    EXPECT_EQ(pic.At(left + 8, top + 16), dark);
    EXPECT_TRUE(isTrack(left + 8, top + 17));
    EXPECT_TRUE(isTrack(left + 8, bottom - 18));
    EXPECT_EQ(pic.At(left + 8, bottom - 16), white);
    EXPECT_EQ(pic.At(left + 8, bottom - 1), dark);
    EXPECT_EQ(pic.At(left + 16, bottom - 8), dark);
    EXPECT_EQ(pic.At(left + 8, bottom), face);  // the corner
    // The horizontal bar's first button too.
    EXPECT_EQ(pic.At(10 + 2 + 16, bottom + 8), dark);
    EXPECT_EQ(pic.At(10 + 2 + 8, bottom + 16), dark);
}

TEST_F(WindowScrollBarsTest, ClicksAndDragsSendScrollMessages) {
    Scroller* s = MakeScroller();
    int barX = 99 + 8;  // client coordinates: the bar lies right of the client area
    // The lower arrow.
    ui::test::Click(s, barX, 96 - 5);
    ASSERT_EQ(s->Log.size(), 2u);
    EXPECT_EQ(s->Log[0].msg, WM_VSCROLL);
    EXPECT_EQ(s->Log[0].code, SB_LINEDOWN);
    EXPECT_EQ(s->Log[1].code, SB_ENDSCROLL);

    // The page below the thumb.
    s->Log.clear();
    ui::test::Click(s, barX, 70);
    ASSERT_EQ(s->Log.size(), 2u);
    EXPECT_EQ(s->Log[0].code, SB_PAGEDOWN);
    EXPECT_EQ(s->Log[1].code, SB_ENDSCROLL);

    // The thumb: track 96 - 34 = 62 pixels, thumb 62 * 10 / 100 = 6 -> at least 8 pixels;
    // 90 positions over 54 pixels.
    s->Log.clear();
    int thumbY = 17 + 3;
    ui::test::MouseDown(s, barX, thumbY);
    ui::test::MouseMove(s, barX, thumbY + 27, MK_LBUTTON);
    ui::test::MouseMove(s, barX, thumbY + 27, MK_LBUTTON);  // no move: no message
    ui::test::MouseUp(s, barX, thumbY + 27);
    ASSERT_EQ(s->Log.size(), 3u);
    EXPECT_EQ(s->Log[0].code, SB_THUMBTRACK);
    EXPECT_EQ(s->Log[0].pos, 45);
    EXPECT_EQ(s->Log[0].trackPos, 45);
    EXPECT_EQ(s->Log[1].code, SB_THUMBPOSITION);
    EXPECT_EQ(s->Log[1].pos, 45);
    EXPECT_EQ(s->Log[2].code, SB_ENDSCROLL);
    // The window decides the position; the bar only reported.
    EXPECT_EQ(GetScrollPos(s->Handle(), SB_VERT), 0);
    // Dragged past the end, the track position stops at the last page.
    s->Log.clear();
    ui::test::MouseDown(s, barX, thumbY);
    ui::test::MouseMove(s, barX, 300, MK_LBUTTON);
    ui::test::MouseUp(s, barX, 300);
    ASSERT_FALSE(s->Log.empty());
    EXPECT_EQ(s->Log[0].pos, 90);

    // A disabled arrow stays silent; the client area still takes its own clicks.
    s->Log.clear();
    EnableScrollBar(s->Handle(), SB_VERT, ESB_DISABLE_DOWN);
    ui::test::Click(s, barX, 96 - 5);
    ui::test::Click(s, 10, 10);
    EXPECT_TRUE(s->Log.empty());
}

TEST_F(WindowScrollBarsTest, PositionsClampToTheLastPage) {
    Scroller* s = MakeScroller();
    EXPECT_EQ(SetScrollPos(s->Handle(), SB_VERT, 500, TRUE_), 0);
    EXPECT_EQ(GetScrollPos(s->Handle(), SB_VERT), 90);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_EQ(GetScrollInfo(s->Handle(), SB_VERT, &si), TRUE_);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 99);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 90);
    EXPECT_EQ(SetScrollRange(s->Handle(), SB_VERT, 0, 0, TRUE_), TRUE_);
    EXPECT_EQ(GetWindowLong(s->Handle(), GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
    ShowScrollBar(s->Handle(), SB_BOTH, TRUE_);
    EXPECT_EQ(s->ClientRect(), Rect(0, 0, 99, 79));
    EXPECT_EQ(HitAt(s, 2 + 99 + 3, 2 + 79 + 3), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(s, 20, 2 + 79 + 3), HTHSCROLL);
}

TEST_F(WindowScrollBarsTest, ScrollWindowMovesTheImageAndInvalidatesTheUncoveredStrip) {
    Scroller* s = MakeScroller();
    ValidateRect(s->Handle(), nullptr);
    ASSERT_EQ(PixelOf(s, 2 + 5, 2 + 30), Scroller::RowColor(30));
    ASSERT_EQ(ScrollWindow(s->Handle(), 0, -10, nullptr, nullptr), TRUE_);
    // Row y now shows what row y + 10 showed; the bottom ten rows wait for a repaint.
    EXPECT_EQ(PixelOf(s, 2 + 5, 2 + 30), Scroller::RowColor(40));
    EXPECT_EQ(PixelOf(s, 2 + 5, 2 + 0), Scroller::RowColor(10));
    TRect update;
    EXPECT_EQ(GetUpdateRect(s->Handle(), &update, FALSE_), TRUE_);
    EXPECT_EQ(update, Rect(0, 86, 99, 96));
    // ScrollWindowEx hands back the strip instead.
    ValidateRect(s->Handle(), nullptr);
    TRect strip;
    EXPECT_EQ(ScrollWindowEx(s->Handle(), 7, 0, nullptr, nullptr, nullptr, &strip, 0), SIMPLEREGION);
    EXPECT_EQ(strip, Rect(0, 0, 7, 96));
    EXPECT_EQ(GetUpdateRect(s->Handle(), &update, FALSE_), FALSE_);
    EXPECT_EQ(PixelOf(s, 2 + 7, 2 + 0), Scroller::RowColor(10));
}

}  // namespace

namespace {

TEST_F(WindowScrollBarsTest, ScrollBarInfoTellsHiddenAndDisabledBarsAndArrows) {
    Scroller* s = MakeScroller();
    SCROLLBARINFO vert, horz;
    ASSERT_EQ(GetScrollBarInfo(s->Handle(), OBJID_VSCROLL, &vert), TRUE_);
    EXPECT_EQ(vert.rgstate[0], 0u);
    ASSERT_EQ(GetScrollBarInfo(s->Handle(), OBJID_HSCROLL, &horz), TRUE_);
    EXPECT_EQ(horz.rgstate[0], STATE_SYSTEM_INVISIBLE);

    EnableScrollBar(s->Handle(), SB_VERT, ESB_DISABLE_DOWN);
    GetScrollBarInfo(s->Handle(), OBJID_VSCROLL, &vert);
    EXPECT_EQ(vert.rgstate[0], 0u);
    EXPECT_EQ(vert.rgstate[1], 0u);
    EXPECT_EQ(vert.rgstate[5], STATE_SYSTEM_UNAVAILABLE);
    EnableScrollBar(s->Handle(), SB_VERT, ESB_DISABLE_BOTH);
    GetScrollBarInfo(s->Handle(), OBJID_VSCROLL, &vert);
    EXPECT_EQ(vert.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(vert.rgstate[1], STATE_SYSTEM_UNAVAILABLE);

    SCROLLBARINFO wrongSize;
    wrongSize.cbSize = 4;
    EXPECT_EQ(GetScrollBarInfo(s->Handle(), OBJID_VSCROLL, &wrongSize), FALSE_);
    EXPECT_EQ(GetScrollBarInfo(s->Handle(), 0, &vert), FALSE_);
}

}  // namespace
