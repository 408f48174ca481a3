// The backend of the program: made on first use by the backend library the program links, and
// connected to the library's sinks before anything else reaches it.
#include "platform/ui/backend/Backend.h"

#include "platform/ui/DesktopNotices.h"
#include "platform/ui/UiInput.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Fonts.h"
#include "platform/ui/backend/Pixels.h"

namespace ui {

WindowSink& Backend::Windows() const {
    if (!FWindows) throw EBackendUnsupported(String("The backend is not connected to the UI library"));
    return *FWindows;
}

DesktopSink& Backend::Desktop() const {
    if (!FDesktop) throw EBackendUnsupported(String("The backend is not connected to the UI library"));
    return *FDesktop;
}

void Backend::Unsupported(const char* call) const {
    throw EBackendUnsupported(String("The ") + String(Name()) + " backend has no " + String(call));
}

std::unique_ptr<PixelStore> Backend::CreatePixelStore(TPixelFormat) { Unsupported("CreatePixelStore"); }
std::unique_ptr<CanvasImpl> Backend::CreateRasterCanvas(TCanvas&) { Unsupported("CreateRasterCanvas"); }
std::unique_ptr<FontFace> Backend::CreateFontFace(const TFont&, bool) { Unsupported("CreateFontFace"); }
ImageCodec& Backend::PngCodec() { Unsupported("PngCodec"); }
std::vector<TRect> Backend::RegionRects(const RegionShape&) { Unsupported("RegionRects"); }

Backend& GetBackend() {
    static Backend* backend = [] {
        static UiInput windows;
        static DesktopNotices desktop;
        Backend* made = MakeBackend().release();  // lives as long as the process
        made->Connect(windows);
        made->Connect(desktop);
        return made;
    }();
    return *backend;
}

}  // namespace ui
