// A component includes the unit it was written against and finds every class of the unit there:
// this file includes StdCtrls.h alone, and compiles only if it does.
#include "platform/ui/StdCtrls.h"

#include <type_traits>

namespace {

static_assert(std::is_base_of_v<TControl, TLabel>);
static_assert(std::is_base_of_v<TControl, TEdit>);
static_assert(std::is_base_of_v<TControl, TMemo>);
static_assert(std::is_base_of_v<TControl, TComboBox>);
static_assert(std::is_base_of_v<TControl, TListBox>);
static_assert(std::is_base_of_v<TControl, TButton>);
static_assert(std::is_base_of_v<TControl, TCheckBox>);
static_assert(std::is_base_of_v<TControl, TRadioButton>);
static_assert(std::is_base_of_v<TControl, TGroupBox>);
static_assert(std::is_base_of_v<TControl, TScrollBar>);
static_assert(std::is_base_of_v<TControl, TStaticText>);

}  // namespace
