#include "platform/ui/Modules.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/ShellApi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/ui/backend/Backend.h"

namespace {

template <typename F>
FARPROC Proc(F* f) {
    return reinterpret_cast<FARPROC>(f);
}

struct Module {
    const char* name;
    HMODULE handle;
    bool pinned;  // loaded for the whole process
    std::map<std::string, FARPROC> exports;
    int count = 0;
};

std::mutex gModuleMutex;

// Only entry points whose signature is the platform's are exported: a caller casts the pointer to
// the documented type.
std::map<std::string, Module>& Table() {
    static std::map<std::string, Module> table = [] {
        std::map<std::string, Module> t;
        t["kernel32"] = {"kernel32", 0x10000000, true,
                         {{"GetLocaleInfoEx", Proc(&GetLocaleInfoEx)},
                          {"GetVersion", Proc(&GetVersion)},
                          {"GetVersionExW", Proc(&GetVersionEx)},
                          {"GetProcAddress", Proc(&GetProcAddress)},
                          {"FreeLibrary", Proc(&FreeLibrary)}}};
        t["user32"] = {"user32", 0x10010000, true,
                       {{"GetSystemMetrics", Proc(&GetSystemMetrics)},
                        {"SystemParametersInfoW", Proc(&SystemParametersInfo)},
                        {"GetSysColor", Proc(&GetSysColor)},
                        {"DrawEdge", Proc(&DrawEdge)},
                        {"DrawFrameControl", Proc(&DrawFrameControl)},
                        {"SetLayeredWindowAttributes", Proc(&SetLayeredWindowAttributes)},
                        {"GetLayeredWindowAttributes", Proc(&GetLayeredWindowAttributes)},
                        {"UpdateLayeredWindow", Proc(&UpdateLayeredWindow)}}};
        // The common controls' flat scroll bars are missing, as on a system without them.
        t["comctl32"] = {"comctl32", 0x10020000, false, {}};
        t["shell32"] = {"shell32", 0x10040000, false, {{"ShellExecuteW", Proc(&ShellExecute)}}};
        t["uxtheme"] = {"uxtheme", 0x10050000, false,
                        {{"OpenThemeData", Proc(&OpenThemeData)},
                         {"CloseThemeData", Proc(&CloseThemeData)},
                         {"DrawThemeBackground", Proc(&DrawThemeBackground)},
                         {"DrawThemeText", Proc(&DrawThemeText)},
                         {"GetThemeBackgroundContentRect", Proc(&GetThemeBackgroundContentRect)},
                         {"GetThemeBackgroundExtent", Proc(&GetThemeBackgroundExtent)},
                         {"GetThemeTextExtent", Proc(&GetThemeTextExtent)},
                         {"GetThemeTextMetrics", Proc(&GetThemeTextMetrics)},
                         {"GetThemeBackgroundRegion", Proc(&GetThemeBackgroundRegion)},
                         {"HitTestThemeBackground", Proc(&HitTestThemeBackground)},
                         {"DrawThemeEdge", Proc(&DrawThemeEdge)},
                         {"DrawThemeIcon", Proc(&DrawThemeIcon)},
                         {"IsThemePartDefined", Proc(&IsThemePartDefined)},
                         {"IsThemeBackgroundPartiallyTransparent", Proc(&IsThemeBackgroundPartiallyTransparent)},
                         {"GetThemeColor", Proc(&GetThemeColor)},
                         {"GetThemeMetric", Proc(&GetThemeMetric)},
                         {"GetThemeString", Proc(&GetThemeString)},
                         {"GetThemeBool", Proc(&GetThemeBool)},
                         {"GetThemeInt", Proc(&GetThemeInt)},
                         {"GetThemeEnumValue", Proc(&GetThemeEnumValue)},
                         {"GetThemePosition", Proc(&GetThemePosition)},
                         {"GetThemeFont", Proc(&GetThemeFont)},
                         {"GetThemeRect", Proc(&GetThemeRect)},
                         {"GetThemeMargins", Proc(&GetThemeMargins)},
                         {"GetThemeIntList", Proc(&GetThemeIntList)},
                         {"SetWindowTheme", Proc(&SetWindowTheme)},
                         {"GetThemeFilename", Proc(&GetThemeFilename)},
                         {"GetThemeSysColor", Proc(&GetThemeSysColor)},
                         {"GetThemeSysColorBrush", Proc(&GetThemeSysColorBrush)},
                         {"GetThemeSysBool", Proc(&GetThemeSysBool)},
                         {"GetThemeSysSize", Proc(&GetThemeSysSize)},
                         {"GetThemeSysFont", Proc(&GetThemeSysFont)},
                         {"GetThemeSysString", Proc(&GetThemeSysString)},
                         {"GetThemeSysInt", Proc(&GetThemeSysInt)},
                         {"IsThemeActive", Proc(&IsThemeActive)},
                         {"IsAppThemed", Proc(&IsAppThemed)},
                         {"GetWindowTheme", Proc(&GetWindowTheme)},
                         {"EnableThemeDialogTexture", Proc(&EnableThemeDialogTexture)},
                         {"IsThemeDialogTextureEnabled", Proc(&IsThemeDialogTextureEnabled)},
                         {"GetThemeAppProperties", Proc(&GetThemeAppProperties)},
                         {"SetThemeAppProperties", Proc(&SetThemeAppProperties)},
                         {"GetCurrentThemeName", Proc(&GetCurrentThemeName)},
                         {"GetThemeDocumentationProperty", Proc(&GetThemeDocumentationProperty)},
                         {"GetThemePartSize", Proc(&GetThemePartSize)},
                         {"DrawThemeParentBackground", Proc(&DrawThemeParentBackground)},
                         {"EnableTheming", Proc(&EnableTheming)}}};
        return t;
    }();
    return table;
}

// "C:\Windows\System32\UXTHEME.DLL" and "uxtheme" name the same module.
std::string KeyOf(const String& fileName) {
    size_t slash = fileName.find_last_of(u"/\\");
    String name = LowerCase(slash == String::npos ? fileName : String(fileName.substr(slash + 1)));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, u".dll") == 0) name.resize(name.size() - 4);
    return name.ToUtf8();
}

// The layered-window calls are exported only where the desktop shows translucency: code that
// looks them up keeps to opaque windows elsewhere.
bool Exported(FARPROC proc) {
    if (proc != Proc(&SetLayeredWindowAttributes) && proc != Proc(&GetLayeredWindowAttributes) &&
        proc != Proc(&UpdateLayeredWindow))
        return true;
    return ui::GetBackend().Supports(ui::Capability::TranslucentWindows);
}

bool Available(const Module& m) {
    return std::strcmp(m.name, "uxtheme") != 0 || ui::sys::Answers().ThemeLibrary;
}

Module* ByHandle(HMODULE handle) {
    for (auto& [key, m] : Table())
        if (m.handle == handle && (m.pinned || m.count > 0)) return &m;
    return nullptr;
}

}  // namespace

HMODULE LoadLibrary(const String& fileName) {
    std::lock_guard<std::mutex> lock(gModuleMutex);
    auto it = Table().find(KeyOf(fileName));
    if (it == Table().end() || !Available(it->second)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    ++it->second.count;
    return it->second.handle;
}

HMODULE GetModuleHandle(const String& moduleName) {
    std::lock_guard<std::mutex> lock(gModuleMutex);
    auto it = Table().find(KeyOf(moduleName));
    if (it == Table().end() || !(it->second.pinned || it->second.count > 0)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return it->second.handle;
}

namespace {

// GetProcAddress's lookup, under the table's lock.
FARPROC FindExport(HMODULE module, const char* procName) {
    Module* m = ByHandle(module);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!procName) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    // The newer locale functions exist from version 6 on.
    if (std::strcmp(procName, "GetLocaleInfoEx") == 0 && ui::sys::Answers().MajorVersion < 6) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    auto it = m->exports.find(procName);
    if (it == m->exports.end()) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return it->second;
}

}  // namespace

FARPROC GetProcAddress(HMODULE module, const char* procName) {
    FARPROC proc = nullptr;
    {
        std::lock_guard<std::mutex> lock(gModuleMutex);
        proc = FindExport(module, procName);
    }
    if (proc && !Exported(proc)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return proc;
}

BOOL FreeLibrary(HMODULE module) {
    std::lock_guard<std::mutex> lock(gModuleMutex);
    Module* m = ByHandle(module);
    if (!m || (!m->pinned && m->count == 0)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    if (m->count > 0) --m->count;
    return TRUE_;
}

int GetLocaleInfoEx(const char16_t* localeName, LCTYPE type, char16_t* data, int cchData) {
    String locale = localeName ? String(localeName) : String();
    if (!locale.empty() && !AnsiSameText(locale, u"en-US")) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    String value;
    switch (type) {
        case LOCALE_SNAME: value = u"en-US"; break;
        case LOCALE_SDECIMAL: value = u"."; break;
        case LOCALE_STHOUSAND: value = u","; break;
        case LOCALE_IFIRSTDAYOFWEEK: value = u"6"; break;
        default: SetLastError(ERROR_INVALID_FLAGS); return 0;
    }
    int needed = static_cast<int>(value.size()) + 1;
    if (cchData == 0) return needed;
    if (!data || cchData < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(value.begin(), value.end(), data);
    data[value.size()] = 0;
    return needed;
}

namespace ui::sys {

int ModuleLoadCount(const String& moduleName) {
    std::lock_guard<std::mutex> lock(gModuleMutex);
    auto it = Table().find(KeyOf(moduleName));
    return it == Table().end() ? 0 : it->second.count;
}

FARPROC SetModuleExport(const String& moduleName, const char* procName, FARPROC proc) {
    std::lock_guard<std::mutex> lock(gModuleMutex);
    auto it = Table().find(KeyOf(moduleName));
    if (it == Table().end() || !procName) return nullptr;
    auto& exports = it->second.exports;
    auto old = exports.find(procName);
    FARPROC previous = old == exports.end() ? nullptr : old->second;
    if (proc)
        exports[procName] = proc;
    else if (old != exports.end())
        exports.erase(old);
    return previous;
}

}  // namespace ui::sys
