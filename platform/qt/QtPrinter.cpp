// The printer service: desktop printers through the print system, the PDF printer (and print
// to file) through Qt's PDF writer. Pages arrive as bitmaps at the job's resolution.
#include "platform/qt/QtPrinter.h"

#include <QFile>
#include <QPainter>
#include <QPageLayout>
#include <QPrinterInfo>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtServices.h"

namespace {

void Setup(QPrinter& q, const String& printer, const String& fileName, bool landscape, int dpi) {
    if (printer.IsEmpty() || !fileName.IsEmpty()) {
        q.setOutputFormat(QPrinter::PdfFormat);
        q.setOutputFileName(qtb::QStringOf(fileName));
    } else {
        q.setOutputFormat(QPrinter::NativeFormat);
        q.setPrinterName(qtb::QStringOf(printer));
    }
    q.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    q.setResolution(dpi);
    q.setFullPage(false);
}

}  // namespace

namespace qtb {

void ConfigureQPrinter(const ui::PrinterSettings& printer, QPrinter& q) {
    Setup(q, printer.Printer, printer.FileName, printer.Landscape, printer.Dpi);
    q.setCopyCount(printer.Copies);
}

namespace {

class QtPrintJob final : public ui::PrintJob {
public:
    void AddPage(TBitmap& page, bool newPageFirst) override {
        if (newPageFirst) printer.newPage();
        const QImage& image = ImageOf(page);
        painter.drawImage(QRect(0, 0, image.width(), image.height()), image);
    }
    bool Finish() override { return painter.end(); }
    void Abort() override {
        printer.abort();
        if (painter.isActive()) painter.end();
        if (!pdfFile.isEmpty()) QFile::remove(pdfFile);
    }

    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    QString pdfFile;
};

class QtPrinterService final : public ui::PrinterService {
public:
    std::vector<String> Printers() override {
        EnsureApplication();
        std::vector<String> names;
        for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(StringOf(n));
        return names;
    }

    int DefaultPrinter() override {
        EnsureApplication();
        QString def = QPrinterInfo::defaultPrinterName();
        if (def.isEmpty()) return -1;
        return static_cast<int>(QPrinterInfo::availablePrinterNames().indexOf(def));
    }

    TSize PageSize(const String& printer, bool landscape, int dpi) override {
        EnsureApplication();
        QPrinter q(QPrinter::HighResolution);
        Setup(q, printer, printer.IsEmpty() ? String("/dev/null") : String(), landscape, dpi);
        QRect r = q.pageLayout().paintRectPixels(dpi);
        return TSize{r.width(), r.height()};
    }

    std::unique_ptr<ui::PrintJob> BeginJob(const ui::PrinterSettings& settings, const String& title) override {
        EnsureApplication();
        auto job = std::make_unique<QtPrintJob>();
        Setup(job->printer, settings.Printer, settings.FileName, settings.Landscape, settings.Dpi);
        job->printer.setCopyCount(settings.Copies);
        job->printer.setDocName(QStringOf(title));
        job->printer.setCreator(QStringLiteral("workbench"));
        if (job->printer.outputFormat() == QPrinter::PdfFormat) job->pdfFile = job->printer.outputFileName();
        if (!job->painter.begin(&job->printer)) return nullptr;
        return job;
    }
};

}  // namespace

ui::PrinterService& PrintService() {
    static QtPrinterService service;
    return service;
}

}  // namespace qtb
