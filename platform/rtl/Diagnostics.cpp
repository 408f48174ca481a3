#include "platform/rtl/Diagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

void Assert(bool Condition, const String& Message, const char* File, int Line) {
    if (Condition) return;
    String text = Message.empty() ? String("Assertion failed") : Message;
    throw EAssertionFailed(text + " (" + String(File) + ", line " + String(std::to_string(Line)) + ")");
}

namespace {

constexpr size_t kKept = 10000;

struct DebugOutput {
    std::mutex Lock;
    std::deque<String> Lines;
    bool Echo = [] {
        const char* v = std::getenv("RWB_DEBUG_OUTPUT");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
};

DebugOutput& Output() {
    static DebugOutput output;
    return output;
}

}  // namespace

void OutputDebugString(const String& Text) {
    DebugOutput& out = Output();
    std::lock_guard lock(out.Lock);
    out.Lines.push_back(Text);
    if (out.Lines.size() > kKept) out.Lines.pop_front();
    if (out.Echo) std::fprintf(stderr, "%s\n", Text.ToUtf8().c_str());
}

namespace rtl {

std::vector<String> DebugLog() {
    DebugOutput& out = Output();
    std::lock_guard lock(out.Lock);
    return std::vector<String>(out.Lines.begin(), out.Lines.end());
}

void ClearDebugLog() {
    DebugOutput& out = Output();
    std::lock_guard lock(out.Lock);
    out.Lines.clear();
}

void SetDebugOutputEcho(bool Echo) {
    DebugOutput& out = Output();
    std::lock_guard lock(out.Lock);
    out.Echo = Echo;
}

}  // namespace rtl
