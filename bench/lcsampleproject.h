#pragma once

#include "model/lcproject.h"

#include <memory>
#include <random>

class LCController;
class LCLoop;

// Builds projects shaped like real sites for timing: panels of every type, loops on several
// cable types, detectors, call points, modules and sounders along the trunk, plain branches and
// branches of sounders fed through loop relay modules. The device and cable type ids are those
// of the factory definitions. The same sizes give the same project on every run.
class LCSampleProject
{
public:
    struct Size {
        int panels = 1;
        int loopsPerPanel = 1;
        int devicesPerLoop = 1;
    };

    static std::unique_ptr<LCProject> build(const Size &size);

private:
    using Random = std::mt19937;

    static void addPanel(LCProject &project, int panelId, const Size &size, Random &random);
    static void addLoop(LCController &panel, int loopId, int devicesPerLoop, Random &random);
    static void addDevice(
        LCLoop &loop, int typeId, float metre, int cableType, int truck, bool relay);
    // A whole number in [low, high].
    static int between(Random &random, int low, int high);
    // A cable length in m with one decimal, in [lowMetre, highMetre].
    static float metres(Random &random, int lowMetre, int highMetre);
};
