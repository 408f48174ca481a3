#include "platform/rtl/testing/TestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/rtl/SysUtils.h"

namespace rtl::test {

bool Eventually(const std::function<bool()>& condition, int ms, const std::function<void()>& step) {
    // Real time, not the process clock: a test's manual clock must not stop the bound.
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        if (step) step();
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void Await(const std::function<bool()>& condition, const char* what, int ms, const std::function<void()>& step) {
    if (Eventually(condition, ms, step)) return;
    std::fprintf(stderr, "Still waiting after %d ms for %s: giving up.\n", ms, what);
    std::abort();
}

LibraryModuleScope::LibraryModuleScope() { rtl::SetIsLibrary(true); }

LibraryModuleScope::~LibraryModuleScope() { rtl::SetIsLibrary(false); }

}  // namespace rtl::test
