#pragma once

#include <QString>

class LCObject;

// What the result pane shows for an object of the tree: the stored verdict or panel summary,
// followed by the reason each failing loop fails and its numbered suggestions, as the report
// writes them. A result that an edit has made stale is never shown as if it were current:
// the pane says that the loop changed since it was calculated instead. Devices of a type the
// library does not have are named too, since they count as drawing no current.
class LCResultText
{
public:
    // For a loop, a panel or a panel's "Loops" item (which stands for its panel); anything else
    // shows nothing.
    static QString paneText(const LCObject &object);

    // Whether the loop was calculated and then changed, so its verdict no longer holds.
    static bool isStale(const LCObject &loop);
};
