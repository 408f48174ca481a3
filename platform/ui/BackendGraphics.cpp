// What a backend answers for the graphics it does not have.
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Fonts.h"
#include "platform/ui/backend/Pixels.h"
#include "platform/ui/backend/Printing.h"

namespace ui {

namespace {
[[noreturn]] void Missing(const char* call) {
    throw ENotImplemented(String("Backend::") + call + " is not supported by this backend");
}
}  // namespace

std::unique_ptr<PixelStore> Backend::CreatePixelStore(TPixelFormat) { Missing("CreatePixelStore"); }
std::unique_ptr<CanvasImpl> Backend::CreateRasterCanvas(TCanvas&) { Missing("CreateRasterCanvas"); }
std::unique_ptr<FontFace> Backend::CreateFontFace(const TFont&, bool) { Missing("CreateFontFace"); }
ImageCodec& Backend::PngCodec() { Missing("PngCodec"); }
std::vector<TRect> Backend::RegionRects(const RegionShape&) { Missing("RegionRects"); }
PrinterService& Backend::Printers() { Missing("Printers"); }

}  // namespace ui
