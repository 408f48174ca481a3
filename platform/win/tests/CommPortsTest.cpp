// Port enumeration over a fake sysfs tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win/CommPorts.h"
#include "platform/win/CommSim.h"
#include "platform/win/tests/FakeSysfs.h"

namespace fs = std::filesystem;

namespace {

class FakeSysfs : public ::testing::Test, protected wintest::FakeSysfsTree {
protected:
    FakeSysfs() : wintest::FakeSysfsTree("commports") {}
};

TEST_F(FakeSysfs, ListsPresentPortsSortedWithFriendlyNames) {
    Write(root / "devices/usb1/1-1/idVendor", "0403");
    Write(root / "devices/usb1/1-1/idProduct", "6001");
    Write(root / "devices/usb1/1-1/product", "FT232R USB UART");
    AddPort("ttyUSB0", "devices/usb1/1-1/1-1:1.0/ttyUSB0", "ftdi_sio");
    Write(root / "devices/usb1/1-2/idVendor", "2341");
    Write(root / "devices/usb1/1-2/idProduct", "0043");
    Write(root / "devices/usb1/1-2/manufacturer", "Maker");
    AddPort("ttyACM0", "devices/usb1/1-2/1-2:1.0", "cdc_acm");
    AddPort("ttyXR1", "devices/pci0/0000:01:00.0", "exar_serial");
    // Not listed: a virtual terminal (no device), a legacy UART slot without a chip (the fake
    // node answers no serial ioctl), a port whose node is missing.
    fs::create_directories(tty / "tty0");
    Write(dev / "tty0", "");
    AddPort("ttyS3", "devices/platform/serial8250/tty/ttyS3", "serial8250");
    AddPort("ttyAMA0", "devices/platform/uart0", "uart-pl011", false);

    auto ports = win::EnumerateSerialPorts(tty.string(), dev.string());
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].Name, String("ttyACM0"));
    EXPECT_EQ(ports[0].FriendlyName, String("Maker USB serial device (ttyACM0)"));
    EXPECT_EQ(ports[0].Driver, String("cdc_acm"));
    EXPECT_EQ(ports[1].Name, String("ttyUSB0"));
    EXPECT_EQ(ports[1].FriendlyName, String("FT232R USB UART (ttyUSB0)"));
    EXPECT_EQ(ports[1].Path, String((dev / "ttyUSB0").string()));
    EXPECT_EQ(ports[2].Name, String("ttyXR1"));
    EXPECT_EQ(ports[2].FriendlyName, String("exar_serial (ttyXR1)"));
}

// Built-in UARTs as newer kernels show them: bound to the serial core's "port" driver, the chip
// named by the tty's type. A slot whose type is 0 has no chip.
TEST_F(FakeSysfs, BuiltInUartsAreSerialPortsWhateverTheirDriver) {
    AddPort("ttyS0", "devices/platform/serial8250/serial8250:0/serial8250:0.0", "port");
    Write(tty / "ttyS0/type", "4");
    AddPort("ttyS1", "devices/platform/serial8250/serial8250:0/serial8250:0.1", "port");
    Write(tty / "ttyS1/type", "0");
    AddPort("ttyS2", "devices/platform/serial8250/serial8250:0/serial8250:0.2", "port");
    auto ports = win::EnumerateSerialPorts(tty.string(), dev.string());
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].FriendlyName, String("Serial port (ttyS0)"));
    EXPECT_EQ(ports[0].Driver, String("port"));
    EXPECT_EQ(ports[1].FriendlyName, String("Serial port (ttyS2)"));
}

TEST_F(FakeSysfs, MissingTreeGivesAnEmptyList) {
    EXPECT_TRUE(win::EnumerateSerialPorts((root / "nothing").string(), dev.string()).empty());
}

TEST(CommPorts, RegisteredSimulatedDevicesAreListed) {
    auto b = win::SimDevice::Register(u"SIMLIST2");
    auto a = win::SimDevice::Register(u"SIMLIST1");
    auto ports = win::EnumerateSerialPorts();
    std::vector<String> names;
    for (auto& p : ports) names.push_back(p.Name);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    auto i1 = std::find(names.begin(), names.end(), String("SIMLIST1"));
    auto i2 = std::find(names.begin(), names.end(), String("SIMLIST2"));
    ASSERT_NE(i1, names.end());
    ASSERT_NE(i2, names.end());
    EXPECT_LT(i1, i2);
    b.reset();
    names.clear();
    for (auto& p : win::EnumerateSerialPorts()) names.push_back(p.Name);
    EXPECT_EQ(std::count(names.begin(), names.end(), String("SIMLIST2")), 0) << "gone with its last owner";
}

}  // namespace
