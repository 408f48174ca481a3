#include "controls/styled/AOBXPVS.h"

namespace AOBXPVS {
TThemeApiLoader ThemeApi("AOBXPVS", TThemeApiLoader::esAllButPartSize);
}

namespace {
TThemeApiUnit unit(AOBXPVS::ThemeApi);
}
