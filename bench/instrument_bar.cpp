// Painting a bar for a PPT in each of the four styles, on a 1000 x 30 (horizontal) and a
// 30 x 1000 (vertical) bar with the value text and a dimmed background; and one value change of
// a 400 x 28 bar graph on a shown form, which repaints the bar only.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "controls/instrument/MvBar.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

void PaintBar(benchmark::State& state) {
    qtb::EnsureApplication();
    const auto style = static_cast<TBarStyle>(state.range(0));
    const bool horizontal = state.range(1) != 0;
    const int w = horizontal ? 1000 : 30, h = horizontal ? 30 : 1000;
    TBitmap target(w, h);
    TBarSettings bar;
    bar.SetStyle(style);
    bar.SetBkAuto(true);
    bar.SetBkBrightness(40);
    bar.SetOptions({TBarSettings::opValue, TBarSettings::opUnit});
    bar.Font()->SetName(u"Arial");
    bar.Value = u"-60";
    bar.ValueUnit = u"dBm";
    bar.BarRect = TRect(0, 0, w, h);
    int32_t ppt = 0;
    for (auto _ : state) {
        bar.PaintBar(target.Canvas(), ppt);
        ppt = (ppt + 37) % 1001;
    }
    const char* names[] = {"bsBar", "bsLED_Bar", "bsPoint", "bsMultiColor"};
    state.SetLabel(std::string(names[style]) + (horizontal ? " 1000x30" : " 30x1000"));
}
BENCHMARK(PaintBar)->ArgsProduct({{bsBar, bsLED_Bar, bsPoint, bsMultiColor}, {1, 0}})->Unit(benchmark::kMicrosecond);

void BarValueChange(benchmark::State& state) {
    TForm* form = new TForm(nullptr);
    form->SetBounds(0, 0, 420, 60);
    auto* bar = NewComponent<TMvBar>(form);
    bar->BeginLoading();
    bar->SetBounds(10, 10, 400, 28);
    bar->SetParent(form);
    bar->SignalSettings()->SetValueFrom(-140);
    bar->SignalSettings()->SetValueTo(-10);
    bar->Loaded();
    form->Show();
    ui::test::Pump();
    float value = -140;
    for (auto _ : state) {
        value = value >= -10 ? -140 : value + 1.5f;
        bar->SetValue(value);
    }
    form->Free();
}
BENCHMARK(BarValueChange)->Unit(benchmark::kMicrosecond);

}  // namespace
