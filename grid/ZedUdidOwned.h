#pragma once
// Part of unit ZedUdid (included by ZedUdid.h): first forms of the objects the grid owns whose
// behaviour comes with later grid work: the footer and search panels, the search-footer and
// floating-footer settings, the filter (its conditions and drop-down), the sorting settings and
// index list, the column-size and node settings, the hidden-row items, the focus helper, and
// the settings of printing, HTML export and drag and drop.
//
// Each holds its properties with the defaults they start with and copies itself with Assign as
// the grid's Assign needs it (a source of another class is ignored unless said otherwise);
// what the grid does with them comes with the work that reads them.
#include <cstdint>
#include <functional>
#include <memory>

#include "grid/DevAzo.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Printers.h"

class TVerAdevovEdav;

// ---- Panels below the cells ----

// The floating footer's panel (aligned to the bottom, height 0, no border until shown).
class TFooterPanel : public TCustomPanel {
public:
    explicit TFooterPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TFooterPanel"; }
    TVerAdevovEdav* Grid() const { return FGrid; }
    void SetGrid(TVerAdevovEdav* Value) { FGrid = Value; }
    // Column of the last hint shown; -1 for none.
    int LastHintX() const { return FLastHintX; }

private:
    TVerAdevovEdav* FGrid = nullptr;
    int FLastHintX = -1;
};

// The search bar's panel; its buttons and edit report through the events (Sender the panel).
class TSearchPanel : public TPanel {
public:
    explicit TSearchPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TSearchPanel"; }
    TVerAdevovEdav* Grid() const { return FGrid; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

    TNotifyEvent OnForwardClick;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnEditChange;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighlightClick;

    String FindNextCaption;
    String FindPrevCaption;
    String MatchCaseCaption;
    String HintFindPrev;
    String HintClose;
    String HintFindNext;
    String HintHighlight;
    String HighLightCaption;

private:
    TVerAdevovEdav* FGrid;
    TColor FColorTo = clNone;
};

// ---- Search footer and floating footer settings ----

enum TSearchDirection : uint8_t { sdTopBottom, sdLeftRight };

// The search bar's settings. Made with InitDesign (a grid newly placed on a design surface) the
// captions and hints get their texts; otherwise they stay empty until set. Every setter fires
// OnChange (the Show switches and Visible only on a change).
class TSearchFooter : public TPersistent {
public:
    explicit TSearchFooter(bool InitDesign);
    const char* ClassName() const override { return "TSearchFooter"; }
    // AlwaysHighLight, the colours, captions, hints, Show switches, SearchActiveColumnOnly,
    // SearchMatchStart, SearchColumn, SearchDirection, SearchHiddenRows, Visible and Font; not
    // AutoSearch, SearchFixedCells or AutoThemeAdapt. No event.
    void Assign(const TPersistent* Source) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Set(FColor, Value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { Set(FColorTo, Value); }
    const String& FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const String& Value) { Set(FFindNextCaption, Value); }
    const String& FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const String& Value) { Set(FFindPrevCaption, Value); }
    const String& MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const String& Value) { Set(FMatchCaseCaption, Value); }
    const String& HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const String& Value) { Set(FHighLightCaption, Value); }
    const String& HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const String& Value) { Set(FHintFindNext, Value); }
    const String& HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const String& Value) { Set(FHintFindPrev, Value); }
    const String& HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const String& Value) { Set(FHintHighlight, Value); }
    const String& HintClose() const { return FHintClose; }
    void SetHintClose(const String& Value) { Set(FHintClose, Value); }
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value) { Set(FShowClose, Value); }
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value) { SetOnChange(FShowFindNext, Value); }
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value) { SetOnChange(FShowFindPrev, Value); }
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value) { SetOnChange(FShowHighLight, Value); }
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value) { SetOnChange(FShowMatchCase, Value); }

    bool AutoSearch = true;
    int SearchColumn = -1;
    bool SearchActiveColumnOnly = false;
    bool SearchMatchStart = false;
    bool SearchFixedCells = false;
    bool SearchHiddenRows = false;
    TSearchDirection SearchDirection = sdTopBottom;
    bool AlwaysHighLight = false;
    String LastSearch;
    TNotifyEvent OnChange;

private:
    template <class T>
    void Set(T& field, const T& value) {
        field = value;
        Changed();
    }
    template <class T>
    void SetOnChange(T& field, const T& value) {
        if (field == value) return;
        Set(field, value);
    }
    void Changed() {
        if (OnChange) OnChange(this);
    }
    bool FShowFindPrev = true;
    bool FShowFindNext = true;
    String FFindNextCaption;
    String FFindPrevCaption;
    TColor FColorTo = clBtnFace;
    TColor FColor = 0xFFFFFF;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
    bool FShowClose = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    String FMatchCaseCaption;
    String FHintClose;
    String FHintFindPrev;
    String FHintHighlight;
    String FHintFindNext;
    String FHighLightCaption;
    std::unique_ptr<TFont> FFont;
};

enum TFooterStyle : uint8_t { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };
using TCalcFooterEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;

// The floating footer's settings; Height follows the grid's DefaultRowHeight.
class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TVerAdevovEdav* AGrid) : FGrid(AGrid) {}
    const char* ClassName() const override { return "TFloatingFooter"; }
    TVerAdevovEdav* Grid() const { return FGrid; }
    int Height = 0;
    bool Visible = false;
    TColor Color = clBtnFace;
    TFooterStyle FooterStyle = fsFixedLastRow;
    int Column = 0;
    TCalcFooterEvent OnCalcFooter;
    String CustomTemplate;
    bool CalculateHiddenRows = true;
    bool EnableCalculation = true;
    bool ShowHint = false;
    TColor BorderColor = clNone;

private:
    TVerAdevovEdav* FGrid;
};

// ---- Filtering ----

enum TFilterCells : uint8_t { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterOperation : uint8_t { foSHORT, foNONE, foAND, foXOR, foOR };

// One filter condition.
class TFilterData : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    const char* ClassName() const override { return "TFilterData"; }
    void Assign(const TPersistent* Source) override;
    int16_t Column = 0;
    String Condition;
    bool CaseSensitive = true;
    String Suffix;
    String Prefix;
    TFilterOperation Operation = foSHORT;
    TFilterCells Data = fcVirtual;
};

// The grid's filter conditions; their owner is the grid.
class TFilter : public TCollection {
public:
    explicit TFilter(TVerAdevovEdav* AOwner);
    const char* ClassName() const override { return "TFilter"; }
    TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
    TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
};

// The look of the filter drop-down. A change of either glyph fires OnChange (the grid
// repaints).
class TFilterDropDown : public TPersistent {
public:
    TFilterDropDown();
    const char* ClassName() const override { return "TFilterDropDown"; }
    // Color, ColumnWidth, Font, Height, Width and both glyphs.
    void Assign(const TPersistent* Source) override;
    TFont* Font() const { return FFont.get(); }
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* Value);
    TBitmap* GlyphActive() const { return FGlyphActive.get(); }
    void SetGlyphActive(const TBitmap* Value);
    bool AutoSize = false;
    TColor Color = clWindow;
    bool ColumnWidth = false;
    int Height = 150;
    int Width = 150;
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TBitmap> FGlyphActive;
};

// ---- Sorting ----

enum TSortDirection : uint8_t { sdAscending, sdDescending };
enum TSortBlankPosition : uint8_t { blFirst, blLast };
enum TIndexSortKey : uint8_t { ikShift, ikCtrl };

// The sorting settings (the glyphs owned; the grid repaints when Show changes).
class TSortSettings : public TPersistent {
public:
    explicit TSortSettings(TVerAdevovEdav* AOwner);
    const char* ClassName() const override { return "TSortSettings"; }
    // Every property, the glyphs by content.
    void Assign(const TPersistent* Source) override;
    TVerAdevovEdav* Grid() const { return FGrid; }
    bool Show() const { return FShow; }
    void SetShow(bool Value);
    TBitmap* UpGlyph() const { return FGlyphs[0].get(); }
    TBitmap* DownGlyph() const { return FGlyphs[1].get(); }
    TBitmap* IndexUpGlyph() const { return FGlyphs[2].get(); }
    TBitmap* IndexDownGlyph() const { return FGlyphs[3].get(); }

    bool IndexShow = false;
    bool Full = true;
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;
    TSortDirection Direction = sdAscending;
    bool NormalCellsOnly = false;
    bool FixedCols = false;
    int Column = -1;
    int Row = 0;
    bool AutoColumnMerge = false;
    TColor IndexColor = 0x0000FFFF;
    TSortDirection InitSortDirection = sdAscending;
    bool UndoSort = false;
    bool AutoSortForGrouping = true;
    bool SortOnVirtualCells = true;
    bool IgnoreCase = false;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderMirrorColor = clNone;
    TColor HeaderMirrorColorTo = clNone;
    TIndexSortKey IndexSortKey = ikShift;

private:
    TVerAdevovEdav* FGrid;
    bool FShow = false;
    std::unique_ptr<TBitmap> FGlyphs[4];
};

// Sort columns in order of precedence: bits 0-30 the column, bit 31 set for descending.
class TSortIndexList : public TIntList {
public:
    using TIntList::TIntList;
    const char* ClassName() const override { return "TSortIndexList"; }
    int SortColumns(int i) const { return GetInteger(i) & 0x7FFFFFFF; }
    void SetSortColumns(int i, int Column);
    bool SortDirections(int i) const { return GetInteger(i) >= 0; }
    void SetSortDirections(int i, bool Ascending);
};

// ---- Column sizes, nodes, hidden rows, the focus helper ----

enum TColumnSizeLocation : uint8_t { clRegistry, clIniFile };
enum TAutoSizeRows : uint8_t { arAll, arNormal, arFixed };

// Where column widths are saved (Key an ini file or a registry path) and how a column stretches.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TComponent* AOwner) : FOwner(AOwner) {}
    const char* ClassName() const override { return "TColumnSize"; }
    void Assign(const TPersistent* Source) override;
    TComponent* Owner() const { return FOwner; }
    bool Save = false;
    String Key;
    String Section;
    bool Stretch = false;
    int StretchColumn = -1;
    bool SynchWithGrid = false;
    bool SynchNormalCellsOnly = false;
    TColumnSizeLocation Location = clRegistry;
    TAutoSizeRows Rows = arAll;

private:
    TComponent* FOwner;
};

enum TNodeType : uint8_t { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

// The look of tree nodes (the glyphs owned).
class TCellNode : public TPersistent {
public:
    explicit TCellNode(TVerAdevovEdav* AOwner);
    const char* ClassName() const override { return "TCellNode"; }
    void Assign(const TPersistent* Source) override;
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    TColor Color = 0xC0C0C0;
    TNodeType NodeType = cnXP;
    TColor NodeColor = 0;
    bool ExpandOne = false;
    bool ShowTree = true;
    bool ShowTreeFull = true;
    int NodeIndent = 12;
    TColor TreeColor = 0x808080;

private:
    std::unique_ptr<TBitmap> FExpandGlyph;
    std::unique_ptr<TBitmap> FContractGlyph;
    TVerAdevovEdav* FOwner;
};

// One hidden row: its index, height, filter level and cells (entry i the text of real column i
// with the cell's properties as its object), kept while the row is out of the grid. The item
// owns the properties it holds: an item discarded without its row coming back frees them.
class TGridItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    ~TGridItem() override;
    const char* ClassName() const override { return "TGridItem"; }
    // The real row; for a row hidden in a list its displayed row when it was hidden.
    int Idx() const { return FIdx; }
    void SetIdx(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }
    TStringList* Items() const { return FItems.get(); }
    // The list becomes the item's own (no copy).
    void SetItems(std::unique_ptr<TStringList> Value) { FItems = std::move(Value); }
    // Hidden as one of a list (Idx a displayed row), and when: rows come back in the reverse
    // order of their hiding.
    bool FromList = false;
    int64_t Sequence = 0;

private:
    int32_t FIdx = 0;
    int32_t FHeight = 0;
    int32_t FLevel = 0;
    std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
};

// Drawn over the grid where the focus is while keys move it.
class TFocusHelper : public TPersistent {
public:
    const char* ClassName() const override { return "TFocusHelper"; }
    void Assign(const TPersistent* Source) override;
    bool Enabled = false;
};

// ---- Printing, HTML export, drag and drop ----

enum TPrintPosition : uint8_t { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders : uint8_t {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
enum TFitToPage : uint8_t { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// Page setup of printing; lengths in 0.1 mm.
class TPrintSettings : public TPersistent {
public:
    explicit TPrintSettings(TVerAdevovEdav* AOwner);
    const char* ClassName() const override { return "TPrintSettings"; }
    // Every setting but FixedCellsAlways; the fonts and title lines by content.
    void Assign(const TPersistent* Source) override;
    TFont* Font() const { return FFonts[0].get(); }
    TFont* FixedFont() const { return FFonts[1].get(); }
    TFont* HeaderFont() const { return FFonts[2].get(); }
    TFont* FooterFont() const { return FFonts[3].get(); }
    TStringList* TitleLines() const { return FTitleLines.get(); }

    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    String DateFormat = u"dd/mm/yyyy";
    TPrintPosition PageNr = ppNone;
    String PageNumSep = u"/";
    String PagePrefix;
    String PageSuffix;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    TPrintPosition Title = ppNone;
    String TitleText;
    bool UseDisplayFont = true;
    TPrintBorders Borders = pbSingle;
    TPenStyle BorderStyle = psSolid;
    TColor BorderColor = clBlack;
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int HeaderSize = 0;
    int FooterSize = 0;
    int LeftSize = 0;
    int RightSize = 0;
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = poPortrait;
    bool UseDefaultOrientation = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false;
    bool NoAutoSizeRow = false;
    bool UseFixedWidth = false;
    int FixedWidth = 0;
    bool UseFixedHeight = false;
    int FixedHeight = 0;
    bool PrintGraphics = false;
    String JobName;
    bool FixedCellsAlways = false;

private:
    TVerAdevovEdav* FGrid;
    std::unique_ptr<TFont> FFonts[4];
    std::unique_ptr<TStringList> FTitleLines;
};

// Options of the HTML export.
class THTMLSettings : public TPersistent {
public:
    THTMLSettings() : FColWidths(std::make_unique<TIntList>(0, 0)) {}
    const char* ClassName() const override { return "THTMLSettings"; }
    // Every option; not ColWidths.
    void Assign(const TPersistent* Source) override;
    // Optional cell widths.
    TIntList* ColWidths() const { return FColWidths.get(); }
    bool AutoPreview = false;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    bool ConvertSpecialChars = false;
    bool ExportImages = true;
    String FooterFile;
    String HeaderFile;
    bool NonBreakingText = false;
    String PrefixTag;
    bool SaveColor = true;
    bool SaveFonts = true;
    String SuffixTag;
    String Summary;
    String TableStyle;
    int Width = 100;
    bool XHTML = false;

private:
    std::unique_ptr<TIntList> FColWidths;
};

// OLE drag and drop of the grid: fifteen switches.
class TDragDropSettings : public TPersistent {
public:
    explicit TDragDropSettings(TVerAdevovEdav* AOwner) : FGrid(AOwner) {}
    const char* ClassName() const override { return "TDragDropSettings"; }
    // The fifteen values as plain values.
    void Assign(const TPersistent* Source) override;
    TVerAdevovEdav* Grid() const { return FGrid; }
    bool OleDropRTF = false;
    bool OleAcceptText = true;
    bool OleEntireRows = false;
    bool OleDropSource = false;
    bool OleRemoveRows = false;
    bool OleAcceptFiles = true;
    bool OleAcceptURLs = true;
    bool OleDropTarget = false;
    bool OleInsertRows = false;
    bool OleAppendRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false;
    bool OleColumnReorder = false;
    bool OleColumnsOnly = false;
    bool ShowCells = true;

private:
    TVerAdevovEdav* FGrid;
};
