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
        case ui::ThemePart::ProgressBar:
        case ui::ThemePart::ProgressChunk: {
            QStyleOptionProgressBar opt;
            static_cast<QStyleOption&>(opt) = base;
            opt.state &= ~(QStyle::State_Sunken | QStyle::State_On | QStyle::State_Off);
            opt.state |= QStyle::State_Horizontal;
            opt.minimum = 0;
            opt.maximum = 100;
            opt.progress = 100;  // the chunk's rectangle is the part: it fills it
            opt.textVisible = false;
            style->drawControl(part.kind == ui::ThemePart::ProgressBar ? QStyle::CE_ProgressBarGroove
                                                                       : QStyle::CE_ProgressBarContents,
                               &opt, &painter, nullptr);
            break;
        }
        case ui::ThemePart::HeaderItem:
        case ui::ThemePart::HeaderEnd: {
            QStyleOptionHeader opt;
            static_cast<QStyleOption&>(opt) = base;
            // Not every style draws a header section's hot or pressed look, so the section's
            // colour says it: lighter when hot, darker when pressed.
            QColor face = opt.palette.color(QPalette::Button);
            if (part.pressed) opt.palette.setColor(QPalette::Button, face.darker(115));
            else if (part.hot) opt.palette.setColor(QPalette::Button, face.lighter(106));
            opt.state |= QStyle::State_Horizontal;
            opt.orientation = Qt::Horizontal;
            opt.position = part.kind == ui::ThemePart::HeaderEnd ? QStyleOptionHeader::End : QStyleOptionHeader::Middle;
            style->drawControl(QStyle::CE_HeaderSection, &opt, &painter, nullptr);
            break;
        }
    }
    return true;
}

}  // namespace qtb
