#include "controls/instrument/_GClass.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

String TIniSettings::Path() const {
    return FUseAppDir ? ExeFolder() + ExtractFileName(FFileName) : FFileName;
}

void TIniSettings::Handle(bool Read) {
    Error = false;
    ErrString = String();
    if (FFileName.IsEmpty()) {
        Error = true;
        ErrString = "Invalid FileName";
    }
    if (FSection.IsEmpty()) {
        Error = true;
        ErrString = "Invalid SectionName";
    }
    if (Error) return;
    TIniFile file(Path());
    // IniFile() names the file only while the handler runs, an exception included; a handler that
    // handles again gets its own file and finds its own back afterwards.
    struct Scope {
        TIniFile*& Field;
        TIniFile* Outer;
        ~Scope() { Field = Outer; }
    } scope{FIniFile, FIniFile};
    FIniFile = &file;
    if (OnHandleIniEvent) OnHandleIniEvent(&file, Read);
}

void TIniSettings::AutoHandle(bool Read) {
    if (FAutoLoadSave) Handle(Read);
}
