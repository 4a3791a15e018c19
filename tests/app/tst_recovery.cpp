#include "mainwindowfixture.h"

#include "definitions/lcprojectwriter.h"
#include "definitions/lcrecoveryfile.h"
#include "definitions/lcrecoveryfolder.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"

#include <QProcess>
#include <QRegularExpression>

namespace
{
// The child that edits and is killed finds its folder here.
const char kChildFolder[] = "MIREL_RECOVERY_CHILD_FOLDER";
const QByteArray kWritten = QByteArrayLiteral("recovery written\n");
constexpr int kWriteTimeoutMs = 15000;
const QRegularExpression kOffer(QStringLiteral(
    "^Information\\|Mirel did not close properly\\. Restore the unsaved changes of "
    "Larchmere Hospital East Wing, edited from \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\\?$"));

QByteArray currentBytes()
{
    const LCDataStore *const store = LCDataStore::instance();
    return LCProjectWriter::write(
        *store->project(), {store->deviceTypes(), store->wireTypes(), store->cardTypes()});
}
} // namespace

// Unsaved changes survive a program that is killed: the next start offers them back, a damaged
// recovery file is never read, and a program never takes the file of another that still runs.
class TestRecovery : public QObject, private MainWindowFixture
{
    Q_OBJECT

private slots:
    void init() { setUpFiles(); }
    void cleanup() { tearDown(); }
    void restoredAfterKill();
    void removedWhenSavedOrUndone();
    void damaged_data();
    void damaged();
    void heldByAnotherProgram();

private:
    void editAndWaitToBeKilled(const QString &folder);
    // The window as the program shows it: the question about a crashed run's changes after it.
    void startProgram()
    {
        start();
        m_window->startRecovery();
    }
    // Steps on the undo stack.
    void editProject()
    {
        LCProject *const project = this->project();
        edit(*project, PropertyId::Name, QStringLiteral("Larchmere Hospital East Wing, edited"));
        edit(*project->panel(0), PropertyId::PanelNote, QStringLiteral("Checked on site"));
    }
    // A recovery file of the sample under another name.
    static LCRecoveryFile::Contents recoveredSample()
    {
        QByteArray project = readAll(kSample);
        project.replace("Larchmere Hospital East Wing", "Recovered");
        return {kSample, QStringLiteral("Recovered"), QDateTime::currentDateTime(), project};
    }
    QStringList recoveryFiles(const QString &suffix = LCRecoveryFolder::kSuffix) const
    {
        return QDir(path("user/recovery"))
            .entryList({QLatin1Char('*') + suffix}, QDir::Files, QDir::Name);
    }
    QString writeRecoveryFile(const QByteArray &bytes)
    {
        const QString file = path("user/recovery/20260101-120000000-1" + LCRecoveryFolder::kSuffix);
        return QDir().mkpath(path("user/recovery")) && writeAll(file, bytes) ? file : QString();
    }
};

// The child of restoredAfterKill: edits the project in the window and waits, with the recovery
// file written, to be killed.
void TestRecovery::editAndWaitToBeKilled(const QString &folder)
{
    LCDataStore::instance()->setPaths(
        LCPaths(folder, {folder + QStringLiteral("/user"), folder + QStringLiteral("/Documents")}));
    startProgram();
    editProject();
    // definitions are not steps, but unsaved all the same
    LCDataStore *const store = LCDataStore::instance();
    QMap<int, DeviceType> types = store->deviceTypes();
    types.first().Name += QStringLiteral(" (site)");
    store->setDeviceTypes(types);
    QVERIFY(writeAll(folder + QStringLiteral("/edited.xml"), currentBytes()));
    const QDir recovery(folder + QStringLiteral("/user/recovery"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !recovery.entryList({QLatin1Char('*') + LCRecoveryFolder::kSuffix}).isEmpty(),
        kWriteTimeoutMs);
    QFile out;
    QVERIFY(out.open(stdout, QIODevice::WriteOnly));
    out.write(kWritten);
    out.flush();
    QTest::qWait(kWriteTimeoutMs * 4);
}

void TestRecovery::restoredAfterKill()
{
    const QString childFolder = qEnvironmentVariable(kChildFolder);
    if (!childFolder.isEmpty()) {
        editAndWaitToBeKilled(childFolder);
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildFolder, m_dir->path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("restoredAfterKill")});
    QVERIFY(child.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT(
        (output += child.readAllStandardOutput()).contains(kWritten), kWriteTimeoutMs * 2);
    child.kill(); // SIGKILL: nothing of the child's runs any more
    QVERIFY(child.waitForFinished());
    const QByteArray edited = readAll(path("edited.xml"));
    const QByteArray saved = readAll(path("config/config.xml"));
    QVERIFY(!edited.isEmpty() && edited != saved);

    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    startProgram();
    const QStringList shown = told();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(kOffer.match(shown.first()).hasMatch(), qPrintable(shown.first()));
    QCOMPARE(currentBytes(), edited);
    QVERIFY(m_window->isWindowModified());
    // the file is still there, now this program's, until Save writes the project's own file
    QCOMPARE(recoveryFiles().size(), 1);
    m_window->slotSave();
    QCOMPARE(readAll(path("config/config.xml")), edited);
    QVERIFY(!m_window->isWindowModified());
    QTRY_VERIFY(recoveryFiles().isEmpty());
}

void TestRecovery::removedWhenSavedOrUndone()
{
    startProgram();
    editProject();
    QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, kWriteTimeoutMs);
    m_window->undoStack().setIndex(0);
    QTRY_VERIFY(recoveryFiles().isEmpty());
    // a program that ends cleanly leaves nothing behind to offer
    editProject();
    QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, kWriteTimeoutMs);
    m_window.reset();
    QVERIFY(recoveryFiles().isEmpty());
    startProgram();
    QCOMPARE(told(), QStringList());
}

void TestRecovery::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    LCRecoveryFile::Contents contents = recoveredSample();
    const QByteArray whole = LCRecoveryFile::compose(contents);
    QByteArray flipped = whole;
    flipped[flipped.size() / 2] = flipped.at(flipped.size() / 2) ^ 1;
    QTest::newRow("a bit flipped") << flipped << "it is incomplete or damaged";
    QTest::newRow("cut short") << whole.left(whole.size() - 100) << "it is incomplete or damaged";
    QTest::newRow("not one") << contents.project << "it is not a recovery file";
    // whole, so the user is asked, but what it holds is no project
    contents.project = contents.project.left(contents.project.size() / 2);
    QTest::newRow("half a project")
        << LCRecoveryFile::compose(contents) << "Premature end of document";
}

void TestRecovery::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString file = writeRecoveryFile(bytes);
    QVERIFY(!file.isEmpty());
    m_prompter.answers.enqueue(LCPrompter::Answer::Yes);
    startProgram();
    QStringList shown = told();
    if (QTest::currentDataTag() == QLatin1String("half a project")) {
        QVERIFY(shown.takeFirst().startsWith(QLatin1String(
            "Information|Mirel did not close properly. Restore the unsaved changes of Recovered")));
    }
    const QString kept = file + LCRecoveryFolder::kDamagedSuffix;
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(QStringLiteral("Error|The unsaved changes of a project "
                                                     "could not be restored: %1 is damaged (")
                                          .arg(file))
            && shown.first().contains(reason)
            && shown.first().endsWith(QStringLiteral("). It was kept as %1.").arg(kept)),
        qPrintable(shown.first()));
    QCOMPARE(readAll(kept), bytes);
    QCOMPARE(project()->property(PropertyId::Name).toString(),
        QStringLiteral("Larchmere Hospital East Wing"));
    QVERIFY(!m_window->isWindowModified());
    m_window.reset();
    startProgram();
    QCOMPARE(told(), QStringList());
}

void TestRecovery::heldByAnotherProgram()
{
    // another Mirel that runs holds its file; this one neither offers nor writes it
    LCRecoveryFolder other(path("user/recovery"));
    const QString othersFile = other.ownFile();
    const LCRecoveryFile::Contents contents = recoveredSample();
    QVERIFY(writeAll(othersFile, LCRecoveryFile::compose(contents)));
    startProgram();
    QCOMPARE(told(), QStringList());
    editProject();
    QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 2, kWriteTimeoutMs);
    QCOMPARE(readAll(othersFile), LCRecoveryFile::compose(contents));
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
