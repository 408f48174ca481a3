// Format and FormatFloat: any format text either formats or raises the conversion error, never
// crashes, hangs or builds a huge string.
#include <algorithm>
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
        // Widths and precisions are bounded (100000 each), so each directive's output is too.
        size_t directives = static_cast<size_t>(std::count(fmt.begin(), fmt.end(), '%'));
        if (out.size() > fmt.size() + directives * 200100) std::abort();
    } catch (const EConvertError&) {
    }
    try {
        (void)FormatFloat(String(picture), value);
    } catch (const EConvertError&) {
    }
    return 0;
}
