#pragma once

#include <QString>

class LCController;
class LCLoopCalculator;
class LCLoop;
struct DeviceType;
template <typename Key, typename T>
class QMap;

// Calculates every loop of a panel in order and puts their verdicts together into the panel's
// summary, which it stores as the panel's ResultText.
class LCPanelSummary
{
public:
    struct Outcome {
        QString text; // the summary, as stored
        bool anyLoopFails = false;
        bool hasLoops = false;
    };

    static Outcome calculatePanel(LCController &panel,
        const LCLoopCalculator &calculator,
        const QMap<int, DeviceType> &deviceTypes);
    // With the user definitions and the weighting factor of the library.
    static Outcome calculatePanel(LCController &panel);

    // "Loop1 result:" and its line break, before a loop's verdict in the details.
    static QString loopHeading(const LCLoop &loop);
};
