// The styled edit's value and auto-complete history kept between runs, in an ini file or the
// registry.
#include <memory>

#include "controls/styled/AdvEdit.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/RegistryIniFile.h"

namespace {

const String kAbsent(u"@");

std::unique_ptr<TCustomIniFile> OpenStore(TPersistence* p, const String& name) {
    if (p->Location() == plRegistry) return std::make_unique<TRegistryIniFile>(p->Key());
    // The defaults stay written into the settings for the rest of the edit's life.
    if (p->Key().empty()) p->SetKey(ChangeFileExt(Application->ExeName(), u".INI"));
    if (p->Section().empty()) p->SetSection(name);
    return std::make_unique<TIniFile>(p->Key());
}

}  // namespace

void TAdvEdit::SavePersist() {
    if (!FPersistence->Enable()) return;
    auto store = OpenStore(FPersistence.get(), Name());
    const String& section = FPersistence->Section();
    store->WriteString(section, Name(), TCustomEdit::Text());
    if (FLookup->Enabled() && FLookup->History()) {
        const TStringList* display = FLookup->DisplayList();
        const TStringList* values = FLookup->ValueList();
        store->WriteInteger(section, u"LOOKUPCOUNT", display->Count());
        for (int i = 0; i < display->Count(); ++i) {
            store->WriteString(section, u"LOOKUPDISPL" + IntToStr(i + 1), display->Strings(i));
            if (i < values->Count()) store->WriteString(section, u"LOOKUPVAL" + IntToStr(i + 1), values->Strings(i));
        }
    }
    store->UpdateFile();
}

void TAdvEdit::LoadPersist() {
    if (!FPersistence->Enable()) return;
    auto store = OpenStore(FPersistence.get(), Name());
    const String& section = FPersistence->Section();
    if (FLookup->Enabled() && FLookup->History()) {
        const int count = store->ReadInteger(section, u"LOOKUPCOUNT", 0);
        for (int n = 1; n <= count; ++n) {
            String value = store->ReadString(section, u"LOOKUPVAL" + IntToStr(n), String());
            if (!value.empty()) FLookup->ValueList()->Add(value);
            String display = store->ReadString(section, u"LOOKUPDISPL" + IntToStr(n), String());
            if (!display.empty()) FLookup->DisplayList()->Add(display);
        }
    }
    String s = store->ReadString(section, Name(), kAbsent);
    store.reset();
    if (s == kAbsent) return;
    // As stored, Prefix and Suffix included, without the type's formatting; Modified stays.
    const bool nativeModified = Perform(EM_GETMODIFY, 0, 0) != 0;
    SetControlText(s);
    Perform(EM_SETMODIFY, nativeModified ? 1 : 0, 0);
}
