#include "platform/ui/Printers.h"

#include <cstdio>

#include "platform/ui/backend/Backend.h"

namespace {

std::unique_ptr<TPrinter>& GlobalPrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

const char* const kPdfName = "PDF";

}  // namespace

TPrinter::TPrinter() : FPrinters(std::make_unique<TStringList>()), FCanvas(std::make_unique<TCanvas>()) {}

TPrinter::~TPrinter() {
    if (FJob) {
        ui::GetBackend().Printing().EndJob(FJob, true);
        FJob = nullptr;
    }
    FCanvas->SetBitmap(nullptr);
}

TStrings* TPrinter::Printers() {
    FPrinters->Clear();
    for (const String& name : ui::GetBackend().Printing().Printers()) FPrinters->Add(name);
    FPrinters->Add(String(kPdfName));
    return FPrinters.get();
}

int TPrinter::PdfPrinterIndex() { return Printers()->Count() - 1; }

int TPrinter::PrinterIndex() {
    int count = Printers()->Count();
    if (FPrinterIndex >= 0 && FPrinterIndex < count) return FPrinterIndex;
    int def = ui::GetBackend().Printing().DefaultPrinter();
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

int TPrinter::PageWidth() {
    if (FPage) return FPage->Width();  // while printing: the page being drawn
    return ui::GetBackend().Printing().PageSize(Settings().Printer, FOrientation == poLandscape, FResolution).cx;
}

int TPrinter::PageHeight() {
    if (FPage) return FPage->Height();
    return ui::GetBackend().Printing().PageSize(Settings().Printer, FOrientation == poLandscape, FResolution).cy;
}

ui::PrinterSettings TPrinter::Settings() {
    ui::PrinterSettings s;
    int i = PrinterIndex();
    if (i != PdfPrinterIndex()) s.Printer = (*Printers())[i];
    s.FileName = FFileName;
    s.Landscape = FOrientation == poLandscape;
    s.Copies = FCopies;
    s.Dpi = FResolution;
    return s;
}

void TPrinter::CheckPrinting(bool printing) const {
    if (printing && !FJob) throw EPrinter(String("Printer is not currently printing"));
    if (!printing && FJob) throw EPrinter(String("Printing in progress"));
}

void TPrinter::StartPage() {
    FPage.reset();
    int w = PageWidth(), h = PageHeight();
    FPage = std::make_unique<TBitmap>();
    FPage->SetSize(w, h);
    FCanvas->SetBitmap(FPage.get());
    FCanvas->Refresh();
}

void TPrinter::FlushPage() {
    FCanvas->SetBitmap(nullptr);
    ui::GetBackend().Printing().PrintPage(FJob, *FPage, FPageNumber > 1);
    FPage.reset();
}

void TPrinter::BeginDoc() {
    CheckPrinting(false);
    ui::PrinterSettings settings = Settings();
    bool pdf = settings.Printer.IsEmpty();
    // The PDF printer needs somewhere to write: no file name is an error, not a silent success.
    if (pdf && FFileName.IsEmpty()) throw EPrinter(String("No output file name for the PDF printer"));
    FAborted = false;
    FJob = ui::GetBackend().Printing().BeginJob(settings, FTitle);
    if (!FJob) throw EPrinter(String("Cannot start printing on ") + (pdf ? String(kPdfName) : settings.Printer));
    FPageNumber = 1;
    StartPage();
}

void TPrinter::NewPage() {
    CheckPrinting(true);
    FlushPage();
    ++FPageNumber;
    StartPage();
}

void TPrinter::EndDoc() {
    CheckPrinting(true);
    FlushPage();
    TPrinterJob* job = FJob;
    FJob = nullptr;
    FPageNumber = 0;
    if (!ui::GetBackend().Printing().EndJob(job, false)) throw EPrinter(String("The document could not be printed"));
}

void TPrinter::Abort() {
    CheckPrinting(true);
    FCanvas->SetBitmap(nullptr);
    FPage.reset();
    TPrinterJob* job = FJob;
    FJob = nullptr;
    FPageNumber = 0;
    FAborted = true;
    ui::GetBackend().Printing().EndJob(job, true);
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
