// The main window's life: creation with its settings file, the exception event, the message-
// pumping wait, the page changes of the outer page control, and the shutdown.
#include "app/Main.h"

#include <initializer_list>

#include "app/Caution2.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Cursors.h"
#include "platform/win/Window.h"

TMainForm* MainForm = nullptr;

const char* const kApplicationErrorText = "     ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。";
const char* const kSendErrorText = "受信中にｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。";

namespace {

String gProgramPath;

const char* const kTitleLine0 = "< Air monitor >   Model name:     File name:     Date: ";

}  // namespace

String ProgramPath() { return gProgramPath.empty() ? ParamStr(0) : gProgramPath; }

void SetProgramPathForTests(const String& path) { gProgramPath = path; }

bool WaitTime(int t) {
    // Measured in microseconds: the tick count's whole milliseconds would add up to one more to
    // every wait, and the 5 ms wait before each command is the link's pacing.
    rtl::Clock& clock = rtl::CurrentClock();
    const uint64_t end = clock.MonotonicUs() + static_cast<uint64_t>(std::max(0, t)) * 1000;
    for (;;) {
        Application->ProcessMessages();
        const uint64_t now = clock.MonotonicUs();
        if (now >= end) break;
        // Slices of at most 10 ms, the last one only as long as what is left.
        clock.SleepUs(std::min<uint64_t>(10000, end - now));
    }
    return true;
}

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    BuildControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    ApplicationEvents1->OnIdle = [this](TObject* s, bool& done) { ApplicationEvents1Idle(s, done); };
    ApplicationEvents1->OnException = [this](TObject* s, Exception& e) { ApplicationEvents1Exception(s, e); };
    ComPort1->OnRxChar = [this](TPersistent* s, int n) { ComPort1RxChar(s, n); };
    ComPort1->OnTxEmpty = [this](TPersistent* s) { ComPort1TxEmpty(s); };
    ComPort1->OnDSRChange = [this](TPersistent* s, bool on) { ComPort1DSRChange(s, on); };
    ComPort1->OnCTSChange = [this](TPersistent* s, bool on) { ComPort1CTSChange(s, on); };
    ComPort1->OnError = [this](TPersistent* s, TComErrors e) { ComPort1Error(s, e); };
    PageControl1->OnChanging = [this](TObject* s, bool& allow) { PageControl1Changing(s, allow); };
    PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
    FontDialog1->OnApply = [this](TObject* s, HWND w) { FontDialog1Apply(s, w); };
    BindControlPages();
}

TMainForm::~TMainForm() {
    // Work the event thread queued for this window finds it gone.
    FAlive->store(false);
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::FormCreate(TObject* Sender) {
    // 1. Pages.
    PageControl1->SetActivePage(TabSheet4);
    PageControl5->SetActivePage(TabSheet3);
    PageControl2->SetActivePage(TabSheet5);
    // 2. Cursors.
    for (int i = 1; i <= 5; ++i) Screen->SetCursors(i, LoadCursor(HInstance, String("RZ3_") + IntToStr(i)));
    VrDemoButton3->SetCursor(4);
    PageControl1->SetCursor(5);
    PageControl2->SetCursor(5);
    AdvToolButton1->SetCursor(2);
    AdvToolButton2->SetCursor(2);
    MvColBitBtn15->SetCursor(3);
    MvColBitBtn1->SetCursor(3);
    // 3, 4. Where the program is, and the port's settings from its file.
    ExeDir = IncludeTrailingPathDelimiter(ExtractFilePath(ProgramPath()));
    IniPath = ChangeFileExt(ProgramPath(), String(".ini"));
    ComPort1->LoadSettings(stIniFile, IniPath);
    // 5, 6, 7.
    Randomize();
    Memo1->Perform(EM_LIMITTEXT, 300000, 0);
    Memo2->Perform(EM_LIMITTEXT, 300000, 0);
    MvLED88->SetChecked(false);
    for (TVrPowerButton* b : {VrPowerButton5, VrPowerButton6, VrPowerButton7}) b->SetActive(false);
    // 8. The link.
    ResetLink();
    MeasureMode = 0;
    RequestKind = 11;
    FramePos = 0;
    // 9, 10. The charts' points.
    Chart2->BottomAxis()->SetMaximum(MvNumSpin3->Value());
    CurMinCh = 0;
    CurMaxCh = 127;
    CurMinTm = 0;
    CurMaxTm = 5000;
    Series1->Clear();
    Series3->Clear();
    for (int ch = 0; ch <= 127; ++ch) {
        Series1->AddXY(ch, -140.0);
        LevelTable[static_cast<size_t>(ch)] = -140;
        Series3->AddXY(ch, -140.0);
        PeakTable[static_cast<size_t>(ch)] = -140;
    }
    AreaSeries1->Clear();
    for (int x = 0; x <= 5000; ++x) {
        AreaSeries1->AddXY(x, -140.0);
        SampleTable[static_cast<size_t>(x)] = -140;
    }
    // 11. The settings file: read, then written back whole (so a missing file is created).
    String iconName;
    {
        TMemIniFile ini(IniPath);
        ContFont = ini.ReadInteger(u"ContWin color", u"Font", 0xFFFFFF);
        ContBack = ini.ReadInteger(u"ContWin color", u"Back", 0x800000);
        for (const TColorKey& c : GraphColorKeys()) this->*c.Value = ini.ReadInteger(u"Graph color", c.Key, c.Default);
        Destination = ini.ReadString(u"Information", u"destination", u"All");
        FormCaptionPrefix = ini.ReadString(u"Application", u"FormCaption", u"Error !!");
        Application->SetTitle(ini.ReadString(u"Application", u"AppTitle", u"Error!!"));
        iconName = ini.ReadString(u"Application", u"AppIcon", u"Error !!");
        ini.ReadInteger(u"Application", u"RTScontrol", 0);  // read, not used
        CpuPower = ini.ReadInteger(u"Application", u"CPUpower", 1);
        ini.UpdateFile();
    }
    // 12, 13. Colours and the icon: a missing icon stops the creation here.
    setColor();
    {
        TIcon icon;
        icon.LoadFromFile(ExeDir + iconName);
        Application->Icon()->Assign(&icon);
        Icon()->Assign(&icon);
    }
    // 14, 15, 16, 17.
    ComboBox5->Clear();
    ComboBox5->SetText(String("ﾓﾃﾞﾙ名を選んで下さい。"));
    CurGWidth = 100;
    FillModelList(Destination, ComboBox5->Items());
    VrDemoButton3->SetCaption(PortButtonCaption(ComPort1->Port()));
    PendingCount = 0;
    const TDateTime now = Now();
    Edit4->SetText(FormatDateTime(String("ddddd"), now) + " " + FormatDateTime(String("t"), now));
    // 18. Title lines.
    for (TChart* c : {Chart1, Chart2}) {
        c->Title()->Clear();
        c->Title()->Add(String(kTitleLine0));
        c->Title()->Add(String("User Memo:"));
        c->Title()->Add(String("Channel:       ch  / Freq.:        MHz   /   Level:       dBm"));
    }
    // 19 .. 24.
    for (String& slot : CmdQueue) slot.clear();
    Application->SetHintHidePause(5000);
    CaptureState = 3;
    CapturePhase = 3;
    EmptyStreams();
    PartsStored = 0;
    UserCommandFlag = 0;
    SetBounds(0, 0, Width(), Height());
    SavedModelIndex = 0;
    for (int ch = 7; ch <= 46; ++ch) ComboBox1->Items()->Add(IntToHex(ch, 2) + "  " + IntToStr(ch));
    for (int v = 0; v <= 255; ++v) ComboBox6->Items()->Add(IntToHex(v, 2) + "  " + IntToStr(v));
    for (int v = 0; v <= 255; ++v) ComboBox7->Items()->Add(IntToHex(v, 2));
}

void TMainForm::FormClose(TObject* Sender, TCloseAction& Action) {
    PortInUse = 0;
    if (!ComPort1->Connected()) return;
    // The farewell: the channel and equipment ID the modem reported, straight to the port. A
    // value the modem never reported since the open is not written (it would overwrite the
    // modem's own setting with a value of the workbench).
    if (FChannelReported) FarewellLine(String("@CH") + IntToHex(CurrentChannel, 2));
    if (FEquipmentIdReported) FarewellLine(String("@EI") + IntToHex(SavedEquipmentId, 2));
    ComPort1->Close();
}

void TMainForm::FarewellLine(const String& line) {
    ComPort1->WriteStr(line + "\r\n");
    // The modem's 250 ms run from the moment the line has left the port, not from the moment the
    // driver took it (the write's time-out bounds the wait).
    const uint64_t limit = GetTickCount64() + 3000;
    while (ComPort1->OutputCount() > 0 && GetTickCount64() < limit) WaitTime(1);
    // The driver's queue is empty once the port's transmitter holds the line: its own time on
    // the wire (10 bits a byte) comes before the modem's 250 ms.
    int bitsPerSecond = ComPort1->CustomBaudRate();
    if (ComPort1->BaudRate() != brCustom) {
        String rate;
        BaudRateName(ComPort1->BaudRate(), rate);
        if (!TryStrToInt(rate, bitsPerSecond)) bitsPerSecond = 0;
    }
    const int lineMs = bitsPerSecond > 0 ? (static_cast<int>(line.size() + 2) * 10000 + bitsPerSecond - 1) / bitsPerSecond : 0;
    WaitTime(250 + lineMs);
}

void TMainForm::FormDestroy(TObject* Sender) {
    ComPort1->Close();
    EmptyStreams();
    if (LinkType == "TCP/IP") TcpClient1->Disconnect();
}

void TMainForm::EmptyStreams() {
    for (TMemoryStream* m : {MemoryStream1.get(), MemoryStream2.get(), MemoryStream3.get(), ByteStream1.get(), ByteStream2.get()})
        m->Clear();
    StringStream1->SetSize(0);
}

void TMainForm::Closet1Click(TObject* Sender) { Application->Terminate(); }

void TMainForm::ApplicationEvents1Exception(TObject* Sender, Exception& E) {
    MessageBeep(MB_ICONEXCLAMATION);
    ShowMessage(String(kApplicationErrorText));
}

void TMainForm::Font1Click(TObject* Sender) {
    if (FontDialog1->Execute()) FontDialog1Apply(Sender, nullptr);
}

void TMainForm::FontDialog1Apply(TObject* Sender, HWND Wnd) {
    // Only a memo or a one-line edit takes the font.
    if (auto* edit = dynamic_cast<TCustomEdit*>(ActiveControl())) edit->SetFont(FontDialog1->Font());
}

void TMainForm::PageControl1Changing(TObject* Sender, bool& AllowChange) {
    MvColBitBtn15->SetChecked(false);
    MvColBitBtn1->SetChecked(false);
    ComboBox4->SetText(IntToStr(CurrentChannel));
    AllowChange = true;
}

void TMainForm::PageControl1Change(TObject* Sender) {
    RequestKind = 0;
    for (TMenuItem* m : {SetCom, Savegraphdata2, Loadgraphdata2, Printgraph2, Saveimagefile2}) m->SetEnabled(false);
    ComboBox4->SetText(IntToStr(CurrentChannel));
    RespReady = 1;
    const bool control = PageControl1->ActivePage() == TabSheet4;
    for (TControl* c : std::initializer_list<TControl*>{SpeedButton6, Edit3, Edit4, Edit5, SpeedButton8, SpeedButton12,
                                                        SpeedButton18})
        c->SetVisible(!control);
    if (control) {
        CommandOut(1, String("@CH") + IntToHex(HomeChannel, 2));
        VrDemoButton2->SetEnabled(true);
        VrDemoButton3->SetEnabled(true);
        SetCom->SetEnabled(true);
        MeasureMode = 0;
        SetPopupMenu(PopupMenu2);
        return;
    }
    CommandOut(1, String("@CH"));
    SetPopupMenu(PopupMenu1);
    VrDemoButton2->SetEnabled(false);
    VrDemoButton3->SetEnabled(false);
    for (TMenuItem* m : {Savegraphdata2, Loadgraphdata2, Printgraph2, Saveimagefile2}) m->SetEnabled(true);
    CaptureState = 0;
    if (PageControl2->ActivePage() == TabSheet5) {
        MeasureMode = 4;
        MvVSlider1->SetValue(-100.0f);
    } else if (PageControl2->ActivePage() == TabSheet6) {
        MeasureMode = 5;
        MvVSlider3->SetValue(-100.0f);
    }
}

void TMainForm::EnableControls(int group, bool Value) {
    switch (group) {
    case 1:
        for (TControl* c : std::initializer_list<TControl*>{MvColBitBtn15, MvColBitBtn1, AdvToolButton1, AdvToolButton2,
                                                            MvVSlider1, MvVSlider3})
            c->SetEnabled(Value);
        break;
    case 2:
        TabSheet4->SetEnabled(Value);
        break;
    case 3:
    case 4:
        VrDemoButton3->SetEnabled(Value);
        VrDemoButton2->SetEnabled(Value);
        if (group == 4) SetCom->SetEnabled(Value);
        break;
    default:
        break;
    }
}

void TMainForm::MemoInsert(TMemo* memo, const String& text) {
    // A memo whose text limit the insertion would pass starts afresh rather than cut the text and
    // lose every later line.
    const int limit = memo->MaxLength();
    if (limit > 0 && memo->Text().Length() - memo->SelLength() + text.Length() > limit) memo->Clear();
    memo->SetSelText(text);
}

void TMainForm::OnMainThread(std::function<void()> f) {
    if (IsMainThread()) {
        f();
        return;
    }
    std::shared_ptr<std::atomic<bool>> alive = FAlive;
    TThread::Queue(nullptr, [alive, f = std::move(f)] {
        if (alive->load()) f();
    });
}
