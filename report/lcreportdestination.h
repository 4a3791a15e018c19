#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// Where a report's workbook goes. Every run leaves a new file beside the earlier ones, named
// after the project, the panel and the moment, so no report is ever written over another.
class LCReportDestination
{
public:
    // Longest part of a file name taken from the project's name; together with the rest of the
    // name it stays far below the 255 bytes file systems allow, even in UTF-8.
    static constexpr int kMaxProjectNameCharacters = 60;
    // How many reports of the same project, panel and second get a name before giving up.
    static constexpr int kMaxCounter = 999;

    // "<project>-Panel<panelId>-<yyyyMMdd-HHmmss>.xlsx", the project's name made safe.
    static QString fileName(const QString &projectName, int panelId, const QDateTime &time);
    // text with every character that a file name on Windows or Linux cannot hold replaced by
    // "_", without the leading dots of a hidden file or the trailing dots and spaces Windows
    // drops, shortened to kMaxProjectNameCharacters; "Report" when nothing is left.
    static QString safeFileNamePart(const QString &text);
    // The first of folders that exists or can be made and that a file can be created in;
    // nothing when none can.
    static std::optional<QString> writableFolder(const QStringList &folders);
    // The path of fileName in folder, or when a file is there already, of the same name with
    // "-2", "-3" and so on before the suffix; nothing when all kMaxCounter are taken.
    static std::optional<QString> unusedPath(const QString &folder, const QString &fileName);
};
