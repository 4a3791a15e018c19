#include "bench/lcprocessmemory.h"

#include <QFile>
#include <QList>

#include <malloc.h>
#include <unistd.h>

namespace
{
// Fields of /proc/self/statm, all in pages: size, then resident.
const QString kStatmPath = QStringLiteral("/proc/self/statm");
constexpr int kResidentField = 1;
} // namespace

qint64 LCProcessMemory::residentBytes()
{
    QFile statm(kStatmPath);
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    if (fields.size() <= kResidentField) {
        return 0;
    }
    bool ok = false;
    const qint64 pages = fields.at(kResidentField).toLongLong(&ok);
    const long pageBytes = sysconf(_SC_PAGESIZE);
    return ok && pageBytes > 0 ? pages * pageBytes : 0;
}

void LCProcessMemory::releaseFreedMemory()
{
    // glibc keeps freed small blocks in its heap; trimming returns the whole free pages
    malloc_trim(0);
}
