#pragma once

#include "definitions/batterytype.h"
#include "definitions/cardtype.h"
#include "definitions/devicetype.h"

#include <QList>
#include <QMap>

#include <optional>

class LCController;

// The standby battery a panel needs: the device currents summed per type, the panel's cards,
// the standby and alarm hours, and the capacity formula of its panel type. All arithmetic is in
// single precision, so the figures match the ones engineers already have on paper.
class LCBatteryCalculation
{
public:
    // Larger batteries than this are never recommended.
    static constexpr float kMaxRecommendedAmpHour = 255.0f;

    // The cards of a panel as they count for its battery.
    struct PanelCards {
        int panelType = 0;
        int loopCards = 0;
        int commCards = 0;
        int zcpCards = 0;
        int mainCards = 0;
        int canCards = 0;
        int modbusCards = 0;
        int opticalCards = 0;
        int hyperNetworkCards = 0;
    };
    static PanelCards panelCards(const LCController &panel);

    LCBatteryCalculation(
        const QMap<int, DeviceType> &deviceTypes, const QMap<int, CardType> &cardTypes);

    // Counts quantity devices of a type; id 0 names no type, and a quantity below 1 adds nothing.
    void addDevices(int deviceTypeId, int quantity);
    // The device sums in A; detectors count a tenth of their alarm current.
    float deviceStandbyAmp() const { return m_standbyAmp; }
    float deviceAlarmAmp() const { return m_alarmAmp; }

    // The minimum capacity in Ah; 0 for a panel type without a formula.
    float requiredAmpHour(const PanelCards &cards, float standbyHours, float alarmHours) const;

    // The battery of the smallest capacity strictly above the requirement and below
    // kMaxRecommendedAmpHour, the first in list order on a tie; none when no battery qualifies.
    static std::optional<BatteryType> recommendedBattery(
        const QList<BatteryType> &batteries, float requiredAmpHour);

private:
    float smallPanelAmpHour(const PanelCards &cards, float standbyHours, float alarmHours) const;
    float d50AmpHour(const PanelCards &cards, float standbyHours, float alarmHours) const;

    QMap<int, DeviceType> m_deviceTypes;
    QMap<int, CardType> m_cardTypes;
    float m_standbyAmp = 0.0f;
    float m_alarmAmp = 0.0f;
};
