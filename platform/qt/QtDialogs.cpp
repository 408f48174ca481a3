// The common dialogs as Qt dialogs. Qt's own dialogs are used (not the desktop's) so that the
// Apply button of the font dialog and the filter choice can be read back.
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtPrinter.h"
#include "platform/ui/Dialogs.h"

using qtb::QStringOf;
using qtb::StringOf;

namespace {

// "Text (*.txt)|*.txt" to Qt's "Text (*.txt) (*.txt)": Qt reads the patterns from the last
// parentheses, separated by blanks.
QStringList QtFilters(const String& filter) {
    QStringList out;
    for (const TFileFilter& f : ParseFileFilter(filter)) {
        QStringList pats;
        for (const String& p : f.Patterns) pats << QStringOf(p);
        out << QStringOf(f.Description) + " (" + pats.join(' ') + ")";
    }
    return out;
}

QFont QtFontOf(const TFont& font) { return qtbackend::QFontOf(font); }

void TakeFont(TFont& font, const QFont& q) {
    font.SetName(StringOf(q.family()));
    if (q.pointSize() > 0) font.SetSize(q.pointSize());
    TFontStyles style;
    if (q.bold()) style << fsBold;
    if (q.italic()) style << fsItalic;
    if (q.underline()) style << fsUnderline;
    if (q.strikeOut()) style << fsStrikeOut;
    font.SetStyle(style);
}

}  // namespace

namespace ui::dialogs {

bool RunFileDialog(TOpenDialog& d, bool save) {
    QFileDialog dlg(nullptr, QStringOf(d.Title()));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    TOpenOptions o = d.Options();
    if (save) dlg.setFileMode(QFileDialog::AnyFile);
    else if (o.Contains(ofAllowMultiSelect)) dlg.setFileMode(QFileDialog::ExistingFiles);
    else if (o.Contains(ofFileMustExist)) dlg.setFileMode(QFileDialog::ExistingFile);
    else dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !o.Contains(ofOverwritePrompt));
    QStringList filters = QtFilters(d.Filter());
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        int index = d.FilterIndex() - 1;
        if (index >= 0 && index < filters.size()) dlg.selectNameFilter(filters[index]);
    }
    if (!d.DefaultExt().IsEmpty()) dlg.setDefaultSuffix(QStringOf(d.DefaultExt()));
    if (!d.InitialDir().IsEmpty()) dlg.setDirectory(QStringOf(d.InitialDir()));
    if (!d.FileName().IsEmpty()) dlg.selectFile(QStringOf(d.FileName()));
    if (dlg.exec() != QDialog::Accepted) return false;
    QStringList files = dlg.selectedFiles();
    if (files.isEmpty()) return false;
    d.SetFileName(StringOf(files.first()));
    d.Files()->Clear();
    for (const QString& f : files) d.Files()->Add(StringOf(f));
    int chosen = static_cast<int>(filters.indexOf(dlg.selectedNameFilter()));
    if (chosen >= 0) d.SetFilterIndex(chosen + 1);
    return true;
}

bool RunFontDialog(TFontDialog& d) {
    QFontDialog dlg(QtFontOf(*d.Font()));
    dlg.setOption(QFontDialog::DontUseNativeDialog, true);
    if (d.Options().Contains(fdFixedPitchOnly)) dlg.setOption(QFontDialog::MonospacedFonts, true);
    if (d.Options().Contains(fdApplyButton)) {
        if (auto* box = dlg.findChild<QDialogButtonBox*>()) {
            QPushButton* apply = box->addButton(QDialogButtonBox::Apply);
            QObject::connect(apply, &QPushButton::clicked, &dlg, [&d, &dlg] {
                TakeFont(*d.Font(), dlg.currentFont());
                d.Apply(nullptr);
            });
        }
    }
    if (dlg.exec() != QDialog::Accepted) return false;
    TakeFont(*d.Font(), dlg.selectedFont());
    return true;
}

bool RunColorDialog(TColorDialog& d) {
    for (int i = 0; i < 16; ++i) {
        TColor c = d.CustomColor(i);
        if (c != clNone) QColorDialog::setCustomColor(i, qtbackend::QColorOf(c));
    }
    QColorDialog dlg(qtbackend::QColorOf(d.Color()));
    dlg.setOption(QColorDialog::DontUseNativeDialog, true);
    bool ok = dlg.exec() == QDialog::Accepted;
    // The custom colours are kept whether or not the choice was confirmed, as the user set them.
    for (int i = 0; i < 16; ++i) {
        QColor c = QColorDialog::customColor(i);
        if (c.isValid() && c != QColor(Qt::white)) d.SetCustomColor(i, static_cast<TColor>(RGB(c.red(), c.green(), c.blue())));
    }
    if (!ok) return false;
    QColor c = dlg.selectedColor();
    d.SetColor(static_cast<TColor>(RGB(c.red(), c.green(), c.blue())));
    return true;
}

bool RunPrintDialog(TPrintDialog& d) {
    QPrinter q(QPrinter::HighResolution);
    qtb::ConfigureQPrinter(*Printer(), q);
    q.setCopyCount(d.Copies());
    q.setCollateCopies(d.Collate());
    if (d.FromPage() > 0) q.setFromTo(d.FromPage(), d.ToPage());
    QPrintDialog dlg(&q);
    if (d.MinPage() > 0 || d.MaxPage() > 0) dlg.setMinMax(d.MinPage(), d.MaxPage());
    QAbstractPrintDialog::PrintDialogOptions opts = QAbstractPrintDialog::PrintShowPageSize;
    if (d.Options().Contains(poPageNums)) opts |= QAbstractPrintDialog::PrintPageRange;
    if (d.Options().Contains(poSelection)) opts |= QAbstractPrintDialog::PrintSelection;
    if (!d.Options().Contains(poDisablePrintToFile)) opts |= QAbstractPrintDialog::PrintToFile;
    dlg.setOptions(opts);
    if (dlg.exec() != QDialog::Accepted) return false;
    qtb::TakeFromQPrinter(*Printer(), q);
    d.SetCopies(q.copyCount());
    d.SetCollate(q.collateCopies());
    d.SetPrintToFile(!q.outputFileName().isEmpty());
    switch (dlg.printRange()) {
        case QAbstractPrintDialog::Selection: d.SetPrintRange(prSelection); break;
        case QAbstractPrintDialog::PageRange:
            d.SetPrintRange(prPageNums);
            d.SetFromPage(dlg.fromPage());
            d.SetToPage(dlg.toPage());
            break;
        default: d.SetPrintRange(prAllPages); break;
    }
    return true;
}

bool RunPrinterSetupDialog(TPrinterSetupDialog&) {
    QPrinter q(QPrinter::HighResolution);
    qtb::ConfigureQPrinter(*Printer(), q);
    QPageSetupDialog dlg(&q);
    if (dlg.exec() != QDialog::Accepted) return false;
    qtb::TakeFromQPrinter(*Printer(), q);
    return true;
}

}  // namespace ui::dialogs
