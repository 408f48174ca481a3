// Component streaming: 100,000 records of one class with ten properties, written to a memory
// stream and read back record by record.
#include <benchmark/benchmark.h>

#include "platform/rtl/Classes.h"

namespace {

constexpr int kRecords = 100000;

const char* const kKinds[] = {"ctEmpty", "ctBitmap", "ctCheckBox", "ctRadio"};

class TX : public TComponent {
public:
    TX() : TComponent(nullptr) {}
    const char* ClassName() const override { return "TX"; }
    void PublishedProperties(TFiler* f) override {
        f->IntegerProperty("Col", Col);
        f->IntegerProperty("Row", Row);
        f->StringProperty("Cell", Cell);
        f->BooleanProperty("HasProp", HasProp);
        f->IntegerProperty("Width", Width);
        f->IntegerProperty("Height", Height);
        f->IdentProperty("Kind", Kind, kKinds);
        f->FloatProperty("Value", Value);
        f->StringProperty("FontName", FontName);
        f->IntegerProperty("Color", Color);
    }
    uint16_t Col = 0;
    uint16_t Row = 0;
    String Cell;
    bool HasProp = false;
    int32_t Width = 0;
    int32_t Height = 0;
    int Kind = 0;
    double Value = 0;
    String FontName;
    int32_t Color = 0;
};

void Fill(TX& x, int i) {
    x.Col = static_cast<uint16_t>(i % 50);
    x.Row = static_cast<uint16_t>(i / 50);
    x.Cell = String("cell " + std::to_string(i));
    x.HasProp = i % 2 == 0;
    x.Width = 64;
    x.Height = 40000 + i;
    x.Kind = i % 4;
    x.Value = i * 0.5;
    x.FontName = "Noto Sans CJK JP";
    x.Color = 0x00123456;
}

void WriteAll(TMemoryStream& s) {
    TX x;
    for (int i = 0; i < kRecords; ++i) {
        Fill(x, i);
        s.WriteComponent(&x);
    }
}

void BM_WriteRecords(benchmark::State& state) {
    // One stream, emptied each time but keeping its memory: this measures the writer, not the
    // growth of a 12 MB buffer.
    TMemoryStream s;
    for (auto _ : state) {
        s.SetSize(0);
        WriteAll(s);
        benchmark::DoNotOptimize(s.Size());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_WriteRecords)->Unit(benchmark::kMillisecond);

void BM_ReadRecords(benchmark::State& state) {
    TMemoryStream s;
    WriteAll(s);
    TX x;
    for (auto _ : state) {
        s.SetPosition(0);
        int64_t sum = 0;
        while (s.Position() < s.Size()) {
            s.ReadComponent(&x);
            sum += x.Height;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

}  // namespace
