#pragma once
// The common controls' tool tip window ("tooltips_class32", made by CreateWindowEx) and the edit
// control's balloon tip. Both show in tip windows of their own (THintWindow descendants) that
// never take the activation or the focus; their frame, balloon shape, icons and text are the
// layer's own painting.
#include "platform/ui/CommNotify.h"
#include "platform/ui/HintWindow.h"
#include "platform/win/Resources.h"

using HMENU = HANDLE;

// Window creation by class name. The layer knows the tool tip class only ("tooltips_class32",
// any case); any other class fails with a null handle (ERROR_CANNOT_FIND_WND_CLASS), as an
// unregistered class does. DestroyWindow of the handle takes the tool tip with it.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
HWND CreateWindowEx(DWORD exStyle, const String& className, const String& windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);

inline const char16_t* const TOOLTIPS_CLASS = u"tooltips_class32";
constexpr DWORD TTS_ALWAYSTIP = 0x01, TTS_NOPREFIX = 0x02, TTS_BALLOON = 0x40;

constexpr UINT TTF_IDISHWND = 0x0001, TTF_CENTERTIP = 0x0002, TTF_SUBCLASS = 0x0010, TTF_TRANSPARENT = 0x0100;
// A tool's text asked for through TTN_NEEDTEXT each time its tip is about to show.
inline char16_t* const LPSTR_TEXTCALLBACKW = reinterpret_cast<char16_t*>(~uintptr_t{0});
inline char* const LPSTR_TEXTCALLBACKA = reinterpret_cast<char*>(~uintptr_t{0});
inline char16_t* const LPSTR_TEXTCALLBACK = LPSTR_TEXTCALLBACKW;

// A tool: TTF_IDISHWND makes uId the window that is the tool (its whole client area); otherwise
// rect is the tool's part of hwnd. The narrow form's text is UTF-8. cbSize may leave out the
// trailing lpReserved, as older records do.
template <class Char>
struct TToolInfo {
    UINT cbSize = sizeof(TToolInfo);
    UINT uFlags = 0;
    HWND hwnd = nullptr;
    uintptr_t uId = 0;
    TRect rect;
    HINSTANCE hinst = 0;
    Char* lpszText = nullptr;
    LPARAM lParam = 0;
    void* lpReserved = nullptr;
};
using TOOLINFOW = TToolInfo<char16_t>;
using TOOLINFOA = TToolInfo<char>;
using TOOLINFO = TOOLINFOW;

constexpr UINT TTM_ACTIVATE = WM_USER + 1, TTM_SETDELAYTIME = WM_USER + 3, TTM_ADDTOOLA = WM_USER + 4,
               TTM_DELTOOLA = WM_USER + 5, TTM_SETTIPBKCOLOR = WM_USER + 19, TTM_SETTIPTEXTCOLOR = WM_USER + 20,
               TTM_SETMAXTIPWIDTH = WM_USER + 24, TTM_POP = WM_USER + 28, TTM_SETTITLEA = WM_USER + 32,
               TTM_SETTITLEW = WM_USER + 33, TTM_ADDTOOLW = WM_USER + 50, TTM_DELTOOLW = WM_USER + 51;
constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLW, TTM_DELTOOL = TTM_DELTOOLW, TTM_SETTITLE = TTM_SETTITLEW;
constexpr WPARAM TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3;
// Icons of a title (TTM_SETTITLE's WParam) and of a balloon tip.
constexpr int TTI_NONE = 0, TTI_INFO = 1, TTI_WARNING = 2, TTI_ERROR = 3;

// Notifications (WM_NOTIFY to the tool's window, LParam an NMHDR* or a record that starts with
// one, WParam the tool's id).
constexpr UINT TTN_FIRST = static_cast<UINT>(-520);
constexpr UINT TTN_NEEDTEXTA = TTN_FIRST, TTN_SHOW = TTN_FIRST - 1, TTN_POP = TTN_FIRST - 2,
               TTN_NEEDTEXTW = TTN_FIRST - 10, TTN_GETDISPINFOW = TTN_NEEDTEXTW;
// The text of a callback tool: the handler points lpszText at its text or fills szText.
struct NMTTDISPINFOW {
    NMHDR hdr;
    char16_t* lpszText = nullptr;
    char16_t szText[80] = {};
    HINSTANCE hinst = 0;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};

// The edit control's balloon tip: a balloon pointing at the edit with a title, a text and an
// icon (TTI_). EM_SHOWBALLOONTIP answers FALSE for a record whose cbStruct is not its size.
constexpr UINT EM_SHOWBALLOONTIP = 0x1503, EM_HIDEBALLOONTIP = 0x1504;
struct EDITBALLOONTIP {
    DWORD cbStruct = sizeof(EDITBALLOONTIP);
    const char16_t* pszTitle = nullptr;
    const char16_t* pszText = nullptr;
    int ttiIcon = TTI_NONE;
};

// A combo box's parts: hwndItem is the window that edits its text (the combo box itself, whose
// edit field is rcItem; none for a drop-down list), hwndList none (the list is the backend's).
struct COMBOBOXINFO {
    DWORD cbSize = sizeof(COMBOBOXINFO);
    TRect rcItem;
    TRect rcButton;
    DWORD stateButton = 0;
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;
    HWND hwndList = nullptr;
};
BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info);

// The tip window of tool tips and balloons: a title with an icon above the text, a balloon's
// rounded frame, its own colours and wrapping width.
class TTipWindow : public THintWindow {
public:
    explicit TTipWindow(TComponent* AOwner) : THintWindow(AOwner) {}
    const char* ClassName() const override { return "TTipWindow"; }
    void SetTip(const String& Title, int Icon, bool Balloon, TColor TextColor, TColor BkColor);
    TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
    void Describe(TTipWindowInfo& Info) const override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    String FTitle;
    int FIcon = TTI_NONE;
    bool FBalloon = false;
};

namespace ui::detail {
// Mouse input of a window, for the tool tips whose tools it holds (TTF_SUBCLASS); client
// coordinates of the window. A press pops the tip; leaving the window too (leave true).
void RelayToolMouse(TWinControl* window, UINT msg, TPoint client, bool leave = false);
// A key typed or the focus moving: the edit's balloon tip hides.
void HideEditBalloon();
// EM_SHOWBALLOONTIP and EM_HIDEBALLOONTIP to an edit or a combo box; false for other windows.
bool EditBalloonMessage(TWinControl* window, TMessage& Message);
// The balloon's window was freed (with the application).
void BalloonGone(TControl* control);
}  // namespace ui::detail
