#pragma once
// The QPrinter side of TPrinter: the print service, and the printer set-up shared with the
// print dialogs.
#include <QPrinter>

#include "platform/ui/Printers.h"
#include "platform/ui/backend/Printing.h"

namespace qtb {

inline QString QStringOf(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
inline String StringOf(const QString& s) { return String(std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()))); }

// Sets up a QPrinter for a printer's selection, orientation, copies and output file.
void ConfigureQPrinter(const ui::PrinterSettings& printer, QPrinter& q);

}  // namespace qtb
