#include "controls/styled/ClipboardFormats.h"

#include "platform/ui/Clipbrd.h"

namespace ClipboardFormats {

WORD CF_RTF = 0;
WORD CF_HTML = 0;

void Initialize() {
    CF_RTF = static_cast<WORD>(RegisterClipboardFormat(u"Rich Text Format"));
    CF_HTML = static_cast<WORD>(RegisterClipboardFormat(u"HTML Format"));
}

}  // namespace ClipboardFormats

namespace {
struct Unit {
    Unit() { ClipboardFormats::Initialize(); }
} unit;
}  // namespace
