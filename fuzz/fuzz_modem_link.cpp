// The modem link fed any reply bytes through its receive ring, in chunks between idle passes, on a
// fake port: the parser stays in its states and buffers, each pass takes at most one character
// (a bad frame empties the ring), the ring always drains, the queue keeps its slots, and every
// line written ends in CR LF.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/link/ModemLink.h"
#include "fuzz/FuzzInput.h"
#include "platform/rtl/Exceptions.h"

namespace {

class FuzzLink : public TModemLink {
public:
    bool connected = true;
    bool airMonitor = false;
    bool failEveryThirdWrite = false;
    int writes = 0;
    std::string written;

    bool PortConnected() override { return connected; }
    void PortWrite(const String& text) override {
        if (failEveryThirdWrite && ++writes % 3 == 0) throw Exception(String("write failed"));
        written += text.ToUtf8();
    }
    void PortPurge() override {}
    // The transmit-empty event comes while the owner waits.
    void LinkWait(int ms) override { TxReady = 1; }
    void ShowSentLine(const String& line) override {}
    void SendFailed() override {}
    void ShowStatus(int panel, const String& text) override {
        if (panel != 1 && panel != 2) std::abort();
    }
    bool AirMonitorShown() override { return airMonitor; }
    void LinkModeChanged(int value) override {
        // As the window does for a reply to the user's command.
        if (UserCommandFlag == 1 && value >= 0 && value <= 2) LinkMode = static_cast<uint8_t>(value);
    }
    void ShowDioPort(int value) override {}
    void ShowOutputPort(int value) override {}
    void ShowCommMode(int value) override {}
    void ShowSpreadingFactor(int value) override {}
    void RouteResultResponse(int value) override {}
    void AirMonitorLevel(int value) override {}
    void RssiNoiseLevel(int value) override {}
    void LastRssiLevel(int value) override {}
    void ShowChannel(int value) override {
        if (value < 0 || value > 0xFF) std::abort();
    }
    void ShowUniqueId(const String& digits) override {}
    void LogLevel(const String& level) override {}
    void ShowPortState() override {}
    void TransferReceived(const std::string& bytes) override {
        if (PartCount < 2) std::abort();
    }
};

bool KnownState(int s) {
    return (s >= 0 && s <= 4) || (s >= 12 && s <= 14) || (s >= 20 && s <= 26) || (s >= 40 && s <= 44) ||
           (s >= 50 && s <= 52) || (s >= 60 && s <= 69) || (s >= 70 && s <= 77) || (s >= 80 && s <= 85) ||
           s == 89 || (s >= 90 && s <= 92) || s == 100;
}

void Check(const FuzzLink& link) {
    if (!KnownState(link.RxState)) std::abort();
    if (link.PendingCount < 0 || link.PendingCount > 8) std::abort();
    if (link.FramePos < 0 || link.FramePos > 255) std::abort();
}

// One idle pass: at most one character leaves the ring, unless a bad frame emptied it.
void Pass(FuzzLink& link) {
    const int before = link.RingCount();
    link.RxParse();
    if (link.RingCount() < before - 1 && (link.RingCount() != 0 || link.RxState != 0)) std::abort();
    Check(link);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte sets the link's situation, the second the size of the chunks the receive
    // event hands over; the rest is what the modem sent.
    const uint8_t options = data[0];
    const size_t chunk = 1 + data[1] % 64;
    const std::string_view reply = fuzz::Bytes(data + 2, size - 2);

    FuzzLink link;
    link.connected = options & 1;
    link.airMonitor = options & 2;
    link.RequestKind = options & 4 ? 0 : 11;
    link.MeasureMode = options & 8 ? 4 : 0;
    link.ControlPage = (options >> 4) & 3;
    link.UserCommandFlag = options & 0x40 ? 1 : 0;
    link.failEveryThirdWrite = options & 0x80;
    link.CaptureState = 0;
    link.CommandOut(2, String("@MO"), String("@CH"));

    for (size_t at = 0; at < reply.size(); at += chunk) {
        const std::string_view part = reply.substr(at, chunk);
        std::u16string chars;
        for (unsigned char c : part) chars.push_back(c);
        link.RxRing.Push(chars.data(), chars.size());
        // A state that takes no character waits for one; no frame has more than two of them in a
        // row, and each follows characters taken.
        const int waiting = link.RingCount();
        for (int i = 0; i < waiting && link.RingCount() > 0; ++i) {
            Pass(link);
            Pass(link);
        }
        link.RespReady = 1;  // a reply ended, or the modem stays silent: the next command may go
    }
    // The modem's CR LF ends the last frame; then the ring must be empty.
    const char16_t end[] = {u'\r', u'\n'};
    link.RxRing.Push(end, 2);
    for (int i = 0, passes = 3 * link.RingCount(); i < passes && link.RingCount() > 0; ++i) Pass(link);
    if (link.RingCount() != 0) std::abort();
    for (size_t line = 0, next; line < link.written.size(); line = next + 2) {
        next = link.written.find("\r\n", line);
        if (next == std::string::npos) std::abort();
    }
    return 0;
}
