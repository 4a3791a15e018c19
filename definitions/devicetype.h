#pragma once

#include <QList>
#include <QString>

// A kind of field device. Currents in mA; Capacitance in the unit the loop check adds up.
struct DeviceType {
    QString Name;
    int Volt = 0; // operating voltage in V
    int IcoID = 0; // icon number in the device icon folder
    int DevID = 0; // the id a device's deviceTypeid refers to
    float Current = 0.0f; // standby
    float ActiveCurrent = 0.0f; // alarm
    float Capacitance = 0.0f;
    QList<int> SubType; // allowed sub types; the first is a new device's default

    bool operator==(const DeviceType &other) const;
    bool operator!=(const DeviceType &other) const { return !(*this == other); }
};
