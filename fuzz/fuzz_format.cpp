// Format and FormatFloat: any format text either formats or raises the conversion error, never
// crashes, hangs or builds a huge string.
#include <cstdlib>
#include <cstring>

#include "fuzz/FuzzInput.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double value = 0;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    auto [fmt, picture] = fuzz::Split(fuzz::Bytes(data, size));
    try {
        String out = Format(String(fmt), {42, -7, value, "text", u'c', 1234567890123LL, 3});
        if (out.size() > 64 * fmt.size() + 4096) std::abort();  // widths are bounded
    } catch (const EConvertError&) {
    }
    try {
        (void)FormatFloat(String(picture), value);
    } catch (const EConvertError&) {
    }
    return 0;
}
