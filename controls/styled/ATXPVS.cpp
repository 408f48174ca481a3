#include "controls/styled/ATXPVS.h"

namespace ATXPVS {
TThemeApiLoader ThemeApi("ATXPVS", TThemeApiLoader::esAllButPartSize);
}

namespace {
TThemeApiUnit unit(ATXPVS::ThemeApi);
}
