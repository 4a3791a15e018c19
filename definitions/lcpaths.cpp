#include "definitions/lcpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace
{
const QString kInstalledFactoryFolder = QStringLiteral(MIREL_INSTALLED_FACTORY);
const QString kWorkingFile = QStringLiteral("config/config.xml");
const QString kDefaultsFile = QStringLiteral("config/default.xml");
const QString kWeightFactorFile = QStringLiteral("data.prj");
const QString kDeviceIconFolder = QStringLiteral("deviceico");
const QString kSubTypeIconFolder = QStringLiteral("subtypeico");
const QString kReportFolder = QStringLiteral("Report");
const QString kReportTemplate = QStringLiteral("Report/Report.xlt");
const QString kUserWorkingFile = QStringLiteral("config.xml");
const QString kRecoveryFolder = QStringLiteral("recovery");
const QString kProbeName = QStringLiteral("mirel-XXXXXX.probe");

// Permissions alone do not tell (a read-only mount, or root, whom the bits do not stop), so try.
bool canCreateFileIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(kProbeName));
    return probe.open();
}
} // namespace

LCPaths LCPaths::ofProgram()
{
    return LCPaths(QCoreApplication::applicationDirPath(),
        {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
}

LCPaths::LCPaths(const QString &programFolder, const UserFolders &user)
    : m_user(user)
{
    const QDir program(programFolder);
    const QDir installed(QDir::cleanPath(program.filePath(kInstalledFactoryFolder)));
    const bool ownFolder = QFileInfo::exists(program.filePath(kDefaultsFile))
        || !QFileInfo::exists(installed.filePath(kDefaultsFile));
    m_factoryFolder = ownFolder ? program.absolutePath() : installed.absolutePath();
    // An installed program never writes below its prefix, even where it may (as root).
    const QString configFolder = QFileInfo(program.filePath(kWorkingFile)).absolutePath();
    const bool writable = ownFolder
        && canCreateFileIn(QFileInfo::exists(configFolder) ? configFolder : program.absolutePath());
    m_workingFile =
        writable ? program.filePath(kWorkingFile) : QDir(m_user.data).filePath(kUserWorkingFile);
    m_reportFolder = writable ? program.filePath(kReportFolder) : m_user.documents;
}

QString LCPaths::defaultsFile() const
{
    return QDir(m_factoryFolder).filePath(kDefaultsFile);
}

QString LCPaths::weightFactorFile() const
{
    return QDir(m_factoryFolder).filePath(kWeightFactorFile);
}

QString LCPaths::deviceIconFolder() const
{
    return QDir(m_factoryFolder).filePath(kDeviceIconFolder);
}

QString LCPaths::subTypeIconFolder() const
{
    return QDir(m_factoryFolder).filePath(kSubTypeIconFolder);
}

QString LCPaths::reportTemplate() const
{
    return QDir(m_factoryFolder).filePath(kReportTemplate);
}

QString LCPaths::sampleProject() const
{
    return QDir(m_factoryFolder).filePath(kWorkingFile);
}

QString LCPaths::recoveryFolder() const
{
    return QDir(m_user.data).filePath(kRecoveryFolder);
}

bool LCPaths::provideWorkingFile() const
{
    if (QFileInfo::exists(m_workingFile)) {
        return true;
    }
    const QString sample = sampleProject();
    if (!QDir().mkpath(QFileInfo(m_workingFile).absolutePath())
        || !QFile::copy(sample, m_workingFile)) {
        return false;
    }
    // the copy of a read-only sample is the user's to write
    return QFile::setPermissions(m_workingFile,
        QFile::permissions(m_workingFile) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
}
