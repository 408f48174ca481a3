// Visual-style parts painted by the application's widget style, so themed controls look like the
// desktop's own.
#include <algorithm>

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtGraphicsApp.h"

namespace qtb {

bool PaintThemePart(TBitmap& target, const ui::ThemePart& part) {
    qtb::EnsureApplication();
    QImage& image = qtb::ImageOf(target);
    if (image.isNull()) return false;
    QStyle* style = QApplication::style();
    QPainter painter(&image);
    QStyleOption base;
    base.rect = QRect(0, 0, image.width(), image.height());
    base.palette = QApplication::palette();
    base.state = QStyle::State_None;
    if (part.disabled) {
        base.palette.setCurrentColorGroup(QPalette::Disabled);
    } else {
        base.state |= QStyle::State_Enabled;
        if (part.hot) base.state |= QStyle::State_MouseOver;
    }
    if (part.pressed) base.state |= QStyle::State_Sunken;
    else base.state |= QStyle::State_Raised;
    if (part.mixed) base.state |= QStyle::State_NoChange;
    else if (part.checked) base.state |= QStyle::State_On;
    else base.state |= QStyle::State_Off;

    switch (part.kind) {
        case ui::ThemePart::PushButton: {
            QStyleOptionButton opt;
            static_cast<QStyleOption&>(opt) = base;
            if (part.defaulted) opt.features |= QStyleOptionButton::DefaultButton;
            style->drawControl(QStyle::CE_PushButtonBevel, &opt, &painter, nullptr);
            break;
        }
        case ui::ThemePart::CheckBox:
        case ui::ThemePart::RadioButton: {
            QStyleOptionButton opt;
            static_cast<QStyleOption&>(opt) = base;
            style->drawPrimitive(part.kind == ui::ThemePart::CheckBox ? QStyle::PE_IndicatorCheckBox
                                                                      : QStyle::PE_IndicatorRadioButton,
                                 &opt, &painter, nullptr);
            break;
        }
        case ui::ThemePart::ComboButton:
        case ui::ThemePart::SpinUp:
        case ui::ThemePart::SpinDown: {
            QStyleOptionButton panel;
            static_cast<QStyleOption&>(panel) = base;
            style->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, nullptr);
            QStyleOption arrow = base;
            int side = std::max(4, std::min(image.width(), image.height()) / 2);
            arrow.rect = QRect((image.width() - side) / 2, (image.height() - side) / 2, side, side);
            if (part.pressed) arrow.rect.translate(1, 1);
            style->drawPrimitive(part.kind == ui::ThemePart::SpinUp ? QStyle::PE_IndicatorArrowUp
                                                                    : QStyle::PE_IndicatorArrowDown,
                                 &arrow, &painter, nullptr);
            break;
        }
    }
    return true;
}

}  // namespace qtb
