#pragma once
// A canvas's drawing log: every drawing call the front gets, in order, as the caller made it
// (logical coordinates of the mapping mode in force), with the font, pen and brush it draws with.
// A test attaches one (platform/ui/testing/DrawingLog.h); without one the
// front pays one null check per call. Calls a logged call makes on the way (the lines of a DrawText, the sides of a
// frame) are not logged again. It is the caller's side of what the device-side seams
// (CanvasForwarder, ExtTextOutImpl) see after the front has mapped and decided.
#include <string>
#include <vector>

#include "platform/ui/Graphics.h"

namespace ui {

struct DrawCall {
    std::string call;            // the call's name: "FillRect", "DrawText", "SelectObject", ...
    TRect rect;                  // its rectangle (a transfer's destination), logical
    std::vector<TPoint> points;  // its points: a line's ends, a text's reference point, a transfer's source
    String text;
    UINT flags = 0;              // DrawText's format, ExtTextOut's options, a transfer's raster operation
    int mapMode = MM_TEXT;
    // The canvas's font as it stands: height in logical units, escapement and characters' angle
    // in tenths of a degree.
    String fontName;
    int fontHeight = 0;
    int fontEscapement = 0;
    int fontOrientation = 0;
    TColor penColor = clBlack;
    int penWidth = 1;  // logical units
    TPenStyle penStyle = psSolid;
    // The brush the call fills with: the canvas's, or the one a call names (FillRect with a brush).
    TColor brushColor = clWhite;
    TBrushStyle brushStyle = bsSolid;
};

class CanvasLog {
public:
    virtual ~CanvasLog() = default;
    virtual void Add(DrawCall call) = 0;
};

// Around one drawing call of the front or of a GDI call on a handle: when a log is attached and no
// logged call is under way, the call as the caller made it goes to the log when this ends.
// Entry() is nullptr otherwise, so the caller fills in what it has only when it is logged.
class LoggedCall {
public:
    LoggedCall(TCanvas& canvas, const char* name) {
        if (canvas.FLog) Start(canvas, name);
    }
    LoggedCall(TCanvas& canvas, const char* name, const TRect& rect) : LoggedCall(canvas, name) {
        if (FEntry) FEntry->rect = rect;
    }
    ~LoggedCall() {
        if (FCanvas) Finish();
    }
    LoggedCall(const LoggedCall&) = delete;
    LoggedCall& operator=(const LoggedCall&) = delete;
    DrawCall* Entry() { return FEntry; }

private:
    void Start(TCanvas& canvas, const char* name);
    void Finish();
    TCanvas* FCanvas = nullptr;
    DrawCall* FEntry = nullptr;  // FCall while logged
    DrawCall FCall;
};

}  // namespace ui
