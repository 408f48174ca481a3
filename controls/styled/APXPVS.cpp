#include "controls/styled/APXPVS.h"

namespace APXPVS {
TThemeApiLoader ThemeApi("APXPVS", TThemeApiLoader::esAll);
}

namespace {
TThemeApiUnit unit(APXPVS::ThemeApi);
}
