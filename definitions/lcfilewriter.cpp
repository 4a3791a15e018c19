#include "definitions/lcfilewriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

bool LCFileWriter::writeAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    if (QFileInfo(path).isDir()) {
        *error = QCoreApplication::translate("LCFileWriter", "it is a folder");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
