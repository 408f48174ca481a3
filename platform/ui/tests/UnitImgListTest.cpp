// A component includes the unit it was written against and finds every class of the unit there:
// this file includes ImgList.h alone, and compiles only if it does.
#include "platform/ui/ImgList.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TComponent, TCustomImageList>);
static_assert(std::is_base_of_v<TCustomImageList, TImageList>);
static_assert(std::is_same_v<decltype(&ImageList_Draw), BOOL (*)(HIMAGELIST, int, HDC, int, int, UINT)>);
static_assert(std::is_same_v<decltype(&ImageList_GetIconSize), BOOL (*)(HIMAGELIST, int*, int*)>);

}  // namespace
