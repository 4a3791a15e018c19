#include "model/lcnumbertext.h"

#include <cmath>
#include <limits>

namespace
{
constexpr int kSignificantDigits = 6;
constexpr int kFixedDecimals = 2;
} // namespace

QString LCNumberText::general(double value)
{
    return QString::number(value, 'g', kSignificantDigits);
}

QString LCNumberText::fixed2(double value)
{
    return QString::number(value, 'f', kFixedDecimals);
}

int LCNumberText::parseInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

float LCNumberText::parseFloat(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)
        || std::abs(value) > double(std::numeric_limits<float>::max())) {
        return 0.0f;
    }
    return float(value);
}
