#pragma once
// What the grid model's tests share: a grid that records its repaint requests (the repaint log)
// and lets a test set the fields the grid's count writers will own, and a form with such a grid
// of a given size, shown and focused.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "grid/ZedUdid.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace grid_model_test {

// Every repaint request as the grid made it, and access to the grid's protected state.
class LogGrid : public TVerAdevovEdav {
public:
    using TVerAdevovEdav::TVerAdevovEdav;
    std::vector<TGridRepaint> Log;

    // The requests for one cell (its block's area included) and for the whole grid.
    int CellRequests(int c, int r) const {
        int n = 0;
        for (const auto& q : Log) n += q.Scope == TRepaintScope::Cell && q.Cells == TGridRect{c, r, c, r};
        return n;
    }
    int GridRequests() const {
        int n = 0;
        for (const auto& q : Log) n += q.Scope == TRepaintScope::Grid;
        return n;
    }

    void SetNormalRowCount(int v) { FNormalRowCount = v; }
    int NormalRowCount() const { return FNormalRowCount; }
    void SetHideLastRow(bool v) { FHideLastRow = v; }
    bool HasCellProps() const { return FHasCellProps; }
    bool SelectionShown() const { return FSelectionShown; }
    void SetFixedRowAlways(bool v, int min) {
        FFixedRowAlways = v;
        FFixedRowsMin = min;
    }
    void SetEditDisable(bool v) { FEditDisable = v; }
    bool EditDisable() const { return FEditDisable; }
    using TBaseGrid::SnapToBaseCell;
    using TVerAdevovEdav::RowSelectList;
    using TVerAdevovEdav::SelectedRowsList;
    using TVerAdevovEdav::ModifiedRowsList;
    using TVerAdevovEdav::SelectCell;

    // Hooks a test drives directly.
    std::vector<std::string> Calls;
    void LastRowChanged() override {
        Calls.push_back("LastRowChanged");
        TVerAdevovEdav::LastRowChanged();
    }
    void CellTextChanged(int c, int r) override {
        Calls.push_back("CellTextChanged " + std::to_string(c) + "," + std::to_string(r));
        TVerAdevovEdav::CellTextChanged(c, r);
    }

    // Runs inside a change of the counts, after the counts changed and before the current cell
    // is brought back inside them.
    std::function<void()> DuringSizeChange;

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override {
        TVerAdevovEdav::SizeChanged(OldColCount, OldRowCount);
        if (DuringSizeChange) DuringSizeChange();
    }
    void RepaintArea(const TGridRepaint& Request) override {
        Log.push_back(Request);
        TVerAdevovEdav::RepaintArea(Request);
    }
};

class GridModelTest : public ui::test::FormTest {
protected:
    // A cols x rows grid (default widths 64, heights 24) with a window, clientW x clientH,
    // without border or scroll bars, on the shown form, with the focus.
    LogGrid* MakeGrid(int cols, int rows, int clientW = 400, int clientH = 250) {
        form->SetBounds(0, 0, 640, 480);
        auto* g = Add<LogGrid>(0, 0);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetDefaultRowHeight(24);
        g->SetBounds(0, 0, clientW, clientH);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        form->Show();
        g->SetFocus();
        ui::test::Pump();
        g->Log.clear();
        return g;
    }
};

}  // namespace grid_model_test
