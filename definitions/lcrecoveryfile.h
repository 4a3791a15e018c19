#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// A recovery file: the bytes Save would write for a project with unsaved changes, the file Save
// writes them to, the project's name and the moment, with a checksum, so that a damaged file is
// told and never read half-way. A first line names the format, a second one holds the rest as
// JSON, and the project file follows.
class LCRecoveryFile
{
public:
    // Larger than any project file that can be read, with room for the lines before it.
    static constexpr qint64 kMaxBytes = 129 * 1024 * 1024;

    struct Contents {
        QString projectFile;
        QString projectName;
        QDateTime written;
        QByteArray project;
    };

    static QByteArray compose(const Contents &contents);
    // Nothing, with the reason in error, unless the bytes are a whole recovery file.
    static std::optional<Contents> parse(const QByteArray &bytes, QString *error);
    static std::optional<Contents> read(const QString &path, QString *error);
};
