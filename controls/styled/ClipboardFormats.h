#pragma once
// The rich-text and HTML clipboard formats, registered as the program starts.
#include "platform/rtl/Types.h"

namespace ClipboardFormats {
extern WORD CF_RTF;
extern WORD CF_HTML;
void Initialize();
}  // namespace ClipboardFormats
