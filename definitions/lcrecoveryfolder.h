#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

class QLockFile;

// The folder that holds the recovery files of every running Mirel. Each file has a lock that its
// program holds while it runs, so two programs never write the same file, and the files of
// programs that ended without removing theirs are told from the files in use.
class LCRecoveryFolder
{
public:
    static inline const QString kSuffix = QStringLiteral(".recovery");
    static inline const QString kDamagedSuffix = QStringLiteral(".damaged");

    explicit LCRecoveryFolder(const QString &folder);
    ~LCRecoveryFolder();
    LCRecoveryFolder(const LCRecoveryFolder &) = delete;
    LCRecoveryFolder &operator=(const LCRecoveryFolder &) = delete;

    // The files no running program holds, newest first; held by this one from now on.
    QStringList claimLeftovers();
    // Lets a leftover go: removed, or left for a later start.
    void release(const QString &leftover, bool remove);
    // Renames a damaged leftover so it is never offered again; its new path.
    QString keepAside(const QString &leftover);
    // This program's own file, a leftover it took over or a new name; empty when the folder
    // cannot be written. The file itself is written by others.
    QString ownFile();
    void adopt(const QString &leftover);

private:
    bool lock(const QString &file);
    void unlock(const QString &file);

    QString m_folder;
    QString m_ownFile;
    std::map<QString, std::unique_ptr<QLockFile>> m_locks;
};
