#pragma once
// An edit whose text follows a mask of fixed positions: digits, letters or any character in
// given places, literal characters between them, blanks shown as a blank character.
//
// EditMask is "mask;save;blank": mask characters 0 (digit), 9 (digit or blank), # (digit, sign
// or blank), L (letter), l (letter or blank), A (letter or digit), a (the same or blank), C (any
// character), c (any or blank), > and < (upper or lower case from here on, <> ends it), \ (the
// next character is a literal; last in the mask, itself), : and / (the time and date separators
// of FormatSettings as the mask is set), ! (anywhere: a text shorter than the places fills them
// from the right, leaving the leading ones blank), anything else a literal. save 0 drops the
// literals from MaskText; blank is the character shown in empty places ('_' by default). An
// empty mask turns masking off.
#include "platform/ui/StdCtrls.h"

class EDBEditError : public Exception {
public:
    using Exception::Exception;
};

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomMaskEdit"; }
    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& value);
    bool IsMasked() const { return !FSlots.empty(); }
    // The text as shown, blanks and literals included (equal to Text()).
    const String& EditText() const { return Text(); }
    void SetEditText(const String& value);
    // The value: blanks as spaces, literals left out when the mask says not to save them.
    String MaskText() const;
    // Raises EDBEditError when a required place is empty; leaving the edit checks it.
    virtual void ValidateEdit();

protected:
    void DefaultHandler(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

private:
    struct Slot {
        char16_t Kind = 0;      // 0: literal; else the mask character
        char16_t Literal = 0;
        int Case = 0;           // 1 upper, -1 lower
    };
    bool Fits(const Slot& s, char16_t& ch) const;
    int NextEditable(int pos) const;
    int PrevEditable(int pos) const;
    String EmptyText() const;
    String FitToMask(const String& value) const;
    void PutAt(int pos, char16_t ch);

    String FEditMask;
    std::vector<Slot> FSlots;
    bool FSaveLiterals = true;
    char16_t FBlank = u'_';
    bool FFromRight = false;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
    const char* ClassName() const override { return "TMaskEdit"; }
};
