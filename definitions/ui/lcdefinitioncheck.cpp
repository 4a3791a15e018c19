#include "definitions/ui/lcdefinitioncheck.h"

#include "definitions/ui/lccardtypemodel.h"
#include "definitions/ui/lcdevtypemodel.h"
#include "definitions/ui/lcwiretypemodel.h"

#include <QHash>

namespace
{
using Problem = LCDefinitionCheck::Problem;

// The plausible values, in the units of the columns. No real type has more, and far more sends
// the single-precision loop check to infinite currents and volt drops that are no number.
constexpr double kMaxCurrentMilliAmp = 10000.0;
constexpr double kMaxResistanceOhmPerKm = 10000.0;
constexpr double kMaxCapacityPerKm = 1e9;
constexpr int kMinVolt = 1;
// as many digits as the voltage column's editor takes
constexpr int kMaxVolt = 999999;

QString rangeText(const QString &field, int row, double min, double max, const QString &unit)
{
    // 'g' with ten digits writes 1e9 out in full
    constexpr int kDigits = 10;
    return LCDefinitionCheck::tr("The %1 in row %2 must be a number from %3 to %4 %5")
        .arg(field)
        .arg(row + 1)
        .arg(QString::number(min, 'g', kDigits), QString::number(max, 'g', kDigits), unit);
}

// A number column: 0 and negative values keep their own messages, and anything else beyond the
// plausible, or no number at all, is out of range.
struct NumberRule {
    QString zeroText;
    QString negativeText;
    QString field;
    double max;
    QString unit;
};

std::optional<Problem> numberProblem(int row, int column, float value, const NumberRule &rule)
{
    if (value == 0.0f) {
        return Problem{row, column, rule.zeroText};
    }
    if (value < 0.0f) {
        return Problem{row, column, rule.negativeText};
    }
    // also true for NaN, the value of a cell that holds no number
    if (!(double(value) <= rule.max)) {
        return Problem{row, column, rangeText(rule.field, row, 0.0, rule.max, rule.unit)};
    }
    return std::nullopt;
}

NumberRule standbyCurrentRule()
{
    return {LCDefinitionCheck::tr("The standby current can not be 0"),
        LCDefinitionCheck::tr("The standby current can not be negative"),
        LCDefinitionCheck::tr("standby current"), kMaxCurrentMilliAmp, LCDefinitionCheck::tr("mA")};
}

NumberRule activeCurrentRule()
{
    return {LCDefinitionCheck::tr("The active current can not be 0"),
        LCDefinitionCheck::tr("The active current can not be negative"),
        LCDefinitionCheck::tr("active current"), kMaxCurrentMilliAmp, LCDefinitionCheck::tr("mA")};
}

bool isBlankName(const QString &name)
{
    return name.isEmpty() || name == LCDefinitionCheck::tr("UNDEFINED");
}

// Lookup by name finds the first type of a name, so a second one could never be chosen.
class NameRegister
{
public:
    std::optional<Problem> add(const QString &name, int row, int column)
    {
        const auto first = m_rows.constFind(name);
        if (first != m_rows.constEnd()) {
            return Problem{row, column,
                LCDefinitionCheck::tr("The name %1 in row %2 is already used in row %3")
                    .arg(name)
                    .arg(row + 1)
                    .arg(first.value() + 1)};
        }
        m_rows.insert(name, row);
        return std::nullopt;
    }

private:
    QHash<QString, int> m_rows;
};

// The checks of the device and the card page after the name and, for devices, the voltage.
std::optional<Problem> currentsProblem(
    int row, int currentColumn, float current, int activeColumn, float activeCurrent)
{
    if (auto problem = numberProblem(row, currentColumn, current, standbyCurrentRule())) {
        return problem;
    }
    return numberProblem(row, activeColumn, activeCurrent, activeCurrentRule());
}
} // namespace

std::optional<Problem> LCDefinitionCheck::deviceTypes(const LCDevTypeModel &table)
{
    using Column = LCDevTypeModel::Column;
    NameRegister names;
    for (int row = 0; row < table.getRowCount(); ++row) {
        const DeviceType type = table.record(row);
        if (isBlankName(type.Name)) {
            return Problem{
                row, int(Column::Name), tr("The device type in row %1 is blank").arg(row + 1)};
        }
        if (auto problem = names.add(type.Name, row, int(Column::Name))) {
            return problem;
        }
        if (type.Volt == 0) {
            return Problem{
                row, int(Column::Volt), tr("The operating voltage can not be blank or 0")};
        }
        if (type.Volt < kMinVolt || type.Volt > kMaxVolt) {
            return Problem{row, int(Column::Volt),
                rangeText(tr("operating voltage"), row, kMinVolt, kMaxVolt, tr("V"))};
        }
        if (auto problem = currentsProblem(row, int(Column::Current), type.Current,
                int(Column::ActiveCurrent), type.ActiveCurrent)) {
            return problem;
        }
    }
    return std::nullopt;
}

std::optional<Problem> LCDefinitionCheck::cableTypes(const LCWireTypeModel &table)
{
    using Column = LCWireTypeModel::Column;
    const NumberRule resistance{tr("The restance per km can not be 0"),
        tr("The resistance per km can not be negative"), tr("resistance per km"),
        kMaxResistanceOhmPerKm, tr("ohm")};
    const NumberRule capacity{tr("The capacity per km can not be 0"),
        tr("The capacity per km can not be negative"), tr("capacity per km"), kMaxCapacityPerKm,
        tr("pF")};
    NameRegister names;
    for (int row = 0; row < table.getRowCount(); ++row) {
        const WireType type = table.record(row);
        if (isBlankName(type.Name)) {
            return Problem{row, int(Column::Name), tr("Please complete the current cable type")};
        }
        if (auto problem = names.add(type.Name, row, int(Column::Name))) {
            return problem;
        }
        if (auto problem =
                numberProblem(row, int(Column::Resistance), type.Resistance, resistance)) {
            return problem;
        }
        if (auto problem = numberProblem(row, int(Column::Capacity), type.Capacity, capacity)) {
            return problem;
        }
    }
    return std::nullopt;
}

std::optional<Problem> LCDefinitionCheck::cardTypes(const LCCardTypeModel &table)
{
    using Column = LCCardTypeModel::Column;
    NameRegister names;
    for (int row = 0; row < table.getRowCount(); ++row) {
        const CardType type = table.record(row);
        if (isBlankName(type.Name)) {
            return Problem{row, int(Column::Name), tr("Please complete the current card type")};
        }
        if (auto problem = names.add(type.Name, row, int(Column::Name))) {
            return problem;
        }
        if (auto problem = currentsProblem(row, int(Column::Current), type.Current,
                int(Column::ActiveCurrent), type.ActiveCurrent)) {
            return problem;
        }
    }
    return std::nullopt;
}
