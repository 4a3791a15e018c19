#include "report/lcreportdestination.h"

#include <QtTest>

class TestLCReportDestination : public QObject
{
    Q_OBJECT

private slots:
    void safeFileNamePart_data();
    void safeFileNamePart();
    void fileName();
    void unusedPath();
    void writableFolder();
};

void TestLCReportDestination::safeFileNamePart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << "Larchmere East"
                           << "Larchmere East";
    QTest::newRow("kept as they are") << "Bürohaus & Söhne 'B' 100% 東棟 🔥"
                                      << "Bürohaus & Söhne 'B' 100% 東棟 🔥";
    QTest::newRow("forbidden characters") << "a\\b/c:d*e?f\"g<h>i|j"
                                          << "a_b_c_d_e_f_g_h_i_j";
    QTest::newRow("control characters") << QString("a\tb\nc") + QChar(0x7F) << "a_b_c_";
    QTest::newRow("surrounding spaces") << "  Site  "
                                        << "Site";
    QTest::newRow("hidden file dots") << "..Site"
                                      << "Site";
    QTest::newRow("dots Windows drops") << "Site. . "
                                        << "Site";
    QTest::newRow("parent folder") << ".."
                                   << "Report";
    QTest::newRow("path climbing out") << "../../etc/passwd"
                                       << "_.._etc_passwd";
    QTest::newRow("empty") << ""
                           << "Report";
    QTest::newRow("only spaces") << "   "
                                 << "Report";
    QTest::newRow("long") << QString(100, QLatin1Char('x')) << QString(60, QLatin1Char('x'));
    // 59 letters, then a character written as two halves that would be cut between them
    QTest::newRow("pair at the cut")
        << QString(59, QLatin1Char('x')) + QStringLiteral("🔥🔥") << QString(59, QLatin1Char('x'));
    QTest::newRow("pair before the cut") << QString(58, QLatin1Char('x')) + QStringLiteral("🔥🔥")
                                         << QString(58, QLatin1Char('x')) + QStringLiteral("🔥");
    QTest::newRow("dot at the cut")
        << QString(59, QLatin1Char('x')) + QStringLiteral(".y") << QString(59, QLatin1Char('x'));
}

void TestLCReportDestination::safeFileNamePart()
{
    QFETCH(QString, text);
    QFETCH(QString, safe);
    QCOMPARE(LCReportDestination::safeFileNamePart(text), safe);
}

void TestLCReportDestination::fileName()
{
    const QDateTime moment(QDate(2026, 12, 31), QTime(23, 59, 58));
    QCOMPARE(LCReportDestination::fileName(QStringLiteral("Site A"), 7, moment),
        QStringLiteral("Site A-Panel7-20261231-235958.xlsx"));
    // placeholders in the name stay as they are
    QCOMPARE(LCReportDestination::fileName(QStringLiteral("50%1 %2%3"), 12, moment),
        QStringLiteral("50%1 %2%3-Panel12-20261231-235958.xlsx"));
    QCOMPARE(LCReportDestination::fileName(QStringLiteral("A/B"), 0, moment),
        QStringLiteral("A_B-Panel0-20261231-235958.xlsx"));
}

void TestLCReportDestination::unusedPath()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString name = QStringLiteral("Site-Panel1-20260102-030405.xlsx");
    QCOMPARE(LCReportDestination::unusedPath(folder.path(), name), folder.filePath(name));
    for (const QString &taken : {name, QStringLiteral("Site-Panel1-20260102-030405-2.xlsx")}) {
        QFile file(folder.filePath(taken));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(LCReportDestination::unusedPath(folder.path(), name),
        folder.filePath(QStringLiteral("Site-Panel1-20260102-030405-3.xlsx")));
    // a folder of that name takes the name as well
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Site-Panel1-20260102-030405-3.xlsx")));
    QCOMPARE(LCReportDestination::unusedPath(folder.path(), name),
        folder.filePath(QStringLiteral("Site-Panel1-20260102-030405-4.xlsx")));
}

void TestLCReportDestination::writableFolder()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString blocker = root.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString underFile = blocker + QStringLiteral("/Report");
    const QString nested = root.filePath(QStringLiteral("Documents/Reports"));

    QCOMPARE(LCReportDestination::writableFolder({underFile, QString(), nested}),
        std::optional<QString>(nested));
    QVERIFY(QFileInfo(nested).isDir());
    QCOMPARE(LCReportDestination::writableFolder({root.path(), nested}),
        std::optional<QString>(root.path()));
    QCOMPARE(LCReportDestination::writableFolder({underFile, blocker}), std::nullopt);
    QCOMPARE(LCReportDestination::writableFolder({}), std::nullopt);
    // the probe leaves nothing behind
    QCOMPARE(QDir(nested).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList());
}

QTEST_GUILESS_MAIN(TestLCReportDestination)
#include "tst_lcreportdestination.moc"
