#include "app/lcrecentfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace
{
const QString kFilesKey = QStringLiteral("recentFiles");
const QString kFolderKey = QStringLiteral("lastFolder");
} // namespace

LCRecentFiles::LCRecentFiles(QSettings &settings)
    : m_settings(settings)
{
}

QStringList LCRecentFiles::files() const
{
    return m_settings.value(kFilesKey).toStringList();
}

void LCRecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxFiles) {
        list.removeLast();
    }
    m_settings.setValue(kFilesKey, list);
    m_settings.setValue(kFolderKey, QFileInfo(absolute).absolutePath());
}

void LCRecentFiles::remove(const QString &path)
{
    QStringList list = files();
    list.removeAll(path);
    m_settings.setValue(kFilesKey, list);
}

QString LCRecentFiles::lastFolder(const QString &fallback) const
{
    const QString folder = m_settings.value(kFolderKey).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : fallback;
}
