#pragma once

#include <QString>
#include <QStringList>

// The wording of the suggestion lines a failing loop gets, group by group. Locations are 1-based
// device positions; limits are shown with six significant digits ("inf" when unbounded).
namespace LCSuggestions
{

// "The max current is too large." and the other reasons of failure.
QString currentProblem();
QString voltageProblem();
QString capacityProblem();

// One line: a relay module at location, after the loop card advice on panels that take cards.
QStringList currentGroup(int location, bool withLoopCardPrefix);
QStringList sounderGroup(int location);
QStringList voltageGroup(int location, float maxResistanceOhmPerKm);
QStringList capacityGroup(int location, float maxCapacityPerKm);

} // namespace LCSuggestions
