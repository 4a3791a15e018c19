#pragma once

#include <QString>
#include <QVector>

class LCController;
class LCLoop;

// The problem rows of a panel's cabling report: for each failing loop, its reason of failure,
// then one row per suggestion numbered from 1.
class LCReportRows
{
public:
    struct Row {
        QString label; // first column: "Loop3 Error", "Loop3 Solution"
        QString text; // fourth column: the reason, or "1. " and the suggestion
    };

    // Rows of the failing loops of panel in list order; only of onlyLoop when it is given.
    static QVector<Row> problemRows(const LCController &panel, const LCLoop *onlyLoop = nullptr);
    // Whether any loop of panel failed its last calculation (never calculated does not count).
    static bool anyLoopFails(const LCController &panel);
};
