// The library's numbered errors and the one routine that reports them.
#include <array>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/win/Errors.h"
#include "serial/CPort.h"

namespace {

const std::array<String, 25>& Texts() {
    static const std::array<String, 25> texts{
        String(),
        u"Unable to open com port",
        u"WriteFile function failed",
        u"ReadFile function failed",
        u"Invalid Async parameter",
        u"PurgeComm function failed",
        u"Unable to get async status",
        u"SetCommState function failed",
        u"SetCommTimeouts failed",
        u"SetupComm function failed",
        u"ClearCommError function failed",
        u"GetCommModemStatus function failed",
        u"EscapeCommFunction function failed",
        u"TransmitCommChar function failed",
        u"Cannot set property while connected",
        u"EnumPorts function failed",
        u"Failed to store settings",
        u"Failed to load settings",
        u"Link (un)registration failed",
        u"Cannot change led state if ComPort is selected",
        u"Cannot wait for event if event thread is created",
        u"WaitForEvent method failed",
        u"A component is linked to OnRxBuf event",
        u"Registry error",
        u"Port Not Open",
    };
    return texts;
}

std::mutex gHandlerMutex;
TComApplicationExceptionHandler& Handler() {
    static TComApplicationExceptionHandler handler;
    return handler;
}

}  // namespace

const String& PortErrorTexts(int Code) {
    // Codes come from the library itself; anything else gets the empty text of slot 0.
    if (Code < 1 || Code > 24) return Texts()[0];
    return Texts()[static_cast<size_t>(Code)];
}

EComPort::EComPort(int ACode, int AWinCode)
    : EComPort(PortErrorTexts(ACode) + " (Error: " + String(std::to_string(AWinCode)) + ")", ACode, AWinCode) {}

EComPort EComPort::CreateNoWinCode(int ACode) { return EComPort(PortErrorTexts(ACode), ACode, -1); }

void TCustomComPort::ReportComError(uint16_t Code, int64_t WinError) {
    if (!OnException) {
        if (WinError > 0) throw EComPort(Code, static_cast<int32_t>(static_cast<uint32_t>(WinError)));
        throw EComPort::CreateNoWinCode(Code);
    }
    String winMessage;
    if (WinError > 0) winMessage = SysErrorMessage(static_cast<DWORD>(WinError));
    OnException(this, static_cast<TComExceptions>(Code - 1), PortErrorTexts(Code), WinError, winMessage);
}

void SetComApplicationExceptionHandler(TComApplicationExceptionHandler Handler_) {
    std::lock_guard<std::mutex> g(gHandlerMutex);
    Handler() = std::move(Handler_);
}

void HandleComApplicationException(TPersistent* Sender, std::exception_ptr E) {
    TComApplicationExceptionHandler handler;
    {
        std::lock_guard<std::mutex> g(gHandlerMutex);
        handler = Handler();
    }
    if (handler) {
        handler(Sender, E);
        return;
    }
    try {
        std::rethrow_exception(E);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "serial port: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "serial port: unknown exception\n");
    }
}
