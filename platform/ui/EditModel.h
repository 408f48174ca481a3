#pragma once
// The state and rules of an edit's text, apart from any window: the text, the anchor and the
// caret, the one undo step, CR LF line breaks, word bounds, the length limit and the character
// case. The edit controls keep one and show it on their view; edits drawn by a component of its
// own use it the same way.
//
// Positions count every character of the text, a line break's CR and LF as two, as the
// platform's edit does. A multi-line view counts a line break as one character: ToView and
// FromView map between the two.
#include <vector>

#include "platform/rtl/String.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

namespace ui {

class EditModel {
public:
    // What a change did: the replaced range as a multi-line view counts it, and what went in
    // (after the case, line and limit rules), for a view that shows the text.
    struct Change {
        bool Refused = false;  // the limit left no room for any of it: nothing changed
        bool Changed = false;
        int ViewStart = 0;
        int ViewRemoved = 0;
        int Start = 0;  // the same in the model's positions
        int Removed = 0;
        String Inserted;
    };

    const String& Text() const { return FText; }
    // The program's text, as it is: the caret goes to the start, nothing is left to undo, and
    // the text is not modified.
    void SetText(const String& text);

    // A multi-line edit keeps line breaks; a single-line one stops what is inserted at the first.
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // 0: no limit. Limits insertions (what fits goes in), not SetText.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = value > 0 ? value : 0; }
    // Inserted text takes the case; SetText does not (the control converts a written text).
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value) { FCharCase = value; }
    static String InCase(const String& s, TEditCharCase c);
    // The user's editing (Type, DeleteBack, DeleteForward, Undo) changes nothing while read-only.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Set by the user's changes and Undo; cleared by SetText.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    int Anchor() const { return FAnchor; }
    int Caret() const { return FCaret; }
    int SelStart() const { return FAnchor < FCaret ? FAnchor : FCaret; }
    int SelLength() const { return FAnchor < FCaret ? FCaret - FAnchor : FAnchor - FCaret; }
    String SelText() const;
    // Held within the text and never between the CR and LF of a line break.
    void SetSelection(int anchor, int caret);

    // Replaces [start, end) with text (the range held within the text); the caret goes after
    // the new text. A user's change is an undo step and modifies the text; a program's leaves
    // no undo step behind, since undoing it would bring back an older text.
    Change Replace(int start, int end, const String& text, bool user);
    // A character typed over the selection (CR: a line break). Consecutive typing is one undo
    // step.
    Change Type(char16_t ch);
    // Backspace and Delete: the selection, else the character before or after the caret (a
    // line break as one).
    Change DeleteBack();
    Change DeleteForward();

    bool CanUndo() const { return FCanUndo; }
    // Back to the text before the last change; undoing again brings the change back. False when
    // there is nothing to undo or the edit is read-only.
    bool Undo();
    void ClearUndo();

    // Positions as a multi-line view counts them (a CR LF is one character); a single-line
    // edit's are the same.
    int ToView(int pos) const;
    int FromView(int pos) const;
    // Where the CR LF pairs are (the CR's index), in order.
    const std::vector<int>& Breaks() const;
    // Lines end at LF; a single-line edit has one.
    int LineCount() const;
    // The lines as a string list counts them: each ends at CR LF, LF or CR, and an empty last
    // line after a break is none.
    int ListLineCount() const;
    // The first character of a line; -1 past the last line.
    int LineIndex(int line) const;
    int LineFromChar(int pos) const;
    // The length of the line holding pos, without its break.
    int LineLength(int pos) const;

    // Caret moves. One step over a character (a CR LF at once), dir -1 or +1.
    int Step(int pos, int dir) const;
    int LineStart(int pos) const;
    int LineEnd(int pos) const;
    // The same column one line up or down (the line's end when it is shorter); -1 on the first
    // or last line.
    int LineAbove(int pos) const;
    int LineBelow(int pos) const;
    // Words are runs of visible characters: the start of the word before pos, and the start of
    // the next word after pos (on the same line).
    int WordStart(int pos) const;
    int WordEnd(int pos) const;

private:
    void TextChanged() {
        FBreaksValid = false;
        FFeeds = FReturns = -1;
    }
    void CountBreakCharacters() const;
    // After removed characters at start gave way to inserted ones (whose CRs and LFs were taken
    // off the counts before): the line breaks and the counts are mended where the text changed,
    // so an edit at the end of a long memo does not pass over the whole text again.
    void Replaced(int start, int removed, int inserted);
    int Held(int pos) const;

    String FText;
    int FAnchor = 0, FCaret = 0;
    bool FMultiLine = false;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FReadOnly = false;
    bool FModified = false;
    bool FCanUndo = false;
    String FUndoText;
    int FUndoCaret = 0;
    bool FTypingRun = false;
    mutable std::vector<int> FBreaks;
    mutable bool FBreaksValid = false;
    mutable int FFeeds = -1;    // line feeds in the text; -1: to be counted
    mutable int FReturns = -1;  // carriage returns, the same
};

}  // namespace ui
