// String lists loaded from any file (or made of any UTF-16 units), then saved in each encoding the
// list writes (UTF-8 with and without a mark, UTF-16 both ways, CP932) to a file and to a stream,
// and loaded back: the same items come back, except what the encoding cannot hold: a surrogate
// without its partner in UTF-8 reads back as U+FFFD, a character CP932 lacks as "?" (and one it
// maps to another as that one). CP932 has no mark: bytes of it that are also valid UTF-8 read
// back as UTF-8, as every reader of the project takes a file without a mark.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

namespace {

const std::string& Folder() {
    static const std::string folder = fuzz::NewFolder("string-list");
    return folder;
}

bool Lone(const String& s, size_t i) {
    const char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF) return i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF;
    if (c >= 0xDC00 && c <= 0xDFFF) return i == 0 || s[i - 1] < 0xD800 || s[i - 1] > 0xDBFF;
    return false;
}

// What a character becomes through CP932 and back: itself, "?" when CP932 lacks it, or the one
// it is mapped to (U+00A5 goes to the byte of the backslash). Asked of the converter once per
// character.
const String& ThroughCp932(char16_t c) {
    static std::unordered_map<char16_t, String> known;
    auto it = known.find(c);
    if (it != known.end()) return it->second;
    const char16_t one[] = {c};
    return known[c] = Cp932ToUtf16(Utf16ToCp932(std::u16string_view(one, 1)));
}

// The text as the encoding can hold it.
String Held(const String& text, TextEncoding e) {
    String out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool surrogate = text[i] >= 0xD800 && text[i] <= 0xDFFF;
        if ((e == TextEncoding::Utf8 || e == TextEncoding::Utf8Bom) && Lone(text, i)) out += u'\uFFFD';
        else if (e == TextEncoding::Cp932) out += surrogate ? String(u"?") : ThroughCp932(text[i]);
        else out += text[i];
    }
    return out;
}

void ExpectItems(const TStringList& back, const String& heldText) {
    TStringList expected;
    expected.SetText(heldText);
    if (back.Count() != expected.Count()) std::abort();
    for (int i = 0; i < back.Count(); ++i)
        if (back[i] != expected[i]) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes = fuzz::Bytes(data + 1, size - 1);
    const std::string in = Folder() + "/in.txt", out = Folder() + "/out.txt";
    TStringList list;
    if (data[0] & 1) {
        // A file as found: from the file and from a stream, the same items.
        FILE* f = std::fopen(in.c_str(), "wb");
        if (!f) std::abort();
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        list.LoadFromFile(String(in));
        TMemoryStream stream;
        if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        TStringList again;
        again.LoadFromStream(&stream);
        if (again.Text() != list.Text()) std::abort();
    } else {
        list.SetText(fuzz::Utf16(bytes));
    }
    const String text = list.Text();
    for (TextEncoding e : {TextEncoding::Utf8, TextEncoding::Utf8Bom, TextEncoding::Utf16LE, TextEncoding::Utf16BE,
                           TextEncoding::Cp932}) {
        String held = Held(text, e);
        if (e == TextEncoding::Cp932) {
            const std::string written = EncodeText(text, e);
            if (IsValidUtf8(written)) held = DecodeText(written);
        }
        list.SaveToFile(String(out), e);
        TStringList back;
        back.LoadFromFile(String(out));
        ExpectItems(back, held);
        TMemoryStream stream;
        list.SaveToStream(&stream, e);
        stream.SetPosition(0);
        back.LoadFromStream(&stream);
        ExpectItems(back, held);
    }
    return 0;
}
