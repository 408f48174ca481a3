#include "app/GetVersion2.h"

#include <cstdio>
#include <vector>

#include "platform/ui/SystemInfo.h"
#include "platform/win/Errors.h"

String VersionTranslationKey(WORD language, WORD codePage) {
    char key[16];
    std::snprintf(key, sizeof(key), "%.4x%.4x", language, codePage);
    return String(key);
}

void GetEXEVersionData(const String& FileName, TEXEVersionData& Data) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(FileName, &handle);
    if (size == 0) RaiseLastOSError();
    std::vector<char> block(size);
    if (!GetFileVersionInfo(FileName, handle, size, block.data())) RaiseLastOSError();
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValue(block.data(), u"\\VarFileInfo\\Translation\\", &value, &length)) RaiseLastOSError();
    const auto* translation = static_cast<const WORD*>(value);
    const String key = VersionTranslationKey(translation[0], translation[1]);
    const std::pair<const char*, String*> fields[] = {
        {"CompanyName", &Data.CompanyName},         {"FileDescription", &Data.FileDescription},
        {"FileVersion", &Data.FileVersion},         {"InternalName", &Data.InternalName},
        {"LegalCopyright", &Data.LegalCopyright},   {"LegalTrademarks", &Data.LegalTrademarks},
        {"OriginalFileName", &Data.OriginalFileName}, {"ProductName", &Data.ProductName},
        {"ProductVersion", &Data.ProductVersion},   {"Comments", &Data.Comments},
        {"PrivateBuild", &Data.PrivateBuild},       {"SpecialBuild", &Data.SpecialBuild},
    };
    for (const auto& [name, field] : fields) {
        if (VerQueryValue(block.data(), String("\\StringFileInfo\\") + key + "\\" + name, &value, &length))
            *field = String(static_cast<const char16_t*>(value));
    }
}
