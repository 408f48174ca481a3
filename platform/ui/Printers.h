#pragma once
// The printer: the desktop's printers plus a "PDF" printer that writes a PDF file and always
// exists. A document is drawn page by page on Canvas, a TCanvas like any other whose
// implementation is the printer's page canvas: each page is a bitmap at the printer's
// resolution, drawn by the backend's raster canvas and handed to the print system when the page
// ends. The printers themselves are the backend's print service.
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Printing.h"

RTL_DECLARE_EXCEPTION(EPrinter, Exception);

enum TPrinterOrientation { poPortrait, poLandscape };
// Standard sheets; a custom one is given by its size.
enum class TPaper { A4, A3, A5, Letter, Legal };

namespace ui {
class PrinterPageCanvas;
}

class TPrinter : public TPersistent {
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;
    const char* ClassName() const override { return "TPrinter"; }

    // Printer names: the desktop's printers, then "PDF". Read again on each call.
    TStrings* Printers();
    // Index into Printers; -1 selects the default printer (the desktop's default, else PDF).
    int PrinterIndex();
    void SetPrinterIndex(int value);
    // The index of the "PDF" printer in Printers.
    int PdfPrinterIndex();
    // True when the selected printer is the PDF printer or an output file is set.
    bool PrintsToFile();
    // Output file: with the PDF printer the document is written here; with a desktop printer a
    // set name makes the job a PDF file too (print to file).
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& value);

    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation value);
    int Copies() const { return FCopies; }
    void SetCopies(int value);
    // Dots per inch of the page bitmaps, 96 by default. The canvas reports it (LOGPIXELSX and
    // LOGPIXELSY), its mapping modes scale by it and its font converts points with it, so points
    // and millimetres come out right on paper at any resolution.
    int Resolution() const { return FResolution; }
    void SetResolution(int dpi);
    // The paper, portrait, in 0.1 mm: a standard sheet, or a custom one of 1 to 100000 (10 m) each
    // way (EPrinter naming the size otherwise, the old paper kept). Empty until set: the PDF printer
    // then takes A4, a desktop printer its own default paper.
    void SetPaperSize(TPaper paper);
    void SetPaperSize(int width, int height);
    TSize PaperSize() const { return FPaper; }
    // The page in device pixels, for the selected printer, paper and orientation: the whole sheet
    // on the PDF printer, the print system's printable area on a desktop printer.
    int PageWidth();
    int PageHeight();
    // The selected printer (empty: PDF), output file, orientation, copies, resolution and paper, as
    // the print system takes them.
    ui::PrinterSettings Settings();

    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }

    // BeginDoc starts a document with page 1; NewPage ends a page and starts the next one; EndDoc
    // sends the document; Abort drops it (a partial PDF file is removed). Each raises EPrinter
    // when called at the wrong time or when the output cannot be opened.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const;
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }
    // Draws on the current page; outside a document it has no surface.
    TCanvas* Canvas() { return FCanvas.get(); }
    HDC Handle() { return FCanvas->Handle(); }

private:
    void CheckPrinting(bool printing) const;
    ui::PageGeometry Page();
    TSize PageSize();
    // The canvas takes the resolution: its device's pixels per inch and its font's.
    void ApplyResolution();

    std::unique_ptr<TStringList> FPrinters;
    std::unique_ptr<TCanvas> FCanvas;
    ui::PrinterPageCanvas* FPages;  // the canvas's implementation
    int FPrinterIndex = -1;
    String FFileName;
    String FTitle;
    TPrinterOrientation FOrientation = poPortrait;
    int FCopies = 1;
    int FResolution = 96;
    TSize FPaper;
    int FPageNumber = 0;
    bool FAborted = false;
};

// Capabilities of a printer. DC_ORIENTATION answers how landscape turns portrait, in degrees
// counter-clockwise: 90 for the layer's printers (the page bitmap is drawn turned by the print
// system). Every other capability answers -1 (not supported) and writes nothing to output.
constexpr int DC_PAPERS = 2, DC_ORIENTATION = 17;
int DeviceCapabilities(const String& device, const String& port, int capability, void* output, const void* devmode);
namespace ui {
// For tests of callers that handle printers turning the other way: 90 or 270 (else ignored).
void SetLandscapeAngle(int degrees);
}  // namespace ui

// The process's printer, made on first use.
TPrinter* Printer();
// Replaces it (the old one is returned and no longer owned).
TPrinter* SetPrinter(TPrinter* NewPrinter);
