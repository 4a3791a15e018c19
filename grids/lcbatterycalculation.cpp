#include "grids/lcbatterycalculation.h"

#include "calc/lcdeviceclass.h"
#include "model/lccontroller.h"

#include <array>

namespace
{
constexpr float kMilliAmpPerAmp = 1000.0f;
// Detectors draw their full alarm current only while they are the ones in alarm.
constexpr float kDetectorAlarmShare = 0.1f;
constexpr float kOtherAlarmShare = 1.0f;

// The panel types 1 to 4: their own draw in A in standby and in alarm, and the draw in A of one
// communication card and of one loop card.
struct SmallPanel {
    float standbyAmp;
    float alarmAmp;
    float commCardAmp;
    float loopCardAmp;
};
constexpr int kFirstSmallPanelType = 1;
constexpr std::array<SmallPanel, 4> kSmallPanels = {{
    {0.28f, 3.43f, 0.06f, 0.05f}, // Orvan-A10
    {0.27f, 1.92f, 0.06f, 0.05f}, // Orvan-B20
    {0.24f, 2.4f, 0.05f, 0.07f}, // Orvan-C30
    {0.27f, 1.92f, 0.06f, 0.05f}, // Orvan-B20X
}};
// Margin for ageing of the battery of the small panels.
constexpr float kSmallPanelAgeingFactor = 1.25f;

constexpr int kD50PanelType = 5;
// Cards of the D50 by card id.
constexpr std::array<int, 6> kD50FixedCardIds = {1, 2, 3, 4, 5, 8};
constexpr int kZcpCardId = 6;
constexpr int kMainCardId = 7;
constexpr int kCanCardId = 9;
constexpr int kModbusCardId = 10;
constexpr int kLoopCardId = 13;
// The display backlight goes out after the first hour on battery.
constexpr int kFirstHourOnlyCardId = 2;
constexpr float kFirstHour = 1.0f;
// The fixed alarm load of the D50, in mA.
constexpr float kD50AlarmOutputMilliAmp = 2500.0f;

bool countsTenthInAlarm(int deviceTypeId)
{
    return (deviceTypeId >= 1 && deviceTypeId <= LCDeviceClass::kLastDetectorId)
        || deviceTypeId == LCDeviceClass::kOutdoorCallPointId;
}
} // namespace

LCBatteryCalculation::PanelCards LCBatteryCalculation::panelCards(const LCController &panel)
{
    PanelCards cards;
    cards.panelType = panel.property(PropertyId::PanelType).toInt();
    cards.loopCards = panel.property(PropertyId::LoopCardCount).toInt();
    cards.commCards = panel.property(PropertyId::CommCount).toInt();
    cards.zcpCards = panel.property(PropertyId::ManualPanelCount).toInt();
    cards.mainCards = panel.property(PropertyId::MainCardCount).toInt();
    cards.canCards = panel.property(PropertyId::CANCardCount).toInt();
    cards.modbusCards = panel.property(PropertyId::ModbusCardCount).toInt();
    cards.opticalCards = panel.optionSlotCount(LCController::kOpticalCard);
    cards.hyperNetworkCards = panel.optionSlotCount(LCController::kHyperNetworkCard);
    return cards;
}

LCBatteryCalculation::LCBatteryCalculation(
    const QMap<int, DeviceType> &deviceTypes, const QMap<int, CardType> &cardTypes)
    : m_deviceTypes(deviceTypes)
    , m_cardTypes(cardTypes)
{
}

void LCBatteryCalculation::addDevices(int deviceTypeId, int quantity)
{
    // a negative quantity would make the battery smaller than the devices need
    if (deviceTypeId == 0 || quantity <= 0) {
        return;
    }
    const DeviceType type = m_deviceTypes.value(deviceTypeId);
    const float count = float(quantity);
    const float share = countsTenthInAlarm(deviceTypeId) ? kDetectorAlarmShare : kOtherAlarmShare;
    m_standbyAmp += type.Current / kMilliAmpPerAmp * count;
    m_alarmAmp += type.ActiveCurrent / kMilliAmpPerAmp * count * share;
}

float LCBatteryCalculation::requiredAmpHour(
    const PanelCards &cards, float standbyHours, float alarmHours) const
{
    if (cards.panelType == kD50PanelType) {
        return d50AmpHour(cards, standbyHours, alarmHours);
    }
    if (cards.panelType >= kFirstSmallPanelType
        && cards.panelType < kFirstSmallPanelType + int(kSmallPanels.size())) {
        return smallPanelAmpHour(cards, standbyHours, alarmHours);
    }
    return 0.0f;
}

float LCBatteryCalculation::smallPanelAmpHour(
    const PanelCards &cards, float standbyHours, float alarmHours) const
{
    const SmallPanel &panel = kSmallPanels.at(std::size_t(cards.panelType - kFirstSmallPanelType));
    const float commCards = float(cards.commCards);
    const float loopCards = float(cards.loopCards);
    const float standbyAmp = panel.standbyAmp + m_standbyAmp + commCards * panel.commCardAmp
        + loopCards * panel.loopCardAmp;
    const float alarmAmp =
        panel.alarmAmp + m_alarmAmp + commCards * panel.commCardAmp + loopCards * panel.loopCardAmp;
    return (standbyAmp * standbyHours + alarmAmp * alarmHours) * kSmallPanelAgeingFactor;
}

float LCBatteryCalculation::d50AmpHour(
    const PanelCards &cards, float standbyHours, float alarmHours) const
{
    QMap<int, int> multiplicity;
    for (const int cardId : kD50FixedCardIds) {
        multiplicity.insert(cardId, 1);
    }
    multiplicity.insert(kMainCardId, cards.mainCards);
    multiplicity.insert(kZcpCardId, cards.zcpCards);
    multiplicity.insert(kCanCardId, cards.canCards);
    multiplicity.insert(kModbusCardId, cards.modbusCards);
    multiplicity.insert(LCController::kOpticalCard, cards.opticalCards);
    multiplicity.insert(LCController::kHyperNetworkCard, cards.hyperNetworkCards);
    multiplicity.insert(kLoopCardId, cards.loopCards);

    // The card and output currents are in mA: the device sums, kept in A, are turned into mA
    // before they join them. Added in A, devices would count a thousandth of their draw and the
    // battery would come out too small.
    float standbyMilliAmp = 0.0f;
    float alarmMilliAmp = 0.0f;
    for (auto it = multiplicity.constBegin(); it != multiplicity.constEnd(); ++it) {
        const CardType card = m_cardTypes.value(it.key());
        standbyMilliAmp += card.Current * float(it.value());
        alarmMilliAmp += card.ActiveCurrent * float(it.value());
    }
    const float totalStandby = m_standbyAmp * kMilliAmpPerAmp + standbyMilliAmp;
    const float firstHourOnly = m_cardTypes.value(kFirstHourOnlyCardId).Current;
    return totalStandby / kMilliAmpPerAmp
        + (totalStandby - firstHourOnly) / kMilliAmpPerAmp * (standbyHours - kFirstHour)
        + alarmMilliAmp / kMilliAmpPerAmp * alarmHours
        + alarmHours * (m_alarmAmp * kMilliAmpPerAmp + kD50AlarmOutputMilliAmp) / kMilliAmpPerAmp;
}

std::optional<BatteryType> LCBatteryCalculation::recommendedBattery(
    const QList<BatteryType> &batteries, float requiredAmpHour)
{
    std::optional<BatteryType> best;
    float bestAmpHour = kMaxRecommendedAmpHour;
    for (const BatteryType &battery : batteries) {
        if (battery.Capacity > requiredAmpHour && battery.Capacity < bestAmpHour) {
            best = battery;
            bestAmpHour = battery.Capacity;
        }
    }
    return best;
}
