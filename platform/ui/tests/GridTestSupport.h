#pragma once
// Shared by the grid tests: a shown form with a focused string grid of a given client size, and
// a string grid that records the hooks its descendants rely on.
#include <string>
#include <vector>

#include "platform/ui/Grids.h"
#include "platform/ui/tests/UiTestFixture.h"

namespace grid_test {

// Records the virtual hooks, in order, and passes each on.
class RecordingGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<std::string> Calls;
    int Count(const std::string& name) const {
        int n = 0;
        for (const auto& c : Calls) n += c == name;
        return n;
    }
    using TCustomGrid::ShowEditorChar;
    using TCustomGrid::UpdateText;

protected:
    bool SelectCell(int c, int r) override {
        Calls.push_back("SelectCell " + std::to_string(c) + "," + std::to_string(r));
        return TStringGrid::SelectCell(c, r);
    }
    void SizeChanged(int oldCols, int oldRows) override {
        Calls.push_back("SizeChanged " + std::to_string(oldCols) + "," + std::to_string(oldRows));
        TStringGrid::SizeChanged(oldCols, oldRows);
    }
    void ColWidthsChanged() override {
        Calls.push_back("ColWidthsChanged");
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override {
        Calls.push_back("RowHeightsChanged");
        TStringGrid::RowHeightsChanged();
    }
    void ColumnMoved(int from, int to) override {
        Calls.push_back("ColumnMoved " + std::to_string(from) + "," + std::to_string(to));
        TStringGrid::ColumnMoved(from, to);
    }
    void RowMoved(int from, int to) override {
        Calls.push_back("RowMoved " + std::to_string(from) + "," + std::to_string(to));
        TStringGrid::RowMoved(from, to);
    }
    void TopLeftChanged() override {
        Calls.push_back("TopLeftChanged");
        TStringGrid::TopLeftChanged();
    }
};

class GridTest : public ui_test::FormTest {
protected:
    // A grid of cols x rows with one fixed row and column and no scroll bars, clientW x
    // clientH, on the shown form, with the focus.
    template <class T = RecordingGrid>
    T* MakeGrid(int cols, int rows, int clientW = 300, int clientH = 200) {
        form->SetBounds(0, 0, 640, 480);
        auto* g = Add<T>(0, 0);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetBounds(0, 0, clientW, clientH);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        form->Show();
        g->SetFocus();
        return g;
    }
};

}  // namespace grid_test
