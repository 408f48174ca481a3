// The printer service: desktop printers through the print system, the PDF printer (and print
// to file) through Qt's PDF writer. Pages arrive as bitmaps at the job's resolution.
#include "platform/qt/QtPrinter.h"

#include <QFile>
#include <QPainter>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtServices.h"

namespace {

void Setup(QPrinter& q, const ui::PrinterSettings& s) {
    if (s.Printer.IsEmpty() || !s.FileName.IsEmpty()) {
        q.setOutputFormat(QPrinter::PdfFormat);
        q.setOutputFileName(qtb::QStringOf(s.FileName));
    } else {
        q.setOutputFormat(QPrinter::NativeFormat);
        q.setPrinterName(qtb::QStringOf(s.Printer));
    }
    if (s.Paper.cx > 0 && s.Paper.cy > 0) {
        // Sizes in 0.1 mm; a standard sheet is recognised by its size.
        QPageSize size(QSizeF(s.Paper.cx / 10.0, s.Paper.cy / 10.0), QPageSize::Millimeter, QString(),
                       QPageSize::FuzzyMatch);
        q.setPageSize(size);
    }
    q.setPageOrientation(s.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    q.setResolution(s.Dpi);
    q.setFullPage(s.FullPage);
    if (s.FullPage) q.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

}  // namespace

namespace qtb {

void ConfigureQPrinter(const ui::PrinterSettings& printer, QPrinter& q) {
    Setup(q, printer);
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

    ui::PageGeometry Page(const ui::PrinterSettings& settings) override {
        EnsureApplication();
        QPrinter q(QPrinter::HighResolution);
        ui::PrinterSettings s = settings;
        if (s.Printer.IsEmpty() || !s.FileName.IsEmpty()) s.FileName = String("/dev/null");  // nothing written
        Setup(q, s);
        QPageLayout layout = q.pageLayout();
        QRect paper = layout.fullRectPixels(s.Dpi), paint = s.FullPage ? paper : layout.paintRectPixels(s.Dpi);
        return ui::PageGeometry{TSize{paper.width(), paper.height()},
                                TRect(paint.left(), paint.top(), paint.right() + 1, paint.bottom() + 1)};
    }

    std::unique_ptr<ui::PrintJob> BeginJob(const ui::PrinterSettings& settings, const String& title) override {
        EnsureApplication();
        auto job = std::make_unique<QtPrintJob>();
        Setup(job->printer, settings);
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
