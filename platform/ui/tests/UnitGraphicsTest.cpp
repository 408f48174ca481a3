// A component includes the unit it was written against and finds every class of the unit there:
// this file includes Graphics.h alone, and compiles only if it does.
#include "platform/ui/Graphics.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TGraphic, TBitmap>);
static_assert(std::is_base_of_v<TGraphic, TIcon>);
static_assert(std::is_base_of_v<TGraphic, TMetafile>);
static_assert(std::is_base_of_v<TCanvas, TMetafileCanvas>);
static_assert(std::is_base_of_v<TPersistent, TPicture>);

}  // namespace
