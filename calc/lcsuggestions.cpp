#include "calc/lcsuggestions.h"

#include "model/lcnumbertext.h"

#include <QCoreApplication>

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("LCSuggestions", text);
}

QString loopCardLine()
{
    return tr("Add one more loop card inside panel, split the original one loop to two loops.");
}

QString relayLine(int location)
{
    return tr("Add loop relay module at Location %1 device").arg(location);
}
} // namespace

QString LCSuggestions::currentProblem()
{
    return tr("The max current is too large.");
}

QString LCSuggestions::voltageProblem()
{
    return tr("Volt lost too large.");
}

QString LCSuggestions::capacityProblem()
{
    return tr("Capacity is too large.");
}

QStringList LCSuggestions::currentGroup(int location, bool withLoopCardPrefix)
{
    const QString prefix = withLoopCardPrefix
        ? tr("Add one more loop card inside panel, split the original one loop to two loops. Or")
        : QString();
    return {prefix + tr("Add loop relay module at Location %1 device.").arg(location)};
}

QStringList LCSuggestions::sounderGroup(int location)
{
    return {tr("Please change the position of the souder at %1. ").arg(location), loopCardLine(),
        relayLine(location)};
}

QStringList LCSuggestions::voltageGroup(int location, float maxResistanceOhmPerKm)
{
    return {tr("Please use suitable cable,the last Resistance can't exceed %1ohm/km.")
                .arg(LCNumberText::general(double(maxResistanceOhmPerKm))),
        loopCardLine(), relayLine(location)};
}

QStringList LCSuggestions::capacityGroup(int location, float maxCapacityPerKm)
{
    return {tr("Please use suitable cable,the last Capacity can't exceed %1uF/km.")
                .arg(LCNumberText::general(double(maxCapacityPerKm))),
        loopCardLine(), relayLine(location)};
}
