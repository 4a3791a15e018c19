#include "mainwindowfixture.h"

#include "app/lcprojectinfodlg.h"
#include "calc/ui/lcloopinfodlg.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcloopmodel.h"
#include "grids/lcpanelinfomodel.h"
#include "grids/lcprojectinfomodel.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>

namespace
{
// The entries of a menu; a disabled one in brackets, with its reason.
QStringList entries(const std::unique_ptr<QMenu> &menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        texts << (action->isEnabled()
                ? action->text()
                : QStringLiteral("(%1: %2)").arg(action->text(), action->toolTip()));
    }
    return texts;
}

QList<int> trucks(const LCLoop *loop)
{
    QList<int> result;
    for (int i = 0; i < loop->childCount(); ++i) {
        result << loop->child(i)->property(PropertyId::truck).toInt();
    }
    return result;
}
} // namespace

class TestMainWindowEditing : public QObject, private MainWindowFixture
{
    Q_OBJECT

private slots:
    void init() { setUpFiles(); }
    void cleanup() { tearDown(); }
    void gridsOfProjectPanelAndLoops();
    void keyboardMovesTheGridAndItsCommands();
    void multiEditOverSeveralColumns();
    void menus();
    void addAndDeleteDevices();
    void branchesFoldAndReturnToTrunk();
    void branchStopsAtTheFirstDevice();
    void addAndDeleteLoops();
    void addAndDeletePanels();
    void newProject();

private:
    LCLoop *showLoop(int panel, int loop)
    {
        click(treeIndex(panel, loop));
        return project()->panel(panel)->loop(loop);
    }
    void selectRows(const QList<int> &rows, int columns = 5)
    {
        QItemSelection selection;
        for (const int row : rows) {
            selection.select(
                grid()->model()->index(row, 0), grid()->model()->index(row, columns - 1));
        }
        grid()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
};

void TestMainWindowEditing::gridsOfProjectPanelAndLoops()
{
    start();
    click(treeIndex());
    QVERIFY(qobject_cast<LCProjectInfoModel *>(grid()->model()));
    QCOMPARE(grid()->model()->rowCount(), 10);
    QVERIFY(!grid()->horizontalHeader()->isVisible());
    QVERIFY(grid()->itemDelegateForRow(9));
    // the tree follows a rename at once
    QVERIFY(grid()->model()->setData(grid()->model()->index(0, 1), "Riverside"));
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Riverside"));

    click(treeIndex(0));
    QVERIFY(qobject_cast<LCPanelInfoModel *>(grid()->model()));
    QCOMPARE(grid()->model()->rowCount(), 12);
    QVERIFY2(grid()->itemDelegateForRow(11), "the type 5 description row has its editor");
    click(treeIndex(1));
    QCOMPARE(grid()->model()->rowCount(), 7);
    QVERIFY(grid()->itemDelegateForRow(6));
    QVERIFY2(!grid()->itemDelegateForRow(11), "editors of the other panel type are gone");

    click(loopsIndex(0));
    QVERIFY(qobject_cast<LCLoopModel *>(grid()->model()));
    QCOMPARE(grid()->model()->rowCount(), 4);
    QVERIFY(grid()->horizontalHeader()->isVisible());
    QVERIFY(grid()->itemDelegateForColumn(2));
    QVERIFY(!grid()->itemDelegateForRow(6));

    // the row editors of a panel shown before a reset never reach the device rows
    click(treeIndex(1));
    m_window->slotDeleteController();
    click(treeIndex(0, 0));
    QVERIFY(qobject_cast<LCDeviceModel *>(grid()->model()));
    for (int row = 0; row < 12; ++row) {
        QVERIFY2(!grid()->itemDelegateForRow(row), qPrintable(QString::number(row)));
    }
    QVERIFY(grid()->itemDelegateForColumn(2));

    // a very long site name is shown cut short, the other values stay in reach
    project()->setProperty(PropertyId::SiteName, QString(3000, QLatin1Char('x')));
    click(treeIndex(0));
    click(treeIndex());
    QVERIFY(grid()->columnWidth(1) <= LCTableView::kMaxFittedColumnWidth);
    QVERIFY(grid()->columnWidth(1) >= 200);
}

void TestMainWindowEditing::keyboardMovesTheGridAndItsCommands()
{
    start();
    LCLoop *const first = project()->panel(1)->loop(0);
    LCLoop *const second = project()->panel(1)->loop(1);
    const int firstCount = first->childCount();
    const int secondCount = second->childCount();
    tree()->setFocus();
    QTest::mouseClick(
        tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(treeIndex(1, 0)).center());
    QCOMPARE(grid()->model()->rowCount(), firstCount);
    QTest::keyClick(tree(), Qt::Key_Down);
    QCOMPARE(tree()->currentIndex(), treeIndex(1, 1));
    QCOMPARE(grid()->model()->rowCount(), secondCount);
    QVERIFY(button("calculateButton")->isEnabled());

    // every command acts on the loop the grid shows
    grid()->setCurrentIndex(grid()->model()->index(3, 0));
    selectRows({3});
    m_window->slotDeleteDevice();
    QCOMPARE(second->childCount(), secondCount - 1);
    QCOMPARE(first->childCount(), firstCount);
    const int last = secondCount - 2;
    const QList<int> firstTrucks = trucks(first);
    selectRows({last}, 1);
    m_window->slotBranch();
    QCOMPARE(second->device(last)->truck(), last);
    QCOMPARE(trucks(first), firstTrucks);

    // Home goes up to the project, whose grid has no device commands
    QTest::keyClick(tree(), Qt::Key_Home);
    QVERIFY(qobject_cast<LCProjectInfoModel *>(grid()->model()));
    QVERIFY(!button("calculateButton")->isEnabled());
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    selectRows({0}, 2);
    m_window->slotDeleteDevice();
    m_window->slotBranch();
    QCOMPARE(second->childCount(), secondCount - 1);
}

void TestMainWindowEditing::multiEditOverSeveralColumns()
{
    start();
    LCLoop *const loop = showLoop(1, 1);
    const float length = loop->device(1)->pos();
    // a long cable name, so the column has to grow for it
    QMap<int, WireType> cables = LCDataStore::instance()->wireTypes();
    cables[2].Name = QStringLiteral("Fire-resistant-cable");
    LCDataStore::instance()->setWireTypes(cables);
    m_window->slotDefine();

    // one pick over the length, type and cable columns of two rows
    QItemSelection cells(grid()->model()->index(1, 1), grid()->model()->index(2, 4));
    grid()->selectionModel()->select(cells, QItemSelectionModel::ClearAndSelect);
    QAbstractItemDelegate *const cableEditor = grid()->itemDelegateForColumn(4);
    const QModelIndex cell = grid()->model()->index(2, 4);
    std::unique_ptr<QWidget> editor(cableEditor->createEditor(grid()->viewport(), {}, cell));
    auto *const combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    const int narrow = grid()->columnWidth(4);
    combo->setCurrentText(cables.value(2).Name);
    cableEditor->setModelData(combo, grid()->model(), cell);
    QCOMPARE(loop->device(1)->cableType(), 2);
    QCOMPARE(loop->device(2)->cableType(), 2);
    QCOMPARE(loop->device(1)->pos(), length);
    QVERIFY(loop->device(1)->deviceTypeId() != 0);
    QTRY_VERIFY(grid()->columnWidth(4) > narrow);
    QVERIFY(
        grid()->columnWidth(4) >= grid()->fontMetrics().horizontalAdvance(cables.value(2).Name));
}

void TestMainWindowEditing::menus()
{
    start();
    click(treeIndex());
    QCOMPARE(entries(m_window->treeContextMenu()), QStringList({"Add FACP"}));
    click(treeIndex(0));
    QCOMPARE(entries(m_window->treeContextMenu()), QStringList({"Delete AFCP"}));
    click(loopsIndex(0));
    QCOMPARE(entries(m_window->treeContextMenu()), QStringList({"Add Loop"}));
    QVERIFY2(entries(m_window->gridContextMenu()).isEmpty(), "no current cell, no menu");
    grid()->setCurrentIndex(grid()->model()->index(1, 0));
    QCOMPARE(entries(m_window->gridContextMenu()), QStringList({"Add Loop", "Delete Loop"}));
    // panel 2 is of a type with two loops, and has them
    click(loopsIndex(1));
    const QString full = QStringLiteral("(Add Loop: The panel holds its maximum of 2 loops.)");
    QCOMPARE(entries(m_window->treeContextMenu()), QStringList({full}));
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QCOMPARE(entries(m_window->gridContextMenu()), QStringList({full, "Delete Loop"}));

    LCLoop *const loop = showLoop(0, 1);
    QCOMPARE(entries(m_window->treeContextMenu()), QStringList({"Add Device"}));
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QCOMPARE(entries(m_window->gridContextMenu()), QStringList({"Add Device", "Delete Device"}));
    grid()->setCurrentIndex(grid()->model()->index(3, 0));
    QCOMPARE(entries(m_window->gridContextMenu()),
        QStringList({"Add Device", "Delete Device", "Set Branch"}));
    int branchRow = -1;
    for (int row = 1; row < loop->childCount() && branchRow < 0; ++row) {
        branchRow = loop->device(row)->truck() != 0 ? row : -1;
    }
    QVERIFY(branchRow > 0);
    grid()->setCurrentIndex(grid()->model()->index(branchRow, 0));
    QCOMPARE(entries(m_window->gridContextMenu()),
        QStringList({"Add Device", "Delete Device", "Set Trunk"}));
    grid()->setCurrentIndex(grid()->model()->index(3, 1));
    QVERIFY2(entries(m_window->gridContextMenu()).isEmpty(), "only the topology column has one");

    // a loop of 242 devices takes no more
    while (loop->childCount() < LCLoop::kMaxDevices + 1) {
        loop->insertChild(std::make_unique<LCDevice>(loop));
    }
    m_window->resetViews();
    showLoop(0, 1);
    const QString fullLoop =
        QStringLiteral("(Add Device: The loop holds its maximum of 242 devices.)");
    QCOMPARE(entries(m_window->treeContextMenu()), QStringList({fullLoop}));
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QCOMPARE(entries(m_window->gridContextMenu()), QStringList({fullLoop, "Delete Device"}));
}

void TestMainWindowEditing::addAndDeleteDevices()
{
    start();
    LCLoop *const loop = showLoop(1, 1);
    const int count = loop->childCount();
    LCObject *const third = loop->child(3);
    LCObject *const fourth = loop->child(4);
    grid()->setCurrentIndex(grid()->model()->index(3, 0));
    m_window->slotAddDevice();
    QCOMPARE(loop->childCount(), count + 1);
    QCOMPARE(loop->child(3), third);
    QCOMPARE(loop->child(5), fourth);
    const LCDevice *added = loop->device(4);
    QCOMPARE(added->deviceTypeId(), 1);
    QCOMPARE(added->pos(), 0.0f);
    QCOMPARE(added->cableType(), loop->property(PropertyId::LoopCableType).toInt());
    QCOMPARE(grid()->model()->rowCount(), count + 1);

    // one selected row of five cells deletes that one device, rows apart delete each once
    LCObject *const second = loop->child(2);
    selectRows({4});
    m_window->slotDeleteDevice();
    QCOMPARE(loop->childCount(), count);
    QCOMPARE(loop->child(4), fourth);
    selectRows({1, 3});
    LCObject *const keep = loop->child(2);
    m_window->slotDeleteDevice();
    QCOMPARE(loop->childCount(), count - 2);
    QCOMPARE(loop->child(1), keep);
    QCOMPARE(loop->indexOf(second), 1);
    QCOMPARE(loop->indexOf(third), -1);
}

void TestMainWindowEditing::branchesFoldAndReturnToTrunk()
{
    start();
    LCLoop *const loop = showLoop(0, 2);
    for (int row = 0; row < 10; ++row) {
        loop->child(row)->setProperty(PropertyId::truck, 0);
        loop->child(row)->setProperty(PropertyId::Relay, false);
    }
    m_window->resetViews();
    showLoop(0, 2);
    selectRows({5, 6, 7}, 1);
    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    m_window->slotBranch();
    QCOMPARE(m_prompter.shown, QStringList({"Information|Do you want to set a relay"}));
    QCOMPARE(trucks(loop).mid(4, 5), QList<int>({0, 5, 5, 5, 0}));
    QVERIFY(loop->device(6)->isRelay());
    QVERIFY(!grid()->isRowHidden(5));
    QVERIFY(grid()->isRowHidden(6));
    QVERIFY(grid()->isRowHidden(7));
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), -1);

    // a click on the topology cell of the branch's first device unfolds it, another folds it
    grid()->setCurrentIndex(grid()->model()->index(5, 0));
    m_window->slotViewClicked();
    QVERIFY(!grid()->isRowHidden(6));
    QVERIFY(!grid()->isRowHidden(7));
    m_window->slotViewClicked();
    QVERIFY(grid()->isRowHidden(7));

    // Set Trunk returns the whole branch, hidden rows too, and clears the relay
    selectRows({5}, 1);
    m_window->slotTrunk();
    QCOMPARE(trucks(loop).mid(4, 5), QList<int>({0, 0, 0, 0, 0}));
    QVERIFY(!loop->device(7)->isRelay());
    QVERIFY(!grid()->isRowHidden(7));

    // without the relay the flags stay as they were
    selectRows({2, 3}, 1);
    m_window->slotBranch();
    QCOMPARE(trucks(loop).mid(2, 2), QList<int>({2, 2}));
    QVERIFY(!loop->device(3)->isRelay());
}

void TestMainWindowEditing::branchStopsAtTheFirstDevice()
{
    start();
    LCLoop *const loop = showLoop(0, 2);
    loop->child(4)->setProperty(PropertyId::truck, 0);
    grid()->selectionModel()->select(
        grid()->model()->index(4, 0), QItemSelectionModel::ClearAndSelect);
    grid()->selectionModel()->select(grid()->model()->index(0, 0), QItemSelectionModel::Select);
    m_prompter.answers.enqueue(LCPrompter::Answer::No);
    m_window->slotBranch();
    QCOMPARE(m_prompter.shown,
        QStringList({"Information|Do you want to set a relay",
            "Information|Can not set a relay from the 1st device"}));
    QCOMPARE(loop->device(4)->truck(), 4);
    QCOMPARE(loop->device(0)->truck(), 0);
}

void TestMainWindowEditing::addAndDeleteLoops()
{
    start();
    tree()->collapse(treeIndex(1));
    click(loopsIndex(0));
    m_prompter.dialogHandler = [](QDialog &dialog) {
        auto *loopDialog = qobject_cast<LCLoopInfoDlg *>(&dialog);
        if (!loopDialog) {
            return int(QDialog::Rejected);
        }
        loopDialog->findChild<QLineEdit *>("totalLength")->setText("1000");
        loopDialog->slotOk();
        return loopDialog->result();
    };
    m_window->slotAddLoop();
    LCController *const panel = project()->panel(0);
    QCOMPARE(panel->childCount(), 5);
    QCOMPARE(panel->loop(4)->property(PropertyId::Loopid).toInt(), 5);
    QCOMPARE(grid()->model()->rowCount(), 5);
    QCOMPARE(tree()->currentIndex(), loopsIndex(0));
    QVERIFY(tree()->isExpanded(loopsIndex(0)));
    QVERIFY2(!tree()->isExpanded(treeIndex(1)), "what the user closed stays closed");
    QCOMPARE(treeIndex(0, 4).data().toString(), QStringLiteral("Loop5"));

    // one selected row deletes that loop only
    LCLoop *const third = panel->loop(2);
    selectRows({1});
    m_window->slotDeleteLoop();
    QCOMPARE(panel->childCount(), 4);
    QCOMPARE(panel->loop(1), third);
    QCOMPARE(tree()->model()->rowCount(loopsIndex(0)), 4);
    QCOMPARE(treeIndex(0, 1).data().toString(), QStringLiteral("Loop3"));
}

void TestMainWindowEditing::addAndDeletePanels()
{
    start();
    click(treeIndex());
    m_prompter.dialogHandler = [](QDialog &dialog) {
        auto *panelDialog = qobject_cast<LCControllerInfoDlg *>(&dialog);
        if (!panelDialog) {
            return int(QDialog::Rejected);
        }
        panelDialog->slotOk();
        return panelDialog->result();
    };
    tree()->collapse(treeIndex(1));
    m_window->slotAddController();
    QCOMPARE(project()->childCount(), 3);
    QCOMPARE(treeIndex(2).data().toString().left(2), QStringLiteral("3-"));
    QVERIFY(tree()->isExpanded(treeIndex()));
    QVERIFY(!tree()->isExpanded(treeIndex(1)));
    QCOMPARE(tree()->currentIndex(), treeIndex(2));
    QVERIFY(qobject_cast<LCPanelInfoModel *>(grid()->model()));

    click(treeIndex(0));
    m_window->slotDeleteController();
    QCOMPARE(project()->childCount(), 2);
    QCOMPARE(treeIndex(0).data().toString(), QStringLiteral("2-Orvan-B20"));
    QVERIFY(qobject_cast<LCProjectInfoModel *>(grid()->model()));
    QVERIFY(!button("batteryButton")->isEnabled());
}

void TestMainWindowEditing::newProject()
{
    start();
    click(treeIndex(1, 0));
    m_window->slotCalc();
    QVERIFY(dock()->isVisible());
    project()->setProperty(PropertyId::Name, QStringLiteral("Changed"));
    m_prompter.answers.enqueue(LCPrompter::Answer::No);
    m_prompter.dialogHandler = [](QDialog &dialog) {
        auto *projectDialog = qobject_cast<LCProjectInfoDlg *>(&dialog);
        if (!projectDialog) {
            return int(QDialog::Rejected);
        }
        projectDialog->findChild<QLineEdit *>("projectName")->setText("  Riverside School  ");
        projectDialog->slotOk();
        return projectDialog->result();
    };
    m_window->slotNew();
    QCOMPARE(
        m_prompter.shown.first(), QStringLiteral("Information|Do you want to save the change?"));
    QCOMPARE(project()->property(PropertyId::Name).toString(), QStringLiteral("Riverside School"));
    QCOMPARE(tree()->model()->rowCount(treeIndex()), 0);
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Riverside School"));
    // as for any new project: nothing calculated on show, nothing to calculate
    QVERIFY(!dock()->isVisible());
    QCOMPARE(pane()->toPlainText(), QString());
    QVERIFY(!button("calculateButton")->isEnabled());
    QVERIFY(!button("batteryButton")->isEnabled());
    QVERIFY(!button("reportButton")->isEnabled());
}

QTEST_MAIN(TestMainWindowEditing)
#include "tst_mainwindowediting.moc"
