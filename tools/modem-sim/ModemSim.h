#pragma once
// A modem on the far end of a terminal line: it serves the master side of a pseudo-terminal (or an
// existing tty) on its own thread, answers command lines through ModemModel, echoes data in the
// data modes, and lets tests script faults and unsolicited frames.
//
//     ModemSim sim(options);
//     std::string slave = sim.OpenPty();   // e.g. "/dev/pts/5": what the workbench opens
//     sim.Start();
//     ...
//     sim.Stop();
//
// Timing is real time (steady clock), not the process clock that tests may replace: the simulator
// stands for hardware on the other side of the wire.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/modem-sim/ModemModel.h"

namespace modemsim {

using SteadyClock = std::chrono::steady_clock;

struct SimOptions {
    ModemOptions modem;
    // Time between the end of a command line and the start of its reply.
    std::chrono::microseconds latency{0};
    // Pace both directions as a line at this rate would: one byte (start, 8 data, stop bits) takes
    // 10/baud seconds. 0 leaves the pseudo-terminal unpaced. On a real tty the rate is the line's
    // speed instead and the line paces itself.
    int baud = 0;
};

// What happens to the reply of one command. Faults queue up and are used one per reply.
struct Fault {
    enum Kind { Delay, Drop, Garble, SForm };
    Kind kind;
    std::chrono::milliseconds delay{0};  // Delay only: added to the latency
};

struct LoggedCommand {
    std::string line;             // the command as received, without CR LF
    SteadyClock::time_point time;  // when its last byte arrived (paced: came off the line)
    std::string reply;            // the frame sent for it, after any fault; empty when dropped
};

class ModemSim {
public:
    explicit ModemSim(SimOptions options = {});
    ~ModemSim();
    ModemSim(const ModemSim&) = delete;
    ModemSim& operator=(const ModemSim&) = delete;

    // Creates a pseudo-terminal, puts its slave side in raw mode (so nothing the simulator writes is
    // echoed back to it before a client sets its own mode) and returns the slave's path.
    std::string OpenPty();
    // Serves an existing tty (a serial port wired to the workbench's) in raw mode at options.baud
    // (19200 when 0).
    void OpenDevice(const std::string& path);
    const std::string& DevicePath() const { return FPath; }

    void Start();
    void Stop();  // idempotent; pending output is dropped

    // Takes bytes as if they had just come off the line, on the caller's thread: drives the receive
    // path without a terminal (the fuzz target does). Never while the serving thread runs.
    void Receive(std::string_view bytes) { OnBytes(bytes.data(), bytes.size(), SteadyClock::now()); }

    // Faults for the next replies, in order.
    void QueueFault(Fault fault);
    void DelayNextReply(std::chrono::milliseconds delay) { QueueFault({Fault::Delay, delay}); }
    void DropNextReply() { QueueFault({Fault::Drop}); }
    void GarbleNextReply() { QueueFault({Fault::Garble}); }
    // "*" + code + "S" + CR LF in place of the reply.
    void SFormNextReply() { QueueFault({Fault::SForm}); }

    // Unsolicited output, sent after whatever is already queued.
    void Send(std::string bytes);
    void SendDataFrame(std::string_view bytes) { Send(DataFrame(bytes)); }
    void SendBinaryFrame(std::string_view bytes, std::string_view tag = "00") { Send(BinaryFrame(bytes, tag)); }
    void SendMultipart(std::string_view data, size_t partSize);
    void SendPortResponse(std::string_view kind, std::string_view field2, std::string_view field3) {
        Send(PortResponseFrame(kind, field2, field3));
    }

    std::vector<LoggedCommand> Log() const;
    void ClearLog();
    // Waits until at least count commands have been logged; false on time-out.
    bool WaitForCommands(size_t count, std::chrono::milliseconds timeout) const;
    // Waits until everything queued for output has been written; false on time-out.
    bool WaitIdle(std::chrono::milliseconds timeout) const;
    // Waits until the line has been hung up (a client closed it) count times in all, each
    // hang-up fully handled: output dropped, command mode back, unread input flushed. False on
    // time-out.
    bool WaitForHangups(size_t count, std::chrono::milliseconds timeout) const;

    // Runs f on the modem model under the simulator's lock (settings, levels, mode).
    void WithModel(const std::function<void(ModemModel&)>& f);
    LinkMode Mode() const;
    int Channel() const;
    void SetLevel(int channel, int dBm);

    // Called on the serving thread for every logged command (e.g. the program prints them). It
    // must not throw, and must not call back into the simulator's Send or faults while blocking.
    void SetCommandObserver(std::function<void(const LoggedCommand&)> observer);

private:
    struct Output {
        std::string bytes;
        SteadyClock::time_point notBefore;
    };

    void Run();
    bool Wait(SteadyClock::time_point until, bool watchLine);
    void OnBytes(const char* data, size_t n, SteadyClock::time_point now);
    void OnByte(char c, SteadyClock::time_point arrival);
    void OnLine(SteadyClock::time_point arrival);
    void OnHangup();
    void Enqueue(std::string bytes, SteadyClock::time_point notBefore);
    SteadyClock::duration ByteTime() const;
    bool Paced() const { return FPaced; }
    void Wake();

    SimOptions FOptions;
    bool FPaced = false;
    bool FIsPty = false;
    int FFd = -1;
    int FWakeFd = -1;     // read end of the wake-up pipe
    int FWakeWrite = -1;  // its write end
    std::string FPath;
    std::thread FThread;

    mutable std::mutex FMutex;
    mutable std::condition_variable FChanged;
    bool FStop = false;
    ModemModel FModel;
    std::deque<Fault> FFaults;
    std::deque<Output> FOutput;
    size_t FOutputPos = 0;  // bytes of FOutput.front() already written
    std::vector<LoggedCommand> FLog;
    size_t FHangups = 0;
    std::function<void(const LoggedCommand&)> FObserver;

    // Serving thread only.
    enum class RxState { Idle, Code, Argument, DataLength, Data, DataEnd };
    RxState FRx = RxState::Idle;
    std::string FLine;
    size_t FDataLeft = 0;
    bool FSkipLf = false;
    SteadyClock::time_point FRxFree{};  // when the incoming line is next free (paced)
    SteadyClock::time_point FTxFree{};  // when the outgoing line is next free (paced)
    bool FHungUp = false;
    int FLastModemLines = -1;
};

}  // namespace modemsim
