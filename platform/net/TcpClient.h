#pragma once
// A blocking TCP client component: everything (connect, send, the waits and reads, and the
// events they raise) runs on the calling thread. Every failed socket call reaches OnError with
// its error number and then raises ESocketError, so a caller's handler sees a failed connect.
#include <cstdint>
#include <functional>

#include "platform/rtl/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/String.h"

RTL_DECLARE_EXCEPTION(ESocketError, Exception);

using TSocketNotifyEvent = std::function<void(TObject* Sender)>;
// Raised for every read, with the bytes read (DataLen of them, at Buf).
using TSocketDataEvent = std::function<void(TObject* Sender, char* Buf, int& DataLen)>;
// The error number (errno, or the resolver's code as a negative number) of a failed call.
using TSocketErrorEvent = std::function<void(TObject* Sender, int SocketError)>;

class TTcpClient : public TComponent {
public:
    explicit TTcpClient(TComponent* AOwner);
    ~TTcpClient() override;
    const char* ClassName() const override { return "TTcpClient"; }

    // Host name or address and service or port, as 8-bit (UTF-8) text.
    const AnsiString& RemoteHost() const { return FRemoteHost; }
    void SetRemoteHost(const AnsiString& value) { FRemoteHost = value; }
    const AnsiString& RemotePort() const { return FRemotePort; }
    void SetRemotePort(const AnsiString& value) { FRemotePort = value; }

    // Active: connected, or asked to connect. Setting it true connects, false disconnects.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    // Connects to RemoteHost:RemotePort, blocking until it stands or fails; OnConnect runs once
    // the connection stands. True when connected (also when it already was).
    bool Connect();
    bool Connected() const { return FSocket >= 0; }
    // Closes the connection; OnDisconnect runs when there was one.
    void Disconnect();

    // Sends all len bytes; the count sent.
    int SendBuf(const void* buf, int len);
    // One read of what has arrived, up to len bytes: the count read, 0 when the peer has closed
    // (the client then disconnects).
    int ReceiveBuf(void* buf, int len);
    // True when data (or the peer's close) is ready to read within ms milliseconds of real time.
    bool WaitForData(int ms);

    TSocketNotifyEvent OnConnect;
    TSocketNotifyEvent OnDisconnect;
    TSocketDataEvent OnReceive;
    TSocketErrorEvent OnError;

private:
    // Reports a failed call: OnError, then ESocketError.
    [[noreturn]] void Fail(const char* call, int error);
    void CloseSocket();

    AnsiString FRemoteHost;
    AnsiString FRemotePort;
    bool FActive = false;
    int FSocket = -1;
};
