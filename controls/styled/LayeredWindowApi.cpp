#include "controls/styled/LayeredWindowApi.h"

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
struct Unit {
    Unit() { LayeredWindowApi::Initialize(); }
} unit;
}  // namespace
