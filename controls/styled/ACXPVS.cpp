#include "controls/styled/ACXPVS.h"

namespace ACXPVS {
TThemeApiLoader ThemeApi("ACXPVS", TThemeApiLoader::esAllButPartSize);
}

namespace {
TThemeApiUnit unit(ACXPVS::ThemeApi);
}
