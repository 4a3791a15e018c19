#include "calc/lcloopcalculator.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"
#include "report/lcpanelsummary.h"
#include "report/lcreportrows.h"

#include <QtTest>

namespace
{
constexpr int kModule = 10; // 10 mA in alarm
constexpr int kHeavy = 11; // 401 mA in alarm: a loop of its own too much

struct Panel {
    Panel()
    {
        auto object = std::make_unique<LCController>(&project);
        object->storeProperty(PropertyId::Panelid, 1);
        object->storeProperty(PropertyId::PanelType, 3);
        panel = object.get();
        project.insertChild(std::move(object));
        DeviceType module;
        module.DevID = kModule;
        module.ActiveCurrent = 10.0f;
        types.insert(kModule, module);
        DeviceType heavy;
        heavy.DevID = kHeavy;
        heavy.ActiveCurrent = 401.0f;
        types.insert(kHeavy, heavy);
        WireType cable;
        cable.WireID = 1;
        cable.Resistance = 20.0f;
        cables.insert(1, cable);
    }

    LCLoop *addLoop(int id, int deviceType, int devices)
    {
        auto object = std::make_unique<LCLoop>(panel);
        object->storeProperty(PropertyId::Loopid, id);
        LCLoop *const loop = object.get();
        panel->insertChild(std::move(object));
        for (int i = 0; i < devices; ++i) {
            auto device = std::make_unique<LCDevice>(loop);
            device->storeProperty(PropertyId::deviceTypeid, deviceType);
            device->storeProperty(PropertyId::pos, 100.0f);
            device->storeProperty(PropertyId::CableType, 1);
            loop->insertChild(std::move(device));
        }
        return loop;
    }

    LCPanelSummary::Outcome calculate()
    {
        return LCPanelSummary::calculatePanel(*panel, LCLoopCalculator(types, cables, 0.9f), types);
    }

    LCProject project;
    LCController *panel = nullptr;
    QMap<int, DeviceType> types;
    QMap<int, WireType> cables;
};

// 10 mA over 100 m of 20 ohm/km: 0.02 V
const QString kModuleVerdict = QStringLiteral("Devices of this loop can work well!\n"
                                              "Volt Drop : 0.02V\n"
                                              "Maximum Volt Drop : 8.00V\n"
                                              "Total standby current : 0.00mA\n"
                                              "Total alarm current : 10.00mA");
} // namespace

class TestLCPanelSummary : public QObject
{
    Q_OBJECT

private slots:
    void allLoopsWork();
    void failingLoopsListedFirst();
    void panelWithoutLoops();
    void reportRows();
};

void TestLCPanelSummary::allLoopsWork()
{
    Panel panel;
    panel.addLoop(2, kModule, 1);
    panel.addLoop(1, kModule, 1);
    const LCPanelSummary::Outcome outcome = panel.calculate();
    QVERIFY(outcome.hasLoops);
    QVERIFY(!outcome.anyLoopFails);
    QCOMPARE(outcome.text,
        QStringLiteral("Loop 1 2 can work well!\nLoop1 result:\n") + kModuleVerdict
            + QStringLiteral("\n\nLoop2 result:\n") + kModuleVerdict + QStringLiteral("\n\n"));
    QCOMPARE(panel.panel->property(PropertyId::ResultText).toString(), outcome.text);
    QCOMPARE(panel.panel->loop(0)->property(PropertyId::ResultText).toString(), kModuleVerdict);
}

void TestLCPanelSummary::failingLoopsListedFirst()
{
    Panel panel;
    panel.addLoop(1, kModule, 1);
    panel.addLoop(2, kHeavy, 1);
    panel.addLoop(5, kHeavy, 1);
    const LCPanelSummary::Outcome outcome = panel.calculate();
    QVERIFY(outcome.anyLoopFails);
    QVERIFY(outcome.text.startsWith(QStringLiteral("Loop 2 5 may not work well.\nLoop1 result:\n")
        + kModuleVerdict
        + QStringLiteral("\n\nLoop2 result:\nSorry, Loop 2 may not work well.\n")));
    QVERIFY(outcome.text.endsWith(QStringLiteral("Total alarm current : 401.00mA\n\n")));
}

void TestLCPanelSummary::panelWithoutLoops()
{
    Panel panel;
    panel.panel->storeProperty(PropertyId::ResultText, QStringLiteral("old"));
    const LCPanelSummary::Outcome outcome = panel.calculate();
    QVERIFY(!outcome.hasLoops);
    QCOMPARE(outcome.text, QString());
    QCOMPARE(panel.panel->property(PropertyId::ResultText).toString(), QString());
}

void TestLCPanelSummary::reportRows()
{
    Panel panel;
    LCLoop *const one = panel.addLoop(1, kModule, 0);
    LCLoop *const two = panel.addLoop(2, kModule, 0);
    LCLoop *const three = panel.addLoop(3, kModule, 0);
    LCLoop *const four = panel.addLoop(4, kModule, 0);
    QVERIFY2(!LCReportRows::anyLoopFails(*panel.panel), "loops never calculated do not count");
    QVERIFY(LCReportRows::problemRows(*panel.panel).isEmpty());
    one->storeProperty(PropertyId::LoopStatus, 1);
    two->storeProperty(PropertyId::LoopStatus, 0);
    two->storeProperty(PropertyId::ProblemText, QStringLiteral("Volt lost too large."));
    two->storeProperty(PropertyId::Suggestions,
        QVariantList{QStringLiteral("first & <one>"), QStringLiteral("second")});
    four->storeProperty(PropertyId::LoopStatus, 0);
    four->storeProperty(PropertyId::ProblemText, QStringLiteral("Capacity is too large."));
    QVERIFY(LCReportRows::anyLoopFails(*panel.panel));

    const QVector<LCReportRows::Row> rows = LCReportRows::problemRows(*panel.panel);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0).label, QStringLiteral("Loop2 Error"));
    QCOMPARE(rows.at(0).text, QStringLiteral("Volt lost too large."));
    QCOMPARE(rows.at(1).label, QStringLiteral("Loop2 Solution"));
    QCOMPARE(rows.at(1).text, QStringLiteral("1. first & <one>"));
    QCOMPARE(rows.at(2).text, QStringLiteral("2. second"));
    QCOMPARE(rows.at(3).label, QStringLiteral("Loop4 Error"));
    QCOMPARE(rows.at(3).text, QStringLiteral("Capacity is too large."));

    QCOMPARE(LCReportRows::problemRows(*panel.panel, four).size(), 1);
    QVERIFY(LCReportRows::problemRows(*panel.panel, one).isEmpty());
    QVERIFY(LCReportRows::problemRows(*panel.panel, three).isEmpty());
}

QTEST_GUILESS_MAIN(TestLCPanelSummary)
#include "tst_lcpanelsummary.moc"
