#pragma once
// Texts of the error codes the layer reports through GetLastError.
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

// The system's text for an error code, as shown to users ("Access is denied." style).
String SysErrorMessage(DWORD code);

// Raises EOSError for the calling thread's last error: "System Error.  Code: n." and its text.
[[noreturn]] void RaiseLastOSError();
