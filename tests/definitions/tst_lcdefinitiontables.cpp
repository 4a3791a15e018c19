#include "definitionsdata.h"

#include "definitions/lcdatastore.h"
#include "definitions/lctypeusage.h"
#include "definitions/ui/lccardtypemodel.h"
#include "definitions/ui/lcdevtypemodel.h"
#include "definitions/ui/lcwiretypemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
using DefinitionsData::kDefaults;
using DefinitionsData::writeFile;

// The user's definitions: the factory ones and some of their own, device ids with gaps; devices
// on UserSmoke (7) and W5, a loop on W5, and ids the definitions lack (45, 9).
const char kProject[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Project name="Tables">
  <Panel Panelid="2" PanelType="1">
    <Loop Loopid="1" wiretype="5">
      <device deviceTypeid="7" pos="10" wiretype="1" truck="0"/>
      <device deviceTypeid="45" pos="10" wiretype="9" truck="0"/>
    </Loop>
  </Panel>
  <Panel Panelid="1" PanelType="1">
    <Loop Loopid="2" wiretype="1">
      <device deviceTypeid="7" pos="10" wiretype="5" truck="0"/>
      <device deviceTypeid="7" pos="10" wiretype="5" truck="0"/>
    </Loop>
    <Loop Loopid="1" wiretype="1">
      <device deviceTypeid="1" pos="10" wiretype="1" truck="0"/>
    </Loop>
  </Panel>
  <DeviceType Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" DevID="1"/>
  <DeviceType Name="Heat" Volt="24" Current="0.25" ActiveCurrent="5" DevID="2"/>
  <DeviceType Name="CallPoint" Volt="24" Current="0.2" ActiveCurrent="4" DevID="3"/>
  <DeviceType Name="UserSmoke" Volt="12" Current="0.35" ActiveCurrent="6" DevID="7"/>
  <DeviceType Name="UserBell" Volt="24" Current="0.4" ActiveCurrent="20" DevID="40"/>
  <WireType Name="W1" Resistance="24.2" Capacity="80" WireID="1" Note="one"/>
  <WireType Name="W2" Resistance="36.2" Capacity="75" WireID="2" Note="two"/>
  <WireType Name="W3" Resistance="14.8" Capacity="90" WireID="3" Note="three"/>
  <WireType Name="W4" Resistance="72" Capacity="100" WireID="4" Note="four"/>
  <WireType Name="W5" Resistance="18" Capacity="110" WireID="5" Note="five"/>
  <CardType Name="C1" Current="40" ActiveCurrent="55" CardID="1"/>
  <CardType Name="C2" Current="65" ActiveCurrent="65" CardID="2"/>
  <CardType Name="C3" Current="30" ActiveCurrent="45" CardID="3"/>
</Project>
)";

QStringList column(const QAbstractItemModel &model, int col)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.index(row, col).data().toString();
    }
    return texts;
}

// Makes a model with its working copy loaded, watched by Qt's model checker.
template <typename Model>
struct Checked {
    Checked()
        : tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest)
    {
        model.reload();
    }
    Model model;
    QAbstractItemModelTester tester;
};
} // namespace

class TestLCDefinitionTables : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cellTexts();
    void factoryRowsReadOnly();
    void editsStayInTheWorkingCopy();
    void saveHandsOverOneKind();
    void typeUsage();
    void addSkipsIdsInUse();
    void deleteFactoryRowKeepsIt();
    void deleteKeepsIdsThroughSaveAndReopen();
    void deleteOnlyTheFirstSelected();
    void reloadKeepsModified();

private:
    QTemporaryDir m_dir;
    LCDataStore *const m_store = LCDataStore::instance();
};

void TestLCDefinitionTables::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("config/default.xml")), kDefaults));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("config/config.xml")), kProject));
    m_store->setBaseDirectory(m_dir.path());
}

void TestLCDefinitionTables::cleanupTestCase()
{
    m_store->setBaseDirectory(QCoreApplication::applicationDirPath());
}

void TestLCDefinitionTables::init()
{
    // every test starts from the file's definitions with no change flag set
    QVERIFY(m_store->loadProject(QString()).projectRead);
    QCOMPARE(m_store->deviceTypes().size(), 5);
    QVERIFY(!m_store->anyChanged());
}

void TestLCDefinitionTables::cellTexts()
{
    Checked<LCDevTypeModel> devices;
    // rows in ascending id order, whatever the gaps
    QCOMPARE(column(devices.model, 0),
        QStringList({"Smoke", "Heat", "CallPoint", "UserSmoke", "UserBell"}));
    QCOMPARE(column(devices.model, 2), QStringList({"0.3", "0.25", "0.2", "0.35", "0.4"}));
    QCOMPARE(devices.model.record(3).DevID, 7);
    Checked<LCWireTypeModel> cables;
    QCOMPARE(column(cables.model, 3), QStringList({"one", "two", "three", "four", "five"}));
}

void TestLCDefinitionTables::factoryRowsReadOnly()
{
    Checked<LCDevTypeModel> devices;
    Checked<LCWireTypeModel> cables;
    Checked<LCCardTypeModel> cards;
    const QList<QPair<QAbstractItemModel *, int>> tables = {
        {&devices.model, 3}, {&cables.model, 3}, {&cards.model, 2}};
    for (const auto &table : tables) {
        QAbstractItemModel *const model = table.first;
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int col = 0; col < model->columnCount(); ++col) {
                const bool editable = model->flags(model->index(row, col)) & Qt::ItemIsEditable;
                QCOMPARE(editable, row >= table.second);
            }
        }
    }
}

void TestLCDefinitionTables::editsStayInTheWorkingCopy()
{
    Checked<LCDevTypeModel> devices;
    QSignalSpy changed(&devices.model, &QAbstractItemModel::dataChanged);
    QVERIFY(devices.model.setData(devices.model.index(3, 1), 48));
    // the decimal editor hands over text with a point
    QVERIFY(devices.model.setData(devices.model.index(3, 2), QStringLiteral("0.5")));
    QVERIFY(devices.model.setData(devices.model.index(3, 0), QStringLiteral("Beacon-2")));
    QCOMPARE(changed.count(), 3);
    QVERIFY(devices.model.isModified());
    const DeviceType edited = devices.model.record(3);
    QCOMPARE(edited.Volt, 48);
    QCOMPARE(edited.Current, 0.5f);
    QCOMPARE(edited.Name, QStringLiteral("Beacon-2"));
    QCOMPARE(edited.DevID, 7);
    // the fields not edited are kept
    QCOMPARE(edited.ActiveCurrent, 6.0f);
    // the library has not seen any of it
    QCOMPARE(m_store->deviceTypes().value(7).Name, QStringLiteral("UserSmoke"));
    QVERIFY(!m_store->devTypesChanged());

    // text that is no float is kept as no number for the check to refuse, never as 0
    for (const QString &text : {QStringLiteral("1.2.3"), QString(44, QLatin1Char('9'))}) {
        QVERIFY(devices.model.setData(devices.model.index(4, 2), text));
        QVERIFY(qIsNaN(devices.model.record(4).Current));
    }
    // an empty cell is blank, which the check calls 0
    QVERIFY(devices.model.setData(devices.model.index(4, 3), QString()));
    QCOMPARE(devices.model.record(4).ActiveCurrent, 0.0f);
    QVERIFY(devices.model.setData(devices.model.index(4, 1), QStringLiteral("24.5")));
    QCOMPARE(devices.model.record(4).Volt, 0);
}

void TestLCDefinitionTables::saveHandsOverOneKind()
{
    Checked<LCDevTypeModel> devices;
    Checked<LCWireTypeModel> cables;
    Checked<LCCardTypeModel> cards;
    QVERIFY(devices.model.setData(devices.model.index(3, 0), QStringLiteral("Renamed")));
    cables.model.addRow();
    QVERIFY(cards.model.setData(cards.model.index(2, 1), QStringLiteral("31")));

    devices.model.save();
    QVERIFY(!devices.model.isModified());
    QCOMPARE(m_store->deviceTypes().value(7).Name, QStringLiteral("Renamed"));
    QVERIFY(m_store->devTypesChanged());
    QVERIFY(!m_store->wireTypesChanged());
    QVERIFY(!m_store->cardTypesChanged());
    QCOMPARE(m_store->wireTypes().size(), 5);
    QVERIFY(cables.model.isModified());

    cables.model.save();
    QVERIFY(!cables.model.isModified());
    QCOMPARE(m_store->wireTypes().size(), 6);
    QCOMPARE(m_store->wireTypes().value(10).Name, QStringLiteral("UNDEFINED"));
    QVERIFY(m_store->wireTypesChanged());
    QVERIFY(!m_store->cardTypesChanged());

    cards.model.save();
    QCOMPARE(m_store->cardTypes().value(3).Current, 31.0f);
    QVERIFY(m_store->cardTypesChanged());
}

void TestLCDefinitionTables::typeUsage()
{
    const LCTypeUsage usage(m_store->project());
    const LCTypeUsage::Users smoke = usage.deviceTypeUsers(7);
    QCOMPARE(smoke.devices, 3);
    // in project order: panels and loops by number
    QCOMPARE(smoke.deviceLoops, QStringList({"Panel 1 Loop2", "Panel 2 Loop1"}));
    QVERIFY(smoke.cableLoops.isEmpty());
    QVERIFY(usage.deviceTypeUsers(40).isEmpty());
    // a cable counts for the devices on it and for the loops it is the cable of
    const LCTypeUsage::Users w5 = usage.cableTypeUsers(5);
    QCOMPARE(w5.devices, 2);
    QCOMPARE(w5.deviceLoops, QStringList{"Panel 1 Loop2"});
    QCOMPARE(w5.cableLoops, QStringList{"Panel 2 Loop1"});
    QVERIFY(usage.cableTypeUsers(4).isEmpty());
    QCOMPARE(usage.highestDeviceTypeId(), 45);
    QCOMPARE(usage.highestCableTypeId(), 9);

    const LCTypeUsage none(nullptr);
    QVERIFY(none.deviceTypeUsers(7).isEmpty());
    QCOMPARE(none.highestCableTypeId(), 0);
}

void TestLCDefinitionTables::addSkipsIdsInUse()
{
    Checked<LCDevTypeModel> devices;
    devices.model.addRow();
    QCOMPARE(devices.model.rowCount(), 6);
    const DeviceType added = devices.model.record(5);
    // above the highest type (40) and the id 45 that devices hold without a type
    QCOMPARE(added.DevID, 46);
    QCOMPARE(added.Name, QStringLiteral("UNDEFINED"));
    QCOMPARE(added.Current, 0.0f);
    QVERIFY(devices.model.isModified());
    QVERIFY(devices.model.flags(devices.model.index(5, 0)) & Qt::ItemIsEditable);
    // the highest deleted again is free again
    devices.model.removeRow({devices.model.index(5, 2)});
    devices.model.addRow();
    QCOMPARE(devices.model.record(5).DevID, 46);

    Checked<LCWireTypeModel> cables;
    cables.model.addRow();
    QCOMPARE(cables.model.record(5).WireID, 10);
    // cards: above the working copy's 3 and the factory's 2, and a factory id stays reserved
    // where the copy lacks it
    Checked<LCCardTypeModel> cards;
    cards.model.addRow();
    QCOMPARE(cards.model.record(3).CardID, 4);
    QMap<int, CardType> fewer = m_store->cardTypes();
    fewer.remove(2);
    fewer.remove(3);
    m_store->setCardTypes(fewer);
    cards.model.reload();
    cards.model.addRow();
    QCOMPARE(cards.model.record(1).CardID, 3);
}

void TestLCDefinitionTables::deleteFactoryRowKeepsIt()
{
    Checked<LCDevTypeModel> devices;
    devices.model.removeRow({devices.model.index(2, 0)});
    QCOMPARE(devices.model.record(2).Name, QStringLiteral("CallPoint"));
    // nothing removed, yet closing must still ask
    QVERIFY(devices.model.isModified());
    Checked<LCWireTypeModel> cables;
    cables.model.removeRow({cables.model.index(0, 1)});
    QCOMPARE(column(cables.model, 0), QStringList({"W1", "W2", "W3", "W4", "W5"}));
    QVERIFY(cables.model.isModified());
}

void TestLCDefinitionTables::deleteKeepsIdsThroughSaveAndReopen()
{
    Checked<LCWireTypeModel> cables;
    Checked<LCCardTypeModel> cards;
    cables.model.removeRow({cables.model.index(3, 0)});
    cards.model.addRow();
    cards.model.addRow();
    cards.model.removeRow({cards.model.index(3, 0)});
    // a later type keeps its id and so what refers to it
    QCOMPARE(column(cables.model, 0), QStringList({"W1", "W2", "W3", "W5"}));
    QCOMPARE(cables.model.record(3).WireID, 5);
    QCOMPARE(cards.model.record(3).CardID, 5);
    // edits find their type by row
    QVERIFY(cables.model.setData(cables.model.index(3, 3), QStringLiteral("five, edited")));
    cables.model.save();
    cards.model.save();

    QTemporaryDir saved;
    const QString path = saved.filePath(QStringLiteral("project.xml"));
    QVERIFY(m_store->saveProject(path));
    QVERIFY(m_store->loadProject(path).projectRead);
    QCOMPARE(m_store->wireTypes().keys(), QList<int>({1, 2, 3, 5}));
    QCOMPARE(m_store->wireTypes().value(5).WireID, 5);
    QCOMPARE(m_store->wireTypes().value(5).Note, QStringLiteral("five, edited"));
    QCOMPARE(m_store->cardTypes().keys(), QList<int>({1, 2, 3, 5}));
    const LCTypeUsage usage(m_store->project());
    QCOMPARE(usage.cableTypeUsers(5).devices, 2);
    QCOMPARE(usage.cableTypeUsers(5).cableLoops, QStringList{"Panel 2 Loop1"});
}

void TestLCDefinitionTables::deleteOnlyTheFirstSelected()
{
    Checked<LCDevTypeModel> devices;
    // without a selection nothing changes
    devices.model.removeRow({});
    QCOMPARE(devices.model.rowCount(), 5);
    QVERIFY(!devices.model.isModified());
    devices.model.removeRow({devices.model.index(4, 1), devices.model.index(3, 1)});
    QCOMPARE(column(devices.model, 0), QStringList({"Smoke", "Heat", "CallPoint", "UserSmoke"}));

    Checked<LCWireTypeModel> cables;
    cables.model.removeRow({cables.model.index(3, 0), cables.model.index(4, 0)});
    QCOMPARE(column(cables.model, 0), QStringList({"W1", "W2", "W3", "W5"}));
}

void TestLCDefinitionTables::reloadKeepsModified()
{
    Checked<LCWireTypeModel> cables;
    cables.model.addRow();
    QCOMPARE(cables.model.rowCount(), 6);
    cables.model.reload();
    QCOMPARE(cables.model.rowCount(), 5);
    QVERIFY(cables.model.isModified());
}

QTEST_GUILESS_MAIN(TestLCDefinitionTables)
#include "tst_lcdefinitiontables.moc"
