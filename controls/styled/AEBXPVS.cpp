#include "controls/styled/AEBXPVS.h"

namespace AEBXPVS {
TThemeApiLoader ThemeApi("AEBXPVS", TThemeApiLoader::esAllButPartSize);
}

namespace {
TThemeApiUnit unit(AEBXPVS::ThemeApi);
}
