// A component includes the unit it was written against and finds every class of the unit there:
// this file includes Buttons.h alone, and compiles only if it does.
#include "platform/ui/Buttons.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TControl, TSpeedButton>);
static_assert(std::is_base_of_v<TControl, TBitBtn>);

}  // namespace
