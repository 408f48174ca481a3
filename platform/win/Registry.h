#pragma once
// The registry: keys and values kept in one ini-syntax file per root key, under the user's
// configuration folder ($XDG_CONFIG_HOME or ~/.config, then "radio-workbench"):
// registry-HKEY_CURRENT_USER.ini and registry-HKEY_LOCAL_MACHINE.ini. A key is a section named
// by its path ("Software\Test\ComPort1"); a key with no values is an empty section; a key exists
// when it or a key below it has a section. Names are case-insensitive, as on the platform.
//
// Every operation reads the file afresh and every change rewrites it atomically (through
// TMemIniFile), so two objects, or two programs, on one root see each other's changes.
// Values are kept as text: integers and booleans are decimal.
#include <cstdint>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

class TStrings;

RTL_DECLARE_EXCEPTION(ERegistryException, Exception);

using HKEY = uint32_t;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

namespace win {

// The folder of the registry files. Set it (tests do) to move the registry elsewhere; an empty
// folder goes back to the environment variable RWB_REGISTRY_DIR, then to the default above.
void SetRegistryFolder(const String& folder);
String RegistryFolder();
// The file that holds the keys of Root.
String RegistryFileName(HKEY Root);

}  // namespace win

// What a change watch reports (RegNotifyChangeKeyValue's filter).
constexpr DWORD REG_NOTIFY_CHANGE_NAME = 1;        // a subkey added or removed
constexpr DWORD REG_NOTIFY_CHANGE_ATTRIBUTES = 2;  // the store keeps no attributes: never seen
constexpr DWORD REG_NOTIFY_CHANGE_LAST_SET = 4;    // a value written or deleted
constexpr DWORD REG_NOTIFY_CHANGE_SECURITY = 8;    // the store keeps no security: never seen

// Arms a one-shot watch on a key (a handle from TRegistry::CurrentKey, or a root key): the next
// matching change made through this layer in this process to the key (or, with watchSubtree, a
// key below it) sets the event once; arm again for the next one. Changes other programs make to
// the store's files are not seen. Without asynchronous the call waits for the change itself
// (event may be null). Closing the key's handle sets the event and ends the watch.
// ERROR_SUCCESS, ERROR_INVALID_HANDLE for an unknown key, ERROR_INVALID_PARAMETER for a filter
// outside 1..15 or an asynchronous watch without an event.
LONG RegNotifyChangeKeyValue(HKEY key, BOOL watchSubtree, DWORD filter, HANDLE event, BOOL asynchronous);

class TRegistry {
public:
    TRegistry() = default;
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY value);
    // The open key's path ("" when none is open).
    const String& CurrentPath() const { return FCurrentPath; }
    bool HasCurrentKey() const { return FOpen; }
    // A handle for the open key (0 when none is open), valid until the key is closed.
    HKEY CurrentKey() const { return FCurrentKey; }

    // Key is relative to the open key, or to the root when it begins with "\" or no key is
    // open. With CanCreate a missing key is made (and written at once). False when the key is
    // missing and may not be made, or when the store cannot be read or written.
    bool OpenKey(const String& Key, bool CanCreate);
    bool OpenKeyReadOnly(const String& Key);
    void CloseKey();

    // Reads and writes act on the open key; without one they raise ERegistryException, as does
    // a store that cannot be read or written.
    // A missing value reads as empty text.
    String ReadString(const String& Name);
    void WriteString(const String& Name, const String& Value);
    // A missing value, or one that is not a number, raises.
    int32_t ReadInteger(const String& Name);
    void WriteInteger(const String& Name, int32_t Value);
    bool ReadBool(const String& Name) { return ReadInteger(Name) != 0; }
    void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
    bool ValueExists(const String& Name);
    bool DeleteValue(const String& Name);
    void GetValueNames(TStrings* Strings);

    // Key paths as OpenKey takes them.
    bool KeyExists(const String& Key);
    // Removes the key with everything below it.
    bool DeleteKey(const String& Key);
    // The names of the keys directly below the open key (below the root when none is open).
    void GetKeyNames(TStrings* Strings);

private:
    String Resolve(const String& Key) const;
    void RequireKey(const char* what) const;
    HKEY FRootKey = HKEY_CURRENT_USER;
    String FCurrentPath;
    bool FOpen = false;
    bool FReadOnly = false;
    HKEY FCurrentKey = 0;
};
