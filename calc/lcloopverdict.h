#pragma once

#include "definitions/devicetype.h"

#include <QMap>
#include <QString>

class LCLoop;

// The five-line summary of a loop's last check: the verdict, the volt drop, the fixed maximum,
// and the standby and alarm totals of its devices.
namespace LCLoopVerdict
{

// Builds the text from the loop's stored results, stores it as the loop's ResultText and
// returns it.
QString verdictText(LCLoop &loop, const QMap<int, DeviceType> &deviceTypes);
// The same with the user device types of the library.
QString verdictText(LCLoop &loop);

} // namespace LCLoopVerdict
