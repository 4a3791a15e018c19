#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
constexpr int kTimeoutMs = 60000;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run check(const QStringList &arguments)
{
    QProcess process;
    process.start(
        QCoreApplication::applicationDirPath() + QStringLiteral("/mirel-check"), arguments);
    Run run;
    if (!process.waitForFinished(kTimeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}
} // namespace

class TestMirelCheck : public QObject
{
    Q_OBJECT

private slots:
    void sampleProject();
    void workingLoopsExitZero();
    void unreadableFiles_data();
    void unreadableFiles();
    void help();
};

void TestMirelCheck::sampleProject()
{
    const QString sample = QStringLiteral(MIREL_SOURCE_DIR "/data/config/config.xml");
    const QByteArray before = readAll(sample);
    const Run run = check({sample});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out,
        QString::fromUtf8(
            readAll(QStringLiteral(MIREL_SOURCE_DIR "/tests/tools/sample-check.txt"))));
    // loop 4 of panel 1 fails: a sounder at location 16 gets 19.62 V and the module at location
    // 36 15.76 V; the resistance limit, 4e6 over the sum of metres times current still flowing
    // (never below zero, though the sounders passed draw more than the loop current at the end),
    // is 23.3687 ohm/km
    QVERIFY(run.out.contains(
        QStringLiteral("Loop4 Solution\t1. Please change the position of the souder at 16. \n")));
    QVERIFY(run.out.contains(QStringLiteral(
        "Loop4 Solution\t4. Please use suitable cable,the last Resistance can't exceed "
        "23.3687ohm/km.\n")));
    QVERIFY(
        run.out.contains(QStringLiteral("Sorry, Loop 4 may not work well.\nVolt Drop : 8.24V\n")));
    QCOMPARE(readAll(sample), before);

    // without a file the working project beside the program is checked
    const QString working = QCoreApplication::applicationDirPath() + "/config/config.xml";
    if (readAll(working) == before) {
        QCOMPARE(check({}).out, run.out);
    }
}

void TestMirelCheck::workingLoopsExitZero()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "ok.xml", R"(<Project name="p">
        <Panel Panelid="2" PanelType="1"><Loop Loopid="1" wiretype="1">
            <device deviceTypeid="1" pos="10" wiretype="1"/>
            <device deviceTypeid="999" pos="10" wiretype="1"/>
        </Loop></Panel>
        <Panel Panelid="1" PanelType="1"/>
    </Project>)");
    const Run run = check({path});
    // a device of a type the library lacks is warned of and draws nothing, so the loop works
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err,
        QStringLiteral("mirel-check: ") + path
            + QStringLiteral(": Panel 2: Loop1: the device of unknown type 999 at location 2 "
                             "counts as drawing no current.\n"));
    // panels in number order; a panel without loops prints its line only
    QVERIFY(
        run.out.startsWith(QStringLiteral("Panel 1\nPanel 2\nLoop 1 can work well!\nLoop1 result:\n"
                                          "Devices of this loop can work well!\n")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"ok.xml"}));
}

void TestMirelCheck::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not well formed") << QByteArray("<Project><Panel>") << "line";
    QTest::newRow("no project") << QByteArray("<Root><Other/></Root>") << "holds no project";
    QTest::newRow("random bytes") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << "line";
    QTest::newRow("missing") << QByteArray() << "";
}

void TestMirelCheck::unreadableFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path =
        reason.isEmpty() ? dir.filePath("missing.xml") : writeFile(dir, "bad.xml", content);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    const Run run = check({path});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QStringLiteral("mirel-check: ") + path + QStringLiteral(": ")),
        qPrintable(run.err));
    QVERIFY(run.err.contains(reason));
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY(run.err.endsWith(QLatin1Char('\n')));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
}

void TestMirelCheck::help()
{
    const Run run = check({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith(QStringLiteral("Usage: mirel-check [FILE]")));
    QVERIFY(run.out.contains(QStringLiteral("Exit status")));
    QCOMPARE(check({"a.xml", "b.xml"}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestMirelCheck)
#include "tst_mirelcheck.moc"
