#pragma once
// The auto-complete the list pickers share: the text typed up to the caret is completed from
// the first candidate that starts with it.
#include <cstddef>
#include <functional>
#include <optional>

#include "platform/rtl/String.h"
#include "platform/ui/Mask.h"

namespace advdropdown {

struct TCompletion {
    // The candidate completed; -1 when none starts with the typed text.
    int Index = -1;
    // Completed: the typed prefix as typed, then the candidate's rest (at most MaxTail
    // characters of it). Not completed: the text up to the caret.
    String Text;
    // Length of the typed prefix.
    int Prefix = 0;
};

// Candidate(i) for i below Count; no value stands for a missing text, which never matches. An
// empty prefix matches nothing. Without MatchCase both sides are compared upper-cased by the
// locale.
TCompletion CompleteTyped(const String& Text, int Caret, bool MatchCase, int Count,
                          const std::function<std::optional<String>(int)>& Candidate, size_t MaxTail = 255);

// Completes what was typed into Edit: Write puts the new text in (the caller keeps the change
// that raises from being completed again), then the completed tail is selected with the caret
// after the prefix, or, with nothing completed, the caret stands at the end of the cut text.
TCompletion CompleteEdit(TCustomMaskEdit& Edit, bool MatchCase, int Count,
                         const std::function<std::optional<String>(int)>& Candidate,
                         const std::function<void(const String&)>& Write, size_t MaxTail = 255);

// Sets a flag for its life and puts back what it was.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : FFlag(flag), FWas(flag) { flag = true; }
    ~TFlagGuard() { FFlag = FWas; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

}  // namespace advdropdown
