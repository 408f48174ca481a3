#pragma once
// Part of unit ZedUdid (included by ZedUdid.h): the grid's settings objects Navigation,
// MouseActions, Bands and SyncGrid. Each holds its values with the defaults of its properties;
// the grid owns one of each and reads them where they apply.
//
// Most properties only store: they are listed once below (type, name, default) and the lists
// make the field, the reader and the writer, and drive Assign, so a property can never be
// forgotten by the copy. The writers that do more are written out. Assign takes a source of the
// same class only (anything else is ignored) and fires no event.
#include <functional>
#include <memory>

#include "platform/rtl/Objects.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Graphics.h"

class TStringGrid;

using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

enum TAdvanceDirection : uint8_t { adLeftRight, adTopBottom };
enum TClipboardPasteAction : uint8_t { paReplace, paInsert };
enum TCursorAdvance : uint8_t { caDefault, caSnake, caLoop };
enum TInsertPosition : uint8_t { pInsertBefore, pInsertAfter };
enum THomeEndAction : uint8_t { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TGridFixedCellEditor : uint8_t { fceEdit, fceComboEdit, fceComboList };
enum TGridFixedCellEdit : uint8_t { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TWheelAction : uint8_t { waMoveSelection, waScroll };

// A stored property: field, reader, writer.
#define ZU_PLAIN_PROPERTY(T, Name, Default)     \
public:                                         \
    T Name() const { return F##Name; }          \
    void Set##Name(T Value) { F##Name = Value; } \
                                                \
private:                                        \
    T F##Name = Default;
// A property whose writer is written out: field and reader.
#define ZU_READ_PROPERTY(T, Name, Default) \
public:                                    \
    T Name() const { return F##Name; }     \
                                           \
private:                                   \
    T F##Name = Default;
#define ZU_COPY_FIELD(T, Name, Default) F##Name = s->F##Name;

// The navigation properties that only store; every one is copied except KeepScrollOnSort.
#define ZU_NAVIGATION_PLAIN(X)                        \
    X(bool, AdvanceOnEnterLoop, true)                 \
    X(bool, AdvanceAutoEdit, true)                    \
    X(bool, AllowCtrlEnter, true)                     \
    X(bool, AllowClipboardRowGrow, true)              \
    X(bool, AllowClipboardColGrow, true)              \
    X(bool, ComboGetUpDown, true)                     \
    X(bool, CopyHTMLTagsToClipboard, true)            \
    X(bool, CursorWalkAlwaysEdit, true)               \
    X(bool, EditSelectAll, true)                      \
    X(bool, LeftRightRowSelect, true)                 \
    X(bool, SkipFixedCells, true)                     \
    X(bool, SkipDisabledRows, true)                   \
    X(TAdvanceDirection, TabAdvanceDirection, adLeftRight) \
    X(TClipboardPasteAction, ClipboardPasteAction, paReplace) \
    X(TCursorAdvance, CursorAdvance, caDefault)       \
    X(TInsertPosition, InsertPosition, pInsertBefore) \
    X(THomeEndAction, HomeEndKey, heFirstLastColumn)  \
    X(bool, AllowInsertRow, false)                    \
    X(bool, AllowDeleteRow, false)                    \
    X(bool, AlwaysEdit, false)                        \
    X(bool, AdvanceOnEnter, false)                    \
    X(bool, AutoGotoWhenSorted, false)                \
    X(bool, AutoGotoIncremental, false)               \
    X(bool, AutoComboDropSize, false)                 \
    X(bool, AllowClipboardShortCuts, false)           \
    X(bool, AllowSmartClipboard, false)               \
    X(bool, AllowRTFClipboard, false)                 \
    X(bool, AllowFmtClipboard, false)                 \
    X(bool, AllowClipboardAlways, false)              \
    X(bool, AppendOnArrowDown, false)                 \
    X(bool, CursorWalkEditor, false)                  \
    X(bool, MoveRowOnSort, false)                     \
    X(bool, KeepScrollOnSort, false)                  \
    X(bool, MoveScrollOnly, false)                    \
    X(bool, ImproveMaskSel, false)                    \
    X(bool, KeepHorizScroll, false)                   \
    X(bool, LineFeedOnEnter, false)                   \
    X(bool, TabToNextAtEnd, false)
// Written out below; copied.
#define ZU_NAVIGATION_WRITTEN(X)                \
    X(bool, AdvanceAuto, false)                 \
    X(TAdvanceDirection, AdvanceDirection, adLeftRight) \
    X(bool, AdvanceInsert, false)

// Keyboard, clipboard and editing navigation.
class TNavigation : public TPersistent {
public:
    const char* ClassName() const override { return "TNavigation"; }
    // Every property but KeepScrollOnSort.
    void Assign(const TPersistent* Source) override;
    // Switched on, it switches AdvanceOnEnter on too.
    void SetAdvanceAuto(bool Value);
    // On change: stored, OnChange.
    void SetAdvanceDirection(TAdvanceDirection Value);
    void SetAdvanceInsert(bool Value);
    // The grid's NavigationChanged hook.
    TNotifyEvent OnChange;

    ZU_NAVIGATION_PLAIN(ZU_PLAIN_PROPERTY)
    ZU_NAVIGATION_WRITTEN(ZU_READ_PROPERTY)
};

// The mouse properties that only store and are copied.
#define ZU_MOUSE_PLAIN(X)                             \
    X(bool, AutoSizeColOnDblClick, true)              \
    X(bool, PreciseNodeClick, true)                   \
    X(TGridFixedCellEditor, FixedRowsEditor, fceEdit) \
    X(TGridFixedCellEditor, FixedColsEditor, fceEdit) \
    X(TGridFixedCellEdit, FixedRowsEdit, fceNone)     \
    X(TGridFixedCellEdit, FixedColsEdit, fceNone)     \
    X(int, WheelIncrement, 0)                         \
    X(bool, AllColumnSize, false)                     \
    X(bool, AllRowSize, false)                        \
    X(bool, AllSelect, false)                         \
    X(bool, CaretPositioning, false)                  \
    X(bool, CheckAllCheck, false)                     \
    X(bool, ColSelect, false)                         \
    X(bool, DirectComboClose, false)                  \
    X(bool, DirectComboDrop, false)                   \
    X(bool, DirectDateClose, false)                   \
    X(bool, DirectDateDrop, false)                    \
    X(bool, DirectEdit, false)                        \
    X(bool, DisjunctRowSelectNoCtrl, false)           \
    X(bool, MoveRowOnNodeClick, false)                \
    X(bool, NoAutoRangeScroll, false)                 \
    X(bool, NodeAllExpandContract, false)             \
    X(bool, NoScrollOnPartialRow, false)              \
    X(bool, PreciseCheckBoxCheck, false)              \
    X(bool, RangeSelectAndEdit, false)                \
    X(bool, RowSelect, false)                         \
    X(bool, RowSelectPersistent, false)               \
    X(bool, SelectOnRightClick, false)                \
    X(bool, SizeFixedCol, false)
// Written out below; copied.
#define ZU_MOUSE_WRITTEN(X)                  \
    X(bool, DisjunctRowSelect, false)        \
    X(bool, DisjunctColSelect, false)        \
    X(bool, DisjunctCellSelect, false)       \
    X(TWheelAction, WheelAction, waMoveSelection)

// Mouse selection, editing and sizing.
class TMouseActions : public TPersistent {
public:
    TMouseActions();
    const char* ClassName() const override { return "TMouseActions"; }
    // Not EditOnDblClickOnly, HotmailRowSelect, SizeFixedRow or FixedComboValues.
    void Assign(const TPersistent* Source) override;

    // Column 0 shows a check box per row that selects the row. Switched on, it switches
    // DisjunctRowSelect and CheckAllCheck on; OnInvalidate either way.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    // Switched on, OnDisableEdit.
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    // Switched on while the owner is being designed, the other two disjunct modes go off.
    void SetDisjunctRowSelect(bool Value);
    void SetDisjunctColSelect(bool Value);
    void SetDisjunctCellSelect(bool Value);
    // The field itself, without side effects.
    bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    // On change: stored, OnChange.
    void SetWheelAction(TWheelAction Value);
    bool SizeFixedRow() const { return FSizeFixedRow; }
    void SetSizeFixedRow(bool Value) { FSizeFixedRow = Value; }
    // The values offered by the combo editor of fixed cells; writing copies them.
    TStrings* FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(const TStrings* Value);

    // The grid's hooks MouseActionsChanged, MouseActionsInvalidate and IsDesigning.
    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TNotifyEvent OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;

    ZU_MOUSE_PLAIN(ZU_PLAIN_PROPERTY)
    ZU_MOUSE_WRITTEN(ZU_READ_PROPERTY)

private:
    bool Designing();
    // Switched on at design time: the disjunct modes other than Keep go off.
    void DisjunctExclusive(bool Value, bool& Keep);
    bool FEditOnDblClickOnly = false;
    bool FHotmailRowSelect = false;
    bool FSizeFixedRow = false;
    std::unique_ptr<TStringList> FFixedComboValues;
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
    // The colours and lengths fire OnChange on a change only while Active.
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    TNotifyEvent OnChange;

private:
    void Changed();
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
    // The owning grid itself is refused; the owner hears when the other grid goes.
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
