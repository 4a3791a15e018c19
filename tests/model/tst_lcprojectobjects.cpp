#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcmodificationflag.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"
#include "model/lcproject.h"

#include <QtTest>

#include <cmath>
#include <random>

namespace
{
constexpr float kToleranceMetre = 1e-4f;

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

LCController *addPanel(LCProject &project, int id, int type = 1)
{
    auto panel = std::make_unique<LCController>(&project);
    panel->storeProperty(PropertyId::Panelid, id);
    panel->storeProperty(PropertyId::PanelType, type);
    LCController *const pointer = panel.get();
    project.insertChild(std::move(panel));
    return pointer;
}

LCLoop *addLoop(LCController *panel, int id)
{
    auto loop = std::make_unique<LCLoop>(panel);
    loop->setProperty(PropertyId::Loopid, id);
    LCLoop *const pointer = loop.get();
    panel->insertChild(std::move(loop));
    return pointer;
}

LCDevice *addDevice(LCLoop *loop, float pos, int truck = 0)
{
    auto device = std::make_unique<LCDevice>(loop);
    device->storeProperty(PropertyId::pos, pos);
    device->storeProperty(PropertyId::truck, truck);
    LCDevice *const pointer = device.get();
    loop->insertChild(std::move(device));
    return pointer;
}

QList<int> numbers(const LCObject &parent, PropertyId id)
{
    QList<int> result;
    for (int i = 0; i < parent.childCount(); ++i) {
        result << parent.child(i)->property(id).toInt();
    }
    return result;
}
} // namespace

class TestLCProjectObjects : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { LCDevice::setDefaultSubTypeResolver(nullptr); }
    void valuesAtCreation();
    void panelsAndLoopsStaySorted();
    void sortedLikeAFullStableSort();
    void loopCardsRaisedNeverLowered();
    void clearingPanelResultClearsLoops();
    void deviceChangeMakesLoopStale();
    void checkMarkLeavesLoopAlone();
    void defaultSubType();
    void lowestFreeNumbers_data();
    void lowestFreeNumbers();
    void panelFullness();
    void loopFullness();
    void cableLengths();
    void distributeCable();
    void branchNumbers_data();
    void branchNumbers();
    void destroyingPanelTakesLoopsAndDevices();
};

void TestLCProjectObjects::valuesAtCreation()
{
    LCModificationFlag::clear();
    LCProject project;
    LCController panel(&project);
    LCLoop loop(&panel);
    LCDevice device(&loop);
    QVERIFY2(!LCModificationFlag::isSet(), "creation alone is no change");
    QCOMPARE(project.kind(), ObjectKind::Project);
    QCOMPARE(panel.kind(), ObjectKind::Controller);
    QCOMPARE(loop.kind(), ObjectKind::Loop);
    QCOMPARE(device.kind(), ObjectKind::Device);
    QCOMPARE(loop.property(PropertyId::LoopStatus).toInt(), -1);
    QCOMPARE(loop.property(PropertyId::ProblemText).toString(), QString());
    QCOMPARE(loop.property(PropertyId::Suggestions).toList(), QVariantList());
    QCOMPARE(device.property(PropertyId::deviceTypeid).toInt(), 1);
    QCOMPARE(device.property(PropertyId::truck).toInt(), 0);
    QCOMPARE(device.property(PropertyId::CheckMark).toInt(), -1);
    QCOMPARE(device.property(PropertyId::SubType).toInt(), -1);
    QCOMPARE(device.property(PropertyId::Relay).toBool(), false);
    QVERIFY(!device.properties().contains(PropertyId::pos));
    QVERIFY(!device.properties().contains(PropertyId::CableType));
    QVERIFY(panel.properties().isEmpty());
    QVERIFY(project.properties().isEmpty());
}

void TestLCProjectObjects::panelsAndLoopsStaySorted()
{
    LCProject project;
    addPanel(project, 3);
    addPanel(project, 1);
    addPanel(project, 2);
    QCOMPARE(numbers(project, PropertyId::Panelid), QList<int>({1, 2, 3}));

    LCController *const panel = project.panel(0);
    addLoop(panel, 2);
    addLoop(panel, 3);
    LCLoop *const first = addLoop(panel, 1);
    QCOMPARE(numbers(*panel, PropertyId::Loopid), QList<int>({1, 2, 3}));
    QCOMPARE(panel->loop(0), first);
}

void TestLCProjectObjects::sortedLikeAFullStableSort()
{
    // every insertion must leave the order a stable sort of the whole list gives, also after a
    // number was changed behind the list's back
    std::mt19937 random(7);
    LCProject project;
    QVector<LCObject *> expected;
    for (int step = 0; step < 400; ++step) {
        const int id = int(random() % 20);
        if (step % 37 == 36) {
            LCObject *const changed = project.child(int(random() % project.childCount()));
            changed->storeProperty(PropertyId::Panelid, id);
            continue;
        }
        auto panel = std::make_unique<LCController>(&project);
        panel->storeProperty(PropertyId::Panelid, id);
        LCObject *const pointer = panel.get();
        const int index = step % 3 == 0 ? -1 : int(random() % (project.childCount() + 1));
        expected.clear();
        for (int i = 0; i < project.childCount(); ++i) {
            expected << project.child(i);
        }
        expected.insert(index < 0 ? expected.size() : index, pointer);
        std::stable_sort(expected.begin(), expected.end(), [](LCObject *a, LCObject *b) {
            return a->property(PropertyId::Panelid).toInt() < b->property(PropertyId::Panelid).toInt();
        });
        project.insertChild(std::move(panel), index);
        for (int i = 0; i < project.childCount(); ++i) {
            QCOMPARE(project.child(i), expected.at(i));
        }
    }
}

void TestLCProjectObjects::loopCardsRaisedNeverLowered()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1, 3);
    addLoop(panel, 1);
    QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 1);
    addLoop(panel, 2);
    QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 1);
    addLoop(panel, 3);
    QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 2);
    panel->removeChild(0);
    panel->removeChild(0);
    QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 2);

    // more cards than the loops need are kept
    panel->storeProperty(PropertyId::LoopCardCount, 4);
    addLoop(panel, 4);
    QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 4);
}

void TestLCProjectObjects::clearingPanelResultClearsLoops()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1, 5);
    LCLoop *const a = addLoop(panel, 1);
    LCLoop *const b = addLoop(panel, 2);
    a->storeProperty(PropertyId::ResultText, QStringLiteral("verdict a"));
    b->storeProperty(PropertyId::ResultText, QStringLiteral("verdict b"));

    panel->setProperty(PropertyId::ResultText, QStringLiteral("x"));
    QCOMPARE(a->property(PropertyId::ResultText).toString(), QStringLiteral("verdict a"));
    panel->setProperty(PropertyId::PanelNote, QString());
    QCOMPARE(b->property(PropertyId::ResultText).toString(), QStringLiteral("verdict b"));

    panel->setProperty(PropertyId::ResultText, QString());
    QCOMPARE(a->property(PropertyId::ResultText).toString(), QString());
    QCOMPARE(b->property(PropertyId::ResultText).toString(), QString());
    QVERIFY(a->properties().contains(PropertyId::ResultText));
}

void TestLCProjectObjects::deviceChangeMakesLoopStale()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1);
    LCLoop *const loop = addLoop(panel, 1);
    LCDevice *const device = addDevice(loop, 12.5f);
    loop->storeProperty(PropertyId::LoopStatus, 0);
    loop->storeProperty(PropertyId::ProblemText, QStringLiteral("Volt lost too large."));
    loop->storeProperty(PropertyId::Suggestions, QVariantList({QStringLiteral("s")}));
    loop->storeProperty(PropertyId::VoltDrop, 3.5f);
    device->storeProperty(PropertyId::CheckMark, 0);

    LoopWatcher watcher;
    LCModificationFlag::clear();
    // the same value again still counts as a change
    device->setProperty(PropertyId::pos, 12.5f);
    QVERIFY(LCModificationFlag::isSet());
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), -1);
    QCOMPARE(loop->property(PropertyId::ProblemText).toString(), QString());
    QCOMPARE(loop->property(PropertyId::Suggestions).toList(), QVariantList());
    QCOMPARE(loop->property(PropertyId::VoltDrop).toFloat(), 3.5f);
    QCOMPARE(device->property(PropertyId::CheckMark).toInt(), -1);
    QCOMPARE(watcher.changes.size(), 1);
    QCOMPARE(watcher.changes.first().first, static_cast<LCObject *>(loop));
    QCOMPARE(watcher.changes.first().second, ChangeKind::LoopResults);

    // inserting and removing devices reset the results too, without telling anyone
    watcher.changes.clear();
    loop->storeProperty(PropertyId::LoopStatus, 1);
    addDevice(loop, 1.0f);
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), -1);
    loop->storeProperty(PropertyId::LoopStatus, 0);
    loop->storeProperty(PropertyId::ProblemText, QStringLiteral("p"));
    loop->removeChild(1);
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), -1);
    QCOMPARE(loop->property(PropertyId::ProblemText).toString(), QString());
    QVERIFY(watcher.changes.isEmpty());

    // a device not yet on a loop changes alone
    LCDevice loose;
    loose.setProperty(PropertyId::pos, 3.0f);
    QCOMPARE(loose.property(PropertyId::CheckMark).toInt(), -1);
}

void TestLCProjectObjects::checkMarkLeavesLoopAlone()
{
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(project, 1), 1);
    LCDevice *const device = addDevice(loop, 5.0f);
    loop->storeProperty(PropertyId::LoopStatus, 1);
    LoopWatcher watcher;
    LCModificationFlag::clear();
    device->setProperty(PropertyId::CheckMark, 0);
    QCOMPARE(device->property(PropertyId::CheckMark).toInt(), 0);
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), 1);
    QVERIFY(watcher.changes.isEmpty());
    QVERIFY(LCModificationFlag::isSet());
}

void TestLCProjectObjects::defaultSubType()
{
    LCDevice::setDefaultSubTypeResolver([](int type) { return type == 4 ? 7 : 0; });
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(project, 1), 1);
    LCDevice *const device = addDevice(loop, 1.0f);
    device->setProperty(PropertyId::deviceTypeid, 4);
    QCOMPARE(device->property(PropertyId::SubType).toInt(), 7);
    device->setProperty(PropertyId::deviceTypeid, 99);
    QCOMPARE(device->property(PropertyId::SubType).toInt(), 0);
    // another property leaves the sub type as it is
    device->storeProperty(PropertyId::SubType, 3);
    device->setProperty(PropertyId::pos, 2.0f);
    QCOMPARE(device->property(PropertyId::SubType).toInt(), 3);

    // only devices still without a sub type get the default
    LCDevice *const fresh = addDevice(loop, 1.0f);
    fresh->storeProperty(PropertyId::deviceTypeid, 4);
    loop->fillMissingSubTypes();
    QCOMPARE(fresh->property(PropertyId::SubType).toInt(), 7);
    QCOMPARE(device->property(PropertyId::SubType).toInt(), 3);

    // with no library to ask, the sub type is 0
    LCDevice::setDefaultSubTypeResolver(nullptr);
    device->setProperty(PropertyId::deviceTypeid, 4);
    QCOMPARE(device->property(PropertyId::SubType).toInt(), 0);
}

void TestLCProjectObjects::lowestFreeNumbers_data()
{
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << QList<int>() << 1;
    QTest::newRow("gap after 2") << QList<int>({1, 2, 4}) << 3;
    QTest::newRow("1 missing") << QList<int>({2, 3}) << 1;
    QTest::newRow("no gap") << QList<int>({1, 2}) << 3;
    QTest::newRow("duplicate") << QList<int>({1, 1, 2}) << 2;
    QTest::newRow("zero and negative") << QList<int>({-3, 0, 1}) << 1;
}

void TestLCProjectObjects::lowestFreeNumbers()
{
    QFETCH(QList<int>, taken);
    QFETCH(int, expected);
    LCProject project;
    for (const int id : taken) {
        addPanel(project, id);
    }
    QCOMPARE(project.lowestFreePanelNumber(), expected);

    LCProject other;
    LCController *const panel = addPanel(other, 1, 3);
    for (const int id : taken) {
        addLoop(panel, id);
    }
    QCOMPARE(panel->lowestFreeLoopNumber(), expected);
}

void TestLCProjectObjects::panelFullness()
{
    LCProject project;
    LCController *const small = addPanel(project, 1, 1);
    addLoop(small, 1);
    QVERIFY(!small->isFull());
    addLoop(small, 2);
    QVERIFY(small->isFull());
    QCOMPARE(small->lowestFreeLoopNumber(), 0);
    // a file may carry more loops than the type drives: such a panel is not full
    addLoop(small, 4);
    QVERIFY(!small->isFull());
    QCOMPARE(small->lowestFreeLoopNumber(), 3);

    QCOMPARE(LCController::maxLoopCount(5), 6);
    QCOMPARE(LCController::maxLoopCount(3), 10);
    QCOMPARE(LCController::maxLoopCount(2), 2);
    QCOMPARE(LCController::maxLoopCount(0), 2);

    LCController *const large = addPanel(project, 2, 5);
    for (int id = 1; id <= 6; ++id) {
        QVERIFY(!large->isFull());
        addLoop(large, id);
    }
    QVERIFY(large->isFull());
    QCOMPARE(large->property(PropertyId::LoopCardCount).toInt(), 3);
    QVERIFY(large->findLoop(4) == large->loop(3));
    QVERIFY(large->findLoop(7) == nullptr);

    large->storeProperty(PropertyId::Slot1CardType, LCController::kOpticalCard);
    large->storeProperty(PropertyId::Slot2CardType, LCController::kOpticalCard);
    QCOMPARE(large->optionSlotCount(LCController::kOpticalCard), 2);
    QCOMPARE(large->optionSlotCount(LCController::kHyperNetworkCard), 0);
    large->storeProperty(PropertyId::Slot2CardType, LCController::kHyperNetworkCard);
    QCOMPARE(large->optionSlotCount(LCController::kOpticalCard), 1);
    QCOMPARE(large->optionSlotCount(LCController::kHyperNetworkCard), 1);
}

void TestLCProjectObjects::loopFullness()
{
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(project, 1), 1);
    for (int i = 0; i < LCLoop::kMaxDevices; ++i) {
        addDevice(loop, 1.0f);
    }
    QVERIFY2(!loop->isFull(), "241 devices still leave room");
    addDevice(loop, 1.0f);
    QVERIFY(loop->isFull());
}

void TestLCProjectObjects::cableLengths()
{
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(project, 1), 1);
    QCOMPARE(loop->firstCableLength(), 0.0f);
    QCOMPARE(loop->totalCableLength(), 0.0f);
    loop->storeProperty(PropertyId::LastDis, 15.0f);
    QCOMPARE(loop->totalCableLength(), 15.0f);
    addDevice(loop, 10.0f);
    addDevice(loop, 20.0f);
    addDevice(loop, 30.0f);
    QCOMPARE(loop->firstCableLength(), 10.0f);
    QCOMPARE(loop->totalCableLength(), 75.0f);
}

void TestLCProjectObjects::distributeCable()
{
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(project, 1), 1);
    for (int i = 0; i < 3; ++i) {
        addDevice(loop, 0.0f);
    }
    LoopWatcher watcher;
    loop->distributeCable(100.0f, 10.0f);
    QCOMPARE(loop->device(0)->pos(), 10.0f);
    QCOMPARE(loop->device(1)->pos(), 30.0f);
    QCOMPARE(loop->device(2)->pos(), 30.0f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 30.0f);
    QVERIFY(std::abs(loop->totalCableLength() - 100.0f) <= kToleranceMetre);
    QCOMPARE(watcher.changes.size(), 3);

    // the worst case puts every device at the far end
    loop->distributeCable(100.0f, 100.0f);
    QCOMPARE(loop->device(0)->pos(), 100.0f);
    QCOMPARE(loop->device(2)->pos(), 0.0f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 0.0f);

    // an empty loop has nothing to share the cable with
    LCLoop *const empty = addLoop(project.panel(0), 2);
    empty->distributeCable(100.0f, 10.0f);
    QCOMPARE(empty->property(PropertyId::LastDis).toFloat(), 0.0f);
    QVERIFY(std::isfinite(empty->totalCableLength()));
}

void TestLCProjectObjects::branchNumbers_data()
{
    QTest::addColumn<QList<int>>("trucks");
    QTest::addColumn<QList<int>>("expected"); // from row 1 on
    QTest::newRow("branches one after another")
        << QList<int>({0, 1, 1, 0, 4, 4, 0, 7}) << QList<int>({0, 0, 1, 1, 1, 2, 2});
    QTest::newRow("branch resumes after another")
        << QList<int>({0, 2, 2, 5, 2}) << QList<int>({0, 0, 1, 1});
    QTest::newRow("trunk only") << QList<int>({0, 0, 0}) << QList<int>({0, 0});
}

void TestLCProjectObjects::branchNumbers()
{
    QFETCH(QList<int>, trucks);
    QFETCH(QList<int>, expected);
    LCProject project;
    LCLoop *const loop = addLoop(addPanel(project, 1), 1);
    for (const int truck : trucks) {
        addDevice(loop, 1.0f, truck);
    }
    QList<int> actual;
    for (int row = 1; row < loop->childCount(); ++row) {
        actual << loop->branchNumber(row);
    }
    QCOMPARE(actual, expected);
}

void TestLCProjectObjects::destroyingPanelTakesLoopsAndDevices()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1);
    LCLoop *const loop = addLoop(panel, 1);
    addDevice(loop, 1.0f);
    LCObject *const loopsItem = panel->loopsNode();
    QVERIFY(loopsItem);
    QCOMPARE(panel->loopsNode(), loopsItem);
    QCOMPARE(loopsItem->parent(), static_cast<LCObject *>(panel));
    QCOMPARE(loopsItem->kind(), ObjectKind::Plain);
    QCOMPARE(panel->childCount(), 1);
    project.removeChild(panel);
    QCOMPARE(project.childCount(), 0);
}

QTEST_GUILESS_MAIN(TestLCProjectObjects)
#include "tst_lcprojectobjects.moc"
