#include "platform/ui/ShellApi.h"

#include <mutex>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"

namespace {

std::mutex gOpenerMutex;
std::function<bool(const String&)> gOpener;

// "scheme:" of two or more letters: a URL rather than a path.
bool IsUrl(const String& s) {
    size_t colon = s.find(u':');
    if (colon == String::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        char16_t c = s[i];
        bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
        if (!ok) return false;
    }
    return true;
}

}  // namespace

namespace ui {

void SetUrlOpenerHook(std::function<bool(const String& target)> hook) {
    std::lock_guard<std::mutex> lock(gOpenerMutex);
    gOpener = std::move(hook);
}

}  // namespace ui

HINSTANCE ShellExecute(HWND, const char16_t* operation, const char16_t* file, const char16_t*,
                       const char16_t* directory, int) {
    String verb = operation ? String(operation) : String();
    if (!verb.empty() && !AnsiSameText(verb, u"open")) return SE_ERR_NOASSOC;
    String target = file ? String(file) : String();
    if (target.empty()) return SE_ERR_FNF;
    if (!IsUrl(target)) {
        if (target[0] != u'/') {
            String dir = directory && *directory ? String(directory) : GetCurrentDir();
            target = IncludeTrailingPathDelimiter(dir) + target;
        }
        if (!FileExists(target) && !DirectoryExists(target))
            return DirectoryExists(ExtractFileDir(target)) ? SE_ERR_FNF : SE_ERR_PNF;
    }
    std::function<bool(const String&)> opener;
    {
        std::lock_guard<std::mutex> lock(gOpenerMutex);
        opener = gOpener;
    }
    bool opened = false;
    if (opener) opened = opener(target);
    else if (ui::Backend& backend = ui::GetBackend(); backend.Supports(ui::Capability::OpenUrl)) opened = backend.OpenUrl(target);
    // Above 32 is success; the platform's answer is a pseudo instance handle.
    return opened ? 42 : SE_ERR_NOASSOC;
}
