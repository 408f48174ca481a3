// Text decoding and the string list's text forms: whatever the bytes, decoding ends, and a list
// written as text, comma text or delimited text reads back as the same items.
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes = fuzz::Bytes(data, size);
    TextEncoding found;
    String decoded = DecodeText(bytes, &found);
    if (DecodeText(EncodeText(decoded, TextEncoding::Utf16LE)) != decoded) std::abort();

    TStringList list;
    list.SetText(decoded);
    TStringList again;
    again.SetText(list.Text());
    if (again.Count() != list.Count()) std::abort();

    list.SetCommaText(decoded);
    again.SetCommaText(list.CommaText());
    if (again.Text() != list.Text()) std::abort();

    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    list.SetDelimitedText(fuzz::Utf16(bytes));
    again.SetDelimiter(u';');
    again.SetQuoteChar(u'\'');
    again.SetDelimitedText(list.DelimitedText());
    if (again.Text() != list.Text()) std::abort();
    return 0;
}
