#include "definitions/devicetype.h"

bool DeviceType::operator==(const DeviceType &other) const
{
    return Name == other.Name && Volt == other.Volt && IcoID == other.IcoID && DevID == other.DevID
        && Current == other.Current && ActiveCurrent == other.ActiveCurrent
        && Capacitance == other.Capacitance && SubType == other.SubType;
}
