#pragma once
// Part of unit ZedUdid (included by ZedUdid.h): the grid's settings objects Navigation,
// MouseActions, Bands and SyncGrid. Each holds its values with the defaults of its properties;
// the grid owns one of each and reads them where they apply.
//
// First form: the properties the grid's model reads so far, with their defaults and events. The
// settings issue adds the remaining properties, the writers with side effects and Assign.
#include <functional>

#include "platform/rtl/Objects.h"
#include "platform/ui/Graphics.h"

class TStringGrid;

using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// Keyboard, clipboard and editing navigation.
class TNavigation : public TPersistent {
public:
    const char* ClassName() const override { return "TNavigation"; }
    bool AllowFmtClipboard() const { return FAllowFmtClipboard; }
    void SetAllowFmtClipboard(bool Value) { FAllowFmtClipboard = Value; }
    bool SkipFixedCells() const { return FSkipFixedCells; }
    void SetSkipFixedCells(bool Value) { FSkipFixedCells = Value; }
    bool SkipDisabledRows() const { return FSkipDisabledRows; }
    void SetSkipDisabledRows(bool Value) { FSkipDisabledRows = Value; }
    // The grid's NavigationChanged hook.
    TNotifyEvent OnChange;

private:
    bool FAllowFmtClipboard = false;
    bool FSkipFixedCells = true;
    bool FSkipDisabledRows = true;
};

// Mouse selection, editing and sizing.
class TMouseActions : public TPersistent {
public:
    const char* ClassName() const override { return "TMouseActions"; }
    // Range selection and editing at once: editing stays possible without goEditing.
    bool RangeSelectAndEdit() const { return FRangeSelectAndEdit; }
    void SetRangeSelectAndEdit(bool Value) { FRangeSelectAndEdit = Value; }
    // Column 0 shows a check box per row that selects the row.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value) { FHotmailRowSelect = Value; }
    bool DirectEdit() const { return FDirectEdit; }
    void SetDirectEdit(bool Value) { FDirectEdit = Value; }
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value) { FEditOnDblClickOnly = Value; }
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value) { FDisjunctRowSelect = Value; }
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value) { FDisjunctColSelect = Value; }
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value) { FDisjunctCellSelect = Value; }

    // The grid's hooks MouseActionsChanged, MouseActionsInvalidate and IsDesigning.
    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TNotifyEvent OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;

private:
    bool FRangeSelectAndEdit = false;
    bool FHotmailRowSelect = false;
    bool FDirectEdit = false;
    bool FEditOnDblClickOnly = false;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
};

// Alternating row colours: runs of PrimaryLength rows in PrimaryColor, then SecondaryLength rows
// in SecondaryColor. The grid repaints on OnChange.
class TBands : public TPersistent {
public:
    const char* ClassName() const override { return "TBands"; }
    bool Print() const { return FPrint; }
    void SetPrint(bool Value) { FPrint = Value; }
    // On change: stored, OnChange.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // PrimaryLength + SecondaryLength.
    int TotalLength() const { return FTotalLength; }
    int SecondaryLength() const { return FSecondaryLength; }
    int PrimaryLength() const { return FPrimaryLength; }
    TColor SecondaryColor() const { return FSecondaryColor; }
    TColor PrimaryColor() const { return FPrimaryColor; }
    TNotifyEvent OnChange;

private:
    bool FPrint = false;
    bool FActive = false;
    int FTotalLength = 2;
    int FSecondaryLength = 1;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    TColor FPrimaryColor = clInfoBk;
};

// Another grid kept in step with this one (never the grid itself).
class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TStringGrid* AOwner) : FOwner(AOwner) {}
    const char* ClassName() const override { return "TSyncGrid"; }
    TStringGrid* Grid() const { return FGrid; }
    // The owning grid hears when this grid goes.
    void SetGrid(TStringGrid* Value);
    bool MoveColumn() const { return FMoveColumn; }
    void SetMoveColumn(bool Value) { FMoveColumn = Value; }
    bool MoveRow() const { return FMoveRow; }
    void SetMoveRow(bool Value) { FMoveRow = Value; }

private:
    TStringGrid* FOwner;
    TStringGrid* FGrid = nullptr;
    bool FMoveColumn = false;
    bool FMoveRow = false;
};
