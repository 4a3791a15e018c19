#pragma once

#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <QVector>

#include <memory>

// The library, the panels and the readers of a grid that the grid tests work with.
namespace GridsFixture
{

// Makes the folder of the grid tests (data/grids: a small library and a few icons) the program's
// own, and loads its library.
inline bool useLibrary()
{
    LCDataStore::instance()->setPaths(LCPaths(QStringLiteral(MIREL_GRIDS_DATA), {}));
    return LCDataStore::instance()->loadDefaults();
}

inline std::unique_ptr<LCController> makePanel(int panelType, int number = 1)
{
    auto panel = std::make_unique<LCController>();
    panel->storeProperty(PropertyId::Panelid, number);
    panel->storeProperty(PropertyId::PanelType, panelType);
    return panel;
}

// Appends a loop whose devices, of the given types, have these cables from the previous one.
inline LCLoop *addLoop(LCController &panel,
    int loopId,
    const QVector<int> &typeIds = {},
    const QVector<float> &metres = {},
    float returnMetre = 0.0f)
{
    auto loop = std::make_unique<LCLoop>(&panel);
    loop->storeProperty(PropertyId::Loopid, loopId);
    loop->storeProperty(PropertyId::LastDis, returnMetre);
    for (int i = 0; i < typeIds.size(); ++i) {
        auto device = std::make_unique<LCDevice>(loop.get());
        device->storeProperty(PropertyId::deviceTypeid, typeIds.at(i));
        device->storeProperty(PropertyId::pos, metres.value(i));
        device->storeProperty(PropertyId::CableType, 1);
        // as a file without sub types leaves it: the device grid gives the default
        device->storeProperty(PropertyId::SubType, LCDevice::kNoSubType);
        loop->insertChild(std::move(device));
    }
    LCLoop *const added = loop.get();
    panel.insertChild(std::move(loop));
    return added;
}

// The panels of the battery: the B20 of the worked example (type 2: one comm and two loop
// cards), a D50 (type 5: ZCP 2, main 1, CAN 1, Modbus 3, a hyper network and an optical card, two
// loop cards) and an A10 (type 1: one loop card, devices on two loops; 99 is no type).
inline std::unique_ptr<LCController> batteryPanel(int type)
{
    auto panel = makePanel(type);
    panel->storeProperty(PropertyId::LoopCardCount, type == 1 ? 1 : 2);
    panel->storeProperty(PropertyId::CommCount, 1);
    panel->storeProperty(PropertyId::ManualPanelCount, 2);
    panel->storeProperty(PropertyId::MainCardCount, 1);
    panel->storeProperty(PropertyId::CANCardCount, 1);
    panel->storeProperty(PropertyId::ModbusCardCount, 3);
    panel->storeProperty(PropertyId::Slot1CardType, LCController::kHyperNetworkCard);
    panel->storeProperty(PropertyId::Slot2CardType, LCController::kOpticalCard);
    if (type == 1) {
        addLoop(*panel, 1, {1, 1, 10, 99, 1});
        addLoop(*panel, 2, {30, 5, 30, 5, 1});
    }
    return panel;
}

// The texts of a grid's rows, cells joined by "|"; "*" marks an editable cell if asked.
inline QStringList rows(const QAbstractItemModel &model, bool marked = true)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            const QModelIndex cell = model.index(row, column);
            const bool editable = marked && (cell.flags() & Qt::ItemIsEditable);
            cells << cell.data().toString() + (editable ? "*" : "");
        }
        result << cells.join(QLatin1Char('|'));
    }
    return result;
}

inline QStringList texts(const QAbstractItemModel &model, int column)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row) {
        result << model.index(row, column).data().toString();
    }
    return result;
}

inline QStringList headers(const QAbstractItemModel &model)
{
    QStringList result;
    for (int section = 0; section < model.columnCount(); ++section) {
        result << model.headerData(section, Qt::Horizontal).toString();
    }
    return result;
}

// As a passed calculation leaves a loop, so that an edit making it stale shows.
inline void markCalculated(LCLoop &loop)
{
    loop.storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
    loop.storeProperty(PropertyId::ProblemText, QStringLiteral("old"));
}

inline bool isStale(const LCLoop &loop)
{
    return loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::NotCalculated
        && loop.property(PropertyId::ProblemText).toString().isEmpty();
}

} // namespace GridsFixture
