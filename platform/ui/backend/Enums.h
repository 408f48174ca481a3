#pragma once
// The enumerations both sides of the backend seam use. The UI library's controls and forms keep
// their state in these types, and the backend's windows and native views take them as they are,
// so no state crosses the seam as a bare number.
#include "platform/rtl/Component.h"

// A form's window: shown normally, minimised or maximised.
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// A check box's mark, and a check list item's.
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The scroll bars a memo shows.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// What a user's action on a scroll bar, track bar or up-down did.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// Where a button's picture sits beside its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The state of an owner-drawn item of a list or combo box.
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
                           odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit };
using TOwnerDrawState = rtl::SmallSet<TOwnerDrawStateItem>;

// How text lines up across its space: a label's caption, an edit's text.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
