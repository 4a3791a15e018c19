#include "../app/scriptedprompter.h"
#include "xlsxsheet.h"

#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"
#include "report/lcreportcommand.h"
#include "report/lcreportdestination.h"
#include "report/lcreporttemplate.h"
#include "report/lcxlsxspreadsheet.h"

#include <QtTest>

namespace
{
const QDateTime kMoment(QDate(2026, 1, 2), QTime(3, 4, 5));
const QString kFileName = QStringLiteral("Larchmere East-Panel7-20260102-030405.xlsx");
const QString kDescription = QStringLiteral("Ward block, 3 floors");
const QString kSuggestion = QStringLiteral("Split the loop");

enum class Selected { Nothing, Panel, LoopsItem, Loop1, Loop2, Loop4, Device };

// Stands in for Excel: records the members called, hands out objects, and fails the call at
// position failAt (from 0).
class RecordingSpreadsheet : public LCSpreadsheetAutomation
{
public:
    Object createApplication(const QString &) override { return record() ? calls : kNoObject; }
    bool setProperty(Object, const QString &, const QVariant &) override { return record(); }
    Object querySubObject(Object, const QString &, const QVariantList &) override
    {
        return record() ? calls : kNoObject;
    }
    bool dynamicCall(Object, const QString &, const QVariantList &) override { return record(); }
    bool saveCopy(Object, const QString &) override { return record(); }
    void release(Object) override { ++released; }
    QString errorString() const override { return QStringLiteral("scripted failure"); }
    bool record() { return calls++ != failAt; }

    int calls = 0;
    int failAt = -1;
    int released = 0;
};
} // namespace

Q_DECLARE_METATYPE(Selected)

class TestLCReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void failures_data();
    void failures();
    void workbooks_data();
    void workbooks();
    void secondReportBesideFirst();
    void safeFileNamePart_data();
    void safeFileNamePart();
    void templateRefused_data();
    void templateRefused();
    void spreadsheetRefuses();

private:
    // Panel 7 of four loops: loop 2 fails with two suggestions, loop 4 with none, loops 1 and
    // 3 work; with calculated false no loop was ever calculated.
    void makeProject(bool calculated = true);
    std::optional<QString> run(Selected selected, LCSpreadsheetAutomation &spreadsheet);
    QStringList reportFiles() const;

    std::unique_ptr<QTemporaryDir> m_base;
    ScriptedPrompter m_prompter;
    QStringList m_opened;
    LCProject *m_project = nullptr;
    LCController *m_panel = nullptr;
    QString m_description;
    QString m_suggestion;
};

void TestLCReportCommand::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_base->path()).mkpath(QStringLiteral("Report")));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/Report/Report.xlt",
        m_base->filePath(QStringLiteral("Report/Report.xlt"))));
    LCDataStore::instance()->setPaths(LCPaths(m_base->path(), {}));
    m_prompter.shown.clear();
    m_opened.clear();
    m_description = kDescription;
    m_suggestion = kSuggestion;
    makeProject();
}

void TestLCReportCommand::cleanup()
{
    LCDataStore::instance()->setProject(nullptr);
    LCDataStore::instance()->setPaths(LCPaths::ofProgram());
}

void TestLCReportCommand::makeProject(bool calculated)
{
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, QStringLiteral("Larchmere East"));
    project->storeProperty(PropertyId::ProjectNote, m_description);
    auto panel = std::make_unique<LCController>(project.get());
    panel->storeProperty(PropertyId::Panelid, 7);
    panel->storeProperty(PropertyId::PanelType, 3);
    m_panel = panel.get();
    project->insertChild(std::move(panel));
    for (int id = 1; id <= 4; ++id) {
        auto loop = std::make_unique<LCLoop>(m_panel);
        loop->storeProperty(PropertyId::Loopid, id);
        loop->insertChild(std::make_unique<LCDevice>(loop.get()));
        if (calculated) {
            const bool fails = id == 2 || id == 4;
            loop->storeProperty(
                PropertyId::LoopStatus, fails ? LoopStatusValue::Fails : LoopStatusValue::Works);
        }
        m_panel->insertChild(std::move(loop));
    }
    m_panel->loop(1)->storeProperty(PropertyId::ProblemText, QStringLiteral("Volt drop too high"));
    m_panel->loop(1)->storeProperty(
        PropertyId::Suggestions, QVariantList{m_suggestion, QStringLiteral("Use a thicker cable")});
    m_panel->loop(3)->storeProperty(PropertyId::ProblemText, QStringLiteral("Current too high"));
    m_project = project.get();
    LCDataStore::instance()->setProject(std::move(project));
}

std::optional<QString> TestLCReportCommand::run(
    Selected selected, LCSpreadsheetAutomation &spreadsheet)
{
    QMap<Selected, LCObject *> objects;
    if (m_panel) {
        LCObject *const loop1 = m_panel->loop(0);
        objects = {{Selected::Panel, m_panel}, {Selected::LoopsItem, m_panel->loopsNode()},
            {Selected::Loop1, loop1}, {Selected::Loop2, m_panel->loop(1)},
            {Selected::Loop4, m_panel->loop(3)}, {Selected::Device, loop1->child(0)}};
    }
    LCReportCommand command(
        m_prompter, spreadsheet, [this](const QString &path) { m_opened << path; });
    command.setFallbackFolder(m_base->filePath(QStringLiteral("Documents")));
    command.setClock([] { return kMoment; });
    return command.run(nullptr, objects.value(selected));
}

QStringList TestLCReportCommand::reportFiles() const
{
    QStringList files = QDir(m_base->filePath(QStringLiteral("Report"))).entryList(QDir::Files);
    files.removeOne(QStringLiteral("Report.xlt"));
    return files + QDir(m_base->filePath(QStringLiteral("Documents"))).entryList(QDir::Files);
}

void TestLCReportCommand::failures_data()
{
    // what is wrong (an automation call failing, counted from 0, or something gone), what is
    // selected, and the one box shown; %1 stands for the base folder
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<Selected>("selected");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *name, const char *wrong, const QString &shown,
                         Selected selected = Selected::Loop4) {
        QTest::newRow(name) << QString(wrong) << selected << shown;
    };
    const QString noProblem =
        QStringLiteral("Infomation|No cabling problem be found on all loops!");
    const QString notStarted = QStringLiteral("Error|The spreadsheet could not be started: ");
    const QString noTemplate = QStringLiteral("Error|The report template could not be opened: ");
    const QString failure = QStringLiteral("scripted failure");
    row("no project", "no project", "Information|No project found!", Selected::Nothing);
    row("nothing selected", "", "Information|Please choose a controller or a loop to report!",
        Selected::Nothing);
    row("a device", "", "Information|Select panel or loop to report!", Selected::Device);
    row("panel never calculated", "not calculated", noProblem, Selected::Panel);
    row("loop never calculated", "not calculated", noProblem, Selected::Loop2);
    row("no folder to write in", "folders",
        "Error|The report could not be written: no file can be created in %1/program/Report or "
        "in %1/Documents.");
    row("no template", "template", noTemplate + "%1/Report/Report.xlt: No such file or directory");
    row("application", "call 0", notStarted + failure);
    row("Caption", "call 2", notStarted + failure);
    row("Open", "call 4", noTemplate + failure);
    row("Worksheets", "call 6", noTemplate + failure);
    row("first cell", "call 7", "Error|The report could not be filled in: " + failure);
    // loop 4's report has seven cells, a call for each and one for its value
    row("saving the copy", "call 21", "Error|The report could not be written: " + failure);
}

void TestLCReportCommand::failures()
{
    QFETCH(QString, wrong);
    QFETCH(Selected, selected);
    QFETCH(QString, shown);
    makeProject(wrong != QLatin1String("not calculated"));
    RecordingSpreadsheet recording;
    recording.failAt = wrong.startsWith(QLatin1String("call ")) ? wrong.mid(5).toInt() : -1;
    LCXlsxSpreadsheet spreadsheet;
    if (wrong == QLatin1String("no project")) {
        LCDataStore::instance()->setProject(nullptr);
        m_panel = nullptr;
    } else if (wrong == QLatin1String("template")) {
        QVERIFY(QFile::remove(LCReportCommand::templatePath()));
    } else if (wrong == QLatin1String("folders")) {
        // files where the folders should be
        QVERIFY(QDir(m_base->path()).mkpath(QStringLiteral("program")));
        QFile blocker(m_base->filePath(QStringLiteral("program/Report")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QFile documents(m_base->filePath(QStringLiteral("Documents")));
        QVERIFY(documents.open(QIODevice::WriteOnly));
        LCDataStore::instance()->setPaths(LCPaths(m_base->filePath(QStringLiteral("program")), {}));
    }
    QVERIFY(wrong == QLatin1String("template") ? !run(selected, spreadsheet)
                                               : !run(selected, recording));
    QCOMPARE(m_prompter.shown, QStringList{shown.arg(QDir::toNativeSeparators(m_base->path()))});
    // nothing is asked after the failing call but to let go of the application
    QCOMPARE(recording.calls, recording.failAt + 1);
    QCOMPARE(recording.released, int(recording.failAt > 0));
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(reportFiles(), QStringList());
}

void TestLCReportCommand::workbooks_data()
{
    QTest::addColumn<Selected>("selected");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("suggestion"); // loop 2's first
    QTest::addColumn<double>("descriptionHeight"); // row 4, in points
    QTest::addColumn<double>("suggestionHeight"); // row 13
    const auto row = [](const char *name, Selected selected, const QString &description,
                         const QString &suggestion, double descriptionHeight = 15.0,
                         double suggestionHeight = 15.0) {
        QTest::newRow(name) << selected << description << suggestion << descriptionHeight
                            << suggestionHeight;
    };
    row("panel: failing loops 2 and 4", Selected::Panel, kDescription, kSuggestion);
    row("its Loops item", Selected::LoopsItem, kDescription, kSuggestion);
    // a working loop still gets its report when another of the panel fails
    row("working loop 1: the header alone", Selected::Loop1, kDescription, kSuggestion);
    row("loop 4 alone, no suggestion", Selected::Loop4, QString(), kSuggestion);
    // "1. " and 125 characters, some 109 digits wide: two lines of the 70 wide column
    row("long suggestion", Selected::Loop2, kDescription,
        "Add one more loop card inside panel, split the original one loop to two loops. OrAdd "
        "loop relay module at Location 12 device.",
        15.0, 30.0);
    // 30 ideographs, two digits wide each, take two lines of the 36 wide column
    row("wide characters", Selected::Loop2, QString(30, QChar(0x6771)), kSuggestion, 30.0);
    // twenty "MW", 3.2 digits wide each and 0.6 between: nine a line of the 36 wide column
    row("broad letters", Selected::Loop2, QString("MW ").repeated(20).trimmed(), kSuggestion, 45.0);
    // 6,600 characters would take 180 lines or more
    row("very long description, 20 lines at most", Selected::Loop2,
        QString("Ward block with atrium, ").repeated(275), kSuggestion, 300.0);
    // three lines, one of them ended the Windows way
    row("texts as they are", Selected::Loop2, "  Zeile eins\nZeile <zwei>\r\n & \"drei\" 東棟  ",
        "=1+1 <b>not bold</b> &amp; _x0041_ 🔥", 45.0);
}

void TestLCReportCommand::workbooks()
{
    QFETCH(Selected, selected);
    QFETCH(QString, description);
    QFETCH(QString, suggestion);
    m_description = description;
    m_suggestion = suggestion;
    makeProject();
    LCXlsxSpreadsheet spreadsheet;
    const std::optional<QString> path = run(selected, spreadsheet);
    QCOMPARE(path.value_or(QString()), m_base->filePath("Report/" + kFileName));
    QCOMPARE(m_prompter.shown,
        QStringList{"Information|Report complete!\n" + QDir::toNativeSeparators(*path)});
    QCOMPARE(m_opened, QStringList{*path});
    QCOMPARE(reportFiles(), QStringList{kFileName});

    // every text of the template, the header in column G and the problem rows from row 12
    QMap<XlsxSheet::Key, QVariant> expected{
        {{2, 7}, "Larchmere East"}, {{6, 7}, "Orvan-C30"}, {{8, 7}, 7.0}, {{10, 7}, 4.0}};
    if (!description.isEmpty()) {
        expected.insert({4, 7}, description);
    }
    QString error;
    const std::optional<LCReportTemplate> layout =
        LCReportTemplate::read(LCReportCommand::templatePath(), &error);
    QVERIFY2(layout, qPrintable(error));
    for (const LCReportTemplate::Cell &cell : layout->cells()) {
        if (!cell.text.isEmpty()) {
            expected.insert({cell.row, cell.column}, cell.text);
        }
    }
    // the rows of the failing loops selected, or of all of them with the panel
    const bool whole = selected == Selected::Panel || selected == Selected::LoopsItem;
    QStringList rows;
    if (whole || selected == Selected::Loop2) {
        rows << QStringList{"Loop2 Error", "Volt drop too high", "Loop2 Solution",
            "1. " + suggestion, "Loop2 Solution", "2. Use a thicker cable"};
    }
    if (whole || selected == Selected::Loop4) {
        rows << QStringList{"Loop4 Error", "Current too high"};
    }
    for (int i = 0; i < rows.size(); i += 2) {
        expected.insert({12 + i / 2, 1}, rows.at(i));
        expected.insert({12 + i / 2, 4}, rows.at(i + 1));
    }
    const std::optional<XlsxSheet> sheet = XlsxSheet::read(*path, &error);
    QVERIFY2(sheet, qPrintable(error));
    QCOMPARE(sheet->values.keys(), expected.keys());
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        QCOMPARE(sheet->values.value(it.key()), it.value());
    }
    QTEST(sheet->rowHeights.value(4, 15.0), "descriptionHeight");
    QTEST(sheet->rowHeights.value(13, 15.0), "suggestionHeight");
    QVERIFY(sheet->wrappingStyles.contains(sheet->styles.value({4, 7})));
    QVERIFY(rows.isEmpty() || sheet->wrappingStyles.contains(sheet->styles.value({12, 4})));
    // the sheet, page, row and formats of the shipped template
    QCOMPARE(sheet->rowHeights.value(1), 24.0);
    const QByteArray xml = sheet->workbookXml + sheet->sheetXml + sheet->stylesXml;
    for (const char *part : {"name=\"Cabling Report\"", "$11:$11", "orientation=\"landscape\"",
             "paperSize=\"9\"", "fitToPage=\"1\"", "<col min=\"4\" max=\"4\" width=\"70.", "<b/>",
             "FFD9E1F2", "horizontal=\"left\"", "vertical=\"center\""}) {
        QVERIFY2(xml.contains(part), part);
    }
    QVERIFY(!xml.contains("<i/>"));
}

void TestLCReportCommand::secondReportBesideFirst()
{
    // placeholders in the project's name stay as they are
    m_project->storeProperty(PropertyId::Name, QStringLiteral("50%1 %2"));
    LCXlsxSpreadsheet spreadsheet;
    const std::optional<QString> first = run(Selected::Panel, spreadsheet);
    QCOMPARE(
        first.value_or(QString()), m_base->filePath("Report/50%1 %2-Panel7-20260102-030405.xlsx"));
    m_panel->loop(3)->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
    LCXlsxSpreadsheet again;
    const std::optional<QString> second = run(Selected::Panel, again);
    QCOMPARE(second.value_or(QString()),
        m_base->filePath("Report/50%1 %2-Panel7-20260102-030405-2.xlsx"));
}

void TestLCReportCommand::safeFileNamePart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("safe");
    const auto row = [](const char *name, const QString &text, const QString &safe) {
        QTest::newRow(name) << text << safe;
    };
    const QString x58(58, QLatin1Char('x'));
    const QString x59 = x58 + 'x';
    row("kept as they are", "Bürohaus & Söhne 'B' 100%2 東棟 🔥",
        "Bürohaus & Söhne 'B' 100%2 東棟 🔥");
    row("forbidden characters", "a\\b/c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j");
    row("control characters", "a\tb\nc\x7F", "a_b_c_");
    row("dots and spaces Windows drops", "Site. . ", "Site");
    row("path climbing out", "../../etc/passwd", "_.._etc_passwd");
    row("parent folder", "..", "Report");
    row("long", QString(100, QLatin1Char('x')), x59 + 'x');
    // a character written as two halves is never cut between them
    row("pair at the cut", x59 + "🔥🔥", x59);
    row("pair before the cut", x58 + "🔥🔥", x58 + "🔥");
    row("dot at the cut", x59 + ".y", x59);
}

void TestLCReportCommand::safeFileNamePart()
{
    QFETCH(QString, text);
    QTEST(LCReportDestination::safeFileNamePart(text), "safe");
}

void TestLCReportCommand::templateRefused_data()
{
    QTest::addColumn<QByteArray>("bytes"); // of the template file; "folder": a folder there
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const QByteArray &elements, const char *reason) {
        const bool whole = !elements.startsWith('<') || elements.startsWith("<!")
            || elements.startsWith("<ReportTemplate");
        QTest::newRow(name) << (whole
                ? elements
                : "<ReportTemplate sheet=\"R\">\n" + elements + "\n</ReportTemplate>")
                            << QString(reason);
    };
    row("empty", "", "line 1");
    row("a folder", "folder", "Report.xlt is a folder");
    row("too large", "<ReportTemplate sheet=\"R\"><!-- " + QByteArray(256 * 1024, 'x') + " -->",
        "the file is larger than 256 KB");
    row("document type", "<!DOCTYPE R [<!ENTITY a \"aaaa\">]><ReportTemplate sheet=\"R\"/>",
        "document type declarations are refused");
    row("unknown element", "<Chart/>", "line 2: unknown element Chart");
    row("row 0", "<Cell row=\"0\" column=\"1\"/>", "row must be a whole number from 1 to 1048576");
    row("two cells in one place", "<Cell row=\"1\" column=\"1\"/>\n<Cell row=\"1\" column=\"1\"/>",
        "line 3: a second Cell at row 1, column 1");
    row("undeclared format", "<Cell row=\"1\" column=\"1\" format=\"bold\"/>",
        "no format named bold");
    row("bold neither yes nor no", "<Format name=\"f\" bold=\"true\"/>", "bold must be yes or no");
    row("colour by name", "<Format name=\"f\" colour=\"red\"/>", "#RRGGBB");
    row("overlapping columns",
        "<Column first=\"1\" last=\"4\" width=\"9\"/><Column first=\"4\" width=\"9\"/>",
        "columns 4 to 4 overlap");
    row("rows to repeat backwards", "<Page repeatRows=\"11:2\"/>",
        "repeatRows must be a row or rows first:last");
}

void TestLCReportCommand::templateRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = LCReportCommand::templatePath();
    QVERIFY(QFile::remove(path));
    if (bytes == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QString error;
    QVERIFY(!LCReportTemplate::read(path, &error));
    QVERIFY2(error.startsWith(path) && error.contains(reason), qPrintable(error));
}

// What the spreadsheet refuses: cells off the sheet and values no workbook holds; and the first
// of the paper sizes, which the shipped template does not use.
void TestLCReportCommand::spreadsheetRefuses()
{
    using A = LCSpreadsheetAutomation;
    QFile layout(LCReportCommand::templatePath());
    QVERIFY(layout.open(QIODevice::WriteOnly)
        && layout.write("<ReportTemplate sheet=\"R\"><Page paper=\"1\"/></ReportTemplate>") > 0);
    layout.close();
    LCXlsxSpreadsheet spreadsheet;
    const A::Object application = spreadsheet.createApplication(A::kProgId);
    const A::Object books = spreadsheet.querySubObject(application, A::kWorkBooks);
    QVERIFY(spreadsheet.dynamicCall(books, A::kOpen, {LCReportCommand::templatePath()}));
    const A::Object book = spreadsheet.querySubObject(application, A::kActiveWorkBook);
    const A::Object sheet = spreadsheet.querySubObject(book, A::kWorksheets, {1});
    for (const QVariantList &at : {QVariantList{0, 1}, {1048577, 1}, {1, 16385}, {1}}) {
        QCOMPARE(spreadsheet.querySubObject(sheet, A::kCells, at), A::kNoObject);
    }
    const A::Object cell = spreadsheet.querySubObject(sheet, A::kCells, {1048576, 16384});
    const QString longest(LCXlsxSpreadsheet::kMaxCellTextCharacters, QLatin1Char('x'));
    QVERIFY(spreadsheet.setProperty(cell, A::kValue, longest));
    for (const QVariant &value :
        {QVariant(longest + 'x'), QVariant(std::nan("")), QVariant(QDate(2026, 1, 2))}) {
        QVERIFY(!spreadsheet.setProperty(cell, A::kValue, value));
    }
    const QString path = m_base->filePath(QStringLiteral("out.xlsx"));
    QVERIFY(spreadsheet.saveCopy(book, path));
    spreadsheet.release(application);
    QString error;
    const std::optional<XlsxSheet> read = XlsxSheet::read(path, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->values.value({1048576, 16384}).toString(), longest);
    QVERIFY(read->sheetXml.contains("paperSize=\"1\""));
}

QTEST_GUILESS_MAIN(TestLCReportCommand)
#include "tst_lcreportcommand.moc"
