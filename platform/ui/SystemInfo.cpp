#include "platform/ui/SystemInfo.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/Forms.h"
#include "platform/win/Resources.h"

TSysLocale SysLocale;
bool NewStyleControls = true;

namespace ui::sys {

SystemAnswers& Answers() {
    static SystemAnswers answers;
    return answers;
}

UINT KeyRepeatDelayMs() {
    UINT delay = 1;
    SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    return 250 * (delay + 1);
}

UINT KeyRepeatIntervalMs() {
    UINT speed = 31;
    SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    // Speed 0 is about 2.5 repeats a second, 31 about 30, in even steps between.
    return static_cast<UINT>(std::lround(1000.0 / (2.5 + speed * 27.5 / 31.0)));
}

void ResetAnswers() {
    Answers() = SystemAnswers();
    SysLocale = TSysLocale();
}

}  // namespace ui::sys

using ui::sys::Answers;

BOOL GetVersionEx(OSVERSIONINFO* info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE_;
    }
    info->dwMajorVersion = Answers().MajorVersion;
    info->dwMinorVersion = Answers().MinorVersion;
    info->dwBuildNumber = Answers().BuildNumber;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    return TRUE_;
}

DWORD GetVersion() {
    const auto& a = Answers();
    return (a.MajorVersion & 0xFF) | ((a.MinorVersion & 0xFF) << 8) | ((a.BuildNumber & 0x7FFF) << 16);
}

namespace {

// The block GetFileVersionInfo fills: a tag, the fixed file info, the translation entry (0 when
// the file has no string table), then the string table: pairs of a name and a value, each a
// UTF-16 text ended by a NUL, and an empty name at the end.
struct VersionBlock {
    DWORD tag = 0x49565356;  // "VSVI"
    VS_FIXEDFILEINFO fixed;
    WORD language = 0;
    WORD codePage = 0;
    DWORD hasStrings = 0;
};

bool IsCommonControls(const String& fileName) {
    size_t slash = fileName.find_last_of(u"/\\");
    String name = slash == String::npos ? fileName : String(fileName.substr(slash + 1));
    return AnsiSameText(name, u"COMCTL32.DLL") && Answers().ComCtlVersionData;
}

bool IsProgramFile(const String& fileName) {
    std::error_code ec;
    return !fileName.empty() && std::filesystem::equivalent(fileName.ToUtf8(), ParamStr(0).ToUtf8(), ec) && !ec;
}

// "a.b.c.d" as the two words of a fixed version; missing parts are 0.
void ParseVersion(const String& text, DWORD& ms, DWORD& ls) {
    DWORD part[4] = {};
    std::string s = text.ToUtf8();
    size_t at = 0;
    for (int i = 0; i < 4 && at < s.size(); ++i) {
        size_t dot = s.find('.', at);
        part[i] = static_cast<DWORD>(std::strtoul(s.substr(at, dot - at).c_str(), nullptr, 10) & 0xFFFF);
        if (dot == std::string::npos) break;
        at = dot + 1;
    }
    ms = part[0] << 16 | part[1];
    ls = part[2] << 16 | part[3];
}

void AppendText(std::vector<uint8_t>& out, const String& text) {
    const auto* p = reinterpret_cast<const uint8_t*>(text.c_str());
    out.insert(out.end(), p, p + (text.size() + 1) * sizeof(char16_t));
}

// The program's own version data: its version resource 1, lines "Name=Value" in UTF-8, the
// first one "Translation=llllcccc" (language and code page, hexadecimal). Empty when the
// program has none.
std::vector<uint8_t> ProgramVersionBlock() {
    HRSRC found = FindResource(HInstance, MAKEINTRESOURCE(1), MAKEINTRESOURCE(RT_VERSION));
    if (!found) return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(HInstance, found)));
    if (!bytes) return {};
    const std::string text(bytes, SizeofResource(HInstance, found));
    VersionBlock head;
    std::vector<uint8_t> strings;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        const std::string name = line.substr(0, eq), value = line.substr(eq + 1);
        if (name == "Translation") {
            const unsigned long t = std::strtoul(value.c_str(), nullptr, 16);
            head.language = static_cast<WORD>(t >> 16);
            head.codePage = static_cast<WORD>(t & 0xFFFF);
            head.hasStrings = 1;
            continue;
        }
        if (name == "FileVersion") ParseVersion(String(value), head.fixed.dwFileVersionMS, head.fixed.dwFileVersionLS);
        if (name == "ProductVersion")
            ParseVersion(String(value), head.fixed.dwProductVersionMS, head.fixed.dwProductVersionLS);
        AppendText(strings, String(name));
        AppendText(strings, String(value));
    }
    AppendText(strings, String());
    std::vector<uint8_t> block(sizeof(VersionBlock));
    std::memcpy(block.data(), &head, sizeof(head));
    if (head.hasStrings) block.insert(block.end(), strings.begin(), strings.end());
    return block;
}

// The version data of a file; empty when it has none.
std::vector<uint8_t> VersionDataOf(const String& fileName) {
    if (IsCommonControls(fileName)) {
        const auto& a = Answers();
        VersionBlock block;
        block.fixed.dwFileVersionMS = (static_cast<DWORD>(a.ComCtlMajor) << 16) | a.ComCtlMinor;
        block.fixed.dwFileVersionLS = static_cast<DWORD>(a.ComCtlBuild) << 16;
        block.fixed.dwProductVersionMS = block.fixed.dwFileVersionMS;
        block.fixed.dwProductVersionLS = block.fixed.dwFileVersionLS;
        std::vector<uint8_t> bytes(sizeof(block));
        std::memcpy(bytes.data(), &block, sizeof(block));
        return bytes;
    }
    if (IsProgramFile(fileName)) return ProgramVersionBlock();
    return {};
}

}  // namespace

DWORD GetFileVersionInfoSize(const String& fileName, DWORD* handle) {
    if (handle) *handle = 0;
    const std::vector<uint8_t> data = VersionDataOf(fileName);
    if (data.empty()) SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return static_cast<DWORD>(data.size());
}

BOOL GetFileVersionInfo(const String& fileName, DWORD, DWORD length, void* data) {
    const std::vector<uint8_t> block = VersionDataOf(fileName);
    if (block.empty()) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE_;
    }
    if (!data || length < block.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE_;
    }
    std::memcpy(data, block.data(), block.size());
    return TRUE_;
}

BOOL VerQueryValue(const void* block, const String& subBlock, void** buffer, UINT* length) {
    if (!block || !buffer || !length) return FALSE_;
    VersionBlock head;
    std::memcpy(&head, block, sizeof(head));
    if (head.tag != VersionBlock().tag) return FALSE_;
    const char* base = static_cast<const char*>(block);
    if (subBlock == u"\\") {
        *buffer = const_cast<char*>(base + offsetof(VersionBlock, fixed));
        *length = sizeof(VS_FIXEDFILEINFO);
        return TRUE_;
    }
    if (!head.hasStrings) return FALSE_;
    // The one translation entry: language, then code page.
    if (AnsiSameText(subBlock, u"\\VarFileInfo\\Translation") || AnsiSameText(subBlock, u"\\VarFileInfo\\Translation\\")) {
        *buffer = const_cast<char*>(base + offsetof(VersionBlock, language));
        *length = 2 * sizeof(WORD);
        return TRUE_;
    }
    char key[9];
    std::snprintf(key, sizeof(key), "%.4x%.4x", head.language, head.codePage);
    const String prefix = String(u"\\StringFileInfo\\") + String(key) + u"\\";
    if (subBlock.size() <= prefix.size() || !AnsiSameText(String(subBlock.substr(0, prefix.size())), prefix)) return FALSE_;
    const String name(subBlock.substr(prefix.size()));
    const auto* p = reinterpret_cast<const char16_t*>(base + sizeof(VersionBlock));
    while (*p) {
        const String entry(p);
        const char16_t* value = p + entry.size() + 1;
        const size_t valueLength = std::char_traits<char16_t>::length(value);
        if (AnsiSameText(entry, name)) {
            *buffer = const_cast<char16_t*>(value);
            *length = static_cast<UINT>(valueLength + 1);  // characters, with the NUL
            return TRUE_;
        }
        p = value + valueLength + 1;
    }
    return FALSE_;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN: return Screen->Width();
        case SM_CYSCREEN: return Screen->Height();
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL: return ui::kWindowScrollBarSize;
        case SM_CYVTHUMB:
        case SM_CXHTHUMB: return 17;
        case SM_CYCAPTION: return 18;
        case SM_CYMENU: return 19;
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        case SM_CXEDGE:
        case SM_CYEDGE: return 2;
        default: return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT, void* pvParam, UINT) {
    switch (action) {
        case SPI_GETMENUANIMATION:
            if (!pvParam) break;
            *static_cast<BOOL*>(pvParam) = Answers().MenuAnimation ? TRUE_ : FALSE_;
            return TRUE_;
        case SPI_SETMENUANIMATION:
            Answers().MenuAnimation = pvParam != nullptr;
            return TRUE_;
        case SPI_GETWHEELSCROLLLINES: {
            if (!pvParam) break;
            int lines = Answers().WheelScrollLines;
            if (lines == 0) lines = ui::GetBackend().WheelScrollLines();
            if (lines == 0) lines = 3;
            *static_cast<UINT*>(pvParam) = lines < 0 ? WHEEL_PAGESCROLL : static_cast<UINT>(lines);
            return TRUE_;
        }
        case SPI_GETKEYBOARDDELAY:
        case SPI_GETKEYBOARDSPEED:
            if (!pvParam) break;
            *static_cast<UINT*>(pvParam) = action == SPI_GETKEYBOARDDELAY ? std::min(Answers().KeyboardDelay, 3u) : std::min(Answers().KeyboardSpeed, 31u);
            return TRUE_;
        case SPI_GETHIGHCONTRAST: {
            auto* hc = static_cast<HIGHCONTRAST*>(pvParam);
            if (!hc || hc->cbSize != sizeof(HIGHCONTRAST)) break;
            hc->dwFlags = Answers().HighContrast ? HCF_HIGHCONTRASTON : 0;
            hc->lpszDefaultScheme = nullptr;
            return TRUE_;
        }
        case SPI_GETWORKAREA:
            if (!pvParam) break;
            *static_cast<TRect*>(pvParam) = Screen->WorkAreaRect();
            return TRUE_;
        default: break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE_;
}
