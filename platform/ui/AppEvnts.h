#pragma once
// TApplicationEvents: a component that receives the application's events, so a form can handle
// them with its own methods. Several may exist; each gets every event, newest first.
#include "platform/ui/Forms.h"

class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* AOwner);
    ~TApplicationEvents() override;
    const char* ClassName() const override { return "TApplicationEvents"; }

    // Done starts true for each idle pass; any handler may clear it.
    TIdleEvent OnIdle;
    // Sender is the object whose handler raised the exception.
    TExceptionEvent OnException;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
};
