#include "controls/styled/CEXPVS.h"

namespace CEXPVS {
TThemeApiLoader ThemeApi("CEXPVS", TThemeApiLoader::esBasic);
}

namespace {
TThemeApiUnit unit(CEXPVS::ThemeApi);
}
