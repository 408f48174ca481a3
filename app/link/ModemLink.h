#pragma once
// The modem link: the command queue and its sender, the receive ring and the idle pass that
// drains it one character at a time, the reply parser with its tables and the dispatch of each
// reply, and what the link keeps of the replies (the channel and equipment ID for the farewell,
// the data frames it answers, the multi-part transfer).
//
// The port, the waits that handle messages and everything that shows are the owner's: the pure
// virtual members below. The main window derives from the link and implements them; the link's
// tests and its fuzz target fake them, so the link runs without a window.
//
// Threads: the port's receive event (on its event thread) touches only the ring and the atomic
// fields; everything else runs on the main thread, the parser and the sender in the idle passes.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/link/RxRing.h"
#include "platform/rtl/String.h"

// Each character's low byte as two uppercase hexadecimal digits, each followed by a space when
// spaced: the monitor's hexadecimal echo.
String HexBytes(const String& text, bool spaced);

class TModemLink {
public:
    virtual ~TModemLink() = default;

    // ---- command queue and sender --------------------------------------------------------------
    std::atomic<uint8_t> LinkMode{0};     // 0 command mode, 1 "TX", 2 "BI"; read by the event thread
    std::atomic<uint8_t> MeasureMode{0};  // 0 control and test, 4 frequency, 5 time; read there too
    uint8_t RequestKind = 11;
    uint8_t RespReady = 1;
    std::atomic<uint8_t> TxReady{1};      // set by the transmit-empty event
    std::array<String, 9> CmdQueue;       // slots 1..8
    int PendingCount = 0;
    String SendLine;
    // Replaces the queue: slot Count goes out first, slot 1 last.
    void CommandOut(int Count, const String& s1 = String(), const String& s2 = String(),
                    const String& s3 = String(), const String& s4 = String(), const String& s5 = String(),
                    const String& s6 = String(), const String& s7 = String(), const String& s8 = String());
    // The link between frames, nothing waiting, ready to send, in command mode.
    void ResetLink();

    // ---- receive ring and idle pass ---------------------------------------------------------
    TRxRing RxRing;
    int CpuPower = 1;  // empty passes before the idle loop may rest
    int IdleCount = 0;
    std::atomic<uint8_t> IdleDone{0};
    char16_t RingBufGet() { return RxRing.Get(); }
    void ClearRingBuf() { RxRing.Clear(); }
    int RingCount() const { return RxRing.Count(); }
    // One idle pass of the link: at most one parser step, then the sender and the capture step.
    void RxParse();

    // ---- reply parser ------------------------------------------------------------------------------
    int RxState = 0;
    String ReplyCode;
    String ReplyPayload;
    int ReplyType = 0;
    int ReplyValue = 0;
    int DataLength = 0;
    int FramePos = 0;
    std::array<uint8_t, 256> DataBuf{};
    std::array<uint8_t, 256> BinBuf{};
    String PortField1, PortField2, PortField3;
    int UserCommandFlag = 0;
    uint8_t ControlPage = 0;
    // Status panel 1 := "Response > " + code; the code's index in the reply table, 255 if none.
    int ResponseCode(const String& code);
    // The value of the first n + 1 payload characters: a word's index for the word codes, the
    // hexadecimal number otherwise (raises when it is none). Writes status panel 2.
    int ResponseValue(const String& code, const String& payload, int n);
    static int ValueWordIndex(const String& code, const String& word);
    void ResponseDispatch(int type, int value);

    // ---- what the link keeps of the replies -----------------------------------------------------
    uint8_t CaptureState = 3;
    uint8_t CapturePhase = 3;
    int HomeChannel = 0;
    int CurrentChannel = 0;
    int CapturedEquipmentId = 0;
    int SavedEquipmentId = 0;
    uint8_t PartCount = 0;
    int PartsSeen = 0;
    uint8_t PartsStored = 0;
    std::vector<String> TransferParts;
    void ChannelResponse(int value);
    void EquipmentIdResponse(int value);
    void CaptureStep();
    void RouteInfoResponse(int value);
    void DataReceived();
    void BinaryDataReceived();
    void PortResponse();

    // ---- the owner's part ------------------------------------------------------------------------
    // The port: open or not, a write (raises when it fails), and the purge of both buffers.
    virtual bool PortConnected() = 0;
    virtual void PortWrite(const String& text) = 0;
    virtual void PortPurge() = 0;
    // Waits ms milliseconds while the owner's messages are handled (timers and buttons may queue
    // meanwhile; the idle pass does not run).
    virtual void LinkWait(int ms) = 0;
    // A line as the sender writes it, CR LF included, while the control-and-test page measures.
    virtual void ShowSentLine(const String& line) = 0;
    // A write failed: the user is asked for a restart.
    virtual void SendFailed() = 0;
    // Status panel 1 (the reply code) or 2 (its value).
    virtual void ShowStatus(int panel, const String& text) = 0;
    // Whether the air monitor is the page shown: an "RS" reply is then read as "AM".
    virtual bool AirMonitorShown() = 0;
    // The reply handlers of the owner, by the dispatch table.
    virtual void LinkModeChanged(int value) = 0;
    virtual void ShowDioPort(int value) = 0;
    virtual void ShowOutputPort(int value) = 0;
    virtual void ShowCommMode(int value) = 0;
    virtual void ShowSpreadingFactor(int value) = 0;
    virtual void RouteResultResponse(int value) = 0;
    virtual void AirMonitorLevel(int value) = 0;
    virtual void RssiNoiseLevel(int value) = 0;
    virtual void LastRssiLevel(int value) = 0;
    // What the link's own handlers show: the channel a "CH" reply reported, the unique ID of a
    // "PI" reply (its hexadecimal digits), a level-log line's level text ("-85", "  -102"), the
    // fields of a port reply (PortField1..3, before a "02" reply queues its "@PO").
    virtual void ShowChannel(int value) = 0;
    virtual void ShowUniqueId(const String& digits) = 0;
    virtual void LogLevel(const String& level) = 0;
    virtual void ShowPortState() = 0;
    // A multi-part transfer is complete: its data parts' bytes in order.
    virtual void TransferReceived(const std::string& bytes) = 0;

protected:
    // The farewell writes only values the modem reported since the open.
    bool FChannelReported = false;
    bool FEquipmentIdReported = false;

private:
    // The sender of the idle pass; false when a write failed (the pass ends there).
    bool SendQueued();
    void ParserStep();

    // Counts the queues CommandOut made, so a send decrements only the queue its line came from.
    uint64_t FQueueGeneration = 0;
    // The multi-part transfer's header has been seen (its part count is PartCount).
    bool FTransferOpen = false;
};
