#include "definitionsdata.h"

#include "definitions/lcprojectreader.h"
#include "definitions/lcxmlreader.h"

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <limits>

using namespace DefinitionsData;

namespace
{
// A hang or a run-away blow-up fails here instead of stalling the whole suite.
constexpr qint64 kLoadCeilingMilliseconds = 60000;

QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) {
        bytes += piece;
    }
    return bytes;
}

} // namespace

class TestDefinitionFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_library.loadProject()); }
    void projectFileRoundTrip()
    {
        // Save with no path writes the working file, making its folder again if it went missing
        QTemporaryDir elsewhere;
        const QString gone = elsewhere.filePath("gone");
        m_store->setPaths(LCPaths(gone, {gone, {}}));
        const QString workingFile = m_store->paths().workingFile();
        const bool savedToWorkingFile = m_store->saveProject(QString());
        m_library.useFolder();
        QVERIFY(workingFile.startsWith(gone));
        QVERIFY(savedToWorkingFile);
        QCOMPARE(readFile(workingFile), readFile(dataPath("definitions/project.xml")));

        LCProject *const project = m_store->project();
        QCOMPARE(shape(*project), QStringLiteral("P1(L1:6 L2:2)P2(L1:2 L2:0)"));
        // results and check marks are not saved, sub types are
        LCObject *const loop = project->child(0)->child(0);
        project->child(0)->storeProperty(PropertyId::ResultText, "panel summary");
        loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
        loop->storeProperty(PropertyId::VoltDrop, 3.5f);
        loop->storeProperty(PropertyId::ProblemText, "too long");
        loop->storeProperty(PropertyId::Suggestions, QVariantList{"add a relay"});
        loop->storeProperty(PropertyId::ResultText, "verdict");
        loop->child(0)->storeProperty(PropertyId::CheckMark, CheckMarkValue::Flagged);
        const QString saved = m_library.path("saved.xml");
        QString error;
        QVERIFY2(m_store->saveProject(saved, &error), qPrintable(error));
        // the lines, so that a difference shows where it is
        QCOMPARE(QString::fromUtf8(readFile(saved)).split('\n'),
            QString::fromUtf8(readFile(dataPath("definitions/project.xml"))).split('\n'));
        QVERIFY(!m_store->anyChanged());
        // an element without children closes on itself, the project element too
        QCOMPARE(LCProjectWriter::write(LCProject(), {}),
            QByteArray(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Project name=\"\" SiteName=\"\" "
                "SiteAddr=\"\" EndUser=\"\" Installer=\"\" Engineer=\"\" Date=\"\" note=\"\" "
                "CustomerData=\"\" Addr=\"\"/>\n"));

        // Save without a path writes the file the project was read from; characters that XML
        // cannot carry even escaped are dropped: control characters, lone surrogates,
        // non-characters
        QVERIFY(m_store->loadProject(saved).projectRead);
        m_store->project()->setProperty(PropertyId::Name,
            QStringLiteral("a\u0001b\u001Fc\u007F \r\n") + QChar(0xD83D) + QStringLiteral("d\uFFFD")
                + QChar(0xFFFE) + QChar(0xFFFF));
        QVERIFY(m_store->saveProject(QString()));
        QVERIFY(m_store->loadProject(saved).projectRead);
        QCOMPARE(m_store->project()->property(PropertyId::Name).toString(),
            QStringLiteral("abc\u007F \r\nd\uFFFD"));

        // a file from before sub types were kept reads as it always did
        const QString old = m_library.path("old.xml");
        QVERIFY(writeFile(old, readFile(saved).replace(R"( subtype="1")", "")));
        QVERIFY(m_store->loadProject(old).projectRead);
        QCOMPARE(
            m_store->project()->child(0)->child(0)->child(0)->property(PropertyId::SubType).toInt(),
            LCDevice::kNoSubType);
    }

    void failedSave_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("withProject");
        QTest::newRow("below a regular file") << "afile/x.xml"
                                              << "afile" << true;
        QTest::newRow("target is a folder") << "folder"
                                            << "folder/in.xml" << true;
        QTest::newRow("no current project") << "afile"
                                            << "afile" << false;
    }

    void failedSave()
    {
        QFETCH(QString, target);
        QFETCH(QString, kept);
        QFETCH(bool, withProject);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("afile"), "earlier content\n"));
        QVERIFY(writeFile(dir.filePath("folder/in.xml"), "<Project/>"));
        const QByteArray before = readFile(dir.filePath(kept));
        m_library.editEverything();
        if (!withProject) {
            m_store->setProject(nullptr);
        }

        QString error;
        QVERIFY(!m_store->saveProject(dir.filePath(target), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(dir.filePath(kept)), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({"afile", "folder"}));
        QVERIFY2(m_library.stillEdited(m_store->project()),
            "nothing was saved, so nothing counts as saved");
    }

    void hostileFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QDir dir(dataPath("hostile"));
        const QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() > 40);
        for (const QString &file : files) {
            const QString name = QFileInfo(file).completeBaseName();
            QTest::newRow(qPrintable(name)) << dir.filePath(
                file) << QString::fromUtf8(readFile(dir.filePath(name + ".expected"))).trimmed();
        }
    }

    void hostileFiles()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        verifyLoad(path, expected);
    }

    void hugeAndUnreadableFiles_data()
    {
        // Too big to keep as files: bytes go to path when there are any, and the file is then
        // stretched to size when that is given.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QByteArray &bytes, const char *path,
                             qint64 size, const QString &expected) {
            QTest::newRow(name) << bytes << QString(path) << size << expected;
        };
        const QByteArray elements = repeated("<x/>", int(LCXmlReader::kMaxElements) - 1);
        const QByteArray eightMegabytes(8 * 1024 * 1024, 'n');
        row("missing file", {}, "missing.xml", 0, "refused");
        row("a folder", {}, "config", 0, "refused: it is a folder");
        // the tail is a hole on most file systems, so this costs no disc space
        row("larger than 128 MB", "<Project/>", "huge.xml", LCXmlReader::kMaxFileBytes + 1,
            "refused: the file is larger than 128 MB");
        row("10,000 levels", R"(<Project><Panel><Loop><device/>)" + repeated("<x>", 10000),
            "huge.xml", 0, "refused: line 1: nested too deeply");
        row("elements up to the limit", "<Project name=\"p\">" + elements + "</Project>",
            "huge.xml", 0, "read \"p\"");
        row("one element more than the limit", "<Project><x/>" + elements + "</Project>",
            "huge.xml", 0, "refused: line 1: too many elements");
        row("8 MB name", "<Project name=\"" + eightMegabytes + "\"/>", "huge.xml", 0,
            "read \"" + QString::fromLatin1(eightMegabytes) + '"');
    }

    void hugeAndUnreadableFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, path);
        QFETCH(qint64, size);
        QFETCH(QString, expected);
        path = m_library.path(path);
        if (!bytes.isEmpty()) {
            QVERIFY(writeFile(path, bytes));
        }
        if (size > 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(size));
        }
        verifyLoad(path, expected);
        // the bytes take the room the file needs, not the 128 MB a file may have
        QString error;
        const std::optional<QByteArray> read = LCXmlReader::readFile(path, &error);
        QVERIFY(!read || read->capacity() <= 2 * read->size() + 1);
        if (!bytes.isEmpty()) {
            QFile::remove(path);
        }
    }

    void manyObjectsLoadInLinearTime_data()
    {
        // A file of a few hundred kilobytes must not keep the program busy for minutes. Each
        // subject is timed against a file of as many things that are known to cost the same each;
        // machine speed and sanitizers slow both alike.
        QTest::addColumn<QByteArray>("subject");
        QTest::addColumn<QByteArray>("yardstick");
        constexpr int kObjects = 2500;
        const QByteArray devices = "<Project><Panel><Loop>" + repeated("<device/>", kObjects)
            + "</Loop></Panel></Project>";
        QTest::newRow("loops in one panel")
            << "<Project><Panel>" + repeated("<Loop/>", kObjects) + "</Panel></Project>" << devices;
        QTest::newRow("panels") << "<Project>" + repeated("<Panel/>", kObjects) + "</Project>"
                                << devices;
    }

    void manyObjectsLoadInLinearTime()
    {
        QFETCH(QByteArray, subject);
        QFETCH(QByteArray, yardstick);
        // a panel costs about five devices (its loop list and eleven values); what this guards
        // against, work growing with the square of the objects, costs hundreds of times more
        constexpr qint64 kFactor = 10;
        constexpr qint64 kNoiseMilliseconds = 100;
        const QString yardstickPath = m_library.path("yardstick.xml");
        const QString subjectPath = m_library.path("timed.xml");
        QVERIFY(writeFile(yardstickPath, yardstick));
        QVERIFY(writeFile(subjectPath, subject));
        QVERIFY(m_store->loadProject(yardstickPath).projectRead);
        // The fastest of a few loads of each in turn, so that a burst of other work on a shared
        // machine (sanitizer builds run their tests side by side) weighs on both sides alike.
        constexpr int kTries = 3;
        qint64 reference = std::numeric_limits<qint64>::max();
        qint64 elapsed = reference;
        for (int i = 0; i < kTries; ++i) {
            reference = std::min(reference, timedLoad(yardstickPath));
            elapsed = std::min(elapsed, timedLoad(subjectPath));
        }
        QVERIFY2(elapsed <= kFactor * reference + kNoiseMilliseconds,
            qPrintable(QStringLiteral("%1 ms, the yardstick %2 ms").arg(elapsed).arg(reference)));
    }

    void factoryDefinitions()
    {
        const QMap<int, DeviceType> devices = m_store->defaultDeviceTypes();
        QCOMPARE(devices.keys(), QList<int>({1, 2, 3}));
        QCOMPARE(devices.value(1), (DeviceType{"Smoke", 24, 1, 1, 0.3f, 5.0f, 100.0f, {1, 2}}));
        // a later element of an id replaces the earlier one; absent attributes read as 0
        QCOMPARE(devices.value(3), (DeviceType{"CallPoint", 24, 3, 3, 0.2f, 4.0f, 0.0f, {0}}));
        QCOMPARE(m_store->defaultWireTypes().value(2), (WireType{"W2", 36.2f, 75.0f, 2, "two"}));
        QCOMPARE(m_store->defaultCardTypes().value(2), (CardType{"C2", 65.0f, 65.0f, 2}));
        // the reserved sub type name is left out; the match is exact
        QCOMPARE(m_store->subTypes().keys(), QList<int>({1, 2, 3}));
        QCOMPARE(m_store->subTypes().value(2).picture, QStringLiteral("02"));
        QCOMPARE(m_store->subTypes().value(3).picture, QStringLiteral("00"));
        QCOMPARE(m_store->subTypeIdByName("Red"), 1);
        QCOMPARE(m_store->subTypeIdByName("Blue"), 0);
        QStringList batteries;
        for (const BatteryType &battery : m_store->batteryTypes()) {
            batteries << QStringLiteral("%1 %2 %3")
                             .arg(battery.Name)
                             .arg(battery.Capacity)
                             .arg(battery.Note);
        }
        QCOMPARE(batteries, QStringList({"B12 12 one", "B7 7 ", "UNDEFINE 12 two"}));

        // a new device takes the first sub type its type lists, and 0 when its type has none
        LCLoop loop;
        LCDevice *const device = ModelFixture::add<LCDevice>(&loop);
        const QList<QPair<int, int>> subTypeOfType = {{7, 15}, {3, 0}, {42, 0}};
        for (const auto &[type, subType] : subTypeOfType) {
            device->setProperty(PropertyId::deviceTypeid, type);
            QCOMPARE(device->property(PropertyId::SubType).toInt(), subType);
        }
        // user types are found by their exact name, the lowest id first
        DeviceType twin;
        twin.Name = QStringLiteral("Twin");
        m_store->setDeviceTypes({{3, twin}, {2, twin}});
        QCOMPARE(m_store->deviceTypeIdByName("Twin"), 2);
        QCOMPARE(m_store->deviceTypeIdByName("twin"), 0);
        QCOMPARE(m_store->wireTypeIdByName("W5"), 5);
        QCOMPARE(m_store->wireTypeIdByName(""), 0);
    }

    void defaultsFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("read");
        // what follows the Default element is no part of it
        QTest::newRow("Default below a wrapper")
            << QByteArray("<Root><Other/><Default><DeviceType "
                          "DevID=\"1\"/></Default><DeviceType DevID=\"2\"/></Root>")
            << true;
        QTest::newRow("no Default") << QByteArray("<Root><Project/></Root>") << false;
        QTest::newRow("Default too deep")
            << QByteArray("<Root><A><Default><DeviceType DevID=\"1\"/></Default></A></Root>")
            << false;
        QTest::newRow("not well formed")
            << QByteArray("<Default><DeviceType DevID=\"1\">") << false;
    }

    void defaultsFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, read);
        const QString path = m_library.path("config/default.xml");
        const QByteArray factory = readFile(path);
        QVERIFY(writeFile(path, content));
        QCOMPARE(m_store->loadDefaults(), read);
        QCOMPARE(m_store->defaultDeviceTypes().size(), read ? 1 : 3);
        QCOMPARE(m_store->batteryTypes().size(), read ? 0 : 3);
        // without a project file the start-up verdict rests on the defaults alone
        const LCLoadResult result = m_store->loadProject(m_library.path("missing.xml"));
        QCOMPARE(result.ok, read);
        QVERIFY(!result.projectRead);
        QVERIFY(writeFile(path, factory));
        QVERIFY(m_store->loadDefaults());
    }

    void weightFactor_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<float>("factor");
        QTest::newRow("no file keeps the factor") << QByteArray() << 0.9f;
        QTest::newRow("0.75") << QByteArray("0.75") << 0.75f;
        QTest::newRow("only four bytes count") << QByteArray("0.755") << 0.75f;
        QTest::newRow("stops at a zero byte") << QByteArray("0.5\0"
                                                            "9",
            5) << 0.5f;
        QTest::newRow("empty file reads as 0") << QByteArray("") << 0.0f;
    }

    void weightFactor()
    {
        QFETCH(QByteArray, content);
        QFETCH(float, factor);
        const QString path = m_store->weightFactorFilePath();
        if (!content.isNull()) {
            QVERIFY(writeFile(path, content));
        }
        QVERIFY(m_library.loadProject());
        QCOMPARE(m_store->weightFactor(), factor);
        QFile::remove(path);
    }

    void changeFlags()
    {
        // a kind the file does not carry comes from the factory
        const QString path = m_library.path("own.xml");
        QVERIFY(writeFile(path,
            R"(<Project><DeviceType DevID="5" Name="Own"/><WireType WireID="2" Name="OwnCable"/></Project>)"));
        QVERIFY(m_store->loadProject(path).projectRead);
        QCOMPARE(m_store->deviceTypes().keys(), QList<int>({5}));
        QCOMPARE(m_store->wireTypes().keys(), QList<int>({2}));
        QCOMPARE(m_store->cardTypes(), m_store->defaultCardTypes());
        QVERIFY(!m_store->anyChanged());
        // a project handed over counts as a change, and its file is the working file
        m_store->setProject(std::make_unique<LCProject>());
        QVERIFY(m_store->projectChanged());
        QCOMPARE(m_store->projectFilePath(), m_store->workingFilePath());
    }

    // Run from its own folder, the program keeps everything there; installed (the factory files
    // in ../share/mirel), it reads those and keeps the user's files in the user's folders.
    void paths_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected"); // factory folder, working file, reports
        const QStringList beside{"bin/config/default.xml", "bin/config/config.xml"};
        const QStringList installed{
            "share/mirel/config/default.xml", "share/mirel/config/config.xml"};
        QTest::newRow("own folder")
            << beside << QStringList{"bin", "bin/config/config.xml", "bin/Report"};
        QTest::newRow("installed")
            << installed << QStringList{"share/mirel", "user/config.xml", "Documents"};
        QTest::newRow("both") << beside + installed
                              << QStringList{"bin", "bin/config/config.xml", "bin/Report"};
    }
    void paths()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        for (const QString &file : files) {
            QVERIFY(writeFile(dir.filePath(file), file.toUtf8()));
        }
        const LCPaths paths(dir.filePath("bin"), {dir.filePath("user"), dir.filePath("Documents")});
        QCOMPARE(paths.factoryFolder(), dir.filePath(expected.at(0)));
        QCOMPARE(paths.defaultsFile(), dir.filePath(expected.at(0) + "/config/default.xml"));
        QCOMPARE(paths.workingFile(), dir.filePath(expected.at(1)));
        QCOMPARE(paths.reportFolder(), dir.filePath(expected.at(2)));
        QCOMPARE(paths.recoveryFolder(), dir.filePath("user/recovery"));
        // the sample, read-only where it is installed, becomes the user's working file once
        const QString sample = paths.sampleProject();
        if (sample != paths.workingFile()) {
            QVERIFY(QFile::setPermissions(sample, QFile::ReadOwner));
        }
        QVERIFY(paths.provideWorkingFile());
        QCOMPARE(readFile(paths.workingFile()), readFile(sample));
        QVERIFY(QFileInfo(paths.workingFile()).permission(QFile::WriteOwner));
        QVERIFY(writeFile(paths.workingFile(), "saved"));
        QVERIFY(paths.provideWorkingFile());
        QCOMPARE(readFile(paths.workingFile()), QByteArray("saved"));
    }

    // A program folder holding the factory files that cannot be written (a read-only mount, a
    // system folder) keeps nothing of the user's there.
    void readOnlyProgramFolder()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("bin/config/default.xml"), "defaults"));
        QVERIFY(writeFile(dir.filePath("bin/config/config.xml"), "sample"));
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
        const QFile::Permissions writable = readOnly | QFile::WriteOwner;
        QVERIFY(QFile::setPermissions(dir.filePath("bin/config"), readOnly));
        QVERIFY(QFile::setPermissions(dir.filePath("bin"), readOnly));
        const bool stopped = !QFile(dir.filePath("bin/config/probe")).open(QIODevice::WriteOnly);
        const LCPaths paths(dir.filePath("bin"), {dir.filePath("user"), dir.filePath("Documents")});
        QFile::remove(dir.filePath("bin/config/probe"));
        QVERIFY(QFile::setPermissions(dir.filePath("bin/config"), writable));
        QVERIFY(QFile::setPermissions(dir.filePath("bin"), writable));
        if (!stopped) {
            QSKIP("permissions do not stop this user");
        }
        QCOMPARE(paths.factoryFolder(), dir.filePath("bin"));
        QCOMPARE(paths.workingFile(), dir.filePath("user/config.xml"));
        QCOMPARE(paths.reportFolder(), dir.filePath("Documents"));
        QVERIFY(paths.provideWorkingFile());
        QCOMPARE(readFile(paths.workingFile()), QByteArray("sample"));
    }

    void iconPaths()
    {
        QTemporaryDir dir;
        for (const char *name : {"deviceico/12.ico", "subtypeico/00.png", "subtypeico/05.png"}) {
            QVERIFY(writeFile(dir.filePath(name), "icon"));
        }
        m_store->setPaths(LCPaths(dir.path(), {}));
        QCOMPARE(m_store->deviceIconPath(12), dir.filePath("deviceico/12.ico"));
        QCOMPARE(m_store->subTypeIconPath("05"), dir.filePath("subtypeico/05.png"));
        QCOMPARE(m_store->subTypeIconPath("07"), dir.filePath("subtypeico/00.png"));
        QVERIFY(QFile::remove(dir.filePath("subtypeico/00.png")));
        m_store->setPaths(LCPaths(dir.path(), {}));
        QVERIFY(m_store->subTypeIconPath("07").isEmpty());
        m_library.useFolder();
    }

private:
    qint64 timedLoad(const QString &path)
    {
        QElapsedTimer timer;
        timer.start();
        (void)m_store->loadProject(path);
        return timer.elapsed();
    }

    // Loads path over an edited project and checks the outcome against expected: `read "name"`
    // with the shape of what was read, or `refused: message` (`refused` for any message).
    void verifyLoad(const QString &path, const QString &expected)
    {
        m_library.editEverything();
        LCProject *const edited = m_store->project();
        QElapsedTimer timer;
        timer.start();
        const LCLoadResult result = m_store->loadProject(path);
        QVERIFY2(timer.elapsed() < kLoadCeilingMilliseconds,
            qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(result.ok, "the factory definitions are intact");
        QString outcome;
        if (result.projectRead) {
            const QString read = shape(*m_store->project());
            outcome = QStringLiteral("read \"%1\"")
                          .arg(m_store->project()->property(PropertyId::Name).toString())
                + (read.isEmpty() ? QString() : QLatin1Char(' ') + read);
            QVERIFY(result.errorText.isEmpty());
            QVERIFY(!m_store->anyChanged());
        } else {
            // the user is still asked before the unsaved work is dropped
            QVERIFY(m_library.stillEdited(edited));
            QVERIFY(!result.errorText.isEmpty());
            outcome = expected == QLatin1String("refused")
                ? expected
                : QStringLiteral("refused: ") + result.errorText;
        }
        QCOMPARE(outcome, expected);
    }

    Library m_library;
    LCDataStore *const m_store = m_library.store;
};

QTEST_GUILESS_MAIN(TestDefinitionFiles)
#include "tst_definitionfiles.moc"
