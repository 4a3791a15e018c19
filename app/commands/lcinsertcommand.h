#pragma once

#include "app/commands/lcpropertychanges.h"

#include <QUndoCommand>

#include <memory>

// A child put into its parent: a device into a loop (Add Device), a loop into a panel (Add
// Loop), a panel into the project (Add FACP). It is made once the child is in, by a command or
// by the dialog that creates it; while undone the command holds the child. What the insertion
// changed in the parent (a panel raises its loop card count) goes back and forth with it.
class LCInsertCommand : public QUndoCommand
{
public:
    // parentBefore: the parent's values before child was put in; text names the step.
    LCInsertCommand(
        LCObject &parent, LCObject &child, const LCPropertyMap &parentBefore, const QString &text);
    ~LCInsertCommand() override;

    void undo() override;
    void redo() override;

private:
    LCObject &m_parent;
    LCObject *m_child;
    int m_index;
    LCPropertyChanges m_parentChanges;
    std::unique_ptr<LCObject> m_taken;
    bool m_done = true;
};
