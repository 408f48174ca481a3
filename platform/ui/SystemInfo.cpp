#include "platform/ui/SystemInfo.h"

#include <cstddef>
#include <cstring>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/Forms.h"

TSysLocale SysLocale;
bool NewStyleControls = true;

namespace ui::sys {

SystemAnswers& Answers() {
    static SystemAnswers answers;
    return answers;
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

// The block GetFileVersionInfo fills: a tag, then the fixed file info.
struct VersionBlock {
    DWORD tag = 0x49565356;  // "VSVI"
    VS_FIXEDFILEINFO fixed;
};

bool HasVersionData(const String& fileName) {
    size_t slash = fileName.find_last_of(u"/\\");
    String name = slash == String::npos ? fileName : String(fileName.substr(slash + 1));
    return AnsiSameText(name, u"COMCTL32.DLL") && Answers().ComCtlVersionData;
}

}  // namespace

DWORD GetFileVersionInfoSize(const String& fileName, DWORD* handle) {
    if (handle) *handle = 0;
    if (!HasVersionData(fileName)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return 0;
    }
    return sizeof(VersionBlock);
}

BOOL GetFileVersionInfo(const String& fileName, DWORD, DWORD length, void* data) {
    if (!HasVersionData(fileName)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE_;
    }
    if (!data || length < sizeof(VersionBlock)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE_;
    }
    const auto& a = Answers();
    VersionBlock block;
    block.fixed.dwFileVersionMS = (static_cast<DWORD>(a.ComCtlMajor) << 16) | a.ComCtlMinor;
    block.fixed.dwFileVersionLS = static_cast<DWORD>(a.ComCtlBuild) << 16;
    block.fixed.dwProductVersionMS = block.fixed.dwFileVersionMS;
    block.fixed.dwProductVersionLS = block.fixed.dwFileVersionLS;
    std::memcpy(data, &block, sizeof(block));
    return TRUE_;
}

BOOL VerQueryValue(const void* block, const String& subBlock, void** buffer, UINT* length) {
    if (!block || !buffer || !length) return FALSE_;
    DWORD tag = 0;
    std::memcpy(&tag, block, sizeof(tag));
    if (tag != VersionBlock().tag || subBlock != u"\\") return FALSE_;
    *buffer = const_cast<char*>(static_cast<const char*>(block) + offsetof(VersionBlock, fixed));
    *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE_;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN: return Screen->Width();
        case SM_CYSCREEN: return Screen->Height();
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
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
        default: break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE_;
}
