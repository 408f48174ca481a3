// The port settings (the port-setting and restart buttons and F2), the TCP side channel to a
// serial-to-Ethernet device server, and the version box's menu item.
#include <initializer_list>

#include "app/COMname.h"
#include "app/Caution2.h"
#include "app/ComSetDialog.h"
#include "app/Main.h"
#include "app/VerBox.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

void TMainForm::BuildPortSettings() {
    TcpClient1 = new TTcpClient(this);
    TcpClient1->SetName(String("TcpClient1"));
    TcpClient1->OnConnect = [this](TObject* s) { TcpClient1Connect(s); };
    TcpClient1->OnDisconnect = [this](TObject* s) { TcpClient1Disconnect(s); };
    TcpClient1->OnReceive = [this](TObject* s, char* buf, int& len) { TcpClient1Receive(s, buf, len); };
    TcpClient1->OnError = [this](TObject* s, int error) { TcpClient1Error(s, error); };

    for (TVrDemoButton* b : {VrDemoButton2, VrDemoButton33}) b->OnClick = [this](TObject* s) { VrDemoButton2Click(s); };
    SetCom->OnClick = [this](TObject* s) { VrDemoButton2Click(s); };
    Version1->OnClick = [this](TObject* s) { Version1Click(s); };
}

void TMainForm::VrDemoButton2Click(TObject* Sender) {
    ComSetDlg->Memo1->Clear();
    ListComPorts();
    MemoInsert(ComSetDlg->Memo1, ComPortListText);
    // The port closes; the queue, the ring, the flags and the link mode stay as they are.
    PortInUse = 0;
    ComPort1->Close();
    StatusBar1->Panels()->Items(0)->SetText(String());
    MvLED88->SetChecked(false);
    VrPowerButton7->SetActive(false);
    PageControl1->SetVisible(false);

    TComComboBox* ports = ComSetDlg->ComComboBox1;
    ListSerialPorts(ports->Items());
    // A configured port that is no serial device (a pseudo-terminal) is still offered, so the
    // list shows what the port is.
    const String port = ComPort1->Port();
    if (!port.empty() && ports->Items()->IndexOf(port) < 0) ports->Items()->Add(port);
    ports->SetText(port);
    if (ComSetDlg->ShowModal() == mrOk) {
        ComboBox5->SetEnabled(true);
        VrDemoButton3->SetCaption(PortButtonCaption(ComPort1->Port()));
    }
}

String TMainForm::PortButtonCaption(const String& port) {
    const String dev(u"/dev/");
    const String name = port.substr(0, dev.size()) == dev ? String(port.substr(dev.size())) : port;
    return name + " ﾎﾟｰﾄ";
}

void TMainForm::Version1Click(TObject* Sender) { VerBoxForm->Show(); }

void TMainForm::ConnectSideChannel() {
    TcpClient1->SetRemoteHost(RemoteAddress.ToUtf8());
    TcpClient1->SetRemotePort(PortNumber.ToUtf8());
    TcpClient1->SetActive(true);
    TcpClient1->Connect();
}

void TMainForm::ListServerAnswer(int count) {
    // Each read starts again at the buffer's start; bytes no read reached are listed as they were.
    while (TcpClient1->WaitForData(500)) TcpClient1->ReceiveBuf(TcpRxBuf.data(), count);
    for (int i = 0; i < count; ++i) {
        const uint8_t b = TcpRxBuf[static_cast<size_t>(i)];
        TerminalLine(IntToHex(b, 2) + "  " + IntToStr(b));
    }
}

void TMainForm::TcpClient1Connect(TObject* Sender) {
    TerminalLine(String(">XPortが接続されました"));
    ListServerAnswer(10);
}

void TMainForm::TcpClient1Disconnect(TObject* Sender) { TerminalLine(String(">XPort切断されました")); }

void TMainForm::TcpClient1Receive(TObject* Sender, char* Buf, int& DataLen) {
    TerminalLine(String(">XPortからデータを受信しました"));
}

void TMainForm::TcpClient1Error(TObject* Sender, int SocketError) {
    Caution2Form->Label1->SetCaption(String(" ﾈｯﾄﾜｰｸｴﾗｰが発生しました!! "));
    Caution2Form->Label2->SetCaption(String(" ｱﾌﾟﾘｹｰｼｮﾝを終了します｡ "));
    Caution2Form->Show();
    MessageBeep(MB_ICONEXCLAMATION);
    WaitTime(250);
    Application->Terminate();
}
