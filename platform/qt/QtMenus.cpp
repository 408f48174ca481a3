// Menus through Qt: a QMenuBar in a form's window and QMenu pop-ups, built from the lines the
// library describes. Actions remember their item by pointer and never read it; what the user
// does goes to the menu's sink, and the library decides what it means.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <map>
#include <memory>

#include "platform/qt/QtServices.h"
#include "platform/qt/QtWindow.h"

namespace qtb {

namespace {

using Actions = std::map<QAction*, TMenuItem*>;

QString QStringOf(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// Adds the lines of one depth from `at` on to qmenu, with their sub-menus; answers the index of
// the first line after them. Qt marks accelerators with '&' too, so captions go over as they are.
size_t AddLines(QMenu* qmenu, const std::vector<ui::MenuLine>& lines, size_t at, int depth, ui::MenuSink& sink,
                Actions& actions) {
    std::map<int, QActionGroup*> groups;
    while (at < lines.size() && lines[at].Depth >= depth) {
        const ui::MenuLine& line = lines[at];
        if (line.Depth > depth || line.Separator) {
            if (line.Depth == depth) qmenu->addSeparator();
            ++at;  // a separator's own lines are never shown
            continue;
        }
        if (line.HasSubMenu) {
            QMenu* sub = qmenu->addMenu(QStringOf(line.Caption));
            sub->setEnabled(line.Enabled);
            TMenuItem* item = line.Item;
            QObject::connect(sub, &QMenu::aboutToShow, sub, [&sink, item] { sink.SubMenuOpening(item); });
            at = AddLines(sub, lines, at + 1, depth + 1, sink, actions);
            continue;
        }
        QAction* a = qmenu->addAction(QStringOf(line.Caption));
        a->setEnabled(line.Enabled);
        if (line.Checkable) {
            a->setCheckable(true);
            a->setChecked(line.Checked);
        }
        if (line.Radio) {
            QActionGroup*& g = groups[line.GroupIndex];
            if (!g) g = new QActionGroup(qmenu);
            g->addAction(a);
        }
        if (line.Default) {
            QFont f = a->font();
            f.setBold(true);
            a->setFont(f);
        }
        // The shortcut as text only: the library runs shortcuts, not Qt.
        if (!line.ShortCut.IsEmpty()) a->setText(QStringOf(line.Caption) + "\t" + QStringOf(line.ShortCut));
        actions[a] = line.Item;
        ++at;
    }
    return at;
}

class MenuBar final : public ui::MenuBarPeer {
public:
    MenuBar(WidgetPeer& window, ui::MenuSink& sink) : FWindow(window.Widget()), FSink(sink) {}
    ~MenuBar() override { Drop(); }

    int SetLines(const std::vector<ui::MenuLine>& lines) override {
        Drop();
        if (!FWindow) return 0;
        auto* bar = new QMenuBar(FWindow);
        // Always in the window, so the client area has the same geometry on every desktop.
        bar->setNativeMenuBar(false);
        for (size_t at = 0; at < lines.size();) {
            const ui::MenuLine& top = lines[at];
            QMenu* qm = bar->addMenu(QStringOf(top.Caption));
            qm->setEnabled(top.Enabled);
            auto actions = std::make_shared<Actions>();
            at = AddLines(qm, lines, at + 1, 1, FSink, *actions);
            TMenuItem* item = top.Item;
            ui::MenuSink* sink = &FSink;
            QObject::connect(qm, &QMenu::aboutToShow, qm, [sink, item] { sink->SubMenuOpening(item); });
            QObject::connect(qm, &QMenu::triggered, qm, [sink, actions](QAction* a) {
                auto found = actions->find(a);
                if (found != actions->end()) sink->ItemChosen(found->second);
            });
        }
        FBar = bar;
        return FWindow->TakeMenuBar(bar);
    }

private:
    // The bar goes later: this may run inside one of its own menus' signals.
    void Drop() {
        if (!FBar) return;
        if (FWindow && FWindow->MenuBar == FBar) FWindow->TakeMenuBar(nullptr);
        FBar->hide();
        FBar->deleteLater();
        FBar = nullptr;
    }

    QPointer<ControlWidget> FWindow;
    ui::MenuSink& FSink;
    QPointer<QMenuBar> FBar;
};

class PopupMenu final : public ui::PopupMenuPeer {
public:
    explicit PopupMenu(ui::MenuSink& sink) : FSink(sink) {}

    void Run(const std::vector<ui::MenuLine>& lines, const TPoint& at) override {
        QMenu qmenu;
        Actions actions;
        AddLines(&qmenu, lines, 0, 0, FSink, actions);
        if (qmenu.isEmpty()) return;
        auto chosen = actions.find(qmenu.exec(QPoint(at.X, at.Y)));
        if (chosen != actions.end()) FSink.ItemChosen(chosen->second);
    }

private:
    ui::MenuSink& FSink;
};

}  // namespace

std::unique_ptr<ui::MenuBarPeer> MakeMenuBar(ui::WidgetPeer& window, ui::MenuSink& sink) {
    return std::make_unique<MenuBar>(static_cast<WidgetPeer&>(window), sink);
}

std::unique_ptr<ui::PopupMenuPeer> MakePopupMenu(ui::MenuSink& sink) { return std::make_unique<PopupMenu>(sink); }

}  // namespace qtb
