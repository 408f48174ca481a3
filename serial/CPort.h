#pragma once
// The serial port component: one serial device opened for overlapped I/O, its settings, the
// transfers on it, and an event thread that turns device events into component events.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Threads.h"
#include "platform/win/Comm.h"
#include "platform/win/Messages.h"
#include "platform/rtl/Component.h"

class TStrings;
class TCustomIniFile;
class TRegistry;

// ---- value types -------------------------------------------------------------------------

enum TBaudRate {
    brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
    br56000, br57600, br115200, br128000, br256000
};
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };

enum TComEvent { evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full };
using TComEvents = rtl::SmallSet<TComEvent>;
enum TComSignal { csCTS, csDSR, csRing, csRLSD };
using TComSignals = rtl::SmallSet<TComSignal>;
enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = rtl::SmallSet<TComError>;
enum TSyncMethod { smThreadSync, smWindowSync, smNone };
enum TStoreType { stRegistry, stIniFile };
enum TStoredProp { spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers };
using TStoredProps = rtl::SmallSet<TStoredProp>;
enum TComStateFlag { fCtlHold, fDsrHold, fRlsHold, fXoffHold, fXOffSent, fEof, fTxim };
using TComStateFlags = rtl::SmallSet<TComStateFlag>;

constexpr TComEvents AllComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                                  evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

// ---- errors ------------------------------------------------------------------------------

// The library's errors; the ordinal is the error code less one.
enum TComExceptions {
    CE_OpenFailed, CE_WriteFailed, CE_ReadFailed, CE_InvalidAsync, CE_PurgeFailed, CE_AsyncCheck,
    CE_SetStateFailed, CE_TimeoutsFailed, CE_SetupComFailed, CE_ClearComFailed, CE_ModemStatFailed,
    CE_EscapeComFailed, CE_TransmitFailed, CE_ConnChangeProp, CE_EnumPortsFailed, CE_StoreFailed,
    CE_LoadFailed, CE_RegFailed, CE_LedStateFailed, CE_ThreadCreated, CE_WaitFailed, CE_HasLink,
    CE_RegError, CEPortNotOpen
};

// The code (1..24) users see for Error: in EComPort's Code and its text.
constexpr int ComErrorCode(TComExceptions Error) { return static_cast<int>(Error) + 1; }

// The fixed text of error Code (1..24).
const String& PortErrorTexts(int Code);

class EComPort : public Exception {
public:
    // The text of ACode followed by " (Error: AWinCode)".
    EComPort(int ACode, int AWinCode);
    // The bare text of ACode; WinCode -1.
    static EComPort CreateNoWinCode(int ACode);

    const char* ClassName() const override { return "EComPort"; }
    int Code() const { return FCode; }
    void SetCode(int value) { FCode = value; }
    int WinCode() const { return FWinCode; }
    void SetWinCode(int value) { FWinCode = value; }

private:
    EComPort(const String& message, int ACode, int AWinCode)
        : Exception(message), FWinCode(AWinCode), FCode(ACode) {}
    int FWinCode;
    int FCode;
};

// ---- events ------------------------------------------------------------------------------

class TCustomComPort;
// Senders are the platform's root object (what the UI library calls TObject), so the
// application's plain notify handlers fit these events.
using TComNotifyEvent = std::function<void(TPersistent* Sender)>;
using TRxCharEvent = std::function<void(TPersistent* Sender, int Count)>;
using TRxBufEvent = std::function<void(TPersistent* Sender, const void* Buffer, int Count)>;
using TComSignalEvent = std::function<void(TPersistent* Sender, bool OnOff)>;
using TComErrorEvent = std::function<void(TPersistent* Sender, TComErrors Errors)>;
using TComExceptionEvent = std::function<void(TPersistent* Sender, TComExceptions TComException,
                                              const String& ComportMessage, int64_t WinError,
                                              const String& WinMessage)>;

// Exceptions that no caller can receive: those escaping a handler on the event thread, or the
// open that Loaded runs. The application points this at its own exception handling; unset, the
// message goes to stderr. The handler may be called on the event thread.
using TComApplicationExceptionHandler = std::function<void(TPersistent* Sender, std::exception_ptr E)>;
void SetComApplicationExceptionHandler(TComApplicationExceptionHandler Handler);
void HandleComApplicationException(TPersistent* Sender, std::exception_ptr E);

// ---- settings objects --------------------------------------------------------------------

class TComTimeouts : public TPersistent {
public:
    const char* ClassName() const override { return "TComTimeouts"; }
    TCustomComPort* ComPort() const { return FComPort; }
    // nil is refused (EConvertError) and changes nothing.
    void Assign(const TPersistent* Source) override;

    int ReadInterval() const { return FReadInterval; }
    void SetReadInterval(int value);
    int ReadTotalMultiplier() const { return FReadTotalM; }
    void SetReadTotalMultiplier(int value);
    int ReadTotalConstant() const { return FReadTotalC; }
    void SetReadTotalConstant(int value);
    int WriteTotalMultiplier() const { return FWriteTotalM; }
    void SetWriteTotalMultiplier(int value);
    int WriteTotalConstant() const { return FWriteTotalC; }
    void SetWriteTotalConstant(int value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TCustomComPort;
    void Set(int& field, int value);
    TCustomComPort* FComPort = nullptr;
    int FReadInterval = -1;
    int FReadTotalM = 0;
    int FReadTotalC = 0;
    int FWriteTotalM = 100;
    int FWriteTotalC = 1000;
};

class TComFlowControl : public TPersistent {
public:
    const char* ClassName() const override { return "TComFlowControl"; }
    TCustomComPort* ComPort() const { return FComPort; }
    // nil is refused (EConvertError) and changes nothing.
    void Assign(const TPersistent* Source) override;

    bool OutCTSFlow() const { return FOutCTSFlow; }
    void SetOutCTSFlow(bool value);
    bool OutDSRFlow() const { return FOutDSRFlow; }
    void SetOutDSRFlow(bool value);
    TDTRFlowControl ControlDTR() const { return FControlDTR; }
    void SetControlDTR(TDTRFlowControl value);
    TRTSFlowControl ControlRTS() const { return FControlRTS; }
    void SetControlRTS(TRTSFlowControl value);
    bool XonXoffOut() const { return FXonXoffOut; }
    void SetXonXoffOut(bool value);
    bool XonXoffIn() const { return FXonXoffIn; }
    void SetXonXoffIn(bool value);
    bool DSRSensitivity() const { return FDSRSensitivity; }
    void SetDSRSensitivity(bool value);
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value);
    char16_t XonChar() const { return FXonChar; }
    void SetXonChar(char16_t value);
    char16_t XoffChar() const { return FXoffChar; }
    void SetXoffChar(char16_t value);
    // A shorthand over ControlRTS, OutCTSFlow and the two Xon/Xoff flags.
    TFlowControl FlowControl() const;
    void SetFlowControl(TFlowControl value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TCustomComPort;
    template <class T>
    void Set(T& field, T value);
    void Changed();
    TCustomComPort* FComPort = nullptr;
    bool FOutCTSFlow = false;
    bool FOutDSRFlow = false;
    TDTRFlowControl FControlDTR = dtrDisable;
    TRTSFlowControl FControlRTS = rtsDisable;
    bool FXonXoffOut = false;
    bool FXonXoffIn = false;
    bool FDSRSensitivity = false;
    bool FTxContinueOnXoff = false;
    char16_t FXonChar = 17;
    char16_t FXoffChar = 19;
};

class TComParity : public TPersistent {
public:
    const char* ClassName() const override { return "TComParity"; }
    TCustomComPort* ComPort() const { return FComPort; }
    // nil is refused (EConvertError) and changes nothing.
    void Assign(const TPersistent* Source) override;

    TParityBits Bits() const { return FBits; }
    void SetBits(TParityBits value);
    bool Check() const { return FCheck; }
    void SetCheck(bool value);
    bool Replace() const { return FReplace; }
    void SetReplace(bool value);
    char16_t ReplaceChar() const { return FReplaceChar; }
    void SetReplaceChar(char16_t value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TCustomComPort;
    template <class T>
    void Set(T& field, T value);
    TCustomComPort* FComPort = nullptr;
    TParityBits FBits = prNone;
    bool FCheck = false;
    bool FReplace = false;
    char16_t FReplaceChar = 0;
};

class TComBuffer : public TPersistent {
public:
    const char* ClassName() const override { return "TComBuffer"; }
    TCustomComPort* ComPort() const { return FComPort; }
    // nil is refused (EConvertError) and changes nothing.
    void Assign(const TPersistent* Source) override;

    // Sizes are even: an odd positive size is stored one less.
    int InputSize() const { return FInputSize; }
    void SetInputSize(int value);
    int OutputSize() const { return FOutputSize; }
    void SetOutputSize(int value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TCustomComPort;
    void Set(int& field, int value);
    TCustomComPort* FComPort = nullptr;
    int FInputSize = 1024;
    int FOutputSize = 1024;
};

DWORD ComEventsToMask(TComEvents Events);
TComEvents MaskToComEvents(DWORD Mask);

// ---- transfer records ----------------------------------------------------------------------

enum TOperationKind { okWrite, okRead };

// One overlapped transfer. The record owns its event (manual reset, made signalled) and Bytes,
// its private copy of the bytes of the last write (for the links' OnTxBuf), which Data and Size
// show (Data nil when there are none). A record must not be released while pending.
struct TAsync {
    TAsync();
    ~TAsync();
    TAsync(const TAsync&) = delete;
    TAsync& operator=(const TAsync&) = delete;

    OVERLAPPED Overlapped;
    TOperationKind Kind = okWrite;
    uint8_t* Data = nullptr;
    int Size = 0;
    std::vector<uint8_t> Bytes;
};
using PAsync = TAsync*;

void AllocAsync(PAsync& AsyncPtr);
void ReleaseAsync(PAsync& AsyncPtr);
void FillAsyncRecord(TOperationKind Kind, const void* Buffer, int Count, PAsync AsyncPtr);

// ---- links -------------------------------------------------------------------------------

// A listener that other components register with a port; it has no behaviour of its own.
class TComLink {
public:
    virtual ~TComLink() = default;
    TComSignalEvent OnConn;
    TRxBufEvent OnRxBuf;
    TRxBufEvent OnTxBuf;
    TComNotifyEvent OnTxEmpty;
    TComNotifyEvent OnRxFlag;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComNotifyEvent OnRing;
    TComSignalEvent OnTx;
    TComSignalEvent OnRx;
};

class TCustomComPort;

// The thread that waits for the device's events while a port is open and hands each batch to
// the port. Made by Open, stopped and freed by Close.
class TComThread : public TThread {
public:
    explicit TComThread(TCustomComPort* AComPort);
    ~TComThread() override;

protected:
    void Execute() override;

private:
    friend class TCustomComPort;
    void DispatchComMsg();
    TCustomComPort* FComPort;
    HANDLE FStopEvent;
    // Set by the main thread when it has run a batch handed to it (smThreadSync).
    HANDLE FBatchDone;
    TComEvents FEvents;
    // The error word of the batch, taken as the wait ended, before any step asks the device.
    DWORD FErrors = 0;
};

// ---- the port ----------------------------------------------------------------------------

class TCustomComPort : public TComponent {
public:
    explicit TCustomComPort(TComponent* AOwner);
    ~TCustomComPort() override;
    const char* ClassName() const override { return "TCustomComPort"; }

    void Open();
    void Close();
    // Frees the port. From a handler of the port's own event batch the free is deferred: the
    // rest of the batch is not delivered, and the main thread frees the port once the batch has
    // ended (at its next CheckSynchronize). Hides TComponent::Free for that reason.
    void Free();
    // Settings changed inside the bracket reach the device once, at the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // Raises EComPort for Code (1..24), or hands it to OnException when that is assigned and
    // returns. WinError is the platform error code, 0 or negative for none.
    void ReportComError(uint16_t Code, int64_t WinError);
    // The same by the error's name, as the library itself reports its errors.
    void ReportComError(TComExceptions Error, int64_t WinError) {
        ReportComError(static_cast<uint16_t>(ComErrorCode(Error)), WinError);
    }

    void Loaded() override;

    // ---- properties ----
    HANDLE Handle() const { return FHandle; }
    bool Connected() const { return FConnected; }
    void SetConnected(bool value);
    TBaudRate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate value);
    int CustomBaudRate() const { return FCustomBaudRate; }
    void SetCustomBaudRate(int value);
    const String& Port() const { return FPort; }
    void SetPort(const String& value);
    TComParity* Parity() const { return FParity.get(); }
    void SetParity(const TComParity* value);
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return FDataBits; }
    void SetDataBits(TDataBits value);
    bool DiscardNull() const { return FDiscardNull; }
    void SetDiscardNull(bool value);
    char16_t EventChar() const { return FEventChar; }
    void SetEventChar(char16_t value);
    TComEvents Events() const { return FEvents; }
    void SetEvents(TComEvents value) { FEvents = value; }
    TComBuffer* Buffer() const { return FBuffer.get(); }
    void SetBuffer(const TComBuffer* value);
    TComFlowControl* FlowControl() const { return FFlowControl.get(); }
    void SetFlowControl(const TComFlowControl* value);
    TComTimeouts* Timeouts() const { return FTimeouts.get(); }
    void SetTimeouts(const TComTimeouts* value);
    TStoredProps StoredProps() const { return FStoredProps; }
    void SetStoredProps(TStoredProps value) { FStoredProps = value; }
    TSyncMethod SyncMethod() const { return FSyncMethod; }
    void SetSyncMethod(TSyncMethod value);
    TThreadPriority EventThreadPriority() const { return FEventThreadPriority; }
    void SetEventThreadPriority(TThreadPriority value);
    uint32_t CodePage() const { return FCodePage; }
    void SetCodePage(uint32_t value) { FCodePage = value; }

    bool TriggersOnRxChar() const { return FTriggersOnRxChar && !FHasLink; }
    void SetTriggersOnRxChar(bool value);
    void RegisterLink(TComLink* AComLink);
    void UnRegisterLink(TComLink* AComLink);

    // ---- transfers ----
    // The asynchronous forms start a transfer and return the count done at once (0 while it is
    // pending); Buffer must stay untouched until WaitForAsync. The others wait for the end.
    int WriteAsync(const void* Buffer, int Count, PAsync& AsyncPtr);
    int Write(const void* Buffer, int Count);
    // Str's own storage becomes the transfer buffer (one byte per character, the low byte).
    int WriteStrAsync(String& Str, PAsync& AsyncPtr);
    int WriteStr(String Str);
    // Text converted through CodePage (0: the system code page, UTF-8 here).
    int WriteUnicodeString(const String& Str);
    int ReadAsync(void* Buffer, int Count, PAsync& AsyncPtr);
    int Read(void* Buffer, int Count);
    int ReadStrAsync(AnsiString& Str, int Count, PAsync& AsyncPtr);
    // Byte i becomes character i with the same value (0..255).
    int ReadStr(String& Str, int Count);
    int ReadUnicodeString(String& Str, int Count);
    int WaitForAsync(PAsync& AsyncPtr);
    bool IsAsyncCompleted(PAsync AsyncPtr);
    // Ends every pending read and write; a failure is not reported.
    void AbortAllAsync();

    // ---- queries and commands on the open device ----
    int InputCount();
    int OutputCount();
    TComStateFlags StateFlags();
    TComErrors LastErrors();
    TComSignals Signals();
    void SetDTR(bool OnOff);
    void SetRTS(bool OnOff);
    void SetXonXoff(bool OnOff);
    void SetBreak(bool OnOff);
    void ClearBuffer(bool Input, bool Output);
    void TransmitChar(char16_t Ch);
    // A one-shot wait for code that runs without the event thread. Events comes back with the
    // events that occurred (empty after the time-out or the stop event).
    void WaitForEvent(TComEvents& Events, HANDLE StopEvent, int Timeout);

    // ---- settings persistence ----
    // The groups of StoredProps, as readable text: in an ini file (StoreTo names the file, the
    // section is Name) or in the registry (StoreTo is a key path such as
    // "HKEY_CURRENT_USER\Software\App"; the values go in its sub-key Name). Any failure raises
    // error 16 (store) or 17 (load). A load runs inside one update bracket.
    void StoreSettings(TStoreType StoreType, const String& StoreTo);
    void LoadSettings(TStoreType StoreType, const String& LoadFrom);

    // ---- events ----
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TComNotifyEvent OnTxEmpty;
    TComNotifyEvent OnBreak;
    TComNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TComNotifyEvent OnRxFlag;
    TComNotifyEvent OnAfterOpen;
    TComNotifyEvent OnAfterClose;
    TComNotifyEvent OnBeforeOpen;
    TComNotifyEvent OnBeforeClose;
    TComNotifyEvent OnRx80Full;
    TComExceptionEvent OnException;

protected:
    virtual void OpenPortHandle();
    virtual void ClosePortHandle();
    virtual void ApplyPortSettings();
    virtual void ApplyLineSettings();
    virtual void ApplyTimeoutSettings();
    virtual void ApplyBufferSettings();

    virtual void StoreToRegistry(TRegistry& Reg);
    virtual void StoreToIniFile(TCustomIniFile& IniFile);
    virtual void LoadFromRegistry(TRegistry& Reg);
    virtual void LoadFromIniFile(TCustomIniFile& IniFile);

    virtual void DoRxChar(int Count);
    virtual void DoRxBuf(const void* Buffer, int Count);
    virtual void DoTxEmpty();
    virtual void DoBreak();
    virtual void DoRing();
    virtual void DoCTSChange(bool OnOff);
    virtual void DoDSRChange(bool OnOff);
    virtual void DoRLSDChange(bool OnOff);
    virtual void DoError(TComErrors Errors);
    virtual void DoRxFlag();
    virtual void DoAfterOpen();
    virtual void DoAfterClose();
    virtual void DoBeforeOpen();
    virtual void DoBeforeClose();
    virtual void DoRx80Full();
    // The utility window's procedure (smWindowSync): message WM_USER + 1 carries one device
    // event (its EV_ mask bit in WParam) from the event thread.
    virtual void WndProc(TMessage& Message);

private:
    friend class TComTimeouts;
    friend class TComFlowControl;
    friend class TComParity;
    friend class TComBuffer;
    friend class TComThread;

    // Whether an apply step may touch the device now.
    // The queue count for the library's own steps: the line errors the query takes from the
    // device are kept for the next error step rather than dropped.
    int QueueCount();
    // The device's error word taken for a batch's error step, with what QueueCount kept.
    DWORD TakeBatchErrors();
    TComErrors ErrorsFromWord(DWORD Errors) const;
    // Whether the calling code runs inside a batch of this port's events.
    bool InOwnBatch() const;
    // Whether the calling code runs on this port's event thread.
    bool OnOwnEventThread() const;
    // Whether a link hears of transfers of that kind (OnTx or OnTxBuf, OnRx).
    bool LinksListen(TOperationKind Kind) const;
    // A synchronous read or write as one blocking call on the device.
    int TransferNow(TOperationKind Kind, void* Buffer, int Count);
    bool CanApply() const;
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool Loading() const { return ComponentState().Contains(csLoading); }
    // Undoes a half-made open without notifications: thread, window, handle, Connected.
    void AbandonOpen();
    void CallSignalEvents(TComSignal Signal, bool OnOff);
    // Over a copy of the list: a handler may register or unregister links.
    template <class F>
    void ForEachLink(F f) {
        std::vector<TComLink*> links = FLinks;
        for (TComLink* link : links) f(*link);
    }
    bool ClearError(DWORD* errors, COMSTAT* stat);
    void Escape(DWORD function);
    void CreateEventThread();
    void DestroyEventThread();
    // The handler sequence of one batch of device events, and one step of it (an EV_ mask bit).
    // Each step runs under its own catch, so a raising handler does not cost the rest of its
    // batch. Errors is the error word the event thread took for the batch.
    void CallEvents(TComEvents Events, DWORD Errors);
    void CallEvent(DWORD Event, DWORD Errors);
    void ReceiveStep();
    // Runs one batch or step as the thread's delivery; an escaping exception goes to the
    // application and delivery goes on.
    void Deliver(const std::function<void()>& step);

    std::unique_ptr<TComThread> FEventThread;
    bool FThreadCreated = false;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    HWND FWindow = nullptr;
    int FUpdateCount = 0;
    std::vector<TComLink*> FLinks;
    bool FTriggersOnRxChar = true;
    TThreadPriority FEventThreadPriority = tpNormal;
    bool FHasLink = false;
    bool FConnected = false;
    bool FClosing = false;
    // Set on the main thread while it runs a batch the event thread waits for (smThreadSync).
    bool FInThreadBatch = false;
    // Set on the main thread while it runs one step sent by the event thread (smWindowSync).
    bool FInWindowStep = false;
    // Free was called from a handler of the port's own batch: nothing more is delivered.
    std::atomic<bool> FFreePending{false};
    // Cleared by the destructor, so a deferred free that comes too late does nothing.
    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
    // Line errors taken from the device by QueueCount and not yet delivered.
    std::atomic<DWORD> FPendingErrors{0};
    TBaudRate FBaudRate = br9600;
    int FCustomBaudRate = 9600;
    String FPort = u"COM1";
    TStopBits FStopBits = sbOneStopBit;
    TDataBits FDataBits = dbEight;
    bool FDiscardNull = false;
    char16_t FEventChar = 0;
    TComEvents FEvents = AllComEvents;
    std::unique_ptr<TComBuffer> FBuffer = std::make_unique<TComBuffer>();
    std::unique_ptr<TComParity> FParity = std::make_unique<TComParity>();
    std::unique_ptr<TComTimeouts> FTimeouts = std::make_unique<TComTimeouts>();
    std::unique_ptr<TComFlowControl> FFlowControl = std::make_unique<TComFlowControl>();
    TSyncMethod FSyncMethod = smThreadSync;
    TStoredProps FStoredProps{spBasic};
    uint32_t FCodePage = 0;
};

// The component as forms hold it.
class TComPort : public TCustomComPort {
public:
    using TCustomComPort::TCustomComPort;
    const char* ClassName() const override { return "TComPort"; }
};

// ---- port list and value names ------------------------------------------------------------

// Replaces Strings with the names of the serial ports present (device names such as "ttyS0",
// "ttyUSB0", and registered simulated devices), sorted as text without regard to case.
void ListSerialPorts(TStrings* Strings);

// The short English names of setting values, as settings files and combo boxes show them.
void BaudRateName(TBaudRate Value, String& Name);
void StopBitsName(TStopBits Value, String& Name);
void DataBitsName(TDataBits Value, String& Name);
void ParityName(TParityBits Value, String& Name);
void FlowControlName(TFlowControl Value, String& Name);
void DTRControlName(TDTRFlowControl Value, String& Name);
void RTSControlName(TRTSFlowControl Value, String& Name);

// The value whose name equals Name without regard to case; a name of none gives br9600,
// sbOneStopBit, dbEight, prNone, fcCustom, dtrDisable and rtsDisable respectively.
TBaudRate BaudRateFromName(const String& Name);
TStopBits StopBitsFromName(const String& Name);
TDataBits DataBitsFromName(const String& Name);
TParityBits ParityFromName(const String& Name);
TFlowControl FlowControlFromName(const String& Name);
TDTRFlowControl DTRControlFromName(const String& Name);
TRTSFlowControl RTSControlFromName(const String& Name);

// "Yes" or "No"; only "YES" in any case reads as true.
void YesNoText(bool Value, String& Text);
bool YesNoValue(const String& Text);
// A character from 33 to 127 as itself, any other as "#" and its decimal code ("#17"). Read
// back: "" is #0, "#n" the code n cut to 8 bits (#0 when n is no number), else the first
// character.
void CharSettingText(char16_t Ch, String& Text);
char16_t CharSettingValue(const String& Text);

// Opens (creating it) the key Name below Path, whose first part chooses the root key
// ("HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER"; another leaves the default). A Path without
// "\" opens nothing.
void OpenSettingsKey(TRegistry& Registry, const String& Path, const String& Name);
