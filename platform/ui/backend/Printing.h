#pragma once
// The printers of the desktop and the PDF printer, as the backend reaches them. Pages arrive as
// bitmaps at the job's resolution (see TPrinter).
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

namespace ui {

struct PrintSettings {
    String printer;   // a desktop printer; empty for the PDF printer
    String fileName;  // set: the document is written to this PDF file
    String title;
    bool landscape = false;
    int copies = 1;
    int dpi = 96;
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
    // The printable area in pixels at dpi, for a printer (empty: PDF) and orientation.
    virtual TSize PageSize(const String& printer, bool landscape, int dpi) = 0;
    // nullptr when the output cannot be opened.
    virtual std::unique_ptr<PrintJob> BeginJob(const PrintSettings& settings) = 0;
};

}  // namespace ui
