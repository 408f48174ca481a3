// Keys, mouse and wheel of the grid. Where the components leave the grid's own input open, it
// does what the platform's grid is known to do: arrows move the current cell (with Shift and
// goRangeSelect the selection's moving end), a press selects and a drag extends, presses on the
// lines of the fixed cells size, presses on fixed cells move columns and rows.
#include <algorithm>

#include "platform/ui/Grids.h"
#include "platform/win/Window.h"

namespace {

constexpr int kWheelDelta = 120;
constexpr UINT_PTR kGestureTimer = 1;
constexpr UINT kGestureInterval = 60;
constexpr int kSizingSlack = 3;  // pixels either side of a line that grab it

}  // namespace

// ---------------------------------------------------------------------------------------------
// Keys

void TCustomGrid::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTARROWS;
    if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    bool ctrl = Shift.Contains(ssCtrl);
    bool shifted = Shift.Contains(ssShift);
    bool rowSelect = FOptions.Contains(goRowSelect);
    bool extend = shifted && FOptions.Contains(goRangeSelect);
    switch (Key) {
        case VK_TAB: {
            if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt)) return;
            // The next (previous) cell, wrapping into the next (previous) row and round the grid.
            TGridCoord t = FCurrent;
            if (rowSelect) {
                t.Y += shifted ? -1 : 1;
                if (t.Y < FFixedRows) t.Y = FRowCount - 1;
                if (t.Y >= FRowCount) t.Y = FFixedRows;
            } else if (shifted) {
                if (--t.X < FFixedCols) {
                    t.X = FColCount - 1;
                    if (--t.Y < FFixedRows) t.Y = FRowCount - 1;
                }
            } else if (++t.X >= FColCount) {
                t.X = FFixedCols;
                if (++t.Y >= FRowCount) t.Y = FFixedRows;
            }
            if (t != FCurrent) FocusCell(t.X, t.Y, true);
            return;
        }
        case VK_F2:
            if (FOptions.Contains(goEditing)) SetEditorMode(!FEditorMode);
            return;
        case VK_ESCAPE:
            // Esc puts back the text the editor started with.
            if (FEditorMode && FInplaceEdit && FInplaceEdit->Visible()) {
                FInplaceEdit->SetText(FInplaceEdit->StartText());
                if (FOptions.Contains(goAlwaysShowEditor))
                    FInplaceEdit->SelectAll();
                else
                    HideEditor();
            }
            return;
        case VK_LEFT:
        case VK_RIGHT:
            if (rowSelect) {
                // The whole row is selected: left and right scroll the view instead.
                SetLeftCol(FTopLeft.X + (Key == VK_LEFT ? -1 : 1));
                return;
            }
            break;
        default: break;
    }
    TGridCoord from = extend ? FAnchor : FCurrent;
    TGridCoord target = from;
    int page = 0;
    switch (Key) {
        case VK_UP: --target.Y; break;
        case VK_DOWN: ++target.Y; break;
        case VK_LEFT: --target.X; break;
        case VK_RIGHT: ++target.X; break;
        case VK_PRIOR: page = -std::max(1, VisibleRowCount()); break;
        case VK_NEXT: page = std::max(1, VisibleRowCount()); break;
        case VK_HOME:
            if (ctrl)
                target = {FFixedCols, FFixedRows};
            else if (rowSelect)
                target.Y = FFixedRows;
            else
                target.X = FFixedCols;
            break;
        case VK_END:
            if (ctrl)
                target = {FColCount - 1, FRowCount - 1};
            else if (rowSelect)
                target.Y = FRowCount - 1;
            else
                target.X = FColCount - 1;
            break;
        default: return;
    }
    target.Y += page;
    target.X = std::clamp(target.X, FFixedCols, FColCount - 1);
    target.Y = std::clamp(target.Y, FFixedRows, FRowCount - 1);
    if (rowSelect) target.X = from.X;
    if (target == from) return;
    if (extend) {
        MoveAnchor(target);
        return;
    }
    // A refused move changes nothing, the view included.
    if (!MoveCurrent(target.X, target.Y, true, page == 0)) return;
    if (page != 0) {
        // A page moves the view with the current cell.
        int top = std::clamp(FTopLeft.Y + page, FFixedRows, std::max(FFixedRows, MaxFirst(false)));
        MoveTopLeft(FTopLeft.X, top);
        ClampInView(FCurrent);
    }
    UpdateEdit();
    Click();
}

void TCustomGrid::KeyPress(char16_t& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == u'\r' && FOptions.Contains(goEditing) && !FOptions.Contains(goAlwaysShowEditor)) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = 0;
    }
}

void TCustomGrid::KeyUp(WORD& Key, TShiftState Shift) { TCustomControl::KeyUp(Key, Shift); }

// A character typed into an editable grid opens the editor holding it.
void TCustomGrid::WMChar(TMessage& Message) {
    auto ch = static_cast<char16_t>(Message.WParam);
    if (FOptions.Contains(goEditing) && (ch == u'\b' || ch >= 0x20)) {
        ShowEditorChar(ch);
        if (FInplaceEdit && FInplaceEdit->Visible()) return;
    }
    TCustomControl::WMChar(Message);
}

// ---------------------------------------------------------------------------------------------
// Wheel

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    FWheelAccumulator += WheelDelta;
    while (std::abs(FWheelAccumulator) >= kWheelDelta) {
        bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? kWheelDelta : -kWheelDelta;
        if (down)
            DoMouseWheelDown(Shift, MousePos);
        else
            DoMouseWheelUp(Shift, MousePos);
    }
    return true;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState, const TPoint&) {
    if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState, const TPoint&) {
    if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) {
    State = gsNormal;
    Index = -1;
    bool cols = FOptions.Contains(goColSizing), rows = FOptions.Contains(goRowSizing);
    if (!cols && !rows) return;
    const Layout& l = CurrentLayout();
    auto scan = [&](const Axis& a, int pos, TGridState state) {
        for (int c = a.FirstCell; c <= a.LastVisibleCell; ++c) {
            if (CellSize(a.Horz, c) < 0) continue;
            int line = a.StartOf(c) + CellSize(a.Horz, c);
            if (pos >= line - kSizingSlack && pos < line + std::max(1, a.LineWidth) + kSizingSlack) {
                State = state;
                Index = c;
                SizingPos = line;
                SizingOfs = line - pos;
                return;
            }
        }
    };
    if (cols && X >= l.Horz.FixedBoundary && Y >= 0 && Y < l.Vert.FixedBoundary)
        scan(l.Horz, X, gsColSizing);
    else if (rows && Y >= l.Vert.FixedBoundary && X >= 0 && X < l.Horz.FixedBoundary)
        scan(l.Vert, Y, gsRowSizing);
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!ComponentState().Contains(csDesigning) && CanFocus()) {
        SetFocus();
        if (!IsActiveControl()) {
            // The focus was refused (an OnExit elsewhere kept it): no gesture starts.
            SetMouseCapture(false);
            return;
        }
    }
    FLastMouse = Point(X, Y);
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        DblClick();
    } else if (Button == mbLeft) {
        TGridState sizing = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, sizing, index, pos, ofs);
        if (sizing != gsNormal) {
            FGridState = sizing;
            FSizingIndex = index;
            FSizingPos = pos;
            FSizingOfs = ofs;
            InvalidateGuide();
        } else {
            TGridCoord hit = MouseCoord(X, Y);
            if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
                if (FOptions.Contains(goEditing)) {
                    // A press on the current cell of an editable grid edits it.
                    if (hit == FCurrent && !FOptions.Contains(goRowSelect))
                        ShowEditor();
                    else {
                        MoveCurrent(hit.X, hit.Y, true, true);
                        UpdateEdit();
                    }
                    Click();
                } else {
                    FGridState = gsSelecting;
                    StartGestureTimer();
                    if (Shift.Contains(ssShift))
                        MoveAnchor(hit);
                    else
                        MoveCurrent(hit.X, hit.Y, true, true);
                }
            } else if (FOptions.Contains(goRowMoving) && hit.X >= 0 && hit.X < FFixedCols && hit.Y >= FFixedRows) {
                FMoveIndex = FMovePos = hit.Y;
                FGridState = gsRowMoving;
                StartGestureTimer();
                InvalidateGuide();
            } else if (FOptions.Contains(goColMoving) && hit.Y >= 0 && hit.Y < FFixedRows && hit.X >= FFixedCols) {
                FMoveIndex = FMovePos = hit.X;
                FGridState = gsColMoving;
                StartGestureTimer();
                InvalidateGuide();
            }
        }
    }
    try {
        TCustomControl::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FGridState = gsNormal;
        StopGestureTimer();
        throw;
    }
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    FLastMouse = Point(X, Y);
    switch (FGridState) {
        case gsSelecting: {
            TGridCoord hit = MouseCoord(X, Y);
            if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
                bool range = FOptions.Contains(goRangeSelect) && !FOptions.Contains(goEditing);
                if (range ? hit != FAnchor : hit != FCurrent) MoveAnchor(hit);
            }
            break;
        }
        case gsColSizing:
        case gsRowSizing: {
            const Axis& a = FGridState == gsColSizing ? CurrentLayout().Horz : CurrentLayout().Vert;
            int start = a.StartOf(FSizingIndex);
            int pos = std::max(start, (FGridState == gsColSizing ? X : Y) + FSizingOfs);
            if (pos != FSizingPos) {
                InvalidateGuide();
                FSizingPos = pos;
                InvalidateGuide();
            }
            break;
        }
        case gsColMoving:
        case gsRowMoving: {
            TGridCoord hit = MouseCoord(X, Y);
            int cell = FGridState == gsColMoving ? hit.X : hit.Y;
            int fixed = FGridState == gsColMoving ? FFixedCols : FFixedRows;
            if (cell >= fixed && cell != FMovePos) {
                InvalidateGuide();
                FMovePos = cell;
                InvalidateGuide();
            }
            break;
        }
        default: UpdateSizingCursor(X, Y); break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FLastMouse = Point(X, Y);
    TGridState state = FGridState;
    if (Button == mbLeft && state != gsNormal) {
        StopGestureTimer();
        switch (state) {
            case gsSelecting:
                MouseMove(Shift, X, Y);
                FGridState = gsNormal;
                UpdateEdit();
                Click();
                break;
            case gsColSizing:
            case gsRowSizing: {
                InvalidateGuide();
                FGridState = gsNormal;
                bool horz = state == gsColSizing;
                const Axis& a = horz ? CurrentLayout().Horz : CurrentLayout().Vert;
                int size = std::max(0, FSizingPos - a.StartOf(FSizingIndex));
                if (horz)
                    SetColWidths(FSizingIndex, size);
                else
                    SetRowHeights(FSizingIndex, size);
                break;
            }
            case gsColMoving:
            case gsRowMoving:
                InvalidateGuide();
                FGridState = gsNormal;
                if (FMovePos != FMoveIndex) {
                    if (state == gsColMoving)
                        MoveColumn(FMoveIndex, FMovePos);
                    else
                        MoveRow(FMoveIndex, FMovePos);
                }
                break;
            default: FGridState = gsNormal; break;
        }
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// Over a line that a press would size, the cursor says so; elsewhere it is the grid's own.
void TCustomGrid::UpdateSizingCursor(int X, int Y) {
    TGridState state = gsNormal;
    int index = -1, pos = 0, ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs);
    if (state != gsNormal) {
        if (!FSizingCursor) FSavedCursor = Cursor();
        FSizingCursor = true;
        SetCursor(state == gsColSizing ? crHSplit : crVSplit);
    } else if (FSizingCursor) {
        FSizingCursor = false;
        SetCursor(FSavedCursor);
    }
}

// ---------------------------------------------------------------------------------------------
// The gesture timer: while the button is held outside the cells, the view scrolls that way

void TCustomGrid::StartGestureTimer() {
    if (!HandleAllocated()) return;
    FTimerOn = SetTimer(Handle(), kGestureTimer, kGestureInterval, nullptr) != 0;
}

void TCustomGrid::StopGestureTimer() {
    if (FTimerOn && HandleAllocated()) KillTimer(Handle(), kGestureTimer);
    FTimerOn = false;
}

void TCustomGrid::WMTimer(TMessage& Message) {
    if (Message.WParam != kGestureTimer) return;
    if (FGridState != gsSelecting && FGridState != gsColMoving && FGridState != gsRowMoving) {
        StopGestureTimer();
        return;
    }
    GestureStep();
}

void TCustomGrid::GestureStep() {
    const Layout& l = CurrentLayout();
    TRect client = ClientRect();
    int X = FLastMouse.X, Y = FLastMouse.Y;
    int dx = 0, dy = 0;
    if (FGridState != gsRowMoving) {
        if (X < l.Horz.FixedBoundary && FTopLeft.X > FFixedCols) dx = -1;
        else if (X >= client.Right && FTopLeft.X < MaxFirst(true)) dx = 1;
    }
    if (FGridState != gsColMoving) {
        if (Y < l.Vert.FixedBoundary && FTopLeft.Y > FFixedRows) dy = -1;
        else if (Y >= client.Bottom && FTopLeft.Y < MaxFirst(false)) dy = 1;
    }
    if (dx == 0 && dy == 0) return;
    if (FGridState != gsSelecting) InvalidateGuide();
    MoveTopLeft(FTopLeft.X + dx, FTopLeft.Y + dy);
    const Layout& now = CurrentLayout();
    // The selection (or the drop place) follows to the cell at the edge that came into view.
    auto edge = [&](int d, const Axis& a, int keep) {
        if (d < 0) return a.FirstCell;
        if (d > 0) return std::max(a.FirstCell, a.LastFullVisibleCell);
        return keep;
    };
    switch (FGridState) {
        case gsSelecting: {
            bool range = FOptions.Contains(goRangeSelect) && !FOptions.Contains(goEditing);
            TGridCoord from = range ? FAnchor : FCurrent;
            TGridCoord target{edge(dx, now.Horz, from.X), edge(dy, now.Vert, from.Y)};
            if (target != from) MoveAnchor(target);
            break;
        }
        case gsColMoving: FMovePos = edge(dx, now.Horz, FMovePos); break;
        case gsRowMoving: FMovePos = edge(dy, now.Vert, FMovePos); break;
        default: break;
    }
    if (FGridState != gsSelecting) InvalidateGuide();
}
