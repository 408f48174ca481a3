// The backend of the program: made on first use by the backend library the program links, and
// connected to the library's sinks before anything else reaches it.
#include "platform/ui/backend/Backend.h"

#include "platform/ui/UiInput.h"

namespace ui {

WindowSink& Backend::Windows() const {
    if (!FWindows) throw EBackendUnsupported(String("The backend is not connected to the UI library"));
    return *FWindows;
}

void Backend::Unsupported(const char* call) const {
    throw EBackendUnsupported(String("The ") + String(Name()) + " backend has no " + String(call));
}

Backend& GetBackend() {
    static Backend* backend = [] {
        static UiInput windows;
        Backend* made = MakeBackend().release();  // lives as long as the process
        made->Connect(windows);
        return made;
    }();
    return *backend;
}

}  // namespace ui
