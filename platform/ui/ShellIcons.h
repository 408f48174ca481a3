#pragma once
// The shell's file icons: SHGetFileInfo answers the index of a file's or a folder's icon in the
// system image lists, a small one (16 x 16) and a large one (32 x 32) that share their indexes.
// Icons come from the desktop's icon theme by type (a folder, or the file type by extension);
// a type the theme has no icon for gets the built-in generic file icon (a folder the built-in
// folder), and so does every type on a headless run. A type keeps its index for the whole run.
// ShellApi.h includes this header, as the shell unit of the components holds these calls.
#include "platform/ui/ImgList.h"

struct SHFILEINFO {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    char16_t szDisplayName[260] = {};
    char16_t szTypeName[80] = {};
};
using SHFILEINFOW = SHFILEINFO;

constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;

// With SHGFI_SYSICONINDEX: fills psfi->iIcon with the icon's index and answers the handle of the
// system image list of the size asked for (SHGFI_SMALLICON, else the large one). With
// SHGFI_USEFILEATTRIBUTES the path is only a name: FILE_ATTRIBUTE_DIRECTORY in attributes asks
// for a folder, anything else for a file of that name's type; without it the path must exist.
// Answers 0 for a path that does not exist, a missing or short psfi, and any other flag (the
// layer hands out no icon handles, names or attributes).
DWORD_PTR SHGetFileInfo(const char16_t* pszPath, DWORD dwFileAttributes, SHFILEINFO* psfi, UINT cbFileInfo, UINT uFlags);
