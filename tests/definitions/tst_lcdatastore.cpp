#include "definitions/lcdatastore.h"
#include "grids/lcicons.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void writeImage(const QString &path, const char *format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(path, format));
}

const QByteArray kDefaults = R"(<?xml version="1.0" encoding="UTF-8"?>
<Default>
    <DeviceType DevID="1" Name="Smoke" Current="0.3" ActiveCurrent="5" SubType="7 9"/>
    <DeviceType DevID="3" Name="Twin" Current="1"/>
    <DeviceType DevID="2" Name="Twin" Current="2"/>
    <WireType WireID="1" Name="Thin" Resistance="72" Capacity="100"/>
    <CardType CardID="13" Name="LoopCard" Current="30" ActiveCurrent="45"/>
    <DevSubType id="7" picture="07" name="Red"/>
    <DevSubType id="9" picture="09" name="Red"/>
    <BatteryType Name="B7" Capacity="7"/>
</Default>
)";
} // namespace

class TestLCDataStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void weightFactor_data();
    void weightFactor();
    void icons();
    void defaultsFile_data();
    void defaultsFile();
    void userDefinitionsFilledFromDefaults();
    void lookupsByName();
    void setterFlags();
    void deviceSubTypeFromLibrary();

private:
    QTemporaryDir m_dir;
    LCDataStore *m_store = nullptr;
};

void TestLCDataStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_store = LCDataStore::instance();
    QCOMPARE(LCDataStore::instance(), m_store);
    QCOMPARE(m_store->weightFactor(), 0.9f);
    QCOMPARE(m_store->panelTypes().value(1), QStringLiteral("Orvan-A10"));
    QCOMPARE(m_store->panelTypes().value(4), QStringLiteral("Orvan-B20X"));
    QCOMPARE(m_store->panelTypes().value(5), QStringLiteral("Orvan-D50"));
    QCOMPARE(m_store->panelTypes().size(), 5);
    QVERIFY(!m_store->anyChanged());
    m_store->setBaseDirectory(m_dir.path());
    writeFile(m_dir.filePath("config/default.xml"), kDefaults);
}

void TestLCDataStore::weightFactor_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<float>("factor");
    QTest::newRow("no file keeps the factor") << QByteArray() << 0.9f;
    QTest::newRow("0.75") << QByteArray("0.75") << 0.75f;
    QTest::newRow("only four bytes count") << QByteArray("0.755") << 0.75f;
    QTest::newRow("short") << QByteArray("1") << 1.0f;
    QTest::newRow("stops at a zero byte") << QByteArray("0.5\0"
                                                        "9",
        5) << 0.5f;
    QTest::newRow("letters read as 0") << QByteArray("abcd") << 0.0f;
    QTest::newRow("empty file reads as 0") << QByteArray("", 0) << 0.0f;
}

void TestLCDataStore::weightFactor()
{
    QFETCH(QByteArray, content);
    QFETCH(float, factor);
    const QString path = m_dir.filePath("data.prj");
    QFile::remove(path);
    if (QTest::currentDataTag() != QLatin1String("no file keeps the factor")) {
        writeFile(path, content);
    }
    (void)m_store->loadProject(m_dir.filePath("missing.xml"));
    QCOMPARE(m_store->weightFactor(), factor);
    QFile::remove(path);
}

void TestLCDataStore::icons()
{
    QTemporaryDir dir;
    writeImage(dir.filePath("deviceico/12.ico"), "ICO");
    writeImage(dir.filePath("deviceico/13.ICO"), "ICO");
    writeImage(dir.filePath("deviceico/x.ico"), "ICO");
    writeImage(dir.filePath("deviceico/14.ico.bak"), "ICO");
    writeImage(dir.filePath("subtypeico/00.png"), "PNG");
    writeImage(dir.filePath("subtypeico/05.png"), "PNG");
    m_store->setBaseDirectory(dir.path());

    QCOMPARE(m_store->deviceIconPath(12), dir.filePath("deviceico/12.ico"));
    QVERIFY2(m_store->deviceIconPath(13).isEmpty(), "the suffix is matched case-sensitively");
    QVERIFY2(m_store->deviceIconPath(14).isEmpty(), "only the last suffix counts");
    QCOMPARE(m_store->deviceIconPath(0), dir.filePath("deviceico/x.ico"));
    QCOMPARE(m_store->subTypeIconPath("05"), dir.filePath("subtypeico/05.png"));
    QCOMPARE(m_store->subTypeIconPath("07"), dir.filePath("subtypeico/00.png"));
    QVERIFY(!LCIcons::deviceIcon(12).isNull());
    QVERIFY(LCIcons::deviceIcon(13).isNull());
    QVERIFY(!LCIcons::subTypeIcon("07").isNull());

    QFile::remove(dir.filePath("subtypeico/00.png"));
    m_store->setBaseDirectory(dir.path());
    QVERIFY(m_store->subTypeIconPath("07").isEmpty());
    QVERIFY(LCIcons::subTypeIcon("07").isNull());

    // the program's own icons are readable
    m_store->setBaseDirectory(QCoreApplication::applicationDirPath());
    const QIcon own = LCIcons::deviceIcon(1);
    QVERIFY(!own.isNull());
    QVERIFY(!own.pixmap(32, 32).isNull());
    QVERIFY(!LCIcons::subTypeIcon("00").pixmap(32, 32).isNull());
    m_store->setBaseDirectory(m_dir.path());
}

void TestLCDataStore::defaultsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("read");
    QTest::newRow("Default at the top") << kDefaults << true;
    QTest::newRow("Default below a wrapper")
        << QByteArray("<Root><Other/><Default><DeviceType DevID=\"1\"/></Default></Root>") << true;
    QTest::newRow("no Default") << QByteArray("<Root><Project/></Root>") << false;
    QTest::newRow("Default too deep")
        << QByteArray("<Root><A><Default><DeviceType DevID=\"1\"/></Default></A></Root>") << false;
    QTest::newRow("not well formed") << QByteArray("<Default><DeviceType DevID=\"1\">") << false;
    QTest::newRow("document type refused")
        << QByteArray("<!DOCTYPE Default [<!ENTITY a \"b\">]><Default/>") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestLCDataStore::defaultsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, read);
    const QString path = m_dir.filePath("config/default.xml");
    writeFile(path, kDefaults);
    QVERIFY(m_store->loadDefaults());
    const QMap<int, DeviceType> before = m_store->defaultDeviceTypes();

    writeFile(path, content);
    QCOMPARE(m_store->loadDefaults(), read);
    if (!read) {
        QVERIFY2(m_store->defaultDeviceTypes() == before, "a failed read keeps what was there");
        QCOMPARE(m_store->batteryTypes().size(), 1);
    }
    // no project file: the start-up verdict rests on the defaults alone
    const LCLoadResult result = m_store->loadProject(m_dir.filePath("missing.xml"));
    QCOMPARE(result.ok, read);
    QVERIFY(!result.projectRead);
    QVERIFY(!result.errorText.isEmpty());
    writeFile(path, kDefaults);
}

void TestLCDataStore::userDefinitionsFilledFromDefaults()
{
    const QString project = m_dir.filePath("cards.xml");
    writeFile(project, R"(<Project name="p">
        <DeviceType DevID="5" Name="Own" Current="1"/>
        <WireType WireID="2" Name="OwnCable"/>
    </Project>)");
    const LCLoadResult result = m_store->loadProject(project);
    QVERIFY(result.ok);
    QVERIFY(result.projectRead);
    QVERIFY(result.errorText.isEmpty());
    QCOMPARE(m_store->deviceTypes().keys(), QList<int>({5}));
    QCOMPARE(m_store->wireTypes().keys(), QList<int>({2}));
    // a kind the file does not carry comes from the factory
    QCOMPARE(m_store->cardTypes(), m_store->defaultCardTypes());
    QCOMPARE(m_store->cardTypes().keys(), QList<int>({13}));
    QCOMPARE(m_store->defaultDeviceTypes().keys(), QList<int>({1, 2, 3}));
    QVERIFY(!m_store->anyChanged());
}

void TestLCDataStore::lookupsByName()
{
    m_store->setDeviceTypes(m_store->defaultDeviceTypes());
    QCOMPARE(m_store->deviceTypeIdByName("Twin"), 2);
    QCOMPARE(m_store->deviceTypeIdByName("Smoke"), 1);
    QCOMPARE(m_store->deviceTypeIdByName("smoke"), 0);
    QCOMPARE(m_store->deviceTypeIdByName("None"), 0);
    QCOMPARE(m_store->subTypeIdByName("Red"), 7);
    QCOMPARE(m_store->subTypeIdByName("Blue"), 0);
    m_store->setWireTypes(m_store->defaultWireTypes());
    QCOMPARE(m_store->wireTypeIdByName("Thin"), 1);
    QCOMPARE(m_store->wireTypeIdByName(""), 0);
}

void TestLCDataStore::setterFlags()
{
    (void)m_store->loadProject(m_dir.filePath("cards.xml"));
    QVERIFY(!m_store->anyChanged());
    // an unchanged map still counts as a change
    m_store->setCardTypes(m_store->cardTypes());
    QVERIFY(m_store->cardTypesChanged());
    QVERIFY(!m_store->devTypesChanged());
    QVERIFY(!m_store->wireTypesChanged());
    QVERIFY(!m_store->projectChanged());
    QVERIFY(m_store->anyChanged());
    m_store->setDeviceTypes({});
    m_store->setWireTypes({});
    QVERIFY(m_store->devTypesChanged());
    QVERIFY(m_store->wireTypesChanged());
    QVERIFY(m_store->deviceTypes().isEmpty());
    QVERIFY2(!m_store->defaultDeviceTypes().isEmpty(), "the setters never touch the defaults");

    // a project handed over replaces the old one and counts as a change
    (void)m_store->loadProject(m_dir.filePath("cards.xml"));
    QVERIFY(!m_store->anyChanged());
    m_store->setProject(std::make_unique<LCProject>());
    QVERIFY(m_store->projectChanged());
    QVERIFY(m_store->project()->properties().isEmpty());
    // a change to any object sets the project flag, whether it is in the project or not
    (void)m_store->loadProject(m_dir.filePath("cards.xml"));
    LCProject loose;
    loose.setProperty(PropertyId::Name, QStringLiteral("x"));
    QVERIFY(m_store->projectChanged());

    // a file that cannot be opened leaves the edited project and its flags, so closing still
    // asks before the changes are lost
    m_store->setCardTypes({});
    LCProject *const edited = m_store->project();
    const LCLoadResult failed = m_store->loadProject(m_dir.filePath("missing.xml"));
    QVERIFY(!failed.projectRead);
    QCOMPARE(m_store->project(), edited);
    QVERIFY(m_store->projectChanged());
    QVERIFY(m_store->cardTypesChanged());
}

void TestLCDataStore::deviceSubTypeFromLibrary()
{
    (void)m_store->loadProject(m_dir.filePath("cards.xml"));
    m_store->setDeviceTypes(m_store->defaultDeviceTypes());
    LCLoop loop;
    auto device = std::make_unique<LCDevice>(&loop);
    LCDevice *const pointer = device.get();
    loop.insertChild(std::move(device));
    pointer->setProperty(PropertyId::deviceTypeid, 1);
    QCOMPARE(pointer->property(PropertyId::SubType).toInt(), 7);
    pointer->setProperty(PropertyId::deviceTypeid, 3);
    QCOMPARE(pointer->property(PropertyId::SubType).toInt(), 0);
    pointer->setProperty(PropertyId::deviceTypeid, 42);
    QCOMPARE(pointer->property(PropertyId::SubType).toInt(), 0);
}

QTEST_MAIN(TestLCDataStore)
#include "tst_lcdatastore.moc"
