#pragma once

#include "calc/lcloopcalculator.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"

#include <memory>

// A project with one panel and one loop, and a small library to check it against.
struct CalcFixture {
    // device type ids with their roles in the check
    static constexpr int kDetector = 1; // 0.3 mA standby, 5 mA alarm
    static constexpr int kModule = 10; // 10 mA in alarm
    static constexpr int kBigModule = 11; // 300 mA in alarm
    static constexpr int kZoneInterface = 12; // off the loop, draws nothing
    static constexpr int kSounder = 15; // 8 mA in alarm
    static constexpr int kSounderBeacon = 17; // 14 mA in alarm
    static constexpr int kThinCable = 1; // 20 ohm/km
    static constexpr int kHeavyCable = 2; // no resistance, 50000 per km

    explicit CalcFixture(int panelType = 1)
    {
        auto panelObject = std::make_unique<LCController>(&project);
        panelObject->storeProperty(PropertyId::Panelid, 1);
        panelObject->storeProperty(PropertyId::PanelType, panelType);
        panel = panelObject.get();
        project.insertChild(std::move(panelObject));
        auto loopObject = std::make_unique<LCLoop>(panel);
        loopObject->storeProperty(PropertyId::Loopid, 3);
        loop = loopObject.get();
        panel->insertChild(std::move(loopObject));

        addType(kDetector, 0.3f, 5.0f);
        addType(kModule, 0.0f, 10.0f);
        addType(kBigModule, 0.0f, 300.0f);
        addType(kZoneInterface, 0.0f, 0.0f);
        addType(kSounder, 0.3f, 8.0f);
        addType(kSounderBeacon, 0.35f, 14.0f);
        WireType thin;
        thin.WireID = kThinCable;
        thin.Resistance = 20.0f;
        wireTypes.insert(thin.WireID, thin);
        WireType heavy;
        heavy.WireID = kHeavyCable;
        heavy.Capacity = 50000.0f;
        wireTypes.insert(heavy.WireID, heavy);
    }

    void addType(int id, float standby, float alarm, float capacitance = 0.0f)
    {
        DeviceType type;
        type.DevID = id;
        type.Current = standby;
        type.ActiveCurrent = alarm;
        type.Capacitance = capacitance;
        deviceTypes.insert(id, type);
    }

    LCDevice *add(int type, float metre, int truck = 0, bool relay = false, int cable = kThinCable)
    {
        auto device = std::make_unique<LCDevice>(loop);
        device->storeProperty(PropertyId::deviceTypeid, type);
        device->storeProperty(PropertyId::pos, metre);
        device->storeProperty(PropertyId::truck, truck);
        device->storeProperty(PropertyId::Relay, relay);
        device->storeProperty(PropertyId::CableType, cable);
        LCDevice *const pointer = device.get();
        loop->insertChild(std::move(device));
        return pointer;
    }

    LCLoopCalculator calculator(float weightFactor = 0.9f) const
    {
        return LCLoopCalculator(deviceTypes, wireTypes, weightFactor);
    }

    void calculate(float weightFactor = 0.9f) const
    {
        calculator(weightFactor).calculateLoop(*loop);
    }

    int status() const { return loop->property(PropertyId::LoopStatus).toInt(); }
    QString problem() const { return loop->property(PropertyId::ProblemText).toString(); }
    float voltDrop() const { return loop->property(PropertyId::VoltDrop).toFloat(); }
    QStringList suggestions() const
    {
        return loop->property(PropertyId::Suggestions).toStringList();
    }
    QList<int> marks() const
    {
        QList<int> result;
        for (int i = 0; i < loop->childCount(); ++i) {
            result << loop->child(i)->property(PropertyId::CheckMark).toInt();
        }
        return result;
    }

    LCProject project;
    LCController *panel = nullptr;
    LCLoop *loop = nullptr;
    QMap<int, DeviceType> deviceTypes;
    QMap<int, WireType> wireTypes;
};
