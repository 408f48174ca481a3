// The workbench's link: how many idle passes and how long a reply takes from the receive event to
// the end of its frame, and one command's round trip against the modem simulator paced at
// 19200 bit/s, beside the time its bytes take on the line.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/WorkbenchProgram.h"
#include "platform/win/CommSim.h"
#include "tools/modem-sim/ModemSim.h"

namespace {

using Clock = std::chrono::steady_clock;

using benchwb::Pass;
using benchwb::Program;

void ReplyToFrameEnd(benchmark::State& state, const std::string& frame) {
    auto sim = win::SimDevice::Register(String("BENCHLINK"));
    Program program("BENCHLINK");
    TMainForm* f = program.Form();
    f->ComPort1->Open();
    int64_t passes = 0, replies = 0;
    for (auto _ : state) {
        f->RespReady = 0;
        sim->Send(frame);
        while (f->RingCount() < static_cast<int>(frame.size())) {
        }
        // The receive event has handed the frame over: from here to the frame's end.
        const auto start = Clock::now();
        while (f->RespReady == 0) passes += Pass();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        while (f->RingCount() > 0) Pass();  // the CR LF after it
        ++replies;
    }
    f->ComPort1->Close();
    state.counters["passes"] = benchmark::Counter(static_cast<double>(passes) / static_cast<double>(replies));
}

void ChannelReply(benchmark::State& state) { ReplyToFrameEnd(state, "*CH=1B\r\n"); }
void LevelReply(benchmark::State& state) { ReplyToFrameEnd(state, "*RA=-85dBm\r\n"); }
void DataFrame255(benchmark::State& state) { ReplyToFrameEnd(state, "*DR=FF" + std::string(255, 'D') + "\r\n"); }
BENCHMARK(ChannelReply)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(LevelReply)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(DataFrame255)->UseManualTime()->Unit(benchmark::kMicrosecond);

// "@CH" out and "*CH=1B" back through the real serial library and the simulator at 19200 bit/s:
// from the queueing to the reply's frame end. The line alone takes 13 bytes x 10 bits.
void CommandRoundTrip(benchmark::State& state) {
    modemsim::SimOptions options;
    options.baud = 19200;
    modemsim::ModemSim modem(options);
    const std::string path = modem.OpenPty();
    modem.Start();
    {
        Program program(path);
        TMainForm* f = program.Form();
        f->ComPort1->Open();
        for (auto _ : state) {
            while (f->TxReady == 0) Pass();
            const auto start = Clock::now();
            f->RespReady = 1;
            f->CommandOut(1, String("@CH"));
            Pass();  // sends
            while (f->RespReady == 0) Pass();
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
            while (f->RingCount() > 0) Pass();
        }
        f->ComPort1->Close();
    }
    modem.Stop();
    state.counters["line_ms"] = 13.0 * 10.0 / 19200.0 * 1000.0;
}
BENCHMARK(CommandRoundTrip)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
