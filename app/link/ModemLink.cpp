// The modem link: the command queue and its sender, the idle pass that drains the receive ring
// one character at a time, the reply parser with its tables and dispatch, and the link's own
// reply handlers.
#include "app/link/ModemLink.h"

#include <algorithm>
#include <string_view>

#include "platform/rtl/SysUtils.h"

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

String HexBytes(const String& text, bool spaced) {
    String hex;
    for (char16_t c : text) hex += spaced ? HexOf(c) + " " : HexOf(c);
    return hex;
}

void TModemLink::ResetLink() {
    ClearRingBuf();
    TxReady = 1;
    RespReady = 1;
    RxState = 0;
    LinkMode = 0;
}

// ---- command queue and sender ----------------------------------------------------------------

void TModemLink::CommandOut(int Count, const String& s1, const String& s2, const String& s3, const String& s4,
                            const String& s5, const String& s6, const String& s7, const String& s8) {
    const String* slots[] = {&s1, &s2, &s3, &s4, &s5, &s6, &s7, &s8};
    for (size_t i = 0; i < 8; ++i) CmdQueue[i + 1] = *slots[i];
    PendingCount = std::clamp(Count, 0, 8);
    ++FQueueGeneration;
}

bool TModemLink::SendQueued() {
    if (LinkMode == 1 || LinkMode == 2) RespReady = 1;
    if (!(RespReady == 1 && TxReady == 1 && PendingCount > 0)) return true;
    try {
        RespReady = 0;
        TxReady = 0;
        SendLine = CmdQueue[static_cast<size_t>(PendingCount)] + "\r\n";
        if (MeasureMode == 0) ShowSentLine(SendLine);
        // A handler that runs during the wait may queue anew; the line sent is then the old
        // queue's, and the new queue keeps every command.
        const uint64_t generation = FQueueGeneration;
        LinkWait(5);
        PortWrite(SendLine);
        if (generation == FQueueGeneration) --PendingCount;
    } catch (...) {
        SendFailed();
        return false;
    }
    return true;
}

// ---- the idle pass -------------------------------------------------------------------------------

void TModemLink::RxParse() {
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
            if (PortConnected()) PortPurge();
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

int TModemLink::ResponseCode(const String& code) {
    ShowStatus(1, String("Response > ") + code);
    for (size_t i = 0; i < kReplyCodes.size(); ++i)
        if (!kReplyCodes[i].empty() && kReplyCodes[i] == std::u16string_view(code)) return static_cast<int>(i);
    return 255;
}

int TModemLink::ValueWordIndex(const String& code, const String& word) {
    if (const WordRow* row = WordRowOf(code))
        for (int i = 0; i < 3; ++i)
            if (!row->words[i].empty() && row->words[i] == std::u16string_view(word)) return i;
    return 255;
}

int TModemLink::ResponseValue(const String& code, const String& payload, int n) {
    const String v = payload.substr(0, static_cast<size_t>(n + 1));
    if (WordRowOf(code)) {
        ShowStatus(2, String("Value > ") + v);
        return ValueWordIndex(code, v);
    }
    const int value = StrToInt(String("$") + v);
    ShowStatus(2, String("Value > ") + v + "h ( " + IntToStr(value) + " )");
    return value;
}

void TModemLink::ResponseDispatch(int type, int value) {
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

void TModemLink::ParserStep() {
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
            LinkWait(2000);
            RespReady = 1;
            CommandOut(1, String("@MO"));
            RxState = 0;
        }
        break;
    case 4:
        ReplyType = ResponseCode(ReplyCode);
        if (ReplyType == 7 && AirMonitorShown()) ReplyType = 5;
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
        LogLevel(IntToStr(ReplyValue - 256));
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
            LogLevel(String("  -") + ReplyPayload);
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
        ShowUniqueId(ReplyPayload);
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

// ---- what the link keeps of the replies ----------------------------------------------------------

void TModemLink::ChannelResponse(int value) {
    if (CapturePhase == 0) {
        HomeChannel = value;
        CaptureState = 1;
    }
    CurrentChannel = value;
    FChannelReported = true;
    ShowChannel(value);
}

void TModemLink::EquipmentIdResponse(int value) {
    if (CapturePhase == 1) {
        CapturedEquipmentId = value;
        CaptureState = 2;
    }
}

void TModemLink::CaptureStep() {
    switch (CaptureState) {
    case 0:
        CapturePhase = 0;
        break;
    case 1:
        CurrentChannel = HomeChannel;
        CapturePhase = 1;
        break;
    case 2:
        SavedEquipmentId = CapturedEquipmentId;
        FEquipmentIdReported = true;
        CapturePhase = 3;
        break;
    default:
        return;
    }
    CaptureState = 3;
}

void TModemLink::RouteInfoResponse(int value) { LinkWait(200); }

void TModemLink::DataReceived() {
    // DataLength bytes of DataBuf are this frame's; the rest are an earlier frame's.
    const int length = DataLength;
    if (length < 3 || DataBuf[0] != '[' || DataBuf[2] != ']') return;
    const int kind = StrToInt(String(static_cast<char16_t>(DataBuf[1])));
    if (kind != 2) return;
    // A test packet: "[2]", seven characters, the data length in two hexadecimal digits, the
    // data. One that claims more data than its frame carries is not answered.
    if (length < 12) return;
    const String lengthDigits = String(static_cast<char16_t>(DataBuf[10])) + static_cast<char16_t>(DataBuf[11]);
    const int n = StrToInt(String("$") + lengthDigits);
    if (12 + n > length) return;
    String text;
    for (int i = 12; i < 12 + n; ++i) text += static_cast<char16_t>(DataBuf[static_cast<size_t>(i)]);
    RespReady = 1;
    LinkWait(20);
    CommandOut(1, String("@DT") + lengthDigits + text);
}

void TModemLink::BinaryDataReceived() {
    const int length = ReplyValue;
    if (RequestKind != 0 || length < 3 || BinBuf[0] != 7) return;
    const uint8_t count = BinBuf[1];
    const uint8_t part = BinBuf[2];
    if (part == 0) {
        // A header: a transfer of count - 1 data parts. Fewer than one part is no transfer.
        FTransferOpen = count >= 2;
        if (!FTransferOpen) return;
        PartCount = count;
        TransferParts.assign(static_cast<size_t>(count - 1), String());
        PartsSeen = 0;
        PartsStored = 0;
        return;
    }
    // A part belongs to the transfer its header opened, with the header's part count.
    if (!FTransferOpen || count != PartCount) return;
    ++PartsSeen;
    if (part != PartsSeen) return;
    if (PartsStored < PartCount - 1) {
        String data;
        for (int i = 3; i < length; ++i) data += static_cast<char16_t>(BinBuf[static_cast<size_t>(i)]);
        TransferParts[PartsStored] = data;
        ++PartsStored;
    }
    if (PartCount != PartsStored + 1) return;
    PartsStored = 0;
    std::string bytes;
    for (const String& p : TransferParts)
        for (char16_t ch : p) bytes.push_back(static_cast<char>(ch & 0xFF));
    TransferReceived(bytes);
}

void TModemLink::PortResponse() {
    ShowPortState();
    // A "02" reply is answered with "@PO" and its third field.
    if (PortField1 == "02") {
        RespReady = 1;
        CommandOut(1, String("@PO") + PortField3);
    }
}
