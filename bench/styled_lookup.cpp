// The styled edit's auto-complete refresh for one keystroke over a display list of 100,000
// entries: prefix matching, and matching anywhere in the entry (FullTextSearch).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>

#include "controls/styled/AdvEdit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// Eight lower-case letters from a fixed sequence, so every run lists the same entries.
String Word(uint32_t& seed) {
    String w;
    for (int i = 0; i < 8; ++i) {
        seed = seed * 1664525u + 1013904223u;
        w.push_back(static_cast<char16_t>(u'a' + (seed >> 24) % 26));
    }
    return w;
}

void LookupRefresh(benchmark::State& state) {
    TForm* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 100);
    auto* edit = new TAdvEdit(form);
    edit->SetBounds(10, 10, 200, 21);
    edit->SetParent(form);
    edit->Lookup()->SetEnabled(true);
    edit->SetFullTextSearch(state.range(0) != 0);
    TStringList* list = edit->Lookup()->DisplayList();
    list->BeginUpdate();
    uint32_t seed = 1;
    while (list->Count() < 100000) list->Add(Word(seed));
    list->EndUpdate();
    form->Show();
    ui::test::Pump();
    edit->TCustomEdit::SetText(u"ab");
    for (auto _ : state) edit->UpdateLookupList();
    state.SetLabel(std::to_string(edit->LookupList()->Items()->Count()) + " rows listed" +
                   (state.range(0) ? ", full text" : ", prefix"));
    form->Free();
}
BENCHMARK(LookupRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
