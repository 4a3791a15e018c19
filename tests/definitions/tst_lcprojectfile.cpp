#include "definitions/lcdatastore.h"
#include "definitions/lcprojectwriter.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QDir>
#include <QFile>
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

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kDefaults = R"(<?xml version="1.0" encoding="UTF-8"?>
<Default>
    <DeviceType DevID="2" Name="Sounder" Volt="24" Current="0.25" ActiveCurrent="8" Capacitance="150" IcoID="2" SubType="3"/>
    <DeviceType DevID="1" Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" Capacitance="100" IcoID="1" SubType="1 2"/>
    <WireType WireID="1" Name="1.5mm" Resistance="24.5" Capacity="120" Note="twisted pair"/>
    <CardType CardID="3" Name="LoopCard" Current="30" ActiveCurrent="45"/>
    <DevSubType id="1" picture="01" name="Red"/>
</Default>
)";

LCController *addPanel(LCProject *project, int id, int type)
{
    auto panel = std::make_unique<LCController>(project);
    panel->storeProperty(PropertyId::Panelid, id);
    panel->storeProperty(PropertyId::PanelType, type);
    LCController *const added = panel.get();
    project->insertChild(std::move(panel));
    return added;
}

LCLoop *addLoop(LCController *panel, int id, float lastDis, int cable)
{
    auto loop = std::make_unique<LCLoop>(panel);
    loop->storeProperty(PropertyId::Loopid, id);
    loop->storeProperty(PropertyId::LastDis, lastDis);
    loop->storeProperty(PropertyId::LoopCableType, cable);
    LCLoop *const added = loop.get();
    panel->insertChild(std::move(loop));
    return added;
}

LCDevice *addDevice(LCLoop *loop, int type, float pos, int cable, int truck = 0, bool relay = false)
{
    auto device = std::make_unique<LCDevice>(loop);
    device->storeProperty(PropertyId::deviceTypeid, type);
    device->storeProperty(PropertyId::pos, pos);
    device->storeProperty(PropertyId::CableType, cable);
    device->storeProperty(PropertyId::truck, truck);
    device->storeProperty(PropertyId::Relay, relay);
    LCDevice *const added = device.get();
    loop->insertChild(std::move(device));
    return added;
}

// Two panels, inserted out of order, with loops out of order, branches, relays and texts that
// need escaping.
std::unique_ptr<LCProject> richProject()
{
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, QStringLiteral("Tom & Jerry's <Depot>"));
    project->storeProperty(PropertyId::SiteName, QStringLiteral("Hall \"North\""));
    project->storeProperty(PropertyId::SiteAddr, QStringLiteral("Line one\nLine two\r\nLine 3"));
    project->storeProperty(PropertyId::EndUser, QStringLiteral("Tab\there"));
    project->storeProperty(PropertyId::Installer, QString::fromUtf8("Ünïcödé Ærø 東京 😀"));
    project->storeProperty(PropertyId::Engineer, QStringLiteral("  spaced  "));
    project->storeProperty(PropertyId::Date, QStringLiteral("2024-06-11"));
    project->storeProperty(PropertyId::ProjectNote, QStringLiteral("a > b && c < d"));
    project->storeProperty(PropertyId::Addr, QStringLiteral("]]> <!-- not a comment -->"));

    LCController *const second = addPanel(project.get(), 2, 3);
    second->storeProperty(PropertyId::PanelNote, QStringLiteral("riser & \"stairs\"\n2nd line"));
    second->storeProperty(PropertyId::CommCount, 2);
    second->storeProperty(PropertyId::ManualPanelCount, 1);
    second->storeProperty(PropertyId::MainCardCount, 1);
    second->storeProperty(PropertyId::CANCardCount, 3);
    second->storeProperty(PropertyId::ModbusCardCount, -1);
    second->storeProperty(PropertyId::Slot1CardType, LCController::kOpticalCard);
    second->storeProperty(PropertyId::Slot2CardType, LCController::kHyperNetworkCard);
    LCLoop *const third = addLoop(second, 3, 0.5f, 2);
    addDevice(third, 99, 0.1f, 2);
    addLoop(second, 2, 100.0f, 1);
    LCLoop *const first = addLoop(second, 1, 15.0f, 1);
    addDevice(first, 1, 10.0f, 1);
    addDevice(first, 2, 20.0f, 1);
    addDevice(first, 1, 5.0f, 2, 2, true);
    addDevice(first, 2, 7.5f, 2, 2, true);
    addDevice(first, 1, 12.25f, 1, 0);
    addDevice(first, 1, 3.0f, 1, 5);
    second->storeProperty(PropertyId::LoopCardCount, 4);

    LCController *const one = addPanel(project.get(), 1, 5);
    LCLoop *const only = addLoop(one, 1, 0.0f, 0);
    for (int i = 0; i < 3; ++i) {
        addDevice(only, 2, 33.3f, 1);
    }
    return project;
}

QMap<int, DeviceType> ownDeviceTypes()
{
    DeviceType beam{QStringLiteral("Beam & <Co>"), 24, 6, 7, 0.5f, 8.0f, 150.0f, {15, 16}};
    DeviceType call{QStringLiteral("Call-Point"), 12, 5, 3, 0.2f, 4.0f, 60.0f, {5}};
    return {{7, beam}, {3, call}};
}

QMap<int, WireType> ownWireTypes()
{
    return {
        {2, WireType{QString::fromUtf8("2.5mm²"), 7.4f, 110.0f, 2, QStringLiteral("red, <LSZH>")}}};
}

QMap<int, CardType> ownCardTypes()
{
    return {{4, CardType{QStringLiteral("CAN \"B\""), 25.5f, 40.0f, 4}}};
}
} // namespace

class TestLCProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTripIsByteIdentical();
    void textsSurviveTheFile_data();
    void textsSurviveTheFile();
    void writtenText();
    void loopDistances_data();
    void loopDistances();
    void devCount_data();
    void devCount();
    void relayMark_data();
    void relayMark();
    void projectElement_data();
    void projectElement();
    void loadingOrdersPanelsAndRaisesLoopCards();
    void factoryDefinitionsFillAFileWithout();
    void resultsAreNotSavedSubTypesAre();
    void failedSave_data();
    void failedSave();

private:
    // Loads text as a project file: the project read, or null with a warning.
    LCProject *load(const QByteArray &text);
    void useOwnDefinitions();

    QTemporaryDir m_dir;
    LCDataStore *m_store = nullptr;
};

void TestLCProjectFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_store = LCDataStore::instance();
    m_store->setBaseDirectory(m_dir.path());
    writeFile(m_dir.filePath("config/default.xml"), kDefaults);
}

LCProject *TestLCProjectFile::load(const QByteArray &text)
{
    const QString path = m_dir.filePath("case.xml");
    writeFile(path, text);
    const LCLoadResult result = m_store->loadProject(path);
    if (!result.projectRead) {
        qWarning() << "not read:" << result.errorText;
        return nullptr;
    }
    return m_store->project();
}

void TestLCProjectFile::useOwnDefinitions()
{
    m_store->setDeviceTypes(ownDeviceTypes());
    m_store->setWireTypes(ownWireTypes());
    m_store->setCardTypes(ownCardTypes());
}

void TestLCProjectFile::roundTripIsByteIdentical()
{
    m_store->setProject(richProject());
    useOwnDefinitions();
    const QString first = m_dir.filePath("first.xml");
    QString error;
    QVERIFY2(m_store->saveProject(first, &error), qPrintable(error));
    QVERIFY(!m_store->devTypesChanged() && !m_store->wireTypesChanged());
    QVERIFY(!m_store->cardTypesChanged() && !m_store->projectChanged());

    const LCLoadResult result = m_store->loadProject(first);
    QVERIFY(result.ok);
    QVERIFY2(result.projectRead, qPrintable(result.errorText));
    QVERIFY(result.errorText.isEmpty());
    QVERIFY2(!m_store->anyChanged(), "reading inserts objects, yet nothing counts as changed");
    QVERIFY(m_store->deviceTypes() == ownDeviceTypes());
    QVERIFY(m_store->wireTypes() == ownWireTypes());
    QVERIFY(m_store->cardTypes() == ownCardTypes());
    QCOMPARE(m_store->project()->child(1)->child(0)->childCount(), 6);

    // every kept property is in the file, so equal bytes mean an equal tree was read
    const QString second = m_dir.filePath("second.xml");
    QVERIFY2(m_store->saveProject(second, &error), qPrintable(error));
    QCOMPARE(readFile(second), readFile(first));
}

void TestLCProjectFile::textsSurviveTheFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    const QString same;
    QTest::newRow("markup characters") << "<a href=\"x\">&amp;</a>" << same;
    QTest::newRow("line feed") << "one\ntwo" << same;
    QTest::newRow("spaces at both ends") << "  x  " << same;
    QTest::newRow("Latin-1 and CJK") << QString::fromUtf8("Grüße Ærø 消防") << same;
    QTest::newRow("outside the BMP") << QString::fromUtf8("bell 🔔 end") << same;
    QTest::newRow("control characters dropped")
        << QStringLiteral("a\u0001b\u001Fc\u007F") << QStringLiteral("abc\u007F");
    QTest::newRow("lone high surrogate dropped")
        << QString(QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b")) << "ab";
    QTest::newRow("non-characters dropped")
        << QString(QStringLiteral("x") + QChar(0xFFFE) + QChar(0xFFFF) + QStringLiteral("y"))
        << "xy";
}

void TestLCProjectFile::textsSurviveTheFile()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    if (readBack.isNull()) {
        readBack = text;
    }
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, text);
    addPanel(project.get(), 1, 1)->storeProperty(PropertyId::PanelNote, text);
    m_store->setProject(std::move(project));
    QMap<int, WireType> wires = ownWireTypes();
    wires[2].Note = text;
    m_store->setWireTypes(wires);

    const QString first = m_dir.filePath("text1.xml");
    QVERIFY(m_store->saveProject(first));
    QVERIFY(m_store->loadProject(first).projectRead);
    QCOMPARE(m_store->project()->property(PropertyId::Name).toString(), readBack);
    QCOMPARE(m_store->project()->child(0)->property(PropertyId::PanelNote).toString(), readBack);
    QCOMPARE(m_store->wireTypes().value(2).Note, readBack);
    const QString second = m_dir.filePath("text2.xml");
    QVERIFY(m_store->saveProject(second));
    QCOMPARE(readFile(second), readFile(first));
}

void TestLCProjectFile::writtenText()
{
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, QStringLiteral("A&B"));
    project->storeProperty(PropertyId::SiteName, QStringLiteral("x<y>"));
    project->storeProperty(PropertyId::Date, QStringLiteral("2024-06-11"));
    LCController *const panel = addPanel(project.get(), 1, 3);
    panel->storeProperty(PropertyId::PanelNote, QStringLiteral("n\"q"));
    addLoop(panel, 2, 12.25f, 1);
    LCLoop *const loop = addLoop(panel, 1, 15.0f, 2);
    addDevice(loop, 1, 10.0f, 2)->storeProperty(PropertyId::SubType, 2);
    addDevice(loop, 2, 20.0f, 2, 1, true);
    addDevice(loop, 1, 30.0f, 2);
    panel->storeProperty(PropertyId::LoopCardCount, 2);
    m_store->setProject(std::move(project));
    QVERIFY(m_store->loadDefaults());
    m_store->setDeviceTypes(m_store->defaultDeviceTypes());
    m_store->setWireTypes(m_store->defaultWireTypes());
    m_store->setCardTypes(m_store->defaultCardTypes());

    const QString path = m_dir.filePath("small.xml");
    QVERIFY(m_store->saveProject(path));
    const QString expected = QStringLiteral(
        R"(<?xml version="1.0" encoding="UTF-8"?>
<Project name="A&amp;B" SiteName="x&lt;y&gt;" SiteAddr="" EndUser="" Installer="" Engineer="" Date="2024-06-11" note="" CustomerData="" Addr="">
    <Panel Panelid="1" PanelType="3" LoopCardCount="2" CommCount="0" ManualPanelCount="0" MainCardCount="0" CANCardCount="0" ModbusCardCount="0" Slot1CardType="0" Slot2CardType="0" note="n&quot;q">
        <Loop Loopid="1" FirstDis="10" LastDis="15" TotalDis="75" wiretype="2">
            <device deviceTypeid="1" pos="10" wiretype="2" truck="0" devicetypename="" subtype="2"/>
            <device deviceTypeid="2" pos="20" wiretype="2" truck="1" devicetypename="Relay" subtype="-1"/>
            <device deviceTypeid="1" pos="30" wiretype="2" truck="0" devicetypename="" subtype="-1"/>
        </Loop>
        <Loop Loopid="2" FirstDis="0" LastDis="12.25" TotalDis="12.25" wiretype="1"/>
    </Panel>
    <DeviceType Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" Capacitance="100" IcoID="1" DevID="1" SubType="1 2"/>
    <DeviceType Name="Sounder" Volt="24" Current="0.25" ActiveCurrent="8" Capacitance="150" IcoID="2" DevID="2" SubType="3"/>
    <WireType Name="1.5mm" Capacity="120" Resistance="24.5" WireID="1" Note="twisted pair"/>
    <CardType Name="LoopCard" Current="30" ActiveCurrent="45" CardID="3"/>
</Project>
)");
    QCOMPARE(QString::fromUtf8(readFile(path)), expected);
}

void TestLCProjectFile::loopDistances_data()
{
    QTest::addColumn<QVector<float>>("positions");
    QTest::addColumn<float>("lastDis");
    QTest::addColumn<QString>("loopDistances");
    QTest::addColumn<QStringList>("posTexts");
    QTest::newRow("three devices")
        << QVector<float>{10, 20, 30} << 15.0f << R"(FirstDis="10" LastDis="15" TotalDis="75")"
        << QStringList{"10", "20", "30"};
    QTest::newRow("no devices") << QVector<float>{} << 15.0f
                                << R"(FirstDis="0" LastDis="15" TotalDis="15")" << QStringList{};
    QTest::newRow("quarter metres and a round hundred")
        << QVector<float>{12.25f, 100} << 0.5f
        << R"(FirstDis="12.25" LastDis="0.5" TotalDis="112.75")" << QStringList{"12.25", "100"};
    // ten times 0.1 in single precision is 1.0000001, which six digits show as 1
    QTest::newRow("single precision sum")
        << QVector<float>(10, 0.1f) << 0.0f << R"(FirstDis="0.1" LastDis="0" TotalDis="1")"
        << QStringList(QVector<QString>(10, "0.1").toList());
}

void TestLCProjectFile::loopDistances()
{
    QFETCH(QVector<float>, positions);
    QFETCH(float, lastDis);
    QFETCH(QString, loopDistances);
    QFETCH(QStringList, posTexts);
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(&project, 1, 1), 1, lastDis, 0);
    for (const float pos : positions) {
        addDevice(loop, 1, pos, 0);
    }
    const QString text = QString::fromUtf8(LCProjectWriter::write(project, {}));
    const QString loopLine =
        QStringLiteral("<Loop Loopid=\"1\" %1 wiretype=\"0\"").arg(loopDistances);
    QVERIFY2(text.contains(loopLine), qPrintable(text));
    QStringList written;
    const QRegularExpression pos(QStringLiteral("<device [^>]* pos=\"([^\"]*)\""));
    for (auto match = pos.globalMatch(text); match.hasNext();) {
        written << match.next().captured(1);
    }
    QCOMPARE(written, posTexts);
}

void TestLCProjectFile::devCount_data()
{
    QTest::addColumn<QByteArray>("loop");
    QTest::addColumn<QVector<float>>("positions");
    const QByteArray three = R"(<device pos="1"/><device pos="2"/><device pos="3"/>)";
    const QVector<float> all{1, 2, 3};
    QTest::newRow("2 of three") << "<Loop devCount=\"2\">" + three << QVector<float>{1, 2};
    QTest::newRow("0 reads all") << "<Loop devCount=\"0\">" + three << all;
    QTest::newRow("absent reads all") << "<Loop>" + three << all;
    QTest::newRow("beyond the list reads all") << "<Loop devCount=\"9\">" + three << all;
    QTest::newRow("not a number reads all") << "<Loop devCount=\"two\">" + three << all;
    // the count is of child nodes: a comment takes the first position
    QTest::newRow("a comment counts as a node")
        << "<Loop devCount=\"2\"><!-- first -->" + three << QVector<float>{1};
    // the node at the last counted position is no device, so the stop is never reached
    QTest::newRow("count ending on another element reads all") << QByteArray(
        R"(<Loop devCount="2"><device pos="1"/><Note/><device pos="2"/>)"
        R"(<device pos="3"/>)") << all;
    QTest::newRow("blank text does not count")
        << "<Loop devCount=\"2\">\n    " + three << QVector<float>{1, 2};
}

void TestLCProjectFile::devCount()
{
    QFETCH(QByteArray, loop);
    QFETCH(QVector<float>, positions);
    // a second loop after the first shows that stopping early does not swallow what follows
    LCProject *const project = load("<Project><Panel Panelid=\"1\">" + loop
        + R"(</Loop><Loop Loopid="2"><device pos="7"/></Loop>)"
          R"(</Panel></Project>)");
    QVERIFY(project);
    const LCObject *const first = project->child(0)->child(0);
    QVector<float> read;
    for (int i = 0; i < first->childCount(); ++i) {
        read << first->child(i)->property(PropertyId::pos).toFloat();
    }
    QCOMPARE(read, positions);
    const LCObject *const second = project->child(0)->child(1);
    QCOMPARE(second->childCount(), 1);
    QCOMPARE(second->child(0)->property(PropertyId::pos).toFloat(), 7.0f);
}

void TestLCProjectFile::relayMark_data()
{
    QTest::addColumn<QByteArray>("attribute");
    QTest::addColumn<bool>("relay");
    QTest::newRow("Relay") << QByteArray(R"(devicetypename="Relay")") << true;
    QTest::newRow("lower case") << QByteArray(R"(devicetypename="relay")") << false;
    QTest::newRow("absent") << QByteArray() << false;
}

void TestLCProjectFile::relayMark()
{
    QFETCH(QByteArray, attribute);
    QFETCH(bool, relay);
    LCProject *const project = load(R"(<Project><Panel><Loop><device pos="1"/><device truck="1" )"
        + attribute + "/></Loop></Panel></Project>");
    QVERIFY(project);
    const LCObject *const loop = project->child(0)->child(0);
    QCOMPARE(loop->child(1)->property(PropertyId::Relay).toBool(), relay);
    QCOMPARE(loop->child(0)->property(PropertyId::Relay).toBool(), false);
}

void TestLCProjectFile::projectElement_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("name"); // null: no project in the file
    QTest::newRow("document element")
        << QByteArray(R"(<?xml version="1.0"?><Project name="top"/>)") << "top";
    QTest::newRow("first of two below a wrapper")
        << QByteArray(R"(<Root><Project name="first"><Panel Panelid="1"/></Project>)"
                      R"(<Project name="second"><Panel Panelid="2"/></Project></Root>)")
        << "first";
    QTest::newRow("two levels down is too deep") << QByteArray(
        R"(<Root><Other><Project name="deep"/></Other><DeviceType DevID="9"/></Root>)")
                                                 << QString();
    QTest::newRow("lower case") << QByteArray("<project/>") << QString();
}

void TestLCProjectFile::projectElement()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, name);
    m_store->setProject(richProject());
    useOwnDefinitions();
    LCProject *const current = m_store->project();
    const QString path = m_dir.filePath("element.xml");
    writeFile(path, text);
    const LCLoadResult result = m_store->loadProject(path);
    QVERIFY2(result.ok, "the factory definitions were read");
    QCOMPARE(result.projectRead, !name.isNull());
    QCOMPARE(result.errorText.isEmpty(), !name.isNull());
    if (!name.isNull()) {
        QCOMPARE(m_store->project()->property(PropertyId::Name).toString(), name);
        QCOMPARE(m_store->project()->childCount(), text.count("<Panel") > 0 ? 1 : 0);
        return;
    }
    QVERIFY2(m_store->devTypesChanged() && m_store->wireTypesChanged()
            && m_store->cardTypesChanged() && m_store->projectChanged(),
        "the current project's unsaved changes still count");
    QCOMPARE(m_store->project(), current);
    QCOMPARE(LCProjectWriter::write(*current, {}), LCProjectWriter::write(*richProject(), {}));
    QVERIFY(m_store->deviceTypes() == ownDeviceTypes());
    QVERIFY(m_store->wireTypes() == ownWireTypes());
    QVERIFY(m_store->cardTypes() == ownCardTypes());
}

void TestLCProjectFile::loadingOrdersPanelsAndRaisesLoopCards()
{
    LCProject *const project = load(R"(<Project>
    <Panel Panelid="3" LoopCardCount="0"><Loop Loopid="2"/><Loop Loopid="3"/><Loop Loopid="1"/></Panel>
    <Panel Panelid="1" LoopCardCount="5"><Loop Loopid="1"/></Panel>
    <Panel Panelid="2"/>
</Project>)");
    QVERIFY(project);
    QCOMPARE(project->childCount(), 3);
    QList<int> panelIds;
    for (int i = 0; i < project->childCount(); ++i) {
        panelIds << project->child(i)->property(PropertyId::Panelid).toInt();
    }
    QCOMPARE(panelIds, QList<int>({1, 2, 3}));
    const LCObject *const three = project->child(2);
    QList<int> loopIds;
    for (int i = 0; i < three->childCount(); ++i) {
        loopIds << three->child(i)->property(PropertyId::Loopid).toInt();
        QCOMPARE(three->child(i)->property(PropertyId::ResultText).toString(), QString());
    }
    QCOMPARE(loopIds, QList<int>({1, 2, 3}));
    // three loops need two cards; a higher count from the file stays
    QCOMPARE(three->property(PropertyId::LoopCardCount).toInt(), 2);
    QCOMPARE(project->child(0)->property(PropertyId::LoopCardCount).toInt(), 5);
    QCOMPARE(project->child(1)->property(PropertyId::LoopCardCount).toInt(), 0);
    QVERIFY2(!m_store->anyChanged(), "reading inserts objects, yet the project is unchanged");
}

void TestLCProjectFile::factoryDefinitionsFillAFileWithout()
{
    QVERIFY(load(R"(<Project name="bare"><Panel Panelid="1"/></Project>)"));
    QVERIFY(!m_store->deviceTypes().isEmpty());
    QVERIFY(m_store->deviceTypes() == m_store->defaultDeviceTypes());
    QVERIFY(m_store->wireTypes() == m_store->defaultWireTypes());
    QVERIFY(m_store->cardTypes() == m_store->defaultCardTypes());
    const QString path = m_dir.filePath("bare.xml");
    QVERIFY(m_store->saveProject(path));
    const QByteArray text = readFile(path);
    QVERIFY(text.contains(R"(<DeviceType Name="Smoke" Volt="24" Current="0.3")"));
    QVERIFY(text.contains(R"(<WireType Name="1.5mm" Capacity="120" Resistance="24.5" WireID="1")"));
    QVERIFY(
        text.contains(R"(<CardType Name="LoopCard" Current="30" ActiveCurrent="45" CardID="3"/>)"));
}

void TestLCProjectFile::resultsAreNotSavedSubTypesAre()
{
    auto plainProject = richProject();
    plainProject->child(1)->child(0)->child(0)->storeProperty(PropertyId::SubType, 7);
    m_store->setProject(std::move(plainProject));
    useOwnDefinitions();
    const QString plain = m_dir.filePath("plain.xml");
    QVERIFY(m_store->saveProject(plain));

    auto project = richProject();
    project->child(0)->storeProperty(PropertyId::ResultText, QStringLiteral("panel summary"));
    LCObject *const loop = project->child(1)->child(0);
    loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
    loop->storeProperty(PropertyId::VoltDrop, 3.5f);
    loop->storeProperty(PropertyId::ProblemText, QStringLiteral("too long"));
    loop->storeProperty(PropertyId::Suggestions, QVariantList{QStringLiteral("add a relay")});
    loop->storeProperty(PropertyId::ResultText, QStringLiteral("verdict"));
    loop->child(0)->storeProperty(PropertyId::SubType, 7);
    loop->child(0)->storeProperty(PropertyId::CheckMark, CheckMarkValue::Flagged);
    m_store->setProject(std::move(project));
    const QString calculated = m_dir.filePath("calculated.xml");
    QVERIFY(m_store->saveProject(calculated));
    QCOMPARE(readFile(calculated), readFile(plain));

    QVERIFY(m_store->loadProject(calculated).projectRead);
    const LCObject *const read = m_store->project()->child(1)->child(0);
    QCOMPARE(read->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
    QCOMPARE(read->property(PropertyId::ProblemText).toString(), QString());
    QCOMPARE(read->property(PropertyId::ResultText).toString(), QString());
    QCOMPARE(read->child(0)->property(PropertyId::SubType).toInt(), 7);
    QCOMPARE(read->child(0)->property(PropertyId::CheckMark).toInt(), CheckMarkValue::NotChecked);

    // a file from before sub types were kept reads as it always did
    const QString old = m_dir.filePath("old.xml");
    writeFile(old, readFile(calculated).replace(" subtype=\"7\"", ""));
    QVERIFY(m_store->loadProject(old).projectRead);
    QCOMPARE(
        m_store->project()->child(1)->child(0)->child(0)->property(PropertyId::SubType).toInt(),
        LCDevice::kNoSubType);
}

void TestLCProjectFile::failedSave_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("withProject");
    QTest::newRow("below a regular file") << QStringLiteral("afile/x.xml") << "afile" << true;
    QTest::newRow("target is a folder") << QStringLiteral("folder") << "folder/in.xml" << true;
    QTest::newRow("no current project") << QStringLiteral("afile") << "afile" << false;
}

void TestLCProjectFile::failedSave()
{
    QFETCH(QString, target);
    QFETCH(QString, kept);
    QFETCH(bool, withProject);
    QTemporaryDir dir;
    writeFile(dir.filePath("afile"), "earlier content\n");
    writeFile(dir.filePath("folder/in.xml"), "<Project/>");
    const QByteArray before = readFile(dir.filePath(kept));

    m_store->setProject(withProject ? richProject() : nullptr);
    useOwnDefinitions();
    QString error;
    QVERIFY(!m_store->saveProject(dir.filePath(target), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(dir.filePath(kept)), before);
    QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList({"afile", "folder"}));
    QVERIFY2(m_store->devTypesChanged() && m_store->wireTypesChanged()
            && m_store->cardTypesChanged() && m_store->projectChanged(),
        "nothing was saved, so nothing counts as saved");
}

QTEST_GUILESS_MAIN(TestLCProjectFile)
#include "tst_lcprojectfile.moc"
