#include "platform/win/CommPorts.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/win/CommSim.h"

namespace win {

namespace fs = std::filesystem;

namespace {

std::string ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// A legacy UART driver registers its port numbers whether or not a chip answers; the kernel
// tells them apart by the port type.
bool UartPresent(const std::string& devPath) {
    int fd = ::open(devPath.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info {};
    bool present = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

// Product text of the USB device above a tty, if it is on USB.
std::string UsbProduct(const fs::path& device) {
    std::error_code ec;
    fs::path p = fs::canonical(device, ec);
    if (ec) return {};
    for (int i = 0; i < 6 && !p.empty() && p != p.root_path(); ++i, p = p.parent_path()) {
        if (!fs::exists(p / "idVendor", ec)) continue;
        std::string product = ReadLine(p / "product");
        std::string maker = ReadLine(p / "manufacturer");
        if (!product.empty()) return product;
        if (!maker.empty()) return maker + " USB serial device";
        return "USB serial device " + ReadLine(p / "idVendor") + ":" + ReadLine(p / "idProduct");
    }
    return {};
}

}  // namespace

std::vector<SerialPortInfo> EnumerateSerialPorts(const std::string& sysClassTty, const std::string& devDir) {
    std::vector<SerialPortInfo> ports;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sysClassTty, ec)) {
        std::string name = entry.path().filename().string();
        fs::path device = entry.path() / "device";
        // Virtual terminals and pseudo-terminals have no device behind them.
        if (!fs::exists(device, ec)) continue;
        fs::path driverLink = device / "driver";
        if (!fs::exists(driverLink, ec)) continue;
        std::string driver = fs::canonical(driverLink, ec).filename().string();
        if (ec) continue;
        std::string devPath = devDir + "/" + name;
        if (!fs::exists(devPath, ec)) continue;
        // A port of the kernel's serial core says what chip it found in its type (0: none),
        // whichever driver holds the device: newer kernels bind every such port to the core's
        // own "port" driver. Older ones leave only the legacy driver's name and the ioctl.
        const std::string type = ReadLine(entry.path() / "type");
        const bool serialCore = !type.empty();
        if (serialCore ? type == "0" : driver == "serial8250" && !UartPresent(devPath)) continue;
        std::string friendly = UsbProduct(device);
        if (friendly.empty()) friendly = serialCore || driver == "serial8250" || driver == "port" ? "Serial port" : driver;
        ports.push_back({String(name), String(devPath), String(friendly + " (" + name + ")"), String(driver)});
    }
    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.Name < b.Name; });
    return ports;
}

namespace {
std::mutex gTreeLock;
std::string gSysClassTty = "/sys/class/tty";
std::string gDevDir = "/dev";
}  // namespace

void SetSerialDeviceTree(const std::string& sysClassTty, const std::string& devDir) {
    std::lock_guard<std::mutex> lock(gTreeLock);
    gSysClassTty = sysClassTty.empty() ? "/sys/class/tty" : sysClassTty;
    gDevDir = devDir.empty() ? "/dev" : devDir;
}

std::vector<SerialPortInfo> EnumerateSerialPorts() {
    std::string tty, dev;
    {
        std::lock_guard<std::mutex> lock(gTreeLock);
        tty = gSysClassTty;
        dev = gDevDir;
    }
    std::vector<SerialPortInfo> ports = EnumerateSerialPorts(tty, dev);
    for (const String& name : SimDevice::Names())
        ports.push_back({name, String(), name + u" (simulated)", String("sim")});
    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.Name < b.Name; });
    return ports;
}

}  // namespace win
