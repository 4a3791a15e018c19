#include "grids/lcloopmodel.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
using Column = LCLoopModel::Column;
constexpr float kToleranceMetre = 1e-4f;

class LoopWatcher : public LCObserver
{
public:
    LoopWatcher() { LCObserverRegistry::add(this); }
    ~LoopWatcher() override { LCObserverRegistry::remove(this); }
    void objectChanged(LCObject *object, ChangeKind) override { changed.append(object); }
    QVector<LCObject *> changed;
};

// A panel of type 3 (up to ten loops) with its loop grid.
struct Panel {
    LCLoop *addLoop(int id, const QVector<float> &positions = {}, float lastMetre = 0.0f)
    {
        auto loop = std::make_unique<LCLoop>(&panel);
        loop->storeProperty(PropertyId::Loopid, id);
        loop->storeProperty(PropertyId::LastDis, lastMetre);
        for (const float metre : positions) {
            auto device = std::make_unique<LCDevice>(loop.get());
            device->storeProperty(PropertyId::pos, metre);
            loop->insertChild(std::move(device));
        }
        LCLoop *const pointer = loop.get();
        panel.insertChild(std::move(loop));
        return pointer;
    }
    // as a passed calculation leaves it, so that staleness shows
    static void markCalculated(LCLoop *loop)
    {
        loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
        loop->storeProperty(PropertyId::ProblemText, QStringLiteral("old"));
    }
    QString text(int row, Column column) const
    {
        return model.index(row, int(column)).data().toString();
    }
    bool edit(int row, Column column, const QVariant &value)
    {
        return model.setData(model.index(row, int(column)), value, Qt::EditRole);
    }

    LCController panel;
    LCLoopModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};

    Panel() { panel.storeProperty(PropertyId::PanelType, 3); }
};
} // namespace

class TestLCLoopModel : public QObject
{
    Q_OBJECT

private slots:
    void rowsAndHeaders();
    void sourceIsThePanel();
    void lengthsShown_data();
    void lengthsShown();
    void emptyLoopCannotBeEdited();
    void editLength_data();
    void editLength();
    void refusedValues_data();
    void refusedValues();
    void editMakesResultsStale_data();
    void editMakesResultsStale();
};

void TestLCLoopModel::rowsAndHeaders()
{
    Panel grid;
    // loops are listed by number, whatever order they came in
    grid.addLoop(3, {10.0f, 20.0f, 30.0f});
    grid.addLoop(1);
    grid.model.setController(&grid.panel);
    QCOMPARE(grid.model.rowCount(), 2);
    QCOMPARE(grid.text(0, Column::Loop), QStringLiteral("Loop1"));
    QCOMPARE(grid.text(1, Column::Loop), QStringLiteral("Loop3"));
    QCOMPARE(grid.text(1, Column::DeviceCount), QStringLiteral("3"));
    QCOMPARE(grid.text(1, Column::TotalCableLength), QStringLiteral("60"));

    // a loop added later shows after a refresh
    grid.addLoop(2);
    grid.model.refresh();
    QCOMPARE(grid.text(1, Column::Loop), QStringLiteral("Loop2"));
}

void TestLCLoopModel::sourceIsThePanel()
{
    Panel grid;
    grid.addLoop(1, {5.0f});
    // the tree's "Loops" item stands for its panel
    grid.model.setController(grid.panel.loopsNode());
    QCOMPARE(grid.model.controller(), &grid.panel);
    QCOMPARE(grid.model.rowCount(), 1);
    // a loop is no panel
    grid.model.setController(grid.panel.loop(0));
    QVERIFY(!grid.model.hasSource());
    QCOMPARE(grid.model.rowCount(), 0);
}

void TestLCLoopModel::lengthsShown_data()
{
    QTest::addColumn<QVector<float>>("positions");
    QTest::addColumn<float>("lastMetre");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("total");
    // the first length is truncated, the last rounded, the total truncated
    QTest::newRow("12.6 both ends") << QVector<float>{12.6f, 10.3f} << 12.6f << "12"
                                    << "13"
                                    << "35";
    QTest::newRow("half rounds away from zero") << QVector<float>{0.5f} << 12.5f << "0"
                                                << "13"
                                                << "13";
    QTest::newRow("no devices") << QVector<float>{} << 7.7f << "0"
                                << "8"
                                << "7";
}

void TestLCLoopModel::lengthsShown()
{
    QFETCH(QVector<float>, positions);
    QFETCH(float, lastMetre);
    Panel grid;
    grid.addLoop(1, positions, lastMetre);
    grid.model.setController(&grid.panel);
    QTEST(grid.text(0, Column::FirstCableLength), "first");
    QTEST(grid.text(0, Column::LastCableLength), "last");
    QTEST(grid.text(0, Column::TotalCableLength), "total");
}

void TestLCLoopModel::emptyLoopCannotBeEdited()
{
    Panel grid;
    LCLoop *const empty = grid.addLoop(1, {}, 4.0f);
    grid.addLoop(2, {1.0f});
    grid.model.setController(&grid.panel);
    for (const Column column : {Column::FirstCableLength, Column::LastCableLength}) {
        QVERIFY(!(grid.model.flags(grid.model.index(0, int(column))) & Qt::ItemIsEditable));
        QVERIFY(grid.model.flags(grid.model.index(1, int(column))) & Qt::ItemIsEditable);
        QVERIFY(!grid.edit(0, column, 50));
    }
    QCOMPARE(empty->property(PropertyId::LastDis).toFloat(), 4.0f);
    // the other columns are never editable
    for (const Column column : {Column::Loop, Column::DeviceCount, Column::TotalCableLength}) {
        QVERIFY(!(grid.model.flags(grid.model.index(1, int(column))) & Qt::ItemIsEditable));
        QVERIFY(!grid.edit(1, column, 7));
    }
    QVERIFY(!grid.model.isModified());
}

void TestLCLoopModel::editLength_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<float>("expectedMetre");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("written");
    // the first device's cable is 12.4 m and the return cable 12.6 m
    const int first = int(Column::FirstCableLength);
    const int last = int(Column::LastCableLength);
    QTest::newRow("first: the shown 12 keeps 12.4")
        << first << QVariant(12) << 12.4f << "12" << false;
    QTest::newRow("first: 13 stores 13") << first << QVariant(13) << 13.0f << "13" << true;
    QTest::newRow("first: the longest run")
        << first << QVariant(10000) << 10000.0f << "10000" << true;
    QTest::newRow("last: the shown 13 keeps 12.6")
        << last << QVariant(13) << 12.6f << "13" << false;
    QTest::newRow("last: 12 stores 12") << last << QVariant(12) << 12.0f << "12" << true;
}

void TestLCLoopModel::editLength()
{
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(float, expectedMetre);
    Panel grid;
    LCLoop *const loop = grid.addLoop(1, {12.4f, 20.0f}, 12.6f);
    grid.model.setController(&grid.panel);
    QSignalSpy changed(&grid.model, &QAbstractItemModel::dataChanged);
    QVERIFY(grid.edit(0, Column(column), value));
    const float stored = column == int(Column::FirstCableLength)
        ? loop->child(0)->property(PropertyId::pos).toFloat()
        : loop->property(PropertyId::LastDis).toFloat();
    QVERIFY2(
        std::abs(stored - expectedMetre) <= kToleranceMetre, qPrintable(QString::number(stored)));
    QTEST(grid.text(0, Column(column)), "shown");
    // the total depends on both lengths and is told to the view
    bool totalTold = false;
    for (const QList<QVariant> &signal : changed) {
        const QModelIndex topLeft = signal.at(0).toModelIndex();
        const QModelIndex bottomRight = signal.at(1).toModelIndex();
        totalTold = totalTold
            || (topLeft.row() <= 0 && bottomRight.row() >= 0
                && topLeft.column() <= int(Column::TotalCableLength)
                && bottomRight.column() >= int(Column::TotalCableLength));
    }
    // only a length that was written changes the total
    QTEST(totalTold, "written");
    QCOMPARE(
        grid.text(0, Column::TotalCableLength), QString::number(long(loop->totalCableLength())));
}

void TestLCLoopModel::refusedValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("negative") << QVariant(-1);
    QTest::newRow("letters") << QVariant("abc");
    QTest::newRow("digits and a unit") << QVariant("12m");
    QTest::newRow("fraction") << QVariant(12.5);
    QTest::newRow("longer than a loop") << QVariant(10001);
    QTest::newRow("nothing") << QVariant();
}

void TestLCLoopModel::refusedValues()
{
    QFETCH(QVariant, value);
    Panel grid;
    LCLoop *const loop = grid.addLoop(1, {12.4f}, 12.6f);
    grid.model.setController(&grid.panel);
    Panel::markCalculated(loop);
    QSignalSpy changed(&grid.model, &QAbstractItemModel::dataChanged);
    QVERIFY(!grid.edit(0, Column::FirstCableLength, value));
    QVERIFY(!grid.edit(0, Column::LastCableLength, value));
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 12.4f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 12.6f);
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::Works);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!grid.model.isModified());
}

void TestLCLoopModel::editMakesResultsStale_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("first cable") << int(Column::FirstCableLength);
    QTest::newRow("return cable") << int(Column::LastCableLength);
}

void TestLCLoopModel::editMakesResultsStale()
{
    QFETCH(int, column);
    Panel grid;
    grid.addLoop(1, {1.0f});
    LCLoop *const loop = grid.addLoop(2, {12.4f}, 12.6f);
    grid.model.setController(&grid.panel);
    LoopWatcher watcher;

    // confirming the shown value writes nothing
    Panel::markCalculated(loop);
    QVERIFY(grid.edit(1, Column(column), 12 + (column == int(Column::LastCableLength))));
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::Works);
    QVERIFY(watcher.changed.isEmpty());

    QVERIFY(grid.edit(1, Column(column), 40));
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
    QCOMPARE(loop->property(PropertyId::ProblemText).toString(), QString());
    QVERIFY(!watcher.changed.isEmpty());
    QVERIFY(std::all_of(watcher.changed.cbegin(), watcher.changed.cend(),
        [loop](const LCObject *object) { return object == loop; }));
    QVERIFY(grid.model.isModified());
}

QTEST_GUILESS_MAIN(TestLCLoopModel)
#include "tst_lcloopmodel.moc"
