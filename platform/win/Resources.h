#pragma once
// The program's resources: blobs the build embeds (cmake/Resources.cmake) or code registers at
// start-up, each under a type and a name, a numeric id, or both. The program's module,
// HInstance, is the only one that has resources.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"
#include "platform/win/GlobalMemory.h"

using HINSTANCE = uintptr_t;
using HMODULE = HINSTANCE;
// The program's module.
constexpr HINSTANCE HInstance = 0;

struct HRSRC__;
using HRSRC = HRSRC__*;

// A resource's name or type as the platform passes it: a text, or a number from 1 to 65535
// (MAKEINTRESOURCE). A text "#123" stands for the number 123, as on the platform. Texts compare
// without regard to case.
class TResName {
public:
    TResName(const String& text);
    TResName(const char* text) : TResName(String(text)) {}
    TResName(const char16_t* text) : TResName(String(text)) {}
    TResName(int id);

    bool IsId() const { return FId != 0; }
    WORD Id() const { return FId; }
    // The text, upper-cased; empty for a number.
    const String& Text() const { return FText; }
    // As the platform's messages show it: the text as given, or the number.
    String ToString() const;
    // Neither a text nor a valid number: matches nothing.
    bool Valid() const { return FId != 0 || !FText.empty(); }

private:
    String FGiven;
    String FText;
    WORD FId = 0;
};

inline TResName MAKEINTRESOURCE(WORD id) { return TResName(static_cast<int>(id)); }

// The standard types.
constexpr WORD RT_CURSOR = 1, RT_BITMAP = 2, RT_ICON = 3, RT_MENU = 4, RT_DIALOG = 5, RT_STRING = 6,
               RT_FONTDIR = 7, RT_FONT = 8, RT_ACCELERATOR = 9, RT_RCDATA = 10, RT_MESSAGETABLE = 11,
               RT_GROUP_CURSOR = 12, RT_GROUP_ICON = 14, RT_VERSION = 16, RT_HTML = 23, RT_MANIFEST = 24;

// The resource of that type with that name or id; 0 when there is none
// (ERROR_RESOURCE_TYPE_NOT_FOUND when nothing has the type, ERROR_RESOURCE_NAME_NOT_FOUND when
// nothing of the type has the name, ERROR_RESOURCE_DATA_NOT_FOUND for another module).
HRSRC FindResource(HMODULE module, const TResName& name, const TResName& type);
// A handle for LockResource; nullptr (ERROR_INVALID_HANDLE) for anything FindResource did not give.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The resource's bytes, read-only and valid as long as the program runs; nullptr for a handle
// LoadResource did not give (and for an empty resource).
const void* LockResource(HGLOBAL loaded);
// The size in bytes; 0 for a handle FindResource did not give.
DWORD SizeofResource(HMODULE module, HRSRC resource);

RTL_DECLARE_EXCEPTION(EResNotFound, Exception);

// A read-only stream over a resource. A missing resource raises EResNotFound
// "Resource <name> not found"; writing raises EStreamError.
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(HINSTANCE instance, const String& resName, const TResName& resType);
    // The numeric-id form (the platform's CreateFromID).
    TResourceStream(HINSTANCE instance, int resId, const TResName& resType);

    int32_t Write(const void* Buffer, int32_t Count) override;
    void SetSize(int64_t NewSize) override;

private:
    void Initialize(HINSTANCE instance, const TResName& name, const TResName& type);
};

namespace win {
// Adds a resource (or replaces the bytes of the one with that type and name, or type and id).
// name may be empty when id is given; id 0 means none. Type texts that name a standard type
// ("RCDATA", "BITMAP", ...) are that type's number.
void RegisterResource(const TResName& type, const String& name, int id, const uint8_t* data, size_t size);
// The bytes of the first resource of any type with that name, the lookup of the pictures and
// cursors the layer loads by name; nullptr when there is none. Valid as long as the program runs.
const std::vector<uint8_t>* FindResourceByName(const String& name);
}  // namespace win
