#include "definitions/lcdatastore.h"
#include "grids/lcdevicemodel.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcmodificationflag.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
using Column = LCDeviceModel::Column;

// Smoke (icon 5) may be Optical or Heat, Sounder (icon 6, no file) is Wall; Bare has no list.
const QByteArray kDefaults = R"(<Default>
    <DeviceType DevID="1" Name="Smoke" IcoID="5" SubType="7 9"/>
    <DeviceType DevID="2" Name="Sounder" IcoID="6" SubType="11"/>
    <DeviceType DevID="3" Name="Bare"/>
    <WireType WireID="1" Name="Thin"/>
    <WireType WireID="2" Name="Heavy"/>
    <DevSubType id="7" picture="07" name="Optical"/>
    <DevSubType id="9" picture="09" name="Heat"/>
    <DevSubType id="11" picture="11" name="Wall"/>
</Default>
)";
constexpr int kUnknownKey = 42;

class LoopWatcher : public LCObserver
{
public:
    LoopWatcher() { LCObserverRegistry::add(this); }
    ~LoopWatcher() override { LCObserverRegistry::remove(this); }
    void objectChanged(LCObject *object, ChangeKind kind) override
    {
        changes.append({object, kind});
    }
    QVector<QPair<LCObject *, ChangeKind>> changes;
};

void writeImage(const QString &path, Qt::GlobalColor colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    QVERIFY(image.save(path));
}

QColor iconColour(const QVariant &icon)
{
    return icon.value<QIcon>().pixmap(16, 16).toImage().pixelColor(8, 8);
}

// A loop with its grid.
struct Loop {
    LCDevice *add(int truck = 0, bool relay = false, int type = 1, int subType = 7)
    {
        auto device = std::make_unique<LCDevice>(&loop);
        device->storeProperty(PropertyId::truck, truck);
        device->storeProperty(PropertyId::Relay, relay);
        device->storeProperty(PropertyId::deviceTypeid, type);
        device->storeProperty(PropertyId::SubType, subType);
        device->storeProperty(PropertyId::CableType, 1);
        LCDevice *const pointer = device.get();
        loop.insertChild(std::move(device));
        return pointer;
    }
    // as a passed calculation leaves it, so that staleness shows
    void markCalculated()
    {
        loop.storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
        loop.storeProperty(PropertyId::ProblemText, QStringLiteral("old"));
    }
    QString text(int row, Column column) const
    {
        return model.index(row, int(column)).data().toString();
    }

    LCLoop loop;
    LCDeviceModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};
} // namespace

class TestLCDeviceModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutDevices();
    void topology_data();
    void topology();
    void cableLength_data();
    void cableLength();
    void sameShownLengthKeepsExactOne();
    void typeChangeRedrawsSubType();
    void editByName_data();
    void editByName();
    void namesAndIcons();
    void missingSubTypesFilledSilently();
    void colours_data();
    void colours();
    void editMakesResultsStale();

private:
    QTemporaryDir m_dir;
};

void TestLCDeviceModel::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile file(m_dir.filePath("config/default.xml"));
    QVERIFY(QDir().mkpath(m_dir.filePath("config")) && file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(kDefaults), qint64(kDefaults.size()));
    file.close();
    writeImage(m_dir.filePath("deviceico/0.ico"), Qt::green);
    writeImage(m_dir.filePath("deviceico/5.ico"), Qt::red);
    writeImage(m_dir.filePath("subtypeico/00.png"), Qt::blue);
    writeImage(m_dir.filePath("subtypeico/07.png"), Qt::yellow);
    LCDataStore::instance()->setBaseDirectory(m_dir.path());
    QVERIFY(LCDataStore::instance()->loadProject(m_dir.filePath("none.xml")).ok);
    QCOMPARE(LCDataStore::instance()->deviceTypes().size(), 3);
}

void TestLCDeviceModel::withoutDevices()
{
    Loop grid;
    QVERIFY(!grid.model.hasSource());
    grid.model.setLoop(&grid.loop);
    QVERIFY(grid.model.hasSource());
    QCOMPARE(grid.model.rowCount(), 0);
    QStringList headers;
    for (int section = 0; section < grid.model.columnCount(); ++section) {
        headers << grid.model.headerData(section, Qt::Horizontal).toString();
    }
    QCOMPARE(headers,
        QStringList({"Loop Topology", "Cable from Previous Device (m)", "Device Type", "Sub Type",
            "Cable Type"}));

    // a panel is no loop: nothing to list
    grid.add();
    LCController panel;
    grid.model.setLoop(&panel);
    QVERIFY(!grid.model.hasSource());
    QCOMPARE(grid.model.rowCount(), 0);
    grid.model.setLoop(&grid.loop);
    QCOMPARE(grid.model.rowCount(), 1);
    grid.model.setLoop(nullptr);
    QCOMPARE(grid.model.rowCount(), 0);
    QCOMPARE(grid.model.columnCount(), LCDeviceModel::kColumnCount);
}

void TestLCDeviceModel::topology_data()
{
    QTest::addColumn<QList<int>>("trucks");
    QTest::addColumn<QList<bool>>("relays");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("relay flag on the trunk")
        << QList<int>{0} << QList<bool>{true} << QStringList{"Trunk"};
    QTest::newRow("branches one after another")
        << QList<int>{0, 1, 1, 3, 3, 0, 6}
        << QList<bool>{false, false, false, false, false, false, true}
        << QStringList{"Trunk", "Node1", "Node1", "Node2", "Node2", "Trunk", "Node3(Relay)"};
    QTest::newRow("a resumed branch takes the latest number")
        << QList<int>{0, 1, 2, 1} << QList<bool>{false, false, false, false}
        << QStringList{"Trunk", "Node1", "Node2", "Node2"};
}

void TestLCDeviceModel::topology()
{
    QFETCH(QList<int>, trucks);
    QFETCH(QList<bool>, relays);
    QFETCH(QStringList, texts);
    Loop grid;
    for (int i = 0; i < trucks.size(); ++i) {
        grid.add(trucks.at(i), relays.at(i));
    }
    grid.model.setLoop(&grid.loop);
    QStringList shown;
    for (int row = 0; row < grid.model.rowCount(); ++row) {
        shown << grid.text(row, Column::Topology);
        QVERIFY(!grid.model.index(row, int(Column::Topology)).data(Qt::DecorationRole).isValid());
    }
    QCOMPARE(shown, texts);
    QCOMPARE(grid.model.headerData(trucks.size() - 1, Qt::Vertical).toString(),
        QString::number(trucks.size()));
}

void TestLCDeviceModel::cableLength_data()
{
    QTest::addColumn<float>("metre");
    QTest::addColumn<QString>("shown");
    QTest::newRow("12.6") << 12.6f << "13";
    QTest::newRow("12.4") << 12.4f << "12";
    QTest::newRow("half goes up") << 2.5f << "3";
    QTest::newRow("another half goes up") << 0.5f << "1";
    QTest::newRow("negative half goes down") << -2.5f << "-3";
}

void TestLCDeviceModel::cableLength()
{
    QFETCH(float, metre);
    QFETCH(QString, shown);
    Loop grid;
    grid.add()->storeProperty(PropertyId::pos, metre);
    grid.model.setLoop(&grid.loop);
    QCOMPARE(grid.text(0, Column::CableLength), shown);
}

void TestLCDeviceModel::sameShownLengthKeepsExactOne()
{
    Loop grid;
    LCDevice *const device = grid.add();
    device->storeProperty(PropertyId::pos, 12.6f);
    grid.model.setLoop(&grid.loop);
    grid.markCalculated();
    const QModelIndex cell = grid.model.index(0, int(Column::CableLength));
    QVERIFY(grid.model.setData(cell, 13));
    QCOMPARE(device->pos(), 12.6f);
    QCOMPARE(grid.loop.property(PropertyId::LoopStatus).toInt(), LoopStatusValue::Works);
    QVERIFY(grid.model.setData(cell, 12));
    QCOMPARE(device->property(PropertyId::pos).userType(), int(QMetaType::Float));
    QCOMPARE(device->pos(), 12.0f);
    QCOMPARE(grid.text(0, Column::CableLength), QStringLiteral("12"));
    QCOMPARE(grid.loop.property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
}

void TestLCDeviceModel::typeChangeRedrawsSubType()
{
    Loop grid;
    grid.add();
    LCDevice *const device = grid.add(0, false, 1, 9);
    grid.model.setLoop(&grid.loop);
    QSignalSpy changed(&grid.model, &QAbstractItemModel::dataChanged);
    QVERIFY(grid.model.setData(grid.model.index(1, int(Column::DeviceType)), "Sounder"));
    QCOMPARE(device->deviceTypeId(), 2);
    QCOMPARE(grid.text(1, Column::SubType), QStringLiteral("Wall"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), grid.model.index(1, int(Column::SubType)));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), grid.model.index(1, int(Column::SubType)));
    // the device lost its check mark, so every cell of its row takes its colours anew
    QCOMPARE(changed.at(1).at(0).toModelIndex(), grid.model.index(1, int(Column::Topology)));
    QCOMPARE(changed.at(1).at(1).toModelIndex(), grid.model.index(1, int(Column::CableType)));
    QCOMPARE(changed.at(2).at(0).toModelIndex(), grid.model.index(1, int(Column::DeviceType)));
}

void TestLCDeviceModel::editByName_data()
{
    // a value that does not fit its column is refused and the cell keeps what it had: one edit
    // can span several columns
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("property");
    QTest::addColumn<int>("stored");
    const int length = int(Column::CableLength);
    const int type = int(Column::DeviceType);
    const int subType = int(Column::SubType);
    const int cable = int(Column::CableType);
    const int pos = int(PropertyId::pos);
    QTest::newRow("length") << length << QVariant(25) << pos << 25;
    QTest::newRow("length as text") << length << QVariant("30") << pos << 30;
    QTest::newRow("name in a length") << length << QVariant("Sounder") << pos << 4;
    QTest::newRow("empty length") << length << QVariant("") << pos << 4;
    QTest::newRow("negative length") << length << QVariant(-3) << pos << 4;
    QTest::newRow("device type") << type << QVariant("Sounder") << int(PropertyId::deviceTypeid)
                                 << 2;
    QTest::newRow("unknown device type")
        << type << QVariant("smoke") << int(PropertyId::deviceTypeid) << 1;
    QTest::newRow("length in a type") << type << QVariant(12) << int(PropertyId::deviceTypeid) << 1;
    QTest::newRow("sub type") << subType << QVariant("Heat") << int(PropertyId::SubType) << 9;
    QTest::newRow("sub type of another type")
        << subType << QVariant("Wall") << int(PropertyId::SubType) << 7;
    QTest::newRow("unknown sub type")
        << subType << QVariant("Red") << int(PropertyId::SubType) << 7;
    QTest::newRow("cable type") << cable << QVariant("Heavy") << int(PropertyId::CableType) << 2;
    QTest::newRow("unknown cable") << cable << QVariant("") << int(PropertyId::CableType) << 1;
}

void TestLCDeviceModel::editByName()
{
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(int, property);
    QFETCH(int, stored);
    Loop grid;
    LCDevice *const device = grid.add();
    device->storeProperty(PropertyId::pos, 4.0f);
    grid.model.setLoop(&grid.loop);
    grid.markCalculated();
    QVERIFY(grid.model.flags(grid.model.index(0, column)) & Qt::ItemIsEditable);
    const bool taken = grid.model.setData(grid.model.index(0, column), value);
    QCOMPARE(device->property(PropertyId(property)).toInt(), stored);
    QCOMPARE(grid.model.isModified(), taken);
    QCOMPARE(grid.loop.property(PropertyId::LoopStatus).toInt(),
        taken ? LoopStatusValue::NotCalculated : LoopStatusValue::Works);

    // the topology is computed, never typed
    const QModelIndex topology = grid.model.index(0, int(Column::Topology));
    QVERIFY(!(grid.model.flags(topology) & Qt::ItemIsEditable));
    QVERIFY(!grid.model.setData(topology, "Node1"));
}

void TestLCDeviceModel::namesAndIcons()
{
    Loop grid;
    grid.add(0, false, 1, 7)->storeProperty(PropertyId::CableType, 2);
    grid.add(0, false, kUnknownKey, kUnknownKey)->storeProperty(PropertyId::CableType, kUnknownKey);
    grid.add(0, false, 2, 11);
    grid.model.setLoop(&grid.loop);
    const auto icon = [&grid](int row, Column column) {
        return grid.model.index(row, int(column)).data(Qt::DecorationRole);
    };
    QCOMPARE(grid.text(0, Column::DeviceType), QStringLiteral("Smoke"));
    QCOMPARE(grid.text(0, Column::SubType), QStringLiteral("Optical"));
    QCOMPARE(grid.text(0, Column::CableType), QStringLiteral("Heavy"));
    QCOMPARE(iconColour(icon(0, Column::DeviceType)), QColor(Qt::red));
    QCOMPARE(iconColour(icon(0, Column::SubType)), QColor(Qt::yellow));
    QVERIFY(!icon(0, Column::CableLength).isValid());
    QVERIFY(!icon(0, Column::CableType).isValid());

    // unknown keys: the id said plainly, the icon numbered 0 and the fallback picture
    QCOMPARE(grid.text(1, Column::DeviceType), QStringLiteral("Unknown type 42"));
    QCOMPARE(grid.text(1, Column::SubType), QStringLiteral("UNDEFINE"));
    QCOMPARE(grid.text(1, Column::CableType), QStringLiteral("Unknown type 42"));
    QCOMPARE(iconColour(icon(1, Column::DeviceType)), QColor(Qt::green));
    QCOMPARE(iconColour(icon(1, Column::SubType)), QColor(Qt::blue));

    // a known type whose icon file is missing shows none; its sub type falls back to "00"
    QVERIFY(!icon(2, Column::DeviceType).isValid());
    QCOMPARE(iconColour(icon(2, Column::SubType)), QColor(Qt::blue));
}

void TestLCDeviceModel::missingSubTypesFilledSilently()
{
    Loop grid;
    const QList<LCDevice *> devices = {grid.add(0, false, 1, -1), grid.add(0, false, 2, -1),
        grid.add(0, false, 3, -1), grid.add(0, false, kUnknownKey, -1), grid.add(0, false, 1, 9)};
    grid.markCalculated();
    LCModificationFlag::clear();
    grid.model.setLoop(&grid.loop);
    QList<int> subTypes;
    for (const LCDevice *device : devices) {
        subTypes << device->property(PropertyId::SubType).toInt();
    }
    QCOMPARE(subTypes, QList<int>({7, 11, 0, 0, 9}));
    QVERIFY2(!LCModificationFlag::isSet(), "showing a loop is no edit");
    QCOMPARE(grid.loop.property(PropertyId::LoopStatus).toInt(), LoopStatusValue::Works);
}

void TestLCDeviceModel::colours_data()
{
    QTest::addColumn<int>("checkMark");
    QTest::addColumn<int>("truck");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("failed on the trunk") << 0 << 0 << QColor(Qt::yellow) << QColor(Qt::black);
    QTest::newRow("failed on a branch") << 0 << 1 << QColor(Qt::yellow) << QColor(Qt::black);
    QTest::newRow("passed on a branch") << 1 << 1 << QColor(Qt::blue) << QColor(Qt::yellow);
    QTest::newRow("unchecked on a branch") << -1 << 1 << QColor(Qt::blue) << QColor(Qt::yellow);
    QTest::newRow("passed on the trunk") << 1 << 0 << QColor() << QColor();
    QTest::newRow("unchecked on the trunk") << -1 << 0 << QColor() << QColor();
}

void TestLCDeviceModel::colours()
{
    QFETCH(int, checkMark);
    QFETCH(int, truck);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    Loop grid;
    grid.add();
    grid.add(truck)->storeProperty(PropertyId::CheckMark, checkMark);
    grid.model.setLoop(&grid.loop);
    for (int column = 0; column < LCDeviceModel::kColumnCount; ++column) {
        const QModelIndex cell = grid.model.index(1, column);
        QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), background);
        QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(), text);
    }
}

void TestLCDeviceModel::editMakesResultsStale()
{
    Loop grid;
    LCDevice *const device = grid.add();
    device->storeProperty(PropertyId::CheckMark, CheckMarkValue::Flagged);
    grid.markCalculated();
    grid.model.setLoop(&grid.loop);
    const QModelIndex cell = grid.model.index(0, int(Column::CableType));
    QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    LoopWatcher watcher;
    QVERIFY(grid.model.setData(cell, "Thin"));
    QCOMPARE(grid.loop.property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
    QCOMPARE(grid.loop.property(PropertyId::ProblemText).toString(), QString());
    QVERIFY(watcher.changes.contains({&grid.loop, ChangeKind::LoopResults}));
    grid.model.refresh();
    QVERIFY(!grid.model.index(0, 0).data(Qt::BackgroundRole).isValid());
    QVERIFY(!grid.model.index(0, 0).data(Qt::ForegroundRole).isValid());
}

QTEST_MAIN(TestLCDeviceModel)
#include "tst_lcdevicemodel.moc"
