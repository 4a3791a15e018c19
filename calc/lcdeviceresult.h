#pragma once

// What the loop check found at one device, as the voltage chart and the calculation sheet show
// it. Plain data: the check computes it for every device of a loop, in the loop's order.
struct LCDeviceResult {
    // along the cable from the panel; a branch device hangs off the trunk device before its
    // branch, further along by the branch's cable up to it
    float metre = 0.0f;
    // left at the device: by the main pass, or by the relay pass for a device fed through a
    // loop relay module
    float volt = 0.0f;
    // flowing in the cable section before the device
    float currentLeftMilliAmp = 0.0f;
    // the lowest voltage the device works at: 20 V for sounder-class devices, 16 V otherwise
    float limitVolt = 0.0f;
    // of cables and devices up to here, in the pass that reckons the device
    float capacitance = 0.0f;
    int truck = 0;
    bool relayPass = false;
    // the walk reached the device; after a failure that ends it, devices are not reckoned
    bool reached = false;
    // the CheckMark the check stores
    int mark = -1;
};
