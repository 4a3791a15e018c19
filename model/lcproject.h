#pragma once

#include "model/lcobject.h"

class LCController;

// The root of a project; its children are the panels, kept in ascending Panelid order.
class LCProject : public LCObject
{
public:
    LCProject();

    LCController *panel(int index) const;
    // The smallest panel number not yet taken, counting from 1.
    int lowestFreePanelNumber() const;

protected:
    void childInserted(LCObject *child, int index) override;
};
