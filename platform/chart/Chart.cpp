// The chart control: axes, layout, events, zoom and panning. Drawing is in ChartDraw.cpp, the
// outputs in ChartExport.cpp.
#include "platform/chart/Chart.h"

#include <algorithm>
#include <cmath>

#include "platform/chart/Series.h"
#include "platform/ui/DrawnCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

namespace {

// Look and gesture constants of our own choosing: a drag shorter than this is a click, and the
// mouse zoom moves to its range in this many steps, one per timer tick.
constexpr int kDragThreshold = 2;
constexpr int kZoomSteps = 5;
constexpr UINT kZoomStepMs = 20;

}  // namespace

// ---------------------------------------------------------------------------------------------

void TChartGradient::SetStartColor(TColor value) {
    if (value == FStartColor) return;
    FStartColor = value;
    Changed();
}

void TChartGradient::SetEndColor(TColor value) {
    if (value == FEndColor) return;
    FEndColor = value;
    Changed();
}

void TChartPen::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    Changed();
}

void TChartPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

// ---------------------------------------------------------------------------------------------
// TChartAxis

namespace {

void CheckFinite(double value) {
    if (!std::isfinite(value)) throw EChartException(String("An axis value must be a finite number"));
}

}  // namespace

void TChartAxis::SetMinimum(double value) {
    CheckFinite(value);
    if (value > FMaximum) throw EChartException(String("The axis minimum cannot be above its maximum"));
    if (value == FMinimum) return;
    FMinimum = value;
    Changed(true);
}

void TChartAxis::SetMaximum(double value) {
    CheckFinite(value);
    if (value < FMinimum) throw EChartException(String("The axis maximum cannot be below its minimum"));
    if (value == FMaximum) return;
    FMaximum = value;
    Changed(true);
}

void TChartAxis::SetMinMax(double AMinimum, double AMaximum) {
    CheckFinite(AMinimum);
    CheckFinite(AMaximum);
    if (AMinimum > AMaximum) throw EChartException(String("The axis minimum cannot be above its maximum"));
    if (AMinimum == FMinimum && AMaximum == FMaximum) return;
    FMinimum = AMinimum;
    FMaximum = AMaximum;
    Changed(true);
}

void TChartAxis::SetIncrement(double value) {
    if (!(value >= 0) || value == FIncrement) return;
    FIncrement = value;
    Changed(false);
}

void TChartAxis::SetMinorTickCount(int value) {
    value = std::clamp(value, 0, 100);
    if (value == FMinorTickCount) return;
    FMinorTickCount = value;
    Changed(false);
}

void TChartAxis::SetTitle(const String& value) {
    if (value == FTitle) return;
    FTitle = value;
    Changed(false);
}

void TChartAxis::SetGridCentered(bool value) {
    if (value == FGridCentered) return;
    FGridCentered = value;
    Changed(false);
}

void TChartAxis::Changed(bool byProgram) {
    // A range the program sets ends the zoom of this axis: an undo must not bring back a range
    // from before the program's own change (a new model, a new sample count).
    if (byProgram) {
        FSaved = false;
        FChart->AxisSetByProgram(this);
    }
    FChart->Invalidate();
}

void TChartAxis::ZoomTo(double AMinimum, double AMaximum) {
    if (AMinimum > AMaximum) std::swap(AMinimum, AMaximum);
    if (!std::isfinite(AMinimum) || !std::isfinite(AMaximum)) return;
    FMinimum = AMinimum;
    FMaximum = AMaximum;
    Changed(false);
}

void TChartAxis::SaveRange() {
    if (FSaved) return;
    FSaved = true;
    FSavedMinimum = FMinimum;
    FSavedMaximum = FMaximum;
}

bool TChartAxis::RestoreRange() {
    if (!FSaved) return false;
    FSaved = false;
    FMinimum = FSavedMinimum;
    FMaximum = FSavedMaximum;
    Changed(false);
    return true;
}

int TChartAxis::PosIn(const TChartLayout& layout, double Value) const {
    int start = FHorizontal ? layout.Plot.Left : layout.Plot.Bottom;
    int end = FHorizontal ? layout.Plot.Right : layout.Plot.Top;
    double range = FMaximum - FMinimum;
    if (!(range > 0)) return start;
    double offset = (Value - FMinimum) * (end - start) / range;
    if (!std::isfinite(offset)) return start;
    // Far-off values still land far off the plot, without overflowing an int.
    offset = std::clamp(offset, -1.0e7, 1.0e7);
    return start + static_cast<int>(std::nearbyint(offset));
}

double TChartAxis::PointIn(const TChartLayout& layout, int Pixel) const {
    int start = FHorizontal ? layout.Plot.Left : layout.Plot.Bottom;
    int end = FHorizontal ? layout.Plot.Right : layout.Plot.Top;
    if (end == start) return FMinimum;
    return FMinimum + static_cast<double>(Pixel - start) * (FMaximum - FMinimum) / (end - start);
}

int TChartAxis::CalcPosValue(double Value) const { return PosIn(FChart->Layout(), Value); }
double TChartAxis::CalcPosPoint(int Pixel) const { return PointIn(FChart->Layout(), Pixel); }
int TChartAxis::IStartPos() const { return CalcPosValue(FMinimum); }
int TChartAxis::IEndPos() const { return CalcPosValue(FMaximum); }

// ---------------------------------------------------------------------------------------------
// TChart

TChart::TChart(TComponent* AOwner)
    : TCustomControl(AOwner),
      FTitle(std::make_unique<TStringList>()),
      FGradient(std::make_unique<TChartGradient>()),
      FBottomAxis(std::make_unique<TChartAxis>(this, true)),
      FLeftAxis(std::make_unique<TChartAxis>(this, false)) {
    SetBounds(0, 0, 400, 250);
    SetTabStop(true);
    SetColor(clWhite);
    // The chart covers all of itself.
    FControlStyle << csOpaque;
    SetShowHint(true);
    for (int i = 0; i < 3; ++i) FTitle->Add(String());
    FTitle->OnChange = [this](TStrings*) { Invalidate(); };
    FGradient->OnChange = [this](TPersistent*) { Invalidate(); };
}

TChart::~TChart() {
    for (TChartSeries* s : FSeries) s->FChart = nullptr;
    FSeries.clear();
}

void TChart::SetView3D(bool value) {
    if (value == FView3D) return;
    FView3D = value;
    Invalidate();
}

void TChart::AddSeries(TChartSeries* series) {
    if (!series || series->FChart == this) return;
    if (series->FChart) series->FChart->RemoveSeries(series);
    series->FChart = this;
    FSeries.push_back(series);
    Invalidate();
}

void TChart::RemoveSeries(TChartSeries* series) {
    auto it = std::find(FSeries.begin(), FSeries.end(), series);
    if (it == FSeries.end()) return;
    FSeries.erase(it);
    series->FChart = nullptr;
    Invalidate();
}

void TChart::Invalidate() {
    FScreenLayoutValid = false;
    TCustomControl::Invalidate();
}

void TChart::Resize() {
    Invalidate();
    TCustomControl::Resize();
}

TCanvas* TChart::Canvas() { return FDrawCanvas ? FDrawCanvas : TCustomControl::Canvas(); }

const TChartLayout& TChart::Layout() {
    if (FActive) return *FActive;
    if (!FScreenLayoutValid) {
        ui::MeasureCanvas measure(Font());
        FScreenLayout = ComputeLayout(measure.Canvas(), ClientRect());
        FScreenLayoutValid = true;
    }
    return FScreenLayout;
}

TRect TChart::ChartRect() { return Layout().Plot; }

int TChart::ChartXCenter() {
    const TRect& p = Layout().Plot;
    return (p.Left + p.Right) / 2;
}

// ---------------------------------------------------------------------------------------------
// Zoom and panning

bool TChart::Zoomed() const { return FBottomAxis->FSaved || FLeftAxis->FSaved; }

void TChart::ZoomPercent(double Percent) {
    if (!(Percent > 0) || !std::isfinite(Percent)) return;
    FinishAnimation(true);
    for (TChartAxis* axis : {FBottomAxis.get(), FLeftAxis.get()}) {
        axis->SaveRange();
        double centre = (axis->FMinimum + axis->FMaximum) / 2;
        double half = (axis->FMaximum - axis->FMinimum) / 2 * 100 / Percent;
        axis->ZoomTo(centre - half, centre + half);
    }
    if (OnZoom) OnZoom(this);
}

void TChart::UndoZoom() {
    FinishAnimation(false);
    FBottomAxis->RestoreRange();
    FLeftAxis->RestoreRange();
    Invalidate();
    if (OnUndoZoom) OnUndoZoom(this);
}

void TChart::StartZoomAnimation(double AMinimum, double AMaximum) {
    FBottomAxis->SaveRange();
    FAnimFromMin = FBottomAxis->FMinimum;
    FAnimFromMax = FBottomAxis->FMaximum;
    FAnimToMin = AMinimum;
    FAnimToMax = AMaximum;
    FAnimStep = 0;
    if (!FAnimTimer) {
        FAnimTimer = new TTimer(this);
        FAnimTimer->SetEnabled(false);
        FAnimTimer->SetInterval(kZoomStepMs);
        FAnimTimer->OnTimer = [this](TObject*) { AnimationTick(); };
    }
    FAnimTimer->SetEnabled(true);
    AnimationTick();
}

void TChart::AnimationTick() {
    if (!FAnimTimer || !FAnimTimer->Enabled()) return;
    if (++FAnimStep >= kZoomSteps) {
        FinishAnimation(true);
        return;
    }
    double t = static_cast<double>(FAnimStep) / kZoomSteps;
    FBottomAxis->ZoomTo(FAnimFromMin + (FAnimToMin - FAnimFromMin) * t, FAnimFromMax + (FAnimToMax - FAnimFromMax) * t);
}

void TChart::FinishAnimation(bool fire) {
    if (!FAnimTimer || !FAnimTimer->Enabled()) return;
    FAnimTimer->SetEnabled(false);
    if (!fire) return;
    FBottomAxis->ZoomTo(FAnimToMin, FAnimToMax);
    if (OnZoom) OnZoom(this);
}

void TChart::AxisSetByProgram(TChartAxis* axis) {
    // The program's range wins over a mouse zoom still on its way.
    if (axis == FBottomAxis.get() && FAnimTimer) FAnimTimer->SetEnabled(false);
}

void TChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    // Another button during a gesture is ignored; the same one again means its release was lost.
    if (FGesture != Gesture::None && Button != FPressButton) return;
    FinishAnimation(true);
    FPressButton = Button;
    FPressShift = Shift;
    FPressX = FDragX = X;
    FPressY = Y;
    FDragged = false;
    const TRect& plot = Layout().Plot;
    bool inPlot = X >= plot.Left && X <= plot.Right && Y >= plot.Top && Y <= plot.Bottom;
    if (inPlot && Button == mbLeft && FAllowZoom) {
        FGesture = Gesture::Zoom;
    } else if (inPlot && FAllowPanning && Button == FPanButton) {
        FGesture = Gesture::Pan;
        FPanMinimum = FBottomAxis->FMinimum;
        FPanMaximum = FBottomAxis->FMaximum;
        FPanPixels = std::max(1, plot.Right - plot.Left);
    } else {
        FGesture = Gesture::Press;
    }
    if (FGesture != Gesture::Press && Button != mbLeft) SetMouseCapture(true);
}

void TChart::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FGesture != Gesture::Zoom && FGesture != Gesture::Pan) return;
    TShiftStateItem held = FPressButton == mbLeft ? ssLeft : FPressButton == mbMiddle ? ssMiddle : ssRight;
    if (!Shift.Contains(held)) {
        // The release went elsewhere: the gesture ends where it stands.
        FGesture = Gesture::None;
        Invalidate();
        return;
    }
    if (!FDragged && std::abs(X - FPressX) >= kDragThreshold) {
        FDragged = true;
        // A tooltip of the last click has no place over a band or a moving range, nor after it.
        Application->CancelHint();
    }
    if (!FDragged) return;
    if (FGesture == Gesture::Zoom) {
        FDragX = X;
        Invalidate();
        return;
    }
    // Scaled by the plot as it was pressed: labels that change width as the range moves may
    // move the plot's edges a little.
    double shift = -static_cast<double>(X - FPressX) * (FPanMaximum - FPanMinimum) / FPanPixels;
    FBottomAxis->SaveRange();
    FBottomAxis->ZoomTo(FPanMinimum + shift, FPanMaximum + shift);
}

void TChart::ButtonUp(TMouseButton Button, TMessage& Message) {
    if (FGesture == Gesture::None || Button != FPressButton) return;
    Gesture gesture = FGesture;
    FGesture = Gesture::None;
    if (Button != mbLeft && gesture != Gesture::Press) SetMouseCapture(false);
    int x = GET_X_LPARAM(Message.LParam);
    int dx = x - FPressX;
    if (gesture == Gesture::Zoom && (dx >= kDragThreshold || dx <= -kDragThreshold)) Application->CancelHint();
    if (gesture == Gesture::Zoom && dx >= kDragThreshold) {
        Invalidate();
        const TRect& plot = Layout().Plot;
        int x0 = std::clamp(FPressX, plot.Left, plot.Right);
        int x1 = std::clamp(x, plot.Left, plot.Right);
        if (x1 > x0) StartZoomAnimation(FBottomAxis->CalcPosPoint(x0), FBottomAxis->CalcPosPoint(x1));
        return;
    }
    if (gesture == Gesture::Zoom && dx <= -kDragThreshold) {
        Invalidate();
        UndoZoom();
        return;
    }
    if (gesture == Gesture::Pan && FDragged) {
        Application->CancelHint();
        return;
    }
    SeriesClick(Button, FPressShift, FPressX, FPressY);
}

void TChart::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_HINTSHOW && (FGesture == Gesture::Zoom || FGesture == Gesture::Pan) && FDragged) {
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TChart::SeriesClick(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TChartLayout& layout = Layout();
    // The series drawn last is on top: it takes the click.
    for (auto it = FSeries.rbegin(); it != FSeries.rend(); ++it) {
        TChartSeries* s = *it;
        int index = s->Clicked(X, Y, layout);
        if (index < 0) continue;
        if (s->OnClick) s->OnClick(s, index, Button, Shift, X, Y);
        return;
    }
}

void TChart::WMLButtonUp(TMessage& Message) {
    ButtonUp(mbLeft, Message);
    TCustomControl::WMLButtonUp(Message);
}

void TChart::WMMButtonUp(TMessage& Message) {
    ButtonUp(mbMiddle, Message);
    TCustomControl::WMMButtonUp(Message);
}

void TChart::WMRButtonUp(TMessage& Message) {
    ButtonUp(mbRight, Message);
    TCustomControl::WMRButtonUp(Message);
}
