#pragma once

#include "app/commands/lcpropertychanges.h"

#include <QUndoCommand>

// One value of one object set as a step the user can take back: a cell of a grid, the date a
// calculation stamps, a device put on a branch. The value is set when the command is made, with
// the object's hooks (the loop's results become stale); undo and redo set it again the same way
// and then put back exactly what the hooks changed besides, such as the default sub type a new
// device type brings. A command that changes nothing is obsolete and never stays on a stack.
class LCPropertyCommand : public QUndoCommand
{
public:
    LCPropertyCommand(
        LCObject &object, PropertyId id, const QVariant &value, QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    void apply(bool forward);

    LCObject &m_object;
    const PropertyId m_id;
    LCPropertyChanges m_changes;
    // the change was made on construction; the stack's first redo() finds it done
    bool m_done = true;
};
