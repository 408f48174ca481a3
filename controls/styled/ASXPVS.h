#pragma once
// A loader unit of the visual-styles library (see ThemeApiLoader.h).
#include "controls/styled/ThemeApiLoader.h"

namespace ASXPVS {
extern TThemeApiLoader ThemeApi;
}
