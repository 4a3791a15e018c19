#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QDir kCases(QStringLiteral(MIREL_SOURCE_DIR "/tests/data/check"));
const QString kSample = QStringLiteral(MIREL_SOURCE_DIR "/data/config/config.xml");

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// mirel-check started in the folder of the cases, as a user would from a shell there.
Run check(const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(kCases.path());
    process.start(QCoreApplication::applicationDirPath() + "/mirel-check", arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError())};
}

// The file's text; empty when there is no such file.
QString readText(const QString &path)
{
    QFile file(kCases.filePath(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class TestMirelCheck : public QObject
{
    Q_OBJECT

private slots:
    void cases_data();
    void cases();
    void usage();
};

// Every project file in tests/data/check is a case; the README there says how they are laid out.
void TestMirelCheck::cases_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("expected"); // the expected files' name without the suffix
    for (const QString &name : kCases.entryList({QStringLiteral("*.xml")}, QDir::Files)) {
        const QString base = QFileInfo(name).completeBaseName();
        QTest::newRow(qPrintable(base)) << name << base;
    }
    // the sample stays where the program ships it
    QTest::newRow("sample-project") << kSample << QStringLiteral("sample-project");
}

void TestMirelCheck::cases()
{
    QFETCH(QString, project);
    QFETCH(QString, expected);
    const Run run = check({project});
    const QString out = readText(expected + ".out");
    QCOMPARE(run.out, out);
    QCOMPARE(run.err, readText(expected + ".err"));
    const QString status = readText(expected + ".status");
    QCOMPARE(run.exitCode,
        status.isEmpty() ? int(out.contains(" may not work well.\n")) : status.toInt());
}

void TestMirelCheck::usage()
{
    const Run help = check({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith("Usage: mirel-check [--pdf OUT.pdf] [FILE]\n"));
    const Run two = check({"a.xml", "b.xml"});
    QCOMPARE(two.exitCode, 2);
    QCOMPARE(
        two.err, QStringLiteral("mirel-check: one project file at most; see mirel-check --help\n"));
    // without a file, the working project beside the program: the sample, unless changed
    const QString working = QCoreApplication::applicationDirPath() + "/config/config.xml";
    if (readText(working) == readText(kSample)) {
        QCOMPARE(check({}).out, readText("sample-project.out"));
    }
    // the calculation sheet beside the printout, which stays as it is
    QTemporaryDir dir;
    const Run sheet = check({"--pdf", dir.filePath("sheet.pdf"), kSample});
    QCOMPARE(sheet.exitCode, 1);
    QCOMPARE(sheet.out, readText("sample-project.out"));
    QVERIFY(QFile(dir.filePath("sheet.pdf")).size() > 0);
    const Run unwritable = check({"--pdf", dir.path(), kSample});
    QCOMPARE(unwritable.exitCode, 2);
    QVERIFY(unwritable.err.contains("mirel-check: " + dir.path() + ": "));
    QCOMPARE(check({"--pdf"}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestMirelCheck)
#include "tst_mirelcheck.moc"
