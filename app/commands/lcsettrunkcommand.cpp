#include "app/commands/lcsettrunkcommand.h"

#include "app/commands/lcpropertycommand.h"
#include "model/lcloop.h"

#include <QCoreApplication>

LCSetTrunkCommand::LCSetTrunkCommand(LCLoop &loop, int branch)
    : QUndoCommand(QCoreApplication::translate("MainWindow", "Set Trunk"))
{
    for (int row = 0; row < loop.childCount(); ++row) {
        LCObject *const device = loop.child(row);
        if (device->property(PropertyId::truck).toInt() == branch) {
            new LCPropertyCommand(*device, PropertyId::truck, 0, this);
            new LCPropertyCommand(*device, PropertyId::Relay, false, this);
        }
    }
    setObsolete(childCount() == 0);
}
