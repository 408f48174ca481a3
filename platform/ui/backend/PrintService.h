#pragma once
// The print system: the desktop's printers, page sizes and print runs. The "PDF" printer is the
// library's own (an empty printer name); the backend writes it with its PDF writer.
#include <vector>

#include "platform/ui/Graphics.h"

struct TPrinterJob;  // a print run, defined by the backend

namespace ui {

// A printer as chosen: a desktop printer's name (empty: the PDF printer), the output file (a set
// name makes any job a PDF file), orientation, copies and dots per inch.
struct PrinterSettings {
    String Printer;
    String FileName;
    bool Landscape = false;
    int Copies = 1;
    int Dpi = 96;
};

class PrintService {
public:
    virtual ~PrintService() = default;
    virtual std::vector<String> Printers() = 0;
    // Index into Printers of the default printer, or -1.
    virtual int DefaultPrinter() = 0;
    // Page size in pixels at dpi for a printer name (empty: PDF) and orientation.
    virtual TSize PageSize(const String& printer, bool landscape, int dpi) = 0;
    // nullptr when the job cannot start (no such printer, an output file that cannot be opened).
    virtual TPrinterJob* BeginJob(const PrinterSettings& settings, const String& title) = 0;
    virtual void PrintPage(TPrinterJob* job, TBitmap& page, bool newPageFirst) = 0;
    // Ends the job and frees it; abort drops it (a partial PDF file is removed). False when the
    // print system refused the document.
    virtual bool EndJob(TPrinterJob* job, bool abort) = 0;
};

}  // namespace ui
