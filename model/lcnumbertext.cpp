#include "model/lcnumbertext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {
constexpr int kSignificantDigits = 6;
constexpr int kFixedDecimals = 2;
// room for any double in either format
constexpr std::size_t kBufferSize = 512;

// As printf does in the "C" locale, whatever locale the program runs in.
QString format(double value, std::chars_format style, int precision)
{
    std::array<char, kBufferSize> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            style, precision);
    if (error != std::errc()) {
        return QString();
    }
    return QString::fromLatin1(buffer.data(), int(end - buffer.data()));
}
} // namespace

QString LCNumberText::general(double value)
{
    return format(value, std::chars_format::general, kSignificantDigits);
}

QString LCNumberText::fixed2(double value)
{
    return format(value, std::chars_format::fixed, kFixedDecimals);
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
    if (!ok || !std::isfinite(value) || std::abs(value) > double(std::numeric_limits<float>::max())) {
        return 0.0f;
    }
    return float(value);
}
