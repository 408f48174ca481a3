#pragma once
// The start-up notice: connection advice and the destination of the settings file. While it
// shows, the main window stays disabled; "O K" enables the window and its model list.
#include "platform/ui/BitBtn.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrlsDrawn.h"

class TCaution1Form : public TForm {
public:
    explicit TCaution1Form(TComponent* AOwner);
    ~TCaution1Form() override;
    const char* ClassName() const override { return "TCaution1Form"; }

    TPanel* Panel1;
    TLabel* Label1;  // the destination
    TBitBtn* BitBtn1;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
};

extern TCaution1Form* Caution1Form;
