#pragma once
// An ini file kept in the registry: FileName is a key path under HKEY_CURRENT_USER, each section
// a subkey of it and each entry a value of that subkey. Every call goes to the registry at once.
#include "platform/rtl/IniFiles.h"
#include "platform/win/Registry.h"

class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const String& FileName) : TCustomIniFile(FileName) {}

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    // A section that cannot be made raises ERegistryException.
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const String& Section, TStrings* Strings) override;
    bool SectionExists(const String& Section) override;
    bool ValueExists(const String& Section, const String& Ident) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    void UpdateFile() override {}

private:
    String KeyOf(const String& Section) const;
};
