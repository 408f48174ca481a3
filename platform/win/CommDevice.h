#pragma once
// The device under an open port. The port (CommPort.cpp) keeps the queues, transfers, time-outs,
// events and software flow control; a device only moves bytes and drives the line. Two exist:
// termios (CommTermios.cpp) and the simulated device (CommSim.cpp). Calls are serialised by the
// port: all but the serving thread's Read and a blocking caller's Write are made with the port's
// lock held, and no other Read (Write) runs while that one does.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/rtl/String.h"
#include "platform/win/Comm.h"

namespace win {

class CommDevice {
public:
    virtual ~CommDevice() = default;

    // The descriptor the I/O thread polls: readable when bytes (or, for the simulated device,
    // any change) are waiting; writable when the device takes bytes again.
    virtual int PollFd() const = 0;
    // Whether the I/O thread should poll for writability (a device that always takes bytes
    // would wake it for nothing).
    virtual bool PollsForWrite() const = 0;
    // Called after PollFd() was readable, before reading (the simulated device drains its
    // wake-up counter here).
    virtual void Acknowledge() {}

    // Non-blocking. Bytes moved (> 0), 0 when none now, -1 when the device is gone.
    virtual long Read(uint8_t* buffer, size_t count) = 0;
    virtual long Write(const uint8_t* buffer, size_t count) = 0;
    // Bytes the device has taken but not sent yet (TIOCOUTQ).
    virtual DWORD OutQueue() = 0;

    // Applies line settings that were already validated. Returns 0 or an error code.
    virtual DWORD Configure(const DCB& dcb) = 0;
    // MS_* bits.
    virtual DWORD ModemStatus() = 0;
    virtual bool SetDtr(bool on) = 0;
    virtual bool SetRts(bool on) = 0;
    virtual bool SetBreak(bool on) = 0;
    // The output lines as last set (TIOCM_DTR/TIOCM_RTS style: bit 0 DTR, bit 1 RTS).
    virtual DWORD ControlLines() = 0;
    // Drops what the device itself holds (PURGE_TXCLEAR / PURGE_RXCLEAR bits).
    virtual void Purge(DWORD flags) = 0;
    // Line errors (CE_* bits) that arose since the last call.
    virtual DWORD TakeLineErrors() = 0;
    // Whether CTS output flow control is done by the device itself.
    virtual bool HandlesCtsFlow() const = 0;
    // Interval at which modem lines and error counters must be sampled, or 0 when the device
    // reports changes through PollFd() or has nothing to report.
    virtual int StatusPollMs() const = 0;
    // Whether PollFd() also tells of line changes (modem lines, line errors, the device going):
    // the I/O thread then watches it even when nobody waits for bytes.
    virtual bool SignalsLineChanges() const = 0;
    // Records an API call that reached the port (the simulated device keeps a log for tests).
    // Non-zero: the call fails with this error code before doing anything (a test's injection).
    virtual DWORD Trace(const char* call, DWORD argument) { return 0; }
};

// Opens the named device. nullptr with *error set when it cannot.
std::unique_ptr<CommDevice> OpenTermiosDevice(const std::string& path, DWORD* error);
// A registered simulated device of that name, nullptr when none (*error stays 0) or busy.
std::unique_ptr<CommDevice> OpenSimDevice(const String& name, DWORD* error);

}  // namespace win
