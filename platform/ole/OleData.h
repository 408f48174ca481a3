#pragma once
// What the layer's own data objects share (not an interface the components use).
#include <memory>
#include <vector>

#include "platform/ole/DragDrop.h"
#include "platform/ui/backend/DragDrop.h"

namespace ole::detail {

// An enumerator over a fixed list of formats; clones share the list.
ComPtr<IEnumFORMATETC> NewFormatEnumerator(std::vector<FORMATETC> formats);

// A global block holding the bytes (nullptr when it cannot be had).
HGLOBAL BlockOf(const void* data, size_t size);

// What another program dropped: its text as CF_UNICODETEXT and CF_TEXT (UTF-8), its files as
// CF_HDROP with wide names. The point in the CF_HDROP block is the last one given.
class TDesktopDataObject;
ComPtr<IDataObject> NewDesktopDataObject(const ui::DesktopDragData& data);
void SetDropPoint(IDataObject* desktopData, TPoint client);

// The text a data object offers (CF_UNICODETEXT, else CF_TEXT); false when it offers none.
bool TextOf(IDataObject* data, String& text);

}  // namespace ole::detail
