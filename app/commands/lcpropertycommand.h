#pragma once

#include "app/commands/lcpropertychanges.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

// Values of objects set as one step the user can take back: a cell of a grid, every cell of a
// multi-cell edit, the date a calculation stamps, a device put on a branch. Each value is set
// when it joins the command, with the object's hooks (the loop's results become stale); undo and
// redo set it again the same way and then put back exactly what the hooks changed besides, such
// as the default sub type a new device type brings. A command that changes nothing is obsolete
// and never stays on a stack.
class LCPropertyCommand : public QUndoCommand
{
public:
    LCPropertyCommand(
        LCObject &object, PropertyId id, const QVariant &value, QUndoCommand *parent = nullptr);
    ~LCPropertyCommand() override;

    // Sets one more value as part of this step; undo takes the values back last first.
    void add(LCObject &object, PropertyId id, const QVariant &value);

    void undo() override;
    void redo() override;

private:
    struct Change {
        LCObject *object;
        PropertyId id;
        LCPropertyChanges changes;
    };

    static void set(Change &change, const QVariant &value);
    static void apply(const Change &change, bool forward);

    Change m_first;
    // the values after the first of a multi-cell edit; most steps set one value, and an undo
    // stack may hold thousands of them, so a single edit keeps no list
    std::unique_ptr<std::vector<Change>> m_more;
    // the change was made on construction; the stack's first redo() finds it done
    bool m_done = true;
};
