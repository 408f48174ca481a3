#pragma once
// The desktop's clipboard: its content as bytes under the platform's format numbers.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/rtl/String.h"
#include "platform/win/WinTypes.h"

namespace ui {

using ClipboardContent = std::map<UINT, std::vector<uint8_t>>;

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    virtual ClipboardContent Read() = 0;
    // Replaces the whole content.
    virtual void Write(const ClipboardContent& content) = 0;
};

// CF_UNICODETEXT bytes: UTF-16 little-endian with a terminating NUL, and back (up to the
// first NUL), for the library and every backend alike.
std::vector<uint8_t> ClipboardTextBytes(const String& text);
String ClipboardText(const std::vector<uint8_t>& bytes);

}  // namespace ui
