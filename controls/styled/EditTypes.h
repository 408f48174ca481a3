#pragma once
// The input kinds of the styled edits and the clipboard event they raise: one vocabulary for the
// styled edit and the drop-down edits, whose typed input follows the same rules.
#include <cstdint>
#include <functional>

#include "platform/rtl/Objects.h"
#include "platform/rtl/String.h"

// The twelve input kinds; the ordinals are stored in form files and stay as they are.
enum TAdvEditType : uint8_t {
    etString,
    etNumeric,
    etFloat,
    etUppercase,
    etMixedCase,
    etLowerCase,
    etPassword,
    etMoney,
    etRange,
    etHex,
    etAlphaNumeric,
    etValidChars
};

// A copy, cut or paste about to happen: value is the text concerned; clearing allow stops it.
using TClipboardEvent = std::function<void(TObject* Sender, const String& value, bool& allow)>;
