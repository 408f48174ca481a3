// The list pickers with 100,000 items: opening the multi-column drop-down over three auto-sized
// columns (loading the grid, sizing the columns, the first paint) and the detail drop-down over
// its captions (filling the item selector, its layout, the first paint), and one auto-complete
// keystroke over 100,000 lookup entries (the typed letter matches only the last one). Beside
// them, for reference, a QTableView over a QStandardItemModel with the same texts and
// resizeColumnsToContents, and a QCompleter over a QStringListModel of the entries.
#include <QCompleter>
#include <QPixmap>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <memory>
#include <type_traits>

#include "dropdown/AdvDetailDropDown.h"
#include "dropdown/AdvMultiColumnDropDown.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

// Entry i; only the last one starts with "z".
String Entry(int i, int count) { return (i == count - 1 ? String(u"zz ") : String(u"Entry ")) + IntToStr(i); }
QString QEntry(int i, int count) { return QString::fromStdU16String(Entry(i, count)); }

struct Host {
    TForm* form = new TForm(nullptr);
    Host() {
        form->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    ~Host() { form->Free(); }
    template <class T>
    T* Make() {
        T* d = NewComponent<T>(form);
        d->SetParent(form);
        d->SetBounds(10, 10, 250, 21);
        ui::test::Pump();
        return d;
    }
};

TAdvMultiColumnDropDown* MakeMulti(Host& host, int count) {
    auto* d = host.Make<TAdvMultiColumnDropDown>();
    for (int c = 0; c < 3; ++c) {
        auto* column = d->Columns()->Add();
        column->AutoSize = true;
        column->Header = String(u"Column ") + IntToStr(c);
    }
    d->BeginUpdate();
    for (int i = 0; i < count; ++i) {
        auto* item = d->Items()->Add();
        item->Text()->Add(Entry(i, count));
        item->Text()->Add(IntToStr(i * 7));
        item->Text()->Add(u"third column text");
    }
    d->EndUpdate();
    return d;
}

TAdvDetailDropDown* MakeDetail(Host& host, int count) {
    auto* d = host.Make<TAdvDetailDropDown>();
    d->Items()->BeginUpdate();
    for (int i = 0; i < count; ++i) d->Items()->Add()->SetCaption(Entry(i, count));
    d->Items()->EndUpdate();
    return d;
}

template <class T>
void OpenAndPaint(T* d) {
    d->ShowDropDown();
    d->DropDownForm()->Update();
    if constexpr (std::is_same_v<T, TAdvMultiColumnDropDown>) d->Grid()->Update();
    else d->ItemSelector()->Update();
    d->HideDropDown(false);
}

// One typed letter at an empty text; the completion walks every entry up to the last.
void Keystroke(TAdvCustomDropDown* d) {
    d->SetText(String());
    SendMessage(d->Handle(), WM_CHAR, u'z', 1);
}

void BM_MultiColumnOpen(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Host host;
    auto* d = MakeMulti(host, count);
    for (auto _ : state) OpenAndPaint(d);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_MultiColumnOpen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MultiColumnKeystroke(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Host host;
    auto* d = MakeMulti(host, count);
    d->SetFocus();
    for (auto _ : state) Keystroke(d);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_MultiColumnKeystroke)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DetailOpen(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Host host;
    auto* d = MakeDetail(host, count);
    for (auto _ : state) OpenAndPaint(d);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DetailOpen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DetailKeystroke(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Host host;
    auto* d = MakeDetail(host, count);
    d->SetFocus();
    for (auto _ : state) Keystroke(d);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DetailKeystroke)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// ---- The reference

void BM_QTableViewOpen(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Application->Initialize();
    // The model stands, as the drop-down's items do; the view is made, sized and painted.
    QStandardItemModel model(count, 3);
    for (int i = 0; i < count; ++i) {
        model.setItem(i, 0, new QStandardItem(QEntry(i, count)));
        model.setItem(i, 1, new QStandardItem(QString::number(i * 7)));
        model.setItem(i, 2, new QStandardItem(QStringLiteral("third column text")));
    }
    for (auto _ : state) {
        QTableView view;
        view.resize(250, 200);
        view.setModel(&model);
        view.resizeColumnsToContents();
        QPixmap target(view.size());
        view.render(&target);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_QTableViewOpen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QCompleterKeystroke(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Application->Initialize();
    QStringList entries;
    for (int i = 0; i < count; ++i) entries << QEntry(i, count);
    QStringListModel model(entries);
    for (auto _ : state) {
        // A completer of its own each time: it keeps what it filtered for a prefix.
        QCompleter completer(&model);
        completer.setCaseSensitivity(Qt::CaseInsensitive);
        completer.setCompletionPrefix(QStringLiteral("z"));
        benchmark::DoNotOptimize(completer.currentCompletion());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_QCompleterKeystroke)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
