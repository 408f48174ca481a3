#include "controls/styled/ASXPVS.h"

namespace ASXPVS {
TThemeApiLoader ThemeApi("ASXPVS", TThemeApiLoader::esAllButPartSize);
}

namespace {
TThemeApiUnit unit(ASXPVS::ThemeApi);
}
