// The modem link: the command queue and its sender, the receive event and ring, the idle pass
// that drains the ring one character at a time, and the reply parser with its tables.
#include <string_view>

#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

namespace {

// The reply codes by their index; empty entries never match, and "FV" at 39 is never the first.
constexpr std::array<std::u16string_view, 49> kReplyCodes{
    u"FV", u"DR", u"DC", u"",   u"UI", u"AM", u"RA", u"RS", u"PR", u"PI", u"",   u"GI", u"EI",
    u"DI", u"DT", u"CH", u"CS", u"MD", u"",   u"",   u"",   u"",   u"CT", u"RM", u"",   u"ER",
    u"SG", u"IR", u"RT", u"RI", u"PS", u"PO", u"PT", u"PM", u"PF", u"PD", u"MO", u"SF", u"SI",
    u"FV", u"",   u"BP", u"EC", u"",   u"",   u"",   u"",   u"",   u""};

struct WordRow {
    std::u16string_view codes[4];
    std::u16string_view words[3];
};
// Codes whose value is a word: its index in the row. "VR" and "SN" have no words (always 255).
constexpr WordRow kWordRows[] = {
    {{u"VR", u"SN"}, {}},
    {{u"MD"}, {u"CD", u"TX", u"BI"}},
    {{u"PB"}, {u"NO", u"EV", u"OD"}},
    {{u"CT"}, {u"ON", u"OF"}},
    {{u"RM"}, {u"CD", u"TX"}},
    {{u"CS"}, {u"EN", u"DI"}},
    {{u"RT"}, {u"NA"}},
    {{u"RI", u"SI", u"RR", u"EC"}, {u"ON", u"OF"}},
};

const WordRow* WordRowOf(const String& code) {
    for (const WordRow& row : kWordRows)
        for (std::u16string_view c : row.codes)
            if (!c.empty() && c == std::u16string_view(code)) return &row;
    return nullptr;
}

// Two uppercase hexadecimal digits of a character's low byte.
String HexOf(char16_t c) { return IntToHex(static_cast<int>(c & 0xFF), 2); }

}  // namespace

// ---- command queue and sender ----------------------------------------------------------------

void TMainForm::CommandOut(int Count, const String& s1, const String& s2, const String& s3, const String& s4,
                           const String& s5, const String& s6, const String& s7, const String& s8) {
    const String* slots[] = {&s1, &s2, &s3, &s4, &s5, &s6, &s7, &s8};
    for (size_t i = 0; i < 8; ++i) CmdQueue[i + 1] = *slots[i];
    PendingCount = std::clamp(Count, 0, 8);
    ++FQueueGeneration;
}

void TMainForm::ComPort1TxEmpty(TPersistent* Sender) { TxReady = 1; }

bool TMainForm::SendQueued() {
    if (LinkMode == 1 || LinkMode == 2) RespReady = 1;
    if (!(RespReady == 1 && TxReady == 1 && PendingCount > 0)) return true;
    try {
        RespReady = 0;
        TxReady = 0;
        SendLine = CmdQueue[static_cast<size_t>(PendingCount)] + "\r\n";
        if (MeasureMode == 0) {
            if (RadioGroup3->ItemIndex() == 1) {
                String hex;
                for (char16_t c : SendLine) hex += HexOf(c) + " ";
                MemoInsert(Memo1, hex + "\r\n");
            } else {
                MemoInsert(Memo1, SendLine);
            }
        }
        // A handler that runs during the wait may queue anew; the line sent is then the old
        // queue's, and the new queue keeps every command.
        const uint64_t generation = FQueueGeneration;
        WaitTime(5);
        ComPort1->WriteStr(SendLine);
        if (generation == FQueueGeneration) --PendingCount;
    } catch (...) {
        MessageBeep(MB_ICONEXCLAMATION);
        ShowMessage(String(kSendErrorText));
        return false;
    }
    return true;
}

// ---- receive and idle --------------------------------------------------------------------------

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
            if (!hex) {
                MemoInsert(Memo1, text);
                return;
            }
            String shown;
            for (char16_t c : text) shown += linkMode != 0 ? HexOf(c) : HexOf(c) + " ";
            MemoInsert(Memo1, shown);
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

void TMainForm::RxParse() {
    const int waiting = RingCount();
    if (waiting > 0) {
        IdleDone = 0;
        IdleCount = 0;
    } else if (++IdleCount > CpuPower) {
        IdleDone = 1;
        IdleCount = 0;
    }
    if (LinkMode != 0 && waiting > 0) {
        RingBufGet();  // data modes: dropped unparsed; the queue waits for an empty ring
        return;
    }
    if (waiting > 0) {
        try {
            ParserStep();
        } catch (...) {
            if (ComPort1->Connected()) ComPort1->ClearBuffer(true, true);
            ClearRingBuf();
            RxState = 0;
            UserCommandFlag = 0;
            RespReady = 1;
        }
    }
    if (!SendQueued()) return;
    CaptureStep();
}

// ---- reply parser ---------------------------------------------------------------------------------

int TMainForm::ResponseCode(const String& code) {
    StatusBar1->Panels()->Items(1)->SetText(String("Response > ") + code);
    for (size_t i = 0; i < kReplyCodes.size(); ++i)
        if (!kReplyCodes[i].empty() && kReplyCodes[i] == std::u16string_view(code)) return static_cast<int>(i);
    return 255;
}

int TMainForm::ValueWordIndex(const String& code, const String& word) {
    if (const WordRow* row = WordRowOf(code))
        for (int i = 0; i < 3; ++i)
            if (!row->words[i].empty() && row->words[i] == std::u16string_view(word)) return i;
    return 255;
}

int TMainForm::ResponseValue(const String& code, const String& payload, int n) {
    const String v = payload.substr(0, static_cast<size_t>(n + 1));
    if (WordRowOf(code)) {
        StatusBar1->Panels()->Items(2)->SetText(String("Value > ") + v);
        return ValueWordIndex(code, v);
    }
    const int value = StrToInt(String("$") + v);
    StatusBar1->Panels()->Items(2)->SetText(String("Value > ") + v + "h ( " + IntToStr(value) + " )");
    return value;
}

void TMainForm::ResponseDispatch(int type, int value) {
    switch (type) {
    case 12: EquipmentIdResponse(value); break;
    case 15: ChannelResponse(value); break;
    case 17: LinkModeChanged(value); break;
    case 28: RouteResultResponse(value); break;
    case 29: RouteInfoResponse(value); break;
    case 30: ShowDioPort(value); break;
    case 31: ShowOutputPort(value); break;
    case 36: ShowCommMode(value); break;
    case 37: ShowSpreadingFactor(value); break;
    // The level replies: the measurements' handlers.
    case 5: AirMonitorLevel(value); break;
    case 6: RssiNoiseLevel(value); break;
    case 7: LastRssiLevel(value); break;
    // Every other code has none.
    default: break;
    }
}

void TMainForm::ParserStep() {
    auto frameEnd = [this] {
        ReplyPayload.clear();
        RxState = 0;
        UserCommandFlag = 0;
        RespReady = 1;
    };
    auto dispatch = [this] { ResponseDispatch(ReplyType, ReplyValue); };
    char16_t c = 0;
    // States that take no character leave it in the ring for the next pass.
    switch (RxState) {
    case 4: case 24: case 26: case 44: case 52: case 60: case 70: case 77: case 89: case 92:
        break;
    case 14:
        if (DataLength > 0) c = RingBufGet();
        break;
    case 25:
        if (ReplyValue > 0) c = RingBufGet();
        break;
    default:
        c = RingBufGet();
        break;
    }
    switch (RxState) {
    case 0:
        FramePos = 0;
        ReplyCode.clear();
        ReplyPayload.clear();
        if (c == u'*') RxState = 1;
        break;
    case 1:
    case 2:
        ReplyCode += c;
        ++RxState;
        break;
    case 3:
        if (c == u'=') {
            RxState = 4;
        } else if (c == u'S') {
            WaitTime(2000);
            RespReady = 1;
            CommandOut(1, String("@MO"));
            RxState = 0;
        }
        break;
    case 4:
        ReplyType = ResponseCode(ReplyCode);
        if (ReplyType == 7 && PageControl1->ActivePage() == TabSheet1) ReplyType = 5;
        switch (ReplyType) {
        case 0: RxState = 100; break;
        case 1: RxState = 12; break;
        case 2: RxState = 20; break;
        case 4: RxState = 40; break;
        case 5: RxState = 50; break;
        case 6: case 7: RxState = 60; break;
        case 8: RxState = 70; break;
        case 9: RxState = 80; break;
        default: RxState = ReplyType >= 11 && ReplyType <= 48 ? 90 : 0; break;
        }
        break;
    case 12:
        ReplyPayload = String(c);
        RxState = 13;
        break;
    case 13:
        ReplyPayload += c;
        DataLength = ResponseValue(ReplyCode, ReplyPayload, 1);
        FramePos = 0;
        ReplyPayload.clear();
        RxState = 14;
        break;
    case 14:
        if (DataLength > 0) {
            DataBuf[static_cast<size_t>(FramePos)] = static_cast<uint8_t>(c & 0xFF);
            if (++FramePos == DataLength) {
                FramePos = 0;
                DataReceived();
                UserCommandFlag = 0;
                RespReady = 1;
                RxState = 0;
            }
        } else {
            if (ControlPage == 0) RespReady = 1;
            UserCommandFlag = 0;
            RxState = 0;
        }
        break;
    case 20:
    case 21:
        ++RxState;
        break;
    case 22:
        ReplyPayload = String(c);
        RxState = 23;
        break;
    case 23:
        ReplyPayload += c;
        RxState = 24;
        break;
    case 24:
        ReplyValue = ResponseValue(ReplyCode, ReplyPayload, 1);
        FramePos = 0;
        ReplyPayload.clear();
        RxState = 25;
        break;
    case 25:
        if (ReplyValue == 0) {
            UserCommandFlag = 0;
            RxState = 0;
            break;
        }
        BinBuf[static_cast<size_t>(FramePos)] = static_cast<uint8_t>(c & 0xFF);
        if (++FramePos == ReplyValue) {
            FramePos = 0;
            BinaryDataReceived();
            UserCommandFlag = 0;
            RespReady = 1;
            RxState = 26;
        }
        break;
    case 26:
        RxState = 0;
        break;
    case 40: case 41: case 42: case 43:
        ReplyPayload += c;
        ++RxState;
        break;
    case 44:
        ReplyValue = ResponseValue(ReplyCode, ReplyPayload, 3);
        dispatch();
        frameEnd();
        break;
    case 50:
    case 51:
        ReplyPayload += c;
        ++RxState;
        break;
    case 52:
        ReplyValue = ResponseValue(ReplyCode, ReplyPayload, 1);
        dispatch();
        MemoInsert(Memo2, String("CH") + IntToStr(LogChannel) + IntToStr(ReplyValue - 256) + "dBm\r\n");
        frameEnd();
        break;
    case 60:
        ReplyPayload.clear();
        RxState = 61;
        break;
    case 61:
        RxState = c == u'-' ? 62 : 0;
        break;
    case 62:
    case 63:
        if (c == u'd') {
            RxState = 0;
        } else {
            ReplyPayload += c;
            ++RxState;
        }
        break;
    case 64:
        if (c == u'd') {
            RxState = 66;
        } else {
            ReplyPayload += c;
            RxState = 65;
        }
        break;
    case 65:
        RxState = c == u'd' ? 66 : 0;
        break;
    case 66:
        RxState = c == u'B' ? 67 : 0;
        break;
    case 67:
        RxState = c == u'm' ? 68 : 0;
        break;
    case 68:
        RxState = c == u'\r' ? 69 : 0;
        break;
    case 69:
        if (c == u'\n') {
            ReplyValue = StrToInt(ReplyPayload);
            dispatch();
            MemoInsert(Memo2, String("CH") + IntToStr(LogChannel) + "  -" + ReplyPayload + "dBm\r\n");
            ReplyPayload.clear();
        }
        UserCommandFlag = 0;
        RespReady = 1;
        RxState = 0;
        break;
    case 70:
        PortField1.clear();
        PortField2.clear();
        PortField3.clear();
        RxState = 71;
        break;
    case 71: case 73: case 75:
        ReplyPayload = String(c);
        ++RxState;
        break;
    case 72:
        PortField1 = ReplyPayload + c;
        RxState = 73;
        break;
    case 74:
        PortField2 = ReplyPayload + c;
        RxState = 75;
        break;
    case 76:
        PortField3 = ReplyPayload + c;
        RxState = 77;
        break;
    case 77:
        PortResponse();
        frameEnd();
        break;
    case 80:
        ReplyPayload += c;
        RxState = c == u'R' ? 89 : 81;
        break;
    case 81: case 82: case 83: case 84:
        ReplyPayload += c;
        ++RxState;
        break;
    case 85:
        ReplyPayload += c;
        MvNumEdit6->SetValueAsHex(ReplyPayload);
        MvNumEdit7->SetValueAsHex(ReplyPayload);
        RxState = 89;
        break;
    case 89:
        frameEnd();
        break;
    case 90:
    case 91:
        ReplyPayload += c;
        ++RxState;
        break;
    case 92:
        ReplyValue = ResponseValue(ReplyCode, ReplyPayload, 1);
        dispatch();
        frameEnd();
        break;
    case 100:
        UserCommandFlag = 0;
        RespReady = 1;
        RxState = 0;
        break;
    default:
        // A state the table does not know: start over with the next frame.
        RxState = 0;
        break;
    }
}
