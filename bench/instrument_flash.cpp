// One flash tick serving 1,000 registered clients, 120 of which are flashing controls on one form
// (60 colour bit buttons and 60 lamps) that redraw on the measured tick. The tick period is 16 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/instrument/MvCBitBt.h"
#include "controls/instrument/MvFlashT.h"
#include "controls/instrument/MvLED.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// A client that only takes its message.
class QuietClient : public TControl {
public:
    QuietClient() : TControl(nullptr) {}
    int Ticks = 0;
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_FLASHTICK) {
            ++Ticks;
            return;
        }
        TControl::Dispatch(m);
    }
};

// A form of 60 buttons and 60 lamps, checked and flashing at 8 Hz, and 880 quiet clients.
struct ThousandClients {
    TForm* form = new TForm(nullptr);
    std::vector<std::unique_ptr<QuietClient>> quiet;

    ThousandClients() {
        form->SetBounds(0, 0, 800, 600);
        for (int i = 0; i < 60; ++i) {
            auto* b = new TMvColBitBtn(form);
            b->SetBounds(5 + 66 * (i % 12), 5 + 34 * (i / 12), 65, 33);
            b->SetParent(form);
            b->SetTextOn(u"ON|line");
            b->SetFrequency(ff8Hz);
            b->SetFlashing(true);
            b->SetChecked(true);
            auto* l = new TMvLED(form);
            l->SetBounds(5 + 66 * (i % 12), 200 + 34 * (i / 12), 65, 33);
            l->SetParent(form);
            l->SetCaption(u"Lamp");
            l->SetFrequency(ff8Hz);
            l->SetFlashing(true);
            l->SetChecked(true);
        }
        form->Show();
        ui::test::Pump();
        const int64_t modes[] = {3, 4, 5, 6, 32, 500};
        for (int i = 0; i < 880; ++i) {
            quiet.push_back(std::make_unique<QuietClient>());
            RegisterFlashClient(quiet.back().get(), modes[i % 6]);
        }
        FlashTimer->SetEnabled(false);  // ticks run here, not from the thread
    }
    ~ThousandClients() {
        for (auto& q : quiet) UnregisterFlashClient(q.get());
        form->Free();
        StopFlashTimer();
    }
};

// The tick on which every flashing control redraws (bit 2 of the counter flips).
void FlashTickThousandClients(benchmark::State& state) {
    ThousandClients setup;
    for (auto _ : state) {
        FlashCounter |= 3;
        FlashTimer->FlashTick(FlashTimer);
    }
    state.counters["clients"] = static_cast<double>(FlashClients.size());
}

// A tick on which no flashing control changes phase: the cost of serving the list.
void FlashTickThousandClientsQuiet(benchmark::State& state) {
    ThousandClients setup;
    for (auto _ : state) {
        FlashCounter &= ~3u;
        FlashTimer->FlashTick(FlashTimer);
    }
}
BENCHMARK(FlashTickThousandClientsQuiet)->Unit(benchmark::kMicrosecond);

BENCHMARK(FlashTickThousandClients)->Unit(benchmark::kMicrosecond);

}  // namespace
