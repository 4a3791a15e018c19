#pragma once

#include "calc/lcdeviceresult.h"

#include <QtCharts/QChart>

#include <memory>
#include <vector>

class LCLoop;

// The voltage along a calculated loop: volts against metres of cable from the panel. The trunk
// is one line from the panel's 24 V, each branch a line of its own from the trunk device it
// leaves, the devices fed through loop relay modules a series of their own; dashed lines mark
// the 16 V and 20 V limits and failed devices are drawn in red. Plain QtCharts objects, shown
// in the window and printed on the calculation sheet alike.
class LCVoltageChart
{
public:
    // Series names, as the legend shows them.
    static QString trunkName();
    static QString branchName(int number);
    static QString relayName();
    static QString failedName();

    // The chart of loop, or null while the loop is not calculated or an edit made its results
    // stale.
    static std::unique_ptr<QtCharts::QChart> build(const LCLoop &loop);
    // The chart of results already worked out for loop's devices.
    static std::unique_ptr<QtCharts::QChart> build(
        const LCLoop &loop, const std::vector<LCDeviceResult> &results);
};
