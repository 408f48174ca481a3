// Ini files: any bytes load (or raise the layer's error) and every section and key reads back.
// Then in each encoding the files take (UTF-8 without a mark, and UTF-8 and UTF-16 both ways with
// one): the file's own text saved in that encoding loads as the same sections and values; what
// was read, written key by key into a new file of that encoding, loads back the same; and the
// loaded file written over itself keeps its encoding and its values.
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"

namespace {

const std::string& Folder() {
    static const std::string folder = fuzz::NewFolder("ini");
    return folder;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
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

bool HasLoneSurrogate(const String& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) ++i;
        else if (s[i] >= 0xD800 && s[i] <= 0xDFFF) return true;
    }
    return false;
}

constexpr TextEncoding kEncodings[] = {TextEncoding::Utf8, TextEncoding::Utf8Bom, TextEncoding::Utf16LE,
                                       TextEncoding::Utf16BE};

// What a new file of the encoding starts as: nothing for UTF-8, else its mark alone.
std::string Mark(TextEncoding e) { return e == TextEncoding::Utf8 ? std::string() : EncodeText(u"", e); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Folder() + "/in.ini";
    WriteFile(path, fuzz::Bytes(data, size));
    String before;
    try {
        TMemIniFile ini{String(path)};
        before = Dump(ini);
    } catch (const EIniFileException&) {
        return 0;
    }
    const String text = DecodeText(fuzz::Bytes(data, size));
    for (TextEncoding e : kEncodings) {
        const bool utf8 = e == TextEncoding::Utf8 || e == TextEncoding::Utf8Bom;
        // The file's own text in this encoding (UTF-8 holds no lone surrogate).
        if (!(utf8 && HasLoneSurrogate(text))) {
            const std::string copy = Folder() + "/recoded.ini";
            const std::string recodedBytes = EncodeText(text, e);
            TextEncoding written;  // UTF-8 of a text that starts with U+FEFF carries a mark
            DecodeText(recodedBytes, &written);
            WriteFile(copy, recodedBytes);
            TMemIniFile recoded{String(copy)};
            if (Dump(recoded) != before) std::abort();
            // Written over itself: the same values, in the same encoding.
            recoded.UpdateFile();
            TMemIniFile again{String(copy)};
            if (Dump(again) != before) std::abort();
            TextEncoding kept;
            DecodeText(ReadFile(copy), &kept);
            if (kept != written) std::abort();
        }
        // Key by key into a new file of this encoding.
        const std::string copy = Folder() + "/out.ini";
        WriteFile(copy, Mark(e));
        TMemIniFile ini{String(path)};
        TMemIniFile out{String(copy)};
        TStringList sections, values;
        ini.ReadSections(&sections);
        bool refused = false;
        for (int i = 0; i < sections.Count() && !refused; ++i) {
            ini.ReadSectionValues(sections[i], &values);
            for (int k = 0; k < values.Count() && !refused; ++k) {
                try {
                    out.WriteString(sections[i], values.Names(k), values.ValueFromIndex(k));
                } catch (const EIniFileException&) {
                    // Refused because it could not be read back: fine, but then skip the compare.
                    refused = true;
                }
            }
        }
        if (refused) continue;
        out.UpdateFile();
        TMemIniFile reread{String(copy)};
        if (Dump(reread) != before) std::abort();
    }
    return 0;
}
