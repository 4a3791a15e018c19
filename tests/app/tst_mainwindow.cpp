#include "mainwindowfixture.h"

#include "grids/lcdevicemodel.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QComboBox>
#include <QDate>

namespace
{
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

class TestMainWindow : public QObject, private MainWindowFixture
{
    Q_OBJECT

private slots:
    void init() { setUpFiles(); }
    void cleanup() { tearDown(); }
    void startsWithTheWorkingProject();
    void configLoadFailure();
    void calculatePanel();
    void calculateLoop();
    void blankPanelAndLoop();
    void deviceGridEditing();
    void saveFailureKeepsFlags();
    void closeQuestion();
    void openFailureKeepsProject();
    void saveWritesTheProjectsOwnFile();
    void reportFromCalculateAndButton();
};

void TestMainWindow::startsWithTheWorkingProject()
{
    start();
    QVERIFY(m_window->isConfigLoaded());
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("config.xml[*] - Mirel"));
    QVERIFY(!m_window->isWindowModified());
    const QStringList texts = {"New", "Open", "Save", "Save as", "Report", "Define", "Calculate",
        "Battery", "About", "Exit"};
    const QList<QToolButton *> buttons =
        m_window->findChildren<QToolButton *>(QRegularExpression("Button$"));
    QStringList shownTexts;
    for (QToolButton *toolButton : buttons) {
        shownTexts << toolButton->text();
        QVERIFY2(!toolButton->icon().isNull(), qPrintable(toolButton->text()));
    }
    QCOMPARE(shownTexts, texts);
    QVERIFY(!button("reportButton")->isEnabled());
    QVERIFY(!button("calculateButton")->isEnabled());
    QVERIFY(!button("batteryButton")->isEnabled());
    QVERIFY(button("defineButton")->isEnabled());
    QVERIFY(!dock()->isVisible());

    const QAbstractItemModel *model = tree()->model();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Larchmere Hospital East Wing"));
    QCOMPARE(model->rowCount(treeIndex()), 2);
    QCOMPARE(treeIndex(0).data().toString(), QStringLiteral("1-Orvan-D50"));
    QCOMPARE(treeIndex(1).data().toString(), QStringLiteral("2-Orvan-B20"));
    QCOMPARE(model->index(0, 0, treeIndex(0)).data().toString(), QStringLiteral("Loops"));
    QCOMPARE(treeIndex(0, 3).data().toString(), QStringLiteral("Loop4"));
    QVERIFY(!treeIndex(0, 3).data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!treeIndex(0, 3).data(Qt::BackgroundRole).isValid());
}

void TestMainWindow::configLoadFailure()
{
    QFile::remove(m_dir->filePath("config/default.xml"));
    QFile::remove(m_dir->filePath("config/config.xml"));
    start();
    QVERIFY(!m_window->isConfigLoaded());
    QCOMPARE(m_prompter.shown, QStringList({"Error|Config file load failed!"}));
}

void TestMainWindow::calculatePanel()
{
    start();
    click(treeIndex(0));
    QVERIFY(button("calculateButton")->isEnabled());
    QVERIFY(button("batteryButton")->isEnabled());
    QVERIFY(button("reportButton")->isEnabled());
    m_window->slotCalc();
    QCOMPARE(m_prompter.shown, QStringList({"Information|Do you want to create a report?"}));
    const LCController *panel = project()->panel(0);
    const QString summary = panel->property(PropertyId::ResultText).toString();
    QVERIFY(summary.startsWith(QStringLiteral("Loop 4 may not work well.\nLoop1 result:\n")));
    // why loop 4 fails and what to do follow the summary
    QVERIFY(pane()->toPlainText().startsWith(summary));
    const QString problems = pane()->toPlainText().mid(summary.size());
    QVERIFY2(problems.startsWith(QStringLiteral("Loop4 Error: Volt lost too large.\n1. ")),
        qPrintable(problems));
    QVERIFY(dock()->isVisible());
    QCOMPARE(project()->property(PropertyId::Date).toString(),
        QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(LCDataStore::instance()->projectChanged());
    QCOMPARE(treeIndex(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::green));
    QCOMPARE(treeIndex(0, 3).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::yellow));
    QVERIFY2(!treeIndex(1, 0).data(Qt::BackgroundRole).isValid(), "the other panel is untouched");
    QVERIFY(tree()->isExpanded(treeIndex(0)));

    // through the panel's "Loops" item the same happens; with the dock open, a click shows the
    // clicked object's result
    m_prompter.shown.clear();
    click(tree()->model()->index(0, 0, treeIndex(1)));
    QVERIFY(!button("batteryButton")->isEnabled());
    QVERIFY(button("calculateButton")->isEnabled());
    QCOMPARE(pane()->toPlainText(), QString());
    m_window->slotCalc();
    QVERIFY(m_prompter.shown.isEmpty());
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("Loop 1 2 can work well!\n")));
    click(treeIndex(0, 3));
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("Sorry, Loop 4 may not work well.")));
    click(treeIndex());
    QVERIFY(!button("calculateButton")->isEnabled());
    QVERIFY(!button("reportButton")->isEnabled());
}

void TestMainWindow::calculateLoop()
{
    start();
    click(treeIndex(1, 0));
    QVERIFY(!button("batteryButton")->isEnabled());
    m_window->slotCalc();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(pane()->toPlainText(),
        QStringLiteral("Devices of this loop can work well!\n"
                       "Volt Drop : 0.47V\n"
                       "Maximum Volt Drop : 8.00V\n"
                       "Total standby current : 16.65mA\n"
                       "Total alarm current : 74.60mA"));
    QCOMPARE(treeIndex(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::green));

    click(treeIndex(0, 3));
    m_window->slotCalc();
    QCOMPARE(m_prompter.shown, QStringList({"Information|Do you want to create a report"}));
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("Sorry, Loop 4 may not work well.\n")));
    QVERIFY(pane()->toPlainText().contains(QStringLiteral("mA\n\nVolt lost too large.\n1. ")));
    // the failed devices are marked in the grid
    QAbstractItemModel *devices = grid()->model();
    QCOMPARE(
        devices->index(35, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::yellow));

    // an edit makes the result stale at once: the pane no longer says how the loop did
    QVERIFY(devices->setData(devices->index(35, 1), 1));
    QCOMPARE(pane()->toPlainText(),
        QStringLiteral("Loop4 changed since the last calculation: calculate again to see the "
                       "result."));
    click(treeIndex(1, 0));
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("Devices of this loop can work")));

    // a type the library lacks is named in the grid and in the result
    project()->panel(1)->loop(1)->device(1)->storeProperty(PropertyId::deviceTypeid, 28);
    click(treeIndex(1, 1));
    QCOMPARE(grid()->model()->index(1, 2).data().toString(), QStringLiteral("Unknown type 28"));
    m_window->slotCalc();
    QVERIFY2(pane()->toPlainText().endsWith(QStringLiteral(
                 "mA\n\nLoop2: the device of unknown type 28 at location 2 counts as drawing no "
                 "current.")),
        qPrintable(pane()->toPlainText()));
}

void TestMainWindow::blankPanelAndLoop()
{
    start();
    auto panel = std::make_unique<LCController>(project());
    panel->storeProperty(PropertyId::Panelid, 3);
    panel->storeProperty(PropertyId::PanelType, 1);
    LCController *const blank = panel.get();
    project()->insertChild(std::move(panel));
    m_window->resetViews();
    click(treeIndex(2));
    m_window->slotCalc();
    QCOMPARE(m_prompter.shown, QStringList({"Information|All the loop is blank"}));
    QCOMPARE(pane()->toPlainText(), QString());
    QVERIFY(dock()->isVisible());

    auto loop = std::make_unique<LCLoop>(blank);
    loop->storeProperty(PropertyId::Loopid, 2);
    blank->insertChild(std::move(loop));
    project()->setProperty(PropertyId::Date, QStringLiteral("2020-01-01"));
    m_window->resetViews();
    click(treeIndex(2, 0));
    m_prompter.shown.clear();
    m_window->slotCalc();
    QCOMPARE(m_prompter.shown, QStringList({"Information|Loop2 is blank!"}));
    QCOMPARE(project()->property(PropertyId::Date).toString(), QStringLiteral("2020-01-01"));
}

void TestMainWindow::deviceGridEditing()
{
    start();
    click(treeIndex(1, 0));
    m_window->slotCalc();
    LCLoop *const loop = project()->panel(1)->loop(0);
    QAbstractItemModel *model = grid()->model();
    QVERIFY(qobject_cast<LCDeviceModel *>(model));
    QCOMPARE(model->rowCount(), loop->childCount());
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(),
        QStringLiteral("Cable from Previous Device (m)"));

    // one length edited: the loop's results are stale and the tree loses the colour
    QVERIFY(model->setData(model->index(0, 1), 25, Qt::EditRole));
    QCOMPARE(loop->device(0)->pos(), 25.0f);
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), -1);
    QVERIFY(!treeIndex(1, 0).data(Qt::BackgroundRole).isValid());

    // a cable type chosen once is written into every selected cell of the column
    const int rows = 10;
    grid()->selectionModel()->select(QItemSelection(model->index(0, 4), model->index(rows - 1, 4)),
        QItemSelectionModel::ClearAndSelect);
    auto *cableDelegate = qobject_cast<QAbstractItemDelegate *>(grid()->itemDelegateForColumn(4));
    QVERIFY(cableDelegate);
    QStyleOptionViewItem option;
    std::unique_ptr<QWidget> editor(
        cableDelegate->createEditor(grid()->viewport(), option, model->index(rows - 1, 4)));
    auto *combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    const QString cable = LCDataStore::instance()->wireTypes().value(3).Name;
    combo->setCurrentText(cable);
    cableDelegate->setModelData(combo, model, model->index(rows - 1, 4));
    for (int row = 0; row < rows; ++row) {
        QCOMPARE(loop->device(row)->cableType(), 3);
    }
    QCOMPARE(loop->device(rows)->cableType(), 2);
    QCOMPARE(model->index(0, 4).data().toString(), cable);

    // the sub type editor offers the sub types of that row's device type
    auto *subTypeDelegate = grid()->itemDelegateForColumn(3);
    int zoneRow = -1;
    for (int row = 0; row < loop->childCount() && zoneRow < 0; ++row) {
        if (loop->device(row)->deviceTypeId() == 10) {
            zoneRow = row;
        }
    }
    QVERIFY2(zoneRow >= 0, "the sample loop has an input module");
    editor.reset(
        subTypeDelegate->createEditor(grid()->viewport(), option, model->index(zoneRow, 3)));
    combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    QStringList offered;
    for (int i = 0; i < combo->count(); ++i) {
        offered << combo->itemText(i);
    }
    QCOMPARE(offered, QStringList({"Enclosure", "DIN-Rail"}));
    editor.reset(subTypeDelegate->createEditor(grid()->viewport(), option, model->index(0, 3)));
    combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    QCOMPARE(combo->count(),
        LCDataStore::instance()
            ->deviceTypes()
            .value(loop->device(0)->deviceTypeId())
            .SubType.size());
    QVERIFY(!combo->itemIcon(0).isNull());

    // a new device type brings its default sub type
    grid()->selectionModel()->select(model->index(zoneRow, 2), QItemSelectionModel::ClearAndSelect);
    auto *typeDelegate = grid()->itemDelegateForColumn(2);
    editor.reset(typeDelegate->createEditor(grid()->viewport(), option, model->index(zoneRow, 2)));
    combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    combo->setCurrentText(QStringLiteral("Sounder"));
    typeDelegate->setModelData(combo, model, model->index(zoneRow, 2));
    QCOMPARE(loop->device(zoneRow)->deviceTypeId(), 15);
    QCOMPARE(model->index(zoneRow, 3).data().toString(), QStringLiteral("Red-Body"));
}

void TestMainWindow::saveFailureKeepsFlags()
{
    start();
    project()->setProperty(PropertyId::Name, QStringLiteral("Renamed"));
    // the working file's folder becomes a plain file: nothing can be written below it
    QVERIFY(QDir(m_dir->filePath("config")).removeRecursively());
    QFile blocker(m_dir->filePath("config"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_window->slotSave();
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY2(m_prompter.shown.first().startsWith(
                 QStringLiteral("Error|The project could not be saved to %1: ")
                     .arg(QDir::toNativeSeparators(m_dir->filePath("config/config.xml")))),
        qPrintable(m_prompter.shown.first()));
    QVERIFY(LCDataStore::instance()->projectChanged());

    // Save as into a folder fails the same way; into a file it succeeds and says so
    m_prompter.shown.clear();
    QVERIFY(QDir().mkpath(m_dir->filePath("folder.xml")));
    m_prompter.files.enqueue(m_dir->filePath("folder.xml"));
    m_window->slotSaveAs();
    QCOMPARE(m_prompter.shown.size(), 2);
    QVERIFY(m_prompter.shown.last().startsWith(QStringLiteral("Error|")));
    QVERIFY(LCDataStore::instance()->projectChanged());
    m_prompter.shown.clear();
    m_prompter.files.enqueue(m_dir->filePath("copy.xml"));
    m_window->slotSaveAs();
    QCOMPARE(m_prompter.shown,
        QStringList({"Save as...|XML Files (*.xml)", "Infomation|Save Sucessful!"}));
    QVERIFY(!LCDataStore::instance()->projectChanged());
    QVERIFY(QFile(m_dir->filePath("copy.xml")).size() > 0);
}

void TestMainWindow::closeQuestion()
{
    start();
    // nothing changed: no question
    QVERIFY(m_window->close());
    QVERIFY(m_prompter.shown.isEmpty());

    // Cancel (or Escape) at Exit, New and Open keeps everything as it was
    start();
    project()->setProperty(PropertyId::Name, QStringLiteral("Edited"));
    bool dialogRun = false;
    m_prompter.dialogHandler = [&dialogRun](QDialog &) {
        dialogRun = true;
        return int(QDialog::Rejected);
    };
    m_prompter.answers << LCPrompter::Answer::Cancel << LCPrompter::Answer::Cancel
                       << LCPrompter::Answer::Cancel;
    QVERIFY(!m_window->close());
    m_window->slotNew();
    m_window->slotOpen();
    const QString question = QStringLiteral("Information|Do you want to save the change?");
    QCOMPARE(m_prompter.shown, QStringList({question, question, question}));
    QVERIFY(!dialogRun);
    QCOMPARE(project()->property(PropertyId::Name).toString(), QStringLiteral("Edited"));
    QVERIFY(m_window->isWindowModified());
    m_prompter.answers.enqueue(LCPrompter::Answer::No);
    QVERIFY(m_window->close());

    m_prompter.shown.clear();
    start();
    project()->setProperty(PropertyId::Name, QStringLiteral("Renamed"));
    QVERIFY(QFile::remove(m_dir->filePath("config/config.xml")));
    QVERIFY(QDir().mkpath(m_dir->filePath("config/config.xml")));
    // Yes with a save that fails keeps the window open
    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    QVERIFY(!m_window->close());
    QCOMPARE(
        m_prompter.shown.first(), QStringLiteral("Information|Do you want to save the change?"));
    QVERIFY(m_prompter.shown.last().startsWith(QStringLiteral("Error|")));
    QVERIFY(m_window->isVisible());
    // No lets it go
    m_prompter.answers.enqueue(LCPrompter::Answer::No);
    QVERIFY(m_window->close());

    // Yes with a save that works writes the working file
    QVERIFY(QDir(m_dir->filePath("config/config.xml")).removeRecursively());
    start();
    project()->setProperty(PropertyId::Name, QStringLiteral("Saved name"));
    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    QVERIFY(m_window->close());
    QFile saved(m_dir->filePath("config/config.xml"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("name=\"Saved name\""));
}

void TestMainWindow::openFailureKeepsProject()
{
    start();
    LCProject *const before = project();
    QVERIFY(!LCDataStore::instance()->anyChanged());
    const QString broken = m_dir->filePath("broken.xml");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<Project><Panel>");
    file.close();
    m_prompter.files.enqueue(broken);
    m_window->slotOpen();
    QCOMPARE(m_prompter.shown,
        QStringList(
            {"Open a Project|XBEL Files (*.xbel *.xml)", "Infomation|Open project failed!"}));
    QCOMPARE(project(), before);
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Larchmere Hospital East Wing"));
    QVERIFY2(!LCDataStore::instance()->anyChanged(), "a file not read changes nothing");
    QVERIFY(!m_window->isWindowModified());

    // with unsaved changes the user is asked first; a failed save cancels the command
    project()->setProperty(PropertyId::Name, QStringLiteral("Edited"));
    QVERIFY(QFile::remove(m_dir->filePath("config/config.xml")));
    QVERIFY(QDir().mkpath(m_dir->filePath("config/config.xml")));
    m_prompter.shown.clear();
    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    m_prompter.files.enqueue(samplePath());
    m_window->slotOpen();
    QCOMPARE(m_prompter.shown.size(), 2);
    QCOMPARE(
        m_prompter.shown.first(), QStringLiteral("Information|Do you want to save the change?"));
    QCOMPARE(project(), before);

    // No goes on and opens the file
    m_prompter.answers.enqueue(LCPrompter::Answer::No);
    m_window->slotOpen();
    QVERIFY(project() != before);
    QCOMPARE(treeIndex().data().toString(), QStringLiteral("Larchmere Hospital East Wing"));
    QVERIFY(!LCDataStore::instance()->anyChanged());
}

void TestMainWindow::reportFromCalculateAndButton()
{
    start();
    // never calculated: nothing to report, no file
    click(treeIndex(1, 0));
    m_window->slotReport();
    QCOMPARE(
        m_prompter.shown, QStringList({"Infomation|No cabling problem be found on all loops!"}));
    QVERIFY(m_prompter.opened.isEmpty());

    // Yes to the question after calculating writes the workbook and opens it
    m_prompter.shown.clear();
    click(treeIndex(0));
    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    m_window->slotCalc();
    QCOMPARE(m_prompter.opened.size(), 1);
    const QString report = m_prompter.opened.first();
    QVERIFY2(report.startsWith(m_dir->filePath("Report/")), qPrintable(report));
    QVERIFY(report.endsWith(QStringLiteral(".xlsx")));
    QVERIFY(QFile(report).size() > 0);
    QCOMPARE(m_prompter.shown.size(), 2);
    QVERIFY(m_prompter.shown.last().startsWith(QStringLiteral("Information|Report complete!")));
    QVERIFY(m_prompter.shown.last().contains(QFileInfo(report).fileName()));
    // the result pane is filled after the report
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("Loop 4 may not work well.")));

    // the Report button on a working loop of that panel makes a new workbook beside it
    click(treeIndex(0, 0));
    m_window->slotReport();
    QCOMPARE(m_prompter.opened.size(), 2);
    QVERIFY(m_prompter.opened.last() != report);
    QVERIFY(QFile::exists(report));

    // a desktop without a spreadsheet program: the user learns where the report is
    m_prompter.openFails = true;
    m_window->slotReport();
    QVERIFY(m_prompter.shown.contains(
        QStringLiteral("Information|The report was written to %1, but no program to open it was "
                       "found.")
            .arg(QDir::toNativeSeparators(m_prompter.opened.last()))));
}

void TestMainWindow::saveWritesTheProjectsOwnFile()
{
    start();
    const QString working = m_dir->filePath("config/config.xml");
    const QByteArray workingBefore = readAll(working);
    // a project from elsewhere, whose library calls the smoke detector otherwise
    const QString riverside = m_dir->filePath("riverside.xml");
    QVERIFY(writeAll(riverside,
        readAll(samplePath()).replace("Name=\"SmokeDetector\"", "Name=\"OpticalSmoke\"")));
    m_prompter.files.enqueue(riverside);
    m_window->slotOpen();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("riverside.xml[*] - Mirel"));
    QVERIFY(!m_window->isWindowModified());
    click(treeIndex(0, 0));
    QAbstractItemDelegate *const typeEditor = grid()->itemDelegateForColumn(2);
    std::unique_ptr<QWidget> editor(
        typeEditor->createEditor(grid()->viewport(), {}, grid()->model()->index(0, 2)));
    auto *const combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    QCOMPARE(combo->findText(QStringLiteral("OpticalSmoke")), 0);
    QCOMPARE(combo->findText(QStringLiteral("SmokeDetector")), -1);

    // a sub type chosen is saved to the opened file, and read back from it
    const LCDataStore *const store = LCDataStore::instance();
    const int chosen = store->deviceTypes()
                           .value(project()->panel(0)->loop(0)->device(0)->deviceTypeId())
                           .SubType.last();
    const QString subType = store->subTypes().value(chosen).name;
    QVERIFY(grid()->model()->setData(grid()->model()->index(0, 3), subType));
    QVERIFY(m_window->isWindowModified());
    m_prompter.shown.clear();
    m_window->slotSave();
    QCOMPARE(m_prompter.shown, QStringList({"Infomation|Save Sucessful!"}));
    QVERIFY(!m_window->isWindowModified());
    QCOMPARE(readAll(working), workingBefore);
    m_prompter.files.enqueue(riverside);
    m_window->slotOpen();
    QCOMPARE(
        project()->panel(0)->loop(0)->device(0)->property(PropertyId::SubType).toInt(), chosen);

    // Save as a name without suffix adds ".xml", and the file becomes Save's target
    m_prompter.files.enqueue(m_dir->filePath("copy"));
    m_window->slotSaveAs();
    const QString copy = m_dir->filePath("copy.xml");
    QVERIFY(QFile::exists(copy));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("copy.xml[*] - Mirel"));
    project()->setProperty(PropertyId::Name, QStringLiteral("Copied"));
    m_window->slotSave();
    QVERIFY(readAll(copy).contains("name=\"Copied\""));
    QVERIFY(!readAll(riverside).contains("Copied"));
    // the file dialog asked about "copy", so replacing copy.xml is asked here
    m_prompter.shown.clear();
    m_prompter.files.enqueue(m_dir->filePath("copy"));
    m_prompter.answers.enqueue(LCPrompter::Answer::No);
    project()->setProperty(PropertyId::Name, QStringLiteral("Not saved"));
    m_window->slotSaveAs();
    QCOMPARE(m_prompter.shown.last(),
        QStringLiteral("Information|%1 already exists.\nDo you want to replace it?")
            .arg(QDir::toNativeSeparators(copy)));
    QVERIFY(readAll(copy).contains("name=\"Copied\""));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
