#pragma once
// Stand-ins for controls the main window is designed with but that are not built yet: each alias
// names the plain platform control that takes the designed control's place for now. They are
// not the finished controls; when the real ones land, the alias takes the real class.
#include "platform/ui/Buttons.h"
#include "platform/ui/StdCtrls.h"

// The styled combo box of the input lines (simple style in the design).
using TStyledComboBox = TComboBox;
// The styled tool button of the send buttons.
using TStyledToolButton = TSpeedButton;
