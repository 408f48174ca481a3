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

// What another program dropped: every format of its content, the text also as CF_TEXT (UTF-8)
// when it came as CF_UNICODETEXT only. The point in a CF_HDROP block is the last one given.
class TDesktopDataObject;
ComPtr<IDataObject> NewDesktopDataObject(const ui::DesktopDragData& data);
void SetDropPoint(IDataObject* desktopData, TPoint client);

// Every format a data object offers in global memory, by its list of formats (its text only when
// it has no list).
ui::ClipboardContent ContentOf(IDataObject* data);

}  // namespace ole::detail
