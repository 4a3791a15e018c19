#include "definitions/lcdefinitionreader.h"
#include "definitions/lcdefinitionwriter.h"
#include "definitions/lcxmlnames.h"
#include "definitions/lcxmlreader.h"

#include <QXmlStreamWriter>
#include <QtTest>

namespace
{
// The child elements of the document element of text.
QVector<LCXmlElement> elementsOf(const QByteArray &text)
{
    LCXmlReader reader(text);
    if (!reader.toDocumentElement()) {
        return {};
    }
    QVector<LCXmlElement> elements = reader.childElements();
    return reader.finish() ? elements : QVector<LCXmlElement>();
}
} // namespace

class TestLCDefinitionReader : public QObject
{
    Q_OBJECT

private slots:
    void subTypeList_data();
    void subTypeList();
    void deviceTypes();
    void absentAttributesTakeDefaults();
    void malformedNumbersReadAsZero_data();
    void malformedNumbersReadAsZero();
    void subTypesAndBatteries();
    void writtenForm();
    void writeThenReadGivesSameRecords();
};

void TestLCDefinitionReader::subTypeList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("two ids") << "3 5" << QList<int>({3, 5});
    QTest::newRow("empty gives one zero") << "" << QList<int>({0});
    QTest::newRow("two spaces give a zero between") << "3  5" << QList<int>({3, 0, 5});
    QTest::newRow("trailing space") << "3 " << QList<int>({3, 0});
    QTest::newRow("not a number") << "x 4" << QList<int>({0, 4});
    QTest::newRow("negative") << "-2" << QList<int>({-2});
}

void TestLCDefinitionReader::subTypeList()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ids);
    QCOMPARE(LCDefinitionReader::parseSubTypeList(text), ids);
}

void TestLCDefinitionReader::deviceTypes()
{
    const QVector<LCXmlElement> elements = elementsOf(R"(<Default>
        <DeviceType DevID="4" Name="Early" Current="1"/>
        <Other DevID="9"/>
        <!-- a comment -->
        <DeviceType DevID="2" Name="SmokeDetector" Volt="24" Current="0.3" ActiveCurrent="5"
                    Capacitance="100" IcoID="7" SubType="3 5"/>
        <DeviceType DevID="4" Name="Later" Current="2"/>
        <WireType WireID="1"/>
    </Default>)");
    const QMap<int, DeviceType> types = LCDefinitionReader::readDeviceTypes(elements);
    QCOMPARE(types.keys(), QList<int>({2, 4}));
    const DeviceType smoke = types.value(2);
    QCOMPARE(smoke.Name, QStringLiteral("SmokeDetector"));
    QCOMPARE(smoke.Volt, 24);
    QCOMPARE(smoke.Current, 0.3f);
    QCOMPARE(smoke.ActiveCurrent, 5.0f);
    QCOMPARE(smoke.Capacitance, 100.0f);
    QCOMPARE(smoke.IcoID, 7);
    QCOMPARE(smoke.DevID, 2);
    QCOMPARE(smoke.SubType, QList<int>({3, 5}));
    // a later element with the same id replaces the earlier one
    QCOMPARE(types.value(4).Name, QStringLiteral("Later"));
    QCOMPARE(types.value(4).Current, 2.0f);
    // an id that is not there reads as the empty record
    QCOMPARE(types.value(99), DeviceType());
}

void TestLCDefinitionReader::absentAttributesTakeDefaults()
{
    const QVector<LCXmlElement> elements =
        elementsOf("<P><DeviceType/><WireType/><CardType/><DevSubType/><BatteryType/></P>");
    const DeviceType device = LCDefinitionReader::readDeviceTypes(elements).value(0);
    QCOMPARE(device.Name, QString());
    QCOMPARE(device.SubType, QList<int>({0}));
    QCOMPARE(device.Current, 0.0f);
    QCOMPARE(LCDefinitionReader::readWireTypes(elements).size(), 1);
    QCOMPARE(LCDefinitionReader::readCardTypes(elements).size(), 1);
    const DevSubType subType = LCDefinitionReader::readSubTypes(elements).value(0);
    QCOMPARE(subType.picture, QStringLiteral("00"));
    QCOMPARE(subType.name, QStringLiteral("UNDEFINE"));
    const QList<BatteryType> batteries = LCDefinitionReader::readBatteryTypes(elements);
    QCOMPARE(batteries.size(), 1);
    QCOMPARE(batteries.first().Name, QStringLiteral("UNDEFINE"));
    QCOMPARE(batteries.first().Capacity, 0.0f);
}

void TestLCDefinitionReader::malformedNumbersReadAsZero_data()
{
    QTest::addColumn<QString>("volt");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("expectedVolt");
    QTest::addColumn<float>("expectedCurrent");
    QTest::newRow("plain") << "24"
                           << "0.35" << 24 << 0.35f;
    QTest::newRow("fraction is no integer") << "24.0"
                                            << "1" << 0 << 1.0f;
    QTest::newRow("letters") << "abc"
                             << "abc" << 0 << 0.0f;
    QTest::newRow("empty") << ""
                           << "" << 0 << 0.0f;
    QTest::newRow("negative") << "-5"
                              << "-2.5" << -5 << -2.5f;
    QTest::newRow("exponent") << "1e3"
                              << "1e3" << 0 << 1000.0f;
    QTest::newRow("overflowing int") << "99999999999"
                                     << "1e39" << 0 << 0.0f;
    QTest::newRow("nan and inf") << "nan"
                                 << "nan" << 0 << 0.0f;
    QTest::newRow("infinite") << "inf"
                              << "-inf" << 0 << 0.0f;
    QTest::newRow("decimal comma") << "2,4"
                                   << "2,5" << 0 << 0.0f;
    QTest::newRow("hex") << "0x18"
                         << "0x18" << 0 << 0.0f;
}

void TestLCDefinitionReader::malformedNumbersReadAsZero()
{
    QFETCH(QString, volt);
    QFETCH(QString, current);
    QFETCH(int, expectedVolt);
    QFETCH(float, expectedCurrent);
    LCXmlElement element;
    element.tag = LCXml::DeviceType;
    element.attributes.append(QStringLiteral("Volt"), volt);
    element.attributes.append(QStringLiteral("Current"), current);
    const DeviceType type = LCDefinitionReader::readDeviceTypes({element}).value(0);
    QCOMPARE(type.Volt, expectedVolt);
    QCOMPARE(type.Current, expectedCurrent);
}

void TestLCDefinitionReader::subTypesAndBatteries()
{
    const QVector<LCXmlElement> elements = elementsOf(R"(<Default>
        <DevSubType id="3" picture="07" name="Red-Body"/>
        <DevSubType id="4" picture="08" name="USER DEFINED"/>
        <DevSubType id="5" name="user defined"/>
        <BatteryType Name="B12" Capacity="12" Note="one"/>
        <BatteryType Name="B7" Capacity="7"/>
        <BatteryType Name="B12" Capacity="12" Note="two"/>
    </Default>)");
    const QMap<int, DevSubType> subTypes = LCDefinitionReader::readSubTypes(elements);
    // the reserved name is never offered; the match is exact
    QCOMPARE(subTypes.keys(), QList<int>({3, 5}));
    QCOMPARE(subTypes.value(3).picture, QStringLiteral("07"));
    QCOMPARE(subTypes.value(5).picture, QStringLiteral("00"));
    const QList<BatteryType> batteries = LCDefinitionReader::readBatteryTypes(elements);
    QCOMPARE(batteries.size(), 3);
    QCOMPARE(batteries.at(0).Note, QStringLiteral("one"));
    QCOMPARE(batteries.at(1).Capacity, 7.0f);
    QCOMPARE(batteries.at(2).Note, QStringLiteral("two"));
}

void TestLCDefinitionReader::writtenForm()
{
    DeviceType device;
    device.Name = QStringLiteral("Smoke & <Heat>");
    device.Volt = -24;
    device.Current = 0.35f;
    device.ActiveCurrent = 1234567.0f;
    device.Capacitance = 0.00001f;
    device.IcoID = 3;
    device.DevID = 9;
    device.SubType = {7, 9};
    DeviceType bare;
    bare.DevID = 2;
    WireType wire{QStringLiteral("1.5mm2"), 24.2f, 120.0f, 1, QStringLiteral("red \"FP\"")};
    CardType card{QStringLiteral("Loop"), 30.0f, 45.5f, 13};

    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.writeStartElement(QStringLiteral("P"));
    LCDefinitionWriter::writeDeviceTypes(writer, {{9, device}, {2, bare}});
    LCDefinitionWriter::writeWireTypes(writer, {{1, wire}});
    LCDefinitionWriter::writeCardTypes(writer, {{13, card}});
    writer.writeEndElement();
    QCOMPARE(QString::fromUtf8(bytes),
        QStringLiteral(
            "<P>"
            "<DeviceType Name=\"\" Volt=\"0\" Current=\"0\" ActiveCurrent=\"0\" "
            "Capacitance=\"0\" IcoID=\"0\" DevID=\"2\" SubType=\"\"/>"
            "<DeviceType Name=\"Smoke &amp; &lt;Heat&gt;\" Volt=\"-24\" Current=\"0.35\" "
            "ActiveCurrent=\"1.23457e+06\" Capacitance=\"1e-05\" IcoID=\"3\" DevID=\"9\" "
            "SubType=\"7 9\"/>"
            "<WireType Name=\"1.5mm2\" Capacity=\"120\" Resistance=\"24.2\" WireID=\"1\" "
            "Note=\"red &quot;FP&quot;\"/>"
            "<CardType Name=\"Loop\" Current=\"30\" ActiveCurrent=\"45.5\" CardID=\"13\"/>"
            "</P>"));
}

void TestLCDefinitionReader::writeThenReadGivesSameRecords()
{
    DeviceType device;
    device.Name = QStringLiteral("Beacon");
    device.Volt = 24;
    device.Current = 0.123457f;
    device.ActiveCurrent = 14.0f;
    device.Capacitance = 180.0f;
    device.IcoID = 25;
    device.DevID = 25;
    device.SubType = {10, 11, 7};
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.writeStartElement(QStringLiteral("P"));
    LCDefinitionWriter::writeDeviceTypes(writer, {{25, device}});
    writer.writeEndElement();
    QCOMPARE(LCDefinitionReader::readDeviceTypes(elementsOf(bytes)).value(25), device);
}

QTEST_GUILESS_MAIN(TestLCDefinitionReader)
#include "tst_lcdefinitionreader.moc"
