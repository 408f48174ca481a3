#pragma once
// Helpers shared by the comm tests.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/rtl/testing/TestSupport.h"
#include "platform/win/Comm.h"

namespace commtest {

using rtl::test::Eventually;

// Lets the I/O thread run a few passes (used to show that something does NOT happen).
inline void Settle(int ms = 30) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// An OVERLAPPED with its own manual-reset event, as the serial library uses them.
struct Async {
    OVERLAPPED ov{};
    Async() { ov.hEvent = CreateEvent(nullptr, 1, 1, nullptr); }
    ~Async() { CloseHandle(ov.hEvent); }
    Async(const Async&) = delete;
    Async& operator=(const Async&) = delete;
    bool Signalled() const { return WaitForSingleObject(ov.hEvent, 0) == WAIT_OBJECT_0; }
};

// The outcome of an overlapped transfer once it has ended.
struct Outcome {
    bool ok = false;
    DWORD error = 0;
    DWORD bytes = 0;
};

inline bool Completed(HANDLE h, Async& a) {
    DWORD n = 0;
    if (GetOverlappedResult(h, &a.ov, &n, 0)) return true;
    return GetLastError() != ERROR_IO_INCOMPLETE;
}

inline Outcome Result(HANDLE h, Async& a) {
    Outcome o;
    o.ok = GetOverlappedResult(h, &a.ov, &o.bytes, 0) != 0;
    o.error = o.ok ? 0 : GetLastError();
    return o;
}

// A test of one open port: the handle the test opens in h is closed after it.
class PortTest : public ::testing::Test {
protected:
    HANDLE h = INVALID_HANDLE_VALUE;

    void TearDown() override {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }

    void SetTimeouts(COMMTIMEOUTS t) { ASSERT_TRUE(SetCommTimeouts(h, &t)); }

    COMSTAT Stat(DWORD* errors = nullptr) {
        DWORD e = 0;
        COMSTAT s{};
        EXPECT_TRUE(ClearCommError(h, &e, &s));
        if (errors) *errors = e;
        return s;
    }
};

}  // namespace commtest
