#pragma once
// The Qt native views of the standard controls (QtNative.cpp), one maker per family; the Qt
// backend's factory calls hand over to them.
#include <memory>

#include "platform/ui/Backend.h"

namespace qtb {

std::unique_ptr<ui::TextView> MakeTextView(ui::TextKind kind, ui::WidgetPeer& host, TWinControl* control);
std::unique_ptr<ui::ListView> MakeListView(ui::ListKind kind, ui::WidgetPeer& host, TWinControl* control, ui::ListSink& sink);
std::unique_ptr<ui::ButtonView> MakeButtonView(ui::ButtonKind kind, ui::WidgetPeer& host, TWinControl* control);
std::unique_ptr<ui::RangeView> MakeRangeView(ui::RangeKind kind, ui::WidgetPeer& host, TWinControl* control, ui::RangeSink& sink);
std::unique_ptr<ui::StaticView> MakeStaticView(ui::StaticKind kind, ui::WidgetPeer& host, TWinControl* control);

}  // namespace qtb
