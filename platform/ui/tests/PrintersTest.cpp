#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ui/Printers.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Page objects of a PDF: "/Type /Page" (or "/Type/Page") not followed by "s".
int CountPages(const std::string& pdf) {
    int pages = 0;
    for (const char* key : {"/Type /Page", "/Type/Page"}) {
        size_t len = std::strlen(key);
        for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + len))
            if (at + len >= pdf.size() || pdf[at + len] != 's') ++pages;
    }
    return pages;
}

class PrintersTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("printers-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        printer = std::make_unique<TPrinter>();
        printer->SetResolution(100);  // small pages keep the test quick
        printer->SetPrinterIndex(printer->PdfPrinterIndex());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    ui::test::AppScope scope;
    std::filesystem::path dir;
    std::unique_ptr<TPrinter> printer;
};

}  // namespace

TEST_F(PrintersTest, ThePdfPrinterIsAlwaysListedLast) {
    TStrings* names = printer->Printers();
    ASSERT_GE(names->Count(), 1);
    EXPECT_EQ((*names)[names->Count() - 1], String("PDF"));
    EXPECT_EQ(printer->PdfPrinterIndex(), names->Count() - 1);
    EXPECT_THROW(printer->SetPrinterIndex(names->Count()), EPrinter);
    EXPECT_TRUE(printer->PrintsToFile());
}

TEST_F(PrintersTest, TwoPagesGiveAPdfWithTwoPages) {
    std::string path = (dir / "graph.pdf").string();
    printer->SetFileName(String(path));
    printer->SetTitle(String("Air monitor"));
    int w = printer->PageWidth(), h = printer->PageHeight();
    // A4 at 100 dpi is 827 x 1169 pixels; the printable area is a little smaller.
    EXPECT_GT(w, 600);
    EXPECT_LT(w, 900);
    EXPECT_GT(h, w);
    EXPECT_FALSE(printer->Printing());
    printer->BeginDoc();
    EXPECT_TRUE(printer->Printing());
    EXPECT_EQ(printer->PageNumber(), 1);
    TCanvas* c = printer->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(10, 10, w / 2, h / 2));
    c->TextOut(20, 20, String("Page 1 ﾚﾍﾞﾙ"));
    EXPECT_EQ(c->Pixels(15, 15), clRed);  // drawing lands on the page
    printer->NewPage();
    EXPECT_EQ(printer->PageNumber(), 2);
    EXPECT_EQ(c->Pixels(15, 15), clWhite);  // a new page starts blank
    c->Brush()->SetColor(clBlue);
    c->Ellipse(50, 50, 300, 300);
    printer->EndDoc();
    EXPECT_FALSE(printer->Printing());
    EXPECT_FALSE(printer->Aborted());

    std::string pdf = ReadFile(path);
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u) << "not a PDF file";
    EXPECT_EQ(CountPages(pdf), 2);
}

TEST_F(PrintersTest, LandscapeSwapsThePageAndOneEmptyPageStillPrints) {
    int pw = printer->PageWidth(), ph = printer->PageHeight();
    printer->SetOrientation(poLandscape);
    EXPECT_EQ(printer->PageWidth(), ph);
    EXPECT_EQ(printer->PageHeight(), pw);
    std::string path = (dir / "one.pdf").string();
    printer->SetFileName(String(path));
    printer->BeginDoc();
    printer->EndDoc();
    EXPECT_EQ(CountPages(ReadFile(path)), 1);
}

TEST_F(PrintersTest, CallsOutOfOrderFailAndAbortLeavesNoFile) {
    EXPECT_THROW(printer->NewPage(), EPrinter);
    EXPECT_THROW(printer->EndDoc(), EPrinter);
    EXPECT_THROW(printer->Abort(), EPrinter);
    // The PDF printer without a file name has nowhere to write: an error, not a silent success.
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    EXPECT_FALSE(printer->Printing());

    std::string path = (dir / "dropped.pdf").string();
    printer->SetFileName(String(path));
    printer->BeginDoc();
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    EXPECT_THROW(printer->SetOrientation(poLandscape), EPrinter);  // not while printing
    printer->Canvas()->Rectangle(0, 0, 100, 100);
    printer->NewPage();
    printer->Abort();
    EXPECT_TRUE(printer->Aborted());
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(printer->PageNumber(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));

    // A file that cannot be created is reported.
    printer->SetFileName(String((dir / "no-such-dir" / "x.pdf").string()));
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    EXPECT_FALSE(printer->Printing());
}

TEST_F(PrintersTest, APageIsDrawnThroughTheCanvasFrontEvenAcrossALockBracket) {
    std::string path = (dir / "locked.pdf").string();
    printer->SetFileName(String(path));
    printer->BeginDoc();
    TCanvas* c = printer->Canvas();
    // The canvas keeps its rules on a page: a handle, clipping, the raster operations.
    TCanvasLock lock(c);
    IntersectClipRect(c->Handle(), 0, 0, 20, 20);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 40, 40));
    PatBlt(c->Handle(), 0, 0, 10, 10, DSTINVERT);
    EXPECT_EQ(c->Pixels(5, 5), static_cast<TColor>(0xFFFF00));  // red inverted
    EXPECT_EQ(c->Pixels(15, 15), clRed);
    EXPECT_EQ(c->Pixels(30, 30), static_cast<TColor>(CLR_INVALID));  // outside the clip
    SelectClipRgn(c->Handle(), nullptr);
    printer->NewPage();  // still locked: the bracket moves to the new page
    EXPECT_EQ(c->Pixels(15, 15), clWhite);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(c->Pixels(5, 5), clRed);
    printer->EndDoc();
    EXPECT_EQ(c->Bitmap(), nullptr);  // no page outside a document
    EXPECT_EQ(CountPages(ReadFile(path)), 2);
}

TEST_F(PrintersTest, APrinterFreedWhilePrintingDropsTheDocument) {
    std::string path = (dir / "freed.pdf").string();
    printer->SetFileName(String(path));
    printer->BeginDoc();
    printer->Canvas()->Lock();
    printer->Canvas()->Rectangle(0, 0, 50, 50);
    printer.reset();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PrintersTest, TheGlobalPrinterCanBeReplaced) {
    TPrinter* first = Printer();
    EXPECT_EQ(Printer(), first);
    auto* mine = new TPrinter();
    TPrinter* old = SetPrinter(mine);
    EXPECT_EQ(old, first);
    EXPECT_EQ(Printer(), mine);
    delete SetPrinter(old);
}
