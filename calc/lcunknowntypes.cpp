#include "calc/lcunknowntypes.h"

#include "model/lcloop.h"

#include <QCoreApplication>
#include <QVector>

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("LCUnknownTypes", text);
}

// "3, 5-9, 12": runs of neighbours as ranges, so a whole loop of them stays one short line.
QString locationText(const QVector<int> &locations)
{
    QStringList parts;
    for (int i = 0; i < locations.size();) {
        int last = i;
        while (last + 1 < locations.size() && locations[last + 1] == locations[last] + 1) {
            ++last;
        }
        parts << (last == i ? QString::number(locations[i])
                            : QStringLiteral("%1-%2").arg(locations[i]).arg(locations[last]));
        i = last + 1;
    }
    return parts.join(QStringLiteral(", "));
}
} // namespace

QStringList LCUnknownTypes::warnings(const LCLoop &loop, const QMap<int, DeviceType> &deviceTypes)
{
    QMap<int, QVector<int>> locationsByType;
    for (int i = 0; i < loop.childCount(); ++i) {
        const int typeId = loop.child(i)->property(PropertyId::deviceTypeid).toInt();
        if (!deviceTypes.contains(typeId)) {
            locationsByType[typeId].append(i + 1);
        }
    }
    const int loopId = loop.property(PropertyId::Loopid).toInt();
    QStringList lines;
    for (auto entry = locationsByType.cbegin(); entry != locationsByType.cend(); ++entry) {
        const QVector<int> &locations = entry.value();
        const QString text = locations.size() == 1
            ? tr("Loop%1: the device of unknown type %2 at location %3 counts as drawing no "
                 "current.")
            : tr("Loop%1: the devices of unknown type %2 at locations %3 count as drawing no "
                 "current.");
        lines << text.arg(loopId).arg(entry.key()).arg(locationText(locations));
    }
    return lines;
}
