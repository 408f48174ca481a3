// The registry's file as found on disk: any bytes, then every key and value reached through the
// public calls, and one write that rewrites the file. Nothing may crash, leak or hang; the only
// acceptable failure is ERegistryException.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Registry.h"

namespace {

std::string Folder() {
    static const std::string folder = [] {
        std::string made = fuzz::NewFolder("registry");
        win::SetRegistryFolder(String(made));
        return made;
    }();
    return folder;
}

void Walk(TRegistry& reg, const String& path, int depth) {
    if (depth > 8 || !reg.OpenKey(path, false)) return;
    TStringList values;
    reg.GetValueNames(&values);
    for (int i = 0; i < values.Count(); ++i) {
        String name = values[i];
        reg.ReadString(name);
        try {
            reg.ReadInteger(name);
        } catch (const ERegistryException&) {
        }
        reg.ValueExists(name);
    }
    TStringList keys;
    reg.GetKeyNames(&keys);
    for (int i = 0; i < keys.Count() && i < 16; ++i) {
        String sub = path + u"\\" + keys[i];
        reg.KeyExists(sub);
        Walk(reg, sub, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string file = Folder() + "/registry-HKEY_CURRENT_USER.ini";
    if (FILE* f = std::fopen(file.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        TRegistry reg;
        Walk(reg, u"\\", 0);
        TStringList top;
        reg.CloseKey();
        reg.GetKeyNames(&top);
        if (top.Count() > 0 && reg.OpenKey(u"\\" + top[0], false)) {
            reg.WriteString(u"Fuzz", u"value");
            reg.WriteInteger(u"FuzzN", -7);
            if (reg.ReadString(u"Fuzz") != u"value" || reg.ReadInteger(u"FuzzN") != -7) std::abort();
            reg.DeleteValue(u"Fuzz");
        }
        reg.CloseKey();
        if (top.Count() > 1) reg.DeleteKey(u"\\" + top[1]);
    } catch (const ERegistryException&) {
    }
    return 0;
}
