// Menus through Qt: a QMenu built from the items for a pop-up menu, a QMenuBar for a form's
// main menu. Actions remember their item by pointer; a menu is rebuilt whenever its items
// change, so no action outlives its item's place in the menu.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/qt/QtWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/UiInput.h"

namespace {

QString QStringOf(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

bool Headless() { return ui::GetBackend().Headless(); }

// Qt marks accelerators with '&' too, so the caption goes over as it is.
void AddItems(QMenu* qmenu, TMenuItem* root, TMenuItem* parent, std::map<QAction*, TMenuItem*>& actions) {
    std::map<int, QActionGroup*> groups;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            qmenu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = qmenu->addMenu(QStringOf(item->Caption()));
            sub->setEnabled(item->Enabled());
            // Opening a sub-menu runs the parent item's OnClick, which may update the sub-items.
            // The item may have been freed since the menu opened: it is looked up first.
            QObject::connect(sub, &QMenu::aboutToShow, sub, [root, item] {
                if (ui::MenuHoldsItem(root, item) && item->OnClick) item->OnClick(item);
            });
            AddItems(sub, root, item, actions);
            continue;
        }
        QAction* a = qmenu->addAction(QStringOf(item->Caption()));
        a->setEnabled(item->Enabled());
        if (item->Checked() || item->AutoCheck() || item->RadioItem()) {
            a->setCheckable(true);
            a->setChecked(item->Checked());
        }
        if (item->RadioItem()) {
            QActionGroup*& g = groups[item->GroupIndex()];
            if (!g) g = new QActionGroup(qmenu);
            g->addAction(a);
        }
        if (item->Default()) {
            QFont f = a->font();
            f.setBold(true);
            a->setFont(f);
        }
        // The shortcut text only: the form's key path runs shortcuts, not Qt.
        String sc = ShortCutToText(item->ShortCut());
        if (!sc.IsEmpty()) a->setText(QStringOf(item->Caption()) + "\t" + QStringOf(sc));
        actions[a] = item;
    }
}

struct Bar {
    QPointer<QMenuBar> bar;
};
std::map<TCustomForm*, Bar>& Bars() {
    static std::map<TCustomForm*, Bar> bars;
    return bars;
}

// Forms whose main menu waits for the form's window to exist. The menu unit removes a form
// from here (SetMenuBar with no menu) before the form is freed.
std::map<TCustomForm*, TMainMenu*>& Pending() {
    static std::map<TCustomForm*, TMainMenu*> pending;
    return pending;
}

QTimer* PendingTimer();

void RetryPending() {
    auto pending = Pending();
    for (auto& [form, menu] : pending)
        if (form->Peer()) ui::menus::SetMenuBar(form, menu);
    if (Pending().empty()) PendingTimer()->stop();
}

QTimer* PendingTimer() {
    static QTimer* timer = [] {
        auto* t = new QTimer(QCoreApplication::instance());
        t->setInterval(50);
        QObject::connect(t, &QTimer::timeout, t, RetryPending);
        return t;
    }();
    return timer;
}

}  // namespace

namespace ui::menus {

TMenuItem* ShowPopup(TPopupMenu* menu, const TPoint& at) {
    // A menu on the headless platform has no one to choose from it: it is dismissed.
    if (Headless()) return nullptr;
    QMenu qmenu;
    std::map<QAction*, TMenuItem*> actions;
    AddItems(&qmenu, menu->Items(), menu->Items(), actions);
    if (actions.empty() && qmenu.isEmpty()) return nullptr;
    QAction* chosen = qmenu.exec(QPoint(at.X, at.Y));
    auto it = actions.find(chosen);
    return it == actions.end() ? nullptr : it->second;
}

void SetMenuBar(TCustomForm* form, TMainMenu* menu) {
    auto& bars = Bars();
    // A form being destroyed may be half gone: only its component state is read then.
    bool destroying = form->ComponentState().Contains(csDestroying);
    qtb::WidgetPeer* peer = destroying ? nullptr : dynamic_cast<qtb::WidgetPeer*>(form->Peer());
    if (peer && !peer->Widget()) peer = nullptr;
    auto it = bars.find(form);
    if (it != bars.end()) {
        if (it->second.bar) {
            it->second.bar->hide();
            it->second.bar->deleteLater();
        }
        bars.erase(it);
    }
    Pending().erase(form);
    // The bar is outside the client area: the form learns the new height once, after any rebuild.
    auto place = [&](QMenuBar* bar) {
        if (!peer) return;
        int height = peer->SetMenuBar(bar);
        UiInput::MenuBarChanged(form, height);
    };
    if (!menu) {
        place(nullptr);
        return;
    }
    if (destroying) return;
    qtbackend::EnsureApplication();
    if (!form->Peer()) {
        Pending()[form] = menu;
        if (!PendingTimer()->isActive()) PendingTimer()->start();
        return;
    }
    if (!peer) return;
    auto* bar = new QMenuBar(peer->Widget());
    // Always in the window, so the client area has the same geometry on every desktop.
    bar->setNativeMenuBar(false);
    // Choices run after the menu has closed, as a click on the platform's menu does.
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        TMenuItem* top = menu->Items()->Items(i);
        if (!top->Visible()) continue;
        QMenu* qm = bar->addMenu(QStringOf(top->Caption()));
        qm->setEnabled(top->Enabled());
        auto actions = std::make_shared<std::map<QAction*, TMenuItem*>>();
        AddItems(qm, menu->Items(), top, *actions);
        QObject::connect(qm, &QMenu::aboutToShow, qm, [top] { if (top->OnClick) top->OnClick(top); });
        QObject::connect(qm, &QMenu::triggered, qm, [actions](QAction* a) {
            auto found = actions->find(a);
            if (found == actions->end()) return;
            TMenuItem* item = found->second;
            if (!item->CanRun()) return;
            try {
                item->Click();
            } catch (...) {
                Application->HandleException(item);
            }
        });
    }
    place(bar);
    bars[form] = Bar{bar};
}

std::vector<String> MenuBarCaptions(TCustomForm* form) {
    std::vector<String> captions;
    auto it = Bars().find(form);
    if (it == Bars().end() || !it->second.bar) return captions;
    for (QAction* a : it->second.bar->actions()) {
        QString text = a->text();
        captions.push_back(String(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()))));
    }
    return captions;
}

}  // namespace ui::menus
