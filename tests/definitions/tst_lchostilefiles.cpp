#include "definitions/lcdatastore.h"
#include "definitions/lcxmlreader.h"
#include "model/lccontroller.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// A hang or a run-away blow-up fails here instead of stalling the whole suite.
constexpr qint64 kLoadCeilingMilliseconds = 60000;
constexpr quint32 kRandomSeed = 20240611;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

const QByteArray kDefaults = R"(<?xml version="1.0" encoding="UTF-8"?>
<Default>
    <DeviceType DevID="1" Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" SubType="1"/>
    <WireType WireID="1" Name="1.5mm" Resistance="24.5" Capacity="120"/>
    <CardType CardID="1" Name="LoopCard" Current="30" ActiveCurrent="45"/>
</Default>
)";

const QByteArray kValid = R"(<?xml version="1.0" encoding="UTF-8"?>
<Project name="valid" SiteName="s">
    <Panel Panelid="1" PanelType="3" LoopCardCount="1" note="n">
        <Loop Loopid="1" FirstDis="10" LastDis="15" TotalDis="75" wiretype="1">
            <device deviceTypeid="1" pos="10" wiretype="1" truck="0" devicetypename=""/>
            <device deviceTypeid="1" pos="20" wiretype="1" truck="1" devicetypename="Relay"/>
        </Loop>
    </Panel>
    <DeviceType Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" Capacitance="100" IcoID="1" DevID="1" SubType="1"/>
</Project>
)";

QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) {
        bytes += piece;
    }
    return bytes;
}

QByteArray nested(int depth)
{
    return repeated("<x>", depth) + repeated("</x>", depth);
}

// A loop with one device, then body.
QByteArray inLoop(const QByteArray &body)
{
    return R"(<Project name="p"><Panel Panelid="1"><Loop Loopid="1"><device/>)" + body
        + "</Loop></Panel></Project>";
}

// The valid file cut off at offset bytes past the first marker.
QByteArray cutAt(const char *marker, int offset = 0)
{
    return kValid.left(kValid.indexOf(marker) + offset);
}

QByteArray randomBytes(int size, const QByteArray &alphabet)
{
    QRandomGenerator generator(kRandomSeed);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes) {
        byte = alphabet.isEmpty() ? char(generator.bounded(256))
                                  : alphabet.at(int(generator.bounded(alphabet.size())));
    }
    return bytes;
}

QByteArray utf16WithByteOrderMark(QByteArray utf8)
{
    const QString text = QString::fromUtf8(utf8.replace("UTF-8", "UTF-16"));
    return QByteArray("\xFF\xFE", 2)
        + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// The panels, loops and device counts of a project: "P1(L1:2 L2:0)".
QString shape(const LCObject &project)
{
    QString text;
    for (int p = 0; p < project.childCount(); ++p) {
        const LCObject *const panel = project.child(p);
        QStringList loops;
        for (int l = 0; l < panel->childCount(); ++l) {
            const LCObject *const loop = panel->child(l);
            loops << QStringLiteral("L%1:%2")
                         .arg(loop->property(PropertyId::Loopid).toInt())
                         .arg(loop->childCount());
        }
        text += QStringLiteral("P%1(%2)")
                    .arg(panel->property(PropertyId::Panelid).toInt())
                    .arg(loops.join(QLatin1Char(' ')));
    }
    return text;
}
} // namespace

class TestLCHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void refusedFiles_data();
    void refusedFiles();
    void unreadablePaths_data();
    void unreadablePaths();
    void oversizedFileIsRefused();
    void readableFiles_data();
    void readableFiles();
    void numbersThatDoNotParseReadAsZero_data();
    void numbersThatDoNotParseReadAsZero();
    void duplicateDefinitionIdsLastWins();
    void manyObjectsLoadInLinearTime_data();
    void manyObjectsLoadInLinearTime();

private:
    LCLoadResult loadBytes(const QByteArray &bytes);
    LCLoadResult loadPath(const QString &path);
    // The project and the user definitions that init() put in place are still there.
    void verifyRefused(const LCLoadResult &result);

    QTemporaryDir m_dir;
    LCDataStore *m_store = nullptr;
    LCProject *m_sentinel = nullptr;
    QMap<int, DeviceType> m_ownDevices;
    QMap<int, WireType> m_ownWires;
    QMap<int, CardType> m_ownCards;
};

void TestLCHostileFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_store = LCDataStore::instance();
    m_store->setBaseDirectory(m_dir.path());
    writeFile(m_dir.filePath("config/default.xml"), kDefaults);
    m_ownDevices.insert(77, DeviceType{QStringLiteral("Mine"), 12, 3, 77, 1.0f, 2.0f, 3.0f, {4}});
    m_ownWires.insert(78, WireType{QStringLiteral("MyCable"), 10.0f, 50.0f, 78, QString()});
    m_ownCards.insert(79, CardType{QStringLiteral("MyCard"), 5.0f, 6.0f, 79});
}

void TestLCHostileFiles::init()
{
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, QStringLiteral("sentinel"));
    auto panel = std::make_unique<LCController>(project.get());
    panel->storeProperty(PropertyId::Panelid, 9);
    project->insertChild(std::move(panel));
    m_sentinel = project.get();
    m_store->setProject(std::move(project));
    m_store->setDeviceTypes(m_ownDevices);
    m_store->setWireTypes(m_ownWires);
    m_store->setCardTypes(m_ownCards);
}

LCLoadResult TestLCHostileFiles::loadBytes(const QByteArray &bytes)
{
    const QString path = m_dir.filePath("hostile.xml");
    writeFile(path, bytes);
    return loadPath(path);
}

LCLoadResult TestLCHostileFiles::loadPath(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const LCLoadResult result = m_store->loadProject(path);
    if (timer.elapsed() > kLoadCeilingMilliseconds) {
        QTest::qFail(qPrintable(QStringLiteral("loading took %1 ms").arg(timer.elapsed())),
            __FILE__, __LINE__);
    }
    return result;
}

void TestLCHostileFiles::verifyRefused(const LCLoadResult &result)
{
    QVERIFY2(result.ok, "the factory definitions are intact");
    QVERIFY(!result.projectRead);
    QVERIFY(!result.errorText.isEmpty());
    // the user is still asked before the unsaved work is dropped
    QVERIFY(m_store->devTypesChanged() && m_store->wireTypesChanged());
    QVERIFY(m_store->cardTypesChanged() && m_store->projectChanged());
    QCOMPARE(m_store->project(), m_sentinel);
    QCOMPARE(m_sentinel->property(PropertyId::Name).toString(), QStringLiteral("sentinel"));
    QCOMPARE(shape(*m_sentinel), QStringLiteral("P9()"));
    QVERIFY(m_store->deviceTypes() == m_ownDevices);
    QVERIFY(m_store->wireTypes() == m_ownWires);
    QVERIFY(m_store->cardTypes() == m_ownCards);
}

void TestLCHostileFiles::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("random bytes") << randomBytes(65536, QByteArray());
    QTest::newRow("cut in the Project start tag") << cutAt(" SiteName");
    QTest::newRow("cut in an attribute value") << cutAt("pos=\"20\"", 6);
    QTest::newRow("cut before the last end tag") << cutAt("</Project>");
    QTest::newRow("unclosed tags") << QByteArray("<Project><Panel><Loop><device/>");
    QTest::newRow("two document elements") << QByteArray("<Project/><Project/>");
    QTest::newRow("duplicate attribute") << QByteArray(R"(<Project name="a" name="b"/>)");
    // nine levels of ten references each would expand to gigabytes
    QByteArray laughs = R"(<!DOCTYPE Project [<!ENTITY l0 "lol">)";
    for (int level = 1; level < 10; ++level) {
        laughs += QStringLiteral("<!ENTITY l%1 \"%2\">")
                      .arg(level)
                      .arg(QStringLiteral("&l%1;").arg(level - 1).repeated(10))
                      .toUtf8();
    }
    QTest::newRow("billion laughs") << laughs + R"(]><Project name="&l9;"/>)";
    QTest::newRow("external entity") << QByteArray(
        R"(<!DOCTYPE Project [<!ENTITY ext SYSTEM "file:///etc/passwd">]><Project name="&ext;"/>)");
    QTest::newRow("undeclared entity") << QByteArray(R"(<Project name="&ext;"/>)");
    QTest::newRow("10,000 levels inside a loop") << inLoop(nested(10000));
    QTest::newRow("10,000 levels at the top") << nested(10000);
    // project, panel and loop take three levels; 30 more is one beyond the limit
    QTest::newRow("one level too deep") << inLoop(nested(LCXmlReader::kMaxDepth - 2));
    QTest::newRow("one element more than the limit")
        << "<Project>" + repeated("<x/>", int(LCXmlReader::kMaxElements)) + "</Project>";
    QTest::newRow("8 MB attribute without its end")
        << "<Project note=\"" + QByteArray(8 * 1024 * 1024, 'n');
    QTest::newRow("zero byte in a tag") << QByteArray("<Project name=\"a\0b\"/>", 21);
    QTest::newRow("invalid UTF-8") << QByteArray("<Project name=\"\xC3\x28\"/>");
    QTest::newRow("reference to a control character") << QByteArray(R"(<Project name="&#1;"/>)");
    QTest::newRow("unknown encoding")
        << QByteArray(R"(<?xml version="1.0" encoding="bogus"?><Project/>)");
    QTest::newRow("no Project element") << QByteArray("<Root><Other/></Root>");
}

void TestLCHostileFiles::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    verifyRefused(loadBytes(bytes));
}

void TestLCHostileFiles::unreadablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << "missing.xml";
    QTest::newRow("a folder") << "config";
    QTest::newRow("below a regular file") << "config/default.xml/x.xml";
}

void TestLCHostileFiles::unreadablePaths()
{
    QFETCH(QString, path);
    verifyRefused(loadPath(m_dir.filePath(path)));
}

void TestLCHostileFiles::oversizedFileIsRefused()
{
    const QString path = m_dir.filePath("oversized.xml");
    writeFile(path, kValid);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        // the tail is a hole on most file systems, so this costs no disc space
        QVERIFY(file.resize(LCXmlReader::kMaxFileBytes + 1));
    }
    verifyRefused(loadPath(path));
    QFile::remove(path);
}

void TestLCHostileFiles::readableFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shape");
    QTest::newRow("valid") << kValid << "valid"
                           << "P1(L1:2)";
    QTest::newRow("UTF-16 with byte order mark")
        << utf16WithByteOrderMark(QByteArray(kValid).replace("\"valid\"", "\"Grüße 😀\""))
        << QString::fromUtf8("Grüße 😀") << "P1(L1:2)";
    QTest::newRow("100,000 unknown elements in a loop")
        << inLoop(repeated("<x a=\"1\"/>", 100000) + "<device/>") << "p"
        << "P1(L1:2)";
    QTest::newRow("100,000 unknown elements in the project")
        << "<Project name=\"p\">" + repeated("<x/>", 100000) + "<Panel Panelid=\"2\"/></Project>"
        << "p"
        << "P2()";
    QTest::newRow("elements up to the limit") << "<Project name=\"p\">"
            + repeated("<x/>", int(LCXmlReader::kMaxElements) - 1) + "</Project>"
                                              << "p"
                                              << "";
    QTest::newRow("nesting up to the limit") << inLoop(nested(LCXmlReader::kMaxDepth - 3)) << "p"
                                             << "P1(L1:1)";
    QTest::newRow("8 MB name") << "<Project name=\"" + QByteArray(8 * 1024 * 1024, 'n') + "\"/>"
                               << QString(8 * 1024 * 1024, QLatin1Char('n')) << "";
    QTest::newRow("duplicate Panelid")
        << QByteArray(R"(<Project><Panel Panelid="4"><Loop Loopid="1"/></Panel>)"
                      R"(<Panel Panelid="4"><Loop Loopid="1"/></Panel></Project>)")
        << ""
        << "P4(L1:0)P4(L1:0)";
    for (const char *count : {"99999999999", "-1"}) {
        QTest::newRow(qPrintable(QStringLiteral("devCount %1").arg(count)))
            << QByteArray(R"(<Project><Panel Panelid="1"><Loop Loopid="1" devCount=")") + count
                + R"("><device/><device/><device/></Loop></Panel></Project>)"
            << ""
            << "P1(L1:3)";
    }
    QTest::newRow("comments, instructions and CDATA between objects") << QByteArray(
        R"(<?xml version="1.0"?><!--c--><Project name="p"><!--c--><?pi x?>)"
        R"(<![CDATA[<Panel Panelid="7"/>]]>text<Panel Panelid="1"><!--c-->)"
        R"(<Loop Loopid="2">t<![CDATA[x]]><?pi?><device/><!--c--></Loop></Panel>)"
        R"(</Project><!--after-->)") << "p"
                                                                      << "P1(L2:1)";
}

void TestLCHostileFiles::readableFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, shape);
    const LCLoadResult result = loadBytes(bytes);
    QVERIFY(result.ok);
    QVERIFY2(result.projectRead, qPrintable(result.errorText));
    QVERIFY(m_store->project() != m_sentinel);
    QCOMPARE(m_store->project()->property(PropertyId::Name).toString(), name);
    QCOMPARE(::shape(*m_store->project()), shape);
    QVERIFY(!m_store->anyChanged());
}

void TestLCHostileFiles::numbersThatDoNotParseReadAsZero_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integer");
    QTest::addColumn<float>("number");
    QTest::newRow("plain") << "12" << 12 << 12.0f;
    QTest::newRow("fraction") << "2.5" << 0 << 2.5f;
    QTest::newRow("exponent") << "1e3" << 0 << 1000.0f;
    QTest::newRow("beyond int") << "2147483648" << 0 << 2147483648.0f;
    QTest::newRow("beyond float") << "3.5e38" << 0 << 0.0f;
    QTest::newRow("below float") << "1e-50" << 0 << 0.0f;
    QTest::newRow("NaN") << "NaN" << 0 << 0.0f;
    QTest::newRow("hexadecimal") << "0x1A" << 0 << 0.0f;
    QTest::newRow("decimal comma") << "2,5" << 0 << 0.0f;
    QTest::newRow("letters") << "abc" << 0 << 0.0f;
    QTest::newRow("empty") << "" << 0 << 0.0f;
}

void TestLCHostileFiles::numbersThatDoNotParseReadAsZero()
{
    QFETCH(QString, text);
    QFETCH(int, integer);
    QFETCH(float, number);
    const QString file = QStringLiteral(
        R"(<Project><Panel Panelid="%1" PanelType="%1" Slot1CardType="%1"><Loop Loopid="%1")"
        R"( LastDis="%1" wiretype="%1"><device deviceTypeid="%1" pos="%1" wiretype="%1")"
        R"( truck="%1"/></Loop></Panel><DeviceType DevID="%1" Volt="%1" Current="%1"/></Project>)");
    QVERIFY(loadBytes(file.arg(text).toUtf8()).projectRead);
    const LCObject *const panel = m_store->project()->child(0);
    QCOMPARE(panel->property(PropertyId::Panelid).toInt(), integer);
    QCOMPARE(panel->property(PropertyId::PanelType).toInt(), integer);
    QCOMPARE(panel->property(PropertyId::Slot1CardType).toInt(), integer);
    const LCObject *const loop = panel->child(0);
    QCOMPARE(loop->property(PropertyId::Loopid).toInt(), integer);
    QCOMPARE(loop->property(PropertyId::LoopCableType).toInt(), integer);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), number);
    const LCObject *const device = loop->child(0);
    QCOMPARE(device->property(PropertyId::deviceTypeid).toInt(), integer);
    QCOMPARE(device->property(PropertyId::CableType).toInt(), integer);
    QCOMPARE(device->property(PropertyId::truck).toInt(), integer);
    QCOMPARE(device->property(PropertyId::pos).toFloat(), number);
    QCOMPARE(m_store->deviceTypes().keys(), QList<int>({integer}));
    QCOMPARE(m_store->deviceTypes().first().Volt, integer);
    QCOMPARE(m_store->deviceTypes().first().Current, number);
}

void TestLCHostileFiles::duplicateDefinitionIdsLastWins()
{
    QVERIFY(loadBytes(R"(<Project><DeviceType DevID="5" Name="early"/><WireType WireID="2"/>)"
                      R"(<DeviceType DevID="5" Name="later"/><WireType WireID="2" Name="later"/>)"
                      R"(</Project>)")
                .projectRead);
    QCOMPARE(m_store->deviceTypes().keys(), QList<int>({5}));
    QCOMPARE(m_store->deviceTypes().value(5).Name, QStringLiteral("later"));
    QCOMPARE(m_store->wireTypes().keys(), QList<int>({2}));
    QCOMPARE(m_store->wireTypes().value(2).Name, QStringLiteral("later"));
}

void TestLCHostileFiles::manyObjectsLoadInLinearTime_data()
{
    // A file of a few hundred kilobytes must not keep the program busy for minutes. Each subject
    // is timed against a file of as many things that are known to cost the same each; machine
    // speed and sanitizers slow both alike.
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<QByteArray>("yardstick");
    constexpr int kObjects = 2500;
    const QByteArray devices =
        "<Project><Panel><Loop>" + repeated("<device/>", kObjects) + "</Loop></Panel></Project>";
    QTest::newRow("loops in one panel")
        << "<Project><Panel>" + repeated("<Loop/>", kObjects) + "</Panel></Project>" << devices;
    QTest::newRow("panels") << "<Project>" + repeated("<Panel/>", kObjects) + "</Project>"
                            << devices;
    constexpr int kAttributes = 40000;
    QByteArray attributes = "<Project";
    for (int i = 0; i < kAttributes; ++i) {
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    }
    QTest::newRow("attributes of one element")
        << attributes + "/>"
        << "<Project>" + repeated("<x a=\"1\"/>", kAttributes) + "</Project>";
}

void TestLCHostileFiles::manyObjectsLoadInLinearTime()
{
    QFETCH(QByteArray, subject);
    QFETCH(QByteArray, yardstick);
    constexpr qint64 kFactor = 5;
    constexpr qint64 kNoiseMilliseconds = 100;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(loadBytes(yardstick).projectRead);
    const qint64 reference = timer.restart();
    (void)loadBytes(subject);
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed <= kFactor * reference + kNoiseMilliseconds,
        qPrintable(QStringLiteral("%1 ms, the yardstick %2 ms").arg(elapsed).arg(reference)));
}

QTEST_GUILESS_MAIN(TestLCHostileFiles)
#include "tst_lchostilefiles.moc"
