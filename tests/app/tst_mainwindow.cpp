#include "mainwindowfixture.h"

#include "app/lcaboutdlg.h"
#include "app/lcprojectinfodlg.h"
#include "calc/ui/lcloopinfodlg.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcpanelinfomodel.h"
#include "grids/lcprojectinfomodel.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

namespace
{
using Answer = LCPrompter::Answer;
const QString kSaveQuestion = QStringLiteral("Information|Do you want to save the change?");
const QString kSaved = QStringLiteral("Infomation|Save Sucessful!");
const QString kOpenDialog = QStringLiteral("Open a Project|XBEL Files (*.xbel *.xml)");
const QString kSaveError = QStringLiteral("Error|The project could not be saved to %1: ");
const QVariant kWorks = QColor(Qt::green);
const QVariant kFails = QColor(Qt::yellow);

QList<int> trucks(const LCLoop *loop, int from, int count)
{
    QList<int> result;
    for (int i = from; i < from + count; ++i) {
        result << loop->device(i)->truck();
    }
    return result;
}
} // namespace

// Walks through what a user does in the window, with the mouse and the keyboard.
class TestMainWindow : public QObject, private MainWindowFixture
{
    Q_OBJECT

private slots:
    void init() { setUpFiles(); }
    void cleanup() { tearDown(); }
    void editCalculateSaveReopen();
    void fileCommandsAndTheirQuestions();
    void newProjectFromItsDialog_data();
    void newProjectFromItsDialog();
    void resultPaneAndReport();
    void panelsAndLoopsThroughMenus();
    void devicesAndBranchesThroughMenus();
    void aboutBox();

private:
    // Answers the dialog of the given type with Ok after fill has filled it in.
    template <typename Dialog>
    void acceptDialogs(std::function<void(Dialog &)> fill = [](Dialog &) {})
    {
        m_prompter.dialogHandler = [fill](QDialog &dialog) {
            if (auto *const typed = qobject_cast<Dialog *>(&dialog)) {
                fill(*typed);
                typed->slotOk();
            }
            return dialog.result();
        };
    }
};

void TestMainWindow::editCalculateSaveReopen()
{
    start();
    QVERIFY(m_window->isConfigLoaded());
    QCOMPARE(told(), QStringList());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("config.xml[*] - Mirel"));
    QVERIFY(!m_window->isWindowModified() && !dock()->isVisible());
    QStringList buttons;
    for (const QToolButton *tool :
        m_window->findChildren<QToolButton *>(QRegularExpression("Button$"))) {
        buttons << tool->text() + (tool->isEnabled() ? "" : " (off)");
    }
    QCOMPARE(buttons,
        QStringList({"New", "Open", "Save", "Save as", "Report (off)", "Define", "Calculate (off)",
            "Battery (off)", "About", "Exit"}));

    // the grid and the commands follow the tree's current item, by mouse or keyboard
    click(treeIndex(1, 0));
    QTest::keyClick(tree(), Qt::Key_Down);
    QCOMPARE(grid()->model()->rowCount(), project()->panel(1)->loop(1)->childCount());
    QVERIFY(button("calculateButton")->isEnabled() && !button("batteryButton")->isEnabled());
    QTest::keyClick(tree(), Qt::Key_Up);
    QCOMPARE(grid()->model()->rowCount(), project()->panel(1)->loop(0)->childCount());
    clickButton("calculateButton");
    QCOMPARE(told(), QStringList());
    QCOMPARE(pane(),
        QStringLiteral("Devices of this loop can work well!\nVolt Drop : 0.47V\n"
                       "Maximum Volt Drop : 8.00V\nTotal standby current : 16.65mA\n"
                       "Total alarm current : 74.60mA"));
    QCOMPARE(treeColour(treeIndex(1, 0)), kWorks);

    // a length typed over a cell makes the result stale at once, in the pane and the tree
    clickCell(0, 1);
    typeInCurrentCell(QStringLiteral("25"));
    QCOMPARE(pane(),
        QStringLiteral("Loop1 changed since the last calculation: calculate again to see the "
                       "result."));
    QVERIFY(!treeColour(treeIndex(1, 0)).isValid() && m_window->isWindowModified());
    QTest::keyClick(grid(), Qt::Key_Down);
    typeInCurrentCell(QStringLiteral("7"));

    // one cable picked over lengths, types and cables of two rows: only the cables take it,
    // and their column grows for the long name
    QMap<int, WireType> cables = LCDataStore::instance()->wireTypes();
    cables[3].Name = QStringLiteral("Fire-resistant-cable");
    LCDataStore::instance()->setWireTypes(cables);
    clickButton("defineButton");
    const int narrow = grid()->columnWidth(4);
    clickCell(1, 1);
    clickCell(2, 4, Qt::ShiftModifier);
    choose(QStringLiteral("Fire"));
    QTRY_VERIFY(grid()->columnWidth(4) > narrow);
    QVERIFY(grid()->columnWidth(4) >= grid()->fontMetrics().horizontalAdvance(cables[3].Name));

    // the sub type editor offers the sub types of the row's type; a new type brings its default
    clickCell(57, 3);
    QCOMPARE(comboItems(), QStringList({"Enclosure", "DIN-Rail"}));
    choose(QStringLiteral("D"));
    clickCell(4, 2);
    choose(QStringLiteral("Sounder"));
    const QList<int> rows = {0, 1, 2, 3, 4, 57};
    const QStringList edited = gridRows(rows);
    QCOMPARE(edited,
        QStringList({"Trunk|25|IsolatorModule|Enclosure|1.0mm2-PH30",
            "Trunk|7|SmokeDetector|Standard-Base|Fire-resistant-cable",
            "Trunk|6|SmokeDetector|Standard-Base|Fire-resistant-cable",
            "Trunk|9|SmokeDetector|Standard-Base|1.0mm2-PH30",
            "Trunk|12|Sounder|Red-Body|1.0mm2-PH30", "Trunk|10|InputModule|DIN-Rail|1.0mm2-PH30"}));

    // saved and opened again, the project is as edited
    clickButton("saveButton");
    QCOMPARE(told(), QStringList({kSaved}));
    QVERIFY(!m_window->isWindowModified());
    m_prompter.files.enqueue(path("config/config.xml"));
    clickButton("openButton");
    click(treeIndex(1, 0));
    QCOMPARE(gridRows(rows), edited);
    QVERIFY(!m_window->isWindowModified());
}

void TestMainWindow::fileCommandsAndTheirQuestions()
{
    start();
    // nothing changed: Exit asks nothing
    clickButton("exitButton");
    QVERIFY(!m_window->isVisible() && told().isEmpty());

    start();
    const QByteArray working = readAll(path("config/config.xml"));
    // a project from elsewhere, whose library calls the smoke detector otherwise
    const QString riverside = path("riverside.xml");
    QVERIFY(writeAll(
        riverside, readAll(kSample).replace("Name=\"SmokeDetector\"", "Name=\"OpticalSmoke\"")));
    m_prompter.files.enqueue(riverside);
    clickButton("openButton");
    QCOMPARE(told(), QStringList({kOpenDialog}));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("riverside.xml[*] - Mirel"));
    click(treeIndex(0, 0));
    clickCell(1, 2);
    QVERIFY(comboItems().startsWith("OpticalSmoke") && !comboItems().contains("SmokeDetector"));
    QTest::keyClick(editor(), Qt::Key_Escape);

    // a rename typed into the project's grid shows in the tree at once
    click(treeIndex());
    clickCell(0, 1);
    QSignalSpy renamed(tree()->model(), &QAbstractItemModel::dataChanged);
    typeInCurrentCell(QStringLiteral("Riverside"));
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Riverside"));
    QCOMPARE(renamed.value(0).value(0).toModelIndex(), treeIndex());

    // Cancel at the question of Exit, New and Open keeps everything as it was
    m_prompter.dialogHandler = [this](QDialog &dialog) {
        m_prompter.shown << dialog.windowTitle();
        return int(QDialog::Rejected);
    };
    m_prompter.answers << Answer::Cancel << Answer::Cancel << Answer::Cancel;
    QVERIFY(!m_window->close());
    clickButton("newButton");
    clickButton("openButton");
    QCOMPARE(told(), QStringList({kSaveQuestion, kSaveQuestion, kSaveQuestion}));
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Riverside"));
    QVERIFY(m_window->isWindowModified());

    // Save writes the opened file, not the working file
    clickButton("saveButton");
    QCOMPARE(told(), QStringList({kSaved}));
    QVERIFY(readAll(riverside).contains("name=\"Riverside\""));
    QCOMPARE(readAll(path("config/config.xml")), working);

    // a file that cannot be read changes nothing, not even the flags
    QVERIFY(writeAll(path("broken.xml"), "<Project><Panel>"));
    m_prompter.files.enqueue(path("broken.xml"));
    LCProject *const before = project();
    clickButton("openButton");
    QCOMPARE(told(), QStringList({kOpenDialog, "Infomation|Open project failed!"}));
    QCOMPARE(project(), before);
    QVERIFY(!LCDataStore::instance()->anyChanged() && !m_window->isWindowModified());
    // the editors of the project's grid shown before went with it
    click(treeIndex(0, 0));
    QVERIFY(qobject_cast<LCDeviceModel *>(grid()->model()) && !grid()->itemDelegateForRow(0));

    // Save as a name without suffix adds ".xml", and the file becomes Save's target
    const QString copy = path("copy.xml");
    m_prompter.files.enqueue(path("copy"));
    clickButton("saveAsButton");
    QCOMPARE(told(), QStringList({"Save as...|XML Files (*.xml)", kSaved}));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("copy.xml[*] - Mirel"));
    edit(*project(), PropertyId::Name, QStringLiteral("Copied"));
    clickButton("saveButton");
    QVERIFY(readAll(copy).contains("name=\"Copied\"") && !readAll(riverside).contains("Copied"));
    // the file dialog asked about "copy", so replacing copy.xml is asked here
    m_prompter.files.enqueue(path("copy"));
    edit(*project(), PropertyId::Name, QStringLiteral("Not saved"));
    clickButton("saveAsButton");
    QCOMPARE(told().last(),
        QStringLiteral("Information|%1 already exists.\nDo you want to replace it?")
            .arg(QDir::toNativeSeparators(copy)));
    QVERIFY(readAll(copy).contains("name=\"Copied\""));

    // a file that cannot be written: the user is told, the changes stay unsaved, and a failed
    // save at Exit keeps the window open
    QVERIFY(QFile::remove(copy) && QDir().mkpath(copy));
    m_prompter.files.enqueue(copy);
    clickButton("saveAsButton");
    QVERIFY(told().last().startsWith(kSaveError.arg(QDir::toNativeSeparators(copy))));
    m_prompter.answers << Answer::Yes << Answer::No;
    QVERIFY(!m_window->close());
    const QStringList shown = told();
    QVERIFY(shown.size() == 2 && shown.first() == kSaveQuestion);
    QVERIFY2(shown.last().startsWith("Error|The project could not be saved to "),
        qPrintable(shown.last()));
    QVERIFY(m_window->isWindowModified());
    QVERIFY(m_window->close());

    // Yes with a save that works writes the working file
    start();
    edit(*project(), PropertyId::Name, QStringLiteral("Saved name"));
    m_prompter.answers.enqueue(Answer::Yes);
    QVERIFY(m_window->close());
    QVERIFY(readAll(path("config/config.xml")).contains("name=\"Saved name\""));

    // without the working file and the factory definitions the program cannot go on
    QVERIFY(QFile::remove(path("config/default.xml")) && QFile::remove(path("config/config.xml")));
    start();
    QVERIFY(!m_window->isConfigLoaded());
    QCOMPARE(told().last(), QStringLiteral("Error|Config file load failed!"));
}

void TestMainWindow::newProjectFromItsDialog_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("shown");
    QTest::newRow("name") << "projectName" << 0 << "Project Name|Harbour  Phase <2> \"east\"";
    QTest::newRow("site") << "siteName" << 1 << "Site Name|Phase <2> \"east\"";
    QTest::newRow("site address") << "siteAddress" << 2 << "Site Address|Phase <2> \"east\"";
    QTest::newRow("end user") << "endUser" << 3 << "End-user|Phase <2> \"east\"";
    QTest::newRow("installer") << "installer" << 4 << "Installer Name|Phase <2> \"east\"";
    QTest::newRow("engineer") << "engineer" << 5 << "Engineer|Phase <2> \"east\"";
    QTest::newRow("details") << "projectDetails" << 7 << "Description|Phase <2> \"east\"";
    QTest::newRow("customer") << "customerData" << 8 << "Customer Data|Phase <2> \"east\"";
    QTest::newRow("address") << "address" << 9 << "Address|Phase <2> \"east\"";
}

void TestMainWindow::newProjectFromItsDialog()
{
    QFETCH(QString, field);
    QFETCH(int, row);
    start();
    click(treeIndex(1, 0));
    clickButton("calculateButton");
    edit(*project(), PropertyId::Name, QStringLiteral("Changed"));
    const LCProject *const before = project();
    // a blank name is refused; closing the dialog backs out
    int runs = 0;
    m_prompter.dialogHandler = [&](QDialog &dialog) {
        QLineEdit *const name = dialog.findChild<QLineEdit *>("projectName");
        // what is typed into a field is stored trimmed
        QTest::keyClicks(name, runs++ == 0 ? QStringLiteral(" ") : QStringLiteral("Harbour"));
        if (runs > 1) {
            QTest::keyClicks(dialog.findChild<QLineEdit *>(field), "  Phase <2> \"east\" ");
        }
        QTest::mouseClick(dialog.findChild<QPushButton *>("okButton"), Qt::LeftButton);
        dialog.close();
        return dialog.result();
    };
    m_prompter.answers << Answer::No << Answer::No;
    clickButton("newButton");
    QCOMPARE(told(), QStringList({kSaveQuestion, "Information|Project Name is blank!"}));
    QCOMPARE(project(), before);
    clickButton("newButton");
    QCOMPARE(told(), QStringList({kSaveQuestion}));
    // a new project: empty, nothing calculated, nothing to calculate
    QCOMPARE(tree()->model()->rowCount(treeIndex()), 0);
    QVERIFY(!dock()->isVisible() && pane().isEmpty());
    QVERIFY(!button("calculateButton")->isEnabled() && !button("reportButton")->isEnabled());

    // each field fills its own row of the project's grid, whose date is the day's
    click(treeIndex());
    const QStringList rows = gridRows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    QTEST(rows.at(row), "shown");
    QCOMPARE(rows.at(6), "Calculate Date|" + QDate::currentDate().toString("yyyy-MM-dd"));
    for (int other = 1; other < rows.size(); ++other) {
        QVERIFY2(
            other == row || other == 6 || rows.at(other).endsWith('|'), qPrintable(rows.at(other)));
    }
}

void TestMainWindow::resultPaneAndReport()
{
    start();
    // never calculated: nothing to report, no file
    click(treeIndex(1, 0));
    clickButton("reportButton");
    QCOMPARE(told(), QStringList({"Infomation|No cabling problem be found on all loops!"}));
    QVERIFY(m_prompter.opened.isEmpty());

    // a panel with a failing loop: Yes to the question writes the workbook and opens it
    click(treeIndex(0));
    QVERIFY(button("batteryButton")->isEnabled());
    m_prompter.answers.enqueue(Answer::Yes);
    clickButton("calculateButton");
    QCOMPARE(m_prompter.opened.size(), 1);
    const QString report = m_prompter.opened.first();
    QVERIFY2(report.startsWith(path("Report/")) && report.endsWith(".xlsx"), qPrintable(report));
    QVERIFY(QFile(report).size() > 0);
    QCOMPARE(told(),
        QStringList({"Information|Do you want to create a report?",
            "Information|Report complete!\n" + QDir::toNativeSeparators(report)}));
    // the summary, then why loop 4 fails and what to do
    const QString summary = project()->panel(0)->property(PropertyId::ResultText).toString();
    QVERIFY(summary.startsWith(QStringLiteral("Loop 4 may not work well.\nLoop1 result:\n")));
    QVERIFY(pane().startsWith(summary));
    QVERIFY2(pane().mid(summary.size()).startsWith("Loop4 Error: Volt lost too large.\n1. "),
        qPrintable(pane()));
    QVERIFY(dock()->isVisible());
    QCOMPARE(project()->property(PropertyId::Date).toString(),
        QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(m_window->isWindowModified());
    QCOMPARE(treeColour(treeIndex(0, 0)), kWorks);
    QCOMPARE(treeColour(treeIndex(0, 3)), kFails);
    QVERIFY2(!treeColour(treeIndex(1, 0)).isValid(), "the other panel is untouched");
    QVERIFY(tree()->isExpanded(treeIndex(0)));

    // the failing loop alone: its own question, its failed devices marked
    click(treeIndex(0, 3));
    QVERIFY(pane().startsWith(QStringLiteral("Sorry, Loop 4 may not work well.\n")));
    clickButton("calculateButton");
    QCOMPARE(told(), QStringList({"Information|Do you want to create a report"}));
    QVERIFY(pane().contains(QStringLiteral("mA\n\nVolt lost too large.\n1. ")));
    QCOMPARE(grid()->model()->index(35, 0).data(Qt::BackgroundRole), kFails);
    // the Report button on a loop makes a new workbook beside the first
    click(treeIndex(0, 0));
    clickButton("reportButton");
    QCOMPARE(m_prompter.opened.size(), 2);
    QVERIFY(m_prompter.opened.last() != report && QFile::exists(report));
    // a desktop without a spreadsheet program: the user learns where the report is
    m_prompter.openFails = true;
    clickButton("reportButton");
    QVERIFY(told().contains(QStringLiteral("Information|The report was written to %1, but no "
                                           "program to open it was found.")
                                .arg(QDir::toNativeSeparators(m_prompter.opened.last()))));

    // an edit makes the loop's result stale, and so the panel's
    const QString stale = QStringLiteral(
        "Loop4 changed since the last calculation: calculate again to see the result.");
    click(treeIndex(0, 3));
    clickCell(35, 1);
    typeInCurrentCell(QStringLiteral("1"));
    QCOMPARE(pane(), stale);
    click(treeIndex(0));
    QCOMPARE(pane(), stale);

    // through a panel's "Loops" item the panel is calculated; a type the library lacks is named
    project()->panel(1)->loop(1)->device(1)->storeProperty(PropertyId::deviceTypeid, 28);
    click(loopsIndex(1));
    clickButton("calculateButton");
    QCOMPARE(told(), QStringList());
    QVERIFY(pane().startsWith(QStringLiteral("Loop 1 2 can work well!\n")));
    click(treeIndex(1, 1));
    QCOMPARE(gridRows({1}).first().section('|', 2, 2), QStringLiteral("Unknown type 28"));
    QVERIFY2(pane().endsWith(QStringLiteral("mA\n\nLoop2: the device of unknown type 28 at "
                                            "location 2 counts as drawing no current.")),
        qPrintable(pane()));
}

void TestMainWindow::panelsAndLoopsThroughMenus()
{
    start();
    // a panel added from the project's menu is shown; what the user closed stays closed
    click(treeIndex());
    QCOMPARE(treeMenu(), QStringList({"Add FACP"}));
    tree()->collapse(treeIndex(1));
    acceptDialogs<LCControllerInfoDlg>();
    fromTreeMenu("Add FACP");
    QVERIFY(treeIndex(2).data().toString().startsWith(QStringLiteral("3-")));
    QCOMPARE(tree()->currentIndex(), treeIndex(2));
    QVERIFY(qobject_cast<LCPanelInfoModel *>(grid()->model()));
    QVERIFY(tree()->isExpanded(loopsIndex(0)) && !tree()->isExpanded(treeIndex(1)));
    clickButton("calculateButton");
    QCOMPARE(told(), QStringList({"Information|All the loop is blank"}));
    QVERIFY(pane().isEmpty() && dock()->isVisible());

    // a loop added from the "Loops" item's menu; emptied, there is nothing to calculate
    click(loopsIndex(2));
    QVERIFY2(gridMenu().isEmpty(), "no current cell, no menu");
    QCOMPARE(treeMenu(), QStringList({"Add Loop"}));
    acceptDialogs<LCLoopInfoDlg>([](LCLoopInfoDlg &dialog) {
        dialog.findChild<QLineEdit *>("totalLength")->setText("1000");
    });
    // an empty list is shown closed, as on a new panel; its first loop opens it
    tree()->collapse(loopsIndex(2));
    fromTreeMenu("Add Loop");
    QCOMPARE(tree()->currentIndex(), loopsIndex(2));
    QVERIFY(tree()->isExpanded(loopsIndex(2)) && tree()->isExpanded(loopsIndex(0)));
    QVERIFY(!tree()->isExpanded(treeIndex(1)));
    QCOMPARE(treeIndex(2, 0).data().toString(), QStringLiteral("Loop1"));
    click(treeIndex(2, 0));
    clickCell(0, 0);
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
    fromGridMenu("Delete Device");
    QVERIFY(project()->panel(2)->loop(0)->isEmpty());
    edit(*project(), PropertyId::Date, QStringLiteral("2020-01-01"));
    clickButton("calculateButton");
    QCOMPARE(told(), QStringList({"Information|Loop1 is blank!"}));
    QCOMPARE(project()->property(PropertyId::Date).toString(), QStringLiteral("2020-01-01"));

    // a full panel says so in its menus
    click(loopsIndex(1));
    const QString full = QStringLiteral("(Add Loop: The panel holds its maximum of 2 loops.)");
    QCOMPARE(treeMenu(), QStringList({full}));
    clickCell(0, 0);
    QCOMPARE(gridMenu(), QStringList({full, "Delete Loop"}));

    // one selected row deletes that loop only
    click(loopsIndex(0));
    LCLoop *const third = project()->panel(0)->loop(2);
    clickCell(1, 0);
    QCOMPARE(gridMenu(), QStringList({"Add Loop", "Delete Loop"}));
    fromGridMenu("Delete Loop");
    QCOMPARE(project()->panel(0)->loop(1), third);
    QCOMPARE(tree()->model()->rowCount(loopsIndex(0)), 3);
    QCOMPARE(treeIndex(0, 1).data().toString(), QStringLiteral("Loop3"));

    // a panel deleted from its menu; the editors of its grid never reach the device rows
    click(treeIndex(1));
    QCOMPARE(treeMenu(), QStringList({"Delete AFCP"}));
    fromTreeMenu("Delete AFCP");
    QVERIFY(project()->childCount() == 2 && tree()->isExpanded(loopsIndex(0)));
    QVERIFY(qobject_cast<LCProjectInfoModel *>(grid()->model()));
    QVERIFY(!button("batteryButton")->isEnabled());
    click(treeIndex(0, 0));
    QVERIFY(qobject_cast<LCDeviceModel *>(grid()->model()) && !grid()->itemDelegateForRow(6));

    // a very long site name is shown cut short, the other values stay in reach
    edit(*project(), PropertyId::SiteName, QString(3000, QLatin1Char('x')));
    click(treeIndex());
    QVERIFY(grid()->columnWidth(1) <= LCTableView::kMaxFittedColumnWidth);
    QVERIFY(grid()->columnWidth(1) >= 200);
}

void TestMainWindow::devicesAndBranchesThroughMenus()
{
    start();
    LCLoop *const loop = project()->panel(1)->loop(0);
    const int count = loop->childCount();
    click(treeIndex(1, 0));
    QCOMPARE(treeMenu(), QStringList({"Add Device"}));
    clickCell(0, 0);
    QCOMPARE(gridMenu(), QStringList({"Add Device", "Delete Device"}));
    clickCell(3, 1);
    QVERIFY2(gridMenu().isEmpty(), "only the topology column has one");

    // a device added below the current row takes the loop's cable
    clickCell(3, 0);
    QCOMPARE(gridMenu(), QStringList({"Add Device", "Delete Device", "Set Branch"}));
    LCObject *const third = loop->child(3);
    LCObject *const fourth = loop->child(4);
    fromGridMenu("Add Device");
    QCOMPARE(loop->childCount(), count + 1);
    QCOMPARE(loop->child(5), fourth);
    QCOMPARE(gridRows({4}), QStringList({"Trunk|0|SmokeDetector|Standard-Base|1.0mm2-PH30"}));

    // a selected row deletes its device once; rows apart delete each
    clickRowHeader(4);
    fromGridMenu("Delete Device");
    QCOMPARE(loop->child(4), fourth);
    LCObject *const second = loop->child(2);
    clickRowHeader(1);
    clickRowHeader(3, Qt::ControlModifier);
    fromGridMenu("Delete Device");
    QCOMPARE(loop->childCount(), count - 2);
    QVERIFY(loop->indexOf(second) == 1 && loop->indexOf(third) == -1);

    // a branch with a relay folds under its first device; a click unfolds and folds it
    clickRowHeader(5);
    clickRowHeader(7, Qt::ShiftModifier);
    m_prompter.answers.enqueue(Answer::Yes);
    fromGridMenu("Set Branch");
    QCOMPARE(told(), QStringList({"Information|Do you want to set a relay"}));
    QCOMPARE(trucks(loop, 4, 5), QList<int>({0, 5, 5, 5, 0}));
    QVERIFY(loop->device(6)->isRelay());
    QVERIFY(!grid()->isRowHidden(5) && grid()->isRowHidden(6) && grid()->isRowHidden(7));
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), -1);
    clickCell(5, 0);
    QVERIFY(!grid()->isRowHidden(6) && !grid()->isRowHidden(7));
    clickCell(5, 0);
    QVERIFY(grid()->isRowHidden(7));

    // Set Trunk returns the whole branch, hidden rows too, and clears the relay
    QCOMPARE(gridMenu(), QStringList({"Add Device", "Delete Device", "Set Trunk"}));
    fromGridMenu("Set Trunk");
    QCOMPARE(trucks(loop, 4, 5), QList<int>({0, 0, 0, 0, 0}));
    QVERIFY(!loop->device(7)->isRelay() && !grid()->isRowHidden(7));

    // without the relay; never from the first device
    clickRowHeader(2);
    clickRowHeader(3, Qt::ShiftModifier);
    fromGridMenu("Set Branch");
    QVERIFY(!loop->device(3)->isRelay());
    told();
    clickCell(0, 0);
    clickCell(4, 0, Qt::ControlModifier);
    fromGridMenu("Set Branch");
    QCOMPARE(told(),
        QStringList({"Information|Do you want to set a relay",
            "Information|Can not set a relay from the 1st device"}));
    QCOMPARE(trucks(loop, 0, 5), QList<int>({0, 0, 2, 2, 0}));

    // a loop of 242 devices takes no more
    while (!loop->isFull()) {
        loop->insertChild(std::make_unique<LCDevice>(loop));
    }
    const QString fullLoop =
        QStringLiteral("(Add Device: The loop holds its maximum of 242 devices.)");
    QCOMPARE(treeMenu(), QStringList({fullLoop}));
    QCOMPARE(gridMenu(), QStringList({fullLoop, "Delete Device", "Set Branch"}));
}

void TestMainWindow::aboutBox()
{
    LCAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList texts;
    for (const QLabel *const label : dialog.findChildren<QLabel *>()) {
        texts << label->text();
        // nothing cut off, though the dialog has a fixed size
        QVERIFY(!label->wordWrap() || label->heightForWidth(label->width()) <= label->height());
    }
    // the program's own wording, naming no other maker
    QCOMPARE(texts.mid(0, 3), QStringList({QString(), "Mirel", "Ver 3.01"}));
    QVERIFY(texts.at(3).startsWith("Mirel is a great tool to help verify projects before"));
    QVERIFY(texts.at(3).contains("It is the Mirel team's intention to keep the product"));
    QCOMPARE(texts.at(4),
        "(c) the Mirel team. All rights reserved.\nProvided as is, without any warranty.");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Mirel"));
    QCOMPARE(dialog.size(), QSize(508, 262));
    QTest::mouseClick(dialog.findChild<QPushButton *>("okButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
