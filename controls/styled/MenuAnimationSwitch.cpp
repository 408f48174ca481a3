#include "controls/styled/MenuAnimationSwitch.h"

#include "platform/ui/SystemInfo.h"

namespace MenuAnimationSwitch {

BOOL SavedMenuAnimation = FALSE_;

void Initialize() {
    SystemParametersInfo(SPI_GETMENUANIMATION, 0, &SavedMenuAnimation, 0);
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, nullptr, SPIF_SENDCHANGE);
}

void Finalize() {
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, SavedMenuAnimation ? &SavedMenuAnimation : nullptr,
                         SPIF_SENDCHANGE);
}

}  // namespace MenuAnimationSwitch

namespace {
struct Unit {
    Unit() { MenuAnimationSwitch::Initialize(); }
    ~Unit() { MenuAnimationSwitch::Finalize(); }
} unit;
}  // namespace
