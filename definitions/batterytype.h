#pragma once

#include <QString>

// A standby battery; Capacity in Ah.
struct BatteryType {
    QString Name = QStringLiteral("UNDEFINE");
    float Capacity = 0.0f;
    QString Note;
};
