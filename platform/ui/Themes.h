#pragma once
// The visual-styles library: theme handles for the classes the layer draws, their parts painted
// by the desktop's widget style, and the rest of the library's entry points, which answer as the
// library does when a feature is absent. The library is also reachable as the module "uxtheme"
// (platform/ui/Modules.h).
#include <cstdint>

#include "platform/ui/Gdi.h"
#include "platform/win/WinError.h"
#include "platform/win/WinTypes.h"

struct HTHEME__;
using HTHEME = HTHEME__*;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;

// Parts and states of the classes the layer draws.
enum : int { BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3 };
enum : int { PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5 };
enum : int {
    CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT, CBS_UNCHECKEDPRESSED, CBS_UNCHECKEDDISABLED,
    CBS_CHECKEDNORMAL, CBS_CHECKEDHOT, CBS_CHECKEDPRESSED, CBS_CHECKEDDISABLED,
    CBS_MIXEDNORMAL, CBS_MIXEDHOT, CBS_MIXEDPRESSED, CBS_MIXEDDISABLED,
};
enum : int {
    RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT, RBS_UNCHECKEDPRESSED, RBS_UNCHECKEDDISABLED,
    RBS_CHECKEDNORMAL, RBS_CHECKEDHOT, RBS_CHECKEDPRESSED, RBS_CHECKEDDISABLED,
};
enum : int { CP_DROPDOWNBUTTON = 1 };
enum : int { CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4 };
enum : int { SPNP_UP = 1, SPNP_DOWN = 2 };
enum : int { UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4 };
enum : int { DNS_NORMAL = 1, DNS_HOT = 2, DNS_PRESSED = 3, DNS_DISABLED = 4 };
enum : int { PP_BAR = 1, PP_CHUNK = 3 };
enum : int { HP_HEADERITEM = 1, HP_HEADERITEMRIGHT = 3 };
enum : int { HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3 };

enum THEMESIZE { TS_MIN, TS_TRUE, TS_DRAW };
struct MARGINS {
    int cxLeftWidth = 0;
    int cxRightWidth = 0;
    int cyTopHeight = 0;
    int cyBottomHeight = 0;
};
constexpr int MAX_INTLIST_COUNT = 402;
struct INTLIST {
    int iValueCount = 0;
    int iValues[MAX_INTLIST_COUNT] = {};
};
using TEXTMETRICW = TEXTMETRIC;

constexpr DWORD STAP_ALLOW_NONCLIENT = 1;
constexpr DWORD STAP_ALLOW_CONTROLS = 2;
constexpr DWORD STAP_ALLOW_WEBCONTENT = 4;

// A handle for the first class of the ";"-separated list that the layer draws ("button",
// "combobox", "spin", "Progress", "header"); 0 for none of them, or when visual styles are off.
// "Progress" has the bar and the chunk (state 1); "header" the item (normal, hot, pressed) and
// the area right of the last item (state 1).
HTHEME OpenThemeData(HWND hwnd, LPCWSTR pszClassList);
HRESULT CloseThemeData(HTHEME hTheme);
// Paints the part inside pRect only (and inside pClipRect when given), over what is there.
HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                            const TRect* pClipRect);
HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int cchText,
                      DWORD dwTextFlags, DWORD dwTextFlags2, const TRect* pRect);
HRESULT GetThemeBackgroundContentRect(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                      const TRect* pBoundingRect, TRect* pContentRect);
HRESULT GetThemeBackgroundExtent(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pContentRect,
                                 TRect* pExtentRect);
HRESULT GetThemeTextExtent(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int cchCharCount,
                           DWORD dwTextFlags, const TRect* pBoundingRect, TRect* pExtentRect);
HRESULT GetThemeTextMetrics(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, TEXTMETRICW* ptm);
HRESULT GetThemeBackgroundRegion(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                                 HRGN* pRegion);
HRESULT HitTestThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, DWORD dwOptions,
                               const TRect* pRect, HRGN hrgn, TPoint ptTest, WORD* pwHitTestCode);
HRESULT DrawThemeEdge(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pDestRect, UINT uEdge,
                      UINT uFlags, TRect* pContentRect);
HRESULT DrawThemeIcon(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect, HIMAGELIST himl,
                      int iImageIndex);
// True for the parts and states DrawThemeBackground paints.
BOOL IsThemePartDefined(HTHEME hTheme, int iPartId, int iStateId);
// True for the round and square indicators, which leave their corners to the background.
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int iStateId);
HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor);
HRESULT GetThemeMetric(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, int* piVal);
HRESULT GetThemeString(HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszBuff, int cchMaxBuffChars);
HRESULT GetThemeBool(HTHEME hTheme, int iPartId, int iStateId, int iPropId, BOOL* pfVal);
HRESULT GetThemeInt(HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal);
HRESULT GetThemeEnumValue(HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal);
HRESULT GetThemePosition(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TPoint* pPoint);
HRESULT GetThemeFont(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, LOGFONTW* pFont);
HRESULT GetThemeRect(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TRect* pRect);
HRESULT GetThemeMargins(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, const TRect* prc,
                        MARGINS* pMargins);
HRESULT GetThemeIntList(HTHEME hTheme, int iPartId, int iStateId, int iPropId, INTLIST* pIntList);
HRESULT SetWindowTheme(HWND hwnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);
HRESULT GetThemeFilename(HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszThemeFileName,
                         int cchMaxBuffChars);
// The system colours, brushes and sizes, as with no theme of their own.
COLORREF GetThemeSysColor(HTHEME hTheme, int iColorId);
HBRUSH GetThemeSysColorBrush(HTHEME hTheme, int iColorId);
BOOL GetThemeSysBool(HTHEME hTheme, int iBoolId);
int GetThemeSysSize(HTHEME hTheme, int iSizeId);
HRESULT GetThemeSysFont(HTHEME hTheme, int iFontId, LOGFONTW* plf);
HRESULT GetThemeSysString(HTHEME hTheme, int iStringId, LPWSTR pszStringBuff, int cchMaxStringChars);
HRESULT GetThemeSysInt(HTHEME hTheme, int iIntId, int* piValue);
BOOL IsThemeActive();
BOOL IsAppThemed();
// The handle opened last for the window and not closed yet; 0 when none.
HTHEME GetWindowTheme(HWND hwnd);
HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD dwFlags);
BOOL IsThemeDialogTextureEnabled(HWND hwnd);
DWORD GetThemeAppProperties();
void SetThemeAppProperties(DWORD dwFlags);
// The theme's file, colour and size names into the caller's buffers (each may be null); a name
// that does not fit gives E_INSUFFICIENT_BUFFER.
HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
HRESULT GetThemeDocumentationProperty(LPCWSTR pszThemeName, LPCWSTR pszPropertyName, LPWSTR pszValueBuff,
                                      int cchMaxValChars);
HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* prc, THEMESIZE eSize,
                         TSize* psz);
HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const TRect* prc);
HRESULT EnableTheming(BOOL fEnable);
