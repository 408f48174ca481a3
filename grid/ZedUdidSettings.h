#pragma once
// Part of unit ZedUdid (included by ZedUdid.h): the grid's settings objects Navigation,
// MouseActions, Bands and SyncGrid. Each holds its values with the defaults of its properties;
// the grid owns one of each and reads them where they apply.
//
// First form: the properties the grid's model reads so far, with their defaults and events, and
// Assign over them (from the same class; anything else is ignored, no event fires). The
// settings issue adds the remaining properties and the writers with side effects.
#include <functional>

#include "platform/rtl/Objects.h"
#include "platform/ui/Graphics.h"

class TStringGrid;

using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// Keyboard, clipboard and editing navigation.
class TNavigation : public TPersistent {
public:
    const char* ClassName() const override { return "TNavigation"; }
    void Assign(const TPersistent* Source) override;
    bool AllowFmtClipboard() const { return FAllowFmtClipboard; }
    void SetAllowFmtClipboard(bool Value) { FAllowFmtClipboard = Value; }
    bool SkipFixedCells() const { return FSkipFixedCells; }
    void SetSkipFixedCells(bool Value) { FSkipFixedCells = Value; }
    bool SkipDisabledRows() const { return FSkipDisabledRows; }
    void SetSkipDisabledRows(bool Value) { FSkipDisabledRows = Value; }
    // The editor is always shown.
    bool AlwaysEdit() const { return FAlwaysEdit; }
    void SetAlwaysEdit(bool Value) { FAlwaysEdit = Value; }
    // The grid's NavigationChanged hook.
    TNotifyEvent OnChange;

private:
    bool FAllowFmtClipboard = false;
    bool FSkipFixedCells = true;
    bool FSkipDisabledRows = true;
    bool FAlwaysEdit = false;
};

// Mouse selection, editing and sizing.
class TMouseActions : public TPersistent {
public:
    const char* ClassName() const override { return "TMouseActions"; }
    // Not EditOnDblClickOnly or HotmailRowSelect.
    void Assign(const TPersistent* Source) override;
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
    // TotalLength recomputed from the copied lengths.
    void Assign(const TPersistent* Source) override;
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
    // Grid through its writer, then the switches.
    void Assign(const TPersistent* Source) override;
    TStringGrid* Grid() const { return FGrid; }
    // The owning grid hears when this grid goes.
    void SetGrid(TStringGrid* Value);
    bool MoveColumn() const { return FMoveColumn; }
    void SetMoveColumn(bool Value) { FMoveColumn = Value; }
    bool MoveRow() const { return FMoveRow; }
    void SetMoveRow(bool Value) { FMoveRow = Value; }
    bool ScrollHorizontal() const { return FScrollHorizontal; }
    void SetScrollHorizontal(bool Value) { FScrollHorizontal = Value; }
    bool ScrollVertical() const { return FScrollVertical; }
    void SetScrollVertical(bool Value) { FScrollVertical = Value; }
    // The current row (column) of this grid becomes the other grid's.
    bool SelectionRow() const { return FSelectionRow; }
    void SetSelectionRow(bool Value) { FSelectionRow = Value; }
    bool SelectionColumn() const { return FSelectionColumn; }
    void SetSelectionColumn(bool Value) { FSelectionColumn = Value; }

private:
    TStringGrid* FOwner;
    bool FScrollHorizontal = false;
    TStringGrid* FGrid = nullptr;
    bool FScrollVertical = false;
    bool FSelectionRow = false;
    bool FSelectionColumn = false;
    bool FMoveColumn = false;
    bool FMoveRow = false;
};
