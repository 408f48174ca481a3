#include "platform/win/Errors.h"

#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Handles.h"

String SysErrorMessage(DWORD code) {
    switch (code) {
    case ERROR_SUCCESS: return u"The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND: return u"The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND: return u"The system cannot find the path specified.";
    case ERROR_ACCESS_DENIED: return u"Access is denied.";
    case ERROR_INVALID_HANDLE: return u"The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY: return u"Not enough memory resources are available to process this command.";
    case ERROR_GEN_FAILURE: return u"A device attached to the system is not functioning.";
    case ERROR_SHARING_VIOLATION: return u"The process cannot access the file because it is being used by another process.";
    case ERROR_NOT_SUPPORTED: return u"The request is not supported.";
    case ERROR_INVALID_PARAMETER: return u"The parameter is incorrect.";
    case ERROR_SEM_TIMEOUT: return u"The semaphore timeout period has expired.";
    case ERROR_INSUFFICIENT_BUFFER: return u"The data area passed to a system call is too small.";
    case ERROR_OPERATION_ABORTED: return u"The I/O operation has been aborted because of either a thread exit or an application request.";
    case ERROR_IO_INCOMPLETE: return u"Overlapped I/O event is not in a signaled state.";
    case ERROR_IO_PENDING: return u"Overlapped I/O operation is in progress.";
    case ERROR_DEVICE_NOT_CONNECTED: return u"The device is not connected.";
    case ERROR_RESOURCE_DATA_NOT_FOUND: return u"The specified image file did not contain a resource section.";
    case ERROR_RESOURCE_TYPE_NOT_FOUND: return u"The specified resource type cannot be found in the image file.";
    case ERROR_RESOURCE_NAME_NOT_FOUND: return u"The specified resource name cannot be found in the image file.";
    default: return String("Unknown error " + std::to_string(code) + ".");
    }
}

void RaiseLastOSError() {
    const DWORD code = GetLastError();
    throw EOSError(String("System Error.  Code: " + std::to_string(code) + ".\n") + SysErrorMessage(code));
}
