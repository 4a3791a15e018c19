#include "../model/modelfixture.h"
#include "mainwindowfixture.h"

#include "app/commands/lcpropertycommand.h"

#include "calc/ui/lcloopinfodlg.h"
#include "grids/lcdevicemodel.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QUndoStack>

namespace
{
constexpr int kSteps = 300;

QByteArray savedBytes(const QString &path)
{
    if (!LCDataStore::instance()->saveProject(path)) {
        return {};
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

// Every change is a step on the undo stack, and taking all of them back gives the project back
// exactly, as its file shows.
class TestUndo : public QObject, private MainWindowFixture
{
    Q_OBJECT

private slots:
    void init() { setUpFiles(); }
    void cleanup() { tearDown(); }
    void randomStepsTakenBackAndRedone();
    void cleanStateAndShortcuts();
    void typeChangeTakesItsSubTypeAlong();

private:
    void randomStep(QRandomGenerator &random);
    QStringList names(int column) const;
};

QStringList TestUndo::names(int column) const
{
    QStringList result;
    const LCDataStore *const store = LCDataStore::instance();
    if (column == int(LCDeviceModel::Column::DeviceType)) {
        for (const DeviceType &type : store->deviceTypes()) {
            result << type.Name;
        }
    } else {
        for (const WireType &type : store->wireTypes()) {
            result << type.Name;
        }
    }
    return result;
}

void TestUndo::randomStep(QRandomGenerator &random)
{
    const int panelCount = project()->childCount();
    const int panel = random.bounded(panelCount);
    LCController *const controller = project()->panel(panel);
    if (controller->childCount() == 0 || random.bounded(12) == 0) {
        // a loop made through its dialog, or a loop taken away
        click(loopsIndex(panel));
        if (controller->isFull() || random.bounded(2)) {
            grid()->selectionModel()->select(
                grid()->model()->index(random.bounded(qMax(1, controller->childCount())), 0),
                QItemSelectionModel::ClearAndSelect);
            m_window->slotDeleteLoop();
        } else {
            m_window->slotAddLoop();
        }
        return;
    }
    const int loopRow = random.bounded(controller->childCount());
    click(treeIndex(panel, loopRow));
    LCLoop *const loop = controller->loop(loopRow);
    QAbstractItemModel *const devices = grid()->model();
    const int rows = loop->childCount();
    const int row = rows > 0 ? random.bounded(rows) : 0;
    grid()->setCurrentIndex(devices->index(row, 0));
    switch (rows > 1 ? random.bounded(8) : 0) {
    case 0:
        m_window->slotAddDevice();
        break;
    case 1:
        grid()->selectionModel()->select(devices->index(row, 0), QItemSelectionModel::Select);
        m_window->slotDeleteDevice();
        break;
    case 2:
        m_window->slotBranch();
        break;
    case 3:
        m_window->slotTrunk();
        break;
    case 4:
        devices->setData(devices->index(row, 1), random.bounded(200));
        break;
    default: {
        // one name into a run of cells, as a multi-cell edit
        const int column = random.bounded(2) ? 2 : 4;
        const QStringList offered = names(column);
        auto *const table = qobject_cast<LCTableModel *>(devices);
        const int last = qMin(rows - 1, row + random.bounded(5));
        table->beginEdit(row, column);
        for (int r = row; r <= last; ++r) {
            devices->setData(devices->index(r, column), offered.at(random.bounded(offered.size())));
        }
        table->endEdit();
    }
    }
}

void TestUndo::randomStepsTakenBackAndRedone()
{
    start();
    m_prompter.dialogHandler = [](QDialog &dialog) {
        if (auto *loopDialog = qobject_cast<LCLoopInfoDlg *>(&dialog)) {
            loopDialog->findChild<QLineEdit *>("totalLength")->setText("900");
            loopDialog->slotOk();
        } else if (auto *panelDialog = qobject_cast<LCControllerInfoDlg *>(&dialog)) {
            panelDialog->slotOk();
        }
        return dialog.result();
    };
    const QByteArray start = savedBytes(m_dir->filePath("start.xml"));
    QVERIFY(!start.isEmpty());
    QRandomGenerator random(20261207);
    QUndoStack &stack = m_window->undoStack();
    for (int step = 0; step < kSteps; ++step) {
        randomStep(random);
        if (step % 50 == 0) {
            click(treeIndex());
            m_window->slotAddController();
        }
    }
    const QByteArray end = savedBytes(m_dir->filePath("end.xml"));
    QVERIFY(stack.count() > kSteps / 2);
    QVERIFY(end != start);
    // through the Edit menu's first two entries, as a user takes the steps
    QAction *const undo = m_window->menuBar()->actions().at(1)->menu()->actions().at(0);
    QAction *const redo = m_window->menuBar()->actions().at(1)->menu()->actions().at(1);
    while (stack.canUndo()) {
        undo->trigger();
    }
    QCOMPARE(savedBytes(m_dir->filePath("undone.xml")), start);
    while (stack.canRedo()) {
        redo->trigger();
    }
    QCOMPARE(savedBytes(m_dir->filePath("redone.xml")), end);
}

void TestUndo::cleanStateAndShortcuts()
{
    start();
    click(treeIndex(1, 0));
    QAbstractItemModel *const devices = grid()->model();
    const float before = project()->panel(1)->loop(0)->device(2)->pos();
    QVERIFY(devices->setData(devices->index(2, 1), 77));
    QVERIFY(m_window->isWindowModified());
    // the standard keys reach the window's commands
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keySequence(m_window.get(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(project()->panel(1)->loop(0)->device(2)->pos(), before);
    QVERIFY2(!m_window->isWindowModified(), "back at the saved state");
    QTest::keySequence(m_window.get(), QKeySequence(QKeySequence::Redo));
    QCOMPARE(project()->panel(1)->loop(0)->device(2)->pos(), 77.0f);
    QVERIFY(m_window->isWindowModified());
    QTest::keySequence(m_window.get(), QKeySequence(QKeySequence::Save));
    QVERIFY(!m_window->isWindowModified());
    QCOMPARE(m_prompter.shown.last(), QStringLiteral("Infomation|Save Sucessful!"));
    QTest::keySequence(m_window.get(), QKeySequence(QKeySequence::Undo));
    QVERIFY(m_window->isWindowModified());
    // F5 calculates; Delete in the grid takes the selected devices away, as one step
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QVERIFY(dock()->isVisible());
    const int count = project()->panel(1)->loop(0)->childCount();
    grid()->setFocus();
    grid()->selectionModel()->select(QItemSelection(devices->index(3, 0), devices->index(4, 4)),
        QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid(), Qt::Key_Delete);
    QCOMPARE(project()->panel(1)->loop(0)->childCount(), count - 2);
    QStringList texts;
    for (const QAction *action : m_window->menuBar()->actions().at(1)->menu()->actions()) {
        texts << action->text();
    }
    QCOMPARE(texts.mid(0, 2), QStringList({"Undo Delete Device", "Redo"}));
    m_prompter.answers.enqueue(LCPrompter::Answer::Cancel);
    QTest::keySequence(m_window.get(),
        m_window->findChild<QToolButton *>("exitButton")->defaultAction()->shortcut());
    QCOMPARE(
        m_prompter.shown.last(), QStringLiteral("Information|Do you want to save the change?"));
    QVERIFY(m_window->isVisible());
}

// A new device type brings its default sub type through a hook; one step takes both back and
// brings both again, for every device of a multi-cell edit.
void TestUndo::typeChangeTakesItsSubTypeAlong()
{
    DeviceType type;
    for (const DeviceType &candidate : LCDataStore::instance()->deviceTypes()) {
        if (!candidate.SubType.isEmpty()) {
            type = candidate;
        }
    }
    QVERIFY(!type.SubType.isEmpty());
    LCProject project;
    LCLoop *const loop = ModelFixture::addLoop(ModelFixture::addPanel(project, 1), 1);
    QVector<LCDevice *> devices;
    for (const int subType : {12345, 54321}) {
        LCDevice *const device = ModelFixture::addDevice(loop, float(devices.size()));
        device->storeProperty(PropertyId::deviceTypeid, -5 - devices.size());
        device->storeProperty(PropertyId::SubType, subType);
        devices << device;
    }
    const auto values = [&devices](int i) {
        return QPair<int, int>(devices.at(i)->property(PropertyId::deviceTypeid).toInt(),
            devices.at(i)->property(PropertyId::SubType).toInt());
    };
    const QPair<int, int> changed(type.DevID, type.SubType.first());
    QUndoStack stack;
    auto command =
        std::make_unique<LCPropertyCommand>(*devices.at(0), PropertyId::deviceTypeid, type.DevID);
    command->add(*devices.at(1), PropertyId::deviceTypeid, type.DevID);
    stack.push(command.release());
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(values(0), changed);
        QCOMPARE(values(1), changed);
        stack.undo();
        QCOMPARE(values(0), qMakePair(-5, 12345));
        QCOMPARE(values(1), qMakePair(-6, 54321));
        stack.redo();
    }
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
