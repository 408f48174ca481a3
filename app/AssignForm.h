#pragma once
// The test packet generator: a packet of 0 to 255 characters, all one character or drawn at
// random, handed back as two hexadecimal digits of its size followed by the characters. The
// caller empties Result, shows the form modally and takes Result whatever the outcome: it holds
// the packet only when the form was closed with "OK".
#include "controls/styled/AdvEdit.h"
#include "controls/instrument/VrButtons.h"
#include "platform/ui/ComCtrlsNative.h"
#include "platform/ui/Forms.h"

class TAssignForm1 : public TForm {
public:
    explicit TAssignForm1(TComponent* AOwner);
    ~TAssignForm1() override;
    const char* ClassName() const override { return "TAssignForm1"; }

    TTrackBar* TrackBar1;      // data size
    TStaticText* StaticText1;  // size, hexadecimal
    TStaticText* StaticText2;  // size, decimal
    TTrackBar* TrackBar2;      // character code
    TStaticText* StaticText17;  // code, hexadecimal
    TAdvEdit* AdvEdit1;     // the character
    TEdit* Edit1;              // the generated characters
    TVrDemoButton* VrDemoButton1;   // same characters
    TVrDemoButton* VrDemoButton10;  // random characters
    TVrDemoButton* VrDemoButton2;   // OK

    // The packet as last generated ("00" until then) and the result the caller reads.
    String Packet;
    String Result;

    void FormCreate(TObject* Sender);
    void TrackBar1Change(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void VrDemoButton1Click(TObject* Sender);
    void VrDemoButton10Click(TObject* Sender);
    void VrDemoButton2Click(TObject* Sender);

private:
    // Edit1 and the packet from the generated characters.
    void Generated(const String& text);
};

extern TAssignForm1* AssignForm1;
