#include "app/commands/lcsetbranchcommand.h"

#include "app/commands/lcpropertycommand.h"
#include "model/lcloop.h"

#include <QCoreApplication>

LCSetBranchCommand::LCSetBranchCommand(LCLoop &loop, const QList<int> &rows, bool relay)
    : QUndoCommand(QCoreApplication::translate("MainWindow", "Set Branch"))
{
    const int branch = rows.isEmpty() ? 0 : rows.first();
    for (const int row : rows) {
        if (row == 0) {
            m_stopped = true;
            break;
        }
        LCObject *const device = loop.child(row);
        if (!device) {
            continue;
        }
        // children of this command: done now, taken back and redone with it
        new LCPropertyCommand(*device, PropertyId::truck, branch, this);
        if (relay) {
            new LCPropertyCommand(*device, PropertyId::Relay, true, this);
        }
    }
    setObsolete(childCount() == 0);
}
