// The air monitor against the modem simulator paced at 19200 bit/s, through the real serial
// library and the application's own message loop (its idle passes and waits, the flash timer's
// ticks): the time of one full sweep of the model's 40 channels and of the 128-channel plan,
// beside the time its bytes take on the line and the design's own pacing for the same replies
// (the line time and the 5 ms wait before each write); and the time-domain sampling's interval
// at 30 ms, as the modem sees its requests arrive.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "bench/WorkbenchProgram.h"
#include "platform/ui/Forms.h"
#include "tools/modem-sim/ModemSim.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLevel = -85;  // "*RA=-85dBm" on every channel
constexpr double kBitsPerByte = 10.0;  // start, 8 data, stop

struct Link {
    modemsim::ModemSim modem;
    std::string path;
    explicit Link(int minCh, int maxCh) : modem(Options(minCh, maxCh)) {
        path = modem.OpenPty();
        modem.Start();
    }
    static modemsim::SimOptions Options(int minCh, int maxCh) {
        modemsim::SimOptions options;
        options.baud = 19200;
        options.modem.minChannel = minCh;
        options.modem.maxChannel = maxCh;
        options.modem.noise = {kLevel, kLevel};
        return options;
    }
    ~Link() { modem.Stop(); }
};

// The workbench on the port with the model of the row chosen and the port open, as the port
// button leaves it.
void OpenWith(TMainForm* f, int modelRow) {
    // The model chosen in code: the start-up stopped before it filled the list.
    f->ModelRows = {modelRow};
    f->ComboBox5->Items()->Add(ModelTable[static_cast<size_t>(modelRow)].Name);
    f->ComboBox5->SetItemIndex(0);
    f->ComboBox5Change(f->ComboBox5);
    f->ComPort1->Open();
    f->CommandOut(0);
    f->TxReady = 1;
    f->RespReady = 1;
}

// Runs the application's loop (its passes, idle event and waits) until done holds.
template <class F>
void RunUntil(F done) {
    while (!done()) Application->HandleMessage();
}

void Sweep(benchmark::State& state, int modelRow, int minCh, int maxCh) {
    Link link(minCh, maxCh);
    benchwb::Program program(link.path);
    TMainForm* f = program.Form();
    OpenWith(f, modelRow);
    f->MeasureMode = 4;
    f->MvColBitBtn15->SetChecked(true);
    // Sweeps run back to back: each iteration is the time from one sweep's end to the next.
    auto endOfSweep = [f, maxCh] {
        uint8_t before = f->LogChannel;
        RunUntil([&] {
            const uint8_t now = f->LogChannel;
            const bool ended = now == maxCh && before != maxCh;
            before = now;
            return ended;
        });
    };
    endOfSweep();
    double measuredMs = 0, lineMs = 0, pacedMs = 0, replies = 0;
    for (auto _ : state) {
        link.modem.ClearLog();
        const auto start = Clock::now();
        endOfSweep();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        measuredMs += seconds * 1000.0;
        // The design's pacing for the replies of this sweep: their bytes and the commands' on
        // the line, and the 5 ms wait before each write.
        double bytes = 0;
        const auto log = link.modem.Log();
        for (const auto& c : log) bytes += static_cast<double>(c.line.size() + 2 + c.reply.size());
        const double line = bytes * kBitsPerByte / 19200.0 * 1000.0;
        lineMs += line;
        pacedMs += line + 5.0 * static_cast<double>(log.size());
        replies += static_cast<double>(log.size());
    }
    f->MvColBitBtn15->SetChecked(false);
    f->ComPort1->Close();
    const double n = static_cast<double>(state.iterations());
    state.counters["channels"] = maxCh - minCh + 1;
    state.counters["replies"] = replies / n;
    state.counters["line_ms"] = lineMs / n;
    state.counters["paced_ms"] = pacedMs / n;
    // The measured time over the line's and over the design's pacing.
    state.counters["x_line"] = measuredMs / lineMs;
    state.counters["x_paced"] = measuredMs / pacedMs;
}

void Sweep40(benchmark::State& state) { Sweep(state, 0, 7, 46); }
void Sweep128(benchmark::State& state) { Sweep(state, 3, 0, 127); }
BENCHMARK(Sweep40)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Sweep128)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Time-domain sampling at the shortest interval, 30 ms: the modem's view of the "@RA" requests
// (when each came off the line) over 100 samples per iteration; the counters are the mean
// interval and its standard deviation, in ms.
void TimeDomain30(benchmark::State& state) {
    Link link(7, 46);
    benchwb::Program program(link.path);
    TMainForm* f = program.Form();
    OpenWith(f, 0);
    f->MeasureMode = 5;
    f->MvNumSpin2->SetValue(30);
    f->MvNumSpin3->SetValue(5000);
    f->MvColBitBtn1->SetChecked(true);
    RunUntil([&] { return link.modem.Log().size() >= 5; });
    std::vector<double> intervals;
    for (auto _ : state) {
        link.modem.ClearLog();
        const auto start = Clock::now();
        RunUntil([&] { return link.modem.Log().size() >= 101; });
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        const auto log = link.modem.Log();
        for (size_t i = 1; i < 101; ++i)
            intervals.push_back(std::chrono::duration<double, std::milli>(log[i].time - log[i - 1].time).count());
    }
    f->MvColBitBtn1->SetChecked(false);
    f->ComPort1->Close();
    double mean = 0;
    for (double d : intervals) mean += d;
    mean /= static_cast<double>(intervals.size());
    double var = 0;
    for (double d : intervals) var += (d - mean) * (d - mean);
    state.counters["mean_ms"] = mean;
    state.counters["sd_ms"] = std::sqrt(var / static_cast<double>(intervals.size()));
}
BENCHMARK(TimeDomain30)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
