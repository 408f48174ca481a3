#pragma once
// The peers and services the Qt backend object hands out, each made in a file of its own.
#include <memory>
#include <vector>

#include "platform/ui/backend/Backend.h"

namespace qtb {

std::unique_ptr<ui::MenuBarPeer> MakeMenuBar(ui::WidgetPeer& window, ui::MenuSink& sink);
std::unique_ptr<ui::PopupMenuPeer> MakePopupMenu(ui::MenuSink& sink);

// The desktop's clipboard through QClipboard (QtClipboard.cpp).
ui::ClipboardService& ClipboardService();
// The common dialogs as Qt's own dialogs (QtDialogs.cpp).
ui::DialogService& DialogService();
// Desktop printers and print runs through QPrinter (QtPrinter.cpp).
ui::PrinterService& PrintService();
// Drags that leave the program and drops from other programs (QtDragDrop.cpp).
ui::DesktopDragDrop& DesktopDragDropService();
// Picture formats read through Qt's image reader (QtDragDrop.cpp).
ui::ImageDecoders& ImageDecoderService();

// The native views of the standard controls, one maker per family (QtNative.cpp).
std::unique_ptr<ui::TextView> MakeTextView(ui::TextKind kind, ui::WidgetPeer& host, TWinControl* control);
std::unique_ptr<ui::ListView> MakeListView(ui::ListKind kind, ui::WidgetPeer& host, TWinControl* control, ui::ListSink& sink);
std::unique_ptr<ui::ButtonView> MakeButtonView(ui::ButtonKind kind, ui::WidgetPeer& host, TWinControl* control);
std::unique_ptr<ui::RangeView> MakeRangeView(ui::RangeKind kind, ui::WidgetPeer& host, TWinControl* control, ui::RangeSink& sink);
std::unique_ptr<ui::StaticView> MakeStaticView(ui::StaticKind kind, ui::WidgetPeer& host, TWinControl* control);
// The date-time picker's view, a widget of its own that only shows (QtDateTime.cpp).
std::unique_ptr<ui::DateTimeView> MakeDateTimeView(ui::DateTimeKind kind, ui::WidgetPeer& host, TWinControl* control);
// The rich edit's view, a Qt rich text widget that only shows (QtRichText.cpp).
std::unique_ptr<ui::RichTextView> MakeRichTextView(ui::WidgetPeer& host, TWinControl* control);

// Pop-up windows: the desktop's screens, each with its work area (QtPopup.cpp).
std::vector<ui::ScreenArea> DesktopScreens();

}  // namespace qtb
