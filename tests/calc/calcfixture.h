#pragma once

#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"

#include <QVector>

#include <memory>

// A project with one panel holding loops of the given numbers, and a small library of named
// device and cable types to check them against and to build loops from.
struct CalcFixture {
    static constexpr int kDetector = 1; // "Smoke": 0.3 mA standby, 5 mA alarm
    static constexpr int kModule = 10; // 10 mA in alarm
    static constexpr int kBigModule = 11; // 300 mA in alarm
    static constexpr int kSounder = 15; // 0.3 mA standby, 8 mA alarm
    static constexpr int kThinCable = 1; // 20 ohm/km
    static constexpr int kHeavyCable = 9; // no resistance, 50000 per km; ids keep gaps

    explicit CalcFixture(int panelType = 1, const QVector<int> &loopIds = {3})
    {
        auto panelObject = std::make_unique<LCController>(&project);
        panelObject->storeProperty(PropertyId::Panelid, 1);
        panelObject->storeProperty(PropertyId::PanelType, panelType);
        panel = panelObject.get();
        project.insertChild(std::move(panelObject));
        for (const int id : loopIds) {
            auto loopObject = std::make_unique<LCLoop>(panel);
            loopObject->storeProperty(PropertyId::Loopid, id);
            panel->insertChild(std::move(loopObject));
        }
        loop = loopIds.isEmpty() ? nullptr : panel->loop(0);
        addType(kDetector, 0.3f, 5.0f, QStringLiteral("Smoke"));
        addType(kModule, 0.0f, 10.0f, QStringLiteral("Module"));
        addType(kBigModule, 0.0f, 300.0f, QStringLiteral("Heavy"));
        addType(kSounder, 0.3f, 8.0f, QStringLiteral("Sounder"));
        const QVector<WireType> cables{{"Thin", 20.0f, 0.0f, kThinCable, {}},
            {"Medium", 10.0f, 0.0f, 4, {}}, {"Heavy", 0.0f, 50000.0f, kHeavyCable, {}}};
        for (const WireType &cable : cables) {
            wireTypes.insert(cable.WireID, cable);
        }
    }

    void addType(int id, float standby, float alarm, const QString &name = QString())
    {
        DeviceType type;
        type.DevID = id;
        type.Name = name;
        type.Current = standby;
        type.ActiveCurrent = alarm;
        deviceTypes.insert(id, type);
    }

    // Makes the library the definitions the program works with, as the dialogs read them.
    void useAsLibrary() const
    {
        LCDataStore::instance()->setDeviceTypes(deviceTypes);
        LCDataStore::instance()->setWireTypes(wireTypes);
    }

    void add(int type, float metre, int truck = 0, bool relay = false, int cable = kThinCable)
    {
        auto device = std::make_unique<LCDevice>(loop);
        device->storeProperty(PropertyId::deviceTypeid, type);
        device->storeProperty(PropertyId::pos, metre);
        device->storeProperty(PropertyId::truck, truck);
        device->storeProperty(PropertyId::Relay, relay);
        device->storeProperty(PropertyId::CableType, cable);
        loop->insertChild(std::move(device));
    }

    LCLoopCalculator calculator(float weightFactor = 0.9f) const
    {
        return LCLoopCalculator(deviceTypes, wireTypes, weightFactor);
    }

    // The property of every child of parent, in order.
    static QList<int> childValues(const LCObject *parent, PropertyId id)
    {
        QList<int> values;
        for (int i = 0; i < parent->childCount(); ++i) {
            values << parent->child(i)->property(id).toInt();
        }
        return values;
    }
    QList<int> marks() const { return childValues(loop, PropertyId::CheckMark); }
    QList<int> loopNumbers() const { return childValues(panel, PropertyId::Loopid); }

    LCProject project;
    LCController *panel = nullptr;
    LCLoop *loop = nullptr; // the first
    QMap<int, DeviceType> deviceTypes;
    QMap<int, WireType> wireTypes;
};
