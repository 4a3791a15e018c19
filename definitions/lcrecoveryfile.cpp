#include "definitions/lcrecoveryfile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
const QByteArray kFormatLine = QByteArrayLiteral("Mirel recovery file 1\n");
const QString kFileKey = QStringLiteral("file");
const QString kNameKey = QStringLiteral("name");
const QString kWrittenKey = QStringLiteral("written");
const QString kSizeKey = QStringLiteral("size");
const QString kChecksumKey = QStringLiteral("sha256");

QString tr(const char *text)
{
    return QCoreApplication::translate("LCRecoveryFile", text);
}

QByteArray checksum(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}
} // namespace

QByteArray LCRecoveryFile::compose(const Contents &contents)
{
    const QJsonObject header{{kFileKey, contents.projectFile}, {kNameKey, contents.projectName},
        {kWrittenKey, contents.written.toUTC().toString(Qt::ISODateWithMs)},
        {kSizeKey, QString::number(contents.project.size())},
        {kChecksumKey, QString::fromLatin1(checksum(contents.project))}};
    return kFormatLine + QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n'
        + contents.project;
}

std::optional<LCRecoveryFile::Contents> LCRecoveryFile::parse(
    const QByteArray &bytes, QString *error)
{
    const int headerEnd = bytes.indexOf('\n', kFormatLine.size());
    if (!bytes.startsWith(kFormatLine) || headerEnd < 0) {
        *error = tr("it is not a recovery file");
        return std::nullopt;
    }
    const QJsonObject header =
        QJsonDocument::fromJson(bytes.mid(kFormatLine.size(), headerEnd - kFormatLine.size()))
            .object();
    Contents contents;
    contents.project = bytes.mid(headerEnd + 1);
    contents.projectFile = header.value(kFileKey).toString();
    contents.projectName = header.value(kNameKey).toString();
    contents.written =
        QDateTime::fromString(header.value(kWrittenKey).toString(), Qt::ISODateWithMs);
    bool sized = false;
    const qint64 size = header.value(kSizeKey).toString().toLongLong(&sized);
    if (!sized || size != contents.project.size() || !contents.written.isValid()
        || header.value(kChecksumKey).toString().toLatin1() != checksum(contents.project)) {
        *error = tr("it is incomplete or damaged");
        return std::nullopt;
    }
    return contents;
}

std::optional<LCRecoveryFile::Contents> LCRecoveryFile::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (file.size() > kMaxBytes) {
        *error = tr("it is too large");
        return std::nullopt;
    }
    return parse(file.readAll(), error);
}
