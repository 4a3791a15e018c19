#include "grids/lcicons.h"

#include "definitions/lcdatastore.h"

#include <QHash>

namespace
{
QIcon cachedIcon(const QString &path)
{
    // icons are asked for once per grid cell; read each file once
    static QHash<QString, QIcon> cache;
    if (path.isEmpty()) {
        return QIcon();
    }
    auto found = cache.find(path);
    if (found == cache.end()) {
        found = cache.insert(path, QIcon(path));
    }
    return found.value();
}
} // namespace

QIcon LCIcons::deviceIcon(int iconId)
{
    return cachedIcon(LCDataStore::instance()->deviceIconPath(iconId));
}

QIcon LCIcons::subTypeIcon(const QString &picture)
{
    return cachedIcon(LCDataStore::instance()->subTypeIconPath(picture));
}
