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
} // namespace

void LCLoopCalculator::Walk::fail(const QString &text)
{
    status = LoopStatusValue::Fails;
    problem = text;
}

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
    const Walk found = walk(loop, resolve(loop));
    for (std::size_t i = 0; i < found.results.size(); ++i) {
        loop.child(int(i))->setProperty(PropertyId::CheckMark, found.results[i].mark);
    }
    loop.storeProperty(PropertyId::LoopStatus, found.status);
    loop.storeProperty(PropertyId::ProblemText, found.problem);
    loop.storeProperty(PropertyId::VoltDrop, found.voltDrop);
    loop.storeProperty(PropertyId::Suggestions, found.messages);
    LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
}

std::vector<LCDeviceResult> LCLoopCalculator::deviceResults(const LCLoop &loop) const
{
    return walk(loop, resolve(loop)).results;
}

LCLoopCalculator::Walk LCLoopCalculator::walk(const LCLoop &loop, const Devices &devices) const
{
    Walk found;
    found.results.resize(devices.size());
    // where each device sits along the cable: a branch goes off the latest trunk device
    float trunkMetre = 0.0f;
    float branchMetre = 0.0f;
    int branch = 0;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const Device &device = devices[i];
        LCDeviceResult &result = found.results[i];
        result.truck = device.truck;
        result.limitVolt =
            LCDeviceClass::isSounder(device.typeId) ? kMinSounderVolt : kMinDeviceVolt;
        if (device.truck == 0) {
            trunkMetre += device.metre;
            result.metre = trunkMetre;
            branch = 0;
        } else {
            branchMetre = device.truck == branch ? branchMetre + device.metre : device.metre;
            branch = device.truck;
            result.metre = trunkMetre + branchMetre;
        }
    }
    const bool loopCardPrefix = takesMoreLoopCards(loop);
    mainPass(found, devices, loopCardPrefix);
    relayPass(found, devices, loopCardPrefix);
    return found;
}

void LCLoopCalculator::mainPass(Walk &found, const Devices &devices, bool loopCardPrefix) const
{
    const float current = loopCurrent(devices, false);
    if (current > kMaxLoopCurrentMilliAmp) {
        addGroup(
            &found.messages, LCSuggestions::currentGroup(relayLocation(devices), loopCardPrefix));
        found.fail(LCSuggestions::currentProblem());
    }
    if (devices.empty()) {
        // no device, no current, no drop
        found.voltDrop = 0.0f;
        return;
    }
    // at the device, and at the latest trunk device: the panel's output before any device, so a
    // relay-fed first device, which takes nothing here, leaves the next one the full voltage
    float volt = kSupplyVolt;
    float trunkVolt = kSupplyVolt;
    float used = 0.0f; // drawn by the devices passed
    float capacitance = 0.0f;
    bool go = true;
    bool soundersPending = true;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const Device &device = devices[i];
        const int index = int(i);
        LCDeviceResult &result = found.results[i];
        if (!go) {
            found.mark(index, CheckMarkValue::Flagged);
            continue;
        }
        result.currentLeftMilliAmp = currentLeft(current, used);
        // a relay-fed branch device takes nothing from the loop here: the relay pass checks it
        if (!(device.truck != 0 && device.relay)) {
            volt = std::max(volt, trunkVolt);
            const float drop = (device.resistanceOhmPerKm / kUnitFactor)
                * currentLeft(current, used) * device.metre / kUnitFactor;
            volt = i == 0 ? kSupplyVolt - drop : volt - drop;
            capacitance = capacitance + device.metre * device.capacityPerKm + device.capacitance;
            used += drawnMilliAmp(device);
            if (device.truck == 0) {
                trunkVolt = volt;
            }
        }
        result.volt = volt;
        result.capacitance = capacitance;
        result.reached = true;
        found.mark(index, CheckMarkValue::Passed);
        check(found, devices, index, volt, capacitance, &go, &soundersPending);
    }
    found.voltDrop = kSupplyVolt - volt;
}

void LCLoopCalculator::check(Walk &found,
    const Devices &devices,
    int index,
    float volt,
    float capacitance,
    bool *go,
    bool *soundersPending)
{
    QVariantList *const messages = &found.messages;
    const Device &device = devices[std::size_t(index)];
    const int location = index + 1;
    const bool sounder = LCDeviceClass::isSounder(device.typeId);
    if (volt < kMinSounderVolt && sounder) {
        found.mark(index, CheckMarkValue::Flagged);
        found.fail(LCSuggestions::voltageProblem());
        if (*soundersPending) {
            addGroup(messages, LCSuggestions::sounderGroup(location));
        }
        *soundersPending = false;
    }
    if (volt < kMinDeviceVolt && !sounder) {
        // a branch that fails leaves the rest of the loop worth checking
        *go = device.truck != 0;
        found.mark(index, CheckMarkValue::Flagged);
        found.fail(LCSuggestions::voltageProblem());
        addGroup(messages, LCSuggestions::voltageGroup(location, maxCableResistance(devices)));
    }
    if (capacitance > kMaxCapacitance) {
        if (device.truck == 0) {
            *go = false;
        }
        found.mark(index, CheckMarkValue::Flagged);
        found.fail(LCSuggestions::capacityProblem());
        addGroup(messages, LCSuggestions::capacityGroup(location, maxCableCapacity(devices)));
    }
}

void LCLoopCalculator::relayPass(Walk &found, const Devices &devices, bool loopCardPrefix) const
{
    if (found.status == LoopStatusValue::Fails) {
        return;
    }
    const float current = loopCurrent(devices, true);
    if (current > kMaxLoopCurrentMilliAmp) {
        addGroup(
            &found.messages, LCSuggestions::currentGroup(relayLocation(devices), loopCardPrefix));
        found.fail(LCSuggestions::currentProblem());
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
        LCDeviceResult &result = found.results[i];
        result.relayPass = true;
        if (!go) {
            found.mark(index, CheckMarkValue::Flagged);
            result.reached = false;
        } else {
            // each relay-fed device is reckoned straight from the panel's output
            result.currentLeftMilliAmp = currentLeft(current, used);
            volt = kSupplyVolt
                - currentLeft(current, used) * device.metre
                    * (device.resistanceOhmPerKm / kUnitFactor) / kUnitFactor;
            capacitance = capacitance + device.metre * device.capacityPerKm + device.capacitance;
            used += drawnMilliAmp(device);
            result.volt = volt;
            result.capacitance = capacitance;
            result.reached = true;
            found.mark(index, CheckMarkValue::Passed);
            // every failing sounder on a relay branch gets its own advice
            bool soundersPending = true;
            check(found, devices, index, volt, capacitance, &go, &soundersPending);
        }
        any = true;
    }
    if (any && kSupplyVolt - volt > found.voltDrop) {
        found.voltDrop = kSupplyVolt - volt;
    }
}
