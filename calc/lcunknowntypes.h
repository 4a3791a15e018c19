#pragma once

#include "definitions/devicetype.h"

#include <QMap>
#include <QStringList>

class LCLoop;

// Finds the devices of a loop whose device type is missing from the library, e.g. after a
// project from another library was opened. The check counts them as drawing no current, so
// the user is told rather than shown a loop that works on nothing.
class LCUnknownTypes
{
public:
    // One line per unknown type id, in ascending id order, naming the loop and the 1-based
    // locations of its devices; empty when every type is known.
    static QStringList warnings(const LCLoop &loop, const QMap<int, DeviceType> &deviceTypes);
};
