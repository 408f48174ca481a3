// The desktop's side of pop-up windows: its screens with their work areas.
#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/QtServices.h"

namespace qtb {

std::vector<ui::ScreenArea> DesktopScreens() {
    std::vector<ui::ScreenArea> screens;
    QScreen* primary = QGuiApplication::primaryScreen();
    for (QScreen* s : QGuiApplication::screens()) {
        QRect g = s->geometry(), a = s->availableGeometry();
        screens.push_back(ui::ScreenArea{Bounds(g.x(), g.y(), g.width(), g.height()),
                                         Bounds(a.x(), a.y(), a.width(), a.height()), s == primary});
    }
    return screens;
}

}  // namespace qtb
