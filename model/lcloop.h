#pragma once

#include "model/lcobject.h"

class LCController;
class LCDevice;

// One loop of a panel; its children are the devices in their order along the cable. A device's
// position in the list is its location (shown from 1).
class LCLoop : public LCObject
{
public:
    // More devices than this make a loop full.
    static constexpr int kMaxDevices = 241;

    explicit LCLoop(LCObject *parent = nullptr);

    LCController *panel() const;
    LCDevice *device(int index) const;

    bool isFull() const { return childCount() > kMaxDevices; }
    // Cable from the panel to the first device in m; 0 for an empty loop.
    float firstCableLength() const;
    // LastDis plus every device's cable, in m, summed in single precision in list order.
    float totalCableLength() const;
    // Number of the branch the device at row (row >= 1) belongs to, counted from 0 in the order
    // the branches begin along the loop; a branch that resumes after another takes the number of
    // the latest branch begun before it.
    int branchNumber(int row) const;
    // Spreads totalMetre of cable: firstRunMetre to the first device, an equal share to every
    // other device and to the run back to the panel.
    void distributeCable(float totalMetre, float firstRunMetre);
    // Gives every device without a sub type the default one of its device type.
    void fillMissingSubTypes();

    // Puts the results back to "not calculated"; VoltDrop and ResultText stay. False when they
    // were so already, as for every cell after the first of a multi-cell edit.
    bool resetResults();

protected:
    void childInserted(LCObject *child, int index) override;
    void childRemoved(int index) override;
    void propertyChanged(PropertyId id, const QVariant &value) override;
};
