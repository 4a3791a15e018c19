#include "report/lcreportdestination.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace
{
const QString kSuffix = QStringLiteral(".xlsx");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kEmptyNameStandIn = QStringLiteral("Report");
// Characters Windows refuses in a file name; "/" is the only one Linux refuses besides NUL.
const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
const QChar kReplacement = QLatin1Char('_');
constexpr ushort kFirstPrintable = 0x20;
constexpr ushort kDelete = 0x7F;
constexpr int kFirstCounter = 2;
const QString kProbeName = QStringLiteral("mirel-report-XXXXXX.probe");
} // namespace

QString LCReportDestination::fileName(
    const QString &projectName, int panelId, const QDateTime &time)
{
    // one pass, so a "%2" in the project's name stays as it is
    return QStringLiteral("%1-Panel%2-%3%4")
        .arg(safeFileNamePart(projectName), QString::number(panelId), time.toString(kTimeFormat),
            kSuffix);
}

QString LCReportDestination::safeFileNamePart(const QString &text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const bool control = c.unicode() < kFirstPrintable || c.unicode() == kDelete;
        safe.append(control || kForbidden.contains(c) ? kReplacement : c);
    }
    safe = safe.trimmed();
    while (safe.startsWith(QLatin1Char('.'))) {
        safe.remove(0, 1);
    }
    if (safe.size() > kMaxProjectNameCharacters) {
        // never cut a character written as two halves in two
        const bool splitsPair = safe.at(kMaxProjectNameCharacters - 1).isHighSurrogate();
        safe.truncate(splitsPair ? kMaxProjectNameCharacters - 1 : kMaxProjectNameCharacters);
    }
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' '))) {
        safe.chop(1);
    }
    return safe.isEmpty() ? kEmptyNameStandIn : safe;
}

std::optional<QString> LCReportDestination::writableFolder(const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            continue;
        }
        // permissions alone do not tell (a read-only mount, or root, who may write anywhere
        // the bits say), so try it
        QTemporaryFile probe(QDir(folder).filePath(kProbeName));
        if (probe.open()) {
            return QDir(folder).absolutePath();
        }
    }
    return std::nullopt;
}

std::optional<QString> LCReportDestination::unusedPath(
    const QString &folder, const QString &fileName)
{
    const QDir directory(folder);
    const QString first = directory.filePath(fileName);
    if (!QFileInfo::exists(first)) {
        return first;
    }
    const QString base = fileName.endsWith(kSuffix) ? fileName.chopped(kSuffix.size()) : fileName;
    const QString suffix = fileName.endsWith(kSuffix) ? kSuffix : QString();
    for (int counter = kFirstCounter; counter <= kMaxCounter; ++counter) {
        const QString path = directory.filePath(
            QStringLiteral("%1-%2%3").arg(base, QString::number(counter), suffix));
        if (!QFileInfo::exists(path)) {
            return path;
        }
    }
    return std::nullopt;
}
