// First forms of the objects the grid owns whose behaviour comes with later grid work.
#include "grid/ZedUdid.h"

namespace {
// A bitmap copied by content (an empty source empties the target).
void CopyBitmap(TBitmap* Target, const TBitmap* Source) { Target->Assign(Source); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// Panels

TFooterPanel::TFooterPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
    SetAlign(alBottom);
    SetHeight(0);
    SetBorderWidth(0);
}

TSearchPanel::TSearchPanel(TComponent* AOwner) : TPanel(AOwner), FGrid(dynamic_cast<TVerAdevovEdav*>(AOwner)) {
    SetAlign(alBottom);
    SetHeight(0);
    SetBorderWidth(0);
}

void TSearchPanel::SetColorTo(TColor Value) {
    FColorTo = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// TSearchFooter

TSearchFooter::TSearchFooter(bool InitDesign) : FFont(std::make_unique<TFont>()) {
    if (!InitDesign) return;
    FFindNextCaption = u"Find &next";
    FFindPrevCaption = u"Find &previous";
    FMatchCaseCaption = u"Match case";
    FHighLightCaption = u"Highlight";
    FHintFindNext = u"Find next occurrence";
    FHintFindPrev = u"Find previous occurrence";
    FHintHighlight = u"Highlight occurrences";
    FHintClose = u"Close";
}

void TSearchFooter::SetVisible(bool Value) { SetOnChange(FVisible, Value); }
void TSearchFooter::SetAutoThemeAdapt(bool Value) { Set(FAutoThemeAdapt, Value); }

void TSearchFooter::SetFont(const TFont* Value) {
    FFont->Assign(Value);
    Changed();
}

void TSearchFooter::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TSearchFooter*>(Source);
    if (!s) return;
    AlwaysHighLight = s->AlwaysHighLight;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FFindNextCaption = s->FFindNextCaption;
    FFindPrevCaption = s->FFindPrevCaption;
    FMatchCaseCaption = s->FMatchCaseCaption;
    FHighLightCaption = s->FHighLightCaption;
    FHintFindNext = s->FHintFindNext;
    FHintFindPrev = s->FHintFindPrev;
    FHintHighlight = s->FHintHighlight;
    FHintClose = s->FHintClose;
    FShowClose = s->FShowClose;
    FShowFindNext = s->FShowFindNext;
    FShowFindPrev = s->FShowFindPrev;
    FShowHighLight = s->FShowHighLight;
    FShowMatchCase = s->FShowMatchCase;
    SearchActiveColumnOnly = s->SearchActiveColumnOnly;
    SearchMatchStart = s->SearchMatchStart;
    SearchColumn = s->SearchColumn;
    SearchDirection = s->SearchDirection;
    SearchHiddenRows = s->SearchHiddenRows;
    FVisible = s->FVisible;
    FFont->Assign(s->FFont.get());
}

// ---------------------------------------------------------------------------------------------
// Filtering

void TFilterData::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TFilterData*>(Source);
    if (!s) return;
    Column = s->Column;
    Condition = s->Condition;
    CaseSensitive = s->CaseSensitive;
    Suffix = s->Suffix;
    Prefix = s->Prefix;
    Operation = s->Operation;
    Data = s->Data;
}

TFilter::TFilter(TVerAdevovEdav* AOwner) : TCollection(&CollectionItemOf<TFilterData>, AOwner) {}

TFilterDropDown::TFilterDropDown()
    : FFont(std::make_unique<TFont>()), FGlyph(std::make_unique<TBitmap>()), FGlyphActive(std::make_unique<TBitmap>()) {}

void TFilterDropDown::SetGlyph(const TBitmap* Value) {
    CopyBitmap(FGlyph.get(), Value);
    if (OnChange) OnChange(this);
}

void TFilterDropDown::SetGlyphActive(const TBitmap* Value) {
    CopyBitmap(FGlyphActive.get(), Value);
    if (OnChange) OnChange(this);
}

void TFilterDropDown::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TFilterDropDown*>(Source);
    if (!s) return;
    Color = s->Color;
    ColumnWidth = s->ColumnWidth;
    FFont->Assign(s->FFont.get());
    Height = s->Height;
    Width = s->Width;
    CopyBitmap(FGlyph.get(), s->FGlyph.get());
    CopyBitmap(FGlyphActive.get(), s->FGlyphActive.get());
}

// ---------------------------------------------------------------------------------------------
// Sorting

TSortSettings::TSortSettings(TVerAdevovEdav* AOwner) : FGrid(AOwner) {
    for (auto& g : FGlyphs) g = std::make_unique<TBitmap>();
}

void TSortSettings::SetShow(bool Value) {
    if (Value == FShow) return;
    FShow = Value;
    if (FGrid) FGrid->Invalidate();
}

void TSortSettings::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TSortSettings*>(Source);
    if (!s) return;
    FShow = s->FShow;
    IndexShow = s->IndexShow;
    Full = s->Full;
    SingleColumn = s->SingleColumn;
    IgnoreBlanks = s->IgnoreBlanks;
    BlankPos = s->BlankPos;
    AutoFormat = s->AutoFormat;
    Direction = s->Direction;
    for (int i = 0; i < 4; ++i) CopyBitmap(FGlyphs[i].get(), s->FGlyphs[i].get());
    NormalCellsOnly = s->NormalCellsOnly;
    FixedCols = s->FixedCols;
    Column = s->Column;
    Row = s->Row;
    AutoColumnMerge = s->AutoColumnMerge;
    IndexColor = s->IndexColor;
    InitSortDirection = s->InitSortDirection;
    UndoSort = s->UndoSort;
    AutoSortForGrouping = s->AutoSortForGrouping;
    SortOnVirtualCells = s->SortOnVirtualCells;
    IgnoreCase = s->IgnoreCase;
    HeaderColor = s->HeaderColor;
    HeaderColorTo = s->HeaderColorTo;
    HeaderMirrorColor = s->HeaderMirrorColor;
    HeaderMirrorColorTo = s->HeaderMirrorColorTo;
    IndexSortKey = s->IndexSortKey;
}

void TSortIndexList::SetSortColumns(int i, int Column) {
    SetInteger(i, static_cast<int>((static_cast<uint32_t>(GetInteger(i)) & 0x80000000u) | (static_cast<uint32_t>(Column) & 0x7FFFFFFFu)));
}

void TSortIndexList::SetSortDirections(int i, bool Ascending) {
    uint32_t v = static_cast<uint32_t>(GetInteger(i));
    SetInteger(i, static_cast<int>(Ascending ? v & 0x7FFFFFFFu : v | 0x80000000u));
}

// ---------------------------------------------------------------------------------------------
// Column sizes, nodes, the focus helper

void TColumnSize::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TColumnSize*>(Source);
    if (!s) return;
    Rows = s->Rows;
    Save = s->Save;
    Key = s->Key;
    Section = s->Section;
    Stretch = s->Stretch;
    StretchColumn = s->StretchColumn;
    SynchWithGrid = s->SynchWithGrid;
    SynchNormalCellsOnly = s->SynchNormalCellsOnly;
    Location = s->Location;
}

TCellNode::TCellNode(TVerAdevovEdav* AOwner)
    : FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>()), FOwner(AOwner) {}

void TCellNode::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TCellNode*>(Source);
    if (!s) return;
    Color = s->Color;
    ExpandOne = s->ExpandOne;
    NodeType = s->NodeType;
    NodeColor = s->NodeColor;
    NodeIndent = s->NodeIndent;
    CopyBitmap(FExpandGlyph.get(), s->FExpandGlyph.get());
    CopyBitmap(FContractGlyph.get(), s->FContractGlyph.get());
    ShowTree = s->ShowTree;
    ShowTreeFull = s->ShowTreeFull;
    TreeColor = s->TreeColor;
}

void TFocusHelper::Assign(const TPersistent* Source) {
    if (auto* s = dynamic_cast<const TFocusHelper*>(Source)) Enabled = s->Enabled;
}

// ---------------------------------------------------------------------------------------------
// Printing, HTML export, drag and drop

TPrintSettings::TPrintSettings(TVerAdevovEdav* AOwner) : FGrid(AOwner), FTitleLines(std::make_unique<TStringList>()) {
    for (auto& f : FFonts) f = std::make_unique<TFont>();
}

void TPrintSettings::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TPrintSettings*>(Source);
    if (!s) {
        TPersistent::Assign(Source);  // the invalid-cast error
        return;
    }
    Time = s->Time;
    Date = s->Date;
    DateFormat = s->DateFormat;
    PageNr = s->PageNr;
    PageNumSep = s->PageNumSep;
    PagePrefix = s->PagePrefix;
    PageSuffix = s->PageSuffix;
    PageNumberOffset = s->PageNumberOffset;
    MaxPagesOffset = s->MaxPagesOffset;
    Title = s->Title;
    TitleText = s->TitleText;
    UseDisplayFont = s->UseDisplayFont;
    Borders = s->Borders;
    BorderStyle = s->BorderStyle;
    BorderColor = s->BorderColor;
    Centered = s->Centered;
    RepeatFixedRows = s->RepeatFixedRows;
    RepeatFixedCols = s->RepeatFixedCols;
    HeaderSize = s->HeaderSize;
    FooterSize = s->FooterSize;
    LeftSize = s->LeftSize;
    RightSize = s->RightSize;
    ColumnSpacing = s->ColumnSpacing;
    RowSpacing = s->RowSpacing;
    TitleSpacing = s->TitleSpacing;
    Orientation = s->Orientation;
    UseDefaultOrientation = s->UseDefaultOrientation;
    FitToPage = s->FitToPage;
    NoAutoSize = s->NoAutoSize;
    NoAutoSizeRow = s->NoAutoSizeRow;
    UseFixedWidth = s->UseFixedWidth;
    FixedWidth = s->FixedWidth;
    UseFixedHeight = s->UseFixedHeight;
    FixedHeight = s->FixedHeight;
    PrintGraphics = s->PrintGraphics;
    JobName = s->JobName;
    for (int i = 0; i < 4; ++i) FFonts[i]->Assign(s->FFonts[i].get());
    FTitleLines->Assign(s->FTitleLines.get());
}

void THTMLSettings::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const THTMLSettings*>(Source);
    if (!s) return;
    AutoPreview = s->AutoPreview;
    BorderSize = s->BorderSize;
    CellSpacing = s->CellSpacing;
    CellPadding = s->CellPadding;
    ConvertSpecialChars = s->ConvertSpecialChars;
    ExportImages = s->ExportImages;
    FooterFile = s->FooterFile;
    HeaderFile = s->HeaderFile;
    NonBreakingText = s->NonBreakingText;
    PrefixTag = s->PrefixTag;
    SaveColor = s->SaveColor;
    SaveFonts = s->SaveFonts;
    SuffixTag = s->SuffixTag;
    Summary = s->Summary;
    TableStyle = s->TableStyle;
    Width = s->Width;
    XHTML = s->XHTML;
}

void TDragDropSettings::Assign(const TPersistent* Source) {
    auto* s = dynamic_cast<const TDragDropSettings*>(Source);
    if (!s) return;
    OleDropRTF = s->OleDropRTF;
    OleAcceptText = s->OleAcceptText;
    OleEntireRows = s->OleEntireRows;
    OleDropSource = s->OleDropSource;
    OleRemoveRows = s->OleRemoveRows;
    OleAcceptFiles = s->OleAcceptFiles;
    OleAcceptURLs = s->OleAcceptURLs;
    OleDropTarget = s->OleDropTarget;
    OleInsertRows = s->OleInsertRows;
    OleAppendRows = s->OleAppendRows;
    OleCopyAlways = s->OleCopyAlways;
    OleColumnDragDrop = s->OleColumnDragDrop;
    OleColumnReorder = s->OleColumnReorder;
    OleColumnsOnly = s->OleColumnsOnly;
    ShowCells = s->ShowCells;
}
