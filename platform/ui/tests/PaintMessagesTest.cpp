// A paint pass is a WM_PAINT through the window procedure; erasing is WM_ERASEBKGND, and a
// component may answer either itself, with the platform's DC calls.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/ui/testing/Fixtures.h"

namespace {

TColor PixelOf(TWinControl* w, int x, int y) { return w->BackingImage()->Canvas()->Pixels(x, y); }

// Counts the paint messages its window procedure sees; may answer the erase itself.
class Counter : public TCustomControl {
public:
    explicit Counter(TComponent* owner) : TCustomControl(owner) {
        SetColor(clRed);
        SetBounds(0, 0, 40, 30);
    }
    int Paints = 0;
    int Erases = 0;
    bool AnswerErase = false;   // fills the background green and answers 1
    bool SkipErase = false;     // answers 0 without drawing: the paint must erase itself
    BOOL LastFErase = -1;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_PAINT) ++Paints;
        if (m.Msg == WM_ERASEBKGND) {
            ++Erases;
            if (AnswerErase) {
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                TRect box;
                GetClipBox(dc, &box);
                TCanvas::FromHandle(dc)->FillSolid(box, clLime);
                m.Result = 1;
                return;
            }
            if (SkipErase) {
                m.Result = 0;
                return;
            }
        }
        if (m.Msg == WM_PAINT && SkipErase) {
            PAINTSTRUCT ps;
            BeginPaint(Handle(), &ps);
            LastFErase = ps.fErase;
            EndPaint(Handle(), &ps);
            return;
        }
        TCustomControl::WndProc(m);
    }
};

class PaintMessagesTest : public ui::test::FormTest {};

TEST_F(PaintMessagesTest, OneWmPaintPerPassAndEraseAnswersDecideTheBackground) {
    auto* plain = Add<Counter>(10, 10);
    auto* answering = Add<Counter>(60, 10);
    answering->AnswerErase = true;
    form->Show();
    plain->Update();
    answering->Update();
    EXPECT_EQ(plain->Paints, 1);
    EXPECT_EQ(plain->Erases, 1);
    // Two invalidations before the pass make one pass with one WM_PAINT.
    plain->Invalidate();
    plain->Invalidate();
    plain->Update();
    EXPECT_EQ(plain->Paints, 2);
    plain->Update();  // nothing invalid: no pass
    EXPECT_EQ(plain->Paints, 2);
    // Through the backend, as the window is shown.
    plain->Invalidate();
    ui::test::Pump();
    std::string path = "/tmp/paint_messages_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    std::remove(path.c_str());
    EXPECT_EQ(plain->Paints, 3);

    // Default erase fills with Color; the answered erase keeps what the handler drew.
    EXPECT_EQ(PixelOf(plain, 20, 15), clRed);
    EXPECT_EQ(PixelOf(answering, 20, 15), clLime);
    EXPECT_EQ(answering->Erases, 1);
}

TEST_F(PaintMessagesTest, AnEraseAnsweredWithZeroLeavesTheEraseToThePaint) {
    auto* c = Add<Counter>(10, 10);
    c->SkipErase = true;
    form->Show();
    c->Update();
    EXPECT_EQ(c->Erases, 1);
    EXPECT_EQ(c->LastFErase, TRUE_);
    // Nothing invalid any more: the pass validated the window.
    TRect update;
    EXPECT_EQ(GetUpdateRect(c->Handle(), &update, FALSE_), FALSE_);
}

TEST_F(PaintMessagesTest, RedrawWindowReachesChildrenAndInvalidateRectMayKeepTheBackground) {
    auto* outer = Add<Counter>(10, 10);
    outer->SetBounds(10, 10, 100, 80);
    auto* inner = new Counter(form);
    inner->SetParent(outer);
    inner->SetBounds(5, 5, 30, 20);
    form->Show();
    outer->Update();
    inner->Update();
    int outerPaints = outer->Paints, innerPaints = inner->Paints;
    // Only the window asked for, unless its children are asked for too.
    RedrawWindow(outer->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(outer->Paints, outerPaints + 1);
    EXPECT_EQ(inner->Paints, innerPaints);
    RedrawWindow(outer->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(outer->Paints, outerPaints + 2);
    EXPECT_EQ(inner->Paints, innerPaints + 1);
    // Without the erase flag no WM_ERASEBKGND comes, and a validated part is not painted.
    int erases = outer->Erases;
    TRect part(0, 0, 50, 40);
    InvalidateRect(outer->Handle(), &part, FALSE_);
    UpdateWindow(outer->Handle());
    EXPECT_EQ(outer->Erases, erases);
    EXPECT_EQ(outer->Paints, outerPaints + 3);
    InvalidateRect(outer->Handle(), &part, TRUE_);
    ValidateRect(outer->Handle(), nullptr);
    UpdateWindow(outer->Handle());
    EXPECT_EQ(outer->Paints, outerPaints + 3);
    // Validating the top rows leaves the rest to paint.
    InvalidateRect(outer->Handle(), &part, TRUE_);
    TRect top(0, 0, 100, 10);
    ValidateRect(outer->Handle(), &top);
    TRect update;
    EXPECT_EQ(GetUpdateRect(outer->Handle(), &update, FALSE_), TRUE_);
    EXPECT_EQ(update, Rect(0, 10, 50, 40));
}

// Paints its own square first, keeps it out of the clip and lets the platform paint the rest.
class OwnDc : public TCustomControl {
public:
    explicit OwnDc(TComponent* owner) : TCustomControl(owner) {
        SetColor(clWhite);
        SetBounds(0, 0, 40, 30);
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
    void WndProc(TMessage& m) override {
        if (m.Msg != WM_PAINT || m.WParam) {
            TCustomControl::WndProc(m);
            return;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        TCanvas::FromHandle(dc)->FillSolid(TRect(0, 0, 10, 10), clBlue);
        ExcludeClipRect(dc, 0, 0, 10, 10);
        TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
        PaintHandler(inner);
        EndPaint(Handle(), &ps);
    }
};

TEST_F(PaintMessagesTest, AComponentPaintsThroughItsOwnDcAndExcludesWhatItDrew) {
    auto* c = Add<OwnDc>(10, 10);
    form->Show();
    c->Update();
    EXPECT_EQ(PixelOf(c, 5, 5), clBlue);
    EXPECT_EQ(PixelOf(c, 9, 9), clBlue);
    EXPECT_EQ(PixelOf(c, 10, 9), clRed);
    EXPECT_EQ(PixelOf(c, 5, 20), clRed);
    // Drawing on the canvas outside the pass goes to the window at once again.
    c->Canvas()->Brush()->SetColor(clYellow);
    c->Canvas()->FillRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(PixelOf(c, 5, 5), clYellow);
}

// A gradient, and a graphic child that draws a square on it.
class Gradient : public TCustomControl {
public:
    explicit Gradient(TComponent* owner) : TCustomControl(owner) {}
    // Changes along both axes: columns one pixel wide, bands four pixels high.
    static TColor At(int x, int y) { return static_cast<TColor>(RGB((x * 2) & 0xFF, ((y / 4) * 12) & 0xFF, 0x80)); }

protected:
    void Paint() override {
        for (int y = 0; y < Height(); y += 4)
            for (int x = 0; x < Width(); ++x) Canvas()->FillSolid(TRect(x, y, x + 1, y + 4), At(x, y));
    }
};

class Square : public TGraphicControl {
public:
    explicit Square(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override { Canvas()->FillSolid(ClientRect(), clNavy); }
};

// Shows what lies beneath it: the parent's background and painting at this control's place.
class SeeThrough : public TCustomControl {
public:
    explicit SeeThrough(TComponent* owner) : TCustomControl(owner) {}

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ERASEBKGND) {
            m.Result = 1;  // the parent's picture is the background
            return;
        }
        if (m.Msg != WM_PAINT || m.WParam) {
            TCustomControl::WndProc(m);
            return;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        int saved = SaveDC(dc);
        SetWindowOrgEx(dc, Left(), Top(), nullptr);
        Parent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        Parent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
        EndPaint(Handle(), &ps);
    }
};

TEST_F(PaintMessagesTest, ATransparentChildShowsExactlyTheParentsPixelsBeneathIt) {
    auto* back = Add<Gradient>(5, 5);
    back->SetBounds(5, 5, 120, 80);
    auto* square = new Square(form);
    square->SetParent(back);
    square->SetBounds(40, 30, 12, 12);
    auto* child = new SeeThrough(form);
    child->SetParent(back);
    child->SetBounds(30, 20, 50, 40);
    form->Show();
    back->Update();
    child->Update();
    int checked = 0;
    for (int y = 0; y < child->Height(); ++y)
        for (int x = 0; x < child->Width(); ++x) {
            TColor expected = PixelOf(back, child->Left() + x, child->Top() + y);
            ASSERT_EQ(PixelOf(child, x, y), expected) << x << "," << y;
            ++checked;
        }
    EXPECT_EQ(checked, 50 * 40);
    // The square and the gradient are both there (the test is not comparing one flat colour).
    EXPECT_EQ(PixelOf(child, 15, 15), clNavy);
    EXPECT_EQ(PixelOf(child, 0, 0), Gradient::At(30, 20));
}

// Fills what it is asked to paint with the colour of the moment, and notes the paint DC's box.
class Flat : public TCustomControl {
public:
    explicit Flat(TComponent* owner) : TCustomControl(owner) { SetColor(clRed); }
    TColor Fill = clRed;
    TRect LastPaint;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ERASEBKGND) {
            m.Result = 1;
            return;
        }
        if (m.Msg != WM_PAINT || m.WParam) {
            TCustomControl::WndProc(m);
            return;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        LastPaint = ps.rcPaint;
        TCanvas::FromHandle(dc)->FillSolid(ClientRect(), Fill);
        EndPaint(Handle(), &ps);
    }
};

TEST_F(PaintMessagesTest, TwoFarCellsRepaintThemselvesAndNotTheSpaceBetween) {
    form->SetBounds(0, 0, 1040, 800);
    auto* grid = Add<Flat>(0, 0);
    grid->SetBounds(0, 0, 1024, 768);
    form->Show();
    grid->Update();
    ASSERT_EQ(PixelOf(grid, 512, 384), clRed);

    TRect first = Bounds(0, 0, 24, 20), second = Bounds(1000, 700, 24, 20);
    InvalidateRect(grid->Handle(), &first, FALSE_);
    InvalidateRect(grid->Handle(), &second, FALSE_);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(grid->Handle(), update, FALSE_), COMPLEXREGION);
    HRGN both = CreateRectRgn(0, 0, 24, 20);
    HRGN other = CreateRectRgn(1000, 700, 1024, 720);
    CombineRgn(both, both, other, RGN_OR);
    EXPECT_EQ(EqualRgn(update, both), TRUE_);
    for (HRGN r : {update, both, other}) DeleteObject(r);

    grid->Fill = clBlue;
    grid->Update();
    // rcPaint is the bounds; the DC is clipped to the two cells.
    EXPECT_EQ(grid->LastPaint, Rect(0, 0, 1024, 720));
    for (TPoint p : {Point(0, 0), Point(23, 19), Point(1000, 700), Point(1023, 719)}) EXPECT_EQ(PixelOf(grid, p.X, p.Y), clBlue);
    for (TPoint p : {Point(24, 0), Point(0, 20), Point(512, 384), Point(999, 700), Point(1000, 720), Point(1023, 699)})
        EXPECT_EQ(PixelOf(grid, p.X, p.Y), clRed) << p.X << "," << p.Y;
    TRect none;
    EXPECT_EQ(GetUpdateRect(grid->Handle(), &none, FALSE_), FALSE_);
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(grid->Handle(), empty, FALSE_), NULLREGION);
    DeleteObject(empty);
}

TEST_F(PaintMessagesTest, RedrawWindowWithARegionTakesItsRectanglesNotTheirBounds) {
    form->SetBounds(0, 0, 1040, 800);
    auto* grid = Add<Flat>(0, 0);
    grid->SetBounds(0, 0, 1024, 768);
    form->Show();
    grid->Update();
    HRGN cells = CreateRectRgn(0, 0, 24, 20);
    HRGN far = CreateRectRgn(1000, 700, 1024, 720);
    CombineRgn(cells, cells, far, RGN_OR);
    HRGN update = CreateRectRgn(0, 0, 0, 0);

    RedrawWindow(grid->Handle(), nullptr, cells, RDW_INVALIDATE);
    EXPECT_EQ(GetUpdateRgn(grid->Handle(), update, FALSE_), COMPLEXREGION);
    EXPECT_EQ(EqualRgn(update, cells), TRUE_);

    // Validating the two cells of a wholly invalid window leaves the space between invalid.
    InvalidateRect(grid->Handle(), nullptr, FALSE_);
    RedrawWindow(grid->Handle(), nullptr, cells, RDW_VALIDATE);
    GetUpdateRgn(grid->Handle(), update, FALSE_);
    EXPECT_EQ(PtInRegion(update, 512, 384), TRUE_);
    EXPECT_EQ(PtInRegion(update, 24, 0), TRUE_);
    EXPECT_EQ(PtInRegion(update, 0, 0), FALSE_);
    EXPECT_EQ(PtInRegion(update, 1010, 710), FALSE_);
    for (HRGN r : {cells, far, update}) DeleteObject(r);
}

TEST_F(PaintMessagesTest, AHundredScatteredCellsAllRepaintAndTheWindowDoesNot) {
    form->SetBounds(0, 0, 1040, 800);
    auto* grid = Add<Flat>(0, 0);
    grid->SetBounds(0, 0, 1024, 768);
    form->Show();
    grid->Update();
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(0, 1000), y(0, 748);
    std::vector<TRect> cells;
    for (int i = 0; i < 100; ++i) {
        cells.push_back(Bounds(x(rng), y(rng), 24, 20));
        InvalidateRect(grid->Handle(), &cells.back(), FALSE_);
    }
    // The update region holds every cell.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetUpdateRgn(grid->Handle(), update, FALSE_), COMPLEXREGION);
    HRGN left = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& cell : cells) {
        HRGN one = CreateRectRgnIndirect(&cell);
        EXPECT_EQ(CombineRgn(left, one, update, RGN_DIFF), NULLREGION) << cell.Left << "," << cell.Top;
        DeleteObject(one);
    }
    for (HRGN r : {update, left}) DeleteObject(r);

    grid->Fill = clBlue;
    grid->Update();
    for (const TRect& cell : cells)
        for (TPoint p : {Point(cell.Left, cell.Top), Point(cell.Right - 1, cell.Bottom - 1)})
            ASSERT_EQ(PixelOf(grid, p.X, p.Y), clBlue) << p.X << "," << p.Y;
    // Far from all of them, the old colour stays.
    int kept = 0;
    for (int py = 0; py < 768; py += 16)
        for (int px = 0; px < 1024; px += 16) kept += PixelOf(grid, px, py) == clRed;
    EXPECT_GT(kept, 0);
}

TEST_F(PaintMessagesTest, DrawingOutsideAPassHoldsOnePainterUntilTheLoopRunsAndThenShows) {
    auto* c = Add<Flat>(10, 10);
    c->SetBounds(10, 10, 60, 40);
    auto* other = Add<Flat>(80, 10);
    other->SetBounds(80, 10, 40, 40);
    form->Show();
    ui::test::Pump();
    TCanvas* canvas = c->Canvas();
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, 20, 20));
    canvas->Pen()->SetColor(clYellow);
    canvas->MoveTo(0, 30);
    canvas->LineTo(60, 30);
    // Held open across the calls, and read back at once all the same.
    EXPECT_EQ(canvas->LockCount(), 1);
    EXPECT_EQ(PixelOf(c, 5, 5), clBlue);
    EXPECT_EQ(PixelOf(c, 30, 30), clYellow);
    canvas->FillRect(Rect(20, 0, 40, 20));
    EXPECT_EQ(PixelOf(c, 25, 5), clBlue);
    // A DC of another window, released before the loop runs, still shows what it drew.
    HDC dc = GetDC(other->Handle());
    TCanvas::FromHandle(dc)->FillSolid(Rect(0, 0, 10, 10), clLime);
    ReleaseDC(other->Handle(), dc);
    ui::test::Pump();
    EXPECT_EQ(canvas->LockCount(), 0);
    std::string path = "/tmp/paint_offpass_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture shot;
    ASSERT_TRUE(ui::test::LoadPng(path, shot));
    std::remove(path.c_str());
    TPoint at = c->ClientToScreen(Point(0, 0)), formAt = form->ClientToScreen(Point(0, 0));
    TPoint o(at.X - formAt.X, at.Y - formAt.Y);
    EXPECT_EQ(shot.At(o.X + 5, o.Y + 5), clBlue);
    EXPECT_EQ(shot.At(o.X + 25, o.Y + 5), clBlue);
    EXPECT_EQ(shot.At(o.X + 30, o.Y + 30), clYellow);
    EXPECT_EQ(shot.At(o.X + 50, o.Y + 5), clRed);
    EXPECT_EQ(shot.At(o.X + 75, o.Y + 5), clLime);
}

}  // namespace
