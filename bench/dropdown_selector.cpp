// The drop-down item selector with 1,000 and 100,000 items of short HTML captions in a 300 x 200
// wrapper of four columns: laying the items out (ArrangeItems) and one full paint of the selector;
// beside it, for reference, a QListView in icon mode over a QStandardItemModel holding the same
// captions as plain text (layout, and one paint of the visible part). Memory is the heap in use
// before the items are added and after they are laid out, per item.
#include <QListView>
#include <QPixmap>
#include <QStandardItem>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "dropdown/AdvDropDown.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

size_t HeapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

String Caption(int i) { return String(u"<b>Item</b> ") + IntToStr(i); }
QString PlainCaption(int i) { return QStringLiteral("Item ") + QString::number(i); }

struct Selector {
    TForm* form = new TForm(nullptr);
    TAdvCustomItemSelector* selector = NewComponent<TAdvCustomItemSelector>(form);
    size_t bytes = 0;

    explicit Selector(int count) {
        form->SetBounds(0, 0, 320, 220);
        selector->SetParent(form);
        selector->SetBounds(0, 0, 300, 200);
        selector->SetColumns(4);
        selector->SetSelectorType(stColor);
        form->Show();
        ui::test::Pump();
        const size_t before = HeapInUse();
        // Filled as the pickers fill it: the items' changes held back, one layout at the end.
        selector->Items()->BeginUpdate();
        for (int i = 0; i < count; ++i) {
            TSelectorItem* item = selector->Items()->Add();
            item->SetCaption(Caption(i));
            item->SetColor(static_cast<TColor>(i * 0x10101 & 0xFFFFFF));
        }
        selector->Items()->EndUpdate();
        selector->UpdateSelectorPanel();
        bytes = HeapInUse() - before;
    }
    ~Selector() { form->Free(); }
};

void BM_SelectorArrange(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Selector s(count);
    for (auto _ : state) s.selector->SelectorPanel()->ArrangeItems();
    state.counters["bytes_per_item"] = static_cast<double>(s.bytes) / count;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SelectorArrange)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SelectorPaint(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Selector s(count);
    s.selector->SetItemIndex(count / 2);
    for (auto _ : state) {
        s.selector->SelectorPanel()->Invalidate();
        s.selector->SelectorPanel()->Update();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SelectorPaint)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

struct Reference {
    bool app = (Application->Initialize(), true);
    std::unique_ptr<QStandardItemModel> model = std::make_unique<QStandardItemModel>();
    std::unique_ptr<QListView> view = std::make_unique<QListView>();
    size_t bytes = 0;

    explicit Reference(int count) {
        view->setViewMode(QListView::IconMode);
        view->setResizeMode(QListView::Adjust);
        view->setUniformItemSizes(true);
        view->resize(300, 200);
        const size_t before = HeapInUse();
        for (int i = 0; i < count; ++i) model->appendRow(new QStandardItem(PlainCaption(i)));
        view->setModel(model.get());
        view->doItemsLayout();
        bytes = HeapInUse() - before;
    }
};

void BM_QListViewLayout(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Reference r(count);
    for (auto _ : state) r.view->doItemsLayout();
    state.counters["bytes_per_item"] = static_cast<double>(r.bytes) / count;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_QListViewLayout)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QListViewPaint(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Reference r(count);
    QPixmap target(r.view->size());
    for (auto _ : state) r.view->render(&target);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_QListViewPaint)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
