// The non-client frame comes from the window's styles: it narrows the client area, is painted by
// WM_NCPAINT (which a component extends through GetWindowDC) and answers WM_NCHITTEST.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/ui/Menus.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

TColor PixelOf(TWinControl* w, int x, int y) { return w->BackingImage()->Canvas()->Pixels(x, y); }

// A sunken client edge; its own 1-pixel ring drawn over the standard frame.
class Edged : public TCustomControl {
public:
    explicit Edged(TComponent* owner) : TCustomControl(owner) {
        SetColor(clWhite);
        SetBounds(0, 0, 60, 40);
    }
    int NcPaints = 0;
    int Reserve = 0;  // a border of its own, reserved in WM_NCCALCSIZE

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.ExStyle |= WS_EX_CLIENTEDGE;
        Params.WinClassName = String("EdgedWindow");
    }
    void WndProc(TMessage& m) override {
        TCustomControl::WndProc(m);
        if (m.Msg == WM_NCCALCSIZE && Reserve > 0) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
            p->rgrc[0].Left += Reserve;
        }
        if (m.Msg == WM_NCPAINT) {
            ++NcPaints;
            HDC dc = GetWindowDC(Handle());
            HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
            TRect whole(0, 0, Width(), Height());
            FrameRect(dc, &whole, red);
            DeleteObject(red);
            ReleaseDC(Handle(), dc);
        }
    }
};

class Spot : public TGraphicControl {
public:
    explicit Spot(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<TPoint> Downs;

protected:
    void Paint() override { Canvas()->FillSolid(ClientRect(), clBlue); }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Downs.push_back(Point(x, y));
        TGraphicControl::MouseDown(b, s, x, y);
    }
};

class FrameTest : public ui::test::FormTest {};

LRESULT HitAt(TWinControl* w, int x, int y) {
    TRect r;
    GetWindowRect(w->Handle(), &r);
    return w->Perform(WM_NCHITTEST, 0, PointToLParam(r.Left + x, r.Top + y));
}

TEST_F(FrameTest, AClientEdgeNarrowsTheClientAreaAndItsNcPaintDrawsThroughTheWindowDc) {
    auto* c = Add<Edged>(20, 30);
    auto* spot = new Spot(form);
    spot->SetParent(c);
    spot->SetBounds(0, 0, 5, 5);
    form->Show();
    c->Update();

    EXPECT_EQ(c->ClientWidth(), 56);
    EXPECT_EQ(c->ClientHeight(), 36);
    TRect window, client;
    ASSERT_EQ(GetWindowRect(c->Handle(), &window), TRUE_);
    ASSERT_EQ(GetClientRect(c->Handle(), &client), TRUE_);
    EXPECT_EQ(window, Bounds(form->ClientOrigin().X + 20, form->ClientOrigin().Y + 30, 60, 40));
    EXPECT_EQ(client, Rect(0, 0, 56, 36));
    EXPECT_EQ(c->ClientOrigin(), Point(window.Left + 2, window.Top + 2));
    EXPECT_EQ(GetClassName(c->Handle()), String("EdgedWindow"));

    // The component's ring is the outermost one; the sunken edge's inner ring stays; the client
    // area is untouched by the frame.
    EXPECT_EQ(c->NcPaints, 1);
    for (int x = 0; x < 60; ++x) {
        EXPECT_EQ(PixelOf(c, x, 0), clRed);
        EXPECT_EQ(PixelOf(c, x, 39), clRed);
    }
    for (int y = 0; y < 40; ++y) {
        EXPECT_EQ(PixelOf(c, 0, y), clRed);
        EXPECT_EQ(PixelOf(c, 59, y), clRed);
    }
    EXPECT_NE(PixelOf(c, 1, 20), clRed);
    EXPECT_NE(PixelOf(c, 1, 20), clWhite);  // the edge's inner ring
    EXPECT_EQ(PixelOf(c, 2, 20), clWhite);
    for (int x = 2; x < 58; ++x) EXPECT_NE(PixelOf(c, x, 20), clRed);
    // The graphic child sits at the client's top-left, past the edge, and clicks reach it in its
    // own coordinates.
    EXPECT_EQ(PixelOf(c, 2, 2), clBlue);
    EXPECT_EQ(PixelOf(c, 7, 7), clWhite);
    ui::test::Click(spot, 1, 2);
    ASSERT_EQ(spot->Downs.size(), 1u);
    EXPECT_EQ(spot->Downs[0], Point(1, 2));

    // The window shows the frame too.
    std::string path = "/tmp/frame_edge_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_EQ(pic.At(20, 30 + 10), 0x0000FF);
    EXPECT_EQ(pic.At(22, 32), static_cast<int32_t>(clBlue));

    EXPECT_EQ(HitAt(c, 0, 10), HTBORDER);
    EXPECT_EQ(HitAt(c, 2, 10), HTCLIENT);
    EXPECT_EQ(HitAt(c, 60, 10), HTNOWHERE);

    // The frame is painted again on request, and only then.
    c->Invalidate();
    c->Update();
    EXPECT_EQ(c->NcPaints, 1);
    RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(c->NcPaints, 2);
}

TEST_F(FrameTest, AComponentReservesABorderOfItsOwnAndFrameChangedMeasuresAgain) {
    auto* c = Add<Edged>(10, 10);
    auto* fill = new TCustomControl(form);
    fill->SetParent(c);
    fill->SetAlign(alClient);
    form->Show();
    EXPECT_EQ(fill->BoundsRect(), Rect(0, 0, 56, 36));
    c->Reserve = 6;
    EXPECT_EQ(c->ClientWidth(), 56);  // not before the frame is declared changed
    SetWindowPos(c->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(c->ClientWidth(), 50);
    EXPECT_EQ(fill->BoundsRect(), Rect(0, 0, 50, 36));
    EXPECT_EQ(c->ClientOrigin().X, form->ClientOrigin().X + 10 + 8);
    EXPECT_EQ(HitAt(c, 5, 10), HTBORDER);
    EXPECT_EQ(HitAt(c, 8, 10), HTCLIENT);

    // A style changed at run time takes effect the same way.
    SetWindowLong(c->Handle(), GWL_EXSTYLE, GetWindowLong(c->Handle(), GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_CLIENTEDGE));
    SetWindowLong(c->Handle(), GWL_STYLE, GetWindowLong(c->Handle(), GWL_STYLE) | static_cast<LONG>(WS_BORDER));
    SetWindowPos(c->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(c->ClientWidth(), 60 - 2 - 6);
    EXPECT_EQ(c->ClientHeight(), 38);
}

// A child window with a caption: the caption is part of its frame.
class Captioned : public TCustomControl {
public:
    explicit Captioned(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 80, 60); }

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style |= WS_CAPTION;
    }
};

TEST_F(FrameTest, AChildCaptionIsPartOfTheFrame) {
    auto* c = Add<Captioned>(10, 10);
    form->Show();
    c->Update();
    EXPECT_EQ(c->ClientRect(), Rect(0, 0, 78, 60 - 2 - GetSystemMetrics(SM_CYCAPTION)));
    EXPECT_EQ(HitAt(c, 20, 5), HTCAPTION);
    EXPECT_EQ(HitAt(c, 0, 30), HTBORDER);
    EXPECT_EQ(PixelOf(c, 20, 5), static_cast<TColor>(ColorToRGB(clActiveCaption)));
    EXPECT_EQ(PixelOf(c, 0, 30), static_cast<TColor>(ColorToRGB(clWindowFrame)));
}

TEST_F(FrameTest, TheMenuBarIsOnePartOfTheFormsFrame) {
    auto* menu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption(String("&File"));
    menu->Items()->Add(file);
    form->Show();
    ASSERT_TRUE(ui::test::PumpUntil([&] { return form->MenuBarHeight() > 0; }, 3000));
    int bar = form->MenuBarHeight();
    TRect window;
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(form->ClientOrigin(), Point(window.Left, window.Top + bar));
    EXPECT_EQ(form->ClientArea(), Rect(0, bar, form->Width(), form->Height()));
    EXPECT_EQ(HitAt(form, 10, bar / 2), HTMENU);
    EXPECT_EQ(HitAt(form, 10, bar), HTCLIENT);
    // A style that adds a client edge puts it below the bar, as the frame orders its parts.
    SetWindowLong(form->Handle(), GWL_EXSTYLE, GetWindowLong(form->Handle(), GWL_EXSTYLE) | static_cast<LONG>(WS_EX_CLIENTEDGE));
    SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(form->ClientArea(), Rect(2, bar + 2, form->Width() - 2, form->Height() - 2));
    EXPECT_EQ(HitAt(form, 10, bar / 2), HTMENU);
    EXPECT_EQ(HitAt(form, 10, bar), HTBORDER);
}

}  // namespace

namespace {

// A yellow window with a blue client area, so the bevel's band and the client tell apart.
class Beveled : public TCustomControl {
public:
    explicit Beveled(TComponent* owner) : TCustomControl(owner) {
        SetColor(clYellow);
        SetBounds(0, 0, 60, 40);
    }

protected:
    void Paint() override { Canvas()->FillSolid(ClientRect(), clBlue); }
};

}  // namespace

TEST_F(FrameTest, TheBevelIsDrawnInTheFrameInTheSystemColours) {
    auto* c = Add<Beveled>(20, 30);
    form->Show();
    const TColor light = ColorToRGB(cl3DLight), dark = ColorToRGB(cl3DDkShadow), shadow = ColorToRGB(clBtnShadow),
                 white = ColorToRGB(clBtnHighlight);
    struct Case {
        TBevelKind kind;
        TBevelCut outer, inner;
        int width;
        TBevelEdges edges;
        // Across the left edge at mid-height (x = 0, 1, 2, 3) and up the bottom edge at mid-width
        // (y = 39, 38, 37, 36).
        TColor left[4], bottom[4];
    } cases[] = {
        {bkTile, bvRaised, bvLowered, 1, TBevelEdges() << beLeft << beTop << beRight << beBottom,
         {light, dark, clBlue, clBlue}, {dark, light, clBlue, clBlue}},
        {bkTile, bvLowered, bvRaised, 2, TBevelEdges() << beLeft << beTop << beRight << beBottom,
         {shadow, shadow, white, white}, {white, white, shadow, shadow}},
        {bkTile, bvSpace, bvRaised, 1, TBevelEdges() << beLeft << beTop << beRight << beBottom,
         {clYellow, white, clBlue, clBlue}, {clYellow, shadow, clBlue, clBlue}},
        {bkFlat, bvRaised, bvLowered, 1, TBevelEdges() << beLeft << beTop << beRight << beBottom,
         {shadow, clYellow, clBlue, clBlue}, {shadow, clYellow, clBlue, clBlue}},
        {bkTile, bvRaised, bvLowered, 1, TBevelEdges() << beLeft,
         {light, dark, clBlue, clBlue}, {clBlue, clBlue, clBlue, clBlue}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << k.kind << " outer " << k.outer << " inner " << k.inner << " width "
                                        << k.width << " edges " << k.edges.Bits());
        c->SetBevelKind(k.kind);
        c->SetBevelOuter(k.outer);
        c->SetBevelInner(k.inner);
        c->SetBevelWidth(k.width);
        c->SetBevelEdges(k.edges);
        c->Update();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(PixelOf(c, i, 20), k.left[i]) << "x " << i;
            EXPECT_EQ(PixelOf(c, 30, 39 - i), k.bottom[i]) << "y " << 39 - i;
        }
    }
    // The window shows it.
    std::string path = "/tmp/frame_bevel_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_EQ(pic.At(20, 30 + 20), ColorToRGB(cl3DLight));
    EXPECT_EQ(pic.At(21, 30 + 20), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(pic.At(22, 30 + 20), static_cast<int32_t>(clBlue));
}
