// The common dialogs as Qt dialogs. Qt's own dialogs are used (not the desktop's) so that the
// Apply button of the font dialog and the filter choice can be read back. Each dialog starts
// from the request and answers what the user left in it; the dialog classes apply the answer.
#include <algorithm>

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtServices.h"

namespace qtb {

namespace {

// "Text|*.txt" to Qt's "Text (*.txt)": Qt reads the patterns from the last parentheses,
// separated by blanks. A description that ends with its own patterns in parentheses ("Text
// (*.txt)", as most do) is shown as it stands.
QStringList QtFilters(const std::vector<TFileFilter>& filters) {
    QStringList out;
    for (const TFileFilter& f : filters) {
        QStringList pats;
        for (const String& p : f.Patterns) pats << QStringOf(p);
        const QString description = QStringOf(f.Description).trimmed();
        const qsizetype open = description.lastIndexOf('(');
        if (description.endsWith(')') && open >= 0) {
            QStringList shown = description.mid(open + 1, description.size() - open - 2).split(QRegularExpression("[\\s;,]+"), Qt::SkipEmptyParts);
            if (shown == pats) {
                out << description;
                continue;
            }
        }
        out << description + " (" + pats.join(' ') + ")";
    }
    return out;
}

ui::FontChoice ChoiceOf(const QFont& q) {
    ui::FontChoice c;
    c.Name = StringOf(q.family());
    c.Size = std::max(0, q.pointSize());
    if (q.bold()) c.Style << fsBold;
    if (q.italic()) c.Style << fsItalic;
    if (q.underline()) c.Style << fsUnderline;
    if (q.strikeOut()) c.Style << fsStrikeOut;
    return c;
}

TColor ColorOf(const QColor& c) { return static_cast<TColor>(RGB(c.red(), c.green(), c.blue())); }

ui::PrinterChoice ChoiceOf(const QPrinter& q) {
    ui::PrinterChoice c;
    c.Printer = StringOf(q.printerName());
    c.ToFile = q.outputFormat() == QPrinter::PdfFormat || !q.outputFileName().isEmpty();
    c.FileName = StringOf(q.outputFileName());
    c.Landscape = q.pageLayout().orientation() == QPageLayout::Landscape;
    c.Copies = q.copyCount();
    c.Collate = q.collateCopies();
    return c;
}

class QtDialogService final : public ui::DialogService {
public:
    bool RunFileDialog(const ui::FileDialogRequest& r, ui::FileDialogAnswer& answer) override {
        QFileDialog dlg(nullptr, QStringOf(r.Title));
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setAcceptMode(r.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (r.Save) dlg.setFileMode(QFileDialog::AnyFile);
        else if (r.MultiSelect) dlg.setFileMode(QFileDialog::ExistingFiles);
        else if (r.MustExist) dlg.setFileMode(QFileDialog::ExistingFile);
        else dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, !r.OverwritePrompt);
        QStringList filters = QtFilters(r.Filters);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            int index = r.FilterIndex - 1;
            if (index >= 0 && index < filters.size()) dlg.selectNameFilter(filters[index]);
        }
        if (!r.DefaultExt.IsEmpty()) dlg.setDefaultSuffix(QStringOf(r.DefaultExt));
        if (!r.InitialDir.IsEmpty()) dlg.setDirectory(QStringOf(r.InitialDir));
        if (!r.FileName.IsEmpty()) dlg.selectFile(QStringOf(r.FileName));
        if (dlg.exec() != QDialog::Accepted) return false;
        for (const QString& f : dlg.selectedFiles()) answer.Files.push_back(StringOf(f));
        answer.FilterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
        return !answer.Files.empty();
    }

    bool RunFontDialog(const ui::FontDialogRequest& r, ui::FontChoice& answer, ui::DialogSink& sink) override {
        QFontDialog dlg(qtb::QFontOf(*r.Font));
        dlg.setOption(QFontDialog::DontUseNativeDialog, true);
        if (r.FixedPitchOnly) dlg.setOption(QFontDialog::MonospacedFonts, true);
        if (r.ApplyButton) {
            if (auto* box = dlg.findChild<QDialogButtonBox*>()) {
                QPushButton* apply = box->addButton(QDialogButtonBox::Apply);
                QObject::connect(apply, &QPushButton::clicked, &dlg, [&sink, &dlg] { sink.FontApplied(ChoiceOf(dlg.currentFont())); });
            }
        }
        if (dlg.exec() != QDialog::Accepted) return false;
        answer = ChoiceOf(dlg.selectedFont());
        return true;
    }

    bool RunColorDialog(ui::ColorDialogState& state) override {
        for (int i = 0; i < 16; ++i) {
            TColor c = state.Custom[static_cast<size_t>(i)];
            if (c != clNone) QColorDialog::setCustomColor(i, qtb::QColorOf(c));
        }
        QColorDialog dlg(qtb::QColorOf(state.Color));
        dlg.setOption(QColorDialog::DontUseNativeDialog, true);
        bool ok = dlg.exec() == QDialog::Accepted;
        // Qt's custom slots start white: a white slot is one the user never set.
        for (int i = 0; i < 16; ++i) {
            QColor c = QColorDialog::customColor(i);
            if (c.isValid() && c != QColor(Qt::white)) state.Custom[static_cast<size_t>(i)] = ColorOf(c);
        }
        if (ok) state.Color = ColorOf(dlg.selectedColor());
        return ok;
    }

    bool RunPrintDialog(const ui::PrintDialogRequest& r, ui::PrinterChoice& answer) override {
        QPrinter q(QPrinter::HighResolution);
        ConfigureQPrinter(r.Printer, q);
        q.setCopyCount(r.Copies);
        q.setCollateCopies(r.Collate);
        if (r.FromPage > 0) q.setFromTo(r.FromPage, r.ToPage);
        QPrintDialog dlg(&q);
        if (r.MinPage > 0 || r.MaxPage > 0) dlg.setMinMax(r.MinPage, r.MaxPage);
        QAbstractPrintDialog::PrintDialogOptions opts = QAbstractPrintDialog::PrintShowPageSize;
        if (r.PageNums) opts |= QAbstractPrintDialog::PrintPageRange;
        if (r.Selection) opts |= QAbstractPrintDialog::PrintSelection;
        if (r.PrintToFile) opts |= QAbstractPrintDialog::PrintToFile;
        dlg.setOptions(opts);
        if (dlg.exec() != QDialog::Accepted) return false;
        answer = ChoiceOf(q);
        switch (dlg.printRange()) {
            case QAbstractPrintDialog::Selection: answer.Range = prSelection; break;
            case QAbstractPrintDialog::PageRange:
                answer.Range = prPageNums;
                answer.FromPage = dlg.fromPage();
                answer.ToPage = dlg.toPage();
                break;
            default: answer.Range = prAllPages; break;
        }
        return true;
    }

    bool RunPrinterSetupDialog(const ui::PrinterSettings& printer, ui::PrinterChoice& answer) override {
        QPrinter q(QPrinter::HighResolution);
        ConfigureQPrinter(printer, q);
        QPageSetupDialog dlg(&q);
        if (dlg.exec() != QDialog::Accepted) return false;
        answer = ChoiceOf(q);
        return true;
    }
};

}  // namespace

ui::DialogService& DialogService() {
    static QtDialogService service;
    return service;
}

}  // namespace qtb
