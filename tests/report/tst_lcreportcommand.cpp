#include "../app/scriptedprompter.h"
#include "recordingspreadsheet.h"
#include "xlsxsheet.h"

#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"
#include "report/lcreportcommand.h"
#include "report/lcreporttemplate.h"
#include "report/lcxlsxspreadsheet.h"

#include <QtTest>

namespace
{
using Key = XlsxSheet::Key;
using Type = XlsxSheet::Type;

const QDateTime kMoment(QDate(2026, 1, 2), QTime(3, 4, 5));
const QString kStamp = QStringLiteral("-Panel7-20260102-030405.xlsx");
constexpr int kPanelId = 7;
constexpr int kPanelType = 3;
const QString kPanelModel = QStringLiteral("Orvan-C30");

struct Expected {
    Type type;
    QString text;
    double number;
};

Expected text(const QString &value)
{
    return {Type::Text, value, 0.0};
}
Expected number(double value)
{
    return {Type::Number, QString(), value};
}

enum class Selected { Nothing, Project, Panel, LoopsItem, Loop1, Loop2, Loop4, Device };
} // namespace

Q_DECLARE_METATYPE(Selected)

class TestLCReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void gates_data();
    void gates();
    void loopSelected_data();
    void loopSelected();
    void textsSurvive();
    void longTextsFitTheirRows_data();
    void longTextsFitTheirRows();
    void automationOrder();
    void automationFailure_data();
    void automationFailure();
    void brokenTemplate_data();
    void brokenTemplate();
    void unwritableFolders();
    void neverOverwrites();

private:
    // A project with panel 7 of four loops: loop 2 fails with two suggestions, loop 4 fails
    // with none, loops 1 and 3 work. With calculated false no loop was ever calculated.
    void makeProject(bool calculated = true);
    LCObject *object(Selected selected);
    std::optional<QString> runReport(Selected selected, LCSpreadsheetAutomation &automation);
    std::optional<QString> runReport(Selected selected);
    // The workbook at path, read back; its filled cells must be exactly the template's texts and
    // expected.
    void compareWorkbook(const QString &path, const QMap<Key, Expected> &expected);
    // The header cells and, from row 12, each pair of rows as columns A and D.
    QMap<Key, Expected> reportCells(const QStringList &rows = {}) const;
    QStringList reportFiles() const;

    std::unique_ptr<QTemporaryDir> m_base;
    std::unique_ptr<QTemporaryDir> m_documents;
    ScriptedPrompter m_prompter;
    QStringList m_opened;
    LCProject *m_project = nullptr;
    LCController *m_panel = nullptr;
    QString m_projectName;
    QString m_description;
};

void TestLCReportCommand::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    m_documents = std::make_unique<QTemporaryDir>();
    QVERIFY(m_base->isValid() && m_documents->isValid());
    QVERIFY(QDir(m_base->path()).mkpath(QStringLiteral("Report")));
    QVERIFY(
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Report/Report.xlt"),
            m_base->filePath(QStringLiteral("Report/Report.xlt"))));
    LCDataStore::instance()->setBaseDirectory(m_base->path());
    m_prompter.shown.clear();
    m_opened.clear();
    m_projectName = QStringLiteral("Larchmere East");
    m_description = QStringLiteral("Ward block, 3 floors");
    makeProject();
}

void TestLCReportCommand::cleanup()
{
    LCDataStore::instance()->setProject(nullptr);
    LCDataStore::instance()->setBaseDirectory(QCoreApplication::applicationDirPath());
    m_project = nullptr;
    m_panel = nullptr;
}

void TestLCReportCommand::makeProject(bool calculated)
{
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, m_projectName);
    project->storeProperty(PropertyId::ProjectNote, m_description);
    auto panel = std::make_unique<LCController>(project.get());
    panel->storeProperty(PropertyId::Panelid, kPanelId);
    panel->storeProperty(PropertyId::PanelType, kPanelType);
    m_panel = panel.get();
    project->insertChild(std::move(panel));
    for (int id = 1; id <= 4; ++id) {
        auto loop = std::make_unique<LCLoop>(m_panel);
        loop->storeProperty(PropertyId::Loopid, id);
        loop->insertChild(std::make_unique<LCDevice>(loop.get()));
        LCLoop *const added = loop.get();
        m_panel->insertChild(std::move(loop));
        if (!calculated) {
            continue;
        }
        const bool fails = id == 2 || id == 4;
        added->storeProperty(
            PropertyId::LoopStatus, fails ? LoopStatusValue::Fails : LoopStatusValue::Works);
        if (id == 2) {
            added->storeProperty(PropertyId::ProblemText, QStringLiteral("Volt drop too high"));
            added->storeProperty(PropertyId::Suggestions,
                QVariantList{
                    QStringLiteral("Split the loop"), QStringLiteral("Use a thicker cable")});
        } else if (id == 4) {
            added->storeProperty(PropertyId::ProblemText, QStringLiteral("Loop current too high"));
        }
    }
    m_project = project.get();
    LCDataStore::instance()->setProject(std::move(project));
}

LCObject *TestLCReportCommand::object(Selected selected)
{
    const QMap<Selected, LCObject *> objects{{Selected::Nothing, nullptr},
        {Selected::Project, m_project}, {Selected::Panel, m_panel},
        {Selected::LoopsItem, m_panel->loopsNode()}, {Selected::Loop1, m_panel->findLoop(1)},
        {Selected::Loop2, m_panel->findLoop(2)}, {Selected::Loop4, m_panel->findLoop(4)},
        {Selected::Device, m_panel->findLoop(1)->device(0)}};
    return objects.value(selected);
}

std::optional<QString> TestLCReportCommand::runReport(
    Selected selected, LCSpreadsheetAutomation &automation)
{
    LCReportCommand command(
        m_prompter, automation, [this](const QString &path) { m_opened << path; });
    command.setFallbackFolder(m_documents->filePath(QStringLiteral("Documents")));
    command.setClock([] { return kMoment; });
    return command.run(nullptr, object(selected));
}

std::optional<QString> TestLCReportCommand::runReport(Selected selected)
{
    LCXlsxSpreadsheet spreadsheet;
    return runReport(selected, spreadsheet);
}

QMap<Key, Expected> TestLCReportCommand::reportCells(const QStringList &rows) const
{
    QMap<Key, Expected> cells{
        {{2, 7}, text(m_projectName)},
        {{4, 7}, text(m_description)},
        {{6, 7}, text(kPanelModel)},
        {{8, 7}, number(kPanelId)},
        {{10, 7}, number(4)},
    };
    for (int i = 0; i + 1 < rows.size(); i += 2) {
        cells.insert({12 + i / 2, 1}, text(rows.at(i)));
        cells.insert({12 + i / 2, 4}, text(rows.at(i + 1)));
    }
    return cells;
}

void TestLCReportCommand::compareWorkbook(const QString &path, const QMap<Key, Expected> &expected)
{
    QString error;
    const std::optional<XlsxSheet> sheet = XlsxSheet::read(path, &error);
    QVERIFY2(sheet, qPrintable(error));
    const std::optional<LCReportTemplate> layout =
        LCReportTemplate::read(LCReportCommand::templatePath(), &error);
    QVERIFY2(layout, qPrintable(error));
    QCOMPARE(sheet->sheetNames, QStringList{layout->sheetName()});

    QMap<Key, Expected> all;
    for (const LCReportTemplate::Cell &cell : layout->cells()) {
        if (!cell.text.isEmpty()) {
            all.insert({cell.row, cell.column}, text(cell.text));
        }
    }
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        all.insert(it.key(), it.value());
    }
    const QMap<Key, XlsxSheet::Cell> filled = sheet->filled();
    QCOMPARE(filled.keys(), all.keys());
    for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
        const XlsxSheet::Cell cell = filled.value(it.key());
        const QByteArray where =
            QByteArray::number(it.key().first) + ',' + QByteArray::number(it.key().second);
        QVERIFY2(cell.type == it->type, where.constData());
        if (it->type == Type::Text) {
            QCOMPARE(cell.text, it->text);
        } else {
            QCOMPARE(cell.number, it->number);
        }
    }
}

QStringList TestLCReportCommand::reportFiles() const
{
    QStringList files;
    for (const QString &folder : {m_base->filePath(QStringLiteral("Report")),
             m_documents->filePath(QStringLiteral("Documents"))}) {
        const QFileInfoList entries =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo &entry : entries) {
            if (entry.fileName() != QLatin1String("Report.xlt")) {
                files << entry.fileName();
            }
        }
    }
    return files;
}

void TestLCReportCommand::gates_data()
{
    QTest::addColumn<bool>("hasProject");
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<Selected>("selected");
    QTest::addColumn<QString>("shown");
    const QString noProblem =
        QStringLiteral("Infomation|No cabling problem be found on all loops!");
    QTest::newRow("no project") << false << true << Selected::Nothing
                                << "Information|No project found!";
    QTest::newRow("nothing selected")
        << true << true << Selected::Nothing
        << "Information|Please choose a controller or a loop to report!";
    QTest::newRow("panel never calculated") << true << false << Selected::Panel << noProblem;
    QTest::newRow("loop never calculated") << true << false << Selected::Loop2 << noProblem;
}

void TestLCReportCommand::gates()
{
    QFETCH(bool, hasProject);
    QFETCH(bool, calculated);
    QFETCH(Selected, selected);
    QFETCH(QString, shown);
    makeProject(calculated);
    LCObject *const current = object(selected);
    if (!hasProject) {
        LCDataStore::instance()->setProject(nullptr);
    }
    RecordingSpreadsheet spreadsheet;
    LCReportCommand command(
        m_prompter, spreadsheet, [this](const QString &path) { m_opened << path; });
    command.setFallbackFolder(m_documents->filePath(QStringLiteral("Documents")));
    QVERIFY(!command.run(nullptr, current));
    QCOMPARE(m_prompter.shown, QStringList{shown});
    QVERIFY(spreadsheet.calls.isEmpty());
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(reportFiles(), QStringList());
}

void TestLCReportCommand::loopSelected_data()
{
    QTest::addColumn<Selected>("selected");
    QTest::addColumn<QStringList>("rows"); // column A and D of each row from 12 on
    const QStringList loop2{"Loop2 Error", "Volt drop too high", "Loop2 Solution",
        "1. Split the loop", "Loop2 Solution", "2. Use a thicker cable"};
    const QStringList loop4{"Loop4 Error", "Loop current too high"};
    QTest::newRow("panel: failing loops 2 and 4") << Selected::Panel << loop2 + loop4;
    QTest::newRow("its Loops item: failing loops 2 and 4") << Selected::LoopsItem << loop2 + loop4;
    QTest::newRow("working loop 1, header only") << Selected::Loop1 << QStringList();
    QTest::newRow("failing loop 4 alone, no suggestion") << Selected::Loop4 << loop4;
    QTest::newRow("failing loop 2 alone, two suggestions") << Selected::Loop2 << loop2;
}

void TestLCReportCommand::loopSelected()
{
    QFETCH(Selected, selected);
    QFETCH(QStringList, rows);
    const std::optional<QString> path = runReport(selected);
    QVERIFY(path);
    QCOMPARE(*path, m_base->filePath(QStringLiteral("Report/Larchmere East") + kStamp));
    QCOMPARE(m_prompter.shown,
        QStringList{
            QStringLiteral("Information|Report complete!\n") + QDir::toNativeSeparators(*path)});
    QCOMPARE(m_opened, QStringList{*path});
    QCOMPARE(reportFiles(), QStringList{QFileInfo(*path).fileName()});
    compareWorkbook(*path, reportCells(rows));
}

void TestLCReportCommand::textsSurvive()
{
    m_projectName = QStringLiteral("Bürohaus & Söhne <Nord> \"West\" 'B' 100%2 東棟 🔥");
    m_description = QStringLiteral("  Zeile eins\nZeile <zwei> & \"drei\"  ");
    makeProject();
    const QString problem = QStringLiteral("Spannung < 17 V & Strom > 400 mA at \"Melder\" ü");
    const QString suggestion = QStringLiteral("=1+1 <b>not bold</b> &amp; _x0041_ 🔥");
    m_panel->findLoop(2)->storeProperty(PropertyId::ProblemText, problem);
    m_panel->findLoop(2)->storeProperty(PropertyId::Suggestions, QVariantList{suggestion});
    const std::optional<QString> path = runReport(Selected::Loop2);
    QVERIFY(path);
    QCOMPARE(QFileInfo(*path).fileName(),
        QStringLiteral("Bürohaus & Söhne _Nord_ _West_ 'B' 100%2 東棟 🔥") + kStamp);
    compareWorkbook(*path,
        reportCells(
            {"Loop2 Error", problem, "Loop2 Solution", QStringLiteral("1. ") + suggestion}));
}

void TestLCReportCommand::longTextsFitTheirRows_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("suggestion");
    QTest::addColumn<double>("descriptionHeight"); // row 4, in points
    QTest::addColumn<double>("suggestionHeight"); // row 13
    const QString shortText = QStringLiteral("Split the loop");
    const QString description = QStringLiteral("Ward block, 3 floors");
    QTest::newRow("short texts keep the default row") << description << shortText << 15.0 << 15.0;
    QTest::newRow("three lines, one of them a Windows line break")
        << QStringLiteral("Ward block\nEast wing\r\nWest wing") << shortText << 45.0 << 15.0;
    // "1. " and 125 characters, some 109 digits wide: two lines of the 70 wide column
    QTest::newRow("long suggestion")
        << description
        << QStringLiteral("Add one more loop card inside panel, split the original one loop to two "
                          "loops. OrAdd loop relay module at Location 12 device.")
        << 15.0 << 30.0;
    // 30 ideographs, two digits wide each, take two lines of the 36 wide column
    QTest::newRow("wide characters") << QString(30, QChar(0x6771)) << shortText << 30.0 << 15.0;
    // a 6,600 character description would take 180 lines or more
    QTest::newRow("very long description, capped at 20 lines")
        << QStringLiteral("Ward block with atrium, ").repeated(275) << shortText << 300.0 << 15.0;
}

void TestLCReportCommand::longTextsFitTheirRows()
{
    QFETCH(QString, description);
    QFETCH(QString, suggestion);
    QFETCH(double, descriptionHeight);
    QFETCH(double, suggestionHeight);
    m_description = description;
    makeProject();
    m_panel->findLoop(2)->storeProperty(PropertyId::Suggestions, QVariantList{suggestion});
    const std::optional<QString> path = runReport(Selected::Loop2);
    QVERIFY(path);
    // the texts stay where they were
    compareWorkbook(*path,
        reportCells({"Loop2 Error", "Volt drop too high", "Loop2 Solution",
            QStringLiteral("1. ") + suggestion}));
    QString error;
    const std::optional<XlsxSheet> sheet = XlsxSheet::read(*path, &error);
    QVERIFY2(sheet, qPrintable(error));
    QCOMPARE(sheet->rowHeights.value(4, 15.0), descriptionHeight);
    QCOMPARE(sheet->rowHeights.value(13, 15.0), suggestionHeight);
    QVERIFY(sheet->wrappingStyles.contains(sheet->cells.value({4, 7}).style));
    QVERIFY(sheet->wrappingStyles.contains(sheet->cells.value({13, 4}).style));
}

void TestLCReportCommand::automationOrder()
{
    RecordingSpreadsheet spreadsheet;
    const std::optional<QString> path = runReport(Selected::Loop4, spreadsheet);
    QVERIFY(path);
    const QString templatePath = m_base->filePath(QStringLiteral("Report/Report.xlt"));
    const QStringList expected{
        "createApplication Excel.Application",
        "setProperty #1 Visible = bool:true",
        "setProperty #1 Caption = QString:Invoke Microsoft Excel",
        "querySubObject #1 WorkBooks ()",
        "dynamicCall #2 Open (const QString&) (QString:" + templatePath + ")",
        "querySubObject #1 ActiveWorkBook ()",
        "querySubObject #3 Worksheets(int) (int:1)",
        "querySubObject #4 Cells(int,int) (int:2, int:7)",
        "setProperty #5 Value = QString:Larchmere East",
        "querySubObject #4 Cells(int,int) (int:4, int:7)",
        "setProperty #6 Value = QString:Ward block, 3 floors",
        "querySubObject #4 Cells(int,int) (int:6, int:7)",
        "setProperty #7 Value = QString:Orvan-C30",
        "querySubObject #4 Cells(int,int) (int:8, int:7)",
        "setProperty #8 Value = int:7",
        "querySubObject #4 Cells(int,int) (int:10, int:7)",
        "setProperty #9 Value = int:4",
        "querySubObject #4 Cells(int,int) (int:12, int:1)",
        "setProperty #10 Value = QString:Loop4 Error",
        "querySubObject #4 Cells(int,int) (int:12, int:4)",
        "setProperty #11 Value = QString:Loop current too high",
        "saveCopy #3 " + *path,
        "release #1",
    };
    QCOMPARE(spreadsheet.calls, expected);
    QCOMPARE(m_opened, QStringList{*path});
    // the recording spreadsheet writes nothing
    QCOMPARE(reportFiles(), QStringList());
}

void TestLCReportCommand::automationFailure_data()
{
    QTest::addColumn<int>("failAt");
    QTest::addColumn<QString>("message");
    const QString notStarted = QStringLiteral("The spreadsheet could not be started: ");
    const QString noTemplate = QStringLiteral("The report template could not be opened: ");
    const QString notFilled = QStringLiteral("The report could not be filled in: ");
    QTest::newRow("application") << 0 << notStarted;
    QTest::newRow("Caption") << 2 << notStarted;
    QTest::newRow("Open") << 4 << noTemplate;
    QTest::newRow("Worksheets") << 6 << noTemplate;
    QTest::newRow("first cell") << 7 << notFilled;
    QTest::newRow("last value") << 20 << notFilled;
    QTest::newRow("saving the copy") << 21 << QStringLiteral("The report could not be written: ");
}

void TestLCReportCommand::automationFailure()
{
    QFETCH(int, failAt);
    QFETCH(QString, message);
    RecordingSpreadsheet spreadsheet;
    spreadsheet.failAt = failAt;
    QVERIFY(!runReport(Selected::Loop4, spreadsheet));
    QCOMPARE(m_prompter.shown, QStringList{"Error|" + message + "scripted failure"});
    // nothing is asked after the failing call but to let go of the application
    QCOMPARE(spreadsheet.calls.size(), failAt == 0 ? 1 : failAt + 2);
    if (failAt > 0) {
        QCOMPARE(spreadsheet.calls.last(), QStringLiteral("release #1"));
    }
    QVERIFY(m_opened.isEmpty());
}

void TestLCReportCommand::brokenTemplate_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no template at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << "No such file or directory";
    QTest::newRow("misspelt format") << QByteArray(
        "<ReportTemplate sheet=\"R\">\n<Cell row=\"1\" column=\"1\" format=\"x\"/>\n"
        "</ReportTemplate>") << "line 2: no format named x";
}

void TestLCReportCommand::brokenTemplate()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString templatePath = m_base->filePath(QStringLiteral("Report/Report.xlt"));
    QVERIFY(QFile::remove(templatePath));
    if (!content.isEmpty()) {
        QFile file(templatePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
    }
    QVERIFY(!runReport(Selected::Panel));
    QCOMPARE(m_prompter.shown.size(), 1);
    const QString shown = m_prompter.shown.first();
    QVERIFY2(shown.startsWith(
                 QStringLiteral("Error|The report template could not be opened: ") + templatePath),
        qPrintable(shown));
    QVERIFY2(shown.contains(reason), qPrintable(shown));
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(reportFiles(), QStringList());
}

void TestLCReportCommand::unwritableFolders()
{
    const QString blocker = m_base->filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    LCDataStore::instance()->setBaseDirectory(blocker + QStringLiteral("/program"));
    LCXlsxSpreadsheet spreadsheet;
    LCReportCommand command(
        m_prompter, spreadsheet, [this](const QString &path) { m_opened << path; });
    command.setFallbackFolder(blocker + QStringLiteral("/Documents"));
    QVERIFY(!command.run(nullptr, m_panel));
    QCOMPARE(m_prompter.shown,
        QStringList{
            QStringLiteral("Error|The report could not be written: no file can be created in "
                           "%1/program/Report or in %1/Documents.")
                .arg(QDir::toNativeSeparators(blocker))});
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(QDir(m_base->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList{"blocker", "Report"}));
    QCOMPARE(reportFiles(), QStringList());
}

void TestLCReportCommand::neverOverwrites()
{
    const std::optional<QString> first = runReport(Selected::Panel);
    QVERIFY(first);
    QFile firstFile(*first);
    QVERIFY(firstFile.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = firstFile.readAll();
    firstFile.close();

    m_panel->findLoop(4)->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
    const std::optional<QString> second = runReport(Selected::Panel);
    QVERIFY(second);
    QCOMPARE(QFileInfo(*second).fileName(),
        QStringLiteral("Larchmere East-Panel7-20260102-030405-2.xlsx"));
    QVERIFY(firstFile.open(QIODevice::ReadOnly));
    QCOMPARE(firstFile.readAll(), firstBytes);
    compareWorkbook(*second,
        reportCells({"Loop2 Error", "Volt drop too high", "Loop2 Solution", "1. Split the loop",
            "Loop2 Solution", "2. Use a thicker cable"}));
}

QTEST_GUILESS_MAIN(TestLCReportCommand)
#include "tst_lcreportcommand.moc"
