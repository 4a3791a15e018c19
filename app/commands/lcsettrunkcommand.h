#pragma once

#include <QUndoCommand>

class LCLoop;

// Set Trunk: every device of a branch goes back to the trunk and loses its relay mark.
class LCSetTrunkCommand : public QUndoCommand
{
public:
    LCSetTrunkCommand(LCLoop &loop, int branch);
};
