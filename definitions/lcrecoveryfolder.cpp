#include "definitions/lcrecoveryfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace
{
const QString kLockSuffix = QStringLiteral(".lock");
const QString kOwnNameFormat = QStringLiteral("%1-%2");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmsszzz");
} // namespace

LCRecoveryFolder::LCRecoveryFolder(const QString &folder)
    : m_folder(folder)
{
}

LCRecoveryFolder::~LCRecoveryFolder() = default;

bool LCRecoveryFolder::lock(const QString &file)
{
    auto lockFile = std::make_unique<QLockFile>(file + kLockSuffix);
    // held as long as its program lives, however long that is
    lockFile->setStaleLockTime(0);
    if (!lockFile->tryLock(0)) {
        return false;
    }
    m_locks[file] = std::move(lockFile);
    return true;
}

void LCRecoveryFolder::unlock(const QString &file)
{
    m_locks.erase(file);
}

QStringList LCRecoveryFolder::claimLeftovers()
{
    QStringList leftovers;
    const QFileInfoList files =
        QDir(m_folder).entryInfoList({QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &info : files) {
        const QString file = info.absoluteFilePath();
        if (file != m_ownFile && m_locks.count(file) == 0 && lock(file)) {
            leftovers << file;
        }
    }
    // locks of programs that ended before they wrote anything
    const QStringList locks =
        QDir(m_folder).entryList({QLatin1Char('*') + kSuffix + kLockSuffix}, QDir::Files);
    for (const QString &name : locks) {
        const QString file = QDir(m_folder).absoluteFilePath(name.chopped(kLockSuffix.size()));
        if (!QFileInfo::exists(file) && file != m_ownFile && lock(file)) {
            unlock(file);
        }
    }
    return leftovers;
}

void LCRecoveryFolder::release(const QString &leftover, bool remove)
{
    if (remove) {
        QFile::remove(leftover);
    }
    unlock(leftover);
}

QString LCRecoveryFolder::keepAside(const QString &leftover)
{
    QString aside = leftover + kDamagedSuffix;
    for (int counter = 2; QFileInfo::exists(aside); ++counter) {
        aside = leftover + QLatin1Char('-') + QString::number(counter) + kDamagedSuffix;
    }
    const QString kept = QFile::rename(leftover, aside) ? aside : leftover;
    unlock(leftover);
    return kept;
}

QString LCRecoveryFolder::ownFile()
{
    if (!m_ownFile.isEmpty() || !QDir().mkpath(m_folder)) {
        return m_ownFile;
    }
    const QString name = kOwnNameFormat.arg(QDateTime::currentDateTime().toString(kTimeFormat),
                             QString::number(QCoreApplication::applicationPid()))
        + kSuffix;
    const QString file = QDir(m_folder).absoluteFilePath(name);
    if (lock(file)) {
        m_ownFile = file;
    }
    return m_ownFile;
}

void LCRecoveryFolder::adopt(const QString &leftover)
{
    if (m_ownFile.isEmpty() && m_locks.count(leftover) != 0) {
        m_ownFile = leftover;
    }
}
