#pragma once

#include <QString>

// A card of a panel with its standby and alarm current in mA.
struct CardType {
    QString Name;
    float Current = 0.0f;
    float ActiveCurrent = 0.0f;
    int CardID = 0;

    bool operator==(const CardType &other) const
    {
        return Name == other.Name && Current == other.Current
            && ActiveCurrent == other.ActiveCurrent && CardID == other.CardID;
    }
    bool operator!=(const CardType &other) const { return !(*this == other); }
};
