#include "platform/rtl/Exceptions.h"

void Abort() { throw EAbort(String("Operation aborted")); }
