#include "grids/lcpanelinfomodel.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "model/lcmodificationflag.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
using Model = LCPanelInfoModel;
constexpr int kName = int(Model::Column::Name);
constexpr int kValue = int(Model::Column::Value);

// A panel of a given type with its record grid.
struct Panel {
    explicit Panel(int type, int number = 1)
    {
        panel.storeProperty(PropertyId::PanelType, type);
        panel.storeProperty(PropertyId::Panelid, number);
        model.setController(&panel);
    }
    void addLoops(int count)
    {
        for (int id = 1; id <= count; ++id) {
            auto loop = std::make_unique<LCLoop>(&panel);
            loop->storeProperty(PropertyId::Loopid, id);
            panel.insertChild(std::move(loop));
        }
        model.refresh();
    }
    QString text(int row, int column = kValue) const
    {
        return model.index(row, column).data().toString();
    }
    bool edit(int row, const QVariant &value, int column = kValue)
    {
        return model.setData(model.index(row, column), value, Qt::EditRole);
    }
    int stored(PropertyId id) const { return panel.property(id).toInt(); }

    LCController panel;
    Model model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

QStringList column(const Panel &grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid.model.rowCount(); ++row) {
        texts << grid.text(row, col);
    }
    return texts;
}
} // namespace

class TestLCPanelInfoModel : public QObject
{
    Q_OBJECT

private slots:
    void namesOfTypesOneToFour();
    void namesOfSlottedType();
    void valuesShown();
    void loopCardRule_data();
    void loopCardRule();
    void rowSixByType();
    void quantities_data();
    void quantities();
    void slotCards_data();
    void slotCards();
    void readOnlyRows();
};

void TestLCPanelInfoModel::namesOfTypesOneToFour()
{
    Panel grid(4);
    QCOMPARE(column(grid, kName),
        QStringList({"Panel Name", "Panel ID", "Panel Type", "Loop Qty", "Loop Card QTY",
            "Communication Card QTY", "Description"}));
}

void TestLCPanelInfoModel::namesOfSlottedType()
{
    Panel grid(Model::kPanelTypeWithSlots);
    QCOMPARE(grid.model.rowCount(), 12);
    QCOMPARE(column(grid, kName),
        QStringList(
            {"Panel Name", "Panel ID", "Panel Type", "Loop Qty", "Loop Card QTY", "ZCP Card QTY",
                "Main Card QTY", "CAN Card QTY", "Modbus Card QTY", "S1", "S2", "Description"}));
}

void TestLCPanelInfoModel::valuesShown()
{
    Panel grid(2, 7);
    grid.panel.storeProperty(PropertyId::CommCount, 3);
    grid.panel.storeProperty(PropertyId::PanelNote, QStringLiteral("Lobby"));
    grid.addLoops(2);
    QCOMPARE(column(grid, kValue),
        QStringList({"7-Orvan-B20", "7", "Orvan-B20", "2", "1", "3", "Lobby"}));

    Panel slotted(Model::kPanelTypeWithSlots, 12);
    slotted.panel.storeProperty(PropertyId::ManualPanelCount, 8);
    slotted.panel.storeProperty(PropertyId::MainCardCount, 1);
    slotted.panel.storeProperty(PropertyId::CANCardCount, 2);
    slotted.panel.storeProperty(PropertyId::Slot1CardType, LCController::kHyperNetworkCard);
    slotted.panel.storeProperty(PropertyId::Slot2CardType, LCController::kOpticalCard);
    QCOMPARE(column(slotted, kValue),
        QStringList({"12-Orvan-D50", "12", "Orvan-D50", "0", "0", "8", "1", "2", "0",
            "Hyper Network", "Optical Card", ""}));

    // a type the table does not know has no name
    Panel unknown(9, 4);
    QCOMPARE(unknown.text(Model::kRowPanelName), QStringLiteral("4-"));
    QCOMPARE(unknown.model.rowCount(), 7);
}

void TestLCPanelInfoModel::loopCardRule_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("loops");
    QTest::addColumn<QVariant>("cards");
    QTest::addColumn<bool>("accepted");
    // two loops a card: five loops need three
    QTest::newRow("five loops, 2 cards") << 3 << 5 << QVariant("2") << false;
    QTest::newRow("five loops, 3 cards") << 3 << 5 << QVariant("3") << true;
    QTest::newRow("four loops, 2 cards") << 3 << 4 << QVariant("2") << true;
    QTest::newRow("slotted, five loops, 2 cards") << 5 << 5 << QVariant("2") << false;
    QTest::newRow("slotted, five loops, 3 cards") << 5 << 5 << QVariant("3") << true;
    QTest::newRow("slotted, beyond its 3 cards") << 5 << 0 << QVariant("4") << false;
    QTest::newRow("beyond 32 cards") << 3 << 0 << QVariant("33") << false;
}

void TestLCPanelInfoModel::loopCardRule()
{
    QFETCH(int, type);
    QFETCH(int, loops);
    QFETCH(QVariant, cards);
    QFETCH(bool, accepted);
    Panel grid(type);
    grid.addLoops(loops);
    // a file may carry fewer cards than the loops need
    grid.panel.storeProperty(PropertyId::LoopCardCount, 1);
    QSignalSpy changed(&grid.model, &QAbstractItemModel::dataChanged);
    QCOMPARE(grid.edit(Model::kRowLoopCards, cards), accepted);
    QCOMPARE(grid.stored(PropertyId::LoopCardCount), accepted ? cards.toInt() : 1);
    QCOMPARE(grid.text(Model::kRowLoopCards), QString::number(accepted ? cards.toInt() : 1));
    QCOMPARE(changed.count(), accepted ? 1 : 0);
}

void TestLCPanelInfoModel::rowSixByType()
{
    Panel slotted(Model::kPanelTypeWithSlots);
    QVERIFY(slotted.edit(Model::kRowMainCards, "1"));
    QCOMPARE(slotted.stored(PropertyId::MainCardCount), 1);
    QCOMPARE(slotted.panel.property(PropertyId::PanelNote).toString(), QString());
    QVERIFY(slotted.edit(Model::kRowSlottedDescription, "  Plant room "));
    QCOMPARE(
        slotted.panel.property(PropertyId::PanelNote).toString(), QStringLiteral("  Plant room "));

    Panel plain(1);
    QVERIFY(plain.edit(Model::kRowDescription, "1"));
    QCOMPARE(plain.panel.property(PropertyId::PanelNote).toString(), QStringLiteral("1"));
    QVERIFY(!plain.panel.property(PropertyId::MainCardCount).isValid());
    // the rows of the slotted type do not exist here
    QVERIFY(!plain.edit(Model::kRowCanCards, "1"));
    QVERIFY(!plain.panel.property(PropertyId::CANCardCount).isValid());
}

void TestLCPanelInfoModel::quantities_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("row");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("property");
    QTest::addColumn<bool>("accepted");
    const int comm = int(PropertyId::CommCount);
    const int zcp = int(PropertyId::ManualPanelCount);
    const int can = int(PropertyId::CANCardCount);
    const int modbus = int(PropertyId::ModbusCardCount);
    const int main = int(PropertyId::MainCardCount);
    QTest::newRow("communication 32") << 1 << 5 << QVariant("32") << comm << true;
    QTest::newRow("communication 33") << 1 << 5 << QVariant("33") << comm << false;
    QTest::newRow("communication letters") << 1 << 5 << QVariant("x") << comm << false;
    QTest::newRow("communication decimal") << 1 << 5 << QVariant("2.5") << comm << false;
    QTest::newRow("ZCP 8") << 5 << 5 << QVariant("8") << zcp << true;
    QTest::newRow("ZCP 9") << 5 << 5 << QVariant("9") << zcp << false;
    QTest::newRow("main 1") << 5 << 6 << QVariant("1") << main << true;
    QTest::newRow("main 2") << 5 << 6 << QVariant("2") << main << false;
    QTest::newRow("CAN 2") << 5 << 7 << QVariant("2") << can << true;
    QTest::newRow("CAN 3") << 5 << 7 << QVariant("3") << can << false;
    QTest::newRow("Modbus 1") << 5 << 8 << QVariant("1") << modbus << true;
    QTest::newRow("Modbus 2") << 5 << 8 << QVariant("2") << modbus << false;
}

void TestLCPanelInfoModel::quantities()
{
    QFETCH(int, type);
    QFETCH(int, row);
    QFETCH(QVariant, value);
    QFETCH(int, property);
    QFETCH(bool, accepted);
    Panel grid(type);
    LCModificationFlag::clear();
    QCOMPARE(grid.edit(row, value), accepted);
    QCOMPARE(grid.panel.property(PropertyId(property)).isValid(), accepted);
    // a write goes through the property map, which marks the project changed
    QCOMPARE(LCModificationFlag::isSet(), accepted);
    if (accepted) {
        QCOMPARE(grid.stored(PropertyId(property)), value.toInt());
        QCOMPARE(grid.text(row), value.toString());
    }
}

void TestLCPanelInfoModel::slotCards_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("S1 optical") << 9 << "Optical Card" << 11 << "Optical Card";
    QTest::newRow("S2 anything else") << 10 << "optical card" << 0 << "None";
    QTest::newRow("S2 hyper network") << 10 << "Hyper Network" << 12 << "Hyper Network";
}

void TestLCPanelInfoModel::slotCards()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    Panel grid(Model::kPanelTypeWithSlots);
    // a code from a file that is neither card shows as none
    grid.panel.storeProperty(PropertyId::Slot1CardType, 13);
    grid.panel.storeProperty(PropertyId::Slot2CardType, 13);
    QCOMPARE(grid.text(row), QStringLiteral("None"));
    QVERIFY(grid.edit(row, text));
    const PropertyId id =
        row == Model::kRowSlot1 ? PropertyId::Slot1CardType : PropertyId::Slot2CardType;
    QTEST(grid.stored(id), "code");
    QTEST(grid.text(row), "shown");
}

void TestLCPanelInfoModel::readOnlyRows()
{
    Panel grid(Model::kPanelTypeWithSlots, 3);
    for (const int row :
        {Model::kRowPanelName, Model::kRowPanelId, Model::kRowPanelType, Model::kRowLoopCount}) {
        QVERIFY(!grid.edit(row, "4"));
    }
    QCOMPARE(grid.stored(PropertyId::Panelid), 3);
    QCOMPARE(grid.stored(PropertyId::PanelType), Model::kPanelTypeWithSlots);
}

QTEST_GUILESS_MAIN(TestLCPanelInfoModel)
#include "tst_lcpanelinfomodel.moc"
