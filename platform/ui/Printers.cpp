#include "platform/ui/Printers.h"

#include <utility>

#include "platform/ui/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Printing.h"

namespace ui {

// The printer's canvas implementation: the pages of one print job. Each page is a white bitmap of
// the page's size that the backend's raster canvas draws on, and goes to the job when the next
// page starts or the document ends. Outside a job there is no page, so drawing draws nothing.
class PrinterPageCanvas final : public CanvasImpl {
public:
    explicit PrinterPageCanvas(TCanvas& front) : FFront(front) {}
    // Goes with its front (the printer): a job still running is dropped.
    ~PrinterPageCanvas() override {
        FRaster.reset();  // lets go of the page while it is still there
        FPage.reset();
        if (FJob) FJob->Abort();
    }

    bool Printing() const { return FJob != nullptr; }
    TSize PageSize() const { return FSize; }

    void Begin(std::unique_ptr<PrintJob> job, TSize size) {
        FJob = std::move(job);
        FSize = size;
        FPages = 0;
        StartPage();
    }
    void NextPage() {
        HandOver();
        StartPage();
    }
    // Hands the last page over and sends the document; false when the print system refused it.
    bool End() {
        HandOver();
        return std::exchange(FJob, nullptr)->Finish();
    }
    void Abort() {
        FFront.SetBitmap(nullptr);
        FPage.reset();
        std::exchange(FJob, nullptr)->Abort();
    }

    // Drawing is the raster canvas's, on the page.
    void Lock() override { Raster().Lock(); }
    void Unlock() override { Raster().Unlock(); }
    void SurfaceChanged(TBitmap* old) override { Raster().SurfaceChanged(old); }
    void SurfaceGone() override { Raster().SurfaceGone(); }
    void ClipChanged() override { Raster().ClipChanged(); }
    void MoveTo(TPoint to) override { Raster().MoveTo(to); }
    bool LineTo(TPoint from, TPoint to) override { return Raster().LineTo(from, to); }
    bool Polyline(const TPoint* points, int count) override { return Raster().Polyline(points, count); }
    bool Polygon(const TPoint* points, int count) override { return Raster().Polygon(points, count); }
    bool Shape(ShapeKind kind, const TRect& box, TPoint p1, TPoint p2) override { return Raster().Shape(kind, box, p1, p2); }
    bool FillRect(const TRect& rect) override { return Raster().FillRect(rect); }
    bool FrameRect(const TRect& rect) override { return Raster().FrameRect(rect); }
    bool FillSolid(const TRect& rect, TColor color) override { return Raster().FillSolid(rect, color); }
    bool FocusRect(const TRect& rect) override { return Raster().FocusRect(rect); }
    bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) override {
        return Raster().Text(at, text, width, clip, opaque);
    }
    bool DrawBitmap(const TRect& dest, TBitmap& bitmap, const TRect& source, bool transparent, TColor transparentColor,
                    bool useAlpha) override {
        return Raster().DrawBitmap(dest, bitmap, source, transparent, transparentColor, useAlpha);
    }
    Transfer StretchBlt(int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, DWORD rop) override {
        return Raster().StretchBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
    }
    bool BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color) override {
        return Raster().BrushCopy(dest, bitmap, source, color);
    }
    TColor Pixel(TPoint device) override { return Raster().Pixel(device); }
    bool SetPixel(TPoint device, TColor color) override { return Raster().SetPixel(device, color); }
    bool FloodFill(TPoint device, TColor color, TFillStyle style) override { return Raster().FloodFill(device, color, style); }

private:
    CanvasImpl& Raster() {
        if (!FRaster) FRaster = GetBackend().CreateRasterCanvas(FFront);
        return *FRaster;
    }
    void StartPage() {
        auto page = std::make_unique<TBitmap>();
        page->SetSize(FSize.cx, FSize.cy);
        FFront.SetBitmap(page.get());
        FPage = std::move(page);
        FFront.Refresh();
    }
    void HandOver() {
        FFront.SetBitmap(nullptr);
        FJob->AddPage(*FPage, FPages++ > 0);
        FPage.reset();
    }

    TCanvas& FFront;
    std::unique_ptr<CanvasImpl> FRaster;
    std::unique_ptr<PrintJob> FJob;
    std::unique_ptr<TBitmap> FPage;
    TSize FSize;
    int FPages = 0;
};

}  // namespace ui

namespace {

std::unique_ptr<TPrinter>& GlobalPrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

const char* const kPdfName = "PDF";

ui::PrinterService& Service() { return ui::GetBackend().Printers(); }

}  // namespace

TPrinter::TPrinter() : FPrinters(std::make_unique<TStringList>()), FCanvas(std::make_unique<TCanvas>()) {
    auto pages = std::make_unique<ui::PrinterPageCanvas>(*FCanvas);
    FPages = pages.get();
    FCanvas->SetImplementation(std::move(pages));
}

TPrinter::~TPrinter() = default;  // the page canvas drops a job still running

bool TPrinter::Printing() const { return FPages->Printing(); }

TStrings* TPrinter::Printers() {
    FPrinters->Clear();
    for (const String& name : Service().Printers()) FPrinters->Add(name);
    FPrinters->Add(String(kPdfName));
    return FPrinters.get();
}

int TPrinter::PdfPrinterIndex() { return Printers()->Count() - 1; }

int TPrinter::PrinterIndex() {
    int count = Printers()->Count();
    if (FPrinterIndex >= 0 && FPrinterIndex < count) return FPrinterIndex;
    int def = Service().DefaultPrinter();
    return def >= 0 && def < count - 1 ? def : count - 1;
}

void TPrinter::SetPrinterIndex(int value) {
    CheckPrinting(false);
    if (value < -1 || value >= Printers()->Count()) throw EPrinter(String("Printer selected is not valid"));
    FPrinterIndex = value;
}

bool TPrinter::PrintsToFile() { return PrinterIndex() == PdfPrinterIndex() || !FFileName.IsEmpty(); }

void TPrinter::SetFileName(const String& value) {
    CheckPrinting(false);
    FFileName = value;
}

void TPrinter::SetOrientation(TPrinterOrientation value) {
    CheckPrinting(false);
    FOrientation = value;
}

void TPrinter::SetCopies(int value) {
    CheckPrinting(false);
    FCopies = value < 1 ? 1 : value;
}

void TPrinter::SetResolution(int dpi) {
    CheckPrinting(false);
    if (dpi < 36 || dpi > 1200) throw EPrinter(String("Printer resolution out of range"));
    FResolution = dpi;
}

TSize TPrinter::PageSize() {
    if (FPages->Printing()) return FPages->PageSize();  // while printing: the page being drawn
    int i = PrinterIndex();
    String name = i == PdfPrinterIndex() ? String() : (*Printers())[i];
    return Service().PageSize(name, FOrientation == poLandscape, FResolution);
}

int TPrinter::PageWidth() { return PageSize().cx; }
int TPrinter::PageHeight() { return PageSize().cy; }

void TPrinter::CheckPrinting(bool printing) const {
    if (printing && !Printing()) throw EPrinter(String("Printer is not currently printing"));
    if (!printing && Printing()) throw EPrinter(String("Printing in progress"));
}

void TPrinter::BeginDoc() {
    CheckPrinting(false);
    int i = PrinterIndex();
    bool pdf = i == PdfPrinterIndex();
    // The PDF printer needs somewhere to write: no file name is an error, not a silent success.
    if (pdf && FFileName.IsEmpty()) throw EPrinter(String("No output file name for the PDF printer"));
    ui::PrintSettings settings;
    settings.printer = pdf ? String() : (*Printers())[i];
    settings.fileName = FFileName;
    settings.title = FTitle;
    settings.landscape = FOrientation == poLandscape;
    settings.copies = FCopies;
    settings.dpi = FResolution;
    TSize page = PageSize();
    FAborted = false;
    std::unique_ptr<ui::PrintJob> job = Service().BeginJob(settings);
    if (!job) throw EPrinter(String("Cannot start printing on ") + (pdf ? String(kPdfName) : settings.printer));
    FPageNumber = 1;
    FPages->Begin(std::move(job), page);
}

void TPrinter::NewPage() {
    CheckPrinting(true);
    FPages->NextPage();
    ++FPageNumber;
}

void TPrinter::EndDoc() {
    CheckPrinting(true);
    FPageNumber = 0;
    if (!FPages->End()) throw EPrinter(String("The document could not be printed"));
}

void TPrinter::Abort() {
    CheckPrinting(true);
    FPageNumber = 0;
    FAborted = true;
    FPages->Abort();
}

TPrinter* Printer() {
    auto& p = GlobalPrinter();
    if (!p) p = std::make_unique<TPrinter>();
    return p.get();
}

TPrinter* SetPrinter(TPrinter* NewPrinter) {
    auto& p = GlobalPrinter();
    TPrinter* old = p.release();
    p.reset(NewPrinter);
    return old;
}
