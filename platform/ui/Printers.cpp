#include "platform/ui/Printers.h"

#include <string>
#include <utility>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Printing.h"

namespace ui {

// The printer's canvas implementation: the pages of one print job. Each page is a white bitmap of
// the page's size that the backend's raster canvas draws on, and goes to the job when the next
// page starts or the document ends. Outside a job there is no page, so drawing draws nothing.
class PrinterPageCanvas final : public CanvasForwarder {
public:
    explicit PrinterPageCanvas(TCanvas& front) : FFront(front) {}
    // Goes with its front (the printer): a job still running is dropped.
    ~PrinterPageCanvas() override {
        FRaster.reset();  // lets go of the page while it is still there
        FPage.reset();
        if (FJob) FJob->Abort();
    }

    bool Printing() const { return FJob != nullptr; }
    const PageGeometry& Page() const { return FPage_; }

    void Begin(std::unique_ptr<PrintJob> job, const PageGeometry& page) {
        FJob = std::move(job);
        FPage_ = page;
        FSize = TSize(page.printable.Right - page.printable.Left, page.printable.Bottom - page.printable.Top);
        // What GetDeviceCaps tells of the sheet.
        TCanvasDc& dc = FFront.Dc();
        dc.sheet = page.sheet;
        dc.sheetOffset = TPoint(page.printable.Left, page.printable.Top);
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

private:
    // Drawing is the raster canvas's, on the page.
    CanvasImpl& Inner() override {
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
    PageGeometry FPage_;
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

ui::PrinterService& Service() { return ui::GetBackend().Printing(); }

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
    ApplyResolution();
}

void TPrinter::ApplyResolution() {
    FCanvas->SetPixelsPerInch(FResolution, FResolution);
    // The font keeps its size in points at the new resolution.
    TFont* f = FCanvas->Font();
    if (f->PixelsPerInch() == FResolution) return;
    int size = f->Size();
    f->SetPixelsPerInch(FResolution);
    f->SetSize(size);
}

void TPrinter::SetPaperSize(TPaper paper) {
    static const TSize kSheets[] = {{2100, 2970}, {2970, 4200}, {1480, 2100}, {2159, 2794}, {2159, 3556}};
    TSize s = kSheets[static_cast<int>(paper)];
    SetPaperSize(s.cx, s.cy);
}

void TPrinter::SetPaperSize(int width, int height) {
    CheckPrinting(false);
    constexpr int kMost = 100000;  // 10 m in 0.1 mm
    if (width <= 0 || height <= 0 || width > kMost || height > kMost)
        throw EPrinter(String("Paper size ") + String(std::to_string(width)) + String(" x ") +
                       String(std::to_string(height)) + String(" (0.1 mm) is out of range"));
    FPaper = TSize(width, height);
}

ui::PageGeometry TPrinter::Page() {
    if (FPages->Printing()) return FPages->Page();  // while printing: the page being drawn
    return Service().Page(Settings());
}

TSize TPrinter::PageSize() {
    TRect r = Page().printable;
    return TSize(r.Right - r.Left, r.Bottom - r.Top);
}

int TPrinter::PageWidth() { return PageSize().cx; }
int TPrinter::PageHeight() { return PageSize().cy; }

ui::PrinterSettings TPrinter::Settings() {
    ui::PrinterSettings s;
    int i = PrinterIndex();
    if (i != PdfPrinterIndex()) s.Printer = (*Printers())[i];
    s.FileName = FFileName;
    s.Landscape = FOrientation == poLandscape;
    s.Copies = FCopies;
    s.Dpi = FResolution;
    s.Paper = FPaper;
    // A PDF file has no unprintable border; it takes A4 unless told otherwise.
    s.FullPage = s.Printer.IsEmpty();
    if (s.FullPage && (FPaper.cx <= 0 || FPaper.cy <= 0)) s.Paper = TSize(2100, 2970);
    return s;
}

void TPrinter::CheckPrinting(bool printing) const {
    if (printing && !Printing()) throw EPrinter(String("Printer is not currently printing"));
    if (!printing && Printing()) throw EPrinter(String("Printing in progress"));
}

void TPrinter::BeginDoc() {
    CheckPrinting(false);
    ui::PrinterSettings settings = Settings();
    bool pdf = settings.Printer.IsEmpty();
    // The PDF printer needs somewhere to write: no file name is an error, not a silent success.
    if (pdf && FFileName.IsEmpty()) throw EPrinter(String("No output file name for the PDF printer"));
    ui::PageGeometry page = Service().Page(settings);
    FAborted = false;
    std::unique_ptr<ui::PrintJob> job = Service().BeginJob(settings, FTitle);
    if (!job) throw EPrinter(String("Cannot start printing on ") + (pdf ? String(kPdfName) : settings.Printer));
    FPageNumber = 1;
    ApplyResolution();
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

namespace {
int& LandscapeAngle() {
    static int angle = 90;
    return angle;
}
}  // namespace

void ui::SetLandscapeAngle(int degrees) {
    if (degrees == 90 || degrees == 270) LandscapeAngle() = degrees;
}

int DeviceCapabilities(const String&, const String&, int capability, void*, const void*) {
    return capability == DC_ORIENTATION ? LandscapeAngle() : -1;
}
