#pragma once
// TPersistent: objects that can copy their state from one another with Assign.
#include "platform/rtl/Exceptions.h"

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual const char* ClassName() const { return "TPersistent"; }
    // Copies Source into this object. A class that knows how overrides Assign; otherwise the
    // source gets its chance through AssignTo, and failing that EConvertError is raised.
    virtual void Assign(const TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    // The object that owns this one, for the chain of names in messages; nullptr by default.
    virtual TPersistent* GetOwner() const { return nullptr; }
};
