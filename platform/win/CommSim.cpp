#include "platform/win/CommSim.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "platform/win/CommDevice.h"

namespace win {

namespace {

std::mutex gRegistryMutex;
std::map<String, std::weak_ptr<SimDevice>>& Registry() {
    static auto* registry = new std::map<String, std::weak_ptr<SimDevice>>;
    return *registry;
}

}  // namespace

std::shared_ptr<SimDevice> SimDevice::Register(const String& name) {
    auto device = std::make_shared<SimDevice>(name);
    std::lock_guard<std::mutex> g(gRegistryMutex);
    Registry()[name] = device;
    return device;
}

std::shared_ptr<SimDevice> SimDevice::Find(const String& name) {
    std::lock_guard<std::mutex> g(gRegistryMutex);
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second.lock();
}

std::vector<String> SimDevice::Names() {
    std::lock_guard<std::mutex> g(gRegistryMutex);
    std::vector<String> names;
    for (auto& [name, device] : Registry())
        if (!device.expired()) names.push_back(name);
    return names;
}

SimDevice::SimDevice(const String& name) : FName(name) {
    FEventFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

SimDevice::~SimDevice() {
    {
        std::lock_guard<std::mutex> g(gRegistryMutex);
        auto it = Registry().find(FName);
        if (it != Registry().end() && it->second.expired()) Registry().erase(it);
    }
    if (FEventFd >= 0) ::close(FEventFd);
}

void SimDevice::Notify() {
    uint64_t one = 1;
    ssize_t n = ::write(FEventFd, &one, sizeof one);
    (void)n;
}

bool SimDevice::IsOpen() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FOpen;
}

void SimDevice::Send(std::string_view bytes) {
    {
        std::lock_guard<std::mutex> g(FMutex);
        FIn.insert(FIn.end(), bytes.begin(), bytes.end());
    }
    Notify();
}

std::string SimDevice::TakeWritten() {
    std::lock_guard<std::mutex> g(FMutex);
    std::string out;
    out.swap(FWritten);
    return out;
}

void SimDevice::HoldTransmit(bool hold, size_t capacity) {
    {
        std::lock_guard<std::mutex> g(FMutex);
        FHold = hold;
        FHoldCapacity = capacity;
        if (!hold) {
            FWritten += FHeld;
            FHeld.clear();
        }
    }
    Notify();
}

size_t SimDevice::PendingTransmit() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FHeld.size();
}

#define SIM_LINE(Name, bit)                      \
    void SimDevice::Name(bool on) {              \
        {                                        \
            std::lock_guard<std::mutex> g(FMutex); \
            FModem = on ? FModem | bit : FModem & ~bit; \
        }                                        \
        Notify();                                \
    }
SIM_LINE(SetCts, MS_CTS_ON)
SIM_LINE(SetDsr, MS_DSR_ON)
SIM_LINE(SetRlsd, MS_RLSD_ON)
SIM_LINE(SetRing, MS_RING_ON)
#undef SIM_LINE

bool SimDevice::Dtr() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FDtr;
}

bool SimDevice::Rts() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FRts;
}

bool SimDevice::Break() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FBreak;
}

void SimDevice::InjectErrors(DWORD errors) {
    {
        std::lock_guard<std::mutex> g(FMutex);
        FErrors |= errors;
    }
    Notify();
}

void SimDevice::Unplug() {
    {
        std::lock_guard<std::mutex> g(FMutex);
        FUnplugged = true;
    }
    Notify();
}

DCB SimDevice::State() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FState;
}

void SimDevice::BeforeNextRead(std::function<void()> action) {
    std::lock_guard<std::mutex> g(FMutex);
    FBeforeRead = std::move(action);
}

void SimDevice::AfterNextRead(std::function<void()> action) {
    std::lock_guard<std::mutex> g(FMutex);
    FAfterRead = std::move(action);
}

void SimDevice::FailCall(const char* name, DWORD error) {
    std::lock_guard<std::mutex> g(FMutex);
    if (error == 0) {
        std::erase_if(FFailures, [&](const auto& f) { return f.first == name; });
        return;
    }
    FFailures.emplace_back(name, error);
}

std::vector<SimDevice::Call> SimDevice::Calls() const {
    std::lock_guard<std::mutex> g(FMutex);
    return FCalls;
}

size_t SimDevice::CallCount(std::string_view name) const {
    std::lock_guard<std::mutex> g(FMutex);
    return static_cast<size_t>(std::count_if(FCalls.begin(), FCalls.end(), [&](const Call& c) { return c.name == name; }));
}

void SimDevice::ClearCalls() {
    std::lock_guard<std::mutex> g(FMutex);
    FCalls.clear();
}

// The port's view of a simulated device.
class SimPortDevice final : public CommDevice {
public:
    explicit SimPortDevice(std::shared_ptr<SimDevice> sim) : FSim(std::move(sim)) {}
    ~SimPortDevice() override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        FSim->FOpen = false;
    }

    int PollFd() const override { return FSim->FEventFd; }
    bool PollsForWrite() const override { return false; }  // a release or a line change notifies

    void Acknowledge() override {
        uint64_t v;
        ssize_t n = ::read(FSim->FEventFd, &v, sizeof v);
        (void)n;
    }

    long Read(uint8_t* buffer, size_t count) override {
        std::function<void()> action;
        {
            std::lock_guard<std::mutex> g(FSim->FMutex);
            action.swap(FSim->FBeforeRead);
        }
        if (action) action();
        size_t n;
        std::function<void()> after;
        {
            std::lock_guard<std::mutex> g(FSim->FMutex);
            if (FSim->FUnplugged) return -1;
            n = std::min(count, FSim->FIn.size());
            std::copy_n(FSim->FIn.begin(), n, buffer);
            FSim->FIn.erase(FSim->FIn.begin(), FSim->FIn.begin() + static_cast<std::ptrdiff_t>(n));
            if (n > 0) after.swap(FSim->FAfterRead);
        }
        if (after) after();
        return static_cast<long>(n);
    }

    long Write(const uint8_t* buffer, size_t count) override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        if (FSim->FUnplugged) return -1;
        const char* p = reinterpret_cast<const char*>(buffer);
        if (!FSim->FHold) {
            FSim->FWritten.append(p, count);
            return static_cast<long>(count);
        }
        size_t room = FSim->FHoldCapacity > FSim->FHeld.size() ? FSim->FHoldCapacity - FSim->FHeld.size() : 0;
        size_t n = std::min(room, count);
        FSim->FHeld.append(p, n);
        return static_cast<long>(n);
    }

    DWORD OutQueue() override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        return static_cast<DWORD>(FSim->FHeld.size());
    }

    DWORD Configure(const DCB& dcb) override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        FSim->FState = dcb;
        return 0;
    }

    DWORD ModemStatus() override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        return FSim->FModem;
    }

    bool SetDtr(bool on) override { return SetFlag(FSim->FDtr, on); }
    bool SetRts(bool on) override { return SetFlag(FSim->FRts, on); }
    bool SetBreak(bool on) override { return SetFlag(FSim->FBreak, on); }
    DWORD ControlLines() override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        return (FSim->FDtr ? COMM_LINE_DTR : 0) | (FSim->FRts ? COMM_LINE_RTS : 0);
    }

    void Purge(DWORD flags) override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        if (flags & PURGE_TXCLEAR) FSim->FHeld.clear();
        if (flags & PURGE_RXCLEAR) FSim->FIn.clear();
    }

    DWORD TakeLineErrors() override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        DWORD e = FSim->FErrors;
        FSim->FErrors = 0;
        return e;
    }

    bool HandlesCtsFlow() const override { return false; }
    int StatusPollMs() const override { return 0; }
    bool SignalsLineChanges() const override { return true; }

    DWORD Trace(const char* call, DWORD argument) override {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        FSim->FCalls.push_back({call, argument});
        auto& failures = FSim->FFailures;
        auto it = std::find_if(failures.begin(), failures.end(), [&](const auto& f) { return f.first == call; });
        if (it == failures.end()) return 0;
        DWORD error = it->second;
        failures.erase(it);
        return error;
    }

private:
    bool SetFlag(bool& flag, bool on) {
        std::lock_guard<std::mutex> g(FSim->FMutex);
        flag = on;
        return true;
    }

    std::shared_ptr<SimDevice> FSim;
};

std::unique_ptr<CommDevice> OpenSimDevice(const String& name, DWORD* error) {
    *error = 0;
    auto sim = SimDevice::Find(name);
    if (!sim) return nullptr;
    std::lock_guard<std::mutex> g(sim->FMutex);
    if (sim->FOpen) {
        *error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    if (sim->FEventFd < 0) {
        *error = ERROR_GEN_FAILURE;
        return nullptr;
    }
    sim->FOpen = true;
    sim->FUnplugged = false;
    return std::make_unique<SimPortDevice>(sim);
}

}  // namespace win
