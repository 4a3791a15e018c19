#include "definitionsdata.h"

#include "definitions/lcdatastore.h"
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

// The user's definitions: the factory ones and some of their own, device ids with gaps.
const char kProject[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Project name="Tables">
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
    void deviceAddTakesHighestIdPlusOne();
    void deleteFactoryRowKeepsIt();
    void cableDeleteMovesLaterIdsUp();
    void cardAddAndDelete();
    void deleteOnlyTheFirstSelected();
    void reloadKeepsModified();
    void missingIdShowsEmpty();

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

    // numbers that are no numbers read as 0, a fractional voltage too
    QVERIFY(devices.model.setData(devices.model.index(4, 2), QStringLiteral("1.2.3")));
    QCOMPARE(devices.model.record(4).Current, 0.0f);
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
    QCOMPARE(m_store->wireTypes().value(6).Name, QStringLiteral("UNDEFINED"));
    QVERIFY(m_store->wireTypesChanged());
    QVERIFY(!m_store->cardTypesChanged());

    cards.model.save();
    QCOMPARE(m_store->cardTypes().value(3).Current, 31.0f);
    QVERIFY(m_store->cardTypesChanged());
}

void TestLCDefinitionTables::deviceAddTakesHighestIdPlusOne()
{
    Checked<LCDevTypeModel> devices;
    devices.model.addRow();
    QCOMPARE(devices.model.rowCount(), 6);
    const DeviceType added = devices.model.record(5);
    QCOMPARE(added.DevID, 41);
    QCOMPARE(added.Name, QStringLiteral("UNDEFINED"));
    QCOMPARE(added.Current, 0.0f);
    QVERIFY(devices.model.isModified());
    QVERIFY(devices.model.flags(devices.model.index(5, 0)) & Qt::ItemIsEditable);

    // a deleted id is the highest no longer, so it is given again
    devices.model.removeRow({devices.model.index(5, 2)});
    QCOMPARE(devices.model.rowCount(), 5);
    devices.model.addRow();
    QCOMPARE(devices.model.record(5).DevID, 41);
    // a deleted id in the middle is not
    devices.model.removeRow({devices.model.index(3, 0)});
    QCOMPARE(column(devices.model, 0),
        QStringList({"Smoke", "Heat", "CallPoint", "UserBell", "UNDEFINED"}));
    devices.model.addRow();
    QCOMPARE(devices.model.record(5).DevID, 42);
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

void TestLCDefinitionTables::cableDeleteMovesLaterIdsUp()
{
    Checked<LCWireTypeModel> cables;
    cables.model.removeRow({cables.model.index(3, 0)});
    QCOMPARE(column(cables.model, 0), QStringList({"W1", "W2", "W3", "W5"}));
    const WireType moved = cables.model.record(4);
    QCOMPARE(moved.Name, QStringLiteral("W5"));
    QCOMPARE(moved.WireID, 4);
    QCOMPARE(cables.model.record(5).Name, QString());
    QVERIFY(cables.model.isModified());
    // and the saved map carries the new ids as keys and fields
    cables.model.save();
    const QMap<int, WireType> saved = m_store->wireTypes();
    QCOMPARE(saved.keys(), QList<int>({1, 2, 3, 4}));
    QCOMPARE(saved.value(4).WireID, 4);
    QCOMPARE(saved.value(4).Note, QStringLiteral("five"));
}

void TestLCDefinitionTables::cardAddAndDelete()
{
    Checked<LCCardTypeModel> cards;
    cards.model.addRow();
    QCOMPARE(cards.model.rowCount(), 4);
    QCOMPARE(cards.model.record(4).CardID, 4);
    QCOMPARE(cards.model.record(4).Name, QStringLiteral("UNDEFINED"));
    cards.model.removeRow({cards.model.index(2, 0)});
    QCOMPARE(column(cards.model, 0), QStringList({"C1", "C2", "UNDEFINED"}));
    QCOMPARE(cards.model.record(3).CardID, 3);
    cards.model.addRow();
    QCOMPARE(cards.model.record(4).CardID, 4);
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

void TestLCDefinitionTables::missingIdShowsEmpty()
{
    // ids that are not consecutive: row 2 stands for the missing id 3
    QMap<int, CardType> cards = m_store->cardTypes();
    cards.remove(3);
    CardType fifth;
    fifth.Name = QStringLiteral("C5");
    fifth.CardID = 5;
    cards.insert(5, fifth);
    m_store->setCardTypes(cards);
    Checked<LCCardTypeModel> table;
    QCOMPARE(table.model.rowCount(), 3);
    QCOMPARE(column(table.model, 0), QStringList({"C1", "C2", ""}));
    // an edit there makes the record it stands for
    QVERIFY(table.model.setData(table.model.index(2, 0), QStringLiteral("C3")));
    QCOMPARE(table.model.record(3).CardID, 3);
    QCOMPARE(table.model.record(3).Name, QStringLiteral("C3"));
    // one record more: the row of the next id comes into view
    QCOMPARE(column(table.model, 0), QStringList({"C1", "C2", "C3", ""}));
}

QTEST_GUILESS_MAIN(TestLCDefinitionTables)
#include "tst_lcdefinitiontables.moc"
