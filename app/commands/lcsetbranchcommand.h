#pragma once

#include <QList>
#include <QUndoCommand>

class LCLoop;

// Set Branch: the devices at the selected rows join the branch numbered after the first of
// them, fed through a loop relay module when the user asked for one. A branch cannot start at
// the first device: the command stops at row 0, keeping the devices set before it.
class LCSetBranchCommand : public QUndoCommand
{
public:
    // rows in the order they were selected.
    LCSetBranchCommand(LCLoop &loop, const QList<int> &rows, bool relay);

    // Whether the command stopped at the first device.
    bool stoppedAtFirstDevice() const { return m_stopped; }

private:
    bool m_stopped = false;
};
