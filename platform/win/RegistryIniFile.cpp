#include "platform/win/RegistryIniFile.h"

#include "platform/rtl/StringList.h"

String TRegistryIniFile::KeyOf(const String& Section) const {
    return Section.empty() ? u"\\" + FileName() : u"\\" + FileName() + u"\\" + Section;
}

String TRegistryIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(KeyOf(Section)) || !reg.ValueExists(Ident)) return Default;
    return reg.ReadString(Ident);
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    TRegistry reg;
    if (!reg.OpenKey(KeyOf(Section), true))
        throw ERegistryException(u"Failed to create the key " + FileName() + u"\\" + Section);
    reg.WriteString(Ident, Value);
}

void TRegistryIniFile::ReadSection(const String& Section, TStrings* Strings) {
    Strings->Clear();
    TRegistry reg;
    if (reg.OpenKeyReadOnly(KeyOf(Section))) reg.GetValueNames(Strings);
}

void TRegistryIniFile::ReadSections(TStrings* Strings) {
    Strings->Clear();
    TRegistry reg;
    if (reg.OpenKeyReadOnly(KeyOf(String()))) reg.GetKeyNames(Strings);
}

void TRegistryIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
    Strings->Clear();
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(KeyOf(Section))) return;
    TStringList names;
    reg.GetValueNames(&names);
    for (int i = 0; i < names.Count(); ++i) Strings->Add(names[i] + u"=" + reg.ReadString(names[i]));
}

bool TRegistryIniFile::SectionExists(const String& Section) {
    TRegistry reg;
    return reg.KeyExists(KeyOf(Section));
}

bool TRegistryIniFile::ValueExists(const String& Section, const String& Ident) {
    TRegistry reg;
    return reg.OpenKeyReadOnly(KeyOf(Section)) && reg.ValueExists(Ident);
}

void TRegistryIniFile::EraseSection(const String& Section) {
    TRegistry reg;
    reg.DeleteKey(KeyOf(Section));
}

void TRegistryIniFile::DeleteKey(const String& Section, const String& Ident) {
    TRegistry reg;
    if (reg.OpenKey(KeyOf(Section), false)) reg.DeleteValue(Ident);
}
