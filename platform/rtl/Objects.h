#pragma once
// TObject and TNotifyEvent: the root object every sender is, and the plain event. They live in the
// run-time library so that libraries without a UI (the serial port) can take the same handlers.
#include <functional>

#include "platform/rtl/Persistent.h"

// The root of the class library is TPersistent here: everything that sends events derives from it.
using TObject = TPersistent;
using TNotifyEvent = std::function<void(TObject* Sender)>;
