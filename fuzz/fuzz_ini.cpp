// Ini files: any bytes load (or raise the layer's error), every section and key reads back, and a
// file written from what was read loads as the same sections and values.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        // In memory when the machine has it: every rewrite syncs, which on disk is slow.
        char pattern[] = "/dev/shm/fuzz-ini-XXXXXX";
        if (::access("/dev/shm", W_OK) != 0) std::memcpy(pattern, "/tmp/fuzz-ini-XXXXXX\0", 21);
        const char* made = ::mkdtemp(pattern);
        if (!made) std::abort();
        return std::string(made);
    }();
    return folder;
}

// Every section with its values, as one text to compare.
String Dump(TCustomIniFile& ini) {
    TStringList sections, values;
    ini.ReadSections(&sections);
    String out;
    for (int i = 0; i < sections.Count(); ++i) {
        ini.ReadSectionValues(sections[i], &values);
        if (values.Count() == 0) continue;  // a section without keys is not written again
        out += u"[" + sections[i] + u"]\n" + values.Text();
        for (int k = 0; k < values.Count(); ++k) {
            (void)ini.ReadInteger(sections[i], values.Names(k), 0);
            (void)ini.ReadFloat(sections[i], values.Names(k), 0);
            (void)ini.ReadBool(sections[i], values.Names(k), false);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Folder() + "/in.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    try {
        TMemIniFile ini{String(path)};
        String before = Dump(ini);
        const std::string copy = Folder() + "/out.ini";
        ::unlink(copy.c_str());
        TMemIniFile out{String(copy)};
        TStringList sections, values;
        ini.ReadSections(&sections);
        for (int i = 0; i < sections.Count(); ++i) {
            ini.ReadSectionValues(sections[i], &values);
            for (int k = 0; k < values.Count(); ++k) {
                try {
                    out.WriteString(sections[i], values.Names(k), values.ValueFromIndex(k));
                } catch (const EIniFileException&) {
                    // Refused because it could not be read back: fine, but then skip the compare.
                    return 0;
                }
            }
        }
        out.UpdateFile();
        TMemIniFile reread{String(copy)};
        if (Dump(reread) != before) std::abort();
    } catch (const EIniFileException&) {
    }
    return 0;
}
