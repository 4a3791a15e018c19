#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class LCObject;

// Which devices and loops of a project refer to a device or a cable type by its id. A type that is
// referred to must not be deleted, and a new type must not take an id the project refers to: the
// devices would silently lose their type or become the new one.
class LCTypeUsage
{
    Q_DECLARE_TR_FUNCTIONS(LCTypeUsage)

public:
    // Who refers to one type; loops are named "Panel 1 Loop2", in project order.
    struct Users {
        int devices = 0;
        // the loops holding those devices
        QStringList deviceLoops;
        // the loops whose own cable is the type (cable types only)
        QStringList cableLoops;

        bool isEmpty() const { return devices == 0 && cableLoops.isEmpty(); }
    };

    // project: the root of a project, or null for none (nothing is in use then).
    explicit LCTypeUsage(const LCObject *project);

    Users deviceTypeUsers(int typeId) const;
    Users cableTypeUsers(int typeId) const;
    // The highest id any device (and, for cables, any loop) refers to; 0 when there is none.
    int highestDeviceTypeId() const;
    int highestCableTypeId() const;

    // Why the type named typeName cannot be deleted, for users that are not empty, as in
    // "Smoke is used by 3 devices on Panel 1 Loop2, Panel 2 Loop1 and cannot be deleted".
    static QString refusalText(const QString &typeName, const Users &users);

private:
    template <typename Visit>
    void forEachLoop(Visit visit) const;

    const LCObject *const m_project;
};
