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

// The styled edit of the number converter's binary display and the generator's character box
// (read-only display boxes; only Text, ReadOnly, Font and Color are used, as the real edit has
// them). Its attached label is a plain label beside it until the real edit's LabelCaption takes
// its place.
using TStyledEdit = TEdit;
// The styled group box of the setting, repeat-send and contact-test groups (caption, font and
// colour only; the centred caption, double frame and round edges come with the real box).
using TStyledGroupBox = TGroupBox;
// The gradient label of the section captions (caption, alignment, colour and bold font; the
// gradient comes with the real label).
using TStyledGradientLabel = TLabel;
