#pragma once

#include "app/commands/lcpropertychanges.h"

#include <QList>
#include <QUndoCommand>

#include <memory>
#include <utility>
#include <vector>

// Children taken out of their parent: devices of a loop (Delete Device), loops of a panel
// (Delete Loop), a panel of the project (Delete AFCP). While done the command holds them, with
// their subtrees; undo puts each back where it was, so the project is as before.
class LCRemoveCommand : public QUndoCommand
{
public:
    // The children at rows (each once, any order) go on the first redo(); text names the step.
    LCRemoveCommand(LCObject &parent, QList<int> rows, const QString &text);
    ~LCRemoveCommand() override;

    void undo() override;
    void redo() override;

private:
    LCObject &m_parent;
    QList<int> m_rows; // from the bottom up, so each row is where it was when it goes
    std::vector<std::pair<int, std::unique_ptr<LCObject>>> m_taken;
    LCPropertyChanges m_parentChanges;
    bool m_recorded = false;
};
