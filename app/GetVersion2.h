#pragma once
// The version strings of an executable's version data.
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

struct TEXEVersionData {
    String CompanyName;
    String FileDescription;
    String FileVersion;
    String InternalName;
    String LegalCopyright;
    String LegalTrademarks;
    String OriginalFileName;
    String ProductName;
    String ProductVersion;
    String Comments;
    String PrivateBuild;
    String SpecialBuild;
};

// The string table's name of a translation: language and code page, four lowercase hexadecimal
// digits each ("041104b0").
String VersionTranslationKey(WORD language, WORD codePage);

// Reads the strings of the file's first translation into Data; a string the file lacks leaves
// its field as it was. A file without version data raises the last error (EOSError).
void GetEXEVersionData(const String& FileName, TEXEVersionData& Data);
