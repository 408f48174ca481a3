// The TCP side channel to a serial-to-Ethernet device server, against a server on 127.0.0.1:
// the address dialog, the connection, the DTR command over TCP and a socket error.
#include <cstdio>
#include <mutex>
#include <thread>

#include "app/Caution2.h"
#include "app/IPSetting1.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/net/tests/Listener.h"
#include "platform/rtl/IniFiles.h"

using namespace wbtest;

namespace {

using Bytes = std::vector<uint8_t>;

// A device server: greets a client with some bytes, then answers each command it gets with the
// next scripted answer (nothing once they run out), and records the commands, until the client
// closes.
class DeviceServer {
public:
    DeviceServer(Bytes greeting, std::vector<Bytes> answers)
        : FGreeting(std::move(greeting)), FAnswers(std::move(answers)), FThread([this] { Serve(); }) {}
    ~DeviceServer() { FThread.join(); }

    std::string PortText() const { return FListener.PortText(); }
    std::vector<Bytes> Commands() {
        std::lock_guard<std::mutex> lock(FLock);
        return FCommands;
    }
    bool Closed() {
        std::lock_guard<std::mutex> lock(FLock);
        return FClosed;
    }

private:
    void Serve() {
        if (!FListener.Accept()) return;
        if (!FGreeting.empty()) FListener.Send(FGreeting);
        for (size_t n = 0;; ++n) {
            Bytes command = FListener.Received(10000);
            if (command.empty()) break;
            {
                std::lock_guard<std::mutex> lock(FLock);
                FCommands.push_back(command);
            }
            if (n < FAnswers.size()) FListener.Send(FAnswers[n]);
        }
        std::lock_guard<std::mutex> lock(FLock);
        FClosed = true;
    }

    nettest::Listener FListener;
    Bytes FGreeting;
    std::vector<Bytes> FAnswers;
    std::mutex FLock;
    std::vector<Bytes> FCommands;
    bool FClosed = false;
    std::thread FThread;
};

const Bytes kDtrOn{0x1B, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
const Bytes kDtrOff{0x1B, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// The terminal's byte lines: two uppercase hexadecimal digits, two blanks, the decimal value.
std::string ByteLines(const Bytes& bytes) {
    std::string s;
    for (uint8_t b : bytes) {
        char hex[3];
        std::snprintf(hex, sizeof(hex), "%02X", b);
        s += std::string(hex) + "  " + std::to_string(b) + "\r\n";
    }
    return s;
}

class SideChannel : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        // No model of the table is on the TCP link type.
        MainForm->LinkType = String("TCP/IP");
    }
    // The address dialog's "OK", once the port button has shown it.
    void AnswerTheDialogWith(TSpeedButton* button, const std::string& port) {
        WhenModal(IPSettingForm1, [this, button, port] {
            IPSettingForm1->LabeledEdit4->SetText(String("127.0.0.1"));
            IPSettingForm1->MvNumEdit1->SetText(String(port));
            ui::test::Click(button, 5, 5);
        });
    }
};

TEST_F(SideChannel, TheOpenConnectsThroughTheAddressDialogAndSwitchesDtrOverTcp) {
    const Bytes greeting{0x1B, 0x02, 0x30, 0x31, 0x32, 0x00, 0x7F, 0x80, 0xFE, 0xFF};
    const Bytes offAnswer{0x1B, 0x03, 0x00, 0x0A, 0x10};
    DeviceServer server(greeting, {offAnswer});
    std::string notice1, notice2;
    bool noticeShown = false;
    uint64_t dialogTime = 0;
    WhenModal(IPSettingForm1, [&] {
        IPSettingForm1->LabeledEdit4->SetText(String("127.0.0.1"));
        IPSettingForm1->MvNumEdit1->SetText(String(server.PortText()));
        const uint64_t before = GetTickCount64();
        ui::test::Click(IPSettingForm1->SpeedButton1, 5, 5);
        dialogTime = GetTickCount64() - before;
        notice1 = Utf8(Caution2Form->Label1->Caption());
        notice2 = Utf8(Caution2Form->Label2->Caption());
        noticeShown = Caution2Form->Visible();
    });
    PortButton();
    EXPECT_EQ(notice1, " Just moment ");
    EXPECT_EQ(notice2, " Try connect now ");
    EXPECT_TRUE(noticeShown);
    EXPECT_GE(dialogTime, 250u);
    EXPECT_FALSE(Caution2Form->Visible()) << "the open closes the notice";
    ASSERT_TRUE(MainForm->ComPort1->Connected());
    ASSERT_TRUE(MainForm->TcpClient1->Connected());
    EXPECT_TRUE(MainForm->PageControl1->Visible());

    // The connection lists the server's greeting; the open's DTR off goes over TCP and lists the
    // answer's five bytes; the serial DTR line is not touched.
    std::string expected = ">XPortが接続されました\r\n>XPortからデータを受信しました\r\n" + ByteLines(greeting) +
                           ">XPortからデータを受信しました\r\n" + ByteLines(offAnswer);
    EXPECT_EQ(Memo1().substr(0, expected.size()), expected);
    EXPECT_EQ(server.Commands(), std::vector<Bytes>{kDtrOff});
    EXPECT_TRUE(sim->Dtr()) << "the port's own DTR stays as the open set it";

    // DTR on, the server silent: the buffer's earlier bytes are listed again.
    MainForm->Memo1->Clear();
    MainForm->SetLineDTR(true);
    EXPECT_EQ(Memo1(), ByteLines(offAnswer));
    MainForm->SetLineDTR(false);
    EXPECT_EQ(server.Commands(), (std::vector<Bytes>{kDtrOff, kDtrOn, kDtrOff}));
    EXPECT_TRUE(sim->Dtr());

    // The close disconnects.
    MainForm->Memo1->Clear();
    PortButton();
    EXPECT_FALSE(MainForm->TcpClient1->Connected());
    EXPECT_NE(Memo1().find(">XPort切断されました\r\n"), std::string::npos) << Memo1();
    EXPECT_TRUE(Eventually([&] { return server.Closed(); }));
}

TEST_F(SideChannel, CancelInTheAddressDialogStopsTheOpen) {
    AnswerTheDialogWith(IPSettingForm1->SpeedButton2, "30704");
    PortButton();
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_FALSE(MainForm->TcpClient1->Connected());
    EXPECT_FALSE(MainForm->PageControl1->Visible());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SideChannel, TheNormalLinkTypeSendsNothingOverTcp) {
    DeviceServer server({}, {});
    MainForm->TcpClient1->SetRemoteHost("127.0.0.1");
    MainForm->TcpClient1->SetRemotePort(server.PortText());
    MainForm->TcpClient1->Connect();
    MainForm->ComPort1->Open();
    MainForm->LinkType = String("Normal");
    MainForm->SetLineDTR(false);
    EXPECT_FALSE(sim->Dtr());
    MainForm->SetLineDTR(true);
    EXPECT_TRUE(sim->Dtr());
    // The stream keeps its order: the one command that arrives is the one sent on the TCP type.
    MainForm->LinkType = String("TCP/IP");
    MainForm->SetLineDTR(false);
    EXPECT_TRUE(Eventually([&] { return server.Commands().size() == 1; }));
    EXPECT_EQ(server.Commands(), std::vector<Bytes>{kDtrOff});
    MainForm->TcpClient1->Disconnect();
}

TEST_F(SideChannel, ASocketErrorShowsTheNoticeBeepsAndEndsTheApplication) {
    nettest::Listener closed;
    closed.Stop();  // nobody listens there: the connect is refused
    AnswerTheDialogWith(IPSettingForm1->SpeedButton1, closed.PortText());
    win::ResetMessageBeeps();
    const uint64_t before = GetTickCount64();
    PortButton();
    EXPECT_EQ(Utf8(Caution2Form->Label1->Caption()), " ﾈｯﾄﾜｰｸｴﾗｰが発生しました!! ");
    EXPECT_EQ(Utf8(Caution2Form->Label2->Caption()), " ｱﾌﾟﾘｹｰｼｮﾝを終了します｡ ");
    // Both lines keep the notice's width, so their texts stand centred.
    EXPECT_EQ(Caution2Form->Label1->Width(), 296);
    EXPECT_EQ(Caution2Form->Label2->Width(), 296);
    EXPECT_TRUE(Caution2Form->Visible());
    EXPECT_TRUE(Application->Terminated());
    // The dialog's 250 ms, then the notice's 250 ms before the end.
    EXPECT_GE(GetTickCount64() - before, 500u);
    // The failed connect reaches the open's handler: its beep and message follow the notice's.
    EXPECT_EQ(win::MessageBeepCount(), 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"COMﾎﾟｰﾄを開く事が出来ません。ﾊﾟﾗﾒｰﾀをﾁｪｯｸして下さい。"});
    EXPECT_FALSE(MainForm->ComPort1->Connected());
    EXPECT_EQ(Sent(), "") << "no farewell";
}

TEST_F(SideChannel, TheAddressDialogReadsItsDefaultsAndSavesWithoutTheNotice) {
    EXPECT_EQ(Utf8(IPSettingForm1->LabeledEdit4->Text()), "");
    EXPECT_EQ(Utf8(IPSettingForm1->MvNumEdit1->Text()), "30704");
    AnswerTheDialogWith(IPSettingForm1->SpeedButton3, "30704");
    EXPECT_EQ(IPSettingForm1->ShowModal(), mrOk);
    EXPECT_FALSE(Caution2Form->Visible());
    EXPECT_EQ(Utf8(MainForm->RemoteAddress), "127.0.0.1");
    EXPECT_EQ(Utf8(MainForm->PortNumber), "30704");
    TMemIniFile ini(MainForm->IniPath);
    EXPECT_EQ(Utf8(ini.ReadString(u"Information", u"RemoteAddress", u"")), "127.0.0.1");
    EXPECT_EQ(Utf8(ini.ReadString(u"Information", u"PortNumber", u"")), "30704");
}

}  // namespace
