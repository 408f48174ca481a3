// The window's side of the modem link: the port's transmit-empty and receive events, the idle
// event, and what the link asks of its owner (the port, the waits, the echo and the status panels).
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

void TMainForm::ComPort1TxEmpty(TPersistent* Sender) { TxReady = 1; }

void TMainForm::ComPort1RxChar(TPersistent* Sender, int Count) {
    IdleDone = 0;
    String text;
    ComPort1->ReadStr(text, Count);
    // The echo is queued before the characters reach the ring, so it shows before anything the
    // parser makes of them.
    const uint8_t linkMode = LinkMode;
    if (linkMode != 0 || MeasureMode == 0) {
        OnMainThread([this, text, linkMode] {
            const bool hex = RadioGroup3->ItemIndex() == 1;
            MemoInsert(Memo1, hex ? HexBytes(text, linkMode == 0) : text);
        });
    }
    RxRing.Push(text.data(), text.size());
    // The idle loop may have gone to sleep after its last empty pass: wake it for these.
    WakeMainThreadNow();
}

void TMainForm::ApplicationEvents1Idle(TObject* Sender, bool& Done) {
    RxParse();
    Done = IdleDone == 1;
}

bool TMainForm::PortConnected() { return ComPort1->Connected(); }

void TMainForm::PortWrite(const String& text) { ComPort1->WriteStr(text); }

void TMainForm::PortPurge() { ComPort1->ClearBuffer(true, true); }

void TMainForm::LinkWait(int ms) { WaitTime(ms); }

void TMainForm::ShowSentLine(const String& line) {
    MemoInsert(Memo1, RadioGroup3->ItemIndex() == 1 ? HexBytes(line, true) + "\r\n" : line);
}

void TMainForm::SendFailed() {
    MessageBeep(MB_ICONEXCLAMATION);
    ShowMessage(String(kSendErrorText));
}

void TMainForm::ShowStatus(int panel, const String& text) { StatusBar1->Panels()->Items(panel)->SetText(text); }

bool TMainForm::AirMonitorShown() { return PageControl1->ActivePage() == TabSheet1; }

void TMainForm::LogLevel(const String& level) {
    MemoInsert(Memo2, String("CH") + IntToStr(LogChannel) + level + "dBm\r\n");
}
