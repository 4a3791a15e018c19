#include "calcfixture.h"

#include "model/lcmodificationflag.h"

#include <QtTest>

#include <cmath>
#include <limits>

// What mirel-check prints of a check is in the cases of tests/data/check. Here is what it does
// not show: the relay location under other weighting factors, the device marks, and loops no
// project file can hold.

class TestLCLoopCalculator : public QObject
{
    Q_OBJECT

private slots:
    void relayLocation_data();
    void relayLocation();
    void marks_data();
    void marks();
    void hostileLoopsStayBounded_data();
    void hostileLoopsStayBounded();
};

void TestLCLoopCalculator::relayLocation_data()
{
    QTest::addColumn<float>("factor");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<int>("location");
    // 2: a detector of 100 mA standby; 3: one of 900 mA in alarm; 12 is off the loop
    const QList<int> standby{2, 2, 2, 2, 2, 2};
    QTest::newRow("0.9: as the loop current, 450 at the fifth") << 0.9f << standby << 5;
    QTest::newRow("0.5: 300 for all six, never over") << 0.5f << standby << 243;
    QTest::newRow("alarm weighed by 1 - factor, 450 at once") << 0.5f << QList<int>{3, 3} << 1;
    QTest::newRow("off the loop: skipped, yet counted in the location")
        << 0.9f << QList<int>{12, 11, 11} << 3;
    QTest::newRow("no device") << 0.9f << QList<int>() << 243;
}

void TestLCLoopCalculator::relayLocation()
{
    QFETCH(float, factor);
    QFETCH(QList<int>, types);
    CalcFixture fixture;
    fixture.addType(2, 100.0f, 0.0f);
    fixture.addType(3, 0.0f, 900.0f);
    fixture.addType(12, 0.0f, 1000.0f);
    for (const int type : types) {
        // at the place of the one before, as the worst case puts them: they still draw
        fixture.add(type, 0.0f);
    }
    QTEST(fixture.calculator(factor).relayLocation(*fixture.loop), "location");
}

void TestLCLoopCalculator::marks_data()
{
    // devices as "type metre truck relay cable", the trailing ones 0, 0 and the thin cable
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QList<int>>("marks");
    QTest::newRow("a trunk failure flags the rest")
        << QStringList{"11 1", "10 1", "10 60000", "10 1"} << QList<int>{1, 1, 0, 0};
    QTest::newRow("a branch failure does not")
        << QStringList{"11 1", "10 30000 1", "10 1"} << QList<int>{1, 0, 1};
    // 310 mA over 1000 m: 17.8 V, enough for a module but not for the sounders
    QTest::newRow("sounders below 20 V")
        << QStringList{"11 1000", "15 10", "15 10", "10 1"} << QList<int>{1, 0, 0, 1};
    // 24 - 300 x 100 x 0.02 / 1000 = 23.4 V and 24 - 292 x 1000 x 0.02 / 1000 = 18.16 V
    QTest::newRow("relay-fed sounders") << QStringList{"10 100", "15 100 1 1", "15 1000 1 1",
        "11 10 1 1", "10 100"} << QList<int>{1, 1, 0, 1, 1};
    // 50000 a device: 300000 at the sixth is allowed
    QTest::newRow("capacitance on the trunk")
        << QStringLiteral("10 1 0 0 9,").repeated(8).split(',', Qt::SkipEmptyParts)
        << QList<int>{1, 1, 1, 1, 1, 1, 0, 0};
}

void TestLCLoopCalculator::marks()
{
    QFETCH(QStringList, devices);
    CalcFixture fixture;
    for (const QString &device : devices) {
        QStringList fields = device.split(' ');
        fields += QStringList{"0", "0", "1"}.mid(fields.size() - 2);
        fixture.add(fields[0].toInt(), fields[1].toFloat(), fields[2].toInt(), fields[3] == "1",
            fields[4].toInt());
    }
    fixture.loop->storeProperty(PropertyId::Suggestions, QVariantList{QStringLiteral("old")});
    LCModificationFlag::clear();
    fixture.calculator().calculateLoop(*fixture.loop);
    QTEST(fixture.marks(), "marks");
    QVERIFY2(LCModificationFlag::isSet(), "the marks count as a change");
    QVERIFY(!fixture.loop->property(PropertyId::Suggestions).toStringList().contains("old"));
}

void TestLCLoopCalculator::hostileLoopsStayBounded_data()
{
    // every device of one type and length, all after the first on a branch or relay-fed
    QTest::addColumn<int>("type");
    QTest::addColumn<float>("metre");
    QTest::addColumn<int>("branch");
    QTest::addColumn<bool>("relay");
    QTest::addColumn<int>("count");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("on branches") << CalcFixture::kDetector << 10.0f << 1 << false << 241;
    QTest::newRow("relay-fed") << CalcFixture::kBigModule << 10.0f << 1 << true << 241;
    QTest::newRow("relay-fed sounders") << CalcFixture::kSounder << 100.0f << 1 << true << 241;
    QTest::newRow("lengths not a number") << CalcFixture::kModule << nan << 0 << false << 50;
    QTest::newRow("infinite lengths") << CalcFixture::kModule << inf << 0 << false << 10;
    QTest::newRow("negative lengths") << CalcFixture::kModule << -100.0f << 0 << false << 50;
}

void TestLCLoopCalculator::hostileLoopsStayBounded()
{
    QFETCH(int, type);
    QFETCH(float, metre);
    QFETCH(int, branch);
    QFETCH(bool, relay);
    QFETCH(int, count);
    CalcFixture fixture(5);
    for (int i = 0; i < count; ++i) {
        fixture.add(type, metre, i == 0 ? 0 : branch, i != 0 && relay);
    }
    fixture.calculator().calculateLoop(*fixture.loop);
    const int status = fixture.loop->property(PropertyId::LoopStatus).toInt();
    QVERIFY(status == LoopStatusValue::Fails || status == LoopStatusValue::Works);
    QCOMPARE(fixture.marks().size(), count);
    QVERIFY(!fixture.marks().contains(-1));
    // a group is at most three lines per device, plus the current line of each pass
    QVERIFY(fixture.loop->property(PropertyId::Suggestions).toList().size() <= 3 * count + 2);
    // a length that is no number counts as none
    QVERIFY(!std::isnan(fixture.loop->property(PropertyId::VoltDrop).toFloat()));
}

QTEST_GUILESS_MAIN(TestLCLoopCalculator)
#include "tst_lcloopcalculator.moc"
