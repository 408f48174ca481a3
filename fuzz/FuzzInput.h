// Helpers shared by the fuzz programs: turn the fuzzer's bytes into the inputs the libraries take.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtl/String.h"

namespace fuzz {

inline std::string_view Bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// UTF-16 text taken unit by unit, so unpaired surrogates and NULs reach the code as well.
inline String Utf16(std::string_view bytes) {
    std::u16string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return String(std::move(out));
}

// Splits the input at the first NUL byte: the part before and the rest after it.
inline std::pair<std::string_view, std::string_view> Split(std::string_view bytes) {
    size_t cut = bytes.find('\0');
    if (cut == std::string_view::npos) return {bytes, {}};
    return {bytes.substr(0, cut), bytes.substr(cut + 1)};
}

// A new folder for the files a target writes, in memory where the machine has it: every rewrite
// of a store syncs its file, which on disk is slow.
inline std::string NewFolder(std::string_view name) {
    std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
    pattern.append("fuzz-").append(name).append("-XXXXXX");
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
}

}  // namespace fuzz
