#pragma once
// A simulated serial device for tests. A test registers it under a port name; CreateFile on that
// name opens it like a real port, and the test plays the far end: it sends bytes to the port,
// takes what the port wrote, moves the modem lines, injects line errors and holds the transmit
// drain. Every API call that reached the port is logged, so tests can count device calls.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/String.h"
#include "platform/win/Comm.h"

namespace win {

class SimDevice : public std::enable_shared_from_this<SimDevice> {
public:
    // Registers a device under name (replacing an earlier registration of that name). The
    // registration lasts as long as the returned object.
    static std::shared_ptr<SimDevice> Register(const String& name);
    // The registered device of that name, or nullptr.
    static std::shared_ptr<SimDevice> Find(const String& name);
    // Names of the registered devices.
    static std::vector<String> Names();

    explicit SimDevice(const String& name);
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    const String& Name() const { return FName; }
    bool IsOpen() const;

    // The far end sends bytes to the port.
    void Send(std::string_view bytes);
    // Bytes the port has written (and the drain has let through) since the last call.
    std::string TakeWritten();
    // While held, written bytes stay in the device (its transmit queue is not empty, so no
    // EV_TXEMPTY) and at most capacity bytes are taken; releasing lets them through.
    void HoldTransmit(bool hold, size_t capacity = SIZE_MAX);
    size_t PendingTransmit() const;

    // Modem lines driven by the far end. A fresh device has CTS and DSR on, RLSD and RING off.
    void SetCts(bool on);
    void SetDsr(bool on);
    void SetRlsd(bool on);
    void SetRing(bool on);
    // Lines driven by the port.
    bool Dtr() const;
    bool Rts() const;
    bool Break() const;

    // CE_FRAME, CE_RXPARITY, CE_OVERRUN, CE_RXOVER or CE_BREAK (a break), as the device reports them.
    void InjectErrors(DWORD errors);
    // The device disappears (a USB adapter pulled out): reads and writes fail from now on.
    void Unplug();

    // The line settings last applied.
    DCB State() const;

    // Runs action once, on the thread that next reads the device, just before it reads. The
    // port's I/O thread reads without the port's lock, so a test can act on the port meanwhile.
    void BeforeNextRead(std::function<void()> action);
    // Runs action once, on that thread, after the next read that took bytes from the device and
    // before the port has them.
    void AfterNextRead(std::function<void()> action);

    // The next call of that name (as logged in Calls(): "ReadFile", "SetCommState", ...) that
    // reaches the device fails with this error code (its last error) and does nothing; it is still
    // logged. Each FailCall covers one call; error 0 withdraws the failures pending for the name.
    void FailCall(const char* name, DWORD error);

    struct Call {
        std::string name;
        DWORD argument;
    };
    std::vector<Call> Calls() const;
    size_t CallCount(std::string_view name) const;
    void ClearCalls();

private:
    friend class SimPortDevice;
    friend std::unique_ptr<class CommDevice> OpenSimDevice(const String& name, DWORD* error);
    void Notify();

    String FName;
    mutable std::mutex FMutex;
    int FEventFd = -1;
    bool FOpen = false;
    bool FUnplugged = false;
    std::deque<uint8_t> FIn;
    std::string FHeld;
    std::string FWritten;
    bool FHold = false;
    size_t FHoldCapacity = SIZE_MAX;
    DWORD FModem = MS_CTS_ON | MS_DSR_ON;
    bool FDtr = false;
    bool FRts = false;
    bool FBreak = false;
    DWORD FErrors = 0;
    DCB FState{};
    std::vector<Call> FCalls;
    std::vector<std::pair<std::string, DWORD>> FFailures;
    std::function<void()> FBeforeRead;
    std::function<void()> FAfterRead;
};

}  // namespace win
