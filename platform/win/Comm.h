#pragma once
// The serial communications API the components call, over termios (or a simulated device).
// Each open port has one I/O thread, a receive queue and a list of pending transfers; time-outs
// run on the rtl clock, so tests with the manual clock control them.
#include <cstddef>
#include <cstdint>

#include "platform/rtl/Handles.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"

using ULONG_PTR = uintptr_t;

// CreateFile arguments. Only communication devices can be opened here.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000u;

// Rates (bits per second).
constexpr DWORD CBR_110 = 110;
constexpr DWORD CBR_300 = 300;
constexpr DWORD CBR_600 = 600;
constexpr DWORD CBR_1200 = 1200;
constexpr DWORD CBR_2400 = 2400;
constexpr DWORD CBR_4800 = 4800;
constexpr DWORD CBR_9600 = 9600;
constexpr DWORD CBR_14400 = 14400;
constexpr DWORD CBR_19200 = 19200;
constexpr DWORD CBR_38400 = 38400;
constexpr DWORD CBR_56000 = 56000;
constexpr DWORD CBR_57600 = 57600;
constexpr DWORD CBR_115200 = 115200;
constexpr DWORD CBR_128000 = 128000;
constexpr DWORD CBR_256000 = 256000;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

// Device control block. The flag bits are also one 32-bit word (Flags), in the bit order
// the components compute by hand (binary 0x1, parity 0x2, CTS flow 0x4, ...).
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    union {
        DWORD Flags;
        struct {
            DWORD fBinary : 1;
            DWORD fParity : 1;
            DWORD fOutxCtsFlow : 1;
            DWORD fOutxDsrFlow : 1;
            DWORD fDtrControl : 2;
            DWORD fDsrSensitivity : 1;
            DWORD fTXContinueOnXoff : 1;
            DWORD fOutX : 1;
            DWORD fInX : 1;
            DWORD fErrorChar : 1;
            DWORD fNull : 1;
            DWORD fRtsControl : 2;
            DWORD fAbortOnError : 1;
            DWORD fDummy2 : 17;
        };
    };
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
static_assert(sizeof(DCB) == 28, "DCB keeps its 28-byte layout");

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

struct COMSTAT {
    union {
        DWORD Flags;
        struct {
            DWORD fCtsHold : 1;
            DWORD fDsrHold : 1;
            DWORD fRlsdHold : 1;
            DWORD fXoffHold : 1;
            DWORD fXoffSent : 1;
            DWORD fEof : 1;
            DWORD fTxim : 1;
            DWORD fReserved : 25;
        };
    };
    DWORD cbInQue;
    DWORD cbOutQue;
};

// The state of one transfer. Internal holds the result code while the transfer is pending
// (ERROR_IO_PENDING) and after it (0 or the error), InternalHigh the byte count; the layer
// owns both while the transfer runs. hEvent, when set, is an rtl event: reset when the
// transfer starts and set when it ends.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};

// Communication events (SetCommMask, WaitCommEvent).
constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_RXFLAG = 0x0002;
constexpr DWORD EV_TXEMPTY = 0x0004;
constexpr DWORD EV_CTS = 0x0008;
constexpr DWORD EV_DSR = 0x0010;
constexpr DWORD EV_RLSD = 0x0020;
constexpr DWORD EV_BREAK = 0x0040;
constexpr DWORD EV_ERR = 0x0080;
constexpr DWORD EV_RING = 0x0100;
constexpr DWORD EV_PERR = 0x0200;
constexpr DWORD EV_RX80FULL = 0x0400;
constexpr DWORD EV_EVENT1 = 0x0800;
constexpr DWORD EV_EVENT2 = 0x1000;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

// Line errors (ClearCommError).
constexpr DWORD CE_RXOVER = 0x0001;
constexpr DWORD CE_OVERRUN = 0x0002;
constexpr DWORD CE_RXPARITY = 0x0004;
constexpr DWORD CE_FRAME = 0x0008;
constexpr DWORD CE_BREAK = 0x0010;
constexpr DWORD CE_TXFULL = 0x0100;
constexpr DWORD CE_PTO = 0x0200;
constexpr DWORD CE_IOE = 0x0400;
constexpr DWORD CE_DNS = 0x0800;
constexpr DWORD CE_OOP = 0x1000;
constexpr DWORD CE_MODE = 0x8000;

// Modem status (GetCommModemStatus).
constexpr DWORD MS_CTS_ON = 0x0010;
constexpr DWORD MS_DSR_ON = 0x0020;
constexpr DWORD MS_RING_ON = 0x0040;
constexpr DWORD MS_RLSD_ON = 0x0080;

// EscapeCommFunction codes.
constexpr DWORD SETXOFF = 1;
constexpr DWORD SETXON = 2;
constexpr DWORD SETRTS = 3;
constexpr DWORD CLRRTS = 4;
constexpr DWORD SETDTR = 5;
constexpr DWORD CLRDTR = 6;
constexpr DWORD SETBREAK = 8;
constexpr DWORD CLRBREAK = 9;

// Opens a port: a Linux device name ("ttyUSB0", resolved under /dev), a full path, or either
// behind the "\\.\" prefix; a registered simulated device is found by its name. The port is
// opened exclusively; a second open fails with ERROR_ACCESS_DENIED. Returns
// INVALID_HANDLE_VALUE and sets GetLastError on failure. CloseHandle closes the port.
HANDLE CreateFile(const String& name, DWORD access, DWORD shareMode, void* securityAttributes,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE CreateFile(const char16_t* name, DWORD access, DWORD shareMode, void* securityAttributes,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE CreateFileW(const char16_t* name, DWORD access, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Transfers. With an OVERLAPPED they return TRUE when done at once, or FALSE with
// ERROR_IO_PENDING; GetOverlappedResult gives the outcome. Without one they block.
// A thread that blocks in the port (a transfer without OVERLAPPED, GetOverlappedResult with wait,
// WaitCommEventOrStop) serves the device itself while it waits: the bytes reach it without a
// hand-over from the port's I/O thread, which only serves work nobody waits for.
BOOL ReadFile(HANDLE h, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov);
BOOL WriteFile(HANDLE h, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov);
// FALSE with ERROR_IO_INCOMPLETE while pending; ERROR_OPERATION_ABORTED after a purge or close.
BOOL GetOverlappedResult(HANDLE h, OVERLAPPED* ov, DWORD* transferred, BOOL wait);

BOOL SetupComm(HANDLE h, DWORD inQueue, DWORD outQueue);
BOOL GetCommState(HANDLE h, DCB* dcb);
BOOL SetCommState(HANDLE h, const DCB* dcb);
BOOL GetCommTimeouts(HANDLE h, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE h, const COMMTIMEOUTS* timeouts);
BOOL GetCommMask(HANDLE h, DWORD* mask);
BOOL SetCommMask(HANDLE h, DWORD mask);
BOOL WaitCommEvent(HANDLE h, DWORD* mask, OVERLAPPED* ov);
// Not in the platform's API: WaitCommEvent on ov and the wait for its end in one call, which also
// ends when the event stop (null for none) is set. WAIT_OBJECT_0 once stop is set (it outranks
// the end of the event wait, which may still be pending: SetCommMask ends it); WAIT_OBJECT_0 + 1
// once the event wait has ended (GetOverlappedResult gives its outcome); WAIT_FAILED when it
// cannot start (GetLastError says why). The calling thread serves the port while it waits.
DWORD WaitCommEventOrStop(HANDLE h, DWORD* mask, OVERLAPPED* ov, HANDLE stop);
// Not in the platform's API: waits until event is set (WAIT_OBJECT_0), serving the port
// meanwhile, for a thread that waits for something else (another thread's work) but would
// otherwise leave the device without a server. WAIT_FAILED when the port closes first.
DWORD WaitServingComm(HANDLE h, HANDLE event);
BOOL PurgeComm(HANDLE h, DWORD flags);
BOOL ClearCommError(HANDLE h, DWORD* errors, COMSTAT* stat);
BOOL GetCommModemStatus(HANDLE h, DWORD* status);
BOOL EscapeCommFunction(HANDLE h, DWORD function);
BOOL TransmitCommChar(HANDLE h, char c);

// Not in the platform's API: the output lines as last set, for diagnostics and tests (a
// pseudo-terminal has no lines, so the layer keeps what was set).
constexpr DWORD COMM_LINE_DTR = 0x1;
constexpr DWORD COMM_LINE_RTS = 0x2;
BOOL GetCommControlLines(HANDLE h, DWORD* lines);
