#pragma once
// The module table: the layer's own libraries under the names the components load them by
// ("kernel32", "user32", "comctl32", "uxtheme", "shell32"; any case, with or without ".dll" or a
// folder), with a reference count per module and the entry points the layer implements with the
// platform's signatures. "kernel32" and "user32" are loaded from the start; the others from their
// first LoadLibrary until as many FreeLibrary calls.
#include "platform/rtl/String.h"
#include "platform/ui/Cursors.h"

using HMODULE = HINSTANCE;
using FARPROC = void (*)();

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// 0 with ERROR_MOD_NOT_FOUND for a module the layer lacks, and for "uxtheme" while the system
// answers say the theme library is missing.
HMODULE LoadLibrary(const String& fileName);
// The handle of a loaded module, else 0 (ERROR_MOD_NOT_FOUND).
HMODULE GetModuleHandle(const String& moduleName);
// The entry point as a FARPROC, cast by the caller to the function's own type; nil with
// ERROR_PROC_NOT_FOUND when the module does not export it, ERROR_INVALID_HANDLE for a handle that
// is not a loaded module.
FARPROC GetProcAddress(HMODULE module, const char* procName);
// False (ERROR_INVALID_HANDLE) for a module that is not loaded; never unloads "kernel32" and "user32".
BOOL FreeLibrary(HMODULE module);

// Locale data for a locale name (null or "" is the user's locale). The layer's locale is "en-US"
// with the fixed number format; answers LOCALE_SNAME, LOCALE_SDECIMAL, LOCALE_STHOUSAND and
// LOCALE_IFIRSTDAYOFWEEK ("0" Monday .. "6" Sunday; the locale's week starts on Sunday).
// Returns the characters written with the terminating NUL (needed when cchData is 0), 0 on failure.
using LCTYPE = DWORD;
constexpr LCTYPE LOCALE_SDECIMAL = 0x0E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x0F;
constexpr LCTYPE LOCALE_SNAME = 0x5C;
constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x100C;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
int GetLocaleInfoEx(const char16_t* localeName, LCTYPE type, char16_t* data, int cchData);

namespace ui::sys {
// Test switches of the module table: how many loads of a module are in force now, and an entry
// point added to a module's exports or (proc nil) taken away. SetModuleExport answers the entry
// point it replaced, so a test can put it back.
int ModuleLoadCount(const String& moduleName);
FARPROC SetModuleExport(const String& moduleName, const char* procName, FARPROC proc);
}  // namespace ui::sys
