#pragma once
// Helpers shared by the port tests: a simulated device under a fresh name and a port on it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/win/CommSim.h"
#include "serial/CPort.h"

namespace porttest {

// Real-time wait for something another thread brings about; a generous bound, never the point.
inline bool Eventually(const std::function<bool()>& condition, int ms = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

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

// A closed port on a fresh simulated device, with no event thread unless a test asks for one.
class PortTest : public ::testing::Test {
protected:
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
    void TearDown() override { port.reset(); }

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

}  // namespace porttest
