#include "definitions/lctypeusage.h"

#include "model/lcobject.h"

#include <algorithm>

namespace
{
QString loopName(const LCObject &panel, const LCObject &loop)
{
    // the panel by its number, the loop as the project tree shows it
    return LCTypeUsage::tr("Panel %1 Loop%2")
        .arg(panel.property(PropertyId::Panelid).toInt())
        .arg(loop.property(PropertyId::Loopid).toInt());
}

int propertyOf(const LCObject &object, PropertyId id)
{
    return object.property(id).toInt();
}
} // namespace

LCTypeUsage::LCTypeUsage(const LCObject *project)
    : m_project(project)
{
}

template <typename Visit>
void LCTypeUsage::forEachLoop(Visit visit) const
{
    if (!m_project) {
        return;
    }
    for (int p = 0; p < m_project->childCount(); ++p) {
        const LCObject *const panel = m_project->child(p);
        for (int l = 0; l < panel->childCount(); ++l) {
            visit(*panel, *panel->child(l));
        }
    }
}

LCTypeUsage::Users LCTypeUsage::deviceTypeUsers(int typeId) const
{
    Users users;
    forEachLoop([&users, typeId](const LCObject &panel, const LCObject &loop) {
        int devices = 0;
        for (int d = 0; d < loop.childCount(); ++d) {
            devices += int(propertyOf(*loop.child(d), PropertyId::deviceTypeid) == typeId);
        }
        if (devices > 0) {
            users.devices += devices;
            users.deviceLoops << loopName(panel, loop);
        }
    });
    return users;
}

LCTypeUsage::Users LCTypeUsage::cableTypeUsers(int typeId) const
{
    Users users;
    forEachLoop([&users, typeId](const LCObject &panel, const LCObject &loop) {
        int devices = 0;
        for (int d = 0; d < loop.childCount(); ++d) {
            devices += int(propertyOf(*loop.child(d), PropertyId::CableType) == typeId);
        }
        if (devices > 0) {
            users.devices += devices;
            users.deviceLoops << loopName(panel, loop);
        }
        if (propertyOf(loop, PropertyId::LoopCableType) == typeId) {
            users.cableLoops << loopName(panel, loop);
        }
    });
    return users;
}

int LCTypeUsage::highestDeviceTypeId() const
{
    int highest = 0;
    forEachLoop([&highest](const LCObject &, const LCObject &loop) {
        for (int d = 0; d < loop.childCount(); ++d) {
            highest = std::max(highest, propertyOf(*loop.child(d), PropertyId::deviceTypeid));
        }
    });
    return highest;
}

int LCTypeUsage::highestCableTypeId() const
{
    int highest = 0;
    forEachLoop([&highest](const LCObject &, const LCObject &loop) {
        highest = std::max(highest, propertyOf(loop, PropertyId::LoopCableType));
        for (int d = 0; d < loop.childCount(); ++d) {
            highest = std::max(highest, propertyOf(*loop.child(d), PropertyId::CableType));
        }
    });
    return highest;
}

QString LCTypeUsage::refusalText(const QString &typeName, const Users &users)
{
    QStringList uses;
    if (users.devices > 0) {
        const QString devices =
            users.devices == 1 ? tr("1 device") : tr("%1 devices").arg(users.devices);
        uses << tr("used by %1 on %2").arg(devices, users.deviceLoops.join(QStringLiteral(", ")));
    }
    if (!users.cableLoops.isEmpty()) {
        uses << tr("the loop cable of %1").arg(users.cableLoops.join(QStringLiteral(", ")));
    }
    return tr("%1 is %2 and cannot be deleted.").arg(typeName, uses.join(tr(", is ")));
}
