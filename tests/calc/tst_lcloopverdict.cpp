#include "calcfixture.h"

#include "calc/lcloopverdict.h"
#include "calc/lcsuggestions.h"
#include "calc/lcunknowntypes.h"

#include <QtTest>

#include <limits>

class TestLCLoopVerdict : public QObject
{
    Q_OBJECT

private slots:
    void failingLoop();
    void workingAndUncalculatedLoops();
    void groupTexts();
    void limitFormats_data();
    void limitFormats();
    void unknownTypeWarnings();
};

void TestLCLoopVerdict::failingLoop()
{
    CalcFixture fixture;
    // a type 0 device counts for nothing, whatever its definition says
    fixture.addType(0, 50.0f, 50.0f);
    fixture.add(CalcFixture::kDetector, 10.0f);
    fixture.add(CalcFixture::kDetector, 10.0f);
    fixture.add(0, 10.0f);
    fixture.loop->storeProperty(PropertyId::LoopStatus, 0);
    fixture.loop->storeProperty(PropertyId::VoltDrop, 9.456f);
    const QString text = LCLoopVerdict::verdictText(*fixture.loop, fixture.deviceTypes);
    QCOMPARE(text,
        QStringLiteral("Sorry, Loop 3 may not work well.\n"
                       "Volt Drop : 9.46V\n"
                       "Maximum Volt Drop : 8.00V\n"
                       "Total standby current : 0.60mA\n"
                       "Total alarm current : 1.00mA"));
    QCOMPARE(fixture.loop->property(PropertyId::ResultText).toString(), text);
}

void TestLCLoopVerdict::workingAndUncalculatedLoops()
{
    CalcFixture fixture;
    // detectors count a tenth of their alarm current, others all of it, relay-fed or not
    fixture.add(CalcFixture::kModule, 10.0f);
    fixture.add(CalcFixture::kSounder, 0.0f, 1, true);
    fixture.add(99, 10.0f);
    const QString before = LCLoopVerdict::verdictText(*fixture.loop, fixture.deviceTypes);
    QCOMPARE(before,
        QStringLiteral("Devices of this loop can work well!\n"
                       "Volt Drop : 0.00V\n"
                       "Maximum Volt Drop : 8.00V\n"
                       "Total standby current : 0.30mA\n"
                       "Total alarm current : 18.00mA"));
    fixture.calculate();
    QCOMPARE(fixture.status(), 1);
    QVERIFY(
        LCLoopVerdict::verdictText(*fixture.loop, fixture.deviceTypes)
            .startsWith(QStringLiteral("Devices of this loop can work well!\nVolt Drop : 0.00V")));
}

void TestLCLoopVerdict::groupTexts()
{
    QCOMPARE(LCSuggestions::currentGroup(12, true),
        QStringList({QStringLiteral("Add one more loop card inside panel, split the original "
                                    "one loop to two loops. OrAdd loop relay module at "
                                    "Location 12 device.")}));
    QCOMPARE(LCSuggestions::currentGroup(243, false),
        QStringList({QStringLiteral("Add loop relay module at Location 243 device.")}));
    QCOMPARE(LCSuggestions::sounderGroup(16).first(),
        QStringLiteral("Please change the position of the souder at 16. "));
    QCOMPARE(LCSuggestions::capacityGroup(7, 12.5f),
        QStringList({QStringLiteral("Please use suitable cable,the last Capacity can't exceed "
                                    "12.5uF/km."),
            QStringLiteral("Add one more loop card inside panel, split the original "
                           "one loop to two loops."),
            QStringLiteral("Add loop relay module at Location 7 device")}));
    QCOMPARE(LCSuggestions::currentProblem(), QStringLiteral("The max current is too large."));
    QCOMPARE(LCSuggestions::voltageProblem(), QStringLiteral("Volt lost too large."));
    QCOMPARE(LCSuggestions::capacityProblem(), QStringLiteral("Capacity is too large."));
}

void TestLCLoopVerdict::limitFormats_data()
{
    QTest::addColumn<float>("limit");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one and a quarter million") << 1250000.0f << "1.25e+06";
    QTest::newRow("plain") << 12.5f << "12.5";
    QTest::newRow("six digits") << 24.33333f << "24.3333";
    QTest::newRow("small") << 0.00001f << "1e-05";
    QTest::newRow("unbounded") << std::numeric_limits<float>::infinity() << "inf";
    QTest::newRow("negative") << -12500000.0f << "-1.25e+07";
}

void TestLCLoopVerdict::limitFormats()
{
    QFETCH(float, limit);
    QFETCH(QString, shown);
    QCOMPARE(LCSuggestions::voltageGroup(5, limit).first(),
        QStringLiteral("Please use suitable cable,the last Resistance can't exceed ") + shown
            + QStringLiteral("ohm/km."));
}

void TestLCLoopVerdict::unknownTypeWarnings()
{
    CalcFixture fixture;
    fixture.add(CalcFixture::kModule, 10.0f);
    QVERIFY(LCUnknownTypes::warnings(*fixture.loop, fixture.deviceTypes).isEmpty());
    for (const int type : {40, 40, 40, CalcFixture::kDetector, 40, 28}) {
        fixture.add(type, 10.0f);
    }
    // by type id; neighbouring locations as a range
    QCOMPARE(LCUnknownTypes::warnings(*fixture.loop, fixture.deviceTypes),
        QStringList({QStringLiteral("Loop3: the device of unknown type 28 at location 7 counts as "
                                    "drawing no current."),
            QStringLiteral("Loop3: the devices of unknown type 40 at locations 2-4, 6 count as "
                           "drawing no current.")}));
}

QTEST_GUILESS_MAIN(TestLCLoopVerdict)
#include "tst_lcloopverdict.moc"
