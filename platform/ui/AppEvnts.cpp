#include "platform/ui/AppEvnts.h"

namespace ui::detail {
void RegisterApplicationEvents(TApplicationEvents* events, bool add);
}

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
    ui::detail::RegisterApplicationEvents(this, true);
}

TApplicationEvents::~TApplicationEvents() { ui::detail::RegisterApplicationEvents(this, false); }
