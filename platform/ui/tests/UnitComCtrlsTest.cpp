// A component includes the unit it was written against and finds every class of the unit there:
// this file includes ComCtrls.h alone, and compiles only if it does.
#include "platform/ui/ComCtrls.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TControl, TPageControl>);
static_assert(std::is_base_of_v<TControl, TTabSheet>);
static_assert(std::is_base_of_v<TControl, TStatusBar>);
static_assert(std::is_base_of_v<TControl, TToolBar>);
static_assert(std::is_base_of_v<TControl, TToolButton>);
static_assert(std::is_base_of_v<TControl, TTrackBar>);
static_assert(std::is_base_of_v<TControl, TUpDown>);

}  // namespace
