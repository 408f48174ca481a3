// The event thread (not built yet).
#include "serial/CPort.h"

void TCustomComPort::CreateEventThread() { throw ENotImplemented(u"event thread"); }
void TCustomComPort::DestroyEventThread() {}
