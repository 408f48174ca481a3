#pragma once
// The connection and network-error notice: two lines that the connection and its errors fill.
// The port's open closes it.
#include "app/Notice.h"

class TCaution2Form : public TNoticeForm {
public:
    explicit TCaution2Form(TComponent* AOwner);
    ~TCaution2Form() override;
    const char* ClassName() const override { return "TCaution2Form"; }

    TLabel* Label1;
    TLabel* Label2;
};

extern TCaution2Form* Caution2Form;
