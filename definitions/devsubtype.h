#pragma once

#include <QString>

// A variant of a device type, with the base name of its picture in the sub type icon folder.
struct DevSubType {
    static QString defaultPicture() { return QStringLiteral("00"); }
    static QString defaultName() { return QStringLiteral("UNDEFINE"); }

    int id = 0;
    QString picture = defaultPicture();
    QString name = defaultName();
};
