// Opening and closing the link with the port button, and the port's line signals and line
// errors.
#include "app/Caution1.h"
#include "app/Caution2.h"
#include "app/IPSetting1.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

void TMainForm::VrDemoButton3Click(TObject* Sender) {
    if (ComPort1->Connected())
        CloseLink();
    else
        OpenLink();
}

void TMainForm::OpenLink() {
    if (ComboBox5->ItemIndex() == -1) {
        Caution1Form->Show();
        return;
    }
    MvColBitBtn15->SetChecked(false);
    try {
        if (LinkType == "TCP/IP" && !TcpClient1->Connected()) {
            if (IPSettingForm1->ShowModal() != mrOk) return;
            ConnectSideChannel();
        }
        if (Caution2Form) Caution2Form->Close();
        ComPort1->Open();
        WaitTime(500);
    } catch (...) {
        MessageBeep(MB_ICONEXCLAMATION);
        ShowMessage(String("COMﾎﾟｰﾄを開く事が出来ません。ﾊﾟﾗﾒｰﾀをﾁｪｯｸして下さい。"));
        return;
    }
    if (!ComPort1->Signals().Contains(csDSR)) {
        MessageBeep(MB_ICONEXCLAMATION);
        ShowMessage(String("ﾎﾟｰﾄを開く事が出来ません。ﾊｰﾄﾞｳｪｱをﾁｪｯｸして下さい｡"));
        ComPort1->Close();
        return;
    }
    PortInUse = 1;
    ComPort1->ClearBuffer(true, true);
    ClearRingBuf();
    SetLineDTR(false);
    PendingCount = 0;
    RxState = 0;
    // The transmit queue is empty and DTR low after the open: no write is pending and no data
    // mode can outlive a reopen, so a restart after a failed write really recovers.
    TxReady = 1;
    LinkMode = 0;
    FChannelReported = false;
    FEquipmentIdReported = false;
    SavedModelIndex = ComboBox5->ItemIndex();
    VrPowerButton7->SetActive(false);
    MvLED88->SetChecked(true);
    PageControl1->SetActivePage(TabSheet4);
    PageControl1->SetVisible(true);
    RespReady = 1;
    CommandOut(2, String("@MO"), String("@CH"));
    UserCommandFlag = 1;
    CaptureState = 0;
    EnableControls(3, true);
    TabSheet1->SetTabVisible(CurUnitKind == TxRx || CurUnitKind == Rx);
    String rate;
    BaudRateName(ComPort1->BaudRate(), rate);
    StatusBar1->Panels()->Items(0)->SetText(String("Port: ") + ComPort1->Port() + " / Rate: " + rate + " bps");
    ComboBox5->SetEnabled(false);
    EnableControls(1, true);
    LabeledEdit3->SetText(IntToStr(AdvComboBox1->Text().Length()));
}

void TMainForm::CloseLink() {
    MvColBitBtn15->SetChecked(false);
    PortInUse = 0;
    ComboBox5->SetItemIndex(SavedModelIndex);
    SetLineDTR(false);
    VrPowerButton7->SetActive(false);
    ComPort1->AbortAllAsync();
    ComPort1->ClearBuffer(true, true);
    ComPort1->Close();
    ResetLink();
    PendingCount = 0;
    StatusBar1->Panels()->Items(0)->SetText(String());
    MvLED88->SetChecked(false);
    EnableControls(1, false);
    ComboBox5->SetEnabled(true);
    PageControl1->SetVisible(false);
    if (LinkType == "TCP/IP") TcpClient1->Disconnect();
    LabeledEdit3->SetText(IntToStr(AdvComboBox1->Text().Length()));
}

void TMainForm::ComPort1DSRChange(TPersistent* Sender, bool OnOff) {
    // PortInUse is read as the event comes: a loss after the close is no error of the link.
    const bool inUse = PortInUse == 1;
    OnMainThread([this, OnOff, inUse] {
        if (OnOff) {
            VrPowerButton5->SetActive(true);
        } else if (inUse) {
            VrPowerButton5->SetActive(false);
            MessageBeep(MB_ICONEXCLAMATION);
            TerminalLine(String("DSR信号エラーです。接続を確認して下さい。"));
        }
    });
}

void TMainForm::ComPort1CTSChange(TPersistent* Sender, bool OnOff) {
    OnMainThread([this, OnOff] { VrPowerButton6->SetActive(OnOff); });
}

void TMainForm::ComPort1Error(TPersistent* Sender, TComErrors Errors) {
    OnMainThread([this, Errors] {
        static const std::pair<TComError, const char*> kLines[] = {
            {ceFrame, ">ﾌﾚｰﾐﾝｸﾞｴﾗｰが発生しました。"},
            {ceRxParity, ">ﾊﾟﾘﾃｨｴﾗｰが発生しました。"},
            {ceOverrun, ">ｵｰﾊﾞｰﾗﾝｴﾗｰが発生しました。"},
            {ceBreak, ">ﾊｰﾄﾞｳｪｱがﾌﾞﾚｰｸ状態を検知しました。"},
            {ceIO, ">I/O ｴﾗｰが発生しました。"},
            {ceMode, ">要求したﾓｰﾄﾞはｻﾎﾟｰﾄしていません。"},
            {ceRxOver, ">入力ﾊﾞｯﾌｧがｵｰﾊﾞｰﾌﾛｰしました。"},
            {ceTxFull, ">出力ﾊﾞｯﾌｧが一杯です。"},
        };
        MessageBeep(MB_ICONEXCLAMATION);
        for (const auto& [error, line] : kLines)
            if (Errors.Contains(error)) TerminalLine(String(line));
    });
}

void TMainForm::MvLED88StatusChanged(TObject* Sender) {
    if (MvLED88->Checked()) {
        VrDemoButton3->SetCursor(1);
        return;
    }
    MvColBitBtn4->SetColorOn(clBtnFace);
    MvColBitBtn4->SetTextOn(String());
    VrDemoButton3->SetCursor(4);
}

void TMainForm::SetLineDTR(bool on) {
    if (LinkType == "TCP/IP") {
        // The device server's DTR line, switched over the side channel; the serial line stays.
        const uint8_t command[9] = {0x1B, 0x02, 0x00, 0x00, 0x00, static_cast<uint8_t>(on ? 0x02 : 0x00), 0x00, 0x00, 0x00};
        TcpClient1->SendBuf(command, 9);
        ListServerAnswer(5);
    } else if (LinkType == "Normal") {
        ComPort1->SetDTR(on);
    }
}
