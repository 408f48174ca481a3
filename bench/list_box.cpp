// A list box on a shown form filled one Add at a time: each item goes to the native list alone,
// so the time per item stays the same whatever the count (arg: the items added). For reference
// the same items inside one update bracket, which sends the list once at its end.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

struct ListForm {
    // No window shows on a desktop either.
    bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    TForm* form = new TForm(nullptr);
    TListBox* list = new TListBox(form);
    ListForm() {
        form->SetBounds(0, 0, 300, 400);
        list->SetParent(form);
        list->SetBounds(0, 0, 280, 380);
        form->Show();
        ui::test::Pump();
    }
    ~ListForm() { form->Free(); }
};

std::vector<String> Texts(int n) {
    std::vector<String> texts;
    texts.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) texts.push_back(String(u"item ") + IntToStr(i));
    return texts;
}

void Fill(benchmark::State& state, bool bracket) {
    int n = static_cast<int>(state.range(0));
    std::vector<String> texts = Texts(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<ListForm>();
        state.ResumeTiming();
        TStrings* items = f->list->Items();
        if (bracket) items->BeginUpdate();
        for (const String& s : texts) items->Add(s);
        if (bracket) items->EndUpdate();
        ui::test::Pump();  // the list shows
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.counters["time_per_item"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ListBoxAdds(benchmark::State& state) { Fill(state, false); }
BENCHMARK(BM_ListBoxAdds)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListBoxAddsInBracket(benchmark::State& state) { Fill(state, true); }
BENCHMARK(BM_ListBoxAddsInBracket)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
