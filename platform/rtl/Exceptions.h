#pragma once
// The one exception hierarchy of the system: everything the libraries raise derives from Exception.
#include <exception>
#include <string>

#include "platform/rtl/String.h"

class Exception : public std::exception {
public:
    explicit Exception(const String& message) : FMessage(message), FUtf8(message.ToUtf8()) {}
    ~Exception() override = default;

    const String& Message() const { return FMessage; }
    void SetMessage(const String& message) { FMessage = message; FUtf8 = message.ToUtf8(); }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    // Name of the most derived class, for messages such as "Cannot assign a X to a Y".
    virtual const char* ClassName() const { return "Exception"; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    String FMessage;
    std::string FUtf8;
    int FHelpContext = 0;
};

#define RTL_DECLARE_EXCEPTION(Name, Base)                                        \
    class Name : public Base {                                                   \
    public:                                                                      \
        using Base::Base;                                                        \
        const char* ClassName() const override { return #Name; }                \
    }

RTL_DECLARE_EXCEPTION(EAbort, Exception);
RTL_DECLARE_EXCEPTION(EConvertError, Exception);
RTL_DECLARE_EXCEPTION(EInOutError, Exception);
RTL_DECLARE_EXCEPTION(EStreamError, Exception);
RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError);
RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError);
// Errors of component streaming; the plain stream read and write errors are filer errors too.
RTL_DECLARE_EXCEPTION(EFilerError, EStreamError);
RTL_DECLARE_EXCEPTION(EReadError, EFilerError);
RTL_DECLARE_EXCEPTION(EWriteError, EFilerError);
RTL_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
RTL_DECLARE_EXCEPTION(EListError, Exception);
RTL_DECLARE_EXCEPTION(EStringListError, Exception);
RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception);
RTL_DECLARE_EXCEPTION(EInvalidPointer, Exception);
RTL_DECLARE_EXCEPTION(EIntError, Exception);
RTL_DECLARE_EXCEPTION(EDivByZero, EIntError);
RTL_DECLARE_EXCEPTION(ERangeError, EIntError);
RTL_DECLARE_EXCEPTION(EIntOverflow, EIntError);
RTL_DECLARE_EXCEPTION(EMathError, Exception);
RTL_DECLARE_EXCEPTION(EZeroDivide, EMathError);
RTL_DECLARE_EXCEPTION(EOverflow, EMathError);
RTL_DECLARE_EXCEPTION(EInvalidOp, EMathError);
RTL_DECLARE_EXCEPTION(EOutOfMemory, Exception);
// The system has run out of a resource other than memory (timers, handles).
RTL_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);
RTL_DECLARE_EXCEPTION(EOSError, Exception);
RTL_DECLARE_EXCEPTION(EThread, Exception);
RTL_DECLARE_EXCEPTION(EInvalidArgument, Exception);
RTL_DECLARE_EXCEPTION(ENotImplemented, Exception);
RTL_DECLARE_EXCEPTION(EIniFileException, Exception);
RTL_DECLARE_EXCEPTION(EAssertionFailed, Exception);
// An object is not of the class a cast asks for ("Invalid class typecast").
RTL_DECLARE_EXCEPTION(EInvalidCast, Exception);

// Raises EAbort with no message: the "silent" exception that handlers let pass.
[[noreturn]] void Abort();
