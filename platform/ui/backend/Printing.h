#pragma once
// The printers of the desktop and the PDF printer, as the backend reaches them. Pages arrive as
// bitmaps at the job's resolution (see TPrinter).
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

namespace ui {

// A printer as chosen: a desktop printer's name (empty: the PDF printer), the output file (a set
// name makes any job a PDF file), orientation, copies, dots per inch and the paper in 0.1 mm
// (portrait; empty: the printer's own). FullPage prints on the whole sheet (a PDF file has no
// unprintable border); otherwise the print system's printable area is the page.
struct PrinterSettings {
    String Printer;
    String FileName;
    bool Landscape = false;
    int Copies = 1;
    int Dpi = 96;
    TSize Paper;
    bool FullPage = false;
};

// A page as the printer lays it out, in pixels at the job's resolution: the sheet, and the
// printable area on it that is the page's bitmap.
struct PageGeometry {
    TSize sheet;
    TRect printable;
};

class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Puts a finished page into the document, after a page break when it is not the first.
    virtual void AddPage(TBitmap& page, bool newPageFirst) = 0;
    // Sends the document; false when the print system refused it.
    virtual bool Finish() = 0;
    // Drops the document; a partial file is removed.
    virtual void Abort() = 0;
};

class PrinterService {
public:
    virtual ~PrinterService() = default;
    virtual std::vector<String> Printers() = 0;
    // Index into Printers of the desktop's default printer, or -1.
    virtual int DefaultPrinter() = 0;
    // The sheet and its printable area for the settings.
    virtual PageGeometry Page(const PrinterSettings& settings) = 0;
    // nullptr when the job cannot start (no such printer, an output file that cannot be opened).
    virtual std::unique_ptr<PrintJob> BeginJob(const PrinterSettings& settings, const String& title) = 0;
};

}  // namespace ui
