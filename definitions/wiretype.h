#pragma once

#include <QString>

// A cable type: resistance in ohm per km and capacity per km of the loop pair.
struct WireType {
    QString Name;
    float Resistance = 0.0f;
    float Capacity = 0.0f;
    int WireID = 0; // the id LoopCableType and CableType refer to
    QString Note; // shown as "Description"

    bool operator==(const WireType &other) const
    {
        return Name == other.Name && Resistance == other.Resistance && Capacity == other.Capacity
            && WireID == other.WireID && Note == other.Note;
    }
    bool operator!=(const WireType &other) const { return !(*this == other); }
};
