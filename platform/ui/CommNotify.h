#pragma once
// Common-control notifications: the header every WM_NOTIFY record starts with, and the date-time
// picker's change notification, so that a parent can take it before the picker itself exists.
#include <cstdint>

#include "platform/win/WinTypes.h"

// WM_NOTIFY's LParam: an NMHDR, or a record that starts with one; WParam the sender's id.
struct NMHDR {
    HWND hwndFrom = nullptr;
    uintptr_t idFrom = 0;
    UINT code = 0;
};

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

// The picker's date or time changed: dwFlags GDT_VALID with the new value in st, GDT_NONE when
// the picker's check box was cleared (no value; st is left as it was).
constexpr UINT DTN_FIRST = static_cast<UINT>(-760);
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST + 1;
constexpr DWORD GDT_ERROR = static_cast<DWORD>(-1), GDT_VALID = 0, GDT_NONE = 1;
struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st;
};
