// The listing of present serial devices, over a fake sysfs tree.
#include <gtest/gtest.h>

#include "app/COMname.h"
#include "platform/win/CommPorts.h"
#include "platform/win/CommSim.h"
#include "platform/win/tests/FakeSysfs.h"

namespace {

class PortListing : public ::testing::Test, protected wintest::FakeSysfsTree {
protected:
    PortListing() : wintest::FakeSysfsTree("rwb-portlisting") {
        win::SetSerialDeviceTree(tty.string(), dev.string());
    }
    ~PortListing() override { win::SetSerialDeviceTree(std::string(), std::string()); }
};

TEST_F(PortListing, NoDeviceGivesTheHeaderAlone) {
    ListComPorts();
    EXPECT_EQ(ComPortListText.ToUtf8(), "【使用可能COMﾎﾟｰﾄ】\r\n");
}

TEST_F(PortListing, DevicesFollowByFriendlyNameInTheLayersOrder) {
    Write(root / "devices/usb1/1-1/idVendor", "0403");
    Write(root / "devices/usb1/1-1/product", "FT232R USB UART");
    AddPort("ttyUSB0", "devices/usb1/1-1/1-1:1.0/ttyUSB0", "ftdi_sio");
    AddPort("ttyACM0", "devices/pci0/acm", "cdc_acm");
    // A pseudo-terminal has no device behind it: no serial device, not listed.
    std::filesystem::create_directories(tty / "pts0");
    auto sim = win::SimDevice::Register(u"SIMLISTING");
    ListComPorts();
    EXPECT_EQ(ComPortListText.ToUtf8(),
              "【使用可能COMﾎﾟｰﾄ】\r\n"
              "SIMLISTING (simulated)\r\n"
              "cdc_acm (ttyACM0)\r\n"
              "FT232R USB UART (ttyUSB0)\r\n");
}

}  // namespace
