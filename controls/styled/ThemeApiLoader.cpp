#include "controls/styled/ThemeApiLoader.h"

#include <cstring>

#include "platform/rtl/Diagnostics.h"

bool TThemeApiLoader::Wants(const char* name) const {
    switch (FEntries) {
        case esAll: return true;
        case esAllButPartSize: return std::strcmp(name, "GetThemePartSize") != 0;
        case esBasic:
            for (const char* basic : {"OpenThemeData", "CloseThemeData", "DrawThemeBackground", "IsThemeActive"})
                if (std::strcmp(name, basic) == 0) return true;
            return false;
    }
    return false;
}

void TThemeApiLoader::Load() {
    if (FLoaded) return;
    FModule = LoadLibrary(u"UXTHEME.DLL");
    if (!FModule) return;
    FLoaded = true;
#define THEME_API_RESOLVE(name)                                                          \
    if (Wants(#name)) {                                                                  \
        name = reinterpret_cast<decltype(name)>(GetProcAddress(FModule, #name));         \
        Assert(name != nullptr, String(u"Missing entry point ") + String(#name), FUnit); \
    }
    THEME_API_ENTRIES(THEME_API_RESOLVE)
#undef THEME_API_RESOLVE
}

void TThemeApiLoader::Free() {
    if (!FLoaded) return;
    FreeLibrary(FModule);
    FLoaded = false;
}

int TThemeApiLoader::Resolved() const {
    int n = 0;
#define THEME_API_COUNT(name) n += name != nullptr;
    THEME_API_ENTRIES(THEME_API_COUNT)
#undef THEME_API_COUNT
    return n;
}
