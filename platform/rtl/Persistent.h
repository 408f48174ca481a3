#pragma once
// TPersistent: objects that can copy their state from one another with Assign.
#include "platform/rtl/Exceptions.h"

class TFiler;

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual const char* ClassName() const { return "TPersistent"; }
    // Copies Source into this object. A class that knows how overrides Assign; otherwise the
    // source gets its chance through AssignTo, and failing that EConvertError is raised.
    virtual void Assign(const TPersistent* Source);

    // Component streaming (platform/rtl/Filer.h). PublishedProperties gives the stored properties
    // of the class in their stream order; DefineProperties adds the ones a class defines beyond
    // them. Both describe each property to the filer, which writes or reads it.
    virtual void PublishedProperties(TFiler* Filer);
    virtual void DefineProperties(TFiler* Filer);

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    // The object that owns this one, for the chain of names in messages; nullptr by default.
    virtual TPersistent* GetOwner() const { return nullptr; }
};
