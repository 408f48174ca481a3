// The after-draw overlay and the outputs: bitmap, metafiles, clipboard and printer.
#include <cmath>

#include "platform/chart/tests/ChartTestSupport.h"
#include "platform/rtl/tests/TempDir.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Printers.h"

using chart_test::ChartTest;
using chart_test::DifferentPixels;
using chart_test::kOverColor;

namespace {

// The row of a left-axis value on a plot, computed apart from the chart.
int RowOf(const TRect& plot, double value) {
    return plot.Bottom + static_cast<int>(std::nearbyint((value + 140) * (plot.Top - plot.Bottom) / 130));
}

}  // namespace

TEST_F(ChartTest, AfterDrawLinesLandOnTheRowsOfTheDrawingInProgress) {
    struct Seen {
        TCanvas* canvas;
        TRect plot;
        int row;
    };
    std::vector<Seen> seen;
    chart->OnAfterDraw = [&](TObject*) {
        TCanvas* c = chart->Canvas();
        TRect plot = chart->ChartRect();
        int row = chart->LeftAxis()->CalcPosValue(-100.6);
        seen.push_back({c, plot, row});
        c->Pen()->SetColor(clBlue);
        c->MoveTo(plot.Left, row);
        c->LineTo(plot.Right, row);
    };
    Paint();
    ASSERT_FALSE(seen.empty());
    TRect screenPlot = seen.back().plot;
    int row = RowOf(screenPlot, -100.6);
    EXPECT_EQ(seen.back().row, row);
    EXPECT_EQ(At(chart->ChartXCenter(), row), clBlue);
    EXPECT_NE(At(chart->ChartXCenter(), row - 1), clBlue);

    // Twice the size: the handler runs again on the bitmap, with the larger drawing's frame.
    seen.clear();
    TBitmap big(1800, 800);
    chart->Draw(big.Canvas(), TRect(0, 0, 1800, 800));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].canvas, big.Canvas());
    TRect bigPlot = seen[0].plot;
    EXPECT_GT(bigPlot.Bottom - bigPlot.Top, 2 * (screenPlot.Bottom - screenPlot.Top) - 40);
    int bigRow = RowOf(bigPlot, -100.6);
    EXPECT_EQ(seen[0].row, bigRow);
    EXPECT_EQ(big.Canvas()->Pixels((bigPlot.Left + bigPlot.Right) / 2, bigRow), clBlue);
    // Afterwards the conversions answer for the screen again.
    EXPECT_EQ(chart->ChartRect(), screenPlot);
    EXPECT_EQ(chart->LeftAxis()->CalcPosValue(-100.6), row);
    EXPECT_NE(chart->Canvas(), big.Canvas());
}

class ChartOutputTest : public ChartTest {
protected:
    rtl_test::TempDir dir{"rwb-chart"};
    TBarSeries *peaks = nullptr, *levels = nullptr;

    void SetUp() override {
        ChartTest::SetUp();
        FrequencySeries(peaks, levels);
        for (int ch = 7; ch <= 46; ++ch) {
            levels->SetYValue(ch, -130 + (ch * 37) % 100);
            if (ch % 3 == 0) levels->SetValueColor(ch, kOverColor);
            peaks->SetYValue(ch, -120 + (ch * 37) % 100);
        }
        chart->LeftAxis()->SetTitle(String("受信ﾚﾍﾞﾙ[dBm]"));
        chart->BottomAxis()->SetTitle(String("ﾁｬﾝﾈﾙ"));
    }

    // The bars of the level series as they show at their centres and tops (the first one's
    // centre is under the left axis).
    void ExpectBarsAsOnScreen(TBitmap& picture, TBitmap& screen) {
        for (int ch = 8; ch <= 46; ++ch) {
            int x = chart->BottomAxis()->CalcPosValue(ch), top = chart->LeftAxis()->CalcPosValue(levels->YValue(ch));
            EXPECT_EQ(picture.Canvas()->Pixels(x, top), levels->ValueColor(ch)) << ch;
            EXPECT_EQ(picture.Canvas()->Pixels(x, top - 1), screen.Canvas()->Pixels(x, top - 1)) << ch;
        }
    }
};

TEST_F(ChartOutputTest, TheBitmapFileHoldsTheScreenImage) {
    auto screen = Screen();
    String name(dir.File("chart.bmp"));
    chart->SaveToBitmapFile(name);
    TBitmap loaded;
    loaded.LoadFromFile(name);
    EXPECT_EQ(loaded.Width(), 900);
    EXPECT_EQ(loaded.Height(), 400);
    EXPECT_EQ(DifferentPixels(loaded, *screen), 0);
}

TEST_F(ChartOutputTest, MetafilesPlayBackWithTheBarsAtTheScreenPixels) {
    auto screen = Screen();
    struct Case {
        const char* file;
        bool enhanced;
    };
    for (Case c : {Case{"chart.emf", true}, Case{"chart.wmf", false}}) {
        SCOPED_TRACE(c.file);
        String name(dir.File(c.file));
        if (c.enhanced) chart->SaveToMetafileEnh(name);
        else chart->SaveToMetafile(name);
        std::string bytes = rtl_test::ReadAll(dir.File(c.file));
        ASSERT_GT(bytes.size(), 100u);
        if (c.enhanced) EXPECT_EQ(bytes.substr(40, 4), " EMF");
        else EXPECT_EQ(bytes.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
        TMetafile mf;
        mf.LoadFromFile(name);
        EXPECT_EQ(mf.Enhanced(), c.enhanced);
        TBitmap played(900, 400);
        played.Canvas()->Draw(0, 0, &mf);
        ExpectBarsAsOnScreen(played, *screen);
        EXPECT_EQ(DifferentPixels(played, *screen), 0);
    }
}

TEST_F(ChartOutputTest, TheClipboardGetsTheFormatAskedFor) {
    auto screen = Screen();
    struct Case {
        int kind;  // 0 enhanced, 1 older metafile, 2 bitmap
        UINT format;
    };
    for (Case c : {Case{0, CF_ENHMETAFILE}, Case{1, CF_METAFILEPICT}, Case{2, CF_BITMAP}}) {
        SCOPED_TRACE(c.kind);
        Clipboard()->Clear();
        if (c.kind == 2) chart->CopyToClipboardBitmap();
        else chart->CopyToClipboardMetafile(c.kind == 0);
        for (UINT f : {CF_ENHMETAFILE, CF_METAFILEPICT, CF_BITMAP}) EXPECT_EQ(Clipboard()->HasFormat(f), f == c.format) << f;
    }
    TBitmap pasted;
    ASSERT_TRUE(Clipboard()->GetPicture(&pasted));
    EXPECT_EQ(DifferentPixels(pasted, *screen), 0);
}

TEST_F(ChartOutputTest, PrintingToThePdfPrinterWritesOnePage) {
    TPrinter* printer = new TPrinter();
    TPrinter* old = SetPrinter(printer);
    std::string path = dir.File("chart.pdf");
    printer->SetPrinterIndex(printer->PdfPrinterIndex());
    printer->SetFileName(String(path));
    int draws = 0;
    TRect printedPlot;
    chart->OnAfterDraw = [&](TObject*) {
        ++draws;
        printedPlot = chart->ChartRect();
    };
    chart->Print();
    SetPrinter(old);
    delete printer;
    EXPECT_EQ(draws, 1);
    EXPECT_GT(printedPlot.Width(), chart->Width() / 2);
    std::string pdf = rtl_test::ReadAll(path);
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    int pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    EXPECT_EQ(pages, 1);
}

// A wave with many points to a pixel column, in two colours, with markers, area lines and the
// line: the screen stamps prepared markers and fills columns, a metafile records ellipses and
// lines, and both must give the same pixels, also where the drawing starts left of and above
// the target (negative positions).
TEST_F(ChartTest, ADenseAreaHasTheSamePixelsOnScreenInMetafilesAndShifted) {
    TAreaSeries* area = TimeSeries();
    chart->BottomAxis()->SetMinMax(0, 5000);
    area->AreaLinesPen()->SetVisible(true);
    area->AreaLinesPen()->SetColor(clGray);
    area->LinePen()->SetVisible(true);
    area->LinePen()->SetColor(clBlue);
    for (int i = 0; i <= 5000; ++i) {
        double v = -100 + 35 * std::sin(i / 40.0);
        area->SetYValue(i, v);
        if (v >= -100) area->SetValueColor(i, kOverColor);
    }
    for (bool view3D : {false, true}) {
        SCOPED_TRACE(view3D ? "3-D" : "flat");
        chart->SetView3D(view3D);
        auto screen = Screen();

        auto mf = chart->CreateMetafile(true, TRect(0, 0, 900, 400));
        TBitmap played(900, 400);
        played.Canvas()->Draw(0, 0, mf.get());
        EXPECT_EQ(DifferentPixels(played, *screen), 0);

        // Drawn 200 pixels further left and 250 up (markers and columns at negative positions):
        // the screen's picture moved by as much.
        TBitmap shifted(900, 400);
        chart->Draw(shifted.Canvas(), TRect(-200, -250, 700, 150));
        TBitmap got(700, 150), expected(700, 150);
        got.Canvas()->CopyRect(TRect(0, 0, 700, 150), shifted.Canvas(), TRect(0, 0, 700, 150));
        expected.Canvas()->CopyRect(TRect(0, 0, 700, 150), screen->Canvas(), TRect(200, 250, 900, 400));
        EXPECT_EQ(DifferentPixels(got, expected), 0);
    }
}
