#include "controls/styled/LayeredWindowApi.h"

#include "platform/ui/Forms.h"
#include "platform/ui/Modules.h"

namespace LayeredWindowApi {

TUpdateLayeredWindow UpdateLayeredWindow = nullptr;
TSetLayeredWindowAttributes SetLayeredWindowAttributes = nullptr;
bool LayeredWindowsAvailable = false;

void Initialize() {
    HMODULE user = LoadLibrary(u"user32.dll");
    if (!user) return;
    UpdateLayeredWindow = reinterpret_cast<TUpdateLayeredWindow>(GetProcAddress(user, "UpdateLayeredWindow"));
    SetLayeredWindowAttributes =
        reinterpret_cast<TSetLayeredWindowAttributes>(GetProcAddress(user, "SetLayeredWindowAttributes"));
    FreeLibrary(user);
    LayeredWindowsAvailable = SetLayeredWindowAttributes != nullptr;
}

}  // namespace LayeredWindowApi

namespace {
// At the application's start, not during static initialisation: whether "user32" exports the
// functions depends on the desktop the backend finds.
struct Unit {
    Unit() { ui::AddUnitStart(&LayeredWindowApi::Initialize); }
} unit;
}  // namespace
