#pragma once
// The start-up notice: connection advice and the destination of the settings file. While it
// shows, the main window stays disabled; "O K" enables the window and its model list.
#include "app/Notice.h"
#include "platform/ui/BitBtn.h"

class TCaution1Form : public TNoticeForm {
public:
    explicit TCaution1Form(TComponent* AOwner);
    ~TCaution1Form() override;
    const char* ClassName() const override { return "TCaution1Form"; }

    TLabel* Label1;  // the destination
    TBitBtn* BitBtn1;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
};

extern TCaution1Form* Caution1Form;
