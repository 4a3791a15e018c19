#include "fuzz/fuzzsupport.h"

#include "definitions/lcdatastore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace
{
// In memory on Linux, so writing an input costs no disc work.
const QString kMemoryFolder = QStringLiteral("/dev/shm");

QTemporaryDir &folder()
{
    static QTemporaryDir dir(QFileInfo(kMemoryFolder).isWritable()
            ? kMemoryFolder + QStringLiteral("/mirel-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/mirel-fuzz-XXXXXX"));
    return dir;
}
} // namespace

LCDataStore *FuzzSupport::store()
{
    static int argc = 1;
    static char name[] = "mirel-fuzz";
    static char *argv[] = {name, nullptr};
    // made before the library, so it is destroyed after it
    static QCoreApplication application(argc, argv);
    static LCDataStore *const library = [] {
        if (!folder().isValid()) {
            fail("no folder for the inputs");
        }
        LCDataStore *const instance = LCDataStore::instance();
        instance->setPaths(LCPaths(folder().path(), {folder().path(), folder().path()}));
        return instance;
    }();
    return library;
}

QByteArray FuzzSupport::bytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
}

QString FuzzSupport::write(const QString &name, const QByteArray &bytes)
{
    store();
    const QString path = folder().filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        fail("cannot write the input to", path);
    }
    return path;
}

void FuzzSupport::fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "FUZZ FAILURE: %s %s\n", what, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}
