#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The project files the user worked on last, newest first, and the folder the file dialogs
// start in; both kept in the user's settings.
class LCRecentFiles
{
public:
    static constexpr int kMaxFiles = 8;

    explicit LCRecentFiles(QSettings &settings);

    QStringList files() const;
    // Puts path first (once), keeping at most kMaxFiles; its folder is the one used last.
    void add(const QString &path);
    void remove(const QString &path);
    // The folder of the last file opened or saved; fallback when there is none yet.
    QString lastFolder(const QString &fallback) const;

private:
    QSettings &m_settings;
};
