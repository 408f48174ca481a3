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
ui::PrintService& PrintService();

}  // namespace qtb
