#pragma once

#include <QString>

// Where the program's files are. The factory files (definitions, weighting factor, icons, report
// template, sample project) lie beside the program when it runs from its own folder, as from the
// build tree, or in ../share/mirel when it is installed (found there only). The working file and
// the reports stay in the program's own folder when that folder holds the factory files and can
// be written, as they always have; otherwise they go to the user's data and documents folders,
// and the working file starts as a copy of the sample. Recovery files are always the user's.
// Settings are QSettings', in the user's configuration folder.
class LCPaths
{
public:
    struct UserFolders {
        QString data;
        QString documents;
    };

    // The running program's folder and the user's standard folders.
    static LCPaths ofProgram();
    LCPaths(const QString &programFolder, const UserFolders &user);

    QString factoryFolder() const { return m_factoryFolder; }
    QString defaultsFile() const;
    QString weightFactorFile() const;
    QString deviceIconFolder() const;
    QString subTypeIconFolder() const;
    QString reportTemplate() const;
    QString sampleProject() const;

    QString workingFile() const { return m_workingFile; }
    // The first choice for reports; the documents folder is the one after it.
    QString reportFolder() const { return m_reportFolder; }
    QString documentsFolder() const { return m_user.documents; }
    QString recoveryFolder() const;

    // Copies the sample to the working file when there is none yet; false when that failed.
    bool provideWorkingFile() const;

private:
    QString m_factoryFolder;
    QString m_workingFile;
    QString m_reportFolder;
    UserFolders m_user;
};
