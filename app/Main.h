#pragma once
// The workbench's main window: the owner of the modem link (its port events, what its replies
// show, connection control and line signals), the model choice, the pages of the control-and-test
// area and the air monitor, and the shutdown with its farewell to the modem.
//
// Threads: the port delivers its events on its own event thread (smNone). Those handlers touch
// no control: they work on the ring and on atomic flags, and hand everything that shows to the
// main thread with TThread::Queue, in the order it arrived. Everything else runs on the main
// thread, the link's parser and sender in the application's idle passes.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "app/CHPlan.h"
#include "app/link/ModemLink.h"
#include "controls/instrument/MvBar.h"
#include "controls/instrument/MvCBitBt.h"
#include "controls/instrument/MvLED.h"
#include "controls/instrument/MvNumEdit.h"
#include "controls/instrument/MvOpHour.h"
#include "controls/instrument/MvVSlide.h"
#include "controls/instrument/VrButtons.h"
#include "controls/instrument/VrThreads.h"
#include "controls/styled/AdvCombo.h"
#include "controls/styled/AdvEdit.h"
#include "controls/styled/AdvGroupBox.h"
#include "controls/styled/AdvToolBtn.h"
#include "controls/styled/GradientLabel.h"
#include "platform/chart/Series.h"
#include "platform/net/TcpClient.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"
#include "serial/CPort.h"

// The executable's path as start-up reads it: ParamStr(0), unless a test has put the program in
// a folder of its own (each test has one: tests run in parallel processes).
String ProgramPath();
void SetProgramPathForTests(const String& path);

// Waits t milliseconds while handling messages (timers, buttons and menus run meanwhile, the
// idle event does not). Measured on the process clock's monotonic count.
bool WaitTime(int t);

// The texts the window reports with (beep and message box).
extern const char* const kApplicationErrorText;
extern const char* const kSendErrorText;

class TMainForm : public TForm, public TModelPlan, public TModemLink {
public:
    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;
    const char* ClassName() const override { return "TMainForm"; }

    // ---- components ------------------------------------------------------------------------
    TComPort* ComPort1;
    TApplicationEvents* ApplicationEvents1;
    TVrTimer* VrTimer1;
    TVrTimer* VrTimer2;
    TVrTimer* VrTimer3;
    TFontDialog* FontDialog1;

    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* Imageviewer2;
    TMenuItem* Closet1;
    TMenuItem* Setting1;
    TMenuItem* SetCom;
    TMenuItem* Option1;
    TMenuItem* Help1;
    TMenuItem* Version1;
    // The air monitor's menu and the terminal's.
    TPopupMenu* PopupMenu1;
    TMenuItem* Savegraphdata2;
    TMenuItem* Loadgraphdata2;
    TMenuItem* Saveimagefile2;
    TMenuItem* Printgraph2;
    TMenuItem* Option2;
    TPopupMenu* PopupMenu2;
    TMenuItem* Font1;

    // Top panel.
    TPanel* Panel1;
    TVrDemoButton* VrDemoButton3;   // port button
    TVrDemoButton* VrDemoButton2;   // port settings
    TVrDemoButton* VrDemoButton33;  // restart
    TComboBox* ComboBox5;           // model
    TMvLED* MvLED88;                // port lamp
    TVrPowerButton* VrPowerButton5;  // DSR
    TVrPowerButton* VrPowerButton6;  // CTS
    TVrPowerButton* VrPowerButton7;  // DTR
    TMvColBitBtn* MvColBitBtn4;     // communication mode
    TMvNumEdit* MvNumEdit10;        // channel, hexadecimal
    TMvNumEdit* MvNumEdit11;        // channel, decimal

    TStatusBar* StatusBar1;
    // Bottom bar: the air monitor's memo panel.
    TPanel* Panel2;
    TSpeedButton* SpeedButton6;
    TEdit* Edit3;  // user memo
    TEdit* Edit4;  // date and time
    TEdit* Edit5;  // file name

    TPageControl* PageControl1;
    TTabSheet* TabSheet4;  // control and test
    TTabSheet* TabSheet1;  // air monitor

    // Terminal.
    TMemo* Memo1;
    TRadioGroup* RadioGroup3;
    VIzeVadarEdu* AdvComboBox1;
    TAdvToolButton* AdvToolButton1;
    TAdvToolButton* AdvToolButton2;
    TLabeledEdit* LabeledEdit3;

    TPageControl* PageControl5;
    TTabSheet* TabSheet3;   // commands
    TTabSheet* TabSheet15;  // functions
    TTabSheet* TabSheet9;   // contact test
    TComboBox* ComboBox1;
    TComboBox* ComboBox6;
    TComboBox* ComboBox7;
    TRadioGroup* RadioGroup1;
    TMvNumSpin* MvNumSpin12;
    // Lamps by their number: MvLED[17] is the component "MvLED17"; 9..40 are placed here.
    std::array<TMvLED*, 41> MvLED{};
    TMvNumEdit* MvNumEdit3;
    TMvNumEdit* MvNumEdit6;
    TMvNumEdit* MvNumEdit7;
    TMvNumEdit* MvNumEdit8;
    TMvNumEdit* MvNumEdit9;

    // Air monitor.
    TPageControl* PageControl2;
    TTabSheet* TabSheet5;  // frequency domain
    TTabSheet* TabSheet6;  // time domain
    TMemo* Memo2;
    TChart* Chart1;
    TBarSeries* Series1;
    TBarSeries* Series3;
    TChart* Chart2;
    TAreaSeries* AreaSeries1;
    TMvColBitBtn* MvColBitBtn15;
    TMvColBitBtn* MvColBitBtn1;
    TMvVSlider* MvVSlider1;
    TMvVSlider* MvVSlider3;
    TMvBar* MvBar1;
    TMvBar* MvBar2;
    TComboBox* ComboBox2;
    TComboBox* ComboBox3;
    TComboBox* ComboBox4;
    TMvNumSpin* MvNumSpin3;

    // The window's streams: memory streams 1..3, byte streams 1..2 and a string stream.
    std::unique_ptr<TMemoryStream> MemoryStream1, MemoryStream2, MemoryStream3;
    std::unique_ptr<TMemoryStream> ByteStream1, ByteStream2;
    std::unique_ptr<TStringStream> StringStream1;

    // ---- start-up, settings, shutdown --------------------------------------------------------
    String ExeDir;   // the program's folder, with a trailing "/"
    String IniPath;
    // File dialogs start in the folder last used for their kind of file (graph data files,
    // pictures), else in the settings file's folder.
    String GraphFolder, PictureFolder;
    String DialogFolder(const String& last) const;
    // A file's folder becomes the one its kind's dialogs start in.
    static void NoteFolder(String& last, const String& file);
    // The proposed name of a save dialog: the memo panel's file name with the extension, none
    // when the panel names no file.
    String ProposedName(const String& extension) const;
    // Runs write; a failure says which file and why, and answers false.
    bool SaveFile(const String& file, const std::function<void()>& write);
    String Destination;
    String FormCaptionPrefix;
    // Colours of the settings file, by key ("Font" and "Back" of the terminal are ContFont and
    // ContBack).
    TColor ContFont = 0xFFFFFF, ContBack = 0x800000;
    TColor c1Main = 0xF0CAA6, c1Over = 0xFF0000, c1Peak = 0x808080, c1Start = 0xC4CCD2, c1End = 0xFFFFFF,
           c1ThreLine = 0xFF0000, c1AnaLine1 = 0x0000FF, c1AnaLine2 = 0x808000, c1CenterLine = 0x808080;
    TColor c2Main = 0xF0CAA6, c2Over = 0xFF0000, c2Start = 0xC4CCD2, c2End = 0xFFFFFF, c2ThreLine = 0xFF0000,
           c2AnaLine = 0x0000FF, c2CenterLine = 0x808080, c2Point = 0xFF0000, c2AreaLine = 0x000000;

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void Closet1Click(TObject* Sender);
    void ApplicationEvents1Exception(TObject* Sender, Exception& E);
    void Font1Click(TObject* Sender);
    void FontDialog1Apply(TObject* Sender, HWND Wnd);
    void setColor();

    // ---- pages ---------------------------------------------------------------------------------
    void PageControl1Changing(TObject* Sender, bool& AllowChange);
    void PageControl1Change(TObject* Sender);
    // Enabled of a control group: 1 the measurement starts, send buttons and threshold sliders;
    // 2 the control-and-test page; 3 the port and port-setting buttons; 4 as 3 and the menu
    // item SetCom. Other groups: nothing.
    void EnableControls(int group, bool Value);

    // ---- model choice ----------------------------------------------------------------------------
    String LinkType;
    int CurMinTm = 0, CurMaxTm = 5000;
    int ScanStartCh = 0, ScanEndCh = 0;
    uint8_t ScanCh = 0;
    uint8_t LogChannel = 0;
    std::array<int, 128> LevelTable{};
    std::array<int, 128> PeakTable{};
    std::array<int, 5001> SampleTable{};
    void ComboBox5Change(TObject* Sender);
    void SetupFreqGraph();
    void SetupTimeGraph();
    // The frequency of a channel of the chosen model; empty when none.
    void ChannelFreqText(int channel, String& text) const;

    // ---- the modem link's events and its owner's part (MainLink.cpp, MainHandlers.cpp) ----------
    void ComPort1TxEmpty(TPersistent* Sender);
    void ComPort1RxChar(TPersistent* Sender, int Count);
    void ApplicationEvents1Idle(TObject* Sender, bool& Done);
    bool PortConnected() override;
    void PortWrite(const String& text) override;
    void PortPurge() override;
    void LinkWait(int ms) override;
    void ShowSentLine(const String& line) override;
    void SendFailed() override;
    void ShowStatus(int panel, const String& text) override;
    bool AirMonitorShown() override;
    void LinkModeChanged(int value) override;
    void ShowDioPort(int value) override;
    void ShowOutputPort(int value) override;
    void ShowCommMode(int value) override;
    void ShowSpreadingFactor(int value) override;
    void RouteResultResponse(int value) override;
    void ShowChannel(int value) override;
    void ShowUniqueId(const String& digits) override;
    void LogLevel(const String& level) override;
    void ShowPortState() override;
    void TransferReceived(const std::string& bytes) override;
    void MvNumEdit3ValueChanged(TObject* Sender);
    void MvNumEdit8ValueChanged(TObject* Sender);

    // ---- connection and line signals -----------------------------------------------------------
    std::atomic<uint8_t> PortInUse{0};  // read by the event thread's DSR handler
    int SavedModelIndex = 0;
    void VrDemoButton3Click(TObject* Sender);
    void ComPort1DSRChange(TPersistent* Sender, bool OnOff);
    void ComPort1CTSChange(TPersistent* Sender, bool OnOff);
    void ComPort1Error(TPersistent* Sender, TComErrors Errors);
    void MvLED88StatusChanged(TObject* Sender);
    void SetLineDTR(bool on);

    // ---- the terminal ---------------------------------------------------------------------------
    // Inserts text at the caret of a memo, replacing its selection.
    static void MemoInsert(TMemo* memo, const String& text);
    // A line of the terminal: text and CR LF at Memo1's caret.
    void TerminalLine(const String& text) { MemoInsert(Memo1, text + "\r\n"); }

    // ---- port settings, TCP side channel, version box ------------------------------------------
    TTcpClient* TcpClient1;
    // The device server of the TCP side channel, as the address dialog sets them.
    String RemoteAddress;
    String PortNumber;
    // The side channel's receive buffer: the connection reads up to 10 bytes, DTR answers 5.
    std::array<uint8_t, 10> TcpRxBuf{};
    // Port settings: also the restart button and the menu item "COMﾎﾟｰﾄ" (F2).
    void VrDemoButton2Click(TObject* Sender);
    // The port button's caption for a port: a device path without its "/dev/", so that it fits.
    static String PortButtonCaption(const String& port);
    void Version1Click(TObject* Sender);
    void TcpClient1Connect(TObject* Sender);
    void TcpClient1Disconnect(TObject* Sender);
    void TcpClient1Receive(TObject* Sender, char* Buf, int& DataLen);
    void TcpClient1Error(TObject* Sender, int SocketError);

    // ---- control-and-test pages: terminal, input lines, command, function and contact pages ----
    // Terminal and input lines.
    TMemo* Memo3;  // code screen
    TLabeledEdit* LabeledEdit1;  // Memo1's lines
    TLabeledEdit* LabeledEdit2;  // Memo1's length
    TLabeledEdit* LabeledEdit6;  // line 2's length
    VIzeVadarEdu* AdvComboBox2;
    VIzeVadarEdu* AdvComboBox5;  // line 3
    VIzeVadarEdu* AdvComboBox6;  // line 4
    TAdvToolButton* AdvToolButton3;
    TAdvToolButton* AdvToolButton4;
    TAdvToolButton* AdvToolButton5;  // clear the monitor
    TSpeedButton* SpeedButton7;   // clear line 1
    TSpeedButton* SpeedButton11;  // clear line 2
    TSpeedButton* SpeedButton19;  // clear line 3
    TSpeedButton* SpeedButton21;  // clear line 4
    TVrDemoButton* VrDemoButton48;  // code display
    TMvColBitBtn* MvColBitBtn8;     // test data to line 1
    TMvColBitBtn* MvColBitBtn9;     // binary code sender
    TMvNumSpin* MvNumSpin1;    // number converter, hexadecimal
    TMvNumSpin* MvNumSpin13;   // number converter, decimal
    TAdvEdit* AdvEdit1;     // number converter, binary
    TMenuItem* SelectAll1;
    TMenuItem* Copy1;
    TMenuItem* CodeClear1;
    TMenuItem* MainClear1;
    TMenuItem* Line1Send1;
    TMenuItem* Line1Clear1;
    TMenuItem* Line2Send1;
    TMenuItem* Line2Clear1;
    TMenuItem* ScreenColor1;
    TMenuItem* CaretToEnd1;
    String LastSentLine;
    // The input lines by number (1..4), with their send buttons.
    VIzeVadarEdu* InputLine(int n) const;
    TAdvToolButton* SendButton(int n) const;
    void AdvToolButton1Click(TObject* Sender);
    void AdvToolButton2Click(TObject* Sender);
    void AdvToolButton3Click(TObject* Sender);
    void AdvToolButton4Click(TObject* Sender);
    void AdvComboBoxKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void AdvComboBoxKeyPress(TObject* Sender, char16_t& Key);
    void AdvComboBoxKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void AdvComboBox1Change(TObject* Sender);
    void AdvComboBox2Change(TObject* Sender);
    void Memo1Change(TObject* Sender);
    void Memo3Change(TObject* Sender);
    void Memo1DblClick(TObject* Sender);
    void Memo3DblClick(TObject* Sender);
    void AdvToolButton5Click(TObject* Sender);
    void VrDemoButton48Click(TObject* Sender);
    void MvColBitBtn8Click(TObject* Sender);
    void MvColBitBtn9Click(TObject* Sender);
    void MvNumSpin1ValueChanged(TObject* Sender);
    void MvNumSpin13ValueChanged(TObject* Sender);
    void ScreenColor1Click(TObject* Sender);

    // Command page.
    DAzuVidazEra* GroupBox1;  // "設定"
    std::vector<TVrDemoButton*> CommandButtons;  // the shared handler's buttons, by their Tag
    TVrDemoButton* VrDemoButton1;   // channel
    TVrDemoButton* VrDemoButton10;  // group ID
    TVrDemoButton* VrDemoButton29;  // equipment ID
    TVrDemoButton* VrDemoButton30;  // destination ID
    TVrDemoButton* VrDemoButton9;   // link parameters to their start values
    TVrDemoButton* VrDemoButton52;  // link IDs
    TVrDemoButton* VrDemoButton36;  // user ID to its start value
    TVrDemoButton* VrDemoButton14;  // FSK mode
    TVrDemoButton* VrDemoButton4;   // LoRa mode
    void VrDemoButton26Click(TObject* Sender);
    void SettingButtonClick(TObject* Sender);

    // Functions page: air time, test data, mode, repeat send.
    TMvNumEdit* MvNumEdit12;  // payload length
    TMvNumEdit* MvNumEdit4;   // air time
    TMvNumEdit* MvNumEdit5;   // air time + margin
    TLabel* Label31;          // "拡散率"
    TLabel* Label32;          // the margin
    TVrDemoButton* VrDemoButton16;  // recalculate (hidden)
    TMvColBitBtn* MvColBitBtn10;    // test data
    TMvColBitBtn* MvColBitBtn11;    // mode query
    TMvColBitBtn* MvColBitBtn12;    // mode to memory
    DAzuVidazEra* GroupBox2;     // repeat send
    TMvColBitBtn* MvColBitBtn13;    // repeat send on/off
    TMvNumSpin* MvNumSpin10;        // interval
    TMvNumSpin* MvNumSpin7;         // count
    TLabel* Label46;                // sent so far
    TTimer* Timer13;
    int RepeatCount = 0;
    void VrDemoButton16Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void MvNumSpin12Change(TObject* Sender);
    void MvColBitBtn10Click(TObject* Sender);
    void MvColBitBtn13StatusChanged(TObject* Sender);
    void Timer13Timer(TObject* Sender);
    void RepeatSpinChange(TObject* Sender);

    // Contact-test page.
    std::vector<DAzuVidazEra*> ContactGroups;
    std::vector<TGradientLabel*> SectionLabels;
    TMvNumEdit* MvNumEdit1;  // port directions
    TMvNumEdit* MvNumEdit2;  // output levels to send
    TVrDemoButton* VrDemoButton5;   // I/O of DIO1
    TVrDemoButton* VrDemoButton6;   // DIO2
    TVrDemoButton* VrDemoButton11;  // DIO3, DIO4
    TVrDemoButton* VrDemoButton12;  // DIO5..DIO8
    TVrDemoButton* VrDemoButton35;  // port setting
    TCheckBox* CheckBox5;           // keep in memory
    TMvColBitBtn* MvColBitBtn16;    // output port setting
    TMvColBitBtn* MvColBitBtn7;     // own levels
    TMvColBitBtn* MvColBitBtn3;     // remote levels
    TMvColBitBtn* MvColBitBtn2;     // send levels
    TVrDemoButton* VrDemoButton47;  // port check
    TVrDemoButton* VrDemoButton40;  // "@PM10"
    TVrDemoButton* VrDemoButton41;  // "@PM00"
    TVrDemoButton* VrDemoButton42;  // "@PM20"
    void PageControl5Change(TObject* Sender);
    void DirectionButtonClick(TObject* Sender);
    void PortSettingCommand();
    void MvLED17StatusChanged(TObject* Sender);
    void MvLED1StatusChanged(TObject* Sender);

    // ---- air monitor: measurements, charts, graph files, pictures (Monitor*.cpp) --------------
    TTimer* Timer1;                 // time-domain sampling clock
    TMvNumSpin* MvNumSpin2;         // sampling interval, ms
    TRadioGroup* RadioGroup4;       // repeat / one shot
    TCheckBox* CheckBox1;           // sample markers
    TCheckBox* CheckBox2;           // area lines
    TCheckBox* CheckBox3;           // peak bars shown
    TSpeedButton* SpeedButton17;    // clear the peaks
    TSpeedButton* SpeedButton5;     // empty the level log
    TSpeedButton* SpeedButton8;     // empty the user memo
    TSpeedButton* SpeedButton12;    // empty the file name
    TSpeedButton* SpeedButton18;    // date and time now
    TMvColBitBtn* MvColBitBtn14;    // elapsed-time counter: start / stop
    TMvOpHourCounter* MvOpHourCounter1;
    TImage* Image1;                 // hidden: the JPEG export's picture
    TSaveDialog* SaveDialog1;
    TOpenDialog* OpenDialog1;
    TOpenPictureDialog* OpenPictureDialog1;
    TPrintDialog* PrintDialog1;
    TColorDialog* ColorDialog1;  // the screen colour and the option box's colours
    TMenuItem* Zoomout1;
    TMenuItem* Zoom2;
    TMenuItem* Zoom1;
    TMenuItem* N3;
    TMenuItem* Appearance1;  // "ｸﾞﾗﾌ外観"
    TMenuItem* N3D1;
    TMenuItem* Normal1;
    TMenuItem* BarStyle1;    // "ﾊﾞｰｽﾀｲﾙ"
    TMenuItem* LED1;
    TMenuItem* Point1;
    TMenuItem* Centerline1;
    TMenuItem* Analizeline1;
    TMenuItem* Copytoclipboard1;
    TMenuItem* Imageviewer1;

    int SampleIndex = 1;
    int AnalysisMark = 0;  // 0 none, 1 a level bar or sample, 3 a peak bar
    int MarkFreqIndex = 0;
    int MarkTimeIndex = 0;

    // Frequency domain.
    void MvColBitBtn15StatusChanged(TObject* Sender);
    void MvColBitBtn15Click(TObject* Sender);
    void RssiNoiseLevel(int value) override;
    void AirMonitorLevel(int value) override;
    void LastRssiLevel(int value) override;
    void ComboBox2Change(TObject* Sender);
    void ComboBox3Change(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void SpeedButton17Click(TObject* Sender);
    void PageControl2Changing(TObject* Sender, bool& AllowChange);
    void PageControl2Change(TObject* Sender);
    // Time domain and the elapsed-time counter.
    void MvColBitBtn1StatusChanged(TObject* Sender);
    void MvColBitBtn1Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void ComboBox4Change(TObject* Sender);
    void MvNumSpin3ValueChanged(TObject* Sender);
    void MvNumSpin2ValueChanged(TObject* Sender);
    void RadioGroup4Click(TObject* Sender);
    void MvColBitBtn14Click(TObject* Sender);
    void MvOpHourCounter1Click(TObject* Sender);
    // Charts.
    void Chart1AfterDraw(TObject* Sender);
    void Chart2AfterDraw(TObject* Sender);
    void Series1Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Series3Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y);
    void AreaSeries1Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y);
    void MvVSlider1ValueChange(TObject* Sender);
    void MvVSlider3ValueChange(TObject* Sender);
    void ZoomMenuClick(TObject* Sender);  // Zoomout1, Zoom2, Zoom1
    void N3D1Click(TObject* Sender);
    void Normal1Click(TObject* Sender);
    void LED1Click(TObject* Sender);
    void Point1Click(TObject* Sender);
    void Centerline1Click(TObject* Sender);
    void Analizeline1Click(TObject* Sender);
    void SpeedButton6Click(TObject* Sender);
    void SpeedButton18Click(TObject* Sender);
    void SpeedButton8Click(TObject* Sender);
    void SpeedButton12Click(TObject* Sender);
    void SpeedButton5Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    // Graph data files, pictures, printing, clipboard, viewer and options.
    void Savegraphdata2Click(TObject* Sender);
    void Loadgraphdata2Click(TObject* Sender);
    void Saveimagefile2Click(TObject* Sender);
    void Printgraph2Click(TObject* Sender);
    void Copytoclipboard1Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void Option1Click(TObject* Sender);
    // A level as the readouts write it: at most four decimals, no trailing zeros ("-100.6").
    static String LevelText(double level);
    // The 18 chart colours of the settings file's "Graph color", in the file's order.
    struct TColorKey {
        const char16_t* Key;
        TColor TMainForm::*Value;
        TColor Default;
    };
    static const std::array<TColorKey, 18>& GraphColorKeys();

private:
    void BuildMonitorControls();
    void WireMonitorEvents();
    // What both level replies do on the control page (a terminal line) and the time page (a
    // sample); false on the frequency page, whose handling differs.
    bool LevelElsewhere(int level);
    // The sweep step of an "RA" or "AM" reply.
    void SweepStep(int level);
    void SampleStep(int level);
    // Bars of ScanStartCh..ScanEndCh (inside the tables) from LevelTable with threshold colours.
    void ShowLevelBars();
    // Points 0..N from SampleTable with threshold colours.
    void ShowSamples();
    // The threshold line, centre marker and analysis lines of one chart.
    void DrawOverlay(TChart* chart, double threshold, TColor threLine, TColor centerLine);
    void DrawAnalysisLines(TChart* chart, TChartSeries* series, int index, TColor color);
    // The chart of the page PageControl2 shows, and the one of MeasureMode (nullptr for 0).
    TChart* ShownChart() const;
    TChart* MeasuredChart() const;
    void SetLevelAxis(TObject* Sender);

private:
    void BuildControls();
    void EmptyStreams();
    void BuildMenus();
    void BuildTopPanel();
    void BuildTerminalPage();
    void BuildCommandPage();
    void BuildFunctionsPage();
    void BuildContactPage();
    void BuildTerminalMenu();
    void BindControlPages();
    // Sends what an input line holds (the road of every send button).
    void SendInputLine(VIzeVadarEdu* line);
    // Queues commands straight, the first at once: given in sending order.
    void QueueNow(const std::vector<String>& commands);
    // Puts a command into input line 2 and sends it from there.
    void SendFromLine2(const String& command);
    // A line's text set by the program: the counts follow it as they follow typing.
    void SetLineText(VIzeVadarEdu* line, const String& text);
    // Shows the test packet generator and puts its packet into line 1.
    void TestDataToLine1();
    // The program writes a spin's value: its change event is the user's and stays quiet.
    bool FProgramWritesSpin = false;
    bool UserChangesSpin(TMvNumSpin* spin) const;
    void BuildAirMonitorPage();
    // A farewell line straight to the port, then 250 ms for the modem.
    void FarewellLine(const String& line);
    void OpenLink();
    void CloseLink();
    // Runs f on the main thread: at once when called there, else queued behind what the event
    // thread queued before, and dropped if the window is gone by then.
    void OnMainThread(std::function<void()> f);
    // The side channel's client and the handlers of the port settings and the version box.
    void BuildPortSettings();
    // Connects the side channel to RemoteAddress:PortNumber.
    void ConnectSideChannel();
    // Reads what the device server sends while it keeps sending (500 ms each), up to count bytes
    // a read, then lists bytes 0 to count - 1 of the receive buffer.
    void ListServerAnswer(int count);

    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
};

extern TMainForm* MainForm;
