#include "app/lcprojectmodel.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcobserverregistry.h"
#include "model/lcproject.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
constexpr int kIconSidePixel = 32;

LCController *addPanel(LCProject &project, int id, const QVariant &type = 1)
{
    auto panel = std::make_unique<LCController>(&project);
    panel->storeProperty(PropertyId::Panelid, id);
    if (type.isValid()) {
        panel->storeProperty(PropertyId::PanelType, type);
    }
    LCController *const pointer = panel.get();
    project.insertChild(std::move(panel));
    return pointer;
}

LCLoop *addLoop(LCController *panel, int id)
{
    auto loop = std::make_unique<LCLoop>(panel);
    loop->storeProperty(PropertyId::Loopid, id);
    LCLoop *const pointer = loop.get();
    panel->insertChild(std::move(loop));
    return pointer;
}

LCDevice *addDevice(LCLoop *loop)
{
    auto device = std::make_unique<LCDevice>(loop);
    LCDevice *const pointer = device.get();
    loop->insertChild(std::move(device));
    return pointer;
}

// A model that is registered as an observer, checked by QAbstractItemModelTester throughout.
struct TestedModel {
    explicit TestedModel(LCObject *root)
    {
        model.setRoot(root);
        LCObserverRegistry::add(&model);
    }
    LCProjectModel model;
    QAbstractItemModelTester tester{&model};
};

QModelIndex panelIndex(const LCProjectModel &model, int panelRow)
{
    return model.index(panelRow, 0, model.index(0, 0));
}

QModelIndex loopsIndex(const LCProjectModel &model, int panelRow)
{
    return model.index(0, 0, panelIndex(model, panelRow));
}

QModelIndex loopIndex(const LCProjectModel &model, int panelRow, int loopRow)
{
    return model.index(loopRow, 0, loopsIndex(model, panelRow));
}

QString caption(const QModelIndex &index)
{
    return index.data(Qt::DisplayRole).toString();
}

QImage iconImage(const QModelIndex &index)
{
    const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    return icon.pixmap(kIconSidePixel, kIconSidePixel)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage resourceImage(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Checks parent() against every index() below parent; counts the items it visits.
void checkSubtree(const LCProjectModel &model, const QModelIndex &parent, int *visited)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        QVERIFY(child.isValid());
        QVERIFY(model.objectOf(child));
        QCOMPARE(child.row(), row);
        QCOMPARE(model.parent(child), parent);
        QCOMPARE(model.index(row, 0, model.parent(child)), child);
        ++*visited;
        checkSubtree(model, child, visited);
    }
    if (parent.isValid()) {
        QVERIFY2(!model.index(model.rowCount(parent), 0, parent).isValid(), "no row past the last");
        QVERIFY2(!model.index(0, 1, parent).isValid(), "there is one column");
    }
}
} // namespace

class TestLCProjectModel : public QObject
{
    Q_OBJECT

private slots:
    void resourceIcons_data();
    void resourceIcons();
    void emptyWithoutProject();
    void projectWithoutPanels();
    void panelWithoutLoops();
    void shapeAndRoundTrips();
    void captions();
    void iconsPerKind();
    void loopColours_data();
    void loopColours();
    void loopRepaintedWithoutReset();
    void foreignLoopsIgnored();
    void itemsReadOnly();
    void setRootAndRefreshReset();
    void unregistersWhenDestroyed();
};

void TestLCProjectModel::resourceIcons_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"newprj.png", "open.png", "save.png", "saveAs.png", "print.png",
             "define.png", "calculate.png", "calculate1.png", "About.png", "exit.png", "add.png",
             "del.png", "branch.png", "trunk.png", "Home.png", "project.png", "controller.png",
             "loops.png", "loop.png"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void TestLCProjectModel::resourceIcons()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(":/img/") + name;
    QVERIFY2(!QIcon(path).isNull(), qPrintable(path));
    const QImage image(path);
    QCOMPARE(image.size(), QSize(kIconSidePixel, kIconSidePixel));
    QVERIFY2(image.hasAlphaChannel(), "icons are drawn on a transparent background");
}

void TestLCProjectModel::emptyWithoutProject()
{
    LCProject project;
    LCProjectModel model;
    QAbstractItemModelTester tester(&model);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(!model.index(0, 0).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());

    model.setRoot(&project);
    QCOMPARE(model.rowCount(), 1);
    model.setRoot(nullptr);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.index(0, 0).isValid());
}

void TestLCProjectModel::projectWithoutPanels()
{
    LCProject project;
    project.storeProperty(PropertyId::Name, QStringLiteral("Harbour Tower"));
    TestedModel tested(&project);
    const LCProjectModel &model = tested.model;

    QCOMPARE(model.rowCount(), 1);
    const QModelIndex top = model.index(0, 0);
    QCOMPARE(model.objectOf(top), &project);
    QCOMPARE(model.rowCount(top), 0);
    QCOMPARE(caption(top), QStringLiteral("Harbour Tower"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Project Management"));
}

void TestLCProjectModel::panelWithoutLoops()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1);
    TestedModel tested(&project);
    const LCProjectModel &model = tested.model;

    QCOMPARE(model.rowCount(panelIndex(model, 0)), 1);
    const LCObject *const loopsItem = model.objectOf(loopsIndex(model, 0));
    QCOMPARE(loopsItem, panel->loopsNode());
    QCOMPARE(loopsItem->kind(), ObjectKind::Plain);
    QCOMPARE(loopsItem->parent(), panel);
    QCOMPARE(model.rowCount(loopsIndex(model, 0)), 0);
    QVERIFY2(panel->isEmpty(), "the Loops item is not one of the panel's children");
}

void TestLCProjectModel::shapeAndRoundTrips()
{
    LCProject project;
    for (int panelId = 1; panelId <= 3; ++panelId) {
        LCController *const panel = addPanel(project, panelId);
        for (int loopId = 1; loopId < panelId; ++loopId) {
            addDevice(addLoop(panel, loopId));
        }
    }
    TestedModel tested(&project);
    const LCProjectModel &model = tested.model;

    int visited = 0;
    checkSubtree(model, QModelIndex(), &visited);
    QCOMPARE(visited, 1 + 3 + 3 + (0 + 1 + 2)); // project, panels, "Loops" items, loops
    QCOMPARE(model.objectOf(panelIndex(model, 2)), project.panel(2));
    QCOMPARE(model.objectOf(loopIndex(model, 2, 1)), project.panel(2)->loop(1));
    QVERIFY2(!model.hasChildren(loopIndex(model, 2, 1)), "devices are not shown in the tree");
    // a loop's parent is its panel's "Loops" item, whose parent is the panel
    const QModelIndex loopsItem = model.parent(loopIndex(model, 2, 1));
    QCOMPARE(model.objectOf(loopsItem), project.panel(2)->loopsNode());
    QCOMPARE(model.parent(loopsItem), panelIndex(model, 2));
    QCOMPARE(model.parent(panelIndex(model, 2)), model.index(0, 0));
    QVERIFY(!model.parent(model.index(0, 0)).isValid());

    LCProjectModel other;
    other.setRoot(&project);
    QCOMPARE(model.objectOf(other.index(0, 0)), nullptr); // another model's index is no object
}

void TestLCProjectModel::captions()
{
    LCProject project;
    LCController *const known = addPanel(project, 2, 2);
    addPanel(project, 3, 9);
    addPanel(project, 4, QVariant());
    addLoop(known, 3);
    addLoop(known, 10);
    TestedModel tested(&project);
    const LCProjectModel &model = tested.model;

    QCOMPARE(caption(panelIndex(model, 0)), QStringLiteral("2-Orvan-B20"));
    QCOMPARE(caption(panelIndex(model, 1)), QStringLiteral("3-")); // type without a name
    QCOMPARE(caption(panelIndex(model, 2)), QStringLiteral("4-")); // type never stored
    QCOMPARE(caption(loopsIndex(model, 0)), QStringLiteral("Loops"));
    QCOMPARE(caption(loopIndex(model, 0, 0)), QStringLiteral("Loop3"));
    QCOMPARE(caption(loopIndex(model, 0, 1)), QStringLiteral("Loop10"));
    QCOMPARE(caption(model.index(0, 0)), QString());
    QCOMPARE(model.index(0, 0).data(Qt::TextAlignmentRole).toInt(),
        int(Qt::AlignLeft | Qt::AlignVCenter));
}

void TestLCProjectModel::iconsPerKind()
{
    LCProject project;
    addLoop(addPanel(project, 1), 1);
    TestedModel tested(&project);
    const LCProjectModel &model = tested.model;

    // each item shows its own picture, not just some picture
    QCOMPARE(iconImage(model.index(0, 0)), resourceImage(QStringLiteral(":/img/project.png")));
    QCOMPARE(
        iconImage(panelIndex(model, 0)), resourceImage(QStringLiteral(":/img/controller.png")));
    QCOMPARE(iconImage(loopsIndex(model, 0)), resourceImage(QStringLiteral(":/img/loops.png")));
    QCOMPARE(iconImage(loopIndex(model, 0, 0)), resourceImage(QStringLiteral(":/img/loop.png")));

    // built once and shared: another model hands out the very same icon
    LCProjectModel other;
    other.setRoot(&project);
    const auto cacheKey = [](const QModelIndex &index) {
        return qvariant_cast<QIcon>(index.data(Qt::DecorationRole)).cacheKey();
    };
    QCOMPARE(cacheKey(loopIndex(other, 0, 0)), cacheKey(loopIndex(model, 0, 0)));
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
    QFETCH(QVariant, background);
    LCProject project;
    addLoop(addPanel(project, 1), 1)->storeProperty(PropertyId::LoopStatus, status);
    TestedModel tested(&project);
    const LCProjectModel &model = tested.model;

    QCOMPARE(loopIndex(model, 0, 0).data(Qt::BackgroundRole), background);
    QVERIFY(!loopIndex(model, 0, 0).data(Qt::ForegroundRole).isValid());
    for (const QModelIndex &other :
        {model.index(0, 0), panelIndex(model, 0), loopsIndex(model, 0)}) {
        QVERIFY2(!other.data(Qt::BackgroundRole).isValid(), "only loops are coloured");
    }
}

void TestLCProjectModel::loopRepaintedWithoutReset()
{
    LCProject project;
    addPanel(project, 1);
    LCController *const panel = addPanel(project, 2);
    LCLoop *const loop = addLoop(panel, 4);
    addLoop(panel, 7);
    LCDevice *const device = addDevice(loop);
    TestedModel tested(&project);
    // rows that differ at every level, so a wrong one in the notification shows
    const QPersistentModelIndex item = loopIndex(tested.model, 1, 0);
    QSignalSpy changed(&tested.model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&tested.model, &QAbstractItemModel::modelReset);

    // what the calculation does: store the verdict silently, then tell the observers
    loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
    LCObject::notifyObservers(loop, ChangeKind::LoopResults);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), QModelIndex(item));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), QModelIndex(item));
    QCOMPARE(item.data(Qt::BackgroundRole), QVariant(QColor(Qt::yellow)));

    // any device change makes the results stale again
    device->setProperty(PropertyId::pos, 12.5f);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toModelIndex(), QModelIndex(item));
    QVERIFY(!item.data(Qt::BackgroundRole).isValid());
    QCOMPARE(caption(item), QStringLiteral("Loop4"));
    QCOMPARE(reset.count(), 0);
}

void TestLCProjectModel::foreignLoopsIgnored()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1);
    addLoop(panel, 1);
    LCProject elsewhere;
    TestedModel tested(&project);
    QSignalSpy changed(&tested.model, &QAbstractItemModel::dataChanged);

    // a loop being built in a dialog: it knows its panel but is not in its list yet
    LCLoop pending(panel);
    addDevice(&pending)->setProperty(PropertyId::pos, 3.0f);
    // a loop of a project that is not shown, and one without a panel
    addDevice(addLoop(addPanel(elsewhere, 1), 1))->setProperty(PropertyId::pos, 3.0f);
    LCLoop loose;
    addDevice(&loose)->setProperty(PropertyId::pos, 3.0f);
    // objects that are not loops
    LCObject::notifyObservers(panel, ChangeKind::LoopResults);
    LCObject::notifyObservers(nullptr, ChangeKind::LoopResults);
    QCOMPARE(changed.count(), 0);

    tested.model.setRoot(nullptr);
    LCObject::notifyObservers(panel->loop(0), ChangeKind::LoopResults);
    QCOMPARE(changed.count(), 0);
}

void TestLCProjectModel::itemsReadOnly()
{
    LCProject project;
    addLoop(addPanel(project, 1), 1);
    TestedModel tested(&project);
    LCProjectModel &model = tested.model;
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    for (const QModelIndex &item :
        {model.index(0, 0), panelIndex(model, 0), loopsIndex(model, 0), loopIndex(model, 0, 0)}) {
        QCOMPARE(model.flags(item), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        QVERIFY(!model.setData(item, QStringLiteral("renamed"), Qt::EditRole));
        QVERIFY(!model.setData(item, QStringLiteral("renamed"), Qt::DisplayRole));
    }
    QVERIFY(project.properties().isEmpty());
    QVERIFY(!model.isModified());
    QCOMPARE(changed.count(), 0);
}

void TestLCProjectModel::setRootAndRefreshReset()
{
    LCProject project;
    LCController *const panel = addPanel(project, 1);
    LCProject replacement;
    addPanel(replacement, 5);
    addPanel(replacement, 6);
    TestedModel tested(&project);
    LCProjectModel &model = tested.model;
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    addLoop(panel, 1);
    model.refresh();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(loopsIndex(model, 0)), 1);

    model.setRoot(&replacement);
    QCOMPARE(reset.count(), 2);
    QCOMPARE(model.objectOf(model.index(0, 0)), &replacement);
    QCOMPARE(model.rowCount(model.index(0, 0)), 2);
}

void TestLCProjectModel::unregistersWhenDestroyed()
{
    const int before = LCObserverRegistry::count();
    LCProject project;
    LCDevice *const device = addDevice(addLoop(addPanel(project, 1), 1));
    {
        TestedModel tested(&project);
        QCOMPARE(LCObserverRegistry::count(), before + 1);
    }
    QCOMPARE(LCObserverRegistry::count(), before);
    device->setProperty(PropertyId::pos, 1.0f); // would reach the destroyed model
}

QTEST_MAIN(TestLCProjectModel)
#include "tst_lcprojectmodel.moc"
