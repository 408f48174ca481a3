#pragma once
// The desktop's drag and drop (Qt's), and the picture decoders the layer takes from Qt.
#include <Qt>

#include "platform/ui/backend/DragDrop.h"
#include "platform/ui/backend/ImageDecoders.h"

class QMimeData;

namespace qtb {

// What crosses the program's edge as Qt carries it: text as text/plain, files as text/uri-list.
QMimeData* MimeDataOf(const ui::DesktopDragData& data);
// Text from text/plain; the local files of text/uri-list (other URLs are left out).
ui::DesktopDragData DragDataOf(const QMimeData* mime);

// Drop effects (1 copy, 2 move, 4 link) and Qt's drop actions.
DWORD EffectsOf(Qt::DropActions actions);
Qt::DropActions ActionsOf(DWORD effects);

ui::DesktopDragDrop& DesktopDragDropService();
ui::ImageDecoders& ImageDecoderService();

}  // namespace qtb
