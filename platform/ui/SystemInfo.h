#pragma once
// What the components ask about the system they run on: the version, the file version of the
// common-controls library, metrics, a few system parameters and the locale's reading order.
// The answers are the layer's own, kept in one table (ui::sys::Answers) that tests change; only
// the screen size and the wheel lines come from the desktop.
#include <cstdint>

#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    char16_t szCSDVersion[128] = {};
};
using OSVERSIONINFOW = OSVERSIONINFO;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// False (ERROR_INSUFFICIENT_BUFFER) when dwOSVersionInfoSize is not the record's size.
BOOL GetVersionEx(OSVERSIONINFO* info);
// Major version in the low byte, minor in the next, build in the high word.
DWORD GetVersion();

struct VS_FIXEDFILEINFO {
    DWORD dwSignature = 0xFEEF04BD;
    DWORD dwStrucVersion = 0x00010000;
    DWORD dwFileVersionMS = 0;
    DWORD dwFileVersionLS = 0;
    DWORD dwProductVersionMS = 0;
    DWORD dwProductVersionLS = 0;
    DWORD dwFileFlagsMask = 0x3F;
    DWORD dwFileFlags = 0;
    DWORD dwFileOS = 0x00040004;
    DWORD dwFileType = 2;
    DWORD dwFileSubtype = 0;
    DWORD dwFileDateMS = 0;
    DWORD dwFileDateLS = 0;
};

// Version data exists only for the layer's modules that carry it ("COMCTL32.DLL", with or
// without a folder, any case) and for the program's own file (ParamStr(0)) when the program has
// a version resource 1: UTF-8 lines "Name=Value", the first "Translation=llllcccc" (language and
// code page in hexadecimal), the others its strings. Any other file answers 0 with
// ERROR_RESOURCE_TYPE_NOT_FOUND.
DWORD GetFileVersionInfoSize(const String& fileName, DWORD* handle);
BOOL GetFileVersionInfo(const String& fileName, DWORD handle, DWORD length, void* data);
// "\" gives the VS_FIXEDFILEINFO inside the block; "\VarFileInfo\Translation" the translation
// entry (two WORDs: language, code page) and "\StringFileInfo\llllcccc\Name" a string (its
// length in characters with the NUL), where the block has a string table; others are absent.
BOOL VerQueryValue(const void* block, const String& subBlock, void** buffer, UINT* length);

constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CYVTHUMB = 9, SM_CXHTHUMB = 10, SM_CYMENU = 15,
              SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_CXEDGE = 45, SM_CYEDGE = 46;
// The classic values; the screen size is the primary screen's. 0 for an index the layer lacks.
int GetSystemMetrics(int index);

constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;
constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETHIGHCONTRAST = 0x0042;
constexpr UINT SPI_GETWHEELSCROLLLINES = 104;
constexpr UINT SPI_GETMENUANIMATION = 0x1002;
constexpr UINT SPI_SETMENUANIMATION = 0x1003;
constexpr UINT SPIF_UPDATEINIFILE = 1;
constexpr UINT SPIF_SENDCHANGE = 2;
constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFFu;
// SPI_GETMENUANIMATION writes a BOOL to pvParam; SPI_SETMENUANIMATION takes the value in pvParam
// (non-null is on) and changes only the layer's own setting; SPI_GETWHEELSCROLLLINES writes a UINT
// (WHEEL_PAGESCROLL: a page per notch); SPI_GETWORKAREA writes the primary screen's work area
// (a TRect); SPI_GETKEYBOARDDELAY (0 to 3: 250 to 1000 ms before a held key repeats) and
// SPI_GETKEYBOARDSPEED (0 to 31: about 2.5 to 30 repeats a second) write a UINT;
// SPI_GETHIGHCONTRAST fills a HIGHCONTRAST whose cbSize is its size (else, or without one, FALSE
// with ERROR_INVALID_PARAMETER and nothing written). Other actions answer FALSE with
// ERROR_INVALID_PARAMETER.
BOOL SystemParametersInfo(UINT action, UINT param, void* pvParam, UINT winIni);

// The high-contrast setting: HCF_HIGHCONTRASTON in dwFlags while it is on. The layer names no
// scheme (lpszDefaultScheme nil).
constexpr DWORD HCF_HIGHCONTRASTON = 0x00000001;
struct HIGHCONTRAST {
    UINT cbSize = sizeof(HIGHCONTRAST);
    DWORD dwFlags = 0;
    char16_t* lpszDefaultScheme = nullptr;
};

// The locale's reading order: MiddleEast is true for a right-to-left locale.
struct TSysLocale {
    bool FarEast = false;
    bool MiddleEast = false;
};
extern TSysLocale SysLocale;
// Whether controls have the 3D look of the newer platform versions (always here).
extern bool NewStyleControls;

namespace ui::sys {

// The one table of answers. Defaults: version 6.1 build 7601, common controls 6.10, the theme
// library present and active with an empty colour name, menu animation on, wheel lines from the
// desktop, high contrast off.
struct SystemAnswers {
    DWORD MajorVersion = 6;
    DWORD MinorVersion = 1;
    DWORD BuildNumber = 7601;
    WORD ComCtlMajor = 6;
    WORD ComCtlMinor = 10;
    WORD ComCtlBuild = 7601;
    // False: "COMCTL32.DLL" carries no version data, as a damaged or foreign file would.
    bool ComCtlVersionData = true;
    bool ThemeLibrary = true;
    bool ThemeActive = true;
    String ThemeFileName;
    String ThemeColorName;
    String ThemeSizeName;
    bool MenuAnimation = true;
    // Lines per wheel notch; 0 asks the desktop (3 when it says nothing), -1 is a page.
    int WheelScrollLines = 0;
    // The key repeat's delay (0 to 3) and speed (0 to 31), the platform's defaults.
    UINT KeyboardDelay = 1;
    UINT KeyboardSpeed = 31;
    // The desktop's high-contrast setting. The desktop is not asked: Qt reports none.
    bool HighContrast = false;
};

// The key repeat in milliseconds, as held scroll-bar arrows repeat too.
UINT KeyRepeatDelayMs();
UINT KeyRepeatIntervalMs();

SystemAnswers& Answers();
// Back to the defaults, SysLocale included (tests call it when they end).
void ResetAnswers();

}  // namespace ui::sys
