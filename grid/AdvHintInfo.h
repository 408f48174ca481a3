#pragma once
// Unit AdvHintInfo: TAdvHintInfo, the content of a rich office-style hint (a title, note lines, a
// picture and a help flag). The grid owns one as its OfficeHint: its hint hook copies the text
// of OnGridHint into the notes and hands the object to OnOfficeHint for the application to fill.
#include <memory>

#include "platform/rtl/StringList.h"
#include "render/GDIPicture.h"

class TAdvHintInfo : public TPersistent {
public:
    TAdvHintInfo();
    ~TAdvHintInfo() override;
    const char* ClassName() const override { return "TAdvHintInfo"; }

    // Only from another hint info: the title, the notes, ShowHelp, the picture and the two wide
    // texts. Any other source is ignored.
    void Assign(const TPersistent* Source) override;
    // No title and no note text; the picture, the help flag and the wide texts do not count.
    bool IsEmpty() const;

    // Owned; the writer copies the given picture.
    TGDIPPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TGDIPPicture* Value);
    bool ShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool Value) { FShowHelp = Value; }
    // Owned; the writer copies the given lines into the hint info's own list.
    TStrings* Notes() const { return FNotes.get(); }
    void SetNotes(const TStrings* Value);
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    const String& WideTitle() const { return FWideTitle; }
    void SetWideTitle(const String& Value) { FWideTitle = Value; }
    const String& WideNotes() const { return FWideNotes; }
    void SetWideNotes(const String& Value) { FWideNotes = Value; }

private:
    std::unique_ptr<TGDIPPicture> FPicture;
    bool FShowHelp = false;
    std::unique_ptr<TStringList> FNotes;
    String FTitle;
    String FWideTitle;
    String FWideNotes;
};
