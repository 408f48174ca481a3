#pragma once
// What every native view does with its widget (QtNative.cpp): placed inside the control's own
// widget and filling its client area, its input taken by the control's input road, drawn for
// the control, and overlaid with what the control paints over it. For views made in other files.
#include <memory>

#include "platform/rtl/Geometry.h"
#include "platform/ui/backend/WindowPeer.h"

class QWidget;
class TBitmap;
class TFont;
class TWinControl;

namespace qtb {

class EmbeddedWidget {
public:
    // Takes the widget: it goes with this object.
    EmbeddedWidget(QWidget* inner, ui::WidgetPeer& host, TWinControl* control, bool forwardMouse);
    ~EmbeddedWidget();
    EmbeddedWidget(const EmbeddedWidget&) = delete;
    EmbeddedWidget& operator=(const EmbeddedWidget&) = delete;
    QWidget* Inner() const;
    void SetFont(const TFont& font);
    // The widget's palette: Base the background (clNone: none), Text the text.
    void SetColors(int32_t background, int32_t text);
    void SetFrameInsets(const TRect& insets);
    void SetOwnerPainted(bool value);
    void Render(TBitmap& target);
    // A widget that draws itself from the view's state posts no event when that state changes:
    // the view says so, and the control's next pass renders it again.
    void MarkChanged();
    bool PictureChanged() const;
    void SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part);

private:
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

}  // namespace qtb
