#pragma once
// The chart control: a plot of series over a bottom and a left axis, with a three-line title, a
// background gradient, an optional depth view, mouse zoom and panning, and output to the screen,
// bitmaps, metafiles, the clipboard and the printer. Everything is drawn by one routine over the
// layer's TCanvas, so every output shows the same picture.
//
// The chart has no legend and no right axis: the workbench hides both.
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Metafile.h"

class TChart;
class TChartSeries;
class TTimer;

RTL_DECLARE_EXCEPTION(EChartException, Exception);

// A background running from StartColor at the top to EndColor at the bottom; an EndColor of
// clNone fills with StartColor alone.
class TChartGradient : public TGraphicsObject {
public:
    const char* ClassName() const override { return "TChartGradient"; }
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor value);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor value);

private:
    TColor FStartColor = clWhite;
    TColor FEndColor = clBtnFace;
};

// A line the series draws or leaves out, in one colour.
class TChartPen : public TGraphicsObject {
public:
    TChartPen(bool visible, TColor color) : FVisible(visible), FColor(color) {}
    const char* ClassName() const override { return "TChartPen"; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

private:
    bool FVisible;
    TColor FColor;
};

// The pixel frame of one drawing of the chart: where the plot sits and how its axes are labelled.
// Each drawing (the screen, a bitmap, a metafile, a page) computes its own.
struct TChartLayout {
    TRect Bounds;         // the whole drawing
    TRect Plot;           // Left/Right: pixels of the bottom axis's Minimum/Maximum;
                          // Bottom/Top: pixels of the left axis's Minimum/Maximum (all inclusive)
    int Depth = 0;        // depth of the 3-D view, 0 when flat
    int TextHeight = 0;
    double BottomStep = 1, LeftStep = 1;  // value distance between labels
};

class TChartAxis : public TPersistent {
public:
    TChartAxis(TChart* chart, bool horizontal) : FChart(chart), FHorizontal(horizontal) {}
    const char* ClassName() const override { return "TChartAxis"; }
    bool Horizontal() const { return FHorizontal; }

    // The range is always set by the program (the axes never scale themselves). A Minimum above
    // the Maximum, or a Maximum below the Minimum, raises EChartException and changes nothing.
    double Minimum() const { return FMinimum; }
    void SetMinimum(double value);
    double Maximum() const { return FMaximum; }
    void SetMaximum(double value);
    void SetMinMax(double AMinimum, double AMaximum);

    // The smallest value step between labels; labels that would overlap take a multiple of it
    // (1, 2, 5, 10, ... times). 0 lets the axis choose from its range.
    double Increment() const { return FIncrement; }
    void SetIncrement(double value);
    // Small ticks between two labels.
    int MinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(int value);
    const String& Title() const { return FTitle; }
    void SetTitle(const String& value);
    // Grid lines half-way between the labels, so that bars stand between them.
    bool GridCentered() const { return FGridCentered; }
    void SetGridCentered(bool value);

    // Value to pixel and back, for the drawing in progress (on the screen outside a drawing):
    // Minimum lands on the axis's first pixel (left or bottom edge of the plot) and Maximum on
    // its last; the pixel offset from the first pixel is rounded to the nearest whole pixel,
    // halves to even. An empty range puts every value on the first pixel.
    int CalcPosValue(double Value) const;
    double CalcPosPoint(int Pixel) const;
    // The pixels of Minimum and Maximum.
    int IStartPos() const;
    int IEndPos() const;
    // The same for a given layout.
    int PosIn(const TChartLayout& layout, double Value) const;
    double PointIn(const TChartLayout& layout, int Pixel) const;

private:
    friend class TChart;
    // A range the zoom, the pan or their undo sets: the range before the first zoom is kept.
    void ZoomTo(double AMinimum, double AMaximum);
    void SaveRange();
    bool RestoreRange();
    void Changed(bool byProgram);

    TChart* FChart;
    bool FHorizontal;
    double FMinimum = 0, FMaximum = 100;
    double FIncrement = 0;
    int FMinorTickCount = 0;
    String FTitle;
    bool FGridCentered = false;
    bool FSaved = false;
    double FSavedMinimum = 0, FSavedMaximum = 0;
};

class TChart : public TCustomControl {
public:
    explicit TChart(TComponent* AOwner);
    ~TChart() override;
    const char* ClassName() const override { return "TChart"; }

    // The title lines, drawn centred above the plot; three empty lines to begin with.
    TStrings* Title() const { return FTitle.get(); }
    TChartGradient* Gradient() const { return FGradient.get(); }
    // Draws walls and bars with depth (the look only: values and events are those of the flat view).
    bool View3D() const { return FView3D; }
    void SetView3D(bool value);

    TChartAxis* BottomAxis() const { return FBottomAxis.get(); }
    TChartAxis* LeftAxis() const { return FLeftAxis.get(); }
    // The plot rectangle of the drawing in progress (of the screen outside a drawing) and its
    // horizontal centre.
    TRect ChartRect();
    int ChartXCenter();

    // Series are drawn in the order they were added, each over the ones before.
    int SeriesCount() const { return static_cast<int>(FSeries.size()); }
    TChartSeries* Series(int index) const { return FSeries.at(static_cast<size_t>(index)); }
    void AddSeries(TChartSeries* series);
    void RemoveSeries(TChartSeries* series);

    // Zoom about the centre of both axes' ranges: 125 shows 80 % of the range (in), 75 shows
    // 133 % (out). UndoZoom restores the ranges from before the first zoom or pan. Each fires its
    // event once, after the ranges are set.
    void ZoomPercent(double Percent);
    void UndoZoom();
    bool Zoomed() const;
    // Mouse zoom, horizontal only: a left-button drag to the right zooms the bottom axis into the
    // dragged range, a drag to the left undoes the zoom.
    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool value) { FAllowZoom = value; }
    // Panning of the bottom axis by dragging with PanButton.
    bool AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(bool value) { FAllowPanning = value; }
    TMouseButton PanButton() const { return FPanButton; }
    void SetPanButton(TMouseButton value) { FPanButton = value; }

    // The canvas of the drawing in progress (bitmap, metafile, page) while one runs, the
    // control's canvas otherwise: OnAfterDraw draws its overlays here.
    TCanvas* Canvas();
    // Invalidating also forgets the screen layout, which every change of the look may move.
    void Invalidate() override;

    // Output, all through the drawing of the screen.
    // Draws the whole chart into R of any canvas.
    void Draw(TCanvas* ACanvas, const TRect& R);
    // The chart at the control's size, as a 24-bit bitmap.
    std::unique_ptr<TBitmap> CreateBitmap();
    // The chart recorded into a metafile of R's size (enhanced or the older format).
    std::unique_ptr<TMetafile> CreateMetafile(bool Enhanced, const TRect& R);
    void SaveToBitmapFile(const String& FileName);
    void SaveToMetafile(const String& FileName);     // the older Windows format
    void SaveToMetafileEnh(const String& FileName);  // enhanced
    void CopyToClipboardBitmap();
    void CopyToClipboardMetafile(bool Enhanced);
    // One page on the selected printer, the chart scaled to the printable width (or height).
    void Print();

    TNotifyEvent OnAfterDraw;
    TNotifyEvent OnZoom;
    TNotifyEvent OnUndoZoom;

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void WMLButtonUp(TMessage& Message) override;
    void WMMButtonUp(TMessage& Message) override;
    void WMRButtonUp(TMessage& Message) override;
    // No tooltip while a drag zooms or pans.
    void Dispatch(TMessage& Message) override;

private:
    friend class TChartAxis;
    friend class TChartSeries;
    enum class Gesture { None, Press, Zoom, Pan };

    const TChartLayout& Layout();
    TChartLayout ComputeLayout(TCanvas* canvas, const TRect& bounds);
    void DrawChart(TCanvas* canvas, const TRect& bounds, bool screen);
    void DrawBackground(TCanvas* c, const TChartLayout& L);
    void DrawWalls(TCanvas* c, const TChartLayout& L);
    void DrawGrid(TCanvas* c, const TChartLayout& L);
    void DrawAxes(TCanvas* c, const TChartLayout& L);
    // The width of an axis label in the chart's font, measured once per drawing.
    int LabelWidth(TCanvas* c, const String& text);
    void DrawTitle(TCanvas* c, const TChartLayout& L);
    void DrawZoomBand(TCanvas* c, const TChartLayout& L);

    void ButtonUp(TMouseButton Button, TMessage& Message);
    void SeriesClick(TMouseButton Button, TShiftState Shift, int X, int Y);
    void StartZoomAnimation(double AMinimum, double AMaximum);
    void AnimationTick();
    void FinishAnimation(bool fire);
    void AxisSetByProgram(TChartAxis* axis);

    std::unique_ptr<TStringList> FTitle;
    std::unique_ptr<TChartGradient> FGradient;
    std::unique_ptr<TChartAxis> FBottomAxis;
    std::unique_ptr<TChartAxis> FLeftAxis;
    std::vector<TChartSeries*> FSeries;
    bool FView3D = false;
    bool FAllowZoom = true;
    bool FAllowPanning = true;
    TMouseButton FPanButton = mbMiddle;

    // The drawing in progress, if any, and the screen's layout, kept until the look changes.
    TCanvas* FDrawCanvas = nullptr;
    const TChartLayout* FActive = nullptr;
    TChartLayout FScreenLayout;
    bool FScreenLayoutValid = false;
    // Label widths of the drawing in progress (its font is the chart's), emptied by each layout.
    std::vector<std::pair<String, int>> FLabelWidths;

    // Mouse gesture.
    Gesture FGesture = Gesture::None;
    TMouseButton FPressButton = mbLeft;
    TShiftState FPressShift;
    int FPressX = 0, FPressY = 0, FDragX = 0;
    bool FDragged = false;
    double FPanMinimum = 0, FPanMaximum = 0;
    int FPanPixels = 1;

    // Mouse zoom animation.
    TTimer* FAnimTimer = nullptr;
    int FAnimStep = 0;
    double FAnimFromMin = 0, FAnimFromMax = 0, FAnimToMin = 0, FAnimToMax = 0;
};
