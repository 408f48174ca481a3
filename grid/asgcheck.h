#pragma once
// Unit asgcheck: TVerAdevovEdavCheck, the base of pluggable cell checkers: components that give
// a corrected version of a cell's text and a version with its errors marked. The grid holds one
// in CellChecker and calls it when an edited cell is validated and when code checks cells. The
// base changes nothing; a concrete checker overrides the four operations.
#include "platform/rtl/Component.h"

class TVerAdevovEdavCheck : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TVerAdevovEdavCheck"; }

    // The text with its errors marked; the base gives s unchanged.
    virtual String MarkError(int ACol, int ARow, const String& s);
    // The corrected text; the base gives s unchanged.
    virtual String Correct(int ACol, int ARow, const String& s);
    // Once before and once after a range of cells is checked.
    virtual void StartCheck();
    virtual void StopCheck();

    // During a check, the grid's current cell moves to the cell checked (and back after a range).
    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool Value) { FGotoCell = Value; }
    // Correct (mark errors in) the text of an edited cell when it is validated.
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool Value) { FAutoCorrect = Value; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool Value) { FAutoMarkError = Value; }
    // Call Correct (MarkError) during a cell check.
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool Value) { FUseCorrect = Value; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool Value) { FUseMarkError = Value; }

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
};
