#pragma once
// The value list editor: a two-column grid of keys and values over a string list of
// "key=value" lines, with an optional title row.
#include <memory>

#include "platform/ui/Grids.h"

enum TDisplayOption { doColumnTitles, doAutoColResize, doKeyColFixed };
using TDisplayOptions = rtl::SmallSet<TDisplayOption>;

class TValueListEditor;

// The editor's lines: every change shows at once in the grid.
class TValueListStrings : public TStringList {
public:
    explicit TValueListStrings(TValueListEditor* Editor) : FEditor(Editor) {}
    const char* ClassName() const override { return "TValueListStrings"; }

protected:
    void Changed() override;

private:
    TValueListEditor* FEditor;
};

class TValueListEditor : public TCustomDrawGrid {
public:
    explicit TValueListEditor(TComponent* AOwner);
    ~TValueListEditor() override;
    const char* ClassName() const override { return "TValueListEditor"; }

    // The lines; the grid has a row for each (one empty row when there is none), after the
    // title row.
    TStrings* Strings() const { return FStrings.get(); }
    void SetStrings(const TStrings* Value) { FStrings->Assign(Value); }
    // "Key" and "Value" unless changed; shown in the title row while doColumnTitles is set.
    TStrings* TitleCaptions() const { return FTitleCaptions.get(); }
    void SetTitleCaptions(const TStrings* Value) { FTitleCaptions->Assign(Value); }
    TDisplayOptions DisplayOptions() const { return FDisplayOptions; }
    void SetDisplayOptions(TDisplayOptions Value);

    // The key of a grid row; the value of a key ("" when there is no such key).
    String Keys(int ARow) const;
    void SetKeys(int ARow, const String& Value);
    String Values(const String& Key) const;
    void SetValues(const String& Key, const String& Value);
    // The text a cell shows: a title, a key or a value.
    String Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);
    // The grid row of a key; false when there is none.
    bool FindRow(const String& KeyName, int& Row) const;

protected:
    friend class TValueListStrings;
    void StringsChanged();
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool CanEditShow() override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    void Resize() override;
    void ColWidthsChanged() override;

private:
    // The line of a grid row; -1 for the title row and the empty row of an empty list.
    int LineOf(int ARow) const;
    void AdjustColWidths();

    std::unique_ptr<TValueListStrings> FStrings;
    std::unique_ptr<TStringList> FTitleCaptions;
    TDisplayOptions FDisplayOptions{doColumnTitles, doAutoColResize, doKeyColFixed};
    bool FAdjusting = false;
};
