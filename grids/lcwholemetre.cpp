#include "grids/lcwholemetre.h"

#include <cmath>

namespace
{
constexpr int kDecimalBase = 10;
} // namespace

std::optional<int> LCWholeMetre::parse(const QVariant &value)
{
    bool ok = false;
    int metre = 0;
    if (value.userType() == QMetaType::QString) {
        metre = value.toString().toInt(&ok, kDecimalBase);
    } else if (value.userType() == QMetaType::Int || value.userType() == QMetaType::LongLong
        || value.userType() == QMetaType::UInt || value.userType() == QMetaType::ULongLong) {
        const qlonglong wide = value.toLongLong(&ok);
        ok = ok && wide >= 0 && wide <= kMax;
        metre = int(wide);
    } else if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float) {
        // only a whole number of metres, as the grids show them
        const double number = value.toDouble(&ok);
        ok = ok && std::isfinite(number) && number >= 0.0 && number <= kMax
            && std::trunc(number) == number;
        metre = ok ? int(number) : 0;
    }
    if (!ok || metre < 0 || metre > kMax) {
        return std::nullopt;
    }
    return metre;
}
