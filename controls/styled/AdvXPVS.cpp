#include "controls/styled/AdvXPVS.h"

namespace AdvXPVS {
TThemeApiLoader ThemeApi("AdvXPVS", TThemeApiLoader::esAllButPartSize);
}

namespace {
TThemeApiUnit unit(AdvXPVS::ThemeApi);
}
