// The base grid's paint frame: merged blocks once per pass, the clip under the fixed cells, the
// hidden last row, the grid's own lines, the selection faces, the backgrounds, the hover and
// active rows and the content rectangle handed to RenderCell.
#include <memory>

#include "grid/tests/GridModelSupport.h"
#include "platform/ui/Metafile.h"

namespace {

using grid_model_test::GridModelTest;
using grid_model_test::LogGrid;

// Records the backgrounds the frame fills and the cells it renders.
class PaintGrid : public LogGrid {
public:
    using LogGrid::LogGrid;
    using TBaseGrid::TCellBackground;
    struct Render {
        int c, r;
        TRect rect;
    };
    std::vector<TCellBackground> Backgrounds;
    std::vector<Render> Renders;
    bool Nodes = false;
    void NextPass() { ++FPaintID; }
    void RenderCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override {
        Renders.push_back({ACol, ARow, ARect});
        LogGrid::RenderCell(ACanvas, ACol, ARow, ARect, AState);
    }
    bool HasNodes() override { return Nodes; }
    int RendersOf(int c, int r) const {
        int n = 0;
        for (const Render& x : Renders) n += x.c == c && x.r == r;
        return n;
    }

protected:
    void DrawCellBackground(TCanvas* ACanvas, const TCellBackground& B) override {
        Backgrounds.push_back(B);
        LogGrid::DrawCellBackground(ACanvas, B);
    }
};

// A cell painted on a metafile canvas: its recorded operations.
struct Recording {
    TMetafile metafile;
    std::vector<TMetafileOp> ops;
    struct Line {
        TPoint from, to;
        uint32_t color;
        int width;
    };
    std::vector<Line> Lines() const {
        std::vector<Line> out;
        uint32_t color = 0;
        int width = 0;
        TPoint at;
        for (const auto& o : ops) {
            if (o.kind == TMetafileOp::CreatePen) {
                color = o.color;
                width = o.width;
            }
            if (o.kind == TMetafileOp::MoveTo) at = o.p1;
            if (o.kind == TMetafileOp::LineTo) {
                out.push_back({at, o.p1, color, width});
                at = o.p1;
            }
        }
        return out;
    }
};

template <class Paint>
std::unique_ptr<Recording> Record(Paint paint) {
    auto rec = std::make_unique<Recording>();
    {
        TMetafileCanvas canvas(&rec->metafile);
        paint(&canvas);
    }
    rec->ops = rec->metafile.Ops();
    return rec;
}

class PaintFrameTest : public GridModelTest {
protected:
    PaintGrid* MakePaintGrid(int cols, int rows) {
        form->SetBounds(0, 0, 640, 480);
        auto* g = Add<PaintGrid>(0, 0);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetDefaultRowHeight(24);
        g->SetBounds(0, 0, 400, 250);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        form->Show();
        g->SetFocus();
        ui::test::Pump();
        return g;
    }
};

TEST_F(PaintFrameTest, AMergedBlockIsPaintedOncePerPassThroughItsBase) {
    auto* g = MakePaintGrid(12, 12);
    g->MergeCells(2, 3, 3, 2);  // columns 2..4, rows 3..4
    g->SetLeftCol(3);           // the base column scrolled out
    ASSERT_TRUE(g->CellRect(2, 3).Width() > 0);
    for (int pass = 0; pass < 2; ++pass) {
        g->Renders.clear();
        g->Invalidate();
        g->Update();
        EXPECT_EQ(g->RendersOf(2, 3), 1) << pass;
        for (int c = 3; c <= 4; ++c)
            for (int r = 3; r <= 4; ++r) EXPECT_EQ(g->RendersOf(c, r), 0);
    }
    // Whichever covered cell comes first.
    for (TGridCoord first : {TGridCoord{4, 4}, TGridCoord{3, 3}}) {
        g->NextPass();
        g->Renders.clear();
        auto rec = Record([&](TCanvas* c) {
            g->PaintCell(c, first.X, first.Y, g->CellRect(first.X, first.Y), {});
            g->PaintCell(c, 3, 4, g->CellRect(3, 4), {});
            g->PaintCell(c, 4, 3, g->CellRect(4, 3), {});
        });
        ASSERT_EQ(g->Renders.size(), 1u);
        EXPECT_EQ(g->Renders[0].c, 2);
        // The block's whole rectangle, less the line width.
        TRect block = g->CellRect(2, 3);
        EXPECT_EQ(g->Renders[0].rect, TRect(block.Left + 1, block.Top + 1, block.Right - 1, block.Bottom - 1));
    }
}

TEST_F(PaintFrameTest, ABlockUnderTheFixedCellsIsClippedAndTheClipReleased) {
    auto* g = MakePaintGrid(12, 20);
    g->MergeCells(2, 2, 2, 3);  // columns 2..3, rows 2..4
    g->SetTopRow(3);
    g->SetLeftCol(3);
    g->NextPass();
    auto rec = Record([&](TCanvas* c) { g->PaintCell(c, 3, 3, g->CellRect(3, 3), {}); });
    const int fx = g->ColWidths(0), fy = g->RowHeights(0);
    std::vector<const TMetafileOp*> clips;
    for (const auto& o : rec->ops)
        if (o.kind == TMetafileOp::SelectClip) clips.push_back(&o);
    ASSERT_GE(clips.size(), 2u);
    ASSERT_EQ(clips.front()->style, 1u);
    ASSERT_EQ(clips.front()->rects.size(), 1u);
    EXPECT_EQ(clips.front()->rects[0], TRect(fx, fy, g->Width(), g->Height()));
    EXPECT_EQ(clips.back()->style, 0u);  // released
    // A block inside the scrolling area is not clipped.
    g->NextPass();
    auto plain = Record([&](TCanvas* c) { g->PaintCell(c, 6, 6, g->CellRect(6, 6), {}); });
    for (const auto& o : plain->ops) EXPECT_NE(o.kind, TMetafileOp::SelectClip);
}

TEST_F(PaintFrameTest, TheHiddenLastRowIsOnlyFilled) {
    auto* g = MakePaintGrid(5, 6);
    g->SetHideLastRow(true);
    g->SetColor(0x123456);
    g->Renders.clear();
    g->Backgrounds.clear();
    auto rec = Record([&](TCanvas* c) { g->PaintCell(c, 2, 5, TRect(10, 10, 50, 30), {}); });
    EXPECT_TRUE(g->Renders.empty());
    EXPECT_TRUE(g->Backgrounds.empty());
    EXPECT_TRUE(rec->Lines().empty());
    bool filled = false;
    for (const auto& o : rec->ops)
        if (o.kind == TMetafileOp::CreateBrush) filled = filled || o.color == 0x123456;
    EXPECT_TRUE(filled);
}

TEST_F(PaintFrameTest, GridLines) {
    auto* g = MakePaintGrid(6, 6);
    g->SetOptions(g->Options() << goHorzLine << goVertLine << goFixedHorzLine << goFixedVertLine);
    const TRect cell = g->CellRect(2, 2), fixedCell = g->CellRect(2, 0), node = g->CellRect(0, 2);
    struct Case {
        const char* name;
        int width;
        bool nodes;
        TGridCoord at;
        std::vector<Recording::Line> lines;
    };
    const TRect& c = cell;
    const TRect& f = fixedCell;
    const TRect& n = node;
    const Case cases[] = {
        {"width 0, scrollable", 0, false, {2, 2}, {}},
        {"width 0, fixed", 0, false, {2, 0},
         {{{f.Left, f.Bottom - 1}, {f.Right, f.Bottom - 1}, 0x808080, 1}, {{f.Right - 1, f.Bottom - 1}, {f.Right - 1, f.Top - 1}, 0x808080, 1}}},
        {"width 3, scrollable", 3, false, {2, 2},
         {{{c.Left - 1, c.Bottom - 2}, {c.Right - 1, c.Bottom - 2}, 0xC0C0C0, 3},
          {{c.Right - 2, c.Bottom - 2}, {c.Right - 2, c.Top - 2}, 0xC0C0C0, 3}}},
        {"nodes, column 0", 1, true, {0, 2}, {{{n.Right - 1, n.Bottom - 1}, {n.Right - 1, n.Top - 1}, 0x808080, 1}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        g->SetGridLineWidth(k.width);
        g->Nodes = k.nodes;
        g->NextPass();
        TCanvas* seen = nullptr;
        TColor penAfter = clNone, brushAfter = clNone;
        auto rec = Record([&](TCanvas* cv) {
            seen = cv;
            g->PaintCell(cv, k.at.X, k.at.Y, g->CellRect(k.at.X, k.at.Y), {});
            penAfter = cv->Pen()->Color();
            brushAfter = cv->Brush()->Color();
        });
        auto lines = rec->Lines();
        ASSERT_EQ(lines.size(), k.lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].from, k.lines[i].from) << i;
            EXPECT_EQ(lines[i].to, k.lines[i].to) << i;
            EXPECT_EQ(lines[i].color, k.lines[i].color) << i;
            EXPECT_EQ(lines[i].width, k.lines[i].width) << i;
        }
        // Without lines the pen keeps the colour it had (the cell's).
        if (k.lines.empty()) {
            EXPECT_NE(penAfter, g->GridLineColor());
        }
    }
}

TEST_F(PaintFrameTest, SelectionFaces) {
    auto* g = MakePaintGrid(8, 6);
    g->SetOptions(g->Options() << goHorzLine << goVertLine >> goDrawFocusSelected);
    g->SelectCells(2, 2, 4, 2);
    struct Case {
        const char* name;
        TGridSelectionStyle style;
        TGridRect sel;
        int col;
        bool focus;
        int edge;
        TColor bodyFrom, bodyTo, corner, outer, lower, upper, mirrorFrom, mirrorTo;
    };
    const Case cases[] = {
        {"vista middle", ssVista, {2, 2, 4, 2}, 3, true, 3, 0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
        {"vista left end", ssVista, {2, 2, 4, 2}, 2, true, 1, 0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
        {"vista right end, backwards", ssVista, {4, 2, 2, 2}, 4, true, 2, 0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
        {"vista alone", ssVista, {3, 2, 3, 2}, 3, true, 0, 0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
        {"unfocused", ssVista, {2, 2, 4, 2}, 3, false, 3, 0xF8F8F8, 0xE5E5E5, 0xEFEFEF, 0xD9D9D9, 0xF0F0F0, 0xFBFAFA, clNone, clNone},
        {"win7", ssWin7, {2, 2, 4, 2}, 3, true, 3, 0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone},
        {"office 2007", ssOffice2007, {2, 2, 4, 2}, 3, true, 3, 0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0x58D4FC, 0xB3F1FC},
    };
    auto* other = Add<TVerAdevovEdav>(0, 300);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        g->SetSelectionStyle(k.style);
        if (k.focus)
            g->SetFocus();
        else
            other->SetFocus();
        ui::test::Pump();
        g->SelectCells(k.sel.Left, k.sel.Top, k.sel.Right, k.sel.Bottom);
        g->Backgrounds.clear();
        g->NextPass();
        Record([&](TCanvas* c) { g->PaintCell(c, k.col, 2, g->CellRect(k.col, 2), TGridDrawState() << gdSelected); });
        ASSERT_EQ(g->Backgrounds.size(), 1u);
        const auto& b = g->Backgrounds[0];
        EXPECT_EQ(b.Kind, PaintGrid::TCellBackground::Face);
        EXPECT_EQ(b.EdgeStyle, k.edge);
        EXPECT_EQ(b.Back, g->Color());
        EXPECT_EQ(b.FaceColors.BodyFrom, k.bodyFrom);
        EXPECT_EQ(b.FaceColors.BodyTo, k.bodyTo);
        EXPECT_EQ(b.FaceColors.CornerShade, k.corner);
        EXPECT_EQ(b.FaceColors.OuterBorder, k.outer);
        EXPECT_EQ(b.FaceColors.LowerInner, k.lower);
        EXPECT_EQ(b.FaceColors.UpperInner, k.upper);
        EXPECT_EQ(b.FaceColors.MirrorFrom, k.mirrorFrom);
        EXPECT_EQ(b.FaceColors.MirrorTo, k.mirrorTo);
        EXPECT_EQ(b.Rect, g->CellRect(k.col, 2));
    }
    // Lines off grow the face: horizontal ones one pixel down, vertical ones one right.
    g->SetFocus();
    g->SetSelectionStyle(ssVista);
    g->SelectCells(2, 2, 4, 2);
    for (bool horz : {false, true}) {
        g->SetOptions(horz ? g->Options() >> goHorzLine << goVertLine : g->Options() << goHorzLine >> goVertLine);
        g->Backgrounds.clear();
        g->NextPass();
        Record([&](TCanvas* c) { g->PaintCell(c, 3, 2, g->CellRect(3, 2), TGridDrawState() << gdSelected); });
        ASSERT_EQ(g->Backgrounds.size(), 1u);
        TRect r = g->CellRect(3, 2);
        EXPECT_EQ(g->Backgrounds[0].Rect, horz ? TRect(r.Left, r.Top, r.Right, r.Bottom + 1) : TRect(r.Left, r.Top, r.Right + 1, r.Bottom));
    }
}

TEST_F(PaintFrameTest, BackgroundsContentAndRows) {
    auto* g = MakePaintGrid(8, 8);
    g->MoveColRow(1, 1, true, true);
    auto paint = [&](int c, int r, TGridDrawState state = {}) {
        g->Backgrounds.clear();
        g->Renders.clear();
        g->NextPass();
        Record([&](TCanvas* cv) { g->PaintCell(cv, c, r, g->CellRect(c, r), state); });
        return g->Backgrounds.empty() ? PaintGrid::TCellBackground{} : g->Backgrounds[0];
    };
    // A plain cell: a 64-step gradient without an end colour; horizontal with the cell's
    // direction; a mirror gradient once a mirror colour is set.
    auto b = paint(3, 4);
    EXPECT_EQ(b.Kind, PaintGrid::TCellBackground::Step);
    EXPECT_EQ(b.ColorTo, clNone);
    g->SetColorsTo(3, 4, 0xFF);
    g->SetGradientDir(3, 4, GradientHorizontal);
    b = paint(3, 4);
    EXPECT_EQ(b.Kind, PaintGrid::TCellBackground::Step);
    EXPECT_EQ(b.ColorTo, TColor(0xFF));
    EXPECT_TRUE(b.Horizontal);
    g->SetActiveRowShow(true);
    g->SetActiveRowMirrorColor(0xAA);
    g->SetActiveRowMirrorColorTo(0xBB);
    g->MoveColRow(1, 4, true, true);
    b = paint(3, 4);
    EXPECT_EQ(b.Kind, PaintGrid::TCellBackground::Mirror);
    EXPECT_EQ(b.Color, g->ActiveRowColor());
    EXPECT_EQ(b.MirrorColor, TColor(0xAA));
    EXPECT_EQ(b.MirrorColorTo, TColor(0xBB));
    // Not in the current cell itself.
    b = paint(1, 4);
    EXPECT_NE(b.Color, g->ActiveRowColor());
    g->SetActiveRowShow(false);

    // Content rectangles: a fixed cell less one pixel right and two at the bottom, a normal cell
    // inset by the line width.
    g->SetGridLineWidth(2);
    paint(3, 0);
    ASSERT_EQ(g->Renders.size(), 1u);
    TRect f = g->CellRect(3, 0);
    EXPECT_EQ(g->Renders[0].rect, TRect(f.Left, f.Top, f.Right - 1, f.Bottom - 2));
    paint(3, 5);
    TRect n = g->CellRect(3, 5);
    EXPECT_EQ(g->Renders[0].rect, TRect(n.Left + 2, n.Top + 2, n.Right - 2, n.Bottom - 2));

    // The hover row takes its colour only while not selected.
    g->SetHoverRow(true);
    g->SetHoverRowColor(0x00FF00);
    g->SetHoverRowIndex(5);
    EXPECT_EQ(paint(3, 5).Color, TColor(0x00FF00));
    EXPECT_NE(paint(3, 5, TGridDrawState() << gdSelected).Color, TColor(0x00FF00));

    // PaintCellExt: a selected cell in the active-row colours with ActiveRowShow off, the
    // rectangle as given, no RenderCell.
    g->Backgrounds.clear();
    g->Renders.clear();
    const TRect given(5, 5, 60, 30);
    Record([&](TCanvas* cv) { g->PaintCellExt(cv, 3, 0, given, TGridDrawState() << gdSelected); });
    ASSERT_EQ(g->Backgrounds.size(), 1u);
    EXPECT_EQ(g->Backgrounds[0].Color, g->ActiveRowColor());
    EXPECT_EQ(g->Backgrounds[0].Rect, given);
    EXPECT_TRUE(g->Renders.empty());
}

}  // namespace
