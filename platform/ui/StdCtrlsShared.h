#pragma once
// What the standard controls' files share: the words of a message's result, and the item
// searches and texts of the list and combo boxes.
#include <utility>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/StdCtrls.h"

namespace ui::stdctrls {

DWORD MakeLong(DWORD lo, DWORD hi);

// The text a list or combo message points at (none for a null pointer).
String MessageText(LPARAM l);

// Copies an item's text with its terminating zero into the caller's buffer, when one is given.
void CopyItemText(const String& s, LPARAM buffer);

// The first item after `after` (wrapping round) that starts with s, or equals it when exact,
// ignoring case; -1 when none does.
int FindItem(const TStrings& items, const String& s, int after, bool exact);

// Each line of a text (start, end without its break): lines end at CR LF, LF or CR, and a
// final break adds no empty line.
std::vector<std::pair<int, int>> SplitLines(const String& text);

}  // namespace ui::stdctrls
