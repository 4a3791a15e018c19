#include "report/lcreportcommand.h"
#include "report/lcreporttemplate.h"

#include <QtTest>

namespace
{
QByteArray wrapped(const QByteArray &elements)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ReportTemplate sheet=\"Report\">\n"
        + elements + "\n</ReportTemplate>\n";
}
} // namespace

class TestLCReportTemplate : public QObject
{
    Q_OBJECT

private slots:
    void shippedTemplate();
    void everyFeature();
    void formatAt();
    void refused_data();
    void refused();
    void unreadableFiles();
};

void TestLCReportTemplate::shippedTemplate()
{
    QString error;
    const std::optional<LCReportTemplate> layout = LCReportTemplate::read(
        QCoreApplication::applicationDirPath() + QStringLiteral("/Report/Report.xlt"), &error);
    QVERIFY2(layout, qPrintable(error));
    QMap<QPair<int, int>, QString> texts;
    for (const LCReportTemplate::Cell &cell : layout->cells()) {
        if (!cell.text.isEmpty()) {
            texts.insert({cell.row, cell.column}, cell.text);
        }
    }
    // the captions stand beside the header values in column G
    QCOMPARE(texts.value({2, 6}), QStringLiteral("Project"));
    QCOMPARE(texts.value({10, 6}), QStringLiteral("Loop Quantity"));
    // and no fixed text sits where the report writes, or among its problem rows
    for (auto it = texts.constBegin(); it != texts.constEnd(); ++it) {
        QVERIFY(it.key().second != LCReportCommand::kHeaderColumn);
        QVERIFY(it.key().first < LCReportCommand::kFirstProblemRow);
    }
    // the values the report writes are formatted
    for (const int row : {2, 4, 6, 8, 10}) {
        QVERIFY(!layout->formatAt(row, LCReportCommand::kHeaderColumn).isEmpty());
    }
    QVERIFY(!layout->formatAt(LCReportCommand::kFirstProblemRow, 1).isEmpty());
    QVERIFY(!layout->formatAt(LCReportCommand::kFirstProblemRow + 500, 4).isEmpty());
    QVERIFY(layout->page().repeatLastRow < LCReportCommand::kFirstProblemRow);
}

void TestLCReportTemplate::everyFeature()
{
    QString error;
    const std::optional<LCReportTemplate> layout = LCReportTemplate::parse(
        wrapped(
            "<Page orientation=\"landscape\" paper=\"9\" fitToWidth=\"yes\" repeatRows=\"2:3\"/>\n"
            "<Format name=\"all\" bold=\"yes\" italic=\"yes\" size=\"14.5\" colour=\"#1F2e3D\""
            " background=\"#FFEEDD\" border=\"yes\" wrap=\"yes\" align=\"right\""
            " valign=\"top\"/>\n"
            "<Format name=\"plain\"/>\n"
            "<Column first=\"2\" last=\"5\" width=\"12.5\" format=\"plain\"/>\n"
            "<Column first=\"6\" width=\"0\"/>\n"
            "<Row row=\"1\" height=\"30\"/>\n"
            "<Cell row=\"1\" column=\"1\" format=\"all\" text=\"A &amp; B &lt;C&gt; "
            "&quot;Ü&quot;\"/>\n"
            "<Cell row=\"2\" column=\"16384\"/>"),
        &error);
    QVERIFY2(layout, qPrintable(error));
    QCOMPARE(layout->sheetName(), QStringLiteral("Report"));
    const LCReportTemplate::Page page = layout->page();
    QCOMPARE(page.orientation, LCReportTemplate::Orientation::Landscape);
    QCOMPARE(page.paperSize, 9);
    QVERIFY(page.fitToWidth);
    QCOMPARE(page.repeatFirstRow, 2);
    QCOMPARE(page.repeatLastRow, 3);

    QCOMPARE(layout->formats().size(), 2);
    const LCReportTemplate::Format all = layout->formats().at(0);
    QCOMPARE(all.name, QStringLiteral("all"));
    QVERIFY(all.bold && all.italic && all.border && all.wrap);
    QCOMPARE(all.fontSizePoint, 14.5);
    QCOMPARE(all.fontRgb, std::optional<quint32>(0x1F2E3D));
    QCOMPARE(all.backgroundRgb, std::optional<quint32>(0xFFEEDD));
    QCOMPARE(all.align, LCReportTemplate::Align::Right);
    QCOMPARE(all.verticalAlign, LCReportTemplate::VerticalAlign::Top);
    const LCReportTemplate::Format plain = layout->formats().at(1);

    QCOMPARE(layout->columns().size(), 2);
    QCOMPARE(layout->columns().at(0).first, 2);
    QCOMPARE(layout->rows().size(), 1);
    QCOMPARE(layout->rows().at(0).heightPoint, 30.0);
    QCOMPARE(layout->cells().size(), 2);
    QCOMPARE(layout->cells().at(0).text, QStringLiteral("A & B <C> \"Ü\""));
    QCOMPARE(layout->cells().at(1).column, 16384);
    QVERIFY(layout->cells().at(1).text.isEmpty());
}

void TestLCReportTemplate::formatAt()
{
    QString error;
    const std::optional<LCReportTemplate> layout = LCReportTemplate::parse(
        wrapped("<Format name=\"cell\"/><Format name=\"column\"/>\n"
                "<Column first=\"4\" last=\"5\" width=\"10\" format=\"column\"/>\n"
                "<Column first=\"6\" width=\"10\"/>\n"
                "<Cell row=\"2\" column=\"4\" format=\"cell\"/>\n"
                "<Cell row=\"3\" column=\"4\" text=\"no format of its own\"/>"),
        &error);
    QVERIFY2(layout, qPrintable(error));
    QCOMPARE(layout->formatAt(2, 4), QStringLiteral("cell"));
    QCOMPARE(layout->formatAt(3, 4), QStringLiteral("column"));
    QCOMPARE(layout->formatAt(99, 5), QStringLiteral("column"));
}

void TestLCReportTemplate::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "line 1";
    QTest::newRow("not XML") << QByteArray("Report layout, version 2") << "line 1";
    QTest::newRow("another document")
        << QByteArray("<Project/>") << "the document element is Project";
    QTest::newRow("document type")
        << QByteArray("<!DOCTYPE R [<!ENTITY a \"aaaa\">]><ReportTemplate sheet=\"R\"/>")
        << "document type declarations are refused";
    QTest::newRow("no sheet name") << QByteArray("<ReportTemplate/>") << "the sheet name";
    QTest::newRow("sheet name too long")
        << QByteArray("<ReportTemplate sheet=\"12345678901234567890123456789012\"/>")
        << "the sheet name must have 1 to 31 characters";
    QTest::newRow("unknown element") << wrapped("<Chart/>") << "line 3: unknown element Chart";
    QTest::newRow("unknown attribute")
        << wrapped("<Cell row=\"1\" column=\"1\" value=\"x\"/>") << "Cell has no attribute value";
    QTest::newRow("nested element")
        << wrapped("<Cell row=\"1\" column=\"1\"><Cell/></Cell>") << "Cell holds elements";
    QTest::newRow("row 0") << wrapped("<Cell row=\"0\" column=\"1\"/>")
                           << "row must be a whole number from 1 to 1048576";
    QTest::newRow("two cells in one place")
        << wrapped("<Cell row=\"1\" column=\"1\"/>\n<Cell row=\"1\" column=\"1\" text=\"x\"/>")
        << "line 4: a second Cell at row 1, column 1";
    QTest::newRow("undeclared format")
        << wrapped("<Cell row=\"1\" column=\"1\" format=\"bold\"/>") << "no format named bold";
    QTest::newRow("two formats of one name")
        << wrapped("<Format name=\"f\"/><Format name=\"f\" bold=\"yes\"/>")
        << "a second format named f";
    QTest::newRow("size 0") << wrapped("<Format name=\"f\" size=\"0\"/>")
                            << "size must be a number";
    QTest::newRow("colour by name") << wrapped("<Format name=\"f\" colour=\"red\"/>") << "#RRGGBB";
    QTest::newRow("last before first") << wrapped("<Column first=\"3\" last=\"2\" width=\"9\"/>")
                                       << "last must be a whole number from 3";
    QTest::newRow("overlapping columns") << wrapped(
        "<Column first=\"1\" last=\"4\" width=\"9\"/>\n<Column first=\"4\" width=\"9\"/>")
                                         << "line 4: columns 4 to 4 overlap";
    QTest::newRow("two pages") << wrapped("<Page/><Page/>") << "a second Page";
    QTest::newRow("rows to repeat backwards")
        << wrapped("<Page repeatRows=\"11:2\"/>") << "repeatRows must be a row or rows first:last";
}

void TestLCReportTemplate::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!LCReportTemplate::parse(bytes, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestLCReportTemplate::unreadableFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QString error;
    const QString missing = folder.filePath(QStringLiteral("Report.xlt"));
    QVERIFY(!LCReportTemplate::read(missing, &error));
    QVERIFY2(error.startsWith(missing + QStringLiteral(": ")), qPrintable(error));

    QVERIFY(!LCReportTemplate::read(folder.path(), &error));
    QVERIFY2(error.contains(QStringLiteral("is a folder")), qPrintable(error));

    // a huge file of valid XML is still not read in
    QFile large(missing);
    QVERIFY(large.open(QIODevice::WriteOnly));
    large.write("<ReportTemplate sheet=\"R\"><!-- ");
    large.write(QByteArray(LCReportTemplate::kMaxFileBytes, 'x'));
    large.write(" --></ReportTemplate>");
    large.close();
    QVERIFY(!LCReportTemplate::read(missing, &error));
    QVERIFY2(error.contains(QStringLiteral("larger than 256 KB")), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestLCReportTemplate)
#include "tst_lcreporttemplate.moc"
