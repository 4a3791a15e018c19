#include "app/lcprojectmodel.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcobserverregistry.h"
#include "model/lcproject.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
// A panel, loop or device added to parent, with one property (by default a device's length).
template <typename Child>
Child *add(LCObject *parent, PropertyId id = PropertyId::pos, const QVariant &value = 1.0f)
{
    auto child = std::make_unique<Child>(parent);
    child->storeProperty(id, value);
    Child *const pointer = child.get();
    parent->insertChild(std::move(child));
    return pointer;
}

// A model registered as an observer, checked by QAbstractItemModelTester throughout; the
// tester also checks every index against its parent.
struct Tree {
    explicit Tree(LCObject *root)
    {
        model.setRoot(root);
        LCObserverRegistry::add(&model);
    }
    // The item of the project, a panel, a panel's "Loops" item (loop -2) or a loop.
    QModelIndex item(int panel = -1, int loop = -1) const
    {
        const QModelIndex top = model.index(0, 0);
        const QModelIndex panelItem = panel < 0 ? top : model.index(panel, 0, top);
        const QModelIndex loops = loop == -1 ? panelItem : model.index(0, 0, panelItem);
        return loop < 0 ? loops : model.index(loop, 0, loops);
    }

    LCProjectModel model;
    QAbstractItemModelTester tester{&model};
};
constexpr int kLoopsItem = -2;

// The captions of the items below parent, each followed by those of its children.
QString dump(const QAbstractItemModel &model, const QModelIndex &parent = {})
{
    QStringList items;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        const QString below = model.hasChildren(child) ? '(' + dump(model, child) + ')' : "";
        items << child.data().toString() + below;
    }
    return items.join(',');
}
} // namespace

class TestLCProjectModel : public QObject
{
    Q_OBJECT

private slots:
    void shape();
    void loopColours_data();
    void loopColours();
    void loopRepaintedWithoutReset();
};

void TestLCProjectModel::shape()
{
    LCProject project;
    project.storeProperty(PropertyId::Name, QStringLiteral("Harbour Tower"));
    const QVariant types[] = {2, 9, QVariant()}; // named, without a name, never stored
    for (int panelId = 1; panelId <= 3; ++panelId) {
        auto *const panel = add<LCController>(&project, PropertyId::Panelid, panelId);
        panel->storeProperty(PropertyId::PanelType, types[panelId - 1]);
        for (int loopId = 1; loopId < panelId; ++loopId) {
            add<LCDevice>(add<LCLoop>(panel, PropertyId::Loopid, loopId * 5));
        }
    }
    Tree tree(&project);
    // devices are not shown in the tree
    QCOMPARE(dump(tree.model),
        QStringLiteral(
            "Harbour Tower(1-Orvan-B20(Loops),2-(Loops(Loop5)),3-(Loops(Loop5,Loop10)))"));
    QCOMPARE(
        tree.model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Project Management"));
    // the "Loops" item is the panel's loops node; nothing can be renamed in the tree
    QCOMPARE(tree.model.objectOf(tree.item(2, kLoopsItem)), project.panel(2)->loopsNode());
    for (const QModelIndex &item :
        {tree.item(), tree.item(2), tree.item(2, kLoopsItem), tree.item(2, 1)}) {
        QCOMPARE(tree.model.flags(item), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    tree.model.setRoot(nullptr);
    QCOMPARE(tree.model.rowCount(), 0);
}

void TestLCProjectModel::loopColours_data()
{
    QTest::addColumn<QVariant>("status");
    QTest::addColumn<QVariant>("background");
    QTest::newRow("works") << QVariant(LoopStatusValue::Works) << QVariant(QColor(Qt::green));
    QTest::newRow("fails") << QVariant(LoopStatusValue::Fails) << QVariant(QColor(Qt::yellow));
    QTest::newRow("not calculated") << QVariant(LoopStatusValue::NotCalculated) << QVariant();
    QTest::newRow("unknown value") << QVariant(7) << QVariant();
    QTest::newRow("never stored") << QVariant() << QVariant();
}

void TestLCProjectModel::loopColours()
{
    QFETCH(QVariant, status);
    LCProject project;
    add<LCLoop>(add<LCController>(&project), PropertyId::LoopStatus, status);
    const Tree tree(&project);
    QTEST(tree.item(0, 0).data(Qt::BackgroundRole), "background");
    for (const QModelIndex &other : {tree.item(), tree.item(0), tree.item(0, kLoopsItem)}) {
        QVERIFY2(!other.data(Qt::BackgroundRole).isValid(), "only loops are coloured");
    }
}

void TestLCProjectModel::loopRepaintedWithoutReset()
{
    LCProject project;
    add<LCController>(&project);
    auto *const panel = add<LCController>(&project);
    auto *const loop = add<LCLoop>(panel);
    add<LCLoop>(panel);
    auto *const device = add<LCDevice>(loop);
    Tree tree(&project);
    // rows that differ at every level, so a wrong one in the notification shows
    const QPersistentModelIndex item = tree.item(1, 0);
    QSignalSpy changed(&tree.model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&tree.model, &QAbstractItemModel::modelReset);

    // what the calculation does: store the verdict silently, then tell the observers
    loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
    LCObject::notifyObservers(loop, ChangeKind::LoopResults);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).mid(0, 2), QVariantList({QModelIndex(item), QModelIndex(item)}));
    QCOMPARE(item.data(Qt::BackgroundRole), QVariant(QColor(Qt::yellow)));
    // any device change makes the results stale again
    device->setProperty(PropertyId::pos, 12.5f);
    QCOMPARE(changed.count(), 2);
    QVERIFY(!item.data(Qt::BackgroundRole).isValid());
    QCOMPARE(reset.count(), 0);

    // loops the tree does not show are passed over: one being built in a dialog, one of
    // another project, one without a panel; so are objects that are not loops
    LCLoop pending(panel);
    LCProject elsewhere;
    LCLoop loose;
    for (LCLoop *other : {&pending, add<LCLoop>(add<LCController>(&elsewhere)), &loose}) {
        add<LCDevice>(other)->setProperty(PropertyId::pos, 3.0f);
    }
    LCObject::notifyObservers(panel, ChangeKind::LoopResults);
    LCObject::notifyObservers(nullptr, ChangeKind::LoopResults);
    QCOMPARE(changed.count(), 2);

    // a destroyed model is no longer told
    const int observers = LCObserverRegistry::count();
    {
        const Tree second(&project);
        QCOMPARE(LCObserverRegistry::count(), observers + 1);
    }
    QCOMPARE(LCObserverRegistry::count(), observers);
    device->setProperty(PropertyId::pos, 1.0f);
}

QTEST_MAIN(TestLCProjectModel)
#include "tst_lcprojectmodel.moc"
