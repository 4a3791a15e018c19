#pragma once

#include <QByteArray>
#include <QString>

// Every user file is written through here: the bytes go to a temporary file beside the target,
// which replaces the target only once it is complete. On failure the old file stays as it was.
namespace LCFileWriter
{
[[nodiscard]] bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error);
} // namespace LCFileWriter
