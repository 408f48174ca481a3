#pragma once
// The QPrinter side of TPrinter: the print service, and the printer set-up shared with the
// print dialogs.
#include <QPrinter>

#include "platform/ui/Printers.h"

namespace qtb {

inline QString QStringOf(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
inline String StringOf(const QString& s) { return String(std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()))); }

// Sets up a QPrinter for the printer's selection, orientation, copies and output file.
void ConfigureQPrinter(TPrinter& printer, QPrinter& q);
// Takes the choices of a print dialog back into the printer.
void TakeFromQPrinter(TPrinter& printer, const QPrinter& q);

}  // namespace qtb
