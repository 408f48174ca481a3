#pragma once
// The shell's open: documents and URLs go to the desktop's opener. Tests replace the opener by
// a recorder (SetUrlOpenerHook), so no test starts a browser. The shell's file icons
// (SHGetFileInfo) are in ShellIcons.h.
#include <functional>

#include "platform/rtl/String.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/ShellIcons.h"
#include "platform/ui/WinUser.h"
#include "platform/win/WinTypes.h"

// Error answers of ShellExecute (all 32 or below).
constexpr HINSTANCE SE_ERR_FNF = 2;
constexpr HINSTANCE SE_ERR_PNF = 3;
constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
constexpr HINSTANCE SE_ERR_NOASSOC = 31;

// Verb "open" (or null, the default verb) opens the file (absolute, or relative to directory)
// or URL with the desktop's handler and answers a value above 32. A missing file answers
// SE_ERR_FNF (SE_ERR_PNF when its folder is missing too), another verb or a target the desktop
// will not open SE_ERR_NOASSOC. Programs are not started: parameters are not passed on.
HINSTANCE ShellExecute(HWND hwnd, const char16_t* operation, const char16_t* file, const char16_t* parameters,
                       const char16_t* directory, int showCmd);

namespace ui {
// While set, ShellExecute hands the target (a URL, or an absolute file path) to the hook instead
// of the desktop; its answer says whether the target opened. An empty hook restores the desktop.
void SetUrlOpenerHook(std::function<bool(const String& target)> hook);
}  // namespace ui
