// A component includes the unit it was written against and finds every class of the unit there:
// this file includes ActnList.h alone, and compiles only if it does.
#include "platform/ui/ActnList.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TComponent, TBasicAction>);
static_assert(std::is_base_of_v<TBasicAction, TContainedAction>);
static_assert(std::is_base_of_v<TContainedAction, TCustomAction>);
static_assert(std::is_base_of_v<TCustomAction, TAction>);
static_assert(std::is_base_of_v<TBasicActionLink, TActionLink>);
static_assert(std::is_base_of_v<TCustomActionList, TActionList>);

}  // namespace
