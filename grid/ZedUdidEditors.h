#pragma once
// Part of unit ZedUdid (included by ZedUdid.h): the editor and window controls the grid makes
// for itself, first forms: what the grid's construction asks of each (the control kind, the
// grid it serves, the settings the grid gives it). Their drawing, keys and mouse handling come
// with the grid's editing; the drop-down editors made on first use join them there.
#include <functional>

#include "platform/rtl/StringList.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

class TVerAdevovEdav;

// A control that serves a grid: the grid it reports to.
template <class Base>
class TGridServing : public Base {
public:
    using Base::Base;
    TVerAdevovEdav* Grid() const { return FGrid; }
    void SetGrid(TVerAdevovEdav* Value) { FGrid = Value; }

private:
    TVerAdevovEdav* FGrid = nullptr;
};

// The combo-box cell editor. Told at creation whether the system is XP-styled and whether it is
// Vista or later with common controls 6.
class TGridCombo : public TGridServing<TComboBox> {
public:
    using TGridServing<TComboBox>::TGridServing;
    const char* ClassName() const override { return "TGridCombo"; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    bool IsVistaCC6() const { return FIsVistaCC6; }
    void SetIsVistaCC6(bool Value) { FIsVistaCC6 = Value; }

private:
    bool FIsWinXP = false;
    bool FIsVistaCC6 = false;
};

// The editors of fixed cells: a borderless edit and a combo box.
class TGridTransEdit : public TGridServing<TCustomEdit> {
public:
    using TGridServing<TCustomEdit>::TGridServing;
    const char* ClassName() const override { return "TGridTransEdit"; }
};

class TGridTransCombo : public TGridServing<TCustomComboBox> {
public:
    using TGridServing<TCustomComboBox>::TGridServing;
    const char* ClassName() const override { return "TGridTransCombo"; }
};

// A check box captioned with the cell text.
class TGridCheckBox : public TGridServing<TCheckBox> {
public:
    using TGridServing<TCheckBox>::TGridServing;
    const char* ClassName() const override { return "TGridCheckBox"; }
};

// An edit with an ellipsis button at its right.
class TGridEditBtn : public TGridServing<TEdit> {
public:
    using TGridServing<TEdit>::TGridServing;
    const char* ClassName() const override { return "TGridEditBtn"; }
    const String& ButtonCaption() const { return FButtonCaption; }
    void SetButtonCaption(const String& Value) { FButtonCaption = Value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }

private:
    String FButtonCaption;
    bool FIsWinXP = false;
};

using TUnitChangeEvent = std::function<void(TObject* Sender, const String& NewUnit)>;

// The ellipsis edit with a unit beside its value, chosen from Units.
class TGridUnitEditBtn : public TGridEditBtn {
public:
    using TGridEditBtn::TGridEditBtn;
    const char* ClassName() const override { return "TGridUnitEditBtn"; }
    TStringList* Units() { return &FUnits; }
    const String& UnitID() const { return FUnitID; }
    void SetUnitID(const String& Value) { FUnitID = Value; }
    // Choosing entry Index (from 1) of Units makes it the unit; a unit different from the one
    // before fires OnUnitChanged. An index outside the list does nothing.
    void SelectUnit(int Index);
    TUnitChangeEvent OnUnitChanged;

private:
    TStringList FUnits;
    String FUnitID;
};

// A push button captioned with the cell text.
class TGridButton : public TGridServing<TButton> {
public:
    using TGridServing<TButton>::TGridServing;
    const char* ClassName() const override { return "TGridButton"; }
};

// The header-looking button that follows the mouse while a column is dragged.
class THeaderDragButton : public TGridServing<TCustomControl> {
public:
    using TGridServing<TCustomControl>::TGridServing;
    const char* ClassName() const override { return "THeaderDragButton"; }
};

// The editors laid over the form controls of HTML cells: a masked edit and a combo box.
class TControlEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
    const char* ClassName() const override { return "TControlEdit"; }
};

class TControlCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    const char* ClassName() const override { return "TControlCombo"; }
};

using TDropSelectEvent = std::function<void(TObject* Sender, int ItemIndex)>;

// The lists of the filter drop-down: single choice and check list.
class TDropList : public TListBox {
public:
    using TListBox::TListBox;
    const char* ClassName() const override { return "TDropList"; }
    TDropSelectEvent OnSelect;
};

class TDropCheckList : public TCheckListBox {
public:
    using TCheckListBox::TCheckListBox;
    const char* ClassName() const override { return "TDropCheckList"; }
    TDropSelectEvent OnSelect;
};

enum TArrowDirection : uint8_t { arrUp, arrDown, arrLeft, arrRight };

// A small arrow window pointing where a dragged column or row would land.
class TArrowWindow : public TPanel {
public:
    TArrowWindow(TComponent* AOwner, TArrowDirection Direction) : TPanel(AOwner), FDir(Direction) {}
    explicit TArrowWindow(TComponent* AOwner) : TArrowWindow(AOwner, arrUp) {}
    const char* ClassName() const override { return "TArrowWindow"; }
    TArrowDirection Dir() const { return FDir; }

private:
    TArrowDirection FDir;
};

// The window that draws the frame around the current cell.
class TGridFocusWindow : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    const char* ClassName() const override { return "TGridFocusWindow"; }
};
