#pragma once
// Unit DevAzo: the support classes of the grid family. So far the list of controls placed in
// cells (TControlList of TControlItem), which the grid keeps in step with its cells' Control
// property and lays out over the cells shown.
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"

// One control placed in a cell: its column X (storage) and row Y (real), and the control (not
// owned).
class TControlItem : public TPersistent {
public:
    TControlItem(int AX, int AY, TControl* AObject) : FX(AX), FY(AY), FObject(AObject) {}
    const char* ClassName() const override { return "TControlItem"; }
    int X() const { return FX; }
    void SetX(int Value) { FX = Value; }
    int Y() const { return FY; }
    void SetY(int Value) { FY = Value; }
    TControl* Control() const { return FObject; }

private:
    int FX;
    int FY;
    TControl* FObject;
};

// The items are owned by the list; the controls are not.
class TControlList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    void AddControl(int X, int Y, TControl* AObject);
    // The first item of that column and row; -1 when none.
    int ControlIndex(int X, int Y) const;
    TControlItem* GetControl(int i) const { return FItems.at(static_cast<size_t>(i)).get(); }
    void RemoveControl(int i);
    // Whether some item's control is a windowed control with that window handle.
    bool HasHandle(HWND Handle) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TControlItem>> FItems;
};
