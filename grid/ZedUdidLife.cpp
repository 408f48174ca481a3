// TVerAdevovEdav: construction with its defaults and owned objects, window creation, the end of
// loading, resizing, copying a grid, destruction; the unit's start-up and its routines.
#include <algorithm>
#include <map>
#include <vector>

#include "controls/styled/VizIrovaRE.h"
#include "grid/ZedUdid.h"
#include "platform/ole/DragDrop.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Hooks.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------------------------
// Unit state and start-up

namespace {

TZedUdidUnitState gUnit;
HHOOK gFocusFrameHook = nullptr;
TVerAdevovEdav* gFocusFrameGrid = nullptr;

LRESULT FocusFrameHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && cwp && (cwp->message == WM_WINDOWPOSCHANGING || cwp->message == WM_WINDOWPOSCHANGED) &&
        gFocusFrameGrid)
        gFocusFrameGrid->PositionFocusWindow();
    return CallNextHookEx(gFocusFrameHook, nCode, wParam, lParam);
}

// The grid's streamable classes in their order; the editors made on first use and the rich
// edit take their places as they come.
void RegisterGridClasses() {
    try {
        for (TPersistentClass c :
             {ClassOf<TVerAdevovEdav>(), ClassOf<TDropList>(), ClassOf<TArrowWindow>(), ClassOf<TGridCombo>(),
              ClassOf<TGridTransEdit>(), ClassOf<TGridTransCombo>(), ClassOf<TGridCheckBox>(), ClassOf<TGridEditBtn>(),
              ClassOf<TGridUnitEditBtn>(), ClassOf<TGridButton>(), ClassOf<THeaderDragButton>(), ClassOf<TControlEdit>(),
              ClassOf<TControlCombo>(), ClassOf<TScrollBar>(), ClassOf<TFooterPanel>(), ClassOf<TSearchPanel>()})
            RegisterClass(c);
    } catch (const Exception&) {
        // A class that cannot be registered ends the registrations; the grid works without them.
    }
}

}  // namespace

void InitZedUdidUnit() {
    if (gUnit.InitCount++ > 0) return;
    OleInitialize(nullptr);
    gFocusFrameGrid = nullptr;
    if (!gFocusFrameHook) gFocusFrameHook = SetWindowsHookEx(WH_CALLWNDPROC, FocusFrameHookProc, 0, GetCurrentThreadId());
    RegisterGridClasses();
    gUnit.ComCtrlOk = GetDllFileVersion(u"comctl32.dll") >= 0x40046;
    gUnit.CellsClipboardFormat = static_cast<uint16_t>(RegisterClipboardFormat(u"TVerAdevovEdav Cells"));
    gUnit.GridEditDoneMessage = static_cast<uint16_t>(RegisterWindowMessage(u"GridEditDone"));
    gUnit.DTPShiftFocusMessage = static_cast<uint16_t>(RegisterWindowMessage(u"DTPShiftFocus"));
}

const TZedUdidUnitState& ZedUdidUnitState() { return gUnit; }
TVerAdevovEdav* FocusFrameGrid() { return gFocusFrameGrid; }
void SetFocusFrameGrid(TVerAdevovEdav* Grid) { gFocusFrameGrid = Grid; }

// ---------------------------------------------------------------------------------------------
// Unit-level routines

char16_t GetTimeSeparator() { return FormatSettings.TimeSeparator; }
char16_t GetDateSeparator() { return FormatSettings.DateSeparator; }
char16_t GetThousandSeparator() { return FormatSettings.ThousandSeparator; }
char16_t GetDecimalSeparator() { return FormatSettings.DecimalSeparator; }
String GetShortDateFormat() { return FormatSettings.ShortDateFormat; }
String GetShortTimeFormat() { return FormatSettings.ShortTimeFormat; }
String GetLongTimeFormat() { return FormatSettings.LongTimeFormat; }

void MakeWindowTransparent(HWND Window) {
    SetWindowLong(Window, GWL_EXSTYLE, GetWindowLong(Window, GWL_EXSTYLE) | static_cast<LONG>(WS_EX_TRANSPARENT));
}

int GetDllFileVersion(const String& FileName) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSize(FileName, &handle);
    if (size == 0) return -1;
    std::vector<uint8_t> data(size);
    if (!GetFileVersionInfo(FileName, handle, size, data.data())) return -1;
    void* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValue(data.data(), u"\\", &fixed, &length) || !fixed) return -1;
    auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    if (info->dwSignature != 0xFEEF04BD) return -1;
    return static_cast<int>(info->dwFileVersionMS);
}

// ---------------------------------------------------------------------------------------------
// The owner form's OnResize, shared by the grids of one form

namespace {

// Every form whose OnResize the grids chained into: its own handler and the grids, newest last.
// The form's handler is one dispatcher that runs the grids (newest first) and then the form's
// own handler, so a grid may leave in any order without breaking the chain for the others.
struct FormChain {
    TNotifyEvent Original;
    std::vector<TVerAdevovEdav*> Grids;
};
std::map<TCustomForm*, FormChain>& FormChains() {
    static std::map<TCustomForm*, FormChain> chains;
    return chains;
}

struct FormResizeDispatcher {
    TCustomForm* Form;
    void operator()(TObject* Sender) const;
};

}  // namespace

class TVerAdevovEdavFormLink {
public:
    static void Resize(TVerAdevovEdav* Grid, TObject* Sender) { Grid->FormResize(Sender); }
};

void FormResizeDispatcher::operator()(TObject* Sender) const {
    auto it = FormChains().find(Form);
    if (it == FormChains().end()) return;
    // A handler may free a grid: walk a copy and skip the ones gone meanwhile.
    std::vector<TVerAdevovEdav*> grids = it->second.Grids;
    for (auto g = grids.rbegin(); g != grids.rend(); ++g) {
        auto now = FormChains().find(Form);
        if (now == FormChains().end()) return;
        if (std::find(now->second.Grids.begin(), now->second.Grids.end(), *g) != now->second.Grids.end())
            TVerAdevovEdavFormLink::Resize(*g, Sender);
    }
    auto now = FormChains().find(Form);
    if (now != FormChains().end() && now->second.Original) {
        TNotifyEvent original = now->second.Original;
        original(Sender);
    }
}

void TVerAdevovEdav::ChainFormResize() {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form || ComponentState().Contains(csDesigning)) return;
    FOwnerForm = form;
    auto& chains = FormChains();
    auto it = chains.find(form);
    if (it == chains.end() || !form->OnResize.target<FormResizeDispatcher>()) {
        // First grid (or the form's handler was replaced since): the form's handler now is its own.
        FormChain chain;
        chain.Original = form->OnResize;
        if (it != chains.end()) chain.Grids = it->second.Grids;
        chains[form] = chain;
        form->OnResize = FormResizeDispatcher{form};
    }
    FHasOldFormResize = static_cast<bool>(chains[form].Original);
    chains[form].Grids.push_back(this);
    FFormWidth = form->Width();
    FFormHeight = form->Height();
}

void TVerAdevovEdav::UnchainFormResize() {
    if (!FOwnerForm) return;
    auto& chains = FormChains();
    auto it = chains.find(FOwnerForm);
    if (it != chains.end()) {
        auto& grids = it->second.Grids;
        grids.erase(std::remove(grids.begin(), grids.end(), this), grids.end());
        if (grids.empty()) {
            // The last grid puts the form's own handler back, unless the form has another now.
            if (FOwnerForm->OnResize.target<FormResizeDispatcher>()) FOwnerForm->OnResize = it->second.Original;
            chains.erase(it);
        }
    }
    FOwnerForm = nullptr;
}

void TVerAdevovEdav::FormResize(TObject* Sender) {
    TComponentState state = ComponentState();
    if (state.Contains(csDesigning) || state.Contains(csDestroying) || !FSizeWithForm) return;
    auto* form = dynamic_cast<TCustomForm*>(Sender);
    if (!form) return;
    int w = Width() + form->Width() - FFormWidth;
    int h = Height() + form->Height() - FFormHeight;
    if (w <= 0 || h <= 0) return;
    SetBounds(Left(), Top(), w, h);
    FFormWidth = form->Width();
    FFormHeight = form->Height();
}

// ---------------------------------------------------------------------------------------------
// Construction

TVerAdevovEdav::TVerAdevovEdav(TComponent* AOwner) : TBaseGrid(AOwner) {
    InitZedUdidUnit();
    TComponentState ownerState = AOwner ? AOwner->ComponentState() : TComponentState();
    FFreshOnDesign = ComponentState().Contains(csDesigning) && !ownerState.Contains(csReading) &&
                     !ownerState.Contains(csLoading);
    SetControlStyle(ControlStyle() << csAcceptsControls);
    for (bool& visible : FVisibleCol) visible = true;
    FFixedRowsMin = TBaseGrid::FixedRows();
    FFixedColsMin = TBaseGrid::FixedCols();
    CreateOwnedObjects();
    SetDefaults();
    ChainFormResize();
    gUnit.HandCursor = crHandPoint;
    RequireAfterConstruction();
}

void TVerAdevovEdav::CreateOwnedObjects() {
    // The objects that are not components, in the order of the owned-objects table (the panels,
    // lists and windows among them are components, made in AfterConstruction).
    FFont = std::make_unique<TFont>();
    FFocusHelper = std::make_unique<TFocusHelper>();
    FSearchFooter = std::make_unique<TSearchFooter>(FFreshOnDesign);
    FSearchFooter->OnChange = [this](TObject*) { SearchFooterChanged(); };
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    FControlLook = std::make_unique<TControlLook>(this);
    FNavigation = std::make_unique<TNavigation>();
    FNavigation->OnChange = [this](TObject* s) { NavigationChanged(s); };
    FColumnSize = std::make_unique<TColumnSize>(this);
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](TObject*) { Invalidate(); };
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>();
    FMouseActions->OnChange = [this](TObject* s) { MouseActionsChanged(s); };
    FMouseActions->OnIsDesigning = [this](TObject* s, bool& d) { IsDesigning(s, d); };
    FMouseActions->OnInvalidate = [this](TObject* s) { MouseActionsInvalidate(s); };
    FGrouping = std::make_unique<TGrouping>();
    FColumnHeaders = std::make_unique<TStringList>();
    FColumnHeaders->OnChange = [this](TStrings*) { ColumnHeadersChange(); };
    FImageCache = std::make_unique<THTMLPictureCache>();
    FOrigColSizes = std::make_unique<TIntList>(-1, -1);
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->SetName(u"Tahoma");
    FFixedFont->SetStyle(TFontStyles() << fsBold);
    FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
    FActiveCellFont = std::make_unique<TFont>();
    if (ComponentState().Contains(csDesigning)) FActiveCellFont->SetName(u"Tahoma");
    FActiveCellFont->SetStyle(TFontStyles() << fsBold);
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    FRowHeaders = std::make_unique<TStringList>();
    FRowHeaders->OnChange = [this](TStrings*) { RowHeadersChange(); };
    FSortlist = std::make_unique<TStringList>();
    FLookupItems = std::make_unique<TStringList>();
    FRowSelect = std::make_unique<TList>();
    FColSelect = std::make_unique<TList>();
    FSortIndexes = std::make_unique<TSortIndexList>(0, 0);
    FSortRowXRef = std::make_unique<TIntList>(0, 0);
    FUnSortRowXRef = std::make_unique<TIntList>(0, 0);
    FMergedColumns = std::make_unique<TIntList>(0, 0);
    // Splitting and merging the listed columns again comes with merging by content.
    FSelectedRows = std::make_unique<TIntList>(0, 0);
    FModifiedRows = std::make_unique<TIntList>(0, 0);
    FEnabledRows = std::make_unique<TIntList>(0, 0);
    FRowIndicator = std::make_unique<TBitmap>();
    FBackGround = std::make_unique<TBackGround>(this);
    FControlList = std::make_unique<TControlList>();
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSyncGrid = std::make_unique<TSyncGrid>(this);
    FGridItems = std::make_unique<TCollection>(&CollectionItemOf<TGridItem>, this);
    FFilter = std::make_unique<TFilter>(this);
    FBalloon = std::make_unique<TBalloonSettings>();
    FBalloon->OnEnableChange = [this](TObject*) {
        if (ComponentState().Contains(csLoading)) return;
        if (FBalloon->Enable())
            BalloonInit();
        else
            BalloonDone();
    };
    FShowModified = std::make_unique<TShowModified>();
    FShowModified->OnChange = [this](TObject*) { RepaintCol(0); };
    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FCellGraphic = std::make_unique<TCellGraphic>();
    FOfficeHint = std::make_unique<TAdvHintInfo>();
    FIgnoreColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    FFilterDropDown->OnChange = [this](TObject*) { Invalidate(); };
    FFilterList = std::make_unique<TStringList>();
    FFilterList->SetSorted(true);
    FFilterList->SetDuplicates(dupIgnore);
}

void TVerAdevovEdav::SetDefaults() {
    // The plain defaults stand in the fields; these depend on the system.
    const auto& answers = ui::sys::Answers();
    DWORD version = answers.MajorVersion * 100 + answers.MinorVersion;
    FIsWinXP = version > 500;
    FIsWin7 = version > 600;
    FIsVista = IsWindowsVistaOrLater();
    FIsComCtl6 = (GetDllFileVersion(u"COMCTL32.DLL") >> 16) > 5;
    FBorderColor = FIsWinXP ? TColor(0xB99D7F) : TColor(0x808080);
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    FHeaderColors[1] = static_cast<TColor>(ColorToRGB(clBtnFace));
    FRememberedLeftCol = LeftCol();
    FRememberedTopRow = TopRow();
}

void TVerAdevovEdav::AfterConstruction() {
    TBaseGrid::AfterConstruction();
    CreateOwnedComponents();
    // The counts and sizes go through their writers, which a descendant may follow.
    SetRowCount(10);
    SetBounds(Left(), Top(), 400, 250);
    SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    if (!ComponentState().Contains(csDesigning)) CreateRunTimeEditors();
}

void TVerAdevovEdav::CreateOwnedComponents() {
    FFooterPanel = NewComponent<TFooterPanel>(this);
    FFooterPanel->SetGrid(this);
    FSearchPanel = NewComponent<TSearchPanel>(this);
    FSearchPanel->OnEditChange = [this](TObject*) { DoSearchFooterAction(String(), Col(), Row(), saFindNext); };
    FSearchPanel->OnBackwardClick = [this](TObject*) { DoSearchFooterAction(String(), Col(), Row(), saFindPrevious); };
    FSearchPanel->OnForwardClick = [this](TObject*) { DoSearchFooterAction(String(), Col(), Row(), saFindNext); };
    FSearchPanel->OnExitClick = [this](TObject*) { FSearchFooter->SetVisible(false); };
    FSearchPanel->OnHighlightClick = [this](TObject*) { Invalidate(); };
    FScrollHintWnd = NewComponent<THTMLHintWindow>(this);
    FDropList = NewComponent<TDropList>(this);
    FDropList->SetBounds(0, 0, 0, 0);
    FDropList->SetVisible(false);
    FDropList->OnSelect = [this](TObject* s, int) { FilterListSelect(s); };
    FDropCheckList = NewComponent<TDropCheckList>(this);
    FDropCheckList->SetBounds(0, 0, 0, 0);
    FDropCheckList->SetVisible(false);
    FDropCheckList->OnSelect = [this](TObject* s, int) { FilterCheckListSelect(s); };
    // Children once the grid can hold them (the window may come later).
    FDropList->SetParent(this);
    FDropCheckList->SetParent(this);
}

void TVerAdevovEdav::CreateRunTimeEditors() {
    auto hiddenChild = [this](TControl* c, bool disabled) {
        c->SetVisible(false);
        if (disabled) c->SetEnabled(false);
        c->SetParent(this);
    };
    FFocusWindow = NewComponent<TGridFocusWindow>(this);
    hiddenChild(FFocusWindow, false);
    for (TArrowDirection d : {arrUp, arrDown, arrLeft, arrRight}) {
        FArrows[d] = NewComponent<TArrowWindow>(this, d);
        hiddenChild(FArrows[d], false);
    }
    FEditCombo = NewComponent<TGridCombo>(this);
    FEditCombo->SetGrid(this);
    FEditCombo->SetIsWinXP(FIsWinXP);
    FEditCombo->SetIsVistaCC6(FIsVista && FIsComCtl6);
    hiddenChild(FEditCombo, true);
    FStyle = tsWindowsXP;
    FEditTrans = NewComponent<TGridTransEdit>(this);
    FEditTrans->SetGrid(this);
    FEditTrans->SetBorderStyle(bsNone);
    hiddenChild(FEditTrans, false);
    FComboTrans = NewComponent<TGridTransCombo>(this);
    FComboTrans->SetGrid(this);
    hiddenChild(FComboTrans, false);
    FEditCheck = NewComponent<TGridCheckBox>(this);
    FEditCheck->SetGrid(this);
    hiddenChild(FEditCheck, true);
    FEditBtn = NewComponent<TGridEditBtn>(this);
    FEditBtn->SetGrid(this);
    FEditBtn->SetButtonCaption(u"...");
    FEditBtn->SetBorderStyle(bsNone);
    FEditBtn->SetIsWinXP(FIsWinXP);
    hiddenChild(FEditBtn, true);
    FUnitEditBtn = NewComponent<TGridUnitEditBtn>(this);
    FUnitEditBtn->SetGrid(this);
    FUnitEditBtn->SetButtonCaption(u"...");
    FUnitEditBtn->SetBorderStyle(bsNone);
    FUnitEditBtn->OnUnitChanged = [this](TObject*, const String& NewUnit) {
        if (OnUnitChanged) OnUnitChanged(this, Col(), Row(), NewUnit);
    };
    hiddenChild(FUnitEditBtn, true);
    FGridButton = NewComponent<TGridButton>(this);
    FGridButton->SetGrid(this);
    hiddenChild(FGridButton, true);
    FHeaderDragButton = NewComponent<THeaderDragButton>(this);
    FHeaderDragButton->SetGrid(this);
    hiddenChild(FHeaderDragButton, true);
    FEditControl = NewComponent<TControlEdit>(this);
    hiddenChild(FEditControl, false);
    FComboControl = NewComponent<TControlCombo>(this);
    hiddenChild(FComboControl, false);
    for (TScrollBar** bar : {&FCellScrollBar, &FCellScrollBarTwin}) {
        *bar = NewComponent<TScrollBar>(this);
        (*bar)->SetKind(sbVertical);
        hiddenChild(*bar, false);
    }
}

// ---------------------------------------------------------------------------------------------
// Window creation, loading, resizing

void TVerAdevovEdav::CreateWnd() {
    if (ComponentState().Contains(csDestroying)) return;
    TBaseGrid::CreateWnd();
    if (!Parent()) return;
    bool designing = ComponentState().Contains(csDesigning);
    bool loading = ComponentState().Contains(csLoading);
    if (!designing) {
        if (FScrollType == ssMetro) {
            if (!FVScrollControl) FVScrollControl = NewComponent<TScrollControl>(this);
            if (!FHScrollControl) {
                FHScrollControl = NewComponent<TScrollControl>(this);
                FHScrollControl->SetDirection(sdHorizontal);
            }
        }
        for (TScrollBar* bar : {FCellScrollBar, FCellScrollBarTwin}) {
            if (!bar) continue;
            bar->SetVisible(false);
            bar->SetParent(this);
            bar->SetTabStop(false);
            bar->SetKind(sbVertical);
            bar->SetCtl3D(false);
        }
        if (FBalloon->Enable()) BalloonInit();
    }
    FFooterPanel->SetParent(this);
    FFooterPanel->SetVisible(FFloatingFooter->Visible);
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
    SetReservedBottom(FSearchPanel->Height());
    if (FColumnSize->Save) LoadColSizes();
    FGridTimerID = SetTimer(Handle(), 111, 500, nullptr);
    if (designing && !FLoaded && !loading) Font()->SetName(u"Tahoma");
    if (FIsWinXP) FIsWinXP = IsThemeActive() != 0;
    // The legacy wheel window of the oldest systems is never there: the lines come from the
    // system parameter.
    FWheelMsg = 0;
    FWheelScrollLines = 0;
    FWheelPan = false;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    FWheelScrollLines = lines == WHEEL_PAGESCROLL ? VisibleRowCount() : static_cast<int>(lines);
    FWheelMsg = WM_MOUSEWHEEL;
}

void TVerAdevovEdav::Loaded() {
    TBaseGrid::Loaded();
    FLoadCursor = Cursor();
    ColumnHeadersChange();
    RowHeadersChange();
    if (FLook == glQRB) {
        FLook = glCustom;
        SetLook(glQRB);
    }
    if (FColumnSize->Save) LoadColSizes();
    FFixedRowsMin = TBaseGrid::FixedRows();
    FFixedColsMin = TBaseGrid::FixedCols();
    FMinRowHeight = DefaultRowHeight();
    FMinColWidth = 10;
    FMaxRowCount = RowCount();
    FLoaded = true;
    TGridOptions options = Options();
    if (options.Contains(goAlwaysShowEditor)) {
        FNavigation->SetAlwaysEdit(true);
        SetOptions(options >> goAlwaysShowEditor);
    }
    bool designing = ComponentState().Contains(csDesigning);
    if (!FIsWinXP && !designing && FControlLook->ControlStyle() == TControlLook::csTheme)
        FControlLook->SetControlStyle(TControlLook::csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    SearchFooterChanged();
    UpdateAlwaysScrollBars(false);
    if (FAutoThemeAdapt && !designing && !IsLibrary()) {
        AdaptToOfficeTheme();
        ObtainThemeNotifier(this)->RegisterWindow(Handle());
    }
    InitOrigColSizes();
    if (FBalloon->Enable()) BalloonInit();
}

void TVerAdevovEdav::Resize() {
    TBaseGrid::Resize();
    if (ComponentState().Contains(csDestroying)) return;
    if (OnGridResize) OnGridResize(this);
    if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateAlwaysScrollBars(false);
    CellControlsUpdate(false);
    if (ComponentState().Contains(csDesigning)) Invalidate();
}

void TVerAdevovEdav::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        int b = BorderStyle() == bsSingle ? 2 : 0;
        bool colsFit = VisibleColCount() + TBaseGrid::FixedCols() >= ColCount();
        int s = colsFit ? 0 : GetSystemMetrics(SM_CYHSCROLL);
        AHeight = AHeight + b - ((AHeight - s - b) % DefaultRowHeight());
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Parent() && Parent()->HandleAllocated()) DrawWindowBorder();
}

void TVerAdevovEdav::Invalidate() {
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!ComponentState().Contains(csLoading) && FFloatingFooter && FFloatingFooter->Visible && FFooterPanel)
        FFooterPanel->Invalidate();
}

bool TVerAdevovEdav::ScrollBarWanted(bool horz) const {
    if (TBaseGrid::ScrollBarWanted(horz)) return true;
    return FScrollBarAlways == saBoth || FScrollBarAlways == (horz ? saHorz : saVert);
}

void TVerAdevovEdav::UpdateAlwaysScrollBars(bool Force) {
    if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
    bool rowsFit = VisibleRowCount() + TBaseGrid::FixedRows() >= RowCount();
    bool colsFit = VisibleColCount() + TBaseGrid::FixedCols() >= ColCount();
    HWND h = Handle();
    if (FScrollBarAlways != saNone) {
        bool vert = FScrollBarAlways == saVert || FScrollBarAlways == saBoth;
        bool horz = FScrollBarAlways == saHorz || FScrollBarAlways == saBoth;
        if (rowsFit) ShowScrollBar(h, SB_VERT, vert);
        if (colsFit) ShowScrollBar(h, SB_HORZ, horz);
        EnableScrollBar(h, SB_VERT, rowsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
        EnableScrollBar(h, SB_HORZ, colsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    } else if (Force) {
        if (rowsFit) ShowScrollBar(h, SB_VERT, false);
        if (colsFit) ShowScrollBar(h, SB_HORZ, false);
    }
}

void TVerAdevovEdav::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    DrawWindowBorder();
}

void TVerAdevovEdav::SetFixedFont(const TFont* Value) {
    FFixedFont->Assign(Value);
    Invalidate();
}

TCustomForm* TVerAdevovEdav::FindParentForm(TControl* AControl) {
    for (TControl* c = AControl; c; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

void TVerAdevovEdav::InitOrigColSizes() {
    FOrigColSizes->Clear();
    for (int c = 0; c < ColCount(); ++c) FOrigColSizes->Add(ColWidths(c));
    FOrigWidth = Width();
}

void TVerAdevovEdav::SearchFooterChanged() {
    if (!FSearchPanel) return;
    FSearchPanel->FindNextCaption = FSearchFooter->FindNextCaption();
    FSearchPanel->FindPrevCaption = FSearchFooter->FindPrevCaption();
    FSearchPanel->MatchCaseCaption = FSearchFooter->MatchCaseCaption();
    FSearchPanel->HighLightCaption = FSearchFooter->HighLightCaption();
    FSearchPanel->HintFindNext = FSearchFooter->HintFindNext();
    FSearchPanel->HintFindPrev = FSearchFooter->HintFindPrev();
    FSearchPanel->HintHighlight = FSearchFooter->HintHighlight();
    FSearchPanel->HintClose = FSearchFooter->HintClose();
    FSearchPanel->SetColor(FSearchFooter->Color());
    FSearchPanel->SetColorTo(FSearchFooter->ColorTo());
    if (FSearchPanel->Parent()) {
        FSearchPanel->SetVisible(FSearchFooter->Visible());
        FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
        SetReservedBottom(FSearchPanel->Height());
    }
}

void TVerAdevovEdav::ColumnHeadersChange() {
    ColumnHeadersChanged();
    for (int i = 0; i < FColumnHeaders->Count() && i < TotalColCount(); ++i) SetCellEx(i, 0, (*FColumnHeaders)[i]);
}

void TVerAdevovEdav::RowHeadersChange() {
    for (int i = 0; i < FRowHeaders->Count() && i < RowCount(); ++i) SetCellEx(0, i, (*FRowHeaders)[i]);
}

// ---------------------------------------------------------------------------------------------
// Copying a grid

void TVerAdevovEdav::Assign(const TPersistent* Source) {
    auto* src = dynamic_cast<const TVerAdevovEdav*>(Source);
    if (!src) return;
    auto* s = const_cast<TVerAdevovEdav*>(src);
    Font()->Assign(s->Font());
    FActiveCellColor = s->FActiveCellColor;
    FActiveCellColorTo = s->FActiveCellColorTo;
    FActiveCellFont->Assign(s->FActiveCellFont.get());
    FActiveCellShow = s->FActiveCellShow;
    SetActiveRowShow(s->FActiveRowShow);
    SetAlign(s->Align());
    FFilterDropDown->Assign(s->FFilterDropDown.get());
    FAnchorHint = s->FAnchorHint;
    FAutoNumAlign = s->FAutoNumAlign;
    FAutoSize = s->FAutoSize;
    FAutoThemeAdapt = s->FAutoThemeAdapt;
    FAutoFilterUpdate = s->FAutoFilterUpdate;
    FMouseActions->Assign(s->FMouseActions.get());
    FNavigation->Assign(s->FNavigation.get());
    FGrouping->Assign(s->FGrouping.get());
    FSearchFooter->Assign(s->FSearchFooter.get());
    FPrintSettings->Assign(s->FPrintSettings.get());
    FFilter->Assign(s->FFilter.get());
    FHTMLSettings->Assign(s->FHTMLSettings.get());
    FBands->Assign(s->FBands.get());
    FCellNode->Assign(s->FCellNode.get());
    FSortSettings->Assign(s->FSortSettings.get());
    FDragScrollOptions->Assign(s->FDragScrollOptions.get());
    FDragDropSettings->Assign(s->FDragDropSettings.get());
    FProgressAppearance->Assign(s->FProgressAppearance.get());
    FColumnSize->Assign(s->FColumnSize.get());
    FSyncGrid->Assign(s->FSyncGrid.get());
    FFocusHelper->Assign(s->FFocusHelper.get());
    FOfficeHint->Assign(s->FOfficeHint.get());
    FFixedRowAlways = s->FFixedRowAlways;
    SetColCount(s->ColCount());
    SetRowCount(s->RowCount());
    SetFixedRows(s->TBaseGrid::FixedRows());
    SetFixedCols(s->TBaseGrid::FixedCols());
    SetDefaultColWidth(s->DefaultColWidth());
    SetDefaultRowHeight(s->DefaultRowHeight());
    SetFixedRowHeight(s->FixedRowHeight());
    SetFixedColWidth(s->FixedColWidth());
    FInvalidEntryTitle = s->FInvalidEntryTitle;
    FInvalidEntryIcon = s->FInvalidEntryIcon;
    FInvalidEntryText = s->FInvalidEntryText;
    SetOptions(s->Options());
    for (int c = 0; c < ColCount(); ++c) SetColWidths(c, s->ColWidths(c));
    FColumnHeaders->Assign(s->FColumnHeaders.get());
    // Heights differing from the default only: a grid of a million rows has few of them.
    for (int r = 0; r < RowCount(); ++r)
        if (s->RowHeights(r) != RowHeights(r)) SetRowHeights(r, s->RowHeights(r));
    FScrollProportional = s->FScrollProportional;
    FScrollSynch = s->FScrollSynch;
    FScrollWidth = s->FScrollWidth;
    FScrollHints = s->FScrollHints;
    FScrollBarAlways = s->FScrollBarAlways;
    SetScrollBars(s->ScrollBars());
    SetScrollColor(s->FScrollColor);
    SetScrollType(s->FScrollType);
    SetScrollWidth(s->FScrollWidth);
    AssignCells(Source);
}

void TVerAdevovEdav::AssignCells(const TPersistent* Source) {
    auto* src = dynamic_cast<const TVerAdevovEdav*>(Source);
    if (!src) return;
    TMemoryStream stream;
    const_cast<TVerAdevovEdav*>(src)->SaveToStream(&stream);
    stream.SetPosition(0);
    LoadFromStream(&stream);
}

// ---------------------------------------------------------------------------------------------
// Destruction

TVerAdevovEdav::~TVerAdevovEdav() {
    Destroying();
    bool designing = ComponentState().Contains(csDesigning);
    if (FVScrollControl) FVScrollControl->Free();
    if (FHScrollControl) FHScrollControl->Free();
    FVScrollControl = FHScrollControl = nullptr;
    if (!designing) {
        BalloonDone();
        UnchainFormResize();
    }
    if (gFocusFrameGrid == this) gFocusFrameGrid = nullptr;
    if (FColumnSize->Save) SaveColSizes();
    FClearTextOnly = false;
    FSaveHiddenCells = false;
    // Every cell's properties and graphics: hidden rows keep theirs with their items, and the
    // store holds them wherever a count ever reached, beyond the current counts too.
    FGridItems->Clear();
    if (FHasCellProps) {
        FreeAllCellProperties();
        FHasCellProps = false;  // the base grid's end has nothing left to walk
    }
    DestroyOwnedObjects();
}

void TVerAdevovEdav::DestroyOwnedObjects() {
    bool runTime = !ComponentState().Contains(csDesigning);
    auto free = [](auto*& component) {
        if (component) component->Free();
        component = nullptr;
    };
    FFont.reset();
    FFocusHelper.reset();
    FIgnoreColumns.reset();
    FProgressAppearance.reset();
    FFloatingFooter.reset();
    FCellGraphic.reset();
    FControlList.reset();
    FSortRowXRef.reset();
    FUnSortRowXRef.reset();
    FMergedColumns.reset();
    FSelectedCells.clear();
    FISelect = nullptr;
    FSelectedRows.reset();
    FModifiedRows.reset();
    FEnabledRows.reset();
    FNotifierList.clear();
    FPrintSettings.reset();
    FHTMLSettings.reset();
    FSortSettings.reset();
    FDragDropSettings.reset();
    FDragScrollOptions.reset();
    FControlLook.reset();
    FNavigation.reset();
    FColumnSize.reset();
    FColumnOrder.reset();
    FCellNode.reset();
    FBands.reset();
    FSizeWhileTyping.reset();
    FImageCache.reset();
    FMouseActions.reset();
    FColumnHeaders.reset();
    FGrouping.reset();
    FFixedFont.reset();
    FActiveCellFont.reset();
    FRowHeaders.reset();
    FLookupItems.reset();
    FRowSelect.reset();
    FColSelect.reset();
    FSortIndexes.reset();
    FRowIndicator.reset();
    FBackGround.reset();
    free(FFooterPanel);
    free(FSearchPanel);
    FSearchFooter.reset();
    FBalloon.reset();
    FShowModified.reset();
    FOrigColSizes.reset();
    FFilterDropDown.reset();
    free(FDropList);
    free(FDropCheckList);
    FFilterList.reset();
    FSyncGrid.reset();
    if (runTime)
        for (auto*& arrow : FArrows) free(arrow);
    FSortlist.reset();
    FOfficeHint.reset();
    FGridItems.reset();
    FFilter.reset();
    SetCursor(FLoadCursor);
    if (runTime) {
        free(FFocusWindow);
        free(FEditCombo);
        free(FEditTrans);
        free(FComboTrans);
        free(FEditCheck);
        free(FEditBtn);
        free(FUnitEditBtn);
        free(FGridButton);
        free(FHeaderDragButton);
        free(FEditControl);
        free(FComboControl);
        free(FCellScrollBar);
        free(FCellScrollBarTwin);
    }
}
