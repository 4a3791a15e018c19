#include "app/commands/lcadddevicecommand.h"

#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QCoreApplication>

LCAddDeviceCommand::Added LCAddDeviceCommand::addDevice(LCLoop &loop, int position)
{
    LCPropertyMap before = loop.properties();
    auto device = std::make_unique<LCDevice>(&loop);
    device->setProperty(PropertyId::deviceTypeid, LCDevice::kDefaultDeviceType);
    device->setProperty(PropertyId::pos, 0.0f);
    device->setProperty(PropertyId::truck, 0);
    device->setProperty(PropertyId::CableType, loop.property(PropertyId::LoopCableType).toInt());
    device->setProperty(PropertyId::Relay, false);
    LCObject *const added = device.get();
    const bool inRange = position >= 0 && position <= loop.childCount();
    loop.insertChild(std::move(device), inRange ? position : -1);
    return {added, std::move(before)};
}

LCAddDeviceCommand::LCAddDeviceCommand(LCLoop &loop, int position)
    : LCAddDeviceCommand(loop, addDevice(loop, position))
{
}

LCAddDeviceCommand::LCAddDeviceCommand(LCLoop &loop, const Added &added)
    : LCInsertCommand(loop,
        *added.device,
        added.loopBefore,
        QCoreApplication::translate("MainWindow", "Add Device"))
{
}
