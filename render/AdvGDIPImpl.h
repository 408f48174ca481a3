#pragma once
// What the sources of unit AdvGDIP share.
#include "render/AdvGDIP.h"

namespace advgdip::detail {

// The common rule of every wrapper: a failure stays in the status field until it is read; an Ok
// leaves the field as it is. Answers the status.
inline gdiplus::Status Keep(gdiplus::Status& field, gdiplus::Status status) {
    if (status != gdiplus::Ok) field = status;
    return status;
}

// length characters of a text of size characters: never past its end (a negative length takes it all).
inline int ClampLength(int length, int size) { return length < 0 || length > size ? size : length; }

}  // namespace advgdip::detail
