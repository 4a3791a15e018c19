#include "calc/lcloopcalculator.h"

#include "calc/lcdeviceclass.h"
#include "calc/lcsuggestions.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr float kDetectorStandbyShare = 0.9f;
constexpr float kDetectorAlarmShare = 0.1f;
// ohm per km to ohm per m, and mA times ohm to V
constexpr float kUnitFactor = 1000.0f;
constexpr float kMaxResistanceNumerator = 4000000.0f;

// Off-loop and relay-fed devices are passed with what they draw but are not in the loop
// current, so the devices passed can draw more than it: then nothing is left to flow on, and
// a negative current would raise the voltage along the cable.
float currentLeft(float current, float used)
{
    return std::max(current - used, 0.0f);
}

// Panels of these types take more loop cards, so splitting the loop is offered first.
bool takesMoreLoopCards(const LCLoop &loop)
{
    const LCController *panel = loop.panel();
    const int type = panel ? panel->property(PropertyId::PanelType).toInt() : 0;
    return type == 3 || type == 5;
}

void addGroup(QVariantList *messages, const QStringList &group)
{
    for (const QString &line : group) {
        messages->append(line);
    }
}

void fail(LCLoop &loop, const QString &problem)
{
    loop.storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
    loop.storeProperty(PropertyId::ProblemText, problem);
}

void mark(LCLoop &loop, int index, int value)
{
    loop.child(index)->setProperty(PropertyId::CheckMark, value);
}
} // namespace

LCLoopCalculator::LCLoopCalculator(const QMap<int, DeviceType> &deviceTypes,
    const QMap<int, WireType> &wireTypes,
    float weightFactor)
    : m_deviceTypes(deviceTypes)
    , m_wireTypes(wireTypes)
    , m_weightFactor(weightFactor)
{
}

LCLoopCalculator LCLoopCalculator::fromLibrary()
{
    const LCDataStore *store = LCDataStore::instance();
    return LCLoopCalculator(store->deviceTypes(), store->wireTypes(), store->weightFactor());
}

LCLoopCalculator::Devices LCLoopCalculator::resolve(const LCLoop &loop) const
{
    Devices devices;
    devices.reserve(std::size_t(loop.childCount()));
    const DeviceType unknownType;
    const WireType unknownCable;
    for (int i = 0; i < loop.childCount(); ++i) {
        const LCObject &object = *loop.child(i);
        Device device;
        device.typeId = object.property(PropertyId::deviceTypeid).toInt();
        device.truck = object.property(PropertyId::truck).toInt();
        device.relay = object.property(PropertyId::Relay).toBool();
        device.metre = object.property(PropertyId::pos).toFloat();
        // a length that is no number would turn every voltage after it into one, and no check
        // fails on such a voltage: count it as no cable instead
        if (!std::isfinite(device.metre)) {
            device.metre = 0.0f;
        }
        const auto type = m_deviceTypes.constFind(device.typeId);
        const DeviceType &deviceType = type == m_deviceTypes.constEnd() ? unknownType : *type;
        device.standbyMilliAmp = deviceType.Current;
        device.alarmMilliAmp = deviceType.ActiveCurrent;
        device.capacitance = deviceType.Capacitance;
        const auto cable = m_wireTypes.constFind(object.property(PropertyId::CableType).toInt());
        const WireType &wireType = cable == m_wireTypes.constEnd() ? unknownCable : *cable;
        device.resistanceOhmPerKm = wireType.Resistance;
        device.capacityPerKm = wireType.Capacity;
        devices.push_back(device);
    }
    return devices;
}

float LCLoopCalculator::drawnMilliAmp(const Device &device)
{
    return LCDeviceClass::isDetector(device.typeId) ? device.standbyMilliAmp : device.alarmMilliAmp;
}

bool LCLoopCalculator::LoopSums::add(const Device &device, bool relayOnly)
{
    // devices off the loop or on the other side of the relay do not count; devices at one
    // place with the one before (no cable between) still draw
    if (LCDeviceClass::isOffLoop(device.typeId) || device.relay != relayOnly) {
        return false;
    }
    if (LCDeviceClass::isDetector(device.typeId)) {
        detectorStandby += device.standbyMilliAmp;
        detectorAlarm += device.alarmMilliAmp;
    } else {
        others += device.alarmMilliAmp;
    }
    return true;
}

float LCLoopCalculator::loopCurrent(const LCLoop &loop, bool relayOnly) const
{
    return loopCurrent(resolve(loop), relayOnly);
}

float LCLoopCalculator::loopCurrent(const Devices &devices, bool relayOnly)
{
    LoopSums sums;
    for (const Device &device : devices) {
        sums.add(device, relayOnly);
    }
    return sums.detectorStandby * kDetectorStandbyShare + sums.others
        + sums.detectorAlarm * kDetectorAlarmShare;
}

int LCLoopCalculator::relayLocation(const LCLoop &loop) const
{
    return relayLocation(resolve(loop));
}

int LCLoopCalculator::relayLocation(const Devices &devices) const
{
    LoopSums sums;
    const float factor = m_weightFactor;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (!sums.add(devices[i], false)) {
            continue;
        }
        if (sums.detectorStandby * factor + sums.others + (1.0f - factor) * sums.detectorAlarm
            > kMaxLoopCurrentMilliAmp) {
            return int(i) + 1;
        }
    }
    return kNoRelayLocation;
}

float LCLoopCalculator::maxCableResistance(const LCLoop &loop) const
{
    return maxCableResistance(resolve(loop));
}

float LCLoopCalculator::maxCableResistance(const Devices &devices)
{
    const float current = loopCurrent(devices, false);
    float used = 0.0f;
    float accumulated = 0.0f;
    for (const Device &device : devices) {
        used += drawnMilliAmp(device);
        accumulated += device.metre * currentLeft(current, used);
    }
    // no cable carrying current: no resistance is too high (inf)
    return kMaxResistanceNumerator / accumulated;
}

float LCLoopCalculator::maxCableCapacity(const LCLoop &loop) const
{
    return maxCableCapacity(resolve(loop));
}

float LCLoopCalculator::maxCableCapacity(const Devices &devices)
{
    if (devices.empty()) {
        return std::numeric_limits<float>::infinity();
    }
    float cableCapacity = 0.0f;
    float metres = 0.0f;
    for (const Device &device : devices) {
        cableCapacity += device.capacityPerKm;
        metres += device.metre;
    }
    return (kMaxCapacitance - cableCapacity) * kUnitFactor / metres;
}

void LCLoopCalculator::calculateLoop(LCLoop &loop) const
{
    const Devices devices = resolve(loop);
    const bool loopCardPrefix = takesMoreLoopCards(loop);
    QVariantList messages;

    const float current = loopCurrent(devices, false);
    if (current > kMaxLoopCurrentMilliAmp) {
        addGroup(&messages, LCSuggestions::currentGroup(relayLocation(devices), loopCardPrefix));
        fail(loop, LCSuggestions::currentProblem());
    } else {
        loop.storeProperty(PropertyId::ProblemText, QString());
        loop.storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
    }

    if (devices.empty()) {
        // no device, no current, no drop
        loop.storeProperty(PropertyId::VoltDrop, 0.0f);
    } else {
        float volt = 0.0f; // at the device
        float trunkVolt = 0.0f; // at the latest trunk device
        float used = 0.0f; // drawn by the devices passed
        float capacitance = 0.0f;
        bool go = true;
        bool soundersPending = true;
        for (std::size_t i = 0; i < devices.size(); ++i) {
            const Device &device = devices[i];
            const int index = int(i);
            if (!go) {
                mark(loop, index, CheckMarkValue::Flagged);
                continue;
            }
            // a relay-fed branch device takes nothing from the loop here: the relay pass checks it
            if (!(device.truck != 0 && device.relay)) {
                volt = std::max(volt, trunkVolt);
                const float drop = (device.resistanceOhmPerKm / kUnitFactor)
                    * currentLeft(current, used) * device.metre / kUnitFactor;
                volt = i == 0 ? kSupplyVolt - drop : volt - drop;
                capacitance =
                    capacitance + device.metre * device.capacityPerKm + device.capacitance;
                used += drawnMilliAmp(device);
                if (device.truck == 0) {
                    trunkVolt = volt;
                }
            }
            mark(loop, index, CheckMarkValue::Passed);
            check(loop, devices, index, volt, capacitance, &go, &soundersPending, &messages);
        }
        loop.storeProperty(PropertyId::VoltDrop, kSupplyVolt - volt);
    }

    loop.storeProperty(PropertyId::Suggestions, messages);
    relayPass(loop, devices, loopCardPrefix);
    LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
}

void LCLoopCalculator::check(LCLoop &loop,
    const Devices &devices,
    int index,
    float volt,
    float capacitance,
    bool *go,
    bool *soundersPending,
    QVariantList *messages)
{
    const Device &device = devices[std::size_t(index)];
    const int location = index + 1;
    const bool sounder = LCDeviceClass::isSounder(device.typeId);
    if (volt < kMinSounderVolt && sounder) {
        mark(loop, index, CheckMarkValue::Flagged);
        fail(loop, LCSuggestions::voltageProblem());
        if (*soundersPending) {
            addGroup(messages, LCSuggestions::sounderGroup(location));
        }
        *soundersPending = false;
    }
    if (volt < kMinDeviceVolt && !sounder) {
        // a branch that fails leaves the rest of the loop worth checking
        *go = device.truck != 0;
        mark(loop, index, CheckMarkValue::Flagged);
        fail(loop, LCSuggestions::voltageProblem());
        addGroup(messages, LCSuggestions::voltageGroup(location, maxCableResistance(devices)));
    }
    if (capacitance > kMaxCapacitance) {
        if (device.truck == 0) {
            *go = false;
        }
        mark(loop, index, CheckMarkValue::Flagged);
        fail(loop, LCSuggestions::capacityProblem());
        addGroup(messages, LCSuggestions::capacityGroup(location, maxCableCapacity(devices)));
    }
}

void LCLoopCalculator::relayPass(LCLoop &loop, const Devices &devices, bool loopCardPrefix) const
{
    if (loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::Fails) {
        return;
    }
    const float current = loopCurrent(devices, true);
    QVariantList messages = loop.property(PropertyId::Suggestions).toList();
    if (current > kMaxLoopCurrentMilliAmp) {
        addGroup(&messages, LCSuggestions::currentGroup(relayLocation(devices), loopCardPrefix));
        fail(loop, LCSuggestions::currentProblem());
    } else {
        loop.storeProperty(PropertyId::ProblemText, QString());
        loop.storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
    }

    float volt = 0.0f;
    float used = 0.0f;
    float capacitance = 0.0f;
    bool go = true;
    bool any = false;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const Device &device = devices[i];
        if (!device.relay || !LCDeviceClass::isOffLoop(device.typeId)) {
            continue;
        }
        const int index = int(i);
        if (!go) {
            mark(loop, index, CheckMarkValue::Flagged);
        } else {
            // each relay-fed device is reckoned straight from the panel's output
            volt = kSupplyVolt
                - currentLeft(current, used) * device.metre
                    * (device.resistanceOhmPerKm / kUnitFactor) / kUnitFactor;
            capacitance = capacitance + device.metre * device.capacityPerKm + device.capacitance;
            used += drawnMilliAmp(device);
            mark(loop, index, CheckMarkValue::Passed);
            // every failing sounder on a relay branch gets its own advice
            bool soundersPending = true;
            check(loop, devices, index, volt, capacitance, &go, &soundersPending, &messages);
        }
        any = true;
    }
    if (any && kSupplyVolt - volt > loop.property(PropertyId::VoltDrop).toFloat()) {
        loop.storeProperty(PropertyId::VoltDrop, kSupplyVolt - volt);
    }
    loop.storeProperty(PropertyId::Suggestions, messages);
}
