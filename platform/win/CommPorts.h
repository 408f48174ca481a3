#pragma once
// The serial ports present on this machine, for port choosers.
#include <string>
#include <vector>

#include "platform/rtl/String.h"

namespace win {

struct SerialPortInfo {
    String Name;          // what CreateFile takes: "ttyUSB0", or a simulated device's name
    String Path;          // "/dev/ttyUSB0"; empty for a simulated device
    String FriendlyName;  // "FT232R USB UART (ttyUSB0)"
    String Driver;        // kernel driver ("ftdi_sio", "serial8250", ...)
};

// Present serial devices (and registered simulated devices), sorted by name in plain text order.
std::vector<SerialPortInfo> EnumerateSerialPorts();
// Points the enumeration above at another sysfs class folder and device folder (tests pass a
// fake tree); empty texts put back /sys/class/tty and /dev.
void SetSerialDeviceTree(const std::string& sysClassTty, const std::string& devDir);
// The same over a given sysfs class folder and device folder (tests pass a fake tree);
// simulated devices are not included.
std::vector<SerialPortInfo> EnumerateSerialPorts(const std::string& sysClassTty, const std::string& devDir);

}  // namespace win
