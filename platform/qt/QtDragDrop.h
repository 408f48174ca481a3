#pragma once
// How the desktop's drag and drop (Qt's) carries what crosses the program's edge; the services
// themselves are listed in QtServices.h.
#include <Qt>

#include "platform/ui/backend/DragDrop.h"
#include "platform/ui/backend/ImageDecoders.h"

class QMimeData;

namespace qtb {

// Clipboard content as Qt carries it to the desktop, by the mapping of DesktopFormats.h: text
// through Qt's text, a bitmap also as Qt's image and image/png, the rest under its MIME type.
QMimeData* MimeDataOf(const ui::ClipboardContent& content);
// What another program offers, as clipboard content: Qt's text and image, and the MIME types of
// the mapping.
ui::ClipboardContent ContentOf(const QMimeData* mime);

// Drop effects (1 copy, 2 move, 4 link) and Qt's drop actions.
DWORD EffectsOf(Qt::DropActions actions);
Qt::DropActions ActionsOf(DWORD effects);

}  // namespace qtb
