#include "calcfixture.h"

#include "model/lcmodificationflag.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace
{
constexpr float kToleranceVolt = 1e-4f;

const QString kLoopCardLine = QStringLiteral(
    "Add one more loop card inside panel, split the original one loop to two loops.");

QStringList sounderGroup(int location)
{
    return {QStringLiteral("Please change the position of the souder at %1. ").arg(location),
        kLoopCardLine, QStringLiteral("Add loop relay module at Location %1 device").arg(location)};
}

QStringList voltageGroup(int location, const QString &limit)
{
    return {QStringLiteral("Please use suitable cable,the last Resistance can't exceed %1ohm/km.")
                .arg(limit),
        kLoopCardLine, QStringLiteral("Add loop relay module at Location %1 device").arg(location)};
}

bool near(float actual, float expected)
{
    return std::abs(actual - expected) <= kToleranceVolt;
}

class Counter : public LCObserver
{
public:
    Counter() { LCObserverRegistry::add(this); }
    ~Counter() override { LCObserverRegistry::remove(this); }
    void objectChanged(LCObject *object, ChangeKind kind) override
    {
        if (kind == ChangeKind::LoopResults) {
            objects << object;
        }
    }
    QList<LCObject *> objects;
};
} // namespace

class TestLCLoopCalculator : public QObject
{
    Q_OBJECT

private slots:
    void emptyLoop();
    void singleDetector();
    void trunkBranchTrunk();
    void currentOverLimit_data();
    void currentOverLimit();
    void relayLocationWeighting();
    void soundersBelowLimit();
    void trunkFailureStopsWalk();
    void branchFailuresContinue();
    void capacityFailure();
    void relayFedDevices();
    void offLoopDevicesCountWhenPassed_data();
    void offLoopDevicesCountWhenPassed();
    void deviceDistribution_data();
    void deviceDistribution();
    void limits();
    void hostileLoopsStayBounded_data();
    void hostileLoopsStayBounded();
};

void TestLCLoopCalculator::emptyLoop()
{
    CalcFixture fixture;
    Counter counter;
    fixture.loop->storeProperty(PropertyId::Suggestions, QVariantList{QStringLiteral("old")});
    fixture.calculate();
    QCOMPARE(fixture.status(), 1);
    QCOMPARE(fixture.problem(), QString());
    QVERIFY2(fixture.voltDrop() == 0.0f, "no device, no drop");
    QVERIFY(fixture.suggestions().isEmpty());
    QCOMPARE(counter.objects, QList<LCObject *>({fixture.loop}));
}

void TestLCLoopCalculator::singleDetector()
{
    CalcFixture fixture;
    fixture.add(CalcFixture::kDetector, 100.0f);
    // I = 0.3 x 0.9 + 5 x 0.1 = 0.77 mA; drop = 0.02 x 0.77 x 100 / 1000 = 0.00154 V
    QVERIFY(near(fixture.calculator().loopCurrent(*fixture.loop, false), 0.77f));
    LCModificationFlag::clear();
    fixture.calculate();
    QVERIFY2(LCModificationFlag::isSet(), "the check marks count as a change");
    QCOMPARE(fixture.status(), 1);
    QVERIFY(std::abs(fixture.voltDrop() - 0.00154f) <= 1e-5f);
    QCOMPARE(fixture.marks(), QList<int>({1}));
    QVERIFY(fixture.suggestions().isEmpty());
}

void TestLCLoopCalculator::trunkBranchTrunk()
{
    CalcFixture fixture;
    fixture.add(CalcFixture::kModule, 100.0f);
    fixture.add(CalcFixture::kModule, 50.0f, 1);
    fixture.add(CalcFixture::kModule, 100.0f);
    // I = 30 mA. 24 - 0.02 x 30 x 100 / 1000 = 23.94 at the first device; the branch device
    // drops 0.02 x 20 x 50 / 1000 from there, 23.92; the trunk resumes from 23.94 and drops
    // 0.02 x 10 x 100 / 1000, 23.92.
    QCOMPARE(fixture.calculator().loopCurrent(*fixture.loop, false), 30.0f);
    fixture.calculate();
    QCOMPARE(fixture.status(), 1);
    QVERIFY(near(fixture.voltDrop(), 0.08f));
    QCOMPARE(fixture.marks(), QList<int>({1, 1, 1}));
}

void TestLCLoopCalculator::currentOverLimit_data()
{
    QTest::addColumn<int>("panelType");
    QTest::addColumn<QString>("line");
    const QString relay = QStringLiteral("Add loop relay module at Location 1 device.");
    QTest::newRow("type 1 without prefix") << 1 << relay;
    QTest::newRow("type 2 without prefix") << 2 << relay;
    QTest::newRow("type 3 with prefix") << 3 << kLoopCardLine + QStringLiteral(" Or") + relay;
    QTest::newRow("type 5 with prefix") << 5 << kLoopCardLine + QStringLiteral(" Or") + relay;
}

void TestLCLoopCalculator::currentOverLimit()
{
    QFETCH(int, panelType);
    QFETCH(QString, line);
    CalcFixture fixture(panelType);
    fixture.addType(30, 0.0f, 401.0f);
    fixture.add(30, 1.0f);
    fixture.calculate();
    QCOMPARE(fixture.calculator().loopCurrent(*fixture.loop, false), 401.0f);
    QCOMPARE(fixture.status(), 0);
    QCOMPARE(fixture.problem(), QStringLiteral("The max current is too large."));
    QCOMPARE(fixture.suggestions(), QStringList({line}));
    // the walk still runs and marks the device
    QCOMPARE(fixture.marks(), QList<int>({1}));
}

void TestLCLoopCalculator::relayLocationWeighting()
{
    CalcFixture fixture;
    fixture.addType(2, 100.0f, 0.0f);
    // all at the place of the first, as the worst-case distribution puts them: they still draw
    for (int i = 0; i < 6; ++i) {
        fixture.add(2, i == 0 ? 10.0f : 0.0f);
    }
    // with the factor 0.9 the weighted sum is the loop current: 90, 180, ... 450 at the fifth
    QCOMPARE(fixture.calculator(0.9f).relayLocation(*fixture.loop), 5);
    // with 0.5 it never passes 400 (300 for all six)
    QCOMPARE(fixture.calculator(0.5f).relayLocation(*fixture.loop), 243);
    fixture.calculate(0.5f);
    QCOMPARE(fixture.suggestions(),
        QStringList({QStringLiteral("Add loop relay module at Location 243 device.")}));
    CalcFixture empty;
    QCOMPARE(empty.calculator().relayLocation(*empty.loop), 243);
}

void TestLCLoopCalculator::soundersBelowLimit()
{
    CalcFixture fixture;
    fixture.addType(31, 0.0f, 390.0f);
    // 390 mA over 600 m: 24 - 0.02 x 390 x 600 / 1000 = 19.32 V, too little for a sounder
    fixture.add(31, 600.0f);
    fixture.add(CalcFixture::kSounder, 10.0f);
    fixture.add(CalcFixture::kSounder, 10.0f);
    fixture.calculate();
    QCOMPARE(fixture.status(), 0);
    QCOMPARE(fixture.problem(), QStringLiteral("Volt lost too large."));
    QCOMPARE(fixture.suggestions(), sounderGroup(2));
    QCOMPARE(fixture.marks(), QList<int>({1, 0, 0}));
    // the sounders draw past the loop current: nothing flows on, the voltage stays at 19.32
    QVERIFY(near(fixture.voltDrop(), 24.0f - 19.32f));
}

void TestLCLoopCalculator::trunkFailureStopsWalk()
{
    CalcFixture fixture;
    fixture.add(CalcFixture::kBigModule, 1.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    fixture.add(CalcFixture::kModule, 30000.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    // I = 350 mA. Before location 5: 24 - 0.007 - 0.001 - 0.0008 - 0.0006 = 23.9906 V, then
    // 0.02 x 20 x 30000 / 1000 = 12 V more. The limit: 4e6 / (50 + 40 + 30 + 20 + 300000).
    fixture.calculate();
    QCOMPARE(fixture.status(), 0);
    QCOMPARE(fixture.problem(), QStringLiteral("Volt lost too large."));
    QCOMPARE(fixture.suggestions(), voltageGroup(5, QStringLiteral("13.3271")));
    QCOMPARE(fixture.marks(), QList<int>({1, 1, 1, 1, 0, 0}));
    QVERIFY(near(fixture.voltDrop(), 24.0f - 11.9906f));
}

void TestLCLoopCalculator::branchFailuresContinue()
{
    CalcFixture fixture;
    fixture.add(CalcFixture::kBigModule, 1.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    fixture.add(CalcFixture::kModule, 1.0f);
    fixture.add(CalcFixture::kModule, 30000.0f, 4);
    fixture.add(CalcFixture::kModule, 30000.0f, 4);
    fixture.add(CalcFixture::kModule, 1.0f);
    // I = 360 mA; the trunk reaches 23.9898 V at location 4. The branch devices each drop from
    // there: 30 mA over 30 km (18 V) and 20 mA over 30 km (12 V); the trunk then resumes from
    // 23.9898 V and loses 0.0002 V. The limit: 4e6 / (60 + 50 + 40 + 30 + 600000 + 300000).
    fixture.calculate();
    QCOMPARE(fixture.status(), 0);
    QCOMPARE(fixture.suggestions(),
        voltageGroup(5, QStringLiteral("4.44356")) + voltageGroup(6, QStringLiteral("4.44356")));
    QCOMPARE(fixture.marks(), QList<int>({1, 1, 1, 1, 0, 0, 1}));
    QVERIFY(near(fixture.voltDrop(), 24.0f - 23.9896f));
}

void TestLCLoopCalculator::capacityFailure()
{
    CalcFixture fixture;
    for (int i = 0; i < 8; ++i) {
        fixture.add(CalcFixture::kModule, 1.0f, 0, false, CalcFixture::kHeavyCable);
    }
    // 50000 per device: 350000 at the seventh passes 300000; the limit is
    // (300000 - 8 x 50000) x 1000 / 8 m
    fixture.calculate();
    QCOMPARE(fixture.status(), 0);
    QCOMPARE(fixture.problem(), QStringLiteral("Capacity is too large."));
    QCOMPARE(fixture.suggestions(),
        QStringList(
            {QStringLiteral(
                 "Please use suitable cable,the last Capacity can't exceed -1.25e+07uF/km."),
                kLoopCardLine, QStringLiteral("Add loop relay module at Location 7 device")}));
    QCOMPARE(fixture.marks(), QList<int>({1, 1, 1, 1, 1, 1, 0, 0}));
    QCOMPARE(fixture.voltDrop(), 0.0f);
}

void TestLCLoopCalculator::relayFedDevices()
{
    CalcFixture fixture;
    fixture.add(CalcFixture::kModule, 100.0f);
    fixture.add(CalcFixture::kSounder, 100.0f, 1, true);
    fixture.add(CalcFixture::kSounder, 1000.0f, 1, true);
    fixture.add(CalcFixture::kSounderBeacon, 1000.0f, 1, true);
    fixture.add(CalcFixture::kBigModule, 10.0f, 1, true);
    fixture.add(CalcFixture::kModule, 100.0f);
    const LCLoopCalculator calculator = fixture.calculator();
    // the main pass sees the two trunk modules only; the relay branch draws the big module
    QCOMPARE(calculator.loopCurrent(*fixture.loop, false), 20.0f);
    QCOMPARE(calculator.loopCurrent(*fixture.loop, true), 300.0f);
    fixture.calculate();
    // relay pass, each from 24 V: 24 - 300 x 100 x 0.02 / 1000 = 23.4; 24 - 292 x 1000 x 0.02
    // / 1000 = 18.16; 24 - 284 x 1000 x 0.02 / 1000 = 18.32. Every failing sounder is reported.
    QCOMPARE(fixture.status(), 0);
    QCOMPARE(fixture.problem(), QStringLiteral("Volt lost too large."));
    QCOMPARE(fixture.suggestions(), sounderGroup(3) + sounderGroup(4));
    QCOMPARE(fixture.marks(), QList<int>({1, 1, 0, 0, 1, 1}));
    QVERIFY(near(fixture.voltDrop(), 5.68f));

    // without the failing sounders the relay branch leaves the main pass's volt drop: the trunk
    // loses 0.04 V and then 0.02 V, unaffected by the relay-fed devices between
    fixture.loop->removeChild(3);
    fixture.loop->removeChild(2);
    fixture.calculate();
    QCOMPARE(fixture.status(), 1);
    QVERIFY(near(fixture.voltDrop(), 0.6f));
    fixture.loop->removeChild(2);
    fixture.calculate();
    QVERIFY2(near(fixture.voltDrop(), 0.06f), "no relay current: the drop is the trunk's");
}

void TestLCLoopCalculator::offLoopDevicesCountWhenPassed_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<float>("voltDrop");
    QTest::addColumn<float>("maxResistance");
    const int module = CalcFixture::kModule;
    // I = 20 mA, the sounder is not in it; once passed it still counts: 20 - 10 - 8 = 2 mA
    // flow through the last segment. 24 - 0.02 x (20 x 100 + 10 x 100 + 2 x 100) / 1000. The
    // limit sums what flows on after each device: 4e6 / (100 x 10 + 100 x 2 + 100 x 0).
    QTest::newRow("sounder between modules")
        << QList<int>({module, CalcFixture::kSounder, module}) << 0.064f << 3333.33f;
    // Beacons of 14 mA outdraw the 10 mA module after them: 20 - 10 - 14 < 0 from the third
    // device on, so nothing flows there and the voltage stays at 24 - 0.02 x (20 + 10) x 100 /
    // 1000 instead of rising to 24.048 V; the limit is 4e6 / (100 x 10), not negative.
    const int beacon = CalcFixture::kSounderBeacon;
    QTest::newRow("sounders outdraw the module after them")
        << QList<int>({module, beacon, beacon, beacon, module}) << 0.06f << 4000.0f;
}

void TestLCLoopCalculator::offLoopDevicesCountWhenPassed()
{
    QFETCH(QList<int>, types);
    QFETCH(float, voltDrop);
    QFETCH(float, maxResistance);
    CalcFixture fixture;
    for (const int type : types) {
        fixture.add(type, 100.0f);
    }
    QCOMPARE(fixture.calculator().loopCurrent(*fixture.loop, false), 20.0f);
    QCOMPARE(fixture.calculator().maxCableResistance(*fixture.loop), maxResistance);
    fixture.calculate();
    QCOMPARE(fixture.status(), 1);
    QVERIFY2(near(fixture.voltDrop(), voltDrop), qPrintable(QString::number(fixture.voltDrop())));
}

void TestLCLoopCalculator::deviceDistribution_data()
{
    QTest::addColumn<float>("firstMetre");
    QTest::addColumn<float>("otherMetre");
    QTest::addColumn<int>("status");
    QTest::addColumn<float>("voltDrop");
    QTest::addColumn<QStringList>("suggestions");
    // 200 detectors on 3000 m of 20 ohm/km cable draw I = 200 x 0.77 = 154 mA wherever they are.
    // Best case, the first at the panel and 15 m between the others: the device at location i
    // + 1 drops 0.02 x (154 - 0.3 i) x 15 / 1000; for i = 1 to 199 that is 0.0003 x (199 x 154
    // - 0.3 x 199 x 200 / 2) = 7.4028 V, within the 8 V.
    QTest::newRow("best case") << 0.0f << 15.0f << 1 << 7.4028f << QStringList();
    // Worst case, all 3000 m before the first and the others at its place: the first drops
    // 0.02 x 154 x 3000 / 1000 = 9.24 V, 14.76 V left, too little; the limit is 4e6 / (3000 x
    // (154 - 0.3)).
    QTest::newRow("worst case") << 3000.0f << 0.0f << 0 << 9.24f
                                << voltageGroup(1, QStringLiteral("8.67491"));
}

void TestLCLoopCalculator::deviceDistribution()
{
    QFETCH(float, firstMetre);
    QFETCH(float, otherMetre);
    QFETCH(int, status);
    QFETCH(float, voltDrop);
    QFETCH(QStringList, suggestions);
    constexpr int kDetectors = 200;
    CalcFixture fixture;
    for (int i = 0; i < kDetectors; ++i) {
        fixture.add(CalcFixture::kDetector, i == 0 ? firstMetre : otherMetre);
    }
    QVERIFY(near(fixture.calculator().loopCurrent(*fixture.loop, false), 154.0f));
    fixture.calculate();
    QCOMPARE(fixture.status(), status);
    QVERIFY2(std::abs(fixture.voltDrop() - voltDrop) <= 1e-3f,
        qPrintable(QString::number(fixture.voltDrop())));
    QCOMPARE(fixture.suggestions(), suggestions);
}

void TestLCLoopCalculator::limits()
{
    CalcFixture fixture;
    const LCLoopCalculator calculator = fixture.calculator();
    QVERIFY(std::isinf(calculator.maxCableCapacity(*fixture.loop)));
    QVERIFY(std::isinf(calculator.maxCableResistance(*fixture.loop)));
    fixture.add(CalcFixture::kModule, 100.0f);
    fixture.add(CalcFixture::kModule, 300.0f);
    // I = 20; acc = 100 x (20 - 10) + 300 x (20 - 20) = 1000
    QCOMPARE(calculator.maxCableResistance(*fixture.loop), 4000.0f);
    // no capacity on the thin cable: 300000 x 1000 / 400 m
    QCOMPARE(calculator.maxCableCapacity(*fixture.loop), 750000.0f);
    // an unknown cable counts as no resistance and no capacity
    fixture.add(CalcFixture::kModule, 50.0f, 0, false, 99);
    fixture.calculate();
    QCOMPARE(fixture.status(), 1);
}

void TestLCLoopCalculator::hostileLoopsStayBounded_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("count");
    QTest::newRow("no devices") << "trunk" << 0;
    QTest::newRow("300 devices") << "trunk" << 300;
    QTest::newRow("every device on branches") << "branch" << 241;
    QTest::newRow("every device relay-fed") << "relay" << 241;
    QTest::newRow("every sounder relay-fed") << "relay sounders" << 241;
    QTest::newRow("lengths not a number") << "nan" << 50;
    QTest::newRow("negative lengths") << "negative" << 50;
    QTest::newRow("unknown types and cables") << "unknown" << 50;
    QTest::newRow("infinite lengths") << "inf" << 10;
}

void TestLCLoopCalculator::hostileLoopsStayBounded()
{
    QFETCH(QString, shape);
    QFETCH(int, count);
    CalcFixture fixture(5);
    for (int i = 0; i < count; ++i) {
        const int branch = i == 0 ? 0 : 1;
        if (shape == QLatin1String("branch")) {
            fixture.add(CalcFixture::kDetector, 10.0f, branch);
        } else if (shape == QLatin1String("relay")) {
            fixture.add(CalcFixture::kBigModule, 10.0f, branch, true);
        } else if (shape == QLatin1String("relay sounders")) {
            fixture.add(CalcFixture::kSounder, 100.0f, branch, true);
        } else if (shape == QLatin1String("nan")) {
            fixture.add(CalcFixture::kModule, std::numeric_limits<float>::quiet_NaN());
        } else if (shape == QLatin1String("inf")) {
            fixture.add(CalcFixture::kModule, std::numeric_limits<float>::infinity());
        } else if (shape == QLatin1String("negative")) {
            fixture.add(CalcFixture::kModule, -100.0f * float(i));
        } else if (shape == QLatin1String("unknown")) {
            fixture.add(1000 + i, 10.0f, 0, false, 1000 + i);
        } else {
            fixture.add(CalcFixture::kModule, 1.0f);
        }
    }
    fixture.calculate();
    QVERIFY(fixture.status() == 0 || fixture.status() == 1);
    QCOMPARE(fixture.marks().size(), count);
    QVERIFY(!fixture.marks().contains(-1));
    // a group is at most three lines per device, plus the current line of each pass
    QVERIFY(fixture.suggestions().size() <= 3 * count + 2);
    if (shape == QLatin1String("nan")) {
        QVERIFY2(std::isfinite(fixture.voltDrop()), "a length that is no number counts as none");
    }
}

QTEST_GUILESS_MAIN(TestLCLoopCalculator)
#include "tst_lcloopcalculator.moc"
