#include "platform/ui/fake/FakeBackend.h"

#include <algorithm>
#include <chrono>

#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"

namespace ui::fake {

namespace {

// Every window alive, so the loop and the driver never touch one freed under them.
std::set<FakeWindow*>& Alive() {
    static std::set<FakeWindow*> alive;
    return alive;
}

int Depth(const FakeWindow* w) {
    int d = 0;
    for (; w->Parent; w = w->Parent) ++d;
    return d;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
FakeWindow::FakeWindow(TWinControl* control, const TCreateParams& params)
    : Control(control), Bounds(params.Bounds), Caption(params.Caption), Style(params.Style), ExStyle(params.ExStyle),
      TopLevel(params.TopLevel) {
    Alive().insert(this);
}

FakeWindow::~FakeWindow() {
    Alive().erase(this);
    Instance().FPaints.erase(this);
    if (Parent) std::erase(Parent->Children, this);
    for (FakeWindow* c : Children) c->Parent = nullptr;
    if (MenuBar) MenuBar->Detach();
}

void FakeWindow::SetParent(WidgetPeer* parent) {
    if (Parent) std::erase(Parent->Children, this);
    Parent = static_cast<FakeWindow*>(parent);
    if (Parent) Parent->Children.push_back(this);
    // A top-level window given a parent stays a window of its own, kept over that parent.
    TopLevel = TopLevel || !Parent;
}

void FakeWindow::SetVisible(bool visible) {
    bool exposed = visible && !Visible;
    Visible = visible;
    if (exposed) Expose();
}

// As a window system with updates held: showing them again paints the window and those in it.
void FakeWindow::SetRedraw(bool redraw) {
    Redraw = redraw;
    if (redraw) Expose();
}

void FakeWindow::Expose() {
    std::vector<FakeWindow*> todo{this};
    while (!todo.empty()) {
        FakeWindow* w = todo.back();
        todo.pop_back();
        Instance().FPaints.insert(w);
        for (FakeWindow* c : w->Children)
            if (!c->TopLevel) todo.push_back(c);
    }
}

void FakeWindow::SetStyles(DWORD style, DWORD exStyle) {
    Style = style;
    ExStyle = exStyle;
}

WidgetPeer::WindowKind FakeWindow::Kind() const {
    WindowKind k;
    k.Owner = Parent;
    if (!TopLevel) return k;
    k.TopLevel = true;
    bool caption = (Style & WS_CAPTION) == WS_CAPTION;
    k.Frameless = !caption && !(Style & WS_THICKFRAME);
    k.Tool = (ExStyle & WS_EX_TOOLWINDOW) != 0;
    k.StaysOnTop = (ExStyle & WS_EX_TOPMOST) != 0;
    k.NoActivate = (ExStyle & WS_EX_NOACTIVATE) != 0;
    k.FixedSize = !(Style & WS_THICKFRAME);
    k.Shadow = Shadow && k.Frameless;
    return k;
}

void FakeWindow::SetFocus() {}

void FakeWindow::Raise() {
    if (!Parent) return;
    std::erase(Parent->Children, this);
    Parent->Children.push_back(this);
}

void FakeWindow::Lower() {
    if (!Parent) return;
    std::erase(Parent->Children, this);
    Parent->Children.insert(Parent->Children.begin(), this);
}

void FakeWindow::Update(const TRect&) {
    if (!Painting) Instance().FPaints.insert(this);
}

bool FakeWindow::Showing() const {
    for (const FakeWindow* w = this; w; w = w->TopLevel ? nullptr : w->Parent)
        if (!w->Visible) return false;
    return true;
}

FakeWindow* FakeWindow::WindowAt(TPoint& p) {
    // Child windows show only inside the client area: the frame around it is this window's.
    if (Control && !Control->ClientArea().Contains(p)) return this;
    for (auto it = Children.rbegin(); it != Children.rend(); ++it) {
        FakeWindow* c = *it;
        if (c->TopLevel || !c->Visible || !c->Bounds.Contains(p)) continue;
        p.X -= c->Bounds.Left;
        p.Y -= c->Bounds.Top;
        return c->WindowAt(p);
    }
    return this;
}

// ---------------------------------------------------------------------------------------------
FakeMenuBar::FakeMenuBar(FakeWindow& window, MenuSink& sink) : FWindow(&window), FSink(sink) { window.MenuBar = this; }

FakeMenuBar::~FakeMenuBar() {
    if (FWindow) FWindow->MenuBar = nullptr;
}

int FakeMenuBar::SetLines(const std::vector<MenuLine>& lines) {
    FLines = lines;
    return FWindow ? kHeight : 0;
}

// ---------------------------------------------------------------------------------------------
namespace {
std::vector<FakeListView*>& ListViews() {
    static std::vector<FakeListView*> views;
    return views;
}
}  // namespace

FakeListView::FakeListView(TWinControl* control) : Control(control) { ListViews().push_back(this); }

FakeListView::~FakeListView() { std::erase(ListViews(), this); }

void FakeListView::SetItems(const std::vector<String>& items) {
    Items = items;
    Selected.assign(items.size(), false);
    Checks.assign(items.size(), cbUnchecked);
    TextsSent += items.size();
    ++WholeLists;
}

void FakeListView::InsertItem(int index, const String& text) {
    auto at = static_cast<std::ptrdiff_t>(std::clamp(index, 0, static_cast<int>(Items.size())));
    Items.insert(Items.begin() + at, text);
    Selected.insert(Selected.begin() + at, false);
    Checks.insert(Checks.begin() + at, cbUnchecked);
    ++TextsSent;
}

void FakeListView::DeleteItem(int index) {
    if (index < 0 || index >= static_cast<int>(Items.size())) return;
    Items.erase(Items.begin() + index);
    Selected.erase(Selected.begin() + index);
    Checks.erase(Checks.begin() + index);
}

void FakeListView::SetItemText(int index, const String& text) {
    if (index >= 0 && index < static_cast<int>(Items.size())) Items[static_cast<size_t>(index)] = text;
    ++TextsSent;
}

void FakeListView::SetItemSelected(int index, bool selected) {
    if (index >= 0 && index < static_cast<int>(Selected.size())) Selected[static_cast<size_t>(index)] = selected;
}

void FakeListView::SetItemChecked(int index, TCheckBoxState state) {
    if (index >= 0 && index < static_cast<int>(Checks.size())) Checks[static_cast<size_t>(index)] = state;
}

std::unique_ptr<ListView> FakeBackend::CreateListView(ListKind, WidgetPeer&, TWinControl* control, ListSink&) {
    return ShowListViews ? std::make_unique<FakeListView>(control) : nullptr;
}

FakeListView* ListViewOf(TWinControl* control) {
    for (FakeListView* v : ListViews())
        if (v->Control == control) return v;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
std::unique_ptr<WidgetPeer> FakeBackend::CreateWidget(TWinControl* control, const TCreateParams& params) {
    return std::make_unique<FakeWindow>(control, params);
}

std::unique_ptr<MenuBarPeer> FakeBackend::CreateMenuBar(WidgetPeer& window, MenuSink& sink) {
    return std::make_unique<FakeMenuBar>(static_cast<FakeWindow&>(window), sink);
}

bool FakeBackend::ProcessEvents() {
    if (FPaints.empty()) return false;
    // Parents first, as a window system exposes them; a window hidden meanwhile drops its request.
    std::vector<FakeWindow*> due(FPaints.begin(), FPaints.end());
    FPaints.clear();
    std::stable_sort(due.begin(), due.end(), [](FakeWindow* a, FakeWindow* b) { return Depth(a) < Depth(b); });
    for (FakeWindow* w : due) {
        if (!Exists(w) || !w->Showing()) continue;
        w->Painting = true;
        Windows().Paint(w->Control);
        if (Exists(w)) w->Painting = false;
    }
    return true;
}

void FakeBackend::WaitForEvents(uint64_t deadlineMs) {
    if (!FPaints.empty()) return;
    rtl::Clock& clock = rtl::CurrentClock();
    auto* manual = dynamic_cast<rtl::ManualClock*>(&clock);
    if (deadlineMs != rtl::NoDeadline && deadlineMs <= clock.MonotonicMs()) return;
    // Manual time moves only when a test advances it: each advance wakes the loop.
    int listener = manual ? manual->AddListener([this] { Wake(); }) : 0;
    {
        std::unique_lock<std::mutex> lock(FMutex);
        if (deadlineMs == rtl::NoDeadline || manual) {
            FWoken.wait(lock, [this] { return FWake; });
        } else {
            uint64_t now = clock.MonotonicMs();
            if (deadlineMs > now) FWoken.wait_for(lock, std::chrono::milliseconds(deadlineMs - now), [this] { return FWake; });
        }
        FWake = false;
    }
    if (manual) manual->RemoveListener(listener);
}

void FakeBackend::Wake() {
    std::lock_guard<std::mutex> lock(FMutex);
    FWake = true;
    FWoken.notify_all();
}

// ---------------------------------------------------------------------------------------------
FakeBackend& Instance() { return static_cast<FakeBackend&>(GetBackend()); }

FakeWindow* WindowOf(TWinControl* control) { return static_cast<FakeWindow*>(control->Peer()); }

bool Exists(const FakeWindow* window) { return window && Alive().count(const_cast<FakeWindow*>(window)) > 0; }

FakeMenuBar* MenuBarOf(TCustomForm* form) {
    FakeWindow* w = WindowOf(form);
    return w ? w->MenuBar : nullptr;
}

}  // namespace ui::fake

// A test program on the fake backend links this file.
std::unique_ptr<ui::Backend> ui::MakeBackend() { return std::make_unique<ui::fake::FakeBackend>(); }
