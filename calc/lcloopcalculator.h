#pragma once

#include "calc/lcdeviceresult.h"
#include "definitions/devicetype.h"
#include "definitions/wiretype.h"

#include <QMap>
#include <QVariantList>

#include <vector>

class LCLoop;

// Checks whether the devices of a loop can work when the loop is driven from the panel's 24 V
// output: the loop current, the voltage left at each device along trunk, branches and branches
// fed through loop relay modules, and the capacitance of cable and devices. All arithmetic is
// single precision, in the order an engineer's hand calculation takes.
class LCLoopCalculator
{
public:
    static constexpr float kSupplyVolt = 24.0f;
    static constexpr float kMaxLoopCurrentMilliAmp = 400.0f;
    static constexpr float kMinSounderVolt = 20.0f;
    static constexpr float kMinDeviceVolt = 16.0f;
    static constexpr float kMaxCapacitance = 300000.0f;
    // the location answered when the current never passes the maximum
    static constexpr int kNoRelayLocation = 243;

    // Checks against the given definitions; weightFactor weighs standby against alarm current
    // when looking for the place of a relay module.
    LCLoopCalculator(const QMap<int, DeviceType> &deviceTypes,
        const QMap<int, WireType> &wireTypes,
        float weightFactor);
    // Checks against the user definitions and the weighting factor of the library.
    static LCLoopCalculator fromLibrary();

    // Runs the check, stores LoopStatus, ProblemText, VoltDrop, Suggestions and every device's
    // CheckMark, and tells the observers the loop's results changed.
    void calculateLoop(LCLoop &loop) const;
    // What the check finds at each device of loop, in the loop's order, without storing anything.
    std::vector<LCDeviceResult> deviceResults(const LCLoop &loop) const;

    // Loop current in mA: detectors with 90 % standby and 10 % alarm current, other devices with
    // their alarm current; off-loop devices left out. relayOnly counts the devices on relay
    // branches instead of the others.
    float loopCurrent(const LCLoop &loop, bool relayOnly) const;
    // 1-based location of the device that takes the weighted current past the maximum.
    int relayLocation(const LCLoop &loop) const;
    // The highest cable resistance in ohm/km with which the loop would still work.
    float maxCableResistance(const LCLoop &loop) const;
    // The highest cable capacity per km with which the loop would still work.
    float maxCableCapacity(const LCLoop &loop) const;

private:
    // A device with its type and cable looked up once.
    struct Device {
        int typeId = 0;
        int truck = 0;
        bool relay = false;
        float metre = 0.0f;
        float standbyMilliAmp = 0.0f;
        float alarmMilliAmp = 0.0f;
        float capacitance = 0.0f;
        float resistanceOhmPerKm = 0.0f;
        float capacityPerKm = 0.0f;
    };
    using Devices = std::vector<Device>;

    // The current of the devices that count, summed in the order of the loop.
    struct LoopSums {
        float detectorStandby = 0.0f;
        float detectorAlarm = 0.0f;
        float others = 0.0f;
        // Adds device when it counts; false when it does not.
        bool add(const Device &device, bool relayOnly);
    };

    // Everything one run of the check finds, before any of it is stored in the loop.
    struct Walk {
        int status = 1;
        QString problem;
        QVariantList messages;
        float voltDrop = 0.0f;
        std::vector<LCDeviceResult> results;
        void fail(const QString &text);
        void mark(int index, int value) { results[std::size_t(index)].mark = value; }
    };

    Devices resolve(const LCLoop &loop) const;
    Walk walk(const LCLoop &loop, const Devices &devices) const;
    void mainPass(Walk &walk, const Devices &devices, bool loopCardPrefix) const;
    static float loopCurrent(const Devices &devices, bool relayOnly);
    int relayLocation(const Devices &devices) const;
    static float maxCableResistance(const Devices &devices);
    static float maxCableCapacity(const Devices &devices);
    // What a device passed draws from the loop.
    static float drawnMilliAmp(const Device &device);

    // The three checks of one device at volt with the capacitance so far. A failing trunk
    // device ends the walk (go); only the first failing sounder adds advice while
    // soundersPending is set.
    static void check(Walk &walk,
        const Devices &devices,
        int index,
        float volt,
        float capacitance,
        bool *go,
        bool *soundersPending);
    void relayPass(Walk &walk, const Devices &devices, bool loopCardPrefix) const;

    QMap<int, DeviceType> m_deviceTypes;
    QMap<int, WireType> m_wireTypes;
    float m_weightFactor;
};
