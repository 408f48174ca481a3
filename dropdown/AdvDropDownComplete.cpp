// The list pickers' auto-complete.
#include "dropdown/AdvDropDownComplete.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"

namespace advdropdown {

TCompletion CompleteTyped(const String& Text, int Caret, bool MatchCase, int Count,
                          const std::function<std::optional<String>(int)>& Candidate, size_t MaxTail) {
    TCompletion r;
    const size_t caret = std::min(static_cast<size_t>(std::max(Caret, 0)), Text.size());
    const String left(Text.substr(0, caret));
    r.Text = left;
    r.Prefix = static_cast<int>(left.size());
    if (left.empty()) return r;
    const String p = MatchCase ? left : AnsiUpperCase(left);
    for (int i = 0; i < Count; ++i) {
        const std::optional<String> c = Candidate(i);
        if (!c || c->size() < p.size()) continue;
        // Only the prefix is upper-cased: the rest of a long caption costs nothing.
        const String head(c->substr(0, p.size()));
        if ((MatchCase ? head : AnsiUpperCase(head)) != p) continue;
        r.Index = i;
        r.Text = left;
        r.Text.append(*c, p.size(), MaxTail);
        return r;
    }
    return r;
}

TCompletion CompleteEdit(TCustomMaskEdit& Edit, bool MatchCase, int Count,
                         const std::function<std::optional<String>(int)>& Candidate,
                         const std::function<void(const String&)>& Write, size_t MaxTail) {
    const TCompletion c = CompleteTyped(Edit.Text(), Edit.SelStart(), MatchCase, Count, Candidate, MaxTail);
    if (c.Index < 0 && c.Text.empty()) return c;
    Write(c.Text);
    const int length = static_cast<int>(c.Text.size());
    Edit.Perform(EM_SETSEL, static_cast<WPARAM>(length), c.Index >= 0 ? c.Prefix : length);
    return c;
}

}  // namespace advdropdown
