#include "platform/ui/Themes.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/SystemInfo.h"

struct HTHEME__ {
    enum Class { Button, ComboBox, Spin, Progress, Header } cls;
    HWND hwnd;
};

namespace {

std::mutex gThemeMutex;
std::set<HTHEME> gThemes;    // live handles
std::vector<HTHEME> gOrder;  // the same, oldest first, for GetWindowTheme
DWORD gAppProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT;

bool Live(HTHEME t) {
    std::lock_guard<std::mutex> lock(gThemeMutex);
    return t && gThemes.count(t) != 0;
}

// The backend's part for a class, part and state; false when the layer does not draw it.
bool PartOf(HTHEME t, int part, int state, ui::ThemePart& out) {
    out = ui::ThemePart();
    switch (t->cls) {
        case HTHEME__::Button:
            if (part == BP_PUSHBUTTON) {
                if (state < PBS_NORMAL || state > PBS_DEFAULTED) return false;
                out.kind = ui::ThemePart::PushButton;
                out.hot = state == PBS_HOT;
                out.pressed = state == PBS_PRESSED;
                out.disabled = state == PBS_DISABLED;
                out.defaulted = state == PBS_DEFAULTED;
                return true;
            }
            if (part == BP_RADIOBUTTON || part == BP_CHECKBOX) {
                if (state < 1 || state > 12) return false;
                out.kind = part == BP_CHECKBOX ? ui::ThemePart::CheckBox : ui::ThemePart::RadioButton;
                int group = (state - 1) / 4;  // unchecked, checked, mixed
                int kind = (state - 1) % 4;   // normal, hot, pressed, disabled
                out.checked = group == 1;
                out.mixed = group == 2;
                out.hot = kind == 1;
                out.pressed = kind == 2;
                out.disabled = kind == 3;
                return true;
            }
            return false;
        case HTHEME__::ComboBox:
        case HTHEME__::Spin:
            if (state < 1 || state > 4) return false;
            if (t->cls == HTHEME__::ComboBox) {
                if (part != CP_DROPDOWNBUTTON) return false;
                out.kind = ui::ThemePart::ComboButton;
            } else {
                if (part != SPNP_UP && part != SPNP_DOWN) return false;
                out.kind = part == SPNP_UP ? ui::ThemePart::SpinUp : ui::ThemePart::SpinDown;
            }
            out.hot = state == 2;
            out.pressed = state == 3;
            out.disabled = state == 4;
            return true;
        case HTHEME__::Progress:
            if (state != 1 || (part != PP_BAR && part != PP_CHUNK)) return false;
            out.kind = part == PP_BAR ? ui::ThemePart::ProgressBar : ui::ThemePart::ProgressChunk;
            return true;
        case HTHEME__::Header:
            if (part == HP_HEADERITEM) {
                if (state < HIS_NORMAL || state > HIS_PRESSED) return false;
                out.kind = ui::ThemePart::HeaderItem;
                out.hot = state == HIS_HOT;
                out.pressed = state == HIS_PRESSED;
                return true;
            }
            if (part != HP_HEADERITEMRIGHT || state != 1) return false;
            out.kind = ui::ThemePart::HeaderEnd;
            return true;
    }
    return false;
}

HRESULT CopyName(const String& name, LPWSTR buffer, int size) {
    if (!buffer) return S_OK;
    if (size <= 0 || static_cast<size_t>(size) <= name.size()) {
        if (size > 0) buffer[0] = 0;
        return E_INSUFFICIENT_BUFFER;
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    return S_OK;
}

}  // namespace

BOOL IsThemeActive() {
    const auto& a = ui::sys::Answers();
    return a.ThemeLibrary && a.ThemeActive ? TRUE_ : FALSE_;
}

BOOL IsAppThemed() { return IsThemeActive(); }

HTHEME OpenThemeData(HWND hwnd, LPCWSTR pszClassList) {
    if (!pszClassList || !IsThemeActive()) return nullptr;
    String list(pszClassList);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(u';', start);
        if (end == String::npos) end = list.size();
        String name = Trim(list.substr(start, end - start));
        HTHEME__::Class cls;
        bool known = true;
        if (AnsiSameText(name, u"button")) cls = HTHEME__::Button;
        else if (AnsiSameText(name, u"combobox")) cls = HTHEME__::ComboBox;
        else if (AnsiSameText(name, u"spin")) cls = HTHEME__::Spin;
        else if (AnsiSameText(name, u"progress")) cls = HTHEME__::Progress;
        else if (AnsiSameText(name, u"header")) cls = HTHEME__::Header;
        else known = false;
        if (known) {
            HTHEME t = new HTHEME__{cls, hwnd};
            std::lock_guard<std::mutex> lock(gThemeMutex);
            gThemes.insert(t);
            gOrder.push_back(t);
            return t;
        }
        start = end + 1;
    }
    return nullptr;
}

HRESULT CloseThemeData(HTHEME hTheme) {
    std::lock_guard<std::mutex> lock(gThemeMutex);
    if (!hTheme || gThemes.erase(hTheme) == 0) return E_HANDLE;
    gOrder.erase(std::find(gOrder.begin(), gOrder.end(), hTheme));
    delete hTheme;
    return S_OK;
}

HTHEME GetWindowTheme(HWND hwnd) {
    std::lock_guard<std::mutex> lock(gThemeMutex);
    for (auto it = gOrder.rbegin(); it != gOrder.rend(); ++it)
        if ((*it)->hwnd == hwnd && hwnd) return *it;
    return nullptr;
}

HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                            const TRect* pClipRect) {
    if (!Live(hTheme)) return E_HANDLE;
    if (!pRect) return E_POINTER;
    if (!TCanvas::FromHandle(hdc)) return E_HANDLE;
    ui::ThemePart part;
    if (!PartOf(hTheme, iPartId, iStateId, part)) return E_INVALIDARG;
    const TRect r = *pRect;
    if (r.Width() <= 0 || r.Height() <= 0) return S_OK;
    // The part is painted over a copy of what lies under it, then copied back, clipped to the
    // rectangle (and the clip rectangle), so nothing outside is touched.
    ui::Backend& backend = ui::GetBackend();
    if (!backend.Supports(ui::Capability::ThemeParts)) return E_FAIL;
    TBitmap face(r.Width(), r.Height());
    HDC faceDc = face.Canvas()->Handle();
    BitBlt(faceDc, 0, 0, r.Width(), r.Height(), hdc, r.Left, r.Top, SRCCOPY);
    if (!backend.DrawThemePart(face, part)) return E_FAIL;
    TRect clip = r;
    if (pClipRect) clip = IntersectRects(r, *pClipRect);
    if (clip.IsEmpty()) return S_OK;
    int saved = SaveDC(hdc);
    IntersectClipRect(hdc, clip.Left, clip.Top, clip.Right, clip.Bottom);
    BitBlt(hdc, r.Left, r.Top, r.Width(), r.Height(), faceDc, 0, 0, SRCCOPY);
    RestoreDC(hdc, saved);
    return S_OK;
}

BOOL IsThemePartDefined(HTHEME hTheme, int iPartId, int iStateId) {
    ui::ThemePart part;
    if (!Live(hTheme)) return FALSE_;
    // State 0 asks about the part as a whole.
    return PartOf(hTheme, iPartId, iStateId == 0 ? 1 : iStateId, part) ? TRUE_ : FALSE_;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int iStateId) {
    ui::ThemePart part;
    if (!Live(hTheme) || !PartOf(hTheme, iPartId, iStateId == 0 ? 1 : iStateId, part)) return FALSE_;
    return part.kind == ui::ThemePart::CheckBox || part.kind == ui::ThemePart::RadioButton ? TRUE_ : FALSE_;
}

HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
    if (!IsThemeActive()) return E_FAIL;
    const auto& a = ui::sys::Answers();
    HRESULT hr = CopyName(a.ThemeFileName, pszThemeFileName, cchMaxNameChars);
    if (SUCCEEDED(hr)) hr = CopyName(a.ThemeColorName, pszColorBuff, cchMaxColorChars);
    if (SUCCEEDED(hr)) hr = CopyName(a.ThemeSizeName, pszSizeBuff, cchMaxSizeChars);
    return hr;
}

COLORREF GetThemeSysColor(HTHEME, int iColorId) { return GetSysColor(iColorId); }
HBRUSH GetThemeSysColorBrush(HTHEME, int iColorId) { return GetSysColorBrush(iColorId); }
BOOL GetThemeSysBool(HTHEME, int) { return FALSE_; }
int GetThemeSysSize(HTHEME, int iSizeId) { return GetSystemMetrics(iSizeId); }
DWORD GetThemeAppProperties() { return gAppProperties; }
void SetThemeAppProperties(DWORD dwFlags) { gAppProperties = dwFlags; }
BOOL IsThemeDialogTextureEnabled(HWND) { return FALSE_; }

// The theme has no property data, text rendering, regions or icons of its own here.
HRESULT DrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const TRect*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const TRect*, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundExtent(HTHEME, HDC, int, int, const TRect*, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeTextExtent(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const TRect*, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRICW*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const TRect*, HRGN*) { return E_NOTIMPL; }
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const TRect*, HRGN, TPoint, WORD*) { return E_NOTIMPL; }
HRESULT DrawThemeEdge(HTHEME, HDC, int, int, const TRect*, UINT, UINT, TRect*) { return E_NOTIMPL; }
HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const TRect*, HIMAGELIST, int) { return E_NOTIMPL; }
HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_NOTIMPL; }
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeString(HTHEME, int, int, int, LPWSTR, int) { return E_NOTIMPL; }
HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) { return E_NOTIMPL; }
HRESULT GetThemeInt(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemePosition(HTHEME, int, int, int, TPoint*) { return E_NOTIMPL; }
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeRect(HTHEME, int, int, int, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, const TRect*, MARGINS*) { return E_NOTIMPL; }
HRESULT GetThemeIntList(HTHEME, int, int, int, INTLIST*) { return E_NOTIMPL; }
HRESULT SetWindowTheme(HWND, LPCWSTR, LPCWSTR) { return E_NOTIMPL; }
HRESULT GetThemeFilename(HTHEME, int, int, int, LPWSTR, int) { return E_NOTIMPL; }
HRESULT GetThemeSysFont(HTHEME, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeSysString(HTHEME, int, LPWSTR, int) { return E_NOTIMPL; }
HRESULT GetThemeSysInt(HTHEME, int, int*) { return E_NOTIMPL; }
HRESULT EnableThemeDialogTexture(HWND, DWORD) { return E_NOTIMPL; }
HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, LPWSTR, int) { return E_NOTIMPL; }
HRESULT GetThemePartSize(HTHEME, HDC, int, int, const TRect*, THEMESIZE, TSize*) { return E_NOTIMPL; }
HRESULT DrawThemeParentBackground(HWND, HDC, const TRect*) { return E_NOTIMPL; }
HRESULT EnableTheming(BOOL) { return E_NOTIMPL; }
