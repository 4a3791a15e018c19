#pragma once

#include <QVariant>

#include <optional>

// A cable length as the grids take it: a whole number of metres from 0 to kMax, given as an
// int or as a text that is nothing but the number. "12m", "-3", "" and names are refused
// rather than read as 0, so one edit over several columns cannot zero a length.
class LCWholeMetre
{
public:
    static constexpr int kMax = 10000;

    static std::optional<int> parse(const QVariant &value);
};
