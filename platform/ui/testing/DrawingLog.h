#pragma once
// A drawing log a test attaches to a canvas for its lifetime: every drawing call the canvas's front
// gets, in order, as the caller made it.
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/CanvasLog.h"

namespace ui::test {

class DrawingLog final : public CanvasLog {
public:
    explicit DrawingLog(TCanvas& canvas) : FCanvas(canvas), FBefore(canvas.Log()) { canvas.SetLog(this); }
    ~DrawingLog() override { FCanvas.SetLog(FBefore); }
    DrawingLog(const DrawingLog&) = delete;
    DrawingLog& operator=(const DrawingLog&) = delete;

    void Add(DrawCall call) override { calls.push_back(std::move(call)); }
    std::vector<DrawCall> calls;

private:
    TCanvas& FCanvas;
    CanvasLog* FBefore;
};

}  // namespace ui::test
