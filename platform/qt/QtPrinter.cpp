// Printing through QPrinter: desktop printers through the print system, the PDF printer (and
// print to file) through Qt's PDF writer. Pages arrive as bitmaps at the job's resolution.
#include "platform/qt/QtPrinter.h"

#include <QFile>
#include <QPainter>
#include <QPageLayout>
#include <QPrinterInfo>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtServices.h"

struct TPrinterJob {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    QString pdfFile;
};

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

}  // namespace qtb

namespace qtb {

namespace {

class QtPrintService final : public ui::PrintService {
public:
    std::vector<String> Printers() override {
        qtb::EnsureApplication();
        std::vector<String> names;
        for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(StringOf(n));
        return names;
    }

    int DefaultPrinter() override {
        qtb::EnsureApplication();
        QString def = QPrinterInfo::defaultPrinterName();
        if (def.isEmpty()) return -1;
        return static_cast<int>(QPrinterInfo::availablePrinterNames().indexOf(def));
    }

    TSize PageSize(const String& printer, bool landscape, int dpi) override {
        qtb::EnsureApplication();
        QPrinter q(QPrinter::HighResolution);
        Setup(q, printer, printer.IsEmpty() ? String("/dev/null") : String(), landscape, dpi);
        QRect r = q.pageLayout().paintRectPixels(dpi);
        return TSize{r.width(), r.height()};
    }

    TPrinterJob* BeginJob(const ui::PrinterSettings& settings, const String& title) override {
        qtb::EnsureApplication();
        auto job = std::make_unique<TPrinterJob>();
        Setup(job->printer, settings.Printer, settings.FileName, settings.Landscape, settings.Dpi);
        job->printer.setCopyCount(settings.Copies);
        job->printer.setDocName(QStringOf(title));
        job->printer.setCreator(QStringLiteral("workbench"));
        if (job->printer.outputFormat() == QPrinter::PdfFormat) job->pdfFile = job->printer.outputFileName();
        if (!job->painter.begin(&job->printer)) return nullptr;
        return job.release();
    }

    void PrintPage(TPrinterJob* job, TBitmap& page, bool newPageFirst) override {
        if (newPageFirst) job->printer.newPage();
        const QImage& image = qtb::ImageOf(page);
        QRect target(0, 0, image.width(), image.height());
        job->painter.drawImage(target, image);
    }

    bool EndJob(TPrinterJob* job, bool abort) override {
        std::unique_ptr<TPrinterJob> owned(job);
        if (abort) {
            job->printer.abort();
            if (job->painter.isActive()) job->painter.end();
            if (!job->pdfFile.isEmpty()) QFile::remove(job->pdfFile);
            return true;
        }
        return job->painter.end();
    }
};

}  // namespace

ui::PrintService& PrintService() {
    static QtPrintService service;
    return service;
}

}  // namespace qtb
