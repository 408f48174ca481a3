#pragma once
// The visual-styles library bound at run time: each loader unit (APXPVS, ACXPVS, AdvXPVS,
// ATXPVS, ASXPVS, AEBXPVS, AOBXPVS, CEXPVS) loads "UXTHEME.DLL" as the program starts, resolves
// its set of entry points into these pointers and frees the library as the program ends. A
// caller treats a nil pointer (no library) as the absence of visual styles.
#include "platform/ui/Modules.h"
#include "platform/ui/Themes.h"

// Every entry point, in resolution order.
#define THEME_API_ENTRIES(X)                                                                                \
    X(OpenThemeData) X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeText)                               \
    X(GetThemeBackgroundContentRect) X(GetThemeBackgroundExtent) X(GetThemeTextExtent) X(GetThemeTextMetrics) \
    X(GetThemeBackgroundRegion) X(HitTestThemeBackground) X(DrawThemeEdge) X(DrawThemeIcon)                  \
    X(IsThemePartDefined) X(IsThemeBackgroundPartiallyTransparent) X(GetThemeColor) X(GetThemeMetric)       \
    X(GetThemeString) X(GetThemeBool) X(GetThemeInt) X(GetThemeEnumValue) X(GetThemePosition)               \
    X(GetThemeFont) X(GetThemeRect) X(GetThemeMargins) X(GetThemeIntList) X(SetWindowTheme)                 \
    X(GetThemeFilename) X(GetThemeSysColor) X(GetThemeSysColorBrush) X(GetThemeSysBool) X(GetThemeSysSize)  \
    X(GetThemeSysFont) X(GetThemeSysString) X(GetThemeSysInt) X(IsThemeActive) X(IsAppThemed)               \
    X(GetWindowTheme) X(EnableThemeDialogTexture) X(IsThemeDialogTextureEnabled) X(GetThemeAppProperties)   \
    X(SetThemeAppProperties) X(GetCurrentThemeName) X(GetThemeDocumentationProperty) X(GetThemePartSize)   \
    X(DrawThemeParentBackground) X(EnableTheming)

class TThemeApiLoader {
public:
    // Which entry points a unit binds: all 46, all but GetThemePartSize (45), or the four of
    // the small unit (open, close, draw the background, is a theme active).
    enum TEntrySet { esAll, esAllButPartSize, esBasic };
    TThemeApiLoader(const char* unitName, TEntrySet entries) : FUnit(unitName), FEntries(entries) {}

    // The unit's initialisation: nothing when loaded already; a library that does not load
    // leaves the flag clear and the pointers nil. A missing entry point raises
    // EAssertionFailed at once, naming the unit, and leaves the rest unresolved.
    void Load();
    // The unit's finalisation: frees the library when loaded; the pointers stay as they are.
    void Free();
    bool Loaded() const { return FLoaded; }
    HMODULE Module() const { return FModule; }
    // How many pointers are set.
    int Resolved() const;

#define THEME_API_POINTER(name) decltype(&::name) name = nullptr;
    THEME_API_ENTRIES(THEME_API_POINTER)
#undef THEME_API_POINTER

private:
    bool Wants(const char* name) const;
    const char* FUnit;
    TEntrySet FEntries;
    bool FLoaded = false;
    HMODULE FModule = 0;
};

// A loader unit's initialisation and finalisation, as a static object of its file.
struct TThemeApiUnit {
    explicit TThemeApiUnit(TThemeApiLoader& api) : FApi(api) { FApi.Load(); }
    ~TThemeApiUnit() { FApi.Free(); }
    TThemeApiUnit(const TThemeApiUnit&) = delete;
    TThemeApiUnit& operator=(const TThemeApiUnit&) = delete;

private:
    TThemeApiLoader& FApi;
};
