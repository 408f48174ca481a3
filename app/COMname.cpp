#include "app/COMname.h"

#include "platform/win/CommPorts.h"

String ComPortListText;

void ListComPorts() {
    String text = String("【使用可能COMﾎﾟｰﾄ】") + "\r\n";
    for (const win::SerialPortInfo& port : win::EnumerateSerialPorts()) text += port.FriendlyName + "\r\n";
    ComPortListText = text;
}
