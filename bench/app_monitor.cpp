// The air monitor's channel sweep against the modem simulator paced at 19200 bit/s, through the
// real serial library: the time of one full sweep of the model's 40 channels and of the
// 128-channel plan, beside the time its bytes take on the line and the time the design's own
// pacing allows (a 5 ms wait before each of the two writes per channel).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bench/WorkbenchProgram.h"
#include "tools/modem-sim/ModemSim.h"

namespace {

using Clock = std::chrono::steady_clock;
using benchwb::Pass;

constexpr int kLevel = -85;  // "*RA=-85dBm" on every channel

// Bytes on the line per channel: "@CHxx" and "@RA" out, "*CH=xx" and "*RA=-85dBm" back, each
// with CR LF.
constexpr int kBytesPerChannel = 7 + 5 + 8 + 12;

void Sweep(benchmark::State& state, int modelRow, int minCh, int maxCh) {
    modemsim::SimOptions options;
    options.baud = 19200;
    options.modem.minChannel = minCh;
    options.modem.maxChannel = maxCh;
    options.modem.noise = {kLevel, kLevel};
    modemsim::ModemSim modem(options);
    const std::string path = modem.OpenPty();
    modem.Start();
    {
        benchwb::Program program(path);
        TMainForm* f = program.Form();
        // The model chosen in code: the start-up stopped before it filled the list.
        f->ModelRows = {modelRow};
        f->ComboBox5->Items()->Add(ModelTable[static_cast<size_t>(modelRow)].Name);
        f->ComboBox5->SetItemIndex(0);
        f->ComboBox5Change(f->ComboBox5);
        f->ComPort1->Open();
        f->CommandOut(0);
        while (f->TxReady == 0) Pass();
        f->MeasureMode = 4;
        f->MvColBitBtn15->SetChecked(true);
        // Sweeps run back to back: each iteration is the time from one sweep's end to the next.
        auto endOfSweep = [f, maxCh] {
            for (;;) {
                const uint8_t before = f->LogChannel;
                Pass();
                if (f->LogChannel == maxCh && before != maxCh) return;
            }
        };
        endOfSweep();
        for (auto _ : state) {
            const auto start = Clock::now();
            endOfSweep();
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        }
        f->MvColBitBtn15->SetChecked(false);
        f->ComPort1->Close();
    }
    modem.Stop();
    const int channels = maxCh - minCh + 1;
    const double lineMs = channels * kBytesPerChannel * 10.0 / 19200.0 * 1000.0;
    state.counters["channels"] = channels;
    state.counters["line_ms"] = lineMs;
    state.counters["paced_ms"] = lineMs + channels * 2 * 5.0;
}

void Sweep40(benchmark::State& state) { Sweep(state, 0, 7, 46); }
void Sweep128(benchmark::State& state) { Sweep(state, 3, 0, 127); }
BENCHMARK(Sweep40)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Sweep128)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
