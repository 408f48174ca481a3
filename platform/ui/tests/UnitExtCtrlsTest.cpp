// A component includes the unit it was written against and finds every class of the unit there:
// this file includes ExtCtrls.h alone, and compiles only if it does.
#include "platform/ui/ExtCtrls.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TControl, TPanel>);
static_assert(std::is_base_of_v<TControl, TBevel>);
static_assert(std::is_base_of_v<TControl, TImage>);
static_assert(std::is_base_of_v<TControl, TShape>);
static_assert(std::is_base_of_v<TControl, TRadioGroup>);
static_assert(std::is_base_of_v<TControl, TLabeledEdit>);
static_assert(std::is_base_of_v<TComponent, TTimer>);

}  // namespace
