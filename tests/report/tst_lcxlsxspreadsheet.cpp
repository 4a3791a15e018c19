#include "xlsxsheet.h"

#include "report/lcxlsxspreadsheet.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace
{
using Automation = LCSpreadsheetAutomation;

const QByteArray kTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<ReportTemplate sheet="Prüfbericht &amp; Co">
    <Page orientation="landscape" paper="9" fitToWidth="yes" repeatRows="1:2"/>
    <Format name="caption" bold="yes"/>
    <Format name="value" border="yes"/>
    <Format name="wide" wrap="yes"/>
    <Column first="1" last="1" width="20"/>
    <Column first="4" last="4" width="70" format="wide"/>
    <Row row="1" height="24"/>
    <Cell row="1" column="1" format="caption" text="Title &lt;1&gt;"/>
    <Cell row="2" column="6" format="caption" text="Project"/>
    <Cell row="2" column="7" format="value"/>
    <Cell row="3" column="6" format="caption" text="Overwritten"/>
</ReportTemplate>
)";
} // namespace

class TestLCXlsxSpreadsheet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesCellsOverTemplate();
    void values_data();
    void values();
    void refusedCalls();
    void refusedValues_data();
    void refusedValues();
    void failedSaveLeavesNothing();

private:
    // Opens the test template and returns the worksheet; the workbook in workbook.
    Automation::Object openSheet(Automation::Object *workbook = nullptr);
    bool write(Automation::Object sheet, int row, int column, const QVariant &value);
    std::optional<XlsxSheet> saved();

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_templatePath;
    LCXlsxSpreadsheet m_spreadsheet;
    Automation::Object m_application = Automation::kNoObject;
};

void TestLCXlsxSpreadsheet::init()
{
    m_spreadsheet.release(m_application);
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_templatePath = m_folder->filePath(QStringLiteral("Report.xlt"));
    QFile file(m_templatePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(kTemplate), qint64(kTemplate.size()));
}

Automation::Object TestLCXlsxSpreadsheet::openSheet(Automation::Object *workbook)
{
    m_application = m_spreadsheet.createApplication(Automation::kProgId);
    if (m_application == Automation::kNoObject
        || !m_spreadsheet.setProperty(m_application, Automation::kVisible, true)
        || !m_spreadsheet.setProperty(
            m_application, Automation::kCaption, QString(Automation::kCaptionText))) {
        return Automation::kNoObject;
    }
    const Automation::Object workBooks =
        m_spreadsheet.querySubObject(m_application, Automation::kWorkBooks);
    if (!m_spreadsheet.dynamicCall(workBooks, Automation::kOpen, {m_templatePath})) {
        return Automation::kNoObject;
    }
    const Automation::Object book =
        m_spreadsheet.querySubObject(m_application, Automation::kActiveWorkBook);
    if (workbook) {
        *workbook = book;
    }
    return m_spreadsheet.querySubObject(book, Automation::kWorksheets, {1});
}

bool TestLCXlsxSpreadsheet::write(
    Automation::Object sheet, int row, int column, const QVariant &value)
{
    const Automation::Object cell =
        m_spreadsheet.querySubObject(sheet, Automation::kCells, {row, column});
    return cell != Automation::kNoObject
        && m_spreadsheet.setProperty(cell, Automation::kValue, value);
}

std::optional<XlsxSheet> TestLCXlsxSpreadsheet::saved()
{
    Automation::Object workbook = Automation::kNoObject;
    // the caller wrote into the open workbook; find it again as the report does
    workbook = m_spreadsheet.querySubObject(m_application, Automation::kActiveWorkBook);
    const QString path = m_folder->filePath(QStringLiteral("out.xlsx"));
    if (!m_spreadsheet.saveCopy(workbook, path)) {
        qWarning() << m_spreadsheet.errorString();
        return std::nullopt;
    }
    QString error;
    std::optional<XlsxSheet> sheet = XlsxSheet::read(path, &error);
    if (!sheet) {
        qWarning() << error;
    }
    return sheet;
}

void TestLCXlsxSpreadsheet::writesCellsOverTemplate()
{
    const Automation::Object sheet = openSheet();
    QVERIFY(sheet != Automation::kNoObject);
    QVERIFY(write(sheet, 2, 7, QStringLiteral("Larchmere")));
    QVERIFY(write(sheet, 3, 6, QStringLiteral("Replaced")));
    QVERIFY(write(sheet, 12, 4, QStringLiteral("Volt drop")));
    QVERIFY(write(sheet, 12, 1, QStringLiteral("Loop2 Error")));
    QVERIFY(write(sheet, 1048576, 16384, 5));
    // writing a cell again keeps the last value
    QVERIFY(write(sheet, 12, 1, QStringLiteral("Loop3 Error")));
    const std::optional<XlsxSheet> read = saved();
    QVERIFY(read);
    QCOMPARE(read->sheetNames, QStringList{QStringLiteral("Prüfbericht & Co")});
    const QMap<XlsxSheet::Key, XlsxSheet::Cell> cells = read->filled();
    const QList<XlsxSheet::Key> keys{
        {1, 1}, {2, 6}, {2, 7}, {3, 6}, {12, 1}, {12, 4}, {1048576, 16384}};
    QCOMPARE(cells.keys(), keys);
    QCOMPARE(cells.value({1, 1}).text, QStringLiteral("Title <1>"));
    QCOMPARE(cells.value({2, 7}).text, QStringLiteral("Larchmere"));
    QCOMPARE(cells.value({3, 6}).text, QStringLiteral("Replaced"));
    QCOMPARE(cells.value({12, 1}).text, QStringLiteral("Loop3 Error"));
    QCOMPARE(cells.value({12, 4}).text, QStringLiteral("Volt drop"));
    QCOMPARE(cells.value({1048576, 16384}).number, 5.0);

    // formats: the template's caption cells share one, a report value in a Cell of the template
    // takes that Cell's, one in a formatted column the column's, one elsewhere none
    const QString caption = cells.value({1, 1}).style;
    QVERIFY(!caption.isEmpty());
    QCOMPARE(cells.value({2, 6}).style, caption);
    QCOMPARE(cells.value({3, 6}).style, caption);
    const QString value = cells.value({2, 7}).style;
    const QString wide = cells.value({12, 4}).style;
    QVERIFY(!value.isEmpty() && !wide.isEmpty());
    QVERIFY(value != caption && wide != caption && wide != value);
    QVERIFY(
        cells.value({12, 1}).style.isEmpty() || cells.value({12, 1}).style == QLatin1String("0"));

    // the page and columns of the template
    const QByteArray xml = read->sheetXml;
    QVERIFY2(xml.contains("orientation=\"landscape\""), xml.constData());
    QVERIFY(xml.contains("fitToPage=\"1\""));
    QVERIFY(xml.contains("<col min=\"4\" max=\"4\" width=\"70."));
    QVERIFY(QString::fromUtf8(xml).contains(QRegularExpression(R"(<row r="1" [^>]*ht="24")")));
    QVERIFY(read->workbookXml.contains("$1:$2"));
}

void TestLCXlsxSpreadsheet::values_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    const int text = int(XlsxSheet::Type::Text);
    const int number = int(XlsxSheet::Type::Number);
    // the characters XML needs escaped are in the report command's own test
    const QStringList texts{
        "  leading and trailing spaces  ",
        "=1+1",
        "_x0041_x0042_ and _x005F_ and _x12G4_ and __x0041__",
        QString(LCXlsxSpreadsheet::kMaxCellTextCharacters, QLatin1Char('x')),
    };
    for (const QString &sample : texts) {
        QTest::newRow(qPrintable(sample.left(30))) << QVariant(sample) << text << sample << 0.0;
    }
    QTest::newRow("int") << QVariant(7) << number << QString() << 7.0;
    QTest::newRow("double") << QVariant(2.5) << number << QString() << 2.5;
    QTest::newRow("digits as text") << QVariant(QStringLiteral("0042")) << text << "0042" << 0.0;
    QTest::newRow("boolean") << QVariant(true) << int(XlsxSheet::Type::Boolean) << QString() << 1.0;
    QTest::newRow("nothing") << QVariant() << int(XlsxSheet::Type::Blank) << QString() << 0.0;
    QTest::newRow("empty text") << QVariant(QString()) << int(XlsxSheet::Type::Blank) << QString()
                                << 0.0;
}

void TestLCXlsxSpreadsheet::values()
{
    QFETCH(QVariant, value);
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(double, number);
    const Automation::Object sheet = openSheet();
    QVERIFY(write(sheet, 5, 2, value));
    const std::optional<XlsxSheet> read = saved();
    QVERIFY(read);
    const XlsxSheet::Cell cell = read->cells.value({5, 2});
    QCOMPARE(int(cell.type), type);
    QCOMPARE(cell.text, text);
    QCOMPARE(cell.number, number);
}

void TestLCXlsxSpreadsheet::refusedCalls()
{
    QCOMPARE(
        m_spreadsheet.createApplication(QStringLiteral("Word.Application")), Automation::kNoObject);
    QVERIFY(m_spreadsheet.errorString().contains(QStringLiteral("Word.Application")));

    m_application = m_spreadsheet.createApplication(Automation::kProgId);
    QVERIFY(m_application != Automation::kNoObject);
    QVERIFY(!m_spreadsheet.setProperty(m_application, Automation::kVisible, QStringLiteral("yes")));
    QVERIFY(!m_spreadsheet.setProperty(m_application, Automation::kValue, 1));
    QCOMPARE(m_spreadsheet.querySubObject(m_application, QStringLiteral("Workbooks")),
        Automation::kNoObject);
    // no workbook before Open
    QCOMPARE(m_spreadsheet.querySubObject(m_application, Automation::kActiveWorkBook),
        Automation::kNoObject);
    const Automation::Object workBooks =
        m_spreadsheet.querySubObject(m_application, Automation::kWorkBooks);
    QVERIFY(workBooks != Automation::kNoObject);
    QVERIFY(!m_spreadsheet.dynamicCall(workBooks, QStringLiteral("Open"), {m_templatePath}));
    const QString missing = m_folder->filePath(QStringLiteral("missing.xlt"));
    QVERIFY(!m_spreadsheet.dynamicCall(workBooks, Automation::kOpen, {missing}));
    QVERIFY2(
        m_spreadsheet.errorString().startsWith(missing), qPrintable(m_spreadsheet.errorString()));
    QCOMPARE(m_spreadsheet.querySubObject(m_application, Automation::kActiveWorkBook),
        Automation::kNoObject);

    Automation::Object workbook = Automation::kNoObject;
    const Automation::Object sheet = openSheet(&workbook);
    QVERIFY(sheet != Automation::kNoObject);
    QCOMPARE(m_spreadsheet.querySubObject(workbook, Automation::kWorksheets, {2}),
        Automation::kNoObject);
    for (const QVariantList &arguments :
        {QVariantList{0, 1}, QVariantList{1048577, 1}, QVariantList{1, 16385}, QVariantList{1}}) {
        QCOMPARE(m_spreadsheet.querySubObject(sheet, Automation::kCells, arguments),
            Automation::kNoObject);
    }
    // a cell from the worksheet only
    QCOMPARE(
        m_spreadsheet.querySubObject(workbook, Automation::kCells, {1, 1}), Automation::kNoObject);
    QVERIFY(!m_spreadsheet.saveCopy(sheet, m_folder->filePath(QStringLiteral("x.xlsx"))));

    // after release nothing obtained before answers
    m_spreadsheet.release(m_application);
    QCOMPARE(
        m_spreadsheet.querySubObject(sheet, Automation::kCells, {1, 1}), Automation::kNoObject);
    QVERIFY(!m_spreadsheet.saveCopy(workbook, m_folder->filePath(QStringLiteral("x.xlsx"))));
    QVERIFY(!QFileInfo::exists(m_folder->filePath(QStringLiteral("x.xlsx"))));
}

void TestLCXlsxSpreadsheet::refusedValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("text too long")
        << QVariant(QString(LCXlsxSpreadsheet::kMaxCellTextCharacters + 1, QLatin1Char('x')));
    QTest::newRow("not a number") << QVariant(std::nan(""));
    QTest::newRow("a date") << QVariant(QDate(2026, 1, 2));
}

void TestLCXlsxSpreadsheet::refusedValues()
{
    QFETCH(QVariant, value);
    const Automation::Object sheet = openSheet();
    QVERIFY(write(sheet, 1, 2, QStringLiteral("kept")));
    QVERIFY(!write(sheet, 1, 2, value));
    QVERIFY(!m_spreadsheet.errorString().isEmpty());
    const std::optional<XlsxSheet> read = saved();
    QVERIFY(read);
    QCOMPARE(read->cells.value({1, 2}).text, QStringLiteral("kept"));
}

void TestLCXlsxSpreadsheet::failedSaveLeavesNothing()
{
    Automation::Object workbook = Automation::kNoObject;
    const Automation::Object sheet = openSheet(&workbook);
    QVERIFY(write(sheet, 2, 7, QStringLiteral("Larchmere")));
    const QString blocker = m_folder->filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString underFile = blocker + QStringLiteral("/report.xlsx");
    QVERIFY(!m_spreadsheet.saveCopy(workbook, underFile));
    QVERIFY2(
        m_spreadsheet.errorString().startsWith(underFile), qPrintable(m_spreadsheet.errorString()));
    QCOMPARE(
        QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList{"blocker", "Report.xlt"}));
    QCOMPARE(QFileInfo(blocker).size(), qint64(0));
    // and the workbook is still there to be saved elsewhere
    const QString good = m_folder->filePath(QStringLiteral("good.xlsx"));
    QVERIFY(m_spreadsheet.saveCopy(workbook, good));
    QString error;
    const std::optional<XlsxSheet> read = XlsxSheet::read(good, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->cells.value({2, 7}).text, QStringLiteral("Larchmere"));
}

QTEST_GUILESS_MAIN(TestLCXlsxSpreadsheet)
#include "tst_lcxlsxspreadsheet.moc"
