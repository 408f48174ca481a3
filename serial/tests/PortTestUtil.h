#pragma once
// Helpers shared by the port tests: a simulated device under a fresh name and a port on it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/win/CommSim.h"
#include "platform/win/Window.h"
#include "serial/CPort.h"

namespace porttest {

using rtl::test::Eventually;

// A file of the tests' data folder.
inline std::filesystem::path DataFile(const char* name) { return std::filesystem::path(RWB_TEST_DATA_DIR) / name; }

inline String UniqueName(const char* stem) {
    static std::atomic<int> n{0};
    return String(std::string(stem) + std::to_string(++n));
}

// Runs f and answers the EComPort it raised (Code 0 when it raised none).
struct Raised {
    int Code = 0;
    int WinCode = 0;
    std::string Message;
};
inline Raised Catch(const std::function<void()>& f) {
    Raised r;
    try {
        f();
    } catch (const EComPort& e) {
        r.Code = e.Code();
        r.WinCode = e.WinCode();
        r.Message = e.Message().ToUtf8();
    }
    return r;
}

inline size_t Count(const win::SimDevice& sim, const char* call, DWORD argument) {
    size_t n = 0;
    for (auto& c : sim.Calls())
        if (c.name == call && c.argument == argument) ++n;
    return n;
}

// Holds one batch of a port's events on its way to the handlers: under smThreadSync and
// smWindowSync by leaving the main thread's work undone, under smNone by a handler that waits on
// the event thread. Make it before opening the port.
class BatchHold {
public:
    explicit BatchHold(TSyncMethod method) : FMethod(method) {
        if (FMethod == smThreadSync) SetWakeMainThread([this] { FQueued = true; });
    }
    ~BatchHold() {
        if (FMethod == smThreadSync) SetWakeMainThread(nullptr);
        Release();
    }
    // Called by the handler whose batch is held; waits only on the event thread.
    void InHandler() {
        if (FMethod != smNone || IsMainThread()) return;
        std::unique_lock<std::mutex> lock(FMutex);
        FEntered = true;
        FCv.wait(lock, [this] { return FReleased; });
    }
    // Whether a batch waits now.
    bool Waiting() {
        switch (FMethod) {
        case smThreadSync: return FQueued;
        case smWindowSync: return win::HasPendingMessages();
        case smNone: {
            std::lock_guard<std::mutex> g(FMutex);
            return FEntered;
        }
        }
        return false;
    }
    void Release() {
        std::lock_guard<std::mutex> g(FMutex);
        FReleased = true;
        FCv.notify_all();
    }
    // Runs what the event thread handed to the main thread.
    static void Serve() {
        CheckSynchronize(0);
        win::ProcessSentMessages();
    }

private:
    TSyncMethod FMethod;
    std::atomic<bool> FQueued{false};
    std::mutex FMutex;
    std::condition_variable FCv;
    bool FEntered = false;
    bool FReleased = false;
};

// A closed port on a fresh simulated device, with no event thread unless a test asks for one.
// Apart from the test class, so a fixture of another kind (a form's) can hold one too.
struct PortFixture {
    String name = UniqueName("SIMP");
    std::shared_ptr<win::SimDevice> sim = win::SimDevice::Register(name);
    std::unique_ptr<TComPort> port = MakePort();
    std::vector<std::string> log;

    std::unique_ptr<TComPort> MakePort() {
        auto p = std::make_unique<TComPort>(nullptr);
        p->SetPort(name);
        p->SetEvents({});
        return p;
    }
    // Records the notifications of the port in log, by name.
    void LogEvents() {
        port->OnBeforeOpen = [this](TPersistent*) { log.push_back("BeforeOpen"); };
        port->OnAfterOpen = [this](TPersistent*) { log.push_back("AfterOpen"); };
        port->OnBeforeClose = [this](TPersistent*) { log.push_back("BeforeClose"); };
        port->OnAfterClose = [this](TPersistent*) { log.push_back("AfterClose"); };
        port->OnCTSChange = [this](TPersistent*, bool on) { log.push_back(on ? "CTS(1)" : "CTS(0)"); };
        port->OnDSRChange = [this](TPersistent*, bool on) { log.push_back(on ? "DSR(1)" : "DSR(0)"); };
        port->OnRLSDChange = [this](TPersistent*, bool on) { log.push_back(on ? "RLSD(1)" : "RLSD(0)"); };
    }
};

class PortTest : public ::testing::Test, protected PortFixture {
protected:
    void TearDown() override { port.reset(); }
};

}  // namespace porttest
