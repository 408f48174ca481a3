#include <gtest/gtest.h>

#include <cstdio>
#include <cctype>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/ui/Gdi.h"
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

// The page sizes of a PDF in millimetres, from its "/MediaBox [x0 y0 x1 y1]" entries in points.
std::vector<std::pair<double, double>> PageSizesMm(const std::string& pdf) {
    std::vector<std::pair<double, double>> sizes;
    for (size_t at = pdf.find("/MediaBox"); at != std::string::npos; at = pdf.find("/MediaBox", at + 1)) {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        size_t open = pdf.find('[', at);
        if (open == std::string::npos ||
            std::sscanf(pdf.c_str() + open + 1, "%lf %lf %lf %lf", &x0, &y0, &x1, &y1) != 4)
            continue;
        sizes.emplace_back((x1 - x0) * 25.4 / 72, (y1 - y0) * 25.4 / 72);
    }
    return sizes;
}

// Whether a PDF's bytes hold text, as written plainly or as big-endian UTF-16 (hex or bytes).
bool PdfHasText(const std::string& pdf, const std::string& text) {
    if (pdf.find(text) != std::string::npos) return true;
    std::string wide, hex;
    static const char* digits = "0123456789ABCDEF";
    for (char ch : text) {
        wide += '\0';
        wide += ch;
        hex += "00";
        hex += digits[(ch >> 4) & 15];
        hex += digits[ch & 15];
    }
    std::string upper = pdf;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return pdf.find(wide) != std::string::npos || upper.find(hex) != std::string::npos;
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
    // The PDF printer prints on the whole A4 sheet: 827 x 1169 pixels at 100 dpi.
    EXPECT_NEAR(w, 827, 1);
    EXPECT_NEAR(h, 1169, 1);
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

TEST_F(PrintersTest, A4At600DpiIsTheWholeSheetInPixelsMillimetresAndThePdf) {
    printer->SetResolution(600);
    // As the toolkit rounds the sheet to whole points: 4958 x 7016.
    EXPECT_NEAR(printer->PageWidth(), 4961, 4);
    EXPECT_NEAR(printer->PageHeight(), 7016, 4);
    std::string path = (dir / "a4.pdf").string();
    printer->SetFileName(String(path));
    printer->SetTitle(String("Monthly air report"));
    printer->BeginDoc();
    TCanvas* c = printer->Canvas();
    HDC dc = printer->Handle();
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), printer->PageWidth());
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), printer->PageHeight());
    EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 210);
    EXPECT_EQ(GetDeviceCaps(dc, VERTSIZE), 297);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), printer->PageWidth());
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), printer->PageHeight());
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 0);
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & (RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB),
              RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB);

    // The page in 0.1 mm, y upwards.
    SetMapMode(dc, MM_LOMETRIC);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box.Left, 0);
    EXPECT_EQ(box.Top, 0);
    EXPECT_NEAR(box.Right, 2100, 1);
    EXPECT_NEAR(box.Bottom, -2970, 1);

    // Points are points on paper; logical heights are the same length as on a bitmap.
    c->Font()->SetSize(10);
    EXPECT_EQ(c->Font()->Height(), -83);
    TBitmap screen(10, 10);
    EXPECT_EQ(screen.Canvas()->Font()->PixelsPerInch(), 96);
    screen.Canvas()->Font()->SetSize(10);
    EXPECT_EQ(screen.Canvas()->Font()->Height(), -13);
    for (TCanvas* k : {c, screen.Canvas()}) {
        SetMapMode(k->Handle(), MM_LOMETRIC);
        k->Font()->SetName("Arial");
        k->Font()->SetHeight(-35);
    }
    EXPECT_NEAR(c->TextHeight(String("gh")), screen.Canvas()->TextHeight(String("gh")), 1);

    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(100, -100, 200, -200));
    SetMapMode(dc, MM_TEXT);
    EXPECT_EQ(c->Pixels(300, 300), clRed);  // 15 mm in: 354 pixels at 600 dpi
    printer->NewPage();
    printer->EndDoc();

    std::string pdf = ReadFile(path);
    EXPECT_EQ(CountPages(pdf), 2);
    auto sizes = PageSizesMm(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    for (auto [w, h] : sizes) {
        EXPECT_NEAR(w, 210, 0.1);
        EXPECT_NEAR(h, 297, 0.1);
    }
    EXPECT_TRUE(PdfHasText(pdf, "Monthly air report"));
}

TEST_F(PrintersTest, PaperSizesAndLandscapeReachThePdf) {
    struct Case {
        const char* name;
        TPaper paper;
        bool landscape;
        double w, h;
    } cases[] = {
        {"letter", TPaper::Letter, false, 215.9, 279.4},
        {"letter-landscape", TPaper::Letter, true, 279.4, 215.9},
        {"a5", TPaper::A5, false, 148, 210},
        {"legal", TPaper::Legal, false, 215.9, 355.6},
    };
    for (const Case& k : cases) {
        printer->SetPaperSize(k.paper);
        printer->SetOrientation(k.landscape ? poLandscape : poPortrait);
        EXPECT_NEAR(printer->PageWidth(), k.w * 100 / 25.4, 1) << k.name;
        EXPECT_NEAR(printer->PageHeight(), k.h * 100 / 25.4, 1) << k.name;
        std::string path = (dir / (std::string(k.name) + ".pdf")).string();
        printer->SetFileName(String(path));
        printer->BeginDoc();
        printer->EndDoc();
        auto sizes = PageSizesMm(ReadFile(path));
        ASSERT_EQ(sizes.size(), 1u) << k.name;
        EXPECT_NEAR(sizes[0].first, k.w, 0.2) << k.name;
        EXPECT_NEAR(sizes[0].second, k.h, 0.2) << k.name;
    }
    printer->SetOrientation(poPortrait);
    printer->SetPaperSize(1000, 1500);  // custom, 10 x 15 cm
    EXPECT_EQ(printer->PaperSize(), TSize(1000, 1500));
    EXPECT_NEAR(printer->PageWidth(), 394, 1);
    EXPECT_NEAR(printer->PageHeight(), 591, 1);
}

TEST_F(PrintersTest, ABadPaperSizeOrAChangeWhilePrintingIsRefused) {
    printer->SetPaperSize(TPaper::A5);
    for (TSize bad : {TSize(0, 2970), TSize(2100, -1), TSize(100001, 2970), TSize(2100, 100001)}) {
        try {
            printer->SetPaperSize(bad.cx, bad.cy);
            ADD_FAILURE() << bad.cx << " x " << bad.cy << " was taken";
        } catch (const EPrinter& e) {
            std::string text = e.Message().ToUtf8();
            EXPECT_NE(text.find(std::to_string(bad.cx) + " x " + std::to_string(bad.cy)), std::string::npos) << text;
        }
        EXPECT_EQ(printer->PaperSize(), TSize(1480, 2100));
    }
    std::string path = (dir / "steady.pdf").string();
    printer->SetFileName(String(path));
    printer->BeginDoc();
    EXPECT_THROW(printer->SetPaperSize(TPaper::A3), EPrinter);
    EXPECT_THROW(printer->SetPaperSize(1000, 1000), EPrinter);
    EXPECT_TRUE(printer->Printing());
    printer->NewPage();
    printer->EndDoc();
    auto sizes = PageSizesMm(ReadFile(path));
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[1].first, 148, 0.2);
}

TEST_F(PrintersTest, DeviceCapabilitiesTellTheLandscapeAngleOnly) {
    char out[64] = {};
    EXPECT_EQ(DeviceCapabilities(String("PDF"), String(), DC_ORIENTATION, nullptr, nullptr), 90);
    ui::SetLandscapeAngle(270);
    EXPECT_EQ(DeviceCapabilities(String("PDF"), String(), DC_ORIENTATION, nullptr, nullptr), 270);
    ui::SetLandscapeAngle(45);  // not an angle a printer turns by
    EXPECT_EQ(DeviceCapabilities(String("PDF"), String(), DC_ORIENTATION, nullptr, nullptr), 270);
    ui::SetLandscapeAngle(90);
    EXPECT_EQ(DeviceCapabilities(String("PDF"), String(), DC_PAPERS, out, nullptr), -1);
    for (char ch : out) EXPECT_EQ(ch, 0);  // nothing written
}
