#include "grids/lcbatterycalculation.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(BatteryType)

namespace
{
// Single-precision sums of a few terms, against figures worked by hand.
constexpr double kToleranceAmpHour = 2e-5;
constexpr double kToleranceAmp = 1e-7;
// type id and quantity of each device row
using Rows = QList<QPair<int, int>>;

DeviceType deviceType(int id, float currentMilliAmp, float activeMilliAmp)
{
    DeviceType type;
    type.DevID = id;
    type.Name = QStringLiteral("type%1").arg(id);
    type.Current = currentMilliAmp;
    type.ActiveCurrent = activeMilliAmp;
    return type;
}

// Detector classes 5 and 21 count a tenth of their alarm current, an input module (10) all.
QMap<int, DeviceType> deviceTypes()
{
    return {
        {5, deviceType(5, 0.2f, 4.0f)},
        {10, deviceType(10, 0.5f, 2.5f)},
        {21, deviceType(21, 0.25f, 4.5f)},
    };
}

// The D50's cards with their standby and alarm currents in mA.
QMap<int, CardType> cardTypes()
{
    const QList<QPair<float, float>> currents = {{40, 55}, {65, 65}, {35, 45}, {55, 70}, {10, 45},
        {20, 45}, {60, 80}, {12, 60}, {25, 30}, {20, 25}, {70, 75}, {85, 90}, {30, 45}};
    QMap<int, CardType> cards;
    for (int i = 0; i < currents.size(); ++i) {
        CardType card;
        card.CardID = i + 1;
        card.Current = currents.at(i).first;
        card.ActiveCurrent = currents.at(i).second;
        cards.insert(card.CardID, card);
    }
    return cards;
}

// ZCP 2, main 1, CAN 1, Modbus 3, one optical and one hyper network card, 2 loop cards:
// standby 217 (cards 1-5, 8) + 40 + 60 + 25 + 60 + 70 + 85 + 60 = 617 mA,
// alarm 340 + 90 + 80 + 30 + 75 + 75 + 90 + 90 = 870 mA.
LCBatteryCalculation::PanelCards d50Cards()
{
    LCBatteryCalculation::PanelCards cards;
    cards.panelType = 5;
    cards.zcpCards = 2;
    cards.mainCards = 1;
    cards.canCards = 1;
    cards.modbusCards = 3;
    cards.opticalCards = 1;
    cards.hyperNetworkCards = 1;
    cards.loopCards = 2;
    // counted only on the small panels
    cards.commCards = 4;
    return cards;
}

BatteryType battery(const QString &name, float ampHour)
{
    BatteryType type;
    type.Name = name;
    type.Capacity = ampHour;
    type.Note = name + QStringLiteral(" note");
    return type;
}
} // namespace

class TestLCBatteryCalculation : public QObject
{
    Q_OBJECT

private slots:
    void deviceSums_data();
    void deviceSums();
    void smallPanels_data();
    void smallPanels();
    void d50_data();
    void d50();
    void d50MissingCard();
    void recommendation_data();
    void recommendation();
};

void TestLCBatteryCalculation::deviceSums_data()
{
    QTest::addColumn<Rows>("rows"); // type id, quantity
    QTest::addColumn<double>("standbyAmp");
    QTest::addColumn<double>("alarmAmp");

    QTest::newRow("call point, id 5: a tenth in alarm") << Rows{{5, 10}} << 0.002 << 0.004;
    QTest::newRow("input module, id 10: all in alarm") << Rows{{10, 4}} << 0.002 << 0.01;
    QTest::newRow("outdoor call point, id 21: a tenth") << Rows{{21, 2}} << 0.0005 << 0.0009;
    QTest::newRow("all three") << Rows{{5, 10}, {10, 4}, {21, 2}} << 0.0045 << 0.0149;
    QTest::newRow("id 0 is no type") << Rows{{0, 10}} << 0.0 << 0.0;
    QTest::newRow("type missing from the table") << Rows{{7, 10}} << 0.0 << 0.0;
    QTest::newRow("negative quantity lowers nothing") << Rows{{10, 4}, {10, -4}} << 0.002 << 0.01;
}

void TestLCBatteryCalculation::deviceSums()
{
    QFETCH(Rows, rows);
    QFETCH(double, standbyAmp);
    QFETCH(double, alarmAmp);

    LCBatteryCalculation calculation(deviceTypes(), cardTypes());
    for (const auto &row : rows) {
        calculation.addDevices(row.first, row.second);
    }
    QVERIFY2(std::abs(calculation.deviceStandbyAmp() - standbyAmp) <= kToleranceAmp,
        qPrintable(QString::number(calculation.deviceStandbyAmp(), 'g', 9)));
    QVERIFY2(std::abs(calculation.deviceAlarmAmp() - alarmAmp) <= kToleranceAmp,
        qPrintable(QString::number(calculation.deviceAlarmAmp(), 'g', 9)));
}

void TestLCBatteryCalculation::smallPanels_data()
{
    QTest::addColumn<int>("panelType");
    QTest::addColumn<int>("commCards");
    QTest::addColumn<int>("loopCards");
    QTest::addColumn<bool>("withDevices");
    QTest::addColumn<float>("standbyHours");
    QTest::addColumn<float>("alarmHours");
    QTest::addColumn<double>("ampHour");

    // ((0.27 + 0.06 + 0.10) x 24 + (1.92 + 0.06 + 0.10) x 0.5) x 1.25
    QTest::newRow("B20, 1 comm, 2 loop cards, 24 h, 0.5 h")
        << 2 << 1 << 2 << false << 24.0f << 0.5f << 14.2;
    // (2.08 x 0.5) x 1.25: only the alarm term
    QTest::newRow("B20, standby 0") << 2 << 1 << 2 << false << 0.0f << 0.5f << 1.3;
    QTest::newRow("B20X like the B20") << 4 << 1 << 2 << false << 24.0f << 0.5f << 14.2;
    // ((0.28 + 0.06 + 0.05) x 24 + (3.43 + 0.11) x 0.5) x 1.25
    QTest::newRow("A10") << 1 << 1 << 1 << false << 24.0f << 0.5f << 13.9125;
    // ((0.24 + 2 x 0.05 + 3 x 0.07) x 24 + (2.4 + 0.31) x 0.5) x 1.25
    QTest::newRow("C30") << 3 << 2 << 3 << false << 24.0f << 0.5f << 18.19375;
    // S = 0.0045, A = 0.0149: ((0.28 + 0.0045 + 0.05) x 24 + (3.43 + 0.0149 + 0.05) x 0.5) x 1.25
    QTest::newRow("A10 with devices") << 1 << 0 << 1 << true << 24.0f << 0.5f << 12.2193125;
    QTest::newRow("no formula for type 0") << 0 << 1 << 2 << true << 24.0f << 0.5f << 0.0;
    QTest::newRow("no formula for type 6") << 6 << 1 << 2 << true << 24.0f << 0.5f << 0.0;
}

void TestLCBatteryCalculation::smallPanels()
{
    QFETCH(int, panelType);
    QFETCH(int, commCards);
    QFETCH(int, loopCards);
    QFETCH(bool, withDevices);
    QFETCH(float, standbyHours);
    QFETCH(float, alarmHours);
    QFETCH(double, ampHour);

    LCBatteryCalculation calculation(deviceTypes(), cardTypes());
    if (withDevices) {
        calculation.addDevices(5, 10);
        calculation.addDevices(10, 4);
        calculation.addDevices(21, 2);
    }
    LCBatteryCalculation::PanelCards cards;
    cards.panelType = panelType;
    cards.commCards = commCards;
    cards.loopCards = loopCards;
    // the D50's cards do not count on a small panel
    cards.mainCards = 3;
    cards.zcpCards = 3;
    const float result = calculation.requiredAmpHour(cards, standbyHours, alarmHours);
    QVERIFY2(std::abs(result - ampHour) <= kToleranceAmpHour,
        qPrintable(QString::number(result, 'g', 9)));
}

void TestLCBatteryCalculation::d50_data()
{
    QTest::addColumn<bool>("withDevices");
    QTest::addColumn<float>("standbyHours");
    QTest::addColumn<float>("alarmHours");
    QTest::addColumn<double>("ampHour");

    // 0.617 + (617 - 65) / 1000 x 23 + 0.870 x 0.25 + 0.25 x 2500 / 1000
    QTest::newRow("24 h: one hour with every card, 23 without card 2")
        << false << 24.0f << 0.25f << 14.1555;
    // 0.617 + 0.552 x 71 + 0.870 x 1 + 1 x 2.5
    QTest::newRow("72 h, 1 h alarm") << false << 72.0f << 1.0f << 43.179;
    // the devices draw S = 4.5 mA in standby and A = 14.9 mA in alarm, next to the cards:
    // 0.6215 + (621.5 - 65) / 1000 x 23 + 0.2175 + 0.25 x (14.9 + 2500) / 1000
    QTest::newRow("24 h with devices") << true << 24.0f << 0.25f << 14.267225;
}

void TestLCBatteryCalculation::d50()
{
    QFETCH(bool, withDevices);
    QFETCH(float, standbyHours);
    QFETCH(float, alarmHours);
    QFETCH(double, ampHour);

    LCBatteryCalculation calculation(deviceTypes(), cardTypes());
    if (withDevices) {
        calculation.addDevices(5, 10);
        calculation.addDevices(10, 4);
        calculation.addDevices(21, 2);
    }
    const float result = calculation.requiredAmpHour(d50Cards(), standbyHours, alarmHours);
    QVERIFY2(std::abs(result - ampHour) <= kToleranceAmpHour,
        qPrintable(QString::number(result, 'g', 9)));
}

void TestLCBatteryCalculation::d50MissingCard()
{
    // without card 2 it neither counts in the first hour nor is taken off after it:
    // 0.552 + 0.552 x 23 + 0.805 x 0.25 + 0.625
    QMap<int, CardType> cards = cardTypes();
    cards.remove(2);
    const LCBatteryCalculation calculation(deviceTypes(), cards);
    const float result = calculation.requiredAmpHour(d50Cards(), 24.0f, 0.25f);
    QVERIFY2(std::abs(result - 14.07425) <= kToleranceAmpHour,
        qPrintable(QString::number(result, 'g', 9)));
}

void TestLCBatteryCalculation::recommendation_data()
{
    QTest::addColumn<QList<BatteryType>>("batteries");
    QTest::addColumn<float>("requiredAmpHour");
    QTest::addColumn<QString>("recommended"); // empty: none

    const QList<BatteryType> sevenTwelveTwelve = {
        battery("seven", 7), battery("twelve-a", 12), battery("twelve-b", 12)};
    QTest::newRow("7 required: 7 is not above it, the first 12 wins")
        << sevenTwelveTwelve << 7.0f << "twelve-a";
    QTest::newRow("just below 7") << sevenTwelveTwelve << 6.99f << "seven";
    QTest::newRow("12 required: nothing above") << sevenTwelveTwelve << 12.0f << QString();
    QTest::newRow("300 required") << sevenTwelveTwelve + QList<BatteryType>{battery("big", 400)}
                                  << 300.0f << QString();
    QTest::newRow("255 Ah and more never offered")
        << QList<BatteryType>{battery("limit", 255), battery("below", 254.5f)} << 200.0f << "below";
    QTest::newRow("smallest above, wherever in the list") << QList<BatteryType>{battery("38", 38),
        battery("17", 17), battery("24", 24)} << 14.2f << "17";
    QTest::newRow("no batteries") << QList<BatteryType>{} << 1.0f << QString();
}

void TestLCBatteryCalculation::recommendation()
{
    QFETCH(QList<BatteryType>, batteries);
    QFETCH(float, requiredAmpHour);
    QFETCH(QString, recommended);

    const std::optional<BatteryType> result =
        LCBatteryCalculation::recommendedBattery(batteries, requiredAmpHour);
    QCOMPARE(result ? result->Name : QString(), recommended);
}

QTEST_GUILESS_MAIN(TestLCBatteryCalculation)
#include "tst_lcbatterycalculation.moc"
