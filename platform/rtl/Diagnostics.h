#pragma once
// Assertions and the debugger output of the class library. OutputDebugString writes to a debug
// log kept in memory, which tests read and clear; it reaches the terminal (stderr) only when
// asked, by SetDebugOutputEcho or the environment variable RWB_DEBUG_OUTPUT=1.
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/String.h"

// Raises EAssertionFailed "<Message> (<source file>, line <n>)" when Condition is false; the
// place is the caller's (the builtins, which both compilers take, where clang 14 with this
// standard library has no std::source_location).
void Assert(bool Condition, const String& Message = String(), const char* File = __builtin_FILE(),
            int Line = __builtin_LINE());

void OutputDebugString(const String& Text);

namespace rtl {
// The texts written since the last clear, oldest first; only the newest 10,000 are kept.
std::vector<String> DebugLog();
void ClearDebugLog();
void SetDebugOutputEcho(bool Echo);
}  // namespace rtl
