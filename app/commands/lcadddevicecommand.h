#pragma once

#include "app/commands/lcinsertcommand.h"

class LCLoop;

// Add Device: a new device of the default type on the loop's cable type, on the trunk, 0 m
// from the device before it.
class LCAddDeviceCommand : public LCInsertCommand
{
public:
    // Puts the device at position (appended when position is out of range).
    LCAddDeviceCommand(LCLoop &loop, int position);

private:
    struct Added {
        LCObject *device;
        LCPropertyMap loopBefore; // the loop's values before the device went in
    };
    static Added addDevice(LCLoop &loop, int position);
    LCAddDeviceCommand(LCLoop &loop, const Added &added);
};
